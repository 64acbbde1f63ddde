// TblDocument::Build: the table laid out as a .tbl file in one buffer, in two passes over the
// entries. The first checks and measures them, so that the buffer is made once at its final
// size and never zero-filled; the second writes every byte of it exactly once, the CRC taken
// as the text is written.
#include "TblDocument.h"

#include "ColourCodes.h"
#include "TblHash.h"
#include "TblLayout.h"
#include "TblReader.h"
#include "TblSlots.h"
#include "Utf.h"

#include <cstring>

namespace {

std::string EntryPrefix(size_t i) { return "entry " + std::to_string(i) + ": "; }

// Why a file cannot hold a key, a value of `length` bytes, or a value as written; empty when it can.
std::string KeyProblem(std::u16string_view key) {
    for (char16_t c : key) {
        if (c == 0)
            return "the key holds a zero character, which would end it early";
        if (c > 0xFF)
            return "the key \"" + Utf16ToUtf8(key) + "\" holds " + CharacterName(c) +
                   "; a key can hold only the characters U+0001 to U+00FF";
    }
    return {};
}

std::string ValueLengthProblem(size_t length) {
    if (length + 1 <= UINT16_MAX)
        return {};
    return "the value is " + std::to_string(length) + " bytes long; a value can hold at most 65,534 bytes";
}

std::string ValueProblem(std::u16string_view written, size_t length) {
    if (written.find(u'\0') != std::u16string_view::npos)
        return "the value holds a zero character, which would end it early";
    return ValueLengthProblem(length);
}

// Build's refusal of entry `i`.
bool Refuse(size_t i, const std::string& problem, std::string& error) {
    error = EntryPrefix(i) + problem;
    return false;
}

// Whether a value's bytes, as a file held them, are already what `form` writes. Game codes,
// backslashes and carriage returns are ASCII or start with a byte of their own in UTF-8, so
// a value without a backslash or a carriage return is unchanged by ToGame, whether it was
// read with its codes as tokens or not (ToGame turns every token back into its code).
bool WrittenAsStored(std::string_view bytes, TblValueForm form, bool parseOnLoad) {
    if (form == TblValueForm::Exact)
        return !parseOnLoad;
    return !std::memchr(bytes.data(), '\\', bytes.size()) && !std::memchr(bytes.data(), '\r', bytes.size());
}

// Where the second pass takes a value's bytes from: the document's file, or `encoded`.
struct ValueSource {
    bool FromFile = true;
    uint32_t Offset = 0;
    uint32_t Length = 0;
};

}  // namespace

std::string TblEntryProblem(std::u16string_view key, std::u16string_view value, TblValueForm form) {
    if (std::string problem = KeyProblem(key); !problem.empty())
        return problem;
    if (form == TblValueForm::Game) {
        const std::u16string written = ConvertColourCodes(value, ToGame);
        return ValueProblem(written, Utf8Length(written));
    }
    return ValueProblem(value, Utf8Length(value));
}

bool TblDocument::Build(TblValueForm form, TblBuilt& built, std::string& error) const {
    const size_t count = entries_.size();  // at most TblMaxEntries: the entry operations see to it
    const auto n = static_cast<uint32_t>(count);
    const size_t textStart = TblHeader::Size + (2 + TblHashNode::Size) * count;

    // First pass: every entry checked and measured, with its home slot.
    BlockVector<uint32_t> homes(count);
    BlockVector<ValueSource> sources(count);
    std::string encoded;  // the UTF-8 of every value that is not written as the file held it
    uint64_t fileSize = textStart;
    for (size_t i = 0; i < count; ++i) {
        const StoredEntry& entry = entries_[i];
        size_t keyLength = 0;
        if (entry.Own) {
            if (std::string problem = KeyProblem(entry.Own->Key); !problem.empty())
                return Refuse(i, problem, error);
            homes[i] = TblKeyHash(entry.Own->Key, n);
            keyLength = entry.Own->Key.size();
        } else {
            homes[i] = TblKeyBytesHash(StoredKey(entry.InFile), n);
            keyLength = entry.InFile.KeyLength;
        }
        const std::string_view stored = entry.Own ? std::string_view() : StoredValue(entry.InFile);
        size_t valueLength = stored.size();
        if (entry.Own || !WrittenAsStored(stored, form, parseOnLoad_)) {
            std::u16string value = entry.Own ? entry.Own->Values[ValueSlot()] : ValueFromBytes(stored, parseOnLoad_);
            if (form == TblValueForm::Game)
                ConvertColourCodesInPlace(value, ToGame);
            valueLength = Utf8Length(value);
            if (std::string problem = ValueProblem(value, valueLength); !problem.empty())
                return Refuse(i, problem, error);
            const size_t at = encoded.size();
            encoded.resize(at + valueLength);
            WriteUtf8(value, reinterpret_cast<uint8_t*>(encoded.data()) + at);
            sources[i] = {false, static_cast<uint32_t>(at), static_cast<uint32_t>(valueLength)};
        } else {
            if (std::string problem = ValueLengthProblem(valueLength); !problem.empty())
                return Refuse(i, problem, error);
            sources[i] = {true, entry.InFile.ValueOffset, static_cast<uint32_t>(valueLength)};
        }
        fileSize += keyLength + 1 + valueLength + 1;
    }
    if (fileSize > UINT32_MAX) {
        error = "the table would make a file of " + std::to_string(fileSize) +
                " bytes; a table file cannot pass 4 GiB";
        return false;
    }

    uint32_t longestProbe = 0;
    const BlockVector<uint32_t> slots = AssignSlots(homes, longestProbe);

    // Second pass: the text area, with the node and index of each entry as its text is laid.
    ByteBuffer out(static_cast<size_t>(fileSize));
    uint8_t* const file = out.data();
    uint8_t* const index = file + TblHeader::Size;
    uint8_t* const nodes = index + 2 * count;
    size_t at = textStart;
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < count; ++i) {
        const StoredEntry& entry = entries_[i];
        const size_t start = at;
        if (entry.Own) {
            for (char16_t c : entry.Own->Key)
                file[at++] = static_cast<uint8_t>(c);
        } else {
            std::memcpy(file + at, bytes_->data() + entry.InFile.KeyOffset, entry.InFile.KeyLength);
            at += entry.InFile.KeyLength;
        }
        file[at++] = 0;
        const size_t valueStart = at;
        const ValueSource& source = sources[i];
        const uint8_t* value = source.FromFile ? bytes_->data() : reinterpret_cast<const uint8_t*>(encoded.data());
        std::memcpy(file + at, value + source.Offset, source.Length);
        at += source.Length;
        file[at++] = 0;
        crc = TblCrc16(file + start, at - start, crc);

        TblHashNode node;
        node.Used = 1;
        node.ElementIndex = static_cast<uint16_t>(i);
        node.Hash = homes[i];
        node.KeyOffset = static_cast<uint32_t>(start);
        node.ValueOffset = static_cast<uint32_t>(valueStart);
        node.ValueLength = static_cast<uint16_t>(source.Length + 1);
        PutTblNode(nodes + TblHashNode::Size * slots[i], node);
        index[2 * i] = static_cast<uint8_t>(slots[i]);
        index[2 * i + 1] = static_cast<uint8_t>(slots[i] >> 8);
    }

    TblHeader& h = built.Header;
    h = {};
    h.Crc = crc;
    h.ElementCount = static_cast<uint16_t>(count);
    h.HashTableSize = n;
    h.Version = 0;
    h.TextStart = static_cast<uint32_t>(textStart);
    h.MaxTries = longestProbe + 1;
    h.FileSize = static_cast<uint32_t>(fileSize);
    PutTblHeader(file, h);
    built.Bytes = std::move(out);
    return true;
}
