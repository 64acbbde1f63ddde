#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

// The arguments after the program name (UTF-8). The Windows builds expand wildcard patterns
// ("*.dc6", "a?.dc6") themselves, as Windows shells pass them through: a pattern becomes the
// names of the files it matches, sorted, and stays as it is when it matches none.
std::vector<std::string> ExpandedArguments(const std::vector<std::string>& args);

#ifdef _WIN32
// The files a UTF-8 pattern matches, sorted, with the pattern's folder before each name; empty when
// it matches none. Elsewhere the shell has expanded patterns already.
std::vector<std::string> FilesMatching(const std::string& pattern);
#endif

// "files done/all" on one line that each report overwrites, shown only when the stream is a
// terminal (standard error on a console): redirected output gets nothing extra.
class ProgressLine {
public:
    explicit ProgressLine(std::ostream& out);
    void Show(size_t done, size_t total);
    void Clear();  // removes the line before other output

private:
    std::ostream& out_;
    bool terminal_;
    bool shown_ = false;
};
