#include "TblTestFiles.h"

#include "TblHash.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

uint32_t RawTbl::TextStart() const {
    return static_cast<uint32_t>(21 + 2 * Index.size() + 17 * Nodes.size());
}

uint32_t RawTbl::AddString(const std::string& s) {
    const auto offset = static_cast<uint32_t>(TextStart() + Text.size());
    Text += s;
    Text.push_back('\0');
    return offset;
}

std::vector<uint8_t> RawTbl::Bytes(bool fillHeader) const {
    TblHeader h = Header;
    if (fillHeader) {
        h.ElementCount = static_cast<uint16_t>(Index.size());
        h.HashTableSize = static_cast<uint32_t>(Nodes.size());
        h.TextStart = TextStart();
        h.FileSize = static_cast<uint32_t>(TextStart() + Text.size());
        h.Crc = TblCrc16(reinterpret_cast<const uint8_t*>(Text.data()), Text.size());
    }
    std::vector<uint8_t> out;
    Put16(out, h.Crc);
    Put16(out, h.ElementCount);
    Put32(out, h.HashTableSize);
    out.push_back(h.Version);
    Put32(out, h.TextStart);
    Put32(out, h.MaxTries);
    Put32(out, h.FileSize);
    for (uint16_t i : Index)
        Put16(out, i);
    for (const TblHashNode& n : Nodes) {
        out.push_back(n.Used);
        Put16(out, n.ElementIndex);
        Put32(out, n.Hash);
        Put32(out, n.KeyOffset);
        Put32(out, n.ValueOffset);
        Put16(out, n.ValueLength);
    }
    out.insert(out.end(), Text.begin(), Text.end());
    return out;
}

RawTbl TwoEntryTable(const std::string& key0, const std::string& value0, const std::string& key1,
                     const std::string& value1) {
    RawTbl t;
    t.Index = {0, 1};
    t.Nodes.resize(2);
    t.Header.MaxTries = 1;
    const std::string keys[2] = {key0, key1};
    const std::string values[2] = {value0, value1};
    for (uint16_t i = 0; i < 2; ++i) {
        TblHashNode& n = t.Nodes[i];
        n.Used = 1;
        n.ElementIndex = i;
        n.KeyOffset = t.AddString(keys[i]);
        n.ValueOffset = t.AddString(values[i]);
        n.ValueLength = static_cast<uint16_t>(values[i].size() + 1);
    }
    return t;
}

std::vector<uint8_t> ToBytes(const std::string& s) { return {s.begin(), s.end()}; }
