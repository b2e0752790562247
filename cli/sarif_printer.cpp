#include "cli/sarif_printer.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <vector>

#include "talveron/version.h"

namespace talveron {

namespace {

using Json = nlohmann::ordered_json;

std::string Dump(const Json& value) {
    // Records are bytes, not always UTF-8: invalid sequences are replaced rather than refused.
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

/// The load path made absolute as far as it can be; a path that cannot be is named as given.
std::string AbsolutePath(const std::string& file) {
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(file, ignored);
    return ignored ? file : absolute.lexically_normal().string();
}

std::string_view SarifLevel(Level level) { return level == Level::Error ? "error" : "warning"; }

/// SARIF's word for a finding's state: a fixed one is "absent" from this run.
std::string_view SarifBaselineState(BaselineState state) {
    return state == BaselineState::Fixed ? "absent" : BaselineStateName(state);
}

class SarifPrinter final : public FindingPrinter {
public:
    void start(std::ostream& out) const override {
        out << R"({"$schema":"https://docs.oasis-open.org/sarif/sarif/v2.1.0/errata01/os/schemas/sarif-schema-2.1.0.json","version":"2.1.0","runs":[)"
            << '\n';
    }

    std::unique_ptr<FilePrinter> forFile(std::ostream& out, const std::string& file,
                                         std::size_t index) const override {
        return std::make_unique<File>(out, file, index);
    }

    void end(std::ostream& out) const override { out << "]}\n"; }

private:
    class File final : public FilePrinter {
    public:
        File(std::ostream& out, const std::string& file, std::size_t index)
            : out_(out), uri_(FileUri(AbsolutePath(file))) {
            out_ << (index == 0 ? "" : ",\n") << R"({"results":[)";
        }

        void finding(const PrintedFinding& finding) override {
            Json region = {{"startLine", finding.line}};
            if (finding.spanFirst > 0) {
                region["startColumn"] = finding.spanFirst;
                region["endColumn"] = finding.spanLast + 1;
            }
            // A fixed finding of the baseline comes without its record.
            if (finding.baseline != BaselineState::Fixed)
                region["snippet"] = {{"text", finding.record}};
            Json result = {
                {"ruleId", CheckCodeName(finding.identity.code)},
                {"ruleIndex", ruleIndex(finding)},
                {"level", SarifLevel(finding.level)},
                {"message", {{"text", finding.message}}},
                {"locations",
                 {{{"physicalLocation",
                    {{"artifactLocation", {{"uri", uri_}, {"index", 0}}}, {"region", region}}}}}}};
            if (finding.baseline) result["baselineState"] = SarifBaselineState(*finding.baseline);
            Json properties;
            if (!finding.identity.fieldName.empty())
                properties["field"] = finding.identity.fieldName;
            if (finding.character > 0) properties["character"] = finding.character;
            if (!properties.empty()) result["properties"] = std::move(properties);
            out_ << (results_++ == 0 ? "\n" : ",\n") << Dump(result);
        }

        void finished(const RunOutcome& outcome, const FileEnd& end) override {
            const int exitStatus = end.exitStatus;
            Json driver = {{"name", "talveron-cli"},
                           {"version", kVersion},
                           {"semanticVersion", kVersion},
                           {"informationUri", FileUri(TALVERON_REFERENCE_PATH)},
                           {"rules", rules_}};
            Json invocation = {{"executionSuccessful", exitStatus < 2}, {"exitCode", exitStatus}};
            Json notifications = Json::array();
            for (const std::string& problem : RunProblems(outcome))
                notifications.push_back({{"level", "error"}, {"message", {{"text", problem}}}});
            if (!outcome.cancelReason.empty())
                notifications.push_back(
                    {{"level", "warning"}, {"message", {{"text", outcome.cancelReason}}}});
            if (!notifications.empty()) invocation["toolExecutionNotifications"] = notifications;
            out_ << "\n],\"tool\":" << Dump({{"driver", driver}})
                 << ",\"invocations\":" << Dump(Json::array({invocation}))
                 << ",\"artifacts\":" << Dump(Json::array({{{"location", {{"uri", uri_}}}}}))
                 << ",\"columnKind\":\"unicodeCodePoints\"";
            if (end.baseline) {
                const BaselineCounts& counts = *end.baseline;
                out_ << ",\"properties\":"
                     << Dump({{"baseline",
                               {{"fixed", counts.fixed},
                                {"new", counts.added},
                                {"unchanged", counts.unchanged}}}});
            }
            out_ << '}';
        }

    private:
        /// The rule of the finding's check code, added when the code is first found; the first
        /// finding's level stands as the rule's default.
        std::size_t ruleIndex(const PrintedFinding& finding) {
            const OptionKey key = finding.identity.code;
            for (std::size_t index = 0; index < codes_.size(); ++index) {
                if (codes_[index] == key) return index;
            }
            codes_.push_back(key);
            rules_.push_back({{"id", CheckCodeName(key)},
                              {"shortDescription", {{"text", DefinitionOf(key).caption}}},
                              {"defaultConfiguration", {{"level", SarifLevel(finding.level)}}}});
            return codes_.size() - 1;
        }

        std::ostream& out_;
        std::string uri_;
        std::size_t results_ = 0;
        std::vector<OptionKey> codes_;
        Json rules_ = Json::array();
    };
};

}  // namespace

std::unique_ptr<FindingPrinter> MakeSarifPrinter() { return std::make_unique<SarifPrinter>(); }

std::string FileUri(std::string_view absolutePath) {
    std::string uri = "file://";
    constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : absolutePath) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') ||
                           std::string_view("/-._~!$&'()*+,;=:@").find(c) != std::string_view::npos;
        if (plain) {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 15];
        }
    }
    return uri;
}

}  // namespace talveron
