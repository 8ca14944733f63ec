// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/project.h"

// Adding the files of a folder as elements: one element per file name
// (without its extension), one category per subfolder. The disk is read by
// the caller, through the names it lists and the reader it hands in.
namespace vitrandel {

// Subfolders read, the first in natural order: categories stop at
// kMaxCategories and elements at kMaxElements long before.
constexpr std::size_t kSubfoldersRead = 1024;

// How much of a text file becomes a description, and how much of a
// descript.ion is looked at: enough for any real one, never a whole disc.
constexpr std::size_t kDescriptionBytes = 4096;
constexpr std::size_t kDescriptIonBytes = 1024 * 1024;

// Of a folder's files, only those that can become elements. A listing holds
// at most kMaxElements; however full it already is, a folder's stems (a
// file's name without its extension) past the first kMaxElements in natural
// order, besides the two folder notes, can never be added, since each
// earlier stem either takes a free place or is one of the names already in
// the listing. So a folder of 400,000 files keeps its first stems in the
// same natural order a full sort would give, and only counts the others.
class FolderNames {
public:
    static constexpr std::size_t kStemsKept = kMaxElements + 2;

    void add(std::string name);
    // The kept names, in no particular order; the filling sorts them.
    std::vector<std::string> take();
    // Distinct stems seen beyond the kept ones.
    std::size_t stemsLeftOut();

private:
    struct NaturalKey {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    std::map<std::string, std::vector<std::string>, NaturalKey> kept_; // folded stem -> files
    std::vector<std::string> notes_;
    // By their hashes, counted once at the end: a few hundred thousand
    // stems need not be held.
    std::vector<std::size_t> leftOut_;
};

struct ScannedFolder {
    std::string name;        // as on disk; empty for the chosen folder itself
    std::string listingPath; // relative to the working folder, "\" between folders; "" for it
    std::vector<std::string> files;
    std::size_t stemsLeftOut = 0; // see FolderNames
};

struct FolderScan {
    ScannedFolder chosen;
    std::vector<ScannedFolder> subfolders;
    // Files and folders not taken, as the listing would name them: links
    // whose real path lies outside the chosen folder, and names holding "\",
    // which a listing would read as a path to another file.
    std::vector<std::string> refused;
    // Subfolders past the first ones in natural order that were not read.
    std::size_t subfoldersLeftOut = 0;
    // At most maxBytes of the start of a file in a scanned folder; empty when
    // it cannot be read.
    std::function<std::string(const ScannedFolder&, const std::string& file, std::size_t maxBytes)>
        readStart;
};

struct FolderFillReport {
    int added = 0;
    int categoriesAdded = 0;
    std::vector<std::string> alreadyPresent;
    // Subfolders that found the category table full; their files went where
    // the chosen folder's own files go.
    std::vector<std::string> foldersWithoutCategory;
    // Elements whose name or description held characters the listing cannot
    // store, each replaced by "?".
    std::vector<std::string> textReplaced;
    // Elements left without their picture: the listing cannot store its path.
    std::vector<std::string> picturesLeftOut;
    // As FolderScan::refused says.
    std::vector<std::string> refused;
    std::size_t subfoldersLeftOut = 0;
    bool tableFull = false;
    int leftOut = 0; // files that found the element table full
};

// Adds the scanned files to the Project. The chosen folder's own files take
// `ownCategory`. Names already in use (without regard to letter case) are not
// added again; the element table's limit stops the filling.
FolderFillReport addFolderToProject(Project& p, const FolderScan& scan, std::int16_t ownCategory);

// Keeps of a scan only what was picked by name: those files of the chosen
// folder, with the files that share their names (a picture's ".txt") and the
// folder's notes, and those subfolders.
void keepPicked(FolderScan& scan, const std::vector<std::string>& picked);

// The entries of a descript.ion: file name, then its description. A name
// with blanks is written between double quotes.
std::vector<std::pair<std::string, std::string>> parseDescriptIon(std::string_view utf8);

// A text file's bytes as the program's text: UTF-8 when they are, otherwise
// the Windows code page. A cut-off last character or line is dropped when
// `cut` says the file goes on.
std::string decodeTextFile(std::string_view bytes, bool cut);

// Ordering of file names as a person counts: "foto2" before "foto10".
bool naturalLess(std::string_view a, std::string_view b);

} // namespace vitrandel
