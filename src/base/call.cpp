/*
 * The foundations that every dialog of the library stands on: the settings store (settings.cpp)
 * and the start of a call here, which reads the settings, tells whether anyone can see a
 * dialog, and chooses the window a dialog stands over and its owner. Nothing here knows of any
 * dialog, picture or language.
 */
#include "base/call.h"
#include "base/settings.h"

static BOOL StationIsVisible(void)
{
    USEROBJECTFLAGS flags;
    HWINSTA station = GetProcessWindowStation();
    /* A station that cannot be asked is taken to be the interactive one. */
    if (!station || !GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof(flags), NULL))
        return TRUE;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

BOOL BeginDialogCall(void)
{
    LoadSettingsOnce();
    return StationIsVisible();
}

HWND ChooseDialogReference(HWND fallback)
{
    HWND reference = GetActiveWindow();
    if (!reference)
        reference = fallback;
    /* A handle that is no window would make the dialog fail to open at all (and a modal
     * dialog's 0 reads as Cancel): open it unowned instead. */
    if (reference && !IsWindow(reference))
        reference = NULL;
    return reference;
}

HWND DialogOwnerFor(HWND reference)
{
    /* An owner is sent messages that the dialog manager waits for (a modal dialog disables it),
     * and on Windows a window owned across threads joins the two threads' input: a window of
     * another thread, or process, whose thread is busy or waits for this one would hold the
     * call, for ever in the second case. Such a window is only stood over. Its thread is read
     * from the window system, without a message. */
    if (reference && GetWindowThreadProcessId(reference, NULL) != GetCurrentThreadId())
        return NULL;
    return reference;
}
