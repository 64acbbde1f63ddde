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
constexpr char OutputFolderName[] = "PCXFiles";
constexpr char PngOutputFolderName[] = "PNGFiles";

// Cuts the name at its extension's full stop, in place: searching back from the end, a path
// separator met first, or a full stop only at the very first position, leaves it whole.
// "a.b.dc6" becomes "a.b".
void StripExtension(std::string& name);

// "PCXFiles\base.pcx" (the sheet) or, with a frame number, "PCXFiles\base7.pcx", inside
// `folder` ("" for the working folder), with the platform's separator.
// With ImageKind::Png, "PNGFiles\base.png" and "PNGFiles\base7.png".
std::string SheetOutputPath(const std::string& folder, const std::string& baseName, ImageKind kind = ImageKind::Pcx);
std::string FrameOutputPath(const std::string& folder, const std::string& baseName, int frame,
                            ImageKind kind = ImageKind::Pcx);

// The folder that holds the output files: "PCXFiles" (or "PNGFiles") inside `folder`.
std::string OutputFolderPath(const std::string& folder, ImageKind kind = ImageKind::Pcx);
