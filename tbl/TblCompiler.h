#pragma once

#include "TblFormat.h"
#include "TblReport.h"

#include <string>
#include <vector>

// Compiles `keys` and `values` into a .tbl file at `path`. Values pass through ToGame in place
// and, with `parseOnLoad`, back through ToTokens after they are laid out. The file is written
// to a temporary file beside the target and replaces it only once complete; on any failure the
// old file is untouched, the reason is shown through `report` and the result is false.
bool CompileTbl(const std::u16string& path, const std::vector<std::u16string>& keys,
                std::vector<std::u16string>& values, TblHeader& header, bool parseOnLoad,
                const TblReport& report);
