// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/scrambler.h"

namespace vitrandel {
namespace {

constexpr int kAlphabetSize = 224;

int floorMod(long long a, int m) {
    const long long r = a % m;
    return static_cast<int>(r < 0 ? r + m : r);
}

// 1-based position of a code in the alphabet, -1 for codes below 32.
int alphabetPosition(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 32 ? b - 31 : -1;
}

char alphabetChar(int position) { return static_cast<char>(position + 31); }

std::string alphabet() {
    std::string a;
    for (int code = 32; code <= 255; ++code)
        a += static_cast<char>(code);
    return a;
}

} // namespace

std::string encriptar(std::string_view text, std::string_view key, int shift) {
    if (key.empty())
        return {};
    std::string out(text.size(), ' ');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int b = alphabetPosition(key[i % key.size()]);
        const int c = alphabetPosition(text[i]);
        out[i] = alphabetChar(floorMod(static_cast<long long>(b) + c + shift - 1 + 62, kAlphabetSize) + 1);
    }
    return out;
}

namespace {

char decodeByte(char keyChar, char textChar, int shift) {
    const int b = alphabetPosition(keyChar);
    const int c = alphabetPosition(textChar);
    int p;
    if (c < 0) {
        p = kAlphabetSize - 64; // a stray control code: position -1 of the rotated table
    } else {
        const int e = floorMod(static_cast<long long>(c) - 1 - (shift + b - 1), kAlphabetSize) + 1;
        p = e - 63;
        while (p < 1)
            p += kAlphabetSize;
    }
    return alphabetChar(p);
}

} // namespace

std::string desencriptar(std::string_view text, std::string_view key, int shift) {
    if (key.empty())
        return {};
    std::string out(text.size(), ' ');
    for (std::size_t i = 0; i < text.size(); ++i)
        out[i] = decodeByte(key[i % key.size()], text[i], shift);
    return out;
}

Descrambler::Descrambler(std::string_view key, int shift) : rows_(key.size()) {
    for (std::size_t k = 0; k < key.size(); ++k)
        for (int code = 0; code < 256; ++code)
            rows_[k][static_cast<std::size_t>(code)] = decodeByte(key[k], static_cast<char>(code), shift);
}

void Descrambler::apply(std::string_view text, std::string& out) const {
    out.clear();
    if (rows_.empty())
        return;
    out.resize(text.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        out[i] = rows_[k][static_cast<unsigned char>(text[i])];
        if (++k == rows_.size())
            k = 0;
    }
}

int posicion(std::string_view haystack, std::string_view needle) {
    if (needle.size() > haystack.size())
        return -1;
    int found = -1;
    for (std::size_t s = 0; s + needle.size() <= haystack.size(); ++s)
        if (haystack.substr(s, needle.size()) == needle)
            found = static_cast<int>(s) + 1;
    return found;
}

std::string rotar(std::string_view text, long long count) {
    if (text.empty())
        return {};
    const auto n = static_cast<long long>(text.size());
    long long k = count % n;
    if (k < 0)
        k += n;
    std::string out(text.substr(static_cast<std::size_t>(k)));
    out += text.substr(0, static_cast<std::size_t>(k));
    return out;
}

std::string encriptarLiteral(std::string_view text, std::string_view key, int shift) {
    if (key.empty() || text.empty())
        return {};
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string a = alphabet();
        const int b = posicion(a, std::string_view(&key[i % key.size()], 1));
        const int c = posicion(a, std::string_view(&text[i], 1));
        const int v = b + c + shift - 1;
        out += a[static_cast<std::size_t>(floorMod(v + 62, kAlphabetSize))];
    }
    return out;
}

std::string desencriptarLiteral(std::string_view text, std::string_view key, int shift) {
    if (key.empty() || text.empty())
        return {};
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string a = alphabet();
        const int b = posicion(a, std::string_view(&key[i % key.size()], 1));
        const std::string r = rotar(a, shift + b - 1);
        const int e = posicion(r, std::string_view(&text[i], 1));
        int p = e - 63;
        while (p < 1)
            p += kAlphabetSize;
        out += a[static_cast<std::size_t>(p - 1)];
    }
    return out;
}

} // namespace vitrandel
