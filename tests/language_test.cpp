// The language table (what each identifier selects) and the duplex dialog's text identifiers.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "language/language.h"
#include "resource.h"

namespace {

// The four templates that a row names.
std::vector<WORD> TemplatesOf(const LanguageRow *row)
{
    std::vector<WORD> templates(1, row->manualFeedTemplate);
    templates.insert(templates.end(), row->noticeTemplates, row->noticeTemplates + NoticeKindCount);
    return templates;
}

BOOL CALLBACK CountTag(HMODULE, LPCWSTR, LPCWSTR, WORD, LONG_PTR count)
{
    ++*reinterpret_cast<int *>(count);
    return TRUE;
}

// Every identifier, listed or not, selects a column and templates that the DLL holds, each under
// one language tag, where the dialog manager finds it.
TEST(LanguageTable, EveryIdentifierSelectsTemplatesThatTheDllHolds)
{
    HMODULE dll = LoadLibraryExW(L"dxdlg.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(dll, nullptr);
    std::set<WORD> selected;
    for (UINT language = 0; language <= 0xFFFF; language++) {
        const LanguageRow *row = SelectLanguage(WORD(language));
        ASSERT_NE(row, nullptr);
        ASSERT_LT(row->column, UINT(LanguageCount)) << "language " << language;
        for (WORD id : TemplatesOf(row))
            selected.insert(id);
    }
    for (WORD id : selected) {
        int tags = 0;
        EnumResourceLanguagesW(dll, MAKEINTRESOURCEW(5) /* RT_DIALOG */, MAKEINTRESOURCEW(id), CountTag,
                               LONG_PTR(&tags));
        EXPECT_EQ(tags, 1) << "template " << id;
        EXPECT_NE(FindResourceW(dll, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5)), nullptr) << "template " << id;
    }
    // The catalogue's 56 templates but the two duplex ones, the administrative one, the nine older
    // manual-feed ones, the three Japanese notices and the Dutch memory-full and disk-full ones.
    EXPECT_EQ(selected.size(), 39u);
    FreeLibrary(dll);
}

// Each identifier has one row, which changes something from English's; each column has rows.
TEST(LanguageTable, EveryRowCountsAndEveryColumnHasOne)
{
    const LanguageRow *english = SelectLanguage(1033);
    EXPECT_EQ(english->column, UINT(LanguageEnglish));
    std::set<WORD> identifiers;
    std::set<LanguageIndex> columns;
    for (size_t i = 0; i < LanguageRowCount; i++) {
        const LanguageRow &row = LanguageRows[i];
        EXPECT_TRUE(identifiers.insert(row.language).second) << "a second row for " << row.language;
        EXPECT_EQ(SelectLanguage(row.language), &row);
        columns.insert(row.column);
        if (&row != english) {
            EXPECT_TRUE(row.column != english->column || TemplatesOf(&row) != TemplatesOf(english))
                << "the row of " << row.language << " selects what English does";
        }
    }
    EXPECT_EQ(columns.size(), size_t(LanguageCount));
}

TEST(LanguageTable, IdentifiersAreComparedWholeAndUnlistedOnesAreEnglish)
{
    const LanguageRow *english = SelectLanguage(1033);
    // German (Austria): no masking to German; English (United Kingdom); German's primary
    // language alone; Chinese (Taiwan).
    for (WORD language : {3079, 2057, 0, 0xFFFF, 7, 1028})
        EXPECT_EQ(SelectLanguage(language), english) << "language " << language;
    EXPECT_EQ(SelectLanguage(0x0816)->column, UINT(LanguagePortuguesePortugal));
    EXPECT_EQ(SelectLanguage(2067)->column, UINT(LanguageDutch));
    EXPECT_EQ(SelectLanguage(2066)->column, UINT(LanguageKorean));
    EXPECT_EQ(SelectLanguage(1035)->column, UINT(LanguageFinnish));
    // Dutch has a raw warning of its own, and English memory-full and disk-full notices.
    const LanguageRow *dutch = SelectLanguage(1043);
    EXPECT_EQ(dutch->noticeTemplates[RawWarningNotice], IDD_RAWWARNING_DUTCH);
    EXPECT_EQ(dutch->noticeTemplates[MemoryFullNotice], english->noticeTemplates[MemoryFullNotice]);
    EXPECT_EQ(dutch->noticeTemplates[DiskFullNotice], english->noticeTemplates[DiskFullNotice]);
}

TEST(TextTable, RowsFollowLayoutAndPass)
{
    EXPECT_EQ(InstructionTextId(LanguageEnglish, 0, 0), 1u);
    EXPECT_EQ(InstructionTextId(LanguageEnglish, 0, 1), 2u);
    EXPECT_EQ(InstructionTextId(LanguageEnglish, 1, 0), 3u);
    EXPECT_EQ(InstructionTextId(LanguageEnglish, 1, 1), 4u);
    EXPECT_EQ(CaptionTextId(LanguageEnglish), 54u);
    EXPECT_EQ(OkTextId(LanguageEnglish), 65u);
    EXPECT_EQ(CancelTextId(LanguageEnglish), 76u);
}

TEST(TextTable, ColumnsThatBreakThePattern)
{
    // Italian's strings come after Swedish ones in the tables, though its column comes before.
    EXPECT_EQ(InstructionTextId(LanguageItalian, 0, 0), 36u);
    EXPECT_EQ(CaptionTextId(LanguageItalian), 61u);
    EXPECT_EQ(InstructionTextId(LanguageNorwegian, 0, 0), 21u);
    // Portuguese (Portugal): 33459, not 33454, for the manual-feed second pass.
    EXPECT_EQ(InstructionTextId(LanguagePortuguesePortugal, 1, 1), 33459u);
    EXPECT_EQ(InstructionTextId(LanguagePortuguesePortugal, 1, 0), 33453u);
    EXPECT_EQ(CaptionTextId(LanguagePortuguesePortugal), 33457u);
    EXPECT_EQ(OkTextId(LanguagePortuguesePortugal), 33455u);
    EXPECT_EQ(CancelTextId(LanguagePortuguesePortugal), 33456u);
    // Japanese buttons come before its caption.
    EXPECT_EQ(OkTextId(LanguageJapanese), 91u);
    EXPECT_EQ(CancelTextId(LanguageJapanese), 92u);
    EXPECT_EQ(CaptionTextId(LanguageJapanese), 93u);
    // Finnish names identifiers that hold no strings.
    EXPECT_EQ(InstructionTextId(LanguageFinnish, 0, 0), 50020u);
    EXPECT_EQ(CaptionTextId(LanguageFinnish), 50026u);
    EXPECT_EQ(OkTextId(LanguageFinnish), 50024u);
    EXPECT_EQ(CancelTextId(LanguageFinnish), 50025u);
    EXPECT_EQ(InstructionTextId(LanguageKorean, 1, 1), 50003u);
    EXPECT_EQ(CaptionTextId(LanguageChinese), 50016u);
}

TEST(TextTable, NoColumnSharesAnIdentifier)
{
    std::vector<UINT> seen;
    for (LanguageIndex column = 0; column < LanguageCount; column++) {
        UINT ids[] = {InstructionTextId(column, 0, 0), InstructionTextId(column, 0, 1),
                      InstructionTextId(column, 1, 0), InstructionTextId(column, 1, 1),
                      CaptionTextId(column), OkTextId(column), CancelTextId(column)};
        for (UINT id : ids) {
            EXPECT_EQ(std::count(seen.begin(), seen.end(), id), 0) << "identifier " << id;
            seen.push_back(id);
        }
    }
    EXPECT_EQ(seen.size(), 105u);
}

}  // namespace
