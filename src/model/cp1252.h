// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The listing file is 8-bit Windows-1252. These two functions are the only
// place where its bytes and the program's UTF-8 texts meet.
namespace vitrandel::cp1252 {

std::string toUtf8(std::string_view bytes);

// Empty optional when the text holds a character the code page cannot hold
// (or is not valid UTF-8).
std::optional<std::string> fromUtf8(std::string_view text);

// True when the bytes are UTF-8 (shortest forms only); such text may still
// hold characters the code page cannot.
bool isUtf8(std::string_view text);

// Puts `replacement` in place of every character the code page cannot hold,
// and of every byte that is not UTF-8; answers how many were replaced.
int replaceUnsupported(std::string& utf8, char replacement);

namespace detail {
constexpr std::array<char, 256> lowerCaseTable() {
    std::array<char, 256> t{};
    for (int b = 0; b < 256; ++b) {
        int lower = b;
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7))
            lower = b + 0x20;
        else if (b == 0x8A || b == 0x8C || b == 0x8E) // Š Œ Ž
            lower = b + 0x10;
        else if (b == 0x9F) // Ÿ
            lower = 0xFF;
        t[static_cast<std::size_t>(b)] = static_cast<char>(lower);
    }
    return t;
}
inline constexpr std::array<char, 256> kLowerCase = lowerCaseTable();
} // namespace detail

// Letter case of the code page, as the platform compares keys without regard
// to it. A table, since the listing reader asks it of every key letter.
inline char toLower(char c) { return detail::kLowerCase[static_cast<unsigned char>(c)]; }
std::string toLower(std::string_view bytes);

} // namespace vitrandel::cp1252
