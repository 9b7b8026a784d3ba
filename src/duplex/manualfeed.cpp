/*
 * The manual-feed slot dialog: one sheet into the manual-feed slot. Its templates, one per
 * language, carry their own texts; it runs through the duplex dialog's procedure and shows the
 * manual-feed illustration.
 */
#include "duplex.h"

#include "../entry/entry.h"
#include "../entry/settings.h"
#include "../picture/picture.h"
#include "../placement/placement.h"
#include "resource.h"

/* The manual-feed slot's illustration, in the first-pass name's form. */
static const char ManualFeedBitmapName[] = DXDLG_RESOURCE_NAME(IDB_MANUALFEED_FIRST);

INT_PTR WINAPI OpenDuplexDlgMP(void *unused1, HWND owner, int unused3, UINT language,
                               void *unused5, void *unused6)
{
    DuplexCall call = {};
    (void)unused1; (void)unused3; (void)unused5; (void)unused6;

    if (!BeginDialogCall())
        return -1;
    WORD templateId = SelectLanguage(RequestedLanguage(language))->manualFeedTemplate;
    call.reference = ChooseDialogReference(owner);
    call.owner = DialogOwnerFor(call.reference);
    call.templateTexts = TRUE;
    call.bitmapName = ManualFeedBitmapName;
    return RunDuplexDialog(MAKEINTRESOURCEW(templateId), &call);
}
