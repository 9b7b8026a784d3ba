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

struct ManualFeedTemplateChoice {
    WORD language;
    WORD templateId;
};

enum { EnglishManualFeedTemplate = 181 };

/* Every identifier with a template other than the English 181. */
static const ManualFeedTemplateChoice ManualFeedTemplates[] = {
    {1043, 103}, {2067, 103},                            /* Dutch */
    {1040, 104}, {2064, 104},                            /* Italian */
    {1036, 105}, {2060, 105}, {3084, 105}, {4108, 105},  /* French */
    {1044, 106}, {2068, 106},                            /* Norwegian */
    {1034, 107},                                         /* Spanish */
    {1053, 108},                                         /* Swedish */
    {1030, 109},                                         /* Danish: English texts */
    {1031, 110}, {2055, 110},                            /* German */
    {1046, 183},                                         /* Portuguese (Brazil): English texts */
    {1041, 187},                                         /* Japanese: English texts */
};

/* The manual-feed slot's illustration, in the first-pass name's form. */
static const char ManualFeedBitmapName[] = "EVEN_T_M";

WORD SelectManualFeedTemplate(WORD language)
{
    for (size_t i = 0; i < sizeof(ManualFeedTemplates) / sizeof(ManualFeedTemplates[0]); i++)
        if (ManualFeedTemplates[i].language == language)
            return ManualFeedTemplates[i].templateId;
    return EnglishManualFeedTemplate;
}

INT_PTR WINAPI OpenDuplexDlgMP(void *unused1, HWND owner, int unused3, UINT language,
                               void *unused5, void *unused6)
{
    DuplexCall call = {};
    (void)unused1; (void)unused3; (void)unused5; (void)unused6;

    if (!BeginDialogCall())
        return -1;
    WORD templateId = SelectManualFeedTemplate(RequestedLanguage(language));
    call.owner = ChooseDialogOwner(owner);
    call.templateTexts = TRUE;
    lstrcpynA(call.bitmapName, ManualFeedBitmapName, sizeof(call.bitmapName));
    return RunDuplexDialog(MAKEINTRESOURCEW(templateId), &call);
}
