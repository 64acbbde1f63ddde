#include "TblDocument.h"
#include "TblHash.h"

#include "TblTestTables.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::u16string>;

uint16_t U16At(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
    return U16At(b, at) | (static_cast<uint32_t>(U16At(b, at + 2)) << 16);
}

struct Built {
    bool Ok = false;
    TblHeader Header;
    std::vector<uint8_t> Bytes;
    std::string Error;
};

Built Build(const Strings& keys, const Strings& values) {
    Built b;
    TblBuilt built;
    b.Ok = TableOf(keys, values).Build(TblValueForm::Exact, built, b.Error);
    b.Header = built.Header;
    b.Bytes.assign(built.Bytes.data(), built.Bytes.data() + built.Bytes.size());
    return b;
}

// Node fields at slot `slot` of a compiled table of n entries.
struct NodeView {
    const std::vector<uint8_t>& Bytes;
    size_t At;
    uint8_t Used() const { return Bytes[At]; }
    uint16_t ElementIndex() const { return U16At(Bytes, At + 1); }
    uint32_t Hash() const { return U32At(Bytes, At + 3); }
    uint32_t KeyOffset() const { return U32At(Bytes, At + 7); }
    uint32_t ValueOffset() const { return U32At(Bytes, At + 11); }
    uint16_t ValueLength() const { return U16At(Bytes, At + 15); }
};

NodeView Node(const std::vector<uint8_t>& bytes, size_t n, size_t slot) { return {bytes, 21 + 2 * n + 17 * slot}; }

struct Messages {
    std::vector<std::string> Texts, Captions, Progress;
    TblProgress Report() {
        return [this](const std::string& t) { Progress.push_back(t); };
    }
    // Keeps a failure's message and caption; whether the operation succeeded.
    bool Keep(const Result& result) {
        if (!result) {
            Texts.push_back(result.Message);
            Captions.push_back(result.Caption);
        }
        return result.Ok;
    }
};

}  // namespace

TEST(TblCompilerLayout, TwoSingleLetterKeysLandInSlotsOneAndZero) {
    const Built b = Build({u"a", u"b"}, {u"x", u"y"});
    ASSERT_TRUE(b.Ok) << b.Error;
    SaveFuzzSeed("TblLoadFuzz", "compiled-a-b", b.Bytes);
    EXPECT_EQ(U16At(b.Bytes, 2), 2u);      // element count
    EXPECT_EQ(U32At(b.Bytes, 4), 2u);      // hash table size
    EXPECT_EQ(b.Bytes[8], 0u);             // version
    EXPECT_EQ(U32At(b.Bytes, 9), 59u);     // text start = 21 + 19 * 2
    EXPECT_EQ(U32At(b.Bytes, 13), 1u);     // max tries: no probing
    EXPECT_EQ(U32At(b.Bytes, 17), b.Bytes.size());
    EXPECT_EQ(U16At(b.Bytes, 21), 1u);     // a's slot
    EXPECT_EQ(U16At(b.Bytes, 23), 0u);     // b's slot

    const NodeView a = Node(b.Bytes, 2, 1), bNode = Node(b.Bytes, 2, 0);
    EXPECT_EQ(a.Used(), 1u);
    EXPECT_EQ(a.ElementIndex(), 0u);
    EXPECT_EQ(a.Hash(), 1u);
    EXPECT_EQ(a.KeyOffset(), 59u);
    EXPECT_EQ(a.ValueOffset(), 61u);
    EXPECT_EQ(a.ValueLength(), 2u);
    EXPECT_EQ(bNode.ElementIndex(), 1u);
    EXPECT_EQ(bNode.Hash(), 0u);
    EXPECT_EQ(bNode.KeyOffset(), 63u);
    EXPECT_EQ(bNode.ValueOffset(), 65u);
    const std::string text(b.Bytes.begin() + 59, b.Bytes.end());
    EXPECT_EQ(text, std::string("a\0x\0b\0y\0", 8));
}

TEST(TblCompilerLayout, EmptyTableIsTheBareHeader) {
    const Built b = Build({}, {});
    ASSERT_TRUE(b.Ok) << b.Error;
    ASSERT_EQ(b.Bytes.size(), 21u);
    EXPECT_EQ(U16At(b.Bytes, 0), 0xFFFFu);
    EXPECT_EQ(U32At(b.Bytes, 9), 21u);
    EXPECT_EQ(U32At(b.Bytes, 13), 1u);
    EXPECT_EQ(U32At(b.Bytes, 17), 21u);
}

TEST(TblCompilerLayout, DuplicateKeysTakeNextSlotAndRaiseMaxTries) {
    // "b" hashes to slot 98 % 3 = 2: the second "b" wraps round to slot 0.
    const Built b = Build({u"b", u"b", u"c"}, {u"1", u"2", u"3"});
    ASSERT_TRUE(b.Ok) << b.Error;
    EXPECT_EQ(U16At(b.Bytes, 21), 2u);
    EXPECT_EQ(U16At(b.Bytes, 23), 0u);
    // "c" is 99 % 3 = 0, taken: it moves on to slot 1.
    EXPECT_EQ(U16At(b.Bytes, 25), 1u);
    EXPECT_EQ(b.Header.MaxTries, 2u);
    EXPECT_EQ(Node(b.Bytes, 3, 0).Hash(), 2u);  // the node keeps the home slot, not its own
    EXPECT_EQ(Node(b.Bytes, 3, 0).ElementIndex(), 1u);
}

TEST(TblCompilerLayout, CrcCoversOnlyTheTextArea) {
    const Built b = Build({u"key", u"other"}, {u"value", u"more"});
    ASSERT_TRUE(b.Ok) << b.Error;
    const size_t textStart = U32At(b.Bytes, 9);
    EXPECT_EQ(U16At(b.Bytes, 0), TblCrc16(b.Bytes.data() + textStart, b.Bytes.size() - textStart));
    EXPECT_NE(U16At(b.Bytes, 0), TblCrc16(b.Bytes.data() + 2, b.Bytes.size() - 2));
}

TEST(TblCompilerLayout, SameTableCompilesToIdenticalBytes) {
    const Strings keys = {u"k1", u"k2", u"k1"}, values = {u"v", u"w\nx", u""};
    EXPECT_EQ(Build(keys, values).Bytes, Build(keys, values).Bytes);
}

TEST(TblCompilerLayout, KeyCharactersUpToU00FFAreWrittenAsOneByteAndHashedSo) {
    const Built b = Build({u"caf\u00E9", u"x"}, {u"", u""});
    ASSERT_TRUE(b.Ok) << b.Error;
    const std::string text(b.Bytes.begin() + 59, b.Bytes.end());
    EXPECT_EQ(text.substr(0, 5), std::string("caf\xE9\0", 5));
    const uint16_t slot = U16At(b.Bytes, 21);
    EXPECT_EQ(Node(b.Bytes, 2, slot).Hash(), TblKeyHash(u"caf\u00E9", 2));
}

TEST(TblCompilerLayout, ValuesAreWrittenAsUtf8WithTheirByteLength) {
    const Built b = Build({u"a"}, {u"\u00FCber \uD55C"});
    ASSERT_TRUE(b.Ok) << b.Error;
    const NodeView n = Node(b.Bytes, 1, 0);
    EXPECT_EQ(n.ValueLength(), 10u);  // ü 2 bytes, "ber " 4, 한 3, terminator 1
    EXPECT_EQ(std::string(b.Bytes.begin() + n.ValueOffset(), b.Bytes.end() - 1), "\xC3\xBC" "ber \xED\x95\x9C");
}

TEST(TblCompilerRefusals, KeyCharacterAboveU00FFIsRefusedNamingTheEntry) {
    const Built b = Build({u"ok", u"bad\u0151"}, {u"", u""});
    EXPECT_FALSE(b.Ok);
    EXPECT_NE(b.Error.find("entry 1"), std::string::npos) << b.Error;
    EXPECT_NE(b.Error.find("U+0151"), std::string::npos) << b.Error;
    EXPECT_TRUE(b.Bytes.empty());
}

TEST(TblCompilerRefusals, ZeroCharacterInKeyOrValueIsRefused) {
    EXPECT_FALSE(Build({std::u16string(u"a\0b", 3)}, {u""}).Ok);
    EXPECT_FALSE(Build({u"a"}, {std::u16string(u"a\0b", 3)}).Ok);
}

TEST(TblCompilerRefusals, ValueOf65535BytesIsRefusedAnd65534Accepted) {
    EXPECT_TRUE(Build({u"a"}, {std::u16string(65534, u'x')}).Ok);
    const Built b = Build({u"a", u"b"}, {u"", std::u16string(65535, u'x')});
    EXPECT_FALSE(b.Ok);
    EXPECT_NE(b.Error.find("entry 1: the value is 65535 bytes long"), std::string::npos) << b.Error;
}

TEST(TblCompilerRefusals, MoreThan65535EntriesAreRefused) {
    // The table refuses them as they are added, so it never holds more than a file can.
    TblDocument table;
    EXPECT_FALSE(table.InsertMany(0, std::vector<TblEntry>(65536, {u"k", u""})));
    EXPECT_EQ(table.Count(), 0u);
    EXPECT_TRUE(Build(Strings(65535, u"k"), Strings(65535, u"")).Ok);
}

TEST(TblCompiler, ReportsCompilingThenSavingAndWritesTheFile) {
    ScratchDir dir;
    const std::u16string path = (dir / "out.tbl").u16string();
    TblDocument table = TableOf({u"a", u"b"}, {u"x", u"y"});
    Messages m;
    ASSERT_TRUE(m.Keep(table.Compile(path, false, m.Report())));
    EXPECT_EQ(m.Progress, (std::vector<std::string>{"Compiling....", "Saving...."}));
    EXPECT_TRUE(m.Texts.empty());
    EXPECT_EQ(table.Header.TextStart, 59u);
    EXPECT_EQ(ReadBytes(dir / "out.tbl"), Build({u"a", u"b"}, {u"x", u"y"}).Bytes);
}

TEST(TblCompiler, TokensBecomeGameCodesAndComeBackWithParseOnLoad) {
    ScratchDir dir;
    const std::u16string path = (dir / "c.tbl").u16string();
    TblDocument table = TableOf({u"a"}, {u"\\red;Fire\r\nline\\nend"});
    ASSERT_TRUE(table.Compile(path, true, {}));
    EXPECT_EQ(table.Value(0), u"\\red;Fire\nline\nend");
    const auto bytes = ReadBytes(dir / "c.tbl");
    EXPECT_EQ(std::string(bytes.begin() + 21 + 19 + 2, bytes.end() - 1), "\xC3\xBF" "c1Fire\nline\nend");

    TblDocument plain = TableOf({u"a"}, {u"\\red;Fire\r"});
    ASSERT_TRUE(plain.Compile(path, false, {}));
    EXPECT_EQ(plain.Value(0), u"\u00FFc1Fire");
}

TEST(TblCompiler, CompiledFileLoadsBackToTheValuesLeftInTheDocument) {
    ScratchDir dir;
    const std::u16string path = (dir / "r.tbl").u16string();
    for (bool parseOnLoad : {false, true}) {
        const Strings keys = {u"x", u"x", u"", u"caf\u00E9"};
        TblDocument table = TableOf(keys, {u"\\blue;a\\nb", u"\r", u"stray \xDCE9 byte", u"\U0001F600"});
        ASSERT_TRUE(table.Compile(path, parseOnLoad, {}));
        TblDocument loaded;
        ASSERT_TRUE(loaded.Load(path, parseOnLoad));
        EXPECT_EQ(KeysOf(loaded), keys);
        EXPECT_EQ(ValuesOf(loaded), ValuesOf(table));
        EXPECT_EQ(loaded.Header.Crc, table.Header.Crc);
    }
}

TEST(TblCompiler, RefusedTableWritesNothingAndChangesNothing) {
    ScratchDir dir;
    WriteBytes(dir / "old.tbl", {1, 2, 3});
    TblDocument table = TableOf({u"\u4E00"}, {u"\\red;"});
    table.Header.Crc = 0x1234;
    Messages m;
    EXPECT_FALSE(m.Keep(table.Compile((dir / "old.tbl").u16string(), false, m.Report())));
    EXPECT_EQ(ReadBytes(dir / "old.tbl"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(table.Value(0), u"\\red;");
    EXPECT_EQ(table.Header.Crc, 0x1234);
    ASSERT_EQ(m.Texts.size(), 1u);
    EXPECT_NE(m.Texts[0].find("entry 0"), std::string::npos);
    EXPECT_EQ(m.Progress, (std::vector<std::string>{"Compiling...."}));
}

TEST(TblCompiler, FailedSaveKeepsTheOldFileAndTheDocument) {
    ScratchDir dir;
    WriteBytes(dir / "keep.tbl", {9, 9});
    std::filesystem::create_directory(dir / "folder.tbl");
    for (const std::filesystem::path& target : {dir / "missing" / "x.tbl", dir / "folder.tbl"}) {
        TblDocument table = TableOf({u"a"}, {u"\\red;"});
        Messages m;
        EXPECT_FALSE(m.Keep(table.Compile(target.u16string(), false, m.Report())));
        EXPECT_EQ(table.Value(0), u"\\red;");
        ASSERT_EQ(m.Texts.size(), 1u);
        EXPECT_EQ(m.Captions[0], "Save Error");
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.tbl"));
    EXPECT_EQ(ReadBytes(dir / "keep.tbl"), (std::vector<uint8_t>{9, 9}));
    // Nothing but what the test made is left in the folder.
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 2u);
}
