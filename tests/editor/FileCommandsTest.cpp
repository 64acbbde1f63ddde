#include "GuiTestSupport.h"

#include "TestSupport.h"
#include "WideText_win.h"

#include <filesystem>

namespace {

struct LoadedTable {
    std::vector<std::u16string> Keys;
    std::vector<std::u16string> Values;
};

LoadedTable ReadTable(const std::wstring& path, bool parseOnLoad = true) {
    TblDocument table;
    const Result loaded = table.Load(Utf16(path), parseOnLoad);
    EXPECT_TRUE(loaded) << loaded.Message;
    return {KeysOf(table), ValuesOf(table)};
}

class FileCommands : public MainWindowTest {
protected:
    std::wstring SampleTable() { return MakeTable("sample.tbl", {u"a", u"b", u"c"}, {u"one", u"two", u"three"}); }
    HWND Status() { return Dialog().StatusBar(); }
};

TEST_F(FileCommands, NewOnCleanUntitledTableAsksNothingAndShowsZeros) {
    OpenWindow();
    SendCommand(ID_FILE_NEW);
    EXPECT_TRUE(prompts_.Messages.empty());
    EXPECT_EQ(Dialog().Document.Count(), 0u);
    EXPECT_EQ(TitleOf(Window()), L"Strindle - Untitled");
    EXPECT_EQ(StatusText(Status(), 1), L"");
    EXPECT_EQ(StatusText(Status(), 2), L"Index: 0(0h)/0(0h)");
    EXPECT_EQ(StatusText(Status(), 3), L"Hash: 0/0h");
}

TEST_F(FileCommands, NewOnModifiedTableAnsweredNoChangesNothing) {
    OpenWindow();
    std::wstring path = SampleTable();
    OpenFile(path);
    Type(L"+");
    prompts_.MessageAnswers.push_back(IDNO);
    SendCommand(ID_FILE_NEW);
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_EQ(prompts_.Messages[0].Text, L"File not Saved, Continue??");
    EXPECT_EQ(Dialog().Document.Count(), 3u);
    EXPECT_EQ(Dialog().Document.Value(0), u"one+");
    EXPECT_EQ(Dialog().Document.PathName, Utf16(path));
    EXPECT_EQ(Dialog().Document.FileName, u"sample.tbl");
    EXPECT_TRUE(Dialog().Document.Modified);
    EXPECT_EQ(Dialog().KeyList().Count(), 3);
    EXPECT_EQ(TitleOf(Window()), L"Strindle - sample.tbl*");
}

TEST_F(FileCommands, NewOnModifiedTableAnsweredYesEmptiesIt) {
    OpenWindow();
    OpenFile(SampleTable());
    Type(L"+");
    prompts_.MessageAnswers.push_back(IDYES);
    SendCommand(ID_FILE_NEW);
    EXPECT_EQ(Dialog().Document.Count(), 0u);
    EXPECT_EQ(Dialog().KeyList().Count(), 0);
    EXPECT_FALSE(Dialog().Document.Modified);
    EXPECT_TRUE(Dialog().Document.PathName.empty());
    EXPECT_EQ(TitleOf(Window()), L"Strindle - Untitled");
    EXPECT_EQ(EditorText(), L"");
    for (UINT id : {ID_FILE_SAVE, ID_EDIT_SEARCH, ID_EDIT_REPLACE})
        EXPECT_TRUE(MenuItemGrayed(Window(), id)) << id;
}

TEST_F(FileCommands, OpenAsksForTablesAndD2rFilesInTheDefaultDirectory) {
    OpenWindow();
    prompts_.FileAnswers.push_back(std::nullopt);
    SendCommand(ID_FILE_OPEN);
    ASSERT_EQ(prompts_.FileRequests.size(), 1u);
    const FileDialogRequest& request = prompts_.FileRequests[0];
    EXPECT_FALSE(request.Save);
    EXPECT_EQ(request.DefaultExtension, L"tbl");
    EXPECT_EQ(request.InitialFileName, L"*.tbl;*.json");
    EXPECT_EQ(request.Filter, L"String Tables (*.tbl, *.json)|*.tbl;*.json|Tbl Files (*.tbl)|*.tbl|"
                              L"D2R String Files (*.json)|*.json|All files (*.*)|*.*||");
    EXPECT_EQ(request.InitialFolder, L"C:\\");
    EXPECT_TRUE(request.Flags & OFN_FILEMUSTEXIST);
    EXPECT_TRUE(request.Flags & OFN_HIDEREADONLY);
}

TEST_F(FileCommands, OpenStartsInTheOpenTablesFolder) {
    OpenWindow();
    const std::wstring path = SampleTable();
    OpenFile(path);
    prompts_.FileAnswers.push_back(std::nullopt);
    SendCommand(ID_FILE_OPEN);
    EXPECT_EQ(prompts_.FileRequests.back().InitialFolder, FolderOfPath(path));
}

TEST_F(FileCommands, OpenShowsKeysFirstValueAndLoadedState) {
    OpenWindow();
    OpenFile(SampleTable());
    ASSERT_EQ(Dialog().KeyList().Count(), 3);
    EXPECT_EQ(Dialog().KeyList().RowText(0), u"a");
    EXPECT_EQ(Dialog().KeyList().RowText(2), u"c");
    EXPECT_EQ(Dialog().KeyList().Caret(), 0);
    EXPECT_EQ(EditorText(), L"one");
    EXPECT_EQ(TitleOf(Window()), L"Strindle - sample.tbl");
    EXPECT_EQ(StatusText(Status(), 0), L"Ready.");
    EXPECT_EQ(StatusText(Status(), 1), L"Loaded");
    EXPECT_EQ(StatusText(Status(), 2), L"Index: 0(0h)/2(2h)");
    EXPECT_FALSE(Dialog().Document.Modified);
}

TEST_F(FileCommands, CancelledOpenLeavesTheTableUntouched) {
    OpenWindow();
    OpenFile(SampleTable());
    Type(L"?");
    prompts_.MessageAnswers.push_back(IDYES);
    prompts_.FileAnswers.push_back(std::nullopt);
    SendCommand(ID_FILE_OPEN);
    EXPECT_EQ(Dialog().Document.Value(0), u"one?");
    EXPECT_TRUE(Dialog().Document.Modified);
    EXPECT_EQ(Dialog().KeyList().Count(), 3);
}

TEST_F(FileCommands, OpenOnModifiedTableAnsweredNoShowsNoDialog) {
    OpenWindow();
    OpenFile(SampleTable());
    Type(L"?");
    prompts_.MessageAnswers.push_back(IDNO);
    SendCommand(ID_FILE_OPEN);
    EXPECT_EQ(prompts_.FileRequests.size(), 1u);  // only the first open asked for a file
    EXPECT_EQ(Dialog().Document.Value(0), u"one?");
}

TEST_F(FileCommands, FailedOpenShowsLoaderMessageAndLeavesAnEmptyUntitledTable) {
    OpenWindow();
    std::wstring missing = (scratch_ / "missing.tbl").wstring();
    OpenFile(missing);
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_EQ(prompts_.Messages[0].Text,
              L"File Open Error: " + missing + L"\n" + WideFromUtf8(SystemErrorText(ERROR_FILE_NOT_FOUND)) + L".");
    EXPECT_EQ(prompts_.Messages[0].Caption, L"Error");
    EXPECT_EQ(prompts_.Messages[0].Type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    EXPECT_EQ(Dialog().Document.Count(), 0u);
    EXPECT_EQ(Dialog().Document.PathName, u"");
    EXPECT_EQ(Dialog().Document.FileName, u"Untitled");
    EXPECT_EQ(TitleOf(Window()), L"Strindle - Untitled");
    EXPECT_EQ(StatusText(Status(), 0), L"Ready.");
    EXPECT_TRUE(MenuItemGrayed(Window(), ID_FILE_SAVE));
}

TEST_F(FileCommands, DamagedFileIsRefusedWithTheLoadersReason) {
    OpenWindow();
    std::filesystem::path damaged = scratch_ / "damaged.tbl";
    WriteBytes(damaged, {0x01, 0x02, 0x03});
    OpenFile(damaged.wstring());
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_EQ(prompts_.Messages[0].Caption, L"Error");
    EXPECT_EQ(Dialog().Document.Count(), 0u);
    EXPECT_EQ(Dialog().KeyList().Count(), 0);
}

TEST_F(FileCommands, RefusedFileLeavesTheOpenTableWithItsNameRowsAndChanges) {
    OpenTableOf(2);
    SelectRow(1);
    Type(L"!");
    std::filesystem::path damaged = scratch_ / "damaged.tbl";
    WriteBytes(damaged, std::vector<uint8_t>(300, 0x7F));
    prompts_.MessageAnswers.push_back(IDYES);  // "File not Saved, Continue??"
    OpenFile(damaged.wstring());
    ASSERT_EQ(prompts_.Messages.size(), 2u);
    EXPECT_EQ(prompts_.Messages[1].Caption, L"Error");
    EXPECT_EQ(TitleOf(Window()), L"Strindle - table.tbl*");
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"key0", L"key1"}));
    EXPECT_EQ(EditorText(), L"value1!");
    EXPECT_EQ(StatusText(Status(), 1), L"Not Saved");
    EXPECT_EQ(StatusText(Status(), 2), L"Index: 1(1h)/1(1h)");
    SendCommand(ID_FILE_SAVE);
    EXPECT_EQ(prompts_.FileRequests.size(), 2u) << "Save writes the open table's own file";
    EXPECT_EQ(ReadTable((scratch_ / "table.tbl").wstring()).Values, (std::vector<std::u16string>{u"value0", u"value1!"}));
    EXPECT_EQ(ReadBytes(damaged), std::vector<uint8_t>(300, 0x7F));
}

// A table whose entry count was zeroed would open empty, and a save would then write over it.
TEST_F(FileCommands, TableWithAZeroedCountIsRefusedNotOpenedEmpty) {
    OpenTableOf(2);
    const std::filesystem::path zeroed = scratch_ / "zeroed.tbl";
    std::vector<uint8_t> bytes = ReadBytes(MakeTable("zeroed.tbl", {u"a", u"b", u"c"}, {u"1", u"2", u"3"}));
    bytes[2] = bytes[3] = 0;  // the element count
    WriteBytes(zeroed, bytes);
    OpenFile(zeroed.wstring());
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_NE(prompts_.Messages[0].Text.find(L"text area start"), std::wstring::npos) << prompts_.Messages[0].Text;
    EXPECT_EQ(prompts_.Messages[0].Type & MB_TYPEMASK, static_cast<UINT>(MB_OK)) << "nothing to rescue";
    EXPECT_EQ(TitleOf(Window()), L"Strindle - table.tbl");
    EXPECT_EQ(Dialog().Document.Count(), 2u);
    EXPECT_EQ(ReadBytes(zeroed), bytes);
}

TEST_F(FileCommands, DamagedTableOffersItsReadableEntriesAndYesOpensThemUntitledAndModified) {
    OpenWindow();
    const std::wstring path = (scratch_ / "cut.tbl").wstring();
    WriteDamagedTable(path, {u"a", u"b", u"c"}, {u"one", u"two", u"three"}, 2);
    const std::vector<uint8_t> bytes = ReadBytes(path);
    prompts_.MessageAnswers.push_back(IDYES);
    OpenFile(path);
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    const std::wstring& question = prompts_.Messages[0].Text;
    EXPECT_TRUE(question.starts_with(L"The file is not a sound string table and was not loaded: ")) << question;
    EXPECT_NE(question.find(L"\n\n1 entry could not be read:\n"), std::wstring::npos) << question;
    EXPECT_TRUE(question.ends_with(L"\n\nOpen the entries that can be read? They open as a new table, \"Untitled\", "
                                   L"with the entries that could not be read left empty."));
    EXPECT_EQ(prompts_.Messages[0].Caption, L"Error");
    EXPECT_EQ(prompts_.Messages[0].Type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"a", L"b", L""}));
    EXPECT_EQ(Dialog().Document.FileName, u"Untitled");
    EXPECT_EQ(TitleOf(Window()), L"Strindle - Untitled*");
    EXPECT_EQ(StatusText(Status(), 1), L"Not Saved");

    prompts_.FileAnswers.push_back(std::nullopt);
    SendCommand(ID_FILE_SAVE);
    ASSERT_EQ(prompts_.FileRequests.size(), 2u);
    EXPECT_TRUE(prompts_.FileRequests.back().Save) << "Save asks for a name";
    EXPECT_EQ(ReadBytes(path), bytes);
}

TEST_F(FileCommands, DamagedTableAnsweredNoIsRefusedAsAnyOther) {
    OpenWindow();
    const std::wstring path = (scratch_ / "cut.tbl").wstring();
    std::vector<std::u16string> keys, values;
    for (char16_t c = u'a'; c <= u'j'; ++c) {
        keys.push_back(std::u16string(1, c));
        values.push_back(u"v");
    }
    WriteDamagedTable(path, keys, values, 3);
    prompts_.MessageAnswers.push_back(IDNO);
    OpenFile(path);
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_NE(prompts_.Messages[0].Text.find(L" entries could not be read, the first 5 of them:\n"), std::wstring::npos)
        << prompts_.Messages[0].Text;
    EXPECT_EQ(Dialog().Document.Count(), 0u);
    EXPECT_EQ(Dialog().Document.FileName, u"Untitled");
    EXPECT_EQ(TitleOf(Window()), L"Strindle - Untitled");
}

TEST_F(FileCommands, OpeningTableWithoutEntriesSelectsNothingAndShowsLoaded) {
    OpenWindow();
    OpenFile(MakeTable("empty.tbl", {}, {}));
    EXPECT_TRUE(prompts_.Messages.empty());
    EXPECT_EQ(Dialog().KeyList().Count(), 0);
    EXPECT_EQ(StatusText(Status(), 1), L"Loaded");
    EXPECT_EQ(TitleOf(Window()), L"Strindle - empty.tbl");
}

TEST_F(FileCommands, SaveWritesTheEditAndCleansTheTitleUntilTheNextChange) {
    OpenWindow();
    std::wstring path = SampleTable();
    OpenFile(path);
    SelectRow(1);
    Type(L" more");
    SendCommand(ID_FILE_SAVE);
    EXPECT_TRUE(prompts_.FileRequests.size() == 1u) << "Save of a named table asks for no file";
    EXPECT_EQ(TitleOf(Window()), L"Strindle - sample.tbl");
    EXPECT_EQ(StatusText(Status(), 0), L"Ready.");
    EXPECT_EQ(StatusText(Status(), 1), L"Saved");
    EXPECT_FALSE(Dialog().Document.Modified);
    LoadedTable saved = ReadTable(path);
    EXPECT_EQ(saved.Keys, (std::vector<std::u16string>{u"a", u"b", u"c"}));
    EXPECT_EQ(saved.Values, (std::vector<std::u16string>{u"one", u"two more", u"three"}));

    Type(L"!");
    EXPECT_EQ(TitleOf(Window()), L"Strindle - sample.tbl*");
    EXPECT_EQ(StatusText(Status(), 1), L"Not Saved");
}

TEST_F(FileCommands, EditedValueKeepsItsLineBreaksAndColourTokens) {
    OpenWindow();
    std::wstring path = MakeTable("lines.tbl", {u"k"}, {u"\u00FFc1Red\nline two"});
    OpenFile(path);
    EXPECT_EQ(Dialog().Document.Value(0), u"\\red;Red\nline two");
    Type(L"!");
    SendCommand(ID_FILE_SAVE);
    EXPECT_EQ(ReadTable(path, false).Values, std::vector<std::u16string>{u"\u00FFc1Red\nline two!"});
}

TEST_F(FileCommands, SaveShowsTheValueAsNowHeld) {
    OpenWindow();
    std::wstring path = MakeTable("codes.tbl", {u"k"}, {u"plain"});
    OpenFile(path);
    // A game colour code typed in is held as its token once saved.
    Type(L"\u00FFc1");
    SendCommand(ID_FILE_SAVE);
    EXPECT_EQ(Dialog().Document.Value(0), u"plain\\red;");
    EXPECT_EQ(EditorText(), L"plain\\red;");
    EXPECT_EQ(TitleOf(Window()), L"Strindle - codes.tbl") << "showing the held value is no edit";
}

TEST_F(FileCommands, SaveWithoutEntriesDoesNothing) {
    OpenWindow();
    SendCommand(ID_FILE_SAVE);
    EXPECT_TRUE(prompts_.FileRequests.empty());
    EXPECT_TRUE(prompts_.Messages.empty());
}

TEST_F(FileCommands, SaveOfUntitledTableRunsSaveAs) {
    OpenWindow();
    ASSERT_TRUE(Dialog().Document.Insert(0, u"key", u"value"));
    std::wstring target = (scratch_ / "new.tbl").wstring();
    prompts_.FileAnswers.push_back(target);
    SendCommand(ID_FILE_SAVE);
    ASSERT_EQ(prompts_.FileRequests.size(), 1u);
    const FileDialogRequest& request = prompts_.FileRequests[0];
    EXPECT_TRUE(request.Save);
    EXPECT_EQ(request.Filter, L"Tbl Files (*.tbl)|*.tbl|All files (*.*)|*.*||");
    EXPECT_TRUE(request.Flags & OFN_OVERWRITEPROMPT);
    EXPECT_TRUE(request.Flags & OFN_PATHMUSTEXIST);
    EXPECT_EQ(Dialog().Document.PathName, Utf16(target));
    EXPECT_EQ(Dialog().Document.FileName, u"new.tbl");
    EXPECT_EQ(TitleOf(Window()), L"Strindle - new.tbl");
    EXPECT_EQ(ReadTable(target).Values, std::vector<std::u16string>{u"value"});
}

TEST_F(FileCommands, SaveAsWritesAnEmptyTable) {
    OpenWindow();
    std::filesystem::path target = scratch_ / "none.tbl";
    prompts_.FileAnswers.push_back(target.wstring());
    SendCommand(ID_FILE_SAVEAS);
    EXPECT_EQ(ReadBytes(target).size(), 21u);
    EXPECT_EQ(StatusText(Status(), 1), L"Saved");
}

TEST_F(FileCommands, FailedSaveAsKeepsNamesAndModifiedAndSaysSo) {
    OpenWindow();
    std::wstring path = SampleTable();
    OpenFile(path);
    Type(L"#");
    std::vector<uint8_t> before = ReadBytes(path);
    prompts_.FileAnswers.push_back((scratch_ / "no such folder" / "out.tbl").wstring());
    SendCommand(ID_FILE_SAVEAS);
    ASSERT_EQ(prompts_.Messages.size(), 1u) << "one message, with the reason";
    EXPECT_TRUE(prompts_.Messages.back().Text.starts_with(L"File out.tbl not saved\n\n"))
        << testing::PrintToString(prompts_.Messages.back().Text);
    EXPECT_EQ(prompts_.Messages.back().Caption, L"Save Error");
    EXPECT_EQ(prompts_.Messages.back().Type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    EXPECT_EQ(StatusText(Status(), 1), L"Save Error");
    EXPECT_EQ(Dialog().Document.PathName, Utf16(path));
    EXPECT_EQ(Dialog().Document.FileName, u"sample.tbl");
    EXPECT_TRUE(Dialog().Document.Modified);
    EXPECT_EQ(TitleOf(Window()), L"Strindle - sample.tbl*");
    EXPECT_EQ(Dialog().Document.Value(0), u"one#");
    EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(FileCommands, FailedSaveNamesTheFileAndLosesNothing) {
    OpenWindow();
    std::filesystem::path folder = scratch_ / "gone";
    std::filesystem::create_directories(folder);
    std::wstring path = (folder / "t.tbl").wstring();
    WriteTable(path, {u"k"}, {u"v"});
    OpenFile(path);
    Type(L"2");
    std::filesystem::remove_all(folder);
    SendCommand(ID_FILE_SAVE);
    ASSERT_EQ(prompts_.Messages.size(), 1u) << "one message, with the reason";
    EXPECT_TRUE(prompts_.Messages.back().Text.starts_with(L"File t.tbl not saved\n\nThe table was not saved"))
        << testing::PrintToString(prompts_.Messages.back().Text);
    EXPECT_TRUE(Dialog().Document.Modified);
    EXPECT_EQ(Dialog().Document.Value(0), u"v2");
    EXPECT_EQ(StatusText(Status(), 1), L"Save Error");
}

TEST_F(FileCommands, AutosaveLastPathMakesTheOpenedFoldersTheNextInitialFolder) {
    OpenWindow();
    SendCommand(ID_OPTIONS_AUTOSAVEPATH);
    std::wstring path = SampleTable();
    OpenFile(path);
    std::wstring folder = FolderOfPath(path);
    ASSERT_EQ(folder.back(), L'\\');
    EXPECT_EQ(Dialog().Settings.DefaultDirectory, folder);
    EXPECT_EQ(StoredText(L"Default Directory"), folder);
    prompts_.FileAnswers.push_back(std::nullopt);
    SendCommand(ID_FILE_SAVEAS);
    EXPECT_EQ(prompts_.FileRequests.back().InitialFolder, folder);
}

TEST_F(FileCommands, WithoutAutosaveLastPathOpenLeavesDefaultDirectory) {
    OpenWindow();
    OpenFile(SampleTable());
    EXPECT_EQ(Dialog().Settings.DefaultDirectory, L"C:\\");
    EXPECT_EQ(StoredText(L"Default Directory"), std::nullopt);
}

TEST_F(FileCommands, StartupFileOpensAtFirstShowingWithFirstEntryShown) {
    std::wstring path = SampleTable();
    dialog_ = std::make_unique<CStrindleDlg>(prompts_);
    Dialog().StartupOpenRequest = true;
    Dialog().StartupPath = Utf16(path);
    ASSERT_TRUE(Dialog().CreateModeless());
    EXPECT_EQ(Dialog().KeyList().Count(), 0);
    ShowWindow(Window(), SW_SHOWNORMAL);
    ASSERT_TRUE(PumpUntil([&] { return TitleOf(Window()) == L"Strindle - sample.tbl"; }));
    EXPECT_FALSE(Dialog().StartupOpenRequest);
    EXPECT_EQ(Dialog().KeyList().Count(), 3);
    EXPECT_EQ(EditorText(), L"one");
    EXPECT_FALSE(Dialog().Document.Modified);
    // Typing edits the entry the editor shows.
    Type(L"1");
    EXPECT_EQ(Dialog().Document.Value(0), u"one1");
}

TEST_F(FileCommands, RealTablesOpenEditAndSave) {
    SKIP_WITHOUT_REAL_DATA();
    OpenWindow();
    for (const auto& entry : std::filesystem::directory_iterator(RealDataDir() / "tbl")) {
        SCOPED_TRACE(entry.path().filename().string());
        OpenFile(entry.path().wstring());
        ASSERT_TRUE(prompts_.Messages.empty());
        std::vector<std::u16string> keys = KeysOf(Dialog().Document);
        std::vector<std::u16string> values = ValuesOf(Dialog().Document);
        ASSERT_EQ(Dialog().KeyList().Count(), static_cast<int>(keys.size()));
        int row = static_cast<int>(keys.size()) / 2;
        SelectRow(row);
        Type(L" (edited)");
        values[static_cast<size_t>(row)] += u" (edited)";

        std::wstring copy = (scratch_.Path() / entry.path().filename()).wstring();
        prompts_.FileAnswers.push_back(copy);
        SendCommand(ID_FILE_SAVEAS);
        ASSERT_TRUE(prompts_.Messages.empty());
        EXPECT_EQ(TitleOf(Window()), L"Strindle - " + entry.path().filename().wstring());
        LoadedTable saved = ReadTable(copy);
        EXPECT_EQ(saved.Keys, keys);
        EXPECT_EQ(saved.Values, values);
    }
}

}  // namespace
