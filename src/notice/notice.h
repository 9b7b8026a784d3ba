/* The timed notices: the raw warning, memory full and disk full. Their exports are declared in
 * dxdlg.h; this header shows the state they share, for the library's own tests. */
#ifndef DXDLG_NOTICE_H
#define DXDLG_NOTICE_H

#include <windows.h>

/* The caption of the notice being opened: the caller's string, not a copy. */
extern LPCSTR NoticeTitle;
/* 0 while a notice is open; 1 once its OK button has closed it. */
extern LONG NoticeClosed;

/* The dialog procedure of every notice. */
INT_PTR CALLBACK NoticeDlgProc(HWND notice, UINT message, WPARAM wParam, LPARAM lParam);

/* Whether a notice shown at tick `start` has outlived `timeout` milliseconds at tick `now`.
 * The difference is taken modulo 2^32, so a wrap of the tick counter does no harm, and a
 * time-out of 0xFFFFFFFF never runs out. */
BOOL NoticeTimedOut(DWORD start, DWORD now, DWORD timeout);

#endif
