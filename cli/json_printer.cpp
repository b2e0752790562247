#include "cli/json_printer.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "report/dose_ranges.h"

namespace talveron {

namespace {

using Json = nlohmann::ordered_json;

/// The summary's schema; raised when a field changes meaning or goes away.
constexpr int kSummarySchema = 1;

// Records are bytes, not always UTF-8: invalid sequences are replaced rather than refused.
void Write(std::ostream& out, const Json& line) {
    out << line.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
}

/// An amount as the report prints it, to the thousandth, so that sums carry no binary noise.
double Thousandths(double amount) {
    const double rounded = std::round(amount * 1000) / 1000;
    return rounded == 0 ? 0.0 : rounded;
}

Json Optional(const std::optional<double>& value) { return value ? Json(*value) : Json(); }

Json Occurrences(const std::vector<TallyEntry>& entries) {
    Json list = Json::array();
    for (const TallyEntry& entry : entries) {
        list.push_back({{"message", entry.message},
                        {"count", entry.count},
                        {"firstLine", entry.firstLine},
                        {"lastLine", entry.lastLine}});
    }
    return list;
}

Json Header(const HeaderValues& header) {
    return {{"licenseNo", header.licenseNo},
            {"licenseeName", header.licenseeName},
            {"contactPerson", header.contactPerson},
            {"associatedLicenses", header.associatedLicenses}};
}

Json Figures(const SummaryFigures& figures) {
    Json ranges = Json::array();
    for (std::size_t index = 0; index < kDoseRangeCount; ++index) {
        const DoseRangeLimits limits = LimitsOfDoseRange(index);
        ranges.push_back({{"label", kDoseRangeLabels[index]},
                          {"lower", Optional(limits.lower)},
                          {"upper", Optional(limits.upper)},
                          {"persons", figures.persons[index]},
                          {"tede", Thousandths(figures.tede[index])}});
    }
    Json report;
    const LocalDateTime& date = figures.date;
    char day[11];
    std::snprintf(day, sizeof day, "%04d-%02d-%02d", date.year, date.month, date.day);
    report["date"] = day;
    report["ranges"] = std::move(ranges);
    report["measurable"] = figures.measurable;
    report["monitored"] = figures.monitored;
    report["collectiveTede"] = Thousandths(figures.collectiveTede);
    report["cdeTotal"] = Thousandths(figures.cdeTotal);
    report["cedeTotal"] = Thousandths(figures.cedeTotal);
    report["intakeRecords"] = figures.intakeRecords;
    report["errors"] = figures.errors;
    report["warnings"] = figures.warnings;
    report["errorOccurrences"] =
        figures.occurrencesListed ? Occurrences(figures.errorOccurrences) : Json();
    report["warningOccurrences"] =
        figures.occurrencesListed ? Occurrences(figures.warningOccurrences) : Json();
    report["allChecksOn"] = !figures.someChecksOff;
    return report;
}

Json Counters(const RunCounters& counters) {
    Json named;
    constexpr std::string_view kRows[] = {"dose", "intake", "comment", "total"};
    for (std::size_t row = 0; row < 4; ++row) {
        named[std::string(kRows[row])] = {{"processed", counters.values[3 * row]},
                                          {"warnings", counters.values[3 * row + 1]},
                                          {"errors", counters.values[3 * row + 2]}};
    }
    return named;
}

Json Baseline(const BaselineCounts& counts) {
    return {{"fixed", counts.fixed}, {"new", counts.added}, {"unchanged", counts.unchanged}};
}

/// A text of the record, or null when records of its type have no such field.
Json TextIf(bool present, std::string_view text) { return present ? Json(text) : Json(); }

class JsonPrinter final : public FindingPrinter {
public:
    explicit JsonPrinter(bool masked) : masked_(masked) {}

    std::unique_ptr<FilePrinter> forFile(std::ostream& out, const std::string& file,
                                         std::size_t) const override {
        return std::make_unique<File>(out, file, masked_);
    }

private:
    class File final : public FilePrinter {
    public:
        File(std::ostream& out, std::string file, bool masked)
            : out_(out), file_(std::move(file)), masked_(masked) {}

        void finding(const PrintedFinding& finding) override {
            const FindingIdentity& identity = finding.identity;
            const bool person = HasPerson(identity.recordType);
            const bool dose = identity.recordType == 'D';
            Json line;
            line["type"] = "finding";
            line["file"] = file_;
            line["line"] = finding.line;
            line["recordType"] = RecordTypeText(identity.recordType);
            line["field"] = finding.field;
            line["fieldName"] = identity.fieldName;
            line["character"] = finding.character;
            line["span"] = {finding.spanFirst, finding.spanLast};
            line["code"] = CheckCodeName(identity.code);
            line["level"] = LevelText(finding.level);
            line["writtenLevel"] = LevelText(finding.writtenLevel);
            line["message"] = finding.message;
            line["value"] = finding.value;
            line["idType"] = TextIf(person, identity.idType);
            line["employeeId"] = TextIf(person, identity.employeeId);
            line["monitoringStart"] = TextIf(dose, identity.monitoringStart);
            line["monitoringEnd"] = TextIf(dose, identity.monitoringEnd);
            if (finding.baseline) line["baseline"] = BaselineStateName(*finding.baseline);
            Write(out_, line);
        }

        void finished(const RunOutcome& outcome, const FileEnd& end) override {
            Json line;
            line["type"] = "summary";
            line["schema"] = kSummarySchema;
            line["file"] = outcome.paths.load.string();
            line["status"] = WordsOf(outcome.status).name;
            line["exitStatus"] = end.exitStatus;
            if (!outcome.cancelReason.empty()) line["stopReason"] = outcome.cancelReason;
            if (!outcome.problem.empty()) line["problem"] = outcome.problem;
            line["counters"] = Counters(outcome.counters);
            line["findingsWritten"] = outcome.findingCount;
            line["written"] = {
                {"results", outcome.resultsWritten ? Json(outcome.paths.results.string()) : Json()},
                {"report", outcome.reportWritten ? Json(outcome.paths.report.string()) : Json()}};
            line["header"] = outcome.header ? Header(*outcome.header) : Json();
            line["report"] = outcome.summary ? Figures(*outcome.summary) : Json();
            line["masked"] = masked_;
            if (end.baseline) line["baseline"] = Baseline(*end.baseline);
            Write(out_, line);
        }

    private:
        std::ostream& out_;
        std::string file_;
        bool masked_;
    };

    bool masked_;
};

}  // namespace

std::unique_ptr<FindingPrinter> MakeJsonPrinter(bool masked) {
    return std::make_unique<JsonPrinter>(masked);
}

}  // namespace talveron
