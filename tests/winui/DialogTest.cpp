#include "Dialog.h"
#include "MessageMap.h"
#include "WinuiTest.h"

#include <gtest/gtest.h>
#include <windowsx.h>

namespace {

constexpr UINT WM_APP_ANSWER = WM_APP + 1;
constexpr UINT WM_APP_END = WM_APP + 2;

struct TestData {
    std::wstring Name = L"Kashya";
    unsigned Count = 42;
    int Choice = 1;
    bool Option = true;
};

class CTestDlg : public CDialog {
public:
    CTestDlg(TestData& data, HWND owner = nullptr) : CDialog(IDD_TEST, owner), data_(data) {}
    int Actions = 0;
    INT_PTR EndOnInit = 0;  // not 0: the dialog ends itself with this result once it runs
    UINT KeyToPost = 0;

protected:
    void DoDataExchange(DataExchange& dx) override {
        DdxText(dx, IDC_NAME, data_.Name);
        DdxNumber(dx, IDC_COUNT, data_.Count);
        DdxRadio(dx, IDC_FIRSTCHOICE, data_.Choice);
        DdxCheck(dx, IDC_OPTION, data_.Option);
    }
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        if (KeyToPost)
            PostMessageW(Item(IDC_NAME), WM_KEYDOWN, KeyToPost, 0);
        if (EndOnInit)
            PostMessageW(Handle(), WM_APP_END, 0, 0);
        return true;
    }
    bool RouteCommand(UINT id, UINT code) override { return RouteCommandFrom(*this, Commands, id, code); }
    bool RouteMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        return RouteMessageFrom(*this, Messages, message, wParam, lParam);
    }

private:
    void OnAction() { ++Actions; }
    bool OnAnswer(WPARAM, LPARAM) {
        SetDlgMsgResult(Handle(), WM_APP_ANSWER, 1234);
        return true;
    }
    bool OnEnd(WPARAM, LPARAM) {
        EndDialog(EndOnInit);
        return true;
    }

    static constexpr CommandEntry<CTestDlg> Commands[] = {{IDC_ACTION, CommandCode, &CTestDlg::OnAction}};
    static constexpr MessageEntry<CTestDlg> Messages[] = {
        {WM_APP_ANSWER, &CTestDlg::OnAnswer},
        {WM_APP_END, &CTestDlg::OnEnd},
    };
    TestData& data_;
};

std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

bool Checked(HWND dialog, int id) { return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Click(HWND dialog, int id) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

TEST(Dialog, DataExchangeFillsTheControlsWhenItOpens) {
    TestData data;
    CTestDlg dialog(data);
    ASSERT_TRUE(dialog.CreateModeless());
    EXPECT_EQ(TextOf(dialog.Item(IDC_NAME)), L"Kashya");
    EXPECT_EQ(TextOf(dialog.Item(IDC_COUNT)), L"42");
    EXPECT_FALSE(Checked(dialog.Handle(), IDC_FIRSTCHOICE));
    EXPECT_TRUE(Checked(dialog.Handle(), IDC_SECONDCHOICE));
    EXPECT_FALSE(Checked(dialog.Handle(), IDC_THIRDCHOICE));
    EXPECT_TRUE(Checked(dialog.Handle(), IDC_OPTION));
}

TEST(Dialog, OkTakesTheValuesBackAndEnds) {
    TestData data;
    CTestDlg dialog(data);
    ASSERT_TRUE(dialog.CreateModeless());
    SetWindowTextW(dialog.Item(IDC_NAME), L"Akara");
    SetWindowTextW(dialog.Item(IDC_COUNT), L"4000000000");
    SendMessageW(dialog.Item(IDC_SECONDCHOICE), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(dialog.Item(IDC_THIRDCHOICE), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(dialog.Item(IDC_OPTION), BM_SETCHECK, BST_UNCHECKED, 0);
    Click(dialog.Handle(), IDOK);
    EXPECT_EQ(dialog.Handle(), nullptr);
    EXPECT_EQ(data.Name, L"Akara");
    EXPECT_EQ(data.Count, 4000000000u);
    EXPECT_EQ(data.Choice, 2);
    EXPECT_FALSE(data.Option);
}

TEST(Dialog, TextThatIsNoNumberKeepsTheDialogOpenOnTheField) {
    TestData data;
    CTestDlg dialog(data);
    ASSERT_TRUE(dialog.CreateModeless());
    ShowWindow(dialog.Handle(), SW_SHOW);
    for (const wchar_t* bad : {L"12a", L"", L"-1", L"4294967296"}) {
        SetWindowTextW(dialog.Item(IDC_COUNT), bad);
        Click(dialog.Handle(), IDOK);
        ASSERT_NE(dialog.Handle(), nullptr) << "refused " << bad;
        EXPECT_EQ(GetFocus(), dialog.Item(IDC_COUNT));
    }
    EXPECT_EQ(data.Count, 42u);
}

TEST(Dialog, RadioGroupWithNothingCheckedGivesMinusOne) {
    TestData data;
    data.Choice = -1;
    CTestDlg dialog(data);
    ASSERT_TRUE(dialog.CreateModeless());
    EXPECT_FALSE(Checked(dialog.Handle(), IDC_FIRSTCHOICE));
    EXPECT_FALSE(Checked(dialog.Handle(), IDC_SECONDCHOICE));
    data.Choice = 0;
    ASSERT_TRUE(dialog.UpdateData(true));
    EXPECT_EQ(data.Choice, -1);
}

TEST(Dialog, CommandMapRoutesTheButtonToItsHandler) {
    TestData data;
    CTestDlg dialog(data);
    ASSERT_TRUE(dialog.CreateModeless());
    Click(dialog.Handle(), IDC_ACTION);
    Click(dialog.Handle(), IDC_ACTION);
    EXPECT_EQ(dialog.Actions, 2);
}

TEST(Dialog, HandlerResultReachesTheSender) {
    TestData data;
    CTestDlg dialog(data);
    ASSERT_TRUE(dialog.CreateModeless());
    EXPECT_EQ(SendMessageW(dialog.Handle(), WM_APP_ANSWER, 0, 0), 1234);
}

TEST(Dialog, CancelEndsWithoutTakingValues) {
    TestData data;
    CTestDlg dialog(data);
    ASSERT_TRUE(dialog.CreateModeless());
    SetWindowTextW(dialog.Item(IDC_NAME), L"Warriv");
    Click(dialog.Handle(), IDCANCEL);
    EXPECT_EQ(dialog.Handle(), nullptr);
    EXPECT_EQ(data.Name, L"Kashya");
}

TEST(Dialog, ModalRunDisablesTheOwnerAndReturnsTheResult) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    TestData data;
    CTestDlg dialog(data, owner);
    dialog.EndOnInit = 77;
    EXPECT_EQ(dialog.DoModal(), 77);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(dialog.Handle(), nullptr);
    DestroyWindow(owner);
}

TEST(Dialog, ModalLoopTranslatesAccelerators) {
    ACCEL accelerator{FVIRTKEY, VK_F5, IDC_ACTION};
    HACCEL table = CreateAcceleratorTableW(&accelerator, 1);
    TestData data;
    CTestDlg dialog(data);
    dialog.SetAccelerators(table);
    dialog.KeyToPost = VK_F5;
    dialog.EndOnInit = IDOK;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.Actions, 1);
    DestroyAcceleratorTable(table);
}

TEST(Dialog, DiscardingAModelessDialogDestroysItsWindow) {
    TestData data;
    HWND window = nullptr;
    {
        CTestDlg dialog(data);
        ASSERT_TRUE(dialog.CreateModeless());
        window = dialog.Handle();
        ASSERT_TRUE(IsWindow(window));
    }
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
