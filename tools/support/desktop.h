// What the tests and the tools (demo, gallery, benchmarks) share about the desktop: finding the
// dialog that runs on this thread, typing into it as a user would, and reading its pixels.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace dxdesk {

// The visible dialog window (class #32770) of this thread, or null.
HWND FindThreadDialog();
// The text of a window, in UTF-16 whatever the window's character set.
std::wstring WindowText(HWND window);
// What the accessibility layer (and so a screen reader) names a window: oleacc's answer to
// get_accName of its client object; empty when it has none or oleacc does not answer.
std::wstring AccessibleName(HWND window);
// Types a key into the dialog, as a user would: key down and up posted to the focused control
// (to the dialog itself when the focus lies elsewhere).
void PressKey(HWND dialog, UINT vk);
// Types Ctrl and a key into the dialog: Ctrl stands pressed in this thread's keyboard state
// (as the dialog reads it) until ReleaseCtrl, then the key goes down and up as PressKey sends it.
void PressCtrlKey(HWND dialog, UINT vk);
void ReleaseCtrl();
// The clipboard's Unicode text; EmptyClipboardNow leaves the clipboard empty.
std::wstring ClipboardText();
void EmptyClipboardNow();
// Closes a dialog that would not go: Cancel, then its default button (a notice knows only its
// OK), then EndDialog for a modal one.
void CloseByForce(HWND dialog);
// Handles this thread's messages for `ms` milliseconds.
void PumpMessages(DWORD ms);

struct Pixels {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;  // row by row from the top
    COLORREF At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    bool operator==(const Pixels &o) const { return width == o.width && height == o.height && pixels == o.pixels; }
};
// The pixels of a bitmap that no context holds; none for a null handle or one that is no bitmap.
Pixels PixelsOf(HBITMAP bitmap);
// The client area of a window as it is on the screen.
Pixels CaptureClient(HWND window);
// The whole window, frame and caption included, as it is on the screen.
Pixels CaptureWindow(HWND window);
// Writes a capture as PNG (through GDI+); false when it could not.
bool SavePng(const Pixels &image, const std::wstring &path);

// Runs `body` as code in a service (the print spooler's rendering code) runs: on a thread of its
// own, in a window station made for it that nobody sees (no WSF_VISIBLE), on a desktop of that
// station, impersonating this process's user when `impersonate` is set. Waits up to `timeoutMs`
// for it. False when the station could not be had or the thread did not end in time. The
// process's own station is back when it returns.
bool RunInServiceStation(const std::function<void()> &body, bool impersonate, DWORD timeoutMs);

// The folder of this program, with its final backslash.
std::string ProgramFolder();
// Runs a command line and waits for it: its exit status, DWORD(-1) when it did not start, 99
// when it was ended after `timeoutMs`. What it writes to its output and error goes to *output,
// or to this process's own output when `output` is null. A `desktop` name runs it on that
// desktop of the window station, created if need be (Wine gives each its own virtual screen).
DWORD RunProgram(const std::string &commandLine, std::string *output, DWORD timeoutMs,
                 const char *desktop = nullptr);

// A value of HKEY_CURRENT_USER set while one of these lives, then put back as it was (or
// deleted when it was not there). For example the DPI that programs started meanwhile see:
// Wine reads Control Panel\Desktop, LogPixels (REG_DWORD) when a process starts, so a running
// process keeps its own.
class UserSettingForNow {
public:
    UserSettingForNow(const char *key, const char *name, DWORD value);
    UserSettingForNow(const char *key, const char *name, const std::string &value);
    ~UserSettingForNow();
    bool Set() const { return set_; }
    UserSettingForNow(const UserSettingForNow &) = delete;
    UserSettingForNow &operator=(const UserSettingForNow &) = delete;

private:
    void Write(DWORD type, const void *data, DWORD size);
    std::string key_, name_;
    bool set_ = false, present_ = false;
    DWORD savedType_ = 0;
    std::vector<BYTE> saved_;
};

}  // namespace dxdesk
