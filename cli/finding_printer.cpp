#include "cli/finding_printer.h"

#include <memory>
#include <nlohmann/json.hpp>

#include "config/option_settings.h"

namespace talveron {

namespace {

std::string Span(const FindingPlace& place) {
    std::string span = std::to_string(place.spanFirst);
    if (place.spanLast != place.spanFirst) span += "-" + std::to_string(place.spanLast);
    return span;
}

std::string_view RecordTypeText(const FindingPlace& place) {
    return place.recordType == 0 ? std::string_view{} : std::string_view(&place.recordType, 1);
}

/// FILE:LINE.FIRST-LAST: error|warning: MESSAGE [CODE]
class GnuPrinter final : public FindingPrinter {
public:
    void finding(std::ostream& out, const std::string& file, const Finding& finding,
                 const FindingPlace& place) const override {
        out << file << ':' << finding.lineNumber;
        if (place.spanFirst > 0) out << '.' << Span(place);
        out << ": " << (finding.counted == Level::Error ? "error" : "warning") << ": "
            << finding.message << " [" << CheckCodeName(finding.code) << "]\n";
    }
};

class JsonPrinter final : public FindingPrinter {
public:
    void finding(std::ostream& out, const std::string& file, const Finding& finding,
                 const FindingPlace& place) const override {
        nlohmann::ordered_json line;
        line["type"] = "finding";
        line["file"] = file;
        line["line"] = finding.lineNumber;
        line["recordType"] = RecordTypeText(place);
        line["field"] = finding.column;
        line["fieldName"] = place.fieldName;
        line["character"] = finding.character;
        line["span"] = {place.spanFirst, place.spanLast};
        line["code"] = CheckCodeName(finding.code);
        line["level"] = LevelText(finding.counted);
        line["writtenLevel"] = LevelText(finding.level);
        line["message"] = finding.message;
        line["value"] = place.value;
        Write(out, line);
    }

    void finished(std::ostream& out, const RunOutcome& outcome) const override {
        nlohmann::ordered_json line;
        line["type"] = "summary";
        line["file"] = outcome.paths.load.string();
        line["status"] = WordsOf(outcome.status).name;
        if (!outcome.cancelReason.empty()) line["stopReason"] = outcome.cancelReason;
        if (!outcome.problem.empty()) line["problem"] = outcome.problem;
        line["counters"] = outcome.counters.values;
        line["findingsWritten"] = outcome.findingCount;
        line["results"] = outcome.resultsWritten ? outcome.paths.results.string() : "";
        line["report"] = outcome.reportWritten ? outcome.paths.report.string() : "";
        Write(out, line);
    }

private:
    // Records are bytes, not always UTF-8: invalid sequences are replaced rather than refused.
    static void Write(std::ostream& out, const nlohmann::ordered_json& line) {
        out << line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    }
};

/// RFC 4180: fields quoted when they hold a comma, a quote or a line break; quotes doubled.
void WriteCsvField(std::ostream& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out << field;
        return;
    }
    out << '"';
    for (char c : field) {
        if (c == '"') out << '"';
        out << c;
    }
    out << '"';
}

class CsvPrinter final : public FindingPrinter {
public:
    void start(std::ostream& out) const override {
        out << "file,line,record_type,field,field_name,character,span,check_code,level,message,"
               "value,written_level\r\n";
    }

    void finding(std::ostream& out, const std::string& file, const Finding& finding,
                 const FindingPlace& place) const override {
        WriteCsvField(out, file);
        out << ',' << finding.lineNumber << ',';
        WriteCsvField(out, RecordTypeText(place));
        out << ',' << finding.column << ',';
        WriteCsvField(out, place.fieldName);
        out << ',' << finding.character << ',' << place.spanFirst << '-' << place.spanLast << ','
            << CheckCodeName(finding.code) << ',' << LevelText(finding.counted) << ',';
        WriteCsvField(out, finding.message);
        out << ',';
        WriteCsvField(out, place.value);
        out << ',' << LevelText(finding.level) << "\r\n";
    }
};

}  // namespace

std::string_view CheckCodeName(OptionKey code) { return DefinitionOf(code).name; }

std::unique_ptr<FindingPrinter> MakeFindingPrinter(OutputFormat format) {
    switch (format) {
        case OutputFormat::Gnu:
            return std::make_unique<GnuPrinter>();
        case OutputFormat::Json:
            return std::make_unique<JsonPrinter>();
        case OutputFormat::Csv:
            return std::make_unique<CsvPrinter>();
        case OutputFormat::Text:
            break;
    }
    return nullptr;
}

}  // namespace talveron
