// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/project.h"

// Find: which elements hold a text, as a person would spell it without
// minding capitals or accents.
namespace vitrandel {

// Lower case without accents ("Camión" and "CAMIÓN" both give "camion"; "ñ"
// gives "n", "ß" "ss"), over the letters the listing's code page can hold.
// Other characters pass unchanged, as do bytes that are not valid UTF-8.
std::string foldForSearch(std::string_view utf8);

// Positions, in list order, of the elements whose name or description holds
// `text` once both are folded. An empty text finds nothing.
//
// Folding a full listing takes longer than a keystroke should, so each
// element's folded texts are kept and folded again only when the element's
// texts differ from the ones they were folded from: one search object can
// follow a Project through any change without being told of it.
class ElementSearch {
public:
    std::vector<int> find(const Project& p, std::string_view text);

private:
    struct Folded {
        std::string name;
        std::string description;
        std::string foldedName;
        std::string foldedDescription;
    };
    std::vector<Folded> folded_;
};

// Where the element that was at `position` with this name is now: there
// still, or the nearest before it with the name (elements move up when one
// before them is deleted), else the nearest after; -1 when none has it.
int elementNowAt(const Project& p, int position, const std::string& name);

// The entry of a window's category filter a found element is shown under:
// its own category when that exists, else entry 0, which lists everything.
int filterEntryFor(const Project& p, int position);

} // namespace vitrandel
