/* The manual duplex instruction dialog and the manual-feed slot dialog, which share one
 * dialog procedure. */
#ifndef DXDLG_DUPLEX_H
#define DXDLG_DUPLEX_H

#include <stddef.h>
#include <windows.h>

#include "dxdlg.h"
#include "language/language.h"

/* The duplex dialogs' illustrations: by layout (cassette, manual-feed slot), the first pass's,
 * then the second pass's two (D1, D2); last the manual-feed slot dialog's, which shows the
 * manual-feed first pass's bitmap and is described in the words of that dialog's template. */
enum {
    PictureCassetteFirst, PictureCassetteSecond1, PictureCassetteSecond2,
    PictureManualFeedFirst, PictureManualFeedSecond1, PictureManualFeedSecond2,
    PictureManualFeedSlot, PictureCount
};

/* One call of OpenDuplexDlg or OpenDuplexDlgMP: what its dialog shows, and how the dialog
 * ended. It lives on the export's stack and reaches the dialog procedure through the dialog's
 * creation parameter; the procedure keeps it in the library's table of its windows until the
 * dialog ends. Nothing of a call is kept anywhere else, so calls on several threads, or one
 * inside another's modal loop, each show their own dialog. */
struct DuplexCall {
    const DEVMODEA *devMode;                 /* the job's device settings, locked */
    DWORD passCode;                          /* 0 first pass, anything else second pass */
    LanguageIndex column;
    BOOL templateTexts;      /* the manual-feed slot dialog: its template carries its texts */
    HWND owner;              /* none: the dialog activates itself */
    HWND reference;          /* the window it stands over: the owner, or another thread's */
    int picture;             /* the illustration: PictureCassetteFirst, ... */
    BOOL answered;           /* set when the dialog's own buttons (or keys) end it */
    BOOL quit;               /* set when a quit message ends it */
};

/* The template ("MDDIALOG_TRAY" or "MDDIALOG_MF") and the illustration (PictureCassetteFirst,
 * ...) for a pass of a job, from the library's constant tables. A null settings record turns
 * nothing over; pass codes above 6 take turn-over 0 before the driver's inversions. */
const WCHAR *SelectDuplexTemplate(const DEVMODEA *devMode);
int SelectDuplexPicture(const DEVMODEA *devMode, const DriverPrivateSettings *settings,
                        WORD passCode);
/* An illustration's bitmap name ("EVEN_T_C", "ODD_T_M_D2", ...; "" for none): always the same
 * constant of the library's table for one illustration. */
const char *DuplexPictureBitmap(int picture);

/* 0 selects the second pass's D1 illustration, 1 the D2 one, before the driver's inversions.
 * Pass codes without an entry (above 6) give 0. */
int TurnOverEntry(BOOL portrait, WORD passCode);

/* Runs the modal dialog of a call from the library's template and returns the call's result:
 * 1 for OK, 0 for Cancel and for a quit message (which stays posted for the caller's loop), -1
 * when the dialog could not be created; a dialog that another hand ends with EndDialog gives
 * that result when it is 1 or -1, else 0. */
int RunDuplexDialog(const WCHAR *templateName, DuplexCall *call);

/* In place of the dialog, where nobody can see it: sends what the dialog says (its caption, its
 * texts, an empty line and what the picture shows) to the job's user as a message box with OK
 * and Cancel, and waits for the answer. Returns 1 for OK, 0 for any other answer, -1 when it
 * could not be shown, with the last error saying why (0 after a message shown). */
int SendDuplexMessage(const WCHAR *templateName, DuplexCall *call);

#endif
