// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <optional>
#include <string>

// The sub-commands that write a listing out for other programs: a web page
// and a table for spreadsheets. They draw pictures and resolve colours with
// the program's own platform layer, so they start Qt (offscreen unless a
// platform is named) where the other sub-commands stay without it.
namespace vitrandel::lst {

int exportHtml(int argc, char** argv, const std::string& listing, const std::string& folder);

// Without an output file the table goes to standard output.
int exportCsv(int argc, char** argv, const std::string& listing,
              const std::optional<std::string>& output);

} // namespace vitrandel::lst
