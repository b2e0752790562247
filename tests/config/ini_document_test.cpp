#include "config/ini_document.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace talveron {
namespace {

struct FindCase {
    const char* what;
    std::string text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

class IniFindTest : public testing::TestWithParam<FindCase> {};

TEST_P(IniFindTest, DeliversTheValueOfTheKey) {
    const FindCase& c = GetParam();
    const IniDocument document(c.text);
    const std::optional<std::string_view> found = document.find(c.section, c.key);
    if (c.expected) {
        ASSERT_TRUE(found.has_value()) << c.what;
        EXPECT_EQ(*found, *c.expected) << c.what;
    } else {
        EXPECT_FALSE(found.has_value()) << c.what << ": got \"" << *found << "\"";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniFindTest,
    testing::Values(
        FindCase{"names ignore letter case", "[Sex_List]\r\nm=Male\r\n", "SEX_list", "M", "Male"},
        FindCase{"first key of a name wins", "[s]\nk=one\nK=two\n", "s", "k", "one"},
        FindCase{"first section of a name wins", "[s]\nk=one\n[S]\nk=two\n", "s", "k", "one"},
        FindCase{"keys of a repeated section are not read", "[s]\nk=1\n[S]\nj=2\n", "s", "j",
                 std::nullopt},
        FindCase{"other sections do not leak", "[a]\nk=1\n[b]\nj=2\n", "a", "j", std::nullopt},
        FindCase{"blanks and tabs dropped", "[ \ts \t]\n \t key \t= \t value one \t\n", "s", "key",
                 "value one"},
        FindCase{"double quotes dropped", "[s]\nk=\"quoted value\"\n", "s", "k", "quoted value"},
        FindCase{"single quotes dropped", "[s]\nk='x'\n", "s", "k", "x"},
        FindCase{"blanks inside quotes kept", "[s]\nk = ' x ' \n", "s", "k", " x "},
        FindCase{"unmatched quotes kept", "[s]\nk=\"x'\n", "s", "k", "\"x'"},
        FindCase{"only one pair of quotes dropped", "[s]\nk=\"\"x\"\"\n", "s", "k", "\"x\""},
        FindCase{"a lone quote is a value", "[s]\nk=\"\n", "s", "k", "\""},
        FindCase{"an opening quote alone is kept", "[s]\nk=\"abc\n", "s", "k", "\"abc"},
        FindCase{"empty value reads as absent", "[s]\nk=\nj=1\n", "s", "k", std::nullopt},
        FindCase{"blank value reads as absent", "[s]\nk= \t \n", "s", "k", std::nullopt},
        FindCase{"empty quotes read as absent", "[s]\nk=\"\"\n", "s", "k", std::nullopt},
        FindCase{"an empty first key hides a later one", "[s]\nk=\nk=2\n", "s", "k", std::nullopt},
        FindCase{"value after the first equals sign", "[s]\nk=a=b\n", "s", "k", "a=b"},
        FindCase{"lone CR ends lines", "[s]\rk=v\rj=w", "s", "j", "w"},
        FindCase{"lone LF ends lines", "[s]\nk=v\nj=w", "s", "k", "v"},
        FindCase{"CR LF ends lines", "[s]\r\nk=v\r\nj=w\r\n", "s", "k", "v"},
        FindCase{"mixed terminators", "[s]\r\na=1\rb=2\nc=3\r\n", "s", "b", "2"},
        FindCase{"lines outside sections ignored", "k=v\n[s]\nj=1\n", "s", "k", std::nullopt},
        FindCase{"line without equals sign defines nothing", "[s]\nk\nk=v\n", "s", "k", "v"},
        FindCase{"header without closing bracket", "[s\nk=v\n", "s", "k", "v"},
        FindCase{"text after the header ignored", "  [s] ; note\nk=v\n", "s", "k", "v"},
        FindCase{"missing section", "[s]\nk=v\n", "t", "k", std::nullopt},
        FindCase{"missing key", "[s]\nk=v\n", "s", "j", std::nullopt},
        FindCase{"only ASCII letters fold", "[s]\n\xC3\x84=v\n", "s", "\xC3\xA4", std::nullopt},
        FindCase{"empty text", "", "s", "k", std::nullopt}),
    [](const testing::TestParamInfo<FindCase>& info) {
        return "Case" + std::to_string(info.index);
    });

TEST(IniDocumentTest, CutsValuesAt1023Characters) {
    const IniDocument document("[s]\nk=" + std::string(1500, 'a') +
                               "\nj=" + std::string(1023, 'b') + "\n");
    EXPECT_EQ(document.find("s", "k"), std::string(1023, 'a'));
    EXPECT_EQ(document.find("s", "j"), std::string(1023, 'b'));
}

TEST(IniDocumentTest, CutsAfterDroppingQuotes) {
    const IniDocument document("[s]\nk=\"" + std::string(1023, 'a') + "\"\n");
    EXPECT_EQ(document.find("s", "k"), std::string(1023, 'a'));
}

TEST(IniDocumentTest, VisitsFirstOccurrenceOfEachKeyInFileOrder) {
    const IniDocument document("[L]\nb = 'two' \na=1\nB=again\nempty=\n[l]\nc=3\n[other]\nd=4\n");
    std::vector<std::pair<std::string, std::string>> visited;
    document.forEachKey("l", [&](std::string_view key, std::string_view value) {
        visited.emplace_back(key, value);
    });
    const std::vector<std::pair<std::string, std::string>> expected{
        {"b", "two"}, {"a", "1"}, {"empty", ""}};
    EXPECT_EQ(visited, expected);
}

TEST(IniDocumentTest, VisitsNothingForAMissingSection) {
    const IniDocument document("[a]\nk=1\n");
    int visits = 0;
    document.forEachKey("b", [&](std::string_view, std::string_view) { ++visits; });
    EXPECT_EQ(visits, 0);
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

struct SetCase {
    const char* what;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

class IniSetValueTest : public testing::TestWithParam<SetCase> {};

TEST_P(IniSetValueTest, ChangesOnlyTheLineConcerned) {
    const SetCase& c = GetParam();
    IniDocument document(c.before);
    document.setValue(c.section, c.key, c.value);
    EXPECT_EQ(document.text(), c.after) << c.what;
    EXPECT_EQ(document.find(c.section, c.key), c.value) << c.what << ": not re-read";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniSetValueTest,
    testing::Values(
        SetCase{"replace keeps the bytes before the equals sign and the terminator",
                "[s]\r\n Key \t= old \r\nz=1\r\n", "S", "key", "new",
                "[s]\r\n Key \t=new\r\nz=1\r\n"},
        SetCase{"replace only the first key of the name", "[s]\nk=1\nk=2\n", "s", "k", "9",
                "[s]\nk=9\nk=2\n"},
        SetCase{"replace in the first section of the name", "[s]\nk=1\n[S]\nk=2\n", "s", "k", "9",
                "[s]\nk=9\n[S]\nk=2\n"},
        SetCase{"replace on an unterminated last line", "[s]\nk=1", "s", "k", "22", "[s]\nk=22"},
        SetCase{"replace a quoted value whole", "[s]\rk=\"a b\"\r", "s", "k", "c", "[s]\rk=c\r"},
        SetCase{"insert after the last key line, before trailing lines",
                "[a]\nx=1\n\n; note\n[b]\ny=2\n", "a", "z", "3",
                "[a]\nx=1\nz=3\n\n; note\n[b]\ny=2\n"},
        SetCase{"insert after a repeated key", "[a]\nx=1\nx=2\n\n", "a", "y", "3",
                "[a]\nx=1\nx=2\ny=3\n\n"},
        SetCase{"insert right after a header with no keys", "[a]\n\n[b]\n", "a", "k", "v",
                "[a]\nk=v\n\n[b]\n"},
        SetCase{"insert after an unterminated last key line", "[a]\r\nx=1", "a", "k", "v",
                "[a]\r\nx=1\r\nk=v\r\n"},
        SetCase{"insert after an unterminated header", "[a]", "a", "k", "v", "[a]\r\nk=v\r\n"},
        SetCase{"insert into the first section when a repeat holds the key", "[a]\nx=1\n[A]\nk=1\n",
                "a", "k", "2", "[a]\nx=1\nk=2\n[A]\nk=1\n"},
        SetCase{"append a section to a CR LF text", "[a]\r\nx=1\r\n", "b", "k", "v",
                "[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
        SetCase{"append a section to an LF text", "[a]\nx=1\n", "b", "k", "v",
                "[a]\nx=1\n[b]\nk=v\n"},
        SetCase{"append a section to a CR text", "[a]\rx=1\r", "b", "k", "v",
                "[a]\rx=1\r[b]\rk=v\r"},
        SetCase{"the first line decides the terminator", "; c\n[a]\r\nx=1\r\n", "b", "k", "v",
                "; c\n[a]\r\nx=1\r\n[b]\nk=v\n"},
        SetCase{"append after a text without a final terminator", "[a]\nx=1", "b", "k", "v",
                "[a]\nx=1\n[b]\nk=v\n"},
        SetCase{"an empty text gets CR LF", "", "b", "k", "v", "[b]\r\nk=v\r\n"}),
    [](const testing::TestParamInfo<SetCase>& info) {
        return "Case" + std::to_string(info.index);
    });

struct ProfileCase {
    std::string text;
    const char* defaultValue;
    const char* expected;
};

class ReadProfileValueTest : public testing::TestWithParam<ProfileCase> {};

TEST_P(ReadProfileValueTest, MapsTheBooleanWordsExactly) {
    const ProfileCase& c = GetParam();
    EXPECT_EQ(ReadProfileValue(IniDocument(c.text), "s", "k", c.defaultValue), c.expected)
        << c.text;
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadProfileValueTest,
                         testing::Values(ProfileCase{"[s]\nk=True\n", "d", "-1"},
                                         ProfileCase{"[s]\nk=False\n", "d", "0"},
                                         ProfileCase{"[s]\nk=\"True\"\n", "d", "-1"},
                                         ProfileCase{"[s]\nk=true\n", "d", "true"},
                                         ProfileCase{"[s]\nk=FALSE\n", "d", "FALSE"},
                                         ProfileCase{"[s]\nk=Trueish\n", "d", "Trueish"},
                                         ProfileCase{"[s]\nk=7\n", "d", "7"},
                                         ProfileCase{"[s]\nk=\n", "d", "d"},
                                         ProfileCase{"[s]\n", "d", "d"},
                                         ProfileCase{"", "True", "-1"}, ProfileCase{"", "", ""}));

struct WriteCase {
    const char* value;
    const char* written;
};

class WriteProfileValueTest : public testing::TestWithParam<WriteCase> {};

TEST_P(WriteProfileValueTest, MapsTheBooleanWordsExactly) {
    IniDocument document("[s]\nk=1\n");
    WriteProfileValue(document, "s", "k", GetParam().value);
    EXPECT_EQ(document.text(), std::string("[s]\nk=") + GetParam().written + "\n");
}

INSTANTIATE_TEST_SUITE_P(Cases, WriteProfileValueTest,
                         testing::Values(WriteCase{"True", "-1"}, WriteCase{"False", "0"},
                                         WriteCase{"true", "true"}, WriteCase{"0", "0"},
                                         WriteCase{"", ""}));

TEST(FoldCaseTest, FoldsOnlyAsciiLetters) {
    EXPECT_EQ(FoldCase("AbZ_az-09[\xC3\x84]"), "abz_az-09[\xC3\x84]");
}

}  // namespace
}  // namespace talveron
