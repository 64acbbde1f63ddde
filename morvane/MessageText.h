#pragma once

#include <cstddef>
#include <string>

// A message box is as wide as the longest run of its text without a space, since it breaks
// lines only at spaces: a long path makes it wider than the screen. Every such run longer than
// `maxRun` characters keeps its start and end, joined by "...", and so fits. Lines and spaces
// stay as they are.
std::wstring ShortenLongRuns(const std::wstring& text, size_t maxRun = 64);
