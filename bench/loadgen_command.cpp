#include "bench/loadgen_command.h"

#include <array>
#include <charconv>
#include <utility>

namespace talveron::bench {

namespace {

template <typename Value>
bool ReadWhole(std::string_view text, Value& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && !text.empty();
}

template <typename Choice, std::size_t N>
bool ReadChoice(std::string_view text,
                const std::array<std::pair<std::string_view, Choice>, N>& names, Choice& choice) {
    for (const auto& [name, value] : names) {
        if (name == text) {
            choice = value;
            return true;
        }
    }
    return false;
}

constexpr std::array<std::pair<std::string_view, FaultShare>, 3> kFaultNames{
    {{"none", FaultShare::None},
     {"one-percent", FaultShare::OnePercent},
     {"all", FaultShare::All}}};

constexpr std::array<std::pair<std::string_view, Shape>, 4> kShapeNames{
    {{"normal", Shape::Normal},
     {"one-person", Shape::OnePerson},
     {"long-lines", Shape::LongLines},
     {"lf-only", Shape::LfOnly}}};

/// Reads the value of one option; returns the error, empty when the value was good.
std::string ReadOption(std::string_view option, std::string_view value, LoadgenCommand& command) {
    GeneratorSettings& settings = command.settings;
    if (option == "--records") {
        if (ReadWhole(value, settings.records) && settings.records >= 0) return {};
        return "--records needs a whole number of at least 0";
    }
    if (option == "--seed") {
        return ReadWhole(value, settings.seed) ? std::string() : "--seed needs a whole number";
    }
    if (option == "--faults") {
        if (ReadChoice(value, kFaultNames, settings.faults)) return {};
        return "--faults is none, one-percent or all";
    }
    if (option == "--shape") {
        if (ReadChoice(value, kShapeNames, settings.shape)) return {};
        return "--shape is normal, one-person, long-lines or lf-only";
    }
    command.configPath = std::filesystem::path(value);
    return {};
}

bool TakesValue(std::string_view option) {
    return option == "--records" || option == "--seed" || option == "--faults" ||
           option == "--shape" || option == "--config";
}

}  // namespace

LoadgenCommand ParseLoadgenCommand(std::span<const std::string> arguments) {
    LoadgenCommand command;
    bool recordsGiven = false;
    bool outputGiven = false;
    for (std::size_t i = 0; i < arguments.size() && command.error.empty(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            command.help = true;
        } else if (TakesValue(argument)) {
            if (i + 1 == arguments.size()) {
                command.error = std::string(argument) + " needs a value";
            } else {
                command.error = ReadOption(argument, arguments[++i], command);
                recordsGiven = recordsGiven || argument == "--records";
            }
        } else if (argument.starts_with("-") && argument != "-") {
            command.error = "unknown option " + std::string(argument);
        } else if (outputGiven) {
            command.error = "only one output file can be written";
        } else {
            command.output = std::filesystem::path(argument);
            outputGiven = true;
        }
    }
    if (command.error.empty() && !command.help) {
        if (!recordsGiven)
            command.error = "--records is required";
        else if (!outputGiven)
            command.error = "no output file given";
    }
    return command;
}

std::string_view LoadgenUsage() {
    return "Usage: talveron-loadgen --records N [--faults none|one-percent|all] [--seed S]\n"
           "                        [--shape normal|one-person|long-lines|lf-only] [--config PATH]"
           " OUTPUT\n"
           "\n"
           "Writes a load file of a licensee header and N records for the configuration (the\n"
           "shipped production configuration unless --config names another).\n"
           "  --faults none         every record valid (default)\n"
           "  --faults one-percent  one record in a hundred gets a typical mistake\n"
           "  --faults all          every record gets one\n"
           "  --seed S              the same seed writes the same file (default 1)\n"
           "  --shape one-person    dose records only, every Employee_ID blank\n"
           "  --shape long-lines    10,000 more characters on every line\n"
           "  --shape lf-only       LF line ends instead of CR LF\n";
}

}  // namespace talveron::bench
