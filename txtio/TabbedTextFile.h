#pragma once

#include "FileIo.h"
#include "TabbedEncoding.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The file layer of the tabbed-text exchange, with its messages: "File %s not opened" when
// the file cannot be opened (or, for writing, created or put in place), a message of its own
// when a read or write fails after that; the failure keeps the file layer's step and error
// number (Result::Reworded). Reading hands the file over piece by piece, so that a
// reader can stop early (FileIo.h). Writing replaces the target only once the new file is
// complete, so a failed export leaves the old file whole.
Result ReadTabbedFileInPieces(const std::u16string& path, const FilePieceTaker& take);
Result WriteTabbedFile(const std::u16string& path, std::string_view bytes);

// "File %s not opened" with the path.
std::string FileNotOpenedMessage(const std::u16string& path);
