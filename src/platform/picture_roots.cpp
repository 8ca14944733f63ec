// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/picture_roots.h"

#include <QDir>
#include <QFileInfo>

#include "model/project.h"
#include "platform/text.h"

namespace vitrandel::platform {
namespace {

bool within(const QString& resolved, const QString& root) {
    if (resolved == root)
        return true;
    return resolved.startsWith(root.endsWith(u'/') ? root : root + u'/');
}

} // namespace

QStringList pictureRoots(const Project& p) {
    QStringList roots;
    QString listingFolder;
    if (!p.listingPath.empty()) {
        listingFolder = QFileInfo(QFileInfo(qs(p.listingPath)).absolutePath()).canonicalFilePath();
        if (!listingFolder.isEmpty())
            roots << listingFolder;
    }
    const QString working = QDir::current().canonicalPath();
    const bool recordedByListing = !isTrue(p.useCurrentDir) && !listingFolder.isEmpty();
    if (!working.isEmpty() && (!recordedByListing || within(working, listingFolder)))
        roots << working;
    return roots;
}

bool liesInside(const QString& path, const QStringList& roots) {
    const QString resolved = QFileInfo(path).canonicalFilePath();
    if (resolved.isEmpty())
        return false;
    for (const QString& root : roots)
        if (within(resolved, root))
            return true;
    return false;
}

} // namespace vitrandel::platform
