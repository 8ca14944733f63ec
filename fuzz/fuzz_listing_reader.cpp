// SPDX-License-Identifier: GPL-2.0-or-later
// Runs the listing reader on arbitrary bytes, both as they come and with
// every line scrambled first (so that mutations of plain keys reach the
// parser's structure), and checks what must hold for any file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "model/helpers.h"
#include "model/listing_reader.h"
#include "model/listing_writer.h"
#include "model/number_text.h"
#include "model/project.h"
#include "model/scrambler.h"

namespace {

using namespace vitrandel;

void checkListing(std::string_view bytes) {
    const ParseOutcome first = parseListing(bytes, Project{});
    const Project& read = first.listing.project;

    if (first.error) {
        // Bytes in memory cannot fail to open or to read: only the data can stop a read.
        FUZZ_CHECK(first.error->kind == ReadErrorKind::Overflow ||
                   first.error->kind == ReadErrorKind::SubscriptOutOfRange);
        FUZZ_CHECK(first.error->line >= 1 &&
                   static_cast<std::size_t>(first.error->line) <= splitListingLines(bytes).size());
        // A failed read leaves the counts as they were.
        FUZZ_CHECK(read.categoryCount == 0 && read.elementCount == 0);
        return;
    }
    FUZZ_CHECK(read.categoryCount >= 0 && read.categoryCount <= kMaxCategories);
    FUZZ_CHECK(read.elementCount >= 0 && read.elementCount <= kMaxElements);

    // What the program holds after opening the file.
    Project opened = read;
    normaliseElements(opened);
    for (int i = 0; i < opened.elementCount; ++i) {
        const Element& e = opened.elements[static_cast<std::size_t>(i)];
        FUZZ_CHECK(!tamano_no_estandar(e.fontSize));
        FUZZ_CHECK(e.textColor >= 0 || e.textColor == kWindowBackgroundColor);
    }

    // Anything the reader accepted can be saved, and saving then opening
    // gives the same Project and the same bytes again.
    const SerializeOutcome saved = serializeListing(opened, first.listing.workingDir);
    FUZZ_CHECK(saved.ok());
    const ParseOutcome second = parseListing(saved.bytes, Project{});
    FUZZ_CHECK(!second.error);
    FUZZ_CHECK(second.listing.project == opened);
    FUZZ_CHECK(second.listing.workingDir == first.listing.workingDir);
    FUZZ_CHECK(serializeListing(second.listing.project, second.listing.workingDir).bytes ==
               saved.bytes);
}

void checkScrambler(std::string_view text) {
    const std::string_view s = text.substr(0, 256);
    const std::string scrambled = encriptar(s, kListingKey, kListingShift);
    // The table-walking forms cost hundreds of comparisons a character; they
    // are compared on short inputs only, one past the key's length to cover
    // its wrap-around, so that long inputs keep the fuzzer fast.
    if (s.size() <= kListingKey.size() + 1) {
        FUZZ_CHECK(scrambled == encriptarLiteral(s, kListingKey, kListingShift));
        FUZZ_CHECK(desencriptar(s, kListingKey, kListingShift) ==
                   desencriptarLiteral(s, kListingKey, kListingShift));
    }
    FUZZ_CHECK(scrambled.size() == s.size());
    bool printable = true;
    for (std::size_t i = 0; i < s.size(); ++i) {
        FUZZ_CHECK(static_cast<unsigned char>(scrambled[i]) >= 32);
        printable = printable && static_cast<unsigned char>(s[i]) >= 32;
    }
    if (printable)
        FUZZ_CHECK(desencriptar(scrambled, kListingKey, kListingShift) == s);

    if (const auto v = numericValue(s)) {
        if (const auto i = toInt16(*v))
            FUZZ_CHECK(toInt32(*v) && *toInt32(*v) == *i);
    }
}

std::string scrambleEveryLine(std::string_view plain) {
    std::string out;
    for (const std::string_view line : splitListingLines(plain)) {
        out += encriptar(line, kListingKey, kListingShift);
        out += "\r\n";
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkListing(bytes);
    checkListing(scrambleEveryLine(bytes));
    checkScrambler(bytes);
    return 0;
}
