#pragma once

#include <functional>
#include <string>

// The two message hooks the converter reports through. The batch window shows NotifyError
// texts as a Yes/No question that the user can switch off, ShowNotice texts always; the
// command-line tool prints both. Either may be empty: its messages are then dropped.
struct Dc6Hooks {
    std::function<void(const std::string&)> NotifyError;
    std::function<void(const std::string&)> ShowNotice;

    void Error(const std::string& text) const {
        if (NotifyError)
            NotifyError(text);
    }
    void Notice(const std::string& text) const {
        if (ShowNotice)
            ShowNotice(text);
    }
};
