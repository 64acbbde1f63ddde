#pragma once

#include <string>
#include <utility>

// Which step of a file operation failed; None for a failure that is not about a file.
enum class FileStep {
    None,
    Open,     // the file could not be opened
    Read,     // reading failed or the file ended early
    TooLarge, // the file is larger than the caller accepts
    Create,   // the new file could not be created
    Write,    // writing or flushing the new file failed
    Replace,  // the finished file could not take the target's place
};

// What an operation of the core says back: success, or a message for the user (UTF-8) with
// the caption of the message box that shows it. A file failure also says which step failed
// and the system's error number (GetLastError on Windows, errno elsewhere). Nothing in the
// core shows a message itself; the editor puts it in a message box, the tools print it.
struct Result {
    bool Ok = true;
    std::string Message;  // empty on success
    std::string Caption;  // empty when the caller chooses its own
    FileStep Step = FileStep::None;
    int Code = 0;

    explicit operator bool() const { return Ok; }

    static Result Success() { return {}; }
    static Result Failure(std::string message, std::string caption = {}) {
        return {false, std::move(message), std::move(caption)};
    }
    // "could not open the file: No such file or directory", with the step and the error
    // number kept.
    static Result FileFailure(FileStep step, int code);
    // This failure in a caller's own words: the step and the error number stay, so that
    // another caller can still say it its own way.
    Result Reworded(std::string message, std::string caption = {}) const {
        Result result = Failure(std::move(message), std::move(caption));
        result.Step = Step;
        result.Code = Code;
        return result;
    }
};

// The system's own words for an error number (FormatMessage on Windows, strerror elsewhere),
// without a closing full stop; "error N" where the system has none.
std::string SystemErrorText(int code);
