#pragma once

#include <string>
#include <string_view>

// The escapes of tbltool's UTF-8 tabbed text, which make it hold every entry exactly (the
// one-byte layout the editor exchanges has none of them):
//   \\  a backslash           \t  a TAB                \n  a line feed
//   \r  a carriage return     \e  an empty key (a row's key field is never empty)
// A backslash followed by anything else, or ending the field, stands for itself. The
// characters involved are ASCII, so this works on UTF-8 bytes, valid or not.

inline constexpr std::string_view EmptyKeyEscape = "\\e";

// Appends `field` with backslash, TAB, line feed and carriage return escaped.
void AppendEscaped(std::string_view field, std::string& out);

// The field's text with every escape undone.
std::string Unescaped(std::string_view field);
