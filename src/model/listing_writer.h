// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "model/project.h"

namespace vitrandel {

struct SerializeOutcome {
    std::string bytes;      // the whole file, every line scrambled and ended by CR LF
    std::string badField;   // set when a text cannot be held by the file's code page
    // The same field as the author knows it: its label ("la descripción"),
    // the element that holds it (-1 for none) and its text.
    std::string badLabel;
    int badElement = -1;
    std::string badText;
    bool ok() const { return badField.empty(); }
};

// `currentDir` is what "ruta actual=" records when useCurrentDir is false.
SerializeOutcome serializeListing(const Project& p, const std::string& currentDir);

} // namespace vitrandel
