#include "Selection_win.h"

#include <shellapi.h>

#include <iterator>

namespace {

HRESULT ReadDropList(HDROP drop, std::vector<std::wstring>& paths) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    if (count == 0)
        return E_INVALIDARG;
    std::vector<std::wstring> read;
    read.reserve(count);
    for (UINT i = 0; i < count; ++i) {
        // Asking for the length first keeps long paths whole.
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0)
            return E_INVALIDARG;
        std::wstring path(length, L'\0');
        const UINT copied = DragQueryFileW(drop, i, path.data(), length + 1);
        if (copied != length)
            return E_INVALIDARG;
        read.push_back(std::move(path));
    }
    paths.insert(paths.end(), std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
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

HRESULT ReadSelectedFiles(IDataObject* data, std::vector<std::wstring>& paths) {
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
