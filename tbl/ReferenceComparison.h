#pragma once

// A table held against its reference, as the editor shows it: for each entry, the reference
// entry it matches and what is wrong with it (CheckTranslation's findings), kept by entry so
// that the editor can mark entries and go from one with a problem to the next.

#include "TranslationCheck.h"

#include <cstddef>
#include <string>
#include <vector>

class ReferenceComparison {
public:
    // Compares the whole table anew.
    void Compare(const TblDocument& table, const TblDocument& reference);
    // Entry `index`'s value changed: only its own findings are taken again.
    void Recheck(const TblDocument& table, const TblDocument& reference, size_t index);
    void Clear();

    // The reference entry that entry `index` matches, or Unmatched.
    size_t Match(size_t index) const { return index < match_.size() ? match_[index] : Unmatched; }
    bool HasProblem(size_t index) const { return index < findings_.size() && !findings_[index].empty(); }
    // What is wrong with entry `index` in one line, UTF-8: "placeholders: %d in the reference,
    // none here; lines: 1 line feed in the reference, 0 here"; empty when nothing is.
    std::string Problem(size_t index) const;
    // The first entry with a problem after `from` (before it when `forward` is false), going
    // round the table; Unmatched when no entry has one.
    size_t NextProblem(size_t from, bool forward) const;
    size_t ProblemCount() const;
    // The reference's entries that the table lacks.
    size_t MissingCount() const { return missing_; }

private:
    std::vector<size_t> match_;
    std::vector<std::vector<TranslationFinding>> findings_;
    size_t missing_ = 0;
};
