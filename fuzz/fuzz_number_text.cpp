// SPDX-License-Identifier: GPL-2.0-or-later
// Numbers in a listing are read by the platform's lenient rules from text
// anyone may have edited: any text gives a finite value or an overflow, the
// roundings stay within their ranges, and every number the writer produces
// reads back as itself.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "fuzz_check.h"
#include "model/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vitrandel;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    if (const auto value = numericValue(text)) {
        FUZZ_CHECK(std::isfinite(*value));
        if (const auto i16 = toInt16(*value)) {
            FUZZ_CHECK(std::fabs(*value - *i16) <= 0.5);
            FUZZ_CHECK(toInt32(*value) && *toInt32(*value) == *i16);
        }
        if (const auto i32 = toInt32(*value))
            FUZZ_CHECK(std::fabs(*value - *i32) <= 0.5);
    }
    (void)readBooleanWord(text);

    if (size >= sizeof(std::int32_t)) {
        std::int32_t n;
        std::memcpy(&n, data, sizeof n);
        const auto read = numericValue(numberText(n));
        FUZZ_CHECK(read && toInt32(*read) && *toInt32(*read) == n);
    }
    return 0;
}
