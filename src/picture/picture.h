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

/* Hands `name` (as for SetThreadPictureName) to every picture control of the dialog, which then
 * shows that bitmap instead of the one it was created with, and gives each the window text
 * `description` (unless null): what the picture shows, in the dialog's language, for the
 * accessibility layer, which names a control by its text. The library's dialogs call it while
 * they initialise, so that what they show is their own, whatever the thread named meanwhile. */
void ShowDialogPicture(HWND dialog, const char *name, const WCHAR *description);

/* The control's message that ShowDialogPicture sends: lParam is the name. */
enum { PictureCtlShowName = WM_USER + 0x70 };

/* For unloading: unregisters each picture class that this library registered, its own and the
 * global ones, and gives back the per-thread slot of the picture names. */
void ReleasePictureControls(void);

/* The instance each class was registered with by this library, or null while it is not. */
extern HINSTANCE BitmapCtlClassInstance;     /* BITMAPCTL_CLASS */
extern HINSTANCE ManualDupCtlClassInstance;  /* MANUALDUPCTL_CLASS */

/* The message handler of both classes; `nameBuffer` is the 32-byte buffer of the name of the
 * bitmap that the control loads when it is created, or null for none. */
LRESULT PictureCtlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       const char *nameBuffer);

#endif
