#include "OutputNames.h"

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

}  // namespace

void StripExtension(std::string& name) {
    for (size_t i = name.size(); i-- > 1;) {
        if (IsSeparator(name[i]))
            return;
        if (name[i] == '.') {
            name.resize(i);
            return;
        }
    }
}

std::string OutputFolderPath(const std::string& folder) {
    std::string path = folder;
    if (!path.empty() && !IsSeparator(path.back()))
        path += PathSeparator;
    return path + OutputFolderName;
}

std::string SheetOutputPath(const std::string& folder, const std::string& baseName) {
    return OutputFolderPath(folder) + PathSeparator + baseName + ".pcx";
}

std::string FrameOutputPath(const std::string& folder, const std::string& baseName, int frame) {
    return OutputFolderPath(folder) + PathSeparator + baseName + std::to_string(frame) + ".pcx";
}
