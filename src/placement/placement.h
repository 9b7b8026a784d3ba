/* Where every dialog of the library appears on the screen, and whose it is. */
#ifndef DXDLG_PLACEMENT_H
#define DXDLG_PLACEMENT_H

#include <windows.h>

/* Makes the dialog topmost, hidden and placed, in one request to the window system, keeping
 * its size: at the horizontal centre and two fifths down the free space of its widest
 * ancestor's client area, kept inside the work area of that ancestor's monitor. An ancestor
 * that is minimised, hidden or without area places nothing: the dialog is then centred the
 * same way in the work area of that ancestor's monitor, or of the primary monitor when the
 * dialog has no ancestor. */
void PlaceDialog(HWND dialog);

/* The same over `over` and its ancestors instead of the dialog's: for a dialog that stands over
 * a window it does not belong to (none: centred in the primary monitor's work area). */
void PlaceDialogOver(HWND dialog, HWND over);

/* The arithmetic of PlaceDialog: the top-left corner, in screen coordinates, of a dialog of
 * the given width and height centred horizontally and two fifths down over `reference` (a
 * client area in screen coordinates), then kept inside `workArea`. The left and top edges are
 * tested first, so a dialog larger than the work area that starts inside it is moved to end
 * at the right or bottom edge, and sticks out on the left or top. */
POINT DialogPosition(const RECT *reference, LONG width, LONG height, const RECT *workArea);

#endif
