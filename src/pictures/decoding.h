#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include "pictures/picture_request.h"

// Pictures named by descriptions, decoded in the picture process only. The
// kind of file is told by its content, never by its name: listings were made
// on systems where a bitmap could be called .dib, and files get renamed.
namespace vitrandel::pictures {

// A null image when the file cannot be read or decoded; never throws.
// Icons and cursors holding several images give the largest one.
// What a metafile's drawing left out, or why there is none, goes to `note`.
QImage decodePicture(const QString& path, const PictureRequest& request = {}, QString* note = nullptr);

// The size decodePicture(path) gives, read from the file's header where that
// tells it, so that laying a picture out does not decode it. A file whose
// header reads but whose pixels do not still has a size; one that cannot be
// read at all has an empty size.
QSize decodedSize(const QString& path);

} // namespace vitrandel::pictures
