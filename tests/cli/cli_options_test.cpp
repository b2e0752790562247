#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace talveron {
namespace {

CliParse Parse(std::vector<std::string> arguments) { return ParseCliOptions(arguments); }

TEST(CliOptions, ReadsEveryOptionInBothSpellings) {
    const CliParse parse =
        Parse({"--config", "/etc/t.cfg", "--as-of=20231231235958", "-qj256", "--threads=3", "a.dat",
               "--form=json", "--html", "r.html", "--mask", "--color", "never", "b.dat"});
    ASSERT_EQ(parse.error, "");
    const CliOptions& options = parse.options;
    EXPECT_EQ(options.configPath, std::filesystem::path("/etc/t.cfg"));
    EXPECT_EQ(options.asOf, (LocalDateTime{2023, 12, 31, 23, 59, 58}));
    EXPECT_EQ(options.jobs, 256);
    EXPECT_EQ(options.threads, 3);
    EXPECT_EQ(options.format, OutputFormat::Json);
    EXPECT_TRUE(options.quiet);
    EXPECT_EQ(options.htmlPath, std::filesystem::path("r.html"));
    EXPECT_TRUE(options.mask);
    EXPECT_EQ(options.color, ColorWhen::Never);
    EXPECT_EQ(options.loadFiles, (std::vector<std::filesystem::path>{"a.dat", "b.dat"}));
}

TEST(CliOptions, DoubleDashEndsOptions) {
    const CliParse parse = Parse({"--", "--quiet", "-j"});
    ASSERT_EQ(parse.error, "");
    EXPECT_FALSE(parse.options.quiet);
    EXPECT_EQ(parse.options.loadFiles.size(), 2u);
}

TEST(CliOptions, RejectsWhatItCannotUse) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--jobs", "0", "a.dat"}, "--jobs takes"},
        {{"--jobs", "257", "a.dat"}, "--jobs takes"},
        {{"--jobs", "2x", "a.dat"}, "--jobs takes"},
        {{"--threads", "0", "a.dat"}, "--threads takes"},
        {{"--threads=x", "a.dat"}, "--threads takes"},
        {{"--format", "xml", "a.dat"}, "--format takes"},
        {{"--color=sometimes", "a.dat"}, "--color takes"},
        {{"--as-of", "20230230", "a.dat"}, "--as-of takes"},
        {{"--config"}, "--config needs a value"},
        {{"--quiet=yes"}, "--quiet takes no value"},
        {{"--frobnicate"}, "unknown option"},
    };
    for (const auto& [arguments, errorStart] : cases) {
        const CliParse parse = Parse(arguments);
        EXPECT_TRUE(parse.error.starts_with(errorStart))
            << arguments.front() << ": " << parse.error;
    }
}

}  // namespace
}  // namespace talveron
