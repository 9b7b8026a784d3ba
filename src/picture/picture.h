/* The picture control: two window classes that show one bitmap of the library. */
#ifndef DXDLG_PICTURE_H
#define DXDLG_PICTURE_H

#include <windows.h>

#include "resource.h"   /* the classes' names and style bits (PCS_) */

enum { DuplexBitmapNameSize = 32 };

/* The class of the library's own control that takes the place of a picture control of another
 * module's class in the library's dialogs (ShowControlPicture): a name no template names. */
#define PICTURE_STANDIN_CLASS "dxdlgPictureStandIn"

/* The thread's picture name. Names the illustration that picture controls created on the
 * calling thread load, until the next call on this thread: a buffer of DuplexBitmapNameSize
 * characters (no more is read), which must stay valid until then, or null for none (also on a
 * thread that never named one). A control reads it while the dialog manager creates it, before
 * its dialog's procedure sees anything of the call, so the name cannot travel with the dialog's
 * creation parameter: it travels with the thread, and each thread has its own, so dialogs
 * opened at once on several threads each show their own picture. The library's own dialogs
 * name theirs again with ShowControlPicture; the thread's name is for the picture controls of
 * the caller's own dialogs. */
void SetThreadPictureName(const char *name);

/* Readies the picture classes for a dialog of the library that opens on the calling thread.
 * Registers this module's own classes of both names unless they stand (local to the module,
 * with this copy of the library's procedures), which the dialog manager prefers for the
 * library's own dialogs over the global classes, whichever module registered those. Where one
 * could not be registered, the dialog may get another module's class of that name: then, from
 * now until EndPictureWatch, on the calling thread, a picture control that the dialog manager
 * creates for one of this module's dialogs with another module's class (or another copy's) is
 * made without that class's procedure, which never sees it, and ShowControlPicture puts one of
 * the library's own in its place; so the dialog does not depend on that class accepting the
 * library's windows. Returns that watch; null when none is needed (the watch costs the window
 * system three requests for each window the dialog makes) or the system set none. */
HHOOK ReadyPictureClasses(void);
void EndPictureWatch(HHOOK watch);

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
