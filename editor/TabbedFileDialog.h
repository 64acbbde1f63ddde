#pragma once

#include "Dialog.h"
#include "ImageButton.h"
#include "TabbedEncoding.h"
#include "UserPrompts.h"

#include <string>

// What the export and import dialogs share: a browse button drawn with the folder bitmap, a
// read-only field showing the chosen file, an OK button that starts disabled, and file errors
// shown as "File I/O error" messages.
class CTabbedFileDialog : public CDialog {
public:
    // The full path of the chosen file; empty until one is chosen.
    const std::u16string& Path() const { return path_; }

protected:
    CTabbedFileDialog(UINT templateId, int browseButtonId, UserPrompts& prompts, HWND owner);

    bool OnInitDialog() override;
    bool RouteMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Asks for a tabbed text file (to write, or to read); on a choice shows and keeps its path.
    // False when the user cancelled.
    bool ChooseTabbedFile(bool save);
    void EnableOK(bool enabled);
    void ShowFailure(const Result& failure);

    UserPrompts& prompts_;

private:
    int browseButtonId_;
    CImageButton browseButton_;
    std::u16string path_;
};

// The file dialog of the tabbed text files, for writing (save) or reading.
FileDialogRequest TabbedTextFileRequest(bool save);
// A failed tabbed-text operation's message: caption "File I/O error", exclamation icon.
void ShowTxtIoFailure(UserPrompts& prompts, HWND owner, const Result& failure);
