// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Text values of the listing file. The format stores no code below 32, so a
// line break is kept as two 254 codes (how older files already stored it) and
// any other control code as a blank; reading turns each pair of 254 codes
// back into a line break ("\n" in memory).
namespace vitrandel {

std::string decodeListingText(std::string_view bytes);
// Nothing for text a read would not give back: characters outside
// Windows-1252, or a "þ" (code 254) just before a line break or another "þ".
std::optional<std::string> encodeListingText(std::string_view utf8);
// The working folder is read as it stands, without pairing break codes, so
// a "þ" in a path is only a letter.
std::optional<std::string> encodeListingPath(std::string_view utf8);

// The first character of `utf8` that encodeListingText cannot store, as
// UTF-8; nothing when the whole text can be stored.
std::optional<std::string> unstorableCharacter(std::string_view utf8);

// Replaces what encodeListingText cannot store with `replacement`, so that
// text from elsewhere can always be saved; how many characters it replaced.
int makeStorable(std::string& utf8, char replacement);

} // namespace vitrandel
