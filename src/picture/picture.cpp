#include "picture.h"
#include "../entry/settings.h"
#include "dxdlg.h"

char DuplexBitmapName[DuplexBitmapNameSize];

void UnregisterPictureClasses(void)
{
}

int WINAPI FRegisterBitmapControl(HINSTANCE instance)
{
    (void)instance;
    return 0;
}

int WINAPI FRegisterBitmapControlMP(HINSTANCE instance)
{
    (void)instance;
    return 0;
}
