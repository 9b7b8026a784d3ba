/* What every dialog of the library does for people who read it with the keyboard, a screen
 * reader or a high-contrast colour scheme. */
#ifndef DXDLG_ACCESS_H
#define DXDLG_ACCESS_H

#include <windows.h>

/* Whether the user has a high-contrast colour scheme on. The library's fixed greys (the notice's
 * panel, a picture control's grey background) then take the colour of a dialog's face. */
BOOL HighContrastOn(void);

/* The brush of the library's light-grey surfaces: the stock light grey, or under high contrast
 * the system brush of a dialog's face. Neither is to be deleted. */
HBRUSH LightGreyBrush(void);

/* The answer of every dialog of the library to WM_COPY, as the platform's message box answers
 * it: puts the dialog's caption, its visible texts and its buttons' captions on the clipboard
 * as Unicode text, laid out as the message box lays out its own copy:
 *
 *   ---------------------------
 *   Caption
 *   ---------------------------
 *   Text
 *   ---------------------------
 *   OK   Cancel
 *   ---------------------------
 *
 * FALSE when the clipboard could not be had (another program holds it). */
BOOL CopyDialogToClipboard(HWND dialog);

/* When `control` is a button (the controls of the library's dialogs that take the focus),
 * Ctrl+C or Ctrl+Insert typed into it becomes WM_COPY to its dialog, as in the platform's
 * message box. Each dialog calls it for its controls while it initialises. */
void CopyOnCopyKeys(HWND control);

#endif
