// The handler as the shell drives it: Initialize with the selection, QueryContextMenu,
// GetCommandString and InvokeCommand, which starts the recorder in Tessaly's place.
#include "ContextMenuFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace {

using DunmoreContextMenu = ContextMenuFixture;

TEST_F(DunmoreContextMenu, ChoosingTheItemStartsTessalyOnTheQuotedPathAndOneBlank) {
    auto data = DropListDataObject::Ansi({"C:\\mods\\patchstring.txt"});
    ASSERT_EQ(Initialize(data), S_OK);
    EXPECT_EQ(ParametersOfChosenItem(), "\"C:\\mods\\patchstring.txt\" ");
}

TEST_F(DunmoreContextMenu, PathWithBlanksStaysOneQuotedArgument) {
    auto data = DropListDataObject::Ansi({"C:\\Diablo II\\my mod\\expansion string.txt"});
    ASSERT_EQ(Initialize(data), S_OK);
    EXPECT_EQ(ParametersOfChosenItem(), "\"C:\\Diablo II\\my mod\\expansion string.txt\" ");
}

TEST_F(DunmoreContextMenu, PathOf260CharactersOrMoreIsPassedWhole) {
    std::string longPath = "C:\\mods";
    while (longPath.size() < 300)
        longPath += "\\a rather long folder name";
    longPath += "\\string.txt";
    auto data = DropListDataObject::Ansi({longPath});
    ASSERT_EQ(Initialize(data), S_OK);
    EXPECT_EQ(ParametersOfChosenItem(), '"' + longPath + "\" ");
}

TEST_F(DunmoreContextMenu, SeveralFilesStartTessalyOnceWithAllPathsInSelectionOrder) {
    auto data = DropListDataObject::Ansi({"C:\\b.txt", "C:\\a b\\c.txt", "D:\\a.txt"});
    ASSERT_EQ(Initialize(data), S_OK);
    EXPECT_EQ(ParametersOfChosenItem(), "\"C:\\b.txt\" \"C:\\a b\\c.txt\" \"D:\\a.txt\" ");
}

TEST_F(DunmoreContextMenu, ReadsAWideDropListToo) {
    auto data = DropListDataObject::Wide({L"C:\\mods\\string.txt", L"C:\\mods\\patch.txt"});
    ASSERT_EQ(Initialize(data), S_OK);
    EXPECT_EQ(ParametersOfChosenItem(), "\"C:\\mods\\string.txt\" \"C:\\mods\\patch.txt\" ");
}

// Folders named in Chinese and Korean, outside the ANSI code page of the test's Wine prefix.
constexpr wchar_t kChineseFolder[] = L"C:\\\u6a21\u7ec4\\\u5b57\u7b26\u4e32";
constexpr wchar_t kKoreanFile[] = L"D:\\\ubaa8\ub4dc\\\ubb38\uc790\uc5f4.txt";

TEST_F(DunmoreContextMenu, PathsOutsideTheAnsiCodePageReachTessalyUnchanged) {
    const std::wstring chinese = std::wstring(kChineseFolder) + L"\\patchstring.txt";
    auto data = DropListDataObject::Wide({chinese, kKoreanFile});
    ASSERT_EQ(Initialize(data), S_OK);
    EXPECT_EQ(ParametersOfChosenItem(), Utf8(L'"' + chinese + L"\" \"" + kKoreanFile + L"\" "));
}

TEST_F(DunmoreContextMenu, TessalyInAFolderOutsideTheAnsiCodePageStarts) {
    const std::filesystem::path folder = scratch_.Path() / std::filesystem::path(L"\u8868\u683c");
    std::filesystem::create_directory(folder);
    std::filesystem::copy_file(RecorderPath(), folder / "tessaly.exe");
    tessaly_.SetPath(folder / "tessaly.exe");
    auto data = DropListDataObject::Ansi({"C:\\notes.txt"});
    ASSERT_EQ(Initialize(data), S_OK);
    EXPECT_EQ(ParametersOfChosenItem(), "\"C:\\notes.txt\" ");
}

TEST_F(DunmoreContextMenu, ExpandablePathValueStartsTessaly) {
    // Installers write "Path" as REG_EXPAND_SZ, with a variable such as %ProgramFiles%.
    ASSERT_TRUE(SetEnvironmentVariableW(L"DUNMORE_TEST_PROGRAMS", RecorderPath().parent_path().c_str()));
    tessaly_.SetPath(L"%DUNMORE_TEST_PROGRAMS%\\" + RecorderPath().filename().wstring(), REG_EXPAND_SZ);
    auto data = DropListDataObject::Ansi({"C:\\notes.txt"});
    ASSERT_EQ(Initialize(data), S_OK);
    EXPECT_EQ(ParametersOfChosenItem(), "\"C:\\notes.txt\" ");
    SetEnvironmentVariableW(L"DUNMORE_TEST_PROGRAMS", nullptr);
}

TEST_F(DunmoreContextMenu, SecondInitializeAddsItsSelectionAfterTheFirst) {
    auto first = DropListDataObject::Ansi({"C:\\first.txt"});
    auto second = DropListDataObject::Ansi({"C:\\second.txt", "C:\\third.txt"});
    ASSERT_EQ(Initialize(first), S_OK);
    ASSERT_EQ(Initialize(second), S_OK);
    EXPECT_EQ(ParametersOfChosenItem(), "\"C:\\first.txt\" \"C:\\second.txt\" \"C:\\third.txt\" ");
}

TEST_F(DunmoreContextMenu, InitializeReleasesTheMediumAndUnlocksTheList) {
    auto data = DropListDataObject::Ansi({"C:\\a.txt", "C:\\b.txt"});
    ASSERT_EQ(Initialize(data), S_OK);
    EXPECT_EQ(data.References(), 1);
    EXPECT_EQ(data.DropListLockCount(), 0u);
}

TEST_F(DunmoreContextMenu, InitializeRefusesAnEmptyListAndReleasesItsMedium) {
    auto data = DropListDataObject::Ansi({});
    EXPECT_EQ(Initialize(data), E_INVALIDARG);
    EXPECT_EQ(data.References(), 1);
    EXPECT_EQ(data.DropListLockCount(), 0u);
}

TEST_F(DunmoreContextMenu, InitializeRefusesASelectionWithoutDropList) {
    auto data = DropListDataObject::WithoutDropList();
    EXPECT_EQ(Initialize(data), E_INVALIDARG);
    EXPECT_EQ(data.References(), 1);
}

TEST_F(DunmoreContextMenu, RefusedSelectionAddsNothing) {
    auto empty = DropListDataObject::Ansi({});
    auto none = DropListDataObject::WithoutDropList();
    auto chosen = DropListDataObject::Ansi({"C:\\chosen.txt"});
    EXPECT_EQ(Initialize(empty), E_INVALIDARG);
    EXPECT_EQ(Initialize(none), E_INVALIDARG);
    ASSERT_EQ(Initialize(chosen), S_OK);
    EXPECT_EQ(ParametersOfChosenItem(), "\"C:\\chosen.txt\" ");
}

TEST_F(DunmoreContextMenu, QueryContextMenuInsertsOneItemAtThePositionWithTheFirstCommandId) {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "Open");
    AppendMenuA(menu, MF_STRING, 2, "Print");
    const HRESULT result = handler_->QueryContextMenu(menu, 1, 100, 200, CMF_NORMAL);
    EXPECT_EQ(result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1));
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    char text[64] = {};
    GetMenuStringA(menu, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Open With Tessaly");
    EXPECT_EQ(GetMenuItemID(menu, 1), 100u);
    EXPECT_EQ(GetSubMenu(menu, 1), nullptr);
    EXPECT_EQ(GetMenuItemID(menu, 2), 2u);
    DestroyMenu(menu);
}

TEST_F(DunmoreContextMenu, DefaultOnlyMenuIsLeftUnchanged) {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "Open");
    EXPECT_EQ(handler_->QueryContextMenu(menu, 0, 100, 200, CMF_DEFAULTONLY), S_OK);
    EXPECT_EQ(GetMenuItemCount(menu), 1);
    EXPECT_EQ(GetMenuItemID(menu, 0), 1u);
    DestroyMenu(menu);
}

TEST_F(DunmoreContextMenu, HelpTextComesNarrowOrWide) {
    char narrow[64] = {};
    ASSERT_EQ(handler_->GetCommandString(0, GCS_HELPTEXTA, nullptr, narrow, sizeof narrow), S_OK);
    EXPECT_STREQ(narrow, "Opens the file with the Tessaly");
    wchar_t wide[64] = {};
    ASSERT_EQ(handler_->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<char*>(wide), 64), S_OK);
    EXPECT_STREQ(wide, L"Opens the file with the Tessaly");
}

TEST_F(DunmoreContextMenu, HelpTextIsCutToTheBufferWithItsTerminator) {
    char narrow[16];
    std::fill(std::begin(narrow), std::end(narrow), 'x');
    ASSERT_EQ(handler_->GetCommandString(0, GCS_HELPTEXTA, nullptr, narrow, 10), S_OK);
    EXPECT_STREQ(narrow, "Opens the");
    EXPECT_EQ(narrow[10], 'x');
    wchar_t wide[16];
    std::fill(std::begin(wide), std::end(wide), L'x');
    ASSERT_EQ(handler_->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<char*>(wide), 10), S_OK);
    EXPECT_STREQ(wide, L"Opens the");
    EXPECT_EQ(wide[10], L'x');
}

TEST_F(DunmoreContextMenu, VerbsValidationAndOtherOffsetsAreRefused) {
    char buffer[64] = "untouched";
    for (UINT flags : {GCS_VERBA, GCS_VERBW, GCS_VALIDATEA, GCS_VALIDATEW})
        EXPECT_EQ(handler_->GetCommandString(0, flags, nullptr, buffer, sizeof buffer), E_INVALIDARG) << flags;
    EXPECT_EQ(handler_->GetCommandString(1, GCS_HELPTEXTA, nullptr, buffer, sizeof buffer), E_INVALIDARG);
    EXPECT_STREQ(buffer, "untouched");
}

TEST_F(DunmoreContextMenu, InvocationByVerbOrAnotherOffsetStartsNothing) {
    auto data = DropListDataObject::Ansi({"C:\\notes.txt"});
    ASSERT_EQ(Initialize(data), S_OK);
    ExpectNothingStarted(E_INVALIDARG, [&] { return InvokeOffset(1); });
    ExpectNothingStarted(E_INVALIDARG, [&] {
        CMINVOKECOMMANDINFO invocation = {sizeof invocation};
        invocation.lpVerb = "open";
        return handler_->InvokeCommand(&invocation);
    });
}

TEST_F(DunmoreContextMenu, MissingTessalyKeyRefusesAndStartsNothing) {
    auto data = DropListDataObject::Ansi({"C:\\notes.txt"});
    ASSERT_EQ(Initialize(data), S_OK);
    ExpectNothingStarted(E_INVALIDARG, [&] {
        tessaly_.RemoveKey();
        return InvokeOffset(0);
    });
}

TEST_F(DunmoreContextMenu, UnusablePathValueFailsAndStartsNothing) {
    auto data = DropListDataObject::Ansi({"C:\\notes.txt"});
    ASSERT_EQ(Initialize(data), S_OK);
    ExpectNothingStarted(E_FAIL, [&] {
        tessaly_.RemovePath();
        return InvokeOffset(0);
    });
    ExpectNothingStarted(E_FAIL, [&] {
        tessaly_.SetPath("");
        return InvokeOffset(0);
    });
    ExpectNothingStarted(E_FAIL, [&] {
        const std::string recorder = RecorderPath().string();
        tessaly_.SetPath(REG_BINARY, recorder.c_str(), static_cast<DWORD>(recorder.size() + 1));
        return InvokeOffset(0);
    });
    ExpectNothingStarted(E_FAIL, [&] {
        tessaly_.SetPath("C:\\" + std::string(300, 'T') + ".exe");
        return InvokeOffset(0);
    });
}

TEST_F(DunmoreContextMenu, FailedLaunchIsNotReported) {
    auto data = DropListDataObject::Ansi({"C:\\notes.txt"});
    ASSERT_EQ(Initialize(data), S_OK);
    tessaly_.SetPath((scratch_ / "no such program.exe").string());
    EXPECT_EQ(InvokeOffset(0), S_OK);
}

}  // namespace
