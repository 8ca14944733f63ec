// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

// Which volume a file lies on, as the system names it, so that a disc on the
// shelf can be told by its label.
namespace vitrandel::library {

struct Volume {
    std::string label; // empty where the file system has none
    std::string uuid;  // empty where the system does not know it
};

// Read from the mount table and the /dev/disk links; empty fields when the
// system does not say.
Volume volumeOf(const std::string& path);

} // namespace vitrandel::library
