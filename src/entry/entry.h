/* What every dialog export does before anything else. */
#ifndef DXDLG_ENTRY_H
#define DXDLG_ENTRY_H

#include <windows.h>

/* Reads the settings, once per process whatever the number of threads that race for it, then
 * tells whether this process's window station is one that someone can see. FALSE (a service's
 * station, as in the print spooler) means the export returns its failure at once, without
 * creating a window: nobody could answer it. */
BOOL BeginDialogCall(void);

#endif
