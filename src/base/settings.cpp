/* The settings store: three values of one registry key, read once by the first dialog call. */
#include "base/settings.h"

#include "dxdlg.h"

DWORD countryCode;
DWORD ShowEveryLanguage;
DWORD RawDlgTimeout;
DWORD ErrDlgTimeout;

/* Where the registry cannot be read. */
static const DWORD FallbackCountryCode = 2057;      /* English (United Kingdom) */

/* Reads one REG_DWORD-sized value into *field. The registry matches value names without
 * regard to letter case, so "CountryCode" serves as "countryCode". Only numbers count: data of
 * one to four bytes of type REG_DWORD or REG_BINARY lands in the field's low-order bytes. A value
 * of another type (a string "500" would read as 3,157,045), with no data or with longer data is
 * left in the registry as it is and the field takes the default. A missing value takes the
 * default, which is written back when the key is writable. */
static void LookupSetting(HKEY key, BOOL writable, const char *name, DWORD *field, DWORD fallback)
{
    DWORD data = 0, size = sizeof(data), type = 0;
    LONG status = RegQueryValueExA(key, name, NULL, &type, (BYTE *)&data, &size);

    if (status == ERROR_SUCCESS && size > 0 && (type == REG_DWORD || type == REG_BINARY)) {
        *field = data;
        return;
    }
    *field = fallback;
    if (status == ERROR_FILE_NOT_FOUND && writable)
        RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE *)field, sizeof(*field));
}

static void LoadSettingsFromKey(HKEY key, BOOL writable)
{
    LookupSetting(key, writable, DXDLG_COUNTRY_CODE, &countryCode, GetUserDefaultLangID());
    ShowEveryLanguage = countryCode == DXDLG_EVERY_LANGUAGE ? 1 : 0;
    LookupSetting(key, writable, DXDLG_RAW_TIMEOUT, &RawDlgTimeout, DXDLG_DEFAULT_RAW_TIMEOUT);
    LookupSetting(key, writable, DXDLG_ERR_TIMEOUT, &ErrDlgTimeout, DXDLG_DEFAULT_ERR_TIMEOUT);

    /* A stored "never" would hold a memory- or disk-full notice on screen for good. */
    if (ErrDlgTimeout == DXDLG_NEVER_TIMES_OUT) {
        ErrDlgTimeout = DXDLG_DEFAULT_ERR_TIMEOUT;
        if (writable)
            RegSetValueExA(key, DXDLG_ERR_TIMEOUT, 0, REG_DWORD, (const BYTE *)&ErrDlgTimeout,
                           sizeof(ErrDlgTimeout));
    }
}

void LoadSettings(void)
{
    HKEY key;
    DWORD disposition;

    BOOL writable = RegCreateKeyExA(HKEY_LOCAL_MACHINE, DXDLG_SETTINGS_KEY, 0, (LPSTR) "",
                                    REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &key,
                                    &disposition) == ERROR_SUCCESS;
    /* An ordinary user may read the local machine's software key but not write it. */
    if (writable ||
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, DXDLG_SETTINGS_KEY, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        LoadSettingsFromKey(key, writable);
        RegCloseKey(key);
        return;
    }
    countryCode = FallbackCountryCode;
    ShowEveryLanguage = 0;
    RawDlgTimeout = DXDLG_DEFAULT_RAW_TIMEOUT;
    ErrDlgTimeout = DXDLG_DEFAULT_ERR_TIMEOUT;
}

static INIT_ONCE SettingsRead = INIT_ONCE_STATIC_INIT;

static BOOL CALLBACK ReadSettings(PINIT_ONCE once, PVOID parameter, PVOID *context)
{
    (void)once; (void)parameter; (void)context;
    LoadSettings();
    return TRUE;
}

void LoadSettingsOnce(void)
{
    InitOnceExecuteOnce(&SettingsRead, ReadSettings, NULL, NULL);
}
