#pragma once

#include "TblFormat.h"
#include "Result.h"

#include <string>
#include <vector>

// Reads the .tbl file at `path` into `keys` and `values` (which the caller has emptied) and its
// header into `header`. With `parseOnLoad`, colour codes become tokens. A failure says
// "File Open Error: %d", "File Read Error: %d", or what is wrong with the file, with the
// caption "Error".
Result LoadTbl(const std::u16string& path, std::vector<std::u16string>& keys, std::vector<std::u16string>& values,
               TblHeader& header, bool parseOnLoad);
