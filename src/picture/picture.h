/* The picture control: two window classes that show one bitmap of the library. */
#ifndef DXDLG_PICTURE_H
#define DXDLG_PICTURE_H

#include <windows.h>

enum { DuplexBitmapNameSize = 32 };

/* The resource name of the illustration that the next picture control to be created loads. */
extern char DuplexBitmapName[DuplexBitmapNameSize];

/* Unregisters each picture class that this library registered. For unloading. */
void UnregisterPictureClasses(void);

/* Style bits of a picture control, in the low byte of its window style. */
enum {
    PCS_GRAYBKGND = 0x40,   /* light-grey background instead of the window colour */
    PCS_CENTERIMAGE = 0x80  /* a picture that fits is centred at its own size, else stretched */
};

/* The instance each class was registered with by this library, or null while it is not. */
extern HINSTANCE BitmapCtlClassInstance;     /* ZK7730BMPCLASS */
extern HINSTANCE ManualDupCtlClassInstance;  /* OvManualDupClass */

/* The message handler of both classes; `nameBuffer` is the 32-byte buffer of the name of the
 * bitmap that the control loads when it is created. */
LRESULT PictureCtlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       const char *nameBuffer);

#endif
