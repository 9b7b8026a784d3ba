/* What every dialog export does first: the settings, whether the call shows its dialog or sends
 * its words to the job's user, and which window the dialog stands over and belongs to; and the
 * words of a dialog template, for such a message. */
#ifndef DXDLG_CALL_H
#define DXDLG_CALL_H

#include <windows.h>

#include "session/session.h"

/* How one call of an export starts. */
typedef struct CallStart {
    /* Nobody can see a dialog of this process (a service's station, or session 0): the call
     * opens no window and sends its dialog's words to the job's user instead. */
    BOOL sendsMessage;
    /* The window the dialog stands over: the calling thread's active window, else the caller's
     * fallback when it is a window, else none. */
    HWND reference;
    /* The dialog's owner: the reference when it belongs to the calling thread; none for a
     * window of another thread or process, which the dialog only stands over (it is then
     * unowned, topmost and activates itself), so that the call never waits for that thread. */
    HWND owner;
} CallStart;

/* Reads the settings, once per process whatever the number of threads that race for it, and
 * fills `start`; a call that sends a message has neither reference nor owner. */
void BeginDialogCall(HWND fallback, CallStart *start);

/* A new message with the caption of the library's dialog template `name` as its title and the
 * texts of the template's static controls, in the template's order, one line each, as its text;
 * with room for `titleSpare` and `textSpare` more characters. FALSE, with the last error set,
 * when the template is missing or there is no memory. */
BOOL ReadTemplateWords(const WCHAR *name, int titleSpare, int textSpare,
                       SessionMessage *message);

#endif
