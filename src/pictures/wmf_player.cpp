// SPDX-License-Identifier: GPL-2.0-or-later
// WMF: libwmf reads and plays the records; this file is the drawing layer it
// plays them to, painting with QPainter at exactly the size asked for.
//
// libwmf's own drawing layers lose pixels: its SVG writer rounds every
// colour to the nearest of 147 named ones, draws fills half transparent and
// hatches solid; its raster one leaves ellipses unfilled and round corners
// square. Its lite interface plays records without its font and bitmap code:
// text is measured and drawn with Qt's fonts, bitmaps are read by Qt.

// Qt's headers come first: libwmf's define U8, U16, U32, S16 and S32 as
// macros, which would break any Qt header read after them.
#include <QBuffer>
#include <QDeadlineTimer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

#include "model/cp1252.h"
#include "pictures/metafile.h"
#include "pictures/wmf_records.h"

#include <libwmf/api.h>
#include <libwmf/defs.h>
#include <libwmf/ipa.h>
#include <libwmf/macro.h>

namespace vitrandel::pictures::metafile {
namespace {

// Mapping modes in which the metafile's own window fills the picture.
constexpr int kMapIsotropic = 7;
constexpr int kMapAnisotropic = 8;
// The convention for logical units when nothing says otherwise: twips.
constexpr double kTwipsPerInch = 1440.0;
// libwmf's device units are points.
constexpr double kPointsPerInch = 72.0;

// Text is laid out at this pixel size and scaled, so that fractional sizes
// stay exact.
constexpr double kReferencePixels = 100.0;

// Bitmaps inside a metafile are read by Qt within this limit each (MB).
constexpr int kBitmapAllocationLimitMb = 32;

// A file whose records are refused more often than this is not worth
// another try: each one plays the file again from its start.
constexpr int kMaxTries = 64;

// Coordinates beyond this (in output pixels) are not drawn: no picture needs
// them, and the rasteriser is not meant for them.
constexpr double kFarAway = 1e6;

// libwmf's memory goes through this allocator, which refuses once the budget
// is spent; libwmf then stops with an error of its own.
struct Budget {
    std::size_t used = 0;
    std::size_t limit = kMemoryBudget;
    bool take(std::size_t size) {
        if (size > limit - used)
            return false;
        used += size;
        return true;
    }
    void give(std::size_t size) { used -= std::min(size, used); }
};

struct alignas(std::max_align_t) BlockHeader {
    std::size_t size;
};

void* budgetMalloc(void* context, std::size_t size) {
    auto* budget = static_cast<Budget*>(context);
    if (!budget->take(size))
        return nullptr;
    auto* block = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + size));
    if (!block) {
        budget->give(size);
        return nullptr;
    }
    block->size = size;
    return block + 1;
}

void budgetFree(void* context, void* memory) {
    if (!memory)
        return;
    BlockHeader* block = static_cast<BlockHeader*>(memory) - 1;
    static_cast<Budget*>(context)->give(block->size);
    std::free(block);
}

void* budgetRealloc(void* context, void* memory, std::size_t size) {
    if (!memory)
        return budgetMalloc(context, size);
    auto* budget = static_cast<Budget*>(context);
    BlockHeader* block = static_cast<BlockHeader*>(memory) - 1;
    const std::size_t old = block->size;
    if (size > old && !budget->take(size - old))
        return nullptr;
    auto* grown = static_cast<BlockHeader*>(std::realloc(block, sizeof(BlockHeader) + size));
    if (!grown) {
        if (size > old)
            budget->give(size - old);
        return nullptr;
    }
    if (size < old)
        budget->give(old - size);
    grown->size = size;
    return grown + 1;
}

// The drawing layer's state for one picture. The image is made at the first
// drawing call, when libwmf's mapping of the metafile's units is known.
class Player {
public:
    Player(const PictureRequest& request, std::optional<PlaceableHeader> placeable, Budget& budget,
           const QDeadlineTimer& deadline)
        : request_(request), placeable_(placeable), budget_(budget), deadline_(deadline) {}

    wmfD_Rect scanned{};

    bool outOfTime() const { return deadline_.hasExpired(); }
    bool failed() const { return failed_; }

    // Bitmaps belong to the player, so that none outlives the picture
    // whether or not libwmf frees every one it read.
    QImage* keepBitmap(QImage image) {
        if (!budget_.take(std::size_t(image.sizeInBytes())))
            return nullptr;
        bitmaps_.push_back(std::make_unique<QImage>(std::move(image)));
        return bitmaps_.back().get();
    }
    void dropBitmap(const QImage* image) {
        const auto found = std::find_if(bitmaps_.begin(), bitmaps_.end(),
                                        [&](const std::unique_ptr<QImage>& kept) { return kept.get() == image; });
        if (found == bitmaps_.end())
            return;
        budget_.give(std::size_t((*found)->sizeInBytes()));
        bitmaps_.erase(found);
    }

    // Null when nothing can be drawn.
    QPainter* painterFor(const wmfDC* dc) {
        if (!started_)
            start(dc);
        return painter_ ? &*painter_ : nullptr;
    }

    QImage finish() {
        painter_.reset();
        if (failed_)
            return {};
        if (!started_) {
            // Nothing drawn: a placeable metafile still has its size.
            const auto canvas = placeable_ ? canvasFor(placeable_->naturalSize(), request_) : std::nullopt;
            return canvas ? blankImage(*canvas) : QImage();
        }
        return image_;
    }

private:
    struct Placement {
        QRectF frame; // in libwmf's device units
        QSize naturalSize;
    };

    std::optional<Placement> place(const wmfDC& dc) const {
        // libwmf maps a logical point to (point - window origin) * pixel size.
        const auto device = [&](double x, double y) {
            return QPointF((x - dc.Window.Ox) * dc.pixel_width, (y - dc.Window.Oy) * dc.pixel_height);
        };
        const bool windowed = (dc.map_mode == kMapIsotropic || dc.map_mode == kMapAnisotropic) &&
                              dc.Window.width != 0 && dc.Window.height != 0;
        Placement p;
        // As Windows plays it: a metafile that sets its own window has that
        // window fill the frame; otherwise the placeable header's box does.
        if (windowed) {
            p.frame = QRectF(device(dc.Window.Ox, dc.Window.Oy),
                             device(double(dc.Window.Ox) + dc.Window.width, double(dc.Window.Oy) + dc.Window.height));
        } else if (placeable_) {
            const Box& b = placeable_->frame;
            p.frame = QRectF(device(double(b.left), double(b.top)), device(double(b.right), double(b.bottom)));
        } else {
            p.frame = QRectF(QPointF(scanned.TL.x, scanned.TL.y), QPointF(scanned.BR.x, scanned.BR.y));
        }
        p.frame = p.frame.normalized();

        if (placeable_)
            p.naturalSize = placeable_->naturalSize();
        else if (windowed)
            p.naturalSize = QSize(toPixels(std::abs(double(dc.Window.width)), kTwipsPerInch),
                                  toPixels(std::abs(double(dc.Window.height)), kTwipsPerInch));
        else
            p.naturalSize = QSize(toPixels(p.frame.width(), kPointsPerInch), toPixels(p.frame.height(), kPointsPerInch));

        if (!std::isfinite(p.frame.x()) || !std::isfinite(p.frame.y()) || !std::isfinite(p.frame.width()) ||
            !std::isfinite(p.frame.height()) || p.frame.width() <= 0 || p.frame.height() <= 0)
            return std::nullopt;
        return p;
    }

    void start(const wmfDC* dc) {
        started_ = true;
        const std::optional<Placement> placement = dc ? place(*dc) : std::nullopt;
        const std::optional<Canvas> canvas = placement ? canvasFor(placement->naturalSize, request_) : std::nullopt;
        if (!canvas) {
            failed_ = true;
            return;
        }
        image_ = blankImage(*canvas);
        if (image_.isNull()) {
            failed_ = true;
            return;
        }
        const QRectF& from = placement->frame;
        const QRectF& to = canvas->frame;
        const double sx = to.width() / from.width();
        const double sy = to.height() / from.height();
        painter_.emplace(&image_);
        painter_->setRenderHint(QPainter::Antialiasing);
        painter_->setTransform(QTransform(sx, 0, 0, sy, to.x() - from.x() * sx, to.y() - from.y() * sy));
    }

    const PictureRequest& request_;
    std::optional<PlaceableHeader> placeable_;
    Budget& budget_;
    std::vector<std::unique_ptr<QImage>> bitmaps_;
    QDeadlineTimer deadline_;
    bool started_ = false;
    bool failed_ = false;
    QImage image_;
    std::optional<QPainter> painter_;
};

Player& playerOf(wmfAPI* api) { return *static_cast<Player*>(api->device_data); }

QColor colourOf(const wmfRGB& c) { return QColor(c.r, c.g, c.b); }

QString textOf(const char* bytes) {
    return bytes ? QString::fromStdString(cp1252::toUtf8(std::string_view(bytes))) : QString();
}

QFont fontOf(const wmfFont* font, double pixels) {
    QFont f;
    if (font) {
        const QString face = textOf(WMF_FONT_NAME(font));
        if (!face.isEmpty())
            f.setFamily(face);
        // Windows and Qt weigh fonts on the same 1 to 1000 scale; 0 is the default.
        if (WMF_FONT_WEIGHT(font) > 0)
            f.setWeight(QFont::Weight(std::clamp(int(WMF_FONT_WEIGHT(font)), 1, 1000)));
        f.setItalic(WMF_FONT_ITALIC(font) != 0);
        f.setUnderline(WMF_TEXT_UNDERLINE(font) != 0);
        f.setStrikeOut(WMF_TEXT_STRIKEOUT(font) != 0);
    }
    f.setPixelSize(int(pixels));
    return f;
}

// A shape's outline in device units, refused when a coordinate is unusable.
class Outline {
public:
    explicit Outline(const QTransform& toImage) : toImage_(toImage) {}
    QPointF at(const wmfD_Coord& c) {
        const QPointF p(c.x, c.y);
        const QPointF mapped = toImage_.map(p);
        if (!std::isfinite(mapped.x()) || !std::isfinite(mapped.y()) || std::abs(mapped.x()) > kFarAway ||
            std::abs(mapped.y()) > kFarAway)
            usable_ = false;
        return p;
    }
    QRectF box(const wmfD_Coord& tl, const wmfD_Coord& br) { return QRectF(at(tl), at(br)).normalized(); }
    bool usable() const { return usable_; }
    QPainterPath path;

private:
    QTransform toImage_;
    bool usable_ = true;
};

struct Style {
    QPen pen = Qt::NoPen;
    QBrush brush = Qt::NoBrush;
    QBrush background = Qt::NoBrush; // behind a hatch in opaque mode
    bool visible = true;
};

Qt::BrushStyle hatchOf(unsigned hatch) {
    switch (hatch) {
    case HS_HORIZONTAL: return Qt::HorPattern;
    case HS_VERTICAL: return Qt::VerPattern;
    case HS_FDIAGONAL: return Qt::BDiagPattern;
    case HS_BDIAGONAL: return Qt::FDiagPattern;
    case HS_CROSS: return Qt::CrossPattern;
    default: return Qt::DiagCrossPattern;
    }
}

QPen penOf(const wmfDC& dc, const QTransform& toImage) {
    const wmfPen* pen = WMF_DC_PEN(&dc);
    if (!pen || WMF_PEN_STYLE(pen) == PS_NULL)
        return Qt::NoPen;
    QPen p(colourOf(*WMF_PEN_COLOR(pen)));
    // Windows never draws a line thinner than a pixel.
    const double width = std::max(WMF_PEN_WIDTH(pen), WMF_PEN_HEIGHT(pen));
    const double scale = std::min(std::abs(toImage.m11()), std::abs(toImage.m22()));
    if (!(width * scale >= 1.0)) {
        p.setCosmetic(true);
        p.setWidthF(1.0);
    } else {
        p.setWidthF(width);
    }
    switch (WMF_PEN_STYLE(pen)) {
    case PS_DASH: p.setStyle(Qt::DashLine); break;
    case PS_DOT:
    case PS_ALTERNATE: p.setStyle(Qt::DotLine); break;
    case PS_DASHDOT: p.setStyle(Qt::DashDotLine); break;
    case PS_DASHDOTDOT: p.setStyle(Qt::DashDotDotLine); break;
    default: break;
    }
    switch (WMF_PEN_ENDCAP(pen)) {
    case PS_ENDCAP_SQUARE: p.setCapStyle(Qt::SquareCap); break;
    case PS_ENDCAP_FLAT: p.setCapStyle(Qt::FlatCap); break;
    default: p.setCapStyle(Qt::RoundCap); break;
    }
    switch (WMF_PEN_JOIN(pen)) {
    case PS_JOIN_BEVEL: p.setJoinStyle(Qt::BevelJoin); break;
    case PS_JOIN_MITER: p.setJoinStyle(Qt::MiterJoin); break;
    default: p.setJoinStyle(Qt::RoundJoin); break;
    }
    return p;
}

Style styleOf(const wmfDC& dc, const QTransform& toImage) {
    Style s;
    s.pen = penOf(dc, toImage);
    if (const wmfBrush* brush = WMF_DC_BRUSH(&dc)) {
        const QColor colour = colourOf(*WMF_BRUSH_COLOR(brush));
        switch (WMF_BRUSH_STYLE(brush)) {
        case BS_NULL: break;
        case BS_HATCHED:
            s.brush = QBrush(colour, hatchOf(WMF_BRUSH_HATCH(brush)));
            if (WMF_DC_OPAQUE(&dc))
                s.background = QBrush(colourOf(*WMF_DC_BACKGROUND(&dc)));
            break;
        case BS_DIBPATTERN:
        case BS_DIBPATTERNPT:
            if (const auto* pattern = static_cast<const QImage*>(brush->bmp.data)) {
                s.brush = QBrush(*pattern);
                break;
            }
            s.brush = QBrush(colour);
            break;
        default: s.brush = QBrush(colour); break;
        }
    }
    // The raster operations that cannot be expressed as painting are drawn
    // as copies, except the one that draws nothing.
    switch (WMF_DC_ROP(&dc)) {
    case R2_NOP: s.visible = false; break;
    case R2_BLACK:
    case R2_WHITE: {
        const QColor flat = WMF_DC_ROP(&dc) == R2_BLACK ? Qt::black : Qt::white;
        if (s.pen.style() != Qt::NoPen)
            s.pen.setColor(flat);
        if (s.brush.style() != Qt::NoBrush)
            s.brush = QBrush(flat);
        break;
    }
    default: break;
    }
    return s;
}

void paint(wmfAPI* api, const wmfDC* dc, Outline& outline, bool filled) {
    Player& player = playerOf(api);
    QPainter* painter = player.painterFor(dc);
    if (!painter || !outline.usable())
        return;
    const Style style = styleOf(*dc, painter->transform());
    if (!style.visible)
        return;
    if (filled) {
        outline.path.setFillRule(WMF_DC_POLYFILL(dc) == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
        if (style.background.style() != Qt::NoBrush)
            painter->fillPath(outline.path, style.background);
        if (style.brush.style() != Qt::NoBrush)
            painter->fillPath(outline.path, style.brush);
    }
    if (style.pen.style() != Qt::NoPen)
        painter->strokePath(outline.path, style.pen);
}

Outline outlineFor(wmfAPI* api, const wmfDC* dc) {
    QPainter* painter = playerOf(api).painterFor(dc);
    return Outline(painter ? painter->transform() : QTransform());
}

// Angles are taken where the line from the centre through the given point
// meets the ellipse, as Windows does; QPainterPath takes them on the circle
// the ellipse is stretched from.
double ellipseAngle(const wmfD_Coord& fromCentre, const QRectF& box) {
    const double rx = box.width() / 2, ry = box.height() / 2;
    if (rx <= 0 || ry <= 0)
        return 0;
    return std::atan2(-fromCentre.y / ry, fromCentre.x / rx) * 180.0 / std::numbers::pi;
}

enum class ArcKind { Open, Pie, Chord };

void drawArc(wmfAPI* api, wmfDrawArc_t* arc, ArcKind kind) {
    Outline outline = outlineFor(api, arc->dc);
    const QRectF box = outline.box(arc->TL, arc->BR);
    // libwmf passes the record's second radial as `start` and its first as
    // `end`; Windows draws counter-clockwise from the first to the second,
    // and equal radials make a whole turn.
    const double start = ellipseAngle(arc->end, box);
    double sweep = ellipseAngle(arc->start, box) - start;
    while (sweep <= 0)
        sweep += 360;
    if (kind == ArcKind::Pie) {
        outline.path.moveTo(box.center());
        outline.path.arcTo(box, start, sweep);
        outline.path.closeSubpath();
    } else {
        outline.path.arcMoveTo(box, start);
        outline.path.arcTo(box, start, sweep);
        if (kind == ArcKind::Chord)
            outline.path.closeSubpath();
    }
    paint(api, arc->dc, outline, kind != ArcKind::Open);
}

void drawPie(wmfAPI* api, wmfDrawArc_t* arc) { drawArc(api, arc, ArcKind::Pie); }
void drawChord(wmfAPI* api, wmfDrawArc_t* arc) { drawArc(api, arc, ArcKind::Chord); }
void drawOpenArc(wmfAPI* api, wmfDrawArc_t* arc) { drawArc(api, arc, ArcKind::Open); }

void drawEllipse(wmfAPI* api, wmfDrawArc_t* arc) {
    Outline outline = outlineFor(api, arc->dc);
    outline.path.addEllipse(outline.box(arc->TL, arc->BR));
    paint(api, arc->dc, outline, true);
}

void drawLine(wmfAPI* api, wmfDrawLine_t* line) {
    Outline outline = outlineFor(api, line->dc);
    outline.path.moveTo(outline.at(line->from));
    outline.path.lineTo(outline.at(line->to));
    paint(api, line->dc, outline, false);
}

void addPolygon(Outline& outline, const wmfD_Coord* points, unsigned count, bool closed) {
    if (!points || count == 0)
        return;
    outline.path.moveTo(outline.at(points[0]));
    for (unsigned i = 1; i < count; ++i)
        outline.path.lineTo(outline.at(points[i]));
    if (closed)
        outline.path.closeSubpath();
}

void drawPolyline(wmfAPI* api, wmfPolyLine_t* poly) {
    Outline outline = outlineFor(api, poly->dc);
    addPolygon(outline, poly->pt, poly->count, false);
    paint(api, poly->dc, outline, false);
}

void drawPolygon(wmfAPI* api, wmfPolyLine_t* poly) {
    Outline outline = outlineFor(api, poly->dc);
    addPolygon(outline, poly->pt, poly->count, true);
    paint(api, poly->dc, outline, true);
}

void drawPolyPolygon(wmfAPI* api, wmfPolyPoly_t* poly) {
    Outline outline = outlineFor(api, poly->dc);
    if (poly->pt && poly->count)
        for (unsigned i = 0; i < poly->npoly; ++i)
            addPolygon(outline, poly->pt[i], poly->count[i], true);
    paint(api, poly->dc, outline, true);
}

void drawRectangle(wmfAPI* api, wmfDrawRectangle_t* rect) {
    Outline outline = outlineFor(api, rect->dc);
    const QRectF box = outline.box(rect->TL, rect->BR);
    // The corners are ellipses this wide and high.
    if (rect->width > 0 && rect->height > 0)
        outline.path.addRoundedRect(box, rect->width / 2, rect->height / 2);
    else
        outline.path.addRect(box);
    paint(api, rect->dc, outline, true);
}

void drawPixel(wmfAPI* api, wmfDrawPixel_t* pixel) {
    QPainter* painter = playerOf(api).painterFor(pixel->dc);
    Outline outline(painter ? painter->transform() : QTransform());
    const QPointF at = outline.at(pixel->pt);
    if (painter && outline.usable())
        painter->fillRect(QRectF(at, QSizeF(pixel->pixel_width, pixel->pixel_height)), colourOf(pixel->color));
}

// Blocks filled with the brush, black or white; inverting the screen has no
// meaning in a picture of its own.
void drawRop(wmfAPI* api, wmfROP_Draw_t* rop) {
    QPainter* painter = playerOf(api).painterFor(rop->dc);
    if (!painter)
        return;
    Outline outline(painter->transform());
    const QRectF box = outline.box(rop->TL, rop->BR);
    if (!outline.usable())
        return;
    switch (rop->ROP) {
    case BLACKNESS: painter->fillRect(box, Qt::black); break;
    case WHITENESS: painter->fillRect(box, Qt::white); break;
    case DSTINVERT: break;
    default: painter->fillRect(box, styleOf(*rop->dc, painter->transform()).brush); break;
    }
}

void readBitmap(wmfAPI* api, wmfBMP_Read_t* read) {
    read->bmp.data = nullptr;
    if (!read->buffer || read->length <= 0)
        return;
    // A bitmap in a metafile is a bitmap file without its file header.
    QByteArray dib = QByteArray::fromRawData(reinterpret_cast<const char*>(read->buffer), qsizetype(read->length));
    QBuffer buffer(&dib);
    QImageReader reader(&buffer, "dib");
    reader.setAllocationLimit(kBitmapAllocationLimitMb);
    QImage image = reader.read();
    if (image.isNull() || image.width() > 0xFFFF || image.height() > 0xFFFF)
        return;
    const QSize size = image.size();
    QImage* kept = playerOf(api).keepBitmap(std::move(image));
    if (!kept)
        return;
    read->bmp.width = static_cast<unsigned short>(size.width());
    read->bmp.height = static_cast<unsigned short>(size.height());
    read->bmp.data = kept;
}

void freeBitmap(wmfAPI* api, wmfBMP* bmp) {
    playerOf(api).dropBitmap(static_cast<const QImage*>(bmp->data));
    bmp->data = nullptr;
}

void drawBitmap(wmfAPI* api, wmfBMP_Draw_t* draw) {
    const auto* image = static_cast<const QImage*>(draw->bmp.data);
    QPainter* painter = playerOf(api).painterFor(draw->dc);
    if (!image || !painter)
        return;
    Outline outline(painter->transform());
    const QPointF at = outline.at(draw->pt);
    const QSizeF size(draw->crop.w * draw->pixel_width, draw->crop.h * draw->pixel_height);
    const QPointF end(at.x() + size.width(), at.y() + size.height());
    outline.at(wmfD_Coord{float(end.x()), float(end.y())});
    if (!outline.usable())
        return;
    // The crop counts rows from the bottom, as bitmaps are stored.
    const QRect source(draw->crop.x, image->height() - draw->crop.y - draw->crop.h, draw->crop.w, draw->crop.h);
    painter->drawImage(QRectF(at, size), *image, source);
}

void drawText(wmfAPI* api, wmfDrawText_t* text) {
    QPainter* painter = playerOf(api).painterFor(text->dc);
    if (!painter || !text->str || !(text->font_height > 0))
        return;
    const QTransform toImage = painter->transform();
    Outline outline(toImage);
    const QPointF at = toImage.map(outline.at(text->pt));
    const QRectF box = outline.box(text->TL, text->BR);
    // The height is in the device's vertical units; glyphs keep their own
    // proportions in the picture however the metafile's axes are stretched.
    const double pixels = text->font_height * std::abs(toImage.m22());
    if (!outline.usable() || !(pixels > 0 && pixels < kFarAway))
        return;

    const wmfFont* font = WMF_DC_FONT(text->dc);
    const QFont qfont = fontOf(font, kReferencePixels);
    const QString string = textOf(text->str);
    painter->save();
    if (text->flags & ETO_OPAQUE)
        painter->fillRect(box, colourOf(*WMF_DC_BACKGROUND(text->dc)));
    if ((text->flags & ETO_CLIPPED) && !box.isEmpty())
        painter->setClipRect(box, Qt::IntersectClip);
    painter->resetTransform();
    painter->translate(at);
    // The escapement turns the text counter-clockwise, in tenths of a degree.
    if (font)
        painter->rotate(-WMF_FONT_ESCAPEMENT(font) / 10.0);
    painter->scale(pixels / kReferencePixels, pixels / kReferencePixels);
    painter->setFont(qfont);
    if (WMF_DC_OPAQUE(text->dc) && !(text->flags & ETO_OPAQUE)) {
        const QFontMetricsF metrics(qfont);
        painter->fillRect(QRectF(0, -metrics.ascent(), metrics.horizontalAdvance(string), metrics.height()),
                          colourOf(*WMF_DC_BACKGROUND(text->dc)));
    }
    painter->setPen(colourOf(*WMF_DC_TEXTCOLOR(text->dc)));
    painter->drawText(QPointF(0, 0), string);
    painter->restore();
}

void paintRegion(wmfAPI* api, wmfPolyRectangle_t* region) {
    QPainter* painter = playerOf(api).painterFor(region->dc);
    if (!painter || !region->TL || !region->BR)
        return;
    const QBrush brush = styleOf(*region->dc, painter->transform()).brush;
    Outline outline(painter->transform());
    for (unsigned i = 0; i < region->count; ++i)
        outline.path.addRect(outline.box(region->TL[i], region->BR[i]));
    if (outline.usable())
        painter->fillPath(outline.path, brush);
}

// The border of each rectangle, the given width and height inside it.
void frameRegion(wmfAPI* api, wmfPolyRectangle_t* region) {
    QPainter* painter = playerOf(api).painterFor(region->dc);
    if (!painter || !region->TL || !region->BR)
        return;
    const QBrush brush = styleOf(*region->dc, painter->transform()).brush;
    Outline outline(painter->transform());
    for (unsigned i = 0; i < region->count; ++i) {
        const QRectF box = outline.box(region->TL[i], region->BR[i]);
        outline.path.addRect(box);
        outline.path.addRect(box.adjusted(region->width, region->height, -region->width, -region->height));
    }
    outline.path.setFillRule(Qt::OddEvenFill);
    if (outline.usable())
        painter->fillPath(outline.path, brush);
}

void clipRegion(wmfAPI* api, wmfPolyRectangle_t* region) {
    QPainter* painter = playerOf(api).painterFor(region->dc);
    if (!painter)
        return;
    if (region->count == 0 || !region->TL || !region->BR) {
        painter->setClipping(false);
        return;
    }
    Outline outline(painter->transform());
    for (unsigned i = 0; i < region->count; ++i)
        outline.path.addRect(outline.box(region->TL[i], region->BR[i]));
    if (outline.usable())
        painter->setClipPath(outline.path);
}

void ignoreDevice(wmfAPI*) {}
void ignoreFlood(wmfAPI*, wmfFlood_t*) {}
void ignoreUserData(wmfAPI*, wmfUserData_t*) {}

void installDevice(wmfAPI* api) {
    auto* fr = static_cast<wmfFunctionReference*>(api->function_reference);
    fr->device_open = ignoreDevice;
    fr->device_close = ignoreDevice;
    fr->device_begin = ignoreDevice;
    fr->device_end = ignoreDevice;
    // Flood fills need the pixels already drawn, which a picture drawn at
    // another size does not have.
    fr->flood_interior = ignoreFlood;
    fr->flood_exterior = ignoreFlood;
    fr->draw_pixel = drawPixel;
    fr->draw_pie = drawPie;
    fr->draw_chord = drawChord;
    fr->draw_arc = drawOpenArc;
    fr->draw_ellipse = drawEllipse;
    fr->draw_line = drawLine;
    fr->poly_line = drawPolyline;
    fr->draw_polygon = drawPolygon;
    fr->draw_polypolygon = drawPolyPolygon;
    fr->draw_rectangle = drawRectangle;
    fr->rop_draw = drawRop;
    fr->bmp_draw = drawBitmap;
    fr->bmp_read = readBitmap;
    fr->bmp_free = freeBitmap;
    fr->draw_text = drawText;
    fr->udata_init = ignoreUserData;
    fr->udata_copy = ignoreUserData;
    fr->udata_set = ignoreUserData;
    fr->udata_free = ignoreUserData;
    fr->region_frame = frameRegion;
    fr->region_paint = paintRegion;
    fr->region_clip = clipRegion;
}

void mapFont(wmfAPI*, wmfFont*) {}

// The player lays text out (alignment, the next current position) with the
// width of a string in a font one unit high.
float stringWidth(wmfAPI*, wmfFont* font, char* string) {
    const QFontMetricsF metrics(fontOf(font, kReferencePixels));
    return float(metrics.horizontalAdvance(textOf(string)) / kReferencePixels);
}

// Called after every record; a non-zero answer stops the player.
int keepGoing(void* context, float) {
    const Player& player = *static_cast<const Player*>(context);
    return player.outOfTime() || player.failed() ? 1 : 0;
}

struct ApiCloser {
    void operator()(wmfAPI* api) const { wmf_lite_destroy(api); }
};

// Where libwmf reads the file: a buffer it may seek anywhere in, past the
// end included, which reads as the end of the file.
struct Input {
    const QByteArray& bytes;
    long at = 0;
};

int readByte(void* context) {
    auto* in = static_cast<Input*>(context);
    if (in->at < 0 || in->at >= in->bytes.size())
        return EOF;
    return static_cast<unsigned char>(in->bytes[qsizetype(in->at++)]);
}

int seekTo(void* context, long at) {
    if (at < 0)
        return -1;
    static_cast<Input*>(context)->at = at;
    return 0;
}

long tellAt(void* context) { return static_cast<Input*>(context)->at; }

struct Outcome {
    QImage image;
    // Set when libwmf refused the record that ends here.
    std::optional<qsizetype> refusedAt;
};

Outcome play(const QByteArray& bytes, const PictureRequest& request, const QDeadlineTimer& deadline) {
    Budget budget;
    wmfAPI_Options options{};
    options.context = &budget;
    options.malloc = budgetMalloc;
    options.realloc = budgetRealloc;
    options.free = budgetFree;
    options.function = installDevice;
    const unsigned long flags = WMF_OPT_ALLOC | WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR |
                                WMF_OPT_NO_DEBUG;
    wmfAPI* created = nullptr;
    if (wmf_lite_create(&created, flags, &options) != wmf_E_None || !created)
        return {};
    const std::unique_ptr<wmfAPI, ApiCloser> api(created);

    Player player(request, readPlaceableHeader(bytes), budget, deadline);
    api->device_data = &player;
    auto* fonts = static_cast<wmfFontData*>(wmf_malloc(api.get(), sizeof(wmfFontData)));
    if (!fonts)
        return {};
    fonts->map = mapFont;
    fonts->stringwidth = stringWidth;
    fonts->user_data = nullptr;
    api->font_data = fonts;
    wmf_status_function(api.get(), &player, keepGoing);

    Input input{bytes};
    if (wmf_bbuf_input(api.get(), readByte, seekTo, tellAt, &input) != wmf_E_None)
        return {};
    // libwmf reads a record whole before it plays it, so where it stopped
    // with a complaint about the record's content is that record's end.
    const auto stopped = [&](wmf_error_t error) {
        const bool refused = error == wmf_E_BadFormat || error == wmf_E_Glitch;
        return refused ? Outcome{{}, qsizetype(input.at)} : Outcome{};
    };
    wmfD_Rect extent{};
    if (const wmf_error_t error = wmf_scan(api.get(), 0, &extent); error != wmf_E_None)
        return stopped(error);
    player.scanned = extent;
    if (const wmf_error_t error = wmf_play(api.get(), 0, &extent); error != wmf_E_None)
        return stopped(error);
    return {player.finish(), {}};
}

} // namespace

QImage renderWmf(const QByteArray& bytes, const PictureRequest& request, QString& note) {
    const std::optional<std::vector<Record>> records = recordsOf(bytes);
    if (!records)
        return {};
    const QDeadlineTimer deadline(kTimeBudget);
    QByteArray playing = bytes;
    // Each try after the first stands in for one more record, or for one
    // already stood in for that still could not be played.
    int tries = 0;
    std::set<qsizetype> refusedRecords;
    for (;;) {
        const Outcome outcome = play(playing, request, deadline);
        if (!outcome.refusedAt) {
            const int unknown = int(std::count_if(records->begin(), records->end(), [](const Record& r) {
                return !knownFunction(r.function);
            }));
            const int refused = int(refusedRecords.size());
            if (refused + unknown > 0)
                note = QStringLiteral("%1 of %2 records skipped (%3 not known, %4 refused)")
                           .arg(refused + unknown)
                           .arg(records->size())
                           .arg(unknown)
                           .arg(refused);
            return outcome.image;
        }
        // A record libwmf refuses costs that record, not the picture; one
        // that ends anywhere but at a record's end is the file's structure.
        const auto refused = std::find_if(records->begin(), records->end(), [&](const Record& r) {
            return r.end == *outcome.refusedAt;
        });
        if (refused == records->end() || ++tries > kMaxTries || deadline.hasExpired() ||
            !standIn(playing, *refused))
            return {};
        refusedRecords.insert(refused->start);
    }
}

} // namespace vitrandel::pictures::metafile
