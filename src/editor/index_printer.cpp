// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/index_printer.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>
#include <QtMath>
#include <algorithm>

#include "export/element_style.h"
#include "model/project.h"
#include "pictures/picture_client.h"
#include "platform/file_helpers.h"
#include "platform/fonts.h"
#include "platform/picture_roots.h"
#include "platform/text.h"

namespace vitrandel {
namespace {

// Pictures are measured in screen pixels, 96 to the inch as the windows' twips.
constexpr double kScreenDpi = 96;
// Decoding a picture finer than this only makes the output bigger.
constexpr double kPictureDpi = 300;

// Bitmap faces (Fixedsys, MS Sans Serif) have no outlines a printer or a
// PDF can take; their text is laid out and drawn as the screen shows it, at
// 96 dots to the inch, and enlarged to the page.
bool drawnAsOnScreen(const QFont& font) { return !QFontDatabase::isScalable(QFontInfo(font).family()); }

QImage screenImage(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(qRound(kScreenDpi / 0.0254));
    image.setDotsPerMeterY(qRound(kScreenDpi / 0.0254));
    image.fill(Qt::transparent);
    return image;
}

QPaintDevice* screenSizedDevice() {
    static QImage device = screenImage({1, 1});
    return &device;
}

// Headings and page numbers in the face the descriptions most often use.
// The file of the element's picture; empty when it has none or none is there.
// Paper leaves the machine as a page does: only pictures from the listing's
// folders (`roots`).
QString printedPicture(const Element& e, const QStringList& roots) {
    if (e.imagePath.empty())
        return {};
    const QString path = platform::picturePath(platform::qs(e.imagePath));
    return platform::existe_archivo(path) && platform::liesInside(path, roots) ? path : QString();
}

QFont headingFont(int points, bool bold) {
    QFont font(platform::faceToDraw("Arial"));
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

} // namespace

struct PrintedIndex::Piece {
    // A line of text: its layout and line; a picture: its file and size.
    int layout = -1;
    int line = 0;
    // Printer units to one unit of the layout: more than 1 for text laid out as on screen.
    double scale = 1;
    QColor colour;
    QString picture;
    QSizeF size;
    QSize pixels;
};

PrintedIndex::PrintedIndex(const Project& p, QPrinter& printer)
    : printer_(&printer), dpi_(printer.resolution()) {
    const double footer = QFontMetricsF(headingFont(8, false), &printer).height() * 2;
    area_ = QSizeF(printer.width(), std::max(1.0, printer.height() - footer));
    addTitle(p);
    addElements(p);
    placed_ = paginate(blocks_, area_.height());
}

PrintedIndex::~PrintedIndex() = default;

void PrintedIndex::addTitle(const Project& p) {
    addText(platform::qs(shownTitle(p)), headingFont(18, true), Qt::black, 0, true);
}

void PrintedIndex::addElements(const Project& p) {
    const double mm = dpi_ / 25.4;
    // Text the colour of the paper would not show prints in the paper's ink.
    const QPalette paper = pagePalette(QGuiApplication::palette());
    const int categories = std::min<int>(p.categoryCount, kMaxCategories);
    // Elements whose category is gone are listed with those that have none,
    // as the viewer lists them, so that none is left off the paper.
    const std::vector<std::vector<int>> groups = elementsByCategory(p);
    const QStringList roots = platform::pictureRoots(p);
    // The picture process measures every picture of the listing in one go.
    QHash<QString, QSize> sizes;
    {
        QStringList paths;
        for (const std::vector<int>& members : groups)
            for (const int i : members)
                if (const QString path = printedPicture(p.elements[static_cast<std::size_t>(i)], roots); !path.isEmpty())
                    paths.append(path);
        const QList<QSize> measured = pictures::pictureSizes(paths);
        for (qsizetype k = 0; k < paths.size(); ++k)
            sizes.insert(paths[k], measured[k]);
    }
    for (int section = 0; section <= categories; ++section) {
        const std::vector<int>& members = groups[static_cast<std::size_t>(section)];
        // A listing without categories needs no heading over its elements.
        if (!members.empty() && categories > 0)
            addText(platform::qs(categoryName(p, section)), headingFont(14, true), Qt::black, 8 * mm, true);
        for (const int i : members) {
            const Element& e = p.elements[static_cast<std::size_t>(i)];

            const QString path = printedPicture(e, roots);
            const QSize pixels = sizes.value(path);
            const bool picture = !pixels.isEmpty();
            const bool text = !e.description.empty();
            addText(platform::qs(e.name), headingFont(11, true), Qt::black, 5 * mm, picture || text);
            if (picture)
                addPicture(path, pixels, 1.5 * mm);
            if (text)
                addText(plainDescription(e.description),
                        platform::elementFont(QGuiApplication::font(), e, dpi_ / kScreenDpi),
                        descriptionColour(e.textColor, paper), 1.5 * mm, false);
        }
    }
}

void PrintedIndex::addText(const QString& text, const QFont& font, const QColor& colour,
                           double spaceBefore, bool keepWithNext) {
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const bool onScreen = drawnAsOnScreen(font);
    const double scale = onScreen ? dpi_ / kScreenDpi : 1;
    bool first = true;
    // Each line break of the text is kept; each paragraph wraps at the page's width.
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        auto layout = std::make_unique<QTextLayout>(paragraph, font,
                                                    onScreen ? screenSizedDevice() : printer_);
        layout->setTextOption(wrapping);
        layout->setCacheEnabled(true);
        const int index = static_cast<int>(layouts_.size());
        double y = 0;
        layout->beginLayout();
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(area_.width() / scale);
            line.setPosition(QPointF(0, y));
            y += line.height();
            pieces_.push_back({.layout = index, .line = line.lineNumber(), .scale = scale, .colour = colour});
            blocks_.push_back({.height = line.height() * scale, .spaceBefore = first ? spaceBefore : 0,
                               .keepWithNext = keepWithNext});
            first = false;
        }
        layout->endLayout();
        layouts_.push_back(std::move(layout));
    }
}

void PrintedIndex::addPicture(const QString& path, QSize pixels, double spaceBefore) {
    QSizeF size = QSizeF(pixels) * (dpi_ / kScreenDpi);
    if (size.width() > area_.width())
        size *= area_.width() / size.width();
    pieces_.push_back({.picture = path, .size = size, .pixels = pixels});
    blocks_.push_back({.height = size.height(), .spaceBefore = spaceBefore});
}

// Where the page puts a picture: shrunk with its block when the block is
// taller than a page.
QRectF PrintedIndex::pictureRect(std::size_t i) const {
    const PlacedBlock& at = placed_[i];
    const double scale = at.height / blocks_[i].height;
    return QRectF(0, at.top, pieces_[i].size.width() * scale, at.height);
}

int PrintedIndex::pageCount() const { return vitrandel::pageCount(placed_); }

std::vector<PrintedIndex::PlacedPicture> PrintedIndex::pictures() const {
    std::vector<PlacedPicture> found;
    for (std::size_t i = 0; i < pieces_.size(); ++i) {
        if (pieces_[i].picture.isEmpty())
            continue;
        found.push_back({placed_[i].page, pictureRect(i), pieces_[i].pixels});
    }
    return found;
}

bool PrintedIndex::print() const {
    QPrinter& printer = *printer_;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Pictures go to the PDF as they are drawn: compressing them as JPEG
    // would blur drawings and load a JPEG encoder into the program.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const QPageRanges asked = printer.pageRanges();
    bool first = true;
    for (int page = 0; page < pageCount(); ++page) {
        if (!asked.isEmpty() && !asked.contains(page + 1))
            continue;
        if (!first)
            printer.newPage();
        first = false;
        drawPage(painter, page);
    }
    return painter.end();
}

void PrintedIndex::drawPage(QPainter& painter, int page) const {
    const auto first = std::lower_bound(placed_.begin(), placed_.end(), page,
                                        [](const PlacedBlock& b, int p) { return b.page < p; });
    auto end = first;
    while (end != placed_.end() && end->page == page)
        ++end;
    // The page's pictures are asked for together, so that the picture
    // process draws the next while the first is handed over; a page at a
    // time, so that a long listing never holds all its pictures at once.
    QList<pictures::PictureClient::Job> jobs;
    std::vector<std::size_t> withPicture;
    for (auto it = first; it != end; ++it) {
        const auto i = static_cast<std::size_t>(it - placed_.begin());
        if (pieces_[i].layout < 0) {
            jobs.append({pieces_[i].picture, pictureRequest(i), pictures::protocol::Kind::Draw});
            withPicture.push_back(i);
        }
    }
    const QList<pictures::Picture> drawn = pictures::PictureClient::instance().fetch(jobs);
    std::size_t next = 0;
    for (auto it = first; it != end; ++it) {
        const auto i = static_cast<std::size_t>(it - placed_.begin());
        const bool picture = next < withPicture.size() && withPicture[next] == i;
        drawPiece(painter, i, picture ? drawn[qsizetype(next++)].image : QImage());
    }

    painter.setFont(headingFont(8, false));
    painter.setPen(Qt::darkGray);
    const QRectF foot(0, area_.height(), area_.width(), painter.device()->height() - area_.height());
    painter.drawText(foot, Qt::AlignHCenter | Qt::AlignBottom,
                     QStringLiteral("Página %1 de %2").arg(page + 1).arg(pageCount()));
}

// Decoded at no more than the paper shows, so that a photograph from a
// camera does not travel to the printer at full size.
pictures::PictureRequest PrintedIndex::pictureRequest(std::size_t i) const {
    const QSize fine = (pictureRect(i).size() * (kPictureDpi / dpi_)).toSize();
    pictures::PictureRequest request;
    if (fine.width() < pieces_[i].pixels.width())
        request.stretchTo = pieces_[i].pixels.scaled(fine, Qt::KeepAspectRatio);
    return request;
}

void PrintedIndex::drawPiece(QPainter& painter, std::size_t i, const QImage& image) const {
    const Piece& piece = pieces_[i];
    const PlacedBlock& at = placed_[i];
    if (piece.layout >= 0) {
        const QTextLine line = layouts_[static_cast<std::size_t>(piece.layout)]->lineAt(piece.line);
        if (piece.scale == 1) {
            painter.setPen(piece.colour);
            line.draw(&painter, QPointF(0, at.top - line.y()));
            return;
        }
        QImage shown = screenImage({qCeil(line.naturalTextWidth()) + 1, qCeil(line.height())});
        {
            QPainter screen(&shown);
            screen.setPen(piece.colour);
            line.draw(&screen, QPointF(0, -line.y()));
        }
        // Enlarged pixel for pixel, sharp as the screen shows them.
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QRectF(0, at.top, shown.width() * piece.scale, shown.height() * piece.scale), shown);
        painter.restore();
        return;
    }
    if (!image.isNull())
        painter.drawImage(pictureRect(i), image);
}

} // namespace vitrandel
