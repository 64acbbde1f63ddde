#pragma once

// Loading and saving tables for the commands, with messages that name the file on stderr.

#include "TblDocument.h"

#include <string>
#include <string_view>
#include <vector>

// Loads the file named `argument`; its messages name the file.
bool LoadTable(const std::string& argument, TblDocument& table, bool parseOnLoad);

// Writes the entries into a .tbl file as they are: no colour code, "\n" or carriage return is
// converted, so that loading the file gives back exactly these keys and values. The file is
// replaced only once complete.
bool SaveTableExactly(const std::string& argument, const TblDocument& table);

// Writes `bytes` to the file named `argument`, or to standard output when it is "-" (in binary
// mode, so line ends stay as they are on Windows too).
bool WriteOutput(const std::string& argument, std::string_view bytes);
