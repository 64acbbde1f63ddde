#include "SearchTestSupport.h"

#include "ModalDialogProbe.h"
#include "WideText_win.h"


namespace {

bool unexpectedDialogSeen = false;

BOOL CALLBACK CancelVisibleDialog(HWND window, LPARAM) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring(className) != L"#32770" || !IsWindowVisible(window))
        return TRUE;
    unexpectedDialogSeen = true;
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return FALSE;
}

void CALLBACK CancelUnexpectedDialog(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), CancelVisibleDialog, 0);
}

}  // namespace

void SearchWindowTest::Search(const std::wstring& text, bool caseSensitive) {
    EXPECT_TRUE(InspectModalDialog([&] { SendCommand(ID_EDIT_SEARCH); },
                                   [&](HWND dialog) {
                                       SetDlgItemTextW(dialog, IDC_SEARCHTEXT, text.c_str());
                                       CheckDlgButton(dialog, IDC_CASESENSITIVE,
                                                      caseSensitive ? BST_CHECKED : BST_UNCHECKED);
                                   }));
}

void SearchWindowTest::WithoutDialog(const std::function<void()>& action) {
    unexpectedDialogSeen = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, CancelUnexpectedDialog);
    action();
    KillTimer(nullptr, timer);
    EXPECT_FALSE(unexpectedDialogSeen) << "a dialog came up";
}

void SearchWindowTest::RepeatSearch() {
    WithoutDialog([&] { SendCommand(ID_EDIT_REPEATSEARCH); });
}

std::wstring SearchWindowTest::MarkedText() const {
    CHARRANGE range = MarkedRange();
    std::wstring text(static_cast<size_t>(range.cpMax - range.cpMin) + 1, L'\0');
    LRESULT copied = SendMessageW(dialog_->ValueEditor(), EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

CHARRANGE SearchWindowTest::MarkedRange() const {
    CHARRANGE range{};
    SendMessageW(dialog_->ValueEditor(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

int SearchWindowTest::EndOfSearchCount() const {
    int count = 0;
    for (const auto& message : prompts_.Messages) {
        if (message.Text != L"End of Search")
            continue;
        EXPECT_EQ(message.Caption, L"Search");
        EXPECT_EQ(message.Type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
        ++count;
    }
    return count;
}
