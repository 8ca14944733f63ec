#include "pictures/decoding.h"

#include <QFile>
#include <QImageReader>
#include <optional>

#include "pictures/metafile.h"

namespace vitrandel::pictures {
namespace {

bool holdsSeveralIcons(const QImageReader& reader) {
    const QByteArray format = reader.format();
    return (format == "ico" || format == "cur") && reader.imageCount() > 1;
}

// Largest area wins; at equal size the deeper image, as the system picks icons.
QImage largestImage(QImageReader& reader) {
    QImage best;
    const int count = reader.imageCount();
    for (int i = 0; i < count; ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QImage candidate = reader.read();
        if (candidate.isNull())
            continue;
        const qint64 area = qint64(candidate.width()) * candidate.height();
        const qint64 bestArea = qint64(best.width()) * best.height();
        if (best.isNull() || area > bestArea ||
            (area == bestArea && candidate.depth() > best.depth()))
            best = candidate;
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
    if (holdsSeveralIcons(reader))
        return fitToRequest(largestImage(reader), request);

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

// Qt reads no metafiles; their first bytes tell them apart.
MetafileKind metafileKindOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? metafileKind(file.read(64)) : MetafileKind::None;
}

bool isMetafile(const QString& path) { return metafileKindOf(path) != MetafileKind::None; }

QImage drawMetafile(const QString& path, const PictureRequest& request, QString* note) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > metafile::kMaxFileBytes)
        return {};
    return renderMetafile(file.read(metafile::kMaxFileBytes), request, note);
}

// A metafile's size as its drawing code sizes the picture; nothing when only
// drawing it tells (a WMF without a placeable header).
std::optional<QSize> metafileSize(const QString& path, MetafileKind kind) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    std::optional<QSize> natural;
    if (kind == MetafileKind::Wmf) {
        if (const auto header = metafile::readPlaceableHeader(bytes))
            natural = header->naturalSize();
    } else if (const auto header = metafile::readEmfHeader(bytes)) {
        natural = header->naturalSize();
    }
    if (!natural)
        return std::nullopt;
    const auto canvas = metafile::canvasFor(*natural, {});
    return canvas ? canvas->size : QSize();
}

} // namespace

QImage decodePicture(const QString& path, const PictureRequest& request, QString* note) {
    if (isMetafile(path))
        return drawMetafile(path, request, note);
    QImageReader reader(path);
    // By default a name ending in .dib picks Qt's header-less bitmap reader,
    // which fails on the ordinary bitmap files such names hold.
    reader.setDecideFormatFromContent(true);
    QImage image = readWithRequest(reader, request);
    if (image.isNull() && path.endsWith(QStringLiteral(".dib"), Qt::CaseInsensitive)) {
        // A bitmap saved without its file header: only the name tells.
        QImageReader headerless(path, "dib");
        image = readWithRequest(headerless, request);
    }
    return image;
}

QSize decodedSize(const QString& path) {
    if (const MetafileKind kind = metafileKindOf(path); kind != MetafileKind::None) {
        if (const auto size = metafileSize(path, kind))
            return *size;
    } else {
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        if (!holdsSeveralIcons(reader) && reader.size().isValid())
            return reader.size();
    }
    return decodePicture(path).size();
}

} // namespace vitrandel::pictures
