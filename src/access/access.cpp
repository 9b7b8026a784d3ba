/*
 * For people who read the dialogs with the keyboard, a screen reader or high contrast: the
 * copy of a dialog on Ctrl+C (as the platform's message box gives one, for a support request),
 * and the colour of the library's grey surfaces under a high-contrast scheme.
 */
#include "access/access.h"

#include "base/kept.h"

BOOL HighContrastOn(void)
{
    HIGHCONTRASTW contrast;
    contrast.cbSize = sizeof(contrast);
    contrast.dwFlags = 0;
    contrast.lpszDefaultScheme = NULL;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

HBRUSH LightGreyBrush(void)
{
    return HighContrastOn() ? GetSysColorBrush(COLOR_3DFACE)
                            : (HBRUSH)GetStockObject(LTGRAY_BRUSH);
}

/* ---- The copy ---- */

static const WCHAR CopyRule[] = L"---------------------------\r\n";
static const WCHAR ButtonGap[] = L"   ";

/* Whether the control, whose class is named, is a button other than a group box: one the user
 * presses, which has the focus in turn. */
static BOOL IsPressButton(HWND control, const WCHAR *className)
{
    return lstrcmpiW(className, L"Button") == 0 &&
           ((LONG)GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) != BS_GROUPBOX;
}

/* What part of the copy a control gives. */
enum { CopyNothing, CopyStatic, CopyButton };

static int CopyPart(HWND control)
{
    WCHAR className[16];
    if (!IsWindowVisible(control) || !GetClassNameW(control, className, 16))
        return CopyNothing;
    if (lstrcmpiW(className, L"Static") == 0)
        return CopyStatic;
    /* A group box gives nothing, nor does the picture: what it shows is told by its
     * accessible name. */
    return IsPressButton(control, className) ? CopyButton : CopyNothing;
}

/* The copy while it is composed: `text` is null while its length is only counted. Nothing is
 * written at or past `capacity`, so that a text that grew between the count and the copy (set
 * by another thread meanwhile) is cut there rather than written past the block. */
typedef struct CopyBuffer {
    WCHAR *text;
    size_t length;
    size_t capacity;
} CopyBuffer;

static void Put(CopyBuffer *copy, WCHAR c)
{
    if (copy->text && copy->length < copy->capacity)
        copy->text[copy->length] = c;
    copy->length++;
}

/* Appends `count` characters of `text` (all of it when `count` is negative); line feeds become
 * the clipboard's line ends. */
static void Append(CopyBuffer *copy, const WCHAR *text, int count)
{
    for (int i = 0; (count < 0 || i < count) && text[i]; i++) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r'))
            Put(copy, L'\r');
        Put(copy, text[i]);
    }
}

/* Appends the window's whole text, however long (a caller's caption may be). */
static void AppendWindowText(CopyBuffer *copy, HWND window)
{
    int size = GetWindowTextLengthW(window) + 1;
    WCHAR *text = (WCHAR *)GlobalAlloc(GMEM_FIXED, (SIZE_T)size * sizeof(WCHAR));
    if (!text)
        return;
    int count = GetWindowTextW(window, text, size);
    /* Several texts end in line feeds, which would only widen the copy's layout. */
    while (count > 0 && (text[count - 1] == L'\n' || text[count - 1] == L'\r'))
        count--;
    Append(copy, text, count);
    GlobalFree(text);
}

/* The whole copy, or its length when copy->text is null. */
static void ComposeCopy(HWND dialog, CopyBuffer *copy)
{
    Append(copy, CopyRule, -1);
    AppendWindowText(copy, dialog);
    Append(copy, L"\r\n", -1);
    Append(copy, CopyRule, -1);
    /* Texts that a template splits over separate controls are separate paragraphs: an empty
     * line between them, as between the steps within one text. */
    BOOL firstText = TRUE;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (CopyPart(child) != CopyStatic || GetWindowTextLengthW(child) == 0)
            continue;
        if (!firstText)
            Append(copy, L"\r\n\r\n", -1);
        AppendWindowText(copy, child);
        firstText = FALSE;
    }
    Append(copy, L"\r\n", -1);
    Append(copy, CopyRule, -1);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (CopyPart(child) != CopyButton)
            continue;
        AppendWindowText(copy, child);
        Append(copy, ButtonGap, -1);
    }
    Append(copy, L"\r\n", -1);
    Append(copy, CopyRule, -1);
}

BOOL CopyDialogToClipboard(HWND dialog)
{
    CopyBuffer counted = {NULL, 0, 0};
    ComposeCopy(dialog, &counted);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (counted.length + 1) * sizeof(WCHAR));
    if (!block)
        return FALSE;
    CopyBuffer copy = {(WCHAR *)GlobalLock(block), 0, counted.length};
    if (!copy.text) {
        GlobalFree(block);
        return FALSE;
    }
    ComposeCopy(dialog, &copy);
    copy.text[copy.length < copy.capacity ? copy.length : copy.capacity] = 0;
    GlobalUnlock(block);
    if (!OpenClipboard(dialog)) {
        GlobalFree(block);
        return FALSE;
    }
    EmptyClipboard();
    /* Once the clipboard has the block it is the clipboard's. */
    BOOL copied = SetClipboardData(CF_UNICODETEXT, block) != NULL;
    if (!copied)
        GlobalFree(block);
    CloseClipboard();
    return copied;
}

/* ---- The copy keys ----
 *
 * The platform's message box turns Ctrl+C into WM_COPY to itself. A key goes to the focused
 * control, and in the library's dialogs only the buttons take the focus: each button turns the
 * copy keys into WM_COPY to its dialog. (A message filter over the modal loop would do the
 * same, but it runs for every message the loop takes, at three round trips to the server each
 * under Wine.)
 *
 * A button's own procedure is kept in the library's table of its windows, not in the button's
 * user data, which belongs to the owner of its class and which any program may write: what the
 * subclass calls comes from nowhere else. A button that finds the table full goes without the
 * copy keys. */

static BOOL IsCopyKey(WPARAM key)
{
    return (key == 'C' || key == VK_INSERT) && GetKeyState(VK_CONTROL) < 0 &&
           GetKeyState(VK_MENU) >= 0 && GetKeyState(VK_SHIFT) >= 0;
}

static LRESULT CALLBACK CopyKeyButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN && IsCopyKey(wParam)) {
        SendMessageW(GetParent(button), WM_COPY, 0, 0);
        return 0;
    }
    /* A window that the table does not know got this procedure from someone else's hand. */
    WNDPROC buttonProc = (WNDPROC)KeptForWindow(button);
    if (message == WM_NCDESTROY)
        ForgetWindow(button);
    if (!buttonProc)
        return DefWindowProcW(button, message, wParam, lParam);
    return CallWindowProcW(buttonProc, button, message, wParam, lParam);
}

void CopyOnCopyKeys(HWND control)
{
    WCHAR className[16];
    if (!GetClassNameW(control, className, 16) || !IsPressButton(control, className))
        return;
    WNDPROC buttonProc = (WNDPROC)GetWindowLongPtrW(control, GWLP_WNDPROC);
    if (buttonProc != CopyKeyButtonProc && KeepForWindow(control, (LONG_PTR)buttonProc))
        SetWindowLongPtrW(control, GWLP_WNDPROC, (LONG_PTR)CopyKeyButtonProc);
}
