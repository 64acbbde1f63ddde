#pragma once

#include "TblFormat.h"
#include "TblCompiler.h"

#include <string>
#include <vector>

// The open string table: parallel Keys and Values (an entry's index number is its position),
// where it came from, and whether it has unsaved changes.
class TblDocument {
public:
    std::vector<std::u16string> Keys;
    std::vector<std::u16string> Values;
    std::u16string PathName;              // empty for a new table
    std::u16string FileName = u"Untitled";
    TblHeader Header;                     // of the file last read or written
    bool Modified = false;                // changes not yet written
    bool ModifiedShown = false;           // the star and "Not Saved" are on screen

    size_t Count() const { return Keys.size(); }

    // Entry operations keep both arrays in step. Insert refuses (returns false) a 65,536th entry.
    bool Insert(size_t index, std::u16string key, std::u16string value);
    void Remove(size_t index);
    // Removes the entries at `sortedIndices` (ascending, no repeats) in one compacting pass.
    void RemoveMany(const std::vector<size_t>& sortedIndices);
    void Move(size_t from, size_t to);
    void Clear();
    void MarkModified() { Modified = true; }

    // New: an empty, untitled, clean table (the header record is kept).
    void Reset();
    // Open: replaces the table with the file's entries; on success it is loaded and clean.
    Result Load(const std::u16string& path, bool parseOnLoad);
    // Save / Save As: on success PathName and FileName name `path` and the table is clean.
    Result Compile(const std::u16string& path, bool parseOnLoad, const TblProgress& progress = {});

    // "Strindle - Untitled", "Strindle - %s", or "Strindle - %s*" while Modified.
    std::u16string Title() const;
    // Puts up the clean title: clears Modified and ModifiedShown.
    void MarkClean();
};
