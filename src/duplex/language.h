/* The duplex dialog's fifteen language columns and the tables that hang off them. */
#ifndef DXDLG_LANGUAGE_H
#define DXDLG_LANGUAGE_H

#include <windows.h>

typedef unsigned int LanguageIndex;

enum {
    LanguageDutch, LanguageFrench, LanguageGerman, LanguageItalian, LanguageNorwegian,
    LanguageSwedish, LanguageEnglish, LanguageSpanish, LanguageDanish, LanguagePortugueseBrazil,
    LanguageJapanese, LanguageFinnish, LanguageKorean, LanguageChinese, LanguagePortuguesePortugal,
    LanguageCount
};

/* The column of a language identifier, compared whole (primary and sublanguage); English
 * for every identifier without a column of its own. */
LanguageIndex SelectLanguageIndex(WORD language);

/* String identifiers of the duplex dialog's texts in a column. manualFeed and secondPass are
 * 0 or 1. */
UINT InstructionTextId(LanguageIndex column, int manualFeed, int secondPass);
UINT CaptionTextId(LanguageIndex column);
UINT OkTextId(LanguageIndex column);
UINT CancelTextId(LanguageIndex column);

/* 0 selects the second pass's D1 illustration, 1 the D2 one, before the driver's inversions.
 * Pass codes without an entry (above 6) give 0. */
int TurnOverEntry(BOOL portrait, WORD passCode);

#endif
