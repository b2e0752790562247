#include "run/results_file.h"

#include <gtest/gtest.h>

#include <string>

namespace talveron {
namespace {

// A dose line: 40 characters, the type letter at 41, then more data.
const std::string kDoseLine = std::string(40, '1') + "D 20240101";

/// An error on line 12 at column 5, character 41.
Finding MakeFinding(std::string_view message, std::string_view record) {
    return {OptionKey::IRT, Level::Error, message, 12, 5, 41, false, record};
}

TEST(ResultsFileTest, ASectionIsNineCrLfLinesStartingWithAnEmptyOne) {
    std::string out;
    AppendFindingSection(
        out, 3, MakeFinding("Multiple dose records for same monitoring period", kDoseLine));
    EXPECT_EQ(out,
              "\r\n[3]\r\nLine=12\r\nCol=5\r\nChar=41\r\n"
              "Msg=Multiple dose records for same monitoring period\r\nData=" +
                  kDoseLine + "\r\nType=D\r\nLevel=ERROR\r\n");
}

TEST(ResultsFileTest, ASectionIsAppendedWithItsLevelInFull) {
    std::string out = "before";
    Finding finding = MakeFinding("m", kDoseLine);
    finding.level = Level::Warning;
    AppendFindingSection(out, 1, finding);
    EXPECT_EQ(out, "before\r\n[1]\r\nLine=12\r\nCol=5\r\nChar=41\r\nMsg=m\r\nData=" + kDoseLine +
                       "\r\nType=D\r\nLevel=WARNING\r\n");
}

TEST(ResultsFileTest, TypeIsHForTheHeaderElseCharacter41) {
    struct Case {
        std::string record;
        bool headerType;
        const char* type;
    };
    const Case cases[] = {
        {std::string(40, ' ') + "D", true, "H"},  // the header type wins over character 41
        {"short", true, "H"},
        {std::string(40, ' ') + "D", false, "D"},
        {std::string(40, ' ') + "q   ", false, "q"},  // an unknown letter is written as it is
        {std::string(40, 'x'), false, ""},            // a line of 40 characters has no type
        {"", false, ""},
    };
    for (const Case& c : cases) {
        std::string out;
        Finding finding = MakeFinding("m", c.record);
        finding.headerType = c.headerType;
        AppendFindingSection(out, 1, finding);
        EXPECT_TRUE(
            out.ends_with("\r\nData=" + c.record + "\r\nType=" + c.type + "\r\nLevel=ERROR\r\n"))
            << out;
    }
}

TEST(ResultsFileTest, NumbersArePlainDecimalWithSignAndWithoutSeparators) {
    std::string out;
    Finding finding = MakeFinding("m", "");
    finding.lineNumber = 5'000'000'123;  // beyond 32 bits
    finding.column = 0;
    finding.character = -7;
    AppendFindingSection(out, 40'000, finding);  // beyond 16 bits
    EXPECT_EQ(out,
              "\r\n[40000]\r\nLine=5000000123\r\nCol=0\r\nChar=-7\r\nMsg=m\r\nData=\r\nType=\r\n"
              "Level=ERROR\r\n");
}

TEST(ResultsFileTest, TheTrailerIsAnErrorSectionWithTheCountAndNoEmptyLineBefore) {
    std::string out = "Level=ERROR\r\n";
    AppendResultsTrailer(out, 1234567);
    EXPECT_EQ(out, "Level=ERROR\r\n[ERROR]\r\nCount=1234567\r\n");
}

}  // namespace
}  // namespace talveron
