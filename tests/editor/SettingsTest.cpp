#include "GuiTestSupport.h"

#include "Settings.h"
#include "SettingsKey_win.h"

#include <shlobj.h>

namespace {

class Settings : public MainWindowTest {};

void ExpectStoredRectangle(DWORD x, DWORD y, DWORD width, DWORD height) {
    EXPECT_EQ(StoredNumber(L"Window XPos"), x);
    EXPECT_EQ(StoredNumber(L"Window YPos"), y);
    EXPECT_EQ(StoredNumber(L"Window Width"), width);
    EXPECT_EQ(StoredNumber(L"Window Height"), height);
}

TEST_F(Settings, FirstRunTakesEveryDefault) {
    OpenWindow();
    EXPECT_TRUE(MenuItemChecked(Window(), ID_OPTIONS_PARSEONLOAD));
    EXPECT_FALSE(MenuItemChecked(Window(), ID_OPTIONS_ADVANCED));
    EXPECT_FALSE(MenuItemChecked(Window(), ID_OPTIONS_AUTOSAVEPOS));
    EXPECT_FALSE(MenuItemChecked(Window(), ID_OPTIONS_AUTOSAVEPATH));
    EXPECT_EQ(PlaceOf(Window()), (std::array<int, 4>{100, 100, 500, 400}));
    EXPECT_EQ(Dialog().Settings.DefaultDirectory, L"C:\\");
    // Reading creates nothing.
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(Settings, AdvancedModeFlippedAndClosedIsStoredAndShownAtNextStart) {
    OpenWindow();
    SendCommand(ID_OPTIONS_ADVANCED);
    EXPECT_EQ(StoredNumber(L"Advanced Mode"), std::nullopt) << "flipping stores nothing";
    SendMessageW(Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(StoredNumber(L"Advanced Mode"), 1u);
    EXPECT_EQ(StoredNumber(L"Parse On Load"), 1u);
    EXPECT_EQ(StoredNumber(L"Autoload Window Position"), 0u);
    EXPECT_EQ(StoredNumber(L"Autosave Last Used Path"), 0u);
    EXPECT_EQ(StoredNumber(L"Window XPos"), std::nullopt) << "no rectangle while its switch is off";

    OpenWindow();
    EXPECT_TRUE(MenuItemChecked(Window(), ID_OPTIONS_ADVANCED));
    EXPECT_TRUE(ShownWithParent(GetDlgItem(Window(), IDC_UP)));
    EXPECT_TRUE(ShownWithParent(GetDlgItem(Window(), IDC_DOWN)));
}

TEST_F(Settings, StoredRectangleIsAppliedAndNotOverwrittenWhileAutosaveIsOff) {
    StoreNumber(L"Window XPos", 40);
    StoreNumber(L"Window YPos", 60);
    StoreNumber(L"Window Width", 640);
    StoreNumber(L"Window Height", 480);
    OpenWindow();
    EXPECT_EQ(PlaceOf(Window()), (std::array<int, 4>{40, 60, 640, 480}));
    SetWindowPos(Window(), nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageW(Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(StoredNumber(L"Window XPos"), 40u);
}

TEST_F(Settings, SaveCurrentPositionWritesTheRectangleEvenWithAutosaveOff) {
    OpenWindow();
    SetWindowPos(Window(), nullptr, 30, 20, 520, 410, SWP_NOZORDER);
    SendCommand(ID_OPTIONS_SAVEPOS);
    ExpectStoredRectangle(30, 20, 520, 410);
}

TEST_F(Settings, AutosaveWindowPositionStoresTheRectangleOnClose) {
    OpenWindow();
    SendCommand(ID_OPTIONS_AUTOSAVEPOS);
    EXPECT_TRUE(MenuItemChecked(Window(), ID_OPTIONS_AUTOSAVEPOS));
    SetWindowPos(Window(), nullptr, 70, 80, 550, 420, SWP_NOZORDER);
    SendCommand(ID_FILE_EXIT);
    EXPECT_EQ(StoredNumber(L"Autoload Window Position"), 1u);
    EXPECT_EQ(StoredNumber(L"Window XPos"), 70u);
    EXPECT_EQ(StoredNumber(L"Window Height"), 420u);
}

TEST_F(Settings, MaximisedWindowStoresItsNormalRectangle) {
    OpenWindow();
    SetWindowPos(Window(), nullptr, 40, 50, 530, 430, SWP_NOZORDER);
    ShowWindow(Window(), SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(Window()));
    SendCommand(ID_OPTIONS_SAVEPOS);
    ExpectStoredRectangle(40, 50, 530, 430);
}

TEST_F(Settings, RectangleThatNoMonitorShowsIsMovedOntoTheScreen) {
    StoreNumber(L"Window XPos", static_cast<DWORD>(-5000));
    StoreNumber(L"Window YPos", 7000);
    OpenWindow();
    RECT rect;
    GetWindowRect(Window(), &rect);
    EXPECT_NE(MonitorFromRect(&rect, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(rect.right - rect.left, 500) << "the size stays";
}

TEST_F(Settings, RectanglePartlyOnScreenIsKept) {
    StoreNumber(L"Window XPos", static_cast<DWORD>(-20));
    OpenWindow();
    RECT rect;
    GetWindowRect(Window(), &rect);
    EXPECT_EQ(rect.left, -20);
}

TEST_F(Settings, CancelledDefaultDirectoryStillWritesTheOldText) {
    OpenWindow();
    prompts_.FolderAnswers.push_back(std::nullopt);
    SendCommand(ID_OPTIONS_SETDEFAULTDIR);
    ASSERT_EQ(prompts_.FolderTitles.size(), 1u);
    EXPECT_EQ(prompts_.FolderTitles[0], L"Default Directory");
    EXPECT_EQ(prompts_.FolderInitial[0], L"C:\\");
    EXPECT_EQ(StoredText(L"Default Directory"), L"C:\\");
}

TEST_F(Settings, ChosenDefaultDirectoryIsStoredAndStartsTheFileDialogs) {
    OpenWindow();
    prompts_.FolderAnswers.push_back(L"D:\\mods");
    SendCommand(ID_OPTIONS_SETDEFAULTDIR);
    EXPECT_EQ(StoredText(L"Default Directory"), L"D:\\mods");
    prompts_.FileAnswers.push_back(std::nullopt);
    SendCommand(ID_FILE_OPEN);
    EXPECT_EQ(prompts_.FileRequests.back().InitialFolder, L"D:\\mods");
}

TEST_F(Settings, DefaultDirectoryOfAnotherTypeReadsAsDefault) {
    StoreNumber(L"Default Directory", 7);
    StrindleSettings settings;
    settings.DefaultDirectory = L"changed";
    settings.Load();
    EXPECT_EQ(settings.DefaultDirectory, L"C:\\");
}

TEST_F(Settings, StoredTextIsReadBackExactly) {
    StrindleSettings settings;
    settings.DefaultDirectory = L"E:\\Diablo II\\data\\local\\";
    settings.StoreDefaultDirectory();
    StrindleSettings read;
    read.Load();
    EXPECT_EQ(read.DefaultDirectory, L"E:\\Diablo II\\data\\local\\");
}

TEST_F(Settings, NumbersOfAnotherSizeOrTypeReadAsDefaults) {
    unsigned long long wide = 5;
    StoreRaw(L"Window Width", REG_QWORD, &wide, sizeof wide);
    StoreRaw(L"Advanced Mode", REG_SZ, L"1", 4);
    StoreNumber(L"Parse On Load", 0);
    StoreNumber(L"Window XPos", static_cast<DWORD>(-20));  // off screen to the left: kept as it is
    StrindleSettings settings;
    settings.Load();
    EXPECT_EQ(settings.WindowWidth, 500);
    EXPECT_FALSE(settings.AdvancedMode);
    EXPECT_FALSE(settings.ParseOnLoad);
    EXPECT_EQ(settings.WindowX, -20);
}

TEST_F(Settings, ClosedKeyReadsDefaultsAndSkipsWrites) {
    SettingsKey key;
    key.AppendPath(L"Zuq\\TblProg");
    EXPECT_FALSE(key.OpenForReading());
    EXPECT_TRUE(key.IsClosed());
    EXPECT_EQ(key.ReadNumber(L"Window XPos", 100), 100u);
    EXPECT_EQ(key.ReadText(L"Default Directory", L"C:\\"), L"C:\\");
    key.WriteNumber(L"Window XPos", 5);
    HKEY opened = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_READ, &opened), ERROR_SUCCESS);
}

TEST_F(Settings, KeyPathGrowsOnlyWhileItStaysShort) {
    SettingsKey key;
    EXPECT_EQ(key.Path(), L"Software\\");
    key.AppendPath(std::wstring(300, L'x'));
    EXPECT_EQ(key.Path(), L"Software\\");
    key.AppendPath(L"Zuq\\TblProg");
    EXPECT_EQ(key.Path(), L"Software\\Zuq\\TblProg");
}

}  // namespace
