#pragma once

#include <string>

// Strindle's texts are UTF-16 everywhere; on Windows wchar_t is the same 16-bit unit.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }
inline std::u16string Utf16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }
inline const wchar_t* WideChars(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

std::wstring WideFromUtf8(const std::string& text);

// printf-style formatting into a wide string (use %ls for wide string arguments).
std::wstring FormatText(const wchar_t* format, ...);

// The full path of a path relative to the current folder; the path itself when it has none.
std::wstring FullPathOf(const std::wstring& path);

// The drive and folder of a path, with the trailing separator.
std::wstring FolderOfPath(const std::wstring& path);
