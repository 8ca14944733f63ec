// SPDX-License-Identifier: GPL-2.0-or-later
#include "library_command.h"

#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "library/disc_library.h"
#include "library/volume_info.h"
#include "listing_file.h"
#include "model/file_store.h"
#include "model/listing_reader.h"

namespace vitrandel::lst {
namespace {

constexpr int kExitUsage = 2;
// The command ran, but on a new library: the old file was damaged.
constexpr int kExitLibraryReplaced = 3;
constexpr int kExitLibraryFailed = 4;

int usage() {
    std::cerr << "Usage: vitrandel-lst library [--library DB] add FILE.lst... | list | "
                 "search WORDS... | remove TITLE\n"
                 "Run 'vitrandel-lst --help' for details.\n";
    return kExitUsage;
}

// Tabs and line breaks would split a line of output into false fields.
std::string field(std::string s) {
    for (char& c : s)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return s;
}

std::int64_t nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

int add(library::Library& lib, const std::vector<std::string>& files) {
    int status = 0;
    for (const std::string& path : files) {
        FileError fileError;
        const auto bytes = readFileBytes(path, &fileError);
        if (!bytes) {
            status = failure("cannot open " + path + ": " + fileError.message);
            continue;
        }
        try {
            lib.add(path, *bytes, library::volumeOf(path), nowMs());
        } catch (const library::UnreadableListing& e) {
            status = failure("cannot read " + path + ": " + e.what());
        }
    }
    return status;
}

int list(library::Library& lib) {
    for (const library::Disc& d : lib.discs())
        std::cout << field(d.title) << '\t' << d.elementCount << '\n';
    return 0;
}

int search(library::Library& lib, const std::vector<std::string>& terms) {
    const auto found = lib.search(terms);
    for (const library::FoundElement& f : found)
        std::cout << field(f.discTitle) << '\t' << field(f.category) << '\t' << field(f.element) << '\n';
    return found.empty() ? kExitFailure : 0;
}

int remove(library::Library& lib, const std::string& title) {
    return lib.removeTitled(title) ? 0 : kExitFailure;
}

} // namespace

int libraryCommand(int argc, char** argv) {
    std::vector<std::string> args(argv + 2, argv + argc);
    std::string path = library::defaultLibraryPath();
    if (args.size() >= 2 && args[0] == "--library") {
        path = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty())
        return usage();
    const std::string command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    const bool known = (command == "add" && !rest.empty()) || (command == "list" && rest.empty()) ||
                       (command == "search" && !rest.empty()) || (command == "remove" && rest.size() == 1);
    if (!known)
        return usage();

    try {
        std::string movedAside;
        const auto lib = library::Library::open(path, &movedAside);
        if (!movedAside.empty())
            failure("the library " + path + " was damaged; it has been moved to " + movedAside +
                    " and a new library started");
        int status = 0;
        if (command == "add")
            status = add(*lib, rest);
        else if (command == "list")
            status = list(*lib);
        else if (command == "search")
            status = search(*lib, rest);
        else
            status = remove(*lib, rest[0]);
        std::cout.flush();
        if (!std::cout)
            return failure("cannot write to standard output");
        return movedAside.empty() ? status : kExitLibraryReplaced;
    } catch (const library::LibraryError& e) {
        failure(std::string("library: ") + e.what());
        return kExitLibraryFailed;
    }
}

} // namespace vitrandel::lst
