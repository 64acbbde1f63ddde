// Registration through the exports and through regsvr32: every key and value of the script,
// the shell's approval, the type library, and what unregistration keeps. Each build folder
// has its own Wine prefix, so these tests own its class registry; they unregister at the end.
#include "DunmoreTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr wchar_t kApprovedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
constexpr wchar_t kHandlers[] = L"txtfile\\ShellEx\\ContextMenuHandlers";

// Takes the shell's Approved key away for a test and puts it back, values and all.
class ApprovedKeyRemoved {
public:
    ApprovedKeyRemoved() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kApprovedKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return;
        for (DWORD index = 0;; ++index) {
            wchar_t name[256];
            DWORD nameLength = 256;
            DWORD type = 0;
            BYTE data[1024];
            DWORD bytes = sizeof data;
            if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &bytes) != ERROR_SUCCESS)
                break;
            values_.push_back({name, type, std::vector<BYTE>(data, data + bytes)});
        }
        RegCloseKey(key);
        existed_ = RegDeleteTreeW(HKEY_LOCAL_MACHINE, kApprovedKey) == ERROR_SUCCESS;
    }

    ~ApprovedKeyRemoved() {
        if (!existed_)
            return;
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, kApprovedKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
        for (const Value& value : values_)
            RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                           static_cast<DWORD>(value.data.size()));
        RegCloseKey(key);
    }

    ApprovedKeyRemoved(const ApprovedKeyRemoved&) = delete;
    ApprovedKeyRemoved& operator=(const ApprovedKeyRemoved&) = delete;

    bool Removed() const { return existed_; }

private:
    struct Value {
        std::wstring name;
        DWORD type;
        std::vector<BYTE> data;
    };
    bool existed_ = false;
    std::vector<Value> values_;
};

struct ExpectedValue {
    std::wstring key;
    std::wstring name;  // empty: the key's default value
    std::wstring data;
};

class DunmoreRegistration : public testing::Test {
protected:
    void TearDown() override {
        Dunmore().unregisterServer();
        RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(kHandlers) + L"\\OtherHandler").c_str());
    }

    const std::wstring clsid_ = GuidText(CLSID_DunmoreExt);
    const std::wstring classKey_ = L"CLSID\\" + clsid_;
    const std::wstring typeLibKey_ = L"TypeLib\\" + GuidText(LIBID_DUNMORELib) + L"\\1.0";

    std::vector<ExpectedValue> ScriptValues() const {
        return {
            {L"Dunmore.DunmoreExt.1", L"", L"DunmoreExt Class"},
            {L"Dunmore.DunmoreExt.1\\CLSID", L"", clsid_},
            {L"Dunmore.DunmoreExt", L"", L"DunmoreExt Class"},
            {L"Dunmore.DunmoreExt\\CLSID", L"", clsid_},
            {L"Dunmore.DunmoreExt\\CurVer", L"", L"Dunmore.DunmoreExt.1"},
            {classKey_, L"", L"DunmoreExt Class"},
            {classKey_ + L"\\ProgID", L"", L"Dunmore.DunmoreExt.1"},
            {classKey_ + L"\\VersionIndependentProgID", L"", L"Dunmore.DunmoreExt"},
            {classKey_ + L"\\InprocServer32", L"", Dunmore().path},
            {classKey_ + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
            {classKey_ + L"\\TypeLib", L"", clsid_},
            {std::wstring(kHandlers) + L"\\SimpleShlExt", L"", clsid_},
        };
    }

    // Keys that unregistration removes, with their subkeys.
    std::vector<std::wstring> OwnKeys() const {
        return {L"Dunmore.DunmoreExt.1", L"Dunmore.DunmoreExt", classKey_, std::wstring(kHandlers) + L"\\SimpleShlExt",
                typeLibKey_};
    }

    void ExpectRegistered() const {
        for (const ExpectedValue& value : ScriptValues())
            EXPECT_EQ(ReadRegistryString(HKEY_CLASSES_ROOT, value.key, value.name).value_or(L"(missing)"), value.data)
                << "HKCR\\" << std::string(value.key.begin(), value.key.end()) << " value \""
                << std::string(value.name.begin(), value.name.end()) << '"';
        EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, classKey_ + L"\\Programmable"));
        EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kApprovedKey, clsid_).value_or(L"(missing)"),
                  L"Tessaly extension");
        EXPECT_EQ(ReadRegistryString(HKEY_CLASSES_ROOT, typeLibKey_).value_or(L"(missing)"),
                  L"Dunmore 1.0 Type Library");
        const wchar_t* platform = sizeof(void*) == 8 ? L"\\409\\win64" : L"\\409\\win32";
        EXPECT_EQ(ReadRegistryString(HKEY_CLASSES_ROOT, typeLibKey_ + platform).value_or(L"(missing)"),
                  Dunmore().path);
    }

    void ExpectUnregistered() const {
        for (const std::wstring& key : OwnKeys())
            EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, key)) << std::string(key.begin(), key.end());
        for (const wchar_t* kept : {L"CLSID", L"txtfile", L"txtfile\\ShellEx", kHandlers})
            EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, kept)) << kept;
        EXPECT_FALSE(ReadRegistryString(HKEY_LOCAL_MACHINE, kApprovedKey, clsid_));
        EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kApprovedKey));
    }
};

TEST_F(DunmoreRegistration, RegisterServerWritesEveryKeyAndValueAndTheApproval) {
    ASSERT_EQ(Dunmore().registerServer(), S_OK);
    ExpectRegistered();
}

TEST_F(DunmoreRegistration, UnregisterServerRemovesItsKeysAndKeepsTheSharedOnes) {
    ASSERT_EQ(Dunmore().registerServer(), S_OK);
    ASSERT_EQ(Dunmore().unregisterServer(), S_OK);
    ExpectUnregistered();
}

TEST_F(DunmoreRegistration, RegistrationReplacesForceRemoveKeysWhole) {
    CreateRegistryKey(HKEY_CLASSES_ROOT, classKey_ + L"\\Stale");
    CreateRegistryKey(HKEY_CLASSES_ROOT, std::wstring(kHandlers) + L"\\SimpleShlExt\\Stale");
    ASSERT_EQ(Dunmore().registerServer(), S_OK);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, classKey_ + L"\\Stale"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, std::wstring(kHandlers) + L"\\SimpleShlExt\\Stale"));
    ExpectRegistered();
}

TEST_F(DunmoreRegistration, RegisteringTwiceLeavesOneRegistration) {
    ASSERT_EQ(Dunmore().registerServer(), S_OK);
    ASSERT_EQ(Dunmore().registerServer(), S_OK);
    ExpectRegistered();
    ASSERT_EQ(Dunmore().unregisterServer(), S_OK);
    ExpectUnregistered();
}

TEST_F(DunmoreRegistration, UnregistrationKeepsOtherHandlersOfTextFiles) {
    CreateRegistryKey(HKEY_CLASSES_ROOT, std::wstring(kHandlers) + L"\\OtherHandler");
    ASSERT_EQ(Dunmore().registerServer(), S_OK);
    ASSERT_EQ(Dunmore().unregisterServer(), S_OK);
    EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, std::wstring(kHandlers) + L"\\OtherHandler"));
    ExpectUnregistered();
}

TEST_F(DunmoreRegistration, RegistrationThatCannotBeApprovedIsDeniedAndRegistersNothing) {
    {
        const ApprovedKeyRemoved removed;
        ASSERT_TRUE(removed.Removed());
        EXPECT_EQ(Dunmore().registerServer(), E_ACCESSDENIED);
    }
    for (const std::wstring& key : OwnKeys())
        EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, key)) << std::string(key.begin(), key.end());
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kApprovedKey)) << "the test puts the key back";
}

TEST_F(DunmoreRegistration, UnregistrationWithoutTheApprovalValueRemovesTheRest) {
    ASSERT_EQ(Dunmore().registerServer(), S_OK);
    ASSERT_EQ(RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kApprovedKey, clsid_.c_str()), ERROR_SUCCESS);
    ASSERT_EQ(Dunmore().unregisterServer(), S_OK);
    ExpectUnregistered();
}

TEST_F(DunmoreRegistration, Regsvr32RegistersAndUnregisters) {
    const std::wstring quoted = L"\"" + Dunmore().path + L"\"";
    ASSERT_EQ(RunProgram(L"regsvr32.exe /s " + quoted), 0);
    ExpectRegistered();
    ASSERT_EQ(RunProgram(L"regsvr32.exe /s /u " + quoted), 0);
    ExpectUnregistered();
}

}  // namespace
