#include "CommandLine.h"

#ifdef _WIN32
#include <io.h>
#define StderrIsTerminal() (_isatty(_fileno(stderr)) != 0)
#else
#include <unistd.h>
#define StderrIsTerminal() (isatty(STDERR_FILENO) != 0)
#endif

#include <cstdio>

ProgressLine::ProgressLine(std::ostream& out) : out_(out), terminal_(StderrIsTerminal()) {}

void ProgressLine::Show(size_t done, size_t total) {
    if (!terminal_)
        return;
    out_ << "\r" << done << "/" << total << " files" << std::flush;
    shown_ = true;
}

void ProgressLine::Clear() {
    if (!shown_)
        return;
    out_ << "\r                              \r" << std::flush;
    shown_ = false;
}

std::vector<std::string> ExpandedArguments(const std::vector<std::string>& given) {
    std::vector<std::string> args;
    for (const std::string& arg : given) {
#ifdef _WIN32
        if (arg.find_first_of("*?") != std::string::npos) {
            const std::vector<std::string> matches = FilesMatching(arg);
            if (!matches.empty()) {
                args.insert(args.end(), matches.begin(), matches.end());
                continue;
            }
        }
#endif
        args.push_back(arg);
    }
    return args;
}
