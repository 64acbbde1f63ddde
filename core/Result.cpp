#include "Result.h"

Result Result::FileFailure(FileStep step, int code) {
    const char* what = "no error";
    switch (step) {
    case FileStep::None:
        break;
    case FileStep::Open:
        what = "could not open the file";
        break;
    case FileStep::Read:
        what = "could not read the file";
        break;
    case FileStep::TooLarge:
        what = "the file is too large";
        break;
    case FileStep::Create:
        what = "could not create a temporary file beside the target";
        break;
    case FileStep::Write:
        what = "could not write the file";
        break;
    case FileStep::Replace:
        what = "could not replace the target with the new file";
        break;
    }
    Result result = Failure(std::string(what) + ": " + SystemErrorText(code));
    result.Step = step;
    result.Code = code;
    return result;
}
