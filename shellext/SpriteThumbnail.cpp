#include "SpriteThumbnail.h"

#include "ComBoundary.h"
#include "FramePictures.h"
#include "SpriteFile.h"
#include "TextConversion_win.h"
#include "Win32Error_win.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace {

// mingw-w64's uuid library holds IID_IInitializeWithStream but not IThumbnailProvider's
// identifier; its header declares the interface with it, which __uuidof reads.
const IID& kIidThumbnailProvider = __uuidof(IThumbnailProvider);

constexpr ULONG kReadPiece = 64 * 1024;

// A 32-bit top-down DIB section holding `picture`'s pixels, or null.
HBITMAP DibSectionOf(const BgraImage& picture) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap)
        std::memcpy(bits, picture.pixels.data(), picture.pixels.size());
    return bitmap;
}

}  // namespace

const InterfaceEntry<SpriteThumbnail> SpriteThumbnail::kInterfaces[] = {
    {&IID_IInitializeWithStream, CastTo<IInitializeWithStream, SpriteThumbnail>},
    {&kIidThumbnailProvider, CastTo<IThumbnailProvider, SpriteThumbnail>},
    {nullptr, nullptr},
};

HRESULT SpriteThumbnail::Create(REFIID iid, void** out) {
    SpriteThumbnail* object = new (std::nothrow) SpriteThumbnail;
    if (!object)
        return E_OUTOFMEMORY;
    const HRESULT result = object->QueryInterface(iid, out);
    object->Release();
    return result;
}

STDMETHODIMP SpriteThumbnail::Initialize(IStream* stream, DWORD) {
    if (!stream)
        return E_INVALIDARG;
    if (initialized_)
        return HRESULT_FROM_WIN32(ERROR_ALREADY_INITIALIZED);
    return AtComBoundary([&] { return ReadStream(stream); });
}

// The whole file, up to the largest one a sprite is shown of: a larger one is refused before
// more of it is read.
HRESULT SpriteThumbnail::ReadStream(IStream* stream) {
    std::vector<uint8_t> file;
    for (;;) {
        if (file.size() > MaxSpriteFileBytes)
            return HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
        const size_t had = file.size();
        file.resize(had + kReadPiece);
        ULONG read = 0;
        const HRESULT result = stream->Read(file.data() + had, kReadPiece, &read);
        if (FAILED(result))
            return result;
        file.resize(had + std::min(read, kReadPiece));
        if (result == S_FALSE || read == 0)
            break;
    }
    // The shell's streams of files name the file; its extension tells the format.
    STATSTG status{};
    if (SUCCEEDED(stream->Stat(&status, STATFLAG_DEFAULT)) && status.pwcsName) {
        fileName_ = ToUtf8(status.pwcsName);
        CoTaskMemFree(status.pwcsName);
    }
    file_ = std::move(file);
    initialized_ = true;
    return S_OK;
}

STDMETHODIMP SpriteThumbnail::GetThumbnail(UINT cx, HBITMAP* bitmap, WTS_ALPHATYPE* alpha) {
    if (!bitmap || !alpha)
        return E_POINTER;
    *bitmap = nullptr;
    *alpha = WTSAT_UNKNOWN;
    if (!initialized_)
        return E_UNEXPECTED;
    return AtComBoundary([&] {
        DecodedSprite sprite;
        std::string problem;
        BgraImage picture;
        const int32_t side = static_cast<int32_t>(std::min<UINT>(cx, INT32_MAX));
        if (!DecodeSpriteFile(file_, fileName_, SpriteFrames::First, sprite, problem) ||
            !ThumbnailOfFrame(sprite.frames.front(), BuiltInPalette(), side, picture))
            return HRESULT_FROM_WIN32(ERROR_BAD_FORMAT);
        *bitmap = DibSectionOf(picture);
        if (!*bitmap)
            return LastErrorResult();
        *alpha = WTSAT_ARGB;
        return S_OK;
    });
}
