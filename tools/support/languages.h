// The language identifiers that the library's selections name, with a tag and a name for people:
// the tools take a language by either and label what they show with both.
#pragma once

#include <windows.h>

namespace dxdesk {

struct Language {
    WORD id;           // Windows language identifier
    const char *tag;   // short name accepted on command lines
    const char *name;  // English name
};

// Every identifier that some selection of the library names, and a few that it does not
// (2057, 3079), in the order of the duplex dialog's language columns.
extern const Language kLanguages[];
extern const int kLanguageCount;

// The duplex dialog's fifteen language columns, in column order: one identifier each.
extern const WORD kDuplexColumnLanguage[15];

// The entry for an identifier, or null.
const Language *FindLanguage(WORD id);
// Parses a language given as a tag of the table ("ja", "pt-PT"), a locale name the system knows
// ("de-AT"), a decimal or 0x-hexadecimal identifier, or "stored" (0xFFFF). False when it is none.
bool ParseLanguage(const char *text, WORD *id);

}  // namespace dxdesk
