#include "cli/cli_options.h"

#include <charconv>

namespace talveron {

namespace {

std::optional<OutputFormat> FormatNamed(std::string_view name) {
    if (name == "text") return OutputFormat::Text;
    if (name == "gnu") return OutputFormat::Gnu;
    if (name == "json") return OutputFormat::Json;
    if (name == "csv") return OutputFormat::Csv;
    return std::nullopt;
}

/// A whole number from 1 to 256 for --jobs and --threads; an error text or empty.
std::string ParseCount(std::string_view name, const std::string& value, int& count) {
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), count);
    if (error != std::errc() || end != value.data() + value.size() || count < 1 || count > 256) {
        return std::string(name) + " takes a whole number from 1 to 256, not '" + value + "'";
    }
    return {};
}

/// Applies an option that takes a value; returns an error text or empty.
std::string ApplyValue(std::string_view name, const std::string& value, CliOptions& options) {
    if (name == "--config") {
        if (value.empty()) return "--config needs a file";
        options.configPath = value;
    } else if (name == "--as-of") {
        LocalDateTime moment;
        if (!ParseStamp(value, moment))
            return "--as-of takes YYYYMMDD or YYYYMMDDhhmmss, not '" + value + "'";
        options.asOf = moment;
    } else if (name == "--jobs" || name == "-j") {
        return ParseCount("--jobs", value, options.jobs);
    } else if (name == "--threads") {
        int threads = 0;
        std::string error = ParseCount(name, value, threads);
        if (error.empty()) options.threads = threads;
        return error;
    } else if (name == "--output-dir") {
        if (value.empty()) return "--output-dir needs a folder";
        options.outputDir = value;
    } else if (name == "--format") {
        const auto format = FormatNamed(value);
        if (!format) return "--format takes text, gnu, json or csv, not '" + value + "'";
        options.format = *format;
    }
    return {};
}

bool TakesValue(std::string_view name) {
    return name == "--config" || name == "--as-of" || name == "--jobs" || name == "-j" ||
           name == "--threads" || name == "--format" || name == "--output-dir";
}

}  // namespace

CliParse ParseCliOptions(std::span<const std::string> arguments) {
    CliParse parse;
    CliOptions& options = parse.options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            options.loadFiles.emplace_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        std::string_view name = argument;
        std::optional<std::string> inlineValue;
        if (const auto equals = argument.find('=');
            equals != std::string::npos && argument.starts_with("--")) {
            name = std::string_view(argument).substr(0, equals);
            inlineValue = argument.substr(equals + 1);
        }
        if (TakesValue(name)) {
            if (!inlineValue) {
                if (i + 1 == arguments.size()) {
                    parse.error = std::string(name) + " needs a value";
                    return parse;
                }
                inlineValue = arguments[++i];
            }
            parse.error = ApplyValue(name, *inlineValue, options);
            if (!parse.error.empty()) return parse;
        } else if (inlineValue) {
            parse.error = std::string(name) + " takes no value";
            return parse;
        } else if (name == "--quiet" || name == "-q") {
            options.quiet = true;
        } else if (name == "--help" || name == "-h") {
            options.help = true;
        } else if (name == "--version") {
            options.version = true;
        } else if (name == "--install-config") {
            options.installConfig = true;
        } else if (name == "--check-config") {
            options.checkConfig = true;
        } else if (name == "--no-outputs") {
            options.noOutputs = true;
        } else {
            parse.error = "unknown option '" + argument + "'";
            return parse;
        }
    }
    if (options.outputDir && options.noOutputs)
        parse.error = "--output-dir and --no-outputs cannot be given together";
    return parse;
}

std::string CliUsage() {
    return R"(Usage: talveron-cli [OPTION]... LOADFILE...
  or:  talveron-cli --check-config [--config PATH]
Validate MORVA load files (*.dat) exactly as a VALIDATE run of the desktop program does:
the results file (*.err) and the distribution summary report (*.dst) are written next to
each load file (or into --output-dir), every option of the configuration is honoured.

Options:
      --config PATH     use this configuration file instead of TALVERON.CFG in the
                        configuration directory ($XDG_CONFIG_HOME/talveron, else
                        ~/.config/talveron)
      --as-of STAMP     take STAMP (YYYYMMDD or YYYYMMDDhhmmss) as the start of the run
                        and as "now" for the date checks and the report date
      --output-dir DIR  write the results files and reports into the existing folder
                        DIR, under the same names, instead of next to the load files;
                        nothing next to a load file is written or deleted
      --no-outputs      write no results file and no report: only what is printed
  -j, --jobs N          validate up to N files at once (default 1); the outcome is the
                        same as validating them one after another
      --threads N       check each file with N threads (default: the processor cores
                        shared among the jobs); the outcome is the same for any N
      --format FORMAT   what standard output shows:
                          text  a summary per file: counters, stop reason, files written
                          gnu   one line per finding: FILE:LINE.FIRST-LAST: error: MESSAGE [CODE]
                          json  one JSON object per finding and one summary per file
                          csv   one row per finding, with a header row
                        gnu, json and csv list every counted finding, whatever the
                        results-file options say
  -q, --quiet           print no per-file summary (findings of gnu, json, csv still print)
      --check-config    check the configuration as a run reads it and print each
                        problem as PATH:LINE: error|warning: MESSAGE; validates nothing
      --install-config  copy the shipped default configuration into the configuration
                        directory when none is there (never overwrites)
  -h, --help            show this help and exit
      --version         show the version and exit

Exit status:
  0  every file was validated and no ERROR was counted
  1  an ERROR was counted in some file, or a run was stopped by an automatic-cancel limit
  2  something could not be validated: bad usage, unusable configuration, a load file that
     is missing, too small or unreadable, an output that could not be written, or another
     run validating the same file
  130, 143  interrupted by SIGINT or SIGTERM: the runs under way were cancelled and their
     results files completed; a second signal ends at once
With several files the highest status wins. --check-config exits with 0 when the
configuration has no problem, 1 when it has some, 2 when it cannot be read.
)";
}

}  // namespace talveron
