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
 * their picture to it themselves (ShowDialogPicture). So a second copy of the library in the
 * process (another folder, another version) shows its own pictures through its own procedure,
 * whichever copy holds the global names, and goes on when the other copy is unloaded. The
 * library unregisters what it registered when it is unloaded.
 */
#include "picture.h"

#include "../entry/access.h"
#include "../entry/settings.h"
#include "dxdlg.h"

HINSTANCE BitmapCtlClassInstance;
HINSTANCE ManualDupCtlClassInstance;

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

static LRESULT CALLBACK BitmapCtlWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return PictureCtlProc(window, message, wParam, lParam, ThreadPictureName());
}

static LRESULT CALLBACK ManualDupCtlWndProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam)
{
    return PictureCtlProc(window, message, wParam, lParam, ThreadPictureName());
}

/* What differs between the two classes. */
typedef struct PictureClass {
    const WCHAR *name;
    WNDPROC windowProc;
    HINSTANCE *registeredInstance; /* null while this library has not registered the class */
} PictureClass;

enum { BitmapCtlClass, ManualDupCtlClass, PictureClassCount };

static const PictureClass PictureClasses[PictureClassCount] = {
    {DXDLG_WIDE(BITMAPCTL_CLASS), BitmapCtlWndProc, &BitmapCtlClassInstance},
    {DXDLG_WIDE(MANUALDUPCTL_CLASS), ManualDupCtlWndProc, &ManualDupCtlClassInstance},
};

/* One registration at a time in the process. Two threads that both found a class unregistered
 * would both call RegisterClassW, and the one refused could not tell whether the class it was
 * refused for is this library's: under Wine a class stands registered for the system before it
 * can be looked up in the process. */
static SRWLOCK Registering = SRWLOCK_INIT;

/* Registers a class of the picture control's record with the given style, procedure and
 * instance. The record is built in movable global memory; the system keeps its own copy. The
 * controls are Unicode windows, so that the description of the picture that their dialog gives
 * them as window text reaches the accessibility layer whatever the system's ANSI code page. */
static BOOL RegisterPictureRecord(const WCHAR *name, UINT style, WNDPROC windowProc,
                                  HINSTANCE instance)
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
    record->lpfnWndProc = windowProc;
    record->cbClsExtra = 0;
    record->cbWndExtra = 8;
    record->hInstance = instance;
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

/* Whether `instance` finds under the class's name a class that runs this library's procedure
 * and is global (or, with `global` false, local). A module finds its own local class of a name
 * before any global one. The style that GetClassInfoExW gives back holds CS_GLOBALCLASS. */
static BOOL FindsLibraryClass(HINSTANCE instance, const PictureClass *pictureClass, BOOL global)
{
    WNDCLASSEXW info;
    info.cbSize = sizeof(info);
    return GetClassInfoExW(instance, pictureClass->name, &info) &&
           info.lpfnWndProc == pictureClass->windowProc &&
           ((info.style & CS_GLOBALCLASS) != 0) == global;
}

/* The library's own class of the name, local to this module: registered unless it stands,
 * whoever took it down meanwhile (a host may unregister a name with the library's instance).
 * TRUE when it stands afterwards. */
static BOOL RegisterOwnClass(const PictureClass *pictureClass)
{
    return FindsLibraryClass(ModuleInstance, pictureClass, FALSE) ||
           RegisterPictureRecord(pictureClass->name, CS_VREDRAW | CS_HREDRAW,
                                 pictureClass->windowProc, ModuleInstance);
}

/* Registers the global class for this library. The instance is recorded only when the system
 * accepted the class, so that unloading unregisters exactly what the library registered. A
 * global class of the name that another module holds refuses it, as on Windows; Wine would
 * take a second one. */
static BOOL RegisterNewPictureClass(const PictureClass *pictureClass, HINSTANCE instance)
{
    WNDCLASSEXW held;
    held.cbSize = sizeof(held);
    if (GetClassInfoExW(NULL, pictureClass->name, &held))
        return FALSE;
    if (RegisterPictureRecord(pictureClass->name, CS_VREDRAW | CS_HREDRAW | CS_GLOBALCLASS,
                              pictureClass->windowProc, instance))
        *pictureClass->registeredInstance = instance;
    return *pictureClass->registeredInstance != NULL;
}

/* Registers the global class unless it stands registered by this library, from any thread. 1
 * when it stands afterwards, 0 when registration failed; a failed attempt is tried again by the
 * next call, and so is a class that someone unregistered meanwhile.
 *
 * Windows refuses a global class of a name for which the same module holds a local class, and
 * takes a local class after a global one (Wine takes both orders). So the library's own class,
 * registered by its first dialog, steps aside while the global one is looked for and
 * registered, and comes back after. It cannot while a dialog of the library holding it is
 * open on another thread: the record is then trusted as it stands. */
static int RegisterPictureClass(const PictureClass *pictureClass, HINSTANCE callerInstance)
{
    HINSTANCE instance = ModuleInstance ? ModuleInstance : callerInstance;
    AcquireSRWLockExclusive(&Registering);
    BOOL ownStood = ModuleInstance && FindsLibraryClass(ModuleInstance, pictureClass, FALSE);
    BOOL ownSteppedAside = ownStood && UnregisterClassW(pictureClass->name, ModuleInstance);
    HINSTANCE *record = pictureClass->registeredInstance;
    if (*record && (!ownStood || ownSteppedAside) && !FindsLibraryClass(*record, pictureClass, TRUE))
        *record = NULL;
    BOOL registered = *record != NULL || RegisterNewPictureClass(pictureClass, instance);
    if (ownSteppedAside)
        RegisterOwnClass(pictureClass);
    ReleaseSRWLockExclusive(&Registering);
    return registered ? 1 : 0;
}

void RegisterOwnPictureClasses(void)
{
    AcquireSRWLockExclusive(&Registering);
    /* The same procedure as the global class: under Wine a window created with a null instance
     * finds a local class of any module, and must behave as with the global one. Refused, the
     * dialogs fall back on the global class of the name, if there is one. */
    for (int i = 0; i < PictureClassCount; i++)
        RegisterOwnClass(&PictureClasses[i]);
    ReleaseSRWLockExclusive(&Registering);
}

int WINAPI FRegisterBitmapControl(HINSTANCE instance)
{
    return RegisterPictureClass(&PictureClasses[BitmapCtlClass], instance);
}

int WINAPI FRegisterBitmapControlMP(HINSTANCE instance)
{
    return RegisterPictureClass(&PictureClasses[ManualDupCtlClass], instance);
}

void ReleasePictureControls(void)
{
    for (int i = 0; i < PictureClassCount; i++) {
        const PictureClass *pictureClass = &PictureClasses[i];
        /* Only classes that run this module's procedure and are of the kind looked for: a name
         * unregistered for an instance that has no local class of it removes whatever global
         * class of the name the process holds (on Windows as under Wine), another module's
         * too. The local class goes first; the module then finds its global one. */
        if (FindsLibraryClass(ModuleInstance, pictureClass, FALSE))
            UnregisterClassW(pictureClass->name, ModuleInstance);
        HINSTANCE instance = *pictureClass->registeredInstance;
        if (!instance || !FindsLibraryClass(instance, pictureClass, TRUE) ||
            UnregisterClassW(pictureClass->name, instance))
            *pictureClass->registeredInstance = NULL;
    }
    DWORD slot = (DWORD)InterlockedExchange(&NameSlot, (LONG)TLS_OUT_OF_INDEXES);
    if (slot != TLS_OUT_OF_INDEXES)
        TlsFree(slot);
}

static BOOL IsPictureClassName(const WCHAR *name)
{
    for (int i = 0; i < PictureClassCount; i++) {
        if (lstrcmpiW(name, PictureClasses[i].name) == 0)
            return TRUE;
    }
    return FALSE;
}

void ShowDialogPicture(HWND dialog, const char *name, const WCHAR *description)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        WCHAR className[32];
        if (!GetClassNameW(child, className, 32) || !IsPictureClassName(className))
            continue;
        SendMessageW(child, PictureCtlShowName, 0, (LPARAM)name);
        /* What the control shows does not depend on its text: the text is what the
         * accessibility layer names it by. */
        if (description)
            SetWindowTextW(child, description);
    }
}

/* Window extra bytes: the name buffer the control's picture was loaded from, compared by
 * address only. */
enum { LoadedNameOffset = 0 };

static void DeletePicture(HWND window);

static HBITMAP HeldBitmap(HWND window)
{
    return (HBITMAP)GetWindowLongPtrA(window, GWLP_USERDATA);
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
    SetWindowLongPtrA(window, GWLP_USERDATA, (LONG_PTR)bitmap);
    SetWindowLongPtrA(window, LoadedNameOffset, (LONG_PTR)nameBuffer);
}

/* ShowDialogPicture's message: the picture of that name from now on. The library's dialogs
 * hand over the name their thread gave the control when it was created, as a rule: that
 * bitmap is not loaded twice. */
static void ShowNamedPicture(HWND window, const char *nameBuffer)
{
    if (nameBuffer && (const char *)GetWindowLongPtrA(window, LoadedNameOffset) == nameBuffer)
        return;
    DeletePicture(window);
    LoadPicture(window, nameBuffer);
    InvalidateRect(window, NULL, TRUE);
}

/* WM_DESTROY: the control owns its bitmap. */
static void DeletePicture(HWND window)
{
    HBITMAP bitmap = HeldBitmap(window);
    if (bitmap) {
        DeleteObject(bitmap);
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
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
    HBITMAP bitmap = HeldBitmap(window);
    if (bitmap)
        DrawPicture(window, dc, &client, bitmap, style);
    EndPaint(window, &paint);
}

LRESULT PictureCtlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       const char *nameBuffer)
{
    switch (message) {
    case WM_CREATE:
        LoadPicture(window, nameBuffer);
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
