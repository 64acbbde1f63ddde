#include "EntryClipboard.h"

#include "EntryPayload.h"
#include "ListBoxEx.h"

#include <cstring>

namespace {

// Open for the scope of the object; Opened() says whether it could be.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : opened_(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (opened_)
            CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool Opened() const { return opened_; }

private:
    bool opened_;
};

}  // namespace

bool PutPayloadOnClipboard(HWND owner, std::u16string_view payload) {
    OpenedClipboard clipboard(owner);
    if (!clipboard.Opened())
        return false;
    EmptyClipboard();
    const size_t bytes = (payload.size() + 1) * sizeof(char16_t);
    HGLOBAL block = GlobalAlloc(GMEM_DDESHARE | GMEM_MOVEABLE, bytes);
    if (!block)
        return false;
    auto* text = static_cast<char16_t*>(GlobalLock(block));
    if (!text) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(text, payload.data(), payload.size() * sizeof(char16_t));
    text[payload.size()] = u'\0';
    GlobalUnlock(block);
    // Once set, the block belongs to the clipboard.
    if (!SetClipboardData(TblClipboardFormat(), block)) {
        GlobalFree(block);
        return false;
    }
    return true;
}

ClipboardRead TakePayloadFromClipboard(HWND owner, std::u16string& payload) {
    payload.clear();
    OpenedClipboard clipboard(owner);
    if (!clipboard.Opened())
        return ClipboardRead::Busy;
    HANDLE block = GetClipboardData(TblClipboardFormat());
    if (!block)
        return ClipboardRead::NoEntries;
    const auto* text = static_cast<const char16_t*>(GlobalLock(block));
    if (!text)
        return ClipboardRead::NoEntries;
    payload = PayloadInBlock(text, GlobalSize(block));
    GlobalUnlock(block);
    return ClipboardRead::Read;
}
