#pragma once

#include "ComObject.h"

#include <propsys.h>
#include <thumbcache.h>

#include <cstdint>
#include <string>
#include <vector>

// The thumbnail handler of DC6 and DCC sprites: the shell hands it the file as a stream and
// asks for a picture of at most cx x cx pixels; it gives the first frame in the game's act 1
// palette, transparent where the sprite is, or no picture (a failure) for a file it can not
// read.
class SpriteThumbnail final : public ComObject<SpriteThumbnail, IInitializeWithStream, IThumbnailProvider> {
public:
    static HRESULT Create(REFIID iid, void** out);

    // IInitializeWithStream: reads the whole file; a handler is initialised once.
    STDMETHODIMP Initialize(IStream* stream, DWORD mode) override;

    // IThumbnailProvider
    STDMETHODIMP GetThumbnail(UINT cx, HBITMAP* bitmap, WTS_ALPHATYPE* alpha) override;

private:
    using Base = ComObject<SpriteThumbnail, IInitializeWithStream, IThumbnailProvider>;
    friend Base;

    SpriteThumbnail() = default;
    ~SpriteThumbnail() override = default;

    HRESULT ReadStream(IStream* stream);

    static const InterfaceEntry<SpriteThumbnail> kInterfaces[];

    bool initialized_ = false;
    std::vector<uint8_t> file_;
    std::string fileName_;  // UTF-8, as the stream names it; it tells the format
};
