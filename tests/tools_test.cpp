// The main job's shared helpers: language names on the command line, and the text-fit measure
// that the gallery reports translators' overflows with.
#include <gtest/gtest.h>

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

TEST(Languages, EveryDuplexColumnHasANamedLanguage)
{
    for (WORD id : dxdesk::kDuplexColumnLanguage) {
        const dxdesk::Language *language = dxdesk::FindLanguage(id);
        ASSERT_NE(language, nullptr) << id;
        WORD parsed = 0;
        EXPECT_TRUE(dxdesk::ParseLanguage(language->tag, &parsed));
        EXPECT_EQ(parsed, id) << language->tag;
    }
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
