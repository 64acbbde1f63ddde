#pragma once

// What the tests of Search, Repeat Search and Go To Index # share: a window over a table of
// their own, the dialogs answered, and what the user sees of a hit.

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <richedit.h>

#include <functional>
#include <string>
#include <vector>

class SearchWindowTest : public MainWindowTest {
protected:
    // Runs Search with `text` typed into its dialog, confirmed with OK.
    void Search(const std::wstring& text, bool caseSensitive = false);
    // Runs `action`, which must open no dialog; a dialog that comes up anyway fails the test
    // and is cancelled.
    void WithoutDialog(const std::function<void()>& action);
    // Repeat Search, expected to go on without its dialog.
    void RepeatSearch();

    // The characters marked in the value editor, as the editor gives them.
    std::wstring MarkedText() const;
    CHARRANGE MarkedRange() const;
    // How many "End of Search" boxes were shown so far (each checked for caption and icon).
    int EndOfSearchCount() const;
};
