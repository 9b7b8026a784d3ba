#include "desktop.h"

#include <objidl.h>
#include <oleacc.h>
#include <gdiplus.h>

#include <cstring>

namespace dxdesk {

static BOOL CALLBACK FindDialogProc(HWND window, LPARAM found)
{
    char name[16];
    if (IsWindowVisible(window) && GetClassNameA(window, name, sizeof(name)) &&
        strcmp(name, "#32770") == 0) {
        *reinterpret_cast<HWND *>(found) = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindThreadDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialogProc, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring WindowText(HWND window)
{
    int length = GetWindowTextLengthW(window);
    std::wstring text(size_t(length) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(window, &text[0], length + 1)));
    return text;
}

std::wstring AccessibleName(HWND window)
{
    // Spelled out here: the copy of IID_IAccessible in mingw-w64's import library makes Wine's
    // oleacc answer E_NOINTERFACE.
    static const GUID kIAccessible = {
        0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    HRESULT initialised = CoInitialize(nullptr);
    std::wstring name;
    IAccessible *accessible = nullptr;
    if (SUCCEEDED(AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), kIAccessible,
                                             reinterpret_cast<void **>(&accessible)))) {
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR text = nullptr;
        if (accessible->get_accName(self, &text) == S_OK && text) {
            name.assign(text, SysStringLen(text));
            SysFreeString(text);
        }
        accessible->Release();
    }
    if (SUCCEEDED(initialised))
        CoUninitialize();
    return name;
}

void PressKey(HWND dialog, UINT vk)
{
    HWND target = GetFocus();
    if (!target || (target != dialog && !IsChild(dialog, target)))
        target = dialog;
    UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, vk, 1 | (LPARAM(scan) << 16));
    PostMessageW(target, WM_KEYUP, vk, 1 | (LPARAM(scan) << 16) | (LPARAM(3) << 30));
}

static void SetCtrl(bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

void PressCtrlKey(HWND dialog, UINT vk)
{
    SetCtrl(true);
    PressKey(dialog, vk);
}

void ReleaseCtrl()
{
    SetCtrl(false);
}

std::wstring ClipboardText()
{
    std::wstring text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const WCHAR *units = static_cast<const WCHAR *>(GlobalLock(data))) {
            text = units;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void EmptyClipboardNow()
{
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

void CloseByForce(HWND dialog)
{
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    if (IsWindow(dialog) && IsWindowVisible(dialog)) {
        LRESULT id = SendMessageW(dialog, DM_GETDEFID, 0, 0);
        if (HIWORD(id) == DC_HASDEFID)
            SendMessageW(dialog, WM_COMMAND, LOWORD(id), 0);
    }
    if (IsWindow(dialog) && IsWindowVisible(dialog))
        EndDialog(dialog, -2);
}

void PumpMessages(DWORD ms)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// ---- Pixels ----

Pixels PixelsOf(HBITMAP bitmap)
{
    Pixels image;
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof(info), &info))
        return image;
    image.width = info.bmWidth;
    image.height = info.bmHeight;
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> rows(size_t(info.bmWidth) * size_t(info.bmHeight));
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, UINT(info.bmHeight), rows.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    image.pixels.reserve(rows.size());
    for (DWORD bgr : rows)
        image.pixels.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
    return image;
}

static Pixels Capture(HDC source, int x, int y, int width, int height)
{
    if (width <= 0 || height <= 0) {
        Pixels none;
        none.width = width;
        none.height = height;
        return none;
    }
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    Pixels image = PixelsOf(bitmap);
    DeleteObject(bitmap);
    return image;
}

Pixels CaptureClient(HWND window)
{
    // From the screen: Wine's PrintWindow draws the background only.
    UpdateWindow(window);
    RECT client;
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    Pixels image = Capture(screen, origin.x, origin.y, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    return image;
}

Pixels CaptureWindow(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT rect;
    GetWindowRect(window, &rect);
    HDC screen = GetDC(nullptr);
    Pixels image = Capture(screen, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    ReleaseDC(nullptr, screen);
    return image;
}

static bool PngEncoder(CLSID *clsid)
{
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    if (size == 0)
        return false;
    std::vector<BYTE> buffer(size);
    auto *encoders = reinterpret_cast<Gdiplus::ImageCodecInfo *>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, encoders);
    for (UINT i = 0; i < count; i++)
        if (wcscmp(encoders[i].MimeType, L"image/png") == 0) {
            *clsid = encoders[i].Clsid;
            return true;
        }
    return false;
}

bool SavePng(const Pixels &image, const std::wstring &path)
{
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return false;
    bool saved = false;
    {
        // The pixels go in through a DIB of the same layout as the capture: one copy, no
        // per-pixel calls.
        std::vector<DWORD> rows(image.pixels.size());
        for (size_t i = 0; i < rows.size(); i++) {
            COLORREF c = image.pixels[i];
            rows[i] = (DWORD(GetRValue(c)) << 16) | (DWORD(GetGValue(c)) << 8) | GetBValue(c);
        }
        Gdiplus::Bitmap bitmap(image.width, image.height, image.width * 4, PixelFormat32bppRGB,
                               reinterpret_cast<BYTE *>(rows.data()));
        CLSID png;
        saved = PngEncoder(&png) && bitmap.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    Gdiplus::GdiplusShutdown(token);
    return saved;
}

// ---- Other processes ----

std::string ProgramFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

DWORD RunProgram(const std::string &commandLine, std::string *output, DWORD timeoutMs, const char *desktop)
{
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (output) {
        if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
            return DWORD(-1);
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output ? writeEnd : GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = output ? writeEnd : GetStdHandle(STD_ERROR_HANDLE);
    std::string desktopName = desktop ? desktop : "";
    startup.lpDesktop = desktop ? &desktopName[0] : nullptr;
    std::string command = commandLine;
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                  &process);
    if (output) {
        CloseHandle(writeEnd);
        char buffer[4096];
        DWORD got = 0;
        while (started && ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0)
            output->append(buffer, got);
        CloseHandle(readEnd);
    }
    if (!started)
        return DWORD(-1);
    DWORD status = DWORD(-1);
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &status);
    } else {
        TerminateProcess(process.hProcess, 99);
        status = 99;
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return status;
}

// ---- Settings for now ----

UserSettingForNow::UserSettingForNow(const char *key, const char *name, DWORD value) : key_(key), name_(name)
{
    Write(REG_DWORD, &value, sizeof(value));
}

UserSettingForNow::UserSettingForNow(const char *key, const char *name, const std::string &value)
    : key_(key), name_(name)
{
    Write(REG_SZ, value.c_str(), DWORD(value.size() + 1));
}

void UserSettingForNow::Write(DWORD type, const void *data, DWORD size)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    DWORD savedSize = 0;
    present_ = RegQueryValueExA(key, name_.c_str(), nullptr, &savedType_, nullptr, &savedSize) == ERROR_SUCCESS;
    if (present_) {
        saved_.resize(savedSize);
        present_ = RegQueryValueExA(key, name_.c_str(), nullptr, &savedType_, saved_.data(), &savedSize) ==
                   ERROR_SUCCESS;
    }
    set_ = RegSetValueExA(key, name_.c_str(), 0, type, static_cast<const BYTE *>(data), size) == ERROR_SUCCESS;
    RegCloseKey(key);
}

UserSettingForNow::~UserSettingForNow()
{
    HKEY key;
    if (!set_ || RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    if (present_)
        RegSetValueExA(key, name_.c_str(), 0, savedType_, saved_.data(), DWORD(saved_.size()));
    else
        RegDeleteValueA(key, name_.c_str());
    RegCloseKey(key);
}

bool RunInServiceStation(const std::function<void()> &body, bool impersonate, DWORD timeoutMs)
{
    struct Job {
        const std::function<void()> *body;
        bool impersonate, ran;
    } job = {&body, impersonate, false};
    // A thread that owns no window or hook yet may change desktops.
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void *parameter) -> DWORD {
            Job *job = static_cast<Job *>(parameter);
            HWINSTA own = GetProcessWindowStation();
            HWINSTA station = CreateWindowStationW(L"dxdlg-service", 0, WINSTA_ALL_ACCESS, nullptr);
            if (!station || !SetProcessWindowStation(station))
                return 1;
            HDESK desk = CreateDesktopW(L"Default", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
            if (desk && SetThreadDesktop(desk) && (!job->impersonate || ImpersonateSelf(SecurityImpersonation))) {
                job->ran = true;
                (*job->body)();
                if (job->impersonate)
                    RevertToSelf();
            }
            SetProcessWindowStation(own);
            if (desk)
                CloseDesktop(desk);
            CloseWindowStation(station);
            return 0;
        },
        &job, 0, nullptr);
    if (!thread)
        return false;
    bool ended = WaitForSingleObject(thread, timeoutMs) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return ended && job.ran;
}

}  // namespace dxdesk
