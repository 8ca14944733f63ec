#include "platform/folder_scan.h"

#include <QDir>

#include "model/file_store.h"
#include "platform/text.h"

namespace vitrandel::platform {
namespace {

std::vector<std::string> entries(const QDir& dir, QDir::Filters kind) {
    std::vector<std::string> names;
    for (const QString& name : dir.entryList(kind | QDir::NoDotAndDotDot, QDir::NoSort))
        names.push_back(ss(name));
    return names;
}

} // namespace

FolderScan scanFolder(const QString& folder, const std::string& listingPath) {
    const QDir dir(folder);
    FolderScan scan;
    scan.chosen = ScannedFolder{{}, listingPath, entries(dir, QDir::Files)};
    for (const std::string& sub : entries(dir, QDir::Dirs)) {
        const QDir subdir(dir.filePath(qs(sub)));
        const std::string subPath = listingPath.empty() ? sub : listingPath + '\\' + sub;
        scan.subfolders.push_back(ScannedFolder{sub, subPath, entries(subdir, QDir::Files)});
    }
    scan.readStart = [dir](const ScannedFolder& f, const std::string& file, std::size_t maxBytes) {
        const QString inFolder = f.name.empty() ? dir.path() : dir.filePath(qs(f.name));
        return readFileStart(ss(QDir(inFolder).filePath(qs(file))), maxBytes);
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
