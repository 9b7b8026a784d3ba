// The session API stand-in's message box: dxdlg-sessionbox.exe STYLE TIMEOUT TITLE TEXT, the
// title and text as UTF-16 code units in hexadecimal ("-" for an empty one). Shows the message
// box on the desktop it was started on, closes it after TIMEOUT seconds (0: never), and exits
// with the answer (IDOK, ..., IDTIMEOUT when the time ran out).
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

bool timedOut = false;

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
    int answer = MessageBoxW(nullptr, text.c_str(), title.c_str(), style);
    return timedOut ? IDTIMEOUT : answer;
}
