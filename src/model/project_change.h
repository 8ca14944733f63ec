// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/project.h"

// One change to what a listing file holds, kept small enough that an evening's
// history of a full listing stays cheap: the listing's settings only when they
// changed, and of the element table only the run of entries that differs.
namespace vitrandel {

ListingSettings settingsOf(const Project& p);
void applySettings(Project& p, const ListingSettings& s);

struct ProjectChange {
    struct Side {
        std::optional<ListingSettings> settings; // set on both sides, or on neither
        std::vector<Element> run;                // the entries from `first` that differ
        std::int16_t elementCount = 0;
    };
    int first = 0;
    Side before;
    Side after;

    bool empty() const;
};

// What turned `before` into `after`. The listing path and the modified flag
// are not part of a listing's contents and are left out.
ProjectChange diffProjects(const Project& before, const Project& after);

// Puts `p`, which holds one side of the change, into the other side's state.
void undoChange(Project& p, const ProjectChange& c);
void redoChange(Project& p, const ProjectChange& c);

// `later` taken straight after `earlier`, as one change; false when either
// touches elements (only settings-only changes, such as typing, are merged).
bool mergeChanges(ProjectChange& earlier, const ProjectChange& later);

} // namespace vitrandel
