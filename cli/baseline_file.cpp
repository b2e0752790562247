#include "cli/baseline_file.h"

#include <limits>
#include <nlohmann/json.hpp>
#include <stdexcept>

namespace talveron {

namespace {

using Json = nlohmann::json;

/// Why a line is not what the JSON output holds.
class NotOutput : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

const Json& Member(const Json& object, const char* name) {
    const auto found = object.find(name);
    if (found == object.end()) throw NotOutput(std::string("it has no \"") + name + '"');
    return *found;
}

std::string Text(const Json& object, const char* name) {
    const Json& value = Member(object, name);
    if (!value.is_string()) throw NotOutput(std::string("\"") + name + "\" is not a text");
    return value.get<std::string>();
}

/// A text that is null for records without such a field.
std::string TextOrNull(const Json& object, const char* name) {
    return Member(object, name).is_null() ? std::string() : Text(object, name);
}

template <typename Integer>
Integer Whole(const Json& value, const char* name) {
    if (!value.is_number_integer() || value.get<std::int64_t>() < 0 ||
        value.get<std::int64_t>() > std::numeric_limits<Integer>::max())
        throw NotOutput(std::string("\"") + name + "\" is not a whole number in range");
    return static_cast<Integer>(value.get<std::int64_t>());
}

Level LevelOf(const Json& object, const char* name) {
    const std::string text = Text(object, name);
    if (text == LevelText(Level::Error)) return Level::Error;
    if (text == LevelText(Level::Warning)) return Level::Warning;
    throw NotOutput(std::string("\"") + name + "\" is neither ERROR nor WARNING");
}

EarlierFinding FindingOf(const Json& object) {
    EarlierFinding finding;
    finding.line = Whole<std::int64_t>(Member(object, "line"), "line");
    const std::string type = Text(object, "recordType");
    if (type.size() > 1) throw NotOutput("\"recordType\" is longer than one character");
    finding.recordType = type.empty() ? 0 : type.front();
    finding.field = Whole<std::int32_t>(Member(object, "field"), "field");
    finding.fieldName = Text(object, "fieldName");
    finding.character = Whole<std::int32_t>(Member(object, "character"), "character");
    const Json& span = Member(object, "span");
    if (!span.is_array() || span.size() != 2) throw NotOutput("\"span\" is not two numbers");
    finding.spanFirst = Whole<std::int32_t>(span[0], "span");
    finding.spanLast = Whole<std::int32_t>(span[1], "span");
    const std::string code = Text(object, "code");
    const std::optional<OptionKey> key = OptionKeyNamed(code);
    if (!key) throw NotOutput("\"" + code + "\" is no check code");
    finding.code = *key;
    finding.level = LevelOf(object, "level");
    finding.writtenLevel = LevelOf(object, "writtenLevel");
    finding.message = Text(object, "message");
    finding.value = Text(object, "value");
    finding.idType = TextOrNull(object, "idType");
    finding.employeeId = TextOrNull(object, "employeeId");
    finding.monitoringStart = TextOrNull(object, "monitoringStart");
    finding.monitoringEnd = TextOrNull(object, "monitoringEnd");
    return finding;
}

FindingIdentity IdentityOf(const EarlierFinding& finding) {
    return {finding.recordType,    finding.idType, finding.employeeId, finding.monitoringStart,
            finding.monitoringEnd, finding.code,   finding.fieldName};
}

}  // namespace

PrintedFinding EarlierFinding::printed() const {
    PrintedFinding printed;
    printed.identity = IdentityOf(*this);
    printed.line = line;
    printed.field = field;
    printed.character = character;
    printed.spanFirst = spanFirst;
    printed.spanLast = spanLast;
    printed.level = level;
    printed.writtenLevel = writtenLevel;
    printed.message = message;
    printed.value = value;
    printed.baseline = BaselineState::Fixed;
    return printed;
}

std::vector<IdentityDigest> EarlierFile::digests() const {
    std::vector<IdentityDigest> digests;
    digests.reserve(findings.size());
    for (const EarlierFinding& finding : findings)
        digests.push_back(DigestOf(IdentityOf(finding), masked));
    return digests;
}

std::string ReadBaseline(std::istream& in, std::vector<EarlierFile>& files) {
    std::vector<EarlierFinding> pending;
    std::int64_t number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        const Json object = Json::parse(line, nullptr, false);
        try {
            if (object.is_discarded() || !object.is_object())
                throw NotOutput("it is not a JSON object");
            const std::string type = Text(object, "type");
            if (type == "finding") {
                EarlierFinding finding = FindingOf(object);
                const auto baseline = object.find("baseline");
                if (baseline == object.end() || *baseline != "fixed")
                    pending.push_back(std::move(finding));
            } else if (type == "summary") {
                const auto masked = object.find("masked");
                files.push_back(
                    {Text(object, "file"),
                     masked != object.end() && masked->is_boolean() && masked->get<bool>(),
                     std::move(pending)});
                pending.clear();
            } else {
                throw NotOutput("its type is neither finding nor summary");
            }
        } catch (const NotOutput& refusal) {
            return "line " + std::to_string(number) + ": " + refusal.what();
        }
    }
    if (in.bad()) return "it could not be read to its end";
    if (!pending.empty()) return "it ends before the summary of the findings of its last file";
    if (files.empty()) return "it holds no summary line";
    return {};
}

std::string PairWithBaseline(std::span<const EarlierFile> files,
                             std::span<const std::filesystem::path> loadFiles,
                             std::vector<const EarlierFile*>& pairs) {
    pairs.assign(loadFiles.size(), nullptr);
    if (files.size() == 1 && loadFiles.size() == 1) {
        pairs.front() = &files.front();
        return {};
    }
    for (std::size_t index = 0; index < loadFiles.size(); ++index) {
        const std::filesystem::path name = loadFiles[index].filename();
        for (const EarlierFile& file : files) {
            if (file.load.filename() != name) continue;
            if (pairs[index] != nullptr)
                return "it holds two load files named \"" + name.string() +
                       "\"; compare them one at a time";
            pairs[index] = &file;
        }
    }
    return {};
}

}  // namespace talveron
