// EMF: libemf2svg writes the records as SVG, which QtSvg draws at the size
// asked for, so a stretched picture is drawn at its frame's size rather
// than scaled from a larger bitmap.

#include <QPainter>
#include <QSvgRenderer>
#include <cmath>
#include <cstdlib>

#include "pictures/metafile.h"

#include <emf2svg.h>

namespace vitrandel::pictures::metafile {
namespace {

QByteArray toSvg(const QByteArray& bytes, const EmfHeader& header) {
    // The library's interface takes writable pointers but only reads them.
    char nameSpace[] = "svg";
    generatorOptions options{};
    options.nameSpace = nameSpace;
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

bool usable(const QRectF& r) {
    return std::isfinite(r.x()) && std::isfinite(r.y()) && std::isfinite(r.width()) &&
           std::isfinite(r.height()) && r.width() > 0 && r.height() > 0;
}

} // namespace

QImage renderEmf(const QByteArray& bytes, const PictureRequest& request) {
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

    const QByteArray svg = toSvg(bytes, *header);
    if (svg.isEmpty())
        return {};
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};

    const double sx = canvas->frame.width() / frame.width();
    const double sy = canvas->frame.height() / frame.height();
    const QRectF target(canvas->frame.x() + (bounds.x() - frame.x()) * sx,
                        canvas->frame.y() + (bounds.y() - frame.y()) * sy, bounds.width() * sx,
                        bounds.height() * sy);
    if (!usable(target))
        return {};
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, target);
    return image;
}

} // namespace vitrandel::pictures::metafile
