#include "FolderDialog.h"
#include "ModalDialogProbe.h"

#include <gtest/gtest.h>

#include <cwctype>

namespace {

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

std::wstring WindowsFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetWindowsDirectoryW(folder, MAX_PATH);
    return folder;
}

HWND MakeOwner() {
    return CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

TEST(FolderDialog, ConfirmingGivesTheInitiallySelectedFolder) {
    HWND owner = MakeOwner();
    CFolderDialog dialog(L"Default Directory", WindowsFolder(), owner, BIF_RETURNONLYFSDIRS);
    INT_PTR result = 0;
    EXPECT_TRUE(InspectModalDialog([&] { result = dialog.DoModal(); },
                                   [&](HWND) { EXPECT_FALSE(IsWindowEnabled(owner)); }));
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(Lower(dialog.FolderPath()), Lower(WindowsFolder()));
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

TEST(FolderDialog, CancellingIsNotOk) {
    HWND owner = MakeOwner();
    CFolderDialog dialog(L"Default Directory", WindowsFolder(), owner, BIF_RETURNONLYFSDIRS);
    INT_PTR result = 0;
    EXPECT_TRUE(InspectModalDialog([&] { result = dialog.DoModal(); }, [](HWND) {}, IDCANCEL));
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

}  // namespace
