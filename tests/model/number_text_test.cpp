// The one conversion of text into numbers and the number forms every read-out uses.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "model/number_format.h"
#include "model/to_number.h"

namespace tesvid {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ToNumber, ReadsTheLeadingNumberOfAnyText) {
    const struct {
        std::string text;
        double value;
    } cases[] = {
        // clang-format off
        // The first comma is a decimal point; a second one, or a point after it, ends the number.
        {"2,5E3", 2500}, {",5", 0.5}, {"1,5,2", 1.5}, {"1,5.2", 1.5}, {"1.5,2", 1.5},
        // The leading number; reading stops where the number cannot go on.
        {"7.5kA", 7.5}, {"3.4.5", 3.4}, {"1E+x", 1}, {"5.", 5}, {"+4", 4},
        // Blanks, tabs and line feeds are skipped anywhere; a carriage return is not.
        {"  \t42", 42}, {"- 1\n2 . 5 E 1", -125}, {"1\r2", 1}, {"1D2", 100}, {"1d-2", 0.01},
        // Hexadecimal and octal integers of at most 32 bits.
        {"&hff", 255}, {"&o78", 7}, {"&HFFFFFFFF", 4294967295.0}, {"&H100000000", 0}, {"&X12", 0},
        // No number, or out of the double range: 0, never a failure.
        {"", 0}, {"mm 12", 0}, {".", 0}, {"E5", 0}, {"-1E400", 0}, {"1E-99999999999999999999999", 0},
        {std::string(400, '9'), 0}, {std::string(300, '9'), 1e300},
        {"1.7976931348623157E308", 1.7976931348623157e308}};
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(ToNumber(c.text), c.value) << '"' << c.text << '"';
    }
    EXPECT_FALSE(std::signbit(ToNumber("-0")));
    // The plain parse ends a number at a comma.
    EXPECT_EQ(LeadingNumber("12,7"), 12);
    EXPECT_EQ(LeadingNumber(",5"), 0);
    EXPECT_DOUBLE_EQ(LeadingNumber(" 1 3.5x"), 13.5);
}

TEST(RoundHalfEven, TiesGoToTheEvenNeighbourOfTheExactValue) {
    // clang-format off
    for (const auto& [value, decimals, rounded] :
         {std::tuple{2.5, -1, 2.0}, {3.5, -1, 4.0}, {-2.5, -1, -2.0}, {2.6, -1, 3.0},
          {0.125, 2, 0.12}, {2.675, 2, 2.67} /* stored below the tie */,
          {-1.25, 1, -1.2}, {99.95, 1, 100.0} /* stored above the tie */, {1e20, 2, 1e20}}) {
        // clang-format on
        EXPECT_DOUBLE_EQ(decimals < 0 ? RoundHalfEven(value) : RoundHalfEven(value, decimals),
                         rounded)
            << value << " to " << decimals;
    }
    EXPECT_FALSE(std::signbit(RoundHalfEven(-0.001, 2)));
}

using Format = std::string (*)(double, char);
std::string Print(double v, char s) {
    return PrintForm(v, true, s);
}
std::string Single(double v, char s) {
    return GeneralTextSingle(static_cast<float>(v), s);
}
std::string PrintSingle(double v, char s) {
    return PrintFormSingle(static_cast<float>(v), false, s);
}

TEST(NumberFormat, EveryFormOnItsEdgeCases) {
    const struct {
        Format format;
        double value;
        const char* text;
        char separator = '.';
    } cases[] = {
        // clang-format off
        // General text: 15 significant digits, exponent form outside 1e-5 .. 1e15.
        {GeneralText, -0.0, "0"}, {GeneralText, 0.1 + 0.2, "0.3"},
        {GeneralText, 2.0 / 3, "0.666666666666667"}, {GeneralText, 123456789012345, "123456789012345"},
        {GeneralText, 0.0001, "0.0001"}, {GeneralText, 0.00001, "1E-05"}, {GeneralText, 1e15, "1E+15"},
        {GeneralText, 9999999999999999.0, "1E+16"}, {GeneralText, 1e-200, "1E-200"},
        {GeneralText, NAN, "NaN"}, {GeneralText, -kInf, "-Inf"}, {GeneralText, 1.5e-7, "1,5E-07", ','},
        // Singles: 7 digits; a single computed in double precision and stored.
        {Single, 1.0 / 3, "0.3333333"}, {Single, 1234567, "1234567"}, {Single, 12345678, "1.234568E+07"},
        {Single, 50 * 1000 * 0.002, "100"}, {Single, 2.5, "2,5", ','},
        // Print form: a space for the plus sign, no 0 before the separator, a trailing space.
        {Print, 0.5, " .5 "}, {Print, -0.25, "-.25 "}, {Print, 0, " 0 "}, {Print, 0.00001, " 1E-05 "},
        {Print, 0.5, " ,5 ", ','}, {PrintSingle, -1.5, "-1.5"},
        // "0.0", rounded half to even on the exact value, no sign on zero.
        {FormatFixed1, -0.04, "0.0"}, {FormatFixed1, 0.06, "0.1"}, {FormatFixed1, -12.34, "-12.3"},
        {FormatFixed1, 0.25, "0.2"}, {FormatFixed1, 0.75, "0.8"}, {FormatFixed1, 1480, "1480,0", ','},
        {FormatFixed1, 1e20, "100000000000000000000.0"},
        // "0.000e-00".
        {FormatScientific3, 1.5, "1.500e00"}, {FormatScientific3, -0.0, "0.000e00"},
        {FormatScientific3, -0.321, "-3.210e-01"}, {FormatScientific3, 12345, "1.234e04"},
        {FormatScientific3, 9.9996, "1.000e01"}, {FormatScientific3, 1e-100, "1.000e-100"},
        {FormatScientific3, 0.01234, "1,234e-02", ','},
        // "0.0E+000".
        {FormatScientific1, 0.0996, "1.0E-001"}, {FormatScientific1, 1e-200, "1.0E-200"},
        {FormatScientific1, 9.96, "1.0E+001"}, {FormatScientific1, 0, "0.0E+000"},
        {FormatScientific1, -2.5e5, "-2.5E+005"}, {FormatScientific1, 0.1234, "1,2E-001", ','}};
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(c.format(c.value, c.separator), c.text) << c.value;
    }
}

}  // namespace
}  // namespace tesvid
