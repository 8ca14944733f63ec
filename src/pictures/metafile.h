// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>
#include <chrono>
#include <optional>

#include "pictures/picture_request.h"

// Windows metafiles, drawn by the libraries made for them (libwmf plays WMF
// records into our painter; libemf2svg turns an EMF into SVG for QtSvg). We
// read no more of the files ourselves than their headers' sizes.
namespace vitrandel::pictures {

enum class MetafileKind { None, Wmf, Emf };

// Told by the first bytes, as the other pictures are.
MetafileKind metafileKind(QByteArrayView head);

// The metafile's pixels, as much as `request` asks for (see PictureRequest);
// a null image when it cannot be drawn, in bounded time and memory. What
// was left out of the drawing, or why nothing could be drawn, goes to
// `note` in a line for the program's log; it stays empty when all was drawn.
QImage renderMetafile(const QByteArray& bytes, const PictureRequest& request, QString* note = nullptr);

// Shared by the two formats' drawing code.
namespace metafile {

// Larger than any picture a description shows, smaller than any claim a
// header makes only to exhaust memory: a side of 16384 pixels is over four
// metres at 96 dots per inch.
constexpr int kMaxSide = 16384;

// Images larger than this are not made even when every side is allowed.
constexpr qint64 kMaxImagePixels = qint64(8192) * 8192;

// Whole files are read into memory; real metafiles are far smaller.
constexpr qsizetype kMaxFileBytes = 32 * 1024 * 1024;

// Drawing gives up after this long; a picture is never worth a frozen window.
constexpr std::chrono::milliseconds kTimeBudget{3000};

// Memory the WMF player may hold at once.
constexpr std::size_t kMemoryBudget = 128u * 1024 * 1024;

// The image a request gets and where the metafile's frame lands in it:
// stretched, the frame fills the image; at natural size the frame is the
// natural size and the image only its visible corner.
struct Canvas {
    QSize size;
    QRectF frame;
};
std::optional<Canvas> canvasFor(QSize naturalSize, const PictureRequest& request);

// A transparent image of the canvas's size, or null when that cannot be had.
QImage blankImage(const Canvas& canvas);

// Pixels at the screen's 96 dots per inch; 0 for a length no picture can have.
int toPixels(double units, double unitsPerInch);

// A rectangle as a header gives it, edges apart, wide enough that no
// difference of two of them overflows.
struct Box {
    qint64 left = 0, top = 0, right = 0, bottom = 0;
    qint64 width() const { return right - left; }
    qint64 height() const { return bottom - top; }
};

// The placeable header that may precede a WMF: its frame in logical units
// and how many of them make an inch.
struct PlaceableHeader {
    Box frame;
    int unitsPerInch = 0;
    QSize naturalSize() const;
};
std::optional<PlaceableHeader> readPlaceableHeader(QByteArrayView bytes);

// Where a WMF's first record starts: past its header, and past the
// placeable header before it when there is one.
qsizetype firstWmfRecord(QByteArrayView bytes);

// What the EMF header says about size: the drawing's bounds in device
// units, its frame in hundredths of a millimetre, and the reference device
// that relates the two.
struct EmfHeader {
    Box bounds;
    Box frame;
    QSize devicePixels;
    QSize deviceMillimetres;
    // The description's length in bytes, within the header record.
    qsizetype descriptionBytes = 0;
    QSize naturalSize() const;
    // The frame in the bounds' device units, when the reference device is known.
    QRectF frameInDeviceUnits() const;
};
std::optional<EmfHeader> readEmfHeader(QByteArrayView bytes);

QImage renderWmf(const QByteArray& bytes, const PictureRequest& request, QString& note);
// Draws `svg` into `target` in `image`, holding to its clip paths, which
// QtSvg alone passes over; false, with `image` as it may then be, when the
// drawing is beyond that.
bool renderSvgClipped(const QByteArray& svg, QImage& image, const QRectF& target);
QImage renderEmf(const QByteArray& bytes, const PictureRequest& request, QString& note);

} // namespace metafile
} // namespace vitrandel::pictures
