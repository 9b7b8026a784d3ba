// The manual duplex instruction dialog and the manual-feed slot dialog, driven through the DLL
// as a driver drives them; the resource names also through the functions that choose them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "duplex/duplex.h"
#include "resource.h"
#include "harness.h"

using namespace dxtest;

namespace {

// ---- Resource names of a pass (internal) ----

DriverPrivateSettings Driver(BYTE reversal, LONG rotationSwitch, LONG rotationAngle)
{
    DriverPrivateSettings settings = {};
    settings.reversal = reversal;
    settings.rotationSwitch = rotationSwitch;
    settings.rotationAngle = rotationAngle;
    return settings;
}

struct Names {
    std::string bitmap;
    std::wstring templateName;
};

Names Build(short source, short orientation, WORD passCode, const DriverPrivateSettings *settings)
{
    DEVMODEA devMode = JobFields(source, orientation);
    return {DuplexPictureBitmap(SelectDuplexPicture(&devMode, settings, passCode)),
            SelectDuplexTemplate(&devMode)};
}

const wchar_t kCassetteTemplate[] = DXDLG_RESOURCE_NAMEW(IDD_DUPLEX_TRAY);
const wchar_t kManualFeedTemplate[] = DXDLG_RESOURCE_NAMEW(IDD_DUPLEX_MANUALFEED);

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

TEST(DuplexNames, LayoutFollowsTheSourceAndTheFirstPassHasNoVariant)
{
    DriverPrivateSettings plain = Driver(0, 0, 0);
    struct Case {
        short source;
        const char *bitmap;
        const wchar_t *templateName;
    } cases[] = {
        {DMBIN_MANUAL, "EVEN_T_M", kManualFeedTemplate},
        {DXDLG_DMBIN_MANUALFEED, "EVEN_T_M", kManualFeedTemplate},
        {DMBIN_CASSETTE, "EVEN_T_C", kCassetteTemplate},
        {DMBIN_AUTO, "EVEN_T_C", kCassetteTemplate},
        {1, "EVEN_T_C", kCassetteTemplate},
        {0, "EVEN_T_C", kCassetteTemplate},
        {257, "EVEN_T_C", kCassetteTemplate},
        {-4, "EVEN_T_C", kCassetteTemplate},
    };
    for (const Case &c : cases) {
        // Every inversion at once changes nothing in the first pass.
        DriverPrivateSettings turned = Driver(1, 1, 180);
        for (const DriverPrivateSettings *settings : {&plain, &turned, (DriverPrivateSettings *)nullptr}) {
            Names names = Build(c.source, 1, 0, settings);
            EXPECT_EQ(names.bitmap, c.bitmap) << "source " << c.source;
            EXPECT_EQ(names.templateName, c.templateName) << "source " << c.source;
        }
    }
}

TEST(DuplexNames, SecondPassTurnOverAndTheDriversInversions)
{
    struct Case {
        short source, orientation;
        WORD passCode;
        BYTE reversal;
        LONG rotationSwitch, rotationAngle;
        const char *bitmap;
    } cases[] = {
        {1, 1, 1, 0, 0, 0, "ODD_T_C_D1"},
        {1, 1, 2, 0, 0, 0, "ODD_T_C_D1"},
        {1, 1, 3, 0, 0, 0, "ODD_T_C_D2"},
        {1, 1, 4, 0, 0, 0, "ODD_T_C_D2"},
        {1, 1, 5, 0, 0, 0, "ODD_T_C_D1"},   // portrait table
        {1, 1, 6, 0, 0, 0, "ODD_T_C_D1"},
        {1, 2, 5, 0, 0, 0, "ODD_T_C_D2"},   // any other orientation
        {1, 0, 6, 0, 0, 0, "ODD_T_C_D2"},
        {1, 2, 1, 0, 0, 0, "ODD_T_C_D1"},
        {1, 2, 2, 0, 0, 0, "ODD_T_C_D1"},
        {1, 2, 3, 0, 0, 0, "ODD_T_C_D2"},
        {1, 0, 4, 0, 0, 0, "ODD_T_C_D2"},
        {DXDLG_DMBIN_MANUALFEED, 2, 5, 0, 0, 0, "ODD_T_M_D2"},
        {DXDLG_DMBIN_MANUALFEED, 2, 5, 0, 1, 180, "ODD_T_M_D1"},  // rotated by a half turn
        {DXDLG_DMBIN_MANUALFEED, 2, 5, 2, 1, 180, "ODD_T_M_D2"},  // both inversions cancel out
        {DXDLG_DMBIN_MANUALFEED, 2, 5, 1, 0, 0, "ODD_T_M_D1"},
        {DMBIN_MANUAL, 1, 1, 1, 0, 0, "ODD_T_M_D2"},
        {DMBIN_MANUAL, 1, 1, 3, 0, 0, "ODD_T_M_D1"},    // reversal 3 and 255 turn nothing
        {DMBIN_MANUAL, 1, 1, 255, 0, 0, "ODD_T_M_D1"},
        {DMBIN_MANUAL, 1, 1, 0, 0, 180, "ODD_T_M_D1"},  // angle without the switch
        {DMBIN_MANUAL, 1, 1, 0, 1, 90, "ODD_T_M_D1"},   // switch with another angle
        {DMBIN_MANUAL, 1, 1, 0, 2, 180, "ODD_T_M_D1"},  // only switch value 1 is on
        {DMBIN_CASSETTE, 2, 7, 0, 0, 0, "ODD_T_C_D1"},  // above 6: turn-over 0 ...
        {DMBIN_CASSETTE, 2, 7, 1, 0, 0, "ODD_T_C_D2"},  // ... before the inversions
        {DMBIN_CASSETTE, 1, 0xFFFF, 0, 1, 180, "ODD_T_C_D2"},
    };
    for (const Case &c : cases) {
        DriverPrivateSettings settings = Driver(c.reversal, c.rotationSwitch, c.rotationAngle);
        Names names = Build(c.source, c.orientation, c.passCode, &settings);
        EXPECT_EQ(names.bitmap, c.bitmap)
            << "source " << c.source << " orientation " << c.orientation << " pass " << c.passCode
            << " reversal " << int(c.reversal) << " rotation " << c.rotationSwitch << "/"
            << c.rotationAngle;
    }
    // No record: nothing is inverted.
    EXPECT_EQ(Build(DMBIN_MANUAL, 2, 3, nullptr).bitmap, "ODD_T_M_D2");
    EXPECT_EQ(Build(DMBIN_CASSETTE, 1, 1, nullptr).bitmap, "ODD_T_C_D1");
}

// ---- The dialogs through the DLL ----

// The string identifiers of a language: instruction rows 0 to 3 (cassette first and second
// pass, manual-feed slot first and second pass), caption, OK, Cancel.
struct ColumnTexts {
    WORD language;
    UINT ids[7];
};
const ColumnTexts kColumns[] = {
    {1033, {IDS_ENGLISH_CASSETTE_FIRST, IDS_ENGLISH_CASSETTE_SECOND, IDS_ENGLISH_MANUALFEED_FIRST,
            IDS_ENGLISH_MANUALFEED_SECOND, IDS_ENGLISH_CAPTION, IDS_ENGLISH_OK, IDS_ENGLISH_CANCEL}},
    {1031, {IDS_GERMAN_CASSETTE_FIRST, IDS_GERMAN_CASSETTE_SECOND, IDS_GERMAN_MANUALFEED_FIRST,
            IDS_GERMAN_MANUALFEED_SECOND, IDS_GERMAN_CAPTION, IDS_GERMAN_OK, IDS_GERMAN_CANCEL}},
    {1034, {IDS_SPANISH_CASSETTE_FIRST, IDS_SPANISH_CASSETTE_SECOND, IDS_SPANISH_MANUALFEED_FIRST,
            IDS_SPANISH_MANUALFEED_SECOND, IDS_SPANISH_CAPTION, IDS_SPANISH_OK, IDS_SPANISH_CANCEL}},
    {1041, {IDS_JAPANESE_CASSETTE_FIRST, IDS_JAPANESE_CASSETTE_SECOND, IDS_JAPANESE_MANUALFEED_FIRST,
            IDS_JAPANESE_MANUALFEED_SECOND, IDS_JAPANESE_CAPTION, IDS_JAPANESE_OK,
            IDS_JAPANESE_CANCEL}},
    {1042, {IDS_KOREAN_CASSETTE_FIRST, IDS_KOREAN_CASSETTE_SECOND, IDS_KOREAN_MANUALFEED_FIRST,
            IDS_KOREAN_MANUALFEED_SECOND, IDS_KOREAN_CAPTION, IDS_KOREAN_OK, IDS_KOREAN_CANCEL}},
    {2052, {IDS_CHINESE_CASSETTE_FIRST, IDS_CHINESE_CASSETTE_SECOND, IDS_CHINESE_MANUALFEED_FIRST,
            IDS_CHINESE_MANUALFEED_SECOND, IDS_CHINESE_CAPTION, IDS_CHINESE_OK, IDS_CHINESE_CANCEL}},
    {2070, {IDS_PORTUGUESE_PORTUGAL_CASSETTE_FIRST, IDS_PORTUGUESE_PORTUGAL_CASSETTE_SECOND,
            IDS_PORTUGUESE_PORTUGAL_MANUALFEED_FIRST, IDS_PORTUGUESE_PORTUGAL_MANUALFEED_SECOND,
            IDS_PORTUGUESE_PORTUGAL_CAPTION, IDS_PORTUGUESE_PORTUGAL_OK,
            IDS_PORTUGUESE_PORTUGAL_CANCEL}},
};

// The captions of the every-language series, column by column; Finnish shows the English one.
const UINT kSeriesCaptions[LanguageCount] = {
    IDS_DUTCH_CAPTION,   IDS_FRENCH_CAPTION,  IDS_GERMAN_CAPTION,  IDS_ITALIAN_CAPTION,
    IDS_NORWEGIAN_CAPTION, IDS_SWEDISH_CAPTION, IDS_ENGLISH_CAPTION, IDS_SPANISH_CAPTION,
    IDS_DANISH_CAPTION,  IDS_PORTUGUESE_BRAZIL_CAPTION, IDS_JAPANESE_CAPTION,
    IDS_ENGLISH_CAPTION, IDS_KOREAN_CAPTION,  IDS_CHINESE_CAPTION, IDS_PORTUGUESE_PORTUGAL_CAPTION,
};

// What a dialog showed, read from inside its loop.
struct Shown {
    std::wstring caption, text, ok, cancel;
    bool unicode = false;
    HWND owner = nullptr;
    bool active = false;
    bool topmost = false;
    RECT rect = {};             // on the screen
    HBITMAP bitmap = nullptr;   // the bitmap that the picture control held
    Pixels picture;             // and its pixels
    std::string pictureClass;
    SIZE clientDlu = {};        // the client area in dialog units
    bool hasNote = false;
    DWORD lockCount = 0;
};

HWND Picture(HWND dialog)
{
    HWND picture = GetDlgItem(dialog, IDC_PICTURE);
    return picture ? picture : FindWindowExA(dialog, nullptr, MANUALDUPCTL_CLASS, nullptr);
}

// How many words of five letters or more two texts share, letter case aside.
size_t SharedWords(const std::wstring &a, const std::wstring &b)
{
    auto words = [](std::wstring text) {
        std::set<std::wstring> found;
        CharLowerBuffW(&text[0], DWORD(text.size()));
        for (size_t i = 0, start = 0; i <= text.size(); i++)
            if (i == text.size() || !IsCharAlphaW(text[i])) {
                if (i - start >= 5)
                    found.insert(text.substr(start, i - start));
                start = i + 1;
            }
        return found;
    };
    std::set<std::wstring> first = words(a), second = words(b);
    return size_t(std::count_if(first.begin(), first.end(),
                                [&](const std::wstring &word) { return second.count(word); }));
}

Shown Read(HWND dialog)
{
    Shown shown;
    shown.caption = WindowText(dialog);
    shown.text = ItemText(dialog, IDC_INSTRUCTION);
    shown.ok = ItemText(dialog, IDOK);
    shown.cancel = ItemText(dialog, IDCANCEL);
    shown.unicode = IsWindowUnicode(dialog) != FALSE;
    shown.owner = GetWindow(dialog, GW_OWNER);
    shown.active = GetActiveWindow() == dialog;
    shown.topmost = (GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    GetWindowRect(dialog, &shown.rect);
    HWND picture = Picture(dialog);
    if (picture) {
        shown.pictureClass = ClassName(picture);
        shown.bitmap = HeldBitmap(picture);
        shown.picture = PixelsOf(shown.bitmap);
    }
    RECT client, unit = {0, 0, 4, 8};
    GetClientRect(dialog, &client);
    MapDialogRect(dialog, &unit);
    shown.clientDlu.cx = MulDiv(client.right, 4, unit.right);
    shown.clientDlu.cy = MulDiv(client.bottom, 8, unit.bottom);
    shown.hasNote = GetDlgItem(dialog, IDC_NOTE) != nullptr;
    return shown;
}

class DuplexDialogs : public ::testing::Test {
protected:
    void SetUp() override { Load({{"countryCode", 1033}}); }
    void TearDown() override
    {
        UnloadDxdlg(module);
        DeleteSettingsKey();
    }

    void Load(std::initializer_list<Setting> settings)
    {
        if (module)
            UnloadDxdlg(module);
        module = LoadDxdlg(settings);
        ASSERT_NE(module, nullptr);
        openDuplex = Export<PFN_OpenDuplexDlg>(module, "OpenDuplexDlg");
        openManualFeed = Export<PFN_OpenDuplexDlgMP>(module, "OpenDuplexDlgMP");
        ASSERT_EQ(Export<PFN_FRegisterBitmapControl>(module, "FRegisterBitmapControl")(nullptr), 1);
        ASSERT_EQ(Export<PFN_FRegisterBitmapControlMP>(module, "FRegisterBitmapControlMP")(nullptr), 1);
    }

    // The DLL's own text of a string identifier, in UTF-16.
    std::wstring String(UINT id)
    {
        WCHAR text[4096];
        int length = LoadStringW(module, id, text, 4096);
        return std::wstring(text, size_t(length));
    }

    // A caption as the title bar shows it: without the line feed that ends several of them.
    std::wstring Caption(UINT id)
    {
        std::wstring text = String(id);
        while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r'))
            text.pop_back();
        return text;
    }

    Pixels NamedBitmap(const char *name)
    {
        HBITMAP bitmap = LoadBitmapA(module, name);
        EXPECT_NE(bitmap, nullptr) << name << " is not in the DLL";
        Pixels pixels = PixelsOf(bitmap);
        DeleteObject(bitmap);
        return pixels;
    }

    void ExpectHolds(const Pixels &actual, const char *name)
    {
        Pixels expected = NamedBitmap(name);
        ASSERT_GT(expected.width, 0) << name;
        EXPECT_EQ(actual.width, expected.width) << name;
        EXPECT_EQ(actual.height, expected.height) << name;
        EXPECT_TRUE(actual.pixels == expected.pixels) << "the picture is not " << name;
    }

    // Opens the duplex dialog for a job and lets `action` read and end it. Each dialog that
    // opens is read into `seen`.
    int OpenDuplex(UINT passCode, UINT language, short source, short orientation,
                   const DriverPrivateSettings *settings, std::function<void(HWND)> action,
                   HWND owner = nullptr)
    {
        HLOCAL devMode = JobBlock(source, orientation);
        seen.clear();
        int result;
        {
            DialogWatch watch([&](HWND dialog) {
                seen.push_back(Read(dialog));
                seen.back().lockCount = LocalFlags(devMode) & LMEM_LOCKCOUNT;
                action(dialog);
            }, 10000);
            watch.RepeatForEachDialog(true);
            result = openDuplex(nullptr, owner, 0, passCode, language, devMode, nullptr, settings);
            EXPECT_FALSE(watch.WatchdogFired()) << "a dialog did not close";
        }
        EXPECT_EQ(LocalFlags(devMode) & LMEM_LOCKCOUNT, 0u) << "the device settings stay locked";
        LocalFree(devMode);
        return result;
    }

    INT_PTR OpenManualFeed(UINT language, std::function<void(HWND)> action, HWND owner = nullptr)
    {
        seen.clear();
        DialogWatch watch([&](HWND dialog) {
            seen.push_back(Read(dialog));
            action(dialog);
        }, 5000);
        INT_PTR result = openManualFeed(nullptr, owner, 0, language, nullptr, nullptr);
        EXPECT_FALSE(watch.WatchdogFired()) << "the dialog did not close";
        return result;
    }

    HMODULE module = nullptr;
    PFN_OpenDuplexDlg openDuplex = nullptr;
    PFN_OpenDuplexDlgMP openManualFeed = nullptr;
    std::vector<Shown> seen;
};

std::function<void(HWND)> Click(int id)
{
    return [id](HWND dialog) { ClickButton(dialog, id); };
}

std::function<void(HWND)> Press(UINT vk)
{
    return [vk](HWND dialog) { PressKey(dialog, vk); };
}

void CloseFromCaption(HWND dialog)
{
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

TEST_F(DuplexDialogs, EachLayoutAndPassShowsItsTemplateTextsAndPictureInUnicode)
{
    // The texts are compared with the DLL's UTF-16 strings while the system's ANSI code page
    // is a Western one, which has no Japanese, Korean or Chinese letters.
    EXPECT_EQ(GetACP(), 1252u);
    struct Layout {
        short source;
        WORD passCode;
        int row;
        const char *bitmap;
        LONG widthDlu, heightDlu;
    } layouts[] = {
        {DMBIN_CASSETTE, 0, 0, "EVEN_T_C", 265, 215},
        {DMBIN_CASSETTE, 3, 1, "ODD_T_C_D2", 265, 215},
        {DMBIN_MANUAL, 0, 2, "EVEN_T_M", 306, 182},
        {DXDLG_DMBIN_MANUALFEED, 2, 3, "ODD_T_M_D1", 306, 182},
    };
    for (const ColumnTexts &column : kColumns)
        for (const Layout &layout : layouts) {
            SCOPED_TRACE(testing::Message() << "language " << column.language << " source "
                                            << layout.source << " pass " << layout.passCode);
            EXPECT_EQ(OpenDuplex(layout.passCode, column.language, layout.source, DMORIENT_PORTRAIT,
                                 nullptr, Click(IDOK)), 1);
            ASSERT_EQ(seen.size(), 1u);
            const Shown &shown = seen[0];
            EXPECT_TRUE(shown.unicode);
            EXPECT_EQ(shown.clientDlu.cx, layout.widthDlu);
            EXPECT_EQ(shown.clientDlu.cy, layout.heightDlu);
            EXPECT_EQ(shown.hasNote, layout.source == DMBIN_CASSETTE);
            EXPECT_EQ(shown.pictureClass, BITMAPCTL_CLASS);
            EXPECT_EQ(shown.lockCount, 1u) << "the device settings are not locked while in use";
            std::wstring expected[4] = {String(column.ids[layout.row]), Caption(column.ids[4]),
                                        String(column.ids[5]), String(column.ids[6])};
            for (const std::wstring &text : expected)
                EXPECT_FALSE(text.empty());
            EXPECT_EQ(shown.text, expected[0]);
            EXPECT_EQ(shown.caption, expected[1]);
            EXPECT_EQ(shown.ok, expected[2]);
            EXPECT_EQ(shown.cancel, expected[3]);
            // The picture control held the named bitmap; it is gone with its dialog.
            ExpectHolds(shown.picture, layout.bitmap);
        }
}

// A screen reader names the picture by the sentence on what it shows, in the dialog's language;
// the two second-pass pictures of each layout (the sheets upside down or upright) are told apart.
TEST_F(DuplexDialogs, ScreenReadersHearWhatThePictureShowsInTheDialogsLanguage)
{
    struct Case {
        WORD language;
        short source;
        WORD passCode;
        UINT sentence;
        const char *bitmap;
    } cases[] = {
        {1033, DMBIN_CASSETTE, 2, IDS_ENGLISH_PICTURE_CASSETTE_SECOND_1, "ODD_T_C_D1"},
        {1033, DMBIN_CASSETTE, 3, IDS_ENGLISH_PICTURE_CASSETTE_SECOND_2, "ODD_T_C_D2"},
        {1033, DMBIN_MANUAL, 2, IDS_ENGLISH_PICTURE_MANUALFEED_SECOND_1, "ODD_T_M_D1"},
        {1033, DMBIN_MANUAL, 3, IDS_ENGLISH_PICTURE_MANUALFEED_SECOND_2, "ODD_T_M_D2"},
        {1031, DMBIN_CASSETTE, 2, IDS_GERMAN_PICTURE_CASSETTE_SECOND_1, "ODD_T_C_D1"},
        {1031, DMBIN_CASSETTE, 3, IDS_GERMAN_PICTURE_CASSETTE_SECOND_2, "ODD_T_C_D2"},
        {1031, DXDLG_DMBIN_MANUALFEED, 2, IDS_GERMAN_PICTURE_MANUALFEED_SECOND_1, "ODD_T_M_D1"},
        {1031, DXDLG_DMBIN_MANUALFEED, 3, IDS_GERMAN_PICTURE_MANUALFEED_SECOND_2, "ODD_T_M_D2"},
        {1041, DMBIN_CASSETTE, 0, IDS_JAPANESE_PICTURE_CASSETTE_FIRST, "EVEN_T_C"},
        {1035, DMBIN_MANUAL, 0, IDS_ENGLISH_PICTURE_MANUALFEED_FIRST, "EVEN_T_M"},  // Finnish
    };
    std::wstring names[sizeof(cases) / sizeof(cases[0])];
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++) {
        const Case &c = cases[i];
        SCOPED_TRACE(testing::Message() << "language " << c.language << " source " << c.source
                                        << " pass " << c.passCode);
        OpenDuplex(c.passCode, c.language, c.source, DMORIENT_PORTRAIT, nullptr, [&](HWND dialog) {
            names[i] = dxdesk::AccessibleName(Picture(dialog));
            ClickButton(dialog, IDOK);
        });
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_FALSE(names[i].empty());
        EXPECT_EQ(names[i], String(c.sentence));
        ExpectHolds(seen[0].picture, c.bitmap);  // the text plays no part in what is drawn
    }
    for (size_t i = 0; i < 8; i += 2)
        EXPECT_NE(names[i], names[i + 1]) << "the two second-pass pictures sound alike";
    // The manual-feed first pass is told in its instruction's order, the guides before the
    // sheet, and the picture's numbers as marks, never as the steps' bare numbers.
    EXPECT_LT(names[9].find(L"guide"), names[9].find(L"sheet")) << names[9];
    EXPECT_EQ(names[9].find(L"(1)"), std::wstring::npos) << names[9];
    // The manual-feed slot dialog's picture is told in the language and the words of the texts
    // beside it, whatever the language (English beside an English template).
    for (size_t row = 0; row < LanguageRowCount; row++) {
        std::wstring name, texts;
        OpenManualFeed(LanguageRows[row].language, [&](HWND dialog) {
            name = dxdesk::AccessibleName(Picture(dialog));
            for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                texts += ClassName(c) == "Static" ? WindowText(c) + L"\n" : L"";
            ClickButton(dialog, IDC_MANUALFEED_OK);
        });
        EXPECT_GE(SharedWords(name, texts), 3u) << LanguageRows[row].language << ": " << name;
        if (LanguageRows[row].language == 1031) {  // the slot dialog's own, not the first pass's
            EXPECT_EQ(name, String(IDS_GERMAN_PICTURE_MANUALFEED_SLOT));
        }
    }
}

// Every second-pass picture says what the instruction beside it says of the printed side: face
// down, in the words of the column's own manual-feed text, and never that it faces the user.
// The picture is not announced as unavailable, nor does an arrow key take the focus to it.
TEST_F(DuplexDialogs, SecondPassPicturesSayFaceDownInTheInstructionsOwnWords)
{
    const wchar_t *const faceDown[LanguageCount] = {
        L"naar beneden", L"face vers le bas", L"nach unten", L"rivolta verso il basso",
        L"vender ned", L"nedåt", L"face down", L"boca abajo", L"vender nedad",
        L"voltada para baixo", L"下向き", L"face down", L"아래를 향하도록", L"朝下",
        L"voltada para baixo"};
    const wchar_t *const facingYou[] = {
        L"facing you", L"naar u toe", L"vers vous", L"zu Ihnen", L"verso di voi", L"mot deg",
        L"mot dig", L"hacia usted", L"mod dig", L"para você", L"para si", L"手前", L"앞쪽",
        L"朝向您"};
    // Only the turned picture (D1) has the top edge go in first (Italian: the top edge below).
    const wchar_t *const topEdgeFirst[LanguageCount] = {
        L"bovenrand eerst", L"bord supérieur en premier", L"Oberkante zuerst",
        L"superiore in basso", L"overkanten først", L"överkanten först", L"top edge first",
        L"primero el borde superior", L"overkanten først", L"pela borda superior", L"上端から",
        L"top edge first", L"위쪽 가장자리부터", L"上边缘先", L"pela extremidade superior"};
    Load({{"countryCode", DXDLG_EVERY_LANGUAGE}});
    for (short source : {short(DMBIN_CASSETTE), short(DMBIN_MANUAL)})
        for (WORD passCode : {2, 3}) {  // turned round, then not
            std::vector<std::wstring> names;
            std::vector<bool> enabled, arrowFocusesPicture;
            OpenDuplex(passCode, 1033, source, DMORIENT_PORTRAIT, nullptr, [&](HWND dialog) {
                names.push_back(dxdesk::AccessibleName(Picture(dialog)));
                enabled.push_back(IsWindowEnabled(Picture(dialog)) != FALSE);
                MSG down = {GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_DOWN, 0, 0, {}};
                IsDialogMessageW(dialog, &down);  // to the next control of OK's group
                arrowFocusesPicture.push_back(GetFocus() == Picture(dialog));
                ClickButton(dialog, IDOK);
            });
            ASSERT_EQ(names.size(), size_t(LanguageCount));
            for (size_t column = 0; column < LanguageCount; column++) {
                const std::wstring &name = names[column];
                SCOPED_TRACE(testing::Message() << "source " << source << " pass " << passCode
                                                << " column " << column << ": " << name);
                if (source == DMBIN_MANUAL) {
                    EXPECT_NE(seen[column].text.find(faceDown[column]), std::wstring::npos);
                }
                EXPECT_NE(name.find(faceDown[column]), std::wstring::npos);
                EXPECT_EQ(name.find(topEdgeFirst[column]) != std::wstring::npos, passCode == 2);
                for (const wchar_t *phrase : facingYou)
                    EXPECT_EQ(name.find(phrase), std::wstring::npos) << "says " << phrase;
                if (column == LanguageJapanese) {
                    EXPECT_TRUE(std::none_of(name.begin(), name.end(), [](wchar_t c) {
                        return c >= 0xFF61 && c <= 0xFF9F;  // half-width katakana
                    }));
                }
                EXPECT_TRUE(enabled[column]) << "the picture is announced as unavailable";
                EXPECT_FALSE(arrowFocusesPicture[column]) << "an arrow key focuses the picture";
            }
        }
}

// WM_COPY copies the dialog as the platform's message box copies itself, and Ctrl+C and
// Ctrl+Insert become WM_COPY (0 here: the message sent as it is).
TEST_F(DuplexDialogs, CtrlCCopiesCaptionTextAndButtons)
{
    const std::wstring rule = L"---------------------------\r\n";
    auto lines = [](std::wstring text) {
        while (!text.empty() && text.back() == L'\n')
            text.pop_back();
        std::wstring result;
        for (wchar_t c : text)
            result += c == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, c);
        return result;
    };
    const UINT keys[] = {'C', VK_INSERT, 0};
    for (UINT key : keys) {
        auto copy = [key](HWND dialog) {
            key ? PressCtrlKey(dialog, key) : void(SendMessageW(dialog, WM_COPY, 0, 0));
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        };
        // The manual-feed slot dialog too, its texts its template's own.
        EmptyClipboardNow();
        OpenManualFeed(1031, copy);
        ReleaseCtrl();
        const std::wstring slot = ClipboardText(), caption = rule + L"Manueller Einzug\r\n" + rule;
        EXPECT_EQ(slot.substr(0, caption.size()), caption);
        EXPECT_NE(slot.find(L"OK   Abbrechen   \r\n" + rule), std::wstring::npos) << "key " << key;
        EmptyClipboardNow();
        OpenDuplex(0, 1031, DMBIN_CASSETTE, DMORIENT_PORTRAIT, nullptr, copy);
        ReleaseCtrl();
        EXPECT_EQ(ClipboardText(),
                  rule + Caption(IDS_GERMAN_CAPTION) + L"\r\n" + rule +
                      lines(String(IDS_GERMAN_CASSETTE_FIRST)) + L"\r\n" + rule +
                      String(IDS_GERMAN_OK) + L"   " + String(IDS_GERMAN_CANCEL) + L"   \r\n" +
                      rule)
            << "key " << key;
    }
    // The French slot dialog's steps stand in two texts: the copy keeps an empty line between.
    EmptyClipboardNow();
    OpenManualFeed(1036, [](HWND dialog) {
        PressCtrlKey(dialog, 'C');
        PostMessageW(dialog, WM_COMMAND, IDC_MANUALFEED_OK, 0);
    });
    ReleaseCtrl();
    EXPECT_NE(ClipboardText().find(L".\r\n\r\n2) "), std::wstring::npos) << ClipboardText();
    // Without Ctrl the key does nothing of the kind.
    EmptyClipboardNow();
    OpenDuplex(0, 1033, DMBIN_CASSETTE, DMORIENT_PORTRAIT, nullptr, [&](HWND dialog) {
        PressKey(dialog, 'C');
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(ClipboardText(), L"");
}

TEST_F(DuplexDialogs, EastAsianTextsArriveAsTheirOwnLetters)
{
    struct Case {
        WORD language;
        const char *caption, *ok, *cancel;
    } cases[] = {
        {1041, "手動両面印刷", "OK", "ｷｬﾝｾﾙ"},
        {1042, "수동 양면 인쇄 소개", "확인", "취소"},
        {2066, "수동 양면 인쇄 소개", "확인", "취소"},
        {2052, "手动双面打印教学", "确定", "取消"},
        {1034, "Instrucciones de impresión dúplex manual", "Aceptar", "Cancelar"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(OpenDuplex(0, c.language, DMBIN_CASSETTE, DMORIENT_PORTRAIT, nullptr, Click(IDCANCEL)), 0);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption, Wide(c.caption)) << c.language;
        EXPECT_EQ(seen[0].ok, Wide(c.ok)) << c.language;
        EXPECT_EQ(seen[0].cancel, Wide(c.cancel)) << c.language;
    }
    // The Japanese instruction text keeps its half-width katakana.
    OpenDuplex(0, 1041, DMBIN_CASSETTE, DMORIENT_PORTRAIT, nullptr, Click(IDOK));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text.rfind(Wide("用紙ﾄﾚｲに用紙をｾｯﾄします。"), 0), 0u);
}

// Replaces every letter outside ASCII with the first of them. Letters that a font lacks are
// all drawn as the same box, so the text then looks the same; drawn as glyphs, it does not.
std::wstring OneLetterOnly(const std::wstring &text)
{
    std::wstring result = text;
    wchar_t first = 0;
    for (wchar_t &c : result)
        if (c > 0x7F)
            c = first ? first : (first = c);
    return result;
}

int Differences(const Pixels &a, const Pixels &b)
{
    if (a.width != b.width || a.height != b.height)
        return -1;
    int count = 0;
    for (size_t i = 0; i < a.pixels.size(); i++)
        count += a.pixels[i] != b.pixels[i];
    return count;
}

// A window as the screen shows it. Wine hands a window's drawing to the display when the
// drawing thread finds its queue empty (or now and then while it is busy), so a reading taken
// right after a change may still show the window as it was: this thread's messages are handled
// until its queue is empty, and the window read again until two readings agree.
Pixels SettledCapture(HWND window, Pixels (*capture)(HWND))
{
    Pixels previous, current;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; previous = current) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        current = capture(window);
        if (!previous.pixels.empty() && current.pixels == previous.pixels)
            break;
    }
    return current;
}

TEST_F(DuplexDialogs, JapaneseCaptionAndTextAreDrawnAsGlyphs)
{
    // Drawn as glyphs, the texts look different from the same texts with every Japanese letter
    // replaced by one of them; drawn as boxes, they would look the same.
    int captionChange = -1, textChange = -1;
    OpenDuplex(1, 1041, DMBIN_CASSETTE, DMORIENT_PORTRAIT, nullptr, [&](HWND dialog) {
        HWND text = GetDlgItem(dialog, IDC_INSTRUCTION);
        int captionHeight = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFIXEDFRAME);
        Pixels window = SettledCapture(dialog, CaptureWindow);
        Pixels body = SettledCapture(text, CaptureClient);
        bool save = GetEnvironmentVariableA("DXDLG_SAVE_PNG", nullptr, 0) != 0;
        if (save)
            SavePng(window, L"duplex_japanese.png");
        SetWindowTextW(dialog, OneLetterOnly(WindowText(dialog)).c_str());
        SetWindowTextW(text, OneLetterOnly(WindowText(text)).c_str());
        Pixels oneLetterWindow = SettledCapture(dialog, CaptureWindow);
        Pixels oneLetterBody = SettledCapture(text, CaptureClient);
        if (save)
            SavePng(oneLetterWindow, L"duplex_one_letter.png");
        Pixels caption = window, oneLetterCaption = oneLetterWindow;
        caption.height = oneLetterCaption.height = captionHeight;
        caption.pixels.resize(size_t(caption.width) * size_t(captionHeight));
        oneLetterCaption.pixels.resize(caption.pixels.size());
        captionChange = Differences(caption, oneLetterCaption);
        textChange = Differences(body, oneLetterBody);
        ClickButton(dialog, IDOK);
    });
    ASSERT_EQ(seen.size(), 1u);
    // Measured: 249 and 3960 pixels with glyphs; 0 and 48 with boxes.
    EXPECT_GT(captionChange, 50) << "the Japanese caption is drawn as boxes";
    EXPECT_GT(textChange, 500) << "the Japanese text is drawn as boxes";
}

TEST_F(DuplexDialogs, OkGivesOneAndCancelEscapeAndCloseGiveZero)
{
    for (short source : {DMBIN_CASSETTE, DMBIN_MANUAL}) {
        SCOPED_TRACE(source == DMBIN_CASSETTE ? "cassette" : "manual feed");
        EXPECT_EQ(OpenDuplex(0, 1033, source, DMORIENT_PORTRAIT, nullptr, Click(IDOK)), 1);
        EXPECT_EQ(OpenDuplex(1, 1033, source, DMORIENT_PORTRAIT, nullptr, Press(VK_RETURN)), 1);
        EXPECT_EQ(OpenDuplex(0, 1033, source, DMORIENT_PORTRAIT, nullptr, Click(IDCANCEL)), 0);
        EXPECT_EQ(OpenDuplex(1, 1033, source, DMORIENT_PORTRAIT, nullptr, Press(VK_ESCAPE)), 0);
        EXPECT_EQ(OpenDuplex(0, 1033, source, DMORIENT_PORTRAIT, nullptr, CloseFromCaption), 0);
    }
}

TEST_F(DuplexDialogs, TheDriversRecordTurnsTheSecondPassPictureOver)
{
    DriverPrivateSettings rotated = Driver(0, 1, 180), both = Driver(2, 1, 180);
    OpenDuplex(5, 1033, DXDLG_DMBIN_MANUALFEED, DMORIENT_LANDSCAPE, nullptr, Click(IDOK));
    ASSERT_EQ(seen.size(), 1u);
    ExpectHolds(seen[0].picture, "ODD_T_M_D2");
    OpenDuplex(5, 1033, DXDLG_DMBIN_MANUALFEED, DMORIENT_LANDSCAPE, &rotated, Click(IDOK));
    ASSERT_EQ(seen.size(), 1u);
    ExpectHolds(seen[0].picture, "ODD_T_M_D1");
    OpenDuplex(5, 1033, DXDLG_DMBIN_MANUALFEED, DMORIENT_LANDSCAPE, &both, Click(IDOK));
    ASSERT_EQ(seen.size(), 1u);
    ExpectHolds(seen[0].picture, "ODD_T_M_D2");
    // Only the low 16 bits of the pass code count: 0x10000 is the first pass.
    OpenDuplex(0x10000, 1033, DMBIN_CASSETTE, DMORIENT_PORTRAIT, &rotated, Click(IDOK));
    ASSERT_EQ(seen.size(), 1u);
    ExpectHolds(seen[0].picture, "EVEN_T_C");
    EXPECT_EQ(seen[0].text, String(IDS_ENGLISH_CASSETTE_FIRST));
}

// A driver's own dialog may hold a picture control too: created on a thread after a call, it
// shows that call's illustration; on a thread that never made one, none.
TEST_F(DuplexDialogs, LaterPictureControlsOfTheThreadShowItsLastIllustration)
{
    OpenDuplex(0, 1033, DXDLG_DMBIN_MANUALFEED, DMORIENT_PORTRAIT, nullptr, Click(IDOK));
    HWND control = CreateWindowA(BITMAPCTL_CLASS, "", WS_POPUP, 0, 0, 150, 150, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(control, nullptr);
    HBITMAP shown = HeldBitmap(control);
    EXPECT_NE(shown, nullptr);
    if (shown)
        ExpectHolds(PixelsOf(shown), "EVEN_T_M");
    DestroyWindow(control);  // a control left behind would keep the class from being unregistered

    HANDLE thread = CreateThread(nullptr, 0, [](void *) -> DWORD {
        HWND other = CreateWindowA(BITMAPCTL_CLASS, "", WS_POPUP, 0, 0, 150, 150, nullptr, nullptr, nullptr, nullptr);
        DWORD held = other && HeldBitmap(other) != nullptr;
        DestroyWindow(other);
        return held;
    }, nullptr, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    DWORD held = 1;
    GetExitCodeThread(thread, &held);
    CloseHandle(thread);
    EXPECT_EQ(held, 0u) << "another thread's control took this thread's illustration";
}

TEST_F(DuplexDialogs, StoredLanguageAndFinnishFallingBackToEnglish)
{
    Load({{"countryCode", 1031}});
    OpenDuplex(0, DXDLG_STORED_LANGUAGE, DMBIN_MANUAL, DMORIENT_PORTRAIT, nullptr, Click(IDOK));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, Wide("Anleitung manueller Duplexdruck"));
    EXPECT_EQ(String(IDS_GERMAN_CAPTION), Wide("Anleitung manueller Duplexdruck\n"));
    EXPECT_EQ(seen[0].text, String(IDS_GERMAN_MANUALFEED_FIRST));
    EXPECT_EQ(seen[0].cancel, Wide("Abbrechen"));
    // Only the low 16 bits of the language argument count.
    OpenDuplex(0, 0x1FFFF, DMBIN_CASSETTE, DMORIENT_PORTRAIT, nullptr, Click(IDOK));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, Caption(IDS_GERMAN_CAPTION));

    // The catalogue has no Finnish texts: the English ones stand in.
    for (WORD passCode : {0, 4}) {
        OpenDuplex(passCode, 1035, DMBIN_CASSETTE, DMORIENT_PORTRAIT, nullptr, Click(IDOK));
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(String(IDS_FINNISH_CASSETTE_FIRST), L"");
        EXPECT_EQ(seen[0].text,
                  String(passCode ? IDS_ENGLISH_CASSETTE_SECOND : IDS_ENGLISH_CASSETTE_FIRST));
        EXPECT_EQ(seen[0].caption, Wide("Manual Duplex Instructions"));
        EXPECT_EQ(seen[0].ok, L"OK");
        EXPECT_EQ(seen[0].cancel, L"Cancel");
    }
}

TEST_F(DuplexDialogs, EveryLanguageModeShowsEachColumnAndReturnsTheLast)
{
    Load({{"countryCode", DXDLG_EVERY_LANGUAGE}});
    int dialogs = 0;
    // Cancel on the first does not shorten the series; OK on the last is the answer.
    EXPECT_EQ(OpenDuplex(3, 1033, DMBIN_CASSETTE, DMORIENT_PORTRAIT, nullptr, [&](HWND dialog) {
        ClickButton(dialog, dialogs++ == 0 ? IDCANCEL : IDOK);
    }), 1);
    ASSERT_EQ(seen.size(), size_t(LanguageCount));
    for (size_t i = 0; i < LanguageCount; i++) {
        EXPECT_EQ(seen[i].caption, Caption(kSeriesCaptions[i])) << "column " << i;
        ExpectHolds(seen[i].picture, "ODD_T_C_D2");
    }
    dialogs = 0;
    EXPECT_EQ(OpenDuplex(0, 1041, DMBIN_MANUAL, DMORIENT_PORTRAIT, nullptr, [&](HWND dialog) {
        ClickButton(dialog, ++dialogs == LanguageCount ? IDCANCEL : IDOK);
    }), 0);
    ASSERT_EQ(seen.size(), size_t(LanguageCount));
    EXPECT_EQ(seen[LanguageDutch].text, String(IDS_DUTCH_MANUALFEED_FIRST));
    EXPECT_EQ(seen[LanguagePortuguesePortugal].text,
              String(IDS_PORTUGUESE_PORTUGAL_MANUALFEED_FIRST));
}

TEST_F(DuplexDialogs, OwnerIsTheActiveWindowElseAValidFallbackElseNone)
{
    ASSERT_EQ(GetActiveWindow(), nullptr);
    HWND notAWindow = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x4321));
    ASSERT_FALSE(IsWindow(notAWindow));
    for (HWND fallback : {HWND(nullptr), notAWindow}) {
        EXPECT_EQ(OpenDuplex(0, 1033, DMBIN_CASSETTE, DMORIENT_PORTRAIT, nullptr, Click(IDOK), fallback), 1);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].owner, nullptr);
        EXPECT_TRUE(seen[0].active) << "an unowned dialog activates itself";
        EXPECT_EQ(OpenManualFeed(1033, Click(IDC_MANUALFEED_OK), fallback), 1);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].owner, nullptr);
    }
    // A driver's window that is not active: the dialogs belong to it, stay on top, and stand
    // centred over its client area, two fifths of the way down.
    HWND hidden = CreateWindowExW(0, L"STATIC", L"driver", WS_OVERLAPPEDWINDOW, 150, 60, 900, 700,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hidden, nullptr);
    ShowWindow(hidden, SW_SHOWNOACTIVATE);  // a hidden owner gives no place to stand over
    RECT client;
    GetClientRect(hidden, &client);
    POINT origin = {0, 0};
    ClientToScreen(hidden, &origin);
    EXPECT_EQ(OpenDuplex(0, 1033, DMBIN_CASSETTE, DMORIENT_PORTRAIT, nullptr, Click(IDOK), hidden), 1);
    ASSERT_EQ(seen.size(), 1u);
    Shown duplex = seen[0];
    EXPECT_EQ(OpenManualFeed(1031, Click(IDC_MANUALFEED_OK), hidden), 1);
    ASSERT_EQ(seen.size(), 1u);
    for (const Shown &shown : {duplex, seen[0]}) {
        EXPECT_EQ(shown.owner, hidden);
        EXPECT_TRUE(shown.topmost);
        LONG width = shown.rect.right - shown.rect.left, height = shown.rect.bottom - shown.rect.top;
        EXPECT_EQ(shown.rect.left, origin.x + (client.right - width) / 2);
        EXPECT_EQ(shown.rect.top, origin.y + (client.bottom - height) * 2 / 5);
    }
    DestroyWindow(hidden);
}

// A window of another thread that answers no message: its thread waits for the caller. A
// watchdog thread lets it go after `ms`, so that a call that waits for it still ends.
class WaitingOwnerThread {
public:
    WaitingOwnerThread()
    {
        thread_ = std::thread([this] {
            window = CreateWindowExW(0, L"STATIC", L"application", WS_OVERLAPPEDWINDOW, 120, 40,
                                     860, 660, nullptr, nullptr, nullptr, nullptr);
            ShowWindow(window, SW_SHOWNOACTIVATE);
            SetEvent(ready_);
            WaitForSingleObject(released_, 30000);
            DestroyWindow(window);
        });
        WaitForSingleObject(ready_, 5000);
    }
    ~WaitingOwnerThread()
    {
        SetEvent(released_);
        thread_.join();
        for (HANDLE event : {ready_, released_, returned_})
            CloseHandle(event);
    }
    // Runs `call`; true when it returned while the owner's thread still waited.
    bool ReturnsWithoutWaiting(const std::function<void()> &call, DWORD ms = 4000)
    {
        ResetEvent(returned_);
        bool fired = false;
        std::thread watchdog([&] {
            if (WaitForSingleObject(returned_, ms) == WAIT_TIMEOUT) {
                fired = true;
                SetEvent(released_);
            }
        });
        call();
        SetEvent(returned_);
        watchdog.join();
        return !fired;
    }
    HWND window = nullptr;

private:
    HANDLE ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE released_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE returned_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread thread_;
};

TEST_F(DuplexDialogs, OwnerOnAThreadThatWaitsForTheCallerOnlyPlacesTheDialog)
{
    ASSERT_EQ(GetActiveWindow(), nullptr);
    auto raw = Export<PFN_RawWarningDialog>(module, "RawWarningDialog");
    const struct {
        const char *call;
        std::function<void(HWND)> open;
    } calls[] = {
        {"OpenDuplexDlg", [&](HWND owner) {
             EXPECT_EQ(OpenDuplex(1, 1033, DMBIN_CASSETTE, DMORIENT_PORTRAIT, nullptr, Click(IDOK),
                                  owner), 1);
         }},
        {"OpenDuplexDlgMP", [&](HWND owner) {
             EXPECT_EQ(OpenManualFeed(1033, Click(IDC_MANUALFEED_OK), owner), 1);
         }},
        // The notice flashes up with the default time-out.
        {"RawWarningDialog", [&](HWND owner) {
             seen.clear();
             EXPECT_EQ(raw(owner, 1033, nullptr, "Owner elsewhere"), 0);
         }},
    };
    for (const auto &c : calls) {
        SCOPED_TRACE(c.call);
        WaitingOwnerThread application;
        ASSERT_NE(application.window, nullptr);
        RECT client;
        GetClientRect(application.window, &client);
        POINT origin = {0, 0};
        ClientToScreen(application.window, &origin);
        EXPECT_TRUE(application.ReturnsWithoutWaiting([&] { c.open(application.window); }))
            << "the call waited for the owner's thread";
        for (const Shown &dialog : seen) {
            EXPECT_EQ(dialog.owner, nullptr);
            EXPECT_TRUE(dialog.topmost);
            EXPECT_TRUE(dialog.active);
            LONG width = dialog.rect.right - dialog.rect.left;
            LONG height = dialog.rect.bottom - dialog.rect.top;
            EXPECT_EQ(dialog.rect.left, origin.x + (client.right - width) / 2);
            EXPECT_EQ(dialog.rect.top, origin.y + (client.bottom - height) * 2 / 5);
        }
    }
}

// What a hook of the caller runs once, when the next picture control is being created.
std::function<void()> whilePictureCreated;

LRESULT CALLBACK RunWhilePictureCreated(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && whilePictureCreated &&
        lstrcmpiA(ClassName(reinterpret_cast<HWND>(wParam)).c_str(), BITMAPCTL_CLASS) == 0) {
        std::function<void()> run = std::move(whilePictureCreated);
        whilePictureCreated = nullptr;
        run();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(DuplexDialogs, DialogOpenedWhileAnothersPictureIsCreatedLeavesThatPictureAlone)
{
    HLOCAL innerJob = JobBlock(DMBIN_MANUAL);
    int inner = -2;
    whilePictureCreated = [&] { inner = openDuplex(nullptr, nullptr, 0, 1, 1033, innerJob, nullptr, nullptr); };
    HHOOK hook = SetWindowsHookExW(WH_CBT, RunWhilePictureCreated, nullptr, GetCurrentThreadId());
    EXPECT_EQ(OpenDuplex(0, 1033, DMBIN_CASSETTE, DMORIENT_PORTRAIT, nullptr, Click(IDOK)), 1);
    UnhookWindowsHookEx(hook);
    whilePictureCreated = nullptr;
    LocalFree(innerJob);
    EXPECT_EQ(inner, 1);
    ASSERT_EQ(seen.size(), 2u);  // the inner dialog, then the outer one
    const DEVMODEA innerFields = JobFields(DMBIN_MANUAL, DMORIENT_PORTRAIT);
    ExpectHolds(seen[0].picture,
                DuplexPictureBitmap(SelectDuplexPicture(&innerFields, nullptr, 1)));
    ExpectHolds(seen[1].picture, "EVEN_T_C");
}

TEST_F(DuplexDialogs, DeviceSettingsThatCannotBeLockedShowNothing)
{
    HLOCAL empty = LocalAlloc(LMEM_MOVEABLE, 0);   // a discarded block: no memory to lock
    ASSERT_NE(empty, nullptr);
    ASSERT_EQ(LocalLock(empty), nullptr);
    for (HLOCAL devMode : {HLOCAL(nullptr), empty}) {
        DialogWatch watch([](HWND dialog) { ClickButton(dialog, IDOK); }, 2000);
        EXPECT_EQ(openDuplex(nullptr, nullptr, 0, 0, 1033, devMode, nullptr, nullptr), -1);
        EXPECT_EQ(watch.DialogsSeen(), 0);
    }
    LocalFree(empty);
}

TEST_F(DuplexDialogs, ManualFeedTemplatePerLanguageWithItsOwnTexts)
{
    // A duplex dialog first: its caption, column and picture must not reach the other dialog.
    OpenDuplex(2, 1036, DMBIN_CASSETTE, DMORIENT_PORTRAIT, nullptr, Click(IDOK));
    struct Case {
        WORD language;
        const char *caption, *ok, *cancel;
    } cases[] = {
        {1043, "HANDMATIGE PAPIERINVOER", "OK", "Annuleren"},
        {2067, "HANDMATIGE PAPIERINVOER", "OK", "Annuleren"},
        {1040, "GUIDA ALIMENTAZIONE MANUALE", "OK", "Annulla"},
        {4108, "FENTE D’INSERTION MANUELLE", "OK", "Annuler"},
        {2068, "MANUELL MATESPALTE", "OK", "Avbryt"},
        {1034, "BANDEJA DE ALIMENTACIÓN MANUAL", "Aceptar", "Cancelar"},
        {1053, "SKÅRA FÖR MANUELL MATNING", "OK", "Avbryt"},
        {1031, "Manueller Einzug", "OK", "Abbrechen"},
        {2055, "Manueller Einzug", "OK", "Abbrechen"},
        {1030, "MANUAL FEED SLOT", "OK", "Cancel"},
        {1041, "MANUAL FEED SLOT", "OK", "Cancel"},
        {1046, "MANUAL FEED SLOT", "OK", "Cancel"},
        {1033, "MANUAL FEED SLOT", "OK", "Cancel"},
        {2070, "MANUAL FEED SLOT", "OK", "Cancel"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "language " << c.language);
        HWND okButton = nullptr;
        std::wstring ok, cancel;
        EXPECT_EQ(OpenManualFeed(c.language, [&](HWND dialog) {
            ok = ItemText(dialog, IDC_MANUALFEED_OK);
            cancel = ItemText(dialog, IDC_MANUALFEED_CANCEL);
            okButton = GetDlgItem(dialog, IDC_MANUALFEED_OK);
            ClickButton(dialog, IDC_MANUALFEED_OK);
        }), 1);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption, Wide(c.caption));
        EXPECT_EQ(ok, Wide(c.ok));
        EXPECT_EQ(cancel, Wide(c.cancel));
        EXPECT_TRUE(seen[0].unicode);
        EXPECT_EQ(seen[0].pictureClass, MANUALDUPCTL_CLASS);
        ExpectHolds(seen[0].picture, "EVEN_T_M");
    }
}

TEST_F(DuplexDialogs, ManualFeedResultsAndStoredLanguage)
{
    // What another program may write into DWLP_USER is not written through.
    static char decoy[64];
    EXPECT_EQ(OpenManualFeed(1033, [](HWND dialog) {
        SetWindowLongPtrW(dialog, DWLP_USER, LONG_PTR(decoy));
        ClickButton(dialog, IDC_MANUALFEED_OK);
    }), 1);
    EXPECT_EQ(std::string(decoy, sizeof decoy), std::string(sizeof decoy, '\0'));
    EXPECT_EQ(OpenManualFeed(1033, Click(IDC_MANUALFEED_CANCEL)), 0);
    EXPECT_EQ(OpenManualFeed(1031, Press(VK_RETURN)), 1);
    EXPECT_EQ(OpenManualFeed(1033, Press(VK_ESCAPE)), 0);
    EXPECT_EQ(OpenManualFeed(1031, CloseFromCaption), 0);
    EXPECT_EQ(OpenManualFeed(1043, CloseFromCaption), 0);

    Load({{"countryCode", 1053}});
    OpenManualFeed(DXDLG_STORED_LANGUAGE, Click(IDC_MANUALFEED_OK));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, Wide("SKÅRA FÖR MANUELL MATNING"));
    Load({{"countryCode", 1031}});
    OpenManualFeed(DXDLG_STORED_LANGUAGE, Click(IDC_MANUALFEED_OK));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, Wide("Manueller Einzug"));
}

// The highest handle value among many new objects. Freed handle slots are handed out again
// first, so a slot that a dialog never gave back pushes the high water up by one step. Wine's
// GetGuiResources cannot count objects.
struct HandleHighWater {
    ULONG_PTR gdi = 0, user = 0;
};

HandleHighWater MeasureHandles()
{
    enum { kProbes = 2000 };
    static HBRUSH brushes[kProbes];
    static HACCEL tables[kProbes];
    ACCEL accel = {FVIRTKEY, 'A', 1};
    HandleHighWater high;
    for (int i = 0; i < kProbes; i++) {
        brushes[i] = CreateSolidBrush(RGB(i & 0xFF, 0, 0));
        tables[i] = CreateAcceleratorTableW(&accel, 1);
        high.gdi = std::max(high.gdi, reinterpret_cast<ULONG_PTR>(brushes[i]) & 0xFFFF);
        high.user = std::max(high.user, reinterpret_cast<ULONG_PTR>(tables[i]) & 0xFFFF);
    }
    for (int i = 0; i < kProbes; i++) {
        DeleteObject(brushes[i]);
        DestroyAcceleratorTable(tables[i]);
    }
    return high;
}

TEST_F(DuplexDialogs, HundredsOfDialogsLeaveNoObjectBehind)
{
    // Warm up: the first dialogs load fonts and classes once for the process.
    OpenDuplex(0, 1041, DMBIN_CASSETTE, DMORIENT_PORTRAIT, nullptr, Click(IDOK));
    OpenManualFeed(1033, Click(IDC_MANUALFEED_OK));
    HandleHighWater before = MeasureHandles();
    std::vector<HBITMAP> held;
    const WORD languages[] = {1033, 1041, 1042, 2052, 1031, 1035};
    for (int i = 0; i < 120; i++) {
        OpenDuplex(WORD(i % 7), languages[i % 6], (i & 1) ? DMBIN_MANUAL : DMBIN_CASSETTE,
                   (i & 2) ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE, nullptr, Click(i % 3 ? IDOK : IDCANCEL));
        ASSERT_EQ(seen.size(), 1u);
        held.push_back(seen[0].bitmap);
        if (i % 2 == 0) {
            OpenManualFeed(i % 4 ? 1031 : 1033, Click(IDC_MANUALFEED_CANCEL));
            ASSERT_EQ(seen.size(), 1u);
            held.push_back(seen[0].bitmap);
        }
    }
    // Every control held a bitmap of its own, and no bitmap outlived its dialog.
    int live = 0, none = 0;
    for (HBITMAP bitmap : held) {
        none += bitmap == nullptr;
        live += GetObjectType(bitmap) != 0;
    }
    EXPECT_EQ(held.size(), 180u);
    EXPECT_EQ(none, 0);
    EXPECT_EQ(live, 0);
    EXPECT_EQ(FindThreadDialog(), nullptr);
    HandleHighWater after = MeasureHandles();
    printf("%zu dialogs; GDI high water %#llx -> %#llx, USER %#llx -> %#llx\n", held.size(),
           (unsigned long long)before.gdi, (unsigned long long)after.gdi,
           (unsigned long long)before.user, (unsigned long long)after.user);
    // An object left behind by each dialog would add at least one step per dialog (180 or
    // more); allow a little noise.
    EXPECT_LE(after.gdi, before.gdi + 16) << "GDI handles climb: " << before.gdi << " -> " << after.gdi;
    EXPECT_LE(after.user, before.user + 16) << "USER handles climb: " << before.user << " -> " << after.user;
}

// ---- What a call keeps to itself ----

// A duplex call on a thread of its own, for tests with dialogs on several threads at once:
// DialogWatch serves one thread. Each new dialog of the thread is read and told to `onSeen`,
// and OK is clicked once `ready` says so; a dialog still open after 20 s is closed.
struct ThreadCall {
    PFN_OpenDuplexDlg open = nullptr;
    UINT passCode = 0, language = 1033;
    short source = DMBIN_CASSETTE;
    std::function<void()> onSeen = [] {};
    std::function<bool()> ready = [] { return true; };
    DialogThread thread;  // its beforeDialog runs as the thread's first dialog is created
    // What happened on the thread.
    int result = -2;
    std::vector<Shown> seen;
    HWND current = nullptr;
    bool watchdogFired = false;

    void Start()
    {
        DWORD started = GetTickCount();
        thread.eachTick = [this, started](HWND dialog) {
            if (dialog && GetTickCount() - started > 20000) {
                watchdogFired = true;
                CloseByForce(dialog);
            } else if (dialog) {
                if (dialog != current) {
                    current = dialog;
                    seen.push_back(Read(dialog));
                    onSeen();
                }
                if (ready())
                    ClickButton(dialog, IDOK);
            }
        };
        thread.Start([this] {
            HLOCAL devMode = JobBlock(source);
            result = open(nullptr, nullptr, 0, passCode, language, devMode, nullptr, nullptr);
            LocalFree(devMode);
        });
    }
};

TEST_F(DuplexDialogs, TwoThreadsEachWithADialogShowTheirOwnJob)
{
    struct Expected {
        WORD language;
        short source;
        UINT passCode, caption, text;
        const char *bitmap;
    } jobs[2] = {
        {1041, DMBIN_CASSETTE, 0, IDS_JAPANESE_CAPTION, IDS_JAPANESE_CASSETTE_FIRST, "EVEN_T_C"},
        {1031, DMBIN_MANUAL, 3, IDS_GERMAN_CAPTION, IDS_GERMAN_MANUALFEED_SECOND, "ODD_T_M_D2"},
    };
    for (int round = 0; round < 6; round++) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        // Both dialogs stand at once before either is answered.
        volatile LONG open = 0;
        ThreadCall calls[2];
        for (int i = 0; i < 2; i++) {
            calls[i].open = openDuplex;
            calls[i].language = jobs[i].language;
            calls[i].source = jobs[i].source;
            calls[i].passCode = jobs[i].passCode;
            calls[i].onSeen = [&open] { InterlockedIncrement(&open); };
            calls[i].ready = [&open] { return open >= 2; };
        }
        for (ThreadCall &call : calls)
            call.Start();
        for (ThreadCall &call : calls)
            EXPECT_TRUE(call.thread.Join()) << "a dialog's thread hangs";
        for (int i = 0; i < 2; i++) {
            SCOPED_TRACE(testing::Message() << "language " << jobs[i].language);
            EXPECT_EQ(calls[i].result, 1);
            EXPECT_FALSE(calls[i].watchdogFired);
            ASSERT_EQ(calls[i].seen.size(), 1u);
            EXPECT_EQ(calls[i].seen[0].caption, Caption(jobs[i].caption));
            EXPECT_EQ(calls[i].seen[0].text, String(jobs[i].text));
            ExpectHolds(calls[i].seen[0].picture, jobs[i].bitmap);
        }
    }
}

// The first thread to take the slot of the picture names is held inside TlsAlloc, where only
// the DLL's import entry leads, until the second has taken one too, named its picture and begun
// creating its dialog; the second creates its picture control only once the first one's dialog
// is on screen.
HANDLE firstTakingSlot, secondCreating;
LONG slotTakers;
ImportPatch *tlsAlloc;

DWORD WINAPI HoldTheFirstSlotTaker()
{
    if (InterlockedIncrement(&slotTakers) == 1) {
        SetEvent(firstTakingSlot);
        WaitForSingleObject(secondCreating, 20000);
    }
    return tlsAlloc->Original<decltype(&TlsAlloc)>()();
}

TEST_F(DuplexDialogs, TwoThreadsTakingTheNameSlotAtOnceEachShowTheirOwnPicture)
{
    firstTakingSlot = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    secondCreating = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE firstShown = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ThreadCall first, second;
    first.open = second.open = openDuplex;
    first.onSeen = [firstShown] { SetEvent(firstShown); };
    second.source = DMBIN_MANUAL;
    second.passCode = 3;
    second.thread.beforeDialog = [firstShown] {
        SetEvent(secondCreating);
        WaitForSingleObject(firstShown, 20000);
    };
    // A picture control that the second thread creates while its dialog is open shows that
    // thread's illustration: its slot was not lost to the first thread's.
    Pixels laterControl;
    second.onSeen = [&laterControl] {
        HWND control = CreateWindowA(BITMAPCTL_CLASS, "", WS_POPUP, 0, 0, 150, 150, nullptr,
                                     nullptr, nullptr, nullptr);
        laterControl = PixelsOf(HeldBitmap(control));
        DestroyWindow(control);
    };
    {
        ImportPatch patch(module, "KERNEL32.dll", "TlsAlloc", HoldTheFirstSlotTaker);
        ASSERT_TRUE(patch.Patched());
        tlsAlloc = &patch;
        slotTakers = 0;
        first.Start();
        EXPECT_TRUE(WaitHandling(firstTakingSlot, 20000));
        second.Start();
        EXPECT_TRUE(first.thread.Join()) << "a dialog's thread hangs";
        EXPECT_TRUE(second.thread.Join()) << "a dialog's thread hangs";
    }
    ASSERT_EQ(first.seen.size(), 1u);
    ASSERT_EQ(second.seen.size(), 1u);
    ExpectHolds(first.seen[0].picture, "EVEN_T_C");
    ExpectHolds(second.seen[0].picture, "ODD_T_M_D2");
    ExpectHolds(laterControl, "ODD_T_M_D2");
    for (HANDLE event : {firstTakingSlot, secondCreating, firstShown})
        CloseHandle(event);
}

TEST_F(DuplexDialogs, EveryLanguageSeriesBesideAnotherThreadsSeriesShowsAllItsColumns)
{
    Load({{"countryCode", DXDLG_EVERY_LANGUAGE}});
    // While this thread's series stands at its first column, another thread starts its own
    // series, of another job.
    ThreadCall other;
    other.open = openDuplex;
    other.language = 1031;
    other.source = DMBIN_MANUAL;
    other.passCode = 3;
    HANDLE otherShown = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    other.onSeen = [otherShown] { SetEvent(otherShown); };
    bool started = false;
    EXPECT_EQ(OpenDuplex(3, 1033, DMBIN_CASSETTE, DMORIENT_PORTRAIT, nullptr, [&](HWND dialog) {
        if (!started) {
            started = true;
            other.Start();
            EXPECT_TRUE(WaitHandling(otherShown, 20000)) << "the other thread shows nothing";
        }
        ClickButton(dialog, IDOK);
    }), 1);
    ASSERT_TRUE(started);
    EXPECT_TRUE(other.thread.Join());
    CloseHandle(otherShown);

    ASSERT_EQ(seen.size(), size_t(LanguageCount));
    ASSERT_EQ(other.seen.size(), size_t(LanguageCount));
    EXPECT_EQ(other.result, 1);
    for (size_t i = 0; i < LanguageCount; i++) {
        SCOPED_TRACE(testing::Message() << "column " << i);
        EXPECT_EQ(seen[i].caption, Caption(kSeriesCaptions[i]));
        EXPECT_EQ(other.seen[i].caption, Caption(kSeriesCaptions[i]));
        ExpectHolds(seen[i].picture, "ODD_T_C_D2");
        ExpectHolds(other.seen[i].picture, "ODD_T_M_D2");
    }
    EXPECT_EQ(seen[LanguagePortuguesePortugal].text, String(IDS_PORTUGUESE_PORTUGAL_CASSETTE_SECOND));
    EXPECT_EQ(other.seen[LanguagePortuguesePortugal].text,
              String(IDS_PORTUGUESE_PORTUGAL_MANUALFEED_SECOND));
}

// The exit code of the quit message waiting in this thread's queue, taken out; -1 for none.
int TakeQuitMessage()
{
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) ? int(msg.wParam) : -1;
}

TEST_F(DuplexDialogs, QuitMessageEndsTheDialogUnconfirmedAndIsPostedAgain)
{
    auto quit = [](HWND) { PostQuitMessage(42); };
    EXPECT_EQ(OpenDuplex(0, 1033, DMBIN_CASSETTE, DMORIENT_PORTRAIT, nullptr, quit), 0);
    EXPECT_EQ(TakeQuitMessage(), 42);
    EXPECT_EQ(OpenDuplex(1, 1041, DMBIN_MANUAL, DMORIENT_PORTRAIT, nullptr, quit), 0);
    EXPECT_EQ(TakeQuitMessage(), 42);
    EXPECT_EQ(OpenManualFeed(1031, quit), 0);
    EXPECT_EQ(TakeQuitMessage(), 42);
    EXPECT_EQ(OpenManualFeed(1033, quit), 0);
    EXPECT_EQ(TakeQuitMessage(), 42);

    // The every-language series stops at the dialog that the quit message ended: no further
    // dialog is even created (the quit message would close each at once, unseen).
    Load({{"countryCode", DXDLG_EVERY_LANGUAGE}});
    int dialogs = 0;
    static int created;
    created = 0;
    HHOOK hook = SetWindowsHookExW(WH_CBT, [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
        created += code == HCBT_CREATEWND && ClassName(HWND(wParam)) == "#32770";
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }, nullptr, GetCurrentThreadId());
    EXPECT_EQ(OpenDuplex(0, 1033, DMBIN_CASSETTE, DMORIENT_PORTRAIT, nullptr, [&](HWND dialog) {
        if (++dialogs == 3)
            PostQuitMessage(7);
        else
            ClickButton(dialog, IDOK);
    }), 0);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(created, 3);
    EXPECT_EQ(TakeQuitMessage(), 7);

    // A dialog that another hand ends is no quit: its result when that is 1, else 0.
    Load({{"countryCode", 1033}});
    EXPECT_EQ(OpenDuplex(0, 1033, DMBIN_CASSETTE, DMORIENT_PORTRAIT, nullptr, [](HWND dialog) {
        EndDialog(dialog, 1);
    }), 1);
    EXPECT_EQ(OpenManualFeed(1033, [](HWND dialog) { EndDialog(dialog, IDC_MANUALFEED_OK); }), 0);
    EXPECT_EQ(TakeQuitMessage(), -1);
}

// Counts reads of a guard page and lets each go on (the system drops the guard on the first).
volatile LONG guardPageReads;

LONG CALLBACK CountGuardPageReads(EXCEPTION_POINTERS *exception)
{
    if (exception->ExceptionRecord->ExceptionCode != STATUS_GUARD_PAGE_VIOLATION)
        return EXCEPTION_CONTINUE_SEARCH;
    InterlockedIncrement(&guardPageReads);
    return EXCEPTION_CONTINUE_EXECUTION;
}

TEST_F(DuplexDialogs, DeviceBlockShorterThanItsFieldsIsNotRead)
{
    // dmDefaultSource, the later of the two fields that the dialog reads, ends at byte 58.
    for (SIZE_T size : {SIZE_T(8), SIZE_T(16), SIZE_T(48), SIZE_T(57), SIZE_T(58)}) {
        SCOPED_TRACE(testing::Message() << size << " bytes");
        HLOCAL block = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, size);
        ASSERT_EQ(LocalSize(block), size);
        DialogWatch watch([](HWND dialog) { ClickButton(dialog, IDOK); }, 5000);
        EXPECT_EQ(openDuplex(nullptr, nullptr, 0, 0, 1033, block, nullptr, nullptr),
                  size < 58 ? -1 : 1);
        EXPECT_EQ(watch.DialogsSeen(), size < 58 ? 0 : 1);
        LocalFree(block);
    }

    // A fixed block's handle is its address: 48 bytes that end where a guard page begins.
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    DWORD page = system.dwPageSize, protection;
    auto *pages = static_cast<BYTE *>(VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT,
                                                   PAGE_READWRITE));
    ASSERT_NE(pages, nullptr);
    ASSERT_TRUE(VirtualProtect(pages + page, page, PAGE_READWRITE | PAGE_GUARD, &protection));
    guardPageReads = 0;
    PVOID handler = AddVectoredExceptionHandler(1, CountGuardPageReads);
    {
        DialogWatch watch([](HWND dialog) { ClickButton(dialog, IDOK); }, 5000);
        EXPECT_EQ(openDuplex(nullptr, nullptr, 0, 0, 1033, HLOCAL(pages + page - 48), nullptr,
                             nullptr), -1);
        EXPECT_EQ(watch.DialogsSeen(), 0);
    }
    RemoveVectoredExceptionHandler(handler);
    EXPECT_EQ(guardPageReads, 0) << "the dialog read beyond the device block";
    VirtualFree(pages, 0, MEM_RELEASE);
}

}  // namespace
