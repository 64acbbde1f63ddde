#pragma once

#include "TblFormat.h"
#include "TblReport.h"

#include <string>
#include <vector>

// Reads the .tbl file at `path` into `keys` and `values` (which the caller has emptied) and its
// header into `header`. With `parseOnLoad`, colour codes become tokens. Failures are shown
// through `report` ("File Open Error: %d", "File Read Error: %d", or what is wrong with the
// file, caption "Error") and return false.
bool LoadTbl(const std::u16string& path, std::vector<std::u16string>& keys,
             std::vector<std::u16string>& values, TblHeader& header, bool parseOnLoad,
             const TblReport& report);
