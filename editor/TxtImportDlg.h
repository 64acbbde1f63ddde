#pragma once

#include "TabbedFileDialog.h"
#include "TabbedImport.h"

#include <string>
#include <vector>

// Import Tabbed Txt File: the user picks the file, the key and value columns from the captions
// of its first line, and whether rows are appended or merged by key; OK imports them into the
// table.
class CTxtImport : public CTabbedFileDialog {
public:
    CTxtImport(UserPrompts& prompts, TblDocument& table, HWND owner);

    // Shown by the radio buttons, and set by them at once.
    ::ImportMode ImportMode = ::ImportMode::Append;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool RouteCommand(UINT id, UINT code) override;

private:
    friend struct TxtImportMessageMap;

    void OnBrowse();
    void OnAppend();
    void OnOverwrite();
    void ShowCaptions(const std::vector<std::u16string>& captions);
    // The field number chosen in a column list; NoTabbedColumn without a choice.
    size_t ChosenColumn(int listId) const;

    TblDocument& table_;
    bool headerRead_ = false;
};
