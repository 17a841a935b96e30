#include "model/to_number.h"

#include <charconv>
#include <cstdint>
#include <string>
#include <system_error>

namespace tesvid {
namespace {

bool IsSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Value of one digit in the given radix, or -1.
int DigitValue(char c, int radix) {
    int v = -1;
    if (c >= '0' && c <= '9') {
        v = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        v = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        v = c - 'A' + 10;
    }
    return v < radix ? v : -1;
}

// &H / &O integer after the prefix; at least one digit, at most 32 bits.
double RadixInteger(const std::string& s, std::size_t pos, int radix) {
    std::uint64_t value = 0;
    bool any = false;
    for (; pos < s.size(); ++pos) {
        const int d = DigitValue(s[pos], radix);
        if (d < 0) {
            break;
        }
        value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
        if (value > 0xFFFFFFFFull) {
            return 0;
        }
        any = true;
    }
    return any ? static_cast<double>(value) : 0;
}

// The leading number of text from which the skipped characters have been removed.
double ParseCompact(const std::string& s) {
    if (s.size() >= 2 && s[0] == '&') {
        const char p = s[1];
        if (p == 'H' || p == 'h') {
            return RadixInteger(s, 2, 16);
        }
        if (p == 'O' || p == 'o') {
            return RadixInteger(s, 2, 8);
        }
        return 0;
    }

    // Collect the number in the form from_chars reads: [-]digits[.digits][e[-]digits].
    std::string number;
    std::size_t pos = 0;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
        if (s[pos] == '-') {
            number.push_back('-');
        }
        ++pos;
    }
    bool mantissaDigits = false;
    while (pos < s.size() && IsDigit(s[pos])) {
        number.push_back(s[pos++]);
        mantissaDigits = true;
    }
    if (pos < s.size() && s[pos] == '.') {
        number.push_back('.');
        ++pos;
        while (pos < s.size() && IsDigit(s[pos])) {
            number.push_back(s[pos++]);
            mantissaDigits = true;
        }
    }
    if (!mantissaDigits) {
        return 0;
    }
    if (pos < s.size() && (s[pos] == 'E' || s[pos] == 'e' || s[pos] == 'D' || s[pos] == 'd')) {
        std::size_t p = pos + 1;
        std::string exponent = "e";
        if (p < s.size() && (s[p] == '+' || s[p] == '-')) {
            if (s[p] == '-') {
                exponent.push_back('-');
            }
            ++p;
        }
        bool exponentDigits = false;
        while (p < s.size() && IsDigit(s[p])) {
            exponent.push_back(s[p++]);
            exponentDigits = true;
        }
        // An exponent letter without digits ends the number before the letter.
        if (exponentDigits) {
            number += exponent;
        }
    }

    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc{} || end != number.data() + number.size()) {
        return 0;
    }
    return value == 0 ? 0.0 : value;
}

double Parse(std::string_view text, bool commaIsPoint) {
    std::string compact;
    compact.reserve(text.size());
    bool commaSeen = !commaIsPoint;
    for (char c : text) {
        if (IsSkipped(c)) {
            continue;
        }
        if (c == ',' && !commaSeen) {
            commaSeen = true;
            c = '.';
        }
        compact.push_back(c);
    }
    return ParseCompact(compact);
}

}  // namespace

double ToNumber(std::string_view text) {
    return Parse(text, true);
}

double LeadingNumber(std::string_view text) {
    return Parse(text, false);
}

}  // namespace tesvid
