#include "KeyEditingFixture.h"

#include "AllocationFailureSeam_win.h"
#include "EntryPayload.h"
#include "ListBoxEx.h"
#include "WideText_win.h"

#include <cstring>

namespace {

// The clipboard of the Wine session, opened for the test's scope. Another program may hold it
// for a moment, so opening is retried until a deadline.
class OpenClipboardForTest {
public:
    explicit OpenClipboardForTest(HWND owner) {
        opened_ = PumpUntil([&] { return OpenClipboard(owner) != FALSE; }, std::chrono::seconds(5));
        EXPECT_TRUE(opened_) << "the clipboard stayed busy";
    }
    ~OpenClipboardForTest() {
        if (opened_)
            CloseClipboard();
    }
    OpenClipboardForTest(const OpenClipboardForTest&) = delete;
    OpenClipboardForTest& operator=(const OpenClipboardForTest&) = delete;
    bool Opened() const { return opened_; }

private:
    bool opened_ = false;
};

void PutOnClipboard(UINT format, const void* bytes, size_t size) {
    OpenClipboardForTest clipboard(nullptr);
    ASSERT_TRUE(clipboard.Opened());
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    ASSERT_NE(block, nullptr);
    std::memcpy(GlobalLock(block), bytes, size);
    GlobalUnlock(block);
    ASSERT_NE(SetClipboardData(format, block), nullptr);
}

void PutPlainText(const std::wstring& text) {
    PutOnClipboard(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

void EmptyTheClipboard() {
    OpenClipboardForTest clipboard(nullptr);
    EmptyClipboard();
}

std::vector<UINT> OfferedFormats() {
    OpenClipboardForTest clipboard(nullptr);
    std::vector<UINT> formats;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format))
        formats.push_back(format);
    return formats;
}

// The bytes of the "TBL_FORMAT" block as the clipboard holds it.
std::vector<uint8_t> TblBlockBytes() {
    OpenClipboardForTest clipboard(nullptr);
    HANDLE block = GetClipboardData(TblClipboardFormat());
    if (!block)
        return {};
    const auto* bytes = static_cast<const uint8_t*>(GlobalLock(block));
    std::vector<uint8_t> copy(bytes, bytes + GlobalSize(block));
    GlobalUnlock(block);
    return copy;
}

std::vector<uint8_t> Utf16LeBytes(const std::u16string& text) {
    std::vector<uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    return bytes;
}

class ClipboardCommands : public KeyEditingTest {
protected:
    void SetUp() override {
        KeyEditingTest::SetUp();
        EmptyTheClipboard();
    }
    // Copy and Cut do nothing while another program holds the clipboard: sent again until the
    // entries are on it.
    void CopyOrCut(UINT id) {
        EXPECT_TRUE(PumpUntil(
            [&] {
                SendCommand(id);
                return IsClipboardFormatAvailable(TblClipboardFormat()) != FALSE;
            },
            std::chrono::seconds(5)));
    }
    // Paste Into, sent again while the clipboard is busy: a busy paste changes neither the rows
    // nor the title (every paste here starts clean or changes the rows).
    void Paste() {
        const std::wstring title = Title();
        const int rows = Dialog().KeyList().Count();
        EXPECT_TRUE(PumpUntil(
            [&] {
                SendCommand(ID_LIST_PASTE);
                return Title() != title || Dialog().KeyList().Count() != rows;
            },
            std::chrono::seconds(5)));
    }
};

TEST_F(ClipboardCommands, CopyOffersOnlyTheEntryFormatWithKeyTabValueTextAndOneNul) {
    OpenTableOf(5);
    PutPlainText(L"left by another program");
    SelectRows({1, 3});
    CopyOrCut(ID_LIST_COPY);
    EXPECT_EQ(OfferedFormats(), std::vector<UINT>{TblClipboardFormat()});
    std::vector<uint8_t> expected = Utf16LeBytes(u"key1\tvalue1\tkey3\tvalue3");
    expected.push_back(0);
    expected.push_back(0);
    std::vector<uint8_t> block = TblBlockBytes();
    ASSERT_GE(block.size(), expected.size());  // the system may round a block's size up
    EXPECT_EQ(std::vector<uint8_t>(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(expected.size())),
              expected);
    EXPECT_EQ(Rows(), Numbered(L"key", {0, 1, 2, 3, 4}));
    EXPECT_EQ(Title(), L"Strindle - table.tbl");
    EXPECT_EQ(Status(1), L"Loaded");
}

TEST_F(ClipboardCommands, CutThenPasteMovesTheEntriesToTheEndWithoutAsking) {
    OpenTableOf(5);
    SelectRows({0, 1});
    CopyOrCut(ID_LIST_CUT);
    EXPECT_EQ(Rows(), Numbered(L"key", {2, 3, 4}));
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});
    EXPECT_EQ(EditorText(), L"value2");
    Paste();
    EXPECT_TRUE(prompts_.Messages.empty());
    EXPECT_EQ(Rows(), Numbered(L"key", {2, 3, 4, 0, 1}));
    EXPECT_EQ(SelectedRows(), (std::vector<int>{3, 4})) << "the pasted rows come selected";
    EXPECT_EQ(EditorText(), L"value0");
    EXPECT_EQ(Title(), L"Strindle - table.tbl*");
    // Delete Key asks again after the cut, naming what it would delete.
    prompts_.MessageAnswers.push_back(IDNO);
    SendCommand(ID_EDIT_DELETEKEY);
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_EQ(prompts_.Messages[0].Text, L"Delete 2 entries (key0, key1)?");
}

TEST_F(ClipboardCommands, PasteAppendsEvenEqualKeysAndShowsThePastedEntry) {
    OpenTableOf(3);
    SelectRows({2});
    CopyOrCut(ID_LIST_COPY);
    SelectRows({1});
    Paste();
    EXPECT_EQ(Rows(), Numbered(L"key", {0, 1, 2, 2}));
    EXPECT_EQ(SelectedRows(), std::vector<int>{3});
    EXPECT_EQ(EditorText(), L"value2");
    EXPECT_EQ(Status(2), L"Index: 3(3h)/3(3h)");
}

TEST_F(ClipboardCommands, TabInACopiedKeyShiftsThePairsThatFollow) {
    OpenTable({u"a\tb", u"k2"}, {u"v1", u"v2"});
    SendCommand(ID_EDIT_SELECTALL);
    CopyOrCut(ID_LIST_COPY);
    Paste();
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"a\tb", L"k2", L"a", L"v1", L"v2"}));
    SelectRows({2});
    EXPECT_EQ(EditorText(), L"b");
    SelectRows({3});
    EXPECT_EQ(EditorText(), L"k2");
    SelectRows({4});
    EXPECT_EQ(EditorText(), L"");
}

TEST_F(ClipboardCommands, PasteWithoutEntryFormatAddsNothingButMarksModified) {
    OpenTableOf(2);
    PutPlainText(L"key\tvalue");
    EXPECT_TRUE(GetMenuState(Dialog().KeyList().PreparedMenu(), ID_LIST_PASTE, MF_BYCOMMAND) & MF_GRAYED);
    Paste();
    EXPECT_EQ(Rows(), Numbered(L"key", {0, 1}));
    EXPECT_EQ(Title(), L"Strindle - table.tbl*");
}

TEST_F(ClipboardCommands, BlockWithoutNulIsReadOnlyToItsEnd) {
    OpenTableOf(1);
    const char16_t text[] = u"k\tv";  // placed without its terminator
    PutOnClipboard(TblClipboardFormat(), text, 3 * sizeof(char16_t));
    EXPECT_FALSE(GetMenuState(Dialog().KeyList().PreparedMenu(), ID_LIST_PASTE, MF_BYCOMMAND) & MF_GRAYED);
    Paste();
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"key0", L"k"}));
    SelectRows({1});
    EXPECT_EQ(EditorText(), L"v");
}

TEST_F(ClipboardCommands, CopyOfNoRowPastesNoEntry) {
    OpenTableOf(2);
    Dialog().DeselectAll();
    CopyOrCut(ID_LIST_COPY);
    Paste();
    EXPECT_EQ(Rows(), Numbered(L"key", {0, 1}));
}

TEST_F(ClipboardCommands, PasteBeyondAFullTableAddsNothingAndSaysSo) {
    std::vector<std::u16string> keys(TblMaxEntries - 1, u"k"), values(TblMaxEntries - 1, u"v");
    OpenTable(keys, values);
    const std::u16string twoEntries = u"a\t1\tb\t2";
    PutOnClipboard(TblClipboardFormat(), twoEntries.c_str(), (twoEntries.size() + 1) * sizeof(char16_t));
    SendCommand(ID_LIST_PASTE);
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_EQ(prompts_.Messages[0].Text, L"The clipboard's 2 entries and the table's 65534 entries are more than "
                                         L"the 65535 a table holds. Nothing was pasted.");
    EXPECT_EQ(Dialog().KeyList().Count(), 65534);
    EXPECT_EQ(Title(), L"Strindle - table.tbl");
}

TEST_F(ClipboardCommands, PasteThatRunsOutOfMemoryLeavesTableAndListAsTheyWereAndSaysSo) {
    OpenTableOf(2);
    const std::u16string threeEntries = u"a\t1\tb\t2\tc";
    PutOnClipboard(TblClipboardFormat(), threeEntries.c_str(), (threeEntries.size() + 1) * sizeof(char16_t));
    const TblDocument& document = Dialog().Document;
    const std::vector<TblEntry> entries = document.Entries();
    // The first allocation of the paste fails, then the second, and so on until it gets through.
    int failedPastes = 0;
    for (int attempts = 0; document.Count() == entries.size(); ++attempts) {
        ASSERT_LT(attempts, 2000) << "the paste never got through";
        prompts_.Messages.clear();
        FailAllocationAfter(failedPastes);
        SendCommand(ID_LIST_PASTE);
        FailAllocationAfter(-1);
        if (prompts_.Messages.empty())
            continue;  // the clipboard was busy, or the paste got through
        ++failedPastes;
        EXPECT_EQ(prompts_.Messages[0].Text, L"The command failed: there is not enough memory. The table is as it was before it.");
        EXPECT_EQ(document.Entries(), entries);
        EXPECT_FALSE(document.Modified);
        EXPECT_EQ(Rows(), Numbered(L"key", {0, 1}));
        EXPECT_EQ(Title(), L"Strindle - table.tbl");
    }
    EXPECT_GE(failedPastes, 6);  // at least the payload and the three entries' keys and values
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"key0", L"key1", L"a", L"b", L"c"}));
    EXPECT_EQ(document.Value(4), u"");
    EXPECT_EQ(Title(), L"Strindle - table.tbl*");
}

TEST(EntryPayload, JoinsKeysAndValuesOfTheRowsWithTabs) {
    const TblDocument table = TableOf({u"a", u"b", u"c"}, {u"x", u"", u"z"});
    EXPECT_EQ(EntryPayload(table, {0, 1, 2}), u"a\tx\tb\t\tc\tz");
    EXPECT_EQ(EntryPayload(table, {}), u"");
    EXPECT_EQ(EntryPayload(table, {2, 7}), u"c\tz");  // rows past the table are left out
}

TEST(EntryPayload, FieldsSplitAtEveryTabKeepingEmptyOnes) {
    std::vector<std::u16string_view> fields = PayloadFields(u"a\t\tb\t");
    EXPECT_EQ(fields, (std::vector<std::u16string_view>{u"a", u"", u"b", u""}));
    EXPECT_TRUE(PayloadFields(u"").empty());
}

TEST(EntryPayload, BlockIsReadUpToItsNulOrItsEnd) {
    const char16_t block[] = {u'a', u'\t', u'b', u'\0', u'c'};
    EXPECT_EQ(PayloadInBlock(block, sizeof block), u"a\tb");
    EXPECT_EQ(PayloadInBlock(block + 4, 2), u"c");
    EXPECT_EQ(PayloadInBlock(block, 5), u"a\t");  // an odd byte at the end is no character
}

}  // namespace
