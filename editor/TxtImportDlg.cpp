#include "TxtImportDlg.h"

#include "MessageMap.h"
#include "TabbedTextReader.h"
#include "WideText_win.h"
#include "resource.h"

struct TxtImportMessageMap {
    static constexpr CommandEntry<CTxtImport> Commands[] = {
        {IDC_IMPORTBROWSE, BN_CLICKED, &CTxtImport::OnBrowse},
        {IDC_IMPORTAPPEND, BN_CLICKED, &CTxtImport::OnAppend},
        {IDC_IMPORTOVERWRITE, BN_CLICKED, &CTxtImport::OnOverwrite},
    };
};

CTxtImport::CTxtImport(UserPrompts& prompts, TblDocument& table, HWND owner)
    : CTabbedFileDialog(IDD_TXTIMPORT, IDC_IMPORTBROWSE, prompts, owner), table_(table) {}

bool CTxtImport::RouteCommand(UINT id, UINT code) {
    return RouteCommandFrom(*this, TxtImportMessageMap::Commands, id, code);
}

bool CTxtImport::OnInitDialog() {
    CTabbedFileDialog::OnInitDialog();
    CheckRadioButton(Handle(), IDC_IMPORTAPPEND, IDC_IMPORTOVERWRITE,
                     ImportMode == ::ImportMode::Append ? IDC_IMPORTAPPEND : IDC_IMPORTOVERWRITE);
    return true;
}

void CTxtImport::OnAppend() { ImportMode = ::ImportMode::Append; }

void CTxtImport::OnOverwrite() { ImportMode = ::ImportMode::Overwrite; }

// A file that can't be read leaves the lists empty; OK keeps the state an earlier file gave it.
void CTxtImport::OnBrowse() {
    if (!ChooseTabbedFile(false))
        return;
    ShowCaptions({});
    std::vector<std::u16string> captions;
    if (Result read = ReadTabbedHeader(Path(), captions); !read) {
        ShowFailure(read);
        return;
    }
    ShowCaptions(captions);
    SendDlgItemMessageW(Handle(), IDC_KEYCOLUMN, CB_SETCURSEL, 0, 0);
    SendDlgItemMessageW(Handle(), IDC_VALUECOLUMN, CB_SETCURSEL, 0, 0);
    headerRead_ = true;
    EnableOK(true);
}

void CTxtImport::ShowCaptions(const std::vector<std::u16string>& captions) {
    for (int list : {IDC_KEYCOLUMN, IDC_VALUECOLUMN}) {
        SendDlgItemMessageW(Handle(), list, CB_RESETCONTENT, 0, 0);
        for (const std::u16string& caption : captions)
            SendDlgItemMessageW(Handle(), list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideChars(caption)));
    }
}

size_t CTxtImport::ChosenColumn(int listId) const {
    LRESULT chosen = SendDlgItemMessageW(Handle(), listId, CB_GETCURSEL, 0, 0);
    return chosen == CB_ERR ? NoTabbedColumn : static_cast<size_t>(chosen);
}

// On a failure nothing is imported and the dialog stays open; OK may be pressed again.
void CTxtImport::OnOK() {
    if (!headerRead_)  // Enter while OK is still disabled
        return;
    Result imported = ImportTabbedText(Path(), ChosenColumn(IDC_KEYCOLUMN), ChosenColumn(IDC_VALUECOLUMN),
                                       ImportMode, table_);
    if (!imported) {
        ShowFailure(imported);
        return;
    }
    EndDialog(IDOK);
}
