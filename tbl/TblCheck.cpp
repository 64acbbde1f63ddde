#include "TblCheck.h"

#include "LargeBlocks.h"
#include "TblHash.h"
#include "TblLayout.h"

#include <bit>
#include <cstring>
#include <functional>
#include <string_view>

namespace {

// No entry names the node: entries are numbered below 65,535.
constexpr uint16_t NoEntry = UINT16_MAX;

// Reports at most this many problems of one kind, then how many more there were.
constexpr size_t MaxListed = 20;

class Findings {
public:
    explicit Findings(std::vector<std::string>& out) : out_(out) {}
    ~Findings() {
        if (extra_ > 0)
            out_.push_back("... and " + std::to_string(extra_) + " more like these");
    }
    void Add(std::string text) {
        if (listed_ < MaxListed) {
            out_.push_back(std::move(text));
            ++listed_;
        } else {
            ++extra_;
        }
    }

private:
    std::vector<std::string>& out_;
    size_t listed_ = 0;
    size_t extra_ = 0;
};

// The keys met so far, to count the keys that an earlier key equals: an open-addressing set of
// the keys' places in the file with their hashes, so that no key is copied and only keys of
// one hash are compared. Only keys found whole in the file (a zero before its end) go in.
class KeySet {
public:
    KeySet(std::span<const uint8_t> bytes, size_t keys) : bytes_(bytes), slots_(std::bit_ceil(2 * keys + 1)) {}

    // Whether a key equal to `key`, which lies at `offset`, went in before; puts it in if not.
    bool SeenBefore(uint32_t offset, std::string_view key) {
        const auto hash = static_cast<uint32_t>(std::hash<std::string_view>()(key));
        const size_t mask = slots_.size() - 1;
        for (size_t s = hash & mask;; s = (s + 1) & mask) {
            if (slots_[s].Offset == Empty) {
                slots_[s] = {hash, offset};
                return false;
            }
            if (slots_[s].Hash == hash && SameKey(slots_[s].Offset, key))
                return true;
        }
    }

private:
    static constexpr uint32_t Empty = UINT32_MAX;  // no key ends before a file's end there
    struct Slot {
        uint32_t Hash = 0;
        uint32_t Offset = Empty;
    };

    // Whether the key at `offset`, which ends in a zero inside the file, is `key` (no zero in it):
    // strncmp stops at that zero, so nothing past it is read.
    bool SameKey(uint32_t offset, std::string_view key) const {
        const char* stored = reinterpret_cast<const char*>(bytes_.data() + offset);
        return std::strncmp(stored, key.data(), key.size()) == 0 && stored[key.size()] == '\0';
    }

    std::span<const uint8_t> bytes_;
    BlockVector<Slot> slots_;
};

void CheckHeaderAgainstLayout(const TblLayout& layout, size_t fileLength, TblCheckResult& result) {
    const TblHeader& h = layout.Header;
    if (h.Version != 0)
        result.Notes.push_back("version byte is " + std::to_string(h.Version) + " (a compiled table has 0)");
    if (h.HashTableSize > h.ElementCount)
        result.Notes.push_back("the hash table has " + std::to_string(h.HashTableSize) + " nodes for " +
                               std::to_string(h.ElementCount) + " entries (free slots)");
    if (h.HashTableSize < h.ElementCount)
        result.Notes.push_back("the hash table has fewer nodes (" + std::to_string(h.HashTableSize) +
                               ") than the table has entries (" + std::to_string(h.ElementCount) + ")");
    if (std::string problem = TblTextStartProblem(h); !problem.empty())
        result.Problems.push_back(std::move(problem));
    if (fileLength > h.FileSize)
        result.Notes.push_back(std::to_string(fileLength - h.FileSize) +
                               " bytes follow the end that the header gives");
}

}  // namespace

TblCheckResult CheckTbl(std::span<const uint8_t> bytes) {
    TblCheckResult result;
    TblLayout layout;
    std::string error;
    result.HeaderRead = ReadTblHeader(bytes, result.Header);
    if (!ReadTblFrame(bytes, layout, error)) {
        result.Problems.push_back(error);
        return result;
    }
    const TblHeader& h = layout.Header;
    CheckHeaderAgainstLayout(layout, bytes.size(), result);

    const size_t textStart = static_cast<size_t>(layout.NodeTableEnd);
    result.TextCrc = TblCrc16(bytes.data() + textStart, layout.End - textStart);
    if (result.TextCrc != h.Crc)
        result.Problems.push_back("the header's CRC is " + Hex(h.Crc) + ", but the text area's CRC is " +
                                  Hex(result.TextCrc));

    const uint32_t tableSize = h.HashTableSize;
    BlockVector<uint16_t> referencedBy(tableSize, NoEntry);
    KeySet keysSeen(bytes, h.ElementCount);
    {
        Findings problems(result.Problems);
        for (size_t i = 0; i < h.ElementCount; ++i) {
            const auto entry = [i] { return "entry " + std::to_string(i) + ": "; };
            const uint32_t slot = TblNodeNumber(bytes, i);
            if (slot >= tableSize) {
                problems.Add(entry() + "node number " + std::to_string(slot) + " is not below the hash table size " +
                             std::to_string(tableSize));
                continue;
            }
            if (referencedBy[slot] != NoEntry)
                problems.Add(entry() + "node " + std::to_string(slot) + " is already used by entry " +
                             std::to_string(referencedBy[slot]));
            else
                referencedBy[slot] = static_cast<uint16_t>(i);
            const TblHashNode node = TblNodeAt(bytes, layout, slot);
            if (node.Used == 0) {
                ++result.UnusedEntries;
                continue;
            }
            std::string_view key, value;
            std::string why;
            if (!ReadTblString(bytes, layout.End, node.KeyOffset, key, why)) {
                problems.Add(entry() + "the key offset " + why);
                continue;
            }
            if (!ReadTblString(bytes, layout.End, node.ValueOffset, value, why))
                problems.Add(entry() + "the value offset " + why);
            else if (value.size() + 1 != node.ValueLength)
                problems.Add(entry() + "the value length is " + std::to_string(node.ValueLength) +
                             ", but the value has " + std::to_string(value.size() + 1) + " bytes with its terminator");
            if (node.ElementIndex != i)
                problems.Add(entry() + "its node gives the element index " + std::to_string(node.ElementIndex));
            if (keysSeen.SeenBefore(node.KeyOffset, key))
                ++result.DuplicateKeys;

            const uint32_t home = TblKeyBytesHash(key, tableSize);
            if (node.Hash != home)
                problems.Add(entry() + "the node's hash is " + std::to_string(node.Hash) +
                             ", but the key's home slot is " + std::to_string(home));
            const uint32_t probe = slot >= home ? slot - home : slot + tableSize - home;
            if (probe > result.LongestProbe)
                result.LongestProbe = probe;
        }
    }
    {
        Findings notes(result.Notes);
        for (uint32_t slot = 0; slot < tableSize; ++slot) {
            if (TblNodeAt(bytes, layout, slot).Used == 0)
                ++result.UnusedNodes;
            else if (referencedBy[slot] == NoEntry)
                notes.Add("node " + std::to_string(slot) + " is marked used but no entry names it");
        }
    }

    const uint64_t neededTries = uint64_t{result.LongestProbe} + 1;
    if (h.MaxTries < neededTries)
        result.Problems.push_back("max tries is " + std::to_string(h.MaxTries) + ", but a key lies " +
                                  std::to_string(result.LongestProbe) + " slots past its home slot (needs " +
                                  std::to_string(neededTries) + ")");
    else if (h.MaxTries > neededTries)
        result.Notes.push_back("max tries is " + std::to_string(h.MaxTries) + ", more than the " +
                               std::to_string(neededTries) + " the keys need");
    return result;
}
