/* The manual duplex instruction dialog and the manual-feed slot dialog, which share one
 * dialog procedure. */
#ifndef DXDLG_DUPLEX_H
#define DXDLG_DUPLEX_H

#include <stddef.h>
#include <windows.h>

#include "dxdlg.h"
#include "language.h"

/* What the duplex dialog shows, written by OpenDuplexDlg before it opens the dialog and read
 * by DuplexDlgProc while the dialog initialises. The two pointers are cleared again when
 * OpenDuplexDlg returns: the blocks they point at belong to the caller. */
struct DuplexDialogStateRecord {
    const DEVMODEA *devMode;                 /* the job's device settings, locked */
    const DriverPrivateSettings *settings;   /* the driver's record, or null */
    DWORD passCode;                          /* 0 first pass, anything else second pass */
    LanguageIndex column;
};
extern DuplexDialogStateRecord DuplexDialogState;

/* The initialisation parameter of both dialogs: the owner's handle in the low 16 bits (0 for
 * none, and then the dialog activates itself), and this bit for the manual-feed slot dialog,
 * whose templates carry their own texts. */
enum { ManualFeedDialogFlag = 0x10000 };

/* Button identifiers of the manual-feed slot templates. */
enum { ManualFeedOkId = 1035, ManualFeedCancelId = 1036 };

/* Writes the illustration's bitmap name ("EVEN_T_C", "ODD_T_M_D2", ...) and the template
 * name ("MDDIALOG_TRAY" or "MDDIALOG_MF") for a pass of a job. A null settings record turns
 * nothing over; pass codes above 6 take turn-over 0 before the driver's inversions. */
void BuildDuplexResourceNames(char *bitmapName, size_t bitmapNameSize, WCHAR *templateName,
                              size_t templateNameSize, const DEVMODEA *devMode,
                              const DriverPrivateSettings *settings, WORD passCode);

/* Sets the duplex dialog's instruction text, caption and button captions from the string
 * tables, in the column's language; a text that the column lacks is the English one. */
void LoadDuplexTexts(HWND dialog, const DEVMODEA *devMode, DWORD passCode, LanguageIndex column);

/* Shared by both exports: the language asked for (0xFFFF in the low 16 bits is the stored
 * countryCode) and the initialisation parameter for the dialog's owner. */
WORD RequestedLanguage(UINT language);
LPARAM DialogInitParam(HWND owner);

/* The manual-feed slot template of a language identifier, compared whole. */
WORD SelectManualFeedTemplate(WORD language);

INT_PTR CALLBACK DuplexDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
