// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a person types to find something in the library, as full-text queries.
namespace vitrandel::library {

// Terms as the command line hands them over: each one a word, matched as the
// start of a word; one that holds blanks a phrase, matched whole; a leading
// "-" excludes what follows it.
struct SearchQuery {
    // Elements whose names hold every wanted term.
    std::string inNames;
    // The other elements that hold them, descriptions included.
    std::string elsewhere;
};

// Nothing when no term asks for anything (none given, or only exclusions).
std::optional<SearchQuery> buildQuery(const std::vector<std::string>& terms);

// A search box's text as terms: blanks separate words, "double quotes" hold a
// phrase together, and -word or -"a phrase" excludes.
std::vector<std::string> splitSearchText(std::string_view text);

} // namespace vitrandel::library
