#pragma once

// What the in-process tests of the Windows programs share: scripted answers to the programs'
// questions and dialogs, and a message pump that waits for a condition with a deadline.

#include "UserPrompts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Answers a window's questions and dialogs from a script, and records what was asked.
class ScriptedPrompts final : public UserPrompts {
public:
    struct ShownMessage {
        std::wstring Text;
        std::wstring Caption;
        UINT Type;
        HWND Owner;
    };
    std::vector<ShownMessage> Messages;
    std::deque<int> MessageAnswers;  // for Yes/No questions; OK boxes need no answer
    std::vector<FileDialogRequest> FileRequests;
    std::deque<std::optional<std::wstring>> FileAnswers;  // a path, or nullopt for Cancel
    std::vector<std::wstring> FolderTitles;
    std::vector<std::wstring> FolderInitial;
    std::deque<std::optional<std::wstring>> FolderAnswers;
    // Called for each message as it is shown, while the window waits for the answer.
    std::function<void(const ShownMessage&)> WhileShown;

    int Message(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) override;
    bool ChooseFile(HWND owner, const FileDialogRequest& request, ChosenFile& chosen) override;
    bool ChooseFolder(HWND owner, const std::wstring& title, const std::wstring& initialFolder, UINT browseFlags,
                      std::wstring& folder) override;

    std::vector<std::wstring> Texts() const;
};

void PumpPending();
// Pumps messages until `condition` holds or `timeout` passes; returns the condition.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::seconds(10));

// How many pixels wide `text` is in the font of `control`.
int TextWidthIn(HWND control, const std::wstring& text);

// A visible top-level window of the process, or null.
HWND VisibleWindowOfProcess(DWORD processId);

// While it lives, Wine draws the windows of program `exeName` unmanaged, as the test programs'
// own: without a window manager (Xvfb has none) Wine waits about 2 s on each shown window of a
// managed program as it is destroyed, every message box included. Programs started by hand stay
// managed: the setting goes with the object.
class UnmanagedWindowsOf {
public:
    explicit UnmanagedWindowsOf(const std::wstring& exeName);
    ~UnmanagedWindowsOf();
    UnmanagedWindowsOf(const UnmanagedWindowsOf&) = delete;
    UnmanagedWindowsOf& operator=(const UnmanagedWindowsOf&) = delete;

private:
    std::wstring key_;
};
