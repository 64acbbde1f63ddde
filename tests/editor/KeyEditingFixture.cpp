#include "KeyEditingFixture.h"

#include "WideText_win.h"

#include <richedit.h>

std::vector<std::wstring> Numbered(const wchar_t* prefix, std::initializer_list<int> numbers) {
    std::vector<std::wstring> names;
    for (int number : numbers)
        names.push_back(prefix + std::to_wstring(number));
    return names;
}

void KeyEditingTest::SelectRows(const std::vector<int>& rows) {
    HWND list = Dialog().KeyList().Handle();
    SendMessageW(list, LB_SETSEL, FALSE, -1);
    for (int row : rows)
        SendMessageW(list, LB_SETSEL, TRUE, row);
    if (rows.size() > 0)
        SendMessageW(list, LB_SETCARETINDEX, rows.back(), FALSE);
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
