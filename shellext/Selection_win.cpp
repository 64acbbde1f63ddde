#include "Selection_win.h"

#include <shellapi.h>

namespace {

HRESULT ReadDropList(HDROP drop, std::vector<std::string>& paths) {
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    if (count == 0)
        return E_INVALIDARG;
    std::vector<std::string> read;
    read.reserve(count);
    for (UINT i = 0; i < count; ++i) {
        // Asking for the length first keeps long paths whole.
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        if (length == 0)
            return E_INVALIDARG;
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        const UINT copied = DragQueryFileA(drop, i, buffer.data(), static_cast<UINT>(buffer.size()));
        if (copied != length)
            return E_INVALIDARG;
        read.emplace_back(buffer.data(), copied);
    }
    paths.insert(paths.end(), read.begin(), read.end());
    return S_OK;
}

// The storage medium of a GetData call, released when its owner goes, also when reading it
// throws.
class StorageMedium {
public:
    StorageMedium() = default;
    ~StorageMedium() { ReleaseStgMedium(&medium_); }
    StorageMedium(const StorageMedium&) = delete;
    StorageMedium& operator=(const StorageMedium&) = delete;

    STGMEDIUM* get() { return &medium_; }

private:
    STGMEDIUM medium_ = {};
};

// Global memory locked while its owner lives.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL memory) : memory_(memory), data_(GlobalLock(memory)) {}
    ~GlobalLockGuard() {
        if (data_)
            GlobalUnlock(memory_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

    void* data() const { return data_; }

private:
    HGLOBAL memory_;
    void* data_;
};

}  // namespace

HRESULT ReadSelectedFiles(IDataObject* data, std::vector<std::string>& paths) {
    if (!data)
        return E_INVALIDARG;
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    StorageMedium medium;
    if (FAILED(data->GetData(&format, medium.get())) || medium.get()->tymed != TYMED_HGLOBAL)
        return E_INVALIDARG;
    const GlobalLockGuard locked(medium.get()->hGlobal);
    if (!locked.data())
        return E_INVALIDARG;
    return ReadDropList(static_cast<HDROP>(locked.data()), paths);
}
