#include "cli/finding_printer.h"

#include "cli/json_printer.h"
#include "cli/sarif_printer.h"
#include "config/option_settings.h"

namespace talveron {

namespace {

std::string Span(const FindingPlace& place) {
    std::string span = std::to_string(place.spanFirst);
    if (place.spanLast != place.spanFirst) span += "-" + std::to_string(place.spanLast);
    return span;
}

/// FILE:LINE.FIRST-LAST: error|warning: MESSAGE [CODE]
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

        void finding(const Finding& finding, const FindingPlace& place) override {
            std::string where = file_ + ':' + std::to_string(finding.lineNumber);
            if (place.spanFirst > 0) where += '.' + Span(place);
            const bool error = finding.counted == Level::Error;
            out_ << colors_.paint(where + ':', Tone::Strong) << ' '
                 << colors_.paint(error ? "error:" : "warning:",
                                  error ? Tone::Error : Tone::Warning)
                 << ' ' << finding.message << " [" << CheckCodeName(finding.code) << "]\n";
        }

    private:
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
    void start(std::ostream& out) const override {
        out << "file,line,record_type,field,field_name,character,span,check_code,level,message,"
               "value,written_level\r\n";
    }

    std::unique_ptr<FilePrinter> forFile(std::ostream& out, const std::string& file,
                                         std::size_t) const override {
        return std::make_unique<File>(out, file);
    }

private:
    class File final : public FilePrinter {
    public:
        File(std::ostream& out, std::string file) : out_(out), file_(std::move(file)) {}

        void finding(const Finding& finding, const FindingPlace& place) override {
            WriteCsvField(out_, file_);
            out_ << ',' << finding.lineNumber << ',';
            WriteCsvField(out_, RecordTypeText(place));
            out_ << ',' << finding.column << ',';
            WriteCsvField(out_, place.fieldName);
            out_ << ',' << finding.character << ',' << place.spanFirst << '-' << place.spanLast
                 << ',' << CheckCodeName(finding.code) << ',' << LevelText(finding.counted) << ',';
            WriteCsvField(out_, finding.message);
            out_ << ',';
            WriteCsvField(out_, place.value);
            out_ << ',' << LevelText(finding.level) << "\r\n";
        }

    private:
        std::ostream& out_;
        std::string file_;
    };
};

}  // namespace

std::string_view CheckCodeName(OptionKey code) { return DefinitionOf(code).name; }

std::string_view RecordTypeText(const FindingPlace& place) {
    return place.recordType == 0 ? std::string_view{} : std::string_view(&place.recordType, 1);
}

std::unique_ptr<FindingPrinter> MakeFindingPrinter(OutputFormat format,
                                                   const TerminalColors& colors) {
    switch (format) {
        case OutputFormat::Gnu:
            return std::make_unique<GnuPrinter>(colors);
        case OutputFormat::Json:
            return MakeJsonPrinter();
        case OutputFormat::Csv:
            return std::make_unique<CsvPrinter>();
        case OutputFormat::Sarif:
            return MakeSarifPrinter();
        case OutputFormat::Text:
            break;
    }
    return nullptr;
}

}  // namespace talveron
