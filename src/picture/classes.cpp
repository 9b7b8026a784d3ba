/*
 * The picture classes. Two names, ZK7730BMPCLASS for the manual duplex dialogs and
 * OvManualDupClass for the manual-feed slot dialogs, each registered twice with one procedure
 * (control.cpp). The application-global class is registered by a caller, from any thread,
 * before it opens a dialog of its own holding such a control. The class local to this module,
 * of the same name, is registered by the library's first dialog; the dialog manager prefers it
 * for the library's own dialogs, and those dialogs then hand their picture to it themselves
 * (ShowControlPicture). So a second copy of the library in the process (another folder,
 * another version) shows its own pictures through its own procedure, whichever copy holds the
 * global names, and goes on when the other copy is unloaded. A third class, the stand-in, takes
 * the place of a picture control that got another module's class. The library unregisters what
 * it registered when it is unloaded.
 *
 * The classes follow Windows' rules, which Wine's user32 tests and ReactOS's apitests, both
 * passing on Windows, show; where Wine is more lenient the code does not rely on it. Each rule
 * stands beside the code it shapes.
 */
#include "picture/picture.h"
#include "picture/control.h"

#include "base/module.h"
#include "dxdlg.h"

/* The two names that templates give picture controls. */
enum { BitmapCtlClass, ManualDupCtlClass, PictureClassCount };

static const WCHAR *const PictureClassNames[PictureClassCount] = {
    DXDLG_WIDE(BITMAPCTL_CLASS), DXDLG_WIDE(MANUALDUPCTL_CLASS)};

/* The stand-in's name: no template names it and no other module registers it. */
static const WCHAR StandInClassName[] = DXDLG_WIDE(PICTURE_STANDIN_CLASS);

/* Whether this library's global class of each name was registered and not seen gone since. */
static BOOL GlobalClassRegistered[PictureClassCount];

/* Under Wine a class stands registered for the system before the process can look it up: one
 * registration at a time, so that no thread is refused a class that another thread of the
 * library is registering. */
static SRWLOCK Registering = SRWLOCK_INIT;

/* Registers a class of the picture control's record with the given style. The record is built
 * in movable global memory; the system keeps its own copy. The controls are Unicode windows, so
 * that the description of the picture that their dialog gives them as window text reaches the
 * accessibility layer whatever the system's ANSI code page. The class's record is part of its
 * contract with other modules' dialogs: the control's own window extra bytes
 * (PictureExtraBytes), and the bitmap in the user-data slot (GWLP_USERDATA), where code that
 * knows the class reads a control's bitmap. */
static BOOL RegisterPictureRecord(const WCHAR *name, UINT style)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(WNDCLASSW));
    if (!block)
        return FALSE;
    WNDCLASSW *record = (WNDCLASSW *)GlobalLock(block);
    if (!record) {
        GlobalFree(block);
        return FALSE;
    }
    record->style = style;
    record->lpfnWndProc = PictureCtlWndProc;
    record->cbClsExtra = 0;
    record->cbWndExtra = PictureExtraBytes;
    record->hInstance = ModuleInstance;
    record->hIcon = NULL;
    record->hCursor = LoadCursorA(NULL, IDC_ARROW);
    record->hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    record->lpszMenuName = NULL;
    record->lpszClassName = name;
    BOOL registered = RegisterClassW(record) != 0;
    GlobalUnlock(block);
    GlobalFree(block);
    return registered;
}

/* Whether this module finds under the name a class that runs this library's procedure and is
 * global (or, with `global` false, local). A module finds its own local class of a name before
 * any global one; the style that GetClassInfoExW gives back holds CS_GLOBALCLASS. */
static BOOL FindsLibraryClass(const WCHAR *name, BOOL global)
{
    WNDCLASSEXW info;
    info.cbSize = sizeof(info);
    return GetClassInfoExW(ModuleInstance, name, &info) && info.lpfnWndProc == PictureCtlWndProc &&
           ((info.style & CS_GLOBALCLASS) != 0) == global;
}

/* The library's own class of the name, local to this module: registered unless it stands,
 * whoever took it down meanwhile (a host may unregister a name with the library's instance).
 * A window created with a null instance takes the first class found, any module's local one
 * included, on Windows as on Wine: the local class has the same procedure as the global one. */
static BOOL RegisterOwnClass(const WCHAR *name)
{
    return FindsLibraryClass(name, FALSE) || RegisterPictureRecord(name, CS_VREDRAW | CS_HREDRAW);
}

/* Unregisters the class of the name that runs this library's procedure and is local to this
 * module (`global` false) or global. A name unregistered for an instance that has no local
 * class of it removes the global class of the name, whoever registered it, on Windows as on
 * Wine: so only a class of the kind looked for, found first, is unregistered. */
static void UnregisterLibraryClass(const WCHAR *name, BOOL global)
{
    if (FindsLibraryClass(name, global))
        UnregisterClassW(name, ModuleInstance);
}

/* Registers the global class for this library, unless another module holds the name. Windows
 * finds with GetClassInfoExW and a null instance only the system's and the global classes;
 * Wine 8 may find another module's local class: so this lookup only tells whether another
 * module holds the global name, which Wine may answer "held" when it is not. */
static BOOL RegisterGlobalClass(const WCHAR *name)
{
    WNDCLASSEXW held;
    held.cbSize = sizeof(held);
    if (GetClassInfoExW(NULL, name, &held))
        return FALSE;
    return RegisterPictureRecord(name, CS_VREDRAW | CS_HREDRAW | CS_GLOBALCLASS);
}

/* Registers the global class unless it stands registered by this library, from any thread. 1
 * when it stands afterwards, 0 when registration failed; a failed attempt is tried again by the
 * next call, and so is a class that someone unregistered meanwhile.
 *
 * Windows refuses a global class of a name for which the same module holds a local class, and
 * takes a local class after the same module's global one; Wine takes both orders. So the
 * library's own class steps aside meanwhile and comes back after. It cannot while a dialog of
 * the library holding it is open on another thread; the module then finds its local class
 * first and cannot see whether the global one still stands, so the record is trusted as it
 * stands: it is checked again only when the own class did not stand or stepped aside. */
static int RegisterPictureClass(int pictureClass)
{
    const WCHAR *name = PictureClassNames[pictureClass];
    AcquireSRWLockExclusive(&Registering);
    BOOL ownStood = FindsLibraryClass(name, FALSE);
    BOOL ownSteppedAside = ownStood && UnregisterClassW(name, ModuleInstance);
    BOOL *registered = &GlobalClassRegistered[pictureClass];
    if (*registered && (!ownStood || ownSteppedAside))
        *registered = FindsLibraryClass(name, TRUE);
    if (!*registered)
        *registered = RegisterGlobalClass(name);
    if (ownSteppedAside)
        RegisterOwnClass(name);
    ReleaseSRWLockExclusive(&Registering);
    return *registered ? 1 : 0;
}

static LRESULT CALLBACK PictureCreationHook(int code, WPARAM wParam, LPARAM lParam);

HHOOK ReadyPictureClasses(void)
{
    BOOL stand = TRUE;
    AcquireSRWLockExclusive(&Registering);
    /* Refused, the dialogs fall back on the global class of the name, if there is one. */
    for (int i = 0; i < PictureClassCount; i++)
        stand = RegisterOwnClass(PictureClassNames[i]) && stand;
    ReleaseSRWLockExclusive(&Registering);
    return stand ? NULL : SetWindowsHookExW(WH_CBT, PictureCreationHook, NULL, GetCurrentThreadId());
}

/* The caller's instance plays no part: the classes are the library's, whoever asks. */
int WINAPI FRegisterBitmapControl(HINSTANCE instance)
{
    (void)instance;
    return RegisterPictureClass(BitmapCtlClass);
}

int WINAPI FRegisterBitmapControlMP(HINSTANCE instance)
{
    (void)instance;
    return RegisterPictureClass(ManualDupCtlClass);
}

void ReleasePictureControls(void)
{
    for (int i = 0; i < PictureClassCount; i++) {
        /* The local class goes first; the module then finds its global one. */
        UnregisterLibraryClass(PictureClassNames[i], FALSE);
        if (GlobalClassRegistered[i])
            UnregisterLibraryClass(PictureClassNames[i], TRUE);
        GlobalClassRegistered[i] = FALSE;
    }
    UnregisterLibraryClass(StandInClassName, FALSE);
    ReleasePictureNames();
}

/* ---- Another module's class ----
 *
 * Windows refuses a local class of a name that another module holds globally; Wine 8 takes it.
 * The dialog manager then gives the library's dialog a window of that module's class, which is
 * made without its procedure (ReadyPictureClasses' watch), since that may refuse the library's
 * windows, and which a control of the library's own class replaces (LibraryPictureControl). */

static BOOL IsPictureClassName(const WCHAR *name)
{
    for (int i = 0; i < PictureClassCount; i++) {
        if (lstrcmpiW(name, PictureClassNames[i]) == 0)
            return TRUE;
    }
    return FALSE;
}

/* Whether the window is a picture control (a window of either name) whose procedure is not
 * this library's: another module's class, or another copy's. */
static BOOL IsOtherPictureControl(HWND window)
{
    WCHAR className[32];
    return GetClassNameW(window, className, 32) && IsPictureClassName(className) &&
           (WNDPROC)GetWindowLongPtrW(window, GWLP_WNDPROC) != PictureCtlWndProc;
}

/* The watch of ReadyPictureClasses. A window is about to be created when its procedure has
 * seen nothing yet: a picture control of another procedure made for this module's dialog gets
 * the default procedure instead, which lets it be made and shows nothing until one of the
 * library's own takes its place. */
static LRESULT CALLBACK PictureCreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        HWND window = (HWND)wParam;
        const CBT_CREATEWNDW *creation = (const CBT_CREATEWNDW *)lParam;
        if (creation->lpcs->hInstance == ModuleInstance && IsOtherPictureControl(window))
            SetWindowLongPtrW(window, GWLP_WNDPROC, (LONG_PTR)DefWindowProcW);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

void EndPictureWatch(HHOOK watch)
{
    if (watch)
        UnhookWindowsHookEx(watch);
}

/* A control of the stand-in class in the place of `control`, with its identifier, styles and
 * rectangle, among its siblings where it stood; `control` is destroyed. Null when none could
 * be made. */
static HWND StandInForControl(HWND control)
{
    AcquireSRWLockExclusive(&Registering);
    RegisterOwnClass(StandInClassName);
    ReleaseSRWLockExclusive(&Registering);
    HWND dialog = GetParent(control);
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, (POINT *)&rect, 2);
    HWND standIn = CreateWindowExW((DWORD)GetWindowLongPtrW(control, GWL_EXSTYLE), StandInClassName, L"",
                                   (DWORD)GetWindowLongPtrW(control, GWL_STYLE), rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, dialog,
                                   (HMENU)(INT_PTR)GetDlgCtrlID(control), ModuleInstance, NULL);
    if (!standIn)
        return NULL;
    SetWindowPos(standIn, control, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(control);
    return standIn;
}

/* The dialog shows its own picture through its own procedure, whatever the module that holds
 * the names does or unloads meanwhile. */
HWND LibraryPictureControl(HWND control)
{
    WCHAR className[32];
    if (!GetClassNameW(control, className, 32) || !IsPictureClassName(className))
        return NULL;
    return IsOtherPictureControl(control) ? StandInForControl(control) : control;
}
