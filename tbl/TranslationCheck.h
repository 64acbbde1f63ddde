#pragma once

// A translator's check of a table against the one it was translated from (the reference):
// entries are matched by key (KeyMatch.h), and each matched pair must take the same format
// arguments, hold the same colour codes and the same number of line feeds. Colour codes count
// as the game's (U+00FF "c" and a code character): the tables are to be read without "Parse On
// Load", which would hold them as the editor's tokens.

#include "KeyMatch.h"
#include "TblDocument.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A format placeholder of a value, as the game fills it in.
struct Placeholder {
    enum Kind { Printf, Positional } What;
    std::string_view Text;     // as written: "%d", "%+d", "%2d", "%s", "%0", "%+1"
    size_t Number = 0;         // Positional: the argument it names, %0 the first
};

// The placeholders of `value`, read from left to right:
//   %%                            a literal percent sign
//   % [+] [digits] d|i|u|x|s|c    a printf placeholder, filled in order
//   % [+] digits                  a positional placeholder, naming an argument by its number
//   any other %                   no placeholder
// `value` is UTF-8 (every character involved is ASCII); the views point into it.
std::vector<Placeholder> FindPlaceholders(std::string_view value);

// Whether two values' placeholders take the same arguments: both printf only (no placeholder
// at all counts as printf only), with the same texts in the same order, for printf fills them
// in order; one positional only, its numbers exactly 0 to n-1 where n is the other's count of
// printf placeholders; or both positional only, with the same numbers. A positional value's
// numbers are a set: naming an argument twice shows it twice and is no mistake. A value that
// mixes both kinds cannot be told apart from a mistake, so it takes the same arguments only as
// a value with the same placeholders in the same order.
bool SameArguments(std::string_view first, std::string_view second);

struct TranslationFinding {
    enum Kind {
        Missing,       // an entry of the reference that the table lacks
        Extra,         // an entry of the table that the reference lacks
        Placeholders,  // the placeholders take other arguments (SameArguments)
        Colours,       // another multiset of colour codes
        Lines,         // another number of line feeds
    } What;
    size_t Index;           // in the table; Unmatched for Missing
    size_t ReferenceIndex;  // in the reference; Unmatched for Extra
    std::string Detail;     // what differs, one line of UTF-8: "%s %d in the reference, %d %s here"

    bool operator==(const TranslationFinding&) const = default;
};

// "missing", "extra", "placeholders", "colours" or "lines".
const char* FindingKindName(TranslationFinding::Kind kind);

// For each entry of the table, the entry of the reference whose key it matches, or Unmatched.
std::vector<size_t> MatchEntries(const TblDocument& table, const TblDocument& reference);

// The placeholder, colour and line findings of entry `index` of the table against entry
// `referenceIndex` of the reference, which it matches.
std::vector<TranslationFinding> CheckEntry(const TblDocument& table, size_t index, const TblDocument& reference,
                                           size_t referenceIndex);

// The findings in the table's order, an entry's in the order of the kinds, then the missing
// entries in the reference's order. Empty when the table passes.
std::vector<TranslationFinding> CheckTranslation(const TblDocument& table, const TblDocument& reference);
