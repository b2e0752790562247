#include "cli/text_printer.h"

#include <string>
#include <vector>

namespace talveron {

namespace {

class TextBaselinePrinter final : public FindingPrinter {
public:
    explicit TextBaselinePrinter(const TerminalColors& colors) : colors_(colors) {}

    std::unique_ptr<FilePrinter> forFile(std::ostream& out, const std::string&,
                                         std::size_t) const override {
        return std::make_unique<File>(out, colors_);
    }

private:
    class File final : public FilePrinter {
    public:
        File(std::ostream& out, const TerminalColors& colors) : out_(out), colors_(colors) {}

        // The lists come after the summary, which is printed once the run has ended.
        void finding(const PrintedFinding& finding) override {
            if (finding.baseline == BaselineState::Unchanged) return;
            (finding.baseline == BaselineState::New ? added_ : fixed_)
                .push_back("    line " + FindingPosition(finding) + ": " +
                           FindingText(finding, colors_) + '\n');
        }

        void finished(const RunOutcome&, const FileEnd& end) override {
            if (!end.baseline) return;
            out_ << "  Baseline: " << BaselineCountsText(*end.baseline) << '\n';
            print("  New:\n", added_);
            print("  Fixed (at their lines in the baseline):\n", fixed_);
        }

    private:
        void print(std::string_view heading, const std::vector<std::string>& lines) {
            if (lines.empty()) return;
            out_ << heading;
            for (const std::string& line : lines) out_ << line;
        }

        std::ostream& out_;
        const TerminalColors& colors_;
        std::vector<std::string> added_;
        std::vector<std::string> fixed_;
    };

    TerminalColors colors_;
};

}  // namespace

std::unique_ptr<FindingPrinter> MakeTextBaselinePrinter(const TerminalColors& colors) {
    return std::make_unique<TextBaselinePrinter>(colors);
}

}  // namespace talveron
