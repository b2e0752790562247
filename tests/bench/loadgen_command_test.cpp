#include "bench/loadgen_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace talveron::bench {
namespace {

using Arguments = std::vector<std::string>;

TEST(LoadgenCommand, ReadsEveryOption) {
    const LoadgenCommand command = ParseLoadgenCommand(
        Arguments{"--records", "1000", "--faults", "one-percent", "--seed", "99", "--shape",
                  "lf-only", "--config", "/etc/T.CFG", "out.dat"});
    ASSERT_EQ(command.error, "");
    EXPECT_EQ(command.settings.records, 1000);
    EXPECT_EQ(command.settings.faults, FaultShare::OnePercent);
    EXPECT_EQ(command.settings.seed, 99u);
    EXPECT_EQ(command.settings.shape, Shape::LfOnly);
    EXPECT_EQ(command.configPath, std::filesystem::path("/etc/T.CFG"));
    EXPECT_EQ(command.output, std::filesystem::path("out.dat"));
    EXPECT_FALSE(command.help);
}

TEST(LoadgenCommand, ReadsEachNameAndDefaultsToNoFaultsSeedOneAndTheShippedConfiguration) {
    const LoadgenCommand defaults = ParseLoadgenCommand(Arguments{"out.dat", "--records", "5"});
    ASSERT_EQ(defaults.error, "");
    EXPECT_EQ(defaults.settings.faults, FaultShare::None);
    EXPECT_EQ(defaults.settings.seed, 1u);
    EXPECT_EQ(defaults.settings.shape, Shape::Normal);
    EXPECT_FALSE(defaults.configPath.has_value());
    const auto parse = [](const std::string& option, const std::string& name) {
        const LoadgenCommand command =
            ParseLoadgenCommand(Arguments{"--records", "1", option, name, "o"});
        EXPECT_EQ(command.error, "") << name;
        return command.settings;
    };
    EXPECT_EQ(parse("--shape", "normal").shape, Shape::Normal);
    EXPECT_EQ(parse("--shape", "one-person").shape, Shape::OnePerson);
    EXPECT_EQ(parse("--shape", "long-lines").shape, Shape::LongLines);
    EXPECT_EQ(parse("--faults", "none").faults, FaultShare::None);
    EXPECT_EQ(parse("--faults", "all").faults, FaultShare::All);
}

TEST(LoadgenCommand, RefusesWhatItCannotUse) {
    const std::pair<Arguments, std::string> cases[] = {
        {{"out.dat"}, "--records is required"},
        {{"--records", "10"}, "no output file given"},
        {{"--records", "-1", "o"}, "--records needs a whole number of at least 0"},
        {{"--records", "1e6", "o"}, "--records needs a whole number of at least 0"},
        {{"--records", "", "o"}, "--records needs a whole number of at least 0"},
        {{"--records", "5", "--seed", "x", "o"}, "--seed needs a whole number"},
        {{"--records", "5", "--faults", "some", "o"}, "--faults is none, one-percent or all"},
        {{"--records", "5", "--shape", "wide", "o"},
         "--shape is normal, one-person, long-lines or lf-only"},
        {{"--records", "5", "a.dat", "b.dat"}, "only one output file can be written"},
        {{"--records", "5", "--jobs", "2", "o"}, "unknown option --jobs"},
        {{"o", "--records"}, "--records needs a value"},
    };
    for (const auto& [arguments, error] : cases) {
        EXPECT_EQ(ParseLoadgenCommand(arguments).error, error) << arguments.size();
    }
}

TEST(LoadgenCommand, HelpNeedsNothingElse) {
    const LoadgenCommand command = ParseLoadgenCommand(Arguments{"--help"});
    EXPECT_TRUE(command.help);
    EXPECT_EQ(command.error, "");
    EXPECT_NE(LoadgenUsage().find("--records N"), std::string_view::npos);
}

}  // namespace
}  // namespace talveron::bench
