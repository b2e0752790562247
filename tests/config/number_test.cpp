#include "config/number.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string_view>

namespace talveron {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct Num {
    std::string_view text;
    double value;
};

template <typename... Nums>
void ExpectNumbers(const Nums&... cases) {
    for (const Num& c : {cases...}) EXPECT_EQ(ParseNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(ParseNumberTest, ReadsTheLeadingDecimalNumber) {
    ExpectNumbers(Num{"12abc", 12}, Num{"1 2", 12}, Num{"", 0}, Num{"-.5", -0.5}, Num{".5", 0.5},
                  Num{".", 0}, Num{"abc", 0}, Num{"+7", 7}, Num{"--1", 0}, Num{"+-1", 0},
                  Num{"-", 0}, Num{" \t\n- 1 2 . 5 x", -12.5}, Num{"1.5.3", 1.5}, Num{"1,5", 1},
                  Num{"3.", 3}, Num{"007", 7}, Num{"0.1", 0.1}, Num{"\r1", 0}, Num{"1\r2", 1},
                  Num{"123456789012345678901234567890", 123456789012345678901234567890.0},
                  Num{"9007199254740993", 9007199254740992.0},
                  Num{"0.30000000000000004441", 0.30000000000000004});
}

TEST(ParseNumberTest, ReadsAnExponentAfterEOrD) {
    ExpectNumbers(
        Num{"1e3", 1000}, Num{"1E+3", 1000}, Num{"1D3", 1000}, Num{"1d-2", 0.01}, Num{"3.e2", 300},
        Num{".5E1", 5}, Num{"1 E 3", 1000}, Num{"1E", 1}, Num{"1E+", 1}, Num{"1Ex5", 1},
        Num{"1e-x", 1}, Num{"E5", 0}, Num{"1e3.5", 1000}, Num{"1e400", kInfinity},
        Num{"-1e400", -kInfinity}, Num{"1e-400", 0}, Num{"1e99999999999999999999999999", kInfinity},
        Num{"0.0001e-99999999999999999999999999", 0}, Num{"0.00000000000000000001e20", 1});
}

TEST(ParseNumberTest, ReadsHexadecimalAndOctal) {
    ExpectNumbers(Num{"&H10", 16}, Num{"&hfF", 255}, Num{"&H7FFF", 32767}, Num{"&H8000", -32768},
                  Num{"&HFFFF", -1}, Num{"&H10000", 65536}, Num{"&H7FFFFFFF", 2147483647},
                  Num{"&H80000000", -2147483648.0}, Num{"&HFFFFFFFF", -1},
                  Num{"&H100000000", 4294967296.0}, Num{"&H1G", 1}, Num{"&HG", 0}, Num{"&H", 0},
                  Num{"& H 1 0", 16}, Num{"&o17", 15}, Num{"&O178", 15}, Num{"&O8", 0},
                  Num{"&O177777", -1}, Num{"&", 0}, Num{"&12", 0}, Num{"-&H10", 0}, Num{"&B1", 0});
}

TEST(RoundHalfEvenTest, RoundsHalvesToTheEvenNeighbour) {
    struct Rounding {
        double value;
        double expected;
    };
    for (const Rounding& c :
         {Rounding{-0.5, 0}, Rounding{0.5, 0}, Rounding{1.5, 2}, Rounding{2.5, 2},
          Rounding{-1.5, -2}, Rounding{-2.5, -2}, Rounding{2.4, 2}, Rounding{2.6, 3},
          Rounding{-2.6, -3}, Rounding{-2.4, -2}, Rounding{0.49999999999999994, 0},
          Rounding{4503599627370497.0, 4503599627370497.0}, Rounding{kInfinity, kInfinity},
          Rounding{-kInfinity, -kInfinity}}) {
        EXPECT_EQ(RoundHalfEven(c.value), c.expected) << c.value;
    }
}

TEST(ParseInt16Test, AcceptsOrClampsIntoTheSixteenBitRange) {
    struct Int16 {
        std::string_view text;
        std::optional<std::int16_t> exact;
        std::int16_t clamped;
    };
    constexpr std::nullopt_t kOut = std::nullopt;
    for (const Int16& c :
         {Int16{"12.5", 12, 12}, Int16{"13.5", 14, 14}, Int16{"-0.5", 0, 0},
          Int16{"32767", 32767, 32767}, Int16{"32766.5", 32766, 32766},
          Int16{"32767.5", kOut, 32767}, Int16{"32768", kOut, 32767},
          Int16{"-32768", -32768, -32768}, Int16{"-32768.5", -32768, -32768},
          Int16{"-32769", kOut, -32768}, Int16{"1e400", kOut, 32767}, Int16{"-1e400", kOut, -32768},
          Int16{"abc", 0, 0}, Int16{"&HFFFF", -1, -1}, Int16{"&HFFFFFFFF", -1, -1},
          Int16{"&H10000", kOut, 32767}}) {
        EXPECT_EQ(ParseInt16(c.text), c.exact) << c.text;
        EXPECT_EQ(ParseInt16Clamped(c.text), c.clamped) << c.text;
    }
}

}  // namespace
}  // namespace talveron
