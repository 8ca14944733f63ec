// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/print_layout.h"

#include <algorithm>

namespace vitrandel {
namespace {

// The most of a page each block may take: all of it, less the headings that
// must stay on the page with it, so that a picture shrunk to fit a page keeps
// its name above it.
std::vector<double> heightLimits(const std::vector<PrintBlock>& blocks, double pageHeight) {
    std::vector<double> limits(blocks.size(), pageHeight);
    double lead = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (!blocks[i].keepWithNext && lead < pageHeight / 2)
            limits[i] = pageHeight - lead;
        lead = blocks[i].keepWithNext
            ? lead + std::min(blocks[i].height, pageHeight) +
                  (i + 1 < blocks.size() ? blocks[i + 1].spaceBefore : 0)
            : 0;
    }
    return limits;
}

} // namespace

std::vector<PlacedBlock> paginate(const std::vector<PrintBlock>& blocks, double pageHeight) {
    // Measured sizes are rounded; a block that fits to within this still fits.
    const double slack = pageHeight * 1e-9;
    const std::vector<double> limits = heightLimits(blocks, pageHeight);
    auto heightOf = [&](std::size_t i) { return std::min(blocks[i].height, limits[i]); };
    std::vector<PlacedBlock> placed;
    placed.reserve(blocks.size());
    int page = 0;
    double y = 0;
    bool pageEmpty = true;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const PrintBlock& b = blocks[i];
        const double height = heightOf(i);
        double needed = height;
        if (b.keepWithNext) {
            // A heading with the headings after it and the first thing they introduce.
            double together = height;
            for (std::size_t j = i; blocks[j].keepWithNext && j + 1 < blocks.size(); ++j)
                together += blocks[j + 1].spaceBefore + heightOf(j + 1);
            // A group that could not fit even on an empty page is not held together.
            if (together <= pageHeight + slack)
                needed = together;
        }
        if (!pageEmpty && y + b.spaceBefore + needed > pageHeight + slack) {
            ++page;
            y = 0;
            pageEmpty = true;
        }
        const double top = pageEmpty ? 0 : y + b.spaceBefore;
        placed.push_back({page, top, height});
        y = top + height;
        pageEmpty = false;
    }
    return placed;
}

int pageCount(const std::vector<PlacedBlock>& placed) {
    return placed.empty() ? 1 : placed.back().page + 1;
}

} // namespace vitrandel
