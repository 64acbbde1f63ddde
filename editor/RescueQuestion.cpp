#include "RescueQuestion.h"

#include "WideText_win.h"

#include <algorithm>

namespace {

// A message box shows this many problems; the count says how many there are in all.
constexpr size_t ProblemsShown = 5;

}  // namespace

std::wstring RescueQuestion(const std::wstring& refusal, const std::vector<std::string>& unreadable) {
    if (unreadable.empty())
        return refusal + L"\n\nEvery entry can still be read. Open them? They open as a new table, \"Untitled\".";
    const size_t shown = std::min(unreadable.size(), ProblemsShown);
    std::wstring text = refusal + L"\n\n" + std::to_wstring(unreadable.size()) +
                        (unreadable.size() == 1 ? L" entry" : L" entries") + L" could not be read" +
                        (shown < unreadable.size() ? L", the first " + std::to_wstring(shown) + L" of them:" : L":");
    for (size_t i = 0; i < shown; ++i)
        text += L"\n" + WideFromUtf8(unreadable[i]);
    return text + L"\n\nOpen the entries that can be read? They open as a new table, \"Untitled\", with the "
                  L"entries that could not be read left empty.";
}
