#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

// Colours as listings store them: an RGB value with red in the low byte, or,
// when negative, one of the Windows system colours (0x80000000 plus its index).
namespace vitrandel::platform {

// System colours take the nearest role of `palette`; an index Windows never
// had gives the palette's text colour.
QColor colorFromListing(std::int32_t value, const QPalette& palette);

} // namespace vitrandel::platform
