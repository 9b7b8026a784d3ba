/* The settings store: process-wide values filled once, by the first dialog call of the process,
 * and only read afterwards. */
#ifndef DXDLG_SETTINGS_H
#define DXDLG_SETTINGS_H

#include <windows.h>

extern DWORD countryCode;          /* low 16 bits: DXDLG_STORED_LANGUAGE's language */
extern DWORD ShowEveryLanguage;    /* 1: the duplex dialog shows every language in turn */
extern DWORD RawDlgTimeout;        /* milliseconds before the raw warning closes itself */
extern DWORD ErrDlgTimeout;        /* milliseconds before the memory- and disk-full notices close */

/* Reads the three values from the registry, writing the default of each missing one when
 * the key may be written. */
void LoadSettings(void);

/* LoadSettings the first time it is called in the process, and nothing afterwards; a thread
 * that comes while another reads waits until the values are there. Never called from the entry
 * point: the registry is among what may not be used under the loader lock. */
void LoadSettingsOnce(void);

#endif
