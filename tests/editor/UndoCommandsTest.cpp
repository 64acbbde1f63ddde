// Undo and Redo from the Edit menu: the items name their steps, and the window shows each
// step's entry and whether the table is as last saved.
#include "GuiTestSupport.h"
#include "resource.h"

namespace {

class UndoCommands : public MainWindowTest {
protected:
    // The Edit menu's Undo and Redo items as the menu puts them up.
    std::pair<std::wstring, std::wstring> StepItems() {
        HMENU edit = GetSubMenu(GetMenu(Window()), 1);
        SendMessageW(Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
        auto text = [&](UINT id) {
            wchar_t buffer[128] = {};
            GetMenuStringW(edit, id, buffer, 128, MF_BYCOMMAND);
            return std::wstring(buffer) + (MenuItemGrayed(Window(), id) ? L" (grey)" : L"");
        };
        return {text(ID_EDIT_UNDO), text(ID_EDIT_REDO)};
    }
};

TEST_F(UndoCommands, ItemsNameTheStepsAndUndoShowsTheEntryItChanged) {
    OpenTableOf(4);
    EXPECT_EQ(StepItems(), std::make_pair(std::wstring(L"&Undo\tCtrl+Z (grey)"), std::wstring(L"&Redo\tCtrl+Y (grey)")));

    SelectRow(2);
    prompts_.MessageAnswers = {IDYES};
    SendCommand(ID_EDIT_DELETEKEY);
    SelectRow(0);
    SendCommand(ID_COLOR_FIRST);  // "\red;" typed into entry 0
    EXPECT_EQ(StepItems(), std::make_pair(std::wstring(L"&Undo Color\tCtrl+Z"), std::wstring(L"&Redo\tCtrl+Y (grey)")));

    SendCommand(ID_EDIT_UNDO);
    EXPECT_EQ(EditorText(), L"value0");
    EXPECT_EQ(StepItems(), std::make_pair(std::wstring(L"&Undo Delete Key\tCtrl+Z"), std::wstring(L"&Redo Color\tCtrl+Y")));
    SendCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"key0", L"key1", L"key2", L"key3"}));
    EXPECT_EQ(SelectedRows(), std::vector<int>{2});
    EXPECT_EQ(EditorText(), L"value2");
    EXPECT_EQ(TitleOf(Window()), L"Strindle - table.tbl");
    EXPECT_EQ(Status(1), L"Loaded");

    SendCommand(ID_EDIT_REDO);
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"key0", L"key1", L"key3"}));
    EXPECT_EQ(TitleOf(Window()), L"Strindle - table.tbl*");
    EXPECT_EQ(Status(1), L"Not Saved");
}

}  // namespace
