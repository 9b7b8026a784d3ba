/* What every dialog export does first: the settings, whether anyone can see a dialog, and
 * which window the dialog stands over and belongs to. */
#ifndef DXDLG_CALL_H
#define DXDLG_CALL_H

#include <windows.h>

/* Reads the settings, once per process whatever the number of threads that race for it, then
 * tells whether this process's window station is one that someone can see. FALSE (a service's
 * station, as in the print spooler) means the export returns its failure at once, without
 * creating a window: nobody could answer it. */
BOOL BeginDialogCall(void);

/* The window a dialog of the library stands over: the calling thread's active window, else the
 * caller's fallback when it is a window, else none. */
HWND ChooseDialogReference(HWND fallback);

/* The owner of a dialog that stands over `reference`: the reference when it belongs to the
 * calling thread; none for a window of another thread or process, which the dialog only stands
 * over (it is then unowned, topmost and activates itself), so that the call never waits for
 * that thread. */
HWND DialogOwnerFor(HWND reference);

#endif
