#include "dxdlg.h"

INT_PTR WINAPI RawWarningDialog(HWND owner, UINT language, void *reserved, LPCSTR title)
{
    (void)owner; (void)language; (void)reserved; (void)title;
    return 0;
}

INT_PTR WINAPI MemfullErrorDialog(HWND owner, UINT language, void *reserved, LPCSTR title)
{
    (void)owner; (void)language; (void)reserved; (void)title;
    return 0;
}

INT_PTR WINAPI DiskFulErrorDialog(HWND owner, UINT language, void *reserved, LPCSTR title)
{
    (void)owner; (void)language; (void)reserved; (void)title;
    return 0;
}
