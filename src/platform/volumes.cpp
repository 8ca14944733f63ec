// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/volumes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStorageInfo>
#include <cerrno>
#include <dirent.h>
#include <optional>
#include <utility>

namespace vitrandel::platform {
namespace {

struct VolumeState {
    std::optional<QStringList> testRoots;
    QHash<QString, QString> lastFolder;
    // Folders entered, oldest first, whose volume is not looked up yet:
    // that reads the whole mount table, which a start (that enters the
    // listing's folder) should not wait for when no one asks.
    QStringList unsettled;
    QString seenCurrentDir;
};

VolumeState& state() {
    static VolumeState s;
    return s;
}

// A folder that is not there is a path not found, not a missing file.
int folderError(int errnum) {
    if (errnum == 0)
        return EIO;
    return errnum == ENOENT ? ENOTDIR : errnum;
}

bool liesUnder(const QString& path, const QString& root) {
    if (root == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == root || path.startsWith(root + QLatin1Char('/'));
}

void queueFolder(const QString& absolute) {
    QStringList& queue = state().unsettled;
    if (queue.isEmpty() || queue.last() != absolute)
        queue.append(absolute);
}

QString volumeIn(const QStringList& roots, const QString& absolute) {
    QString best = QStringLiteral("/");
    for (const QString& root : roots)
        if (root.size() > best.size() && liesUnder(absolute, root))
            best = root;
    return best;
}

// Anything may change the current directory (a listing that records one, for
// instance); when it has moved, it is the current folder of its volume again.
void noticeCurrentDirectory() {
    VolumeState& s = state();
    const QString cwd = QDir::currentPath();
    if (cwd != s.seenCurrentDir) {
        s.seenCurrentDir = cwd;
        queueFolder(cwd);
    }
}

// One reading of the mount table for all the folders entered since the last.
void settleFolders() {
    VolumeState& s = state();
    if (s.unsettled.isEmpty())
        return;
    const QStringList roots = volumeRoots();
    for (const QString& folder : std::exchange(s.unsettled, {}))
        s.lastFolder.insert(volumeIn(roots, folder), folder);
}

} // namespace

QString absoluteFolder(const QString& folder) {
    return QDir::cleanPath(QDir::current().absoluteFilePath(folder));
}

QStringList volumeRoots() {
    if (state().testRoots)
        return *state().testRoots;
    QStringList roots{QStringLiteral("/")};
    QStringList others;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        // Read-only images of installed software are not places for listings.
        if (volume.fileSystemType() == "squashfs")
            continue;
        const QString root = QDir::cleanPath(volume.rootPath());
        if (!QFileInfo(root).isDir() || roots.contains(root) || others.contains(root))
            continue;
        others.append(root);
    }
    others.sort();
    return roots + others;
}

QString volumeOf(const QString& path) { return volumeIn(volumeRoots(), absoluteFolder(path)); }

QString currentFolderOf(const QString& root) {
    noticeCurrentDirectory();
    settleFolders();
    const auto it = state().lastFolder.constFind(root);
    if (it != state().lastFolder.cend() && QFileInfo(*it).isDir())
        return *it;
    return root;
}

void rememberFolder(const QString& folder) {
    noticeCurrentDirectory();
    queueFolder(absoluteFolder(folder));
}

int folderReadError(const QString& folder) {
    const QByteArray name = QFile::encodeName(absoluteFolder(folder));
    errno = 0;
    DIR* dir = ::opendir(name.constData());
    if (!dir)
        return folderError(errno);
    ::closedir(dir);
    return 0;
}

int changeCurrentFolder(const QString& folder) {
    const QString absolute = absoluteFolder(folder);
    errno = 0;
    if (!QDir::setCurrent(absolute))
        return folderError(errno);
    rememberFolder(absolute);
    return 0;
}

void VolumeSeam::setRoots(const QStringList& roots) {
    QStringList cleaned;
    for (const QString& r : roots)
        cleaned.append(QDir::cleanPath(r));
    state().testRoots = cleaned;
}

void VolumeSeam::reset() {
    state() = VolumeState{};
}

} // namespace vitrandel::platform
