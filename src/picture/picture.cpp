/*
 * The picture control. Two window classes, ZK7730BMPCLASS for the manual duplex dialogs and
 * OvManualDupClass for the manual-feed slot dialogs, share one message handler: a control shows
 * one bitmap of the library's resources, owns it until it is destroyed, and paints it centred at
 * its own size or stretched over itself.
 *
 * Each class exists twice, with one procedure. A control loads the bitmap that its thread names
 * (SetThreadPictureName) when it is created. The application-global class is registered by a
 * caller, from any thread, before it opens a dialog of its own holding such a control. The
 * class local to this module, of the same name, is registered by the library's first dialog;
 * the dialog manager prefers it for the library's own dialogs, and those dialogs then hand
 * their picture to it themselves (ShowControlPicture). So a second copy of the library in the
 * process (another folder, another version) shows its own pictures through its own procedure,
 * whichever copy holds the global names, and goes on when the other copy is unloaded. The
 * library unregisters what it registered when it is unloaded.
 */
#include "picture/picture.h"

#include "access/access.h"
#include "base/module.h"
#include "dxdlg.h"

/* The control's message that ShowControlPicture sends: lParam is the name. */
enum { PictureCtlShowName = WM_USER + 0x70 };

/* Window extra bytes, which only the control writes: the name buffer its picture was loaded
 * from, compared by address only; and the bitmap it loaded and owns. The user-data slot, where
 * other modules read a control's bitmap, shows the same handle, but a host may write its own
 * object there, which is the host's. */
enum { LoadedNameOffset = 0, OwnBitmapOffset = sizeof(LONG_PTR),
       PictureExtraBytes = 2 * sizeof(LONG_PTR) };

/* The thread-local slot that holds each thread's picture name. A control reads the name while
 * the dialog manager creates it, before its dialog's procedure sees anything of the call, so
 * the name cannot travel with the dialog's creation parameter; it travels with the thread that
 * creates the dialog. The slot is taken on first use, not by the entry point. */
static volatile LONG NameSlot = (LONG)TLS_OUT_OF_INDEXES;

static DWORD PictureNameSlot(void)
{
    DWORD slot = (DWORD)NameSlot;
    if (slot != TLS_OUT_OF_INDEXES)
        return slot;
    slot = TlsAlloc();
    if (slot == TLS_OUT_OF_INDEXES)
        return slot;
    /* Two threads may each have taken a slot: the first one stored serves, the other goes back. */
    LONG first = InterlockedCompareExchange(&NameSlot, (LONG)slot, (LONG)TLS_OUT_OF_INDEXES);
    if (first != (LONG)TLS_OUT_OF_INDEXES) {
        TlsFree(slot);
        slot = (DWORD)first;
    }
    return slot;
}

void SetThreadPictureName(const char *name)
{
    DWORD slot = PictureNameSlot();
    /* No slot left in the process: the controls show no picture. */
    if (slot != TLS_OUT_OF_INDEXES)
        TlsSetValue(slot, (void *)name);
}

static const char *ThreadPictureName(void)
{
    DWORD slot = (DWORD)NameSlot;
    return slot == TLS_OUT_OF_INDEXES ? NULL : (const char *)TlsGetValue(slot);
}

/* ---- Registration ----
 *
 * The classes follow Windows' rules, which Wine's user32 tests and ReactOS's apitests, both
 * passing on Windows, show; where Wine is more lenient the code does not rely on it:
 * - Windows refuses a global class of a name for which the same module holds a local class, and
 *   takes a local class after the same module's global one; Wine takes both orders. So the
 *   library's own class steps aside while the global one is registered (RegisterPictureClass).
 * - Windows refuses a local class of a name that another module holds globally; Wine 8 takes
 *   it. The library's dialogs then get a window of that module's class, which is made without
 *   its procedure (WatchPictureCreation), since that may refuse the library's windows, and
 *   which a control of the library's own class replaces (ShowControlPicture).
 * - Windows finds with GetClassInfoExW and a null instance only the system's and the global
 *   classes; Wine 8 may find another module's local class. The null lookup only tells whether
 *   another module holds the global name, which Wine may answer "held" when it is not.
 * - A window created with a null instance takes the first class found, any module's local one
 *   included, on both: the local class has the same procedure as the global one.
 * - A name unregistered for an instance that has no local class of it removes the global class
 *   of the name, whoever registered it, on both: the library unregisters only a class that runs
 *   its procedure and is of the kind it looks for.
 * - Under Wine a class stands registered for the system before the process can look it up: one
 *   registration at a time (Registering), so that no thread is refused a class that another
 *   thread of the library is registering.
 */

/* The window procedure of both classes. */
static LRESULT CALLBACK PictureCtlWndProc(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam);

/* The two classes that templates name, then the library's own class under a name that no
 * template names and no other module registers: it stands in for a picture control that got
 * another module's class (ShowControlPicture). */
enum { BitmapCtlClass, ManualDupCtlClass, PictureClassCount, StandInClass = PictureClassCount,
       ClassNameCount };

static const WCHAR *const PictureClassNames[ClassNameCount] = {
    DXDLG_WIDE(BITMAPCTL_CLASS), DXDLG_WIDE(MANUALDUPCTL_CLASS), DXDLG_WIDE(PICTURE_STANDIN_CLASS)};

/* Whether this library's global class of each name was registered and not seen gone since. */
static BOOL GlobalClassRegistered[PictureClassCount];

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

/* Whether this module finds under the class's name a class that runs this library's procedure
 * and is global (or, with `global` false, local). A module finds its own local class of a name
 * before any global one; the style that GetClassInfoExW gives back holds CS_GLOBALCLASS. */
static BOOL FindsLibraryClass(int pictureClass, BOOL global)
{
    WNDCLASSEXW info;
    info.cbSize = sizeof(info);
    return GetClassInfoExW(ModuleInstance, PictureClassNames[pictureClass], &info) &&
           info.lpfnWndProc == PictureCtlWndProc &&
           ((info.style & CS_GLOBALCLASS) != 0) == global;
}

/* The library's own class of the name, local to this module: registered unless it stands,
 * whoever took it down meanwhile (a host may unregister a name with the library's instance). */
static void RegisterOwnClass(int pictureClass)
{
    if (!FindsLibraryClass(pictureClass, FALSE))
        RegisterPictureRecord(PictureClassNames[pictureClass], CS_VREDRAW | CS_HREDRAW);
}

/* Registers the global class for this library, unless another module holds the name. */
static BOOL RegisterGlobalClass(int pictureClass)
{
    WNDCLASSEXW held;
    held.cbSize = sizeof(held);
    if (GetClassInfoExW(NULL, PictureClassNames[pictureClass], &held))
        return FALSE;
    return RegisterPictureRecord(PictureClassNames[pictureClass],
                                 CS_VREDRAW | CS_HREDRAW | CS_GLOBALCLASS);
}

/* Registers the global class unless it stands registered by this library, from any thread. 1
 * when it stands afterwards, 0 when registration failed; a failed attempt is tried again by the
 * next call, and so is a class that someone unregistered meanwhile. The library's own class
 * steps aside meanwhile and comes back after; it cannot while a dialog of the library holding
 * it is open on another thread, and the record is then trusted as it stands. */
static int RegisterPictureClass(int pictureClass)
{
    AcquireSRWLockExclusive(&Registering);
    BOOL ownStood = FindsLibraryClass(pictureClass, FALSE);
    BOOL ownSteppedAside = ownStood && UnregisterClassW(PictureClassNames[pictureClass],
                                                        ModuleInstance);
    BOOL *registered = &GlobalClassRegistered[pictureClass];
    if (*registered && (!ownStood || ownSteppedAside))
        *registered = FindsLibraryClass(pictureClass, TRUE);
    if (!*registered)
        *registered = RegisterGlobalClass(pictureClass);
    if (ownSteppedAside)
        RegisterOwnClass(pictureClass);
    ReleaseSRWLockExclusive(&Registering);
    return *registered ? 1 : 0;
}

void RegisterOwnPictureClasses(void)
{
    AcquireSRWLockExclusive(&Registering);
    /* Refused, the dialogs fall back on the global class of the name, if there is one. */
    for (int i = 0; i < PictureClassCount; i++)
        RegisterOwnClass(i);
    ReleaseSRWLockExclusive(&Registering);
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
    for (int i = 0; i < ClassNameCount; i++) {
        /* The local class goes first; the module then finds its global one. */
        if (FindsLibraryClass(i, FALSE))
            UnregisterClassW(PictureClassNames[i], ModuleInstance);
        if (i < PictureClassCount && GlobalClassRegistered[i] && FindsLibraryClass(i, TRUE))
            UnregisterClassW(PictureClassNames[i], ModuleInstance);
        if (i < PictureClassCount)
            GlobalClassRegistered[i] = FALSE;
    }
    DWORD slot = (DWORD)InterlockedExchange(&NameSlot, (LONG)TLS_OUT_OF_INDEXES);
    if (slot != TLS_OUT_OF_INDEXES)
        TlsFree(slot);
}

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

/* The hook of WatchPictureCreation. A window is about to be created when its procedure has
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

HHOOK WatchPictureCreation(void)
{
    return SetWindowsHookExW(WH_CBT, PictureCreationHook, NULL, GetCurrentThreadId());
}

void EndPictureWatch(HHOOK watch)
{
    if (watch)
        UnhookWindowsHookEx(watch);
}

/* A control of the library's own class in the place of `control`, with its identifier, styles
 * and rectangle, among its siblings where it stood; `control` is destroyed. Null when none could
 * be made. */
static HWND StandInForControl(HWND control)
{
    AcquireSRWLockExclusive(&Registering);
    RegisterOwnClass(StandInClass);
    ReleaseSRWLockExclusive(&Registering);
    HWND dialog = GetParent(control);
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, (POINT *)&rect, 2);
    HWND standIn = CreateWindowExW(GetWindowLongW(control, GWL_EXSTYLE),
                                   PictureClassNames[StandInClass], L"",
                                   GetWindowLongW(control, GWL_STYLE), rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, dialog,
                                   (HMENU)(INT_PTR)GetDlgCtrlID(control), ModuleInstance, NULL);
    if (!standIn)
        return NULL;
    SetWindowPos(standIn, control, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(control);
    return standIn;
}

HWND ShowControlPicture(HWND control, const char *name, const WCHAR *description)
{
    WCHAR className[32];
    if (!GetClassNameW(control, className, 32) || !IsPictureClassName(className))
        return NULL;
    /* On Windows a module gets no local class of a name that another module holds globally,
     * and the dialog manager then gives the library's dialog that module's control: one of the
     * library's own class takes its place, so that the dialog shows its own picture through its
     * own procedure, whatever that module does or unloads meanwhile. */
    if (IsOtherPictureControl(control)) {
        HWND standIn = StandInForControl(control);
        if (!standIn)
            return NULL;
        control = standIn;
    }
    SendMessageW(control, PictureCtlShowName, 0, (LPARAM)name);
    /* What the control shows does not depend on its text: the text is what the accessibility
     * layer names it by. */
    if (description)
        SetWindowTextW(control, description);
    return control;
}

static void DeletePicture(HWND window);

static HBITMAP OwnBitmap(HWND window)
{
    return (HBITMAP)GetWindowLongPtrW(window, OwnBitmapOffset);
}

/* WM_CREATE: load the bitmap named in the buffer from the library's own resources, whatever
 * module the dialog belongs to. No name, or one that names no bitmap, leaves the control
 * without one. */
static void LoadPicture(HWND window, const char *nameBuffer)
{
    char name[DuplexBitmapNameSize] = "";
    if (nameBuffer)
        lstrcpynA(name, nameBuffer, DuplexBitmapNameSize); /* reads no further than the buffer */
    HBITMAP bitmap = name[0] ? LoadBitmapA(ModuleInstance, name) : NULL;
    SetWindowLongPtrW(window, OwnBitmapOffset, (LONG_PTR)bitmap);
    SetWindowLongPtrW(window, GWLP_USERDATA, (LONG_PTR)bitmap);
    SetWindowLongPtrW(window, LoadedNameOffset, (LONG_PTR)nameBuffer);
}

/* ShowControlPicture's message: the picture of that name from now on. The library's dialogs
 * hand over the name their thread gave the control when it was created, as a rule: that
 * bitmap is not loaded twice. */
static void ShowNamedPicture(HWND window, const char *nameBuffer)
{
    if (nameBuffer && (const char *)GetWindowLongPtrW(window, LoadedNameOffset) == nameBuffer)
        return;
    DeletePicture(window);
    LoadPicture(window, nameBuffer);
    InvalidateRect(window, NULL, TRUE);
}

/* WM_DESTROY: the control owns the bitmap it loaded, and nothing else that the user-data slot
 * may hold by now. */
static void DeletePicture(HWND window)
{
    HBITMAP bitmap = OwnBitmap(window);
    if (!bitmap)
        return;
    if ((HBITMAP)GetWindowLongPtrW(window, GWLP_USERDATA) == bitmap)
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    SetWindowLongPtrW(window, OwnBitmapOffset, 0);
    DeleteObject(bitmap);
}

static void FillBackground(HDC dc, const RECT *client, LONG style)
{
    if (style & PCS_GRAYBKGND) {
        FillRect(dc, client, LightGreyBrush());
    } else {
        HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
        FillRect(dc, client, brush);
        DeleteObject(brush);
    }
}

/* The dots per inch of the window: GetDpiForWindow's answer, which follows the window's own
 * awareness of the DPI (a window that the system scales for the process answers 96), else the
 * paint context's. GetDpiForWindow is looked up by name because USER32 has it only since
 * Windows 10 version 1607, and the library must load on systems without it. */
static int WindowDpi(HWND window, HDC dc)
{
    typedef UINT(WINAPI * GetDpiForWindowProc)(HWND);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    FARPROC found = user32 ? GetProcAddress(user32, "GetDpiForWindow") : NULL;
    UINT dpi = found ? ((GetDpiForWindowProc)(void (*)(void))found)(window) : 0;
    return dpi ? (int)dpi : GetDeviceCaps(dc, LOGPIXELSX);
}

/* Copies the picture centred at its size for the window's DPI (its own size at 96 DPI) when
 * the style asks for it and that size fits (equal sizes fit), dropping the remainder of odd
 * differences; otherwise stretches it over the whole client area, in each direction as
 * needed. The bitmaps are line drawings in a few colours, so the scaling takes each pixel of
 * the screen from one pixel of the picture, never a blend: at whole factors every pixel
 * becomes a square of pixels, and at 125 or 150 % some rows and columns are doubled. */
static void DrawPicture(HWND window, HDC dc, const RECT *client, HBITMAP bitmap, LONG style)
{
    BITMAP info;
    if (GetObjectA(bitmap, sizeof(info), &info) != sizeof(info))
        return;
    int width = client->right, height = client->bottom;
    int dpi = WindowDpi(window, dc);
    int pictureWidth = MulDiv(info.bmWidth, dpi, USER_DEFAULT_SCREEN_DPI);
    int pictureHeight = MulDiv(info.bmHeight, dpi, USER_DEFAULT_SCREEN_DPI);
    HDC memory = CreateCompatibleDC(dc);
    if (!memory)
        return;
    HGDIOBJ previous = SelectObject(memory, bitmap);
    SetStretchBltMode(memory, COLORONCOLOR);
    if ((style & PCS_CENTERIMAGE) && pictureWidth <= width && pictureHeight <= height) {
        int x = (width - pictureWidth) / 2, y = (height - pictureHeight) / 2;
        if (dpi == USER_DEFAULT_SCREEN_DPI) {
            BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        } else {
            /* Enlarging repeats pixels in every stretching mode but HALFTONE, which a paint
             * context does not start with. */
            StretchBlt(dc, x, y, pictureWidth, pictureHeight, memory, 0, 0, info.bmWidth,
                       info.bmHeight, SRCCOPY);
        }
    } else {
        StretchBlt(dc, 0, 0, width, height, memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
}

/* WM_PAINT: the background of the style, then the picture if the control holds one. */
static void PaintPicture(HWND window)
{
    LONG style = GetWindowLongA(window, GWL_STYLE);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    FillBackground(dc, &client, style);
    HBITMAP bitmap = OwnBitmap(window);
    if (bitmap)
        DrawPicture(window, dc, &client, bitmap, style);
    EndPaint(window, &paint);
}

static LRESULT CALLBACK PictureCtlWndProc(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        LoadPicture(window, ThreadPictureName());
        return 0;
    case WM_DESTROY:
        DeletePicture(window);
        return 0;
    case WM_PAINT:
        PaintPicture(window);
        return 0;
    case PictureCtlShowName:
        ShowNamedPicture(window, (const char *)lParam);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
