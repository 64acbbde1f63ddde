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

}  // namespace

HRESULT ReadSelectedFiles(IDataObject* data, std::vector<std::string>& paths) {
    if (!data)
        return E_INVALIDARG;
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    if (FAILED(data->GetData(&format, &medium)))
        return E_INVALIDARG;
    HRESULT result = E_INVALIDARG;
    if (medium.tymed == TYMED_HGLOBAL) {
        if (const auto drop = static_cast<HDROP>(GlobalLock(medium.hGlobal))) {
            result = ReadDropList(drop, paths);
            GlobalUnlock(medium.hGlobal);
        }
    }
    ReleaseStgMedium(&medium);
    return result;
}
