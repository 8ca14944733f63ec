// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QRect>
#include <cmath>

// Layouts are designed in twips; 15 twips make one logical pixel.
namespace vitrandel::platform {

constexpr int twips(int t) { return static_cast<int>((t + 7) / 15); }

inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

} // namespace vitrandel::platform
