#pragma once

// The handler as the shell drives it, made by a chosen server library: Initialize with a
// selection, and choosing the item, which starts the recorder in Tessaly's place.
#include "DunmoreTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

class ContextMenuFixture : public testing::Test {
protected:
    explicit ContextMenuFixture(const DunmoreLibrary& library = Dunmore()) : library_(library) {}

    void SetUp() override {
        handler_ = CreateContextMenuHandler(library_);
        ASSERT_NE(handler_, nullptr);
        ASSERT_HRESULT_SUCCEEDED(handler_->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&init_)));
        tessaly_.SetPath(RecorderPath());
    }

    void TearDown() override {
        if (init_)
            init_->Release();
        if (handler_)
            handler_->Release();
    }

    HRESULT Initialize(DropListDataObject& data) { return init_->Initialize(nullptr, &data, nullptr); }

    HRESULT InvokeOffset(UINT_PTR offset) {
        CMINVOKECOMMANDINFO invocation = {sizeof invocation};
        invocation.lpVerb = MAKEINTRESOURCEA(offset);
        invocation.nShow = SW_SHOWNORMAL;
        return handler_->InvokeCommand(&invocation);
    }

    // Chooses the menu item and returns the parameters the recorder was started with.
    std::string ParametersOfChosenItem() {
        const std::filesystem::path record = NextRecordFile();
        SetRecordFile(record);
        EXPECT_EQ(InvokeOffset(0), S_OK);
        const std::optional<std::string> commandLine = WaitForRecord(record);
        EXPECT_TRUE(commandLine) << "the recorder was not started";
        return commandLine ? ParametersOf(*commandLine) : std::string();
    }

    // `invoke` must refuse and start nothing: a recorder start that follows it is the only one.
    void ExpectNothingStarted(HRESULT expected, const std::function<HRESULT()>& invoke) {
        const std::filesystem::path refused = NextRecordFile();
        SetRecordFile(refused);
        EXPECT_EQ(invoke(), expected);
        tessaly_.SetPath(RecorderPath());
        EXPECT_EQ(ParametersOfChosenItem(), "\"C:\\notes.txt\" ");
        EXPECT_FALSE(std::filesystem::exists(refused)) << "the refused invocation started Tessaly";
    }

    // Each start of the recorder gets a record file of its own.
    std::filesystem::path NextRecordFile() { return scratch_ / ("record-" + std::to_string(++records_) + ".txt"); }

    const DunmoreLibrary& library_;
    ScratchDir scratch_;
    int records_ = 0;
    TessalySetting tessaly_;
    IContextMenu* handler_ = nullptr;
    IShellExtInit* init_ = nullptr;
};
