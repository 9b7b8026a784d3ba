/* Where every dialog of the library appears on the screen, and whose it is. */
#ifndef DXDLG_PLACEMENT_H
#define DXDLG_PLACEMENT_H

#include <windows.h>

/* Makes the dialog topmost, hidden and placed, in one request to the window system, keeping
 * its size: at the horizontal centre and two fifths down the free space of the client area of
 * the widest among `over` and its ancestors (the window the dialog stands over, its owner or
 * another thread's), kept inside the work area of that window's monitor. A window that is
 * minimised, hidden or without area places nothing: the dialog is then centred the same way in
 * the work area of that window's monitor, or of the primary monitor when there is none. */
void PlaceDialogOver(HWND dialog, HWND over);

/* The arithmetic of PlaceDialogOver: the top-left corner, in screen coordinates, of a dialog of
 * the given width and height centred horizontally and two fifths down over `reference` (a
 * client area in screen coordinates), then kept inside `workArea`. The left and top edges are
 * tested first, so a dialog larger than the work area that starts inside it is moved to end
 * at the right or bottom edge, and sticks out on the left or top. */
POINT DialogPosition(const RECT *reference, LONG width, LONG height, const RECT *workArea);

#endif
