// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include "pictures/picture_request.h"

// Pictures named by descriptions, decoded in the picture process only. The
// kind of file is told by its content, never by its name: listings were made
// on systems where a bitmap could be called .dib, and files get renamed.
namespace vitrandel::pictures {

// Larger picture files are not read at all: no picture a description shows
// needs more, and a file that claims more costs memory and time for nothing.
constexpr qint64 kMaxPictureFileBytes = qint64(256) * 1024 * 1024;

// The format a picture file's first bytes name, among the only ones the
// program reads: "jpeg", "gif", "png", "bmp", "dib", "ico", "cur", "wmf",
// "emf". Empty for any other content (an SVG, whatever its name), for
// anything but an ordinary file and for a file over the size limit: no other
// decoder ever sees a stranger's bytes.
QByteArray pictureFormat(const QString& path);

// A null image when the file cannot be read or decoded; never throws.
// Icons and cursors holding several images give the largest one, chosen
// from the sizes their directory gives, so that only that one is decoded.
// What a metafile's drawing left out, or why there is none, goes to `note`.
// `cancelled` is asked as the file is read: once it says so, the picture
// is not wanted any more and the rest of the file reads as ended, so that
// a large photo stops being decoded within a few kilobytes; the result is
// then a null image.
using Cancelled = bool (*)();
QImage decodePicture(const QString& path, const PictureRequest& request = {}, QString* note = nullptr,
                     Cancelled cancelled = nullptr);

// The size decodePicture(path) gives, read from the file's header where that
// tells it, so that laying a picture out does not decode it. A file whose
// header reads but whose pixels do not still has a size; one that cannot be
// read at all has an empty size.
QSize decodedSize(const QString& path);

} // namespace vitrandel::pictures
