#pragma once

#include "TblFormat.h"
#include "Result.h"

#include <functional>

#include <string>
#include <vector>

// An activity text for the status bar ("Compiling....", "Saving...."), UTF-8.
using TblProgress = std::function<void(const std::string& text)>;

// Compiles `keys` and `values` into a .tbl file at `path`, reporting "Compiling...." and then
// "Saving...." through `progress` (which may be empty). Values pass through ToGame and, with `parseOnLoad`, back through ToTokens after
// they are laid out; on success `values` hold that result (what loading the file gives back)
// and `header` the header written. The file is written to a temporary file beside the target
// and replaces it only once complete. On any failure (a table the format cannot hold, see
// BuildTbl, or a failed write) the old file, `values` and `header` are untouched and the result
// gives the reason, captioned "Save Error".
Result CompileTbl(const std::u16string& path, const std::vector<std::u16string>& keys,
                  std::vector<std::u16string>& values, TblHeader& header, bool parseOnLoad,
                  const TblProgress& progress = {});
