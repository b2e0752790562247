#include "config/number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace talveron {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct NumberCase {
    std::string text;
    double expected;
};

class ParseNumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(ParseNumberTest, ReadsTheLeadingNumber) {
    EXPECT_EQ(ParseNumber(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Decimal, ParseNumberTest,
    testing::Values(NumberCase{"12abc", 12}, NumberCase{"1 2", 12}, NumberCase{"", 0},
                    NumberCase{"-.5", -0.5}, NumberCase{".5", 0.5}, NumberCase{".", 0},
                    NumberCase{"abc", 0}, NumberCase{"+7", 7}, NumberCase{"-7", -7},
                    NumberCase{"--1", 0}, NumberCase{"+-1", 0}, NumberCase{"-", 0},
                    NumberCase{" \t\n- 1 2 . 5 x", -12.5}, NumberCase{"1.5.3", 1.5},
                    NumberCase{"1,5", 1}, NumberCase{"3.", 3}, NumberCase{"007", 7},
                    NumberCase{"0.1", 0.1}, NumberCase{"\r1", 0}, NumberCase{"1\r2", 1},
                    NumberCase{"123456789012345678901234567890", 123456789012345678901234567890.0},
                    NumberCase{"9007199254740993", 9007199254740992.0},
                    NumberCase{"0.30000000000000004441", 0.30000000000000004}));

INSTANTIATE_TEST_SUITE_P(
    Exponent, ParseNumberTest,
    testing::Values(NumberCase{"1e3", 1000}, NumberCase{"1E+3", 1000}, NumberCase{"1D3", 1000},
                    NumberCase{"1d-2", 0.01}, NumberCase{"2.5e-1", 0.25}, NumberCase{"3.e2", 300},
                    NumberCase{".5E1", 5}, NumberCase{"1 E 3", 1000}, NumberCase{"1E", 1},
                    NumberCase{"1E+", 1}, NumberCase{"1Ex5", 1}, NumberCase{"1e-x", 1},
                    NumberCase{"E5", 0}, NumberCase{"1e3.5", 1000}, NumberCase{"1e400", kInfinity},
                    NumberCase{"-1e400", -kInfinity}, NumberCase{"1e-400", 0},
                    NumberCase{"1e99999999999999999999999999", kInfinity},
                    NumberCase{"0.0001e-99999999999999999999999999", 0},
                    NumberCase{"0.00000000000000000001e20", 1}));

INSTANTIATE_TEST_SUITE_P(
    HexAndOctal, ParseNumberTest,
    testing::Values(NumberCase{"&H10", 16}, NumberCase{"&hff", 255}, NumberCase{"&HfF", 255},
                    NumberCase{"&H7FFF", 32767}, NumberCase{"&H8000", -32768},
                    NumberCase{"&HFFFF", -1}, NumberCase{"&H10000", 65536},
                    NumberCase{"&H7FFFFFFF", 2147483647}, NumberCase{"&H80000000", -2147483648.0},
                    NumberCase{"&HFFFFFFFF", -1}, NumberCase{"&H100000000", 4294967296.0},
                    NumberCase{"&H1G", 1}, NumberCase{"&HG", 0}, NumberCase{"&H", 0},
                    NumberCase{"& H 1 0", 16}, NumberCase{"&O17", 15}, NumberCase{"&o777", 511},
                    NumberCase{"&O178", 15}, NumberCase{"&O8", 0}, NumberCase{"&O177777", -1},
                    NumberCase{"&", 0}, NumberCase{"&12", 0}, NumberCase{"-&H10", 0},
                    NumberCase{"&B1", 0}));

struct RoundCase {
    double value;
    double expected;
};

class RoundHalfEvenTest : public testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfEvenTest, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(GetParam().value), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoundHalfEvenTest,
    testing::Values(RoundCase{12.5, 12}, RoundCase{13.5, 14}, RoundCase{-0.5, 0}, RoundCase{0.5, 0},
                    RoundCase{1.5, 2}, RoundCase{2.5, 2}, RoundCase{-1.5, -2}, RoundCase{-2.5, -2},
                    RoundCase{2.4, 2}, RoundCase{2.6, 3}, RoundCase{-2.6, -3}, RoundCase{-2.4, -2},
                    RoundCase{0.49999999999999994, 0},
                    RoundCase{4503599627370497.0, 4503599627370497.0},
                    RoundCase{kInfinity, kInfinity}, RoundCase{-kInfinity, -kInfinity}));

struct Int16Case {
    std::string text;
    std::optional<std::int16_t> expected;
};

class ParseInt16Test : public testing::TestWithParam<Int16Case> {};

TEST_P(ParseInt16Test, AcceptsOnlyTheSixteenBitRange) {
    EXPECT_EQ(ParseInt16(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseInt16Test,
    testing::Values(Int16Case{"12.5", 12}, Int16Case{"13.5", 14}, Int16Case{"-0.5", 0},
                    Int16Case{"32767", 32767}, Int16Case{"32766.5", 32766},
                    Int16Case{"32767.5", std::nullopt}, Int16Case{"32768", std::nullopt},
                    Int16Case{"-32768", -32768}, Int16Case{"-32768.5", -32768},
                    Int16Case{"-32769", std::nullopt}, Int16Case{"40000", std::nullopt},
                    Int16Case{"1e400", std::nullopt}, Int16Case{"-1e400", std::nullopt},
                    Int16Case{"abc", 0}, Int16Case{"&HFFFF", -1}, Int16Case{"&HFFFFFFFF", -1},
                    Int16Case{"&H10000", std::nullopt}));

struct ClampCase {
    std::string text;
    std::int16_t expected;
};

class ParseInt16ClampedTest : public testing::TestWithParam<ClampCase> {};

TEST_P(ParseInt16ClampedTest, ClampsIntoTheSixteenBitRange) {
    EXPECT_EQ(ParseInt16Clamped(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseInt16ClampedTest,
                         testing::Values(ClampCase{"40000", 32767}, ClampCase{"-40000", -32768},
                                         ClampCase{"32767.5", 32767}, ClampCase{"1e400", 32767},
                                         ClampCase{"-1e400", -32768}, ClampCase{"12.5", 12},
                                         ClampCase{"13.5", 14}, ClampCase{"yes", 0},
                                         ClampCase{"-1", -1}, ClampCase{"1", 1}));

}  // namespace
}  // namespace talveron
