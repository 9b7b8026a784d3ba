#include "dxdlg.h"

int WINAPI OpenDuplexDlg(void *unused1, HWND owner, int unused3, UINT passCode, UINT language,
                         HLOCAL devMode, void *unused7, const DriverPrivateSettings *settings)
{
    (void)unused1; (void)owner; (void)unused3; (void)passCode; (void)language;
    (void)devMode; (void)unused7; (void)settings;
    return -1;
}

INT_PTR WINAPI OpenDuplexDlgMP(void *unused1, HWND owner, int unused3, UINT language,
                               void *unused5, void *unused6)
{
    (void)unused1; (void)owner; (void)unused3; (void)language; (void)unused5; (void)unused6;
    return -1;
}
