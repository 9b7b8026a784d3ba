// The main job: its shared helpers (language names on the command line, the text-fit measure
// that the gallery reports translators' overflows with, screen captures as PNG) and its
// programs as a user runs them (the demo driver answering a whole job, the gallery).
#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <string>

#include "desktop.h"
#include "dxdlg.h"
#include "harness.h"
#include "languages.h"
#include "textfit.h"

namespace {

TEST(Languages, TagsLocaleNamesNumbersAndTheStoredLanguage)
{
    const struct {
        const char *text;
        WORD id;
    } cases[] = {{"ja", 1041},     {"JA", 1041},   {"pt-PT", 2070}, {"pt-BR", 1046}, {"pt", 1046},
                 {"de", 1031},     {"de-AT", 3079}, {"ko-Johab", 2066}, {"zh", 2052}, {"nb", 1044},
                 {"1041", 1041},   {"0x411", 1041}, {"0", 0},          {"stored", 0xFFFF}, {"65535", 0xFFFF},
                 {"fr-CA", 3084}};
    for (const auto &c : cases) {
        WORD id = 0x1234;
        EXPECT_TRUE(dxdesk::ParseLanguage(c.text, &id)) << c.text;
        EXPECT_EQ(id, c.id) << c.text;
    }
    for (const char *bad : {"", "klingon", "65536", "-1", "12abc"}) {
        WORD id = 0x1234;
        EXPECT_FALSE(dxdesk::ParseLanguage(bad, &id)) << bad;
        EXPECT_EQ(id, 0x1234) << bad;
    }
}

TEST(Languages, EveryIdentifierOfTheLibrarysTableHasANameAndATag)
{
    for (size_t i = 0; i < LanguageRowCount; i++) {
        WORD id = LanguageRows[i].language;
        const dxdesk::Language *language = dxdesk::FindLanguage(id);
        ASSERT_NE(language, nullptr) << id;
        WORD parsed = 0;
        EXPECT_TRUE(dxdesk::ParseLanguage(language->tag, &parsed));
        EXPECT_EQ(parsed, id) << language->tag;
    }
    // Each duplex column by its main language.
    for (LanguageIndex column = 0; column < LanguageCount; column++)
        EXPECT_EQ(SelectLanguage(dxdesk::DuplexColumnLanguage(column))->column, column);
    EXPECT_EQ(dxdesk::DuplexColumnLanguage(LanguageDutch), 1043);
}

class TextFitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        HDC dc = GetDC(window);
        HGDIOBJ old = SelectObject(dc, font);
        RECT rect = {0, 0, 1000, 0};
        DrawTextW(dc, L"Ag", -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
        lineHeight = rect.bottom;
        SelectObject(dc, old);
        ReleaseDC(window, dc);
        ASSERT_GT(lineHeight, 0);
    }
    void TearDown() override { DestroyWindow(window); }
    HWND AddStatic(const wchar_t *text, int id, int width, int height, DWORD style = SS_LEFT)
    {
        HWND control = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, 10, 10 + 60 * id, width,
                                       height, window, reinterpret_cast<HMENU>(INT_PTR(id)), nullptr, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return control;
    }
    HWND window = nullptr;
    HFONT font = nullptr;
    int lineHeight = 0;
};

TEST_F(TextFitTest, AnExactFitPassesAndOnePixelLessIsClippedByOne)
{
    AddStatic(L"Ag", 1, 100, lineHeight);
    AddStatic(L"Ag", 2, 100, lineHeight - 1);
    dxdesk::TextFit fit = dxdesk::MeasureStaticTexts(window);
    EXPECT_EQ(fit.measured, 2);
    ASSERT_EQ(fit.clips.size(), 1u);
    EXPECT_EQ(fit.clips[0].control, 2);
    EXPECT_EQ(fit.clips[0].index, 2);
    EXPECT_EQ(fit.clips[0].box.cy, lineHeight - 1);
    EXPECT_EQ(fit.clips[0].needed.cy, lineHeight);
    EXPECT_EQ(fit.clips[0].hidden, L"Ag");  // not even one line is whole
}

TEST_F(TextFitTest, AWrappedTextThatOverflowsNamesTheWordsNotShown)
{
    const std::wstring text = L"one two three four five six seven eight nine ten eleven twelve";
    AddStatic(text.c_str(), 1, 90, 2 * lineHeight);
    dxdesk::TextFit fit = dxdesk::MeasureStaticTexts(window);
    ASSERT_EQ(fit.clips.size(), 1u);
    const dxdesk::TextClip &clip = fit.clips[0];
    EXPECT_GT(clip.needed.cy, 2 * lineHeight);
    EXPECT_EQ(clip.needed.cy % lineHeight, 0);
    EXPECT_FALSE(clip.hidden.empty());
    EXPECT_LT(clip.hidden.size(), text.size());
    // What is hidden is the end of the text, and what comes before it fits the box.
    ASSERT_EQ(text.compare(text.size() - clip.hidden.size(), clip.hidden.size(), clip.hidden), 0);
    EXPECT_EQ(text.find(L"twelve"), text.size() - 6);
    EXPECT_NE(clip.hidden.find(L"twelve"), std::wstring::npos);
    EXPECT_EQ(clip.hidden.find(L"one two"), std::wstring::npos);
}

TEST_F(TextFitTest, TrailingLineFeedsEmptyTextsAndPicturesAreNotClips)
{
    AddStatic(L"Ag\n\n\n", 1, 100, lineHeight);  // the line feeds draw nothing
    AddStatic(L"", 2, 10, 2);
    AddStatic(L"", 3, 32, 32, SS_ICON);
    AddStatic(L"A long text that would never fit", 4, 10, 2, SS_BLACKRECT);
    dxdesk::TextFit fit = dxdesk::MeasureStaticTexts(window);
    EXPECT_EQ(fit.measured, 1);
    EXPECT_TRUE(fit.clips.empty());
    EXPECT_FALSE(fit.font.empty());
}

TEST_F(TextFitTest, PrefixCharactersCountAsTheControlDrawsThem)
{
    // "&&&&&&&&" draws four ampersands, SS_NOPREFIX eight: a box four wide holds only the first.
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    RECT rect = {0, 0, 1000, 0};
    DrawTextW(dc, L"&&&&&&&&", -1, &rect, DT_CALCRECT | DT_SINGLELINE);
    int fourWide = rect.right;
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    AddStatic(L"&&&&&&&&", 1, fourWide, lineHeight, SS_SIMPLE);
    AddStatic(L"&&&&&&&&", 2, fourWide, lineHeight, SS_SIMPLE | SS_NOPREFIX);
    dxdesk::TextFit fit = dxdesk::MeasureStaticTexts(window);
    EXPECT_EQ(fit.measured, 2);
    ASSERT_EQ(fit.clips.size(), 1u);
    EXPECT_EQ(fit.clips[0].control, 2);
    EXPECT_GT(fit.clips[0].needed.cx, fourWide);
}

}  // namespace

// ---- The tools as a user runs them: child processes, their output and their files ----

namespace {

// Runs a program of the build folder with the arguments; its exit status, its output in *output.
DWORD RunTool(const std::string &program, const std::string &arguments, std::string *output, DWORD timeoutMs = 60000)
{
    return dxdesk::RunProgram("\"" + dxdesk::ProgramFolder() + program + "\" " + arguments, output, timeoutMs);
}

int Count(const std::string &text, const std::string &what)
{
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size()))
        count++;
    return count;
}

const char kNoticesStayUp[] = " --raw-timeout 20000 --err-timeout 20000";

std::string ReadText(const std::string &path)
{
    std::string text;
    if (FILE *file = fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (size_t got; (got = fread(buffer, 1, sizeof(buffer), file)) > 0;)
            text.append(buffer, got);
        fclose(file);
    }
    return text;
}

// A folder of the temporary folder for a gallery, empty.
std::string GalleryFolder(const char *name)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + name;
}

// Deletes the files that the gallery wrote into the folder (and its folders of one scale).
void RemoveGallery(const std::string &folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string path = folder + "\\" + entry.cFileName;
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA(path.c_str());
            else if (entry.cFileName[0] != '.')
                RemoveGallery(path);
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

// The value of HKEY_CURRENT_USER's key, or "(none)".
std::string UserValue(const char *key, const char *name)
{
    char data[256] = "";
    DWORD size = sizeof(data) - 1;
    DWORD type = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS)
        return "(none)";
    return type == REG_DWORD ? std::to_string(*reinterpret_cast<DWORD *>(data)) : std::string(data);
}

// The demo stores the settings it is given, as a user asks it to, and the DLL stores the values
// it misses: each test that runs them puts the settings back as it found them.
class PutsBackTheSettings : public ::testing::Test {
    dxtest::SettingsAsFound settings_;
};
using Demo = PutsBackTheSettings;
using Gallery = PutsBackTheSettings;
using AfterEveryTest = PutsBackTheSettings;

}  // namespace

TEST_F(Demo, RunsAJobAnsweringEveryDialogThroughTheKeyboard)
{
    std::string output;
    const std::string manualFeedBin = std::to_string(DXDLG_DMBIN_MANUALFEED);
    DWORD status = RunTool("dxdlg-demo.exe",
                           "--lang ko --source " + manualFeedBin + " --pass 3 --reversal 2 --country 1033 --auto 30" +
                               kNoticesStayUp,
                           &output);
    EXPECT_EQ(status, 0u) << output;
    EXPECT_NE(output.find("FRegisterBitmapControl(dll)   -> 1"), std::string::npos) << output;
    EXPECT_NE(output.find("FRegisterBitmapControlMP(dll) -> 1"), std::string::npos) << output;
    EXPECT_NE(output.find("dmDefaultSource " + manualFeedBin + " (manual-feed slot)"), std::string::npos) << output;
    EXPECT_NE(output.find("OpenDuplexDlg(pass code 3"), std::string::npos) << output;
    EXPECT_EQ(Count(output, "-> 1 (OK)"), 3) << output;     // both passes and the manual-feed slot
    EXPECT_EQ(Count(output, "(closed by OK)"), 3) << output;  // the three notices, by Enter
    EXPECT_NE(output.find("dxdlg-demo: job done"), std::string::npos) << output;
}

TEST_F(Demo, AnswersEachDialogOfTheEveryLanguageSeries)
{
    std::string output;
    const std::string everyLanguage = std::to_string(LONG(DXDLG_EVERY_LANGUAGE));
    DWORD status = RunTool("dxdlg-demo.exe", "--lang en --country " + everyLanguage + " --auto 10" + kNoticesStayUp,
                           &output);
    EXPECT_EQ(status, 0u) << output;
    EXPECT_NE(output.find("every language"), std::string::npos) << output;
    // A duplex dialog per column and pass, the manual-feed slot dialog, three notices.
    EXPECT_EQ(Count(output, "shown:"), 2 * LanguageCount + 1 + 3) << output;
    EXPECT_EQ(Count(output, "-> 1 (OK)"), 3) << output;
}

TEST_F(Demo, RefusesWhatItDoesNotUnderstand)
{
    for (const char *arguments : {"--lang klingon", "--bogus", "--auto", "--auto -5", "--reversal 256"}) {
        std::string output;
        EXPECT_EQ(RunTool("dxdlg-demo.exe", arguments, &output), 2u) << arguments;
        EXPECT_NE(output.find("Try --help"), std::string::npos) << arguments << ": " << output;
    }
    std::string help;
    EXPECT_EQ(RunTool("dxdlg-demo.exe", "--help", &help), 0u);
    for (const char *option : {"--lang", "--source", "--orientation", "--pass", "--reversal", "--rotation",
                               "--raw-title", "--memfull-title", "--diskful-title", "--auto"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
}

TEST_F(Gallery, CapturesEveryJapaneseDialogIntoItsContactSheet)
{
    std::string folder = GalleryFolder("dxdlg-gallery-test");
    std::string output;
    DWORD status = RunTool("dxdlg-gallery.exe", "--only -ja \"" + folder + "\"", &output);
    EXPECT_EQ(status, 0u) << output;
    // Six duplex dialogs, the manual-feed slot dialog and the three notices.
    EXPECT_NE(output.find("static texts in 10 dialogs"), std::string::npos) << output;
    const char *files[] = {"duplex-cassette-pass0-10-ja.png", "duplex-cassette-pass1-10-ja.png",
                           "duplex-cassette-pass3-10-ja.png", "duplex-manual-pass0-10-ja.png",
                           "duplex-manual-pass1-10-ja.png",   "duplex-manual-pass3-10-ja.png",
                           "manualfeed-ja.png",               "notice-raw-ja.png",
                           "notice-memfull-ja.png",           "notice-diskful-ja.png"};
    std::string html = ReadText(folder + "\\index.html");
    EXPECT_EQ(Count(html, "<img "), 10);
    for (const char *file : files) {
        std::string path = folder + "\\" + file;
        EXPECT_NE(html.find(std::string("src=\"") + file + "\""), std::string::npos) << file;
        // A real capture: a PNG of a dialog's size with both dark (text) and light pixels.
        std::wstring wide(path.begin(), path.end());
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
        {
            Gdiplus::Bitmap image(wide.c_str());
            ASSERT_EQ(image.GetLastStatus(), Gdiplus::Ok) << file;
            EXPECT_GT(image.GetWidth(), 150u) << file;
            EXPECT_GT(image.GetHeight(), 60u) << file;
            int dark = 0, light = 0;
            for (UINT y = 0; y < image.GetHeight(); y += 2)
                for (UINT x = 0; x < image.GetWidth(); x += 2) {
                    Gdiplus::Color color;
                    image.GetPixel(INT(x), INT(y), &color);
                    int sum = color.GetR() + color.GetG() + color.GetB();
                    dark += sum < 150 ? 1 : 0;
                    light += sum > 600 ? 1 : 0;
                }
            EXPECT_GT(dark, 20) << file;
            EXPECT_GT(light, 20) << file;
        }
        Gdiplus::GdiplusShutdown(token);
    }
    RemoveGallery(folder);
}

TEST_F(Gallery, AtSeveralScalesEachOnItsOwnDesktopWithOneSheetThatSwitches)
{
    std::string folder = GalleryFolder("dxdlg-gallery-scales-test");
    const char desktop[] = "Control Panel\\Desktop", desktops[] = "Software\\Wine\\Explorer\\Desktops";
    std::string logPixels = UserValue(desktop, "LogPixels"), screen = UserValue(desktops, "dxdlg-gallery-192");
    std::string output;
    DWORD status = RunTool("dxdlg-gallery.exe", "--scales 96,192 --only notice-raw-ja \"" + folder + "\"", &output);
    EXPECT_EQ(status, 0u) << output;
    EXPECT_EQ(UserValue(desktop, "LogPixels"), logPixels);
    EXPECT_EQ(UserValue(desktops, "dxdlg-gallery-192"), screen);

    std::string report = ReadText(folder + "\\textfit.txt");
    EXPECT_NE(report.find("Text fit at 96 DPI: 0 clipped of 1 static texts in 1 dialogs"), std::string::npos) << report;
    EXPECT_NE(report.find("Text fit at 192 DPI: 0 clipped of 1 static texts in 1 dialogs"), std::string::npos) << report;
    std::string html = ReadText(folder + "\\index.html");
    EXPECT_NE(html.find("id=\"dpi192\""), std::string::npos);
    EXPECT_NE(html.find("src=\"96/notice-raw-ja.png\""), std::string::npos);
    EXPECT_NE(html.find("src=\"192/notice-raw-ja.png\""), std::string::npos);
    // The notice at 192 DPI: twice the size, give or take what the fonts round.
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    {
        std::wstring small = std::wstring(folder.begin(), folder.end()) + L"\\96\\notice-raw-ja.png";
        std::wstring large = std::wstring(folder.begin(), folder.end()) + L"\\192\\notice-raw-ja.png";
        Gdiplus::Bitmap a(small.c_str()), b(large.c_str());
        ASSERT_EQ(a.GetLastStatus(), Gdiplus::Ok);
        ASSERT_EQ(b.GetLastStatus(), Gdiplus::Ok);
        EXPECT_NEAR(double(b.GetWidth()) / a.GetWidth(), 2.0, 0.2) << a.GetWidth() << " and " << b.GetWidth();
        EXPECT_NEAR(double(b.GetHeight()) / a.GetHeight(), 2.0, 0.2) << a.GetHeight() << " and " << b.GetHeight();
    }
    Gdiplus::GdiplusShutdown(token);
    RemoveGallery(folder);
}

TEST(Capture, APaintedWindowComesBackFromItsPngPixelForPixel)
{
    HWND window = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 50, 60, 40, 30, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    // The window's pixels reach the screen from the message loop, as a dialog's do.
    auto pump = [] {
        for (int round = 0; round < 10; round++) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            Sleep(10);
        }
    };
    pump();
    HDC dc = GetDC(window);
    RECT left = {0, 0, 20, 30}, right = {20, 0, 40, 30};
    HBRUSH red = CreateSolidBrush(RGB(200, 10, 20)), blue = CreateSolidBrush(RGB(10, 20, 200));
    ValidateRect(window, nullptr);
    FillRect(dc, &left, red);
    FillRect(dc, &right, blue);
    ReleaseDC(window, dc);
    pump();
    dxdesk::Pixels image = dxdesk::CaptureClient(window);
    ASSERT_EQ(image.width, 40);
    ASSERT_EQ(image.height, 30);
    EXPECT_EQ(image.At(5, 5), RGB(200, 10, 20));
    EXPECT_EQ(image.At(35, 25), RGB(10, 20, 200));
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    std::string path = std::string(temp) + "dxdlg-capture-test.png";
    std::wstring wide(path.begin(), path.end());
    ASSERT_TRUE(dxdesk::SavePng(image, wide));
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    {
        Gdiplus::Bitmap png(wide.c_str());
        ASSERT_EQ(png.GetWidth(), 40u);
        ASSERT_EQ(png.GetHeight(), 30u);
        for (int y = 0; y < 30; y += 7)
            for (int x = 0; x < 40; x += 3) {
                Gdiplus::Color color;
                png.GetPixel(x, y, &color);
                EXPECT_EQ(RGB(color.GetR(), color.GetG(), color.GetB()), image.At(x, y)) << x << "," << y;
            }
    }
    Gdiplus::GdiplusShutdown(token);
    DeleteFileA(path.c_str());
    DeleteObject(red);
    DeleteObject(blue);
    DestroyWindow(window);
}

// Last of the program's tests, and the tests run last of all: what a newcomer sees after
// tools/test.sh. Every test before put back what it stored, so the demo asked for Japanese
// shows each duplex dialog once, in Japanese, not the every-language series that a test asked
// for with countryCode -52718.
TEST_F(AfterEveryTest, TheDemoShowsTheLanguageItIsAskedFor)
{
    std::string output;
    DWORD status = RunTool("dxdlg-demo.exe", "--lang ja --auto 10", &output);
    EXPECT_EQ(status, 0u) << output;
    EXPECT_EQ(output.find("every language"), std::string::npos) << output;
    size_t first = output.find("OpenDuplexDlg(pass code 0"), slot = output.find("OpenDuplexDlgMP(");
    ASSERT_NE(first, std::string::npos) << output;
    ASSERT_NE(slot, std::string::npos) << output;
    std::string duplex = output.substr(first, slot - first);
    EXPECT_EQ(Count(duplex, "shown:"), 2) << output;
    EXPECT_EQ(Count(duplex, "shown: \"手動両面印刷\""), 2) << output;
}
