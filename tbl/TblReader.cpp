#include "TblReader.h"

#include "ColourCodes.h"
#include "TblLayout.h"
#include "Utf.h"

std::u16string KeyFromBytes(std::string_view bytes) {
    std::u16string key(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        key[i] = static_cast<unsigned char>(bytes[i]);
    return key;
}

std::u16string ValueFromBytes(std::string_view bytes, bool parseOnLoad) {
    std::u16string value = Utf8ToUtf16(bytes);
    if (parseOnLoad)
        ConvertColourCodesInPlace(value, ToTokens);
    return value;
}

namespace {

// Where entry `i` lies; false with `error` when it points outside the file.
bool FindEntry(std::span<const uint8_t> bytes, const TblLayout& layout, size_t i, TblTextSpans& spans,
               std::string& error) {
    const uint32_t slot = layout.Index[i];
    const std::string entry = "entry " + std::to_string(i) + ": ";
    if (slot >= layout.Nodes.size()) {
        error = entry + "its node number " + std::to_string(slot) + " is not below the hash table size " +
                std::to_string(layout.Nodes.size());
        return false;
    }
    const TblHashNode& node = layout.Nodes[slot];
    if (node.Used == 0)
        return true;
    std::string_view key, value;
    std::string why;
    if (!ReadTblString(bytes, layout.End, node.KeyOffset, key, why)) {
        error = entry + "the key offset " + why;
        return false;
    }
    if (!ReadTblString(bytes, layout.End, node.ValueOffset, value, why)) {
        error = entry + "the value offset " + why;
        return false;
    }
    spans = {node.KeyOffset, static_cast<uint32_t>(key.size()), node.ValueOffset, static_cast<uint32_t>(value.size())};
    return true;
}

}  // namespace

bool ReadTblEntries(std::span<const uint8_t> bytes, TblHeader& header, std::vector<TblTextSpans>& entries,
                    std::string& error, std::vector<std::string>* unreadable) {
    entries.clear();
    TblLayout layout;
    const bool laidOut = ReadTblLayout(bytes, layout, error);
    ReadTblHeader(bytes, header);
    if (!laidOut)
        return false;
    std::vector<TblTextSpans> found(layout.Index.size());
    for (size_t i = 0; i < found.size(); ++i) {
        if (FindEntry(bytes, layout, i, found[i], error))
            continue;
        if (!unreadable)
            return false;
        unreadable->push_back(std::move(error));
        found[i] = {};
    }
    error.clear();
    entries = std::move(found);
    return true;
}
