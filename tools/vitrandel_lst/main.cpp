// SPDX-License-Identifier: GPL-2.0-or-later
// vitrandel-lst: reads and writes listing files from the command line, with
// the program's own reader and writer and no display; exports them as a web
// page or a table.

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "export_commands.h"
#include "library_command.h"
#include "listing_file.h"
#include "listing_json.h"
#include "model/file_store.h"
#include "model/listing_reader.h"
#include "model/listing_writer.h"

namespace {

using vitrandel::lst::failure;
using vitrandel::lst::kExitFailure;
constexpr int kExitUsage = 2;

constexpr std::string_view kUsage = R"(Usage:
  vitrandel-lst dump FILE.lst
  vitrandel-lst build FILE.json OUT.lst
  vitrandel-lst export-html FILE.lst FOLDER
  vitrandel-lst export-csv FILE.lst [OUT.csv]
  vitrandel-lst library [--library DB] add FILE.lst... | list | search WORDS... | remove TITLE
  vitrandel-lst --help
)";

constexpr std::string_view kHelp = R"(
Reads and writes Vitrandel listing files (.lst), whose lines are scrambled,
through the program's own reader and writer.

dump FILE.lst
  Prints the listing as the file holds it, as one UTF-8 JSON object on
  standard output. Nothing is normalised: sizes and colours are shown as
  stored (when the program opens a listing, a size that is not standard
  becomes 10 and a negative colour becomes -2147483643; font faces are kept
  as named), and the working directory is only
  reported, not entered. On a read error (the file cannot be opened, a number
  out of range, a 52nd category, a 257th element) it prints the file and the
  line where reading stopped on standard error and exits with status 1.

build FILE.json OUT.lst
  Writes OUT.lst from a JSON object of the same shape, byte for byte as the
  program's Save writes it. OUT.lst is replaced only when the whole listing
  could be written. Nothing is written when a text holds a character that
  the listing's code page (Windows-1252) cannot store, when there are more
  than 51 categories or 256 elements, when a number is out of its range or a
  value has the wrong type, or when the JSON is malformed.

export-html FILE.lst FOLDER
  Writes FOLDER/index.html, the index as one web page that any browser reads
  from the disc, and beside it in FOLDER/imagenes the pictures it shows
  (JPEG, PNG and GIF copied, every other kind converted to PNG). Pictures are
  found as the viewer finds them: relative to the listing's working folder,
  which is the listing's own folder unless it records another, in any letter
  case. FOLDER is created when missing. A picture that cannot be found or
  read is reported on standard error and its element shown without it.

export-csv FILE.lst [OUT.csv]
  Writes the elements as a UTF-8 table for spreadsheets (RFC 4180, a header
  row, one row per element in listing order) to OUT.csv, or to standard
  output without it. Colours are written as #rrggbb as the viewer shows them.

library [--library DB] add FILE.lst... | list | search WORDS... | remove TITLE
  The library of discs the program keeps of every listing it opens, in DB
  (by default $XDG_DATA_HOME/vitrandel/biblioteca.sqlite, XDG_DATA_HOME
  being ~/.local/share when unset). Output is UTF-8, one line per entry,
  fields separated by tabs.
  add      adds each listing, or updates the entry of the same path.
  list     one line per disc: its title, then its number of elements.
  search   one line per matching element, best first: the disc's title, the
           category ("Sin clasificar" for none), the element's name. Letter
           case and accents are ignored; each word matches the start of a
           word; an argument holding blanks is a phrase, matched whole; a
           word or phrase starting with "-" excludes the elements holding it.
           Status 1, with no output, when nothing matches.
  remove   removes every disc with exactly that title; status 1 when none has.
  A damaged library file is moved aside, beside it under a dated name, and
  a new library is started; the command then runs on it and the status is 3.
  Status 4 when the library cannot be opened or written.

The JSON object (every key may be left out; texts default to "", flags to
false, numbers to 0):
  title            string
  password         string, stored in plain inside the scrambled file
  passwordEnabled  true or false
  locked           true or false: the no-more-modifications mark
  workingDir       "." (the default) to keep the folder the listing is opened
                   from, or an absolute folder that opening it enters
  categories       array of at most 51 names; an element's category k
                   (1 to 51) names categories[k-1], and 0 is "Sin clasificar"
  elements         array of at most 256 objects:
    name, description, imagePath, fontName   strings
    fitImage, fontBold, fontItalic           true or false
    category, fontSize                       whole numbers, -32768 to 32767
    textColor                                whole number, -2147483648 to
                                             2147483647; red in the low byte
                                             (128 is dark red, 8388608 navy)

Texts are UTF-8. A line break ("\n") in a text is kept; tabs and other
control characters are stored as blanks. Picture paths use "\" between
folders, as listings always have.

Exit status: 0 on success, 1 when a file could not be read or written or the
JSON was refused, 2 for a wrong command line.
)";

int usageError() {
    std::cerr << kUsage << "Run 'vitrandel-lst --help' for details.\n";
    return kExitUsage;
}

int dump(const std::string& path) {
    const auto listing = vitrandel::lst::readListing(path);
    if (!listing)
        return kExitFailure;
    std::cout << vitrandel::lst::listingToJson(*listing).dump(2) << '\n';
    std::cout.flush();
    return std::cout ? 0 : failure("cannot write to standard output");
}

int build(const std::string& jsonPath, const std::string& outPath) {
    vitrandel::FileError fileError;
    const auto text = vitrandel::readFileBytes(jsonPath, &fileError);
    if (!text)
        return failure("cannot open " + jsonPath + ": " + fileError.message);

    vitrandel::lst::ListingFromJson listing;
    try {
        listing = vitrandel::lst::listingFromJson(nlohmann::json::parse(*text));
    } catch (const nlohmann::json::parse_error& e) {
        return failure(jsonPath + " is not valid JSON: " + e.what() + "; nothing written");
    } catch (const vitrandel::lst::BadListingJson& e) {
        return failure(jsonPath + ": " + e.what() + "; nothing written");
    }

    const vitrandel::SerializeOutcome out =
        vitrandel::serializeListing(listing.project, listing.workingDir);
    if (!out.ok())
        return failure(jsonPath + ": " + out.badField +
                       ": holds a character that a listing (Windows-1252) cannot store; "
                       "nothing written");
    if (!vitrandel::writeFileAtomically(outPath, out.bytes, &fileError))
        return failure("cannot write " + outPath + ": " + fileError.message);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (argc == 2 && (command == "--help" || command == "-h" || command == "help")) {
        std::cout << kUsage << kHelp;
        return 0;
    }
    if (command == "library")
        return vitrandel::lst::libraryCommand(argc, argv);
    if (command == "dump" && argc == 3)
        return dump(argv[2]);
    if (command == "build" && argc == 4)
        return build(argv[2], argv[3]);
    if (command == "export-html" && argc == 4)
        return vitrandel::lst::exportHtml(argc, argv, argv[2], argv[3]);
    if (command == "export-csv" && (argc == 3 || argc == 4))
        return vitrandel::lst::exportCsv(argc, argv, argv[2],
                                         argc == 4 ? std::optional<std::string>(argv[3])
                                                   : std::nullopt);
    return usageError();
}
