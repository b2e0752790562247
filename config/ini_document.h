#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace talveron {

/// An INI-format text held byte for byte, with the lookup rules of the profile routines:
/// section and key names match without regard to ASCII letter case; blanks (spaces and tabs)
/// around names and values are dropped, and so is one pair of matching quotes around a value;
/// a value is cut at 1023 characters; the first section of a name and the first key of a name in
/// it are the ones that count. A "[name]" line opens a section; a line with "=" inside a section
/// defines a key; every other line is ignored. CR LF, LF and CR all end a line.
///
/// Edits replace or insert single lines and keep every other byte of the text as it was.
///
/// Lines are numbered from 1 as an editor numbers them (a byte-order mark is not a line), so that
/// a problem with a section or key can name the line it is written on.
class IniDocument {
public:
    /// A "[name]" or "key=value" line that the lookups ignore because an earlier one of that name
    /// counts: a repeated section (with every key in it) or a repeated key of a section.
    struct Repeat {
        std::size_t line;
        std::size_t firstLine;  ///< where the one that counts is
        std::string section;    ///< the section's name as first written
        std::string key;        ///< the key's name; empty for a repeated section
    };

    IniDocument() = default;
    explicit IniDocument(std::string text);

    /// The delivered value of a key, or nullopt when the section or key is absent or the value
    /// is empty (an empty value reads exactly like an absent key).
    std::optional<std::string_view> find(std::string_view section, std::string_view key) const;

    /// The text of a key exactly as written, from just after its "=" to the line end: blanks and
    /// quotes kept, not cut. For values that are data, such as a copied record; nullopt when the
    /// section or key is absent.
    std::optional<std::string_view> verbatim(std::string_view section, std::string_view key) const;

    /// Calls visit(key, value) for the first occurrence of every key name in the section, in file
    /// order, with its delivered value (possibly empty).
    void forEachKey(
        std::string_view section,
        const std::function<void(std::string_view key, std::string_view value)>& visit) const;

    /// The line of the section that counts, or 0 when there is none.
    std::size_t sectionLine(std::string_view section) const;
    /// The line of the key that counts, or 0 when there is none.
    std::size_t keyLine(std::string_view section, std::string_view key) const;
    /// Calls visit(name, line) for every section that counts, in file order.
    void forEachSection(
        const std::function<void(std::string_view name, std::size_t line)>& visit) const;
    /// The ignored repeats, in file order.
    const std::vector<Repeat>& repeats() const { return repeats_; }

    /// Sets a key: replaces the value of the first key of that name in place, or adds the key at
    /// the end of the section, or adds the section at the end of the text.
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    /// The whole text, as read and edited.
    const std::string& text() const { return text_; }

private:
    // Offsets into text_ rather than views, so that copies and moves stay valid.
    struct Span {
        std::size_t offset;
        std::size_t length;
    };
    struct Entry {
        Span key;                // name as written, blanks dropped
        Span value;              // delivered value
        std::size_t valueBegin;  // offset just after "="
        std::size_t lineEnd;     // offset of the line terminator (or end of text)
        std::size_t line;
    };
    struct Section {
        Span name;
        std::size_t line;
        std::size_t contentEnd;  // offset just after the last key line's terminator
        std::vector<Entry> entries;
        std::unordered_map<std::string, std::size_t> firstByKey;  // folded key -> entry index
    };

    void index();
    const Section* findSection(std::string_view name) const;
    const Entry* findEntry(std::string_view section, std::string_view key) const;
    std::string_view slice(Span span) const;
    std::string_view lineBreak() const;
    void insertLine(std::size_t at, std::string_view line);

    std::string text_;
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> firstSectionByName_;  // folded name -> index
    std::vector<Repeat> repeats_;
};

/// ReadProfileValue: the key's value, or defaultValue when it is absent or empty; a result of
/// exactly "True" reads as "-1" and exactly "False" as "0".
std::string ReadProfileValue(const IniDocument& document, std::string_view section,
                             std::string_view key, std::string_view defaultValue);

/// WriteProfileValue on a document in memory: "True" is written as "-1", "False" as "0".
void WriteProfileValue(IniDocument& document, std::string_view section, std::string_view key,
                       std::string_view value);

/// ASCII letters folded to lower case; other bytes unchanged.
std::string FoldCase(std::string_view text);

}  // namespace talveron
