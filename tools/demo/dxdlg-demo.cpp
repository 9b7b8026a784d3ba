// dxdlg-demo: a stand-in printer driver. It loads dxdlg.dll as a driver's user-interface
// component does (LoadLibraryA and GetProcAddress by name, no import library), registers both
// picture classes and runs a manual duplex job: the first pass, the second pass, then the
// manual-feed slot dialog and the three notices, printing what each export returns.
// With --auto MS it answers every dialog itself, through the keyboard, MS milliseconds after
// the dialog appeared. With --spooler it runs the job as a driver's rendering code does inside
// the print spooler: from a window station nobody sees, impersonating its user, so that every
// dialog reaches the user as a message in their session (through the session API's stand-in,
// docs/building.md), and it prints each message as the session API received it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "desktop.h"
#include "dxdlg.h"
#include "languages.h"

namespace {

struct Options {
    WORD language = DXDLG_STORED_LANGUAGE;
    short source = DMBIN_CASSETTE;
    short orientation = DMORIENT_PORTRAIT;
    UINT secondPass = 1;
    BYTE reversal = 0;
    LONG rotationSwitch = 0;
    LONG rotationAngle = 0;
    const char *rawTitle = "Printer settings";
    const char *memfullTitle = "Printer: memory";
    const char *diskfulTitle = "Printer: disk space";
    long autoMs = -1;  // -1: interactive
    bool owner = true;
    bool spooler = false;
    bool setCountry = false, setRawTimeout = false, setErrTimeout = false;
    DWORD country = 0, rawTimeout = 0, errTimeout = 0;
};

// A printf format: %ld is the every-language countryCode.
const char kUsage[] =
    "usage: dxdlg-demo.exe [options]\n"
    "\n"
    "A stand-in printer driver for dxdlg.dll. It loads the DLL from its own folder with\n"
    "LoadLibraryA, finds the seven exports with GetProcAddress, registers both picture classes\n"
    "and runs a manual duplex job:\n"
    "  1. OpenDuplexDlg, first pass (pass code 0)      OK prints the even pages, Cancel stops\n"
    "  2. OpenDuplexDlg, second pass (--pass)           OK prints the odd pages\n"
    "  3. OpenDuplexDlgMP, the manual-feed slot dialog\n"
    "  4. RawWarningDialog, MemfullErrorDialog, DiskFulErrorDialog (the three notices)\n"
    "and prints each export's result. A driver would end the job on Cancel; the demo goes on\n"
    "so that every dialog can be seen. The exit code is 0 when every export answered (no -1).\n"
    "\n"
    "Job options:\n"
    "  --lang L            language: a tag (nl fr de it no sv en es da pt-BR ja fi ko zh\n"
    "                      pt-PT, and nl-BE fr-BE fr-CA fr-CH de-CH de-AT it-CH nn en-GB\n"
    "                      ko-Johab), a locale name, a number (1041 or 0x411), or 'stored'\n"
    "                      (0xFFFF: the countryCode setting). Default: stored.\n"
    "  --source S          paper source, the DEVMODE's dmDefaultSource: 'cassette' (14),\n"
    "                      'manual' (4), or a number (258 is the manual-feed slot too).\n"
    "                      Default: cassette.\n"
    "  --orientation O     'portrait' (1), 'landscape' (2) or a number. Default: portrait.\n"
    "  --pass N            pass code of the second pass, 1 to 6 (others are passed as they\n"
    "                      are). Default: 1.\n"
    "  --reversal N        DriverPrivateSettings.reversal, 0 to 255 (1 and 2 turn the\n"
    "                      second-pass illustration over). Default: 0.\n"
    "  --rotation A        DriverPrivateSettings.rotationSwitch = 1 and rotationAngle = A\n"
    "                      (180 turns the illustration over). Default: switch 0, angle 0.\n"
    "  --rotation-switch N, --rotation-angle A   set the two fields one by one.\n"
    "  --raw-title T, --memfull-title T, --diskful-title T   the notices' captions.\n"
    "  --no-owner          pass no owner window (by default the demo's own job window owns\n"
    "                      the dialogs, as an application's window would).\n"
    "  --spooler           run the job as rendering code in the print spooler does: on a thread\n"
    "                      in a window station nobody sees, impersonating its own user, with\n"
    "                      no owner window. Every dialog then reaches the user as a message box\n"
    "                      in their session (the session API's stand-in shows it on the Wine\n"
    "                      desktop), and the log prints each message: session, title, text,\n"
    "                      buttons, time-out and answer.\n"
    "\n"
    "Settings (written to HKLM\\" DXDLG_SETTINGS_KEY " before the DLL is loaded, which\n"
    "reads them once; by default the registry is left as it is):\n"
    "  --country N         countryCode (a number; %ld shows the duplex dialog in every\n"
    "                      language in turn).\n"
    "  --raw-timeout MS    RawDlgTimeout: the raw warning closes itself after MS ms (0, the\n"
    "                      default, makes it flash up only).\n"
    "  --err-timeout MS    ErrDlgTimeout: the same for memory-full and disk-full.\n"
    "\n"
    "Answering:\n"
    "  --auto MS           answer every dialog with OK, MS milliseconds after it appeared, by\n"
    "                      typing Enter into its focused control from a timer that runs\n"
    "                      inside the dialog's message loop: unattended runs need no mouse.\n"
    "                      Without it the demo waits for you to answer each dialog. With\n"
    "                      --spooler the message boxes are answered so, MS ms after each\n"
    "                      appeared.\n"
    "  --help              this text.\n"
    "\n"
    "Run it under Wine from the build tree, for example:\n"
    "  cmake/wine-run.sh build/bin/dxdlg-demo.exe --lang ja --source manual --auto 1500\n";

// The every-language countryCode as --country takes it, a signed number.
long EveryLanguageNumber()
{
    return long(LONG(DXDLG_EVERY_LANGUAGE));
}

bool ParseNumber(const char *text, long *value)
{
    char *end = nullptr;
    long number = strtol(text, &end, 0);
    if (!*text || *end)
        return false;
    *value = number;
    return true;
}

bool ParseOptions(int argc, char **argv, Options *options)
{
    for (int i = 1; i < argc; i++) {
        const char *arg = argv[i];
        if (strcmp(arg, "--help") == 0 || strcmp(arg, "-h") == 0 || strcmp(arg, "/?") == 0) {
            printf(kUsage, EveryLanguageNumber());
            exit(0);
        }
        if (strcmp(arg, "--no-owner") == 0) {
            options->owner = false;
            continue;
        }
        if (strcmp(arg, "--spooler") == 0) {
            options->spooler = true;
            options->owner = false;
            continue;
        }
        if (i + 1 >= argc) {
            fprintf(stderr, "dxdlg-demo: unknown option or missing value: %s\n", arg);
            return false;
        }
        const char *value = argv[++i];
        long number = 0;
        bool ok = true;
        if (strcmp(arg, "--lang") == 0) {
            ok = dxdesk::ParseLanguage(value, &options->language);
        } else if (strcmp(arg, "--source") == 0) {
            if (_stricmp(value, "cassette") == 0)
                options->source = DMBIN_CASSETTE;
            else if (_stricmp(value, "manual") == 0)
                options->source = DMBIN_MANUAL;
            else if ((ok = ParseNumber(value, &number)))
                options->source = short(number);
        } else if (strcmp(arg, "--orientation") == 0) {
            if (_stricmp(value, "portrait") == 0)
                options->orientation = DMORIENT_PORTRAIT;
            else if (_stricmp(value, "landscape") == 0)
                options->orientation = DMORIENT_LANDSCAPE;
            else if ((ok = ParseNumber(value, &number)))
                options->orientation = short(number);
        } else if (strcmp(arg, "--pass") == 0) {
            if ((ok = ParseNumber(value, &number)))
                options->secondPass = UINT(number);
        } else if (strcmp(arg, "--reversal") == 0) {
            if ((ok = ParseNumber(value, &number) && number >= 0 && number <= 255))
                options->reversal = BYTE(number);
        } else if (strcmp(arg, "--rotation") == 0) {
            if ((ok = ParseNumber(value, &number))) {
                options->rotationSwitch = 1;
                options->rotationAngle = number;
            }
        } else if (strcmp(arg, "--rotation-switch") == 0) {
            if ((ok = ParseNumber(value, &number)))
                options->rotationSwitch = number;
        } else if (strcmp(arg, "--rotation-angle") == 0) {
            if ((ok = ParseNumber(value, &number)))
                options->rotationAngle = number;
        } else if (strcmp(arg, "--raw-title") == 0) {
            options->rawTitle = value;
        } else if (strcmp(arg, "--memfull-title") == 0) {
            options->memfullTitle = value;
        } else if (strcmp(arg, "--diskful-title") == 0) {
            options->diskfulTitle = value;
        } else if (strcmp(arg, "--auto") == 0) {
            ok = ParseNumber(value, &options->autoMs) && options->autoMs >= 0;
        } else if (strcmp(arg, "--country") == 0) {
            if ((ok = ParseNumber(value, &number))) {
                options->setCountry = true;
                options->country = DWORD(number);
            }
        } else if (strcmp(arg, "--raw-timeout") == 0) {
            if ((ok = ParseNumber(value, &number))) {
                options->setRawTimeout = true;
                options->rawTimeout = DWORD(number);
            }
        } else if (strcmp(arg, "--err-timeout") == 0) {
            if ((ok = ParseNumber(value, &number))) {
                options->setErrTimeout = true;
                options->errTimeout = DWORD(number);
            }
        } else {
            fprintf(stderr, "dxdlg-demo: unknown option: %s\n", arg);
            return false;
        }
        if (!ok) {
            fprintf(stderr, "dxdlg-demo: bad value for %s: %s\n", arg, value);
            return false;
        }
    }
    return true;
}

void WriteSetting(const char *name, DWORD value)
{
    HKEY key;
    LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, DXDLG_SETTINGS_KEY, 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value),
                                sizeof(value));
        RegCloseKey(key);
    }
    if (status == ERROR_SUCCESS)
        printf("setting  %s = %lu (0x%08lX)\n", name, value, value);
    else
        printf("setting  %s: cannot write the registry (error %ld), left as it is\n", name, status);
}

// Prints a setting as stored; false when it is not stored as a REG_DWORD.
bool PrintSetting(const char *name, DWORD *stored)
{
    HKEY key;
    DWORD value = 0, size = sizeof(value), type = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, DXDLG_SETTINGS_KEY, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(&value),
                                       &size);
        RegCloseKey(key);
        if (status == ERROR_SUCCESS && type == REG_DWORD) {
            printf("setting  %s = %lu (0x%08lX)\n", name, value, value);
            *stored = value;
            return true;
        }
    }
    printf("setting  %s: not stored (the DLL writes its default)\n", name);
    return false;
}

std::string LanguageLabel(WORD id)
{
    if (id == DXDLG_STORED_LANGUAGE)
        return "0xFFFF (the stored countryCode)";
    const dxdesk::Language *language = dxdesk::FindLanguage(id);
    char text[96];
    snprintf(text, sizeof(text), "%u %s", unsigned(id), language ? language->name : "(no table names it)");
    return text;
}

std::string Utf8(const std::wstring &text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(size_t(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
    out.resize(strlen(out.c_str()));
    return out;
}

// ---- Answering the dialogs without a user ----
// A thread timer runs inside whatever message loop is active (a modal dialog's or a notice's),
// finds the dialog of this thread and, MS ms after it appeared, types Enter into it.

struct AutoAnswer {
    long delayMs = -1;
    HWND dialog = nullptr;
    DWORD shownAt = 0;
    bool answered = false;
    int answers = 0;
};
AutoAnswer autoAnswer;

void CALLBACK AutoAnswerTimer(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = dxdesk::FindThreadDialog();
    if (!dialog)
        return;
    if (dialog != autoAnswer.dialog) {
        autoAnswer.dialog = dialog;
        autoAnswer.shownAt = GetTickCount();
        autoAnswer.answered = false;
        std::string caption = Utf8(dxdesk::WindowText(dialog));
        for (char &c : caption)
            if (c == '\n' || c == '\r')
                c = ' ';
        printf("         shown: \"%s\"\n", caption.c_str());
        fflush(stdout);
    }
    if (!autoAnswer.answered && GetTickCount() - autoAnswer.shownAt >= DWORD(autoAnswer.delayMs)) {
        autoAnswer.answered = true;
        autoAnswer.answers++;
        dxdesk::PressKey(dialog, VK_RETURN);
    }
}

// ---- The job ----

struct Exports {
    PFN_DiskFulErrorDialog diskFul;
    PFN_MemfullErrorDialog memfull;
    PFN_RawWarningDialog rawWarning;
    PFN_FRegisterBitmapControl registerControl;
    PFN_FRegisterBitmapControlMP registerControlMP;
    PFN_OpenDuplexDlg openDuplex;
    PFN_OpenDuplexDlgMP openDuplexMP;
};

template <class F> bool Find(HMODULE module, const char *name, F *function)
{
    *function = reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(module, name)));
    if (!*function)
        printf("dxdlg-demo: dxdlg.dll has no export %s\n", name);
    return *function != nullptr;
}

const char *DialogResult(INT_PTR result)
{
    switch (result) {
    case 1:
        return "OK";
    case 0:
        return "Cancel";
    case -1:
        return "the dialog could not be shown";
    default:
        return "unexpected";
    }
}

LRESULT CALLBACK JobWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        InflateRect(&client, -16, -16);
        SetBkMode(dc, TRANSPARENT);
        DrawTextA(dc,
                  "A stand-in printer driver is printing a two-sided job by hand.\n"
                  "Its dialogs open over this window.",
                  -1, &client, DT_WORDBREAK | DT_NOPREFIX);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateJobWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = JobWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "DxdlgDemoJob";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("DxdlgDemoJob", "dxdlg demo: print job", WS_OVERLAPPEDWINDOW,
                                40, 40, 760, 560, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    SetForegroundWindow(window);
    return window;
}

void BeginStep()
{
    autoAnswer.dialog = nullptr;
    autoAnswer.answered = false;
    autoAnswer.answers = 0;
    fflush(stdout);
}

int PrintMessages(bool spooler);

// The job: both passes, the manual-feed slot dialog and the three notices. True when an export
// failed.
bool RunJob(const Options &options, const Exports &dx, HMODULE dll)
{
    HWND owner = options.owner ? CreateJobWindow() : nullptr;
    bool failed = false;
    const bool spooler = options.spooler;

    int registered = dx.registerControl(dll);
    printf("FRegisterBitmapControl(dll)   -> %d%s\n", registered, registered == 1 ? "" : "  (not registered)");
    int registeredMP = dx.registerControlMP(dll);
    printf("FRegisterBitmapControlMP(dll) -> %d%s\n", registeredMP, registeredMP == 1 ? "" : "  (not registered)");
    failed |= registered != 1 || registeredMP != 1;

    // The job's device settings, in a movable block as the spooler hands them to a driver.
    HLOCAL devModeBlock = LocalAlloc(LHND, sizeof(DEVMODEA));
    auto *devMode = static_cast<DEVMODEA *>(LocalLock(devModeBlock));
    if (!devMode) {
        printf("dxdlg-demo: no memory for the DEVMODE\n");
        return 1;
    }
    lstrcpynA(reinterpret_cast<char *>(devMode->dmDeviceName), "dxdlg demo printer", CCHDEVICENAME);
    devMode->dmSpecVersion = DM_SPECVERSION;
    devMode->dmSize = sizeof(DEVMODEA);
    devMode->dmFields = DM_ORIENTATION | DM_DEFAULTSOURCE | DM_DUPLEX;
    devMode->dmOrientation = options.orientation;
    devMode->dmDefaultSource = options.source;
    devMode->dmDuplex = DMDUP_SIMPLEX;
    LocalUnlock(devModeBlock);

    DriverPrivateSettings settings = {};
    settings.reversal = options.reversal;
    settings.rotationSwitch = options.rotationSwitch;
    settings.rotationAngle = options.rotationAngle;

    printf("job      language %s, dmDefaultSource %d (%s), dmOrientation %d, reversal %u, "
           "rotation switch %ld angle %ld\n",
           LanguageLabel(options.language).c_str(), options.source,
           options.source == DMBIN_MANUAL || options.source == DXDLG_DMBIN_MANUALFEED ? "manual-feed slot"
                                                                                     : "cassette",
           options.orientation, unsigned(options.reversal), long(options.rotationSwitch),
           long(options.rotationAngle));
    if (options.autoMs >= 0)
        printf("answer   automatically: Enter %ld ms after each dialog appears\n", options.autoMs);
    else
        printf("answer   each dialog yourself (OK or Cancel)\n");

    autoAnswer.delayMs = options.autoMs;
    UINT_PTR timer = options.autoMs >= 0 ? SetTimer(nullptr, 0, 20, AutoAnswerTimer) : 0;

    const UINT passes[2] = {0, options.secondPass};
    const char *passNames[2] = {"first pass, even pages", "second pass, odd pages"};
    for (int p = 0; p < 2; p++) {
        BeginStep();
        printf("OpenDuplexDlg(pass code %u: %s)\n", passes[p], passNames[p]);
        DWORD start = GetTickCount();
        int result = dx.openDuplex(nullptr, owner, 0, passes[p], options.language, devModeBlock, nullptr,
                                   &settings);
        printf("      -> %d (%s) after %lu ms\n", result, DialogResult(result), GetTickCount() - start);
        PrintMessages(spooler);
        failed |= result == -1;
        if (p == 0 && result == 0)
            printf("         (a driver would cancel the job here; the demo goes on)\n");
    }

    BeginStep();
    printf("OpenDuplexDlgMP(language %s)\n", LanguageLabel(options.language).c_str());
    DWORD start = GetTickCount();
    INT_PTR resultMP = dx.openDuplexMP(nullptr, owner, 0, options.language, nullptr, nullptr);
    printf("      -> %ld (%s) after %lu ms\n", long(resultMP), DialogResult(resultMP), GetTickCount() - start);
    PrintMessages(spooler);
    failed |= resultMP == -1;

    // The notices take a language identifier as it stands: 0xFFFF is no language of theirs.
    const struct {
        const char *name;
        INT_PTR(WINAPI *show)(HWND, UINT, void *, LPCSTR);
        const char *title;
    } notices[3] = {{"RawWarningDialog", dx.rawWarning, options.rawTitle},
                    {"MemfullErrorDialog", dx.memfull, options.memfullTitle},
                    {"DiskFulErrorDialog", dx.diskFul, options.diskfulTitle}};
    for (const auto &notice : notices) {
        BeginStep();
        printf("%s(language %s, title \"%s\")\n", notice.name, LanguageLabel(options.language).c_str(),
               notice.title);
        start = GetTickCount();
        INT_PTR result = notice.show(owner, options.language, nullptr, notice.title);
        DWORD took = GetTickCount() - start;
        const char *how = spooler                  ? "answered in the user's session"
                          : options.autoMs < 0        ? "closed"
                          : autoAnswer.answers > 0    ? "closed by OK"
                          : autoAnswer.dialog != nullptr ? "closed by its time-out"
                                                      : "closed by its time-out before the demo saw it";
        printf("      -> %ld after %lu ms (%s)\n", long(result), took, how);
        failed |= PrintMessages(spooler) == 0 && spooler;
    }

    if (timer)
        KillTimer(nullptr, timer);
    LocalFree(devModeBlock);
    if (owner)
        DestroyWindow(owner);
    return failed;
}

// ---- The job as the spooler runs it ----
// A driver's rendering code runs in the print spooler, in a window station nobody sees, on a
// thread that impersonates the job's user. The job runs so here: on a thread of its own (one
// that owns no window yet may change its desktop), in a window station made for it, impersonating
// the demo's own user. The library then sends each dialog's words to that user's session, and
// the session API's stand-in writes each message to the log named by DXDLG_SESSION_LOG.

std::wstring sessionLog;
LONGLONG sessionLogShown = 0;

// Prints the messages that the stand-in logged since the last call; their number.
int PrintMessages(bool spooler)
{
    if (!spooler)
        return 0;
    HANDLE file = CreateFileW(sessionLog.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    int count = 0;
    if (file != INVALID_HANDLE_VALUE) {
        LARGE_INTEGER at;
        at.QuadPart = sessionLogShown;
        SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
        std::string text;
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
            text.append(buffer, read);
        CloseHandle(file);
        sessionLogShown += LONGLONG(text.size());
        for (size_t line = 0, end; line < text.size(); line = end + 1) {
            end = text.find('\n', line);
            if (end == std::string::npos)
                end = text.size();
            printf("         message %s\n", text.substr(line, end - line).c_str());
            count++;
        }
    }
    if (count == 0)
        printf("         no message reached the user (last error %lu)\n", GetLastError());
    return count;
}

bool RunJobInSpooler(const Options &options, const Exports &dx, HMODULE dll)
{
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    wchar_t log[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"DXDLG_SESSION_LOG", log, MAX_PATH);
    sessionLog = length > 0 && length < MAX_PATH ? std::wstring(log) : std::wstring(folder) + L"dxdlg-session.log";
    DeleteFileW(sessionLog.c_str());
    SetEnvironmentVariableW(L"DXDLG_SESSION_LOG", sessionLog.c_str());
    if (options.autoMs >= 0)
        SetEnvironmentVariableW(L"DXDLG_SESSION_AUTO", std::to_wstring(options.autoMs).c_str());
    printf("spooler  the job runs in a window station nobody sees, impersonating its user; each\n"
           "         dialog reaches the user as a message in their session (log: %s)\n",
           Utf8(sessionLog).c_str());

    bool failed = true;
    if (!dxdesk::RunInServiceStation([&] { failed = RunJob(options, dx, dll); }, true, INFINITE))
        printf("dxdlg-demo: no window station for the spooler's job (error %lu)\n", GetLastError());
    return failed;
}

}  // namespace

int main(int argc, char **argv)
{
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        fputs("Try --help.\n", stderr);
        return 2;
    }
    setvbuf(stdout, nullptr, _IOLBF, 4096);

    // The DLL reads its settings once, when it is loaded: write them first.
    if (options.setCountry)
        WriteSetting(DXDLG_COUNTRY_CODE, options.country);
    if (options.setRawTimeout)
        WriteSetting(DXDLG_RAW_TIMEOUT, options.rawTimeout);
    if (options.setErrTimeout)
        WriteSetting(DXDLG_ERR_TIMEOUT, options.errTimeout);
    DWORD country = 0, rawTimeout = DXDLG_DEFAULT_RAW_TIMEOUT, errTimeout = DXDLG_DEFAULT_ERR_TIMEOUT;
    PrintSetting(DXDLG_COUNTRY_CODE, &country);
    PrintSetting(DXDLG_RAW_TIMEOUT, &rawTimeout);
    PrintSetting(DXDLG_ERR_TIMEOUT, &errTimeout);
    if (country == DXDLG_EVERY_LANGUAGE)
        printf("         (countryCode %ld: each OpenDuplexDlg shows its dialog in every language)\n",
               EveryLanguageNumber());
    if (rawTimeout < 2000 || errTimeout < 2000)
        printf("         (a notice closes itself after its time-out: --raw-timeout 30000 and\n"
               "          --err-timeout 30000 keep the notices up for 30 s)\n");

    HMODULE dll = LoadLibraryA("dxdlg.dll");
    if (!dll) {
        printf("dxdlg-demo: dxdlg.dll does not load (error %lu)\n", GetLastError());
        return 1;
    }
    char path[MAX_PATH] = "";
    GetModuleFileNameA(dll, path, sizeof(path));
    printf("loaded   %s\n", path);

    Exports dx = {};
    // Every export is looked for, so that the log names each one that is missing.
    bool found = Find(dll, "DiskFulErrorDialog", &dx.diskFul);
    found = Find(dll, "MemfullErrorDialog", &dx.memfull) && found;
    found = Find(dll, "RawWarningDialog", &dx.rawWarning) && found;
    found = Find(dll, "FRegisterBitmapControl", &dx.registerControl) && found;
    found = Find(dll, "FRegisterBitmapControlMP", &dx.registerControlMP) && found;
    found = Find(dll, "OpenDuplexDlg", &dx.openDuplex) && found;
    found = Find(dll, "OpenDuplexDlgMP", &dx.openDuplexMP) && found;
    if (!found)
        return 1;

    bool failed = options.spooler ? RunJobInSpooler(options, dx, dll) : RunJob(options, dx, dll);
    FreeLibrary(dll);
    printf("%s\n", failed ? "dxdlg-demo: some export failed (see above)" : "dxdlg-demo: job done");
    return failed ? 1 : 0;
}
