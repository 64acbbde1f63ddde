#pragma once

// Loading and saving tables for the commands, with messages that name the file on stderr.

#include "TblDocument.h"

#include <string>
#include <string_view>
#include <vector>

// Loads the file named `argument`; its messages name the file. A damaged table is refused,
// also one whose header's counts disagree with its text area start, which would otherwise
// load as a table of fewer entries, or none. With `rescue` (--rescue) a damaged table is taken
// as far as it can be read instead, as the window's rescue takes it (TblDocument::Rescue): an
// entry pointing outside the file is left empty, and stderr says why the table was refused
// and which entries could not be read. Without it, the refusal says what --rescue would take.
bool LoadTable(const std::string& argument, TblDocument& table, bool parseOnLoad, bool rescue);


// Writes the table into the .tbl file named `argument`, with its values in `form`: Game, as the
// editor's Save writes them (tokens become codes, the two characters \n a line feed, carriage
// returns go), or Exact, as they are, so that loading the file gives back exactly these keys
// and values. The file is replaced only once complete; `written`, when given, gets its header.
bool SaveTable(const std::string& argument, const TblDocument& table, TblValueForm form, TblHeader* written = nullptr);

// Writes `bytes` to the file named `argument`, or to standard output when it is "-" (in binary
// mode, so line ends stay as they are on Windows too).
bool WriteOutput(const std::string& argument, std::string_view bytes);
