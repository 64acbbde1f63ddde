#pragma once

#include "TabbedFileDialog.h"
#include "TblDocument.h"

#include <string>
#include <vector>

// Export To Tabbed Txt: the user picks the output file and confirms; OK writes the table's
// keys and values as tabbed text. The dialog only reads the table.
class CTxtExport : public CTabbedFileDialog {
public:
    CTxtExport(UserPrompts& prompts, const TblDocument& table, HWND owner);

protected:
    void OnOK() override;
    bool RouteCommand(UINT id, UINT code) override;

private:
    friend struct TxtExportMessageMap;

    void OnBrowse();

    const TblDocument& table_;
};
