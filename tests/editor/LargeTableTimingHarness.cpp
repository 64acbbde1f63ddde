// Measures the main window on a full table (65,535 entries) under Wine: opening it against
// loading it alone, and the commands that touch or scan many rows at once. Run by hand; it prints
// figures and asserts nothing:
//   scripts/wine-run.sh build-win32 build-win32/bin/strindle_timing.exe   (or the same in build-win64)
#include "StrindleDlg.h"
#include "TblDocument.h"
#include "WideText_win.h"
#include "resource.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>

namespace {

constexpr int FullTable = 65535;
constexpr int ManyRows = 30000;

// Opens the one table for every file dialog and says Yes to every question.
class AnswerWithPath final : public UserPrompts {
public:
    explicit AnswerWithPath(std::wstring path) : path_(std::move(path)) {}
    int Message(HWND, const std::wstring& text, const std::wstring&, UINT type) override {
        if ((type & MB_TYPEMASK) != MB_YESNO)
            std::fwprintf(stderr, L"message: %ls\n", text.c_str());
        return IDYES;
    }
    bool ChooseFile(HWND, const FileDialogRequest&, ChosenFile& chosen) override {
        chosen.Path = path_;
        chosen.FileName = L"full.tbl";
        return true;
    }
    bool ChooseFolder(HWND, const std::wstring&, const std::wstring&, UINT, std::wstring&) override { return false; }

private:
    std::wstring path_;
};

double MillisecondsOf(const std::function<void()>& run) {
    auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void SendCommand(HWND window, UINT id) { SendMessageW(window, WM_COMMAND, id, 0); }

void SelectRange(CListBoxEx& list, int first, int last) {
    SendMessageW(list.Handle(), LB_SETSEL, FALSE, -1);
    SendMessageW(list.Handle(), LB_SELITEMRANGEEX, static_cast<WPARAM>(first), last);
    list.SetCaret(first);
}

// Opening, and the list alone: filled and emptied.
void MeasureOpen(int run, const std::filesystem::path& path) {
    double load = MillisecondsOf([&] {
        TblDocument table;
        table.Load(Utf16(path.wstring()), true);
    });
    AnswerWithPath prompts(path.wstring());
    CStrindleDlg window(prompts);
    window.CreateModeless();
    double open = MillisecondsOf([&] { SendCommand(window.Handle(), ID_FILE_OPEN); });
    // A second open of the same table also clears the 65,535 rows first.
    double reopen = MillisecondsOf([&] { SendCommand(window.Handle(), ID_FILE_OPEN); });
    int rows = window.KeyList().Count();
    double reset = MillisecondsOf([&] { window.KeyList().ResetContent(); });
    double fill = MillisecondsOf([&] { window.KeyList().Fill(FullTable); });
    std::printf("run %d: LoadTbl %.1f ms, Open in the window %.1f ms, Open again %.1f ms, rows %d; "
                "key list alone: fill %.1f ms, reset %.1f ms\n",
                run, load, open, reopen, rows, fill, reset);
}

// Select All, Delete of 30,000 selected rows, Copy and Paste of 30,000 entries, one-row Delete.
void MeasureEditing(int run, const std::filesystem::path& path) {
    AnswerWithPath prompts(path.wstring());
    CStrindleDlg window(prompts);
    window.CreateModeless();
    SendCommand(window.Handle(), ID_FILE_OPEN);
    CListBoxEx& list = window.KeyList();
    HWND handle = window.Handle();

    double selectAll = MillisecondsOf([&] { SendCommand(handle, ID_EDIT_SELECTALL); });
    int selected = static_cast<int>(list.SelectedRows().size());
    double deselectAll = MillisecondsOf([&] { window.DeselectAll(); });

    // Every second row of the first 60,000: 30,000 rows apart from one another.
    for (int row = 0; row < 2 * ManyRows; row += 2)
        list.Select(row, true);
    double deleteScattered = MillisecondsOf([&] { SendCommand(handle, ID_EDIT_DELETEKEY); });
    int afterDelete = list.Count();

    SelectRange(list, 0, ManyRows - 1);
    double copy = MillisecondsOf([&] { SendCommand(handle, ID_LIST_COPY); });
    double paste = MillisecondsOf([&] { SendCommand(handle, ID_LIST_PASTE); });
    int afterPaste = list.Count();

    SelectRange(list, 1000, 1000 + ManyRows - 1);
    double deleteRange = MillisecondsOf([&] { SendCommand(handle, ID_EDIT_DELETEKEY); });
    SendCommand(handle, ID_FILE_OPEN);
    SelectRange(list, 100, 100);
    double deleteOne = MillisecondsOf([&] { SendCommand(handle, ID_EDIT_DELETEKEY); });

    std::printf("run %d: Select All %.1f ms (%d selected), DeselectAll %.1f ms; Delete of %d scattered rows "
                "%.1f ms (%d left); Copy of %d %.1f ms, Paste %.1f ms (%d rows); Delete of %d rows in one range "
                "%.1f ms; Delete of 1 row of %d %.1f ms\n",
                run, selectAll, selected, deselectAll, ManyRows, deleteScattered, afterDelete, ManyRows, copy,
                paste, afterPaste, ManyRows, deleteRange, FullTable, deleteOne);
}

// Searches that scan every row: one to "End of Search" (case ignored, then case-sensitive),
// one that hits the value of the last row, and Repeat Search from there to the end.
void MeasureSearch(int run, const std::filesystem::path& path) {
    AnswerWithPath prompts(path.wstring());
    CStrindleDlg window(prompts);
    window.CreateModeless();
    SendCommand(window.Handle(), ID_FILE_OPEN);
    double missIgnoringCase = MillisecondsOf([&] { window.RunSearch(u"No Such Text", false); });
    double missCaseSensitive = MillisecondsOf([&] { window.RunSearch(u"No Such Text", true); });
    double lastRow = MillisecondsOf([&] { window.RunSearch(u"entry number 65534", false); });
    int hitRow = window.KeyList().Caret();
    double repeatToEnd = MillisecondsOf([&] { SendCommand(window.Handle(), ID_EDIT_REPEATSEARCH); });
    std::printf("run %d: Search to End of Search %.1f ms (case ignored), %.1f ms (case-sensitive); "
                "hit in the last row %.1f ms (row %d); Repeat Search to End of Search %.1f ms\n",
                run, missIgnoringCase, missCaseSensitive, lastRow, hitRow, repeatToEnd);
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    LoadRichEditLibrary();

    std::filesystem::path path = std::filesystem::temp_directory_path() / "strindle-full.tbl";
    std::vector<TblEntry> entries;
    for (int i = 0; i < FullTable; ++i) {
        entries.push_back({Utf16(L"key" + std::to_wstring(i)), Utf16(L"The value of entry number " + std::to_wstring(i))});
    }
    TblDocument table;
    if (!table.InsertMany(0, std::move(entries)) || !table.Compile(Utf16(path.wstring()), false))
        return 1;

    const int runs = 3;
    for (int run = 1; run <= runs; ++run)
        MeasureOpen(run, path);
    for (int run = 1; run <= runs; ++run)
        MeasureEditing(run, path);
    for (int run = 1; run <= runs; ++run)
        MeasureSearch(run, path);
    std::filesystem::remove(path);
    return 0;
}
