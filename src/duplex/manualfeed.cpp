/*
 * The manual-feed slot dialog: one sheet into the manual-feed slot. Its templates, one per
 * language, carry their own texts; it runs through the duplex dialog's procedure and shows the
 * manual-feed illustration.
 */
#include "duplex/duplex.h"

#include "base/call.h"
#include "language/language.h"

INT_PTR WINAPI OpenDuplexDlgMP(void *unused1, HWND owner, int unused3, UINT language,
                               void *unused5, void *unused6)
{
    DuplexCall call = {};
    (void)unused1; (void)unused3; (void)unused5; (void)unused6;

    CallStart start;
    BeginDialogCall(owner, &start);
    const LanguageRow *row = SelectLanguage(RequestedLanguage(language));
    call.reference = start.reference;
    call.owner = start.owner;
    call.templateTexts = TRUE;
    call.column = row->manualFeedColumn;
    call.picture = PictureManualFeedSlot;
    const WCHAR *templateName = MAKEINTRESOURCEW(row->manualFeedTemplate);
    return start.sendsMessage ? SendDuplexMessage(templateName, &call)
                              : RunDuplexDialog(templateName, &call);
}
