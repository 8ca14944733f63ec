// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Telling a listing from any other file by its first bytes, and finding the
// listing a disc's autorun.inf starts the program on.
namespace vitrandel {

// Every listing starts with its title line, so with the scrambled "titulo=".
std::string listingSignature();
bool startsLikeListing(std::string_view firstBytes);

// How much of an autorun.inf is looked at: real ones are a few lines.
constexpr std::size_t kAutorunBytes = 64 * 1024;

// The file the [autorun] section's "open=" line hands the program, as the
// line names it (UTF-8, relative to the disc's root, "\" between folders);
// nothing when the line is missing or names no file after the program.
std::optional<std::string> autorunArgument(std::string_view infBytes);

} // namespace vitrandel
