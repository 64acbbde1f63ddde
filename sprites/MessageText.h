#pragma once

#include <string>

// A converter message without the question the batch window adds after a blank line ("Do you
// wish to receive further error notification?"): what a command line or a log reports.
inline std::string FirstParagraph(const std::string& text) {
    const size_t cut = text.find("\n\n");
    return cut == std::string::npos ? text : text.substr(0, cut);
}
