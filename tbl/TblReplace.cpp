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

// The find text as matched: lower-cased when case is ignored, each "\n" a line feed.
std::u16string Pattern(std::u16string_view find, bool matchCase) {
    std::u16string pattern;
    pattern.reserve(find.size());
    for (size_t i = 0; i < find.size(); ++i) {
        if (find.substr(i, 2) == u"\\n") {
            pattern.push_back(u'\n');
            ++i;
        } else {
            pattern.push_back(matchCase ? find[i] : AsciiLower(find[i]));
        }
    }
    return pattern;
}

// How many characters from `at` make one line break: the "\n" token, or a line feed after at
// most two carriage returns; 0 when there is none.
size_t LineBreakLength(std::u16string_view text, size_t at) {
    if (text.substr(at, 2) == u"\\n")
        return 2;
    size_t returns = 0;
    while (returns < 2 && at + returns < text.size() && text[at + returns] == u'\r')
        ++returns;
    return at + returns < text.size() && text[at + returns] == u'\n' ? returns + 1 : 0;
}

}  // namespace

std::string TblReplaceAllResult::Summary() const {
    return std::to_string(Replacements) + " replacements in " + std::to_string(Entries) + " entries";
}

TblReplacer::TblReplacer(TblReplaceQuery query)
    : query_(std::move(query)), pattern_(Pattern(query_.Find, query_.MatchCase)) {}

std::u16string TblReplacer::Text(const TblDocument& document, size_t index) const {
    return query_.InKeys ? document.Key(index) : document.Value(index);
}

size_t TblReplacer::MatchLengthAt(std::u16string_view text, size_t at) const {
    size_t end = at;
    for (char16_t unit : pattern_) {
        if (unit == u'\n') {
            const size_t lineBreak = LineBreakLength(text, end);
            if (lineBreak == 0)
                return NoMatch;
            end += lineBreak;
        } else if (end < text.size() && (query_.MatchCase ? text[end] : AsciiLower(text[end])) == unit) {
            ++end;
        } else {
            return NoMatch;
        }
    }
    return end - at;
}

size_t TblReplacer::Find(std::u16string_view text, size_t from, size_t& length) const {
    if (pattern_.empty())
        return NoMatch;
    if (query_.WholeValue)
        return from == 0 && (length = MatchLengthAt(text, 0)) == text.size() ? 0 : NoMatch;
    // Only where the first character could start a match is the whole match tried.
    const char16_t first = pattern_.front();
    for (size_t at = from; at < text.size(); ++at) {
        const char16_t c = query_.MatchCase ? text[at] : AsciiLower(text[at]);
        const bool canStart = first == u'\n' ? c == u'\\' || c == u'\r' || c == u'\n' : c == first;
        if (canStart && (length = MatchLengthAt(text, at)) != NoMatch)
            return at;
    }
    return NoMatch;
}

bool TblReplacer::FindNext(const TblDocument& document, TblTextPlace from, TblMatch& match) const {
    const size_t count = document.Count();
    if (count == 0)
        return false;
    if (from.Index >= count)
        from = {};
    // The first entry is searched again, whole, only when its search started past its start.
    const size_t texts = count + (from.Position > 0 ? 1 : 0);
    for (size_t step = 0; step < texts; ++step) {
        const size_t index = (from.Index + step) % count;
        size_t length = 0;
        const size_t position = Find(Text(document, index), step == 0 ? from.Position : 0, length);
        if (position != NoMatch) {
            match = {{index, position}, length};
            return true;
        }
    }
    return false;
}

bool TblReplacer::MatchesAt(const TblDocument& document, TblTextPlace place) const {
    size_t length = 0;
    return place.Index < document.Count() && Find(Text(document, place.Index), place.Position, length) == place.Position;
}

size_t TblReplacer::Replaced(std::u16string_view text, std::u16string& result) const {
    size_t count = 0;
    size_t copied = 0;
    size_t length = 0;
    for (size_t at = Find(text, 0, length); at != NoMatch; at = Find(text, copied, length)) {
        if (count == 0)
            result.reserve(text.size() + query_.Replacement.size());
        result.append(text.substr(copied, at - copied)).append(query_.Replacement);
        copied = at + length;
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
    if (place.Index >= document.Count())
        return {};
    std::u16string text = Text(document, place.Index);
    size_t length = 0;
    if (Find(text, place.Position, length) != place.Position)
        return {};
    text.replace(place.Position, length, query_.Replacement);
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
