#include "TblDocument.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::u16string>;

TblDocument ThreeEntries() {
    TblDocument doc;
    doc.Keys = {u"k0", u"k1", u"k2"};
    doc.Values = {u"v0", u"v1", u"v2"};
    return doc;
}

}  // namespace

TEST(TblDocumentEntries, InsertRemoveAndMoveKeepKeysAndValuesInStep) {
    TblDocument doc = ThreeEntries();
    ASSERT_TRUE(doc.Insert(1, u"new", u"nv"));
    EXPECT_EQ(doc.Keys, (Strings{u"k0", u"new", u"k1", u"k2"}));
    EXPECT_EQ(doc.Values, (Strings{u"v0", u"nv", u"v1", u"v2"}));
    doc.Move(0, 3);
    EXPECT_EQ(doc.Keys, (Strings{u"new", u"k1", u"k2", u"k0"}));
    EXPECT_EQ(doc.Values, (Strings{u"nv", u"v1", u"v2", u"v0"}));
    doc.Move(2, 0);
    EXPECT_EQ(doc.Keys, (Strings{u"k2", u"new", u"k1", u"k0"}));
    doc.Remove(1);
    EXPECT_EQ(doc.Keys, (Strings{u"k2", u"k1", u"k0"}));
    EXPECT_EQ(doc.Values, (Strings{u"v2", u"v1", u"v0"}));
    EXPECT_EQ(doc.Count(), 3u);
}

TEST(TblDocumentEntries, RemoveManyTakesOutExactlyTheGivenEntries) {
    TblDocument doc = ThreeEntries();
    doc.Insert(3, u"k3", u"v3");
    doc.RemoveMany({0, 2});
    EXPECT_EQ(doc.Keys, (Strings{u"k1", u"k3"}));
    EXPECT_EQ(doc.Values, (Strings{u"v1", u"v3"}));
}

TEST(TblDocumentEntries, OutOfRangeIndicesChangeNothing) {
    TblDocument doc = ThreeEntries();
    EXPECT_FALSE(doc.Insert(4, u"x", u"y"));
    doc.Remove(3);
    doc.Move(0, 3);
    EXPECT_EQ(doc.Keys, ThreeEntries().Keys);
}

TEST(TblDocumentEntries, DuplicateKeysStayTwoEntries) {
    TblDocument doc;
    doc.Insert(0, u"same", u"a");
    doc.Insert(1, u"same", u"b");
    EXPECT_EQ(doc.Count(), 2u);
    EXPECT_EQ(doc.Values[1], u"b");
}

TEST(TblDocumentEntries, Refuses65536thEntry) {
    TblDocument doc;
    doc.Keys.assign(65535, u"k");
    doc.Values.assign(65535, u"");
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
    loaded.Values[0] = u"changed";
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
    EXPECT_EQ(doc.Values.size(), 0u);
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
