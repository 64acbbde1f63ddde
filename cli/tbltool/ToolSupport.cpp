#include "ToolSupport.h"

#include "Utf.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>

CommandOptions::CommandOptions(const char* help, size_t fileCount)
    : help_(help), fileCount_(fileCount), app_(std::make_unique<CLI::App>()) {
    app_->set_help_flag();  // the command's own help text is printed instead of CLI11's
    app_->add_flag("-h,--help", helpWanted_)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app_->add_option("files", files_)->expected(0, -1);
}

CommandOptions::~CommandOptions() = default;

CommandOptions& CommandOptions::Flag(const std::string& name, bool& given) {
    app_->add_flag(name, given)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    return *this;
}

CommandOptions& CommandOptions::Text(const std::string& name, std::optional<std::string>& value) {
    app_->add_option(name, value)->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    return *this;
}

CommandOptions& CommandOptions::Number(const std::string& name, std::optional<size_t>& value) {
    const CLI::Validator wholeNumber(
        [](const std::string& text) {
            const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
            return digits ? std::string() : "a whole number from 0 is expected, not " + text;
        },
        "N");
    app_->add_option(name, value)->multi_option_policy(CLI::MultiOptionPolicy::Throw)->check(wholeNumber);
    return *this;
}

int CommandOptions::Parse(const std::vector<std::string>& args) {
    std::string problem;
    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them last first
        app_->parse(reversed);
    } catch (const CLI::ParseError& e) {
        problem = e.what();
    }
    if (problem.empty() && helpWanted_) {
        std::fputs(help_, stdout);
        return ExitOk;
    }
    if (problem.empty() && files_.size() != fileCount_)
        problem = "expected " + std::to_string(fileCount_) + " file argument" + (fileCount_ == 1 ? "" : "s") +
                  ", got " + std::to_string(files_.size());
    if (problem.empty())
        return -1;
    PrintMessage(problem);
    std::fputs(help_, stderr);
    return ExitUsage;
}

void PrintMessage(const std::string& text) { std::fprintf(stderr, "tbltool: %s\n", text.c_str()); }

bool ReportResult(const std::string& file, const Result& result) {
    if (result)
        return true;
    const bool unreadable = result.Step == FileStep::Open || result.Step == FileStep::Read;
    PrintMessage(file + ": " + (unreadable ? Result::FileFailure(result.Step, result.Code).Message : result.Message));
    return false;
}

std::u16string PathFromArgument(const std::string& argument) { return Utf8ToUtf16(argument); }
