#include "ExchangeTestSupport.h"

#include "WideText_win.h"

namespace {

class ImportTbl : public ExchangeTest {
protected:
    void ImportTable(const std::wstring& path) {
        prompts_.FileAnswers.push_back(path);
        SendCommand(ID_IMPORT_TBL);
    }
    std::wstring ValueShownFor(int row) {
        SelectRow(row);
        return EditorText();
    }
};

TEST_F(ImportTbl, AsksForTblFilesWithoutAFolderOrAQuestion) {
    OpenFile(MakeTable("doc.tbl", {u"a"}, {u"one"}));
    Type(L"!");
    prompts_.FileAnswers.push_back(std::nullopt);
    SendCommand(ID_IMPORT_TBL);
    EXPECT_TRUE(prompts_.Messages.empty()) << "a merge asks nothing about unsaved changes";
    ASSERT_EQ(prompts_.FileRequests.size(), 2u);
    const FileDialogRequest& request = prompts_.FileRequests[1];
    EXPECT_FALSE(request.Save);
    EXPECT_EQ(request.DefaultExtension, L"tbl");
    EXPECT_EQ(request.InitialFileName, L"*.tbl");
    EXPECT_EQ(request.Filter, L"Tbl Files (*.tbl)|*.tbl|All files (*.*)|*.*||");
    EXPECT_EQ(request.Flags, static_cast<DWORD>(OFN_FILEMUSTEXIST | OFN_HIDEREADONLY));
    EXPECT_EQ(request.InitialFolder, L"");
    EXPECT_EQ(EditorText(), L"one!");
    EXPECT_EQ(TitleOf(Window()), L"Strindle - doc.tbl*");
}

TEST_F(ImportTbl, ReplacesTheValueOfEveryEntryWithTheKeyAndAppendsNewKeys) {
    OpenFile(MakeTable("doc.tbl", {u"a", u"b", u"a", u"c"}, {u"one", u"two", u"one again", u"three"}));
    ImportTable(MakeTable("other.tbl", {u"d", u"a", u"e"}, {u"four", u"ONE", u"five"}));
    EXPECT_TRUE(prompts_.Messages.empty());
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"a", L"b", L"a", L"c", L"d", L"e"}));
    EXPECT_EQ(EditorText(), L"ONE") << "the caret entry's new value is shown";
    EXPECT_EQ(Status(2), L"Index: 0(0h)/5(5h)");
    EXPECT_EQ(TitleOf(Window()), L"Strindle - doc.tbl") << "a clean table stays clean";
    EXPECT_EQ(Status(1), L"Loaded");
    EXPECT_EQ(ValueShownFor(1), L"two");
    EXPECT_EQ(ValueShownFor(2), L"ONE");
    EXPECT_EQ(ValueShownFor(4), L"four");
    EXPECT_EQ(ValueShownFor(5), L"five");
}

TEST_F(ImportTbl, ModifiedTableStaysModified) {
    OpenFile(MakeTable("doc.tbl", {u"a", u"b"}, {u"one", u"two"}));
    SelectRow(1);
    Type(L"!");
    ImportTable(MakeTable("other.tbl", {u"c"}, {u"three"}));
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"a", L"b", L"c"}));
    EXPECT_EQ(TitleOf(Window()), L"Strindle - doc.tbl*");
    EXPECT_EQ(Status(1), L"Not Saved");
    EXPECT_EQ(Dialog().KeyList().Caret(), 1);
    EXPECT_EQ(EditorText(), L"two!");
    Type(L"?");  // goes on editing the entry the editor shows
    EXPECT_EQ(ValueShownFor(0), L"one");
    EXPECT_EQ(ValueShownFor(1), L"two!?");
}

TEST_F(ImportTbl, ColourCodesBecomeTokensAsOnOpen) {
    OpenFile(MakeTable("doc.tbl", {u"a"}, {u"\\red;old"}));
    ImportTable(MakeTable("other.tbl", {u"a"}, {u"\u00FFc3new"}));
    EXPECT_EQ(EditorText(), L"\\blue;new");
}

TEST_F(ImportTbl, DamagedFileLeavesTheTableAsItWas) {
    OpenFile(MakeTable("doc.tbl", {u"a", u"b"}, {u"one", u"two"}));
    SelectRow(1);
    const std::filesystem::path damaged = scratch_ / "damaged.tbl";
    WriteBytes(damaged, {0x01, 0x02, 0x03});
    ImportTable(damaged.wstring());
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_EQ(prompts_.Messages[0].Caption, L"Error");
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_EQ(EditorText(), L"two");
    EXPECT_EQ(TitleOf(Window()), L"Strindle - doc.tbl");
    EXPECT_EQ(Status(0), L"Ready.");
    EXPECT_EQ(Status(1), L"Loaded");
    EXPECT_EQ(ValueShownFor(0), L"one");
}

TEST_F(ImportTbl, MissingFileShowsTheLoadersMessage) {
    OpenFile(MakeTable("doc.tbl", {u"a"}, {u"one"}));
    const std::wstring missing = ScratchPath("missing.tbl");
    ImportTable(missing);
    EXPECT_EQ(prompts_.Texts(), std::vector<std::wstring>{L"File Open Error: " + missing + L"\n" +
                                                          WideFromUtf8(SystemErrorText(ERROR_FILE_NOT_FOUND)) + L"."});
    EXPECT_EQ(Rows(), std::vector<std::wstring>{L"a"});
}

TEST_F(ImportTbl, MergedTableSavesWithTheMergedEntries) {
    const std::wstring path = MakeTable("doc.tbl", {u"a", u"b"}, {u"one", u"two"});
    OpenFile(path);
    ImportTable(MakeTable("other.tbl", {u"b", u"c"}, {u"TWO", u"three"}));
    SendCommand(ID_FILE_SAVE);
    TblDocument saved;
    const Result loaded = saved.Load(Utf16(path), true);
    ASSERT_TRUE(loaded) << loaded.Message;
    EXPECT_EQ(KeysOf(saved), (std::vector<std::u16string>{u"a", u"b", u"c"}));
    EXPECT_EQ(ValuesOf(saved), (std::vector<std::u16string>{u"one", u"TWO", u"three"}));
}

}  // namespace
