/*
 * Dialog placement. A dialog is centred horizontally over the client area of its widest
 * ancestor (parents, and owners of pop-up windows), two fifths of the way down the free
 * vertical space, and kept inside the work area (the screen less the taskbar and other docked
 * bars) of the monitor that ancestor is on.
 */
#include "placement/placement.h"

/* Ancestors examined before the walk gives up and the direct parent is used instead. */
enum { MaxAncestorSteps = 32 };

/* Among `first` and its ancestors, the window with the greatest window width, the nearest
 * among equals; none when none is wider than 0; `first` itself when the chain is too long to
 * walk. */
static HWND ChooseReferenceWindow(HWND first)
{
    HWND reference = NULL;
    LONG bestWidth = 0;
    WORD step = 1;
    for (HWND ancestor = first; ancestor; ancestor = GetParent(ancestor)) {
        RECT rect;
        GetWindowRect(ancestor, &rect);
        LONG width = rect.right - rect.left;
        if (width > bestWidth) {
            reference = ancestor;
            bestWidth = width;
        }
        if (++step == MaxAncestorSteps)
            return first;
    }
    return reference;
}

/* The work area of the reference window's monitor (for a minimised window, the monitor it
 * was on before), or of the primary monitor, whose origin is (0, 0), without a window. */
static void GetWorkArea(HWND reference, RECT *workArea)
{
    static const POINT PrimaryOrigin = {0, 0};
    HMONITOR monitor = reference ? MonitorFromWindow(reference, MONITOR_DEFAULTTONEAREST)
                                 : MonitorFromPoint(PrimaryOrigin, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info;
    info.cbSize = sizeof(info);
    if (monitor && GetMonitorInfoW(monitor, &info))
        *workArea = info.rcWork;
    else {
        workArea->left = workArea->top = 0;
        workArea->right = GetSystemMetrics(SM_CXSCREEN);
        workArea->bottom = GetSystemMetrics(SM_CYSCREEN);
    }
}

/* The reference window's client area in screen coordinates; FALSE when there is nothing to
 * stand over: no window, or one that is minimised (its rectangle is then an icon's, far from
 * where the user looks), hidden, or without area. */
static BOOL GetReferenceArea(HWND reference, RECT *area)
{
    if (!reference || IsIconic(reference) || !IsWindowVisible(reference))
        return FALSE;
    /* A client rectangle starts at (0, 0). */
    if (!GetClientRect(reference, area) || area->right <= 0 || area->bottom <= 0)
        return FALSE;
    /* With a rectangle, this also puts left before right for a mirrored window. */
    MapWindowPoints(reference, HWND_DESKTOP, (POINT *)area, 2);
    return TRUE;
}

POINT DialogPosition(const RECT *reference, LONG width, LONG height, const RECT *workArea)
{
    POINT position;
    position.x = reference->left + (reference->right - width - reference->left) / 2;
    position.y = reference->top + (reference->bottom - height - reference->top) * 2 / 5;
    if (position.x < workArea->left)
        position.x = workArea->left;
    else if (position.x > workArea->right - width)
        position.x = workArea->right - width;
    if (position.y < workArea->top)
        position.y = workArea->top;
    else if (position.y > workArea->bottom - height)
        position.y = workArea->bottom - height;
    return position;
}

void PlaceDialogOver(HWND dialog, HWND over)
{
    HWND reference = ChooseReferenceWindow(over);

    RECT rect;
    GetWindowRect(dialog, &rect);
    /* The size in 16 bits, sign-extended, on purpose: the placement is reckoned in 16 bits
     * throughout, and no dialog comes near 32,767 pixels. */
    LONG width = (SHORT)(rect.right - rect.left);
    LONG height = (SHORT)(rect.bottom - rect.top);
    RECT workArea, area;
    GetWorkArea(reference, &workArea);
    if (!GetReferenceArea(reference, &area))
        area = workArea;
    POINT position = DialogPosition(&area, width, height, &workArea);

    /* Topmost, in place and hidden in one request: each request is a round trip to the window
     * system, which costs more than all the rest of opening a dialog. The hidden flag keeps
     * the request from activating the dialog; the dialog manager shows it afterwards. */
    SetWindowPos(dialog, HWND_TOPMOST, position.x, position.y, width, height,
                 SWP_NOACTIVATE | SWP_HIDEWINDOW);
}
