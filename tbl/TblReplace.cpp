#include "TblReplace.h"

#include "TextMatch.h"
#include "Utf.h"

#include <utility>
#include <vector>

namespace {

constexpr size_t NoMatch = std::u16string_view::npos;

// Why the replacement was refused, naming the entry by its index and present key.
std::string Refusal(const TblDocument& document, size_t index, const std::string& problem) {
    return "Entry " + std::to_string(index) + " (" + Utf16ToUtf8(document.Key(index)) +
           ") would not fit a .tbl file after the replacement: " + problem + ". Nothing was replaced.";
}

}  // namespace

std::string TblReplaceAllResult::Summary() const {
    return std::to_string(Replacements) + " replacements in " + std::to_string(Entries) + " entries";
}

TblReplacer::TblReplacer(TblReplaceQuery query)
    : query_(std::move(query)), pattern_(query_.MatchCase ? query_.Find : AsciiLowerCase(query_.Find)) {}

std::u16string TblReplacer::Text(const TblDocument& document, size_t index) const {
    return query_.InKeys ? document.Key(index) : document.Value(index);
}

size_t TblReplacer::Find(std::u16string_view text, size_t from) const {
    if (pattern_.empty())
        return NoMatch;
    const bool ignoreCase = !query_.MatchCase;
    if (query_.WholeValue)
        return from == 0 && text.size() == pattern_.size() && FindSearchText(text, pattern_, ignoreCase) == 0 ? 0
                                                                                                             : NoMatch;
    const int found = FindSearchText(text, pattern_, ignoreCase, from);
    return found < 0 ? NoMatch : static_cast<size_t>(found);
}

bool TblReplacer::FindNext(const TblDocument& document, TblTextPlace from, TblTextPlace& match) const {
    const size_t count = document.Count();
    if (count == 0)
        return false;
    if (from.Index >= count)
        from = {};
    // The first entry is searched again, whole, only when its search started past its start.
    const size_t texts = count + (from.Position > 0 ? 1 : 0);
    for (size_t step = 0; step < texts; ++step) {
        const size_t index = (from.Index + step) % count;
        const size_t position = Find(Text(document, index), step == 0 ? from.Position : 0);
        if (position != NoMatch) {
            match = {index, position};
            return true;
        }
    }
    return false;
}

bool TblReplacer::MatchesAt(const TblDocument& document, TblTextPlace place) const {
    return place.Index < document.Count() && Find(Text(document, place.Index), place.Position) == place.Position;
}

size_t TblReplacer::Replaced(std::u16string_view text, std::u16string& result) const {
    size_t count = 0;
    size_t copied = 0;
    for (size_t at = Find(text, 0); at != NoMatch; at = Find(text, at + pattern_.size())) {
        result.append(text.substr(copied, at - copied)).append(query_.Replacement);
        copied = at + pattern_.size();
        ++count;
    }
    if (count > 0)
        result.append(text.substr(copied));
    return count;
}

TblEntry TblReplacer::Changed(const TblDocument& document, size_t index, std::u16string text,
                              std::string& problem) const {
    // Only the text not searched is decoded again.
    TblEntry entry = query_.InKeys ? TblEntry{std::move(text), document.Value(index)}
                                   : TblEntry{document.Key(index), std::move(text)};
    problem = TblEntryProblem(entry.Key, entry.Value, TblValueForm::Game);
    return entry;
}

std::string TblReplacer::ReplaceAt(TblDocument& document, TblTextPlace place) const {
    if (!MatchesAt(document, place))
        return {};
    std::u16string text = Text(document, place.Index);
    text.replace(place.Position, pattern_.size(), query_.Replacement);
    std::string problem;
    TblEntry entry = Changed(document, place.Index, std::move(text), problem);
    if (!problem.empty())
        return Refusal(document, place.Index, problem);
    TblDocument::Step step(document, "Replace", place.Index);
    if (query_.InKeys)
        document.SetKey(place.Index, std::move(entry.Key));
    else
        document.SetValue(place.Index, std::move(entry.Value));
    return {};
}

TblReplaceAllResult TblReplacer::ReplaceAll(TblDocument& document, size_t focus) const {
    TblReplaceAllResult result;
    std::vector<std::pair<size_t, TblEntry>> replaced;
    for (size_t i = 0; i < document.Count(); ++i) {
        std::u16string text;
        const size_t replacements = Replaced(Text(document, i), text);
        if (replacements == 0)
            continue;
        std::string problem;
        TblEntry entry = Changed(document, i, std::move(text), problem);
        if (!problem.empty())
            return {0, 0, Refusal(document, i, problem)};
        replaced.emplace_back(i, std::move(entry));
        result.Replacements += replacements;
    }
    result.Entries = replaced.size();
    if (!replaced.empty()) {
        TblDocument::Step step(document, "Replace All", focus);
        document.ReplaceAndAppend(std::move(replaced), {});
    }
    return result;
}
