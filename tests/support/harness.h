// Shared helpers of the tests: the settings key, a fresh copy of the DLL, driving a dialog from
// inside its own message loop, and reading a window's pixels.
#pragma once

#include <windows.h>

#include "desktop.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace dxtest {

// ---- The settings key, DXDLG_SETTINGS_KEY under HKEY_LOCAL_MACHINE ----
extern const char kSettingsKey[];

// Notes the key as it is when made, and puts it back so when it goes: a test leaves the
// settings as it found them for the demo and the gallery, which share the Wine prefix.
class SettingsAsFound {
public:
    SettingsAsFound();
    ~SettingsAsFound();
    SettingsAsFound(const SettingsAsFound &) = delete;
    SettingsAsFound &operator=(const SettingsAsFound &) = delete;

private:
    struct Value {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    bool keyExisted_ = false;
    std::vector<Value> values_;
};
// The first time it is called in a process, keeps the key as found until the process ends.
// The helpers below that write the key, or load the DLL (which stores missing values), call it.
void KeepSettingsAsFound();
void DeleteSettingsKey();
void SetSettingDword(const char *name, DWORD value);
void SetSettingRaw(const char *name, DWORD type, const void *data, DWORD size);
// false when the value does not exist; *size receives its data size.
bool GetSettingDword(const char *name, DWORD *value, DWORD *size = nullptr);
// Leaves the key readable but not writable by anyone, as for a standard user on Windows.
void MakeSettingsKeyReadOnly();
// Registry contents for LoadDxdlg: each entry is stored as a REG_DWORD.
struct Setting {
    const char *name;
    DWORD value;
};

// ---- The DLL ----
// Unloads any copy of dxdlg.dll that this process holds, so that its entry point runs again,
// writes the given settings (the key is deleted first, then each value is stored), and loads it.
HMODULE LoadDxdlg(std::initializer_list<Setting> settings);
// Loads dxdlg.dll with the registry as it is, after unloading any loaded copy.
HMODULE LoadDxdlgAsIs();
void UnloadDxdlg(HMODULE module);
template <class F> F Export(HMODULE module, const char *name)
{
    return reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(module, name)));
}

// ---- A print job's device settings ----
// The fields that the duplex dialog reads, and a movable block holding them as a driver passes
// it (the caller frees it with LocalFree).
DEVMODEA JobFields(short source, short orientation);
HLOCAL JobBlock(short source = DMBIN_CASSETTE, short orientation = DMORIENT_PORTRAIT);

// ---- Replacing a system call of one module ----
// While an ImportPatch lives, `module`'s import entry for `function` of `dll` (named as the
// module imports it, for example "USER32.dll") points at `replacement`; `original` keeps what
// it pointed at. Only that module's calls go there: the library's, when `module` is dxdlg.dll,
// or when it is a test program with the library's code linked in. Null when nothing was patched.
class ImportPatch {
public:
    ImportPatch(HMODULE module, const char *dll, const char *function, const void *replacement);
    template <class F>
    ImportPatch(HMODULE module, const char *dll, const char *function, F *replacement)
        : ImportPatch(module, dll, function, reinterpret_cast<const void *>(replacement))
    {
    }
    ~ImportPatch();
    template <class F> F Original() const { return reinterpret_cast<F>(original_); }
    bool Patched() const { return entry_ != nullptr; }
    ImportPatch(const ImportPatch &) = delete;
    ImportPatch &operator=(const ImportPatch &) = delete;

private:
    void **entry_ = nullptr;
    void *original_ = nullptr;
};

// ---- A process without a visible desktop ----
// Runs `body` on a fresh thread whose process window station is a new one without WSF_VISIBLE
// (as a service's), on a desktop of it, then gives the process its own station back.
void RunInServiceStation(const std::function<void()> &body);

// ---- Driving a dialog from inside its loop ----
// While a DialogWatch lives, a thread timer looks every 10 ms for a visible dialog (class
// #32770) of this thread and, the first time it finds one, calls `action` with it from inside
// whatever message loop is running (a modal dialog's or a notice's). The action reads the
// dialog and presses its buttons or keys. A dialog still open `watchdogMs` after the watch
// began is closed by force, and the watch records it, so that a test never hangs.
class DialogWatch {
public:
    explicit DialogWatch(std::function<void(HWND)> action, DWORD watchdogMs = 10000);
    // Sets an action for every further dialog that appears (the every-language series).
    void RepeatForEachDialog(bool repeat);
    // Adds a step that runs `delayMs` after the action (or the step before it) ran, with the
    // same dialog handle, whether or not that dialog still exists, from inside whatever loop
    // is running then. Steps run in the order they were added.
    void Then(DWORD delayMs, std::function<void(HWND)> step);
    int StepsRun() const;
    ~DialogWatch();
    int DialogsSeen() const;
    bool WatchdogFired() const;
    DialogWatch(const DialogWatch &) = delete;
    DialogWatch &operator=(const DialogWatch &) = delete;
};

// ---- A dialog call on a thread of its own ----
// Runs `call` on a new thread. Before Start: `beforeDialog` runs on that thread as its first
// dialog is being created; `eachTick` runs every 10 ms inside whatever loop the thread runs,
// with its visible dialog (null while there is none).
class DialogThread {
public:
    std::function<void()> beforeDialog;
    std::function<void(HWND)> eachTick;
    void Start(std::function<void()> call);
    DWORD Id() const { return id_; }
    bool Returned() const { return returned_; }
    // Waits for the call, handling what other threads send to this one meanwhile; a call still
    // running after `ms` is ended by a quit message, and the answer is false.
    bool Join(DWORD ms = 30000);
    ~DialogThread() { Join(); }

private:
    static DWORD WINAPI Run(void *self);
    std::function<void()> call_;
    HANDLE thread_ = nullptr;
    std::atomic<DWORD> id_{0};
    std::atomic<bool> returned_{false};
};
// Waits for a handle while handling the messages that other threads' dialogs send to this
// thread's windows as they activate themselves.
bool WaitHandling(HANDLE handle, DWORD ms);

// The visible #32770 window of this thread, the text of a window (shared with the tools).
using dxdesk::FindThreadDialog;
using dxdesk::WindowText;
std::wstring ItemText(HWND dialog, int id);
std::string ClassName(HWND window);
// Presses a button with the mouse's message (BM_CLICK).
void ClickButton(HWND dialog, int id);
// Types a key into the dialog, as a user would: key down and up posted to the focused control.
using dxdesk::PressKey;
using dxdesk::PressCtrlKey;
using dxdesk::ReleaseCtrl;
using dxdesk::ClipboardText;
using dxdesk::EmptyClipboardNow;
using dxdesk::CloseByForce;
// Pumps this thread's messages for `ms` milliseconds.
using dxdesk::PumpMessages;

// ---- Pixels (shared with the tools) ----
// CaptureClient: the client area as it is on the screen; CaptureWindow: the whole window, frame
// and caption included; SavePng: writes a capture as PNG through GDI+; PixelsOf: a bitmap's.
using dxdesk::Pixels;
using dxdesk::CaptureClient;
using dxdesk::CaptureWindow;
using dxdesk::SavePng;
using dxdesk::PixelsOf;
// The bitmap that a picture control shows, where other modules read it: its user-data slot.
inline HBITMAP HeldBitmap(HWND control) { return HBITMAP(GetWindowLongPtrA(control, GWLP_USERDATA)); }

// ---- To UTF-16: texts written in the tests' source (UTF-8), or ANSI texts (CP_ACP) ----
std::wstring Wide(const char *text, UINT codePage = CP_UTF8);

// ---- High contrast, which Wine lacks ----
// SystemParametersInfoW as it would answer with a high-contrast scheme on: put in place of a
// module's import of it (ImportPatch); every other question goes to the real function.
BOOL WINAPI AnswerHighContrastOn(UINT action, UINT parameter, void *data, UINT winIni);

}  // namespace dxtest
