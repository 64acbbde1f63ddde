// The key editing commands of the main window: Add Key, Delete Key, Edit Key String, the
// moves, Copy, Cut and Paste through the clipboard, Select All and the colour tokens.
#include "StrindleDlg.h"

#include "ColourCodes.h"
#include "EntryClipboard.h"
#include "EntryPayload.h"
#include "KeyDialogs.h"
#include "TblFormat.h"
#include "WideText_win.h"

#include <algorithm>
#include <numeric>

void CStrindleDlg::MarkNotSaved() {
    SetStatusText(1, L"Not Saved");
    Document.MarkModified();
}

void CStrindleDlg::SelectAndShow(int row) {
    keyList_.Select(row, true);
    keyList_.SetCaret(row);
}

void CStrindleDlg::OnAddKey() {
    CAddStringDlg dialog(Handle());
    if (dialog.DoModal() != IDOK)
        return;
    std::u16string name = Utf16(dialog.Name);
    // The caret row, or the end should the caret stand past the entries.
    const int caret = keyList_.Caret();
    const size_t row = dialog.Place == CAddStringDlg::InsertAtRow
                           ? (caret < 0 ? 0 : std::min(static_cast<size_t>(caret), Document.Count()))
                           : Document.Count();
    // An empty name to append adds nothing (and marks the table modified all the same).
    if (dialog.Place == CAddStringDlg::InsertAtRow || !name.empty()) {
        TblDocument::Step step(Document, "Add Key", row);
        if (!AddEntryAt(row, std::move(name)))
            return;
    }
    MarkNotSaved();
    ShowCaretEntry();
}

bool CStrindleDlg::AddEntryAt(size_t row, std::u16string name) {
    if (!Document.Insert(row, std::move(name), u"")) {
        prompts_.Message(Handle(),
                         FormatText(L"The table holds %u entries, the most a table can hold. No key was added.",
                                    static_cast<unsigned>(Document.Count())),
                         L"Add Index String", MB_OK | MB_ICONINFORMATION);
        return false;
    }
    keyList_.InsertRow(static_cast<int>(row));
    DeselectAll();
    SelectAndShow(static_cast<int>(row));
    return true;
}

namespace {

// "Delete 2 entries (WarrivGossip1, Brute)?": rows selected by Go To or Ctrl+click may lie out
// of sight, so the question says how many entries go and names the first few.
std::wstring DeleteQuestion(const TblDocument& document, const std::vector<size_t>& rows) {
    constexpr size_t KeysNamed = 3;
    constexpr size_t KeyLengthShown = 40;
    std::wstring keys;
    for (size_t i = 0; i < rows.size() && i < KeysNamed; ++i) {
        std::wstring key = Wide(document.Key(rows[i]));
        if (key.size() > KeyLengthShown)
            key = key.substr(0, KeyLengthShown - 1) + L"\u2026";
        keys += (i > 0 ? L", " : L"") + (key.empty() ? L"\"\"" : key);
    }
    if (rows.size() > KeysNamed)
        keys += L", \u2026";
    return FormatText(L"Delete %u %ls (%ls)?", static_cast<unsigned>(rows.size()),
                      rows.size() == 1 ? L"entry" : L"entries", keys.c_str());
}

}  // namespace

void CStrindleDlg::OnDeleteKey() {
    const bool ask = ConfirmDelete;
    ConfirmDelete = true;  // on again, whatever this delete does
    if (keyList_.Caret() < 0)
        return;
    std::vector<size_t> removed;
    for (int row : keyList_.SelectedRows())
        if (row >= 0 && static_cast<size_t>(row) < Document.Count())
            removed.push_back(static_cast<size_t>(row));
    if (removed.empty())
        return;
    if (ask && prompts_.Message(Handle(), DeleteQuestion(Document, removed), L"Confirmation",
                                MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return;
    // One compacting pass and one refill: row by row costs milliseconds a row in a full list.
    // The refill scrolls to the top; the rows the user was looking at come back.
    const int topRow = keyList_.TopRow();
    {
        TblDocument::Step step(Document, "Delete Key", removed.front());
        Document.RemoveMany(removed);
    }
    keyList_.Fill(Document.Count());
    keyList_.SetTopRow(std::min(topRow, keyList_.Count() - 1));
    // The row at the lowest removed position now holds the first entry that stood after it.
    const int lowest = static_cast<int>(removed.front());
    if (lowest < keyList_.Count())
        SelectAndShow(lowest);
    else if (keyList_.Count() > 0)
        keyList_.SetCaret(keyList_.Count() - 1);
    MarkNotSaved();
    ShowCaretEntry();
}

void CStrindleDlg::OnEditKeyString() {
    int row = keyList_.Caret();
    if (row < 0 || static_cast<size_t>(row) >= Document.Count())
        return;
    CKeyEdit dialog(Wide(Document.Key(static_cast<size_t>(row))), Handle());
    if (dialog.DoModal() != IDOK)
        return;
    {
        TblDocument::Step step(Document, "Rename Key", static_cast<size_t>(row));
        Document.SetKey(static_cast<size_t>(row), Utf16(dialog.Key));
    }
    keyList_.RedrawRow(row);
    SelectAndShow(row);
    Document.MarkModified();
    ShowCaretEntry();
}

void CStrindleDlg::OnMoveUp() { MoveCaretEntry(-1); }

void CStrindleDlg::OnMoveDown() { MoveCaretEntry(+1); }

void CStrindleDlg::MoveCaretEntry(int step) {
    const int row = keyList_.Caret();
    const int target = row + step;
    const int rows = static_cast<int>(std::min(static_cast<size_t>(keyList_.Count()), Document.Count()));
    if (row < 0 || row >= rows || target < 0 || target >= rows)
        return;
    {
        TblDocument::Step step(Document, "Move Key", static_cast<size_t>(target));
        Document.Move(static_cast<size_t>(row), static_cast<size_t>(target));
    }
    keyList_.DeleteRow(row);
    keyList_.InsertRow(target);
    SelectAndShow(target);
    Document.MarkModified();
    ShowCaretEntry();
}

bool CStrindleDlg::CopySelected() {
    return PutPayloadOnClipboard(Handle(), EntryPayload(Document, keyList_.SelectedRows()));
}

void CStrindleDlg::OnCopySelected() { CopySelected(); }

void CStrindleDlg::OnCutSelected() {
    // Only what the clipboard holds is deleted, and without asking.
    if (!CopySelected())
        return;
    ConfirmDelete = false;
    const std::vector<int> rows = keyList_.SelectedRows();
    TblDocument::Step step(Document, "Cut", rows.empty() ? 0 : static_cast<size_t>(rows.front()));
    OnDeleteKey();
}

// The entries are prepared first and then committed by steps that cannot fail, so that running
// out of memory anywhere leaves the table and the key list as they were.
void CStrindleDlg::OnPasteInto() {
    std::u16string payload;
    if (TakePayloadFromClipboard(Handle(), payload) == ClipboardRead::Busy)
        return;
    std::vector<TblEntry> entries = EntriesOfPayload(payload);
    const size_t count = entries.size();
    if (count > TblMaxEntries - Document.Count()) {
        prompts_.Message(Handle(),
                         FormatText(L"The clipboard's %u entries and the table's %u entries are more than the "
                                    L"65535 a table holds. Nothing was pasted.",
                                    static_cast<unsigned>(count), static_cast<unsigned>(Document.Count())),
                         L"Paste Into", MB_OK | MB_ICONINFORMATION);
        return;
    }
    std::vector<size_t> pastedRows(count);
    std::iota(pastedRows.begin(), pastedRows.end(), Document.Count());
    const bool wasModified = Document.Modified;
    const bool wasShown = Document.ModifiedShown;
    {
        TblDocument::Step step(Document, "Paste", Document.Count());
        Document.InsertMany(Document.Count(), std::move(entries));
    }
    try {
        // The pasted rows come selected, scrolled into view.
        keyList_.Fill(Document.Count());
        if (count > 0) {
            const int first = static_cast<int>(pastedRows.front());
            keyList_.SelectRange(first, static_cast<int>(pastedRows.back()));
            keyList_.SetCaret(first);
            keyList_.SetTopRow(first);
        }
        Document.MarkModified();
        ShowCaretEntry();  // puts up the star and "Not Saved"
    } catch (...) {
        // The entries go again, and the command boundary says what failed.
        size_t focus = 0;
        Document.Undo(focus);
        Document.Modified = wasModified;
        Document.ModifiedShown = wasShown;
        if (!wasShown)
            SetWindowTextW(Handle(), WideChars(Document.Title()));
        throw;
    }
}

void CStrindleDlg::OnSelectAll() { keyList_.SelectAll(); }

void CStrindleDlg::InsertColourToken(size_t row) {
    if (row >= ColourRowCount)
        return;
    if (Document.Count() > 0) {
        // The editor's change notification stores the new value, as a step of its own.
        std::u16string token(ColourCodeTable[row].Token);
        Document.EndTyping();
        typedStepName_ = "Color";
        SendMessageW(valueEditor_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(WideChars(token)));
        typedStepName_ = "Typing";
        Document.EndTyping();
    }
    MarkNotSaved();
    Repaint();
}
