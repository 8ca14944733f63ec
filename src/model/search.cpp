// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/search.h"

#include <algorithm>
#include <array>

namespace vitrandel {
namespace {

// U+00C0 to U+00FF; nullptr keeps the character (× and ÷).
constexpr std::array<const char*, 64> kLatin1Letters = {
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    "d", "n", "o", "o", "o", "o", "o", nullptr, "o", "u", "u", "u", "u", "y", "th", "ss",
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    "d", "n", "o", "o", "o", "o", "o", nullptr, "o", "u", "u", "u", "u", "y", "th", "y"};

// The letters of two-byte UTF-8 that fold; nullptr for the others.
const char* foldedLetter(unsigned codePoint) {
    if (codePoint >= 0xC0 && codePoint <= 0xFF)
        return kLatin1Letters[codePoint - 0xC0];
    switch (codePoint) {
    // The letters Windows-1252 adds to Latin-1.
    case 0x152: case 0x153: return "oe";
    case 0x160: case 0x161: return "s";
    case 0x178: return "y";
    case 0x17D: case 0x17E: return "z";
    default: return nullptr;
    }
}

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

bool holds(const std::string& folded, const std::string& needle) {
    return folded.find(needle) != std::string::npos;
}

} // namespace

std::string foldForSearch(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
            continue;
        }
        // Every letter that folds is two bytes long in UTF-8; longer
        // sequences and stray bytes are copied a byte at a time.
        if (c >= 0xC2 && c <= 0xDF && i + 1 < utf8.size() &&
            isContinuation(static_cast<unsigned char>(utf8[i + 1]))) {
            const unsigned codePoint = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
            if (const char* letter = foldedLetter(codePoint)) {
                out += letter;
                ++i;
                continue;
            }
        }
        out += static_cast<char>(c);
    }
    return out;
}

std::vector<int> ElementSearch::find(const Project& p, std::string_view text) {
    std::vector<int> found;
    const std::string needle = foldForSearch(text);
    if (needle.empty())
        return found;
    const int count = std::clamp<int>(p.elementCount, 0, kMaxElements);
    if (folded_.size() < static_cast<std::size_t>(count))
        folded_.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const Element& e = p.elements[static_cast<std::size_t>(i)];
        Folded& f = folded_[static_cast<std::size_t>(i)];
        if (f.name != e.name) {
            f.name = e.name;
            f.foldedName = foldForSearch(e.name);
        }
        if (f.description != e.description) {
            f.description = e.description;
            f.foldedDescription = foldForSearch(e.description);
        }
        if (holds(f.foldedName, needle) || holds(f.foldedDescription, needle))
            found.push_back(i);
    }
    return found;
}

int elementNowAt(const Project& p, int position, const std::string& name) {
    const int count = std::clamp<int>(p.elementCount, 0, kMaxElements);
    const auto named = [&](int i) { return p.elements[static_cast<std::size_t>(i)].name == name; };
    for (int i = std::min(position, count - 1); i >= 0; --i)
        if (named(i))
            return i;
    for (int i = std::max(position + 1, 0); i < count; ++i)
        if (named(i))
            return i;
    return -1;
}

int filterEntryFor(const Project& p, int position) {
    if (position < 0 || position >= std::min<int>(p.elementCount, kMaxElements))
        return 0;
    return listedCategory(p, p.elements[static_cast<std::size_t>(position)]);
}

} // namespace vitrandel
