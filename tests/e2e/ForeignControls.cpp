#include "ForeignControls.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// A buffer in the process that owns `window`, freed when it goes. Only for the messages of the
// common controls: Wine itself carries the data of the standard controls' messages (list box,
// edit, WM_GETTEXT) between processes, so those take a pointer of this process.
class ForeignBuffer {
public:
    ForeignBuffer(HWND window, size_t size) : size_(size) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (process_)
            address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~ForeignBuffer() {
        if (address_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    ForeignBuffer(const ForeignBuffer&) = delete;
    ForeignBuffer& operator=(const ForeignBuffer&) = delete;

    LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }
    bool Valid() const { return address_ != nullptr; }
    void Write(const void* data, size_t size) { WriteProcessMemory(process_, address_, data, size, nullptr); }
    void Read(void* data, size_t size) const {
        if (!address_ || !ReadProcessMemory(process_, address_, data, std::min(size, size_), nullptr))
            ZeroMemory(data, size);
    }

private:
    size_t size_;
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

std::wstring TextThroughBuffer(HWND window, UINT message, WPARAM wParam, size_t characters) {
    ForeignBuffer buffer(window, (characters + 1) * sizeof(wchar_t));
    if (!buffer.Valid())
        return {};
    SendMessageW(window, message, wParam, buffer.Address());
    std::wstring text(characters + 1, L'\0');
    buffer.Read(text.data(), (characters + 1) * sizeof(wchar_t));
    text.resize(wcsnlen(text.c_str(), characters));
    return text;
}

struct TopWindowSearch {
    DWORD ProcessId;
    std::vector<HWND> Windows;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TopWindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->ProcessId && IsWindowVisible(window))
        search->Windows.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM data) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (_wcsicmp(className, L"Static") == 0) {
        std::wstring text = TextOf(child);
        if (!text.empty())
            reinterpret_cast<std::vector<std::wstring>*>(data)->push_back(text);
    }
    return TRUE;
}

}  // namespace

std::wstring TextOf(HWND window) {
    LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

std::wstring StatusPartText(HWND statusBar, int part) {
    LRESULT length = SendMessageW(statusBar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0);
    return TextThroughBuffer(statusBar, SB_GETTEXTW, static_cast<WPARAM>(part), LOWORD(length));
}

int RowCountOf(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)); }

int CaretRowOf(HWND list) {
    if (RowCountOf(list) <= 0)
        return -1;
    return static_cast<int>(SendMessageW(list, LB_GETCARETINDEX, 0, 0));
}

int TopRowOf(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0)); }

std::vector<int> SelectedRowsOf(HWND list) {
    int count = static_cast<int>(SendMessageW(list, LB_GETSELCOUNT, 0, 0));
    if (count <= 0)
        return {};
    std::vector<int> rows(static_cast<size_t>(count));
    SendMessageW(list, LB_GETSELITEMS, rows.size(), reinterpret_cast<LPARAM>(rows.data()));
    return rows;
}

RECT RowRectOnScreen(HWND list, int row) {
    RECT rect{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    MapWindowPoints(list, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT ListViewRowRectOnScreen(HWND listView, int row) {
    RECT rect{LVIR_BOUNDS, 0, 0, 0};
    ForeignBuffer buffer(listView, sizeof rect);
    buffer.Write(&rect, sizeof rect);
    SendMessageW(listView, LVM_GETITEMRECT, static_cast<WPARAM>(row), buffer.Address());
    buffer.Read(&rect, sizeof rect);
    MapWindowPoints(listView, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT ToolbarButtonRectOnScreen(HWND toolbar, UINT command) {
    RECT rect{};
    ForeignBuffer buffer(toolbar, sizeof rect);
    SendMessageW(toolbar, TB_GETRECT, command, buffer.Address());
    buffer.Read(&rect, sizeof rect);
    MapWindowPoints(toolbar, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::pair<int, int> EditSelectionOf(HWND edit) {
    DWORD first = 0, last = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
    return {static_cast<int>(first), static_cast<int>(last)};
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{sizeof info};
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

std::vector<HWND> TopWindowsOf(DWORD processId) {
    TopWindowSearch search{processId, {}};
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.Windows;
}

HWND TopWindowCaptioned(DWORD processId, const std::wstring& caption) {
    for (HWND window : TopWindowsOf(processId))
        if (TextOf(window) == caption)
            return window;
    return nullptr;
}

bool MenuShownBy(DWORD processId) {
    for (HWND window : TopWindowsOf(processId)) {
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (wcscmp(className, L"#32768") == 0)
            return true;
    }
    return false;
}

std::vector<std::wstring> StaticTextsOf(HWND dialog) {
    std::vector<std::wstring> texts;
    EnumChildWindows(dialog, CollectStaticText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

POINT CentreOf(const RECT& rect) { return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

POINT CentreOnScreen(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return CentreOf(rect);
}
