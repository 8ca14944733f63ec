// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/cp1252.h"

#include <array>
#include <cstdint>

namespace vitrandel::cp1252 {
namespace {

// 0x80..0x9F. The five codes the code page leaves undefined keep their own
// value as a C1 control, so every byte survives a round trip.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t toUnicode(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F)
        return kHigh[b - 0x80];
    return b;
}

std::optional<unsigned char> fromUnicode(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<unsigned char>(cp);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Reads the character at text[i]; false when the bytes there are not UTF-8.
bool decodeAt(std::string_view text, std::size_t i, char32_t& cp, std::size_t& len) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
        cp = lead;
        len = 1;
    } else if ((lead & 0xE0) == 0xC0) {
        cp = lead & 0x1F;
        len = 2;
    } else if ((lead & 0xF0) == 0xE0) {
        cp = lead & 0x0F;
        len = 3;
    } else if ((lead & 0xF8) == 0xF0) {
        cp = lead & 0x07;
        len = 4;
    } else {
        return false;
    }
    if (i + len > text.size())
        return false;
    for (std::size_t k = 1; k < len; ++k) {
        const auto cont = static_cast<unsigned char>(text[i + k]);
        if ((cont & 0xC0) != 0x80)
            return false;
        cp = (cp << 6) | (cont & 0x3F);
    }
    // Overlong forms are not UTF-8: they would smuggle in characters
    // (a control, a "/") that the text does not visibly hold.
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    return cp >= kShortest[len] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
}

} // namespace

std::string toUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes)
        appendUtf8(out, toUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::optional<std::string> fromUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t cp;
        std::size_t len;
        if (!decodeAt(text, i, cp, len))
            return std::nullopt;
        const auto b = fromUnicode(cp);
        if (!b)
            return std::nullopt;
        out += static_cast<char>(*b);
        i += len;
    }
    return out;
}

bool isUtf8(std::string_view text) {
    char32_t cp;
    std::size_t len;
    for (std::size_t i = 0; i < text.size(); i += len)
        if (!decodeAt(text, i, cp, len))
            return false;
    return true;
}

int replaceUnsupported(std::string& utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    int replaced = 0;
    char32_t cp;
    std::size_t len;
    for (std::size_t i = 0; i < utf8.size(); i += len) {
        if (!decodeAt(utf8, i, cp, len)) {
            len = 1;
            cp = 0xFFFD;
        }
        if (fromUnicode(cp)) {
            out.append(utf8, i, len);
        } else {
            out += replacement;
            ++replaced;
        }
    }
    utf8 = std::move(out);
    return replaced;
}

std::string toLower(std::string_view bytes) {
    std::string out(bytes);
    for (char& c : out)
        c = toLower(c);
    return out;
}

} // namespace vitrandel::cp1252
