// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <vector>

#include "model/scrambler.h"

// Builds the bytes of a listing file from its plain (unscrambled) lines,
// written in the file's code page.
inline std::string scrambledFile(const std::vector<std::string>& plainLines,
                                 const std::string& lineEnd = "\r\n") {
    std::string bytes;
    for (const std::string& line : plainLines)
        bytes += vitrandel::encriptar(line, vitrandel::kListingKey, vitrandel::kListingShift) + lineEnd;
    return bytes;
}

inline std::vector<std::string> unscrambledLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto end = bytes.find("\r\n", start);
        lines.push_back(vitrandel::desencriptar(bytes.substr(start, end - start),
                                                vitrandel::kListingKey, vitrandel::kListingShift));
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    return lines;
}
