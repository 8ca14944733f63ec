// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Numbers and booleans as the listing file writes and reads them.
namespace vitrandel {

// The numeric value of the leading part of a text, by the platform's rules:
// blanks, tabs and line feeds are skipped anywhere; sign, digits, one decimal
// point and an E or D exponent; &H and &O for hexadecimal and octal. Stops at
// the first character that does not fit; no number gives 0. Empty optional
// when the value itself overflows.
std::optional<double> numericValue(std::string_view text);

// Rounded to the nearest integer, halves to even; empty optional on overflow.
std::optional<std::int16_t> toInt16(double value);
std::optional<std::int32_t> toInt32(double value);

// Decimal digits with one blank before a number that is zero or positive.
std::string numberText(long long value);

std::string booleanWord(std::int16_t value);
// Trimmed and lowered, "true" or "verdadero" is true; anything else false.
bool readBooleanWord(std::string_view bytes);

} // namespace vitrandel
