// The duplex dialog's language columns, text identifiers and turn-over tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "duplex/language.h"

namespace {

TEST(LanguageColumns, EveryListedIdentifierSelectsItsColumn)
{
    struct Case {
        WORD language;
        LanguageIndex column;
    } cases[] = {
        {1043, 0}, {2067, 0}, {1036, 1}, {2060, 1}, {3084, 1}, {4108, 1}, {1031, 2}, {2055, 2},
        {1040, 3}, {2064, 3}, {1044, 4}, {2068, 4}, {1053, 5}, {1033, 6}, {1034, 7}, {1030, 8},
        {1046, 9}, {1041, 10}, {1035, 11}, {1042, 12}, {2066, 12}, {2052, 13}, {2070, 14},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SelectLanguageIndex(c.language), c.column) << "language " << c.language;
}

TEST(LanguageColumns, IdentifiersAreComparedWholeAndUnlistedOnesAreEnglish)
{
    EXPECT_EQ(SelectLanguageIndex(3079), 6u);   // German (Austria): no masking to German
    EXPECT_EQ(SelectLanguageIndex(2057), 6u);   // English (United Kingdom)
    EXPECT_EQ(SelectLanguageIndex(0), 6u);
    EXPECT_EQ(SelectLanguageIndex(0xFFFF), 6u);
    EXPECT_EQ(SelectLanguageIndex(7), 6u);      // German's primary language alone
    EXPECT_EQ(SelectLanguageIndex(1028), 6u);   // Chinese (Taiwan)
    EXPECT_EQ(SelectLanguageIndex(0x0816), 14u);
}

TEST(TextTable, RowsFollowLayoutAndPass)
{
    EXPECT_EQ(InstructionTextId(6, 0, 0), 1u);
    EXPECT_EQ(InstructionTextId(6, 0, 1), 2u);
    EXPECT_EQ(InstructionTextId(6, 1, 0), 3u);
    EXPECT_EQ(InstructionTextId(6, 1, 1), 4u);
    EXPECT_EQ(CaptionTextId(6), 54u);
    EXPECT_EQ(OkTextId(6), 65u);
    EXPECT_EQ(CancelTextId(6), 76u);
}

TEST(TextTable, ColumnsThatBreakThePattern)
{
    // Italian's strings come after Swedish ones in the tables, though its column is 3.
    EXPECT_EQ(InstructionTextId(3, 0, 0), 36u);
    EXPECT_EQ(CaptionTextId(3), 61u);
    EXPECT_EQ(InstructionTextId(4, 0, 0), 21u);
    // Portuguese (Portugal): 33459, not 33454, for the manual-feed second pass.
    EXPECT_EQ(InstructionTextId(14, 1, 1), 33459u);
    EXPECT_EQ(InstructionTextId(14, 1, 0), 33453u);
    EXPECT_EQ(CaptionTextId(14), 33457u);
    EXPECT_EQ(OkTextId(14), 33455u);
    EXPECT_EQ(CancelTextId(14), 33456u);
    // Japanese buttons come before its caption.
    EXPECT_EQ(OkTextId(10), 91u);
    EXPECT_EQ(CancelTextId(10), 92u);
    EXPECT_EQ(CaptionTextId(10), 93u);
    // Finnish names identifiers that hold no strings.
    EXPECT_EQ(InstructionTextId(11, 0, 0), 50020u);
    EXPECT_EQ(CaptionTextId(11), 50026u);
    EXPECT_EQ(OkTextId(11), 50024u);
    EXPECT_EQ(CancelTextId(11), 50025u);
    EXPECT_EQ(InstructionTextId(12, 1, 1), 50003u);
    EXPECT_EQ(CaptionTextId(13), 50016u);
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

TEST(TurnOver, PortraitAndOtherOrientationTables)
{
    const int portrait[] = {0, 0, 0, 1, 1, 0, 0};
    const int other[] = {0, 0, 0, 1, 1, 1, 1};
    for (WORD pass = 0; pass < 7; pass++) {
        EXPECT_EQ(TurnOverEntry(TRUE, pass), portrait[pass]) << "pass " << pass;
        EXPECT_EQ(TurnOverEntry(FALSE, pass), other[pass]) << "pass " << pass;
    }
}

TEST(TurnOver, PassCodesBeyondTheTablesGiveD1)
{
    for (WORD pass : {7, 8, 100, 0xFFFF}) {
        EXPECT_EQ(TurnOverEntry(TRUE, pass), 0) << "pass " << pass;
        EXPECT_EQ(TurnOverEntry(FALSE, pass), 0) << "pass " << pass;
    }
}

}  // namespace
