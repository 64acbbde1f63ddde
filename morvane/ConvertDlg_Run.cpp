// The conversion run of the main window: the palette questions, the progress window and the
// reader's message hooks.
#include "ConvertDlg.h"

#include "ConvertFile.h"
#include "ConvertTexts.h"
#include "FileIo.h"
#include "OutputNames.h"
#include "TextFormat.h"
#include "WindowText_win.h"
#include "resource.h"

#include <commctrl.h>

#include <vector>

namespace {

bool FolderExists(const wchar_t* path) {
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether a file can be made in `folder`: a temporary file is created there and goes again.
bool FolderTakesFiles(const wchar_t* folder) {
    wchar_t path[MAX_PATH] = {};
    if (!GetTempFileNameW(folder, L"mvc", 0, path))
        return false;
    DeleteFileW(path);
    return true;
}

}  // namespace

std::optional<Palette> CConvertDlg::ChooseRunPalette() {
    if (Ask("Do you wish to load a custom palette?", MB_YESNO | MB_ICONQUESTION, Handle()) != IDYES)
        return BuiltInPalette();
    FileDialogRequest request;
    request.Title = L"Select the palette to load...";
    request.Filter = L"Palette Files (*.pal;*.pl2;*.act;*.dat)|*.pal;*.pl2;*.act;*.dat|All Files (*.*)|*.*||";
    request.DefaultExtension = L"pal";
    // The working folder is where the sprite files are read and the PCX files go: the dialog must
    // leave it as it is.
    request.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NONETWORKBUTTON | OFN_LONGNAMES | OFN_NOCHANGEDIR;
    ChosenFile chosen;
    Palette loaded;
    const bool chose = prompts_.ChooseFile(Handle(), request, chosen);
    EnableWindow(Handle(), FALSE);  // the file dialog enables its owner as it closes
    if (chose && LoadPaletteFile(Utf16(chosen.Path), loaded)) {
        customPalette_ = loaded;
        return loaded;
    }
    if (Ask("Custom palette load was cancelled or failed!\n\nDo you wish to continue?", MB_YESNO | MB_ICONQUESTION,
            Handle()) != IDYES)
        return std::nullopt;
    return BuiltInPalette();
}

void CConvertDlg::RunConversion() {
    // The run converts the rows selected when it started, whatever happens to the list.
    const std::vector<std::u16string> names = SelectedNames();
    customPalette_.reset();
    std::optional<Palette> palette = ChooseRunPalette();
    if (!palette || closeRequested_)
        return;

    working_ = std::make_unique<CWorkingDlg>(Handle());
    if (!working_->CreateModeless()) {
        working_.reset();
        return;
    }
    working_->SetRange(selectedCount_);
    const Palette rgbPalette = SwapRedAndBlue(*palette);
    const ImageKind kind = OutputKind();
    const std::u16string outputFolder = OutputFolderPath(u"", kind);
    if (!FolderExists(WideChars(outputFolder)))
        CreateDirectoryW(WideChars(outputFolder), nullptr);
    // A folder that takes no files would give one notice for every frame of every file: it
    // is reported once and the run ends.
    if (FolderTakesFiles(WideChars(outputFolder)))
        ConvertFiles(names, rgbPalette, kind);
    else
        ShowNotice(FormatText("The folder %s could not be created or written to, so nothing was converted. "
                              "Check that the folder of the DC6 and DCC files is not read-only and that the disk "
                              "is not full.",
                              Utf16ToUtf8(outputFolder).c_str()));
    working_.reset();
}

std::vector<std::u16string> CConvertDlg::SelectedNames() const {
    std::vector<std::u16string> names;
    int row = -1;
    while (static_cast<int>(names.size()) < selectedCount_) {
        row = static_cast<int>(SendMessageW(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
        if (row < 0)
            break;
        names.push_back(RowName(row));
    }
    return names;
}

// A file's notices (damaged frames, outputs not written) are gathered into one message that
// names the file, shown unless the user has switched the error messages off.
void CConvertDlg::ConvertFiles(const std::vector<std::u16string>& names, const Palette& rgbPalette, ImageKind kind) {
    std::vector<std::string> notices;
    Dc6Hooks hooks;
    hooks.NotifyError = [this](const std::string& text) { NotifyError(text); };
    hooks.ShowNotice = [&notices](const std::string& text) { notices.push_back(text); };
    OutputBatch outputs;

    for (const std::u16string& name : names) {
        if (closeRequested_)
            break;
        working_->SetProcessingText(u"Processing " + name + u"...");
        std::vector<uint8_t> file;
        notices.clear();
        // An empty file is skipped as silently as one that can not be read.
        if (ReadWholeFile(name, file) && !file.empty() &&
            ConvertSpriteFile(name, file, Dc6FrameScope::FirstDirection, rgbPalette, hooks, outputs, u"", kind))
            ++convertedCount_;
        if (!notices.empty() && showErrors_)
            ShowNotice(FileNotices(Utf16ToUtf8(name), notices));
        working_->Step();
    }
    if (const Result synced = outputs.Finish(); !synced)
        ShowNotice("The converted files may not all be on the disk yet: " + synced.Message + ".");
}

void CConvertDlg::NotifyError(const std::string& text) {
    if (!showErrors_)
        return;
    HWND owner = working_ ? working_->Handle() : GetDesktopWindow();
    if (Ask(text, MB_YESNO | MB_ICONINFORMATION, owner) == IDNO) {
        showErrors_ = false;
        SendDlgItemMessageW(Handle(), IDC_NOERRORS, BM_SETCHECK, BST_CHECKED, 0);
    }
}

void CConvertDlg::ShowNotice(const std::string& text) {
    HWND owner = working_ ? working_->Handle() : GetDesktopWindow();
    Ask(text, MB_OK | MB_ICONINFORMATION, owner);
}
