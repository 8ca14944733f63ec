// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/category_list.h"

#include <algorithm>

namespace vitrandel {

std::vector<std::int16_t> categoryNumbersAfter(const std::vector<EditedCategory>& list, int formerCount) {
    std::vector<std::int16_t> renumbered(static_cast<std::size_t>(std::max(formerCount, 0)) + 1, 0);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const int former = list[i].formerNumber;
        if (former >= 1 && former <= formerCount)
            renumbered[static_cast<std::size_t>(former)] = static_cast<std::int16_t>(i + 1);
    }
    return renumbered;
}

bool applyCategoryList(Project& p, const std::vector<EditedCategory>& list) {
    if (list.size() > static_cast<std::size_t>(kMaxCategories))
        return false;
    const int formerCount = p.categoryCount;
    const int newCount = static_cast<int>(list.size());
    const std::vector<std::int16_t> renumbered = categoryNumbersAfter(list, formerCount);
    for (int i = 0; i < p.elementCount; ++i) {
        Element& e = p.elements[static_cast<std::size_t>(i)];
        if (e.category >= 1 && e.category <= formerCount)
            e.category = renumbered[static_cast<std::size_t>(e.category)];
        else if (e.category > formerCount && e.category <= newCount)
            e.category = 0;
    }
    for (std::size_t i = 0; i < list.size(); ++i)
        p.categories[i] = list[i].name;
    p.categoryCount = static_cast<std::int16_t>(list.size());
    return true;
}

} // namespace vitrandel
