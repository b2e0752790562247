#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace talveron {
namespace {

CliParse Parse(std::vector<std::string> arguments) { return ParseCliOptions(arguments); }

TEST(CliOptions, ReadsEveryOptionInBothSpellings) {
    const CliParse parse = Parse({"--config", "/etc/t.cfg", "--as-of=20240315", "-j", "3",
                                  "--format=json", "-q", "a.dat", "b.dat"});
    ASSERT_EQ(parse.error, "");
    const CliOptions& options = parse.options;
    EXPECT_EQ(options.configPath, std::filesystem::path("/etc/t.cfg"));
    ASSERT_TRUE(options.asOf.has_value());
    EXPECT_EQ(*options.asOf, (LocalDateTime{2024, 3, 15, 0, 0, 0}));
    EXPECT_EQ(options.jobs, 3);
    EXPECT_EQ(options.format, OutputFormat::Json);
    EXPECT_TRUE(options.quiet);
    EXPECT_EQ(options.loadFiles, (std::vector<std::filesystem::path>{"a.dat", "b.dat"}));
}

TEST(CliOptions, AsOfTakesTheTimeOfDayToo) {
    const CliParse parse = Parse({"--as-of", "20231231235958", "x.dat"});
    ASSERT_EQ(parse.error, "");
    EXPECT_EQ(*parse.options.asOf, (LocalDateTime{2023, 12, 31, 23, 59, 58}));
}

TEST(CliOptions, DoubleDashEndsOptions) {
    const CliParse parse = Parse({"--", "--quiet", "-j"});
    ASSERT_EQ(parse.error, "");
    EXPECT_FALSE(parse.options.quiet);
    EXPECT_EQ(parse.options.loadFiles.size(), 2u);
}

TEST(CliOptions, RejectsWhatItCannotUse) {
    struct Case {
        std::vector<std::string> arguments;
        std::string errorStart;
    };
    const Case cases[] = {
        {{"--jobs", "0", "a.dat"}, "--jobs takes"},
        {{"--jobs", "2x", "a.dat"}, "--jobs takes"},
        {{"--format", "xml", "a.dat"}, "--format takes"},
        {{"--as-of", "20230230", "a.dat"}, "--as-of takes"},
        {{"--as-of", "2023", "a.dat"}, "--as-of takes"},
        {{"--as-of", "20230101250000", "a.dat"}, "--as-of takes"},
        {{"--config"}, "--config needs a value"},
        {{"--quiet=yes"}, "--quiet takes no value"},
        {{"--frobnicate"}, "unknown option"},
    };
    for (const Case& test : cases) {
        const CliParse parse = Parse(test.arguments);
        EXPECT_EQ(parse.error.rfind(test.errorStart, 0), 0u) << test.arguments.front() << ": " << parse.error;
    }
}

}  // namespace
}  // namespace talveron
