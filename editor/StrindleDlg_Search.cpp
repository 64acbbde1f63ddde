// Search, Repeat Search, Find and Replace and Go To Index # of the main window.
#include "StrindleDlg.h"

#include "SearchDialogs.h"
#include "TextMatch.h"
#include "WideText_win.h"

#include <richedit.h>

namespace {

// The rich edit holds each line break of a text it is given ("\r\n", "\r\r\n", a lone "\r" or
// "\n") as one character, so positions in a value shift by the line breaks before them.
LONG EditorPosition(std::u16string_view value, size_t position) {
    LONG editorPosition = 0;
    for (size_t i = 0; i < position && i < value.size(); ++editorPosition) {
        if (value.substr(i, 2) == u"\r\n")
            i += 2;
        else if (value.substr(i, 3) == u"\r\r\n")
            i += 3;
        else
            ++i;
    }
    return editorPosition;
}

}  // namespace

void CStrindleDlg::ResetSearchState() {
    SearchText.clear();
    IgnoreCase = false;
    SearchRow = KeyHitPos = ValueHitPos = -1;
}

void CStrindleDlg::StartSearchOver() {
    KeyHitPos = ValueHitPos = -1;
    SearchRow = 0;
}

void CStrindleDlg::OnSearch() {
    if (keyList_.Count() == 0)
        return;
    StartSearchOver();  // a cancelled dialog leaves no hit to repeat
    CSearch dialog(Handle());
    if (dialog.DoModal() == IDOK)
        RunSearch(Utf16(dialog.Text), dialog.CaseSensitive);
}

void CStrindleDlg::RunSearch(const std::u16string& text, bool caseSensitive) {
    StartSearchOver();
    DeselectAll();
    IgnoreCase = !caseSensitive;
    SearchText = IgnoreCase ? AsciiLowerCase(text) : text;
    ScanFromSearchRow(false);
}

// The last hit was in the value of SearchRow (ValueHitPos) or in its key (KeyHitPos): the
// next hits are the later ones in that value, then those of the following rows.
void CStrindleDlg::OnRepeatSearch() {
    if (keyList_.Count() == 0)
        return;
    if (KeyHitPos == -1 && ValueHitPos == -1) {
        OnSearch();
        return;
    }
    if (FindNextInSearchRowValue()) {
        ShowSearchHit(true);
        return;
    }
    ++SearchRow;
    ScanFromSearchRow(true);
}

bool CStrindleDlg::FindNextInSearchRowValue() {
    // The empty text stands only at the start of each text, and its row was reached by the key.
    bool inTable = SearchRow >= 0 && static_cast<size_t>(SearchRow) < Document.Count();
    if (!inTable || SearchText.empty()) {
        ValueHitPos = -1;
        return false;
    }
    size_t from = ValueHitPos == -1 ? 0 : static_cast<size_t>(ValueHitPos) + SearchText.size();
    ValueHitPos = FindSearchText(Document.Value(static_cast<size_t>(SearchRow)), SearchText, IgnoreCase, from);
    return ValueHitPos != -1;
}

// Tests the rows from SearchRow on, each key before its value, and shows the first hit.
void CStrindleDlg::ScanFromSearchRow(bool deselectOnHit) {
    for (; SearchRow >= 0 && static_cast<size_t>(SearchRow) < Document.Count(); ++SearchRow) {
        size_t row = static_cast<size_t>(SearchRow);
        KeyHitPos = FindSearchText(Document.Key(row), SearchText, IgnoreCase);
        if (KeyHitPos != -1) {
            ValueHitPos = -1;
            ShowSearchHit(deselectOnHit);
            return;
        }
        ValueHitPos = FindSearchText(Document.Value(row), SearchText, IgnoreCase);
        if (ValueHitPos != -1) {
            ShowSearchHit(deselectOnHit);
            return;
        }
    }
    KeyHitPos = ValueHitPos = -1;
    prompts_.Message(Handle(), L"End of Search", L"Search", MB_OK | MB_ICONINFORMATION);
}

// Selects the row of the hit and shows its entry; a hit in the value is marked in the editor.
// The editor shows its selection without the focus, which stays where the user had it, so that
// the next key press does not type over the marked characters.
void CStrindleDlg::ShowSearchHit(bool deselectFirst) {
    if (deselectFirst)
        DeselectAll();
    keyList_.Select(SearchRow, true);
    keyList_.SetCaret(SearchRow);
    ShowCaretEntry();
    if (ValueHitPos != -1)
        MarkInEditor(static_cast<size_t>(SearchRow), static_cast<size_t>(ValueHitPos), SearchText.size());
}

void CStrindleDlg::MarkInEditor(size_t row, size_t position, size_t length) {
    const std::u16string value = Document.Value(row);
    CHARRANGE range{EditorPosition(value, position), EditorPosition(value, position + length)};
    SendMessageW(valueEditor_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    SendMessageW(valueEditor_, EM_SCROLLCARET, 0, 0);
}

void CStrindleDlg::OnFindAndReplace() {
    if (!replaceDialog_)
        replaceDialog_ = std::make_unique<CReplaceDialog>(Handle());
    replaceHit_.reset();
    replaceDialog_->Open();
}

// The hit shown (or the place just past it) while the caret stays on its entry; otherwise the
// start of the caret entry.
TblTextPlace CStrindleDlg::ReplaceSearchStart(bool pastHit) const {
    const int caret = keyList_.Caret();
    const size_t row = caret < 0 ? 0 : static_cast<size_t>(caret);
    if (replaceHit_ && replaceHit_->Place.Index == row)
        return {row, replaceHit_->Place.Position + (pastHit ? replaceHit_->Length : 0)};
    return {row, 0};
}

void CStrindleDlg::FindNextToReplace(const TblReplacer& replacer, TblTextPlace from) {
    const TblReplaceQuery& query = replacer.Query();
    TblMatch match;
    if (!replacer.FindNext(Document, from, match)) {
        replaceHit_.reset();
        prompts_.Message(replaceDialog_->Handle(), L"Cannot find \"" + Wide(query.Find) + L"\"", L"Find and Replace",
                         MB_OK | MB_ICONINFORMATION);
        return;
    }
    replaceHit_ = match;
    DeselectAll();
    SelectAndShow(static_cast<int>(match.Place.Index));
    ShowCaretEntry();
    if (!query.InKeys)
        MarkInEditor(match.Place.Index, match.Place.Position, match.Length);
}

void CStrindleDlg::OnReplaceFindNext() {
    if (!replaceDialog_)
        return;
    const TblReplacer replacer(replaceDialog_->Query());
    FindNextToReplace(replacer, ReplaceSearchStart(true));
}

// Replaces the match shown and shows the next one. With none shown, or when the shown one no
// longer matches, it only finds the next, as Find Next does.
void CStrindleDlg::OnReplaceOne() {
    if (!replaceDialog_)
        return;
    const TblReplacer replacer(replaceDialog_->Query());
    const TblTextPlace shown = ReplaceSearchStart(false);
    if (!replaceHit_ || replaceHit_->Place != shown || !replacer.MatchesAt(Document, shown)) {
        FindNextToReplace(replacer, shown);
        return;
    }
    const std::string refusal = replacer.ReplaceAt(Document, shown);
    if (!refusal.empty()) {
        RefuseReplacement(refusal);
        return;
    }
    keyList_.RedrawRow(static_cast<int>(shown.Index));
    MarkNotSaved();
    ShowCaretEntry();
    FindNextToReplace(replacer, {shown.Index, shown.Position + replacer.Query().Replacement.size()});
}

void CStrindleDlg::OnReplaceAll() {
    if (!replaceDialog_)
        return;
    const int caret = keyList_.Caret();
    const TblReplaceAllResult result =
        TblReplacer(replaceDialog_->Query()).ReplaceAll(Document, caret < 0 ? 0 : static_cast<size_t>(caret));
    if (!result.Refusal.empty()) {
        RefuseReplacement(result.Refusal);
        return;
    }
    replaceHit_.reset();
    SetStatusText(0, WideFromUtf8(result.Summary()));
    if (result.Entries == 0)
        return;
    InvalidateRect(keyList_.Handle(), nullptr, FALSE);  // replaced keys are drawn anew
    MarkNotSaved();
    ShowCaretEntry();
}

void CStrindleDlg::RefuseReplacement(const std::string& refusal) {
    prompts_.Message(replaceDialog_->Handle(), WideFromUtf8(refusal), L"Find and Replace", MB_OK | MB_ICONEXCLAMATION);
}

void CStrindleDlg::OnGoToIndex() {
    CGoIndex dialog(prompts_, Handle());
    if (dialog.DoModal() != IDOK)
        return;
    int row = static_cast<int>(dialog.Index);
    if (row < keyList_.Count()) {
        keyList_.Select(row, true);
        keyList_.SetCaret(row);
        SetStatusText(0, L"Ready.");
    } else {
        SetStatusText(0, FormatText(L"No entry %d: the table has %d", row, keyList_.Count()));
    }
    ShowCaretEntry();
}
