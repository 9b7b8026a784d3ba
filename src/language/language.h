/* The dialogs' languages: what each language identifier selects in every dialog (its duplex
 * column and its templates), and the duplex dialog's texts by column. */
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
    LanguageIndex column;                   /* the duplex dialog's texts */
    WORD manualFeedTemplate;                /* the manual-feed slot dialog */
    LanguageIndex manualFeedColumn;         /* the language of that template's texts */
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

/* The duplex dialogs' illustrations: by layout (cassette, manual-feed slot), the first pass's,
 * then the second pass's two (D1, D2); last the manual-feed slot dialog's, which shows the
 * manual-feed first pass's bitmap and is described in the words of that dialog's template. */
enum {
    PictureCassetteFirst, PictureCassetteSecond1, PictureCassetteSecond2,
    PictureManualFeedFirst, PictureManualFeedSecond1, PictureManualFeedSecond2,
    PictureManualFeedSlot, PictureCount
};

/* String identifier of the sentence that says what a picture shows, in a column's language. */
UINT PictureTextId(LanguageIndex column, int picture);

/* 0 selects the second pass's D1 illustration, 1 the D2 one, before the driver's inversions.
 * Pass codes without an entry (above 6) give 0. */
int TurnOverEntry(BOOL portrait, WORD passCode);

#endif
