#pragma once

#include <string>
#include <utility>

// What a tabbed-text operation says back. The editor's exchange dialogs show a failure's
// Message in a message box captioned TxtIoErrorCaption; tbltool prints it.
struct TxtIoResult {
    bool Ok = true;
    std::string Message;  // UTF-8; empty on success

    explicit operator bool() const { return Ok; }

    static TxtIoResult Success() { return {}; }
    static TxtIoResult Failure(std::string message) { return {false, std::move(message)}; }
};

inline constexpr const char* TxtIoErrorCaption = "File I/O error";

// How the text file's characters are stored.
enum class TabbedEncoding {
    OneBytePerCharacter,  // ISO 8859-1, the layout the editor exchanges with spreadsheets
    Utf8,                 // tbltool's: UTF-8 without a byte-order mark, escaped (TabbedEscapes.h)
};
