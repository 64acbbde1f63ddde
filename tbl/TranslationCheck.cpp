#include "TranslationCheck.h"

#include "ColourCodes.h"
#include "Utf.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsPrintfConversion(char16_t c) { return std::u16string_view(u"diuxsc").find(c) != std::u16string_view::npos; }

// Numbers past this say the same as it: no value has that many arguments.
constexpr size_t LargestNumber = 999'999;

enum class ArgumentStyle { Printf, Positional, Mixed };

ArgumentStyle StyleOf(const std::vector<Placeholder>& placeholders) {
    const auto positional = std::ranges::count(placeholders, Placeholder::Positional, &Placeholder::What);
    if (positional == 0)
        return ArgumentStyle::Printf;
    return static_cast<size_t>(positional) == placeholders.size() ? ArgumentStyle::Positional : ArgumentStyle::Mixed;
}

// The numbers of positional placeholders, ascending, each once.
std::vector<size_t> NumbersOf(const std::vector<Placeholder>& placeholders) {
    std::vector<size_t> numbers;
    for (const Placeholder& p : placeholders)
        numbers.push_back(p.Number);
    std::ranges::sort(numbers);
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

bool SameTexts(const std::vector<Placeholder>& first, const std::vector<Placeholder>& second) {
    return std::ranges::equal(first, second, {}, &Placeholder::Text, &Placeholder::Text);
}

// Whether the positional placeholders name exactly the arguments 0 to count - 1.
bool NamesFirstArguments(const std::vector<Placeholder>& positional, size_t count) {
    const std::vector<size_t> numbers = NumbersOf(positional);
    return numbers.size() == count && (count == 0 || numbers.back() == count - 1);
}

// "%s %d", or "none".
std::string PlaceholderList(const std::vector<Placeholder>& placeholders) {
    if (placeholders.empty())
        return "none";
    std::string list;
    for (const Placeholder& p : placeholders) {
        if (!list.empty())
            list += ' ';
        list += Utf16ToUtf8(p.Text);
    }
    return list;
}

// The colour codes of a value, sorted: U+00FF "c" and the character after it (none at the end).
std::vector<std::u16string_view> ColourCodesOf(std::u16string_view value) {
    std::vector<std::u16string_view> codes;
    for (size_t at = value.find(u"\u00FFc"); at != std::u16string_view::npos; at = value.find(u"\u00FFc", at + 2))
        codes.push_back(value.substr(at, 3));
    std::ranges::sort(codes);
    return codes;
}

// "\red; \gold;": each code as the editor's token where it has one, else as it is, but a
// control character after the U+00FF "c" as "U+000A", so that the list stays on one line.
std::string CodeList(const std::vector<std::u16string_view>& codes) {
    std::string list;
    for (const std::u16string_view code : codes) {
        if (!list.empty())
            list += ' ';
        if (code.size() == 3 && code[2] < u' ') {
            char name[8];
            std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(code[2]));
            list += Utf16ToUtf8(code.substr(0, 2)) + name;
        } else {
            list += Utf16ToUtf8(ConvertColourCodes(code, ToTokens));
        }
    }
    return list;
}

// "" when the sorted code lists are equal, else "\red; only in the reference, \blue; only here".
std::string ColourDifference(const std::vector<std::u16string_view>& reference,
                             const std::vector<std::u16string_view>& here) {
    std::vector<std::u16string_view> referenceOnly, hereOnly;
    std::ranges::set_difference(reference, here, std::back_inserter(referenceOnly));
    std::ranges::set_difference(here, reference, std::back_inserter(hereOnly));
    std::string detail;
    if (!referenceOnly.empty())
        detail = CodeList(referenceOnly) + " only in the reference";
    if (!hereOnly.empty())
        detail += (detail.empty() ? "" : ", ") + CodeList(hereOnly) + " only here";
    return detail;
}

std::string LineFeeds(size_t count) { return std::to_string(count) + (count == 1 ? " line feed" : " line feeds"); }

// The findings of entry `index` against its reference entry.
void CompareEntries(const TblEntry& entry, const TblEntry& referenceEntry, size_t index, size_t referenceIndex,
                    std::vector<TranslationFinding>& findings) {
    const std::u16string_view value = entry.Value, referenceValue = referenceEntry.Value;
    const std::vector<Placeholder> placeholders = FindPlaceholders(value);
    const std::vector<Placeholder> referencePlaceholders = FindPlaceholders(referenceValue);
    if (!SameArguments(placeholders, referencePlaceholders))
        findings.push_back({TranslationFinding::Placeholders, index, referenceIndex,
                            PlaceholderList(referencePlaceholders) + " in the reference, " +
                                PlaceholderList(placeholders) + " here"});
    if (std::string colours = ColourDifference(ColourCodesOf(referenceValue), ColourCodesOf(value)); !colours.empty())
        findings.push_back({TranslationFinding::Colours, index, referenceIndex, std::move(colours)});
    const size_t lines = std::ranges::count(value, u'\n'), referenceLines = std::ranges::count(referenceValue, u'\n');
    if (lines != referenceLines)
        findings.push_back({TranslationFinding::Lines, index, referenceIndex,
                            LineFeeds(referenceLines) + " in the reference, " + std::to_string(lines) + " here"});
}

}  // namespace

std::vector<Placeholder> FindPlaceholders(std::u16string_view value) {
    std::vector<Placeholder> placeholders;
    size_t i = 0;
    while (i < value.size()) {
        if (value[i] != u'%') {
            ++i;
            continue;
        }
        const size_t start = i++;
        if (i < value.size() && value[i] == u'%') {  // a literal percent sign
            ++i;
            continue;
        }
        if (i < value.size() && value[i] == u'+')
            ++i;
        const size_t digitsStart = i;
        size_t number = 0;
        for (; i < value.size() && IsDigit(value[i]); ++i)
            number = std::min(number * 10 + (value[i] - u'0'), LargestNumber);
        const bool hasDigits = i > digitsStart;
        if (i < value.size() && IsPrintfConversion(value[i])) {
            ++i;
            placeholders.push_back({Placeholder::Printf, value.substr(start, i - start)});
        } else if (hasDigits) {
            placeholders.push_back({Placeholder::Positional, value.substr(start, i - start), number});
        } else {
            i = start + 1;  // no placeholder: the characters after the % are read again as text
        }
    }
    return placeholders;
}

bool SameArguments(const std::vector<Placeholder>& first, const std::vector<Placeholder>& second) {
    const ArgumentStyle firstStyle = StyleOf(first), secondStyle = StyleOf(second);
    if (firstStyle == ArgumentStyle::Mixed || secondStyle == ArgumentStyle::Mixed)
        return SameTexts(first, second);
    if (firstStyle == secondStyle)
        return firstStyle == ArgumentStyle::Printf ? SameTexts(first, second) : NumbersOf(first) == NumbersOf(second);
    return firstStyle == ArgumentStyle::Positional ? NamesFirstArguments(first, second.size())
                                                   : NamesFirstArguments(second, first.size());
}

std::vector<TranslationFinding> CheckTranslation(const std::vector<TblEntry>& table,
                                                 const std::vector<TblEntry>& reference) {
    const std::vector<size_t> match = MatchByKeyAndOccurrence(table, reference);
    std::vector<bool> referenceMatched(reference.size(), false);
    std::vector<TranslationFinding> findings;
    for (size_t i = 0; i < table.size(); ++i) {
        const size_t j = match[i];
        if (j == Unmatched) {
            findings.push_back({TranslationFinding::Extra, i, Unmatched, "not in the reference"});
            continue;
        }
        referenceMatched[j] = true;
        CompareEntries(table[i], reference[j], i, j, findings);
    }
    for (size_t j = 0; j < reference.size(); ++j)
        if (!referenceMatched[j])
            findings.push_back({TranslationFinding::Missing, Unmatched, j, "entry " + std::to_string(j) + " of the reference"});
    return findings;
}
