// SPDX-License-Identifier: GPL-2.0-or-later
#include "pictures/picture_cache.h"

#include <QFileInfo>
#include <iterator>

namespace vitrandel::pictures {

std::optional<QString> cacheKey(const QString& path, protocol::Kind kind, const PictureRequest& request) {
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    const QSize size = !request.stretchTo.isEmpty() ? request.stretchTo : request.naturalClip;
    const char kinds[] = {'p', 'd', 'g', 'b'}; // pixels, description, PNG, bytes
    const char mode = !request.stretchTo.isEmpty() ? 's' : !request.naturalClip.isEmpty() ? 'c' : 'n';
    return QStringLiteral("%1|%2|%3|%4%5|%6x%7")
        .arg(info.absoluteFilePath())
        .arg(info.size())
        .arg(info.lastModified().toMSecsSinceEpoch())
        .arg(QLatin1Char(kinds[std::size_t(kind) % std::size(kinds)]))
        .arg(QLatin1Char(mode))
        .arg(size.width())
        .arg(size.height());
}

std::optional<Picture> PictureCache::find(const QString& key) {
    if (const Picture* picture = cache_.object(key))
        return *picture;
    return std::nullopt;
}

void PictureCache::insert(const QString& key, const Picture& picture) {
    // An empty answer is kept too, at the cost of its key: a file that is no
    // picture is not read again on every visit.
    const qsizetype cost =
        picture.image.sizeInBytes() + picture.bytes.size() + key.size() * 2 + qsizetype(sizeof(Picture));
    if (cost <= cache_.maxCost())
        cache_.insert(key, new Picture(picture), cost);
}

} // namespace vitrandel::pictures
