#pragma once

#include "Utf.h"

#include <windows.h>

#include <string>

// The converter keeps file names and paths as UTF-16 (the file layer's std::u16string), so
// that names outside the system's code page (a Chinese or Korean mod folder) survive, and its
// messages as UTF-8. Win32's wide calls take the same 16-bit units as wchar_t.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline const wchar_t* WideChars(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline std::u16string Utf16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }
inline std::wstring WideFromUtf8(const std::string& text) {
    const std::u16string wide = Utf8ToUtf16(text);
    return std::wstring(wide.begin(), wide.end());
}
