/* The picture control: two window classes that show one bitmap of the library. */
#ifndef DXDLG_PICTURE_H
#define DXDLG_PICTURE_H

#include <windows.h>

enum { DuplexBitmapNameSize = 32 };

/* The resource name of the illustration that the next picture control to be created loads. */
extern char DuplexBitmapName[DuplexBitmapNameSize];

/* Unregisters each picture class that this library registered. For unloading. */
void UnregisterPictureClasses(void);

#endif
