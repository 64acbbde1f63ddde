// Files as a user meets them: a refused file, saving and opening again.
#include "EndToEndTest.h"

#include "resource.h"

namespace {

class FileRoundTrip : public EndToEndTest {};

TEST_F(FileRoundTrip, RefusedFileIsNeverWrittenOverBySave) {
    std::filesystem::path damaged = scratch_ / "damaged.tbl";
    const std::vector<uint8_t> bytes(3000, 0x5A);
    WriteBytes(damaged, bytes);
    StrindleRun& run = Start({damaged.wstring()});
    ASSERT_NE(WaitForDialog(run, L"Error"), nullptr) << "the refusal is said";
    AnswerDialog(run, L"Error", "Return");
    EXPECT_TRUE(Becomes([&] { return run.Title(); }, std::wstring(L"Strindle - Untitled")));

    Press("ctrl+n");
    ASSERT_NE(WaitForDialog(run, L"Add Index String"), nullptr);
    TypeText("fresh");
    Press("Return");
    EXPECT_TRUE(Becomes([&] { return run.Rows(); }, std::vector<std::wstring>{L"fresh"}));
    Press("ctrl+s");
    EXPECT_NE(WaitForDialog(run, L"Save As"), nullptr) << "Save asks for a name";
    AnswerDialog(run, L"Save As", "Escape");
    EXPECT_TRUE(WaitUntil([&] { return run.Dialog(L"Save As") == nullptr; }));
    EXPECT_EQ(ReadBytes(damaged), bytes);
    EXPECT_EQ(run.Title(), L"Strindle - Untitled*");
}

}  // namespace
