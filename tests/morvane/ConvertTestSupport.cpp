#include "ConvertTestSupport.h"

#include "Utf.h"

#include <commctrl.h>

#include <algorithm>
#include <fstream>

Dc6TestFile SolidDc6(int frames, bool withOffsets) {
    Dc6TestFile file;
    for (int i = 0; i < frames; ++i) {
        Dc6TestFrame frame;
        frame.width = 3;
        frame.height = 2;
        frame.offsetX = withOffsets ? i + 1 : 0;
        frame.coded = SolidFrameCode(3, 2, static_cast<uint8_t>(0x20 + i));
        file.frames.push_back(frame);
    }
    return file;
}

void WriteDc6(const std::filesystem::path& path, const Dc6TestFile& file) { WriteBytes(path, file.Bytes()); }

Dc6TestFile Dc6WithZeroByte() {
    Dc6TestFile file;
    file.frames.push_back({2, 1, 0, 0, {0x00, 0x01, 0x44, 0x80}});
    return file;
}

std::wstring ZeroByteNotice(const std::wstring& name) { return name + L":\nFrame 0: 1 zero code byte(s) were skipped."; }

int CopyRealDc6Files(const std::filesystem::path& folder, const std::vector<std::string>& names) {
    int copied = 0;
    for (const auto& entry : std::filesystem::directory_iterator(RealDataDir() / "dc6")) {
        const std::string name = entry.path().filename().string();
        std::string extension = entry.path().extension().string();
        for (char& c : extension)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        if (!entry.is_regular_file() || extension != ".dc6")
            continue;
        if (!names.empty() && std::find(names.begin(), names.end(), name) == names.end())
            continue;
        std::filesystem::copy_file(entry.path(), folder / name);
        ++copied;
    }
    return copied;
}

void ConvertWindowTest::SetUp() {
    static const bool controlsReady = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    ASSERT_TRUE(controlsReady);
    previousFolder_ = std::filesystem::current_path();
    std::filesystem::current_path(scratch_.Path());
}

void ConvertWindowTest::OpenWindow() {
    dialog_ = std::make_unique<CConvertDlg>(prompts_, helpPath_);
    ASSERT_TRUE(dialog_->CreateModeless());
    PumpPending();
}

void ConvertWindowTest::TearDown() {
    dialog_.reset();
    PumpPending();
    // The scratch folder can only go once it is no longer the current one.
    std::filesystem::current_path(previousFolder_);
    EXPECT_TRUE(prompts_.MessageAnswers.empty()) << "a scripted answer was not asked for";
    EXPECT_TRUE(prompts_.FileAnswers.empty()) << "a scripted file was not asked for";
    EXPECT_TRUE(prompts_.FolderAnswers.empty()) << "a scripted folder was not asked for";
}

void ConvertWindowTest::Click(int id) {
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(Window(), id)));
}

void ConvertWindowTest::ClickRows(const std::vector<int>& rows) {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    SendMessageW(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED;
    for (int row : rows)
        SendMessageW(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    NMITEMACTIVATE click{};
    click.hdr.hwndFrom = List();
    click.hdr.idFrom = 1000;
    click.hdr.code = NM_CLICK;
    click.iItem = rows.empty() ? -1 : rows.back();
    SendMessageW(Window(), WM_NOTIFY, 1000, reinterpret_cast<LPARAM>(&click));
}

std::vector<std::string> ConvertWindowTest::Column(int column) const {
    std::vector<std::string> texts;
    int rows = static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        wchar_t text[MAX_PATH] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        SendMessageW(List(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        texts.push_back(Utf16ToUtf8(reinterpret_cast<const char16_t*>(text)));
    }
    return texts;
}

std::wstring ConvertWindowTest::Title() const {
    wchar_t text[256] = {};
    GetWindowTextW(Window(), text, 256);
    return text;
}
