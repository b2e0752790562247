#include "engine/results_file.h"

#include <gtest/gtest.h>

#include <string>

namespace talveron {
namespace {

// A dose line: 40 characters, the type letter at 41, then more data.
const std::string kDoseLine = std::string(40, '1') + "D 20240101";

Finding MakeFinding(std::string_view message, std::string_view record) {
    Finding finding;
    finding.level = Level::Error;
    finding.message = message;
    finding.record = record;
    finding.lineNumber = 12;
    finding.column = 5;
    finding.character = 41;
    return finding;
}

TEST(ResultsFileTest, ASectionIsNineCrLfLinesStartingWithAnEmptyOne) {
    std::string out;
    AppendFindingSection(
        out, 3, MakeFinding("Multiple dose records for same monitoring period", kDoseLine));
    EXPECT_EQ(out,
              "\r\n"
              "[3]\r\n"
              "Line=12\r\n"
              "Col=5\r\n"
              "Char=41\r\n"
              "Msg=Multiple dose records for same monitoring period\r\n"
              "Data=" +
                  kDoseLine +
                  "\r\n"
                  "Type=D\r\n"
                  "Level=ERROR\r\n");
}

TEST(ResultsFileTest, SectionsAppendToWhatIsThere) {
    std::string out = "before";
    AppendFindingSection(out, 1, MakeFinding("m", kDoseLine));
    EXPECT_EQ(out.rfind("before\r\n[1]\r\n", 0), 0u);
}

TEST(ResultsFileTest, LevelWarningIsWrittenInFull) {
    std::string out;
    Finding finding = MakeFinding("m", kDoseLine);
    finding.level = Level::Warning;
    AppendFindingSection(out, 1, finding);
    EXPECT_NE(out.find("\r\nLevel=WARNING\r\n"), std::string::npos);
}

struct TypeCase {
    const char* what;
    std::string record;
    bool headerType;
    const char* expectedLine;
};

class ResultsTypeTest : public testing::TestWithParam<TypeCase> {};

TEST_P(ResultsTypeTest, TypeIsHForTheHeaderElseCharacter41) {
    std::string out;
    Finding finding = MakeFinding("m", GetParam().record);
    finding.headerType = GetParam().headerType;
    AppendFindingSection(out, 1, finding);
    EXPECT_NE(out.find(std::string("\r\n") + GetParam().expectedLine + "\r\nLevel="),
              std::string::npos)
        << GetParam().what << "\n"
        << out;
}

INSTANTIATE_TEST_SUITE_P(
    Types, ResultsTypeTest,
    testing::Values(
        TypeCase{"header type wins over character 41", std::string(40, ' ') + "D", true, "Type=H"},
        TypeCase{"header type on a short line", "short", true, "Type=H"},
        TypeCase{"character 41 of a dose line", std::string(40, ' ') + "D", false, "Type=D"},
        TypeCase{"an unknown letter is written as it is", std::string(40, ' ') + "q   ", false,
                 "Type=q"},
        TypeCase{"a line of 40 characters has no type", std::string(40, 'x'), false, "Type="},
        TypeCase{"an empty line has no type", "", false, "Type="}));

TEST(ResultsFileTest, NumbersArePlainDecimalWithSignAndWithoutSeparators) {
    std::string out;
    Finding finding = MakeFinding("m", "");
    finding.lineNumber = 5'000'000'123;  // beyond 32 bits
    finding.column = 0;
    finding.character = -7;
    AppendFindingSection(out, 40'000, finding);  // beyond 16 bits
    EXPECT_NE(out.find("\r\n[40000]\r\nLine=5000000123\r\nCol=0\r\nChar=-7\r\nMsg=m\r\nData=\r\n"),
              std::string::npos)
        << out;
}

TEST(ResultsFileTest, TrailerIsErrorSectionWithCount) {
    std::string out;
    AppendResultsTrailer(out, 3);
    EXPECT_EQ(out, "[ERROR]\r\nCount=3\r\n");

    std::string afterSection;
    AppendFindingSection(afterSection, 1, MakeFinding("m", kDoseLine));
    AppendResultsTrailer(afterSection, 1234567);
    // No empty line before the trailer.
    const std::string tail = "Level=ERROR\r\n[ERROR]\r\nCount=1234567\r\n";
    ASSERT_GE(afterSection.size(), tail.size());
    EXPECT_EQ(afterSection.substr(afterSection.size() - tail.size()), tail);
}

}  // namespace
}  // namespace talveron
