#include "SearchDialogs.h"

#include "WideText_win.h"
#include "resource.h"

CSearch::CSearch(HWND owner) : CDialog(IDD_SEARCH, owner) {}

void CSearch::DoDataExchange(DataExchange& dx) {
    DdxText(dx, IDC_SEARCHTEXT, Text);
    DdxCheck(dx, IDC_CASESENSITIVE, CaseSensitive);
}

CGoIndex::CGoIndex(UserPrompts& prompts, HWND owner) : CDialog(IDD_GOINDEX, owner), prompts_(prompts) {}

void CGoIndex::DoDataExchange(DataExchange& dx) { DdxNumber(dx, IDC_KEYTEXT, Index); }

// Read here rather than by data exchange, so that a long number is refused as too large and
// not as "no number".
void CGoIndex::OnOK() {
    std::wstring text = WindowText(Item(IDC_KEYTEXT));
    bool digitsOnly = !text.empty() && text.find_first_not_of(L"0123456789") == std::wstring::npos;
    if (!digitsOnly) {
        Refuse(L"Please enter an index number, in digits 0 to 9.");
        return;
    }
    unsigned number = 0;
    for (wchar_t digit : text) {
        number = number * 10 + static_cast<unsigned>(digit - L'0');
        if (number > MaxIndex) {
            Refuse(FormatText(L"The index number must be from 0 to %u.", MaxIndex));
            return;
        }
    }
    Index = number;
    EndDialog(IDOK);
}

void CGoIndex::Refuse(const std::wstring& reason) {
    prompts_.Message(Handle(), reason, L"Go To Index #", MB_OK | MB_ICONEXCLAMATION);
    // Focus through the dialog manager, which also selects the field's text.
    SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_KEYTEXT)), TRUE);
}
