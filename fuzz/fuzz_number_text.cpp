// The number texts: arbitrary text read as a number, and a double taken from the input's first
// eight bytes written in every text form and read back. The C library's printf and strtod are
// the reference for the digits each form keeps.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "model/number_format.h"
#include "model/to_number.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// What a text form keeps of value: printf's rounding to that format, read back; 0 when the
// rounded text lies beyond the double range, as ToNumber reads it then.
double Kept(const char* format, int digits, double value) {
    char text[400];
    std::snprintf(text, sizeof text, format, digits, value);
    const double kept = std::strtod(text, nullptr);
    return std::isfinite(kept) ? kept : 0.0;
}

// Reads text as the program reads a typed number: finite, never a negative zero.
double Read(std::string_view text) {
    const double v = tesvid::ToNumber(text);
    Require(std::isfinite(v) && !(v == 0 && std::signbit(v)));
    return v;
}

// The text reads back as the value kept (a kept -0 as +0).
void RequireReadsAs(const std::string& text, double kept) {
    Require(Read(text) == kept);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tesvid;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Read(text);
    const double leading = LeadingNumber(text);
    Require(std::isfinite(leading) && !(leading == 0 && std::signbit(leading)));
    if (text.find(',') == std::string_view::npos) {
        Require(Read(text) == leading);
    }

    if (size < 8) {
        return 0;
    }
    double value = 0;
    std::memcpy(&value, data, sizeof value);
    const float single = static_cast<float>(value);
    if (!std::isfinite(value)) {
        Require(GeneralText(value) == (std::isnan(value) ? "NaN" : value < 0 ? "-Inf" : "Inf"));
        FormatFixed1(value);
        FormatScientific3(value);
        FormatScientific1(value);
        return 0;
    }
    const double general = Kept("%.*g", 15, value);
    RequireReadsAs(GeneralText(value), general);
    RequireReadsAs(GeneralText(value, ','), general);
    RequireReadsAs(PrintForm(value, true), general);
    if (std::isfinite(single)) {
        RequireReadsAs(GeneralTextSingle(single), Kept("%.*g", 7, single));
        RequireReadsAs(PrintFormSingle(single, false, ','), Kept("%.*g", 7, single));
    }
    RequireReadsAs(FormatFixed1(value), Kept("%.*f", 1, value));
    RequireReadsAs(FormatScientific3(value, ','), Kept("%.*e", 3, value));
    RequireReadsAs(FormatScientific1(value), Kept("%.*E", 1, value));
    const int decimals = data[size - 1] % 16;
    Require(RoundHalfEven(value, decimals) == Kept("%.*f", decimals, value));
    return 0;
}
