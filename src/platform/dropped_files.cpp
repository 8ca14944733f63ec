// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/dropped_files.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "platform/disc_folder.h"

namespace vitrandel::platform {

QStringList droppedPaths(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        paths << url.toLocalFile();
    }
    return paths;
}

QString droppedListing(const QStringList& paths) {
    if (paths.size() != 1)
        return {};
    const QFileInfo info(paths.front());
    if (info.isDir())
        return discListing(info.filePath());
    return info.isFile() && readsAsListing(info.filePath()) ? info.filePath() : QString();
}

} // namespace vitrandel::platform
