// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Bytes to and from disk. The only place where listing files are touched.
namespace vitrandel {

struct FileError {
    int errnum = 0; // errno of the failing call
    std::string message;
};

// Listings are small; anything larger than this is not one, and reading it
// whole could exhaust memory.
constexpr long long kMaxReadBytes = 64LL * 1024 * 1024;

// Regular files only: a pipe or a device would block or never end.
std::optional<std::string> readFileBytes(const std::string& path, FileError* error,
                                         long long maxBytes = kMaxReadBytes);

// At most maxBytes from the start of a regular file; empty when it cannot be
// read (or is no regular file).
std::string readFileStart(const std::string& path, std::size_t maxBytes);

// Writes a sibling temporary file, flushes it to disk and only then renames
// it over `path`: on any failure the old file is untouched and the temporary
// is removed.
bool writeFileAtomically(const std::string& path, std::string_view bytes, FileError* error);

// Test seam: make the next atomic writes fail at a chosen point.
struct WriteFaults {
    bool failCreate = false;
    long long failAfterBytes = -1; // a write past this many bytes fails with ENOSPC
    bool failSync = false;
    bool failClose = false;
    bool failRename = false;
};
void setWriteFaultsForTesting(std::optional<WriteFaults> faults);

} // namespace vitrandel
