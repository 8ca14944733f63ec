#include "model/listing_text.h"

#include "model/cp1252.h"

namespace vitrandel {
namespace {
constexpr char kBreakCode = static_cast<char>(0xFE);
}

std::string decodeListingText(std::string_view bytes) {
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
    // '\n' is below 128, so converting after the pairing cannot split a character.
    return cp1252::toUtf8(withBreaks);
}

std::optional<std::string> encodeListingText(std::string_view utf8) {
    auto bytes = cp1252::fromUtf8(utf8);
    if (!bytes)
        return std::nullopt;
    std::string out;
    out.reserve(bytes->size());
    const std::string& b = *bytes;
    for (std::size_t i = 0; i < b.size(); ++i) {
        const auto c = static_cast<unsigned char>(b[i]);
        if (c == '\r' || c == '\n') {
            out += kBreakCode;
            out += kBreakCode;
            if (c == '\r' && i + 1 < b.size() && b[i + 1] == '\n')
                ++i;
        } else if (c < 32) {
            out += ' ';
        } else {
            out += b[i];
        }
    }
    return out;
}

} // namespace vitrandel
