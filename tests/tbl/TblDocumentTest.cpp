#include "TblDocument.h"

#include "TblTestTables.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::u16string>;

TblDocument ThreeEntries() { return TableOf({u"k0", u"k1", u"k2"}, {u"v0", u"v1", u"v2"}); }

// The bytes of a file of those entries, the last value with the red colour code.
std::vector<uint8_t> FileBytesOf(const TblDocument& doc) {
    TblBuilt built;
    std::string error;
    EXPECT_TRUE(doc.Build(TblValueForm::Exact, built, error)) << error;
    return {built.Bytes.data(), built.Bytes.data() + built.Bytes.size()};
}

std::vector<uint8_t> ThreeEntriesFile() {
    return FileBytesOf(TableOf({u"k0", u"k1", u"k2"}, {u"v0", u"v1", u"\u00FFc1v2"}));
}

}  // namespace

TEST(TblDocumentEntries, InsertRemoveAndMoveKeepKeysAndValuesInStep) {
    TblDocument doc = ThreeEntries();
    ASSERT_TRUE(doc.Insert(1, u"new", u"nv"));
    EXPECT_EQ(KeysOf(doc), (Strings{u"k0", u"new", u"k1", u"k2"}));
    EXPECT_EQ(ValuesOf(doc), (Strings{u"v0", u"nv", u"v1", u"v2"}));
    doc.Move(0, 3);
    EXPECT_EQ(KeysOf(doc), (Strings{u"new", u"k1", u"k2", u"k0"}));
    EXPECT_EQ(ValuesOf(doc), (Strings{u"nv", u"v1", u"v2", u"v0"}));
    doc.Move(2, 0);
    EXPECT_EQ(KeysOf(doc), (Strings{u"k2", u"new", u"k1", u"k0"}));
    doc.Remove(1);
    EXPECT_EQ(KeysOf(doc), (Strings{u"k2", u"k1", u"k0"}));
    EXPECT_EQ(ValuesOf(doc), (Strings{u"v2", u"v1", u"v0"}));
    EXPECT_EQ(doc.Count(), 3u);
}

TEST(TblDocumentEntries, RemoveManyTakesOutExactlyTheGivenEntries) {
    TblDocument doc = ThreeEntries();
    doc.Insert(3, u"k3", u"v3");
    doc.RemoveMany({0, 2});
    EXPECT_EQ(KeysOf(doc), (Strings{u"k1", u"k3"}));
    EXPECT_EQ(ValuesOf(doc), (Strings{u"v1", u"v3"}));
}

TEST(TblDocumentEntries, OutOfRangeIndicesChangeNothing) {
    TblDocument doc = ThreeEntries();
    EXPECT_FALSE(doc.Insert(4, u"x", u"y"));
    doc.Remove(3);
    doc.Move(0, 3);
    EXPECT_EQ(KeysOf(doc), KeysOf(ThreeEntries()));
}

TEST(TblDocumentEntries, DuplicateKeysStayTwoEntries) {
    TblDocument doc;
    doc.Insert(0, u"same", u"a");
    doc.Insert(1, u"same", u"b");
    EXPECT_EQ(doc.Count(), 2u);
    EXPECT_EQ(doc.Value(1), u"b");
}

TEST(TblDocumentEntries, Refuses65536thEntry) {
    TblDocument doc;
    ASSERT_TRUE(doc.InsertMany(0, std::vector<TblEntry>(65535, {u"k", u""})));
    EXPECT_FALSE(doc.Insert(0, u"one too many", u""));
    EXPECT_EQ(doc.Count(), 65535u);
}

TEST(TblDocumentTitle, NewTableIsUntitledAndClean) {
    TblDocument doc;
    EXPECT_EQ(doc.Title(), u"Strindle - Untitled");
    doc.MarkModified();
    doc.ModifiedShown = true;
    doc.Reset();
    EXPECT_EQ(doc.Title(), u"Strindle - Untitled");
    EXPECT_FALSE(doc.Modified);
    EXPECT_FALSE(doc.ModifiedShown);
    EXPECT_TRUE(doc.PathName.empty());
}

TEST(TblDocumentTitle, LoadSaveChangeShowsTheStarAgain) {
    ScratchDir dir;
    TblDocument doc = ThreeEntries();
    const std::u16string path = (dir / "table.tbl").u16string();
    ASSERT_TRUE(doc.Compile(path, false, {}));
    EXPECT_EQ(doc.Title(), u"Strindle - table.tbl");

    TblDocument loaded;
    ASSERT_TRUE(loaded.Load(path, false));
    EXPECT_EQ(loaded.Title(), u"Strindle - table.tbl");
    EXPECT_EQ(loaded.PathName, path);
    loaded.SetValue(0, u"changed");
    loaded.MarkModified();
    loaded.ModifiedShown = true;
    EXPECT_EQ(loaded.Title(), u"Strindle - table.tbl*");
    ASSERT_TRUE(loaded.Compile(path, false, {}));
    EXPECT_FALSE(loaded.Modified);
    EXPECT_FALSE(loaded.ModifiedShown);
    loaded.MarkModified();
    EXPECT_EQ(loaded.Title(), u"Strindle - table.tbl*");
}

TEST(TblDocumentTitle, FileNameIsTakenAfterEitherSeparator) {
    ScratchDir dir;
    TblDocument doc;
    doc.Load(u"C:\\mods\\data\\patchstring.tbl", false);
    EXPECT_EQ(doc.FileName, u"patchstring.tbl");
}

TEST(TblDocumentFile, FailedLoadLeavesAnEmptyDocumentNamedAfterTheFile) {
    ScratchDir dir;
    WriteBytes(dir / "broken.tbl", {1, 2, 3, 4});
    TblDocument doc = ThreeEntries();
    const Result loaded = doc.Load((dir / "broken.tbl").u16string(), false);
    const std::string& message = loaded.Message;
    EXPECT_FALSE(loaded);
    EXPECT_EQ(doc.Count(), 0u);
        EXPECT_EQ(doc.FileName, u"broken.tbl");
    EXPECT_NE(message.find("shorter than the 21-byte header"), std::string::npos) << message;
}

TEST(TblDocumentFile, FailedSaveKeepsNamesAndModifiedFlag) {
    ScratchDir dir;
    TblDocument doc = ThreeEntries();
    doc.PathName = u"old path";
    doc.FileName = u"old.tbl";
    doc.MarkModified();
    EXPECT_FALSE(doc.Compile((dir / "no such folder" / "x.tbl").u16string(), false, {}));
    EXPECT_EQ(doc.PathName, u"old path");
    EXPECT_EQ(doc.FileName, u"old.tbl");
    EXPECT_TRUE(doc.Modified);
}

TEST(TblDocumentEntries, EditingAnEntryReadFromAFileKeepsItsOtherHalf) {
    TblDocument doc;
    ASSERT_TRUE(doc.LoadBytes(ThreeEntriesFile(), true));
    doc.SetKey(0, u"renamed");
    doc.SetValue(1, u"new value");
    doc.Insert(0, u"added", u"");
    doc.Move(3, 1);
    EXPECT_EQ(KeysOf(doc), (Strings{u"added", u"k2", u"renamed", u"k1"}));
    EXPECT_EQ(ValuesOf(doc), (Strings{u"", u"\\red;v2", u"v0", u"new value"}));
}

TEST(TblDocumentFile, SaveWritesEditedAndUnchangedValuesInTheirGameForm) {
    // Stored values that are already in their game form are copied; one holding a "\n" token
    // and a carriage return is converted as an edited value is.
    ScratchDir dir;
    TblDocument loaded;
    ASSERT_TRUE(loaded.LoadBytes(FileBytesOf(TableOf({u"k0", u"k1", u"k2"}, {u"a\\nb\r", u"\u00FFc1v", u"\u4E2D"})),
                                 true));
    loaded.SetValue(2, u"\\blue;edited");
    ASSERT_TRUE(loaded.Compile((dir / "t.tbl").u16string(), false));
    TblDocument back;
    ASSERT_TRUE(back.Load((dir / "t.tbl").u16string(), false));
    EXPECT_EQ(ValuesOf(back), (Strings{u"a\nb", u"\u00FFc1v", u"\u00FFc3edited"}));
    EXPECT_EQ(ValuesOf(loaded), ValuesOf(back));
}

TEST(TblDocumentEntries, InsertManyAndMergeChangeNothingWhenRefused) {
    TblDocument doc = ThreeEntries();
    EXPECT_FALSE(doc.InsertMany(4, {{u"x", u"y"}}));
    EXPECT_FALSE(doc.InsertMany(0, std::vector<TblEntry>(65533, {u"k", u""})));
    EXPECT_FALSE(doc.ReplaceAndAppend({{0, {u"k0", u"changed"}}, {3, {u"k3", u"no such entry"}}}, {}));
    EXPECT_EQ(KeysOf(doc), KeysOf(ThreeEntries()));
    EXPECT_EQ(ValuesOf(doc), ValuesOf(ThreeEntries()));
    ASSERT_TRUE(doc.ReplaceAndAppend({{0, {u"k0", u"changed"}}}, {{u"k3", u"v3"}}));
    EXPECT_EQ(ValuesOf(doc), (Strings{u"changed", u"v1", u"v2", u"v3"}));
}
