// The loading benchmark's baseline: a DLL built like dxdlg.dll whose entry point does nothing.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
