#pragma once

#include <string>

// A converter message on one line: its line feeds (the window's message boxes show them as
// paragraph breaks) each become a single space, trailing ones are dropped.
inline std::string MessageLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c != '\n')
            line += c;
        else if (!line.empty() && line.back() != ' ')
            line += ' ';
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}
