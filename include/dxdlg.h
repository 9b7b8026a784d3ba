/*
 * dxdlg: the dialogs a printer driver shows on the user's desktop during a print job.
 *
 * Seven exports, undecorated, in this ordinal order:
 *   1 DiskFulErrorDialog        5 OpenDuplexDlg
 *   2 FRegisterBitmapControl    6 OpenDuplexDlgMP
 *   3 FRegisterBitmapControlMP  7 RawWarningDialog
 *   4 MemfullErrorDialog
 *
 * All of them run on the caller's thread, and each call keeps its state to itself: dialogs and
 * notices may be open on several threads at once, or one inside another's message loop. The
 * settings are read by the first dialog call of the process, never while the library loads.
 *
 * Where nobody can see a window of the process (a window station that is not visible, as a
 * service's, or any process in session 0, as the print spooler and its isolation host), the five
 * dialog exports open no window: each sends what its dialog says (its caption or, for a notice,
 * the caller's title; its texts; for the two duplex exports, after an empty line, what the
 * picture shows) as a message box to the session of the user that the calling thread
 * impersonates, through WTSSendMessageW of the system folder's wtsapi32.dll (loaded by the first
 * such call, never imported), and waits on the calling thread for the answer. The two duplex
 * exports' message has OK and Cancel and no time-out: OK gives 1, any other answer 0; a notice's
 * has OK and the notice's time-out in whole seconds, rounded up (none when it never times out),
 * and gives 0. An every-language series sends one message per language. When nothing could be
 * shown, the export returns at once (-1 or 0) and GetLastError says why:
 * ERROR_NO_SUCH_LOGON_SESSION when the thread impersonates nobody with a session here (it does not
 * impersonate, or its token is of session 0: the spooler's own account, or a user at another
 * machine printing through a shared printer), else the session API's own error, or
 * ERROR_NOT_SUPPORTED when it gave none. After a message that was shown the last error is 0.
 * docs/dialogs.md, "Calling it from the spooler", says which component gets what.
 */
#ifndef DXDLG_H
#define DXDLG_H

#include <stddef.h>
#include <windows.h>

#ifdef DXDLG_BUILDING
#define DXDLG_API
#else
#define DXDLG_API __declspec(dllimport)
#endif

/*
 * The settings: three REG_DWORD values in the key DXDLG_SETTINGS_KEY of HKEY_LOCAL_MACHINE, read
 * once per process, by its first dialog call. A value that is missing or is no number (REG_DWORD
 * or REG_BINARY of one to four bytes) takes its default; a missing one is written back when the
 * key may be written.
 *   DXDLG_COUNTRY_CODE  the language that DXDLG_STORED_LANGUAGE asks for; default: the user's
 *                       (2057, English, when the key can be neither opened nor created)
 *   DXDLG_RAW_TIMEOUT   milliseconds the raw warning stays up
 *   DXDLG_ERR_TIMEOUT   milliseconds the memory-full and disk-full notices stay up
 */
#define DXDLG_SETTINGS_KEY "Software\\orvanta\\osplproc"
#define DXDLG_COUNTRY_CODE "countryCode"
#define DXDLG_RAW_TIMEOUT "RawDlgTimeout"
#define DXDLG_ERR_TIMEOUT "ErrDlgTimeout"

/* countryCode: each OpenDuplexDlg shows its dialog in every language in turn (-52718). */
#define DXDLG_EVERY_LANGUAGE 0xFFFF3212UL

/* The time-outs' defaults: the raw warning only flashes up; the other notices stay an hour. A
 * RawDlgTimeout of DXDLG_NEVER_TIMES_OUT keeps the raw warning up until OK; an ErrDlgTimeout of
 * it is taken as the default, so that a full memory or disk never holds a notice for good. */
#define DXDLG_DEFAULT_RAW_TIMEOUT 0UL
#define DXDLG_DEFAULT_ERR_TIMEOUT 3600000UL
#define DXDLG_NEVER_TIMES_OUT 0xFFFFFFFFUL

/* The `language` of OpenDuplexDlg and OpenDuplexDlgMP that asks for countryCode's language. */
#define DXDLG_STORED_LANGUAGE 0xFFFF

/* The DEVMODE's dmDefaultSource values that show the manual-feed slot's layout: DMBIN_MANUAL
 * and the driver's own number for the slot below; every other value shows the cassette's. */
#define DXDLG_DMBIN_MANUALFEED 258              /* DMBIN_USER + 2 */

#ifdef __cplusplus
extern "C" {
#endif

/*
 * The driver's own settings of a job. The dialogs read three fields: the reversal byte, the
 * rotation switch and, directly after it, the rotation angle. The driver owns the rest of the
 * record; its fields are opaque here and kept only so that both sides agree on the offsets.
 *
 *   offset  0  driverFields0[16]  driver's own
 *   offset 16  reversal           1 or 2 turns the second-pass illustration over; other values do not
 *   offset 17  driverFields1[3]   driver's own
 *   offset 20  rotationSwitch     1 = on
 *   offset 24  rotationAngle      degrees; 180 with the switch on turns the illustration over
 *   offset 28  driverFields2[36]  driver's own
 *   size   64
 */
typedef struct DriverPrivateSettings {
    BYTE driverFields0[16];
    BYTE reversal;
    BYTE driverFields1[3];
    LONG rotationSwitch;
    LONG rotationAngle;
    BYTE driverFields2[36];
} DriverPrivateSettings;

/* The offsets above, checked wherever this header is compiled: a record that no longer matches
 * them fails the build (an array of negative size) instead of a driver. The names carry the
 * library's prefix and stand for nothing else. */
#define DXDLG_LAYOUT_AT(field, offset)               \
    typedef char DxdlgLayout_##field##_at_##offset[ \
        offsetof(DriverPrivateSettings, field) == (offset) ? 1 : -1]
DXDLG_LAYOUT_AT(driverFields0, 0);
DXDLG_LAYOUT_AT(reversal, 16);
DXDLG_LAYOUT_AT(driverFields1, 17);
DXDLG_LAYOUT_AT(rotationSwitch, 20);
DXDLG_LAYOUT_AT(rotationAngle, 24);
DXDLG_LAYOUT_AT(driverFields2, 28);
typedef char DxdlgLayout_size_64[sizeof(DriverPrivateSettings) == 64 ? 1 : -1];
#undef DXDLG_LAYOUT_AT

/* Timed notices. `language` is a LANGID in its low 16 bits; `reserved` is ignored; `title` is the
 * notice's ANSI caption and must stay valid until the call returns. The notice is owned by the
 * thread's active window, or by `owner` when there is none; a window of another thread or
 * process is only stood over (the notice is then unowned). The call pumps the thread's
 * messages until OK or the time-out from the registry ends the notice; a quit message ends it
 * too and is posted again for the caller's own loop. A time-out that passes while a window of
 * the thread stands over the notice (a box or dialog that it owns) waits for that window to
 * go. Always returns 0; without a visible desktop, see the top of this file. */
DXDLG_API INT_PTR WINAPI DiskFulErrorDialog(HWND owner, UINT language, void *reserved, LPCSTR title);
DXDLG_API INT_PTR WINAPI MemfullErrorDialog(HWND owner, UINT language, void *reserved, LPCSTR title);
DXDLG_API INT_PTR WINAPI RawWarningDialog(HWND owner, UINT language, void *reserved, LPCSTR title);

/* Register the picture-control classes: ZK7730BMPCLASS (duplex dialog) and OvManualDupClass
 * (manual-feed slot dialog), application-global, for the caller's own dialogs, from any
 * thread. 1 when the class stands registered by this library after the call, 0 when
 * registration failed (another module, or another copy of this library, holds the name).
 * `instance` is ignored: the classes belong to the library's module, whoever asks. The
 * library's own dialogs do not need them: they use classes of the same names local to the
 * library's module. The library unregisters its classes when unloaded. */
DXDLG_API int WINAPI FRegisterBitmapControl(HINSTANCE instance);
DXDLG_API int WINAPI FRegisterBitmapControlMP(HINSTANCE instance);

/* The manual duplex instructions before each pass. `passCode` (low 16 bits): 0 first pass,
 * 1 to 6 second pass. `language` (low 16 bits): a LANGID, or DXDLG_STORED_LANGUAGE.
 * `devMode`: a movable local memory block holding a DEVMODEA, read only as far as LocalSize
 * says (a block that ends before dmDefaultSource does gives -1). The dialog is owned by the
 * thread's active window, else by `owner`; a window of another thread or process is only stood
 * over (the dialog is then unowned and topmost), so that the call never waits for that thread.
 * Returns 1 for OK, 0 for Cancel or when a quit message ended the dialog (the quit is posted
 * again for the caller's loop), -1 when the dialog could not be shown. Without a visible desktop,
 * see the top of this file. */
DXDLG_API int WINAPI OpenDuplexDlg(void *unused1, HWND owner, int unused3, UINT passCode,
                                   UINT language, HLOCAL devMode, void *unused7,
                                   const DriverPrivateSettings *settings);

/* The manual-feed slot instructions, owned or stood over as OpenDuplexDlg's. Returns 1 for OK, 0
 * for Cancel or a quit message, -1 when the dialog could not be shown. */
DXDLG_API INT_PTR WINAPI OpenDuplexDlgMP(void *unused1, HWND owner, int unused3, UINT language,
                                         void *unused5, void *unused6);

/* The exports' types, for a caller that loads the library itself and finds the exports with
 * GetProcAddress, by name or by the ordinal above:
 *   PFN_OpenDuplexDlg openDuplex = (PFN_OpenDuplexDlg)GetProcAddress(module, "OpenDuplexDlg"); */
typedef INT_PTR (WINAPI *PFN_DiskFulErrorDialog)(HWND owner, UINT language, void *reserved, LPCSTR title);
typedef int (WINAPI *PFN_FRegisterBitmapControl)(HINSTANCE instance);
typedef int (WINAPI *PFN_FRegisterBitmapControlMP)(HINSTANCE instance);
typedef INT_PTR (WINAPI *PFN_MemfullErrorDialog)(HWND owner, UINT language, void *reserved, LPCSTR title);
typedef int (WINAPI *PFN_OpenDuplexDlg)(void *unused1, HWND owner, int unused3, UINT passCode,
                                        UINT language, HLOCAL devMode, void *unused7,
                                        const DriverPrivateSettings *settings);
typedef INT_PTR (WINAPI *PFN_OpenDuplexDlgMP)(void *unused1, HWND owner, int unused3, UINT language,
                                              void *unused5, void *unused6);
typedef INT_PTR (WINAPI *PFN_RawWarningDialog)(HWND owner, UINT language, void *reserved, LPCSTR title);

#ifdef __cplusplus
}
#endif

#endif /* DXDLG_H */
