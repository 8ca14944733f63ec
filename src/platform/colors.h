// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

class QWidget;

// Colours as listings store them: an RGB value with red in the low byte, or,
// when negative, one of the Windows system colours (0x80000000 plus its index).
namespace vitrandel::platform {

// System colours take the nearest role of `palette`; an index Windows never
// had gives the palette's text colour.
QColor colorFromListing(std::int32_t value, const QPalette& palette);

// The listing's value of an RGB colour (its alpha is dropped).
std::int32_t listingFromColor(const QColor& colour);

// Draws a text box's text in a description's colour, over the system's
// text-box background, or the paper's when it lies on paper.
void applyTextColor(QWidget* textBox, std::int32_t value);

// A light palette whatever the desktop's: a description's colours were chosen
// against it.
QPalette paperPalette();

// `w` and what it holds on paper while the desktop's palette is dark (the
// author's dark blue would vanish on a dark text box); as the desktop's otherwise.
void usePaper(QWidget* w);

} // namespace vitrandel::platform
