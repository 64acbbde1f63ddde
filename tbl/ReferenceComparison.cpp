#include "ReferenceComparison.h"

#include <algorithm>

void ReferenceComparison::Compare(const TblDocument& table, const TblDocument& reference) {
    match_ = MatchEntries(table, reference);
    findings_.assign(table.Count(), {});
    std::vector<bool> matched(reference.Count(), false);
    for (size_t i = 0; i < table.Count(); ++i) {
        if (match_[i] == Unmatched) {
            findings_[i].push_back({TranslationFinding::Extra, i, Unmatched, "not in the reference"});
            continue;
        }
        matched[match_[i]] = true;
        findings_[i] = CheckEntry(table, i, reference, match_[i]);
    }
    missing_ = static_cast<size_t>(std::count(matched.begin(), matched.end(), false));
}

void ReferenceComparison::Recheck(const TblDocument& table, const TblDocument& reference, size_t index) {
    if (index < findings_.size() && match_[index] != Unmatched)
        findings_[index] = CheckEntry(table, index, reference, match_[index]);
}

void ReferenceComparison::Clear() {
    match_.clear();
    findings_.clear();
    missing_ = 0;
}

std::string ReferenceComparison::Problem(size_t index) const {
    std::string text;
    if (index >= findings_.size())
        return text;
    for (const TranslationFinding& finding : findings_[index]) {
        if (!text.empty())
            text += "; ";
        text += FindingKindName(finding.What);
        text += ": ";
        text += finding.Detail;
    }
    return text;
}

size_t ReferenceComparison::NextProblem(size_t from, bool forward) const {
    const size_t count = findings_.size();
    for (size_t step = 1; step <= count; ++step) {
        const size_t index = forward ? (from + step) % count : (from + count - step % count) % count;
        if (!findings_[index].empty())
            return index;
    }
    return Unmatched;
}

size_t ReferenceComparison::ProblemCount() const {
    return static_cast<size_t>(
        std::count_if(findings_.begin(), findings_.end(), [](const auto& found) { return !found.empty(); }));
}
