#include "TblCheck.h"
#include "TblDocument.h"

#include "TblTestTables.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::u16string>;

std::vector<std::filesystem::path> RealTables() {
    std::vector<std::filesystem::path> tables;
    for (const auto& e : std::filesystem::directory_iterator(RealDataDir() / "tbl"))
        if (e.path().extension() == ".tbl")
            tables.push_back(e.path());
    std::sort(tables.begin(), tables.end());
    return tables;
}

// A loaded table and its entries as loaded.
struct Table {
    TblDocument Document;
    TblHeader Header;
    Strings Keys, Values;
};

Table Load(const std::filesystem::path& path, bool parseOnLoad) {
    Table t;
    const Result loaded = t.Document.Load(path.u16string(), parseOnLoad);
    EXPECT_TRUE(loaded) << path << ": " << loaded.Message;
    t.Header = t.Document.Header;
    t.Keys = KeysOf(t.Document);
    t.Values = ValuesOf(t.Document);
    return t;
}

// Values, as the file holds them, whose text the conversion rewrites by design: a "\n" token,
// a carriage return, a token (all of which need a backslash or a carriage return).
bool ConversionRewrites(const std::u16string& value) {
    return value.find(u'\\') != std::u16string::npos || value.find(u'\r') != std::u16string::npos;
}

}  // namespace

TEST(TblRealData, EveryTableLoadsAndPassesTheStructuralCheck) {
    SKIP_WITHOUT_REAL_DATA();
    for (const auto& path : RealTables()) {
        const auto bytes = ReadBytes(path);
        SaveFuzzSeed("TblLoadFuzz", "real-" + path.stem().string(), bytes);
        const Table t = Load(path, true);
        EXPECT_EQ(t.Keys.size(), t.Header.ElementCount) << path;
        const TblCheckResult check = CheckTbl(bytes);
        if (path.filename() == "ap_ENG_patchstring.tbl") {
            // Its last key offset points at the zero byte before "X", the key it was hashed as.
            EXPECT_EQ(check.Problems,
                      std::vector<std::string>{"entry 1038: the node's hash is 88, but the key's home slot is 0"});
            continue;
        }
        EXPECT_FALSE(check.Damaged()) << path << ": " << (check.Problems.empty() ? "" : check.Problems[0]);
    }
}

TEST(TblRealData, ColourCodesOfTheEnglishTableBecomeTokens) {
    SKIP_WITHOUT_REAL_DATA();
    const Table plain = Load(RealDataDir() / "tbl" / "vf_ENG_string.tbl", false);
    const Table parsed = Load(RealDataDir() / "tbl" / "vf_ENG_string.tbl", true);
    size_t codes = 0, tokens = 0;
    for (size_t i = 0; i < plain.Values.size(); ++i) {
        for (size_t at = plain.Values[i].find(u"\u00FFc"); at != std::u16string::npos;
             at = plain.Values[i].find(u"\u00FFc", at + 1))
            ++codes;
        for (size_t at = parsed.Values[i].find(u';'); at != std::u16string::npos; at = parsed.Values[i].find(u';', at + 1))
            ++tokens;
    }
    EXPECT_EQ(codes, 51u);
    EXPECT_GE(tokens, 51u);
}

TEST(TblRealData, DuplicateKeysOfThePatchTableAreCounted) {
    SKIP_WITHOUT_REAL_DATA();
    const TblCheckResult check = CheckTbl(ReadBytes(RealDataDir() / "tbl" / "db_ENG_patchstring.tbl"));
    EXPECT_EQ(check.DuplicateKeys, 117u);
    EXPECT_EQ(check.Header.HashTableSize, 1211u);
    EXPECT_EQ(check.UnusedNodes, 2u);
}

TEST(TblRealData, EveryTableRecompilesToTheSameEntries) {
    SKIP_WITHOUT_REAL_DATA();
    ScratchDir dir;
    for (const auto& path : RealTables()) {
        for (bool parseOnLoad : {false, true}) {
            Table t = Load(path, parseOnLoad);
            const Strings loadedValues = t.Values;
            const Strings fileValues = Load(path, false).Values;
            const std::u16string out = (dir / "out.tbl").u16string();
            ASSERT_TRUE(t.Document.Compile(out, parseOnLoad, {})) << path;
            const Table back = Load(dir / "out.tbl", parseOnLoad);
            EXPECT_EQ(back.Keys, KeysOf(t.Document)) << path;
            EXPECT_EQ(back.Values, ValuesOf(t.Document)) << path;
            for (size_t i = 0; i < loadedValues.size(); ++i) {
                if (ConversionRewrites(fileValues[i]))
                    continue;
                ASSERT_EQ(back.Values[i], loadedValues[i]) << path << " entry " << i;
            }
        }
    }
}

TEST(TblRealData, TablesOfTheGamesOwnLayoutRecompileByteForByte) {
    SKIP_WITHOUT_REAL_DATA();
    ScratchDir dir;
    size_t compared = 0;
    for (const auto& path : RealTables()) {
        const auto original = ReadBytes(path);
        const Table probe = Load(path, false);
        if (probe.Header.Version != 0 || probe.Header.HashTableSize != probe.Header.ElementCount)
            continue;
        if (std::any_of(probe.Values.begin(), probe.Values.end(), ConversionRewrites))
            continue;
        for (bool parseOnLoad : {false, true}) {
            Table t = Load(path, parseOnLoad);
            const std::u16string out = (dir / "same.tbl").u16string();
            ASSERT_TRUE(t.Document.Compile(out, parseOnLoad, {})) << path;
            EXPECT_EQ(ReadBytes(dir / "same.tbl"), original) << path << (parseOnLoad ? " with" : " without")
                                                             << " Parse On Load";
            ++compared;
        }
    }
    EXPECT_GE(compared, 4u);
}
