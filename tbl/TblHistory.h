#pragma once

#include "ByteBuffer.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

// One entry of a table, as the editor shows it (UTF-16).
struct TblEntry {
    std::u16string Key;
    std::u16string Value;

    bool operator==(const TblEntry&) const = default;
};

// Where an entry's key and value lie in a file's bytes. The key is KeyLength bytes long; the
// value ends at the first zero byte of its ValueLength bytes, or after them (a zero follows).
struct TblTextSpans {
    uint32_t KeyOffset = 0;
    uint32_t KeyLength = 0;
    uint32_t ValueOffset = 0;
    uint32_t ValueLength = 0;
};

// An entry with text of its own: a table's entry once edited or added, and every entry of a
// D2R string file.
struct TblOwnEntry {
    static constexpr uint32_t NoRow = UINT32_MAX;

    std::u16string Key;
    // A table's entry has one value; a D2R file's has one per language, in D2rLanguages' order,
    // so that Undo and Redo bring back every language whichever one the window shows.
    std::vector<std::u16string> Values;
    // A D2R file's entry: its id as the file writes it, and the row of the file last read or
    // saved that it stands for (NoRow for an entry added since).
    std::string Id;
    uint32_t Row = NoRow;
};

// An entry as the document keeps it: still in the file's bytes (InFile), or with text of its
// own.
struct TblStoredEntry {
    TblTextSpans InFile;
    std::unique_ptr<TblOwnEntry> Own;
};

// What takes one change to the entries back: put entries at their indices again, insert
// entries that went, remove entries that came, or move one back.
struct TblChange {
    enum class Kind { Put, Insert, Remove, Move };
    Kind What = Kind::Put;
    // Put: where each entry goes back; Insert: where each lands (ascending); Remove: the
    // entries that go (ascending).
    std::vector<size_t> Indices;
    std::vector<TblStoredEntry> Entries;
    // The file bytes the entries' InFile spans lie in, and how those are decoded.
    std::shared_ptr<const ByteBuffer> Bytes;
    bool ParseOnLoad = false;
    size_t From = 0, To = 0;  // Move

    // About the memory the change holds, in bytes.
    size_t Footprint() const;
};

// A step of the history: the changes one command made, which Undo takes back together.
struct TblStep {
    std::string Name;      // "Delete Key", "Typing": what the Undo and Redo items say
    size_t Focus = 0;      // the entry to show once the step is taken back or redone
    std::vector<TblChange> Changes;
    uint64_t State = 0;    // the table's state with the step done
    size_t Footprint = 0;
};

// The undo and redo steps of one table. It keeps what each change replaced, never a copy of
// the table, and at most MaxSteps steps or MaxBytes bytes of them, forgetting the oldest first.
// Each state the table passes through has a number (State), so that the editor can tell when
// Undo and Redo bring it back to the state last saved.
class TblHistory {
public:
    static constexpr size_t MaxSteps = 100;
    static constexpr size_t MaxBytes = size_t{64} << 20;

    // Forgets every step: the table's present state is a new one.
    void Clear();

    // The changes recorded until the matching End are one step named `name` that shows entry
    // `focus`. Steps inside a step are part of it.
    void Begin(std::string name, size_t focus);
    void End();
    // A change of the table: part of the open step, or a step of its own.
    void Record(TblChange change);

    // After a "Typing" step that changed entry `index`, further typing in that entry is part of
    // it (its first change holds the value before the run) until EndTyping, another step, Undo
    // or Redo.
    void KeepTyping(size_t index);
    bool Typing(size_t index) const { return typing_ && typingIndex_ == index; }
    void EndTyping() { typing_ = false; }

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    const std::string& UndoName() const { return undo_.back().Name; }
    const std::string& RedoName() const { return redo_.back().Name; }
    // Takes the step to undo (or redo) off its list; the document applies its changes and gives
    // back the step that reverses it, to the other list.
    TblStep TakeUndo();
    TblStep TakeRedo();
    void PushUndone(TblStep step);
    void PushRedone(TblStep step);

    uint64_t State() const { return undo_.empty() ? baseState_ : undo_.back().State; }
    // Calls `visit` with every entry the steps keep, so that the document can renumber the D2R
    // rows they stand for when a save renumbers the file's rows.
    template <class Visit>
    void VisitEntries(Visit visit) {
        const auto visitSteps = [&](auto& steps) {
            for (TblStep& step : steps)
                for (TblChange& change : step.Changes)
                    for (TblStoredEntry& entry : change.Entries)
                        visit(entry);
        };
        visitSteps(undo_);
        visitSteps(redo_);
    }
    size_t Footprint() const { return footprint_; }

private:
    void Push(TblStep step);
    template <class Steps>
    TblStep TakeLast(Steps& steps);
    void Trim();

    std::deque<TblStep> undo_;
    std::vector<TblStep> redo_;
    TblStep open_;
    int depth_ = 0;
    bool typing_ = false;
    size_t typingIndex_ = 0;
    uint64_t baseState_ = 0;
    uint64_t nextState_ = 1;
    size_t footprint_ = 0;
};
