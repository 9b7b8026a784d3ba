/* Between the picture classes (classes.cpp) and the control they run (control.cpp); no other
 * room includes it. */
#ifndef DXDLG_PICTURE_CONTROL_H
#define DXDLG_PICTURE_CONTROL_H

#include <windows.h>

/* The control's window extra bytes: the name buffer its picture was loaded from, compared by
 * address only; and the bitmap it loaded and owns, encoded (control.cpp). The user-data
 * slot, where other modules read a control's bitmap, shows the same handle, but a host may
 * write its own object there, which is the host's. */
enum { LoadedNameOffset = 0, OwnBitmapOffset = sizeof(LONG_PTR),
       PictureExtraBytes = 2 * sizeof(LONG_PTR) };

/* The window procedure of every picture class of the library. */
LRESULT CALLBACK PictureCtlWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

/* The picture control of the library's own procedure for `control`: itself; for a picture
 * control of another module's class, one of the library's own in its place; null when
 * `control` is no picture control, or when no control could take its place. */
HWND LibraryPictureControl(HWND control);

/* Gives back the slot of the threads' picture names (unloading). */
void ReleasePictureNames(void);

#endif
