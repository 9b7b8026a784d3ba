// A stand-in for the session API's WTSSendMessageW, for the tests and the demo: Wine's own is a
// stub that fails. Installed as wtsapi32.dll in the prefix's system32 and loaded in place of
// Wine's with WINEDLLOVERRIDES=wtsapi32=n (docs/building.md). Each call:
//   - appends one line to the file named by DXDLG_SESSION_LOG, when set (UTF-8): the session,
//     title, text (line ends, backslashes and quotes escaped), buttons and flags, time-out and
//     answer;
//   - answers as DXDLG_SESSION_ANSWER says, read at each call: a number is the answer at once
//     (1 IDOK, 2 IDCANCEL, 32000 IDTIMEOUT, ...); "fail:N" fails with the last error N; unset,
//     the message is shown as a message box on the visible desktop WinSta0\Default by
//     dxdlg-sessionbox.exe, which lies beside this DLL, closes itself after the time-out and
//     gives the answer as its exit code.
// StandInLastMessage (standin.h) gives a test of the same process the last message as received.
#include <windows.h>

#include <string>

#include "standin.h"

namespace {

// The answer when the caller does not wait (wtsapi32.h's IDASYNC).
const DWORD AnswerAsync = 32001;

std::wstring Environment(const wchar_t *name, bool *set)
{
    wchar_t value[1024];
    DWORD length = GetEnvironmentVariableW(name, value, 1024);
    *set = length > 0 && length < 1024;
    return *set ? std::wstring(value, length) : std::wstring();
}

std::string Utf8(const std::wstring &text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), &out[0], size, nullptr, nullptr);
    return out;
}

std::wstring Escaped(const std::wstring &text)
{
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\n')
            out += L"\\n";
        else if (c == L'\r')
            out += L"\\r";
        else if (c == L'\\' || c == L'"')
            out += std::wstring(L"\\") + c;
        else
            out += c;
    }
    return out;
}

std::wstring StyleWords(DWORD style)
{
    static const wchar_t *const buttons[] = {L"OK", L"OKCANCEL", L"ABORTRETRYIGNORE", L"YESNOCANCEL",
                                             L"YESNO", L"RETRYCANCEL", L"CANCELTRYCONTINUE"};
    std::wstring out = L"buttons=";
    DWORD type = style & MB_TYPEMASK;
    out += type < 7 ? buttons[type] : std::to_wstring(type);
    out += L" flags=";
    struct Flag {
        DWORD bits, mask;
        const wchar_t *name;
    } flags[] = {{MB_ICONHAND, MB_ICONMASK, L"ICONHAND"}, {MB_ICONQUESTION, MB_ICONMASK, L"ICONQUESTION"},
                 {MB_ICONEXCLAMATION, MB_ICONMASK, L"ICONEXCLAMATION"},
                 {MB_ICONASTERISK, MB_ICONMASK, L"ICONASTERISK"}, {MB_SETFOREGROUND, MB_SETFOREGROUND, L"SETFOREGROUND"},
                 {MB_TOPMOST, MB_TOPMOST, L"TOPMOST"}};
    DWORD rest = style & ~MB_TYPEMASK;
    std::wstring names;
    for (const Flag &flag : flags) {
        if ((style & flag.mask) == flag.bits) {
            names += (names.empty() ? L"" : L"|") + std::wstring(flag.name);
            rest &= ~flag.mask;
        }
    }
    if (rest)
        names += (names.empty() ? L"" : L"|") + std::to_wstring(rest);
    return out + (names.empty() ? L"0" : names);
}

void Log(DWORD session, const std::wstring &title, const std::wstring &text, DWORD style, DWORD timeout,
         const std::wstring &answer)
{
    bool set;
    std::wstring path = Environment(L"DXDLG_SESSION_LOG", &set);
    if (!set)
        return;
    std::wstring line = L"session=" + std::to_wstring(session) + L" title=\"" + Escaped(title) + L"\" text=\"" +
                        Escaped(text) + L"\" " + StyleWords(style) + L" timeout=" + std::to_wstring(timeout) +
                        L" answer=" + answer + L"\n";
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    std::string bytes = Utf8(line);
    DWORD written;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(file);
}

std::wstring Hex(const std::wstring &text)
{
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring out;
    for (wchar_t c : text)
        for (int shift = 12; shift >= 0; shift -= 4)
            out += digits[(c >> shift) & 15];
    return out.empty() ? L"-" : out;
}

HMODULE OwnModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&OwnModule), &module);
    return module;
}

// Shows the message on the visible desktop through dxdlg-sessionbox.exe: the caller sits in a
// window station that nobody sees, and a window of its own would be seen by nobody either.
bool ShowOnVisibleDesktop(const std::wstring &title, const std::wstring &text, DWORD style, DWORD timeout,
                          BOOL wait, DWORD *answer)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(OwnModule(), path, MAX_PATH);
    if (!length || length >= MAX_PATH)
        return false;
    std::wstring program(path);
    program = program.substr(0, program.find_last_of(L"\\/") + 1) + L"dxdlg-sessionbox.exe";
    std::wstring command = L"\"" + program + L"\" " + std::to_wstring(style) + L" " + std::to_wstring(timeout) +
                           L" " + Hex(title) + L" " + Hex(text);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.lpDesktop = const_cast<wchar_t *>(L"WinSta0\\Default");
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    *answer = AnswerAsync;
    if (wait) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, answer);
    }
    CloseHandle(process.hProcess);
    return true;
}

struct Received {
    StandInMessage message;
    std::wstring title, text;
};
Received *lastMessage;   // made by the first call

}  // namespace

extern "C" const StandInMessage *WINAPI StandInLastMessage(void)
{
    return lastMessage ? &lastMessage->message : nullptr;
}

extern "C" BOOL WINAPI WTSSendMessageW(HANDLE server, DWORD session, LPWSTR title, DWORD titleLength,
                                       LPWSTR message, DWORD messageLength, DWORD style, DWORD timeout,
                                       DWORD *response, BOOL wait)
{
    (void)server;
    // The lengths are in bytes.
    std::wstring titleText(title ? title : L"", title ? titleLength / sizeof(WCHAR) : 0);
    std::wstring text(message ? message : L"", message ? messageLength / sizeof(WCHAR) : 0);
    if (!lastMessage)
        lastMessage = new Received{};
    lastMessage->title = titleText;
    lastMessage->text = text;
    lastMessage->message = {lastMessage->message.count + 1, session, style, timeout,
                            lastMessage->title.c_str(), lastMessage->text.c_str()};
    bool set;
    std::wstring answer = Environment(L"DXDLG_SESSION_ANSWER", &set);
    if (set && answer.compare(0, 5, L"fail:") == 0) {
        Log(session, titleText, text, style, timeout, answer);
        SetLastError(wcstoul(answer.c_str() + 5, nullptr, 10));
        return FALSE;
    }
    DWORD result = 0;
    if (set) {
        result = wcstoul(answer.c_str(), nullptr, 10);
    } else if (!ShowOnVisibleDesktop(titleText, text, style, timeout, wait, &result)) {
        DWORD error = GetLastError();
        Log(session, titleText, text, style, timeout, L"fail:" + std::to_wstring(error));
        SetLastError(error);
        return FALSE;
    }
    Log(session, titleText, text, style, timeout, std::to_wstring(result));
    if (response)
        *response = result;
    return TRUE;
}
