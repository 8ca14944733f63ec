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
std::optional<std::string> encodeListingText(std::string_view utf8);

} // namespace vitrandel
