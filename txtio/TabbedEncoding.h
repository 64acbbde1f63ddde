#pragma once

#include "Result.h"

// The caption of the message box in which the editor's exchange dialogs show a failure.
inline constexpr const char* TxtIoErrorCaption = "File I/O error";

// How the lines of a tabbed text file end.
enum class TabbedLineEnds {
    CrLf,  // as the editor writes its files, for Windows programs
    Lf,    // as programs reading a pipe (git, diff, grep) expect: tbltool's standard output
};

// How the text file's characters are stored.
enum class TabbedEncoding {
    OneBytePerCharacter,  // ISO 8859-1, the layout the editor exchanges with spreadsheets
    Utf8,                 // tbltool's: UTF-8 without a byte-order mark, escaped (TabbedEscapes.h)
};
