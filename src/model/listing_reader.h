// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/project.h"

namespace vitrandel {

enum class ReadErrorKind { CannotOpen, Overflow, SubscriptOutOfRange, Io };

struct ReadError {
    ReadErrorKind kind = ReadErrorKind::Io;
    int line = 0;       // 1-based line of the file where reading stopped; 0 when none
    std::string detail; // system text for open and I/O errors
};

struct ParsedListing {
    Project project;
    // The trimmed value of the last "ruta actual=" line, UTF-8; "." when the file has none.
    std::string workingDir = ".";
    // Every directory the file asks to change to, in file order ("." lines excluded).
    std::vector<std::string> directoryChanges;
};

struct ParseOutcome {
    ParsedListing listing;
    std::optional<ReadError> error;
};

// Parses the bytes of a listing file on top of `base`: fields the file does
// not mention keep base's values, as they always have. Pure: it neither
// changes directory nor normalises fonts, sizes or colours (see below).
ParseOutcome parseListing(std::string_view bytes, const Project& base);

// Splits at CR, with or without a following LF.
std::vector<std::string_view> splitListingLines(std::string_view bytes);

// What reading does to each element after its block: a size outside the
// standard ones becomes 10, and a negative colour the window-background system
// colour. Font faces are kept as the file names them, installed here or not,
// so that saving never takes a face from the machines that have it.
void normaliseElements(Project& p);

// Fixed English description, for tools and logs.
std::string describeReadError(const ReadError& e);

} // namespace vitrandel
