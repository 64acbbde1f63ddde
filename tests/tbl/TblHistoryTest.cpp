#include "TblDocument.h"

#include "TblTestTables.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// A table read from a file's bytes (`file`), so that its entries still lie in them, with no
// history yet.
TblDocument Loaded(const std::vector<std::u16string>& keys, const std::vector<std::u16string>& values,
                   std::vector<uint8_t>& file) {
    TblBuilt built;
    std::string error;
    EXPECT_TRUE(TableOf(keys, values).Build(TblValueForm::Exact, built, error)) << error;
    file.assign(built.Bytes.data(), built.Bytes.data() + built.Bytes.size());
    TblDocument doc;
    EXPECT_TRUE(doc.LoadBytes(file, false));
    doc.MarkClean();
    return doc;
}

TblDocument LoadedTable(std::vector<uint8_t>& file) {
    return Loaded({u"k0", u"k1", u"k2", u"k3"}, {u"v0", u"\u4E2D", u"\u00FFc1v2", u"v3"}, file);
}

std::vector<TblEntry> EntriesOf(const TblDocument& doc) { return doc.Entries(); }

struct Edit {
    const char* name;
    std::function<void(TblDocument&)> apply;
};

// Every kind of change, each one step.
const std::vector<Edit> Edits = {
    {"Rename Key", [](TblDocument& d) { d.SetKey(1, u"renamed"); }},
    {"Typing", [](TblDocument& d) { d.TypeValue(2, u"typed"); }},
    {"Add Key", [](TblDocument& d) { d.Insert(0, u"added", u""); }},
    {"Paste", [](TblDocument& d) { d.InsertMany(d.Count(), {{u"p0", u"x"}, {u"p1", u"y"}}); }},
    {"Import", [](TblDocument& d) { d.ReplaceAndAppend({{3, {u"k2", u"merged"}}, {0, {u"a", u"b"}}}, {{u"new", u"n"}}); }},
    {"Delete Key", [](TblDocument& d) { d.RemoveMany({0, 2, 5}); }},
    {"Move Key", [](TblDocument& d) { d.Move(0, 3); }},
    {"Cut", [](TblDocument& d) { d.Remove(1); }},
};

}  // namespace

TEST(TblHistory, UndoTakesBackEveryKindOfChangeAndRedoDoesItAgain) {
    std::vector<uint8_t> file;
    TblDocument doc = LoadedTable(file);
    std::vector<std::vector<TblEntry>> states{EntriesOf(doc)};
    for (const Edit& edit : Edits) {
        TblDocument::Step step(doc, edit.name, 0);
        edit.apply(doc);
        doc.MarkModified();
        states.push_back(EntriesOf(doc));
    }
    for (size_t i = Edits.size(); i-- > 0;) {
        ASSERT_TRUE(doc.History().CanUndo());
        EXPECT_EQ(doc.History().UndoName(), Edits[i].name);
        size_t focus = 99;
        ASSERT_TRUE(doc.Undo(focus));
        EXPECT_LE(focus, doc.Count());
        EXPECT_EQ(EntriesOf(doc), states[i]) << "after undoing " << Edits[i].name;
        EXPECT_EQ(doc.Modified, i != 0);
    }
    EXPECT_FALSE(doc.History().CanUndo());
    for (size_t i = 0; i < Edits.size(); ++i) {
        EXPECT_EQ(doc.History().RedoName(), Edits[i].name);
        size_t focus = 0;
        ASSERT_TRUE(doc.Redo(focus));
        EXPECT_EQ(EntriesOf(doc), states[i + 1]) << "after redoing " << Edits[i].name;
        EXPECT_TRUE(doc.Modified);
    }
    EXPECT_FALSE(doc.History().CanRedo());
}

// Undone back to the state it was read in, a save writes the bytes it was read from, the values
// that never were edited copied as they were.
TEST(TblHistory, UndoneToTheStartASaveWritesTheFileAsItWasRead) {
    ScratchDir dir;
    std::vector<uint8_t> file;
    TblDocument doc = LoadedTable(file);
    for (const Edit& edit : Edits)
        edit.apply(doc);
    size_t focus = 0;
    while (doc.Undo(focus)) {
    }
    EXPECT_FALSE(doc.Modified);
    ASSERT_TRUE(doc.Compile((dir / "back.tbl").u16string(), false));
    EXPECT_EQ(ReadBytes(dir / "back.tbl"), file);
}

TEST(TblHistory, OutlivesASave) {
    ScratchDir dir;
    std::vector<uint8_t> file;
    TblDocument doc = LoadedTable(file);
    const std::vector<TblEntry> read = EntriesOf(doc);
    for (const Edit& edit : Edits)
        edit.apply(doc);
    const std::vector<TblEntry> edited = EntriesOf(doc);
    ASSERT_TRUE(doc.Compile((dir / "edited.tbl").u16string(), false));
    size_t focus = 0;
    while (doc.Undo(focus)) {
    }
    EXPECT_EQ(EntriesOf(doc), read);
    EXPECT_TRUE(doc.Modified) << "the state saved was the edited one";
    while (doc.Redo(focus)) {
    }
    EXPECT_EQ(EntriesOf(doc), edited);
    EXPECT_FALSE(doc.Modified);
}

TEST(TblHistory, TypingInOneEntryIsOneStepUntilAnotherEntryOrCommand) {
    std::vector<uint8_t> file;
    TblDocument doc = Loaded({u"a", u"b"}, {u"", u""}, file);
    for (const char16_t* text : {u"h", u"he", u"hel"})
        doc.TypeValue(0, text);
    doc.TypeValue(1, u"x");
    doc.TypeValue(1, u"xy");
    doc.EndTyping();
    doc.TypeValue(1, u"xyz");
    size_t focus = 9;
    ASSERT_TRUE(doc.Undo(focus));
    EXPECT_EQ(doc.Value(1), u"xy");
    ASSERT_TRUE(doc.Undo(focus));
    EXPECT_EQ(doc.Value(1), u"");
    EXPECT_EQ(focus, 1u);
    ASSERT_TRUE(doc.Undo(focus));
    EXPECT_EQ(doc.Value(0), u"");
    EXPECT_FALSE(doc.Modified);
    EXPECT_FALSE(doc.History().CanUndo());
}

TEST(TblHistory, ANewChangeAfterUndoEndsRedoAndOldStepsGoFirst) {
    std::vector<uint8_t> file;
    TblDocument doc = Loaded({u"a"}, {u""}, file);
    doc.SetValue(0, u"1");
    doc.SetValue(0, u"2");
    size_t focus = 0;
    doc.Undo(focus);
    doc.SetValue(0, u"3");
    EXPECT_FALSE(doc.History().CanRedo());

    for (int i = 0; i < static_cast<int>(TblHistory::MaxSteps) + 20; ++i)
        doc.SetKey(0, std::u16string(1, static_cast<char16_t>(u'a' + i % 26)));
    size_t undone = 0;
    while (doc.Undo(focus))
        ++undone;
    EXPECT_EQ(undone, TblHistory::MaxSteps);
    EXPECT_TRUE(doc.Modified) << "the state last saved was dropped with the oldest steps";
}

TEST(TblHistory, OpeningATableEndsTheHistory) {
    std::vector<uint8_t> file;
    TblDocument doc = LoadedTable(file);
    doc.SetKey(0, u"changed");
    ASSERT_TRUE(doc.LoadBytes(file, false));
    EXPECT_FALSE(doc.History().CanUndo());
    doc.SetKey(0, u"changed");
    doc.Reset();
    EXPECT_FALSE(doc.History().CanUndo());
}
