/*
 * What the library keeps for its own windows, in a table of its own rather than with the
 * windows: a window's user data, its extra bytes (a dialog's DWLP_USER among them) and its
 * properties can all be written by any program on the desktop, and nothing that the library
 * reads or writes through, or calls, may come from there. Only the procedure of a window cannot
 * be replaced from another process.
 *
 * The library's windows exist only while their calls run, and each dialog keeps three things
 * at most (its call and its buttons' procedures), so the table serves a score of dialogs open at
 * once on as many threads. An entry whose window is gone without its last message reaching its
 * procedure is taken again.
 */
#include "base/kept.h"

enum { KeptCount = 64 };

typedef struct Kept {
    HWND window;
    LONG_PTR value;
} Kept;

static Kept KeptTable[KeptCount];
static SRWLOCK KeptLock = SRWLOCK_INIT;

/* The window's entry, null when it has none. Called with the lock held. */
static Kept *EntryOf(HWND window)
{
    for (int i = 0; i < KeptCount; i++)
        if (KeptTable[i].window == window && KeptTable[i].value)
            return &KeptTable[i];
    return NULL;
}

/* A free entry, or one left by a window that is gone. Called with the lock held. */
static Kept *FreeEntry(void)
{
    for (int i = 0; i < KeptCount; i++)
        if (!KeptTable[i].value || !IsWindow(KeptTable[i].window))
            return &KeptTable[i];
    return NULL;
}

BOOL KeepForWindow(HWND window, LONG_PTR value)
{
    if (!window || !value)
        return FALSE;
    AcquireSRWLockExclusive(&KeptLock);
    Kept *entry = EntryOf(window);
    if (!entry)
        entry = FreeEntry();
    if (entry) {
        entry->window = window;
        entry->value = value;
    }
    ReleaseSRWLockExclusive(&KeptLock);
    return entry != NULL;
}

LONG_PTR KeptForWindow(HWND window)
{
    if (!window)
        return 0;
    AcquireSRWLockExclusive(&KeptLock);
    Kept *entry = EntryOf(window);
    LONG_PTR value = entry ? entry->value : 0;
    ReleaseSRWLockExclusive(&KeptLock);
    return value;
}

void ForgetWindow(HWND window)
{
    if (!window)
        return;
    AcquireSRWLockExclusive(&KeptLock);
    if (Kept *entry = EntryOf(window))
        entry->value = 0;
    ReleaseSRWLockExclusive(&KeptLock);
}

void ForgetKeptValue(LONG_PTR value)
{
    if (!value)
        return;
    AcquireSRWLockExclusive(&KeptLock);
    for (int i = 0; i < KeptCount; i++)
        if (KeptTable[i].value == value)
            KeptTable[i].value = 0;
    ReleaseSRWLockExclusive(&KeptLock);
}
