#pragma once

#include "TabbedFileDialog.h"
#include "TabbedImport.h"

#include <string>
#include <vector>

// Import Tabbed Txt File: the user picks the file, the key and value columns from the captions
// of its first line, and whether rows are appended or merged by key; OK imports them into the
// table's keys and values.
class CTxtImport : public CTabbedFileDialog {
public:
    CTxtImport(UserPrompts& prompts, std::vector<std::u16string>& keys, std::vector<std::u16string>& values,
               HWND owner);

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

    std::vector<std::u16string>& keys_;
    std::vector<std::u16string>& values_;
    bool headerRead_ = false;
};
