// Files as a user meets them: a refused file, a rescued one, a dropped one, saving and opening again.
#include "EndToEndTest.h"

#include "GuiTestSupport.h"
#include "resource.h"

namespace {

class FileRoundTrip : public EndToEndTest {};

TEST_F(FileRoundTrip, RefusedFileIsNeverWrittenOverBySave) {
    std::filesystem::path damaged = scratch_ / "damaged.tbl";
    const std::vector<uint8_t> bytes(3000, 0x5A);
    WriteBytes(damaged, bytes);
    StrindleRun& run = Start({damaged.wstring()});
    ASSERT_NE(WaitForDialog(run, L"Error"), nullptr) << "the refusal is said";
    AnswerDialog(run, L"Error", "Return");
    EXPECT_TRUE(Becomes([&] { return run.Title(); }, std::wstring(L"Strindle - Untitled")));

    Press("ctrl+n");
    ASSERT_NE(WaitForDialog(run, L"Add Index String"), nullptr);
    TypeText("fresh");
    Press("Return");
    EXPECT_EQ(Keys(run, 1), std::vector<std::wstring>{L"fresh"});
    Press("ctrl+s");
    EXPECT_NE(WaitForDialog(run, L"Save As"), nullptr) << "Save asks for a name";
    AnswerDialog(run, L"Save As", "Escape");
    EXPECT_TRUE(WaitUntil([&] { return run.Dialog(L"Save As") == nullptr; }));
    EXPECT_EQ(ReadBytes(damaged), bytes);
    EXPECT_EQ(run.Title(), L"Strindle - Untitled*");
}

TEST_F(FileRoundTrip, DamagedTableIsRescuedAsUntitledAndSaveAsksForAName) {
    const std::filesystem::path damaged = scratch_ / "damaged.tbl";
    WriteDamagedTable(damaged.wstring(), {u"kept", u"lost"}, {u"value", u"tail"}, 1);
    const std::vector<uint8_t> bytes = ReadBytes(damaged);
    StrindleRun& run = Start({damaged.wstring()});
    AnswerDialog(run, L"Error", "y");  // Yes, open what can be read
    EXPECT_TRUE(Becomes([&] { return run.Title(); }, std::wstring(L"Strindle - Untitled*")));
    EXPECT_EQ(Keys(run, 2), (std::vector<std::wstring>{L"kept", L""}));

    Press("ctrl+s");
    EXPECT_NE(WaitForDialog(run, L"Save As"), nullptr) << "Save asks for a name";
    AnswerDialog(run, L"Save As", "Escape");
    EXPECT_TRUE(WaitUntil([&] { return run.Dialog(L"Save As") == nullptr; }));
    EXPECT_EQ(ReadBytes(damaged), bytes);
}

TEST_F(FileRoundTrip, TableDroppedOnTheWindowOpensOnceTheUserLetsUnsavedChangesGo) {
    StrindleRun& run = Start({MakeTableOf("first.tbl", 2)});
    ASSERT_TRUE(Becomes([&] { return run.Status(1); }, std::wstring(L"Loaded")));
    Press("ctrl+n");
    ASSERT_NE(WaitForDialog(run, L"Add Index String"), nullptr);
    TypeText("unsaved");
    Press("Return");
    ASSERT_TRUE(Becomes([&] { return run.Title(); }, std::wstring(L"Strindle - first.tbl*")));

    input_.DropFile(MakeTableOf("dropped.tbl", 3), CentreOnScreen(run.List()));
    AnswerDialog(run, L"Caution", "Return");  // Yes
    EXPECT_TRUE(Becomes([&] { return run.Title(); }, std::wstring(L"Strindle - dropped.tbl")));
    EXPECT_EQ(Keys(run, 3), (std::vector<std::wstring>{L"key0", L"key1", L"key2"}));
}

using EditingByHand = EndToEndTest;

TEST_F(EditingByHand, TypedValueIsSavedAndShownAfterReopening) {
    std::wstring path = MakeTableOf("typed.tbl", 5);
    {
        StrindleRun& run = StartLoaded(path);
        ClickRow(run, 2);
        EXPECT_TRUE(Becomes([&] { return run.Value(); }, std::wstring(L"value2")));
        Click(run.Editor());
        Press("ctrl+End");
        TypeText(" more");
        EXPECT_TRUE(Becomes([&] { return run.Value(); }, std::wstring(L"value2 more")));
        EXPECT_TRUE(Becomes([&] { return run.Title(); }, std::wstring(L"Strindle - typed.tbl*")));
        Press("ctrl+s");
        EXPECT_TRUE(Becomes([&] { return run.Status(1); }, std::wstring(L"Saved")));
        EXPECT_EQ(run.Title(), L"Strindle - typed.tbl");
        Press("ctrl+q");
        EXPECT_TRUE(WaitUntil([&] { return run.Ended(); })) << "a saved table closes without a question";
    }
    StrindleRun& again = StartLoaded(path);
    ClickRow(again, 2);
    EXPECT_TRUE(Becomes([&] { return again.Value(); }, std::wstring(L"value2 more")));
}

TEST_F(EditingByHand, KeysAreAddedAndRenamedWithTheKeyboardAndMouse) {
    StrindleRun& run = StartLoaded(MakeTableOf("keys.tbl", 3));
    Press("ctrl+n");
    ASSERT_NE(WaitForDialog(run, L"Add Index String"), nullptr);
    TypeText("added");
    Press("Return");
    EXPECT_TRUE(Becomes([&] { return run.Selected(); }, std::vector<int>{3}));
    ClickRow(run, 1, 1, 2);
    HWND rename = WaitForDialog(run, L"Edit Key String");
    ASSERT_NE(rename, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(rename, IDC_KEYTEXT)), L"key1");
    Press("ctrl+a");
    TypeText("renamed");
    Press("Return");
    EXPECT_TRUE(Becomes([&] { return run.Value(); }, std::wstring(L"value1")));
    EXPECT_TRUE(Becomes([&] { return run.Title(); }, std::wstring(L"Strindle - keys.tbl*")));
    // Rows 0, 2 and 3 as the new key left them, row 1 renamed.
    EXPECT_EQ(Keys(run, 4), (std::vector<std::wstring>{L"key0", L"renamed", L"key2", L"added"}));
}

TEST_F(EditingByHand, GoToIndexSelectsTheRowTypedAndSaysWhenThereIsNone) {
    StrindleRun& run = StartLoaded(MakeTableOf("goto.tbl", 40));
    GoToIndex(run, "25");
    EXPECT_TRUE(Becomes([&] { return run.Value(); }, std::wstring(L"value25")));
    EXPECT_EQ(run.Caret(), 25);
    GoToIndex(run, "45");
    EXPECT_TRUE(Becomes([&] { return run.Status(0); }, std::wstring(L"No entry 45: the table has 40")));
    EXPECT_EQ(run.Caret(), 25);
}

TEST_F(EditingByHand, EntriesCopiedInOneWindowArePastedIntoAnotherSelectedAndInView) {
    StrindleRun& source = StartLoaded(MakeTableOf("source.tbl", 4));
    ClickRow(source, 2);
    EXPECT_TRUE(Becomes([&] { return source.Selected(); }, std::vector<int>{2}));
    ClickRow(source, 2, 3);
    ASSERT_TRUE(WaitUntil([&] { return MenuShownBy(source.Id()); }));
    Press("Down Down Down Return");  // "Copy Selected", after Undo, Redo and the separator
    EXPECT_TRUE(WaitUntil([&] { return !MenuShownBy(source.Id()); }));

    StrindleRun& target = StartLoaded(MakeTable("target.tbl", std::vector<std::u16string>(60, u"row"),
                                            std::vector<std::u16string>(60, u"old")));
    ClickRow(target, 0, 3);
    ASSERT_TRUE(WaitUntil([&] { return MenuShownBy(target.Id()); }));
    Press("Down Down Down Down Down Return");  // "Paste Into", after Undo, Redo, Copy, Cut and separators
    EXPECT_TRUE(Becomes([&] { return target.Selected(); }, std::vector<int>{60}));
    EXPECT_TRUE(Becomes([&] { return target.Value(); }, std::wstring(L"value2")));
    EXPECT_GT(target.TopRow(), 0) << "the list scrolled to the pasted row";
    EXPECT_EQ(KeyOfRow(target, 60), L"key2");
    EXPECT_EQ(target.Title(), L"Strindle - target.tbl*");
}

// A table whose entry count was zeroed would open empty, and a save would write over it.
TEST_F(FileRoundTrip, ATableWithAZeroedCountIsRefusedAndTheOpenTableStays) {
    StrindleRun& run = Start({MakeTableOf("open.tbl", 3)});
    ASSERT_TRUE(Becomes([&] { return run.Status(1); }, std::wstring(L"Loaded")));
    std::vector<uint8_t> bytes = ReadBytes(MakeTableOf("zeroed.tbl", 4));
    bytes[2] = bytes[3] = 0;  // the element count
    const std::filesystem::path zeroed = scratch_ / "zeroed.tbl";
    WriteBytes(zeroed, bytes);
    input_.DropFile(zeroed, CentreOnScreen(run.List()));
    ASSERT_NE(WaitForDialog(run, L"Error"), nullptr) << "the refusal is said";
    AnswerDialog(run, L"Error", "Return");
    EXPECT_TRUE(WaitUntil([&] { return run.Dialog(L"Error") == nullptr; }));
    EXPECT_EQ(run.Title(), L"Strindle - open.tbl");
    EXPECT_EQ(RowCountOf(run.List()), 3);
    EXPECT_EQ(ReadBytes(zeroed), bytes);
}

TEST_F(FileRoundTrip, ARefusedOpenLeavesTheOpenTableAsItWas) {
    StrindleRun& run = StartLoaded(MakeTableOf("kept.tbl", 5));
    ClickRow(run, 3);
    EXPECT_TRUE(Becomes([&] { return run.Value(); }, std::wstring(L"value3")));
    Click(run.Editor());
    Press("ctrl+End");
    TypeText("!");
    ASSERT_TRUE(Becomes([&] { return run.Title(); }, std::wstring(L"Strindle - kept.tbl*")));
    const std::filesystem::path picture = scratch_ / "picture.png";
    WriteBytes(picture, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'});

    Press("ctrl+o");
    AnswerDialog(run, L"Caution", "Return");  // Yes, the changes may go
    ASSERT_NE(WaitForDialog(run, L"Open"), nullptr);
    TypeText(std::filesystem::path(picture).string());
    Press("Return");
    AnswerDialog(run, L"Error", "Return");
    EXPECT_TRUE(WaitUntil([&] { return run.Dialog(L"Error") == nullptr; }));
    EXPECT_EQ(run.Title(), L"Strindle - kept.tbl*");
    EXPECT_EQ(run.Value(), L"value3!");
    EXPECT_EQ(run.Status(2), L"Index: 3(3h)/4(4h)");
    EXPECT_EQ(KeyOfRow(run, 4), L"key4");
}

}  // namespace
