// No exception leaves the server: running out of memory anywhere in an entry point is
// answered with E_OUTOFMEMORY, and the handler goes on working afterwards. The allocations
// fail in DunmoreAllocationSeam.dll, the server built with a replaceable operator new.
#include "ComBoundary.h"
#include "ContextMenuFixture.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(DunmoreComBoundary, TurnsExceptionsIntoFailureResultsAndPassesResultsThrough) {
    EXPECT_EQ(AtComBoundary([]() -> HRESULT { throw std::bad_alloc(); }), E_OUTOFMEMORY);
    EXPECT_EQ(AtComBoundary([]() -> HRESULT { throw std::length_error("path too long"); }), E_FAIL);
    EXPECT_EQ(AtComBoundary([]() -> HRESULT { throw 17; }), E_FAIL);
    EXPECT_EQ(AtComBoundary([] { return S_FALSE; }), S_FALSE);
    EXPECT_EQ(AtComBoundary([] { return E_INVALIDARG; }), E_INVALIDARG);
}

class DunmoreOutOfMemory : public ContextMenuFixture {
protected:
    DunmoreOutOfMemory() : ContextMenuFixture(DunmoreAllocationSeam()) {}

    void TearDown() override {
        FailAllocationAfter(-1);
        ContextMenuFixture::TearDown();
    }

    void FailAllocationAfter(LONG successes) {
        ASSERT_NE(library_.failAllocationAfter, nullptr);
        library_.failAllocationAfter(successes);
    }

    // Runs `call` with its first allocation failing, then its second, and so on, until it
    // gets through; each failed run must report E_OUTOFMEMORY. Returns the failed runs.
    template <typename Call>
    int FailEachAllocationOf(Call call) {
        for (LONG successes = 0; successes < 1000; ++successes) {
            FailAllocationAfter(successes);
            const HRESULT result = call();
            if (result == S_OK) {
                FailAllocationAfter(-1);
                return successes;
            }
            EXPECT_EQ(result, E_OUTOFMEMORY) << "allocation " << successes << " failed";
        }
        ADD_FAILURE() << "the call never got through";
        return 0;
    }
};

TEST_F(DunmoreOutOfMemory, InitializeReportsItAndKeepsNoPartOfTheSelection) {
    auto data = DropListDataObject::Ansi({"C:\\mods\\string.txt", "C:\\mods\\patch.txt"});
    const int failures = FailEachAllocationOf([&] {
        const HRESULT result = Initialize(data);
        EXPECT_EQ(data.References(), 1) << "the medium was not released";
        EXPECT_EQ(data.DropListLockCount(), 0u) << "the list was left locked";
        return result;
    });
    EXPECT_GE(failures, 2) << "copying the two paths allocates";
    EXPECT_EQ(ParametersOfChosenItem(), "\"C:\\mods\\string.txt\" \"C:\\mods\\patch.txt\" ");
}

TEST_F(DunmoreOutOfMemory, InvokeCommandReportsItAndStartsNothing) {
    auto data = DropListDataObject::Ansi({"C:\\notes.txt"});
    ASSERT_EQ(Initialize(data), S_OK);
    std::vector<std::filesystem::path> refused;
    const int failures = FailEachAllocationOf([&] {
        refused.push_back(NextRecordFile());
        SetRecordFile(refused.back());
        return InvokeOffset(0);
    });
    EXPECT_GE(failures, 1);
    ASSERT_TRUE(WaitForRecord(refused.back())) << "the run that got through started no Tessaly";
    EXPECT_EQ(ParametersOf(*WaitForRecord(refused.back())), "\"C:\\notes.txt\" ");
    refused.pop_back();
    for (const std::filesystem::path& record : refused)
        EXPECT_FALSE(std::filesystem::exists(record)) << record.string() << ": a failed run started Tessaly";
}

TEST_F(DunmoreOutOfMemory, WideHelpTextReportsIt) {
    wchar_t wide[64] = {};
    const int failures = FailEachAllocationOf([&] {
        return handler_->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<char*>(wide), 64);
    });
    EXPECT_GE(failures, 1);
    EXPECT_STREQ(wide, L"Opens the file with the Tessaly");
}

TEST_F(DunmoreOutOfMemory, ClassObjectAndInstanceCreationReportIt) {
    IClassFactory* factory = nullptr;
    FailAllocationAfter(0);
    EXPECT_EQ(library_.getClassObject(CLSID_DunmoreExt, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              E_OUTOFMEMORY);
    EXPECT_EQ(factory, nullptr);
    FailAllocationAfter(-1);
    ASSERT_EQ(library_.getClassObject(CLSID_DunmoreExt, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              S_OK);
    IUnknown* object = nullptr;
    FailAllocationAfter(0);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)), E_OUTOFMEMORY);
    EXPECT_EQ(object, nullptr);
    factory->Release();
}

TEST_F(DunmoreOutOfMemory, RegistrationAndUnregistrationReportIt) {
    EXPECT_GE(FailEachAllocationOf(library_.registerServer), 1);
    EXPECT_GE(FailEachAllocationOf(library_.unregisterServer), 1);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, L"CLSID\\" + GuidText(CLSID_DunmoreExt)));
}

}  // namespace
