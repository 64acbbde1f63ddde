#pragma once

#include <functional>
#include <string>

// How the core speaks to the user: the editor shows message boxes and status-bar texts, the
// command-line tool prints. Texts are UTF-8. Either hook may be empty.
struct TblReport {
    // A message box: text ("File Open Error: 2") and caption ("Error"), OK button.
    std::function<void(const std::string& text, const std::string& caption)> Message;
    // An activity text for status part 0 ("Compiling....", "Saving....").
    std::function<void(const std::string& text)> Progress;

    void ShowMessage(const std::string& text, const std::string& caption) const {
        if (Message)
            Message(text, caption);
    }
    void ShowProgress(const std::string& text) const {
        if (Progress)
            Progress(text);
    }
};
