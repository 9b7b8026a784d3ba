#include "placement.h"

void PlaceDialog(HWND dialog)
{
    (void)dialog;
}
