#include "TblHistory.h"

#include <utility>

size_t TblChange::Footprint() const {
    size_t bytes = sizeof(TblChange) + Indices.size() * sizeof(size_t) + Entries.size() * sizeof(TblStoredEntry);
    for (const TblStoredEntry& entry : Entries) {
        if (!entry.Own)
            continue;
        bytes += sizeof(TblOwnEntry) + entry.Own->Key.size() * sizeof(char16_t) + entry.Own->Id.size();
        for (const std::u16string& value : entry.Own->Values)
            bytes += sizeof(value) + value.size() * sizeof(char16_t);
    }
    return bytes;
}

void TblHistory::Clear() {
    undo_.clear();
    redo_.clear();
    open_ = TblStep{};
    depth_ = 0;
    typing_ = false;
    footprint_ = 0;
    baseState_ = nextState_++;
}

void TblHistory::Begin(std::string name, size_t focus) {
    if (depth_++ > 0)
        return;
    typing_ = false;
    open_ = TblStep{std::move(name), focus, {}, 0, 0};
}

void TblHistory::End() {
    if (depth_ == 0 || --depth_ > 0)
        return;
    if (!open_.Changes.empty())
        Push(std::move(open_));
    open_ = TblStep{};
}

void TblHistory::Record(TblChange change) {
    if (depth_ > 0) {
        open_.Footprint += change.Footprint();
        open_.Changes.push_back(std::move(change));
        return;
    }
    typing_ = false;
    TblStep step{"Change", change.What == TblChange::Kind::Move ? change.To
                           : change.Indices.empty()              ? 0
                                                                 : change.Indices.front(),
                 {}, 0, change.Footprint()};
    step.Changes.push_back(std::move(change));
    Push(std::move(step));
}

void TblHistory::KeepTyping(size_t index) {
    typing_ = true;
    typingIndex_ = index;
}

// A new step: what was undone can no longer be redone.
void TblHistory::Push(TblStep step) {
    redo_.clear();
    step.State = nextState_++;
    PushUndone(std::move(step));
}

void TblHistory::PushUndone(TblStep step) {
    footprint_ += step.Footprint;
    undo_.push_back(std::move(step));
    Trim();
}

void TblHistory::PushRedone(TblStep step) {
    footprint_ += step.Footprint;
    redo_.push_back(std::move(step));
}

template <class Steps>
TblStep TblHistory::TakeLast(Steps& steps) {
    typing_ = false;
    TblStep step = std::move(steps.back());
    steps.pop_back();
    footprint_ -= step.Footprint;
    return step;
}

TblStep TblHistory::TakeUndo() { return TakeLast(undo_); }

TblStep TblHistory::TakeRedo() { return TakeLast(redo_); }

// The oldest steps go first; the latest is always kept, however large.
void TblHistory::Trim() {
    while (undo_.size() > 1 && (undo_.size() > MaxSteps || footprint_ > MaxBytes)) {
        footprint_ -= undo_.front().Footprint;
        baseState_ = undo_.front().State;
        undo_.pop_front();
    }
}
