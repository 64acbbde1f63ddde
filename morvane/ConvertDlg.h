#pragma once

#include "Dialog.h"
#include "OutputNames.h"
#include "Palette.h"
#include "SpritePreview_win.h"
#include "UserPrompts.h"
#include "WorkingDlg.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// Morvane Convert's main window: the DC6 and DCC files of the working folder (the current
// directory) with whether each has a PCX sheet, a folder picker, selection and the conversion
// run, and a preview of the one file selected.
class CConvertDlg : public CDialog {
public:
    // `helpPath` is the help file formed at start-up; it stays when the working folder changes.
    CConvertDlg(UserPrompts& prompts, std::wstring helpPath, HWND owner = nullptr);
    ~CConvertDlg() override;

    // Reads the working folder's DC6 and DCC files into the list; whether any was found.
    bool RefreshList();
    // Lets the user pick a new working folder; whether one was set.
    bool BrowseFolder();
    int CountSelected() const;
    // One conversion of the selected rows, after the palette questions.
    void RunConversion();
    // The reader's two message hooks; their texts are UTF-8.
    void NotifyError(const std::string& text);
    void ShowNotice(const std::string& text);

    bool ShowErrors() const { return showErrors_; }
    int ConvertedCount() const { return convertedCount_; }
    bool HoldsCustomPalette() const { return customPalette_.has_value(); }
    // The progress window while a run is under way, else null.
    HWND ProgressWindow() const { return working_ ? working_->Handle() : nullptr; }
    bool RunInProgress() const { return running_; }
    // PCX (the default) or PNG, as the window's choice says.
    ImageKind OutputKind() const;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool RouteCommand(UINT id, UINT code) override;
    bool RouteMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend struct ConvertMessageMap;

    void OnBrowse();
    void OnSelectAll();
    void OnNoErrorsClicked();
    void OnOutputKindClicked();
    bool OnNotify(WPARAM wParam, LPARAM lParam);
    bool OnHelp(WPARAM wParam, LPARAM lParam);
    bool OnPaint(WPARAM wParam, LPARAM lParam);
    bool OnQueryDragIcon(WPARAM wParam, LPARAM lParam);
    bool OnBrowseAtStart(WPARAM wParam, LPARAM lParam);
    // The preview (ConvertDlg_Preview.cpp). The message is posted when the list's selection
    // changes.
    static constexpr UINT WM_APP_SELECTIONCHANGED = WM_APP + 2;
    bool OnSelectionChanged(WPARAM wParam, LPARAM lParam);
    bool OnDrawItem(WPARAM wParam, LPARAM lParam);
    bool OnTimer(WPARAM wParam, LPARAM lParam);
    void OnPreviousDirection() { preview_.StepDirection(-1); }
    void OnNextDirection() { preview_.StepDirection(1); }
    void OnPreviousFrame() { preview_.StepFrame(-1); }
    void OnNextFrame() { preview_.StepFrame(1); }
    void OnPlay() { preview_.TogglePlay(); }
    // A change of the list's selection: the preview follows it once the change is over.
    void NoteSelectionChange();

    HWND List() const { return Item(1000); }
    // Column 0 of a row: the file's name.
    std::u16string RowName(int row) const;
    // Greys the system menu's Close and Move and disables the buttons and the check box.
    void DisableControls();
    // The controls as the listed folder allows: Convert waits for a selection.
    void EnableIdleControls();
    // A run keeps the whole window inert, list included, until its summary has been answered.
    void BeginRun();
    void EndRun();
    bool OnSetCursor(WPARAM wParam, LPARAM lParam);
    void AddFileRow(const wchar_t* fileName);
    // A message box of UTF-8 text.
    int Ask(const std::string& text, UINT type, HWND owner);
    // The palette of this run in the files' order, or none when the user ends the run.
    std::optional<Palette> ChooseRunPalette();
    std::vector<std::u16string> SelectedNames() const;
    void ConvertFiles(const std::vector<std::u16string>& names, const Palette& rgbPalette, ImageKind kind);

    UserPrompts& prompts_;
    std::wstring helpPath_;
    HICON icon_;
    bool showErrors_ = true;
    std::optional<Palette> customPalette_;
    int selectedCount_ = 0;
    int convertedCount_ = 0;
    bool running_ = false;
    HCURSOR cursorBeforeRun_ = nullptr;
    // A close request (WM_CLOSE from outside) during a run: the run stops before its next
    // file and the window then closes.
    bool closeRequested_ = false;
    std::unique_ptr<CWorkingDlg> working_;
    CSpritePreview preview_;
    // A selection change is waiting to reach the preview: Select All changes every row, and
    // the preview follows the selection once, after the last of them.
    bool selectionChangePosted_ = false;
};

// "%s\Morvane.chm" in `folder`.
std::wstring HelpPathIn(const std::wstring& folder);
// The help file of the folder the program was started from when it is there, else the one
// beside the program (started from a shortcut or another folder), else the first.
std::wstring FindHelpPath(const std::wstring& startFolder, const std::wstring& programFolder);
