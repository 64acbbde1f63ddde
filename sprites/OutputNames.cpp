#include "OutputNames.h"

namespace {

template <typename Char>
bool IsSeparator(Char c) {
    return c == '\\' || c == '/';
}

template <typename Text>
void CutExtension(Text& name) {
    for (size_t i = name.size(); i-- > 1;) {
        if (IsSeparator(name[i]))
            return;
        if (name[i] == '.') {
            name.resize(i);
            return;
        }
    }
}

const char16_t* Extension(ImageKind kind) {
    return kind == ImageKind::Png ? u".png" : u".pcx";
}

constexpr char16_t Separator = PathSeparator;

std::u16string Decimal(int number) {
    const std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

void StripExtension(std::string& name) { CutExtension(name); }

void StripExtension(std::u16string& name) { CutExtension(name); }

std::u16string OutputFolderPath(const std::u16string& folder, ImageKind kind) {
    std::u16string path = folder;
    if (!path.empty() && !IsSeparator(path.back()))
        path += Separator;
    return path + (kind == ImageKind::Png ? PngOutputFolderName : OutputFolderName);
}

std::u16string SheetOutputPath(const std::u16string& folder, const std::u16string& baseName, ImageKind kind) {
    return OutputFolderPath(folder, kind) + Separator + baseName + Extension(kind);
}

std::u16string FrameOutputPath(const std::u16string& folder, const std::u16string& baseName, int frame,
                               ImageKind kind) {
    return OutputFolderPath(folder, kind) + Separator + baseName + Decimal(frame) + Extension(kind);
}
