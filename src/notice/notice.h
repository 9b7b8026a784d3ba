/* The timed notices: the raw warning, memory full and disk full. Their exports are declared in
 * dxdlg.h; this header shows how a call and its notice share their state, for the library's own
 * tests. */
#ifndef DXDLG_NOTICE_H
#define DXDLG_NOTICE_H

#include <windows.h>

#include "dxdlg.h"

/* One notice call, on its export's stack. The notice gets it as its creation parameter and
 * keeps it in DWLP_USER for as long as it exists. */
struct NoticeCall {
    LPCSTR title;    /* the caption: the caller's string, not a copy */
    DWORD timeout;   /* milliseconds from the show; DXDLG_NEVER_TIMES_OUT never runs out */
    BOOL shown;      /* set when the notice is first shown, which starts its deadline */
    DWORD shownAt;   /* the tick count then */
    BOOL ended;      /* set when the notice is destroyed, whatever destroyed it */
    HWND reference;  /* the window it stands over: its owner, or another thread's window */
    BOOL moving;     /* while the user moves or sizes it, in the system's move/size loop */
};

/* The notice's own timer, whose WM_TIMER closes it once its time-out is exceeded, or, while a
 * window of its thread stands over it, as soon as that window is gone. */
static const UINT_PTR NoticeDeadlineTimer = 1;

/* The dialog procedure of every notice; the creation parameter is the call's NoticeCall. */
INT_PTR CALLBACK NoticeDlgProc(HWND notice, UINT message, WPARAM wParam, LPARAM lParam);

/* Whether a notice shown at tick `start` has outlived `timeout` milliseconds at tick `now`.
 * The difference is taken modulo 2^32, so a wrap of the tick counter does no harm, and a
 * time-out of 0xFFFFFFFF never runs out. */
BOOL NoticeTimedOut(DWORD start, DWORD now, DWORD timeout);

/* The delay, in milliseconds, for the notice's timer to go off once the time-out is exceeded
 * (at least 1, at most USER_TIMER_MAXIMUM); 0 when it never runs out and needs no timer. */
UINT NoticeTimerDelay(DWORD start, DWORD now, DWORD timeout);

#endif
