// Measures how long opening a full table (65,535 entries) takes in the main window, against
// loading it alone. Run by hand under Wine; it prints figures and asserts nothing:
//   scripts/wine-run.sh build-win32 build-win32/bin/strindle_open_timing.exe
#include "StrindleDlg.h"
#include "TblCompiler.h"
#include "TblLoader.h"
#include "WideText_win.h"
#include "resource.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

namespace {

class AnswerWithPath final : public UserPrompts {
public:
    explicit AnswerWithPath(std::wstring path) : path_(std::move(path)) {}
    int Message(HWND, const std::wstring& text, const std::wstring&, UINT) override {
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

}  // namespace

int main() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    LoadRichEditLibrary();

    std::filesystem::path path = std::filesystem::temp_directory_path() / "strindle-full.tbl";
    std::vector<std::u16string> keys, values;
    for (int i = 0; i < 65535; ++i) {
        keys.push_back(Utf16(L"key" + std::to_wstring(i)));
        values.push_back(Utf16(L"The value of entry number " + std::to_wstring(i)));
    }
    TblHeader header;
    if (!CompileTbl(Utf16(path.wstring()), keys, values, header, false, TblReport{}))
        return 1;

    const int runs = 5;
    for (int run = 0; run < runs; ++run) {
        double load = MillisecondsOf([&] {
            std::vector<std::u16string> k, v;
            TblHeader h;
            LoadTbl(Utf16(path.wstring()), k, v, h, true, TblReport{});
        });
        AnswerWithPath prompts(path.wstring());
        CStrindleDlg window(prompts);
        window.CreateModeless();
        double open = MillisecondsOf([&] { SendMessageW(window.Handle(), WM_COMMAND, ID_FILE_OPEN, 0); });
        // A second open of the same table also clears the 65,535 rows first.
        double reopen = MillisecondsOf([&] { SendMessageW(window.Handle(), WM_COMMAND, ID_FILE_OPEN, 0); });
        int rows = window.KeyList().Count();
        double reset = MillisecondsOf([&] { window.KeyList().ResetContent(); });
        double fill = MillisecondsOf([&] { window.KeyList().Fill(keys); });
        std::printf("run %d: LoadTbl %.1f ms, Open in the window %.1f ms, Open again %.1f ms, rows %d; "
                    "key list alone: fill %.1f ms, reset %.1f ms\n",
                    run + 1, load, open, reopen, rows, fill, reset);
    }
    std::filesystem::remove(path);
    return 0;
}
