// D2R string files in the window (the toolbar's "Language" drop-down, the repeated-id
// warning) and the reference: a second table or D2R file, read-only, whose value of each entry
// shows above the editor, with the entries whose placeholders, colour codes or line feeds
// differ from it marked in the key list.
#include "StrindleDlg.h"

#include "Utf.h"
#include "WideText_win.h"
#include "resource.h"

namespace {

// The label and the drop-down, after the toolbar's buttons.
constexpr int LabelWidth = 60;
constexpr int BoxWidth = 64;

std::wstring LanguageName(size_t index) { return WideFromUtf8(std::string(D2rLanguages[index])); }

// The editor's controls show line feeds as CR LF.
std::wstring WithCrLf(const std::u16string& text) {
    std::wstring shown;
    shown.reserve(text.size());
    for (char16_t c : text) {
        if (c == u'\n')
            shown += L'\r';
        shown += static_cast<wchar_t>(c);
    }
    return shown;
}

}  // namespace

size_t CStrindleDlg::LanguageIndex(const std::wstring& name) {
    const size_t index = D2rLanguageIndex(Utf16ToUtf8(Utf16(name)));
    return index < D2rLanguages.size() ? index : 0;
}

void CStrindleDlg::CreateLanguageBox() {
    // A separator as wide as the label and the drop-down holds their place in the toolbar,
    // which passes the drop-down's notifications on to the window.
    const auto placeIndex = static_cast<int>(SendMessageW(toolbar_, TB_BUTTONCOUNT, 0, 0)) + 1;
    TBBUTTON places[2] = {};
    places[0].fsStyle = BTNS_SEP;
    places[1].fsStyle = BTNS_SEP;
    places[1].iBitmap = LabelWidth + BoxWidth + 8;
    SendMessageW(toolbar_, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(places));
    RECT place{};
    SendMessageW(toolbar_, TB_GETITEMRECT, static_cast<WPARAM>(placeIndex), reinterpret_cast<LPARAM>(&place));
    const auto font = static_cast<WPARAM>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
    HWND label = CreateWindowExW(0, L"STATIC", L"Language:", WS_CHILD | WS_VISIBLE | SS_RIGHT | SS_CENTERIMAGE,
                                 place.left, place.top, LabelWidth, place.bottom - place.top, toolbar_, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    SendMessageW(label, WM_SETFONT, font, FALSE);
    languageBox_ = CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST,
                                   place.left + LabelWidth + 4, place.top + 1, BoxWidth, 300, toolbar_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LANGUAGE)),
                                   GetModuleHandleW(nullptr), nullptr);
    SendMessageW(languageBox_, WM_SETFONT, font, FALSE);
    for (size_t language = 0; language < D2rLanguages.size(); ++language)
        SendMessageW(languageBox_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LanguageName(language).c_str()));

    referenceView_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                     WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY, 0, 0, 10, 10,
                                     Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_REFERENCE)),
                                     GetModuleHandleW(nullptr), nullptr);
    SendMessageW(referenceView_, WM_SETFONT, font, FALSE);
    CheckMenuRadioItem(GetMenu(Handle()), ID_REFERENCE_LANGUAGE_FIRST, ID_REFERENCE_LANGUAGE_LAST,
                       ID_REFERENCE_LANGUAGE_FIRST + static_cast<UINT>(LanguageIndex(Settings.ReferenceLanguage)),
                       MF_BYCOMMAND);
    ShowLanguageBox();
}

// The drop-down shows the language a D2R file opens in, and takes choices only while one is open.
void CStrindleDlg::ShowLanguageBox() {
    const size_t language = Document.IsD2r() ? Document.Language() : LanguageIndex(Settings.Language);
    SendMessageW(languageBox_, CB_SETCURSEL, language, 0);
    EnableWindow(languageBox_, Document.IsD2r() ? TRUE : FALSE);
}

void CStrindleDlg::OnLanguageChange() {
    const LRESULT chosen = SendMessageW(languageBox_, CB_GETCURSEL, 0, 0);
    if (chosen < 0 || static_cast<size_t>(chosen) >= D2rLanguages.size() || !Document.IsD2r())
        return;
    Document.SetLanguage(static_cast<size_t>(chosen));
    Settings.Language = LanguageName(static_cast<size_t>(chosen));
    Settings.StoreLanguages();
    ResetSearchState();
    ForgetComparison();
    ShowCaretEntry();
}

void CStrindleDlg::WarnOfRepeatedIds() {
    const std::vector<std::string> repeated = Document.RepeatedIds();
    if (repeated.empty())
        return;
    constexpr size_t Named = 10;
    std::string ids;
    for (size_t i = 0; i < repeated.size() && i < Named; ++i)
        ids += (i > 0 ? ", " : "") + repeated[i];
    if (repeated.size() > Named)
        ids += " and " + std::to_string(repeated.size() - Named) + " more";
    prompts_.Message(Handle(),
                     WideFromUtf8("More than one row of the file has the id " + ids +
                                  ". The rows are kept as they are, and saving keeps their ids."),
                     L"Repeated Ids", MB_OK | MB_ICONINFORMATION);
}

void CStrindleDlg::OnReference() {
    FileDialogRequest request = StringFileRequest(FileChoice::Open);
    request.Title = L"Reference";
    ChosenFile chosen;
    if (prompts_.ChooseFile(Handle(), request, chosen))
        LoadReference(chosen.Path);
}

bool CStrindleDlg::LoadReference(const std::wstring& path) {
    auto reference = std::make_unique<TblDocument>();
    reference->SetLanguage(LanguageIndex(Settings.ReferenceLanguage));
    if (const Result loaded = reference->Load(Utf16(path), Settings.ParseOnLoad); !loaded) {
        ShowFailure(loaded);
        return false;
    }
    reference_ = std::move(reference);
    referencePath_ = path;
    ShowWindow(referenceView_, SW_SHOW);
    RECT client;
    GetClientRect(Handle(), &client);
    Layout(client.right, client.bottom);
    ForgetComparison();
    ShowCaretEntry();
    return true;
}

void CStrindleDlg::OnCloseReference() {
    if (!reference_)
        return;
    reference_.reset();
    referencePath_.clear();
    comparison_.Clear();
    ShowWindow(referenceView_, SW_HIDE);
    RECT client;
    GetClientRect(Handle(), &client);
    Layout(client.right, client.bottom);
    InvalidateRect(keyList_.Handle(), nullptr, TRUE);
    SetStatusText(0, L"Ready.");
}

void CStrindleDlg::SetReferenceLanguage(size_t language) {
    Settings.ReferenceLanguage = LanguageName(language);
    Settings.StoreLanguages();
    CheckMenuRadioItem(GetMenu(Handle()), ID_REFERENCE_LANGUAGE_FIRST, ID_REFERENCE_LANGUAGE_LAST,
                       ID_REFERENCE_LANGUAGE_FIRST + static_cast<UINT>(language), MF_BYCOMMAND);
    if (!reference_ || !reference_->IsD2r())
        return;
    reference_->SetLanguage(language);
    ForgetComparison();
    ShowCaretEntry();
}

void CStrindleDlg::UpdateComparison() {
    const bool open = reference_ != nullptr;
    HMENU menu = GetMenu(Handle());
    for (UINT id : {ID_VIEW_CLOSEREFERENCE, ID_VIEW_NEXTPROBLEM, ID_VIEW_PREVIOUSPROBLEM})
        EnableMenuItem(menu, id, MF_BYCOMMAND | (open ? MF_ENABLED : MF_GRAYED));
    if (!open || comparedState_ == Document.History().State())
        return;
    comparison_.Compare(Document, *reference_);
    comparedState_ = Document.History().State();
    InvalidateRect(keyList_.Handle(), nullptr, TRUE);
}

void CStrindleDlg::ShowReferenceOf(size_t caret) {
    if (!reference_)
        return;
    const size_t match = comparison_.Match(caret);
    SetWindowTextW(referenceView_, match == Unmatched ? L"(not in the reference)"
                                                      : WithCrLf(reference_->Value(match)).c_str());
    const std::string problem = comparison_.Problem(caret);
    SetStatusText(0, problem.empty() ? std::wstring(L"Ready.") : WideFromUtf8(problem));
}

void CStrindleDlg::OnNextProblem() { GoToProblem(true); }

void CStrindleDlg::OnPreviousProblem() { GoToProblem(false); }

void CStrindleDlg::GoToProblem(bool forward) {
    if (!reference_ || Document.Count() == 0) {
        MessageBeep(MB_ICONWARNING);
        return;
    }
    UpdateComparison();
    const int caret = keyList_.Caret();
    const size_t from = caret >= 0 ? static_cast<size_t>(caret) : (forward ? Document.Count() - 1 : 0);
    const size_t next = comparison_.NextProblem(from, forward);
    if (next == Unmatched) {
        SetStatusText(0, L"No entry has a problem.");
        return;
    }
    keyList_.DeselectAll();
    SelectAndShow(static_cast<int>(next));
    ShowCaretEntry();
}
