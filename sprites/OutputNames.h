#pragma once

#include <cstddef>
#include <string>

#ifdef _WIN32
constexpr char PathSeparator = '\\';
// Paths live in 260-character buffers, the terminating NUL included.
constexpr size_t MaxOutputPathLength = 259;
#else
constexpr char PathSeparator = '/';
constexpr size_t MaxOutputPathLength = 4095;
#endif

// The image files a conversion writes.
enum class ImageKind { Pcx, Png };

// Name of the folder the PCX files go into, inside the working folder; PNG files go into
// "PNGFiles".
constexpr char16_t OutputFolderName[] = u"PCXFiles";
constexpr char16_t PngOutputFolderName[] = u"PNGFiles";

// Cuts the name at its extension's full stop, in place: searching back from the end, a path
// separator met first, or a full stop only at the very first position, leaves it whole.
// "a.b.dc6" becomes "a.b".
void StripExtension(std::string& name);
void StripExtension(std::u16string& name);

// Output paths are UTF-16, as the file layer takes them, so that names in any script survive.
// "PCXFiles\base.pcx" (the sheet) or, with a frame number, "PCXFiles\base7.pcx", inside
// `folder` ("" for the working folder), with the platform's separator.
// With ImageKind::Png, "PNGFiles\base.png" and "PNGFiles\base7.png".
std::u16string SheetOutputPath(const std::u16string& folder, const std::u16string& baseName,
                               ImageKind kind = ImageKind::Pcx);
std::u16string FrameOutputPath(const std::u16string& folder, const std::u16string& baseName, int frame,
                               ImageKind kind = ImageKind::Pcx);

// The folder that holds the output files: "PCXFiles" (or "PNGFiles") inside `folder`.
std::u16string OutputFolderPath(const std::u16string& folder, ImageKind kind = ImageKind::Pcx);
