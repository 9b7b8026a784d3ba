#include "languages.h"

#include <cstdlib>
#include <cstring>

#include "dxdlg.h"

namespace dxdesk {

const Language kLanguages[] = {
    {1043, "nl", "Dutch"},
    {2067, "nl-BE", "Dutch (Belgium)"},
    {1036, "fr", "French"},
    {2060, "fr-BE", "French (Belgium)"},
    {3084, "fr-CA", "French (Canada)"},
    {4108, "fr-CH", "French (Switzerland)"},
    {1031, "de", "German"},
    {2055, "de-CH", "German (Switzerland)"},
    {3079, "de-AT", "German (Austria)"},
    {1040, "it", "Italian"},
    {2064, "it-CH", "Italian (Switzerland)"},
    {1044, "no", "Norwegian (Bokmal)"},
    {2068, "nn", "Norwegian (Nynorsk)"},
    {1053, "sv", "Swedish"},
    {1033, "en", "English (United States)"},
    {2057, "en-GB", "English (United Kingdom)"},
    {1034, "es", "Spanish"},
    {1030, "da", "Danish"},
    {1046, "pt-BR", "Portuguese (Brazil)"},
    {1041, "ja", "Japanese"},
    {1035, "fi", "Finnish"},
    {1042, "ko", "Korean"},
    {2066, "ko-Johab", "Korean (Johab)"},
    {2052, "zh", "Chinese (simplified)"},
    {2070, "pt-PT", "Portuguese (Portugal)"},
};
const int kLanguageCount = int(sizeof(kLanguages) / sizeof(kLanguages[0]));

WORD DuplexColumnLanguage(LanguageIndex column)
{
    for (size_t i = 0; i < LanguageRowCount; i++)
        if (LanguageRows[i].column == column)
            return LanguageRows[i].language;
    return 0;
}

const Language *FindLanguage(WORD id)
{
    for (int i = 0; i < kLanguageCount; i++)
        if (kLanguages[i].id == id)
            return &kLanguages[i];
    return nullptr;
}

bool ParseLanguage(const char *text, WORD *id)
{
    static const struct {
        const char *alias;
        WORD id;
    } aliases[] = {{"nb", 1044},    {"pt", 1046}, {"zh-CN", 2052},
                   {"en-US", 1033}, {"stored", DXDLG_STORED_LANGUAGE}};
    for (int i = 0; i < kLanguageCount; i++)
        if (_stricmp(text, kLanguages[i].tag) == 0) {
            *id = kLanguages[i].id;
            return true;
        }
    for (const auto &alias : aliases)
        if (_stricmp(text, alias.alias) == 0) {
            *id = alias.id;
            return true;
        }
    char *end = nullptr;
    unsigned long number = strtoul(text, &end, 0);
    if (*text && end && *end == '\0' && number <= 0xFFFF) {
        *id = WORD(number);
        return true;
    }
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = L"";
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, name, LOCALE_NAME_MAX_LENGTH) == 0)
        return false;
    LCID lcid = LocaleNameToLCID(name, 0);
    // A neutral name ("de") gives a LANGID without sublanguage, which no selection lists.
    if (lcid == 0 || SUBLANGID(LANGIDFROMLCID(lcid)) == 0)
        return false;
    *id = LANGIDFROMLCID(lcid);
    return true;
}

}  // namespace dxdesk
