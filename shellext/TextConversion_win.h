#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Text of code page `codePage` (CP_UTF8, CP_ACP) as UTF-16.
std::wstring ToWide(std::string_view text, UINT codePage);

std::string ToUtf8(std::wstring_view text);
