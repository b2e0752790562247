#include "config/ini_document.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace talveron {
namespace {

TEST(IniDocumentTest, FindDeliversTheValueOfTheKey) {
    struct Case {
        const char* what;
        std::string text;
        const char* section;
        const char* key;
        std::optional<std::string> expected;
    };
    const std::nullopt_t absent = std::nullopt;
    const Case cases[] = {
        {"names ignore letter case", "[Sex_List]\r\nm=Male\r\n", "SEX_list", "M", "Male"},
        {"first key of a name wins", "[s]\nk=one\nK=two\n", "s", "k", "one"},
        {"first section of a name wins", "[s]\nk=one\n[S]\nk=two\n", "s", "k", "one"},
        {"keys of a repeated section are not read", "[s]\nk=1\n[S]\nj=2\n", "s", "j", absent},
        {"other sections do not leak", "[a]\nk=1\n[b]\nj=2\n", "a", "j", absent},
        {"blanks and tabs dropped", "[ \ts \t]\n \t key \t= \t value one \t\n", "s", "key",
         "value one"},
        {"double quotes dropped", "[s]\nk=\"quoted value\"\n", "s", "k", "quoted value"},
        {"blanks inside single quotes kept", "[s]\nk = ' x ' \n", "s", "k", " x "},
        {"unmatched quotes kept", "[s]\nk=\"x'\n", "s", "k", "\"x'"},
        {"only one pair of quotes dropped", "[s]\nk=\"\"x\"\"\n", "s", "k", "\"x\""},
        {"a lone quote is a value", "[s]\nk=\"\n", "s", "k", "\""},
        {"an opening quote alone is kept", "[s]\nk=\"abc\n", "s", "k", "\"abc"},
        {"empty value reads as absent", "[s]\nk=\nj=1\n", "s", "k", absent},
        {"blank value reads as absent", "[s]\nk= \t \n", "s", "k", absent},
        {"empty quotes read as absent", "[s]\nk=\"\"\n", "s", "k", absent},
        {"an empty first key hides a later one", "[s]\nk=\nk=2\n", "s", "k", absent},
        {"value after the first equals sign", "[s]\nk=a=b\n", "s", "k", "a=b"},
        {"lone CR ends lines", "[s]\rk=v\rj=w", "s", "j", "w"},
        {"mixed terminators", "[s]\r\na=1\rb=2\nc=3\r\n", "s", "b", "2"},
        {"lines outside sections ignored", "k=v\n[s]\nj=1\n", "s", "k", absent},
        {"line without equals sign defines nothing", "[s]\nk\nk=v\n", "s", "k", "v"},
        {"header without closing bracket", "[s\nk=v\n", "s", "k", "v"},
        {"text after the header ignored", "  [s] ; note\nk=v\n", "s", "k", "v"},
        {"missing section", "[s]\nk=v\n", "t", "k", absent},
        {"missing key", "[s]\nk=v\n", "s", "j", absent},
        {"only ASCII letters fold", "[s]\n\xC3\x84=v\n", "s", "\xC3\xA4", absent},
        {"empty text", "", "s", "k", absent},
        {"a byte-order mark before the first line", "\xEF\xBB\xBF[H]\r\n1=A\r\n", "H", "1", "A"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IniDocument(c.text).find(c.section, c.key), c.expected) << c.what;
    }
}

TEST(IniDocumentTest, CutsValuesAt1023CharactersAfterDroppingQuotesButNotVerbatim) {
    const std::string text = "[s]\nk=" + std::string(1500, 'a') + "\nj=" + std::string(1023, 'b') +
                             "\nq=\"" + std::string(1023, 'c') + "\"\nv = ' x ' \r\n";
    const IniDocument document(text);
    EXPECT_EQ(document.find("s", "k"), std::string(1023, 'a'));
    EXPECT_EQ(document.find("s", "j"), std::string(1023, 'b'));
    EXPECT_EQ(document.find("s", "q"), std::string(1023, 'c'));
    EXPECT_EQ(document.verbatim("s", "k"), std::string(1500, 'a'));
    EXPECT_EQ(document.verbatim("s", "v"), " ' x ' ");
    EXPECT_EQ(document.verbatim("s", "x"), std::nullopt);
}

TEST(IniDocumentTest, VisitsFirstOccurrenceOfEachKeyInFileOrder) {
    const IniDocument document("[L]\nb = 'two' \na=1\nB=again\nempty=\n[l]\nc=3\n[other]\nd=4\n");
    std::vector<std::pair<std::string, std::string>> visited;
    const auto visit = [&](std::string_view key, std::string_view value) {
        visited.emplace_back(key, value);
    };
    document.forEachKey("l", visit);
    document.forEachKey("missing", visit);
    const std::vector<std::pair<std::string, std::string>> expected{
        {"b", "two"}, {"a", "1"}, {"empty", ""}};
    EXPECT_EQ(visited, expected);
}

TEST(IniDocumentTest, CopiesAndMovesReadTheirOwnText) {
    // Short texts live inside the string object, so stale views would read the source's bytes.
    IniDocument original("[s]\nk=v\n");
    const IniDocument copy = original;
    original.setValue("s", "k", "w");
    EXPECT_EQ(copy.find("s", "k"), "v");

    IniDocument source("[s]\nk=v\n");
    const IniDocument moved = std::move(source);
    source = IniDocument("[s]\nk=w\n");
    EXPECT_EQ(moved.find("s", "k"), "v");
}

TEST(IniDocumentTest, SetValueChangesOnlyTheLineConcerned) {
    struct Case {
        const char* what;
        std::string before;
        const char* section;
        const char* key;
        const char* value;
        std::string after;
    };
    const Case cases[] = {
        {"replace keeps the bytes before the equals sign and the terminator",
         "[s]\r\n Key \t= old \r\nz=1\r\n", "S", "key", "new", "[s]\r\n Key \t=new\r\nz=1\r\n"},
        {"replace only the first key of the name", "[s]\nk=1\nk=2\n", "s", "k", "9",
         "[s]\nk=9\nk=2\n"},
        {"replace in the first section of the name", "[s]\nk=1\n[S]\nk=2\n", "s", "k", "9",
         "[s]\nk=9\n[S]\nk=2\n"},
        {"replace on an unterminated last line", "[s]\nk=1", "s", "k", "22", "[s]\nk=22"},
        {"replace a quoted value whole", "[s]\rk=\"a b\"\r", "s", "k", "c", "[s]\rk=c\r"},
        {"insert after the last key line, before trailing lines", "[a]\nx=1\n\n; note\n[b]\ny=2\n",
         "a", "z", "3", "[a]\nx=1\nz=3\n\n; note\n[b]\ny=2\n"},
        {"insert after a repeated key", "[a]\nx=1\nx=2\n\n", "a", "y", "3",
         "[a]\nx=1\nx=2\ny=3\n\n"},
        {"insert right after a header with no keys", "[a]\n\n[b]\n", "a", "k", "v",
         "[a]\nk=v\n\n[b]\n"},
        {"insert after an unterminated last key line", "[a]\r\nx=1", "a", "k", "v",
         "[a]\r\nx=1\r\nk=v\r\n"},
        {"insert after an unterminated header", "[a]", "a", "k", "v", "[a]\r\nk=v\r\n"},
        {"insert into the first section when a repeat holds the key", "[a]\nx=1\n[A]\nk=1\n", "a",
         "k", "2", "[a]\nx=1\nk=2\n[A]\nk=1\n"},
        {"append a section to a CR LF text", "[a]\r\nx=1\r\n", "b", "k", "v",
         "[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
        {"append a section to a CR text", "[a]\rx=1\r", "b", "k", "v", "[a]\rx=1\r[b]\rk=v\r"},
        {"the first line decides the terminator", "; c\n[a]\r\nx=1\r\n", "b", "k", "v",
         "; c\n[a]\r\nx=1\r\n[b]\nk=v\n"},
        {"append after a text without a final terminator", "[a]\nx=1", "b", "k", "v",
         "[a]\nx=1\n[b]\nk=v\n"},
        {"an empty text gets CR LF", "", "b", "k", "v", "[b]\r\nk=v\r\n"},
    };
    for (const Case& c : cases) {
        IniDocument document(c.before);
        document.setValue(c.section, c.key, c.value);
        EXPECT_EQ(document.text(), c.after) << c.what;
        EXPECT_EQ(document.find(c.section, c.key), c.value) << c.what << ": not re-read";
    }
}

TEST(IniDocumentTest, ProfileValuesMapExactlyTheBooleanWords) {
    // word as written or to be written, what reading it delivers, what writing it leaves
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"True", "-1", "-1"},     {"False", "0", "0"},         {"\"True\"", "-1", "\"True\""},
        {"true", "true", "true"}, {"FALSE", "FALSE", "FALSE"}, {"Trueish", "Trueish", "Trueish"},
        {"", "default", ""},
    };
    for (const auto& [word, read, written] : cases) {
        EXPECT_EQ(ReadProfileValue(IniDocument("[s]\nk=" + word + "\n"), "s", "k", "default"), read)
            << word;
        IniDocument document("[s]\nk=1\n");
        WriteProfileValue(document, "s", "k", word);
        EXPECT_EQ(document.text(), "[s]\nk=" + written + "\n") << word;
    }
    EXPECT_EQ(ReadProfileValue(IniDocument(), "s", "k", "True"), "-1");
    EXPECT_EQ(ReadProfileValue(IniDocument(), "s", "k", ""), "");
}

TEST(FoldCaseTest, FoldsOnlyAsciiLetters) {
    EXPECT_EQ(FoldCase("AbZ_az-09[\xC3\x84]"), "abz_az-09[\xC3\x84]");
}

}  // namespace
}  // namespace talveron
