#include "platform/file_helpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vitrandel::platform {

bool existe_archivo(const QString& path) {
    if (path.isEmpty())
        return false;
    // Only ordinary files: opening a named pipe would wait for a writer forever.
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    QFile f(path);
    const bool ok = f.open(QIODevice::ReadOnly);
    f.close();
    return ok;
}

bool directorio_con_archivos(const QString& path) {
    QString folder = path;
    if (!folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('/');
    const QDir dir(nativeRelativePath(folder));
    if (!dir.exists())
        return false;
    // Hidden excluded by default; system files do not exist here.
    return !dir.entryList(QDir::Files, QDir::NoSort).isEmpty();
}

QString existingPathIgnoringCase(const QString& path) {
    const QString native = nativeRelativePath(path);
    if (native.isEmpty() || QFileInfo::exists(native))
        return native;
    const bool absolute = native.startsWith(QLatin1Char('/'));
    QString resolved = absolute ? QStringLiteral("/") : QString();
    for (const QString& part : native.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        const QString folder = resolved.isEmpty() ? QStringLiteral(".") : resolved;
        const QString exact = QDir(folder).filePath(part);
        QString found;
        if (part == QLatin1String(".") || part == QLatin1String("..") || QFileInfo::exists(exact)) {
            found = part;
        } else {
            const QStringList entries = QDir(folder).entryList(
                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
            for (const QString& entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    found = entry;
                    break;
                }
            }
            if (found.isEmpty())
                return native;
        }
        resolved = resolved.isEmpty() ? found : QDir(resolved).filePath(found);
    }
    return resolved;
}

QString picturePath(const QString& imagePath) {
    return existingPathIgnoringCase(QDir::currentPath() + QLatin1Char('/') + imagePath);
}

QString nativeRelativePath(const QString& listingPath) {
    QString p = listingPath;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

} // namespace vitrandel::platform
