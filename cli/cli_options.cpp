#include "cli/cli_options.h"

#include <getopt.h>

#include <algorithm>
#include <array>
#include <charconv>

namespace talveron {

namespace {

constexpr std::array<std::pair<std::string_view, OutputFormat>, 5> kFormats{{
    {"text", OutputFormat::Text},
    {"gnu", OutputFormat::Gnu},
    {"json", OutputFormat::Json},
    {"csv", OutputFormat::Csv},
    {"sarif", OutputFormat::Sarif},
}};

// What getopt_long returns for each option: the letter of those with a short form.
enum OptionId : int {
    kHelp = 'h',
    kJobs = 'j',
    kQuiet = 'q',
    kConfig = 256,
    kAsOf,
    kThreads,
    kFormat,
    kColor,
    kHtml,
    kMask,
    kBaseline,
    kFailOnNew,
    kInstallConfig,
    kCheckConfig,
    kOutputDir,
    kNoOutputs,
    kVersion,
};

constexpr char kShortOptions[] = ":hj:q";
constexpr std::array<option, 18> kLongOptions{{
    {"config", required_argument, nullptr, kConfig},
    {"as-of", required_argument, nullptr, kAsOf},
    {"jobs", required_argument, nullptr, kJobs},
    {"threads", required_argument, nullptr, kThreads},
    {"format", required_argument, nullptr, kFormat},
    {"color", required_argument, nullptr, kColor},
    {"html", required_argument, nullptr, kHtml},
    {"mask", no_argument, nullptr, kMask},
    {"baseline", required_argument, nullptr, kBaseline},
    {"fail-on-new", no_argument, nullptr, kFailOnNew},
    {"quiet", no_argument, nullptr, kQuiet},
    {"install-config", no_argument, nullptr, kInstallConfig},
    {"check-config", no_argument, nullptr, kCheckConfig},
    {"output-dir", required_argument, nullptr, kOutputDir},
    {"no-outputs", no_argument, nullptr, kNoOutputs},
    {"help", no_argument, nullptr, kHelp},
    {"version", no_argument, nullptr, kVersion},
    {nullptr, 0, nullptr, 0},
}};

const option* OptionWithId(int id) {
    const auto found = std::find_if(kLongOptions.begin(), kLongOptions.end(),
                                    [id](const option& o) { return o.name && o.val == id; });
    return found == kLongOptions.end() ? nullptr : &*found;
}

std::string LongName(int id) { return std::string("--") + OptionWithId(id)->name; }

/// A whole number from 1 to 256 for --jobs and --threads; an error text or empty.
std::string ParseCount(int id, std::string_view value, int& count) {
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), count);
    if (error != std::errc() || end != value.data() + value.size() || count < 1 || count > 256) {
        return LongName(id) + " takes a whole number from 1 to 256, not '" + std::string(value) +
               "'";
    }
    return {};
}

/// Applies one option (with its value, when it takes one); returns an error text or empty.
std::string Apply(int id, std::string_view value, CliOptions& options) {
    switch (id) {
        case kConfig:
            if (value.empty()) return "--config needs a file";
            options.configPath = value;
            break;
        case kAsOf: {
            LocalDateTime moment;
            if (!ParseStamp(std::string(value), moment))
                return "--as-of takes YYYYMMDD or YYYYMMDDhhmmss, not '" + std::string(value) + "'";
            options.asOf = moment;
            break;
        }
        case kJobs:
            return ParseCount(id, value, options.jobs);
        case kThreads: {
            int threads = 0;
            std::string error = ParseCount(id, value, threads);
            if (error.empty()) options.threads = threads;
            return error;
        }
        case kFormat: {
            const auto format = std::find_if(kFormats.begin(), kFormats.end(),
                                             [&](const auto& f) { return f.first == value; });
            if (format == kFormats.end())
                return "--format takes text, gnu, json, csv or sarif, not '" + std::string(value) +
                       "'";
            options.format = format->second;
            break;
        }
        case kColor:
            if (value == "auto") {
                options.color = ColorWhen::Auto;
            } else if (value == "always") {
                options.color = ColorWhen::Always;
            } else if (value == "never") {
                options.color = ColorWhen::Never;
            } else {
                return "--color takes auto, always or never, not '" + std::string(value) + "'";
            }
            break;
        case kHtml:
            if (value.empty()) return "--html needs a file";
            options.htmlPath = value;
            break;
        case kMask:
            options.mask = true;
            break;
        case kBaseline:
            if (value.empty()) return "--baseline needs a file";
            options.baselinePath = value;
            break;
        case kFailOnNew:
            options.failOnNew = true;
            break;
        case kQuiet:
            options.quiet = true;
            break;
        case kInstallConfig:
            options.installConfig = true;
            break;
        case kCheckConfig:
            options.checkConfig = true;
            break;
        case kOutputDir:
            if (value.empty()) return "--output-dir needs a folder";
            options.outputDir = value;
            break;
        case kNoOutputs:
            options.noOutputs = true;
            break;
        case kHelp:
            options.help = true;
            break;
        case kVersion:
            options.version = true;
            break;
    }
    return {};
}

/// What getopt_long refused, named: `optionCode` is its optopt, `argument` the word it read last.
std::string Refusal(int optionCode, std::string_view argument) {
    if (OptionWithId(optionCode)) return LongName(optionCode) + " takes no value";
    if (optionCode != 0)
        return "unknown option '-" + std::string(1, static_cast<char>(optionCode)) + "'";
    const std::string_view name = argument.substr(0, argument.find('='));
    std::string candidates;
    for (const option& o : kLongOptions) {
        if (o.name && std::string_view(o.name).starts_with(name.substr(2)))
            candidates += (candidates.empty() ? "" : ", ") + LongName(o.val);
    }
    if (candidates.find(',') != std::string::npos)
        return "option '" + std::string(name) + "' is ambiguous: " + candidates;
    return "unknown option '" + std::string(argument) + "'";
}

}  // namespace

CliParse ParseCliOptions(std::span<const std::string> arguments) {
    CliParse parse;
    std::vector<std::string> words = {"talveron-cli"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());

    optind = 0;  // GNU: start afresh, also after an earlier parse
    opterr = 0;  // the caller prints the message
    for (;;) {
        const int id = getopt_long(argc, argv.data(), kShortOptions, kLongOptions.data(), nullptr);
        if (id == -1) break;
        const std::string_view last = argv[static_cast<std::size_t>(optind - 1)];
        if (id == '?') {
            parse.error = Refusal(optopt, last);
            return parse;
        }
        if (id == ':') {
            parse.error = LongName(optopt) + " needs a value";
            return parse;
        }
        parse.error =
            Apply(id, optarg ? std::string_view(optarg) : std::string_view(), parse.options);
        if (!parse.error.empty()) return parse;
    }
    for (int i = optind; i < argc; ++i)
        parse.options.loadFiles.emplace_back(argv[static_cast<std::size_t>(i)]);
    if (parse.options.outputDir && parse.options.noOutputs)
        parse.error = "--output-dir and --no-outputs cannot be given together";
    if (parse.options.failOnNew && !parse.options.baselinePath)
        parse.error = "--fail-on-new needs --baseline";
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
          text   a summary per file: counters, stop reason, files written
          gnu    FILE:LINE.FIRST-LAST: error: MESSAGE [CODE], a line per finding
          json   one JSON object per finding and one summary per file
          csv    one row per finding, with a header row
          sarif  one SARIF 2.1.0 log, a run per file, for code-scanning tools
                        gnu, json, csv and sarif list every counted finding, whatever the
                        results-file options say
      --html FILE       also write one self-contained HTML report of every load file:
                        counters, dose distribution, findings by check code with the
                        offending field and character marked (at most 1,000 per code)
      --mask            mask personal data in everything printed and in the HTML report:
                        the Employee_ID of SSN records, the names and the birth date show
                        X for each letter and # for each digit, except the character a
                        finding points at; the *.err and *.dst files are never masked
      --baseline OLD    compare with an earlier run: OLD is its --format json output.
                        A finding is the same when its record type, person (ID_Type
                        and Employee_ID), monitoring period, check code and field are;
                        each finding printed is new or unchanged, each finding of OLD
                        that none matches is printed as fixed, and the summary counts
                        the three (the load file is compared with the file of OLD of
                        its name, or with the only one)
      --fail-on-new     with --baseline: exit with 1 only for an ERROR that is new
      --color WHEN      colour errors, warnings and counters of the text and gnu formats:
                        auto (when standard output is a terminal and NO_COLOR is not
                        set; the default), always or never
  -q, --quiet           print no per-file summary and no progress line (findings of gnu,
                        json, csv and sarif still print)
      --check-config    check the configuration as a run reads it and print each
                        problem as PATH:LINE: error|warning: MESSAGE; validates nothing
      --install-config  copy the shipped default configuration into the configuration
                        directory when none is there (never overwrites)
  -h, --help            show this help and exit
      --version         show the version and exit
Short options bundle (-qj4), long ones take their value after "=" or as the next
argument, and "--" ends the options. On a terminal, standard error shows a progress
line while a file is validated (one file at a time only).

Examples:
  talveron-cli -qj4 --format gnu incoming/*.dat
  talveron-cli --mask --html findings.html --format sarif faulty.dat > faulty.sarif
  talveron-cli --format json --no-outputs lakeshore.dat > before.json
  talveron-cli --baseline before.json --fail-on-new lakeshore.dat
  talveron-cli --output-dir /tmp/recheck archive/2024.q4/lakeshore.dat
  talveron-cli --check-config --config /srv/morva/new/TALVERON.CFG

Exit status:
  0  every file was validated and no ERROR was counted
  1  an ERROR was counted in some file, or a run was stopped by an automatic-cancel limit
  2  something could not be validated: bad usage, unusable configuration, a load file that
     is missing, too small or unreadable, an output that could not be written, or another
     run validating the same file
  130, 143  interrupted by SIGINT or SIGTERM: the runs under way were cancelled and their
     results files completed; a second signal ends at once
With --fail-on-new, 1 only when an ERROR is new against the baseline. With several
files the highest status wins. --check-config exits with 0 when the
configuration has no problem, 1 when it has some, 2 when it cannot be read.
)";
}

}  // namespace talveron
