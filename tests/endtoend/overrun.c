/* The stack protection of a build that ships, in a program without the C runtime: dxdlg.dll and
 * dxdlg-overrun.dll (overrun-dll.c) hold a cookie that the loader seeded, and the DLL's export
 * that overruns its buffer ends the process (run as a child: "dxdlg-overrun.exe overrun") with
 * STATUS_STACK_BUFFER_OVERRUN before it returns. The exit code is the number of the failed check. */
#include <windows.h>

/* A cookie that the loader has not seeded holds the platform's default value. */
static int CookieSeeded(const char *name)
{
    BYTE *base = (BYTE *)LoadLibraryA(name);
    IMAGE_NT_HEADERS64 *headers;
    IMAGE_DATA_DIRECTORY *entry;
    ULONG_PTR *cookie;
    if (!base)
        return FALSE;
    headers = (IMAGE_NT_HEADERS64 *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    entry = &headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_LOAD_CONFIG];
    if (entry->Size < sizeof(IMAGE_LOAD_CONFIG_DIRECTORY64))
        return FALSE;
    cookie = (ULONG_PTR *)((IMAGE_LOAD_CONFIG_DIRECTORY64 *)(base + entry->VirtualAddress))->SecurityCookie;
    return cookie && *cookie != 0x00002B992DDFA232 && *cookie != 0;
}

void WINAPI TestEntry(void)
{
    const WCHAR *command = GetCommandLineW();
    HMODULE dll = LoadLibraryA("dxdlg-overrun.dll");
    int (*overrun)(int) = dll ? (int (*)(int))(void *)GetProcAddress(dll, "OverrunBuffer") : NULL;
    static STARTUPINFOW startup;
    WCHAR path[MAX_PATH], child[MAX_PATH + 16];
    PROCESS_INFORMATION process;
    DWORD code = 0;

    if (!overrun)
        ExitProcess(1);
    if (lstrlenW(command) > 8 && lstrcmpW(command + lstrlenW(command) - 8, L" overrun") == 0) {
        overrun(64);
        ExitProcess(2); /* returned */
    }
    if (!CookieSeeded("dxdlg.dll"))
        ExitProcess(3);
    if (!CookieSeeded("dxdlg-overrun.dll"))
        ExitProcess(4);
    if (overrun(8) != 'x') /* within the buffer: returns */
        ExitProcess(5);
    GetModuleFileNameW(NULL, path, MAX_PATH);
    lstrcatW(lstrcatW(lstrcpyW(child, L"\""), path), L"\" overrun");
    startup.cb = sizeof(startup);
    if (!CreateProcessW(path, child, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process))
        ExitProcess(6);
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &code);
    ExitProcess(code == STATUS_STACK_BUFFER_OVERRUN ? 0 : 7);
}
