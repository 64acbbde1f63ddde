#pragma once

#include <string>
#include <vector>

// The question put when a damaged table is refused but some of its entries can be read: why it
// was refused, what could not be read (the first few problems and how many in all), and whether
// to open the entries that can be read as a new table.
std::wstring RescueQuestion(const std::wstring& refusal, const std::vector<std::string>& unreadable);
