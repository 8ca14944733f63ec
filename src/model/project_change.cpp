// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/project_change.h"

#include <algorithm>

namespace vitrandel {

ListingSettings settingsOf(const Project& p) { return static_cast<const ListingSettings&>(p); }

void applySettings(Project& p, const ListingSettings& s) { static_cast<ListingSettings&>(p) = s; }

namespace {

int countOf(const Project& p) {
    return std::clamp<int>(p.elementCount, 0, kMaxElements);
}

// Replaces the run `from` holds at `first` with `to`'s run.
void swapRun(Project& p, int first, const ProjectChange::Side& from,
             const ProjectChange::Side& to) {
    if (from.settings && to.settings)
        applySettings(p, *to.settings);
    const auto start = p.elements.begin() + first;
    const auto tailStart = start + static_cast<std::ptrdiff_t>(from.run.size());
    const std::vector<Element> tail(tailStart, p.elements.begin() + countOf(p));
    auto out = std::copy(to.run.begin(), to.run.end(), start);
    std::copy(tail.begin(), tail.end(), out);
    p.elementCount = to.elementCount;
}

} // namespace

bool ProjectChange::empty() const {
    return !before.settings && before.run.empty() && after.run.empty() &&
           before.elementCount == after.elementCount;
}

ProjectChange diffProjects(const Project& before, const Project& after) {
    ProjectChange c;
    ListingSettings b = settingsOf(before);
    ListingSettings a = settingsOf(after);
    if (!(b == a)) {
        c.before.settings = std::move(b);
        c.after.settings = std::move(a);
    }
    const int n0 = countOf(before);
    const int n1 = countOf(after);
    const auto& e0 = before.elements;
    const auto& e1 = after.elements;
    int prefix = 0;
    while (prefix < std::min(n0, n1) &&
           e0[static_cast<std::size_t>(prefix)] == e1[static_cast<std::size_t>(prefix)])
        ++prefix;
    int suffix = 0;
    while (suffix < std::min(n0, n1) - prefix && e0[static_cast<std::size_t>(n0 - 1 - suffix)] ==
                                                     e1[static_cast<std::size_t>(n1 - 1 - suffix)])
        ++suffix;
    c.first = prefix;
    c.before.run.assign(e0.begin() + prefix, e0.begin() + (n0 - suffix));
    c.after.run.assign(e1.begin() + prefix, e1.begin() + (n1 - suffix));
    c.before.elementCount = static_cast<std::int16_t>(n0);
    c.after.elementCount = static_cast<std::int16_t>(n1);
    return c;
}

void undoChange(Project& p, const ProjectChange& c) {
    swapRun(p, c.first, c.after, c.before);
}

void redoChange(Project& p, const ProjectChange& c) {
    swapRun(p, c.first, c.before, c.after);
}

bool mergeChanges(ProjectChange& earlier, const ProjectChange& later) {
    const auto settingsOnly = [](const ProjectChange& c) {
        return c.before.run.empty() && c.after.run.empty() &&
               c.before.elementCount == c.after.elementCount;
    };
    if (!settingsOnly(earlier) || !settingsOnly(later) || !earlier.after.settings ||
        !later.after.settings)
        return false;
    earlier.after.settings = later.after.settings;
    if (*earlier.before.settings == *earlier.after.settings) {
        earlier.before.settings.reset();
        earlier.after.settings.reset();
    }
    return true;
}

} // namespace vitrandel
