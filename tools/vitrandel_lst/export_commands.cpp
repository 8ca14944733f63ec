#include "export_commands.h"
#include "listing_file.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
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

int withQt(int argc, char** argv, const std::function<int()>& run) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Installed, the picture process lies beside this tool; in a build tree
    // it lies beside the program.
    const QString beside = QDir(QCoreApplication::applicationDirPath())
                               .filePath(QStringLiteral("vitrandel-picture"));
    if (!QFileInfo::exists(beside))
        pictures::PictureClient::instance().setProgram(QStringLiteral(VITRANDEL_BUILT_PICTURE_HELPER));
    return run();
}

// What the viewer shows: sizes and colours as opening a listing makes them.
std::optional<ParsedListing> readShownListing(const std::string& path) {
    auto listing = readListing(path);
    if (listing)
        normaliseElements(listing->project);
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
            if (!outcome.reason.isEmpty())
                why += ": " + platform::ss(outcome.reason);
            return failure("cannot write " + why);
        }
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
