// What the tests and the tools (demo, gallery, benchmarks) share about the desktop: finding the
// dialog that runs on this thread, typing into it as a user would, and reading its pixels.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace dxdesk {

// The visible dialog window (class #32770) of this thread, or null.
HWND FindThreadDialog();
// The text of a window, in UTF-16 whatever the window's character set.
std::wstring WindowText(HWND window);
// Types a key into the dialog, as a user would: key down and up posted to the focused control
// (to the dialog itself when the focus lies elsewhere).
void PressKey(HWND dialog, UINT vk);
// Closes a dialog that would not go: Cancel, then its default button (a notice knows only its
// OK), then EndDialog for a modal one.
void CloseByForce(HWND dialog);
// Handles this thread's messages for `ms` milliseconds.
void PumpMessages(DWORD ms);

struct Pixels {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;  // row by row from the top
    COLORREF At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};
// The client area of a window as it is on the screen.
Pixels CaptureClient(HWND window);
// The whole window, frame and caption included, as it is on the screen.
Pixels CaptureWindow(HWND window);
// Writes a capture as PNG (through GDI+); false when it could not.
bool SavePng(const Pixels &image, const std::wstring &path);

// The folder of this program, with its final backslash.
std::string ProgramFolder();
// Runs a command line and waits for it: its exit status, DWORD(-1) when it did not start, 99
// when it was ended after `timeoutMs`. What it writes to its output and error goes to *output,
// or to this process's own output when `output` is null.
DWORD RunProgram(const std::string &commandLine, std::string *output, DWORD timeoutMs);

// While one lives, the programs started see the screen at `dpi`; then the setting is put back
// as it was. Wine reads the DPI (HKCU\Control Panel\Desktop LogPixels) when a process
// starts: a running process keeps its own.
class DpiOfNewProcesses {
public:
    explicit DpiOfNewProcesses(DWORD dpi);
    ~DpiOfNewProcesses();
    bool Set() const { return set_; }
    DpiOfNewProcesses(const DpiOfNewProcesses &) = delete;
    DpiOfNewProcesses &operator=(const DpiOfNewProcesses &) = delete;

private:
    bool set_ = false, present_ = false;
    DWORD saved_ = 0;
};

}  // namespace dxdesk
