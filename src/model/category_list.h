// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/project.h"

namespace vitrandel {

// One category of a list being edited: its name, and the number it had
// before the edit (0 for a category the edit added).
struct EditedCategory {
    std::string name;
    int formerNumber = 0;
};

// For each number from 0 to `formerCount`, the number that category has once
// `list` is the Project's list: 0 for a removed category (and for 0 itself).
std::vector<std::int16_t> categoryNumbersAfter(const std::vector<EditedCategory>& list, int formerCount);

// Makes `list` the Project's categories. Each element follows its category to
// its new number and the elements of a removed category go to "Sin
// clasificar" (0), so that no element silently changes category. A number
// that named no category before stays as it was while the new list does not
// reach it; one the new list would reach becomes 0, as a new category takes
// in no element. False, with nothing changed, when the list is longer than
// the table.
bool applyCategoryList(Project& p, const std::vector<EditedCategory>& list);

} // namespace vitrandel
