// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/file_helpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <array>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

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

namespace {

// A folder's names by their folded spelling; of names that fold alike, the
// least byte by byte, so that the choice never depends on the listing order.
struct FolderNames {
    std::array<qint64, 3> version{};
    QHash<QString, QString> byFolded;
};

constexpr int kFoldersKept = 8;
int g_listings = 0;

// A disc's folder may hold 100,000 names, and a listing may name hundreds of
// pictures in it that are missing: each folder is listed once and kept while
// its modification time stays the same, which any entry added, removed or
// renamed changes.
const FolderNames& namesIn(const QString& folder) {
    static QHash<QString, FolderNames> kept;
    static QStringList order;
    struct stat st {};
    std::array<qint64, 3> version{};
    if (::stat(QFile::encodeName(folder).constData(), &st) == 0)
        version = {qint64(st.st_ino), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                   qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec};
    if (auto it = kept.find(folder); it != kept.end() && it->version == version && version[0] != 0)
        return *it;
    ++g_listings;
    FolderNames names;
    names.version = version;
    // The system's own listing, unsorted and without asking about each
    // entry: a folder may hold 100,000 of them.
    if (DIR* dir = ::opendir(QFile::encodeName(folder).constData())) {
        while (const dirent* entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
                continue;
            const QString name = QFile::decodeName(entry->d_name);
            QString& kept = names.byFolded[name.toCaseFolded()];
            if (kept.isEmpty() || name < kept)
                kept = name;
        }
        ::closedir(dir);
    }
    order.removeAll(folder);
    order.append(folder);
    while (order.size() > kFoldersKept)
        kept.remove(order.takeFirst());
    return *kept.insert(folder, std::move(names));
}

} // namespace

int caseLookupListings() { return g_listings; }

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
            found = namesIn(QFileInfo(folder).absoluteFilePath()).byFolded.value(part.toCaseFolded());
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
