// SPDX-License-Identifier: GPL-2.0-or-later
#include "library/search_query.h"

#include "model/search.h"

namespace vitrandel::library {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Signs the tokenizer splits words at, beyond ASCII: those of Latin-1
// (¡ ¿ « » º and the like, × and ÷) and the general punctuation block
// (dashes, curly quotes, …), which a listing's code page also holds.
bool isSign(unsigned codePoint) {
    return (codePoint >= 0x80 && codePoint <= 0xBF) || codePoint == 0xD7 || codePoint == 0xF7 ||
           (codePoint >= 0x2000 && codePoint <= 0x206F) || codePoint == 0x20AC;
}

// A term made of nothing but signs would ask for no word, and match nothing.
bool holdsWord(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
                return true;
            continue;
        }
        const int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        unsigned codePoint = extra == 3 ? c & 0x07u : extra == 2 ? c & 0x0Fu : c & 0x1Fu;
        for (int k = 1; k <= extra && i + 1 < s.size(); ++k)
            codePoint = (codePoint << 6) | (static_cast<unsigned char>(s[++i]) & 0x3Fu);
        if (extra == 0 || !isSign(codePoint))
            return true;
    }
    return false;
}

// A string in the query language, where the tokenizer splits it as it split
// the stored texts.
std::string quoted(std::string_view folded) {
    std::string out = "\"";
    for (const char c : folded) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

} // namespace

std::optional<SearchQuery> buildQuery(const std::vector<std::string>& terms) {
    std::string wanted;
    std::string excluded;
    for (const std::string& term : terms) {
        std::string_view t = term;
        const bool exclude = !t.empty() && t.front() == '-';
        if (exclude)
            t.remove_prefix(1);
        if (!holdsWord(t))
            continue;
        const bool phrase = t.find_first_of(" \t") != std::string_view::npos;
        std::string piece = quoted(foldForSearch(t));
        if (!phrase)
            piece += '*';
        if (exclude) {
            excluded += " NOT " + piece;
        } else {
            if (!wanted.empty())
                wanted += " AND ";
            wanted += piece;
        }
    }
    if (wanted.empty())
        return std::nullopt;
    const std::string inNames = "(name : (" + wanted + "))";
    return SearchQuery{inNames + excluded, "((" + wanted + ") NOT " + inNames + ")" + excluded};
}

std::vector<std::string> splitSearchText(std::string_view text) {
    std::vector<std::string> terms;
    std::size_t i = 0;
    while (i < text.size()) {
        if (isBlank(text[i])) {
            ++i;
            continue;
        }
        std::string term;
        if (text[i] == '-' && i + 1 < text.size() && text[i + 1] == '"') {
            term = "-";
            ++i;
        }
        if (text[i] == '"') {
            const std::size_t end = text.find('"', i + 1);
            term += text.substr(i + 1, end == std::string_view::npos ? std::string_view::npos : end - i - 1);
            i = end == std::string_view::npos ? text.size() : end + 1;
        } else {
            while (i < text.size() && !isBlank(text[i]) && text[i] != '"')
                term += text[i++];
        }
        terms.push_back(std::move(term));
    }
    return terms;
}

} // namespace vitrandel::library
