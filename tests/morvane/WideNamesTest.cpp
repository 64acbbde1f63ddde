// Folders and files named in scripts outside the system's code page (Chinese and Korean mod
// folders) are listed and converted under their own names.
#include "ConvertTestSupport.h"

#include "Utf.h"

namespace {

class ConvertWideNames : public ConvertWindowTest {
protected:
    // Select All and Convert with the built-in palette, writing the kind of image whose
    // choice has the id `kind`.
    void ConvertAllAs(int kind) {
        CheckRadioButton(Window(), 1004, 1005, kind);
        Click(kind);
        Click(4);
        prompts_.MessageAnswers = {IDNO};
        PressConvert();
        EXPECT_EQ(prompts_.Messages.back().Text, L"Successfully converted 2 out of 2 files selected");
    }
};

TEST_F(ConvertWideNames, AreListedAndConvertedIntoPcxAndPngOfTheSameNames) {
    const std::filesystem::path folder = WorkingFolder() / u"任务";
    std::filesystem::create_directory(folder);
    WriteDc6(folder / u"아이템.dc6", SolidDc6(2));     // one sheet
    WriteDc6(folder / u"장비.dc6", SolidDc6(2, true));  // one image per frame
    // The scratch folder holds no DC6 file: the folder picker opens at once.
    prompts_.FolderAnswers.push_back(folder.wstring());
    OpenWindow();
    EXPECT_EQ(Column(0), (std::vector<std::string>{Utf16ToUtf8(u"아이템.dc6"), Utf16ToUtf8(u"장비.dc6")}));

    ConvertAllAs(1004);
    for (const char16_t* name : {u"아이템.pcx", u"장비0.pcx", u"장비1.pcx"})
        EXPECT_TRUE(std::filesystem::is_regular_file(folder / u"PCXFiles" / name)) << Utf16ToUtf8(name);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Yes", "Yes"}));

    ConvertAllAs(1005);
    for (const char16_t* name : {u"아이템.png", u"장비0.png", u"장비1.png"})
        EXPECT_TRUE(std::filesystem::is_regular_file(folder / u"PNGFiles" / name)) << Utf16ToUtf8(name);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Yes", "Yes"}));
}

}  // namespace
