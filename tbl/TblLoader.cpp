#include "TblLoader.h"

#include "FileIo.h"
#include "TblParser.h"

#include <new>

bool LoadTbl(const std::u16string& path, std::vector<std::u16string>& keys,
             std::vector<std::u16string>& values, TblHeader& header, bool parseOnLoad,
             const TblReport& report) {
    keys.clear();
    values.clear();
    try {
        std::vector<uint8_t> bytes;
        FileError fileError;
        if (!ReadWholeFile(path, bytes, fileError)) {
            if (fileError.Step == FileStep::Open)
                report.ShowMessage("File Open Error: " + std::to_string(fileError.Code), "Error");
            else if (fileError.Step == FileStep::TooLarge)
                report.ShowMessage("The file is too large to be a string table (more than 4 GiB).", "Error");
            else
                report.ShowMessage("File Read Error: " + std::to_string(fileError.Code), "Error");
            return false;
        }
        std::string error;
        if (!ParseTbl(bytes, header, keys, values, parseOnLoad, error)) {
            report.ShowMessage("The file is not a sound string table and was not loaded: " + error + ".",
                               "Error");
            return false;
        }
        return true;
    } catch (const std::bad_alloc&) {
        keys.clear();
        values.clear();
        report.ShowMessage("There is not enough memory to load the file.", "Error");
        return false;
    }
}
