/*
 * The timed notices: a small topmost dialog with one message and an OK button, which closes
 * when the user presses OK or when its time-out from the settings has run out. Until then the
 * export runs a private message loop on the caller's thread, so the caller's own windows keep
 * receiving their messages.
 *
 * The notice is a Unicode window, so that its accented and Asian messages reach the screen
 * whatever the system's ANSI code page; the caller's title is ANSI and is set as such.
 */
#include "dxdlg.h"
#include "notice/notice.h"
#include "entry/entry.h"
#include "entry/settings.h"
#include "placement/placement.h"

LPCSTR NoticeTitle;
LONG NoticeClosed;

/* The OK button of every notice template. */
static const int NoticeOkId = 1046;
/* The thread timer that wakes the loop up, so that the time-out is looked at that often. */
static const UINT NoticeTickMs = 100;

/* One language identifier and the template that it selects. */
struct NoticeTemplate {
    LANGID language;
    WORD templateId;
};

/* The templates of one export: by language, and the English one for any other language. */
struct NoticeKind {
    const NoticeTemplate *templates;
    size_t count;
    WORD otherwise;
    const DWORD *timeout;
};

static const NoticeTemplate RawWarningTemplates[] = {
    {1030, 180},                                            /* Danish */
    {1031, 148}, {2055, 148},                               /* German */
    {1034, 151},                                            /* Spanish */
    {1036, 147}, {2060, 147}, {3084, 147}, {4108, 147},     /* French */
    {1040, 149}, {2064, 149},                               /* Italian */
    {1043, 146}, {2067, 146},                               /* Dutch */
    {1044, 150}, {2068, 150},                               /* Norwegian */
    {1046, 185},                                            /* Portuguese (Brazil) */
    {1053, 145},                                            /* Swedish */
};

/* Dutch has no memory-full or disk-full notice of its own and gets the English one. */
static const NoticeTemplate MemfullTemplates[] = {
    {1030, 179},
    {1031, 176}, {2055, 176},
    {1034, 169},
    {1036, 175}, {2060, 175}, {3084, 175}, {4108, 175},
    {1040, 177}, {2064, 177},
    {1044, 168}, {2068, 168},
    {1046, 184},
    {1053, 170},
};

static const NoticeTemplate DiskFullTemplates[] = {
    {1030, 178},
    {1031, 156}, {2055, 156},
    {1034, 172},
    {1036, 157}, {2060, 157}, {3084, 157}, {4108, 157},
    {1040, 155}, {2064, 155},
    {1044, 171}, {2068, 171},
    {1046, 182},
    {1053, 173},
};

static const NoticeKind RawWarning = {
    RawWarningTemplates, sizeof(RawWarningTemplates) / sizeof(RawWarningTemplates[0]), 102,
    &RawDlgTimeout};
static const NoticeKind MemoryFull = {
    MemfullTemplates, sizeof(MemfullTemplates) / sizeof(MemfullTemplates[0]), 158,
    &ErrDlgTimeout};
static const NoticeKind DiskFull = {
    DiskFullTemplates, sizeof(DiskFullTemplates) / sizeof(DiskFullTemplates[0]), 166,
    &ErrDlgTimeout};

/* The whole identifier counts, primary language and sublanguage together. */
static WORD SelectNoticeTemplate(const NoticeKind *kind, LANGID language)
{
    for (size_t i = 0; i < kind->count; i++)
        if (kind->templates[i].language == language)
            return kind->templates[i].templateId;
    return kind->otherwise;
}

BOOL NoticeTimedOut(DWORD start, DWORD now, DWORD timeout)
{
    DWORD elapsed = now - start;
    return elapsed > timeout;
}

/* Paints the whole visible client area light grey, through a context of its own rather than
 * the one the message brings. */
static void PaintNoticeBackground(HWND notice)
{
    HDC dc = GetDC(notice);
    HBRUSH brush = (HBRUSH)GetStockObject(LTGRAY_BRUSH);
    RECT rect;

    if (GetClipBox(dc, &rect) == ERROR)
        GetClientRect(notice, &rect);
    HGDIOBJ previous = SelectObject(dc, brush);
    FillRect(dc, &rect, brush);
    SelectObject(dc, previous);
    ReleaseDC(notice, dc);
}

INT_PTR CALLBACK NoticeDlgProc(HWND notice, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (LOWORD(lParam) == 0)
            SetActiveWindow(notice);
        PlaceDialog(notice);
        SetWindowTextA(notice, NoticeTitle ? NoticeTitle : "");
        return TRUE;
    case WM_ERASEBKGND:
        PaintNoticeBackground(notice);
        /* The message's answer: the background is erased. */
        SetWindowLongPtrW(notice, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_COMMAND:
        /* Escape and the close box send IDCANCEL: a notice goes only by OK or by time. */
        if (LOWORD(wParam) != NoticeOkId)
            return FALSE;
        NoticeClosed = 1;
        DestroyWindow(notice);
        return TRUE;
    default:
        return FALSE;
    }
}

/* Pumps every message of the thread until the notice is closed by OK, its time-out has run
 * out, it has gone with its owner, or a quit message arrives. A quit message is handed on to
 * the caller's own loop. The loop ends right after the message that ended the notice, so no
 * message of the caller is left unhandled or taken from its queue. */
static void RunNoticeLoop(HWND notice, DWORD timeout)
{
    DWORD start = GetTickCount();
    MSG msg;

    for (;;) {
        /* 0: a quit message; -1: the queue cannot be read, so end rather than spin. */
        BOOL got = GetMessageW(&msg, NULL, 0, 0);
        if (got == 0 || got == -1) {
            if (IsWindow(notice))
                DestroyWindow(notice);
            if (got == 0)
                PostQuitMessage((int)msg.wParam);
            return;
        }
        /* A message sent from elsewhere while the loop waited may have closed the notice. */
        if (!IsWindow(notice) || !IsDialogMessageW(notice, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (NoticeClosed || !IsWindow(notice))
            return;
        if (NoticeTimedOut(start, GetTickCount(), timeout)) {
            DestroyWindow(notice);
            return;
        }
    }
}

static INT_PTR ShowNotice(const NoticeKind *kind, HWND owner, UINT language, LPCSTR title)
{
    if (!BeginDialogCall())
        return 0;
    NoticeTitle = title;
    WORD templateId = SelectNoticeTemplate(kind, LOWORD(language));
    owner = ChooseDialogOwner(owner);

    UINT_PTR tick = SetTimer(NULL, 0, NoticeTickMs, NULL);
    NoticeClosed = 0;
    HWND notice = CreateDialogParamW(ModuleInstance, MAKEINTRESOURCEW(templateId), owner,
                                     NoticeDlgProc, 0);
    if (notice) {
        ShowWindow(notice, SW_SHOW);
        RunNoticeLoop(notice, *kind->timeout);
    }
    if (tick)
        KillTimer(NULL, tick);
    return 0;
}

INT_PTR WINAPI RawWarningDialog(HWND owner, UINT language, void *reserved, LPCSTR title)
{
    (void)reserved;
    return ShowNotice(&RawWarning, owner, language, title);
}

INT_PTR WINAPI MemfullErrorDialog(HWND owner, UINT language, void *reserved, LPCSTR title)
{
    (void)reserved;
    return ShowNotice(&MemoryFull, owner, language, title);
}

INT_PTR WINAPI DiskFulErrorDialog(HWND owner, UINT language, void *reserved, LPCSTR title)
{
    (void)reserved;
    return ShowNotice(&DiskFull, owner, language, title);
}
