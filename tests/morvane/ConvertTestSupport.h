#pragma once

#include "ConvertDlg.h"
#include "Dc6Builder.h"
#include "TestSupport.h"
#include "GuiTestSupport_win.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// A DC6 file of `frames` solid frames of 3 x 2 pixels; with offsets the file converts one PCX
// file per frame.
Dc6TestFile SolidDc6(int frames, bool withOffsets = false);
void WriteDc6(const std::filesystem::path& path, const Dc6TestFile& file);
// One 2 x 1 frame whose code starts with a zero byte: one notice, ZeroByteNotice.
Dc6TestFile Dc6WithZeroByte();
// The window's message for a file `name` made by Dc6WithZeroByte.
std::wstring ZeroByteNotice(const std::wstring& name);
// Copies the named real DC6 files (all of them when `names` is empty) into `folder`; how many.
int CopyRealDc6Files(const std::filesystem::path& folder, const std::vector<std::string>& names);

// The window in a working folder of its own (a scratch folder, made current for the test).
// Created modeless and left hidden: under Wine without a window manager, destroying a shown
// window waits 2 s.
class ConvertWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void OpenWindow();

    HWND Window() const { return dialog_->Handle(); }
    HWND List() const { return GetDlgItem(Window(), 1000); }
    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(Window(), id)) != FALSE; }
    void Click(int id);
    // A mouse click in the list after the rows of `rows` were selected.
    void ClickRows(const std::vector<int>& rows);
    void PressConvert() { Click(IDOK); }
    // The texts of a list column, as UTF-8.
    std::vector<std::string> Column(int column) const;
    std::wstring Title() const;
    std::filesystem::path WorkingFolder() const { return scratch_.Path(); }
    std::filesystem::path Output(const std::string& name) const { return scratch_ / "PCXFiles" / name; }

    ScratchDir scratch_;
    ScriptedPrompts prompts_;
    std::unique_ptr<CConvertDlg> dialog_;
    std::wstring helpPath_ = L"Z:\\nonexistent-folder\\Morvane.chm";

private:
    std::filesystem::path previousFolder_;
};
