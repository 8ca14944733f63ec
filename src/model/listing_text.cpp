// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/listing_text.h"

#include "model/cp1252.h"

namespace vitrandel {
namespace {

constexpr char kBreakCode = static_cast<char>(0xFE);
constexpr std::string_view kThornUtf8 = "\xC3\xBE"; // the character of code 254

// Each pair of break codes back to a line break, in Windows-1252 bytes.
std::string pairBreaks(std::string_view bytes) {
    std::string withBreaks;
    withBreaks.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == kBreakCode && i + 1 < bytes.size() && bytes[i + 1] == kBreakCode) {
            withBreaks += '\n';
            ++i;
        } else {
            withBreaks += bytes[i];
        }
    }
    return withBreaks;
}

} // namespace

std::string decodeListingText(std::string_view bytes) {
    // '\n' is below 128, so converting after the pairing cannot split a character.
    return cp1252::toUtf8(pairBreaks(bytes));
}

namespace {

struct Encoded {
    std::string bytes;
    std::string meant; // what a read that pairs break codes should give back
};

std::optional<Encoded> encode(std::string_view utf8) {
    auto bytes = cp1252::fromUtf8(utf8);
    if (!bytes)
        return std::nullopt;
    Encoded e;
    e.bytes.reserve(bytes->size());
    e.meant.reserve(bytes->size());
    const std::string& b = *bytes;
    for (std::size_t i = 0; i < b.size(); ++i) {
        const auto c = static_cast<unsigned char>(b[i]);
        if (c == '\r' || c == '\n') {
            e.bytes += kBreakCode;
            e.bytes += kBreakCode;
            e.meant += '\n';
            if (c == '\r' && i + 1 < b.size() && b[i + 1] == '\n')
                ++i;
        } else if (c < 32) {
            e.bytes += ' ';
            e.meant += ' ';
        } else {
            e.bytes += b[i];
            e.meant += b[i];
        }
    }
    return e;
}

} // namespace

std::optional<std::string> encodeListingText(std::string_view utf8) {
    auto e = encode(utf8);
    // A "þ" just before a line break or another "þ" would be read as part
    // of a break: the text would come back changed, so it is not stored.
    if (!e || pairBreaks(e->bytes) != e->meant)
        return std::nullopt;
    return std::move(e->bytes);
}

std::optional<std::string> encodeListingPath(std::string_view utf8) {
    auto e = encode(utf8);
    if (!e)
        return std::nullopt;
    return std::move(e->bytes);
}

std::optional<std::string> unstorableCharacter(std::string_view utf8) {
    if (encodeListingText(utf8))
        return std::nullopt;
    std::size_t len = 1;
    for (std::size_t i = 0; i < utf8.size(); i += len) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        len = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        const std::string_view character = utf8.substr(i, len);
        if (!cp1252::fromUtf8(character))
            return std::string(character);
    }
    // Every character fits the code page: a "þ" stands where a read would
    // take it for part of a line break.
    return std::string(kThornUtf8);
}

int makeStorable(std::string& utf8, char replacement) {
    int replaced = cp1252::replaceUnsupported(utf8, replacement);
    for (std::size_t at = utf8.find(kThornUtf8); at != std::string::npos;
         at = utf8.find(kThornUtf8, at + 1)) {
        const std::size_t next = at + kThornUtf8.size();
        if (next < utf8.size() && (utf8[next] == '\r' || utf8[next] == '\n' ||
                                   utf8.compare(next, kThornUtf8.size(), kThornUtf8) == 0)) {
            utf8.replace(at, kThornUtf8.size(), 1, replacement);
            ++replaced;
        }
    }
    return replaced;
}

} // namespace vitrandel
