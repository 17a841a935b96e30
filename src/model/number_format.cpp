#include "model/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <system_error>

namespace tesvid {
namespace {

// Long enough for any fixed-point double with up to 15 decimals (309 integer digits).
constexpr std::size_t kBufferSize = 400;

std::string NonFiniteText(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    return value < 0 ? "-Inf" : "Inf";
}

std::string WithSeparator(std::string text, char decimalSeparator) {
    if (decimalSeparator != '.') {
        for (char& c : text) {
            if (c == '.') {
                c = decimalSeparator;
            }
        }
    }
    return text;
}

// "1.5e+20" (as to_chars writes it) split into mantissa and exponent; the exponent is written
// with the given sign rule and a minimum number of digits.
std::string RewriteExponent(std::string_view text, char letter, bool plusSign, int minDigits) {
    const std::size_t e = text.find('e');
    if (e == std::string_view::npos) {
        return std::string(text);
    }
    std::string out(text.substr(0, e));
    out.push_back(letter);
    std::string_view exponent = text.substr(e + 1);
    bool negative = false;
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
        negative = exponent[0] == '-';
        exponent.remove_prefix(1);
    }
    if (negative) {
        out.push_back('-');
    } else if (plusSign) {
        out.push_back('+');
    }
    for (int k = static_cast<int>(exponent.size()); k < minDigits; ++k) {
        out.push_back('0');
    }
    out.append(exponent);
    return out;
}

template <typename T>
std::string General(T value, int digits, char decimalSeparator) {
    if (!std::isfinite(value)) {
        return NonFiniteText(static_cast<double>(value));
    }
    if (value == 0) {
        return "0";
    }
    char buffer[kBufferSize];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    return WithSeparator(RewriteExponent(text, 'E', true, 2), decimalSeparator);
}

std::string PrintFormOf(std::string text, bool negative, bool trailingSpace) {
    // Drop the 0 before the decimal separator of values below 1 in absolute value.
    const std::size_t digitsStart = negative ? 1 : 0;
    if (text.size() > digitsStart + 1 && text[digitsStart] == '0' &&
        (text[digitsStart + 1] < '0' || text[digitsStart + 1] > '9')) {
        text.erase(digitsStart, 1);
    }
    if (!negative) {
        text.insert(text.begin(), ' ');
    }
    if (trailingSpace) {
        text.push_back(' ');
    }
    return text;
}

std::string Scientific(double value, int decimals, char letter, bool plusSign, int minDigits,
                       char decimalSeparator) {
    if (!std::isfinite(value)) {
        return NonFiniteText(value);
    }
    if (value == 0) {
        value = 0;  // no sign for negative zero
    }
    char buffer[kBufferSize];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, decimals);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    return WithSeparator(RewriteExponent(text, letter, plusSign, minDigits), decimalSeparator);
}

}  // namespace

double RoundHalfEven(double value) {
    return std::nearbyint(value);
}

double RoundHalfEven(double value, int decimals) {
    if (!std::isfinite(value) || decimals < 0 || decimals > 15 ||
        std::fabs(value) >= 4503599627370496.0) {  // 2^52: already an integer
        return value;
    }
    // to_chars rounds the exact binary value; exact ties go to the even neighbour.
    char buffer[kBufferSize];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    double rounded = 0;
    std::from_chars(buffer, written.ptr, rounded);
    return rounded == 0 ? 0.0 : rounded;
}

std::string GeneralText(double value, char decimalSeparator) {
    return General(value, 15, decimalSeparator);
}

std::string GeneralTextSingle(float value, char decimalSeparator) {
    return General(value, 7, decimalSeparator);
}

std::string PrintForm(double value, bool trailingSpace, char decimalSeparator) {
    return PrintFormOf(GeneralText(value, decimalSeparator), value < 0, trailingSpace);
}

std::string PrintFormSingle(float value, bool trailingSpace, char decimalSeparator) {
    return PrintFormOf(GeneralTextSingle(value, decimalSeparator), value < 0, trailingSpace);
}

std::string FormatFixed1(double value, char decimalSeparator) {
    if (!std::isfinite(value)) {
        return NonFiniteText(value);
    }
    char buffer[kBufferSize];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    std::string text(buffer, result.ptr);
    if (text == "-0.0") {
        text = "0.0";
    }
    return WithSeparator(std::move(text), decimalSeparator);
}

std::string FormatScientific3(double value, char decimalSeparator) {
    return Scientific(value, 3, 'e', false, 2, decimalSeparator);
}

std::string FormatScientific1(double value, char decimalSeparator) {
    return Scientific(value, 1, 'E', true, 3, decimalSeparator);
}

}  // namespace tesvid
