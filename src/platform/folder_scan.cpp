// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/folder_scan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/text.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace vitrandel::platform {
namespace {

bool within(const QString& resolved, const QString& root) {
    return resolved == root || resolved.startsWith(root.endsWith(u'/') ? root : root + u'/');
}

struct Listed {
    std::vector<std::string> files; // kept, see FolderNames
    std::size_t stemsLeftOut = 0;
    std::vector<std::string> subfolders;
    std::vector<std::string> refused; // names as on disk
};

// One pass over the folder's names with the system's own listing, which
// tells most entries' kind without asking for each; hidden entries are left
// out, as the file lists leave them out. A link is taken only when its real
// path lies inside `root`.
Listed listFolder(const QString& folder, const QString& root) {
    Listed out;
    FolderNames files;
    const QByteArray encoded = QFile::encodeName(folder);
    DIR* dir = ::opendir(encoded.constData());
    if (!dir)
        return out;
    const int fd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        unsigned char type = entry->d_type;
        bool link = type == DT_LNK;
        if (type == DT_UNKNOWN || link) {
            struct stat st {};
            if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            link = S_ISLNK(st.st_mode);
            if (link && ::fstatat(fd, entry->d_name, &st, 0) != 0)
                continue; // a link to nowhere
            type = S_ISREG(st.st_mode) ? DT_REG : S_ISDIR(st.st_mode) ? DT_DIR : DT_UNKNOWN;
        }
        if (type != DT_REG && type != DT_DIR)
            continue;
        std::string name = entry->d_name;
        // Names in plain ASCII, nearly all, need no decoding.
        if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
            name = ss(QFile::decodeName(entry->d_name));
        if (name.find('\\') != std::string::npos ||
            (link && !within(QFileInfo(QDir(folder).filePath(qs(name))).canonicalFilePath(), root))) {
            out.refused.push_back(std::move(name));
            continue;
        }
        if (type == DT_REG)
            files.add(std::move(name));
        else
            out.subfolders.push_back(std::move(name));
    }
    ::closedir(dir);
    out.stemsLeftOut = files.stemsLeftOut();
    out.files = files.take();
    return out;
}

std::string readStart(const QString& path, const QString& root, std::size_t maxBytes) {
    // Only ordinary files inside the chosen folder, looked at again as they
    // are read: a named pipe would wait for a writer forever, and a link
    // put in a file's place since the listing would lead out of the folder.
    const QFileInfo info(path);
    if (!info.isFile() || !within(info.canonicalFilePath(), root))
        return {};
    QFile file(info.canonicalFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.read(static_cast<qint64>(maxBytes));
    return bytes.toStdString();
}

std::string joined(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + '\\' + name;
}

} // namespace

FolderScan scanFolder(const QString& folder, const std::string& listingPath) {
    const QDir dir(folder);
    const QString root = QFileInfo(folder).canonicalFilePath();
    FolderScan scan;
    Listed chosen = listFolder(folder, root);
    scan.chosen = ScannedFolder{{}, listingPath, std::move(chosen.files), chosen.stemsLeftOut};
    for (const std::string& name : chosen.refused)
        scan.refused.push_back(joined(listingPath, name));
    std::vector<std::string> subfolders = std::move(chosen.subfolders);
    std::sort(subfolders.begin(), subfolders.end(),
              [](const std::string& a, const std::string& b) { return naturalLess(a, b); });
    if (subfolders.size() > kSubfoldersRead) {
        scan.subfoldersLeftOut = subfolders.size() - kSubfoldersRead;
        subfolders.resize(kSubfoldersRead);
    }
    for (const std::string& sub : subfolders) {
        const std::string subPath = joined(listingPath, sub);
        Listed inside = listFolder(dir.filePath(qs(sub)), root);
        // Deeper folders are not visited.
        for (const std::string& name : inside.refused)
            scan.refused.push_back(joined(subPath, name));
        scan.subfolders.push_back(ScannedFolder{sub, subPath, std::move(inside.files), inside.stemsLeftOut});
    }
    scan.readStart = [dir, root](const ScannedFolder& f, const std::string& file, std::size_t maxBytes) {
        const QString inFolder = f.name.empty() ? dir.path() : dir.filePath(qs(f.name));
        return readStart(QDir(inFolder).filePath(qs(file)), root, maxBytes);
    };
    return scan;
}

std::optional<std::string> pathInWorkingFolder(const QString& folder) {
    // Compared as the system resolves them, so that a link or a ".." in either
    // path does not hide where the folder really is.
    const QString working = QDir::current().canonicalPath();
    const QString chosen = QFileInfo(folder).canonicalFilePath();
    if (working.isEmpty() || chosen.isEmpty())
        return std::nullopt;
    const QString relative = QDir(working).relativeFilePath(chosen);
    if (relative == QLatin1String("..") || relative.startsWith(QLatin1String("../")) ||
        QDir::isAbsolutePath(relative))
        return std::nullopt;
    if (relative == QLatin1String("."))
        return std::string();
    QString listing = relative;
    listing.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return ss(listing);
}

} // namespace vitrandel::platform
