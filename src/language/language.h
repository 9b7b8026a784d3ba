/* The dialogs' languages: the language a call asks for, what each language identifier selects
 * in every dialog (its duplex column and its templates), and the duplex dialog's texts by
 * column. */
#ifndef DXDLG_LANGUAGE_H
#define DXDLG_LANGUAGE_H

#include <stddef.h>
#include <windows.h>

typedef unsigned int LanguageIndex;

/* The duplex dialog's columns of texts. */
enum {
    LanguageDutch, LanguageFrench, LanguageGerman, LanguageItalian, LanguageNorwegian,
    LanguageSwedish, LanguageEnglish, LanguageSpanish, LanguageDanish, LanguagePortugueseBrazil,
    LanguageJapanese, LanguageFinnish, LanguageKorean, LanguageChinese, LanguagePortuguesePortugal,
    LanguageCount
};

/* The timed notices, in the order of a row's templates. */
enum { RawWarningNotice, MemoryFullNotice, DiskFullNotice, NoticeKindCount };

/* What one language identifier selects. */
struct LanguageRow {
    WORD language;                          /* a LANGID: primary language and sublanguage */
    BYTE column;                            /* the duplex dialog's texts (a LanguageIndex) */
    BYTE manualFeedColumn;                  /* the language of the slot template's texts */
    WORD manualFeedTemplate;                /* the manual-feed slot dialog */
    WORD noticeTemplates[NoticeKindCount];  /* by RawWarningNotice, MemoryFullNotice, ... */
};

/* One row per identifier, the English (United States) row first; the first row of each column
 * is its main language. */
extern const LanguageRow LanguageRows[];
extern const size_t LanguageRowCount;

/* The row of a language identifier, compared whole (primary language and sublanguage); every
 * identifier without a row of its own selects the first, English, one. Never null. */
const LanguageRow *SelectLanguage(WORD language);

/* String identifiers of the duplex dialog's texts in a column. manualFeed and secondPass are
 * 0 or 1. */
UINT InstructionTextId(LanguageIndex column, int manualFeed, int secondPass);
UINT CaptionTextId(LanguageIndex column);
UINT OkTextId(LanguageIndex column);
UINT CancelTextId(LanguageIndex column);

/* The sentences that say what each of the duplex dialogs' illustrations shows, in the order
 * of the duplex room's pictures. */
enum { PictureSentenceCount = 7 };

/* String identifier of the sentence that says what a picture shows, in a column's language. */
UINT PictureTextId(LanguageIndex column, int picture);

/* The language that a dialog call asks for: its low 16 bits, where DXDLG_STORED_LANGUAGE asks
 * for the stored countryCode's. */
WORD RequestedLanguage(UINT language);

#endif
