// SPDX-License-Identifier: GPL-2.0-or-later
// EMF: libemf2svg writes the records as SVG, which QtSvg draws at the size
// asked for, so a stretched picture is drawn at its frame's size rather
// than scaled from a larger bitmap.

#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QtEndian>
#include <cmath>
#include <cstdlib>

#include "pictures/metafile.h"

#include <emf2svg.h>

namespace vitrandel::pictures::metafile {
namespace {

QByteArray toSvg(const QByteArray& bytes, const EmfHeader& header) {
    generatorOptions options{};
    // Plain SVG: with a prefix the converter closes some elements without
    // it (clip paths among them), and the document is not XML at all.
    options.nameSpace = nullptr;
    options.verbose = false;
    // EMF+ records come with GDI ones that say the same; the GDI ones are
    // the better supported.
    options.emfplus = false;
    options.svgDelimiter = true;
    char* out = nullptr;
    size_t length = 0;
    // The converter reads the header's description a second time from a
    // point inside it, running up to its length past its end (fuzzing found
    // the overread); zeros after the file keep that read in our buffer.
    QByteArray input = bytes;
    input.append(QByteArray(header.descriptionBytes + 4, '\0'));
    const int converted = emf2svg(input.data(), size_t(bytes.size()), &out, &length, &options);
    QByteArray svg;
    if (converted && out && length > 0 && length <= size_t(kMaxFileBytes) * 16)
        svg = QByteArray(out, qsizetype(length));
    std::free(out);
    return svg;
}

// Why QtSvg would not take the converter's SVG, for a user's report.
QString refusal(const QByteArray& svg) {
    QXmlStreamReader xml(svg);
    while (!xml.atEnd())
        xml.readNext();
    if (xml.hasError())
        return QStringLiteral("the SVG made from its records is not well-formed (%1, line %2)")
            .arg(xml.errorString())
            .arg(xml.lineNumber());
    return QStringLiteral("the SVG made from its records is refused");
}

// Office writes EMF+ records with GDI ones beside them that draw the same;
// the header of a file with EMF+ records alone says it has no such twins,
// and its GDI records, if any, are not the picture.
bool emfPlusOnly(const QByteArray& bytes) {
    constexpr quint32 kComment = 70;
    constexpr quint32 kEmfPlusMark = 0x2B464D45; // "EMF+"
    constexpr quint16 kEmfPlusHeader = 0x4001;
    constexpr quint16 kDual = 0x0001;
    const QByteArrayView b(bytes);
    const qsizetype at = qsizetype(qFromLittleEndian<quint32>(b.data() + 4));
    // The comment's type, size and data size, then the mark and the EMF+
    // header's type and flags.
    if (at < 0 || at + 24 > b.size() || qFromLittleEndian<quint32>(b.data() + at) != kComment ||
        qFromLittleEndian<quint32>(b.data() + at + 12) != kEmfPlusMark ||
        qFromLittleEndian<quint16>(b.data() + at + 16) != kEmfPlusHeader)
        return false;
    return !(qFromLittleEndian<quint16>(b.data() + at + 18) & kDual);
}

bool usable(const QRectF& r) {
    return std::isfinite(r.x()) && std::isfinite(r.y()) && std::isfinite(r.width()) &&
           std::isfinite(r.height()) && r.width() > 0 && r.height() > 0;
}

} // namespace

QImage renderEmf(const QByteArray& bytes, const PictureRequest& request, QString& note) {
    const std::optional<EmfHeader> header = readEmfHeader(bytes);
    if (!header)
        return {};
    const std::optional<Canvas> canvas = canvasFor(header->naturalSize(), request);
    if (!canvas)
        return {};
    QImage image = blankImage(*canvas);
    if (image.isNull())
        return {};

    // The SVG's own area is the header's bounds; the frame around them is
    // what fills the picture, margins included.
    const QRectF bounds(QPointF(double(header->bounds.left), double(header->bounds.top)),
                        QPointF(double(header->bounds.right), double(header->bounds.bottom)));
    if (!usable(bounds))
        return image; // nothing is drawn in it
    QRectF frame = header->frameInDeviceUnits();
    if (!usable(frame))
        frame = bounds;

    if (emfPlusOnly(bytes)) {
        note = QStringLiteral("EMF+ records only, which are not drawn");
        return image;
    }
    const QByteArray svg = toSvg(bytes, *header);
    if (svg.isEmpty()) {
        note = QStringLiteral("its records could not be converted");
        return {};
    }
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        note = refusal(svg);
        return {};
    }

    const double sx = canvas->frame.width() / frame.width();
    const double sy = canvas->frame.height() / frame.height();
    const QRectF target(canvas->frame.x() + (bounds.x() - frame.x()) * sx,
                        canvas->frame.y() + (bounds.y() - frame.y()) * sy, bounds.width() * sx,
                        bounds.height() * sy);
    if (!usable(target))
        return {};
    if (svg.contains("clip-path=")) {
        QImage clipped = image;
        if (renderSvgClipped(svg, clipped, target))
            return clipped;
        note = QStringLiteral("its clip paths are too many to follow in time; drawn unclipped");
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, target);
    return image;
}

} // namespace vitrandel::pictures::metafile
