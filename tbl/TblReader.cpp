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
    const uint32_t slot = TblNodeNumber(bytes, i);
    auto entry = [i] { return "entry " + std::to_string(i) + ": "; };
    if (slot >= layout.Header.HashTableSize) {
        error = entry() + "its node number " + std::to_string(slot) + " is not below the hash table size " +
                std::to_string(layout.Header.HashTableSize);
        return false;
    }
    const TblHashNode node = TblNodeAt(bytes, layout, slot);
    if (node.Used == 0)
        return true;
    std::string_view key, value;
    std::string why;
    if (!ReadTblString(bytes, layout.End, node.KeyOffset, key, why)) {
        error = entry() + "the key offset " + why;
        return false;
    }
    spans = {node.KeyOffset, static_cast<uint32_t>(key.size()), node.ValueOffset, 0};
    // Where the node's value length puts the terminating zero, and a zero is there, the value
    // ends there or before: it is not scanned until it is decoded.
    const uint64_t zero = uint64_t{node.ValueOffset} + node.ValueLength - 1;  // no wrap where size_t is 32 bits
    if (node.ValueLength > 0 && zero < layout.End && bytes[static_cast<size_t>(zero)] == 0) {
        spans.ValueLength = node.ValueLength - 1u;
        return true;
    }
    if (!ReadTblString(bytes, layout.End, node.ValueOffset, value, why)) {
        error = entry() + "the value offset " + why;
        return false;
    }
    spans.ValueLength = static_cast<uint32_t>(value.size());
    return true;
}

}  // namespace

bool ReadTblEntries(std::span<const uint8_t> bytes, TblHeader& header, BlockVector<TblTextSpans>& entries,
                    std::string& error, std::vector<std::string>* unreadable) {
    entries.clear();
    TblLayout layout;
    // A rescue takes a table cut short as far as it goes: the entries that lie in what is left.
    const bool laidOut = ReadTblFrame(bytes, layout, error, unreadable != nullptr);
    ReadTblHeader(bytes, header);
    if (!laidOut)
        return false;
    BlockVector<TblTextSpans> found(layout.Header.ElementCount);
    // Entries go in index order but their nodes lie in hash order, all over the node table:
    // each node is fetched into the cache a few entries ahead of its turn.
    constexpr size_t Ahead = 16;
    const uint8_t* const nodes = bytes.data() + TblHeader::Size + 2 * found.size();
    for (size_t i = 0; i < found.size(); ++i) {
        if (i + Ahead < found.size())
            if (const size_t ahead = TblNodeNumber(bytes, i + Ahead); ahead < layout.Header.HashTableSize)
                __builtin_prefetch(nodes + TblHashNode::Size * ahead);
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
