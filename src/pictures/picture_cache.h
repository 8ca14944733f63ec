// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QCache>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

#include "pictures/protocol.h"

// Pictures already drawn, so that going back to an element, or printing what
// the viewer showed, costs no second decode.
namespace vitrandel::pictures {

// What a window gets for a picture file: empty (ok false) when the file
// cannot be read, is not a picture the program shows, or could not be drawn.
struct Picture {
    bool ok = false;
    protocol::Format format = protocol::Format::None;
    QSize naturalSize;
    bool turned = false;
    QImage image;
    // A PNG file's bytes, or the file's own (see protocol::Kind).
    QByteArray bytes;
};

// The same path may hold another picture tomorrow (the disc changed, the
// author saved over it): a key names the file's size and modification time
// as well as the request. No key for a file that cannot be looked at.
std::optional<QString> cacheKey(const QString& path, protocol::Kind kind, const PictureRequest& request);

// Bounded by the bytes of the pixels it holds; the least recently used go first.
class PictureCache {
public:
    // Ten photos of a full screen, or over a thousand description-sized pictures.
    static constexpr qsizetype kDefaultBytes = 64 * 1024 * 1024;

    explicit PictureCache(qsizetype maxBytes = kDefaultBytes) : cache_(maxBytes) {}

    std::optional<Picture> find(const QString& key);
    void insert(const QString& key, const Picture& picture);
    void clear() { cache_.clear(); }
    qsizetype bytes() const { return cache_.totalCost(); }
    qsizetype maxBytes() const { return cache_.maxCost(); }

private:
    QCache<QString, Picture> cache_;
};

} // namespace vitrandel::pictures
