#include "cli/finding_printer.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

namespace talveron {
namespace {

struct Printed {
    Finding finding;
    FindingPlace place;
};

Printed SampleFinding() {
    Printed printed;
    printed.finding.code = OptionKey::DVIC;
    printed.finding.level = Level::Error;
    printed.finding.message = "Dose contains invalid character 'X'";
    printed.finding.lineNumber = 12;
    printed.finding.column = 13;
    printed.finding.character = 108;
    printed.place.recordType = 'D';
    printed.place.fieldName = "CEDE";
    printed.place.value = "0.X25";
    printed.place.spanFirst = 108;
    printed.place.spanLast = 108;
    return printed;
}

std::string Print(OutputFormat format, const Printed& printed, const std::string& file = "load.dat") {
    std::ostringstream out;
    MakeFindingPrinter(format)->finding(out, file, printed.finding, printed.place);
    return out.str();
}

TEST(GnuPrinter, ShowsTheCharacterOrTheFieldSpan) {
    Printed printed = SampleFinding();
    EXPECT_EQ(Print(OutputFormat::Gnu, printed),
              "load.dat:12.108: error: Dose contains invalid character 'X' [DVIC]\n");

    printed.finding.level = Level::Warning;
    printed.finding.code = OptionKey::NRND;
    printed.place.spanFirst = 106;
    printed.place.spanLast = 112;
    EXPECT_EQ(Print(OutputFormat::Gnu, printed),
              "load.dat:12.106-112: warning: Dose contains invalid character 'X' [NRND]\n");

    printed.place.spanFirst = printed.place.spanLast = 0;  // a field the layout lacks
    EXPECT_EQ(Print(OutputFormat::Gnu, printed),
              "load.dat:12: warning: Dose contains invalid character 'X' [NRND]\n");
}

TEST(JsonPrinter, WritesOneObjectPerLineAndSurvivesBytesThatAreNotUtf8) {
    Printed printed = SampleFinding();
    const std::string value = std::string("0.\xE9") + "\"";
    printed.place.value = value;
    const std::string line = Print(OutputFormat::Json, printed);
    ASSERT_EQ(line.back(), '\n');
    EXPECT_EQ(line.find('\n'), line.size() - 1);
    const nlohmann::json parsed = nlohmann::json::parse(line);
    EXPECT_EQ(parsed["type"], "finding");
    EXPECT_EQ(parsed["line"], 12);
    EXPECT_EQ(parsed["code"], "DVIC");
    EXPECT_EQ(parsed["level"], "ERROR");
    EXPECT_EQ(parsed["field"], 13);
    EXPECT_EQ(parsed["fieldName"], "CEDE");
    EXPECT_EQ(parsed["span"], nlohmann::json::array({108, 108}));
    EXPECT_EQ(parsed["recordType"], "D");
    EXPECT_EQ(parsed["value"], "0.\xEF\xBF\xBD\"");  // the stray byte replaced, the quote kept
}

TEST(CsvPrinter, QuotesFieldsThatNeedIt) {
    Printed printed = SampleFinding();
    printed.finding.message = "'A,B' Is not a valid value for Sex";
    printed.place.value = "say \"hi\"";
    std::ostringstream header;
    MakeFindingPrinter(OutputFormat::Csv)->start(header);
    EXPECT_EQ(header.str(),
              "file,line,record_type,field,field_name,character,span,check_code,level,message,value\r\n");
    EXPECT_EQ(Print(OutputFormat::Csv, printed, "my,load.dat"),
              "\"my,load.dat\",12,D,13,CEDE,108,108-108,DVIC,ERROR,"
              "\"'A,B' Is not a valid value for Sex\",\"say \"\"hi\"\"\"\r\n");
}

TEST(FindingPrinter, TextFormatPrintsNoFindings) { EXPECT_EQ(MakeFindingPrinter(OutputFormat::Text), nullptr); }

}  // namespace
}  // namespace talveron
