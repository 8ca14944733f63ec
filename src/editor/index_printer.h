// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QRectF>
#include <QSize>
#include <QString>
#include <memory>
#include <vector>

#include "editor/print_layout.h"
#include "pictures/picture_request.h"

class QFont;
class QImage;
class QColor;
class QPainter;
class QPrinter;
class QTextLayout;

namespace vitrandel {

struct Project;

// The index of a listing as one printer prints it: the title, then each
// category with its elements, each element's name, picture and description
// in its own face, size, style and colour. Pictures keep their own size,
// shrunk only to the page's width, or to one page when taller than that.
class PrintedIndex {
public:
    // Lays the whole index out for the printer's page size and resolution.
    PrintedIndex(const Project& p, QPrinter& printer);
    ~PrintedIndex();
    PrintedIndex(const PrintedIndex&) = delete;
    PrintedIndex& operator=(const PrintedIndex&) = delete;

    int pageCount() const;
    // Printer units the text and pictures take on each page, above its number.
    QSizeF pageArea() const { return area_; }

    struct PlacedPicture {
        int page = 0;
        QRectF rect;
        QSize pixels; // the picture file's own size
    };
    std::vector<PlacedPicture> pictures() const;

    // Draws, on the printer it was laid out for, the pages the printer was
    // asked for, all of them when it names none. False when the printer could
    // not be started (an output file that cannot be written).
    bool print() const;

private:
    struct Piece;

    void addTitle(const Project& p);
    void addElements(const Project& p);
    void addText(const QString& text, const QFont& font, const QColor& colour, double spaceBefore,
                 bool keepWithNext);
    void addPicture(const QString& path, QSize pixels, double spaceBefore);
    QRectF pictureRect(std::size_t i) const;
    void drawPage(QPainter& painter, int page) const;
    pictures::PictureRequest pictureRequest(std::size_t i) const;
    void drawPiece(QPainter& painter, std::size_t i, const QImage& image) const;

    // Text is measured in the printer's own units.
    QPrinter* printer_;
    double dpi_;
    QSizeF area_;
    std::vector<std::unique_ptr<QTextLayout>> layouts_;
    std::vector<Piece> pieces_;
    std::vector<PrintBlock> blocks_;
    std::vector<PlacedBlock> placed_;
};

} // namespace vitrandel
