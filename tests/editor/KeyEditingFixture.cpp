#include "KeyEditingFixture.h"

#include "WideText_win.h"

#include <richedit.h>

std::vector<std::wstring> Numbered(const wchar_t* prefix, std::initializer_list<int> numbers) {
    std::vector<std::wstring> names;
    for (int number : numbers)
        names.push_back(prefix + std::to_wstring(number));
    return names;
}

void KeyEditingTest::OpenTableOf(int count) {
    std::vector<std::u16string> keys, values;
    for (int i = 0; i < count; ++i) {
        keys.push_back(Utf16(L"key" + std::to_wstring(i)));
        values.push_back(Utf16(L"value" + std::to_wstring(i)));
    }
    OpenTable(std::move(keys), std::move(values));
}

void KeyEditingTest::OpenTable(std::vector<std::u16string> keys, std::vector<std::u16string> values) {
    std::wstring path = (scratch_ / "table.tbl").wstring();
    WriteTable(path, std::move(keys), std::move(values));
    if (!dialog_)
        OpenWindow();
    OpenFile(path);
}

std::vector<std::wstring> KeyEditingTest::Rows() {
    std::vector<std::wstring> rows;
    for (int row = 0; row < Dialog().KeyList().Count(); ++row)
        rows.push_back(Dialog().KeyList().RowText(row));
    return rows;
}

std::vector<int> KeyEditingTest::SelectedRows() { return Dialog().KeyList().SelectedRows(); }

int KeyEditingTest::CaretRow() { return Dialog().KeyList().Caret(); }

void KeyEditingTest::SelectRows(std::initializer_list<int> rows) {
    HWND list = Dialog().KeyList().Handle();
    SendMessageW(list, LB_SETSEL, FALSE, -1);
    for (int row : rows)
        SendMessageW(list, LB_SETSEL, TRUE, row);
    if (rows.size() > 0)
        SendMessageW(list, LB_SETCARETINDEX, *(rows.end() - 1), FALSE);
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(IDC_KEYLIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

std::pair<int, int> KeyEditingTest::EditorSelection() {
    CHARRANGE range{};
    SendMessageW(Dialog().ValueEditor(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return {range.cpMin, range.cpMax};
}

void KeyEditingTest::ClickButton(int id) {
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(Window(), id)));
}
