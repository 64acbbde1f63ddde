#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Where Tessaly keeps the full path of its program, under HKEY_CURRENT_USER.
inline constexpr wchar_t kTessalyKey[] = L"Software\\Zuq\\SheetProg";
inline constexpr wchar_t kTessalyPathValue[] = L"Path";

// Starts Tessaly once on all `files`, each path between double quotes and followed by one
// blank, in their order. E_INVALIDARG when Tessaly's key is missing; E_FAIL when its "Path"
// value is missing, not a string, empty or longer than a path may be; nothing is started
// then. A "Path" of type REG_EXPAND_SZ, as installers write it, has its environment
// variables expanded. Whether Tessaly did start is not checked, and no message is ever shown.
HRESULT StartTessaly(HWND owner, const std::vector<std::wstring>& files);
