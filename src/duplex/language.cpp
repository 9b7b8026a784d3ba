#include "language.h"

struct LanguageCode {
    WORD language;
    LanguageIndex column;
};

/* Every identifier that selects a column other than English. */
static const LanguageCode LanguageCodes[] = {
    {1043, LanguageDutch},     {2067, LanguageDutch},
    {1036, LanguageFrench},    {2060, LanguageFrench},    {3084, LanguageFrench},
    {4108, LanguageFrench},
    {1031, LanguageGerman},    {2055, LanguageGerman},
    {1040, LanguageItalian},   {2064, LanguageItalian},
    {1044, LanguageNorwegian}, {2068, LanguageNorwegian},
    {1053, LanguageSwedish},
    {1033, LanguageEnglish},
    {1034, LanguageSpanish},
    {1030, LanguageDanish},
    {1046, LanguagePortugueseBrazil},
    {1041, LanguageJapanese},
    {1035, LanguageFinnish},
    {1042, LanguageKorean},    {2066, LanguageKorean},
    {2052, LanguageChinese},
    {2070, LanguagePortuguesePortugal},
};

enum {
    RowCassetteFirst, RowCassetteSecond, RowManualFeedFirst, RowManualFeedSecond,
    RowCaption, RowOk, RowCancel, TextRowCount
};

/* String identifiers by column. They follow no formula: the string tables run in another
 * language order than the columns, and Finnish (50020 to 50026) has no strings at all. */
static const UINT DuplexTextTable[LanguageCount][TextRowCount] = {
    /*  cassette       manual feed    caption  OK     Cancel */
    {6, 7,         8, 9,          55,    66,    77},    /* Dutch */
    {11, 12,       13, 14,        56,    67,    78},    /* French */
    {16, 17,       18, 19,        57,    68,    79},    /* German */
    {36, 37,       38, 39,        61,    72,    83},    /* Italian */
    {21, 22,       23, 24,        58,    69,    80},    /* Norwegian */
    {31, 32,       33, 34,        60,    71,    82},    /* Swedish */
    {1, 2,         3, 4,          54,    65,    76},    /* English */
    {26, 27,       28, 29,        59,    70,    81},    /* Spanish */
    {41, 42,       43, 44,        62,    73,    84},    /* Danish */
    {46, 47,       48, 49,        63,    74,    85},    /* Portuguese (Brazil) */
    {87, 88,       89, 90,        93,    91,    92},    /* Japanese */
    {50020, 50021, 50022, 50023,  50026, 50024, 50025}, /* Finnish */
    {50000, 50001, 50002, 50003,  50006, 50004, 50005}, /* Korean */
    {50010, 50011, 50012, 50013,  50016, 50014, 50015}, /* Chinese (simplified) */
    {33451, 33452, 33453, 33459,  33457, 33455, 33456}, /* Portuguese (Portugal) */
};

enum { TurnOverPassCodes = 7 };

/* By pass code 0 to 6; entry 0 belongs to the first pass, which has no D variant. */
static const int PortraitTurnOverTable[TurnOverPassCodes] = {0, 0, 0, 1, 1, 0, 0};
static const int OtherTurnOverTable[TurnOverPassCodes] = {0, 0, 0, 1, 1, 1, 1};

LanguageIndex SelectLanguageIndex(WORD language)
{
    for (size_t i = 0; i < sizeof(LanguageCodes) / sizeof(LanguageCodes[0]); i++)
        if (LanguageCodes[i].language == language)
            return LanguageCodes[i].column;
    return LanguageEnglish;
}

static UINT TextId(LanguageIndex column, int row)
{
    if (column >= LanguageCount)
        column = LanguageEnglish;
    return DuplexTextTable[column][row];
}

UINT InstructionTextId(LanguageIndex column, int manualFeed, int secondPass)
{
    return TextId(column, 2 * (manualFeed ? 1 : 0) + (secondPass ? 1 : 0));
}

UINT CaptionTextId(LanguageIndex column) { return TextId(column, RowCaption); }
UINT OkTextId(LanguageIndex column) { return TextId(column, RowOk); }
UINT CancelTextId(LanguageIndex column) { return TextId(column, RowCancel); }

int TurnOverEntry(BOOL portrait, WORD passCode)
{
    if (passCode >= TurnOverPassCodes)
        return 0;
    return portrait ? PortraitTurnOverTable[passCode] : OtherTurnOverTable[passCode];
}
