/*
 * The manual duplex instruction dialog: before each pass of a job printed two-sided by hand,
 * a modal dialog tells the user how to load the paper, with an illustration chosen by the
 * paper source, the pass, the orientation and the driver's settings.
 *
 * The dialogs are Unicode windows, so that every language's texts reach the screen whatever
 * the system's ANSI code page.
 */
#include "duplex/duplex.h"

#include "access/access.h"
#include "base/call.h"
#include "base/kept.h"
#include "base/module.h"
#include "base/settings.h"
#include "picture/picture.h"
#include "placement/placement.h"
#include "resource.h"

enum {
    /* Every string of the catalogue fits (the longest has 660 characters), and the frame that
     * holds it stays under a page, which the library's build asks of every frame: a larger one
     * would need the stack probe of a C runtime. */
    DuplexTextBufferSize = 1024,
    PictureTextBufferSize = 512,    /* every sentence that says what a picture shows fits */
    /* A device block holds the DEVMODEA fields that the dialog reads, dmOrientation and
     * dmDefaultSource, when it reaches the end of the later one. */
    DeviceFieldsEnd = offsetof(DEVMODEA, dmDefaultSource) + sizeof(short),
};

/* The illustrations' bitmaps, by PictureCassetteFirst, ...: by layout (cassette, manual-feed
 * slot), the first pass's, then the second pass's by turn-over; the manual-feed slot dialog's
 * is the manual-feed first pass's. */
static const char *const DuplexBitmapNames[PictureCount] = {
    DXDLG_RESOURCE_NAME(IDB_CASSETTE_FIRST), DXDLG_RESOURCE_NAME(IDB_CASSETTE_SECOND_1),
    DXDLG_RESOURCE_NAME(IDB_CASSETTE_SECOND_2),
    DXDLG_RESOURCE_NAME(IDB_MANUALFEED_FIRST), DXDLG_RESOURCE_NAME(IDB_MANUALFEED_SECOND_1),
    DXDLG_RESOURCE_NAME(IDB_MANUALFEED_SECOND_2), DXDLG_RESOURCE_NAME(IDB_MANUALFEED_FIRST),
};
/* Each illustration has the sentence that says what it shows, in every language. */
static_assert((int)PictureCount == (int)PictureSentenceCount, "a sentence for every illustration");

enum { TurnOverPassCodes = 7 };

/* By orientation (other, portrait), then pass code 0 to 6; entry 0 belongs to the first pass,
 * which has no D variant. */
static const BYTE TurnOverTable[2][TurnOverPassCodes] = {
    {0, 0, 0, 1, 1, 1, 1},
    {0, 0, 0, 1, 1, 0, 0},
};

static const WCHAR *const DuplexTemplateNames[2] = {
    DXDLG_RESOURCE_NAMEW(IDD_DUPLEX_TRAY), DXDLG_RESOURCE_NAMEW(IDD_DUPLEX_MANUALFEED)};

int TurnOverEntry(BOOL portrait, WORD passCode)
{
    if (passCode >= TurnOverPassCodes)
        return 0;
    return TurnOverTable[portrait ? 1 : 0][passCode];
}

static int IsManualFeedSource(const DEVMODEA *devMode)
{
    return devMode && (devMode->dmDefaultSource == DMBIN_MANUAL ||
                       devMode->dmDefaultSource == DXDLG_DMBIN_MANUALFEED);
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

const WCHAR *SelectDuplexTemplate(const DEVMODEA *devMode)
{
    return DuplexTemplateNames[IsManualFeedSource(devMode)];
}

int SelectDuplexPicture(const DEVMODEA *devMode, const DriverPrivateSettings *settings,
                        WORD passCode)
{
    int layout = IsManualFeedSource(devMode) ? PictureManualFeedFirst : PictureCassetteFirst;
    return layout + (passCode == 0 ? 0 : 1 + TurnOver(devMode, settings, passCode));
}

const char *DuplexPictureBitmap(int picture)
{
    return picture >= 0 && picture < PictureCount ? DuplexBitmapNames[picture] : "";
}

/* Loads a string of the column, or the English column's string of the same row when the
 * column has none. Returns its length. */
static int LoadTableText(UINT id, UINT englishId, WCHAR *buffer, int size)
{
    int length = LoadStringW(ModuleInstance, id, buffer, size);
    if (length == 0)
        length = LoadStringW(ModuleInstance, englishId, buffer, size);
    if (length <= 0) {
        buffer[0] = 0;
        length = 0;
    }
    return length;
}

/* The caption in the column's language. Several captions of the string tables end in a line
 * feed, which a title bar would draw as a box: the caption is without it. */
static void LoadCaptionText(LanguageIndex column, WCHAR *caption, int size)
{
    int length = LoadTableText(CaptionTextId(column), CaptionTextId(LanguageEnglish), caption, size);
    while (length > 0 && (caption[length - 1] == L'\n' || caption[length - 1] == L'\r'))
        caption[--length] = 0;
}

static void SetCaptionText(HWND dialog, LanguageIndex column)
{
    WCHAR caption[DuplexTextBufferSize];
    LoadCaptionText(column, caption, DuplexTextBufferSize);
    SetWindowTextW(dialog, caption);
}

/* The instruction of a pass in the column's language. */
static void LoadInstructionText(const DuplexCall *call, WCHAR *text, int size)
{
    int manualFeed = IsManualFeedSource(call->devMode), secondPass = call->passCode != 0;
    LoadTableText(InstructionTextId(call->column, manualFeed, secondPass),
                  InstructionTextId(LanguageEnglish, manualFeed, secondPass), text, size);
}

/* What the picture shows, in the column's language. */
static int LoadPictureText(const DuplexCall *call, WCHAR *text, int size)
{
    return LoadTableText(PictureTextId(call->column, call->picture),
                         PictureTextId(LanguageEnglish, call->picture), text, size);
}

/* Sets the duplex dialog's instruction text or a button's caption from the string tables, in
 * the column's language, when the control (of identifier `id`) is one of those; a text that the
 * column lacks is the English one. */
static void SetControlText(HWND control, int id, const DuplexCall *call)
{
    UINT textId, englishId;
    WCHAR text[DuplexTextBufferSize];
    switch (id) {
    case IDC_INSTRUCTION:
        LoadInstructionText(call, text, DuplexTextBufferSize);
        SetWindowTextW(control, text);
        return;
    case IDOK:
        textId = OkTextId(call->column);
        englishId = OkTextId(LanguageEnglish);
        break;
    case IDCANCEL:
        textId = CancelTextId(call->column);
        englishId = CancelTextId(LanguageEnglish);
        break;
    default:
        return;
    }
    LoadTableText(textId, englishId, text, DuplexTextBufferSize);
    SetWindowTextW(control, text);
}

/* The controls that ReadyControls readies; the controls after the last of them need nothing. */
enum {
    ReadiedPicture = 1, ReadiedOk = 2, ReadiedCancel = 4, ReadiedInstruction = 8,
    ReadiedEveryControl = 15
};

static UINT ControlReadied(int id)
{
    return id == IDOK ? ReadiedOk : id == IDCANCEL ? ReadiedCancel
         : id == IDC_INSTRUCTION ? ReadiedInstruction : 0;
}

/* Readies the dialog's controls in one walk over them (each step is one question to the
 * window system), which ends once the picture, both buttons and the instruction are ready:
 * hands the picture control its illustration, and the sentence that says what it shows in the
 * call's language for screen readers; gives the buttons the copy keys; and unless the template
 * carries its own texts, sets the instruction and the buttons' captions.
 *
 * The duplex templates create the picture control disabled, which the accessibility layer
 * announces as "unavailable": it is enabled. It draws the same either way, has no tab stop and
 * answers no input, but the arrow keys move the focus to the next enabled control of the
 * focused one's group, and in the manual-feed layout the picture and OK make one group: the
 * control after the picture starts a group of its own (unless it does already), so that the
 * arrows still never reach the picture. */
static void ReadyControls(HWND dialog, const DuplexCall *call)
{
    WCHAR description[PictureTextBufferSize];
    LoadPictureText(call, description, PictureTextBufferSize);
    const char *bitmap = DuplexPictureBitmap(call->picture);
    BOOL startGroup = FALSE;
    UINT readied = 0;
    for (HWND control = GetWindow(dialog, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
        if (startGroup && !(style & WS_GROUP))
            SetWindowLongPtrW(control, GWL_STYLE, style | WS_GROUP);
        startGroup = FALSE;
        int id = GetDlgCtrlID(control);
        readied |= ControlReadied(id);
        if (!call->templateTexts)
            SetControlText(control, id, call);
        CopyOnCopyKeys(control);
        HWND picture = ShowControlPicture(control, bitmap, description);
        if (picture) {
            control = picture;   /* it may stand in for the template's control */
            readied |= ReadiedPicture;
            if (!IsWindowEnabled(control)) {
                EnableWindow(control, TRUE);
                startGroup = TRUE;
            }
        }
        if (readied == ReadiedEveryControl && !startGroup)
            break;
    }
}

/* Ends the dialog with the user's answer, 1 or 0, and notes in its call that an answer ended
 * it. */
static void AnswerDialog(HWND dialog, int answer)
{
    DuplexCall *call = (DuplexCall *)KeptForWindow(dialog);
    if (call)
        call->answered = TRUE;
    EndDialog(dialog, answer);
}

/* The procedure of both dialogs, the duplex instructions and the manual-feed slot. */
static INT_PTR CALLBACK DuplexDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        DuplexCall *call = (DuplexCall *)lParam;
        /* Kept in the library's table of its windows, not in DWLP_USER, which any program may
         * write. Without its call the dialog cannot show its job: it is one that could not be
         * created. */
        if (!KeepForWindow(dialog, (LONG_PTR)call)) {
            EndDialog(dialog, -1);
            return TRUE;
        }
        if (!call->owner)
            SetActiveWindow(dialog);
        PlaceDialogOver(dialog, call->reference);
        ReadyControls(dialog, call);
        if (!call->templateTexts)
            SetCaptionText(dialog, call->column);
        /* The manual-feed layout marks both buttons as default, and the dialog manager would
         * take the last, Cancel, for Enter: OK is the default there too. */
        if (!call->templateTexts && IsManualFeedSource(call->devMode))
            SendMessageW(dialog, DM_SETDEFID, IDOK, 0);
        return TRUE;
    }
    case WM_COPY:
        CopyDialogToClipboard(dialog);
        return TRUE;
    case WM_NCDESTROY:
        ForgetWindow(dialog);
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDC_MANUALFEED_OK:
            AnswerDialog(dialog, 1);
            break;
        case IDCANCEL:
        case IDC_MANUALFEED_CANCEL:
            AnswerDialog(dialog, 0);
            break;
        default:
            break;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

int RunDuplexDialog(const WCHAR *templateName, DuplexCall *call)
{
    call->answered = call->quit = FALSE;
    /* The thread's picture name (picture.h), a constant of the library's, so that nothing of
     * the call outlives it. */
    SetThreadPictureName(DuplexPictureBitmap(call->picture));
    HHOOK pictureWatch = ReadyPictureClasses();
    INT_PTR result = DialogBoxParamW(ModuleInstance, templateName, call->owner, DuplexDlgProc,
                                     (LPARAM)call);
    EndPictureWatch(pictureWatch);
    ForgetKeptValue((LONG_PTR)call);
    if (call->answered)
        return (int)result;
    /* A quit message ends the modal loop whatever the dialog: the dialog manager posts it again
     * for the caller's loop and returns whatever result it holds (under Wine the default
     * button's identifier). The dialog was not confirmed. */
    MSG quit;
    if (PeekMessageW(&quit, NULL, WM_QUIT, WM_QUIT, PM_NOREMOVE)) {
        call->quit = TRUE;
        return 0;
    }
    /* Not created (-1, or 0 for an owner gone meanwhile), or ended by another hand. */
    return result == 1 || result == -1 ? (int)result : 0;
}

int SendDuplexMessage(const WCHAR *templateName, DuplexCall *call)
{
    SessionMessage message;
    BOOL ready;
    if (call->templateTexts) {
        ready = ReadTemplateWords(templateName, 0, PictureTextBufferSize + 2, &message);
    } else {
        ready = AllocateSessionMessage(&message, DuplexTextBufferSize,
                                       DuplexTextBufferSize + 2 + PictureTextBufferSize);
        if (ready) {
            LoadCaptionText(call->column, message.title, message.titleSize);
            LoadInstructionText(call, message.text, DuplexTextBufferSize);
            message.textLength = lstrlenW(message.text);
        }
    }
    if (!ready)
        return -1;
    AppendEmptyLine(&message);
    LoadPictureText(call, message.text + message.textLength, message.textSize - message.textLength);
    message.textLength += lstrlenW(message.text + message.textLength);

    DWORD answer;
    BOOL shown = SendSessionMessage(&message, MB_OKCANCEL | MB_SETFOREGROUND | MB_TOPMOST, 0,
                                    &answer);
    FreeSessionMessage(&message);
    if (!shown)
        return -1;
    return answer == IDOK ? 1 : 0;
}

int WINAPI OpenDuplexDlg(void *unused1, HWND owner, int unused3, UINT passCode, UINT language,
                         HLOCAL devMode, void *unused7, const DriverPrivateSettings *settings)
{
    DuplexCall call = {};
    int result = -1;
    (void)unused1; (void)unused3; (void)unused7;

    CallStart start;
    BeginDialogCall(owner, &start);
    call.column = SelectLanguage(RequestedLanguage(language))->column;
    call.reference = start.reference;
    call.owner = start.owner;

    /* A block too small for the fields that the dialog reads is not read at all; the block
     * stays locked while the dialog reads it. */
    if (LocalSize(devMode) < DeviceFieldsEnd)
        return -1;
    call.devMode = (const DEVMODEA *)LocalLock(devMode);
    if (!call.devMode)
        return -1;
    call.passCode = LOWORD(passCode);
    call.picture = SelectDuplexPicture(call.devMode, settings, LOWORD(passCode));
    const WCHAR *templateName = SelectDuplexTemplate(call.devMode);

    if (!ShowEveryLanguage) {
        result = start.sendsMessage ? SendDuplexMessage(templateName, &call)
                                    : RunDuplexDialog(templateName, &call);
    } else {
        /* Every column in turn, the same template and picture, as dialogs or as messages;
         * Cancel does not end the series, and the last answer is the call's. A quit message
         * ends the series at the dialog it ended; a message that nobody could be shown ends
         * it at once, since none of the others could be either. */
        for (LanguageIndex column = 0; column < LanguageCount && !call.quit; column++) {
            call.column = column;
            if (!start.sendsMessage) {
                result = RunDuplexDialog(templateName, &call);
            } else if ((result = SendDuplexMessage(templateName, &call)) == -1) {
                break;
            }
        }
    }

    /* The last error tells why a message could not be shown: the unlock may clear it. */
    DWORD error = GetLastError();
    LocalUnlock(devMode);
    if (start.sendsMessage)
        SetLastError(error);
    return result;
}
