// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/listing_io.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "model/file_store.h"
#include "model/listing_reader.h"
#include "model/listing_text.h"
#include "model/listing_writer.h"
#include "model/project.h"
#include "platform/error_text.h"
#include "platform/file_helpers.h"
#include "platform/message_box.h"
#include "platform/storable_text.h"
#include "platform/text.h"
#include "platform/volumes.h"

namespace vitrandel::platform {
namespace {

void reportFileProblem(const QString& description, const QString& path, int line = 0) {
    QString text = description + QStringLiteral("\n\n") + path;
    if (line > 0)
        text += QStringLiteral(" (línea %1)").arg(line);
    msgBox(text, vbOKOnly + vbExclamation);
}

// The field as the author knows it: "La descripción del elemento "Gato"".
QString unstorableFieldMessage(const SerializeOutcome& out) {
    QString subject = qs(out.badLabel);
    if (!subject.isEmpty())
        subject[0] = subject[0].toUpper();
    const Project& p = project();
    if (out.badElement >= 0 && out.badElement < std::min<int>(p.elementCount, kMaxElements))
        subject += QStringLiteral(" del elemento \"%1\"")
                       .arg(qs(p.elements[static_cast<std::size_t>(out.badElement)].name));
    return unstorableMessage(subject, qs(unstorableCharacter(out.badText).value_or(std::string())));
}

} // namespace

std::optional<std::string> readListingFile(const QString& path) {
    // Taken before the listing's working folder is entered: a path given
    // relative to where the program was started names the file from there,
    // and saving must go back to that file, not to one of its name there.
    const QString absolute = QFileInfo(path).absoluteFilePath();
    FileError fileError;
    auto bytes = readFileBytes(ss(path), &fileError);
    if (!bytes) {
        reportFileProblem(errorDescription(fileError.errnum, path), path);
        return std::nullopt;
    }
    if (!loadListing(*bytes, path))
        return std::nullopt;
    project().listingPath = ss(absolute);
    return bytes;
}

bool loadListing(const std::string& bytes, const QString& path) {
    ParseOutcome outcome = parseListing(bytes, project());
    if (outcome.error) {
        reportFileProblem(readErrorDescription(*outcome.error), path, outcome.error->line);
        return false;
    }
    Project& loaded = outcome.listing.project;
    // A listing made on another machine may name a folder that is not here:
    // say so, stay where we are, and keep the listing. The folder is written
    // back as recorded, since it still works where the listing was made.
    for (const std::string& dir : outcome.listing.directoryChanges) {
        if (const int error = changeCurrentFolder(nativeRelativePath(qs(dir)))) {
            reportFileProblem(errorDescription(error), qs(dir));
            if (dir == outcome.listing.workingDir)
                loaded.unreachableWorkingDir = dir;
        }
    }
    normaliseElements(loaded);
    project() = std::move(loaded);
    return true;
}

std::string workingDirToRecord() {
    const Project& p = project();
    if (isTrue(p.useCurrentDir))
        return ".";
    return p.unreachableWorkingDir.empty() ? ss(QDir::currentPath()) : p.unreachableWorkingDir;
}

bool guardar_listado(const QString& path) {
    const SerializeOutcome out = serializeListing(project(), workingDirToRecord());
    if (!out.ok()) {
        reportFileProblem(unstorableFieldMessage(out), path);
        return false;
    }
    FileError fileError;
    if (!writeFileAtomically(ss(path), out.bytes, &fileError)) {
        reportFileProblem(errorDescription(fileError.errnum, path), path);
        return false;
    }
    project().listingPath = ss(path);
    return true;
}

} // namespace vitrandel::platform
