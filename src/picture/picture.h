/* The picture control: two window classes that show one bitmap of the library. */
#ifndef DXDLG_PICTURE_H
#define DXDLG_PICTURE_H

#include <windows.h>

#include "resource.h"   /* the classes' names and style bits (PCS_) */

enum { DuplexBitmapNameSize = 32 };

/* Names the illustration that picture controls created on the calling thread load, until the
 * next call on this thread: a buffer of DuplexBitmapNameSize characters (no more is read), which
 * must stay valid until then, or null for none. Each thread has its own name, so dialogs opened
 * at once on several threads each show their own picture. */
void SetThreadPictureName(const char *name);

/* Registers this module's own classes of both names unless they stand (local to the module,
 * with this copy of the library's procedures), which the dialog manager prefers for the
 * library's own dialogs over the global classes, whichever module registered those. Called by
 * every dialog of the library before it opens. */
void RegisterOwnPictureClasses(void);

/* When `control` is a picture control (of either class), hands it `name` (as for
 * SetThreadPictureName), and it then shows that bitmap instead of the one it was created with,
 * and gives it the window text `description` (unless null): what the picture shows, in the
 * dialog's language, for the accessibility layer, which names a control by its text. A control
 * of another module's class is first replaced by one of the library's own. Returns the picture
 * control (the same, or the one in its place), or null when `control` was none. The library's
 * dialogs call it for their controls while they initialise, so that what they show is their
 * own, whatever the thread named meanwhile. */
HWND ShowControlPicture(HWND control, const char *name, const WCHAR *description);

/* For unloading: unregisters each picture class that this library registered, its own and the
 * global ones, and gives back the per-thread slot of the picture names. */
void ReleasePictureControls(void);

#endif
