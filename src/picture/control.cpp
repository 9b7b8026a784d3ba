/*
 * The picture control, which every picture class of the library runs (classes.cpp): a control
 * shows one bitmap of the library's resources, loaded when it is created from the name its
 * thread gives (SetThreadPictureName) or later from the one its dialog hands it
 * (ShowControlPicture), owns that bitmap until it is destroyed, and paints it centred at its
 * size for the window's DPI or stretched over itself.
 */
#include "picture/picture.h"
#include "picture/control.h"

#include "access/access.h"
#include "base/module.h"

/* The control's message that ShowControlPicture sends: lParam is the name. */
enum { PictureCtlShowName = WM_USER + 0x70 };

/* ---- The thread's picture name (picture.h) ---- */

/* The thread-local slot of the names, taken on first use, not by the entry point. */
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

void ReleasePictureNames(void)
{
    DWORD slot = (DWORD)InterlockedExchange(&NameSlot, (LONG)TLS_OUT_OF_INDEXES);
    if (slot != TLS_OUT_OF_INDEXES)
        TlsFree(slot);
}

/* ---- The bitmap ---- */

/* The window's extra bytes can be written by any program on the desktop: the control keeps its
 * bitmap there encoded with the process's own secret (EncodePointer) and its window handle, so
 * that a handle written from outside decodes to no object of this process, nor to another
 * control's bitmap, and the control never deletes or draws what it did not load. */
static void SetOwnBitmap(HWND window, HBITMAP bitmap)
{
    LONG_PTR kept = bitmap ? (LONG_PTR)EncodePointer((PVOID)((ULONG_PTR)bitmap ^ (ULONG_PTR)window)) : 0;
    SetWindowLongPtrW(window, OwnBitmapOffset, kept);
}

static HBITMAP OwnBitmap(HWND window)
{
    LONG_PTR kept = GetWindowLongPtrW(window, OwnBitmapOffset);
    return kept ? (HBITMAP)((ULONG_PTR)DecodePointer((PVOID)kept) ^ (ULONG_PTR)window) : NULL;
}

/* WM_CREATE: load the bitmap named in the buffer from the library's own resources, whatever
 * module the dialog belongs to. No name, or one that names no bitmap, leaves the control
 * without one. */
static void LoadPicture(HWND window, const char *nameBuffer)
{
    char name[DuplexBitmapNameSize] = "";
    /* Reads no further than the buffer. */
    for (int i = 0; nameBuffer && i < DuplexBitmapNameSize - 1 && nameBuffer[i]; i++)
        name[i] = nameBuffer[i];
    HBITMAP bitmap = name[0] ? LoadBitmapA(ModuleInstance, name) : NULL;
    SetOwnBitmap(window, bitmap);
    SetWindowLongPtrW(window, GWLP_USERDATA, (LONG_PTR)bitmap);
    SetWindowLongPtrW(window, LoadedNameOffset, (LONG_PTR)nameBuffer);
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
    SetOwnBitmap(window, NULL);
    DeleteObject(bitmap);
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

HWND ShowControlPicture(HWND control, const char *name, const WCHAR *description)
{
    control = LibraryPictureControl(control);
    if (!control)
        return NULL;
    SendMessageW(control, PictureCtlShowName, 0, (LPARAM)name);
    /* What the control shows does not depend on its text: the text is what the accessibility
     * layer names it by. */
    if (description)
        SetWindowTextW(control, description);
    return control;
}

/* ---- Painting ---- */

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

typedef UINT(WINAPI *DpiForWindowProc)(HWND);

/* GetDpiForWindow, or DpiForWindowMissing where USER32 lacks it; null until the first paint
 * looks it up. Controls that paint at once on several threads may each look it up: they find
 * and store the same. */
static PVOID volatile DpiForWindowFound = NULL;
#define DpiForWindowMissing ((PVOID)(INT_PTR)1)

/* The dots per inch of the window: GetDpiForWindow's answer, which follows the window's own
 * awareness of the DPI (a window that the system scales for the process answers 96), else the
 * paint context's. GetDpiForWindow is looked up by name, once, because USER32 has it only since
 * Windows 10 version 1607, and the library must load on systems without it. */
static int WindowDpi(HWND window, HDC dc)
{
    PVOID found = InterlockedCompareExchangePointer(&DpiForWindowFound, NULL, NULL);
    if (!found) {
        HMODULE user32 = GetModuleHandleA("user32.dll");
        FARPROC function = user32 ? GetProcAddress(user32, "GetDpiForWindow") : NULL;
        found = function ? (PVOID)(INT_PTR)function : DpiForWindowMissing;
        InterlockedExchangePointer(&DpiForWindowFound, found);
    }
    UINT dpi = found != DpiForWindowMissing ? ((DpiForWindowProc)(INT_PTR)found)(window) : 0;
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
    /* Rounded to the nearest pixel, as MulDiv rounds; the sizes are small and positive. */
    int pictureWidth = (info.bmWidth * dpi + USER_DEFAULT_SCREEN_DPI / 2) / USER_DEFAULT_SCREEN_DPI;
    int pictureHeight = (info.bmHeight * dpi + USER_DEFAULT_SCREEN_DPI / 2) / USER_DEFAULT_SCREEN_DPI;
    HDC memory = CreateCompatibleDC(dc);
    if (!memory)
        return;
    HGDIOBJ previous = SelectObject(memory, bitmap);
    SetStretchBltMode(memory, COLORONCOLOR);
    if ((style & PCS_CENTERIMAGE) && pictureWidth <= width && pictureHeight <= height) {
        int x = (width - pictureWidth) / 2, y = (height - pictureHeight) / 2;
        /* At its own size this copies the picture as it is; enlarging repeats pixels in every
         * stretching mode but HALFTONE, which a paint context does not start with. */
        StretchBlt(dc, x, y, pictureWidth, pictureHeight, memory, 0, 0, info.bmWidth,
                   info.bmHeight, SRCCOPY);
    } else {
        StretchBlt(dc, 0, 0, width, height, memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
}

/* WM_PAINT: the background of the style, then the picture if the control holds one. */
static void PaintPicture(HWND window)
{
    LONG style = (LONG)GetWindowLongPtrW(window, GWL_STYLE);
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

LRESULT CALLBACK PictureCtlWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
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
