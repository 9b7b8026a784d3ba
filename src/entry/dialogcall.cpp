#include "entry.h"
#include "settings.h"

static BOOL StationIsVisible(void)
{
    USEROBJECTFLAGS flags;
    HWINSTA station = GetProcessWindowStation();
    /* A station that cannot be asked is taken to be the interactive one, as before. */
    if (!station || !GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof(flags), NULL))
        return TRUE;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

BOOL BeginDialogCall(void)
{
    LoadSettingsOnce();
    return StationIsVisible();
}
