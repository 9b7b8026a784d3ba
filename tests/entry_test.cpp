// The library's entry point and its settings, read from HKEY_LOCAL_MACHINE\DXDLG_SETTINGS_KEY.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>

#include "dxdlg.h"
#include "base/settings.h"
#include "harness.h"
#include "resource.h"

using namespace dxtest;

namespace {

void ClearStore()
{
    countryCode = ShowEveryLanguage = RawDlgTimeout = ErrDlgTimeout = 0xDEADBEEF;
}

void LoadWith(std::initializer_list<Setting> settings)
{
    DeleteSettingsKey();
    for (const Setting &s : settings)
        SetSettingDword(s.name, s.value);
    ClearStore();
    LoadSettings();
}

DWORD Stored(const char *name)
{
    DWORD value = 0xDEADBEEF;
    EXPECT_TRUE(GetSettingDword(name, &value)) << name << " is not stored";
    return value;
}

class Settings : public ::testing::Test {
protected:
    void TearDown() override { DeleteSettingsKey(); }
};

TEST_F(Settings, FirstLoadCreatesTheKeyWithDefaults)
{
    LoadWith({});
    EXPECT_EQ(countryCode, DWORD(GetUserDefaultLangID()));
    EXPECT_EQ(ShowEveryLanguage, 0u);
    EXPECT_EQ(RawDlgTimeout, DXDLG_DEFAULT_RAW_TIMEOUT);
    EXPECT_EQ(ErrDlgTimeout, DXDLG_DEFAULT_ERR_TIMEOUT);
    EXPECT_EQ(Stored("countryCode"), DWORD(GetUserDefaultLangID()));
    EXPECT_EQ(Stored("RawDlgTimeout"), DXDLG_DEFAULT_RAW_TIMEOUT);
    EXPECT_EQ(Stored("ErrDlgTimeout"), DXDLG_DEFAULT_ERR_TIMEOUT);
}

TEST_F(Settings, StoredValuesAreReadAndLeftAlone)
{
    LoadWith({{"countryCode", 1031}, {"RawDlgTimeout", 250}, {"ErrDlgTimeout", 5000}});
    EXPECT_EQ(countryCode, 1031u);
    EXPECT_EQ(ShowEveryLanguage, 0u);
    EXPECT_EQ(RawDlgTimeout, 250u);
    EXPECT_EQ(ErrDlgTimeout, 5000u);
    EXPECT_EQ(Stored("countryCode"), 1031u);
    EXPECT_EQ(Stored("ErrDlgTimeout"), 5000u);
}

TEST_F(Settings, NeverEndingErrorNoticeBecomesOneHourButRawWarningMayNeverEnd)
{
    LoadWith({{"countryCode", 1033},
              {"RawDlgTimeout", DXDLG_NEVER_TIMES_OUT},
              {"ErrDlgTimeout", DXDLG_NEVER_TIMES_OUT}});
    EXPECT_EQ(ErrDlgTimeout, DXDLG_DEFAULT_ERR_TIMEOUT);
    EXPECT_EQ(Stored("ErrDlgTimeout"), DXDLG_DEFAULT_ERR_TIMEOUT);
    EXPECT_EQ(RawDlgTimeout, DXDLG_NEVER_TIMES_OUT);
    EXPECT_EQ(Stored("RawDlgTimeout"), DXDLG_NEVER_TIMES_OUT);
}

TEST_F(Settings, OnlyTheWholeValueMinus52718ShowsEveryLanguage)
{
    LoadWith({{"countryCode", DXDLG_EVERY_LANGUAGE}});
    EXPECT_EQ(ShowEveryLanguage, 1u);
    EXPECT_EQ(countryCode, DXDLG_EVERY_LANGUAGE);

    LoadWith({{"countryCode", 0x3212}});  // the low half alone is just a language identifier
    EXPECT_EQ(ShowEveryLanguage, 0u);
    LoadWith({{"countryCode", 0xFFFF3213}});
    EXPECT_EQ(ShowEveryLanguage, 0u);
}

TEST_F(Settings, ValueNamesIgnoreLetterCase)
{
    LoadWith({{"CountryCode", 1031}, {"RAWDLGTIMEOUT", 700}, {"errdlgtimeout", 900}});
    EXPECT_EQ(countryCode, 1031u);
    EXPECT_EQ(RawDlgTimeout, 700u);
    EXPECT_EQ(ErrDlgTimeout, 900u);
    // Nothing overwrote the administrator's values with defaults.
    EXPECT_EQ(Stored("countryCode"), 1031u);
    EXPECT_EQ(Stored("RawDlgTimeout"), 700u);
    EXPECT_EQ(Stored("ErrDlgTimeout"), 900u);
}

TEST_F(Settings, LongValueNamesAnywhereDoNotDisturbTheOthers)
{
    const std::string longName(600, 'x');
    DeleteSettingsKey();
    SetSettingDword(longName.c_str(), 1);
    SetSettingDword("countryCode", 1036);
    SetSettingDword((longName + "y").c_str(), 2);
    SetSettingDword("RawDlgTimeout", 300);
    SetSettingDword((longName + "z").c_str(), 3);
    SetSettingDword("ErrDlgTimeout", 400);
    ClearStore();
    LoadSettings();
    EXPECT_EQ(countryCode, 1036u);
    EXPECT_EQ(RawDlgTimeout, 300u);
    EXPECT_EQ(ErrDlgTimeout, 400u);
}

TEST_F(Settings, OversizedDataTakesTheDefaultAndStaysStored)
{
    const BYTE eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    DeleteSettingsKey();
    SetSettingRaw("countryCode", REG_BINARY, eight, sizeof(eight));
    SetSettingRaw("RawDlgTimeout", REG_QWORD, eight, sizeof(eight));
    SetSettingRaw("ErrDlgTimeout", REG_BINARY, eight, sizeof(eight));
    ClearStore();
    LoadSettings();
    EXPECT_EQ(countryCode, DWORD(GetUserDefaultLangID()));
    EXPECT_EQ(RawDlgTimeout, DXDLG_DEFAULT_RAW_TIMEOUT);
    EXPECT_EQ(ErrDlgTimeout, DXDLG_DEFAULT_ERR_TIMEOUT);
    DWORD value, size;
    ASSERT_TRUE(GetSettingDword("ErrDlgTimeout", &value, &size));
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(value, 0x04030201u);
}

TEST_F(Settings, ShortNumberDataLandsInTheLowOrderBytes)
{
    const BYTE two[2] = {0x07, 0x04};  // 1031
    const BYTE one[1] = {200};
    const BYTE three[3] = {0x10, 0x27, 0x00};  // 10000
    DeleteSettingsKey();
    SetSettingRaw("countryCode", REG_BINARY, two, sizeof(two));
    SetSettingRaw("RawDlgTimeout", REG_BINARY, one, sizeof(one));
    SetSettingRaw("ErrDlgTimeout", REG_DWORD, three, sizeof(three));
    ClearStore();
    LoadSettings();
    EXPECT_EQ(countryCode, 1031u);
    EXPECT_EQ(RawDlgTimeout, 200u);
    EXPECT_EQ(ErrDlgTimeout, 10000u);
}

// The type and size of a stored value, or false when it does not exist.
bool StoredType(const char *name, DWORD *type, DWORD *size)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    LONG status = RegQueryValueExA(key, name, nullptr, type, nullptr, size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

TEST_F(Settings, OnlyNumbersCountAndOtherValuesStayAsTheyAre)
{
    // "500" would read as 0x00303035, 52 minutes; no data at all as 0, a notice gone at once.
    DeleteSettingsKey();
    SetSettingRaw("countryCode", REG_SZ, "1031", 5);
    SetSettingRaw("RawDlgTimeout", REG_SZ, "500", 4);
    SetSettingRaw("ErrDlgTimeout", REG_DWORD, nullptr, 0);
    ClearStore();
    LoadSettings();
    EXPECT_EQ(countryCode, DWORD(GetUserDefaultLangID()));
    EXPECT_EQ(RawDlgTimeout, DXDLG_DEFAULT_RAW_TIMEOUT);
    EXPECT_EQ(ErrDlgTimeout, DXDLG_DEFAULT_ERR_TIMEOUT);
    DWORD type = 0, size = 0;
    EXPECT_TRUE(StoredType("RawDlgTimeout", &type, &size));
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(size, 4u);
    EXPECT_TRUE(StoredType("ErrDlgTimeout", &type, &size));
    EXPECT_EQ(type, DWORD(REG_DWORD));
    EXPECT_EQ(size, 0u);

    // Empty binary data, a multi-string and a big-endian number take their defaults too.
    const BYTE bigEndian[4] = {0, 0, 0x01, 0xF4};
    DeleteSettingsKey();
    SetSettingRaw("countryCode", REG_BINARY, nullptr, 0);
    SetSettingRaw("RawDlgTimeout", REG_MULTI_SZ, "5\0\0", 3);
    SetSettingRaw("ErrDlgTimeout", REG_DWORD_BIG_ENDIAN, bigEndian, sizeof(bigEndian));
    ClearStore();
    LoadSettings();
    EXPECT_EQ(countryCode, DWORD(GetUserDefaultLangID()));
    EXPECT_EQ(RawDlgTimeout, DXDLG_DEFAULT_RAW_TIMEOUT);
    EXPECT_EQ(ErrDlgTimeout, DXDLG_DEFAULT_ERR_TIMEOUT);
    EXPECT_TRUE(StoredType("countryCode", &type, &size));
    EXPECT_EQ(type, DWORD(REG_BINARY));
    EXPECT_EQ(size, 0u);
}

TEST_F(Settings, ReadOnlyKeyIsReadAndNeverWritten)
{
    DeleteSettingsKey();
    SetSettingDword("countryCode", 1040);
    SetSettingDword("ErrDlgTimeout", DXDLG_NEVER_TIMES_OUT);
    MakeSettingsKeyReadOnly();
    ClearStore();
    LoadSettings();
    EXPECT_EQ(countryCode, 1040u);
    EXPECT_EQ(RawDlgTimeout, DXDLG_DEFAULT_RAW_TIMEOUT);  // missing: its default, in memory only
    EXPECT_EQ(ErrDlgTimeout, DXDLG_DEFAULT_ERR_TIMEOUT);  // never-ending: the default, in memory only
    DWORD value;
    EXPECT_FALSE(GetSettingDword("RawDlgTimeout", &value));
    EXPECT_EQ(Stored("ErrDlgTimeout"), DXDLG_NEVER_TIMES_OUT);
}

TEST_F(Settings, KeyThatCannotBeOpenedGivesBritishEnglishAndOneHour)
{
    DeleteSettingsKey();
    // A key that nobody may read or write: created with an empty access list.
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr), ERROR_SUCCESS);
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    ACL acl;
    InitializeAcl(&acl, sizeof(acl), ACL_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, &acl, FALSE);
    ASSERT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd), ERROR_SUCCESS);
    RegCloseKey(key);

    ClearStore();
    LoadSettings();
    EXPECT_EQ(countryCode, 2057u);
    EXPECT_EQ(ShowEveryLanguage, 0u);
    EXPECT_EQ(RawDlgTimeout, DXDLG_DEFAULT_RAW_TIMEOUT);
    EXPECT_EQ(ErrDlgTimeout, DXDLG_DEFAULT_ERR_TIMEOUT);

    // Owner rights let the test give the key back its access list.
    HKEY owner;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, WRITE_DAC, &owner) == ERROR_SUCCESS) {
        SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);
        RegSetKeySecurity(owner, DACL_SECURITY_INFORMATION, &sd);
        RegCloseKey(owner);
    }
}

// ---- The DLL as a driver loads it ----

TEST(Library, EveryReasonOfTheEntryPointReturnsTrue)
{
    HMODULE module = LoadDxdlg({});
    ASSERT_NE(module, nullptr);

    // A thread attaching and detaching runs the entry point again; it must change nothing.
    HANDLE thread = CreateThread(nullptr, 0, [](void *) -> DWORD { return 0; }, nullptr, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    UnloadDxdlg(module);
    EXPECT_EQ(GetModuleHandleA("dxdlg.dll"), nullptr);
    DeleteSettingsKey();
}

TEST(Library, ExportsTheSevenFunctionsByNameAndOrdinal)
{
    HMODULE module = LoadDxdlg({});
    ASSERT_NE(module, nullptr);
    const char *names[] = {"DiskFulErrorDialog", "FRegisterBitmapControl", "FRegisterBitmapControlMP",
                           "MemfullErrorDialog", "OpenDuplexDlg", "OpenDuplexDlgMP",
                           "RawWarningDialog"};
    for (int i = 0; i < 7; i++) {
        FARPROC byName = GetProcAddress(module, names[i]);
        FARPROC byOrdinal = GetProcAddress(module, MAKEINTRESOURCEA(i + 1));
        EXPECT_NE(byName, nullptr) << names[i];
        EXPECT_EQ(byName, byOrdinal) << names[i] << " is not ordinal " << i + 1;
    }
    EXPECT_EQ(GetProcAddress(module, MAKEINTRESOURCEA(8)), nullptr);
    auto *dir = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY *>(
        reinterpret_cast<const BYTE *>(module) +
        reinterpret_cast<const IMAGE_NT_HEADERS *>(
            reinterpret_cast<const BYTE *>(module) +
            reinterpret_cast<const IMAGE_DOS_HEADER *>(module)->e_lfanew)
            ->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT]
            .VirtualAddress);
    EXPECT_EQ(dir->NumberOfNames, 7u);
    EXPECT_EQ(dir->NumberOfFunctions, 7u);
    UnloadDxdlg(module);
    DeleteSettingsKey();
}

TEST(Library, ImportsOnlySystemLibraries)
{
    HMODULE module = LoadDxdlg({});
    ASSERT_NE(module, nullptr);
    const BYTE *base = reinterpret_cast<const BYTE *>(module);
    auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER *>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    ASSERT_NE(dir.VirtualAddress, 0u);
    std::set<std::string> imports;
    for (auto *d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(base + dir.VirtualAddress);
         d->Name != 0; d++) {
        std::string name(reinterpret_cast<const char *>(base + d->Name));
        for (char &c : name)
            c = char(toupper(static_cast<unsigned char>(c)));
        imports.insert(name);
    }
    const std::set<std::string> allowed = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL", "ADVAPI32.DLL"};
    for (const std::string &name : imports)
        EXPECT_TRUE(allowed.count(name)) << "dxdlg.dll imports " << name;
    EXPECT_TRUE(imports.count("KERNEL32.DLL"));
    EXPECT_TRUE(imports.count("ADVAPI32.DLL"));
    UnloadDxdlg(module);
    DeleteSettingsKey();
}

TEST(Library, LoadsWhenTheKeyIsReadOnly)
{
    DeleteSettingsKey();
    SetSettingDword("countryCode", 1053);
    MakeSettingsKeyReadOnly();
    HMODULE module = LoadDxdlgAsIs();
    EXPECT_NE(module, nullptr);
    DWORD value;
    EXPECT_FALSE(GetSettingDword("ErrDlgTimeout", &value)) << "a read-only key was written";
    UnloadDxdlg(module);
    DeleteSettingsKey();
}

}  // namespace

namespace {

// ---- Settings on first use ----

TEST(Library, LoadingReadsNoSettingsAndTheFirstDialogCallDoes)
{
    HMODULE module = LoadDxdlg({});
    ASSERT_NE(module, nullptr);
    DWORD value;
    EXPECT_FALSE(GetSettingDword("countryCode", &value)) << "the entry point read the settings";

    // The call fails (no device block) after it has read the settings.
    auto open = Export<PFN_OpenDuplexDlg>(module, "OpenDuplexDlg");
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open(nullptr, nullptr, 0, 0, 1033, nullptr, nullptr, nullptr), -1);
    EXPECT_EQ(Stored("ErrDlgTimeout"), DXDLG_DEFAULT_ERR_TIMEOUT);

    // Read once per process: a changed value is not read again until the next load.
    SetSettingDword("countryCode", 1031);
    DeleteSettingsKey();
    EXPECT_EQ(open(nullptr, nullptr, 0, 0, 1033, nullptr, nullptr, nullptr), -1);
    EXPECT_FALSE(GetSettingDword("countryCode", &value)) << "the settings were read twice";
    UnloadDxdlg(module);
}

// Threads that make their first dialog call together: the first to read the settings is held
// inside the read until every other one waits for it (or, where nothing makes them wait, has
// ended its call). This program's calls go to the system; only the DLL's import entries are
// replaced.
const int kRacers = 4;
LONG atTheGate, callsEnded, readersHeld;
dxtest::ImportPatch *gate, *createKey;

BOOL WINAPI CountAtTheGate(PINIT_ONCE once, PINIT_ONCE_FN read, PVOID parameter, LPVOID *context)
{
    InterlockedIncrement(&atTheGate);
    return gate->Original<decltype(&InitOnceExecuteOnce)>()(once, read, parameter, context);
}

LSTATUS WINAPI HoldTheFirstReader(HKEY key, LPCSTR name, DWORD reserved, LPSTR className,
                                  DWORD options, REGSAM access, LPSECURITY_ATTRIBUTES security,
                                  PHKEY result, LPDWORD disposition)
{
    DWORD start = GetTickCount();
    if (InterlockedExchange(&readersHeld, 1) == 0)
        while (atTheGate < kRacers && callsEnded < kRacers - 1 && GetTickCount() - start < 20000)
            Sleep(1);
    return createKey->Original<decltype(&RegCreateKeyExA)>()(key, name, reserved, className, options,
                                                             access, security, result, disposition);
}

TEST(Library, ThreadsMakingTheFirstCallTogetherAllReadTheStoredSettings)
{
    HMODULE module = LoadDxdlg({{"countryCode", 1033}, {"ErrDlgTimeout", 400}});
    ASSERT_NE(module, nullptr);
    auto memfull = Export<PFN_MemfullErrorDialog>(module, "MemfullErrorDialog");
    DWORD open[kRacers] = {};
    {
        dxtest::ImportPatch gatePatch(module, "KERNEL32.dll", "InitOnceExecuteOnce", CountAtTheGate);
        dxtest::ImportPatch createPatch(module, "ADVAPI32.dll", "RegCreateKeyExA", HoldTheFirstReader);
        // A library that makes nobody wait has no gate to count.
        ASSERT_TRUE(createPatch.Patched());
        gate = &gatePatch;
        createKey = &createPatch;
        atTheGate = callsEnded = readersHeld = 0;
        std::thread racers[kRacers];
        for (int i = 0; i < kRacers; i++)
            racers[i] = std::thread([&, i] {
                DWORD start = GetTickCount();
                memfull(nullptr, 1033, nullptr, "Memory");
                open[i] = GetTickCount() - start;
                InterlockedIncrement(&callsEnded);
            });
        for (std::thread &racer : racers)
            racer.join();
    }
    // Each notice stayed for the stored 400 ms, none for the 0 of settings not yet read.
    for (DWORD ms : open)
        EXPECT_GE(ms, 400u - 16u);
    UnloadDxdlg(module);
    DeleteSettingsKey();
}

}  // namespace

namespace {

// ---- No visible desktop ----

TEST(Library, NoDialogWithoutAVisibleDesktop)
{
    HMODULE module = LoadDxdlg(
        {{"countryCode", 1033}, {"RawDlgTimeout", DXDLG_NEVER_TIMES_OUT}, {"ErrDlgTimeout", 0xFFFFFFFE}});
    ASSERT_NE(module, nullptr);
    auto duplex = Export<PFN_OpenDuplexDlg>(module, "OpenDuplexDlg");
    auto manualFeed = Export<PFN_OpenDuplexDlgMP>(module, "OpenDuplexDlgMP");
    HLOCAL block = JobBlock();
    ASSERT_EQ(Export<PFN_FRegisterBitmapControl>(module, "FRegisterBitmapControl")(nullptr), 1);
    ASSERT_EQ(Export<PFN_FRegisterBitmapControlMP>(module, "FRegisterBitmapControlMP")(nullptr), 1);

    RunInServiceStation([&] {
        // A window created here would wait for good: the watchdog of the caller's wait fails.
        EXPECT_EQ(duplex(nullptr, nullptr, 0, 0, 1033, block, nullptr, nullptr), -1);
        EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_SUCH_LOGON_SESSION)) << "a thread that impersonates nobody";
        EXPECT_EQ(manualFeed(nullptr, nullptr, 0, 1033, nullptr, nullptr), -1);
        // The three notices share one type.
        for (const char *name : {"RawWarningDialog", "MemfullErrorDialog", "DiskFulErrorDialog"})
            EXPECT_EQ(Export<PFN_RawWarningDialog>(module, name)(nullptr, 1033, nullptr, "t"), 0) << name;
        EXPECT_EQ(FindThreadDialog(), nullptr);
    });
    // A station that cannot be asked is taken for the user's own, as it was before stations
    // were asked: the DLL's question about it fails here, and the notice opens.
    {
        auto fail = [](HANDLE, int, PVOID, DWORD, LPDWORD) -> BOOL { return FALSE; };
        dxtest::ImportPatch unanswered(module, "USER32.dll", "GetUserObjectInformationW", +fail);
        ASSERT_TRUE(unanswered.Patched());
        DialogWatch watch([](HWND notice) { ClickButton(notice, IDC_NOTICE_OK); }, 5000);
        Export<PFN_RawWarningDialog>(module, "RawWarningDialog")(nullptr, 1033, nullptr, "t");
        EXPECT_EQ(watch.DialogsSeen(), 1);
    }
    LocalFree(block);
    UnloadDxdlg(module);
    DeleteSettingsKey();
}

}  // namespace
