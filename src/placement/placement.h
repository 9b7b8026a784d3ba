/* Where every dialog of the library appears on the screen. */
#ifndef DXDLG_PLACEMENT_H
#define DXDLG_PLACEMENT_H

#include <windows.h>

/* Moves the dialog, keeping its size, to the horizontal centre and two fifths down the free
 * space of its widest ancestor's client area, kept on the primary screen. */
void PlaceDialog(HWND dialog);

#endif
