#pragma once

// Real key presses, mouse clicks and file drops for the end-to-end tests.
//
// The tests are GoogleTest cases in a Windows program that runs in the same Wine prefix as the
// strindle.exe it starts; the input itself comes from xdotool on the Linux side, through the X
// server's XTEST extension. That split was chosen because it is the most dependable one:
// - Reading what the user sees (title, status bar, list selection, focus, open dialogs) is
//   plain Win32 from a process of the same Wine server, so waiting for a condition polls cheaply
//   and exactly; a Linux-side driver would have to start a Wine helper for every look.
// - Input from xdotool takes the user's path: X server, Wine's X11 driver, the focus and
//   activation rules, the dialog manager and the controls. SendInput from a Windows driver
//   would skip the X11 driver and the X focus, the very layers a user's keys pass through.
// - Each xdotool run is started through Wine's start of Unix programs (CreateProcess of a Unix
//   executable) as one shell script that ends by writing a marker file with xdotool's exit
//   status. The call returns only once the marker is there, so calls never overlap, keep their
//   order, and a failing xdotool fails the test instead of going unnoticed.
// The X focus on a display without a window manager follows the pointer, so every key press is
// sent with the pointer first put inside the window that is to receive it.

#include <windows.h>

#include <filesystem>
#include <string>

class RealInput {
public:
    // Empty when real input can be given here; otherwise why not (not Wine, no xdotool).
    static std::string Unavailable();

    RealInput() = default;
    ~RealInput();
    RealInput(const RealInput&) = delete;
    RealInput& operator=(const RealInput&) = delete;

    // Key names as xdotool takes them, separated by spaces: "Down", "ctrl+s", "shift+Tab".
    // The pointer is put at `pointerInside` (screen coordinates) first.
    void Keys(const std::string& keys, POINT pointerInside);
    // Types the characters of `text` (ASCII) into the window under `pointerInside`.
    void Type(const std::string& text, POINT pointerInside);
    // Clicks mouse `button` (1 left, 3 right) `count` times at `screen`.
    void Click(POINT screen, int button = 1, int count = 1);
    // Presses the left button at `from`, moves the mouse to `to` in steps and lets go there.
    void Drag(POINT from, POINT to);
    // Drops `file` on the window at `screen` as a file manager does, through X's drag-and-drop
    // protocol (XdndDrop.py beside this file), which Wine's X11 driver hands to the window as
    // the shell's dropped-file list (WM_DROPFILES).
    void DropFile(const std::filesystem::path& file, POINT screen);

private:
    // Runs `xdotool` with these arguments (already quoted for the shell) and waits for its end.
    void Run(const std::string& arguments) { RunUnix("xdotool " + arguments); }
    // Runs a Unix shell command and waits for its end; it must end with status 0.
    void RunUnix(const std::string& command);
    std::filesystem::path Scratch();

    std::filesystem::path scratch_;
    int runs_ = 0;
};

// A shell word holding `text` exactly.
std::string ShellQuoted(const std::string& text);
