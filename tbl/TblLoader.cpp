#include "TblLoader.h"

#include "FileIo.h"
#include "TblParser.h"

#include <new>

Result LoadTbl(const std::u16string& path, std::vector<std::u16string>& keys, std::vector<std::u16string>& values,
               TblHeader& header, bool parseOnLoad) {
    keys.clear();
    values.clear();
    try {
        std::vector<uint8_t> bytes;
        if (const Result read = ReadWholeFile(path, bytes); !read) {
            if (read.Step == FileStep::Open)
                return Result::Failure("File Open Error: " + std::to_string(read.Code), "Error");
            if (read.Step == FileStep::TooLarge)
                return Result::Failure("The file is too large to be a string table (more than 4 GiB).", "Error");
            return Result::Failure("File Read Error: " + std::to_string(read.Code), "Error");
        }
        std::string error;
        if (!ParseTbl(bytes, header, keys, values, parseOnLoad, error))
            return Result::Failure("The file is not a sound string table and was not loaded: " + error + ".", "Error");
        return Result::Success();
    } catch (const std::bad_alloc&) {
        keys.clear();
        values.clear();
        return Result::Failure("There is not enough memory to load the file.", "Error");
    }
}
