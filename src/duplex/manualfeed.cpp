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

/* The templates whose texts are English though another language selects them: the picture is
 * described in the language of the dialog's texts. */
static const WORD EnglishManualFeedTemplates[] = {
    IDD_MANUALFEED_ENGLISH, IDD_MANUALFEED_DANISH, IDD_MANUALFEED_PORTUGUESE_BRAZIL,
    IDD_MANUALFEED_JAPANESE,
};

static LanguageIndex ManualFeedTextColumn(const LanguageRow *row)
{
    for (size_t i = 0; i < sizeof(EnglishManualFeedTemplates) / sizeof(WORD); i++) {
        if (row->manualFeedTemplate == EnglishManualFeedTemplates[i])
            return LanguageEnglish;
    }
    return row->column;
}

INT_PTR WINAPI OpenDuplexDlgMP(void *unused1, HWND owner, int unused3, UINT language,
                               void *unused5, void *unused6)
{
    DuplexCall call = {};
    (void)unused1; (void)unused3; (void)unused5; (void)unused6;

    if (!BeginDialogCall())
        return -1;
    const LanguageRow *row = SelectLanguage(RequestedLanguage(language));
    call.reference = ChooseDialogReference(owner);
    call.owner = DialogOwnerFor(call.reference);
    call.templateTexts = TRUE;
    call.column = ManualFeedTextColumn(row);
    call.picture = PictureManualFeedSlot;
    return RunDuplexDialog(MAKEINTRESOURCEW(row->manualFeedTemplate), &call);
}
