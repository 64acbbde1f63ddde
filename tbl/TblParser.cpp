#include "TblParser.h"

#include "ColourCodes.h"
#include "TblLayout.h"
#include "Utf.h"

std::u16string KeyFromBytes(std::string_view bytes) {
    std::u16string key(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        key[i] = static_cast<unsigned char>(bytes[i]);
    return key;
}

bool ParseTbl(std::span<const uint8_t> bytes, TblHeader& header, std::vector<std::u16string>& keys,
              std::vector<std::u16string>& values, bool parseOnLoad, std::string& error) {
    keys.clear();
    values.clear();
    TblLayout layout;
    const bool laidOut = ReadTblLayout(bytes, layout, error);
    ReadTblHeader(bytes, header);
    if (!laidOut)
        return false;

    const size_t count = layout.Index.size();
    std::vector<std::u16string> readKeys(count), readValues(count);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t slot = layout.Index[i];
        auto entry = [i] { return "entry " + std::to_string(i) + ": "; };
        if (slot >= layout.Nodes.size()) {
            error = entry() + "its node number " + std::to_string(slot) + " is not below the hash table size " +
                    std::to_string(layout.Nodes.size());
            return false;
        }
        const TblHashNode& node = layout.Nodes[slot];
        if (node.Used == 0)
            continue;
        std::string_view key, value;
        std::string why;
        if (!ReadTblString(bytes, layout.End, node.KeyOffset, key, why)) {
            error = entry() + "the key offset " + why;
            return false;
        }
        if (!ReadTblString(bytes, layout.End, node.ValueOffset, value, why)) {
            error = entry() + "the value offset " + why;
            return false;
        }
        readKeys[i] = KeyFromBytes(key);
        readValues[i] = Utf8ToUtf16(value);
        if (parseOnLoad)
            ConvertColourCodesInPlace(readValues[i], ToTokens);
    }
    keys = std::move(readKeys);
    values = std::move(readValues);
    return true;
}
