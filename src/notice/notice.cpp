/*
 * The timed notices: a small topmost dialog with one message and an OK button, which closes
 * when the user presses OK or when its time-out from the settings has run out. Until then the
 * export runs a private message loop on the caller's thread, so the caller's own windows keep
 * receiving their messages.
 *
 * Everything a call needs lives in a NoticeCall on the export's stack, which reaches the dialog
 * procedure through the creation parameter and stays with the window: notices on several
 * threads, or one opened from a window procedure that another notice's loop dispatches, each
 * keep their own title and deadline and end their own call only. The deadline is a timer of the
 * notice window, so the notice closes on time whatever loop runs on the thread, the caller's own
 * modal box included. It closes only itself: while a window of its thread stands over it (a
 * box or dialog that it owns, opened while it was the active window) it waits, and closes as
 * soon as that window is gone.
 *
 * The notice is a Unicode window, so that its accented and Asian messages reach the screen
 * whatever the system's ANSI code page; the caller's title is ANSI and is set as such.
 */
#include "dxdlg.h"

#include "access/access.h"
#include "base/call.h"
#include "base/kept.h"
#include "base/module.h"
#include "base/settings.h"
#include "language/language.h"
#include "placement/placement.h"
#include "resource.h"

/* One notice call, on its export's stack. The notice gets it as its creation parameter and
 * keeps it in the library's table of its windows (not in DWLP_USER, which any program may
 * write) for as long as it exists. */
typedef struct NoticeCall {
    LPCSTR title;    /* the caption: the caller's string, not a copy */
    DWORD timeout;   /* milliseconds from the show; DXDLG_NEVER_TIMES_OUT never runs out */
    BOOL shown;      /* set when the notice is first shown, which starts its deadline */
    DWORD shownAt;   /* the tick count then */
    BOOL ended;      /* set when the notice is destroyed, whatever destroyed it */
    HWND reference;  /* the window it stands over: its owner, or another thread's window */
} NoticeCall;

/* The notice's own timer, whose WM_TIMER closes it once its time-out is exceeded, or, while a
 * window of its thread stands over it, as soon as that window is gone. */
enum { NoticeDeadlineTimer = 1 };

/* Whether a notice shown at tick `start` has outlived `timeout` milliseconds at tick `now`.
 * The difference is taken modulo 2^32, so a wrap of the tick counter does no harm, and a
 * time-out of 0xFFFFFFFF never runs out. */
static BOOL NoticeTimedOut(DWORD start, DWORD now, DWORD timeout)
{
    DWORD elapsed = now - start;
    return elapsed > timeout;
}

/* The delay, in milliseconds, for the notice's timer to go off once the time-out is exceeded
 * (at least 1, at most USER_TIMER_MAXIMUM); 0 when it never runs out and needs no timer. */
static UINT NoticeTimerDelay(DWORD start, DWORD now, DWORD timeout)
{
    if (timeout == DXDLG_NEVER_TIMES_OUT)
        return 0;
    DWORD elapsed = now - start;
    DWORD remaining = elapsed >= timeout ? 0 : timeout - elapsed;
    /* One more than what remains: the time-out must be strictly exceeded. A longer wait than
     * a timer can take comes in steps. */
    return remaining >= USER_TIMER_MAXIMUM ? USER_TIMER_MAXIMUM : (UINT)remaining + 1;
}

/* Sets the notice's timer to go off when its time-out will have been exceeded. The timer
 * replaces any earlier one of the notice; a notice that never runs out has none. */
static void ArmNoticeDeadline(HWND notice, const NoticeCall *call)
{
    UINT delay = NoticeTimerDelay(call->shownAt, GetTickCount(), call->timeout);
    if (delay)
        SetTimer(notice, NoticeDeadlineTimer, delay, NULL);
}

/* Starts the deadline the first time the notice is shown. */
static void StartNoticeDeadline(HWND notice, NoticeCall *call)
{
    if (call->shown)
        return;
    call->shown = TRUE;
    call->shownAt = GetTickCount();
    ArmNoticeDeadline(notice, call);
}

/* Whether a window of the notice's thread stands over it: the notice is disabled (under a
 * modal box or dialog), or it owns a visible window, directly or through other owned windows.
 * Such a window was opened while the notice was the active window, by the host or by another
 * dialog of the library, and is waiting for its answer: destroying the notice would destroy it
 * too, and its answer would be lost. */
typedef struct WindowOverNotice {
    HWND notice;
    BOOL found;
} WindowOverNotice;

static BOOL CALLBACK FindWindowOverNotice(HWND window, LPARAM parameter)
{
    WindowOverNotice *search = (WindowOverNotice *)parameter;
    if (!IsWindowVisible(window))
        return TRUE;
    for (HWND owner = GetWindow(window, GW_OWNER); owner; owner = GetWindow(owner, GW_OWNER)) {
        if (owner == search->notice) {
            search->found = TRUE;
            return FALSE;
        }
    }
    return TRUE;
}

static BOOL NoticeIsCovered(HWND notice)
{
    if (!IsWindowEnabled(notice))
        return TRUE;
    WindowOverNotice search = {notice, FALSE};
    EnumThreadWindows(GetWindowThreadProcessId(notice, NULL), FindWindowOverNotice,
                      (LPARAM)&search);
    return search.found;
}

/* Whether the system's move or size loop runs for the notice: the user is moving or sizing it,
 * with the mouse or the keyboard. The loop runs until the user ends it, and a window destroyed
 * inside it leaves the loop waiting for input that no window of the thread receives. This is
 * the thread's state, asked of the system: WM_ENTERSIZEMOVE can come from any program, with no
 * loop behind it, and Wine's keyboard size loop runs a while before it sends it. */
static BOOL NoticeIsMovedOrSized(HWND notice)
{
    GUITHREADINFO thread;
    thread.cbSize = sizeof(thread);
    return GetGUIThreadInfo(GetCurrentThreadId(), &thread) && (thread.flags & GUI_INMOVESIZE) &&
           thread.hwndMoveSize == notice;
}

/* Closes the notice once its time-out is exceeded, unless a window of its thread stands over
 * it or the user is moving or sizing it. TRUE when it closed it. */
static BOOL CloseNoticeIfDue(HWND notice, const NoticeCall *call)
{
    if (!call->shown || !NoticeTimedOut(call->shownAt, GetTickCount(), call->timeout))
        return FALSE;
    if (NoticeIsMovedOrSized(notice) || NoticeIsCovered(notice))
        return FALSE;
    DestroyWindow(notice);
    return TRUE;
}

/* The timer can go off a little early by the tick counter's reckoning: then it is set again
 * for what remains. A notice that is due but covered, moved or sized looks again at the timer's
 * shortest period, so that it closes as soon as the window over it or the loop is gone. */
static void CheckNoticeDeadline(HWND notice, const NoticeCall *call)
{
    if (!CloseNoticeIfDue(notice, call))
        ArmNoticeDeadline(notice, call);
}

/* Paints the whole visible client area light grey (under high contrast, the colour of a
 * dialog's face), through a context of its own rather than the one the message brings: it is
 * clipped to the whole visible client area, so each erase repaints all of the panel, not only
 * the part that was invalid. */
static void PaintNoticeBackground(HWND notice)
{
    HDC dc = GetDC(notice);
    HBRUSH brush = LightGreyBrush();
    RECT rect;

    GetClientRect(notice, &rect);
    HGDIOBJ previous = SelectObject(dc, brush);
    FillRect(dc, &rect, brush);
    SelectObject(dc, previous);
    ReleaseDC(notice, dc);
}

/* The dialog procedure of every notice; the creation parameter is the call's NoticeCall. */
static INT_PTR CALLBACK NoticeDlgProc(HWND notice, UINT message, WPARAM wParam, LPARAM lParam)
{
    /* Null until WM_INITDIALOG: the dialog manager sends WM_SETFONT before it. */
    NoticeCall *call = (NoticeCall *)KeptForWindow(notice);

    switch (message) {
    case WM_INITDIALOG:
        call = (NoticeCall *)lParam;
        if (call && !KeepForWindow(notice, (LONG_PTR)call)) {
            /* Without its call the notice could never end it: it goes at once, as a notice
             * that could not be created. */
            call->ended = TRUE;
            DestroyWindow(notice);
            return FALSE;
        }
        SetActiveWindow(notice);
        PlaceDialogOver(notice, call ? call->reference : GetParent(notice));
        SetWindowTextA(notice, call && call->title ? call->title : "");
        CopyOnCopyKeys(GetDlgItem(notice, IDC_NOTICE_OK));
        return TRUE;
    case WM_ERASEBKGND:
        PaintNoticeBackground(notice);
        /* The message's answer: the background is erased. */
        SetWindowLongPtrW(notice, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        /* Under high contrast the message is drawn in the scheme's colours for a dialog's face,
         * on which it stands; otherwise as the dialog manager draws it. */
        if (!HighContrastOn())
            return FALSE;
        SetTextColor((HDC)wParam, GetSysColor(COLOR_BTNTEXT));
        SetBkColor((HDC)wParam, GetSysColor(COLOR_3DFACE));
        return (INT_PTR)GetSysColorBrush(COLOR_3DFACE);
    case WM_COPY:
        CopyDialogToClipboard(notice);
        return TRUE;
    case WM_COMMAND:
        /* Escape and the close box send IDCANCEL: a notice goes only by OK or by time. */
        if (LOWORD(wParam) != IDC_NOTICE_OK)
            return FALSE;
        DestroyWindow(notice);
        return TRUE;
    case WM_SHOWWINDOW:
        /* The time-out counts from the show, here, where a watcher of the window sees it too:
         * ShowWindow itself may take a while under a busy window manager. */
        if (wParam && call)
            StartNoticeDeadline(notice, call);
        return FALSE;
    case WM_TIMER:
        if (wParam != NoticeDeadlineTimer || !call)
            return FALSE;
        CheckNoticeDeadline(notice, call);
        return TRUE;
    case WM_DESTROY:
        /* By OK, by time, with its owner or by a quit message: the call's notice is gone. */
        if (call)
            call->ended = TRUE;
        return FALSE;
    case WM_NCDESTROY:
        ForgetWindow(notice);
        return FALSE;
    default:
        return FALSE;
    }
}

/* Pumps every message of the thread until the call's own notice is gone, and not one message
 * more, so that no message of the caller is left unhandled or taken from its queue. A quit
 * message closes the notice and is handed on to the caller's own loop.
 *
 * The loop waits with MsgWaitForMultipleObjectsEx rather than in GetMessageW: a notice closed
 * by a message sent from another thread (a click by an automation tool) is closed while
 * PeekMessageW handles that message, and the call must end then, not at the next posted
 * message, which may never come.
 *
 * The deadline is also looked at after each message: the system hands out a WM_TIMER only
 * when no posted message or paint is waiting, so a host that keeps posting to itself, or a
 * window that keeps invalidating itself, would hold the notice open past its time-out. */
static void RunNoticeLoop(HWND notice, const NoticeCall *call)
{
    MSG msg;

    while (!call->ended) {
        if (!PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (call->ended)
                return;
            /* A queue that cannot be waited on ends the notice rather than spin. */
            if (MsgWaitForMultipleObjectsEx(0, NULL, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
                WAIT_FAILED)
                DestroyWindow(notice);
            continue;
        }
        if (msg.message == WM_QUIT) {
            DestroyWindow(notice);
            PostQuitMessage((int)msg.wParam);
            return;
        }
        /* The notice may be gone already, closed by a message sent meanwhile. */
        BOOL handled = !call->ended && IsDialogMessageW(notice, &msg);
        if (!handled) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!call->ended)
            CloseNoticeIfDue(notice, call);
    }
}

/* The time-out of a message in its place, in whole seconds rounded up and at least one; 0 (the
 * message waits for its answer) for a notice that never runs out. */
static DWORD NoticeTimeoutSeconds(DWORD timeout)
{
    if (timeout == DXDLG_NEVER_TIMES_OUT)
        return 0;
    DWORD seconds = timeout / 1000 + (timeout % 1000 != 0);
    return seconds ? seconds : 1;
}

/* In place of the notice, where nobody can see it: the caller's title as the notice shows it
 * (in the ANSI code page) and the notice's own text, as a message box with OK to the job's
 * user, for the notice's time-out. The last error tells whether it was shown. */
static void SendNoticeMessage(WORD templateId, LPCSTR title, DWORD timeout)
{
    if (!title)
        title = "";
    int titleLength = MultiByteToWideChar(CP_ACP, 0, title, -1, NULL, 0);
    SessionMessage message;
    if (!ReadTemplateWords(MAKEINTRESOURCEW(templateId), titleLength, 0, &message))
        return;
    MultiByteToWideChar(CP_ACP, 0, title, -1, message.title, message.titleSize);
    DWORD answer;
    SendSessionMessage(&message, MB_OK, NoticeTimeoutSeconds(timeout), &answer);
    FreeSessionMessage(&message);
}

/* kind: RawWarningNotice, MemoryFullNotice or DiskFullNotice. */
static INT_PTR ShowNotice(int kind, HWND owner, UINT language, LPCSTR title)
{
    CallStart start;
    BeginDialogCall(owner, &start);
    NoticeCall call = {title, kind == RawWarningNotice ? RawDlgTimeout : ErrDlgTimeout, FALSE, 0,
                       FALSE, start.reference};
    WORD templateId = SelectLanguage(LOWORD(language))->noticeTemplates[kind];
    if (start.sendsMessage) {
        SendNoticeMessage(templateId, title, call.timeout);
        return 0;
    }

    HWND notice = CreateDialogParamW(ModuleInstance, MAKEINTRESOURCEW(templateId), start.owner,
                                     NoticeDlgProc, (LPARAM)&call);
    if (!notice)
        return 0;
    ShowWindow(notice, SW_SHOW);
    /* Should the show have come without its WM_SHOWWINDOW, the notice still runs out. */
    StartNoticeDeadline(notice, &call);
    RunNoticeLoop(notice, &call);
    ForgetKeptValue((LONG_PTR)&call);
    return 0;
}

INT_PTR WINAPI RawWarningDialog(HWND owner, UINT language, void *reserved, LPCSTR title)
{
    (void)reserved;
    return ShowNotice(RawWarningNotice, owner, language, title);
}

INT_PTR WINAPI MemfullErrorDialog(HWND owner, UINT language, void *reserved, LPCSTR title)
{
    (void)reserved;
    return ShowNotice(MemoryFullNotice, owner, language, title);
}

INT_PTR WINAPI DiskFulErrorDialog(HWND owner, UINT language, void *reserved, LPCSTR title)
{
    (void)reserved;
    return ShowNotice(DiskFullNotice, owner, language, title);
}
