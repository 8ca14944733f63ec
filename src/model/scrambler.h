// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Shifted Vigenère over the 224 codes 32..255 of the listing's code page.
// Every function works on 8-bit code-page bytes, not on UTF-8.
namespace vitrandel {

inline constexpr std::string_view kListingKey = "tornavelasquimbrad";
inline constexpr std::int16_t kListingShift = 3;

std::string encriptar(std::string_view text, std::string_view key, int shift);
std::string desencriptar(std::string_view text, std::string_view key, int shift);

// desencriptar for line after line under one key, from a table of every key
// letter and code made once: reading a full listing undoes some 60,000 codes.
class Descrambler {
public:
    Descrambler(std::string_view key, int shift);
    // `out` becomes desencriptar(text, key, shift), reusing its storage.
    void apply(std::string_view text, std::string& out) const;

private:
    std::vector<std::array<char, 256>> rows_;
};

// The table-walking form the closed forms above must agree with; kept for tests.
std::string rotar(std::string_view text, long long count);
int posicion(std::string_view haystack, std::string_view needle);
std::string encriptarLiteral(std::string_view text, std::string_view key, int shift);
std::string desencriptarLiteral(std::string_view text, std::string_view key, int shift);

} // namespace vitrandel
