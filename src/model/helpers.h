// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// File-name and font helpers that need no platform.
namespace vitrandel {

// Replaces the extension of the last path component, or adds one.
std::string cambiar_extension(std::string_view path, std::string_view ext);

template <typename T> T minimo(T a, T b) { return a > b ? b : a; }

// The sizes the font chooser offers, in its order.
inline constexpr std::array<std::int16_t, 16> kStandardFontSizes = {8,  9,  10, 11, 12, 14, 16, 18,
                                                                    20, 22, 24, 26, 28, 36, 48, 72};

// True for every size the font chooser does not offer.
bool tamano_no_estandar(std::int16_t size);

} // namespace vitrandel
