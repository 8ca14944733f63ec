#pragma once

#include <optional>
#include <string>
#include <string_view>

// The listing file is 8-bit Windows-1252. These two functions are the only
// place where its bytes and the program's UTF-8 texts meet.
namespace vitrandel::cp1252 {

std::string toUtf8(std::string_view bytes);

// Empty optional when the text holds a character the code page cannot hold
// (or is not valid UTF-8).
std::optional<std::string> fromUtf8(std::string_view text);

// Letter case of the code page, as the platform compares keys without regard to it.
char toLower(char c);
std::string toLower(std::string_view bytes);

} // namespace vitrandel::cp1252
