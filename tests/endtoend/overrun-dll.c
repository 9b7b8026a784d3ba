/* A DLL built as dxdlg.dll is (its flags, cookie, failure routine and entry point), whose export
 * writes `length` bytes into an 8-byte local buffer. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance, (void)reason, (void)reserved;
    return TRUE;
}

__declspec(dllexport) int OverrunBuffer(int length)
{
    char buffer[8];
    volatile char *to = buffer;
    int i;
    for (i = 0; i < length; ++i)
        to[i] = 'x';
    return to[0];
}
