#pragma once

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

// Makes `list` the Project's categories. Each element follows its category to
// its new number and the elements of a removed category go to "Sin
// clasificar" (0), so that no element silently changes category; a number
// that named no category before stays as it was. False, with nothing
// changed, when the list is longer than the table.
bool applyCategoryList(Project& p, const std::vector<EditedCategory>& list);

} // namespace vitrandel
