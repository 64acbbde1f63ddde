#pragma once

#include <windows.h>
#include <objidl.h>

#include <string>
#include <vector>

// Reads the full paths of the files the shell hands over in `data` (its CF_HDROP list) as
// UTF-16, so that no character outside the ANSI code page is lost, in the shell's order,
// each whole whatever its length. E_INVALIDARG when the data object has
// no such list, it cannot be read, it is empty or a path cannot be read; `paths` is then
// left as it was.
HRESULT ReadSelectedFiles(IDataObject* data, std::vector<std::wstring>& paths);
