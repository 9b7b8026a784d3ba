/*
 * For people who read the dialogs with the keyboard, a screen reader or high contrast: the
 * copy of a dialog on Ctrl+C (as the platform's message box gives one, for a support request),
 * and the colour of the library's grey surfaces under a high-contrast scheme.
 */
#include "access.h"

#include "settings.h"

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

/* What part of the copy a control gives. */
enum { CopyNothing, CopyText, CopyButton };

static int CopyPart(HWND control)
{
    WCHAR className[16];
    if (!IsWindowVisible(control) || !GetClassNameW(control, className, 16))
        return CopyNothing;
    if (lstrcmpiW(className, L"Static") == 0)
        return CopyText;
    if (lstrcmpiW(className, L"Button") == 0)
        return (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX ? CopyNothing
                                                                                 : CopyButton;
    return CopyNothing;   /* the picture: what it shows is told by its accessible name */
}

/* Appends `count` characters of `text` (all of it when `count` is negative) to the copy, or
 * only counts them when `copy` is null; line feeds become the clipboard's line ends. Returns
 * the new length. */
static size_t Append(WCHAR *copy, size_t length, const WCHAR *text, int count)
{
    for (int i = 0; (count < 0 || i < count) && text[i]; i++) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) {
            if (copy)
                copy[length] = L'\r';
            length++;
        }
        if (copy)
            copy[length] = text[i];
        length++;
    }
    return length;
}

/* The longest text of any dialog of the library has 660 characters. */
enum { CopyTextSize = 1024 };

static size_t AppendWindowText(WCHAR *copy, size_t length, HWND window)
{
    WCHAR text[CopyTextSize];
    int count = GetWindowTextW(window, text, CopyTextSize);
    /* Several texts end in line feeds, which would only widen the copy's layout. */
    while (count > 0 && (text[count - 1] == L'\n' || text[count - 1] == L'\r'))
        count--;
    return Append(copy, length, text, count);
}

/* The whole copy, or its length when `copy` is null. */
static size_t ComposeCopy(HWND dialog, WCHAR *copy)
{
    size_t length = Append(copy, 0, CopyRule, -1);
    length = AppendWindowText(copy, length, dialog);
    length = Append(copy, length, L"\r\n", -1);
    length = Append(copy, length, CopyRule, -1);
    BOOL firstText = TRUE;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (CopyPart(child) != CopyText || GetWindowTextLengthW(child) == 0)
            continue;
        if (!firstText)
            length = Append(copy, length, L"\r\n", -1);
        length = AppendWindowText(copy, length, child);
        firstText = FALSE;
    }
    length = Append(copy, length, L"\r\n", -1);
    length = Append(copy, length, CopyRule, -1);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (CopyPart(child) != CopyButton)
            continue;
        length = AppendWindowText(copy, length, child);
        length = Append(copy, length, ButtonGap, -1);
    }
    length = Append(copy, length, L"\r\n", -1);
    length = Append(copy, length, CopyRule, -1);
    if (copy)
        copy[length] = 0;
    return length;
}

BOOL CopyDialogToClipboard(HWND dialog)
{
    size_t length = ComposeCopy(dialog, NULL);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (length + 1) * sizeof(WCHAR));
    if (!block)
        return FALSE;
    WCHAR *copy = (WCHAR *)GlobalLock(block);
    if (!copy) {
        GlobalFree(block);
        return FALSE;
    }
    ComposeCopy(dialog, copy);
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

/* The dialog of the library that a message is for: the top-level window of its target, when
 * that is a dialog that this copy of the library made. */
static HWND LibraryDialogOf(HWND target)
{
    HWND dialog = target ? GetAncestor(target, GA_ROOT) : NULL;
    if (!dialog || (HINSTANCE)GetWindowLongPtrW(dialog, GWLP_HINSTANCE) != ModuleInstance)
        return NULL;
    return GetClassWord(dialog, GCW_ATOM) == (WORD)(ULONG_PTR)WC_DIALOG ? dialog : NULL;
}

BOOL CopyOnCopyKey(const MSG *msg)
{
    if (msg->message != WM_KEYDOWN || (msg->wParam != 'C' && msg->wParam != VK_INSERT))
        return FALSE;
    if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0 || GetKeyState(VK_SHIFT) < 0)
        return FALSE;
    HWND dialog = LibraryDialogOf(msg->hwnd);
    if (!dialog)
        return FALSE;
    CopyDialogToClipboard(dialog);
    return TRUE;
}

static LRESULT CALLBACK CopyKeyFilter(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_DIALOGBOX && CopyOnCopyKey((const MSG *)lParam))
        return TRUE;
    return CallNextHookEx(NULL, code, wParam, lParam);
}

HHOOK BeginCopyKeys(void)
{
    return SetWindowsHookExW(WH_MSGFILTER, CopyKeyFilter, NULL, GetCurrentThreadId());
}

void EndCopyKeys(HHOOK filter)
{
    if (filter)
        UnhookWindowsHookEx(filter);
}
