#include "model/category_list.h"

namespace vitrandel {

bool applyCategoryList(Project& p, const std::vector<EditedCategory>& list) {
    if (list.size() > static_cast<std::size_t>(kMaxCategories))
        return false;
    const int formerCount = p.categoryCount;
    std::vector<std::int16_t> renumbered(static_cast<std::size_t>(formerCount) + 1, 0);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const int former = list[i].formerNumber;
        if (former >= 1 && former <= formerCount)
            renumbered[static_cast<std::size_t>(former)] = static_cast<std::int16_t>(i + 1);
    }
    for (int i = 0; i < p.elementCount; ++i) {
        Element& e = p.elements[static_cast<std::size_t>(i)];
        if (e.category >= 1 && e.category <= formerCount)
            e.category = renumbered[static_cast<std::size_t>(e.category)];
    }
    for (std::size_t i = 0; i < list.size(); ++i)
        p.categories[i] = list[i].name;
    p.categoryCount = static_cast<std::int16_t>(list.size());
    return true;
}

} // namespace vitrandel
