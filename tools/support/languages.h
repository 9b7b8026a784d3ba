// Language identifiers with a tag and a name for people: the tools take a language by either and
// label what they show with both. What an identifier selects, and the list of the duplex
// dialog's columns, come from the library's own table (language/language.h).
#pragma once

#include <windows.h>

#include "language/language.h"

namespace dxdesk {

struct Language {
    WORD id;           // Windows language identifier
    const char *tag;   // short name accepted on command lines
    const char *name;  // English name
};

// Every identifier of the library's table, and a few that it does not list (2057, 3079), in the
// order of the duplex dialog's language columns.
extern const Language kLanguages[];
extern const int kLanguageCount;

// The main identifier of a duplex column (0 to LanguageCount - 1): its first in the library's
// table.
WORD DuplexColumnLanguage(LanguageIndex column);

// The entry for an identifier, or null.
const Language *FindLanguage(WORD id);
// Parses a language given as a tag of the table ("ja", "pt-PT"), a locale name the system knows
// ("de-AT"), a decimal or 0x-hexadecimal identifier, or "stored" (DXDLG_STORED_LANGUAGE). False when it is none.
bool ParseLanguage(const char *text, WORD *id);

}  // namespace dxdesk
