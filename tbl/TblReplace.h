#pragma once

#include "TblDocument.h"

#include <cstddef>
#include <string>

// What Find and Replace looks for and puts instead, written as the value editor shows values:
// colour codes as tokens such as "\red;" (with "Parse On Load"), a line break as "\n". They
// are matched as Search matches, character for character against the keys or values as the
// document holds them, case ignored for the letters A to Z only unless MatchCase, with one
// addition: a "\n" of the find text matches a line break however the value holds it, as the
// "\n" typed in the editor or as a line feed after at most two carriage returns (what a file
// and the Enter key bring), for the game reads all of these as one line break. The replacement
// goes in as written, and its "\n" becomes a line feed on saving, as a typed one does.
struct TblReplaceQuery {
    std::u16string Find;
    std::u16string Replacement;
    bool InKeys = false;      // keys, or values
    bool MatchCase = false;
    bool WholeValue = false;  // only a key or value that is the find text whole
};

// A place in the searched texts: entry Index, character Position of its key or value.
struct TblTextPlace {
    size_t Index = 0;
    size_t Position = 0;

    bool operator==(const TblTextPlace&) const = default;
};

// A match: where it starts and how many characters of the held text it takes.
struct TblMatch {
    TblTextPlace Place;
    size_t Length = 0;
};

// What Replace All did: "N replacements in M entries", or why it changed nothing.
struct TblReplaceAllResult {
    size_t Replacements = 0;
    size_t Entries = 0;
    std::string Refusal;  // UTF-8; empty when the table took the replacements

    std::string Summary() const;
};

// One query, its find text prepared once for the many texts it is matched against. An empty
// find text matches nothing.
class TblReplacer {
public:
    explicit TblReplacer(TblReplaceQuery query);

    const TblReplaceQuery& Query() const { return query_; }
    // The key or value the query looks in.
    std::u16string Text(const TblDocument& document, size_t index) const;
    // The first match from `from` on: in that entry's text from its Position, then in the
    // entries after it, then, going on at the first entry, in those up to and including it.
    // False when the table holds none.
    bool FindNext(const TblDocument& document, TblTextPlace from, TblMatch& match) const;
    // Whether a match still starts at `place`.
    bool MatchesAt(const TblDocument& document, TblTextPlace place) const;
    // Replaces the match at `place` as one undo step, "Replace". Refuses, changing nothing,
    // an entry the .tbl format could not hold (TblEntryProblem); returns why, or empty.
    std::string ReplaceAt(TblDocument& document, TblTextPlace place) const;
    // Replaces every match as one undo step, "Replace All", that shows entry `focus`. Every
    // changed entry is made and checked first: if one would not fit the format, nothing changes.
    TblReplaceAllResult ReplaceAll(TblDocument& document, size_t focus) const;

private:
    // The length of the match that starts at `at`, or npos.
    size_t MatchLengthAt(std::u16string_view text, size_t at) const;
    // Where the next match in `text` starts at or after `from`, and its `length`; npos when
    // there is none.
    size_t Find(std::u16string_view text, size_t from, size_t& length) const;
    // `text` with every match replaced, and how many there were.
    size_t Replaced(std::u16string_view text, std::u16string& result) const;
    // The entry at `index` with the searched text set to `text`, and why the format could not
    // hold it (empty when it can).
    TblEntry Changed(const TblDocument& document, size_t index, std::u16string text, std::string& problem) const;

    TblReplaceQuery query_;
    // The find text, lower-cased when case is ignored, each "\n" a line feed: the one character
    // that stands for a line break (a single-line field cannot hold a line feed).
    std::u16string pattern_;
};
