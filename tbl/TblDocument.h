#pragma once

#include "ByteBuffer.h"
#include "LargeBlocks.h"
#include "Result.h"
#include "TblFormat.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One entry of a table, as the editor shows it (UTF-16).
struct TblEntry {
    std::u16string Key;
    std::u16string Value;

    bool operator==(const TblEntry&) const = default;
};

// An activity text for the status bar ("Compiling....", "Saving...."), UTF-8.
using TblProgress = std::function<void(const std::string& text)>;

// How Build writes the values.
enum class TblValueForm {
    Game,   // colour tokens become game codes, "\n" tokens line feeds, carriage returns go: Save
    Exact,  // as held, nothing converted: loading the file gives back exactly these values
};

// Where an entry's key and value lie in a file's bytes. The key is KeyLength bytes long; the
// value ends at the first zero byte of its ValueLength bytes, or after them (a zero follows).
struct TblTextSpans {
    uint32_t KeyOffset = 0;
    uint32_t KeyLength = 0;
    uint32_t ValueOffset = 0;
    uint32_t ValueLength = 0;
};

// Why a .tbl file cannot hold an entry with this key and value, its value written in `form`:
// a key character above U+00FF, a zero character, a value of more than 65,534 bytes ("the
// value holds a zero character, which would end it early"); empty when it can. Build refuses
// exactly these entries, so that a reader of other input can name its own line or row.
std::string TblEntryProblem(std::u16string_view key, std::u16string_view value, TblValueForm form);

// A table laid out as the bytes of a .tbl file.
struct TblBuilt {
    TblHeader Header;
    ByteBuffer Bytes;
};

// The open string table: its entries (an entry's index number is its position), where it came
// from, and whether it has unsaved changes.
//
// Entries read from a file stay in the file's bytes, which the document keeps, and are decoded
// only when asked for: loading is little more than reading the file. An entry that is edited or
// added holds its own text. Keys and values live in one entry, so they cannot fall out of step.
class TblDocument {
public:
    std::u16string PathName;              // empty for a new table
    std::u16string FileName = u"Untitled";
    TblHeader Header;                     // of the file last read or written
    bool Modified = false;                // changes not yet written
    bool ModifiedShown = false;           // the star and "Not Saved" are on screen

    size_t Count() const { return entries_.size(); }
    // Entry `index` (below Count()), decoded: a key one byte per character, a value from UTF-8
    // with colour codes as tokens when the table was read with "Parse On Load".
    std::u16string Key(size_t index) const;
    std::u16string Value(size_t index) const;
    TblEntry Entry(size_t index) const;
    std::vector<TblEntry> Entries() const;

    // Every change below either happens whole or, when it fails (an index out of range, a
    // 65,536th entry, no memory), leaves the table exactly as it was.
    void SetKey(size_t index, std::u16string key);
    void SetValue(size_t index, std::u16string value);
    bool Insert(size_t index, std::u16string key, std::u16string value);
    bool InsertMany(size_t index, std::vector<TblEntry> entries);
    // Puts the entries of `replaced` at their indices and appends `appended`: a merge.
    bool ReplaceAndAppend(std::vector<std::pair<size_t, TblEntry>> replaced, std::vector<TblEntry> appended);
    void Remove(size_t index);
    // Removes the entries at `sortedIndices` (ascending, no repeats) in one compacting pass.
    void RemoveMany(const std::vector<size_t>& sortedIndices);
    void Move(size_t from, size_t to);
    void Clear();
    void MarkModified() { Modified = true; }

    // New: an empty, untitled, clean table (the header record is kept).
    void Reset();
    // Open: replaces the table with the file's entries; on success it is loaded and clean. A file
    // that points anywhere outside itself is refused whole and leaves the table empty, and so is
    // one whose header's text area start disagrees with its counts (TblTextStartProblem says
    // why): a damaged count would otherwise read as a table of fewer entries, which a save
    // would then write over the file. A file that cannot be opened or read fails with "File
    // Open Error: <path>" or "File Read Error: <path>" and the system's words on a second line,
    // keeping the step and error number.
    Result Load(const std::u16string& path, bool parseOnLoad);
    // The same from a file's bytes in memory.
    Result LoadBytes(std::span<const uint8_t> bytes, bool parseOnLoad);
    // Opens what can be read of a damaged file: an entry whose key or value lies outside the
    // file becomes an empty key and value, so that index numbers stay, and `unreadable` says
    // why, one line per entry, in the words of Load's refusal. The rescued table is "Untitled"
    // and modified. Fails as Load does when the file has no readable header and index.
    Result Rescue(const std::u16string& path, bool parseOnLoad, std::vector<std::string>& unreadable);
    // Save / Save As: compiles the table (values in their game form) and replaces the file at
    // `path` with it. On success PathName and FileName name `path`, the table is clean and holds
    // what loading the new file gives back. On failure ("Save Error") the old file and the table
    // are unchanged.
    Result Compile(const std::u16string& path, bool parseOnLoad, const TblProgress& progress = {});
    // Lays the table out as a file in memory: a hash table of exactly N slots filled by linear
    // probing from each key's TblKeyHash, the text area holding key 0, value 0, key 1, value 1
    // and so on, the header with TblCrc16 over the text area. Values that were never edited are
    // copied as the file held them wherever `form` leaves them as they are. Refuses, with
    // `error` naming the entry, what the format cannot hold: more than 65,535 entries, a key
    // character above U+00FF, a zero character in a key or value, a value of more than 65,534
    // bytes, or a file past 4 GiB.
    bool Build(TblValueForm form, TblBuilt& built, std::string& error) const;

    // "Strindle - Untitled", "Strindle - %s", or "Strindle - %s*" while Modified.
    std::u16string Title() const;
    // Puts up the clean title: clears Modified and ModifiedShown.
    void MarkClean();

private:
    struct StoredEntry {
        TblTextSpans InFile;              // where the entry lies in bytes_, while Own is empty
        std::unique_ptr<TblEntry> Own;    // an edited or added entry's own text
    };
    using StoredEntries = BlockVector<StoredEntry>;

    std::string_view FileText(uint32_t offset, uint32_t length) const;
    std::string_view StoredKey(const TblTextSpans& spans) const;
    std::string_view StoredValue(const TblTextSpans& spans) const;
    // Entry `index` takes its own text (decoded when it is still the file's) with `field` set.
    void SetText(size_t index, std::u16string TblEntry::*field, std::u16string text);
    static StoredEntries Stored(std::vector<TblEntry>&& entries);
    // Takes the file's bytes as the table; `unreadable` set: a rescue.
    Result Adopt(ByteBuffer bytes, bool parseOnLoad, std::vector<std::string>* unreadable);
    Result ReadFile(const std::u16string& path, bool parseOnLoad, std::vector<std::string>* unreadable);

    StoredEntries entries_;
    ByteBuffer bytes_;            // the file the entries were read from or last written to
    bool parseOnLoad_ = false;    // how entries still in bytes_ are decoded
};
