// SPDX-License-Identifier: GPL-2.0-or-later
#include "export_commands.h"
#include "listing_file.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cerrno>
#include <cstring>
#include <functional>
#include <iostream>

#include "export/listing_csv.h"
#include "export/web_export.h"
#include "model/file_store.h"
#include "pictures/picture_client.h"
#include "platform/file_helpers.h"
#include "platform/text.h"
#include "platform/volumes.h"

namespace vitrandel::lst {
namespace {

// Installed, the metafile helper lies beside this tool or in the package's
// libexec folder; only the tool in its own build folder takes the helper
// built with it.
QString pictureHelper() {
    const QDir own(QCoreApplication::applicationDirPath());
    if (QFileInfo(own.path()).canonicalFilePath() ==
        QFileInfo(QStringLiteral(VITRANDEL_LST_BUILD_DIR)).canonicalFilePath())
        return QStringLiteral(VITRANDEL_BUILT_PICTURE_HELPER);
    const QString name = QStringLiteral("vitrandel-picture");
    const QString libexec = QDir(own.filePath(QStringLiteral(VITRANDEL_LIBEXEC_FROM_BIN))).filePath(name);
    return !QFileInfo::exists(own.filePath(name)) && QFileInfo::exists(libexec) ? libexec : own.filePath(name);
}

int withQt(int argc, char** argv, const std::function<int()>& run) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    pictures::PictureClient::instance().setProgram(pictureHelper());
    return run();
}

// What the viewer shows: sizes and colours as opening a listing makes them.
std::optional<ParsedListing> readShownListing(const std::string& path) {
    auto listing = readListing(path);
    if (listing) {
        normaliseElements(listing->project);
        // Which pictures may be exported depends on where the listing lies.
        listing->project.listingPath = platform::ss(QFileInfo(platform::qs(path)).absoluteFilePath());
    }
    return listing;
}

// The viewer looks for pictures in the listing's recorded folder, or in the
// listing's own folder when it records none.
void enterWorkingFolder(const std::string& listingPath, const ParsedListing& listing) {
    const QString own = QFileInfo(platform::qs(listingPath)).absolutePath();
    if (listing.workingDir != ".") {
        const QString recorded = platform::nativeRelativePath(platform::qs(listing.workingDir));
        if (platform::changeCurrentFolder(recorded) == 0)
            return;
        std::cerr << "vitrandel-lst: the listing's working folder " << listing.workingDir
                  << " is not here; pictures are looked for beside the listing\n";
    }
    platform::changeCurrentFolder(own);
}

} // namespace

int exportHtml(int argc, char** argv, const std::string& listingPath, const std::string& folder) {
    return withQt(argc, argv, [&] {
        const QString target = QFileInfo(platform::qs(folder)).absoluteFilePath();
        const auto listing = readShownListing(listingPath);
        if (!listing)
            return kExitFailure;
        if (!QDir().mkpath(target))
            return failure("cannot create folder " + folder);
        enterWorkingFolder(listingPath, *listing);
        const WebExportOutcome outcome =
            exportWebPage(listing->project, target, QGuiApplication::palette());
        if (!outcome.ok) {
            std::string why = platform::ss(outcome.failedPath);
            if (outcome.errnum == ELOOP)
                why += ": it is a symbolic link, and the export writes through none";
            else if (outcome.errnum != 0)
                why += std::string(": ") + std::strerror(outcome.errnum);
            return failure("cannot write " + why);
        }
        for (const QString& picture : outcome.picturesOutside)
            std::cerr << "vitrandel-lst: picture " << platform::ss(picture)
                      << " left out: it lies outside the listing's folder\n";
        if (outcome.picturesMissing > 0)
            std::cerr << "vitrandel-lst: " << outcome.picturesMissing
                      << " picture(s) not found or not readable; their elements are shown without\n";
        return 0;
    });
}

int exportCsv(int argc, char** argv, const std::string& listingPath,
              const std::optional<std::string>& output) {
    return withQt(argc, argv, [&] {
        const auto listing = readShownListing(listingPath);
        if (!listing)
            return kExitFailure;
        const QByteArray table =
            listingCsv(listing->project, QGuiApplication::palette());
        if (output) {
            FileError fileError;
            if (!writeFileAtomically(*output, table.toStdString(), &fileError))
                return failure("cannot write " + *output + ": " + fileError.message);
            return 0;
        }
        std::cout.write(table.constData(), table.size());
        std::cout.flush();
        return std::cout ? 0 : failure("cannot write to standard output");
    });
}

} // namespace vitrandel::lst
