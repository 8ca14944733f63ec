// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/disc_listing.h"

#include "model/cp1252.h"
#include "model/scrambler.h"

namespace vitrandel {
namespace {

std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return cp1252::toLower(a) == cp1252::toLower(b);
}

// The program's own word on the line: quoted, or up to the first blank.
std::string_view afterProgram(std::string_view command) {
    if (command.starts_with('"')) {
        const auto close = command.find('"', 1);
        return close == std::string_view::npos ? std::string_view{} : command.substr(close + 1);
    }
    const auto blank = command.find_first_of(" \t");
    return blank == std::string_view::npos ? std::string_view{} : command.substr(blank);
}

} // namespace

std::string listingSignature() { return encriptar("titulo=", kListingKey, kListingShift); }

bool startsLikeListing(std::string_view firstBytes) {
    return firstBytes.starts_with(listingSignature());
}

std::optional<std::string> autorunArgument(std::string_view infBytes) {
    bool inAutorun = false;
    std::string_view rest = infBytes.substr(0, kAutorunBytes);
    while (!rest.empty()) {
        // Made on Windows or not: CR LF, LF or CR alone end a line.
        const auto end = rest.find_first_of("\r\n");
        std::string_view line = trimmed(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (line.starts_with('[')) {
            inAutorun = equalsIgnoringCase(line, "[autorun]");
            continue;
        }
        const auto equals = line.find('=');
        if (!inAutorun || equals == std::string_view::npos ||
            !equalsIgnoringCase(trimmed(line.substr(0, equals)), "open"))
            continue;
        std::string_view argument = trimmed(afterProgram(trimmed(line.substr(equals + 1))));
        // Windows hands the rest of the line over whole; quotes only group it.
        if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"')
            argument = argument.substr(1, argument.size() - 2);
        if (argument.empty())
            return std::nullopt;
        return cp1252::toUtf8(argument);
    }
    return std::nullopt;
}

} // namespace vitrandel
