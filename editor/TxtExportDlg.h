#pragma once

#include "TabbedFileDialog.h"

#include <string>
#include <vector>

// Export To Tabbed Txt: the user picks the output file and confirms; OK writes the table's
// keys and values as tabbed text. The dialog only reads the table.
class CTxtExport : public CTabbedFileDialog {
public:
    CTxtExport(UserPrompts& prompts, const std::vector<std::u16string>& keys,
               const std::vector<std::u16string>& values, HWND owner);

protected:
    void OnOK() override;
    bool RouteCommand(UINT id, UINT code) override;

private:
    friend struct TxtExportMessageMap;

    void OnBrowse();

    const std::vector<std::u16string>& keys_;
    const std::vector<std::u16string>& values_;
};
