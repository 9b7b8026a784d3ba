/*
 * The foundations that every dialog of the library stands on: the settings store (settings.cpp)
 * and the start of a call here, which reads the settings, tells whether anyone can see a
 * dialog, and chooses the window a dialog stands over and its owner; and the words of a dialog
 * template, for the message that takes a dialog's place where nobody sees it. Nothing here
 * knows of any particular dialog, picture or language.
 */
#include "base/call.h"
#include "base/module.h"
#include "base/settings.h"

static HWND ChooseDialogReference(HWND fallback)
{
    HWND reference = GetActiveWindow();
    if (!reference)
        reference = fallback;
    /* A handle that is no window would make the dialog fail to open at all (and a modal
     * dialog's 0 reads as Cancel): open it unowned instead. */
    if (reference && !IsWindow(reference))
        reference = NULL;
    return reference;
}

static HWND DialogOwnerFor(HWND reference)
{
    /* An owner is sent messages that the dialog manager waits for (a modal dialog disables it),
     * and on Windows a window owned across threads joins the two threads' input: a window of
     * another thread, or process, whose thread is busy or waits for this one would hold the
     * call, for ever in the second case. Such a window is only stood over. Its thread is read
     * from the window system, without a message. */
    if (reference && GetWindowThreadProcessId(reference, NULL) != GetCurrentThreadId())
        return NULL;
    return reference;
}

void BeginDialogCall(HWND fallback, CallStart *start)
{
    LoadSettingsOnce();
    start->sendsMessage = CallerHasNoVisibleDesktop();
    start->reference = start->sendsMessage ? NULL : ChooseDialogReference(fallback);
    start->owner = DialogOwnerFor(start->reference);
}

/* ---- The words of a template ---- */

enum { StaticClassAtom = 0x0082 };

/* A template's words, as far as the resource goes. Every step checks the end. */
typedef struct TemplateCursor {
    const WORD *at;
    const WORD *end;
} TemplateCursor;

/* Moves on by `words` words; FALSE, at the end, when the template has fewer left. */
static BOOL Skip(TemplateCursor *cursor, SIZE_T words)
{
    BOOL within = (SIZE_T)(cursor->end - cursor->at) >= words;
    cursor->at = within ? cursor->at + words : cursor->end;
    return within;
}

/* A name or ordinal field: none (0), an ordinal (0xFFFF then the number) or a string. Returns
 * the string, or null for none or an ordinal; *ordinal receives the ordinal, else 0. */
static const WCHAR *ReadNameOrOrdinal(TemplateCursor *cursor, WORD *ordinal)
{
    *ordinal = 0;
    if (cursor->at >= cursor->end)
        return NULL;
    if (*cursor->at == 0xFFFF) {
        if (cursor->end - cursor->at >= 2)
            *ordinal = cursor->at[1];
        Skip(cursor, 2);
        return NULL;
    }
    const WCHAR *text = (const WCHAR *)cursor->at;
    while (cursor->at < cursor->end && *cursor->at)
        cursor->at++;
    if (cursor->at >= cursor->end)
        return NULL;   /* no terminating null: not read */
    cursor->at++;
    return text;
}

/* Items start on a DWORD boundary of the template. */
static void AlignToDword(TemplateCursor *cursor, const WORD *start)
{
    Skip(cursor, (SIZE_T)(cursor->at - start) % 2);
}

/* Reads the header of a DLGTEMPLATE (every template of the library is a classic DIALOG, none a
 * DLGTEMPLATEEX): copies the caption and returns the number of items, with the cursor on the
 * first. */
static WORD ReadTemplateHeader(TemplateCursor *cursor, SessionMessage *message)
{
    const WORD *start = cursor->at;
    /* The fixed part, 9 words: style, extended style, the number of items, position and size. */
    if (cursor->end - cursor->at < 9)
        return 0;
    DWORD style = *(const DWORD *)(const void *)cursor->at;
    WORD items = cursor->at[4], ordinal;
    Skip(cursor, 9);
    ReadNameOrOrdinal(cursor, &ordinal);   /* the menu */
    ReadNameOrOrdinal(cursor, &ordinal);   /* the class */
    const WCHAR *caption = ReadNameOrOrdinal(cursor, &ordinal);
    int length = 0;
    for (; caption && length < message->titleSize - 1 && caption[length]; length++)
        message->title[length] = caption[length];
    message->title[length] = 0;
    if (style & DS_SETFONT) {   /* DS_SHELLFONT includes it */
        Skip(cursor, 1);   /* the point size, then the face */
        ReadNameOrOrdinal(cursor, &ordinal);
    }
    AlignToDword(cursor, start);
    return items;
}

/* Appends the text of each static control of the template to the message, one line each. */
static void ReadTemplateItems(TemplateCursor *cursor, const WORD *start, WORD items,
                              SessionMessage *message)
{
    for (WORD item = 0; item < items && cursor->at < cursor->end; item++) {
        WORD classAtom, ordinal;
        /* DLGITEMTEMPLATE, 9 words: style, extended style, position and size, id. */
        if (!Skip(cursor, 9))
            return;
        const WCHAR *className = ReadNameOrOrdinal(cursor, &classAtom);
        const WCHAR *text = ReadNameOrOrdinal(cursor, &ordinal);
        if (!className && classAtom == StaticClassAtom && text && *text) {
            if (message->textLength > 0)
                AppendMessageText(message, L"\n", 1);
            AppendMessageText(message, text, -1);
        }
        if (cursor->at >= cursor->end)
            return;
        /* The creation data's size in bytes, then the data, to the next word. */
        WORD extraBytes = *cursor->at;
        Skip(cursor, 1 + (extraBytes + 1) / 2);
        AlignToDword(cursor, start);
    }
}

BOOL ReadTemplateWords(const WCHAR *name, int titleSpare, int textSpare,
                       SessionMessage *message)
{
    message->title = message->text = NULL;
    HRSRC found = FindResourceW(ModuleInstance, name, (LPCWSTR)RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(ModuleInstance, found) : NULL;
    const WORD *start = loaded ? (const WORD *)LockResource(loaded) : NULL;
    if (!start)
        return FALSE;
    DWORD size = SizeofResource(ModuleInstance, found);
    /* Every text of the template is a part of it, in characters of the same size. */
    int characters = (int)(size / sizeof(WCHAR)) + 1;
    if (!AllocateSessionMessage(message, characters + titleSpare, characters + textSpare))
        return FALSE;
    TemplateCursor cursor = {start, start + size / sizeof(WORD)};
    WORD items = ReadTemplateHeader(&cursor, message);
    ReadTemplateItems(&cursor, start, items, message);
    return TRUE;
}
