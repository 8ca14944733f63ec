#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Shifted Vigenère over the 224 codes 32..255 of the listing's code page.
// Every function works on 8-bit code-page bytes, not on UTF-8.
namespace vitrandel {

inline constexpr std::string_view kListingKey = "tornavelasquimbrad";
inline constexpr std::int16_t kListingShift = 3;

std::string encriptar(std::string_view text, std::string_view key, int shift);
std::string desencriptar(std::string_view text, std::string_view key, int shift);

// The table-walking form the closed forms above must agree with; kept for tests.
std::string rotar(std::string_view text, long long count);
int posicion(std::string_view haystack, std::string_view needle);
std::string encriptarLiteral(std::string_view text, std::string_view key, int shift);
std::string desencriptarLiteral(std::string_view text, std::string_view key, int shift);

} // namespace vitrandel
