// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "library/volume_info.h"

// The library of discs: every listing added, kept with its exact bytes so
// that it can be searched and shown while its disc is on the shelf. One
// object is one connection, for one thread; several processes share a file.
namespace vitrandel::library {

// Any failure of the library file; what() says what SQLite said.
class LibraryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A listing that could not be read; what() says why, in English.
class UnreadableListing : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Disc {
    std::int64_t id = 0;
    std::string title;
    std::string path;
    std::string volumeLabel;
    std::int64_t seenAt = 0; // milliseconds since 1970
    int elementCount = 0;
};

struct FoundElement {
    std::int64_t discId = 0;
    std::string discTitle;
    std::string category; // "Sin clasificar" for none
    std::string element;
    int position = 0;     // in the listing
};

struct StoredListing {
    std::string path;
    std::string title;
    std::string bytes;
    std::string workingDir; // absolute folder its pictures are named from
    std::string volumeLabel;
};

// $XDG_DATA_HOME/vitrandel/biblioteca.sqlite, XDG_DATA_HOME defaulting to ~/.local/share.
std::string defaultLibraryPath();

// The schema version this program writes; files from earlier ones are
// brought forward on opening.
constexpr int kSchemaVersion = 1;

class Library {
public:
    // Opens the file, creating it and its folder when missing. A file that
    // is not a library, or a damaged one, is moved aside to a dated name
    // beside it (never over another file), and a new library starts in its
    // place; `movedAside` then names where the old one went.
    static std::unique_ptr<Library> open(const std::string& path, std::string* movedAside = nullptr);
    ~Library();

    // Adds the listing, or updates the entry of the same path, in one
    // transaction. Throws UnreadableListing when the bytes are not a listing.
    std::int64_t add(const std::string& listingPath, std::string_view bytes, const Volume& volume,
                     std::int64_t nowMs);

    std::vector<Disc> discs();
    // Every disc with exactly this title goes; false when there was none.
    bool removeTitled(const std::string& title);
    void remove(std::int64_t discId);
    std::optional<StoredListing> stored(std::int64_t discId);
    // The paths last added or seen again, newest first.
    std::vector<std::string> recentPaths(int count);

    // Elements matching the terms (see search_query.h), name matches first; `limit`
    // < 0 for all of them.
    std::vector<FoundElement> search(const std::vector<std::string>& terms, int limit = -1);
    // The elements of the discs seen last, for a search not yet typed.
    std::vector<FoundElement> latest(int limit);

    // Pictures of a disc (as its listing names them) that have no thumbnail yet.
    std::vector<std::string> picturesWithoutThumbnail(std::int64_t discId);
    void storeThumbnail(std::int64_t discId, const std::string& picture, std::string_view image);
    std::optional<std::string> thumbnail(std::int64_t discId, const std::string& picture);

private:
    struct State;
    explicit Library(std::unique_ptr<State> state);
    std::unique_ptr<State> s_;
};

} // namespace vitrandel::library
