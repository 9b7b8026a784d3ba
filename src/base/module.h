/* The library's own module: every resource and window class of the library is its. */
#ifndef DXDLG_MODULE_H
#define DXDLG_MODULE_H

#include <windows.h>

/* Set by the entry point when the DLL is loaded, before any export runs. */
extern HINSTANCE ModuleInstance;

#endif
