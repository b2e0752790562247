#include "cli/finding_printer.h"

#include "cli/json_printer.h"
#include "cli/sarif_printer.h"
#include "cli/text_printer.h"
#include "config/option_settings.h"

namespace talveron {

namespace {

/// FILE:LINE.FIRST-LAST: error|warning: MESSAGE [CODE], with " [new]" after a new finding; a
/// fixed one as a note on the file, and the counts as a note after the file's findings.
class GnuPrinter final : public FindingPrinter {
public:
    explicit GnuPrinter(const TerminalColors& colors) : colors_(colors) {}

    std::unique_ptr<FilePrinter> forFile(std::ostream& out, const std::string& file,
                                         std::size_t) const override {
        return std::make_unique<File>(out, file, colors_);
    }

private:
    class File final : public FilePrinter {
    public:
        File(std::ostream& out, std::string file, const TerminalColors& colors)
            : out_(out), file_(std::move(file)), colors_(colors) {}

        void finding(const PrintedFinding& finding) override {
            if (finding.baseline == BaselineState::Fixed) {
                out_ << note() << "fixed: line " << FindingPosition(finding) << ": "
                     << FindingText(finding, colors_) << '\n';
                return;
            }
            out_ << colors_.paint(file_ + ':' + FindingPosition(finding) + ':', Tone::Strong) << ' '
                 << FindingText(finding, colors_)
                 << (finding.baseline == BaselineState::New ? " [new]\n" : "\n");
        }

        void finished(const RunOutcome&, const FileEnd& end) override {
            if (end.baseline)
                out_ << note() << "baseline: " << BaselineCountsText(*end.baseline) << '\n';
        }

    private:
        std::string note() const { return colors_.paint(file_ + ':', Tone::Strong) + " note: "; }

        std::ostream& out_;
        std::string file_;
        const TerminalColors& colors_;
    };

    TerminalColors colors_;
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
    explicit CsvPrinter(bool baseline) : baseline_(baseline) {}

    void start(std::ostream& out) const override {
        out << "file,line,record_type,field,field_name,character,span,check_code,level,message,"
               "value,written_level"
            << (baseline_ ? ",baseline\r\n" : "\r\n");
    }

    std::unique_ptr<FilePrinter> forFile(std::ostream& out, const std::string& file,
                                         std::size_t) const override {
        return std::make_unique<File>(out, file);
    }

private:
    class File final : public FilePrinter {
    public:
        File(std::ostream& out, std::string file) : out_(out), file_(std::move(file)) {}

        void finding(const PrintedFinding& finding) override {
            WriteCsvField(out_, file_);
            out_ << ',' << finding.line << ',';
            WriteCsvField(out_, RecordTypeText(finding.identity.recordType));
            out_ << ',' << finding.field << ',';
            WriteCsvField(out_, finding.identity.fieldName);
            out_ << ',' << finding.character << ',' << finding.spanFirst << '-' << finding.spanLast
                 << ',' << CheckCodeName(finding.identity.code) << ',' << LevelText(finding.level)
                 << ',';
            WriteCsvField(out_, finding.message);
            out_ << ',';
            WriteCsvField(out_, finding.value);
            out_ << ',' << LevelText(finding.writtenLevel);
            if (finding.baseline) out_ << ',' << BaselineStateName(*finding.baseline);
            out_ << "\r\n";
        }

    private:
        std::ostream& out_;
        std::string file_;
    };

    bool baseline_;
};

}  // namespace

std::string_view CheckCodeName(OptionKey code) { return DefinitionOf(code).name; }

std::string_view RecordTypeText(const char& recordType) {
    return recordType == 0 ? std::string_view{} : std::string_view(&recordType, 1);
}

std::string FindingPosition(const PrintedFinding& finding) {
    std::string position = std::to_string(finding.line);
    if (finding.spanFirst > 0) {
        position += '.' + std::to_string(finding.spanFirst);
        if (finding.spanLast != finding.spanFirst)
            position += '-' + std::to_string(finding.spanLast);
    }
    return position;
}

std::string FindingText(const PrintedFinding& finding, const TerminalColors& colors) {
    const bool error = finding.level == Level::Error;
    return colors.paint(error ? "error:" : "warning:", error ? Tone::Error : Tone::Warning) + ' ' +
           std::string(finding.message) + " [" + std::string(CheckCodeName(finding.identity.code)) +
           ']';
}

std::unique_ptr<FindingPrinter> MakeFindingPrinter(OutputFormat format,
                                                   const TerminalColors& colors,
                                                   const PrinterSettings& settings) {
    switch (format) {
        case OutputFormat::Gnu:
            return std::make_unique<GnuPrinter>(colors);
        case OutputFormat::Json:
            return MakeJsonPrinter(settings.masked);
        case OutputFormat::Csv:
            return std::make_unique<CsvPrinter>(settings.baseline);
        case OutputFormat::Sarif:
            return MakeSarifPrinter();
        case OutputFormat::Text:
            break;
    }
    return settings.baseline ? MakeTextBaselinePrinter(colors) : nullptr;
}

}  // namespace talveron
