#include "cli/finding_printer.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

namespace talveron {
namespace {

struct Printed {
    Finding finding{.code = OptionKey::DVIC,
                    .level = Level::Error,
                    .message = "Dose contains invalid character 'X'",
                    .lineNumber = 12,
                    .column = 13,
                    .character = 108,
                    .headerType = false,
                    .record = {},
                    .counted = Level::Error};
    FindingPlace place{.recordType = 'D',
                       .fieldName = "CEDE",
                       .value = "0.X25",
                       .spanFirst = 108,
                       .spanLast = 108};
};

std::string Print(OutputFormat format, const Printed& printed,
                  const std::string& file = "load.dat") {
    std::ostringstream out;
    MakeFindingPrinter(format)->finding(out, file, printed.finding, printed.place);
    return out.str();
}

TEST(GnuPrinter, ShowsTheCharacterOrTheFieldSpan) {
    Printed printed;
    EXPECT_EQ(Print(OutputFormat::Gnu, printed),
              "load.dat:12.108: error: Dose contains invalid character 'X' [DVIC]\n");

    printed.finding.counted = Level::Warning;  // printed as counted, whatever the results file says
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
    Printed printed;
    const std::string value = std::string("0.\xE9") + "\"";
    printed.place.value = value;
    const std::string line = Print(OutputFormat::Json, printed);
    ASSERT_EQ(line.find('\n'), line.size() - 1);
    // The stray byte is replaced, the quote kept.
    EXPECT_EQ(nlohmann::json::parse(line), nlohmann::json::parse(R"({
        "type": "finding", "file": "load.dat", "line": 12, "recordType": "D", "field": 13,
        "fieldName": "CEDE", "character": 108, "span": [108, 108], "code": "DVIC",
        "level": "ERROR", "writtenLevel": "ERROR", "message": "Dose contains invalid character 'X'",
        "value": "0.\ufffd\""
    })"));
}

TEST(CsvPrinter, QuotesFieldsThatNeedIt) {
    Printed printed;
    printed.finding.message = "'A,B' Is not a valid value for Sex";
    printed.place.value = "say \"hi\"";
    std::ostringstream header;
    MakeFindingPrinter(OutputFormat::Csv)->start(header);
    EXPECT_EQ(header.str(),
              "file,line,record_type,field,field_name,character,span,check_code,level,message,"
              "value,written_level\r\n");
    EXPECT_EQ(Print(OutputFormat::Csv, printed, "my,load.dat"),
              "\"my,load.dat\",12,D,13,CEDE,108,108-108,DVIC,ERROR,"
              "\"'A,B' Is not a valid value for Sex\",\"say \"\"hi\"\"\",ERROR\r\n");
}

TEST(FindingPrinter, TextFormatPrintsNoFindings) {
    EXPECT_EQ(MakeFindingPrinter(OutputFormat::Text), nullptr);
}

}  // namespace
}  // namespace talveron
