// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <vector>

// Page breaking for the printed index, in whatever unit the caller measures.
namespace vitrandel {

// One piece of the printed page that is never cut across two pages: a line of
// text or a picture. Text flows from page to page a line at a time.
struct PrintBlock {
    double height = 0;
    // Left out at the top of a page, where it would only push the page down.
    double spaceBefore = 0;
    // Headings: moved to the next page with what follows them rather than
    // left alone at the foot of a page.
    bool keepWithNext = false;
};

struct PlacedBlock {
    int page = 0;
    double top = 0;
    // Less than the block's own height for a block taller than a page, which
    // is shrunk to fit one page together with the headings kept with it.
    double height = 0;
};

// One placement per block, in the blocks' order.
std::vector<PlacedBlock> paginate(const std::vector<PrintBlock>& blocks, double pageHeight);

// The pages the placements use; an index with nothing in it still prints one.
int pageCount(const std::vector<PlacedBlock>& placed);

} // namespace vitrandel
