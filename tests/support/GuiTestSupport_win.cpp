#include "GuiTestSupport_win.h"

#include <filesystem>

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

}  // namespace

int ScriptedPrompts::Message(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
    Messages.push_back({text, caption, type, owner});
    if (WhileShown)
        WhileShown(Messages.back());
    if ((type & MB_TYPEMASK) == MB_OK)
        return IDOK;
    if (MessageAnswers.empty()) {
        ADD_FAILURE() << "unexpected question: " << Narrow(text);
        return IDNO;
    }
    int answer = MessageAnswers.front();
    MessageAnswers.pop_front();
    return answer;
}

bool ScriptedPrompts::ChooseFile(HWND, const FileDialogRequest& request, ChosenFile& chosen) {
    FileRequests.push_back(request);
    if (FileAnswers.empty()) {
        ADD_FAILURE() << "unexpected file dialog";
        return false;
    }
    std::optional<std::wstring> answer = FileAnswers.front();
    FileAnswers.pop_front();
    if (!answer)
        return false;
    chosen.Path = *answer;
    chosen.FileName = std::filesystem::path(*answer).filename().wstring();
    return true;
}

bool ScriptedPrompts::ChooseFolder(HWND, const std::wstring& title, const std::wstring& initialFolder, UINT,
                                   std::wstring& folder) {
    FolderTitles.push_back(title);
    FolderInitial.push_back(initialFolder);
    if (FolderAnswers.empty()) {
        ADD_FAILURE() << "unexpected folder dialog";
        return false;
    }
    std::optional<std::wstring> answer = FolderAnswers.front();
    FolderAnswers.pop_front();
    if (!answer)
        return false;
    folder = *answer;
    return true;
}

std::vector<std::wstring> ScriptedPrompts::Texts() const {
    std::vector<std::wstring> texts;
    for (const ShownMessage& message : Messages)
        texts.push_back(message.Text);
    return texts;
}

void PumpPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        PumpPending();
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

namespace {

struct WindowSearch {
    DWORD ProcessId;
    HWND Window;
};

// EnumWindows wants a stdcall function, which a lambda is not on 32-bit Windows.
BOOL CALLBACK TakeVisibleWindowOfProcess(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->ProcessId || !IsWindowVisible(window))
        return TRUE;
    search->Window = window;
    return FALSE;
}

}  // namespace

HWND VisibleWindowOfProcess(DWORD processId) {
    WindowSearch search{processId, nullptr};
    EnumWindows(TakeVisibleWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.Window;
}

UnmanagedWindowsOf::UnmanagedWindowsOf(const std::wstring& exeName)
    : key_(L"Software\\Wine\\AppDefaults\\" + exeName + L"\\X11 Driver") {
    RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), L"Managed", REG_SZ, L"N", 2 * sizeof(wchar_t));
}

UnmanagedWindowsOf::~UnmanagedWindowsOf() { RegDeleteKeyValueW(HKEY_CURRENT_USER, key_.c_str(), L"Managed"); }

int TextWidthIn(HWND control, const std::wstring& text) {
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return size.cx;
}
