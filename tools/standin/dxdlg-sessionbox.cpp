// The session API stand-in's message box: dxdlg-sessionbox.exe STYLE TIMEOUT TITLE TEXT, the
// title and text as UTF-16 code units in hexadecimal ("-" for an empty one). Shows the message
// box on the desktop it was started on, closes it after TIMEOUT seconds (0: never), and exits
// with the answer (IDOK, ..., IDTIMEOUT when the time ran out). For the demo and the gallery,
// read from the environment that the caller's process hands on:
//   DXDLG_SESSION_AUTO=MS       Enter is typed into the box MS milliseconds after it appeared,
//                               as a user would answer it (the default button: OK);
//   DXDLG_SESSION_CAPTURE=PATH  the box, frame and caption included, is written to PATH as PNG
//                               once it is on the screen.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>

#include "desktop.h"

namespace {

bool timedOut = false;
DWORD autoMs = 0, shownAt = 0;
bool autoAnswer = false, captured = false, answered = false;
wchar_t capturePath[MAX_PATH] = L"";

std::wstring FromHex(const wchar_t *hex)
{
    std::wstring out;
    for (size_t i = 0; hex[i] && hex[i + 1] && hex[i + 2] && hex[i + 3]; i += 4)
        out += (wchar_t)wcstoul(std::wstring(hex + i, 4).c_str(), nullptr, 16);
    return out;
}

BOOL CALLBACK CloseBox(HWND window, LPARAM)
{
    wchar_t name[16];
    if (GetClassNameW(window, name, 16) && lstrcmpW(name, L"#32770") == 0)
        EndDialog(window, IDTIMEOUT);
    return TRUE;
}

void CALLBACK TimeRanOut(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    timedOut = true;
    EnumThreadWindows(GetCurrentThreadId(), CloseBox, 0);
}

// Waits for the box on this thread's desktop, captures it once when asked, and types Enter
// into it when its time has come.
void CALLBACK WatchBox(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = dxdesk::FindThreadDialog();
    if (!box || !IsWindowVisible(box))
        return;
    if (!shownAt) {
        // Drawn whole before the capture, at the next look.
        shownAt = GetTickCount();
        RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return;
    }
    if (capturePath[0] && !captured) {
        captured = true;
        dxdesk::SavePng(dxdesk::CaptureWindow(box), capturePath);
    }
    if (autoAnswer && !answered && GetTickCount() - shownAt >= autoMs) {
        answered = true;
        dxdesk::PressKey(box, VK_RETURN);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int count = 0;
    wchar_t **arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count < 5)
        return 0;
    UINT style = wcstoul(arguments[1], nullptr, 10);
    DWORD timeout = wcstoul(arguments[2], nullptr, 10);
    std::wstring title = FromHex(arguments[3]), text = FromHex(arguments[4]);
    if (timeout)
        SetTimer(nullptr, 0, timeout * 1000, TimeRanOut);
    wchar_t value[32];
    DWORD length = GetEnvironmentVariableW(L"DXDLG_SESSION_AUTO", value, 32);
    if (length > 0 && length < 32) {
        autoAnswer = true;
        autoMs = wcstoul(value, nullptr, 10);
    }
    length = GetEnvironmentVariableW(L"DXDLG_SESSION_CAPTURE", capturePath, MAX_PATH);
    if (length >= MAX_PATH)
        capturePath[0] = 0;
    if (autoAnswer || capturePath[0])
        SetTimer(nullptr, 0, 20, WatchBox);
    int answer = MessageBoxW(nullptr, text.c_str(), title.c_str(), style);
    return timedOut ? IDTIMEOUT : answer;
}
