/* Messages to the job's user, for a caller that has no desktop anyone sees (a service, such as
 * the print spooler): whether the caller is such a one, and one message box sent to the session
 * of the user the calling thread acts for, through the session API. Nothing here knows of any
 * dialog. */
#ifndef DXDLG_SESSION_H
#define DXDLG_SESSION_H

#include <windows.h>

/* TRUE when nobody can see a window of the calling process: its window station is not the
 * visible one (a service's), or the process runs in session 0, which has no user since Windows
 * Vista. A station that cannot be asked is taken to be the visible one. */
BOOL CallerHasNoVisibleDesktop(void);

/* A message being put together: its title and its text, in one block of memory of its own
 * (a message may be longer than a frame of the stack may hold). */
typedef struct SessionMessage {
    WCHAR *title;     /* titleSize characters */
    WCHAR *text;      /* textSize characters */
    int titleSize;
    int textSize;
    int textLength;   /* characters of text so far, without the terminating null */
} SessionMessage;

/* Makes room for a title of titleSize and a text of textSize characters, both empty. FALSE, with
 * the last error set, when there is no memory. */
BOOL AllocateSessionMessage(SessionMessage *message, int titleSize, int textSize);
/* Appends `length` characters of `text` (-1: up to its null) as far as there is room. */
void AppendMessageText(SessionMessage *message, const WCHAR *text, int length);
/* Ends the text so far with an empty line, before what follows: the line ends that the text
 * ends with are replaced by two. */
void AppendEmptyLine(SessionMessage *message);
/* Gives the block back; the last error stays what it was. */
void FreeSessionMessage(SessionMessage *message);

/* Shows the message as a message box of `style` (MB_OK, ...) in the session of the user that the
 * calling thread impersonates, and waits on this thread until that user answers it or
 * `timeoutSeconds` (0: never) have passed. TRUE with the answer (IDOK, ..., IDTIMEOUT) and the
 * last error 0 when it was shown. FALSE when it could not be: the last error is
 * ERROR_NO_SUCH_LOGON_SESSION when the thread acts for nobody with a session here (it does not
 * impersonate, or its token is of session 0), else the session API's own error, or
 * ERROR_NOT_SUPPORTED when it gave none. The session API is loaded from the system folder by the
 * first message of the process, and kept. */
BOOL SendSessionMessage(const SessionMessage *message, DWORD style, DWORD timeoutSeconds,
                        DWORD *answer);

#endif
