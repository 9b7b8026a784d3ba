/* The settings store: process-wide values filled once when the library is attached to a
 * process, and only read afterwards. */
#ifndef DXDLG_SETTINGS_H
#define DXDLG_SETTINGS_H

#include <windows.h>

extern HINSTANCE ModuleInstance;   /* the library's own module: every resource and class */
extern DWORD countryCode;          /* low 16 bits: the language asked for by 0xFFFF */
extern DWORD ShowEveryLanguage;    /* 1: the duplex dialog shows every language in turn */
extern DWORD RawDlgTimeout;        /* milliseconds before the raw warning closes itself */
extern DWORD ErrDlgTimeout;        /* milliseconds before the memory- and disk-full notices close */

/* The registry key of the settings, under HKEY_LOCAL_MACHINE. */
extern const char SettingsKeyPath[];

/* Reads the three values from the registry, writing the default of each missing one when
 * the key may be written. Runs at process attach, under the loader lock. */
void LoadSettings(void);

#endif
