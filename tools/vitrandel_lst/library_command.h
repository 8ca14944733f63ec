// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// vitrandel-lst library: the library of discs from the command line.
namespace vitrandel::lst {

// argv[0] is the program, argv[1] "library"; returns the exit status.
int libraryCommand(int argc, char** argv);

} // namespace vitrandel::lst
