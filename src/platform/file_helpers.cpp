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

QString nativeRelativePath(const QString& listingPath) {
    QString p = listingPath;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

} // namespace vitrandel::platform
