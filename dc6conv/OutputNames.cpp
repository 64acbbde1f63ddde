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

namespace {

const char* Extension(ImageKind kind) {
    return kind == ImageKind::Png ? ".png" : ".pcx";
}

}  // namespace

std::string OutputFolderPath(const std::string& folder, ImageKind kind) {
    std::string path = folder;
    if (!path.empty() && !IsSeparator(path.back()))
        path += PathSeparator;
    return path + (kind == ImageKind::Png ? PngOutputFolderName : OutputFolderName);
}

std::string SheetOutputPath(const std::string& folder, const std::string& baseName, ImageKind kind) {
    return OutputFolderPath(folder, kind) + PathSeparator + baseName + Extension(kind);
}

std::string FrameOutputPath(const std::string& folder, const std::string& baseName, int frame, ImageKind kind) {
    return OutputFolderPath(folder, kind) + PathSeparator + baseName + std::to_string(frame) + Extension(kind);
}
