#include "config/ini_document.h"

#include <algorithm>
#include <utility>

namespace talveron {
namespace {

// The profile routines hand values over in a buffer of 1024 characters.
constexpr std::size_t kMaxValueLength = 1023;
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }
bool IsQuote(char c) { return c == '"' || c == '\''; }

char FoldChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// [begin, end) without the blanks at either end.
std::pair<std::size_t, std::size_t> TrimBlanks(std::string_view text, std::size_t begin,
                                               std::size_t end) {
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return {begin, end};
}

// Offset of the first CR or LF at or after `begin`, or the end of the text. (find_first_of would
// look each character up in the set with a call of its own.)
std::size_t LineEnd(std::string_view text, std::size_t begin) {
    const auto end =
        std::find_if(text.begin() + static_cast<std::ptrdiff_t>(begin), text.end(), IsLineBreak);
    return static_cast<std::size_t>(end - text.begin());
}

// Offset of the first character after the terminator at `end` (CR LF, LF or CR).
std::size_t NextLine(std::string_view text, std::size_t end) {
    if (end == text.size()) return end;
    const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    return end + (crLf ? 2 : 1);
}

std::string_view MapBooleanWord(std::string_view value) {
    if (value == "True") return "-1";
    if (value == "False") return "0";
    return value;
}

}  // namespace

std::string FoldCase(std::string_view text) {
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldChar);
    return folded;
}

IniDocument::IniDocument(std::string text) : text_(std::move(text)) { index(); }

void IniDocument::index() {
    sections_.clear();
    firstSectionByName_.clear();
    repeats_.clear();
    const std::string_view text = text_;
    std::size_t current = kNone;  // the section that takes key lines; kNone outside or in a repeat
    std::size_t lineNumber = 0;
    // Editors on Windows start the file with a UTF-8 byte-order mark; it is not part of line 1.
    const std::size_t start = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    for (std::size_t begin = start; begin < text.size();) {
        ++lineNumber;
        const std::size_t end = LineEnd(text, begin);
        const std::size_t next = NextLine(text, end);
        const std::string_view line = text.substr(begin, end - begin);
        const std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string_view::npos && line[first] == '[') {
            const std::size_t close = std::min(line.find(']', first + 1), line.size());
            const auto [nameBegin, nameEnd] = TrimBlanks(line, first + 1, close);
            const Span name{begin + nameBegin, nameEnd - nameBegin};
            const auto [it, added] =
                firstSectionByName_.try_emplace(FoldCase(slice(name)), sections_.size());
            current = added ? sections_.size() : kNone;
            if (added) {
                sections_.push_back(Section{name, lineNumber, next, {}, {}});
            } else {
                const Section& counted = sections_[it->second];
                repeats_.push_back(
                    {lineNumber, counted.line, std::string(slice(counted.name)), std::string()});
            }
        } else if (const std::size_t equals = line.find('=');
                   current != kNone && equals != std::string_view::npos) {
            const auto [keyBegin, keyEnd] = TrimBlanks(text, begin, begin + equals);
            auto [valueBegin, valueEnd] = TrimBlanks(text, begin + equals + 1, end);
            if (valueEnd - valueBegin >= 2 && IsQuote(text[valueBegin]) &&
                text[valueEnd - 1] == text[valueBegin]) {
                ++valueBegin;
                --valueEnd;
            }
            Section& section = sections_[current];
            section.contentEnd = next;
            const Entry entry{{keyBegin, keyEnd - keyBegin},
                              {valueBegin, std::min(valueEnd - valueBegin, kMaxValueLength)},
                              begin + equals + 1,
                              end,
                              lineNumber};
            const auto [found, added] =
                section.firstByKey.try_emplace(FoldCase(slice(entry.key)), section.entries.size());
            if (added) {
                section.entries.push_back(entry);
            } else {
                repeats_.push_back({lineNumber, section.entries[found->second].line,
                                    std::string(slice(section.name)),
                                    std::string(slice(entry.key))});
            }
        }
        begin = next;
    }
}

std::string_view IniDocument::slice(Span span) const {
    return std::string_view(text_).substr(span.offset, span.length);
}

const IniDocument::Section* IniDocument::findSection(std::string_view name) const {
    const auto it = firstSectionByName_.find(FoldCase(name));
    return it == firstSectionByName_.end() ? nullptr : &sections_[it->second];
}

const IniDocument::Entry* IniDocument::findEntry(std::string_view section,
                                                 std::string_view key) const {
    const Section* found = findSection(section);
    if (found == nullptr) return nullptr;
    const auto it = found->firstByKey.find(FoldCase(key));
    return it == found->firstByKey.end() ? nullptr : &found->entries[it->second];
}

std::optional<std::string_view> IniDocument::find(std::string_view section,
                                                  std::string_view key) const {
    const Entry* entry = findEntry(section, key);
    if (entry == nullptr || entry->value.length == 0) return std::nullopt;
    return slice(entry->value);
}

std::optional<std::string_view> IniDocument::verbatim(std::string_view section,
                                                      std::string_view key) const {
    const Entry* entry = findEntry(section, key);
    if (entry == nullptr) return std::nullopt;
    return std::string_view(text_).substr(entry->valueBegin, entry->lineEnd - entry->valueBegin);
}

std::size_t IniDocument::sectionLine(std::string_view section) const {
    const Section* found = findSection(section);
    return found == nullptr ? 0 : found->line;
}

std::size_t IniDocument::keyLine(std::string_view section, std::string_view key) const {
    const Entry* entry = findEntry(section, key);
    return entry == nullptr ? 0 : entry->line;
}

void IniDocument::forEachSection(
    const std::function<void(std::string_view name, std::size_t line)>& visit) const {
    for (const Section& section : sections_) visit(slice(section.name), section.line);
}

void IniDocument::forEachKey(
    std::string_view section,
    const std::function<void(std::string_view key, std::string_view value)>& visit) const {
    const Section* found = findSection(section);
    if (found == nullptr) return;
    for (const Entry& entry : found->entries) visit(slice(entry.key), slice(entry.value));
}

std::string_view IniDocument::lineBreak() const {
    const std::size_t end = text_.find_first_of("\r\n");
    if (end == std::string::npos) return "\r\n";
    return std::string_view(text_).substr(end, NextLine(text_, end) - end);
}

void IniDocument::insertLine(std::size_t at, std::string_view line) {
    const std::string_view lineBreak = this->lineBreak();
    std::string inserted;
    // A last line without a terminator gets one before the new line follows it.
    if (at > 0 && !IsLineBreak(text_[at - 1])) inserted += lineBreak;
    inserted += line;
    inserted += lineBreak;
    text_.insert(at, inserted);
}

void IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    const std::string keyLine = std::string(key) + "=" + std::string(value);
    if (const Section* found = findSection(section); found == nullptr) {
        insertLine(text_.size(),
                   "[" + std::string(section) + "]" + std::string(lineBreak()) + keyLine);
    } else if (const auto it = found->firstByKey.find(FoldCase(key));
               it == found->firstByKey.end()) {
        insertLine(found->contentEnd, keyLine);
    } else {
        const Entry& entry = found->entries[it->second];
        text_.replace(entry.valueBegin, entry.lineEnd - entry.valueBegin, value);
    }
    index();
}

std::string ReadProfileValue(const IniDocument& document, std::string_view section,
                             std::string_view key, std::string_view defaultValue) {
    return std::string(MapBooleanWord(document.find(section, key).value_or(defaultValue)));
}

void WriteProfileValue(IniDocument& document, std::string_view section, std::string_view key,
                       std::string_view value) {
    document.setValue(section, key, MapBooleanWord(value));
}

}  // namespace talveron
