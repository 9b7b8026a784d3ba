/*
 * Dialog placement. A dialog is centred horizontally over the client area of its widest
 * ancestor (parents, and owners of pop-up windows), two fifths of the way down the free
 * vertical space, with its top-left corner kept on the primary screen.
 */
#include "placement.h"

/* Ancestors examined before the walk gives up and the direct parent is used instead. */
enum { MaxAncestorSteps = 32 };

/* The ancestor with the greatest window width, the nearest among equals; the dialog itself
 * when no ancestor is wider than 0; the direct parent when the chain is too long to walk. */
static HWND ChooseReferenceWindow(HWND dialog)
{
    HWND reference = dialog;
    LONG bestWidth = 0;
    WORD step = 1;
    for (HWND ancestor = GetParent(dialog); ancestor; ancestor = GetParent(ancestor)) {
        RECT rect;
        GetWindowRect(ancestor, &rect);
        LONG width = rect.right - rect.left;
        if (width > bestWidth) {
            reference = ancestor;
            bestWidth = width;
        }
        if (++step == MaxAncestorSteps)
            return GetParent(dialog);
    }
    return reference;
}

void PlaceDialog(HWND dialog)
{
    HWND reference = ChooseReferenceWindow(dialog);

    RECT rect;
    GetWindowRect(dialog, &rect);
    LONG width = (SHORT)(rect.right - rect.left);
    LONG height = (SHORT)(rect.bottom - rect.top);
    RECT client;
    GetClientRect(reference, &client);

    POINT position;
    position.x = client.left + (client.right - width - client.left) / 2;
    position.y = client.top + (client.bottom - height - client.top) * 2 / 5;
    ClientToScreen(reference, &position);

    LONG screenWidth = (SHORT)GetSystemMetrics(SM_CXSCREEN);
    LONG screenHeight = (SHORT)GetSystemMetrics(SM_CYSCREEN);
    if (position.x < 0)
        position.x = 0;
    else if (position.x > screenWidth - width)
        position.x = screenWidth - width;
    if (position.y < 0)
        position.y = 0;
    else if (position.y > screenHeight - height)
        position.y = screenHeight - height;

    MoveWindow(dialog, position.x, position.y, width, height, IsWindowVisible(dialog));
}

HWND ChooseDialogOwner(HWND fallback)
{
    HWND owner = GetActiveWindow();
    if (!owner)
        owner = fallback;
    /* A handle that is no window would make the dialog fail to open at all (and a modal
     * dialog's 0 reads as Cancel): open it unowned instead. */
    if (owner && !IsWindow(owner))
        owner = NULL;
    return owner;
}
