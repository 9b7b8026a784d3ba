/*
 * Messages to the job's user in their own session. A printer driver's rendering code, print
 * processor and language monitor run inside the print spooler, as the local system account in
 * session 0, in a window station that nobody sees; the spooler impersonates the user who printed
 * while it calls them, so the thread's impersonation token names that user's session. A message
 * box sent there through the session API (wtsapi32's WTSSendMessageW) is what that user can
 * see and answer.
 *
 * The session API is no import of the library: it is loaded by full system path the first time
 * a message is sent, and stays loaded until the process ends.
 */
#include "session/session.h"

/* WTSSendMessageW, as wtsapi32.dll exports it; its title and message lengths are in bytes. */
typedef BOOL(WINAPI *SendMessageFunction)(HANDLE server, DWORD session, LPWSTR title,
                                          DWORD titleBytes, LPWSTR message, DWORD messageBytes,
                                          DWORD style, DWORD timeoutSeconds, DWORD *response,
                                          BOOL wait);
#define SESSION_API_CURRENT_SERVER ((HANDLE)NULL)

static BOOL StationIsVisible(void)
{
    USEROBJECTFLAGS flags;
    HWINSTA station = GetProcessWindowStation();
    /* A station that cannot be asked is taken to be the interactive one. */
    if (!station || !GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof(flags), NULL))
        return TRUE;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

BOOL CallerHasNoVisibleDesktop(void)
{
    /* A service marked as interactive sits in the visible station, but in session 0, whose
     * desktop nobody has looked at since Windows Vista: a dialog there would wait for good. */
    DWORD session;
    if (ProcessIdToSessionId(GetCurrentProcessId(), &session) && session == 0)
        return TRUE;
    return !StationIsVisible();
}

BOOL AllocateSessionMessage(SessionMessage *message, int titleSize, int textSize)
{
    WCHAR *block = (WCHAR *)GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT,
                                        sizeof(WCHAR) * ((SIZE_T)titleSize + textSize));
    message->title = block;
    message->text = block ? block + titleSize : NULL;
    message->titleSize = titleSize;
    message->textSize = textSize;
    message->textLength = 0;
    return block != NULL;
}

void AppendMessageText(SessionMessage *message, const WCHAR *text, int length)
{
    for (int i = 0; (length < 0 || i < length) && text[i]; i++) {
        if (message->textLength + 1 >= message->textSize)
            break;
        message->text[message->textLength++] = text[i];
    }
    message->text[message->textLength] = 0;
}

void AppendEmptyLine(SessionMessage *message)
{
    while (message->textLength > 0 && (message->text[message->textLength - 1] == L'\n' ||
                                       message->text[message->textLength - 1] == L'\r'))
        message->textLength--;
    message->text[message->textLength] = 0;
    AppendMessageText(message, L"\n\n", 2);
}

void FreeSessionMessage(SessionMessage *message)
{
    DWORD error = GetLastError();
    if (message->title)
        GlobalFree(message->title);
    message->title = message->text = NULL;
    SetLastError(error);
}

/* The session of the user that the calling thread acts for: its impersonation token's, read
 * with the process's own rights (the user's may not include reading it). Session 0 has no user:
 * the spooler's own account, or a user at another machine printing through a shared printer,
 * whose logon has no session here. Nobody else is guessed at, the console's user included, who
 * may be someone else. */
static BOOL FindJobUserSession(DWORD *session)
{
    HANDLE token;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token))
        return FALSE;
    DWORD size = 0;
    *session = 0;
    BOOL found = GetTokenInformation(token, TokenSessionId, session, sizeof(*session), &size);
    CloseHandle(token);
    return found && *session != 0;
}

static INIT_ONCE SessionApiLoaded = INIT_ONCE_STATIC_INIT;
static SendMessageFunction SessionApiSend;
static DWORD SessionApiError;   /* why it could not be loaded */

static BOOL CALLBACK LoadSessionApi(PINIT_ONCE once, PVOID parameter, PVOID *context)
{
    (void)once; (void)parameter; (void)context;
    HMODULE module = LoadLibraryExW(L"wtsapi32.dll", NULL, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module)
        SessionApiSend = (SendMessageFunction)(void (*)(void))GetProcAddress(module, "WTSSendMessageW");
    if (!SessionApiSend)
        SessionApiError = GetLastError();
    return TRUE;
}

BOOL SendSessionMessage(const SessionMessage *message, DWORD style, DWORD timeoutSeconds,
                        DWORD *answer)
{
    DWORD session;
    *answer = 0;
    if (!FindJobUserSession(&session)) {
        SetLastError(ERROR_NO_SUCH_LOGON_SESSION);
        return FALSE;
    }
    InitOnceExecuteOnce(&SessionApiLoaded, LoadSessionApi, NULL, NULL);
    if (!SessionApiSend) {
        SetLastError(SessionApiError ? SessionApiError : ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    DWORD titleBytes = (DWORD)(lstrlenW(message->title) * sizeof(WCHAR));
    DWORD textBytes = (DWORD)(message->textLength * sizeof(WCHAR));
    SetLastError(0);
    if (!SessionApiSend(SESSION_API_CURRENT_SERVER, session, message->title, titleBytes,
                        message->text, textBytes, style, timeoutSeconds, answer, TRUE)) {
        /* Wine's own is a stub that fails without saying why. */
        if (GetLastError() == 0)
            SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    SetLastError(0);
    return TRUE;
}
