// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/number_text.h"

#include <charconv>
#include <cmath>
#include <string>

#include "model/cp1252.h"

namespace vitrandel {
namespace {

bool skippable(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Reads characters one at a time, skipping blanks wherever they stand.
class Cursor {
public:
    explicit Cursor(std::string_view t) : text_(t) {}
    char peek() {
        while (pos_ < text_.size() && skippable(text_[pos_]))
            ++pos_;
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    void next() { ++pos_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

int digitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

std::optional<double> radixValue(Cursor& cur, int base) {
    unsigned long long v = 0;
    bool any = false;
    for (int d; (d = digitValue(cur.peek(), base)) >= 0; cur.next()) {
        v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        if (v > 0xFFFFFFFFull)
            return std::nullopt;
        any = true;
    }
    if (!any)
        return 0.0;
    // Hexadecimal and octal literals take the sign of their own width.
    if (v <= 0xFFFF)
        return static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(v)));
    return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
}

} // namespace

std::optional<double> numericValue(std::string_view text) {
    Cursor cur(text);
    if (cur.peek() == '&') {
        cur.next();
        const char r = cur.peek();
        if (r == 'h' || r == 'H') {
            cur.next();
            return radixValue(cur, 16);
        }
        if (r == 'o' || r == 'O') {
            cur.next();
            return radixValue(cur, 8);
        }
        return 0.0;
    }
    std::string literal;
    if (cur.peek() == '+' || cur.peek() == '-') {
        literal += cur.peek();
        cur.next();
    }
    bool digits = false;
    for (; cur.peek() >= '0' && cur.peek() <= '9'; cur.next()) {
        literal += cur.peek();
        digits = true;
    }
    if (cur.peek() == '.') {
        literal += '.';
        cur.next();
        for (; cur.peek() >= '0' && cur.peek() <= '9'; cur.next()) {
            literal += cur.peek();
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    const char e = cur.peek();
    if (e == 'e' || e == 'E' || e == 'd' || e == 'D') {
        cur.next();
        std::string exponent;
        if (cur.peek() == '+' || cur.peek() == '-') {
            exponent += cur.peek();
            cur.next();
        }
        bool expDigits = false;
        for (; cur.peek() >= '0' && cur.peek() <= '9'; cur.next()) {
            if (exponent.size() < 8)
                exponent += cur.peek();
            expDigits = true;
        }
        if (expDigits)
            literal += 'e' + exponent;
    }
    // from_chars, not strtod: the decimal point must not follow the user's locale.
    const char* begin = literal.data() + (literal[0] == '+' ? 1 : 0);
    double v = 0;
    const auto [end, ec] = std::from_chars(begin, literal.data() + literal.size(), v);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // Underflow towards zero is a zero; only a too-large value overflows.
        const auto epos = literal.find('e');
        if (epos != std::string::npos && literal[epos + 1] == '-')
            return 0.0;
        return std::nullopt;
    }
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

namespace {
std::optional<long long> roundHalfEven(double value, double lo, double hi) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = std::nearbyint(value); // default rounding mode: halves to even
    if (r < lo || r > hi)
        return std::nullopt;
    return static_cast<long long>(r);
}
} // namespace

std::optional<std::int16_t> toInt16(double value) {
    const auto r = roundHalfEven(value, -32768.0, 32767.0);
    if (!r)
        return std::nullopt;
    return static_cast<std::int16_t>(*r);
}

std::optional<std::int32_t> toInt32(double value) {
    const auto r = roundHalfEven(value, -2147483648.0, 2147483647.0);
    if (!r)
        return std::nullopt;
    return static_cast<std::int32_t>(*r);
}

std::string numberText(long long value) {
    // Built in place: GCC 12 warns falsely (-Wrestrict) about " " + to_string() in Release.
    std::string text(value < 0 ? 0 : 1, ' ');
    text += std::to_string(value);
    return text;
}

std::string booleanWord(std::int16_t value) { return value != 0 ? "True" : "False"; }

bool readBooleanWord(std::string_view bytes) {
    const auto first = bytes.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return false;
    const auto last = bytes.find_last_not_of(' ');
    const std::string word = cp1252::toLower(bytes.substr(first, last - first + 1));
    return word == "true" || word == "verdadero";
}

} // namespace vitrandel
