// D2R string files and the reference, driven by commands with the prompts answered.
#include "GuiTestSupport.h"

#include "TestSupport.h"
#include "WideText_win.h"

namespace {

class TranslationCommands : public MainWindowTest {
protected:
    // A D2R file with the id 5 twice; "b" has an enUS and a frFR value.
    std::wstring MakeD2rFile(const std::string& name) {
        const std::string text = "[\n {\"id\": 5, \"Key\": \"a\", \"enUS\": \"%d apples\", \"frFR\": \"%d pommes\"},\n"
                                 " {\"id\": 5, \"Key\": \"b\", \"enUS\": \"Bee\", \"frFR\": \"Abeille\"}\n]";
        WriteBytes(scratch_ / name, {text.begin(), text.end()});
        return (scratch_ / name).wstring();
    }
    bool ReferenceShown() { return (GetWindowLongW(Dialog().ReferenceView(), GWL_STYLE) & WS_VISIBLE) != 0; }
    void ChooseLanguage(size_t language) {
        SendMessageW(Dialog().LanguageBox(), CB_SETCURSEL, language, 0);
        SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Dialog().LanguageBox()));
    }
};

TEST_F(TranslationCommands, AD2rFileWarnsOfRepeatedIdsAndOpensInTheLanguageLastChosen) {
    OpenWindow();
    EXPECT_FALSE(IsWindowEnabled(Dialog().LanguageBox())) << "a table has no languages";
    OpenFile(MakeD2rFile("strings.json"));
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_EQ(prompts_.Messages[0].Caption, L"Repeated Ids");
    EXPECT_EQ(prompts_.Messages[0].Text,
              L"More than one row of the file has the id 5. The rows are kept as they are, and saving keeps their ids.");
    EXPECT_TRUE(IsWindowEnabled(Dialog().LanguageBox()));
    EXPECT_EQ(Status(3), L"Id: 5");

    ChooseLanguage(D2rLanguageIndex("frFR"));
    EXPECT_EQ(EditorText(), L"%d pommes");
    dialog_.reset();
    OpenWindow();
    OpenFile((scratch_ / "strings.json").wstring());
    EXPECT_EQ(EditorText(), L"%d pommes") << "the language is remembered";

    prompts_.FileAnswers.push_back(std::nullopt);
    SendCommand(ID_FILE_SAVEAS);
    ASSERT_FALSE(prompts_.FileRequests.empty());
    EXPECT_EQ(prompts_.FileRequests.back().Filter, L"D2R String Files (*.json)|*.json|All files (*.*)|*.*||");
}

TEST_F(TranslationCommands, AReferenceInItsOwnLanguageMarksEntriesUntilItIsClosed) {
    OpenTable({u"a", u"b"}, {u"%s Äpfel", u"Biene"});
    prompts_.FileAnswers.push_back(MakeD2rFile("reference.json"));
    SendCommand(ID_VIEW_REFERENCE);
    ASSERT_NE(Dialog().Reference(), nullptr);
    EXPECT_TRUE(ReferenceShown());
    EXPECT_EQ(WindowText(Dialog().ReferenceView()), L"%d apples");
    EXPECT_TRUE(Dialog().KeyList().RowMarked(0));
    EXPECT_FALSE(Dialog().KeyList().RowMarked(1));
    EXPECT_EQ(Status(0), L"placeholders: %d in the reference, %s here");

    SendCommand(ID_REFERENCE_LANGUAGE_FIRST + D2rLanguageIndex("frFR"));
    EXPECT_EQ(WindowText(Dialog().ReferenceView()), L"%d pommes");
    SendCommand(ID_VIEW_NEXTPROBLEM);
    EXPECT_EQ(CaretRow(), 0) << "the only entry with a problem";

    SendCommand(ID_VIEW_CLOSEREFERENCE);
    EXPECT_EQ(Dialog().Reference(), nullptr);
    EXPECT_FALSE(ReferenceShown());
    EXPECT_FALSE(Dialog().KeyList().RowMarked(0));
}

}  // namespace
