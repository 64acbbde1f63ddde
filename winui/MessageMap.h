#pragma once

#include <windows.h>

#include <span>
#include <type_traits>

// A dialog's message map: tables of command identifier to handler and message to handler.

// Matches the notification codes of a menu item (0), an accelerator (1) and a button click (0).
constexpr UINT CommandCode = 0xFFFFFFFFu;

template <class Dialog>
struct CommandEntry {
    UINT Id;
    UINT Code;  // the notification code, or CommandCode
    void (Dialog::*Handler)();
};

// A message handler says whether it handled the message; results go through SetDlgMsgResult,
// or CDialog::SetProcedureResult for the messages whose result the procedure returns.
template <class Dialog>
struct MessageEntry {
    UINT Message;
    bool (Dialog::*Handler)(WPARAM wParam, LPARAM lParam);
};

template <class Dialog>
bool RouteCommandFrom(Dialog& dialog, std::type_identity_t<std::span<const CommandEntry<Dialog>>> map, UINT id, UINT code) {
    for (const auto& entry : map) {
        if (entry.Id != id)
            continue;
        bool codeMatches = entry.Code == CommandCode ? (code == 0 || code == 1) : entry.Code == code;
        if (codeMatches) {
            (dialog.*entry.Handler)();
            return true;
        }
    }
    return false;
}

template <class Dialog>
bool RouteMessageFrom(Dialog& dialog, std::type_identity_t<std::span<const MessageEntry<Dialog>>> map, UINT message,
                     WPARAM wParam, LPARAM lParam) {
    for (const auto& entry : map)
        if (entry.Message == message)
            return (dialog.*entry.Handler)(wParam, lParam);
    return false;
}
