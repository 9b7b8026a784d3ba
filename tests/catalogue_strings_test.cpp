// The string tables of the built DLL, read through the platform's own resource functions: which
// identifiers hold a string, which language versions of the blocks exist, that every string
// loads whatever the thread's language, and the texts themselves.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "harness.h"
#include "duplex/duplex.h"
#include "language/language.h"
#include "resource.h"

using dxtest::Wide;

namespace {

// Every identifier that holds a string: each that the dialogs name (the texts of every language
// but Finnish, whose identifiers hold none; the seventh picture sentence only for the languages
// whose slot template has texts of its own), and the fillers between the tables, which nothing
// names: "dummy" between the instruction texts and before the captions, "a" before the OK and
// Cancel rows and the Japanese texts.
const UINT kDummyFillers[] = {5, 10, 15, 20, 25, 30, 35, 40, 45, 53}, kAFillers[] = {64, 75, 86};
std::set<UINT> ExpectedIdentifiers()
{
    std::set<UINT> ids(std::begin(kDummyFillers), std::end(kDummyFillers));
    ids.insert(std::begin(kAFillers), std::end(kAFillers));
    for (LanguageIndex column = 0; column < LanguageCount; column++) {
        if (column == LanguageFinnish)
            continue;
        for (UINT id : {InstructionTextId(column, 0, 0), InstructionTextId(column, 0, 1),
                        InstructionTextId(column, 1, 0), InstructionTextId(column, 1, 1),
                        CaptionTextId(column), OkTextId(column), CancelTextId(column)})
            ids.insert(id);
        for (int picture = 0; picture < PictureManualFeedSlot; picture++)
            ids.insert(PictureTextId(column, picture));
    }
    for (size_t i = 0; i < LanguageRowCount; i++)
        ids.insert(PictureTextId(LanguageRows[i].manualFeedColumn, PictureManualFeedSlot));
    return ids;
}

const LPCWSTR kStringBlocks = MAKEINTRESOURCEW(6);  // RT_STRING

std::set<UINT> Difference(const std::set<UINT> &a, const std::set<UINT> &b)
{
    std::set<UINT> rest;
    for (UINT id : a)
        if (!b.count(id))
            rest.insert(id);
    return rest;
}

std::string Listed(const std::set<UINT> &ids)
{
    std::string list;
    for (UINT id : ids)
        list += (list.empty() ? "" : " ") + std::to_string(id);
    return list;
}

struct Catalogue {
    HMODULE module = nullptr;
    std::map<WORD, std::vector<LANGID>> versions;   // block -> language tags stored for it
    std::map<UINT, std::wstring> texts;             // identifier -> text, over every version
    int duplicates = 0;                             // identifiers stored in more than one version
};

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR name, WORD language, LONG_PTR param)
{
    auto *catalogue = reinterpret_cast<Catalogue *>(param);
    WORD block = WORD(reinterpret_cast<ULONG_PTR>(name));
    catalogue->versions[block].push_back(language);
    HRSRC found = FindResourceExW(catalogue->module, kStringBlocks, name, language);
    const WORD *entry = found ? static_cast<const WORD *>(
                                    LockResource(LoadResource(catalogue->module, found)))
                              : nullptr;
    if (!entry) {
        ADD_FAILURE() << "block " << block << " language " << language << " does not load";
        return TRUE;
    }
    // Sixteen entries, each a count of UTF-16 units and the units, without terminator.
    for (UINT i = 0; i < 16; i++) {
        WORD count = *entry++;
        if (count) {
            UINT id = (block - 1u) * 16u + i;
            catalogue->duplicates += catalogue->texts.count(id) ? 1 : 0;
            catalogue->texts[id].assign(reinterpret_cast<const wchar_t *>(entry), count);
        }
        entry += count;
    }
    return TRUE;
}

BOOL CALLBACK AddBlock(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param)
{
    EXPECT_TRUE(IS_INTRESOURCE(name)) << "a string block with a name";
    EnumResourceLanguagesW(module, type, name, AddLanguage, param);
    return TRUE;
}

class CatalogueStrings : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        cat.module = LoadLibraryExW(L"dxdlg.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(cat.module, nullptr) << "error " << GetLastError();
        EXPECT_TRUE(EnumResourceNamesW(cat.module, kStringBlocks, AddBlock,
                                       reinterpret_cast<LONG_PTR>(&cat)));
    }
    static void TearDownTestSuite()
    {
        FreeLibrary(cat.module);
        cat = Catalogue();
    }
    // The text that LoadStringW finds for an identifier in the block version the loader picks.
    static bool Load(UINT id, std::wstring *text)
    {
        const wchar_t *units = nullptr;
        int length = LoadStringW(cat.module, id, reinterpret_cast<LPWSTR>(&units), 0);
        if (length <= 0 || !units)
            return false;
        text->assign(units, size_t(length));
        return true;
    }
    static const std::wstring &Text(UINT id) { return cat.texts[id]; }
    static Catalogue cat;
};
Catalogue CatalogueStrings::cat;

// Per language: the four instruction texts (cassette first and second pass, manual-feed slot
// first and second pass), how its steps are numbered and separated, and whether its texts end in
// a line feed.
struct Language {
    const char *name;
    UINT ids[4];
    const wchar_t *stepMark;   // follows the step's number
    bool emptyLineBetweenSteps;
    bool endsInLineFeed;
};
const Language kLanguages[] = {
    {"English",
     {IDS_ENGLISH_CASSETTE_FIRST, IDS_ENGLISH_CASSETTE_SECOND,
      IDS_ENGLISH_MANUALFEED_FIRST, IDS_ENGLISH_MANUALFEED_SECOND},
     L")", true, true},
    {"Dutch",
     {IDS_DUTCH_CASSETTE_FIRST, IDS_DUTCH_CASSETTE_SECOND,
      IDS_DUTCH_MANUALFEED_FIRST, IDS_DUTCH_MANUALFEED_SECOND},
     L")", true, true},
    {"French",
     {IDS_FRENCH_CASSETTE_FIRST, IDS_FRENCH_CASSETTE_SECOND,
      IDS_FRENCH_MANUALFEED_FIRST, IDS_FRENCH_MANUALFEED_SECOND},
     L")", true, true},
    {"German",
     {IDS_GERMAN_CASSETTE_FIRST, IDS_GERMAN_CASSETTE_SECOND,
      IDS_GERMAN_MANUALFEED_FIRST, IDS_GERMAN_MANUALFEED_SECOND},
     L")", true, true},
    {"Norwegian",
     {IDS_NORWEGIAN_CASSETTE_FIRST, IDS_NORWEGIAN_CASSETTE_SECOND,
      IDS_NORWEGIAN_MANUALFEED_FIRST, IDS_NORWEGIAN_MANUALFEED_SECOND},
     L". ", true, true},
    {"Spanish",
     {IDS_SPANISH_CASSETTE_FIRST, IDS_SPANISH_CASSETTE_SECOND,
      IDS_SPANISH_MANUALFEED_FIRST, IDS_SPANISH_MANUALFEED_SECOND},
     L")", true, true},
    {"Swedish",
     {IDS_SWEDISH_CASSETTE_FIRST, IDS_SWEDISH_CASSETTE_SECOND,
      IDS_SWEDISH_MANUALFEED_FIRST, IDS_SWEDISH_MANUALFEED_SECOND},
     L")", true, true},
    {"Italian",
     {IDS_ITALIAN_CASSETTE_FIRST, IDS_ITALIAN_CASSETTE_SECOND,
      IDS_ITALIAN_MANUALFEED_FIRST, IDS_ITALIAN_MANUALFEED_SECOND},
     L")", true, true},
    {"Danish",
     {IDS_DANISH_CASSETTE_FIRST, IDS_DANISH_CASSETTE_SECOND,
      IDS_DANISH_MANUALFEED_FIRST, IDS_DANISH_MANUALFEED_SECOND},
     L") ", true, true},
    {"Portuguese (Brazil)",
     {IDS_PORTUGUESE_BRAZIL_CASSETTE_FIRST, IDS_PORTUGUESE_BRAZIL_CASSETTE_SECOND,
      IDS_PORTUGUESE_BRAZIL_MANUALFEED_FIRST, IDS_PORTUGUESE_BRAZIL_MANUALFEED_SECOND},
     L") ", true, true},
    {"Japanese",
     {IDS_JAPANESE_CASSETTE_FIRST, IDS_JAPANESE_CASSETTE_SECOND,
      IDS_JAPANESE_MANUALFEED_FIRST, IDS_JAPANESE_MANUALFEED_SECOND},
     L")", true, true},
    {"Portuguese (Portugal)",
     {IDS_PORTUGUESE_PORTUGAL_CASSETTE_FIRST, IDS_PORTUGUESE_PORTUGAL_CASSETTE_SECOND,
      IDS_PORTUGUESE_PORTUGAL_MANUALFEED_FIRST, IDS_PORTUGUESE_PORTUGAL_MANUALFEED_SECOND},
     L")", false, false},
    {"Korean",
     {IDS_KOREAN_CASSETTE_FIRST, IDS_KOREAN_CASSETTE_SECOND,
      IDS_KOREAN_MANUALFEED_FIRST, IDS_KOREAN_MANUALFEED_SECOND},
     L")", false, true},
    {"Chinese",
     {IDS_CHINESE_CASSETTE_FIRST, IDS_CHINESE_CASSETTE_SECOND,
      IDS_CHINESE_MANUALFEED_FIRST, IDS_CHINESE_MANUALFEED_SECOND},
     L")", false, false},
};

TEST_F(CatalogueStrings, ExactlyTheExpectedIdentifiersHoldStringsEachStoredOnce)
{
    std::set<UINT> stored;
    for (const auto &entry : cat.texts)
        stored.insert(entry.first);
    EXPECT_EQ(stored.size(), 111u + 14 * 6 + 8);
    EXPECT_EQ(Listed(Difference(ExpectedIdentifiers(), stored)), "") << "missing";
    EXPECT_EQ(Listed(Difference(stored, ExpectedIdentifiers())), "") << "unexpected";
    EXPECT_EQ(cat.duplicates, 0);
}

TEST_F(CatalogueStrings, EveryBlockHasOneVersionUnderItsTag)
{
    std::map<WORD, std::vector<LANGID>> expected = {
        {1, {1033}},    {2, {1033}},    {3, {1033}},    {4, {1033}},    {5, {1033}},
        {6, {1033}},    {2091, {1033}}, {2092, {1033}}, {3126, {1042}}, {3127, {2052}},
    };
    for (LanguageIndex column = 0; column < LanguageCount; column++)
        if (column != LanguageFinnish)
            expected[WORD(PictureTextId(column, 0) / 16 + 1)] = {1033};
    EXPECT_EQ(cat.versions, expected);
}

// The loader picks one language version of a block per lookup, by the thread's language: a block
// stored under two tags would lose half its identifiers under one language or the other.
TEST_F(CatalogueStrings, EveryStringLoadsWhateverTheThreadLanguage)
{
    const LANGID languages[] = {0, 1041, 1042, 2052, 1031, 1033};  // 0: as the process started
    const LCID startLocale = GetThreadLocale();
    const LANGID startUi = GetThreadUILanguage();
    for (LANGID language : languages) {
        if (language) {
            SetThreadUILanguage(language);
            SetThreadLocale(MAKELCID(language, SORT_DEFAULT));
        }
        std::set<UINT> loaded;
        std::wstring text;
        for (UINT id = 0; id <= 0xFFFF; id++) {
            if (!Load(id, &text))
                continue;
            loaded.insert(id);
            EXPECT_EQ(text, Text(id)) << "identifier " << id << ", language " << language;
        }
        EXPECT_EQ(Listed(Difference(ExpectedIdentifiers(), loaded)), "")
            << "do not load under language " << language;
        EXPECT_EQ(Listed(Difference(loaded, ExpectedIdentifiers())), "")
            << "load unexpectedly under language " << language;
        SetThreadLocale(startLocale);
        SetThreadUILanguage(startUi);
    }
}

TEST_F(CatalogueStrings, EnglishTextsCaptionsAndButtonWords)
{
    const struct {
        UINT id;
        const wchar_t *text;
    } texts[] = {
        {IDS_ENGLISH_CASSETTE_FIRST,
         L"Set plain paper into the paper cassette. Then click the OK button to print the even "
         L"pages first.\n"},
        {IDS_ENGLISH_CASSETTE_SECOND,
         L"After the even numbered pages are printed, set the printed paper into the paper "
         L"cassette again according to the figure below. Click the OK button to print the odd "
         L"numbered pages.\n"},
        {IDS_ENGLISH_MANUALFEED_FIRST,
         L"1)Set the width of the Manual feed slot paper guides using both hands to the paper "
         L"width to be used. \n\n2)Insert the paper into the Manual feed slot with both hands "
         L"until the front edge of the paper touches the paper feed roller.\n\n3)Click OK to "
         L"start printing.\n\n\nLeave the printed paper in the Output tray until you have "
         L"printed all the even pages first.\n"},
        {IDS_ENGLISH_MANUALFEED_SECOND,
         L"1)After the even pages are printed, remove the printed even numbered pages from the "
         L"output tray.\n\n2)Take the first of the printed sheets in order, and turn it as "
         L"shown in the illustration so that the printed even numbered page is face down.\n\n"
         L"3)Insert the paper into the Manual feed slot with both hands until the front edge "
         L"of the paper touches the paper feed roller.\n\n4)Click OK to start printing, after "
         L"that repeat actions 2) and 3).\n\n If there are an odd number of pages in the "
         L"document, to print the last page set a new sheet of paper into the Manual feed "
         L"slot.\n"},
        {IDS_ENGLISH_CAPTION, L"Manual Duplex Instructions"},
        {IDS_ENGLISH_OK, L"OK"},
        {IDS_ENGLISH_CANCEL, L"Cancel"},
        {IDS_DUTCH_CAPTION, L"Instructies voor handmatig dubbelzijdig afdrukken"},
        {IDS_SPANISH_OK, L"Aceptar"},
        {IDS_SPANISH_CANCEL, L"Cancelar"},
        {86, L"a"},
        {53, L"dummy"},
        {IDS_PORTUGUESE_PORTUGAL_CAPTION, L"Instru\u00E7\u00F5es sobre duplex manual"},
        // Non-ASCII texts unit for unit: half-width katakana, Hangul, accented Latin letters.
        {IDS_JAPANESE_CANCEL, L"\uFF77\uFF6C\uFF9D\uFF7E\uFF99"},
        {IDS_KOREAN_CAPTION, L"\uC218\uB3D9 \uC591\uBA74 \uC778\uC1C4 \uC18C\uAC1C"},
        {IDS_SPANISH_CAPTION, L"Instrucciones de impresi\u00F3n d\u00FAplex manual\n"},
        {IDS_JAPANESE_CAPTION, L"\u624B\u52D5\u4E21\u9762\u5370\u5237"},
        {IDS_CHINESE_CAPTION, L"\u624B\u52A8\u53CC\u9762\u6253\u5370\u6559\u5B66"},
        {IDS_CHINESE_CANCEL, L"\u53D6\u6D88"},
    };
    for (const auto &t : texts)
        EXPECT_EQ(Text(t.id), std::wstring(t.text)) << "identifier " << t.id;
    for (UINT id : kDummyFillers)
        EXPECT_EQ(Text(id), L"dummy") << id;
    for (UINT id : kAFillers)
        EXPECT_EQ(Text(id), L"a") << id;
    for (UINT id = IDS_FRENCH_CAPTION; id <= IDS_PORTUGUESE_BRAZIL_CAPTION; id++)
        EXPECT_TRUE(!Text(id).empty() && Text(id).back() == L'\n') << "caption " << id;
    EXPECT_EQ(Text(IDS_PORTUGUESE_BRAZIL_CASSETTE_FIRST).rfind(L"1Coloque", 0), 0u);
}

TEST_F(CatalogueStrings, LongTextsBeginWithTheirFirstWords)
{
    const struct {
        UINT id;
        const char *start;   // UTF-8
    } starts[] = {
        {IDS_DUTCH_CASSETTE_FIRST, "Plaats normaal papier in de papiercassette."},
        {IDS_DUTCH_CASSETTE_SECOND, "Nadat de even pagina's zijn afgedrukt,"},
        {IDS_DUTCH_MANUALFEED_FIRST, "1)Stel de papiergeleiders voor handinvoer"},
        {IDS_DUTCH_MANUALFEED_SECOND, "1)Nadat de even pagina's zijn afgedrukt, neemt u ze uit de uitvoerlade."},
        {IDS_FRENCH_CASSETTE_FIRST, "Mettez du papier ordinaire dans la cassette."},
        {IDS_FRENCH_CASSETTE_SECOND, "Une fois toutes les pages paires imprimées,"},
        {IDS_FRENCH_MANUALFEED_FIRST, "1)Des deux mains, ajustez la largeur"},
        {IDS_FRENCH_MANUALFEED_SECOND, "1)Une fois toutes les pages paires imprimées, retirez-les"},
        {IDS_GERMAN_CASSETTE_FIRST, "Legen Sie Normalpapier in die Papierkassette ein."},
        {IDS_GERMAN_CASSETTE_SECOND, "Nach dem Druck der geraden Seiten"},
        {IDS_GERMAN_MANUALFEED_FIRST, "1)Stellen Sie die Papierführungen am manuellen Einzug"},
        {IDS_GERMAN_MANUALFEED_SECOND, "1)Wenn alle geraden Seiten gedruckt worden sind,"},
        {IDS_NORWEGIAN_CASSETTE_FIRST, "Legg vanlig papir i arkmateren."},
        {IDS_NORWEGIAN_CASSETTE_SECOND, "Etter at partallssidene er skrevet ut,"},
        {IDS_NORWEGIAN_MANUALFEED_FIRST, "1. Bruk begge hendene til å justere papirførerne"},
        {IDS_NORWEGIAN_MANUALFEED_SECOND, "1. Etter at partallssidene er skrevet ut, fjerner du dem"},
        {IDS_SPANISH_CASSETTE_FIRST, "Ponga papel normal en el cassette de papel."},
        {IDS_SPANISH_CASSETTE_SECOND, "Tras la impresión de las páginas pares,"},
        {IDS_SPANISH_MANUALFEED_FIRST, "1)Establezca la anchura de las guías"},
        {IDS_SPANISH_MANUALFEED_SECOND, "1)Después de que haya impreso las páginas pares,"},
        {IDS_SWEDISH_CASSETTE_FIRST, "Sätt i papper i papperskassetten."},
        {IDS_SWEDISH_CASSETTE_SECOND, "Efter att de jämnt numrerade sidorna har skrivits ut,"},
        {IDS_SWEDISH_MANUALFEED_FIRST, "1)Ställ in bredden på den manuella arkmataren."},
        {IDS_SWEDISH_MANUALFEED_SECOND, "1)När de jämna numrerade sidorna är utskrivna,"},
        {IDS_ITALIAN_CASSETTE_FIRST, "Inserire della carta comune nel vassoio carta."},
        {IDS_ITALIAN_CASSETTE_SECOND, "Dopo avere stampato le pagine pari,"},
        {IDS_ITALIAN_MANUALFEED_FIRST, "1)Regolare la larghezza delle guide carta"},
        {IDS_ITALIAN_MANUALFEED_SECOND, "1)Dopo avere stampato le pagine pari, rimuoverle dal raccoglitore."},
        {IDS_DANISH_CASSETTE_FIRST, "Læg almindeligt papir i papirbakken."},
        {IDS_DANISH_CASSETTE_SECOND, "Når siderne med lige sidetal er udskrevet,"},
        {IDS_DANISH_MANUALFEED_FIRST, "1) Indstil bredden på papirstyrene"},
        {IDS_DANISH_MANUALFEED_SECOND, "1) Når siderne med lige sidetal er udskrevet,"},
        {IDS_PORTUGUESE_BRAZIL_CASSETTE_FIRST, "1Coloque papel comum no cassete de papel."},
        {IDS_PORTUGUESE_BRAZIL_CASSETTE_SECOND, "Depois de as páginas de números pares serem impressas,"},
        {IDS_PORTUGUESE_BRAZIL_MANUALFEED_FIRST, "1) Ajuste a largura das guias do papel"},
        {IDS_PORTUGUESE_BRAZIL_MANUALFEED_SECOND, "1) Depois de as páginas pares serem impressas,"},
        {IDS_JAPANESE_CASSETTE_FIRST, "用紙ﾄﾚｲに用紙をｾｯﾄします。"},
        {IDS_JAPANESE_CASSETTE_SECOND, "偶数ﾍﾟｰｼﾞ印刷後、"},
        {IDS_JAPANESE_MANUALFEED_FIRST, "1)両手で手差し給紙ｶﾞｲﾄﾞを用紙幅に合わせます。"},
        {IDS_JAPANESE_MANUALFEED_SECOND, "1)偶数ﾍﾟｰｼﾞ印刷後、排紙ﾄﾚｲにある全用紙を取り除きます。"},
        {IDS_PORTUGUESE_PORTUGAL_CASSETTE_FIRST, "Coloque papel normal na cassete do papel."},
        {IDS_PORTUGUESE_PORTUGAL_CASSETTE_SECOND, "Após a impressão das páginas pares numeradas,"},
        {IDS_PORTUGUESE_PORTUGAL_MANUALFEED_FIRST, "1)Ajuste a largura das guias de papel"},
        {IDS_PORTUGUESE_PORTUGAL_MANUALFEED_SECOND, "1)Após ter impresso as páginas pares,"},
        {IDS_KOREAN_CASSETTE_FIRST, "보통 용지를 용지 공급기에 넣습니다."},
        {IDS_KOREAN_CASSETTE_SECOND, "짝수 페이지를 인쇄한 후"},
        {IDS_KOREAN_MANUALFEED_FIRST, "1)수동 급지 슬롯의 용지 가이드를"},
        {IDS_KOREAN_MANUALFEED_SECOND, "1)짝수 페이지가 인쇄된 후,"},
        {IDS_CHINESE_CASSETTE_FIRST, "将普通纸装入纸盒。"},
        {IDS_CHINESE_CASSETTE_SECOND, "偶数页打印完成后，"},
        {IDS_CHINESE_MANUALFEED_FIRST, "1)用双手滑动手动进纸槽的导纸板"},
        {IDS_CHINESE_MANUALFEED_SECOND, "1)所有偶数页都打印输出后，"},
    };
    for (const auto &s : starts)
        EXPECT_EQ(Text(s.id).rfind(Wide(s.start), 0), 0u)
            << "identifier " << s.id << " begins " << ::testing::PrintToString(Text(s.id).substr(0, 40));
}

TEST_F(CatalogueStrings, LongTextsFollowTheirLanguagesLayout)
{
    const std::wstring english[4] = {Text(1), Text(2), Text(3), Text(4)};
    for (const Language &language : kLanguages) {
        SCOPED_TRACE(language.name);
        for (int role = 0; role < 4; role++) {
            const std::wstring &text = Text(language.ids[role]);
            SCOPED_TRACE(language.ids[role]);
            ASSERT_FALSE(text.empty());
            EXPECT_EQ(text.back() == L'\n', language.endsInLineFeed);
            // The instruction boxes hold about the English text's length.
            if (language.ids[role] != IDS_FRENCH_MANUALFEED_SECOND) {
                EXPECT_LE(text.size() * 100, english[role].size() * 115);
            }
            if (role < 2) {
                EXPECT_EQ(text.find(L"1)"), std::wstring::npos);
                continue;
            }
            // Numbered steps: three in the first pass, four in the second, each after an empty
            // line or a single line feed as the language lays them out.
            const int steps = role == 2 ? 3 : 4;
            EXPECT_EQ(text.rfind(std::to_wstring(1) + language.stepMark, 0), 0u);
            for (int step = 2; step <= steps; step++) {
                const std::wstring gap = language.emptyLineBetweenSteps ? L"\n\n" : L"\n";
                size_t at = text.find(gap + std::to_wstring(step) + language.stepMark);
                ASSERT_NE(at, std::wstring::npos) << "step " << step;
                EXPECT_NE(text[at - 1], L'\n') << "step " << step;
            }
            EXPECT_EQ(text.find(L"\n" + std::to_wstring(steps + 1) + language.stepMark),
                      std::wstring::npos);
        }
    }
}

// The duplex templates show an instruction text in a box of 235 x 32 dialog units above the
// cassette picture and of 166 x 169 beside the manual-feed picture. Measured in 8-point Tahoma,
// the usual face of an 8-point dialog, with the dialog manager's base units of that font.
TEST_F(CatalogueStrings, InstructionTextsFitTheirBoxes)
{
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontW(-MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL,
                             FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics = {};
    SIZE alphabet = {};
    GetTextMetricsW(dc, &metrics);
    GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &alphabet);
    const int baseX = (alphabet.cx / 26 + 1) / 2, baseY = metrics.tmHeight;
    for (const Language &language : kLanguages) {
        for (int role = 0; role < 4; role++) {
            const std::wstring &text = Text(language.ids[role]);
            const bool cassette = role < 2;
            RECT box = {0, 0, MulDiv(cassette ? 235 : 166, baseX, 4), 0};
            DrawTextW(dc, text.c_str(), int(text.size()), &box,
                      DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
            EXPECT_LE(box.bottom, MulDiv(cassette ? 32 : 169, baseY, 8))
                << language.name << " identifier " << language.ids[role];
        }
    }
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
}

TEST_F(CatalogueStrings, JapaneseTextsWriteKatakanaHalfWidth)
{
    for (UINT id = IDS_JAPANESE_CASSETTE_FIRST; id <= IDS_JAPANESE_CANCEL; id++) {
        int halfWidth = 0;
        for (wchar_t unit : Text(id)) {
            EXPECT_FALSE(unit >= 0x30A0 && unit <= 0x30FF) << "identifier " << id;
            halfWidth += unit >= 0xFF66 && unit <= 0xFF9F;
        }
        if (id != IDS_JAPANESE_OK) {
            EXPECT_GT(halfWidth, 0) << "identifier " << id;
        }
    }
    // The first-pass manual-feed text ends after its third step, with three line feeds.
    const std::wstring &text = Text(IDS_JAPANESE_MANUALFEED_FIRST);
    ASSERT_GT(text.size(), 4u);
    EXPECT_EQ(text.substr(text.size() - 4), L"\u3002\n\n\n");
    EXPECT_EQ(text.find(L"\n\n\n"), text.size() - 3);
    EXPECT_NE(text.find(L"\n\n3)"), std::wstring::npos);
}

TEST_F(CatalogueStrings, FrenchSecondPassSlotTextIsTheLongest)
{
    EXPECT_EQ(Text(IDS_FRENCH_MANUALFEED_SECOND).size(), 660u);
    for (const auto &entry : cat.texts)
        if (entry.first != IDS_FRENCH_MANUALFEED_SECOND) {
            EXPECT_LT(entry.second.size(), 660u) << "identifier " << entry.first;
        }
}

}  // namespace
