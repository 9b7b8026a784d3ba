/*
 * The manual duplex instruction dialog: before each pass of a job printed two-sided by hand,
 * a modal dialog tells the user how to load the paper, with an illustration chosen by the
 * paper source, the pass, the orientation and the driver's settings.
 *
 * The dialogs are Unicode windows, so that every language's texts reach the screen whatever
 * the system's ANSI code page.
 */
#include "duplex.h"

#include <stdio.h>

#include "../entry/entry.h"
#include "../entry/settings.h"
#include "../picture/picture.h"
#include "../placement/placement.h"

DuplexDialogStateRecord DuplexDialogState;

enum {
    StoredLanguage = 0xFFFF,        /* asks for the language of countryCode */
    DuplexTextBufferSize = 2048,    /* every string of the catalogue fits */
    ManualFeedBin = 258,            /* the driver's number for the manual-feed slot */
    InstructionControlId = 151,
};

static const char FirstPassBitmapFormat[] = "EVEN_T_%c";
static const char SecondPassBitmapFormat[] = "ODD_%c_%c_D%d";
static const char TurnedSheetLetter = 'T';
static const char CassetteLetter = 'C';
static const char ManualFeedLetter = 'M';
static const WCHAR CassetteTemplate[] = L"MDDIALOG_TRAY";
static const WCHAR ManualFeedTemplate[] = L"MDDIALOG_MF";

static int IsManualFeedSource(const DEVMODEA *devMode)
{
    return devMode && (devMode->dmDefaultSource == DMBIN_MANUAL ||
                       devMode->dmDefaultSource == ManualFeedBin);
}

/* 0 or 1: which of the two second-pass illustrations, after the driver's inversions. */
static int TurnOver(const DEVMODEA *devMode, const DriverPrivateSettings *settings, WORD passCode)
{
    int turnOver = TurnOverEntry(devMode && devMode->dmOrientation == DMORIENT_PORTRAIT, passCode);
    if (settings) {
        if (settings->rotationSwitch == 1 && settings->rotationAngle == 180)
            turnOver = 1 - turnOver;
        if (settings->reversal == 1 || settings->reversal == 2)
            turnOver = 1 - turnOver;
    }
    return turnOver;
}

void BuildDuplexResourceNames(char *bitmapName, size_t bitmapNameSize, WCHAR *templateName,
                              size_t templateNameSize, const DEVMODEA *devMode,
                              const DriverPrivateSettings *settings, WORD passCode)
{
    int turnOver = TurnOver(devMode, settings, passCode);
    int manualFeed = IsManualFeedSource(devMode);
    char source = manualFeed ? ManualFeedLetter : CassetteLetter;

    lstrcpynW(templateName, manualFeed ? ManualFeedTemplate : CassetteTemplate,
              (int)templateNameSize);
    if (passCode == 0)
        snprintf(bitmapName, bitmapNameSize, FirstPassBitmapFormat, source);
    else
        snprintf(bitmapName, bitmapNameSize, SecondPassBitmapFormat, TurnedSheetLetter, source,
                 turnOver + 1);
}

/* Loads a string of the column, or the English column's string of the same row when the
 * column has none. Returns its length. */
static int LoadTableText(UINT id, UINT englishId, WCHAR *buffer)
{
    int length = LoadStringW(ModuleInstance, id, buffer, DuplexTextBufferSize);
    if (length == 0)
        length = LoadStringW(ModuleInstance, englishId, buffer, DuplexTextBufferSize);
    if (length <= 0) {
        buffer[0] = 0;
        length = 0;
    }
    return length;
}

static void SetTableText(HWND window, UINT id, UINT englishId, WCHAR *buffer)
{
    LoadTableText(id, englishId, buffer);
    SetWindowTextW(window, buffer);
}

/* Several captions of the string tables end in a line feed, which a title bar would draw as a
 * box: the caption is set without it. */
static void SetCaptionText(HWND dialog, UINT id, UINT englishId, WCHAR *buffer)
{
    int length = LoadTableText(id, englishId, buffer);
    while (length > 0 && (buffer[length - 1] == L'\n' || buffer[length - 1] == L'\r'))
        buffer[--length] = 0;
    SetWindowTextW(dialog, buffer);
}

void LoadDuplexTexts(HWND dialog, const DEVMODEA *devMode, DWORD passCode, LanguageIndex column)
{
    WCHAR text[DuplexTextBufferSize];
    int manualFeed = IsManualFeedSource(devMode);
    int secondPass = passCode != 0;

    SetTableText(GetDlgItem(dialog, InstructionControlId),
                 InstructionTextId(column, manualFeed, secondPass),
                 InstructionTextId(LanguageEnglish, manualFeed, secondPass), text);
    SetCaptionText(dialog, CaptionTextId(column), CaptionTextId(LanguageEnglish), text);
    SetTableText(GetDlgItem(dialog, IDOK), OkTextId(column), OkTextId(LanguageEnglish), text);
    SetTableText(GetDlgItem(dialog, IDCANCEL), CancelTextId(column),
                 CancelTextId(LanguageEnglish), text);
}

WORD RequestedLanguage(UINT language)
{
    WORD requested = LOWORD(language);
    return requested == StoredLanguage ? LOWORD(countryCode) : requested;
}

LPARAM DialogInitParam(HWND owner)
{
    return (LPARAM)((UINT_PTR)owner & 0xFFFF);
}

INT_PTR CALLBACK DuplexDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (LOWORD(lParam) == 0)
            SetActiveWindow(dialog);
        PlaceDialog(dialog);
        if (!(lParam & ManualFeedDialogFlag)) {
            LoadDuplexTexts(dialog, DuplexDialogState.devMode, DuplexDialogState.passCode,
                            DuplexDialogState.column);
            /* The manual-feed layout marks both buttons as default, and the dialog manager
             * would take the last, Cancel, for Enter: OK is the default in both layouts. */
            SendMessageW(dialog, DM_SETDEFID, IDOK, 0);
        }
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case ManualFeedOkId:
            EndDialog(dialog, 1);
            break;
        case IDCANCEL:
        case ManualFeedCancelId:
            EndDialog(dialog, 0);
            break;
        default:
            break;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

static INT_PTR RunDuplexDialog(const WCHAR *templateName, HWND owner, LPARAM initParam)
{
    return DialogBoxParamW(ModuleInstance, templateName, owner, DuplexDlgProc, initParam);
}

int WINAPI OpenDuplexDlg(void *unused1, HWND owner, int unused3, UINT passCode, UINT language,
                         HLOCAL devMode, void *unused7, const DriverPrivateSettings *settings)
{
    WCHAR templateName[16];
    INT_PTR result = -1;
    (void)unused1; (void)unused3; (void)unused7;

    if (!BeginDialogCall())
        return -1;
    LanguageIndex column = SelectLanguageIndex(RequestedLanguage(language));
    owner = ChooseDialogOwner(owner);

    /* The block stays locked while the dialog reads it. */
    const DEVMODEA *settingsOfJob = (const DEVMODEA *)LocalLock(devMode);
    if (!settingsOfJob)
        return -1;

    BuildDuplexResourceNames(DuplexBitmapName, sizeof(DuplexBitmapName), templateName,
                             sizeof(templateName) / sizeof(templateName[0]), settingsOfJob,
                             settings, LOWORD(passCode));
    DuplexDialogState.devMode = settingsOfJob;
    DuplexDialogState.settings = settings;
    DuplexDialogState.passCode = LOWORD(passCode);
    DuplexDialogState.column = column;
    LPARAM initParam = DialogInitParam(owner);

    if (!ShowEveryLanguage) {
        result = RunDuplexDialog(templateName, owner, initParam);
    } else {
        /* Every column in turn, the same template and picture; Cancel does not end the
         * series, and the last dialog's answer is the call's. */
        for (DuplexDialogState.column = 0; DuplexDialogState.column < LanguageCount;
             DuplexDialogState.column++)
            result = RunDuplexDialog(templateName, owner, initParam);
    }

    DuplexDialogState.devMode = NULL;
    DuplexDialogState.settings = NULL;
    LocalUnlock(devMode);
    return (int)result;
}
