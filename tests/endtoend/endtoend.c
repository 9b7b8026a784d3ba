/*
 * dxdlg.dll end to end, as a driver component uses it, in a program without the C runtime that
 * is built for every architecture the library ships for (x86-64 and ARM64) and run under each
 * one's Wine: the exports by name and by ordinal, the picture classes, the duplex dialog (both
 * layouts, both passes, a turned-over illustration), the manual-feed slot dialog, OK and Cancel,
 * the three notices closing by OK and by their time-out (in a child process with short
 * time-outs, since a process reads the settings once), a quit message, and two threads with a
 * dialog each, held until both dialogs are open.
 * Each failed check prints what was expected and what was seen; the exit code is the number of
 * failed checks.
 */
#include <dxdlg.h>
#include "resource.h"
#include "exports.h"

/* The compiler may call it to clear a structure; there is no runtime to bring it. */
void *memset(void *to, int value, size_t size)
{
    volatile unsigned char *p = (volatile unsigned char *)to;
    while (size--)
        *p++ = (unsigned char)value;
    return to;
}

/* ---- Output ---- */

static LONG Failures;

static void Print(const char *text)
{
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, (DWORD)lstrlenA(text), &written, NULL);
}

static void Step(const char *what)
{
    Print("  ");
    Print(what);
    Print("\n");
}

/* A failed check: `item` names the part of `what` that failed; `expected` and `seen` are NULL
 * when there is nothing to show. */
static void Fail(const char *what, const char *item, const char *expected, const char *seen)
{
    InterlockedIncrement(&Failures);
    Print("FAIL ");
    Print(what);
    Print(item ? ", " : "");
    Print(item ? item : "");
    if (expected) {
        Print(": expected ");
        Print(expected);
        Print(", seen ");
        Print(seen);
    }
    Print("\n");
}

static const char *Decimal(long long value, char digits[24])
{
    char *p = digits + 23;
    unsigned long long magnitude = value < 0 ? 0ULL - (unsigned long long)value : (unsigned long long)value;
    *p = 0;
    do
        *--p = (char)('0' + magnitude % 10);
    while (magnitude /= 10);
    if (value < 0)
        *--p = '-';
    return p;
}

static void ExpectNumber(const char *what, const char *item, long long expected, long long seen)
{
    char a[24], b[24];
    if (expected != seen)
        Fail(what, item, Decimal(expected, a), Decimal(seen, b));
}

static void ExpectText(const char *what, const char *item, const WCHAR *expected, const WCHAR *seen)
{
    char a[600] = "\"", b[600] = "\"";
    if (lstrcmpW(expected, seen) == 0 && expected[0])
        return;
    WideCharToMultiByte(CP_UTF8, 0, expected, -1, a + 1, 590, NULL, NULL);
    WideCharToMultiByte(CP_UTF8, 0, seen, -1, b + 1, 590, NULL, NULL);
    Fail(what, item, lstrcatA(a, "\""), lstrcatA(b, "\""));
}

static void ExpectTrue(const char *what, BOOL condition)
{
    if (!condition)
        Fail(what, NULL, NULL, NULL);
}

/* ---- The library ---- */

static HMODULE Dll;

static FARPROC Export(const char *name)
{
    return GetProcAddress(Dll, name);
}

/* The export directory as the loader sees it: ordinal base 1, exactly the seven names of
 * dxdlg.def, each at its ordinal, and each name resolving to the function of its ordinal. */
static void CheckExports(void)
{
    static const char *const names[] = {DXDLG_EXPORT_NAMES};
    const BYTE *base = (const BYTE *)Dll;
    const IMAGE_NT_HEADERS *nt = (const IMAGE_NT_HEADERS *)(base + ((const IMAGE_DOS_HEADER *)base)->e_lfanew);
    const IMAGE_EXPORT_DIRECTORY *exports = (const IMAGE_EXPORT_DIRECTORY *)(base +
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress);
    const DWORD *nameRvas = (const DWORD *)(base + exports->AddressOfNames);
    const WORD *nameOrdinals = (const WORD *)(base + exports->AddressOfNameOrdinals);
    DWORD i, count = sizeof(names) / sizeof(names[0]);

    ExpectNumber("export table", "ordinal base", 1, exports->Base);
    ExpectNumber("export table", "functions", count, exports->NumberOfFunctions);
    ExpectNumber("export table", "names", count, exports->NumberOfNames);
    for (i = 0; i < count && i < exports->NumberOfNames; i++) {
        const char *name = (const char *)(base + nameRvas[i]);
        FARPROC byName = Export(names[i]);
        if (lstrcmpA(name, names[i]) != 0)
            Fail("export table", "name", names[i], name);
        ExpectNumber(names[i], "ordinal", (long long)(i + 1), (long long)(nameOrdinals[i] + exports->Base));
        ExpectTrue("an export by name", byName != NULL);
        ExpectTrue("the same export by ordinal", byName == GetProcAddress(Dll, MAKEINTRESOURCEA(i + 1)));
    }
}

static void CheckRegistration(void)
{
    WNDCLASSEXA info;
    PFN_FRegisterBitmapControl registerDuplex = (PFN_FRegisterBitmapControl)(void (*)(void))Export("FRegisterBitmapControl");
    PFN_FRegisterBitmapControlMP registerManual = (PFN_FRegisterBitmapControlMP)(void (*)(void))Export("FRegisterBitmapControlMP");

    ExpectNumber("FRegisterBitmapControl", NULL, 1, registerDuplex(NULL));
    ExpectNumber("FRegisterBitmapControlMP", NULL, 1, registerManual(NULL));
    ExpectNumber("FRegisterBitmapControl", "again", 1, registerDuplex(NULL));
    info.cbSize = sizeof(info);
    ExpectTrue("class " BITMAPCTL_CLASS " registered by the DLL", GetClassInfoExA(Dll, BITMAPCTL_CLASS, &info));
    info.cbSize = sizeof(info);
    ExpectTrue("class " MANUALDUPCTL_CLASS " registered by the DLL", GetClassInfoExA(Dll, MANUALDUPCTL_CLASS, &info));
}

/* ---- Watching the dialogs of a thread ----
 * A thread timer looks every 10 ms for a visible dialog of its thread and hands it, once, to
 * the watch's action, from inside whatever loop runs (the modal dialog's or the notice's). A
 * dialog still open after the watchdog's time is cancelled, then destroyed. */

typedef struct Watch Watch;
struct Watch {
    void (*action)(Watch *, HWND);
    void *context;
    HWND dialog;
    DWORD started;
    DWORD watchdogMs;
    BOOL fired;
};

static DWORD WatchSlot;

static BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    char name[16];
    if (IsWindowVisible(window) && GetClassNameA(window, name, sizeof(name)) && lstrcmpA(name, "#32770") == 0) {
        *(HWND *)found = window;
        return FALSE;
    }
    return TRUE;
}

static void CALLBACK WatchTick(HWND unused, UINT message, UINT_PTR id, DWORD now)
{
    Watch *watch = (Watch *)TlsGetValue(WatchSlot);
    HWND dialog = NULL;
    (void)unused;
    (void)message;
    (void)id;
    if (!watch)
        return;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, (LPARAM)&dialog);
    if (dialog && !watch->dialog) {
        watch->dialog = dialog;
        watch->action(watch, dialog);
    } else if (dialog && now - watch->started > watch->watchdogMs) {
        if (!watch->fired)
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        else if (now - watch->started > watch->watchdogMs + 2000)
            DestroyWindow(dialog);
        watch->fired = TRUE;
    }
}

static UINT_PTR StartWatch(Watch *watch, void (*action)(Watch *, HWND), void *context, DWORD watchdogMs)
{
    watch->action = action;
    watch->context = context;
    watch->dialog = NULL;
    watch->started = GetTickCount();
    watch->watchdogMs = watchdogMs;
    watch->fired = FALSE;
    TlsSetValue(WatchSlot, watch);
    return SetTimer(NULL, 0, 10, WatchTick);
}

static void EndWatch(const char *what, Watch *watch, UINT_PTR timer)
{
    KillTimer(NULL, timer);
    TlsSetValue(WatchSlot, NULL);
    if (!watch->dialog)
        Fail(what, "no dialog appeared", NULL, NULL);
    if (watch->fired)
        Fail(what, "the dialog did not close, the watchdog closed it", NULL, NULL);
}

static void Text(HWND window, WCHAR *text, int size)
{
    text[0] = 0;
    if (window)
        GetWindowTextW(window, text, size);
}

static void Click(HWND dialog, int id)
{
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

/* ---- Pictures ---- */

/* Whether a picture control holds the DLL's bitmap of that name: same size, same pixels. */
static BOOL HoldsBitmap(HWND picture, const char *name)
{
    HBITMAP held = picture ? (HBITMAP)GetWindowLongPtrA(picture, GWLP_USERDATA) : NULL;
    HBITMAP expected = LoadBitmapA(Dll, name);
    BITMAP a, b;
    BOOL same = FALSE;

    if (held && expected && GetObjectA(held, sizeof(a), &a) && GetObjectA(expected, sizeof(b), &b) &&
        a.bmWidth == b.bmWidth && a.bmHeight == b.bmHeight) {
        BITMAPINFO format;
        DWORD bytes = (DWORD)a.bmWidth * (DWORD)a.bmHeight * 4, i;
        DWORD *pixels = (DWORD *)HeapAlloc(GetProcessHeap(), 0, bytes * 2);
        HDC screen = GetDC(NULL);
        memset(&format, 0, sizeof(format));
        format.bmiHeader.biSize = sizeof(format.bmiHeader);
        format.bmiHeader.biWidth = a.bmWidth;
        format.bmiHeader.biHeight = a.bmHeight;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        same = pixels && GetDIBits(screen, held, 0, (UINT)a.bmHeight, pixels, &format, DIB_RGB_COLORS) &&
               GetDIBits(screen, expected, 0, (UINT)a.bmHeight, pixels + bytes / 4, &format, DIB_RGB_COLORS);
        for (i = 0; same && i < bytes / 4; i++)
            same = pixels[i] == pixels[bytes / 4 + i];
        ReleaseDC(NULL, screen);
        HeapFree(GetProcessHeap(), 0, pixels);
    }
    if (expected)
        DeleteObject(expected);
    return same;
}

/* ---- The duplex and manual-feed slot dialogs ---- */

/* A job and what its dialog must show. */
typedef struct Job {
    const char *what;
    WORD language;
    short source;
    UINT pass;
    BYTE reversal;
    const WCHAR *templateName;
    UINT instruction, caption, ok, cancel;  /* string identifiers */
    const char *bitmap;
    int answer;                             /* the button pressed */
    HANDLE shown, other;                    /* two threads: this one's dialog is up; the other's */
} Job;

/* A window shows the DLL's string `id`; a caption shows it without its closing line feed. */
static void ExpectString(const Job *job, const char *item, UINT id, HWND window, BOOL caption)
{
    WCHAR expected[512], seen[512];
    int length = LoadStringW(Dll, id, expected, 512);
    while (caption && length > 0 && (expected[length - 1] == L'\n' || expected[length - 1] == L'\r'))
        length--;
    expected[length > 0 ? length : 0] = 0;
    Text(window, seen, 512);
    ExpectText(job->what, item, expected, seen);
}

/* The dialog's client area in dialog units and its number of controls are its template's. */
static void CheckTemplate(const char *what, HWND dialog, const WCHAR *name)
{
    HRSRC found = FindResourceW(Dll, name, MAKEINTRESOURCEW(5));
    const WORD *words = found ? (const WORD *)LockResource(LoadResource(Dll, found)) : NULL;
    RECT client, unit = {0, 0, 4, 8};
    HWND child;
    int controls = 0, extended;

    ExpectTrue(what, words != NULL);
    if (!words)
        return;
    extended = words[0] == 1 && words[1] == 0xFFFF;
    GetClientRect(dialog, &client);
    MapDialogRect(dialog, &unit);
    for (child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        controls++;
    ExpectNumber(what, "the template's controls", words[extended ? 8 : 4], controls);
    ExpectNumber(what, "the template's width in dialog units", (short)words[extended ? 11 : 7],
                     MulDiv(client.right, 4, unit.right));
    ExpectNumber(what, "the template's height in dialog units", (short)words[extended ? 12 : 8],
                     MulDiv(client.bottom, 8, unit.bottom));
}

static void ReadDuplex(Watch *watch, HWND dialog)
{
    const Job *job = (const Job *)watch->context;

    if (job->shown) {
        /* Both threads' dialogs are open before either reads its own. Meanwhile the thread
         * answers the messages that other threads send it (activation), and no others. */
        DWORD waited;
        MSG msg;
        SetEvent(job->shown);
        while ((waited = MsgWaitForMultipleObjectsEx(1, &job->other, 30000, QS_SENDMESSAGE, 0)) == WAIT_OBJECT_0 + 1)
            PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        ExpectNumber(job->what, "the other thread's dialog opened", WAIT_OBJECT_0, waited);
    }
    Step(job->what);
    CheckTemplate(job->what, dialog, job->templateName);
    ExpectString(job, "instruction", job->instruction, GetDlgItem(dialog, IDC_INSTRUCTION), FALSE);
    ExpectString(job, "caption", job->caption, dialog, TRUE);
    ExpectString(job, "OK button", job->ok, GetDlgItem(dialog, IDOK), FALSE);
    ExpectString(job, "Cancel button", job->cancel, GetDlgItem(dialog, IDCANCEL), FALSE);
    if (!HoldsBitmap(GetDlgItem(dialog, IDC_PICTURE), job->bitmap))
        Fail(job->what, "picture", job->bitmap, "another bitmap or none");
    Click(dialog, job->answer);
}

static int OpenDuplex(const Job *job)
{
    PFN_OpenDuplexDlg openDuplex = (PFN_OpenDuplexDlg)(void (*)(void))Export("OpenDuplexDlg");
    HLOCAL devMode = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, sizeof(DEVMODEA));
    DEVMODEA *fields = (DEVMODEA *)LocalLock(devMode);
    DriverPrivateSettings settings;
    Watch watch;
    UINT_PTR timer;
    int result;

    fields->dmSize = sizeof(DEVMODEA);
    fields->dmDefaultSource = job->source;
    fields->dmOrientation = DMORIENT_PORTRAIT;
    LocalUnlock(devMode);
    memset(&settings, 0, sizeof(settings));
    settings.reversal = job->reversal;
    timer = StartWatch(&watch, ReadDuplex, (void *)job, 20000);
    result = openDuplex(NULL, NULL, 0, job->pass, job->language, devMode, NULL, &settings);
    EndWatch(job->what, &watch, timer);
    ExpectNumber(job->what, "device settings locked after the call", 0, LocalFlags(devMode) & LMEM_LOCKCOUNT);
    LocalFree(devMode);
    return result;
}

#define ENGLISH(row) IDS_ENGLISH_##row, IDS_ENGLISH_CAPTION, IDS_ENGLISH_OK, IDS_ENGLISH_CANCEL
#define GERMAN(row) IDS_GERMAN_##row, IDS_GERMAN_CAPTION, IDS_GERMAN_OK, IDS_GERMAN_CANCEL
static const WCHAR CassetteTemplate[] = DXDLG_RESOURCE_NAMEW(IDD_DUPLEX_TRAY);
static const WCHAR ManualFeedTemplate[] = DXDLG_RESOURCE_NAMEW(IDD_DUPLEX_MANUALFEED);

static void CheckDuplexDialogs(void)
{
    static const Job jobs[] = {
        {"duplex, cassette, first pass, OK", 0x409, DMBIN_CASSETTE, 0, 0, CassetteTemplate,
         ENGLISH(CASSETTE_FIRST), "EVEN_T_C", IDOK, NULL, NULL},
        {"duplex, cassette, second pass, Cancel", 0x409, DMBIN_CASSETTE, 3, 0, CassetteTemplate,
         ENGLISH(CASSETTE_SECOND), "ODD_T_C_D2", IDCANCEL, NULL, NULL},
        {"duplex, manual feed, first pass, OK", 0x409, DMBIN_MANUAL, 0, 0, ManualFeedTemplate,
         ENGLISH(MANUALFEED_FIRST), "EVEN_T_M", IDOK, NULL, NULL},
        {"duplex, manual-feed slot, second pass turned over by the driver, OK", 0x409,
         DXDLG_DMBIN_MANUALFEED, 2, 1, ManualFeedTemplate, ENGLISH(MANUALFEED_SECOND), "ODD_T_M_D2",
         IDOK, NULL, NULL},
    };
    size_t i;
    for (i = 0; i < sizeof(jobs) / sizeof(jobs[0]); i++)
        ExpectNumber(jobs[i].what, "result", jobs[i].answer == IDOK ? 1 : 0, OpenDuplex(&jobs[i]));
}

static void ReadManualFeed(Watch *watch, HWND dialog)
{
    WCHAR seen[256];
    Text(dialog, seen, 256);
    ExpectText("manual-feed slot dialog", "caption", L"MANUAL FEED SLOT", seen);
    if (!HoldsBitmap(FindWindowExA(dialog, NULL, MANUALDUPCTL_CLASS, NULL), "EVEN_T_M"))
        Fail("manual-feed slot dialog", "picture", "EVEN_T_M", "another bitmap or none");
    Click(dialog, *(const int *)watch->context);
}

static void CheckManualFeedDialog(void)
{
    PFN_OpenDuplexDlgMP open = (PFN_OpenDuplexDlgMP)(void (*)(void))Export("OpenDuplexDlgMP");
    static const int answers[] = {IDC_MANUALFEED_OK, IDC_MANUALFEED_CANCEL};
    int i;
    Step("manual-feed slot dialog, OK and Cancel");
    for (i = 0; i < 2; i++) {
        Watch watch;
        UINT_PTR timer = StartWatch(&watch, ReadManualFeed, (void *)&answers[i], 20000);
        ExpectNumber("manual-feed slot dialog", "result", i == 0 ? 1 : 0, open(NULL, NULL, 0, 0x409, NULL, NULL));
        EndWatch("manual-feed slot dialog", &watch, timer);
    }
}

/* ---- A quit message ---- */

static void PostQuit(Watch *watch, HWND dialog)
{
    (void)watch;
    (void)dialog;
    PostQuitMessage(7);
}

static void CheckQuit(void)
{
    static const Job job = {"duplex dialog ended by a quit message", 0x409, DMBIN_CASSETTE, 0, 0,
                            CassetteTemplate, ENGLISH(CASSETTE_FIRST), "EVEN_T_C", IDOK, NULL, NULL};
    PFN_OpenDuplexDlg openDuplex = (PFN_OpenDuplexDlg)(void (*)(void))Export("OpenDuplexDlg");
    HLOCAL devMode = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, sizeof(DEVMODEA));
    Watch watch;
    UINT_PTR timer;
    MSG msg;

    Step(job.what);
    timer = StartWatch(&watch, PostQuit, NULL, 20000);
    ExpectNumber(job.what, "result", 0, openDuplex(NULL, NULL, 0, 0, 0x409, devMode, NULL, NULL));
    EndWatch(job.what, &watch, timer);
    ExpectTrue("the quit message is posted again for the caller",
               PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE) && msg.wParam == 7);
    LocalFree(devMode);
}

/* ---- Two threads, a dialog each ---- */

static DWORD WINAPI DuplexThread(LPVOID job)
{
    ExpectNumber(((const Job *)job)->what, "result", 1, OpenDuplex((const Job *)job));
    return 0;
}

static void CheckTwoThreads(void)
{
    HANDLE englishShown = CreateEventW(NULL, TRUE, FALSE, NULL);
    HANDLE germanShown = CreateEventW(NULL, TRUE, FALSE, NULL);
    Job english = {"thread 1: English duplex dialog beside a German one", 0x409, DMBIN_CASSETTE, 0, 0,
                   CassetteTemplate, ENGLISH(CASSETTE_FIRST), "EVEN_T_C", IDOK, NULL, NULL};
    Job german = {"thread 2: German duplex dialog beside an English one", 0x407, DMBIN_MANUAL, 4, 0,
                  ManualFeedTemplate, GERMAN(MANUALFEED_SECOND), "ODD_T_M_D2", IDOK, NULL, NULL};
    HANDLE threads[2];

    english.shown = german.other = englishShown;
    german.shown = english.other = germanShown;
    threads[0] = CreateThread(NULL, 0, DuplexThread, &english, 0, NULL);
    threads[1] = CreateThread(NULL, 0, DuplexThread, &german, 0, NULL);
    ExpectNumber("two threads", "both dialogs ended", WAIT_OBJECT_0, WaitForMultipleObjects(2, threads, TRUE, 60000));
    CloseHandle(threads[0]);
    CloseHandle(threads[1]);
    CloseHandle(englishShown);
    CloseHandle(germanShown);
}

/* ---- The notices ---- */

typedef struct Notice {
    const char *export, *title;
    const WCHAR *text;
    BOOL pressOk;
} Notice;

static void ReadNotice(Watch *watch, HWND notice)
{
    const Notice *expected = (const Notice *)watch->context;
    WCHAR seen[256], title[64];
    MultiByteToWideChar(CP_ACP, 0, expected->title, -1, title, 64);
    Text(notice, seen, 256);
    ExpectText(expected->export, "title", title, seen);
    Text(FindWindowExW(notice, NULL, L"Static", NULL), seen, 256);
    ExpectText(expected->export, "text", expected->text, seen);
    if (expected->pressOk)
        Click(notice, IDC_NOTICE_OK);
}

/* Each notice shows its title and text and ends its call by OK, or, when the settings give
 * it a short time-out, by that time-out: not before, and not long after. */
static void CheckNotices(BOOL pressOk, DWORD timeoutMs)
{
    Notice notices[] = {
        {"RawWarningDialog", "Raw", L"Some printer settings which you have been selected might be ignored!", 0},
        {"MemfullErrorDialog", "Memory", L"There is not enough memory in your PC. Expand the memory or set a larger virtual memory size.", 0},
        {"DiskFulErrorDialog", "Disk", L"There is not enough space on your PC. Make room on the hard disk by deleting some files.", 0},
    };
    int i;
    for (i = 0; i < 3; i++) {
        PFN_RawWarningDialog show = (PFN_RawWarningDialog)(void (*)(void))Export(notices[i].export);
        Watch watch;
        UINT_PTR timer;
        DWORD start = GetTickCount(), elapsed;
        Print("  ");
        Print(notices[i].export);
        Print(pressOk ? " closed by OK\n" : " closed by its time-out\n");
        notices[i].pressOk = pressOk;
        timer = StartWatch(&watch, ReadNotice, &notices[i], 20000);
        ExpectNumber(notices[i].export, "result", 0, show(NULL, 0x409, NULL, notices[i].title));
        elapsed = GetTickCount() - start;
        EndWatch(notices[i].export, &watch, timer);
        ExpectTrue("the notice is gone when the call returns", !IsWindow(watch.dialog));
        if (!pressOk) {
            ExpectTrue("the notice stayed up for its time-out", elapsed >= timeoutMs);
            ExpectTrue("the notice closed within 10 s of its time-out", elapsed < timeoutMs + 10000);
        }
    }
}

/* ---- Settings: set for the run, put back as found ---- */

static const char *const SettingNames[] = {DXDLG_COUNTRY_CODE, DXDLG_RAW_TIMEOUT, DXDLG_ERR_TIMEOUT};

typedef struct Saved {
    BOOL exists[3];
    DWORD type[3], value[3];
} Saved;

static void SaveSettings(Saved *saved)
{
    HKEY key;
    int i;
    LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, DXDLG_SETTINGS_KEY, 0, KEY_READ, &key);
    for (i = 0; i < 3; i++) {
        DWORD size = sizeof(DWORD);
        saved->exists[i] = opened == ERROR_SUCCESS &&
            RegQueryValueExA(key, SettingNames[i], NULL, &saved->type[i], (BYTE *)&saved->value[i], &size) == ERROR_SUCCESS;
    }
    if (opened == ERROR_SUCCESS)
        RegCloseKey(key);
}

static void PutSettings(const Saved *settings)
{
    HKEY key;
    int i;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, DXDLG_SETTINGS_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL))
        return;
    for (i = 0; i < 3; i++)
        if (settings->exists[i])
            RegSetValueExA(key, SettingNames[i], 0, settings->type[i], (const BYTE *)&settings->value[i], sizeof(DWORD));
        else
            RegDeleteValueA(key, SettingNames[i]);
    RegCloseKey(key);
}

static void SetTimeouts(DWORD raw, DWORD err)
{
    Saved settings = {{FALSE, TRUE, TRUE}, {0, REG_DWORD, REG_DWORD}, {0, 0, 0}};
    settings.value[1] = raw;
    settings.value[2] = err;
    PutSettings(&settings);
}

/* ---- The run ---- */

static const DWORD ShortTimeout = 700;

/* The time-outs, in a process of their own that reads short ones. */
static void RunTimeoutsInChild(void)
{
    WCHAR path[MAX_PATH], command[MAX_PATH + 16];
    STARTUPINFOW startup;
    PROCESS_INFORMATION child;
    DWORD code = 1;

    GetModuleFileNameW(NULL, path, MAX_PATH);
    lstrcpyW(command, L"\"");
    lstrcatW(command, path);
    lstrcatW(command, L"\" timeouts");
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    SetTimeouts(ShortTimeout, ShortTimeout);
    if (!CreateProcessW(path, command, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &child)) {
        ExpectNumber("the time-out process", "CreateProcessW", ERROR_SUCCESS, GetLastError());
        return;
    }
    WaitForSingleObject(child.hProcess, INFINITE);
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hProcess);
    CloseHandle(child.hThread);
    InterlockedExchangeAdd(&Failures, (LONG)code);
}

void WINAPI TestEntry(void)
{
    const WCHAR *command = GetCommandLineW();
    BOOL timeoutsOnly = lstrlenW(command) > 9 && lstrcmpW(command + lstrlenW(command) - 9, L" timeouts") == 0;
    Saved found;

    WatchSlot = TlsAlloc();
    if (!timeoutsOnly) {
        SaveSettings(&found);
        /* Notices that stay until OK: the raw warning never times out, the others after an hour. */
        SetTimeouts(DXDLG_NEVER_TIMES_OUT, DXDLG_DEFAULT_ERR_TIMEOUT);
    }
    Dll = LoadLibraryA("dxdlg.dll");
    if (!Dll) {
        ExpectNumber("LoadLibrary(dxdlg.dll)", "error", ERROR_SUCCESS, GetLastError());
        ExitProcess(1);
    }
    if (timeoutsOnly) {
        CheckNotices(FALSE, ShortTimeout);
    } else {
        Print("dxdlg end to end:\n");
        CheckExports();
        CheckRegistration();
        CheckDuplexDialogs();
        CheckManualFeedDialog();
        CheckNotices(TRUE, 0);
        CheckQuit();
        CheckTwoThreads();
        RunTimeoutsInChild();
        PutSettings(&found);
        Print(Failures ? "FAILED: checks failed, see above\n" : "All checks passed.\n");
    }
    FreeLibrary(Dll);
    ExitProcess((UINT)Failures);
}
