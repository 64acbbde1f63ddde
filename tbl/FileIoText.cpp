#include "FileIo.h"

std::string DescribeFileError(const FileError& error) {
    const char* what = "no error";
    switch (error.Step) {
    case FileStep::None:
        return what;
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
    return std::string(what) + " (error " + std::to_string(error.Code) + ")";
}
