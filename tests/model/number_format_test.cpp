#include "model/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tesvid {
namespace {

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(2.6), 3);
    EXPECT_EQ(RoundHalfEven(12.5), 12);
    EXPECT_EQ(RoundHalfEven(13.5), 14);
}

TEST(RoundHalfEven, ToDecimals) {
    EXPECT_DOUBLE_EQ(RoundHalfEven(0.125, 2), 0.12);  // exact tie
    EXPECT_DOUBLE_EQ(RoundHalfEven(0.375, 2), 0.38);
    EXPECT_DOUBLE_EQ(RoundHalfEven(2.675, 2), 2.67);  // stored below the tie
    EXPECT_DOUBLE_EQ(RoundHalfEven(10.0 / 3, 2), 3.33);
    EXPECT_DOUBLE_EQ(RoundHalfEven(-1.25, 1), -1.2);
    EXPECT_DOUBLE_EQ(RoundHalfEven(99.95, 1), 100.0);  // 99.95 is stored above the tie
    EXPECT_DOUBLE_EQ(RoundHalfEven(1e20, 2), 1e20);
    EXPECT_FALSE(std::signbit(RoundHalfEven(-0.001, 2)));
}

TEST(GeneralText, ShortestTextAtFifteenDigits) {
    EXPECT_EQ(GeneralText(0), "0");
    EXPECT_EQ(GeneralText(-0.0), "0");
    EXPECT_EQ(GeneralText(2), "2");
    EXPECT_EQ(GeneralText(-2), "-2");
    EXPECT_EQ(GeneralText(0.1 + 0.2), "0.3");
    EXPECT_EQ(GeneralText(0.9995), "0.9995");
    EXPECT_EQ(GeneralText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(GeneralText(2.0 / 3), "0.666666666666667");
    EXPECT_EQ(GeneralText(123456789012345), "123456789012345");
    EXPECT_EQ(GeneralText(0.0001), "0.0001");
    EXPECT_EQ(GeneralText(-0.00025), "-0.00025");
}

TEST(GeneralText, ExponentFormOnlyForVeryLargeOrSmall) {
    EXPECT_EQ(GeneralText(0.00001), "1E-05");
    EXPECT_EQ(GeneralText(-0.000015), "-1.5E-05");
    EXPECT_EQ(GeneralText(1.5e20), "1.5E+20");
    EXPECT_EQ(GeneralText(1e15), "1E+15");
    EXPECT_EQ(GeneralText(999999999999999.0), "999999999999999");
    // Rounding to 15 digits can carry into the next decade.
    EXPECT_EQ(GeneralText(9999999999999999.0), "1E+16");
    EXPECT_EQ(GeneralText(1e-200), "1E-200");
    EXPECT_EQ(GeneralText(1.7976931348623157e308), "1.79769313486232E+308");
}

TEST(GeneralText, NonFiniteValuesHaveAText) {
    EXPECT_EQ(GeneralText(std::numeric_limits<double>::quiet_NaN()), "NaN");
    EXPECT_EQ(GeneralText(std::numeric_limits<double>::infinity()), "Inf");
    EXPECT_EQ(GeneralText(-std::numeric_limits<double>::infinity()), "-Inf");
}

TEST(GeneralText, SingleHasSevenDigits) {
    EXPECT_EQ(GeneralTextSingle(0.1f), "0.1");
    EXPECT_EQ(GeneralTextSingle(200.0f), "200");
    EXPECT_EQ(GeneralTextSingle(1.0f / 3), "0.3333333");
    EXPECT_EQ(GeneralTextSingle(1234567.0f), "1234567");
    EXPECT_EQ(GeneralTextSingle(12345678.0f), "1.234568E+07");
    EXPECT_EQ(GeneralTextSingle(0.00001f), "1E-05");
    // A single computed in double precision and stored: 100 mm area of a 0.002 step grid.
    EXPECT_EQ(GeneralTextSingle(static_cast<float>(50 * 1000 * 0.002)), "100");
}

TEST(GeneralText, LocaleDecimalSeparator) {
    EXPECT_EQ(GeneralText(0.25, ','), "0,25");
    EXPECT_EQ(GeneralText(1.5e-7, ','), "1,5E-07");
    EXPECT_EQ(GeneralTextSingle(2.5f, ','), "2,5");
}

TEST(PrintForm, SpaceForPlusAndNoLeadingZero) {
    EXPECT_EQ(PrintForm(0.5, false), " .5");
    EXPECT_EQ(PrintForm(-0.25, false), "-.25");
    EXPECT_EQ(PrintForm(2, true), " 2 ");
    EXPECT_EQ(PrintForm(-2, true), "-2 ");
    EXPECT_EQ(PrintForm(0, true), " 0 ");
    EXPECT_EQ(PrintForm(12.5, false), " 12.5");
    EXPECT_EQ(PrintForm(0.00001, false), " 1E-05");
    EXPECT_EQ(PrintForm(0.5, true, ','), " ,5 ");
    EXPECT_EQ(PrintFormSingle(0.75f, true), " .75 ");
    EXPECT_EQ(PrintFormSingle(-1.5f, false), "-1.5");
}

TEST(FormatFixed1, OneDecimalRounded) {
    EXPECT_EQ(FormatFixed1(0), "0.0");
    EXPECT_EQ(FormatFixed1(0.04), "0.0");
    EXPECT_EQ(FormatFixed1(-0.04), "0.0");
    EXPECT_EQ(FormatFixed1(0.06), "0.1");
    EXPECT_EQ(FormatFixed1(150.9), "150.9");
    EXPECT_EQ(FormatFixed1(9848.43), "9848.4");
    EXPECT_EQ(FormatFixed1(-12.34), "-12.3");
    EXPECT_EQ(FormatFixed1(0.25), "0.2");  // exact tie, even neighbour
    EXPECT_EQ(FormatFixed1(0.75), "0.8");
    EXPECT_EQ(FormatFixed1(1480, ','), "1480,0");
    EXPECT_EQ(FormatFixed1(1e20), "100000000000000000000.0");
}

TEST(FormatScientific3, Pattern) {
    EXPECT_EQ(FormatScientific3(0.01234), "1.234e-02");
    EXPECT_EQ(FormatScientific3(1.5), "1.500e00");
    EXPECT_EQ(FormatScientific3(0), "0.000e00");
    EXPECT_EQ(FormatScientific3(-0.0), "0.000e00");
    EXPECT_EQ(FormatScientific3(-0.321), "-3.210e-01");
    EXPECT_EQ(FormatScientific3(12346), "1.235e04");   // rounded
    EXPECT_EQ(FormatScientific3(12345), "1.234e04");   // exact tie, even neighbour
    EXPECT_EQ(FormatScientific3(9.9996), "1.000e01");  // carry into the exponent
    EXPECT_EQ(FormatScientific3(1e-100), "1.000e-100");
    EXPECT_EQ(FormatScientific3(static_cast<float>(-3.4e-3)), "-3.400e-03");
    EXPECT_EQ(FormatScientific3(0.01234, ','), "1,234e-02");
}

TEST(FormatScientific1, Pattern) {
    EXPECT_EQ(FormatScientific1(0.1234), "1.2E-001");
    EXPECT_EQ(FormatScientific1(0.0996), "1.0E-001");
    EXPECT_EQ(FormatScientific1(1e-200), "1.0E-200");
    EXPECT_EQ(FormatScientific1(0.95), "9.5E-001");
    EXPECT_EQ(FormatScientific1(9.96), "1.0E+001");
    EXPECT_EQ(FormatScientific1(0), "0.0E+000");
    EXPECT_EQ(FormatScientific1(-2.5e5), "-2.5E+005");
    EXPECT_EQ(FormatScientific1(0.1234, ','), "1,2E-001");
}

}  // namespace
}  // namespace tesvid
