#include "TxtExportDlg.h"

#include "MessageMap.h"
#include "TabbedTextWriter.h"
#include "resource.h"

struct TxtExportMessageMap {
    static constexpr CommandEntry<CTxtExport> Commands[] = {
        {IDC_EXPORTBROWSE, BN_CLICKED, &CTxtExport::OnBrowse},
    };
};

CTxtExport::CTxtExport(UserPrompts& prompts, const TblDocument& table, HWND owner)
    : CTabbedFileDialog(IDD_TXTEXPORT, IDC_EXPORTBROWSE, prompts, owner), table_(table) {}

bool CTxtExport::RouteCommand(UINT id, UINT code) {
    return RouteCommandFrom(*this, TxtExportMessageMap::Commands, id, code);
}

void CTxtExport::OnBrowse() {
    if (ChooseTabbedFile(true))
        EnableOK(true);
}

// A failure (the file can't be created, a character has no byte, the write fails) leaves any
// file there whole and the dialog open, so the user can choose another file or cancel.
void CTxtExport::OnOK() {
    if (Path().empty())  // Enter while OK is still disabled
        return;
    if (Result written = WriteTabbedText(Path(), table_); !written) {
        ShowFailure(written);
        return;
    }
    EndDialog(IDOK);
}
