#include "TranslationCheck.h"

#include "ColourCodes.h"
#include "Utf.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <iterator>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsPrintfConversion(char c) { return std::string_view("diuxsc").find(c) != std::string_view::npos; }

// The colour prefix U+00FF "c" in UTF-8.
constexpr std::string_view ColourPrefix = "\xC3\xBF" "c";

// The length of the UTF-8 character that `lead` starts (1 for a byte that starts none).
size_t CharacterLength(unsigned char lead) { return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1; }

// Numbers past this say the same as it: no value has that many arguments.
constexpr size_t LargestNumber = 999'999;

// Appends the placeholders of `value` (the reading FindPlaceholders describes).
void AppendPlaceholders(std::string_view value, std::vector<Placeholder>& placeholders) {
    for (size_t i = value.find('%'); i != std::string_view::npos; i = value.find('%', i)) {
        const size_t start = i++;
        if (i < value.size() && value[i] == '%') {  // a literal percent sign
            ++i;
            continue;
        }
        if (i < value.size() && value[i] == '+')
            ++i;
        const size_t digitsStart = i;
        size_t number = 0;
        for (; i < value.size() && IsDigit(value[i]); ++i)
            number = std::min(number * 10 + (value[i] - '0'), LargestNumber);
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
}

enum class ArgumentStyle { Printf, Positional, Mixed };

// What the check compares of one value. Its lists keep their room from one value to the next,
// so that checking a whole table allocates little.
struct ValueFacts {
    std::vector<Placeholder> Placeholders;
    ArgumentStyle Style = ArgumentStyle::Printf;
    std::vector<size_t> Numbers;                // of the positional placeholders, ascending, each once
    std::vector<uint32_t> Colours;              // the codes' characters (ColourCode), sorted
    size_t LineFeeds = 0;
};

// A colour code's character after U+00FF "c", its UTF-8 bytes packed from the top so that codes
// sort as their bytes do; 0 for a prefix that ends the value.
uint32_t ColourCode(std::string_view value, size_t code) {
    if (code < value.size() && static_cast<unsigned char>(value[code]) < 0x80)  // the game's own codes
        return static_cast<uint32_t>(static_cast<unsigned char>(value[code])) << 24;
    const size_t length = code < value.size() ? std::min(CharacterLength(value[code]), value.size() - code) : 0;
    uint32_t packed = 0;
    for (size_t i = 0; i < 4; ++i)
        packed = packed << 8 | (i < length ? static_cast<unsigned char>(value[code + i]) : 0u);
    return packed;
}

void Gather(std::string_view value, ValueFacts& facts) {
    facts.Placeholders.clear();
    AppendPlaceholders(value, facts.Placeholders);
    facts.Numbers.clear();
    for (const Placeholder& p : facts.Placeholders)
        if (p.What == Placeholder::Positional)
            facts.Numbers.push_back(p.Number);
    facts.Style = facts.Numbers.empty()                             ? ArgumentStyle::Printf
                  : facts.Numbers.size() == facts.Placeholders.size() ? ArgumentStyle::Positional
                                                                      : ArgumentStyle::Mixed;
    std::ranges::sort(facts.Numbers);
    facts.Numbers.erase(std::unique(facts.Numbers.begin(), facts.Numbers.end()), facts.Numbers.end());
    facts.Colours.clear();
    for (size_t at = value.find(ColourPrefix); at != std::string_view::npos; at = value.find(ColourPrefix, at + ColourPrefix.size())) {
        facts.Colours.push_back(ColourCode(value, at + ColourPrefix.size()));
    }
    std::ranges::sort(facts.Colours);
    // Line feeds are few: going from one to the next is quicker than looking at every byte.
    facts.LineFeeds = 0;
    for (size_t at = value.find('\n'); at != std::string_view::npos; at = value.find('\n', at + 1))
        ++facts.LineFeeds;
}

bool SameTexts(const std::vector<Placeholder>& first, const std::vector<Placeholder>& second) {
    return std::ranges::equal(first, second, {}, &Placeholder::Text, &Placeholder::Text);
}

// Whether the positional numbers are exactly the arguments 0 to count - 1.
bool NamesFirstArguments(const std::vector<size_t>& numbers, size_t count) {
    return numbers.size() == count && (count == 0 || numbers.back() == count - 1);
}

bool SameArgumentsOf(const ValueFacts& first, const ValueFacts& second) {
    if (first.Style == ArgumentStyle::Mixed || second.Style == ArgumentStyle::Mixed)
        return SameTexts(first.Placeholders, second.Placeholders);
    if (first.Style == second.Style)
        return first.Style == ArgumentStyle::Printf ? SameTexts(first.Placeholders, second.Placeholders)
                                                    : first.Numbers == second.Numbers;
    return first.Style == ArgumentStyle::Positional ? NamesFirstArguments(first.Numbers, second.Placeholders.size())
                                                    : NamesFirstArguments(second.Numbers, first.Placeholders.size());
}

// "%s %d", or "none".
std::string PlaceholderList(const std::vector<Placeholder>& placeholders) {
    if (placeholders.empty())
        return "none";
    std::string list;
    for (const Placeholder& p : placeholders) {
        if (!list.empty())
            list += ' ';
        list += p.Text;
    }
    return list;
}

// "\red; \gold;": each code as the editor's token where it has one, else as it is, but a
// control character after the U+00FF "c" as "U+000A", so that the list stays on one line.
std::string CodeList(const std::vector<uint32_t>& codes) {
    std::string list;
    for (const uint32_t code : codes) {
        if (!list.empty())
            list += ' ';
        std::string bytes(ColourPrefix);
        for (int shift = 24; shift >= 0 && (code >> shift & 0xFF) != 0; shift -= 8)
            bytes += static_cast<char>(code >> shift & 0xFF);
        const std::u16string text = Utf8ToUtf16(bytes);
        if (text.size() == 3 && text[2] < u' ') {
            char name[8];
            std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(text[2]));
            list += std::string(ColourPrefix) + name;
        } else {
            list += Utf16ToUtf8(ConvertColourCodes(text, ToTokens));
        }
    }
    return list;
}

// "\red; only in the reference, \blue; only here" for two different sorted code lists.
std::string ColourDifference(const std::vector<uint32_t>& reference, const std::vector<uint32_t>& here) {
    std::vector<uint32_t> referenceOnly, hereOnly;
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

// The findings of entry `index` against its reference entry, whose facts are gathered.
void Compare(const ValueFacts& here, const ValueFacts& reference, size_t index, size_t referenceIndex,
             std::vector<TranslationFinding>& findings) {
    if (!SameArgumentsOf(here, reference))
        findings.push_back({TranslationFinding::Placeholders, index, referenceIndex,
                            PlaceholderList(reference.Placeholders) + " in the reference, " +
                                PlaceholderList(here.Placeholders) + " here"});
    if (here.Colours != reference.Colours)
        findings.push_back({TranslationFinding::Colours, index, referenceIndex,
                            ColourDifference(reference.Colours, here.Colours)});
    if (here.LineFeeds != reference.LineFeeds)
        findings.push_back({TranslationFinding::Lines, index, referenceIndex,
                            LineFeeds(reference.LineFeeds) + " in the reference, " + std::to_string(here.LineFeeds) +
                                " here"});
}

// A table's keys as UTF-8 to match by: views of the file's bytes where they are already so,
// of converted copies elsewhere.
struct TableKeys {
    std::deque<std::string> Converted;  // never moves a key once made
    std::vector<std::string_view> Views;

    explicit TableKeys(const TblDocument& table) {
        Views.reserve(table.Count());
        std::string scratch;
        for (size_t i = 0; i < table.Count(); ++i) {
            std::string_view key = table.KeyUtf8(i, scratch);
            if (!scratch.empty() && key.data() == scratch.data()) {
                Converted.push_back(std::move(scratch));
                scratch.clear();
                key = Converted.back();
            }
            Views.push_back(key);
        }
    }
};

}  // namespace

std::vector<Placeholder> FindPlaceholders(std::string_view value) {
    std::vector<Placeholder> placeholders;
    AppendPlaceholders(value, placeholders);
    return placeholders;
}

bool SameArguments(std::string_view first, std::string_view second) {
    ValueFacts firstFacts, secondFacts;
    Gather(first, firstFacts);
    Gather(second, secondFacts);
    return SameArgumentsOf(firstFacts, secondFacts);
}

const char* FindingKindName(TranslationFinding::Kind kind) {
    static const char* const names[] = {"missing", "extra", "placeholders", "colours", "lines"};
    return names[kind];
}

std::vector<size_t> MatchEntries(const TblDocument& table, const TblDocument& reference) {
    const TableKeys keys(table), referenceKeys(reference);
    return MatchByKeyAndOccurrence<std::string_view>(keys.Views, referenceKeys.Views);
}

std::vector<TranslationFinding> CheckEntry(const TblDocument& table, size_t index, const TblDocument& reference,
                                           size_t referenceIndex) {
    ValueFacts here, there;
    std::string scratch, referenceScratch;  // the facts point into them
    Gather(table.ValueUtf8(index, scratch), here);
    Gather(reference.ValueUtf8(referenceIndex, referenceScratch), there);
    std::vector<TranslationFinding> findings;
    Compare(here, there, index, referenceIndex, findings);
    return findings;
}

std::vector<TranslationFinding> CheckTranslation(const TblDocument& table, const TblDocument& reference) {
    const std::vector<size_t> match = MatchEntries(table, reference);
    std::vector<bool> referenceMatched(reference.Count(), false);
    std::vector<TranslationFinding> findings;
    ValueFacts here, there;
    std::string scratch, referenceScratch;
    for (size_t i = 0; i < table.Count(); ++i) {
        const size_t j = match[i];
        if (j == Unmatched) {
            findings.push_back({TranslationFinding::Extra, i, Unmatched, "not in the reference"});
            continue;
        }
        referenceMatched[j] = true;
        Gather(table.ValueUtf8(i, scratch), here);
        Gather(reference.ValueUtf8(j, referenceScratch), there);
        Compare(here, there, i, j, findings);
    }
    for (size_t j = 0; j < reference.Count(); ++j)
        if (!referenceMatched[j])
            findings.push_back({TranslationFinding::Missing, Unmatched, j, "entry " + std::to_string(j) + " of the reference"});
    return findings;
}
