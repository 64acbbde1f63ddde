#include "RecentFiles.h"

#include <algorithm>
#include <cwctype>

namespace {

bool SameFile(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towlower(static_cast<wint_t>(x)) == std::towlower(static_cast<wint_t>(y));
           });
}

}  // namespace

void RemoveRecentFile(std::vector<std::wstring>& list, const std::wstring& path) {
    std::erase_if(list, [&](const std::wstring& entry) { return SameFile(entry, path); });
}

void AddRecentFile(std::vector<std::wstring>& list, const std::wstring& path) {
    RemoveRecentFile(list, path);
    list.insert(list.begin(), path);
    if (list.size() > RecentFileLimit)
        list.resize(RecentFileLimit);
}

std::wstring RecentFileMenuText(size_t index, const std::wstring& path) {
    std::wstring text = L"&" + std::to_wstring(index + 1) + L" ";
    for (wchar_t c : path) {
        text += c;
        if (c == L'&')
            text += L'&';
    }
    return text;
}
