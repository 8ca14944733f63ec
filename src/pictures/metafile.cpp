// SPDX-License-Identifier: GPL-2.0-or-later
#include "pictures/metafile.h"

#include <QtEndian>
#include <cmath>

namespace vitrandel::pictures {
namespace {

constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr qsizetype kPlaceableBytes = 22;
constexpr qsizetype kWmfHeaderBytes = 18;
constexpr quint32 kEmfHeaderRecord = 1;
constexpr quint32 kEmfSignature = 0x464D4520; // " EMF"
constexpr qsizetype kEmfHeaderBytes = 88;
constexpr double kHundredthsOfMmPerInch = 2540.0;

quint16 u16(QByteArrayView b, qsizetype at) { return qFromLittleEndian<quint16>(b.data() + at); }
qint16 s16(QByteArrayView b, qsizetype at) { return qFromLittleEndian<qint16>(b.data() + at); }
quint32 u32(QByteArrayView b, qsizetype at) { return qFromLittleEndian<quint32>(b.data() + at); }
qint32 s32(QByteArrayView b, qsizetype at) { return qFromLittleEndian<qint32>(b.data() + at); }

bool hasWmfHeaderAt(QByteArrayView b, qsizetype at) {
    if (b.size() < at + kWmfHeaderBytes)
        return false;
    const quint16 type = u16(b, at);
    const quint16 headerWords = u16(b, at + 2);
    const quint16 version = u16(b, at + 4);
    return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
}

bool hasPlaceableKey(QByteArrayView b) { return b.size() >= kPlaceableBytes && u32(b, 0) == kPlaceableKey; }

bool hasEmfHeader(QByteArrayView b) {
    return b.size() >= 44 && u32(b, 0) == kEmfHeaderRecord && u32(b, 40) == kEmfSignature;
}

} // namespace

MetafileKind metafileKind(QByteArrayView head) {
    if (hasPlaceableKey(head) || hasWmfHeaderAt(head, 0))
        return MetafileKind::Wmf;
    if (hasEmfHeader(head))
        return MetafileKind::Emf;
    return MetafileKind::None;
}

namespace metafile {

int toPixels(double units, double unitsPerInch) {
    const double pixels = units * 96.0 / unitsPerInch;
    if (!std::isfinite(pixels) || pixels < 0.5 || pixels > kMaxSide)
        return 0;
    return int(std::lround(pixels));
}

std::optional<Canvas> canvasFor(QSize naturalSize, const PictureRequest& request) {
    const auto allowed = [](QSize s) {
        return s.width() >= 1 && s.height() >= 1 && s.width() <= kMaxSide && s.height() <= kMaxSide;
    };
    // A header whose size is not believable tells nothing about where the
    // drawing goes, stretched or not.
    if (!allowed(naturalSize))
        return std::nullopt;
    if (!request.stretchTo.isEmpty()) {
        if (!allowed(request.stretchTo))
            return std::nullopt;
        return Canvas{request.stretchTo, QRectF(QPointF(0, 0), QSizeF(request.stretchTo))};
    }
    QSize size = naturalSize;
    if (!request.naturalClip.isEmpty())
        size = size.boundedTo(request.naturalClip);
    if (qint64(size.width()) * size.height() > kMaxImagePixels)
        return std::nullopt;
    return Canvas{size, QRectF(QPointF(0, 0), QSizeF(naturalSize))};
}

QImage blankImage(const Canvas& canvas) {
    QImage image(canvas.size, QImage::Format_ARGB32_Premultiplied);
    if (!image.isNull())
        image.fill(Qt::transparent);
    return image;
}

QSize PlaceableHeader::naturalSize() const {
    if (unitsPerInch <= 0)
        return {};
    return {toPixels(double(frame.width()), unitsPerInch), toPixels(double(frame.height()), unitsPerInch)};
}

std::optional<PlaceableHeader> readPlaceableHeader(QByteArrayView bytes) {
    if (!hasPlaceableKey(bytes) || !hasWmfHeaderAt(bytes, kPlaceableBytes))
        return std::nullopt;
    // The bounding box's edges are signed: a right edge of 65535 is -1.
    PlaceableHeader header;
    header.frame = Box{s16(bytes, 6), s16(bytes, 8), s16(bytes, 10), s16(bytes, 12)};
    header.unitsPerInch = u16(bytes, 14);
    return header;
}

qsizetype firstWmfRecord(QByteArrayView bytes) {
    return (hasPlaceableKey(bytes) ? kPlaceableBytes : 0) + kWmfHeaderBytes;
}

QSize EmfHeader::naturalSize() const {
    return {toPixels(double(frame.width()), kHundredthsOfMmPerInch),
            toPixels(double(frame.height()), kHundredthsOfMmPerInch)};
}

QRectF EmfHeader::frameInDeviceUnits() const {
    const auto inDevice = [](qint64 hundredths, int pixels, int millimetres) {
        return double(hundredths) * pixels / (millimetres * 100.0);
    };
    if (devicePixels.width() <= 0 || devicePixels.height() <= 0 || deviceMillimetres.width() <= 0 ||
        deviceMillimetres.height() <= 0)
        return {};
    const int px = devicePixels.width(), py = devicePixels.height();
    const int mx = deviceMillimetres.width(), my = deviceMillimetres.height();
    return QRectF(QPointF(inDevice(frame.left, px, mx), inDevice(frame.top, py, my)),
                  QPointF(inDevice(frame.right, px, mx), inDevice(frame.bottom, py, my)));
}

std::optional<EmfHeader> readEmfHeader(QByteArrayView bytes) {
    if (bytes.size() < kEmfHeaderBytes || !hasEmfHeader(bytes))
        return std::nullopt;
    // A file shorter than its header says has lost its end.
    const quint32 headerSize = u32(bytes, 4);
    const quint32 fileSize = u32(bytes, 48);
    if (headerSize < kEmfHeaderBytes || headerSize > quint64(bytes.size()) || fileSize > quint64(bytes.size()))
        return std::nullopt;
    EmfHeader header;
    header.bounds = Box{s32(bytes, 8), s32(bytes, 12), s32(bytes, 16), s32(bytes, 20)};
    header.frame = Box{s32(bytes, 24), s32(bytes, 28), s32(bytes, 32), s32(bytes, 36)};
    header.devicePixels = QSize(s32(bytes, 72), s32(bytes, 76));
    header.deviceMillimetres = QSize(s32(bytes, 80), s32(bytes, 84));
    // The description, when there is one, lies inside the header record.
    const quint64 descriptionChars = u32(bytes, 60);
    const quint64 descriptionOffset = u32(bytes, 64);
    if (descriptionChars > 0 && (descriptionOffset < kEmfHeaderBytes ||
                                 descriptionOffset + 2 * descriptionChars > headerSize))
        return std::nullopt;
    header.descriptionBytes = qsizetype(2 * descriptionChars);
    return header;
}

} // namespace metafile
} // namespace vitrandel::pictures
