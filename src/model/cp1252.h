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

// True when the bytes are UTF-8 (shortest forms only); such text may still
// hold characters the code page cannot.
bool isUtf8(std::string_view text);

// Puts `replacement` in place of every character the code page cannot hold,
// and of every byte that is not UTF-8; answers how many were replaced.
int replaceUnsupported(std::string& utf8, char replacement);

// Letter case of the code page, as the platform compares keys without regard to it.
char toLower(char c);
std::string toLower(std::string_view bytes);

} // namespace vitrandel::cp1252
