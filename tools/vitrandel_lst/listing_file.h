// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <optional>
#include <string>

#include "model/listing_reader.h"

// What every sub-command says when it fails, and how each reads a listing.
namespace vitrandel::lst {

constexpr int kExitFailure = 1;

// Says "vitrandel-lst: message" on standard error; returns kExitFailure.
int failure(const std::string& message);

// The listing as the reader parses it, without the normalising that opening
// it in a window adds; nothing, after saying why, when it cannot be read.
std::optional<ParsedListing> readListing(const std::string& path);

} // namespace vitrandel::lst
