/* What the library keeps for its own windows: a dialog's call, a button's own procedure. */
#ifndef DXDLG_KEPT_H
#define DXDLG_KEPT_H

#include <windows.h>

/* Keeps `value` (not 0) for the window, in place of what was kept for it. FALSE when the table
 * is full: the window then has to do without. */
BOOL KeepForWindow(HWND window, LONG_PTR value);

/* What is kept for the window; 0 when nothing is. */
LONG_PTR KeptForWindow(HWND window);

/* Forgets what is kept for the window, as it is destroyed. */
void ForgetWindow(HWND window);

/* Forgets `value` for whichever window it is kept: a call on an export's stack, when the export
 * is done with its dialog, so that nothing of the call outlives it. */
void ForgetKeptValue(LONG_PTR value);

#endif
