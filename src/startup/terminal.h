// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <optional>

// "vitrandel --help" and "--version", answered on the terminal before any
// window or display is touched.
namespace vitrandel::startup {

// The exit status when the command line asked for one of them.
std::optional<int> answerOnTerminal(int argc, char** argv);

} // namespace vitrandel::startup
