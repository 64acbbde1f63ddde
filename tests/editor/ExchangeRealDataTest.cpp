#include "ExchangeTestSupport.h"

#include "WideText_win.h"

namespace {

struct Table {
    std::vector<std::u16string> Keys;
    std::vector<std::u16string> Values;
};

Table Load(const std::filesystem::path& path) {
    TblDocument table;
    const Result loaded = table.Load(Utf16(path.wstring()), true);
    EXPECT_TRUE(loaded) << loaded.Message;
    return {KeysOf(table), ValuesOf(table)};
}

class RealTableExchange : public ExchangeTest, public testing::WithParamInterface<const char*> {};

// Open a game table, export it, start a new table, import the text with Append and save: the
// saved table holds the same entries.
TEST_P(RealTableExchange, ExportThenAppendImportIntoAnEmptyTableGivesTheTableBack) {
    SKIP_WITHOUT_REAL_DATA();
    const std::filesystem::path original = RealDataDir() / "tbl" / GetParam();
    OpenFile(original.wstring());
    const std::wstring text = ScratchPath("table.txt");
    const std::wstring saved = ScratchPath("again.tbl");
    prompts_.FileAnswers = {text, text, saved};
    RunDialog(ID_EXPORT_TXT, [](HWND dialog) { ClickButton(dialog, IDC_EXPORTBROWSE); });
    SendCommand(ID_FILE_NEW);
    ASSERT_EQ(Rows().size(), 0u);
    RunDialog(ID_IMPORT_TXT, [](HWND dialog) {
        ClickButton(dialog, IDC_IMPORTBROWSE);
        EXPECT_EQ(ListItems(dialog, IDC_KEYCOLUMN), (std::vector<std::wstring>{L"String Index", L"Text"}));
        SendDlgItemMessageW(dialog, IDC_VALUECOLUMN, CB_SETCURSEL, 1, 0);
    });
    SendCommand(ID_FILE_SAVE);  // an untitled table: Save As
    EXPECT_EQ(prompts_.Texts(), std::vector<std::wstring>{});
    EXPECT_EQ(TitleOf(Window()), L"Strindle - again.tbl");

    const Table expected = Load(original);
    const Table got = Load(saved);
    EXPECT_EQ(got.Keys, expected.Keys);
    ASSERT_EQ(got.Values.size(), expected.Values.size());
    for (size_t i = 0; i < expected.Values.size(); ++i)
        ASSERT_EQ(got.Values[i], expected.Values[i]) << "entry " << i;
}

INSTANTIATE_TEST_SUITE_P(GameTables, RealTableExchange,
                         testing::Values("vf_ENG_string.tbl", "bh_eng_BaseMod.tbl", "db_ENG_patchstring.tbl"));

}  // namespace
