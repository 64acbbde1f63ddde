#pragma once

#include "TabbedEncoding.h"
#include "TblDocument.h"

#include <string>
#include <vector>

// The tabbed text file of a table: a header line "String Index" TAB "Text", then one line per
// entry in index order, key TAB value, every line ending in CR LF (or, asked for, LF alone;
// the reader takes either). Line feeds in a value are
// written as backslash and "n"; nothing else is escaped or converted, so a key holding a TAB or
// a line feed breaks the layout. With OneBytePerCharacter each character U+0000 to U+00FF is
// the byte of the same number. With Utf8 (tbltool's own form) keys and values are UTF-8 with
// the escapes of TabbedEscapes.h instead, so that every entry comes back exactly.

// The file's bytes. Fails, naming the first entry that cannot be written, when a character
// has no form in one byte per character (above U+00FF).
Result EncodeTabbedText(const TblDocument& table, TabbedEncoding encoding, std::string& bytes,
                        TabbedLineEnds lineEnds = TabbedLineEnds::CrLf);

// Writes the file at `path`: nothing at all when the table cannot be encoded, and the file it
// replaces stays whole when the write fails ("File %s not opened" when it cannot be created).
Result WriteTabbedText(const std::u16string& path, const TblDocument& table,
                       TabbedEncoding encoding = TabbedEncoding::OneBytePerCharacter);
