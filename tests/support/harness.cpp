#include "harness.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "dxdlg.h"

namespace dxtest {

const char kSettingsKey[] = DXDLG_SETTINGS_KEY;

// ---- Registry ----

static HKEY OpenSettingsKey(REGSAM access)
{
    HKEY key = nullptr;
    LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, nullptr, 0, access, nullptr,
                                  &key, nullptr);
    if (status != ERROR_SUCCESS)
        ADD_FAILURE() << "cannot open the settings key, error " << status;
    return key;
}

static void RestoreWritableAcl()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, WRITE_DAC, &key) != ERROR_SUCCESS)
        return;
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KA;;;WD)", SDDL_REVISION_1,
                                                             &sd, nullptr)) {
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd);
        LocalFree(sd);
    }
    RegCloseKey(key);
}

SettingsAsFound::SettingsAsFound()
{
    HKEY key;
    keyExisted_ = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (!keyExisted_)
        return;
    char name[256];
    BYTE data[1024];
    for (DWORD i = 0;; i++) {
        DWORD nameSize = sizeof(name), type = 0, size = sizeof(data);
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        values_.push_back(Value{name, type, std::vector<BYTE>(data, data + size)});
    }
    RegCloseKey(key);
}

SettingsAsFound::~SettingsAsFound()
{
    RestoreWritableAcl();
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSettingsKey);
    HKEY key;
    if (!keyExisted_ || RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                        &key, nullptr) != ERROR_SUCCESS)
        return;
    for (const Value &value : values_)
        RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(), DWORD(value.data.size()));
    RegCloseKey(key);
}

static SettingsAsFound *foundByTheFirstWrite;

void KeepSettingsAsFound()
{
    if (foundByTheFirstWrite)
        return;
    foundByTheFirstWrite = new SettingsAsFound;
    atexit([] { delete foundByTheFirstWrite; });
}

void DeleteSettingsKey()
{
    KeepSettingsAsFound();
    RestoreWritableAcl();
    LONG status = RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSettingsKey);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        ADD_FAILURE() << "cannot delete the settings key, error " << status;
}

void SetSettingRaw(const char *name, DWORD type, const void *data, DWORD size)
{
    KeepSettingsAsFound();
    HKEY key = OpenSettingsKey(KEY_ALL_ACCESS);
    if (!key)
        return;
    LONG status = RegSetValueExA(key, name, 0, type, static_cast<const BYTE *>(data), size);
    if (status != ERROR_SUCCESS)
        ADD_FAILURE() << "cannot store " << name << ", error " << status;
    RegCloseKey(key);
}

void SetSettingDword(const char *name, DWORD value)
{
    SetSettingRaw(name, REG_DWORD, &value, sizeof(value));
}

bool GetSettingDword(const char *name, DWORD *value, DWORD *size)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    BYTE data[64] = {};
    DWORD dataSize = sizeof(data);
    LONG status = RegQueryValueExA(key, name, nullptr, nullptr, data, &dataSize);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return false;
    memcpy(value, data, sizeof(*value));
    if (size)
        *size = dataSize;
    return true;
}

void MakeSettingsKeyReadOnly()
{
    KeepSettingsAsFound();
    HKEY key = OpenSettingsKey(KEY_ALL_ACCESS);
    if (!key)
        return;
    // Read, change the access list again, and delete: what a standard user is refused is
    // KEY_SET_VALUE and KEY_CREATE_SUB_KEY, and so KEY_ALL_ACCESS.
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KRWDSD;;;WD)",
                                                                     SDDL_REVISION_1, &sd, nullptr));
    LONG status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd);
    LocalFree(sd);
    RegCloseKey(key);
    ASSERT_EQ(status, ERROR_SUCCESS);
}

// ---- The DLL ----

static void UnloadEveryCopy()
{
    for (HMODULE module; (module = GetModuleHandleA("dxdlg.dll")) != nullptr;)
        FreeLibrary(module);
}

HMODULE LoadDxdlgAsIs()
{
    KeepSettingsAsFound();  // the DLL stores the values that it misses
    UnloadEveryCopy();
    HMODULE module = LoadLibraryA("dxdlg.dll");
    if (!module)
        ADD_FAILURE() << "dxdlg.dll does not load, error " << GetLastError();
    return module;
}

HMODULE LoadDxdlg(std::initializer_list<Setting> settings)
{
    UnloadEveryCopy();
    DeleteSettingsKey();
    for (const Setting &setting : settings)
        SetSettingDword(setting.name, setting.value);
    return LoadDxdlgAsIs();
}

void UnloadDxdlg(HMODULE module)
{
    if (module)
        FreeLibrary(module);
}

// ---- A print job's device settings ----

DEVMODEA JobFields(short source, short orientation)
{
    DEVMODEA fields = {};
    fields.dmSize = sizeof(fields);
    fields.dmDefaultSource = source;
    fields.dmOrientation = orientation;
    return fields;
}

HLOCAL JobBlock(short source, short orientation)
{
    HLOCAL block = LocalAlloc(LMEM_MOVEABLE, sizeof(DEVMODEA));
    *static_cast<DEVMODEA *>(LocalLock(block)) = JobFields(source, orientation);
    LocalUnlock(block);
    return block;
}

// ---- Replacing a system call of one module ----

static void WriteEntry(void **entry, void *value)
{
    DWORD protection;
    VirtualProtect(entry, sizeof(*entry), PAGE_READWRITE, &protection);
    *entry = value;
    VirtualProtect(entry, sizeof(*entry), protection, &protection);
}

ImportPatch::ImportPatch(HMODULE module, const char *dll, const char *function,
                         const void *replacement)
{
    const BYTE *base = reinterpret_cast<const BYTE *>(module);
    auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER *>(base)->e_lfanew);
    DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto *d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(base + imports);
         imports && d->Name; d++) {
        if (lstrcmpiA(reinterpret_cast<const char *>(base + d->Name), dll) != 0)
            continue;
        auto *names = reinterpret_cast<const IMAGE_THUNK_DATA *>(base + d->OriginalFirstThunk);
        auto *entries = reinterpret_cast<void **>(const_cast<BYTE *>(base) + d->FirstThunk);
        for (int i = 0; names[i].u1.AddressOfData; i++) {
            if (IMAGE_SNAP_BY_ORDINAL(names[i].u1.Ordinal))
                continue;
            auto *byName = reinterpret_cast<const char *>(base + names[i].u1.AddressOfData + 2);
            if (lstrcmpA(byName, function) == 0) {  // after the two bytes of its hint
                entry_ = &entries[i];
                original_ = *entry_;
                WriteEntry(entry_, const_cast<void *>(replacement));
                return;
            }
        }
    }
}

ImportPatch::~ImportPatch()
{
    if (entry_)
        WriteEntry(entry_, original_);
}

// ---- A process without a visible desktop ----

void RunInServiceStation(const std::function<void()> &body)
{
    ASSERT_TRUE(dxdesk::RunInServiceStation(body, false, 20000))
        << "no service window station, or its thread hangs";
}

// ---- Driving a dialog ----

namespace {
struct WatchStep {
    DWORD delayMs;
    std::function<void(HWND)> step;
};
struct WatchState {
    std::function<void(HWND)> action;
    DWORD watchdogMs = 0;
    DWORD started = 0;
    UINT_PTR timer = 0;
    HWND lastDialog = nullptr;
    int seen = 0;
    bool repeat = false;
    bool watchdogFired = false;
    bool inAction = false;
    std::vector<WatchStep> steps;
    size_t stepsRun = 0;
    DWORD lastRan = 0;
};
WatchState watch;
}  // namespace

static void CALLBACK WatchTimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    if (watch.inAction)
        return;
    HWND dialog = FindThreadDialog();
    if (dialog && GetTickCount() - watch.started > watch.watchdogMs) {
        watch.watchdogFired = true;
        CloseByForce(dialog);
        return;
    }
    if (watch.seen > 0 && watch.stepsRun < watch.steps.size()) {
        if (GetTickCount() - watch.lastRan < watch.steps[watch.stepsRun].delayMs)
            return;
        watch.inAction = true;
        watch.steps[watch.stepsRun].step(watch.lastDialog);
        watch.inAction = false;
        watch.stepsRun++;
        watch.lastRan = GetTickCount();
        return;
    }
    if (!dialog || dialog == watch.lastDialog)
        return;
    if (watch.seen > 0 && !watch.repeat)
        return;
    watch.lastDialog = dialog;
    watch.seen++;
    watch.inAction = true;
    if (watch.action)
        watch.action(dialog);
    watch.inAction = false;
    watch.lastRan = GetTickCount();
}

DialogWatch::DialogWatch(std::function<void(HWND)> action, DWORD watchdogMs)
{
    watch = WatchState();
    watch.action = std::move(action);
    watch.watchdogMs = watchdogMs;
    watch.started = GetTickCount();
    watch.timer = SetTimer(nullptr, 0, 10, WatchTimerProc);
}

void DialogWatch::RepeatForEachDialog(bool repeat)
{
    watch.repeat = repeat;
}

void DialogWatch::Then(DWORD delayMs, std::function<void(HWND)> step)
{
    watch.steps.push_back(WatchStep{delayMs, std::move(step)});
}

int DialogWatch::StepsRun() const
{
    return int(watch.stepsRun);
}

DialogWatch::~DialogWatch()
{
    KillTimer(nullptr, watch.timer);
    // Drop the timer's messages that are already queued. A quit message comes out whatever
    // the filter: hand it back to the loop it was meant for.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
            break;
        }
    }
    watch.action = nullptr;
    watch.steps.clear();
}

int DialogWatch::DialogsSeen() const
{
    return watch.seen;
}

bool DialogWatch::WatchdogFired() const
{
    return watch.watchdogFired;
}

// ---- A dialog call on a thread of its own ----

thread_local std::function<void()> threadBeforeDialog;
thread_local std::function<void(HWND)> threadTick;

LRESULT CALLBACK RunBeforeDialog(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && threadBeforeDialog && ClassName(HWND(wParam)) == "#32770") {
        std::function<void()> before = std::move(threadBeforeDialog);
        threadBeforeDialog = nullptr;
        before();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK TickThreadDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (threadTick)
        threadTick(FindThreadDialog());
}

DWORD WINAPI DialogThread::Run(void *parameter)
{
    auto *self = static_cast<DialogThread *>(parameter);
    self->id_ = GetCurrentThreadId();
    threadBeforeDialog = self->beforeDialog;
    threadTick = self->eachTick;
    HHOOK hook = threadBeforeDialog
                     ? SetWindowsHookExW(WH_CBT, RunBeforeDialog, nullptr, GetCurrentThreadId())
                     : nullptr;
    UINT_PTR timer = threadTick ? SetTimer(nullptr, 0, 10, TickThreadDialog) : 0;
    self->call_();
    KillTimer(nullptr, timer);
    if (hook)
        UnhookWindowsHookEx(hook);
    threadTick = nullptr;
    self->returned_ = true;
    return 0;
}

void DialogThread::Start(std::function<void()> call)
{
    call_ = std::move(call);
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

bool DialogThread::Join(DWORD ms)
{
    if (!thread_)
        return true;
    bool ended = WaitHandling(thread_, ms);
    if (!ended) {
        PostThreadMessageW(id_, WM_QUIT, 0, 0);
        WaitHandling(thread_, 5000);
    }
    CloseHandle(thread_);
    thread_ = nullptr;
    return ended;
}

bool WaitHandling(HANDLE handle, DWORD ms)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
        DWORD woken = MsgWaitForMultipleObjects(1, &handle, FALSE, 50, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0)
            return true;
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    return false;
}

std::wstring ItemText(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    return item ? WindowText(item) : std::wstring(L"<no control>");
}

std::string ClassName(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof(name));
    return name;
}

void ClickButton(HWND dialog, int id)
{
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

std::wstring Wide(const char *text8, UINT codePage)
{
    int length = MultiByteToWideChar(codePage, 0, text8, -1, nullptr, 0);
    std::wstring text(size_t(length), L'\0');
    MultiByteToWideChar(codePage, 0, text8, -1, &text[0], length);
    text.resize(size_t(length > 0 ? length - 1 : 0));
    return text;
}

BOOL WINAPI AnswerHighContrastOn(UINT action, UINT parameter, void *data, UINT winIni)
{
    if (action == SPI_GETHIGHCONTRAST && data) {
        static_cast<HIGHCONTRASTW *>(data)->dwFlags = HCF_HIGHCONTRASTON | HCF_AVAILABLE;
        return TRUE;
    }
    return SystemParametersInfoW(action, parameter, data, winIni);
}

}  // namespace dxtest
