#include "model/to_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace tesvid {
namespace {

TEST(ToNumber, DecimalCommaAndPointReadAlike) {
    EXPECT_DOUBLE_EQ(ToNumber("0,9995"), 0.9995);
    EXPECT_DOUBLE_EQ(ToNumber("0.9995"), 0.9995);
    EXPECT_DOUBLE_EQ(ToNumber("2,5E3"), 2500);
    EXPECT_DOUBLE_EQ(ToNumber(",5"), 0.5);
    EXPECT_DOUBLE_EQ(ToNumber("-3,25"), -3.25);
}

TEST(ToNumber, OnlyTheFirstCommaIsAPoint) {
    EXPECT_DOUBLE_EQ(ToNumber("1,5,2"), 1.5);
    // A point after the comma-turned-point is a second point and ends the number.
    EXPECT_DOUBLE_EQ(ToNumber("1,5.2"), 1.5);
    EXPECT_DOUBLE_EQ(ToNumber("1.5,2"), 1.5);
}

TEST(ToNumber, TakesTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(ToNumber("12 mm"), 12);
    EXPECT_DOUBLE_EQ(ToNumber("7.5kA"), 7.5);
    EXPECT_DOUBLE_EQ(ToNumber("3.4.5"), 3.4);
    EXPECT_DOUBLE_EQ(ToNumber("1E"), 1);  // exponent letter without digits
    EXPECT_DOUBLE_EQ(ToNumber("1E+x"), 1);
    EXPECT_DOUBLE_EQ(ToNumber("5."), 5);
    EXPECT_DOUBLE_EQ(ToNumber(".25"), 0.25);
    EXPECT_DOUBLE_EQ(ToNumber("+4"), 4);
}

TEST(ToNumber, TextWithoutANumberGivesZero) {
    EXPECT_EQ(ToNumber(""), 0);
    EXPECT_EQ(ToNumber("abc"), 0);
    EXPECT_EQ(ToNumber("mm 12"), 0);
    EXPECT_EQ(ToNumber("."), 0);
    EXPECT_EQ(ToNumber("-"), 0);
    EXPECT_EQ(ToNumber("E5"), 0);
    EXPECT_EQ(ToNumber("&"), 0);
    EXPECT_EQ(ToNumber("&X12"), 0);
    EXPECT_FALSE(std::signbit(ToNumber("-0")));
}

TEST(ToNumber, BlanksTabsAndLineFeedsAreSkippedAnywhere) {
    EXPECT_DOUBLE_EQ(ToNumber("1 000"), 1000);
    EXPECT_DOUBLE_EQ(ToNumber("  \t42"), 42);
    EXPECT_DOUBLE_EQ(ToNumber("- 1\n2 . 5 E 1"), -125);
    EXPECT_DOUBLE_EQ(ToNumber("0,\t5"), 0.5);
    // A carriage return is not among the skipped characters.
    EXPECT_DOUBLE_EQ(ToNumber("1\r2"), 1);
}

TEST(ToNumber, ExponentsWithEOrD) {
    EXPECT_DOUBLE_EQ(ToNumber("1D2"), 100);
    EXPECT_DOUBLE_EQ(ToNumber("1d-2"), 0.01);
    EXPECT_DOUBLE_EQ(ToNumber("1.5e+3"), 1500);
    EXPECT_DOUBLE_EQ(ToNumber("-2E-1"), -0.2);
}

TEST(ToNumber, HexAndOctalIntegers) {
    EXPECT_EQ(ToNumber("&H1F"), 31);
    EXPECT_EQ(ToNumber("&hff"), 255);
    EXPECT_EQ(ToNumber("&O17"), 15);
    EXPECT_EQ(ToNumber("&o78"), 7);  // 8 is no octal digit
    EXPECT_EQ(ToNumber("&HFFFFFFFF"), 4294967295.0);
    EXPECT_EQ(ToNumber("&H100000000"), 0);  // beyond 32 bits
    EXPECT_EQ(ToNumber("&H"), 0);
}

TEST(ToNumber, OutOfRangeGivesZeroWithoutCrashing) {
    EXPECT_EQ(ToNumber("1E400"), 0);
    EXPECT_EQ(ToNumber("-1E400"), 0);
    EXPECT_EQ(ToNumber("1E99999999999999999999999"), 0);
    EXPECT_EQ(ToNumber("1E-99999999999999999999999"), 0);
    EXPECT_EQ(ToNumber(std::string(400, '9')), 0);
    EXPECT_DOUBLE_EQ(ToNumber(std::string(300, '9')), 1e300);
    EXPECT_DOUBLE_EQ(ToNumber("1.7976931348623157E308"), 1.7976931348623157e308);
}

TEST(LeadingNumber, CommaEndsTheNumber) {
    EXPECT_EQ(LeadingNumber("12,7"), 12);
    EXPECT_EQ(LeadingNumber("1,9"), 1);
    EXPECT_DOUBLE_EQ(LeadingNumber("12.5"), 12.5);
    EXPECT_DOUBLE_EQ(LeadingNumber(" 1 3.5x"), 13.5);
    EXPECT_EQ(LeadingNumber(",5"), 0);
}

}  // namespace
}  // namespace tesvid
