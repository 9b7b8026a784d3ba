// What the session API's stand-in (wtsapi32.cpp) gives a test of the same process about the
// messages it received: StandInLastMessage, exported by name.
#pragma once

#include <windows.h>

struct StandInMessage {
    DWORD count;            // calls so far
    DWORD session, style, timeout;
    const WCHAR *title;     // as received: as many characters as the byte lengths passed
    const WCHAR *text;
};
// The last message, valid until the next call; null before the first.
typedef const StandInMessage *(WINAPI *PFN_StandInLastMessage)(void);
