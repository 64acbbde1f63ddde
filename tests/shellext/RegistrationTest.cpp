// Registration through the exports and through regsvr32: every key and value of the script,
// the shell's approval, the type library, and what unregistration keeps. Each build folder
// has its own Wine prefix, so these tests own its class registry; they unregister at the end.
#include "DunmoreTestSupport.h"
#include "RegistryKeyBackup_win.h"

#include <gtest/gtest.h>

namespace {

constexpr wchar_t kApprovedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
constexpr wchar_t kHandlers[] = L"txtfile\\ShellEx\\ContextMenuHandlers";
// Where the shell finds handlers of .txt files whatever program the user chose for them.
constexpr wchar_t kSystemHandlers[] = L"SystemFileAssociations\\.txt\\ShellEx\\ContextMenuHandlers";
// Where the shell finds the thumbnail handler of an extension: the IThumbnailProvider key.
constexpr wchar_t kDc6Thumbnails[] = L".dc6\\ShellEx\\{e357fccd-a995-4576-b01f-234630154e96}";
constexpr wchar_t kDccThumbnails[] = L".dcc\\ShellEx\\{e357fccd-a995-4576-b01f-234630154e96}";

// The other bitness's Dunmore.dll: the same build folder of the other Windows tree.
std::filesystem::path OtherBitnessLibrary() {
    const std::filesystem::path buildDir = TestProgramDir().parent_path();
    std::wstring name = buildDir.filename().wstring();
    const std::wstring own = sizeof(void*) == 8 ? L"-win64" : L"-win32";
    const std::wstring other = sizeof(void*) == 8 ? L"-win32" : L"-win64";
    if (name.size() < own.size() || name.compare(name.size() - own.size(), own.size(), own) != 0)
        return {};
    name.replace(name.size() - own.size(), own.size(), other);
    return buildDir.parent_path() / name / "bin" / "Dunmore.dll";
}

// regsvr32 of the other bitness, which registers a library in that bitness's registry view.
std::wstring OtherBitnessRegsvr32() {
    wchar_t folder[MAX_PATH] = {};
    if constexpr (sizeof(void*) == 8) {
        GetSystemWow64DirectoryW(folder, MAX_PATH);
        return std::wstring(folder) + L"\\regsvr32.exe";
    } else {
        GetWindowsDirectoryW(folder, MAX_PATH);
        return std::wstring(folder) + L"\\sysnative\\regsvr32.exe";
    }
}

// Registers the other bitness's library for a test and unregisters it when the test ends.
class OtherBitnessRegistration {
public:
    explicit OtherBitnessRegistration(const std::filesystem::path& library)
        : command_(OtherBitnessRegsvr32() + L" /s \"" + library.wstring() + L"\"") {}
    ~OtherBitnessRegistration() { Unregister(); }
    OtherBitnessRegistration(const OtherBitnessRegistration&) = delete;
    OtherBitnessRegistration& operator=(const OtherBitnessRegistration&) = delete;

    // regsvr32's exit code, or -1 when it does not start.
    int Register() { return RunProgram(command_); }
    int Unregister() { return RunProgram(command_ + L" /u"); }

private:
    std::wstring command_;
};

struct ExpectedValue {
    std::wstring key;
    std::wstring name;  // empty: the key's default value
    std::wstring data;
};

class DunmoreRegistration : public testing::Test {
protected:
    void TearDown() override {
        RemoveOtherBitnessKeys();
        Dunmore().unregisterServer();
        RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(kHandlers) + L"\\OtherHandler").c_str());
        for (const wchar_t* key : {kDc6Thumbnails, kDccThumbnails})
            RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
    }

    // What a test wrote in the other bitness's registry view: its class key and approval.
    void RemoveOtherBitnessKeys() const {
        HKEY opened = nullptr;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, KEY_ALL_ACCESS | OtherBitnessView(), &opened) ==
            ERROR_SUCCESS) {
            RegDeleteTreeW(opened, clsid_.c_str());
            RegCloseKey(opened);
        }
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kApprovedKey, 0, KEY_SET_VALUE | OtherBitnessView(), &opened) ==
            ERROR_SUCCESS) {
            RegDeleteValueW(opened, clsid_.c_str());
            RegCloseKey(opened);
        }
    }

    const std::wstring clsid_ = GuidText(CLSID_DunmoreExt);
    const std::wstring classKey_ = L"CLSID\\" + clsid_;
    const std::wstring thumbnailClsid_ = GuidText(CLSID_DunmoreThumbnail);
    const std::wstring thumbnailClassKey_ = L"CLSID\\" + thumbnailClsid_;
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
            {std::wstring(kSystemHandlers) + L"\\SimpleShlExt", L"", clsid_},
            {thumbnailClassKey_, L"", L"DunmoreThumbnail Class"},
            {thumbnailClassKey_ + L"\\InprocServer32", L"", Dunmore().path},
            {thumbnailClassKey_ + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
            {kDc6Thumbnails, L"", thumbnailClsid_},
            {kDccThumbnails, L"", thumbnailClsid_},
        };
    }

    // Keys of the script that the 32- and 64-bit registrations share.
    std::vector<std::wstring> SharedKeys() const {
        return {L"Dunmore.DunmoreExt.1", L"Dunmore.DunmoreExt", std::wstring(kHandlers) + L"\\SimpleShlExt",
                std::wstring(kSystemHandlers) + L"\\SimpleShlExt", kDc6Thumbnails, kDccThumbnails};
    }

    // Keys that unregistration removes, with their subkeys.
    std::vector<std::wstring> OwnKeys() const {
        std::vector<std::wstring> keys = SharedKeys();
        keys.push_back(classKey_);
        keys.push_back(thumbnailClassKey_);
        keys.push_back(typeLibKey_);
        return keys;
    }

    void ExpectRegistered() const {
        for (const ExpectedValue& value : ScriptValues())
            EXPECT_EQ(ReadRegistryString(HKEY_CLASSES_ROOT, value.key, value.name).value_or(L"(missing)"), value.data)
                << "HKCR\\" << std::string(value.key.begin(), value.key.end()) << " value \""
                << std::string(value.name.begin(), value.name.end()) << '"';
        EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, classKey_ + L"\\Programmable"));
        EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kApprovedKey, clsid_).value_or(L"(missing)"),
                  L"Tessaly extension");
        EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kApprovedKey, thumbnailClsid_).value_or(L"(missing)"),
                  L"Dunmore sprite thumbnails");
        EXPECT_EQ(ReadRegistryString(HKEY_CLASSES_ROOT, typeLibKey_).value_or(L"(missing)"),
                  L"Dunmore 1.0 Type Library");
        const wchar_t* platform = sizeof(void*) == 8 ? L"\\409\\win64" : L"\\409\\win32";
        EXPECT_EQ(ReadRegistryString(HKEY_CLASSES_ROOT, typeLibKey_ + platform).value_or(L"(missing)"),
                  Dunmore().path);
    }

    void ExpectUnregistered() const {
        for (const std::wstring& key : OwnKeys())
            EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, key)) << std::string(key.begin(), key.end());
        for (const wchar_t* kept : {L"CLSID", L"txtfile", L"txtfile\\ShellEx", kHandlers, kSystemHandlers})
            EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, kept)) << kept;
        EXPECT_FALSE(ReadRegistryString(HKEY_LOCAL_MACHINE, kApprovedKey, clsid_));
        EXPECT_FALSE(ReadRegistryString(HKEY_LOCAL_MACHINE, kApprovedKey, thumbnailClsid_));
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

// A thumbnail handler another program registered for .dc6 stays, through our registration
// and unregistration; where the key held nothing, ours comes and goes; where it held other
// values, only ours goes.
TEST_F(DunmoreRegistration, ThumbnailHandlersOfOtherProgramsStay) {
    const std::wstring other = L"{11111111-2222-3333-4444-555555555555}";
    WriteRegistryString(HKEY_CLASSES_ROOT, kDc6Thumbnails, L"", other);
    WriteRegistryString(HKEY_CLASSES_ROOT, kDccThumbnails, L"Note", L"kept");
    ASSERT_EQ(Dunmore().registerServer(), S_OK);
    EXPECT_EQ(ReadRegistryString(HKEY_CLASSES_ROOT, kDc6Thumbnails), other);
    EXPECT_EQ(ReadRegistryString(HKEY_CLASSES_ROOT, kDccThumbnails), thumbnailClsid_);
    ASSERT_EQ(Dunmore().unregisterServer(), S_OK);
    EXPECT_EQ(ReadRegistryString(HKEY_CLASSES_ROOT, kDc6Thumbnails), other);
    EXPECT_FALSE(ReadRegistryString(HKEY_CLASSES_ROOT, kDccThumbnails));
    EXPECT_EQ(ReadRegistryString(HKEY_CLASSES_ROOT, kDccThumbnails, L"Note"), L"kept");
}

TEST_F(DunmoreRegistration, RegistrationThatCannotBeApprovedIsDeniedAndRegistersNothing) {
    {
        // The shell's Approved key is taken away for the test and put back, values and all.
        const RegistryKeyBackup removed(HKEY_LOCAL_MACHINE, kApprovedKey);
        ASSERT_TRUE(removed.Existed());
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

TEST_F(DunmoreRegistration, VerbIsFoundThroughSystemFileAssociations) {
    // The shell reads SystemFileAssociations\.txt whatever program the user chose for .txt files,
    // and makes the handler it names from the class registration.
    ASSERT_EQ(Dunmore().registerServer(), S_OK);
    const std::optional<std::wstring> handler =
        ReadRegistryString(HKEY_CLASSES_ROOT, std::wstring(kSystemHandlers) + L"\\SimpleShlExt");
    ASSERT_TRUE(handler);
    CLSID handlerClass = {};
    ASSERT_EQ(CLSIDFromString(handler->c_str(), &handlerClass), S_OK);
    IContextMenu* menu = nullptr;
    ASSERT_EQ(CoCreateInstance(handlerClass, nullptr, CLSCTX_INPROC_SERVER, IID_IContextMenu,
                               reinterpret_cast<void**>(&menu)),
              S_OK);
    const HMENU popup = CreatePopupMenu();
    EXPECT_EQ(menu->QueryContextMenu(popup, 0, 1, 10, CMF_NORMAL), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1));
    char text[64] = {};
    GetMenuStringA(popup, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Open With Tessaly");
    DestroyMenu(popup);
    menu->Release();
}

TEST_F(DunmoreRegistration, UnregistrationKeepsTheSharedKeysWhileTheOtherBitnessIsRegistered) {
    const std::wstring otherServerKey = classKey_ + L"\\InprocServer32";
    const std::wstring otherServer = L"C:\\Program Files\\Dunmore\\other\\Dunmore.dll";
    // The other bitness as its registration leaves it: its class and its approval, each in its
    // own registry view. A prefix made by 64-bit Wine alone lacks the 32-bit view's Approved key,
    // which Windows always has.
    WriteRegistryString(HKEY_CLASSES_ROOT, otherServerKey, L"", otherServer, OtherBitnessView());
    if (RegistryKeyExists(HKEY_CLASSES_ROOT, classKey_)) {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, classKey_.c_str());
        GTEST_SKIP() << "this system keeps one view of HKCR\\CLSID for both bitnesses";
    }
    WriteRegistryString(HKEY_LOCAL_MACHINE, kApprovedKey, clsid_, L"Tessaly extension", OtherBitnessView());
    ASSERT_EQ(Dunmore().registerServer(), S_OK);
    ASSERT_EQ(Dunmore().unregisterServer(), S_OK);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, classKey_));
    for (const std::wstring& key : SharedKeys())
        EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, key)) << std::string(key.begin(), key.end());
    EXPECT_TRUE(ReadRegistryString(HKEY_LOCAL_MACHINE, kApprovedKey, clsid_, OtherBitnessView()))
        << "the other bitness lost the shell's approval";
    EXPECT_EQ(ReadRegistryString(HKEY_CLASSES_ROOT, otherServerKey, L"", OtherBitnessView()), otherServer);

    // Once the other bitness is gone, unregistration removes the shared keys too.
    RemoveOtherBitnessKeys();
    ASSERT_EQ(Dunmore().registerServer(), S_OK);
    ASSERT_EQ(Dunmore().unregisterServer(), S_OK);
    ExpectUnregistered();
}

TEST_F(DunmoreRegistration, BothBitnessesRegisteredUnregisteringOneLeavesTheOtherWhole) {
    const std::filesystem::path otherLibrary = OtherBitnessLibrary();
    if (otherLibrary.empty() || !std::filesystem::exists(otherLibrary))
        GTEST_SKIP() << "no Dunmore.dll of the other bitness at " << otherLibrary.string()
                     << "; build the other Windows tree to test both together";
    OtherBitnessRegistration other(otherLibrary);
    const std::wstring otherServerKey = classKey_ + L"\\InprocServer32";
    const wchar_t* otherPlatform = sizeof(void*) == 8 ? L"\\409\\win32" : L"\\409\\win64";

    ASSERT_EQ(Dunmore().registerServer(), S_OK);
    const int registered = other.Register();
    if (registered == -1)
        GTEST_SKIP() << "the other bitness's regsvr32 does not start here";
    ASSERT_EQ(registered, 0);
    ASSERT_EQ(ReadRegistryString(HKEY_CLASSES_ROOT, otherServerKey, L"", OtherBitnessView()), otherLibrary.wstring())
        << "the other bitness registered in a view of its own";
    ASSERT_EQ(other.Unregister(), 0);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, classKey_, OtherBitnessView()));
    ExpectRegistered();

    ASSERT_EQ(other.Register(), 0);
    ASSERT_EQ(Dunmore().unregisterServer(), S_OK);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, classKey_));
    EXPECT_EQ(ReadRegistryString(HKEY_CLASSES_ROOT, otherServerKey, L"", OtherBitnessView()), otherLibrary.wstring());
    for (const std::wstring& key : SharedKeys())
        EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, key)) << std::string(key.begin(), key.end());
    EXPECT_EQ(ReadRegistryString(HKEY_CLASSES_ROOT, typeLibKey_ + otherPlatform).value_or(L"(missing)"),
              otherLibrary.wstring());

    ASSERT_EQ(other.Unregister(), 0);
    ExpectUnregistered();
}

}  // namespace
