#pragma once

#include <string>

#include "model/project.h"

namespace vitrandel {

struct SerializeOutcome {
    std::string bytes;      // the whole file, every line scrambled and ended by CR LF
    std::string badField;   // set when a text cannot be held by the file's code page
    bool ok() const { return badField.empty(); }
};

// `currentDir` is what "ruta actual=" records when useCurrentDir is false.
SerializeOutcome serializeListing(const Project& p, const std::string& currentDir);

} // namespace vitrandel
