#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Pictures named by descriptions. The kind of file is told by its content,
// never by its name: listings were made on systems where a bitmap could be
// called .dib, and files get renamed.
namespace vitrandel::platform {

// How much of the picture the caller will show. A description area shows at
// most 137 by 105 pixels of a picture that may be thousands wide, so the
// decoder is asked for no more than that.
struct PictureRequest {
    // Not empty: the whole picture, scaled to exactly this size (proportions not kept).
    QSize stretchTo;
    // Not empty: only this much of the top-left corner, at the picture's own scale.
    QSize naturalClip;
};

// Larger picture files are not read at all: the decoders allocate no more
// than this for a picture's pixels, so no picture a description shows needs
// more, and a file that claims more costs memory and time for nothing.
constexpr qint64 kMaxPictureFileBytes = qint64(128) * 1024 * 1024;

// The format a picture file's first bytes name, among the only ones the
// program reads: "jpeg", "gif", "png", "bmp", "dib", "ico", "cur", "wmf",
// "emf". Empty for any other content (an SVG, whatever its name), for
// anything but an ordinary file and for a file over the size limit: no other
// decoder ever sees a stranger's bytes.
QByteArray pictureFormat(const QString& path);

// A null image when the file cannot be read or decoded; never throws.
// Icons and cursors holding several images give the largest one, chosen
// from the sizes their directory gives, so that only that one is decoded.
QImage loadPicture(const QString& path, const PictureRequest& request = {});

// The size loadPicture(path) gives, read from the file's header where that
// tells it, so that laying a picture out does not decode it. A file whose
// header reads but whose pixels do not still has a size; one that cannot be
// read at all has an empty size.
QSize pictureSize(const QString& path);

} // namespace vitrandel::platform
