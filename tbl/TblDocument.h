#pragma once

#include "ByteBuffer.h"
#include "D2rFile.h"
#include "LargeBlocks.h"
#include "Result.h"
#include "TblFormat.h"
#include "TblHistory.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// An activity text for the status bar ("Compiling....", "Saving...."), UTF-8.
using TblProgress = std::function<void(const std::string& text)>;

// How Build writes the values.
enum class TblValueForm {
    Game,   // colour tokens become game codes, "\n" tokens line feeds, carriage returns go: Save
    Exact,  // as held, nothing converted: loading the file gives back exactly these values
};

// Why a .tbl file cannot hold an entry with this key and value, its value written in `form`:
// a key character above U+00FF, a zero character, a value of more than 65,534 bytes ("the
// value holds a zero character, which would end it early"); empty when it can. Build refuses
// exactly these entries, so that a reader of other input can name its own line or row.
std::string TblEntryProblem(std::u16string_view key, std::u16string_view value, TblValueForm form);

// Whether `path` names a D2R string file (".json"), which the document reads and saves as one;
// any other name is taken for a .tbl table.
bool IsD2rPath(std::u16string_view path);

// A table laid out as the bytes of a .tbl file.
struct TblBuilt {
    TblHeader Header;
    ByteBuffer Bytes;
};

// The open string table: its entries (an entry's index number is its position), where it came
// from, and whether it has unsaved changes. It comes from a .tbl table or a D2R string file;
// everything but reading and saving works alike on both.
//
// Entries read from a .tbl file stay in the file's bytes, which the document keeps, and are
// decoded only when asked for: loading is little more than reading the file. An entry that is
// edited or added holds its own text. Keys and values live in one entry, so they cannot fall
// out of step.
//
// A D2R file's entries are its rows, in file order: key, id and a value in each language, of
// which one, Language(), is shown and edited. Saving writes the file back in its own form:
// rows nobody edited are copied byte for byte, an edited value is written in the file's
// escaping, added rows copy its layout.
class TblDocument {
public:
    std::u16string PathName;              // empty for a new table
    std::u16string FileName = u"Untitled";
    TblHeader Header;                     // of the file last read or written
    bool Modified = false;                // changes not yet written
    bool ModifiedShown = false;           // the star and "Not Saved" are on screen

    bool IsD2r() const { return d2r_ != nullptr; }
    // The language (an index into D2rLanguages) whose values a D2R file's document shows and
    // edits; a table has one value.
    size_t Language() const { return language_; }
    void SetLanguage(size_t language);
    // Entry `index`'s id in a D2R file; empty for a table's entry.
    std::string Id(size_t index) const;
    // The ids that more than one row of the D2R file last read or saved gives.
    std::vector<std::string> RepeatedIds() const;

    size_t Count() const { return entries_.size(); }
    // Entry `index` (below Count()), decoded: a key one byte per character, a value from UTF-8
    // with colour codes as tokens when the table was read with "Parse On Load".
    std::u16string Key(size_t index) const;
    std::u16string Value(size_t index) const;
    // Entry `index`'s value as UTF-8 in its game form, for reading a whole table without decoding
    // it: while the entry is as read, the file's bytes themselves (colour codes as the game's,
    // whatever "Parse On Load" says); once edited, its text with colour tokens turned into the
    // game's codes, converted into `scratch`.
    std::string_view ValueUtf8(size_t index, std::string& scratch) const;
    // Entry `index` as shown: its key and its value (for a D2R file, in Language()).
    TblEntry Entry(size_t index) const;
    // Entry `index`'s key as UTF-8, for reading a whole table's keys without decoding them: a
    // key of ASCII characters as read is the file's bytes themselves; any other is converted
    // into `scratch`.
    std::string_view KeyUtf8(size_t index, std::string& scratch) const;
    std::vector<TblEntry> Entries() const;

    // Every change below either happens whole or, when it fails (an index out of range, a
    // 65,536th entry, no memory), leaves the table exactly as it was. Each is recorded for Undo.
    // An entry added to a D2R file's document gets the next free id, one above the largest of
    // its entries and of the file's rows, and its value in every language, so that the game
    // shows it whichever language it runs in.
    void SetKey(size_t index, std::u16string key);
    void SetValue(size_t index, std::u16string value);
    bool Insert(size_t index, std::u16string key, std::u16string value);
    bool InsertMany(size_t index, std::vector<TblEntry> entries);
    // Puts the entries of `replaced` at their indices and appends `appended`: a merge.
    bool ReplaceAndAppend(std::vector<std::pair<size_t, TblEntry>> replaced, std::vector<TblEntry> appended);
    void Remove(size_t index);
    // Removes the entries at `sortedIndices` (ascending, no repeats; those past the last entry
    // are left out) in one compacting pass.
    void RemoveMany(const std::vector<size_t>& sortedIndices);
    void Move(size_t from, size_t to);
    // The value editor's change to entry `index`: a run of them in one entry is one step, named
    // `name` ("Typing"), until EndTyping or any other step.
    void TypeValue(size_t index, std::u16string value, const char* name = "Typing");
    void EndTyping() { history_.EndTyping(); }
    void MarkModified() { Modified = true; }

    // Undo and Redo. The changes made while a Step lives are one step; a change made outside
    // any is a step of its own. The history survives Compile and ends with Load, Rescue and
    // Reset. Undo and Redo make the table Modified unless they bring it back to the state last
    // loaded or saved; each gives the index of the entry its step changed (at most Count(),
    // which is past the last entry when that one went).
    class Step {
    public:
        Step(TblDocument& document, std::string name, size_t focus) : history_(document.history_) {
            history_.Begin(std::move(name), focus);
        }
        ~Step() { history_.End(); }
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

    private:
        TblHistory& history_;
    };
    const TblHistory& History() const { return history_; }
    bool Undo(size_t& focus);
    bool Redo(size_t& focus);

    // New: an empty, untitled, clean table (the header record is kept).
    void Reset();
    // Empties the table, as a failed Load leaves it.
    void Clear();
    // Open: replaces the table with the file's entries; on success it is loaded and clean. A D2R
    // file (IsD2rPath) that is not sound JSON of rows is refused with the line at fault. A file
    // that points anywhere outside itself is refused whole and leaves the table empty, and so is
    // one whose header's text area start disagrees with its counts (TblTextStartProblem says
    // why): a damaged count would otherwise read as a table of fewer entries, which a save
    // would then write over the file. A file that cannot be opened or read fails with "File
    // Open Error: <path>" or "File Read Error: <path>" and the system's words on a second line,
    // keeping the step and error number.
    Result Load(const std::u16string& path, bool parseOnLoad);
    // The same from a file's bytes in memory.
    Result LoadBytes(std::span<const uint8_t> bytes, bool parseOnLoad);
    // Opens what can be read of a damaged table: an entry whose key or value lies outside the
    // file becomes an empty key and value, so that index numbers stay, and `unreadable` says
    // why, one line per entry, in the words of Load's refusal. The rescued table is "Untitled"
    // and modified. Fails as Load does when the file has no readable header and index.
    Result Rescue(const std::u16string& path, bool parseOnLoad, std::vector<std::string>& unreadable);
    // Save / Save As: compiles the table (values in their game form), or writes the D2R file
    // back in its own form, and replaces the file at `path` with it. On success PathName and FileName name `path`, the table is clean and holds
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
    using StoredEntry = TblStoredEntry;
    using StoredEntries = BlockVector<StoredEntry>;

    std::string_view FileText(uint32_t offset, uint32_t length) const;
    std::string_view StoredKey(const TblTextSpans& spans) const;
    std::string_view StoredValue(const TblTextSpans& spans) const;
    // A change for the history whose entries lie in the present file bytes.
    TblChange Change(TblChange::Kind what) const;
    // Applies a change the history kept and gives back the one that reverses it.
    TblChange Apply(TblChange change);
    // Entries the history kept from other file bytes (the file before a save) take their text.
    void OwnText(TblChange& change) const;
    // Applies a step's changes, last first; gives the step that reverses it, and the entry to show.
    TblStep Reverse(TblStep step, size_t& focus);
    // Takes the file's bytes as the table; `unreadable` set: a rescue.
    Result Adopt(ByteBuffer bytes, bool parseOnLoad, std::vector<std::string>* unreadable);
    Result AdoptD2r(const ByteBuffer& bytes);
    Result SaveD2r(const std::u16string& path);
    // Which of an own entry's values the document shows: the language's for a D2R file.
    size_t ValueSlot() const { return d2r_ ? language_ : 0; }
    std::unique_ptr<TblOwnEntry> OwnCopy(size_t index) const;
    // Entry `index` takes `own` in place of what it held.
    void Replace(size_t index, std::unique_ptr<TblOwnEntry> own, bool recorded);
    // Own entries for entries from outside (a paste, an import): a D2R file's get ids.
    StoredEntries Stored(std::vector<TblEntry>&& entries) const;
    Result ReadFile(const std::u16string& path, bool parseOnLoad, std::vector<std::string>* unreadable);

    StoredEntries entries_;
    // The file the entries were read from or last written to; shared with history steps whose
    // entries lie in it.
    std::shared_ptr<const ByteBuffer> bytes_;
    bool parseOnLoad_ = false;    // how entries still in bytes_ are decoded
    // The D2R file last read or saved, whose rows the entries' Row numbers name; null for a table.
    std::shared_ptr<const D2rFile> d2r_;
    size_t language_ = 0;
    TblHistory history_;
    uint64_t savedState_ = 0;     // the history's state when last loaded or saved
};
