/* Where every dialog of the library appears on the screen, and whose it is. */
#ifndef DXDLG_PLACEMENT_H
#define DXDLG_PLACEMENT_H

#include <windows.h>

/* Moves the dialog, keeping its size, to the horizontal centre and two fifths down the free
 * space of its widest ancestor's client area, kept on the primary screen. */
void PlaceDialog(HWND dialog);

/* The owner of a dialog of the library: the calling thread's active window, else the caller's
 * fallback when it is a window, else none. */
HWND ChooseDialogOwner(HWND fallback);

#endif
