/*
 * The dialogs' languages: one row per language identifier with everything that differs by
 * language (the duplex texts' column, the manual-feed slot template and the language of its
 * texts, the notices' templates), and the duplex dialog's string identifiers by column.
 */
#include "language/language.h"

#include "base/settings.h"
#include "dxdlg.h"
#include "resource.h"

/* What every dialog shows for a language identifier: everything that differs by language is
 * here. To add a language, add its row (and the column, strings and templates it names). The
 * first row serves every identifier without a row of its own; a column's first row is its main
 * language. Danish, Portuguese (Brazil) and Japanese have manual-feed templates of their own
 * with English texts, and the languages without a template of their own show the English one:
 * their slot dialog's picture is described in English, the language of its texts. Dutch has a
 * raw warning of its own but English memory-full and disk-full notices. */
extern const LanguageRow LanguageRows[] = {
    /* identifier, duplex column, the language of the manual-feed slot template's texts, that
     * template, {raw warning, memory full, disk full} */
    {1033, LanguageEnglish, LanguageEnglish, IDD_MANUALFEED_ENGLISH,              /* English (US) */
     {IDD_RAWWARNING_ENGLISH, IDD_MEMFULL_ENGLISH, IDD_DISKFULL_ENGLISH}},
    {1043, LanguageDutch, LanguageDutch, IDD_MANUALFEED_DUTCH,                           /* Dutch */
     {IDD_RAWWARNING_DUTCH, IDD_MEMFULL_ENGLISH, IDD_DISKFULL_ENGLISH}},
    {2067, LanguageDutch, LanguageDutch, IDD_MANUALFEED_DUTCH,                 /* Dutch (Belgium) */
     {IDD_RAWWARNING_DUTCH, IDD_MEMFULL_ENGLISH, IDD_DISKFULL_ENGLISH}},
    {1036, LanguageFrench, LanguageFrench, IDD_MANUALFEED_FRENCH,                       /* French */
     {IDD_RAWWARNING_FRENCH, IDD_MEMFULL_FRENCH, IDD_DISKFULL_FRENCH}},
    {2060, LanguageFrench, LanguageFrench, IDD_MANUALFEED_FRENCH,             /* French (Belgium) */
     {IDD_RAWWARNING_FRENCH, IDD_MEMFULL_FRENCH, IDD_DISKFULL_FRENCH}},
    {3084, LanguageFrench, LanguageFrench, IDD_MANUALFEED_FRENCH,              /* French (Canada) */
     {IDD_RAWWARNING_FRENCH, IDD_MEMFULL_FRENCH, IDD_DISKFULL_FRENCH}},
    {4108, LanguageFrench, LanguageFrench, IDD_MANUALFEED_FRENCH,         /* French (Switzerland) */
     {IDD_RAWWARNING_FRENCH, IDD_MEMFULL_FRENCH, IDD_DISKFULL_FRENCH}},
    {1031, LanguageGerman, LanguageGerman, IDD_MANUALFEED_GERMAN,                       /* German */
     {IDD_RAWWARNING_GERMAN, IDD_MEMFULL_GERMAN, IDD_DISKFULL_GERMAN}},
    {2055, LanguageGerman, LanguageGerman, IDD_MANUALFEED_GERMAN,         /* German (Switzerland) */
     {IDD_RAWWARNING_GERMAN, IDD_MEMFULL_GERMAN, IDD_DISKFULL_GERMAN}},
    {1040, LanguageItalian, LanguageItalian, IDD_MANUALFEED_ITALIAN,                   /* Italian */
     {IDD_RAWWARNING_ITALIAN, IDD_MEMFULL_ITALIAN, IDD_DISKFULL_ITALIAN}},
    {2064, LanguageItalian, LanguageItalian, IDD_MANUALFEED_ITALIAN,     /* Italian (Switzerland) */
     {IDD_RAWWARNING_ITALIAN, IDD_MEMFULL_ITALIAN, IDD_DISKFULL_ITALIAN}},
    {1044, LanguageNorwegian, LanguageNorwegian, IDD_MANUALFEED_NORWEGIAN,  /* Norwegian (Bokmal) */
     {IDD_RAWWARNING_NORWEGIAN, IDD_MEMFULL_NORWEGIAN, IDD_DISKFULL_NORWEGIAN}},
    {2068, LanguageNorwegian, LanguageNorwegian, IDD_MANUALFEED_NORWEGIAN, /* Norwegian (Nynorsk) */
     {IDD_RAWWARNING_NORWEGIAN, IDD_MEMFULL_NORWEGIAN, IDD_DISKFULL_NORWEGIAN}},
    {1053, LanguageSwedish, LanguageSwedish, IDD_MANUALFEED_SWEDISH,                   /* Swedish */
     {IDD_RAWWARNING_SWEDISH, IDD_MEMFULL_SWEDISH, IDD_DISKFULL_SWEDISH}},
    {1034, LanguageSpanish, LanguageSpanish, IDD_MANUALFEED_SPANISH,                   /* Spanish */
     {IDD_RAWWARNING_SPANISH, IDD_MEMFULL_SPANISH, IDD_DISKFULL_SPANISH}},
    {1030, LanguageDanish, LanguageEnglish, IDD_MANUALFEED_DANISH,                      /* Danish */
     {IDD_RAWWARNING_DANISH, IDD_MEMFULL_DANISH, IDD_DISKFULL_DANISH}},
    {1046, LanguagePortugueseBrazil, LanguageEnglish, IDD_MANUALFEED_PORTUGUESE_BRAZIL,
    /* Portuguese (Brazil) */
     {IDD_RAWWARNING_PORTUGUESE_BRAZIL, IDD_MEMFULL_PORTUGUESE_BRAZIL,
      IDD_DISKFULL_PORTUGUESE_BRAZIL}},
    {1041, LanguageJapanese, LanguageEnglish, IDD_MANUALFEED_JAPANESE,                /* Japanese */
     {IDD_RAWWARNING_ENGLISH, IDD_MEMFULL_ENGLISH, IDD_DISKFULL_ENGLISH}},
    {1035, LanguageFinnish, LanguageEnglish, IDD_MANUALFEED_ENGLISH,                   /* Finnish */
     {IDD_RAWWARNING_ENGLISH, IDD_MEMFULL_ENGLISH, IDD_DISKFULL_ENGLISH}},
    {1042, LanguageKorean, LanguageEnglish, IDD_MANUALFEED_ENGLISH,                     /* Korean */
     {IDD_RAWWARNING_ENGLISH, IDD_MEMFULL_ENGLISH, IDD_DISKFULL_ENGLISH}},
    {2066, LanguageKorean, LanguageEnglish, IDD_MANUALFEED_ENGLISH,             /* Korean (Johab) */
     {IDD_RAWWARNING_ENGLISH, IDD_MEMFULL_ENGLISH, IDD_DISKFULL_ENGLISH}},
    {2052, LanguageChinese, LanguageEnglish, IDD_MANUALFEED_ENGLISH,      /* Chinese (simplified) */
     {IDD_RAWWARNING_ENGLISH, IDD_MEMFULL_ENGLISH, IDD_DISKFULL_ENGLISH}},
    {2070, LanguagePortuguesePortugal, LanguageEnglish, IDD_MANUALFEED_ENGLISH,
    /* Portuguese (Portugal) */
     {IDD_RAWWARNING_ENGLISH, IDD_MEMFULL_ENGLISH, IDD_DISKFULL_ENGLISH}},
};

extern const size_t LanguageRowCount = sizeof(LanguageRows) / sizeof(LanguageRows[0]);

enum {
    RowCassetteFirst, RowCassetteSecond, RowManualFeedFirst, RowManualFeedSecond,
    RowCaption, RowOk, RowCancel,
    RowPictures, /* PictureSentenceCount rows: what each illustration shows */
    TextRowCount = RowPictures + PictureSentenceCount
};

/* A column's strings by row, from their names in resource.h. */
#define COLUMN_TEXTS(language)                                                                 \
    {IDS_##language##_CASSETTE_FIRST, IDS_##language##_CASSETTE_SECOND,                        \
     IDS_##language##_MANUALFEED_FIRST, IDS_##language##_MANUALFEED_SECOND,                    \
     IDS_##language##_CAPTION, IDS_##language##_OK, IDS_##language##_CANCEL,                  \
     IDS_##language##_PICTURE_CASSETTE_FIRST, IDS_##language##_PICTURE_CASSETTE_SECOND_1,      \
     IDS_##language##_PICTURE_CASSETTE_SECOND_2, IDS_##language##_PICTURE_MANUALFEED_FIRST,    \
     IDS_##language##_PICTURE_MANUALFEED_SECOND_1, IDS_##language##_PICTURE_MANUALFEED_SECOND_2, \
     IDS_##language##_PICTURE_MANUALFEED_SLOT}

/* String identifiers by column, in column order. They follow no formula, and Finnish's name no
 * strings at all: the dialog shows English in their place. A string's identifier is 16 bits. */
static const WORD DuplexTextTable[LanguageCount][TextRowCount] = {
    COLUMN_TEXTS(DUTCH),
    COLUMN_TEXTS(FRENCH),
    COLUMN_TEXTS(GERMAN),
    COLUMN_TEXTS(ITALIAN),
    COLUMN_TEXTS(NORWEGIAN),
    COLUMN_TEXTS(SWEDISH),
    COLUMN_TEXTS(ENGLISH),
    COLUMN_TEXTS(SPANISH),
    COLUMN_TEXTS(DANISH),
    COLUMN_TEXTS(PORTUGUESE_BRAZIL),
    COLUMN_TEXTS(JAPANESE),
    COLUMN_TEXTS(FINNISH),
    COLUMN_TEXTS(KOREAN),
    COLUMN_TEXTS(CHINESE),
    COLUMN_TEXTS(PORTUGUESE_PORTUGAL),
};

WORD RequestedLanguage(UINT language)
{
    WORD requested = LOWORD(language);
    return requested == DXDLG_STORED_LANGUAGE ? LOWORD(countryCode) : requested;
}

const LanguageRow *SelectLanguage(WORD language)
{
    for (size_t i = 0; i < LanguageRowCount; i++)
        if (LanguageRows[i].language == language)
            return &LanguageRows[i];
    return &LanguageRows[0];
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

UINT PictureTextId(LanguageIndex column, int picture)
{
    if (picture < 0 || picture >= PictureSentenceCount)
        picture = 0;
    return TextId(column, RowPictures + picture);
}
