#pragma once

#include <string>
#include <vector>

// The File menu's list of recently opened tables, most recent first.
constexpr size_t RecentFileLimit = 4;

// Puts `path` first. An entry naming the same file goes (Windows compares names without
// regard to case), and the list keeps at most RecentFileLimit entries.
void AddRecentFile(std::vector<std::wstring>& list, const std::wstring& path);
void RemoveRecentFile(std::vector<std::wstring>& list, const std::wstring& path);

// The menu text of entry `index`: its number as the mnemonic, then the path with each
// ampersand doubled so that it shows as itself.
std::wstring RecentFileMenuText(size_t index, const std::wstring& path);
