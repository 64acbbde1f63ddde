#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// The clipboard side of copied entries (the text itself: EntryPayload.h).

enum class ClipboardRead {
    Busy,       // the clipboard could not be opened
    NoEntries,  // opened, but it holds no "TBL_FORMAT" data
    Read,
};

// Empties the clipboard and puts `payload` on it as its only format; false when the clipboard
// could not be opened or would not take the data.
bool PutPayloadOnClipboard(HWND owner, std::u16string_view payload);
ClipboardRead TakePayloadFromClipboard(HWND owner, std::u16string& payload);
