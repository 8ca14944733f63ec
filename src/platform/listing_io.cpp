#include "platform/listing_io.h"

#include <QDir>
#include <cerrno>

#include "model/file_store.h"
#include "model/listing_reader.h"
#include "model/listing_writer.h"
#include "model/project.h"
#include "platform/error_text.h"
#include "platform/file_helpers.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace vitrandel::platform {
namespace {

void reportFileProblem(const QString& description, const QString& path, int line = 0) {
    QString text = description + QStringLiteral("\n\n") + path;
    if (line > 0)
        text += QStringLiteral(" (línea %1)").arg(line);
    msgBox(text, vbOKOnly + vbExclamation);
}

} // namespace

bool cargar_listado(const QString& path) {
    FileError fileError;
    const auto bytes = readFileBytes(ss(path), &fileError);
    if (!bytes) {
        reportFileProblem(errorDescription(fileError.errnum, path), path);
        return false;
    }
    ParseOutcome outcome = parseListing(*bytes, project());
    if (outcome.error) {
        reportFileProblem(readErrorDescription(*outcome.error), path, outcome.error->line);
        return false;
    }
    // A listing made on another machine may name a folder that is not here:
    // say so, stay where we are, and keep the listing.
    for (const std::string& dir : outcome.listing.directoryChanges) {
        const QString native = nativeRelativePath(qs(dir));
        if (!QDir::setCurrent(native))
            reportFileProblem(errorDescription(ENOTDIR), native);
    }
    Project& loaded = outcome.listing.project;
    normaliseElements(loaded);
    loaded.listingPath = ss(path);
    project() = std::move(loaded);
    return true;
}

bool guardar_listado(const QString& path) {
    const SerializeOutcome out = serializeListing(project(), ss(QDir::currentPath()));
    if (!out.ok()) {
        reportFileProblem(QStringLiteral("El texto de «%1» tiene caracteres que el listado no puede "
                                         "guardar.")
                              .arg(qs(out.badField)),
                          path);
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
