// SPDX-License-Identifier: GPL-2.0-or-later
#include "pictures/decoding.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>
#include <optional>

#include "pictures/metafile.h"

namespace vitrandel::pictures {
namespace {

// Enough for every header the program looks at, an icon's directory
// included; the rest of a file is read only by the decoder of its format.
constexpr qint64 kHeadBytes = 64 * 1024;
// An icon file may list 65535 images; real ones hold a handful.
constexpr int kMaxIconEntries = 64;

// The first bytes of an ordinary file no larger than the limit; nothing for
// anything else, so that no decoder opens a pipe or a device.
std::optional<QByteArray> readHead(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxPictureFileBytes)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(kHeadBytes);
}

bool isIconDirectory(const QByteArray& head, quint16 type) {
    return head.size() >= 6 && qFromLittleEndian<quint16>(head.constData()) == 0 &&
           qFromLittleEndian<quint16>(head.constData() + 2) == type &&
           qFromLittleEndian<quint16>(head.constData() + 4) > 0;
}

// A bitmap saved without its file header starts with its info header,
// whose first field is that header's own size.
bool looksLikeHeaderlessBitmap(const QByteArray& head) {
    if (head.size() < 4)
        return false;
    const quint32 size = qFromLittleEndian<quint32>(head.constData());
    return size == 12 || size == 40 || size == 52 || size == 56 || size == 64 || size == 108 || size == 124;
}

// The allow-list itself: formats named by their own signatures.
QByteArray formatOf(const QString& path, const QByteArray& head) {
    if (head.startsWith("\xFF\xD8\xFF"))
        return "jpeg";
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a"))
        return "gif";
    if (head.startsWith("\x89PNG\r\n\x1A\n"))
        return "png";
    if (head.startsWith("BM"))
        return "bmp";
    if (isIconDirectory(head, 1))
        return "ico";
    if (isIconDirectory(head, 2))
        return "cur";
    switch (metafileKind(head)) {
    case MetafileKind::Wmf: return "wmf";
    case MetafileKind::Emf: return "emf";
    case MetafileKind::None: break;
    }
    // Only the name tells a bitmap without its file header.
    if (path.endsWith(QStringLiteral(".dib"), Qt::CaseInsensitive) && looksLikeHeaderlessBitmap(head))
        return "dib";
    return {};
}

// The entry the system would show: the largest by the directory's sizes
// (0 stands for 256), at equal size the deepest. Only that one is decoded.
int largestIconEntry(const QByteArray& head) {
    const int count = std::min<int>(qFromLittleEndian<quint16>(head.constData() + 4), kMaxIconEntries);
    int best = 0;
    qint64 bestArea = -1;
    int bestDepth = -1;
    for (int i = 0; i < count; ++i) {
        const qsizetype at = 6 + 16 * qsizetype(i);
        if (head.size() < at + 16)
            break;
        const int width = quint8(head[at]) == 0 ? 256 : quint8(head[at]);
        const int height = quint8(head[at + 1]) == 0 ? 256 : quint8(head[at + 1]);
        const int depth = qFromLittleEndian<quint16>(head.constData() + at + 6);
        const qint64 area = qint64(width) * height;
        if (area > bestArea || (area == bestArea && depth > bestDepth)) {
            best = i;
            bestArea = area;
            bestDepth = depth;
        }
    }
    return best;
}

QImage fitToRequest(QImage image, const PictureRequest& request) {
    if (image.isNull())
        return image;
    if (!request.stretchTo.isEmpty() && image.size() != request.stretchTo)
        return image.scaled(request.stretchTo, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (!request.naturalClip.isEmpty()) {
        const QRect clip = QRect(QPoint(0, 0), request.naturalClip).intersected(image.rect());
        if (clip != image.rect())
            return image.copy(clip);
    }
    return image;
}

QImage readWithRequest(QImageReader& reader, const PictureRequest& request) {
    // Scaled and clipped reads let the JPEG decoder skip most of a large picture;
    // other formats get the same result from QImageReader after a full decode.
    const QSize size = reader.size();
    if (!request.stretchTo.isEmpty()) {
        reader.setScaledSize(request.stretchTo);
    } else if (!request.naturalClip.isEmpty() && size.isValid()) {
        const QRect clip = QRect(QPoint(0, 0), request.naturalClip).intersected(QRect(QPoint(0, 0), size));
        if (!clip.isEmpty() && clip.size() != size)
            reader.setClipRect(clip);
    }
    return fitToRequest(reader.read(), request);
}

struct PictureHead {
    QByteArray bytes;
    QByteArray format;
};

// A file's first bytes and the format they name; nothing for a file that
// cannot be read or holds no format the program reads.
std::optional<PictureHead> readPictureHead(const QString& path) {
    std::optional<QByteArray> head = readHead(path);
    if (!head)
        return std::nullopt;
    QByteArray format = formatOf(path, *head);
    if (format.isEmpty())
        return std::nullopt;
    return PictureHead{std::move(*head), std::move(format)};
}

// A picture file that reads as ended once its picture is not wanted.
class CancellableFile : public QFile {
public:
    CancellableFile(const QString& path, Cancelled cancelled) : QFile(path), cancelled_(cancelled) {}
    bool cut() const { return cut_; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (cut_ || (cancelled_ && cancelled_())) {
            cut_ = true;
            return 0;
        }
        return QFile::readData(data, maxSize);
    }

private:
    Cancelled cancelled_;
    bool cut_ = false;
};

bool isMetafileFormat(const QByteArray& format) { return format == "wmf" || format == "emf"; }

QImage drawMetafile(const QString& path, const PictureRequest& request, QString* note) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > metafile::kMaxFileBytes)
        return {};
    return renderMetafile(file.read(metafile::kMaxFileBytes), request, note);
}

// A metafile's size as its drawing code sizes the picture; nothing when only
// drawing it tells (a WMF without a placeable header).
std::optional<QSize> metafileSize(const QByteArray& head, const QByteArray& format) {
    std::optional<QSize> natural;
    if (format == "wmf") {
        if (const auto header = metafile::readPlaceableHeader(head))
            natural = header->naturalSize();
    } else if (const auto header = metafile::readEmfHeader(head)) {
        natural = header->naturalSize();
    }
    if (!natural)
        return std::nullopt;
    const auto canvas = metafile::canvasFor(*natural, {});
    return canvas ? canvas->size : QSize();
}

} // namespace

QByteArray pictureFormat(const QString& path) {
    const auto head = readPictureHead(path);
    return head ? head->format : QByteArray();
}

QImage decodePicture(const QString& path, const PictureRequest& request, QString* note, Cancelled cancelled) {
    const auto head = readPictureHead(path);
    if (!head)
        return {};
    const auto& [bytes, format] = *head;
    if (isMetafileFormat(format))
        return QFileInfo(path).size() > metafile::kMaxFileBytes ? QImage() : drawMetafile(path, request, note);
    CancellableFile file(path, cancelled);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&file, format);
    reader.setAutoDetectImageFormat(false);
    QImage image;
    if (format == "ico" || format == "cur") {
        if (!reader.jumpToImage(largestIconEntry(bytes)))
            return {};
        image = fitToRequest(reader.read(), request);
    } else {
        image = readWithRequest(reader, request);
    }
    // Decoders fill what a file lacks: a picture cut short is not the picture.
    return file.cut() ? QImage() : image;
}

QSize decodedSize(const QString& path) {
    const auto head = readPictureHead(path);
    if (!head)
        return {};
    const auto& [bytes, format] = *head;
    if (isMetafileFormat(format)) {
        if (const auto size = metafileSize(bytes, format))
            return *size;
    } else if (format != "ico" && format != "cur") {
        QImageReader reader(path, format);
        reader.setAutoDetectImageFormat(false);
        if (reader.size().isValid())
            return reader.size();
    }
    return decodePicture(path).size();
}

} // namespace vitrandel::pictures
