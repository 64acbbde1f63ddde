#include "D2rFile.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

std::string Rows(size_t count, const std::string& after) {
    std::string text = "[";
    for (size_t i = 0; i < count; ++i)
        text += "{\"id\":1,\"Key\":\"a\"},";
    return text + after;
}

std::string Nested(size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

const size_t enUS = 0, deDE = 2, frFR = 4;

}  // namespace

TEST(D2rFile, RealFilesSaveToTheSameBytesAndAnEditChangesOneLine) {
    SKIP_WITHOUT_REAL_DATA();
    for (const auto& entry : std::filesystem::directory_iterator(RealDataDir() / "json")) {
        const std::string original = ReadText(entry.path());
        SaveFuzzSeed("D2rFileFuzz", entry.path().filename().string(), ReadBytes(entry.path()));
        D2rFile file;
        std::string error;
        ASSERT_TRUE(file.Read(original, error)) << entry.path() << ": " << error;
        EXPECT_EQ(file.Bytes(), original) << entry.path();
        const size_t row = file.Rows().size() / 2;
        file.SetValue(row, enUS, "\"Edited\"\nvalue \xC3\xA9");
        const std::string edited = file.Bytes();
        const std::vector<size_t> changed = ChangedLines(original, edited);
        ASSERT_EQ(changed.size(), 1u) << entry.path();
        // The changed line is the one holding the new value.
        const size_t at = edited.find("\"enUS\": \"\\\"Edited\\\"\\nvalue \xC3\xA9\"");
        ASSERT_NE(at, std::string::npos) << entry.path();
        EXPECT_EQ(static_cast<size_t>(std::count(edited.begin(), edited.begin() + at, '\n')), changed[0]);
    }
}

// Inputs a reader must take or refuse clearly; what it takes it writes back unchanged.
TEST(D2rFile, HardInputsAreTakenOrRefusedClearly) {
    const std::string allEscapes = R"("\"\\\/\b\f\n\r\t\u00e9\u4E2D\ud83d\ude00")";
    const struct {
        std::string Name, Input, Error;
        std::string KeyText = "a";
    } cases[] = {
        {"huge id", "[{\"id\": 1e400, \"Key\": \"a\"}]", ""},
        {"huge number elsewhere", "[{\"id\": 1, \"Key\": \"a\", \"x\": -1e400}]", ""},
        {"huge enUS", "[{\"id\": 1, \"Key\": \"a\", \"enUS\": 1e400}]", "row 1 (line 1): \"enUS\" is a number, not a string"},
        {"huge Key", "[{\"id\": 1, \"Key\": 1e400}]", "\"Key\" is a number, not a string"},
        {"deep field", "[{\"id\": 1, \"Key\": \"a\", \"x\": " + Nested(5000) + "}]", ""},
        {"deep row", "[" + Nested(5000) + "]", "row 1 (line 1) is not an object"},
        {"deep unclosed", "[{\"id\": 1, \"Key\": \"a\", \"x\": " + std::string(5000, '['), "broken JSON at line 1: the file ends early"},
        {"broken", "[\n{\"id\": 1,\n\"Key\": \"a\",,\n}]", "broken JSON at line 3: expected a name in quotes"},
        {"ends early", "[{\"id\": 1, \"Key\": \"a\"}\r\n", "broken JSON at line 2: the file ends early"},
        {"after the end", "[] x", "text after the end"},
        {"raw line end", "[{\"id\": 1, \"Key\": \"a\nb\"}]", "line 1: a control character"},
        {"bad escape", "[{\"id\": 1, \"Key\": \"\\x\"}]", "unknown escape \\x"},
        {"lone high surrogate", "[{\"id\": 1, \"Key\": \"\\ud83d\"}]", "a high surrogate escape without a low one"},
        {"lone low surrogate", "[{\"id\": 1, \"Key\": \"\\ude00\"}]", "a low surrogate escape without a high one"},
        {"bad number", "[{\"id\": 01, \"Key\": \"a\"}]", "expected ',' or '}'"},
        {"every escape", "[{\"id\": 1, \"Key\": " + allEscapes + "}]", "", "\"\\/\b\f\n\r\t\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"},
        {"no array", "{\"id\": 1}", "not a JSON array of rows"},
        {"no Key", "[{\"id\": 1}]", "row 1 (line 1): \"Key\" is missing"},
        {"id twice", "[{\"id\": 1, \"Key\": \"a\", \"id\": 2}]", "gives \"id\" twice"},
        {"too many rows", Rows(65536, "@"), "row 65536 (line 1): the file has more rows than a table holds"},
        {"most rows", Rows(65534, "{\"id\":1,\"Key\":\"a\"}]"), ""},
        {"BOM CRLF", "\xEF\xBB\xBF[\r\n  {\"id\": 1, \"Key\": \"a\"}\r\n]\r\n", ""},
        {"LF no final line end", "[\n    {\"id\": 1, \"Key\": \"a\"}\n]", ""},
        {"empty", "", "broken JSON at line 1: the file ends early"},
    };
    for (const auto& c : cases) {
        SaveFuzzSeed("D2rFileFuzz", c.Name, {c.Input.begin(), c.Input.end()});
        D2rFile file;
        std::string error;
        const bool read = file.Read(c.Input, error);
        EXPECT_EQ(read, c.Error.empty()) << c.Name << ": " << error;
        if (!read) {
            EXPECT_NE(error.find(c.Error), std::string::npos) << c.Name << ": " << error;
            EXPECT_TRUE(file.Rows().empty()) << c.Name;
            continue;
        }
        EXPECT_EQ(file.Bytes(), c.Input) << c.Name;
        EXPECT_EQ(file.Rows().front().KeyField().Text, c.KeyText) << c.Name;
    }
}

TEST(D2rFile, IdsKeepTheirTextAndRepeatsAreNamed) {
    D2rFile file;
    std::string error;
    ASSERT_TRUE(file.Read("[{\"id\": 7, \"Key\": \"a\"}, {\"id\": 1e400, \"Key\": \"b\"}, {\"id\": 7, \"Key\": \"c\"},"
                          " {\"id\": 2.5, \"Key\": \"d\"}, {\"id\": 2.5, \"Key\": \"e\"}, {\"id\": 7, \"Key\": \"f\"}]",
                          error));
    EXPECT_EQ(file.Rows()[1].IdText, "1e400");
    EXPECT_FALSE(file.Rows()[1].Id);
    EXPECT_EQ(file.Rows()[0].Id, 7);
    EXPECT_EQ(file.RepeatedIds(), (std::vector<std::string>{"7", "2.5"}));
    EXPECT_EQ(file.NextFreeId(100), 8);
    D2rFile none;
    EXPECT_EQ(none.NextFreeId(100), 100);
    ASSERT_TRUE(none.Read("[{\"id\": 9223372036854775807, \"Key\": \"a\"}]", error));
    EXPECT_EQ(none.NextFreeId(100), std::nullopt);
}

// Each edit is written in the file's own form: its escaping, line ends and indents.
TEST(D2rFile, EditsAreWrittenInTheFilesOwnForm) {
    const struct {
        std::string Name, Input;
        std::function<void(D2rFile&)> Edit;
        std::string Expected;
    } cases[] = {
        {"escaped file", "[{\"id\": 1, \"Key\": \"a\", \"enUS\": \"\\u00e9\"}]",
         [](D2rFile& f) { f.SetValue(0, enUS, "\xC3\xA8\xF0\x9F\x98\x80\x01"); },
         "[{\"id\": 1, \"Key\": \"a\", \"enUS\": \"\\u00e8\\ud83d\\ude00\\u0001\"}]"},
        {"upper-case escapes", "[{\"id\": 1, \"Key\": \"\\u00C9\", \"enUS\": \"x\"}]",
         [](D2rFile& f) { f.SetValue(0, enUS, "\xC3\xA8"); }, "[{\"id\": 1, \"Key\": \"\\u00C9\", \"enUS\": \"\\u00E8\"}]"},
        {"raw file", "[{\"id\": 1, \"Key\": \"\xC3\xA9\", \"enUS\": \"x\"}]",
         [](D2rFile& f) { f.SetValue(0, enUS, "\xC3\xA8\t"); }, "[{\"id\": 1, \"Key\": \"\xC3\xA9\", \"enUS\": \"\xC3\xA8\\t\"}]"},
        {"same text", "[{\"id\": 1, \"Key\": \"a\", \"enUS\": \"\\u0041\"}]", [](D2rFile& f) { f.SetValue(0, enUS, "A"); },
         "[{\"id\": 1, \"Key\": \"a\", \"enUS\": \"\\u0041\"}]"},
        {"field in order", "[\n    {\n        \"id\": 1,\n        \"Key\": \"a\",\n        \"enUS\": \"A\",\n        \"frFR\": \"F\"\n    }\n]",
         [](D2rFile& f) { f.SetValue(0, deDE, "D"); },
         "[\n    {\n        \"id\": 1,\n        \"Key\": \"a\",\n        \"enUS\": \"A\",\n        \"deDE\": \"D\",\n"
         "        \"frFR\": \"F\"\n    }\n]"},
        {"field after Key", "[{\"id\":1,\"Key\":\"a\",\"frFR\":\"F\"}]", [](D2rFile& f) { f.SetValue(0, enUS, "E"); },
         "[{\"id\":1,\"Key\":\"a\",\"enUS\":\"E\",\"frFR\":\"F\"}]"},
        {"row appended", "\xEF\xBB\xBF[\r\n  {\r\n    \"id\": 4,\r\n    \"Key\": \"a\"\r\n  }\r\n]",
         [](D2rFile& f) { f.SetValue(f.AppendRow(std::to_string(*f.NextFreeId(0)), "b"), frFR, "F"); },
         "\xEF\xBB\xBF[\r\n  {\r\n    \"id\": 4,\r\n    \"Key\": \"a\"\r\n  },\r\n"
         "  {\r\n    \"id\": 5,\r\n    \"Key\": \"b\",\r\n    \"frFR\": \"F\"\r\n  }\r\n]"},
        {"row appended to none", "[\n]\n", [](D2rFile& f) { f.AppendRow("3", "k"); },
         "[\n  {\n    \"id\": 3,\n    \"Key\": \"k\"\n  }\n]\n"},
        {"first row removed", "[{\"id\":1,\"Key\":\"a\"},\n {\"id\":2,\"Key\":\"b\"},\n {\"id\":3,\"Key\":\"c\"}]",
         [](D2rFile& f) { f.KeepRows({1, 2}); }, "[{\"id\":2,\"Key\":\"b\"},\n {\"id\":3,\"Key\":\"c\"}]"},
        {"middle row removed", "[{\"id\":1,\"Key\":\"a\"},\n {\"id\":2,\"Key\":\"b\"},\n {\"id\":3,\"Key\":\"c\"}]",
         [](D2rFile& f) { f.KeepRows({0, 2}); }, "[{\"id\":1,\"Key\":\"a\"},\n {\"id\":3,\"Key\":\"c\"}]"},
        {"rows reordered", "[{\"id\":1,\"Key\":\"a\"},\n {\"id\":2,\"Key\":\"b\"},\n {\"id\":3,\"Key\":\"c\"}]",
         [](D2rFile& f) { f.KeepRows({2, 0}); }, "[{\"id\":3,\"Key\":\"c\"},\n {\"id\":1,\"Key\":\"a\"}]"},
    };
    for (const auto& c : cases) {
        D2rFile file;
        std::string error;
        ASSERT_TRUE(file.Read(c.Input, error)) << c.Name << ": " << error;
        c.Edit(file);
        EXPECT_EQ(file.Bytes(), c.Expected) << c.Name;
        D2rFile back;
        EXPECT_TRUE(back.Read(file.Bytes(), error)) << c.Name << ": " << error;
    }
}

TEST(D2rFile, ANewFileHasTheGamesForm) {
    D2rFile file;
    file.SetValue(file.AppendRow("10000", "a"), deDE, "\xC3\xBF" "c1Red\nline");
    EXPECT_EQ(file.Bytes(), "\xEF\xBB\xBF[\r\n  {\r\n    \"id\": 10000,\r\n    \"Key\": \"a\",\r\n"
                            "    \"deDE\": \"\xC3\xBF" "c1Red\\nline\"\r\n  }\r\n]\r\n");
}
