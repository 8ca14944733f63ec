// SPDX-License-Identifier: GPL-2.0-or-later
// The one place where the listing file's Windows-1252 bytes meet the
// program's UTF-8 texts: every byte string survives the trip to UTF-8 and
// back, and any text the code page accepts comes back as it was given.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "model/cp1252.h"

namespace {

bool validUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2)
                return false;
        i += n;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vitrandel;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string text = cp1252::toUtf8(bytes);
    FUZZ_CHECK(validUtf8(text));
    const auto back = cp1252::fromUtf8(text);
    FUZZ_CHECK(back && *back == bytes);
    FUZZ_CHECK(cp1252::toLower(bytes).size() == bytes.size());

    // The same bytes read as text typed by a user.
    if (const auto encoded = cp1252::fromUtf8(bytes)) {
        FUZZ_CHECK(validUtf8(bytes));
        FUZZ_CHECK(cp1252::toUtf8(*encoded) == bytes);
    }
    return 0;
}
