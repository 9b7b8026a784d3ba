// The dialog templates and the version block as the built DLL carries them, read back through
// the platform's resource functions: what a resource compiler adds or drops (style bits, class
// atoms, letter case, text encoding, language tags) and what a slip in the script would break.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "harness.h"
#include "resource.h"

using namespace dxtest;

namespace {

// ---- A classic dialog template, parsed ----

const WORD kButtonAtom = 0x80;
const WORD kStaticAtom = 0x82;
const WORD kNoId = WORD(IDC_STATIC);

struct Control {
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    WORD id = 0;
    WORD classAtom = 0;     // 0 when the class is named by a string
    std::wstring className;
    std::wstring text;
    WORD extraBytes = 0;
};

struct Template {
    bool parsed = false;
    std::string error;
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    bool menu = false, windowClass = false;
    std::wstring caption;
    WORD pointSize = 0;
    std::wstring face;
    std::vector<Control> controls;

    const Control *Find(WORD id) const
    {
        for (const Control &c : controls)
            if (c.id == id)
                return &c;
        return nullptr;
    }
};

struct Reader {
    const BYTE *data;
    size_t size, at;
    bool ok;
};

WORD ReadWord(Reader &r)
{
    if (r.at + 2 > r.size) {
        r.ok = false;
        return 0;
    }
    WORD w = WORD(r.data[r.at] | (r.data[r.at + 1] << 8));
    r.at += 2;
    return w;
}

DWORD ReadDword(Reader &r)
{
    DWORD low = ReadWord(r);
    return low | (DWORD(ReadWord(r)) << 16);
}

std::wstring ReadString(Reader &r)
{
    std::wstring s;
    for (WORD unit = ReadWord(r); r.ok && unit; unit = ReadWord(r))
        s += wchar_t(unit);
    return s;
}

// A name-or-ordinal field: 0xFFFF then an atom, or a zero-terminated string.
void ReadNameOrAtom(Reader &r, WORD *atom, std::wstring *name)
{
    *atom = 0;
    if (r.at + 2 <= r.size && r.data[r.at] == 0xFF && r.data[r.at + 1] == 0xFF) {
        ReadWord(r);
        *atom = ReadWord(r);
    } else {
        *name = ReadString(r);
    }
}

Template ParseTemplate(const BYTE *data, size_t size)
{
    Template t;
    Reader r = {data, size, 0, true};
    if (size >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0xFF && data[3] == 0xFF) {
        t.error = "extended template (DIALOGEX)";
        return t;
    }
    t.style = ReadDword(r);
    t.exStyle = ReadDword(r);
    WORD count = ReadWord(r);
    t.x = short(ReadWord(r));
    t.y = short(ReadWord(r));
    t.cx = short(ReadWord(r));
    t.cy = short(ReadWord(r));
    WORD atom;
    std::wstring name;
    ReadNameOrAtom(r, &atom, &name);
    t.menu = atom || !name.empty();
    name.clear();
    ReadNameOrAtom(r, &atom, &name);
    t.windowClass = atom || !name.empty();
    t.caption = ReadString(r);
    if (t.style & DS_SETFONT) {
        t.pointSize = ReadWord(r);
        t.face = ReadString(r);
    }
    for (WORD i = 0; r.ok && i < count; i++) {
        r.at = (r.at + 3) & ~size_t(3);
        Control c;
        c.style = ReadDword(r);
        c.exStyle = ReadDword(r);
        c.x = short(ReadWord(r));
        c.y = short(ReadWord(r));
        c.cx = short(ReadWord(r));
        c.cy = short(ReadWord(r));
        c.id = ReadWord(r);
        ReadNameOrAtom(r, &c.classAtom, &c.className);
        WORD textAtom;
        ReadNameOrAtom(r, &textAtom, &c.text);
        c.extraBytes = ReadWord(r);
        r.at += c.extraBytes;
        t.controls.push_back(c);
    }
    if (!r.ok || r.at > size)
        t.error = "template runs past its resource";
    else if (size - r.at >= 4)
        t.error = "bytes left after the last control";
    t.parsed = t.error.empty();
    return t;
}

// ---- The catalogue ----

enum Family { Duplex, ManualFeed, Notice, Administrative, OlderManualFeed };

struct Entry {
    const wchar_t *name;  // null when addressed by `id`
    WORD id;
    WORD tag;
    Family family;
    bool systemMenu;
};

const WORD kMalay = MAKELANGID(LANG_MALAY, SUBLANG_MALAY_MALAYSIA);            // 1086
const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);             // 1033
const WORD kNynorsk = MAKELANGID(LANG_NORWEGIAN, SUBLANG_NORWEGIAN_NYNORSK);    // 2068
const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN);       // 1041

const Entry kCatalogue[] = {
    {DXDLG_RESOURCE_NAMEW(IDD_DUPLEX_TRAY), 0, kMalay, Duplex, true},
    {DXDLG_RESOURCE_NAMEW(IDD_DUPLEX_MANUALFEED), 0, kMalay, Duplex, true},
    {nullptr, IDD_MANUALFEED_DUTCH, kEnglish, ManualFeed, false},
    {nullptr, IDD_MANUALFEED_ITALIAN, kEnglish, ManualFeed, false},
    {nullptr, IDD_MANUALFEED_FRENCH, kEnglish, ManualFeed, false},
    {nullptr, IDD_MANUALFEED_NORWEGIAN, kEnglish, ManualFeed, false},
    {nullptr, IDD_MANUALFEED_SPANISH, kEnglish, ManualFeed, false},
    {nullptr, IDD_MANUALFEED_SWEDISH, kEnglish, ManualFeed, false},
    {nullptr, IDD_MANUALFEED_DANISH, kEnglish, ManualFeed, false},
    {nullptr, IDD_MANUALFEED_GERMAN, kEnglish, ManualFeed, true},
    {nullptr, IDD_MANUALFEED_ENGLISH, kEnglish, ManualFeed, false},
    {nullptr, IDD_MANUALFEED_PORTUGUESE_BRAZIL, kEnglish, ManualFeed, false},
    {nullptr, IDD_MANUALFEED_JAPANESE, kJapanese, ManualFeed, false},
    {nullptr, IDD_ADMINISTRATIVE, kEnglish, Administrative, false},
    {DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_DANISH), 0, kMalay, OlderManualFeed, true},
    {DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_DUTCH), 0, kMalay, OlderManualFeed, true},
    {DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_ENGLISH), 0, kMalay, OlderManualFeed, true},
    {DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_FRENCH), 0, kMalay, OlderManualFeed, true},
    {DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_GERMAN), 0, kMalay, OlderManualFeed, true},
    {DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_ITALIAN), 0, kMalay, OlderManualFeed, true},
    {DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_NORWEGIAN), 0, kMalay, OlderManualFeed, true},
    {DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_SPANISH), 0, kMalay, OlderManualFeed, true},
    {DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_SWEDISH), 0, kMalay, OlderManualFeed, true},
    {nullptr, IDD_RAWWARNING_ENGLISH, kNynorsk, Notice, false},
    {nullptr, IDD_RAWWARNING_SWEDISH, kNynorsk, Notice, false},
    {nullptr, IDD_RAWWARNING_DUTCH, kNynorsk, Notice, false},
    {nullptr, IDD_RAWWARNING_FRENCH, kNynorsk, Notice, true},
    {nullptr, IDD_RAWWARNING_GERMAN, kNynorsk, Notice, false},
    {nullptr, IDD_RAWWARNING_ITALIAN, kNynorsk, Notice, false},
    {nullptr, IDD_RAWWARNING_NORWEGIAN, kNynorsk, Notice, false},
    {nullptr, IDD_RAWWARNING_SPANISH, kNynorsk, Notice, false},
    {nullptr, IDD_RAWWARNING_DANISH, kNynorsk, Notice, false},
    {nullptr, IDD_RAWWARNING_PORTUGUESE_BRAZIL, kNynorsk, Notice, false},
    {nullptr, IDD_RAWWARNING_JAPANESE, kJapanese, Notice, false},
    {nullptr, IDD_MEMFULL_ENGLISH, kNynorsk, Notice, false},
    {nullptr, IDD_MEMFULL_NORWEGIAN, kNynorsk, Notice, false},
    {nullptr, IDD_MEMFULL_SPANISH, kNynorsk, Notice, false},
    {nullptr, IDD_MEMFULL_SWEDISH, kNynorsk, Notice, false},
    {nullptr, IDD_MEMFULL_DUTCH, kNynorsk, Notice, false},
    {nullptr, IDD_MEMFULL_FRENCH, kNynorsk, Notice, false},
    {nullptr, IDD_MEMFULL_GERMAN, kNynorsk, Notice, false},
    {nullptr, IDD_MEMFULL_ITALIAN, kNynorsk, Notice, false},
    {nullptr, IDD_MEMFULL_DANISH, kNynorsk, Notice, false},
    {nullptr, IDD_MEMFULL_PORTUGUESE_BRAZIL, kNynorsk, Notice, false},
    {nullptr, IDD_MEMFULL_JAPANESE, kJapanese, Notice, false},
    {nullptr, IDD_DISKFULL_ENGLISH, kNynorsk, Notice, false},
    {nullptr, IDD_DISKFULL_ITALIAN, kNynorsk, Notice, false},
    {nullptr, IDD_DISKFULL_GERMAN, kNynorsk, Notice, false},
    {nullptr, IDD_DISKFULL_FRENCH, kNynorsk, Notice, false},
    {nullptr, IDD_DISKFULL_DUTCH, kNynorsk, Notice, false},
    {nullptr, IDD_DISKFULL_NORWEGIAN, kNynorsk, Notice, false},
    {nullptr, IDD_DISKFULL_SPANISH, kNynorsk, Notice, false},
    {nullptr, IDD_DISKFULL_SWEDISH, kNynorsk, Notice, false},
    {nullptr, IDD_DISKFULL_DANISH, kNynorsk, Notice, false},
    {nullptr, IDD_DISKFULL_PORTUGUESE_BRAZIL, kNynorsk, Notice, false},
    {nullptr, IDD_DISKFULL_JAPANESE, kJapanese, Notice, false},
};

std::wstring KeyOf(const wchar_t *name, WORD id)
{
    return name ? std::wstring(name) : L"#" + std::to_wstring(id);
}

std::wstring KeyOf(const Entry &e)
{
    return KeyOf(e.name, e.id);
}

std::string Narrow(const std::wstring &w)
{
    std::string s;
    for (wchar_t c : w)
        s += c < 128 ? char(c) : '?';
    return s;
}

bool IsDefaultButton(const Control &c)
{
    return c.classAtom == kButtonAtom && (c.style & 0x0F) == BS_DEFPUSHBUTTON;
}

Template Unreadable(const char *why)
{
    Template t;
    t.error = why;
    return t;
}

// A control's text by position or identifier; a marker that no template holds when it is absent.
std::wstring TextAt(const Template &t, size_t index)
{
    return index < t.controls.size() ? t.controls[index].text : L"<no such control>";
}

std::wstring TextOf(const Template &t, WORD id)
{
    const Control *c = t.Find(id);
    return c ? c->text : L"<no such control>";
}

class Catalogue : public ::testing::Test {
protected:
    static HMODULE module;
    static void SetUpTestSuite() { module = LoadLibraryW(L"dxdlg.dll"); }
    static void TearDownTestSuite() { FreeLibrary(module); }
    void SetUp() override { ASSERT_NE(module, nullptr) << "dxdlg.dll does not load"; }

    static Template Load(const wchar_t *name, WORD id, WORD tag)
    {
        LPCWSTR resource = name ? name : MAKEINTRESOURCEW(id);
        HRSRC info = FindResourceExW(module, MAKEINTRESOURCEW(5) /* RT_DIALOG */, resource, tag);
        if (!info)
            return Unreadable("not found under its tag");
        HGLOBAL loaded = LoadResource(module, info);
        const BYTE *bytes = static_cast<const BYTE *>(LockResource(loaded));
        if (!bytes)
            return Unreadable("does not load");
        return ParseTemplate(bytes, SizeofResource(module, info));
    }
    static Template Load(const Entry &e) { return Load(e.name, e.id, e.tag); }
    static Template Load(WORD id)
    {
        for (const Entry &e : kCatalogue)
            if (!e.name && e.id == id)
                return Load(e);
        return Unreadable("not in the catalogue");
    }
    static Template Load(const wchar_t *name)
    {
        for (const Entry &e : kCatalogue)
            if (e.name && std::wstring(e.name) == name)
                return Load(e);
        return Unreadable("not in the catalogue");
    }
};
HMODULE Catalogue::module = nullptr;

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param)
{
    reinterpret_cast<std::vector<WORD> *>(param)->push_back(language);
    return TRUE;
}

BOOL CALLBACK CollectName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param)
{
    std::vector<WORD> tags;
    EnumResourceLanguagesW(module, type, name, CollectLanguage, LONG_PTR(&tags));
    std::wstring key = IS_INTRESOURCE(name) ? KeyOf(nullptr, WORD(ULONG_PTR(name))) : KeyOf(name, 0);
    (*reinterpret_cast<std::map<std::wstring, std::vector<WORD>> *>(param))[key] = tags;
    return TRUE;
}

TEST_F(Catalogue, HoldsEveryTemplateOnceUnderItsTag)
{
    std::map<std::wstring, std::vector<WORD>> found;
    EnumResourceNamesW(module, MAKEINTRESOURCEW(5), CollectName, LONG_PTR(&found));
    EXPECT_EQ(found.size(), 56u);
    for (const Entry &e : kCatalogue) {
        auto it = found.find(KeyOf(e));
        ASSERT_NE(it, found.end()) << Narrow(KeyOf(e)) << " is missing";
        EXPECT_EQ(it->second, std::vector<WORD>{e.tag}) << Narrow(KeyOf(e));
        found.erase(it);
    }
    for (const auto &extra : found)
        ADD_FAILURE() << "unexpected template " << Narrow(extra.first);
}

TEST_F(Catalogue, EveryTemplateIsClassicModalAndHidden)
{
    int twoDefaultButtons = 0;
    for (const Entry &e : kCatalogue) {
        SCOPED_TRACE(Narrow(KeyOf(e)));
        Template t = Load(e);
        ASSERT_TRUE(t.parsed) << t.error;
        const DWORD base = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
        EXPECT_EQ(t.style, e.systemMenu ? base | WS_SYSMENU : base);
        EXPECT_EQ(t.exStyle, 0u);
        EXPECT_FALSE(t.menu);
        EXPECT_FALSE(t.windowClass);
        EXPECT_FALSE(t.caption.empty());
        EXPECT_FALSE(t.face.empty());
        int defaults = 0;
        for (const Control &c : t.controls) {
            EXPECT_EQ(c.style & (WS_CHILD | WS_VISIBLE), DWORD(WS_CHILD | WS_VISIBLE)) << "control " << c.id;
            EXPECT_EQ(c.exStyle, 0u) << "control " << c.id;
            EXPECT_EQ(c.extraBytes, 0) << "control " << c.id;
            // Predefined classes are stored as atoms, never as names a compiler spelled out.
            EXPECT_NE(c.className, L"BUTTON");
            EXPECT_NE(c.className, L"STATIC");
            defaults += IsDefaultButton(c);
        }
        if (defaults == 2)
            twoDefaultButtons++;
        const bool twoExpected =
            e.name && std::wstring(e.name) == DXDLG_RESOURCE_NAMEW(IDD_DUPLEX_MANUALFEED);
        EXPECT_EQ(defaults, twoExpected ? 2 : e.family == Administrative ? 0 : 1);
    }
    EXPECT_EQ(twoDefaultButtons, 1);
}

TEST_F(Catalogue, DuplexTemplatesKeepTheirControlsAndStoredFaceName)
{
    const wchar_t face[] = {0x201A, 0x006C, 0x201A, 0x0072, 0x0020, 0x0192, 0x0053,
                            0x0192, 0x0056, 0x0192, 0x0062, 0x0192, 0x004E, 0};
    for (const wchar_t *name :
         {DXDLG_RESOURCE_NAMEW(IDD_DUPLEX_TRAY), DXDLG_RESOURCE_NAMEW(IDD_DUPLEX_MANUALFEED)}) {
        SCOPED_TRACE(Narrow(name));
        Template t = Load(name);
        ASSERT_TRUE(t.parsed) << t.error;
        EXPECT_EQ(t.face, face);
        EXPECT_EQ(t.face.size(), 13u);
        EXPECT_EQ(t.pointSize, 8);
        EXPECT_EQ(t.caption, L"Manual Duplex Instructions");
        const Control *text = t.Find(IDC_INSTRUCTION), *ok = t.Find(IDOK), *cancel = t.Find(IDCANCEL),
                      *picture = t.Find(IDC_PICTURE);
        ASSERT_TRUE(text && ok && cancel && picture);
        EXPECT_EQ(text->classAtom, kStaticAtom);
        EXPECT_EQ(ok->classAtom, kButtonAtom);
        EXPECT_EQ(ok->text, L"OK");
        EXPECT_TRUE(IsDefaultButton(*ok));
        EXPECT_EQ(cancel->classAtom, kButtonAtom);
        EXPECT_EQ(cancel->text, L"Cancel");
        EXPECT_EQ(picture->className, DXDLG_WIDE(BITMAPCTL_CLASS));
        EXPECT_TRUE(picture->style & WS_DISABLED);
    }
}

TEST_F(Catalogue, ManualFeedFamilyHasItsButtonsAndPicture)
{
    for (const Entry &e : kCatalogue) {
        if (e.family != ManualFeed)
            continue;
        SCOPED_TRACE(Narrow(KeyOf(e)));
        Template t = Load(e);
        ASSERT_TRUE(t.parsed) << t.error;
        EXPECT_EQ(t.face, L"Arial");
        EXPECT_EQ(t.pointSize, 10);
        const Control *ok = t.Find(IDC_MANUALFEED_OK), *cancel = t.Find(IDC_MANUALFEED_CANCEL);
        ASSERT_TRUE(ok && cancel);
        EXPECT_TRUE(IsDefaultButton(*ok));
        EXPECT_EQ(cancel->classAtom, kButtonAtom);
        EXPECT_EQ(cancel->style & 0x0F, DWORD(BS_PUSHBUTTON));
        int pictures = 0;
        for (const Control &c : t.controls) {
            if (c.className == DXDLG_WIDE(MANUALDUPCTL_CLASS)) {
                pictures++;
                EXPECT_EQ(c.id, kNoId);
                EXPECT_FALSE(c.style & WS_DISABLED);
            } else {
                EXPECT_NE(c.classAtom, 0) << "unexpected class " << Narrow(c.className);
            }
        }
        EXPECT_EQ(pictures, 1);
    }
}

// The texts are laid out for Arial 10 pt: each must fit its static as the dialog manager sizes
// it, no translation may run longer than the English, and each keeps its numbered steps.
TEST_F(Catalogue, ManualFeedTextsFitAndKeepTheirSteps)
{
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontW(-MulDiv(10, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                             DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    SIZE sample;
    GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &sample);
    const int unitX = (sample.cx / 26 + 1) / 2, unitY = metrics.tmHeight;

    // The family's English text, as the template that Danish selects holds it.
    const std::wstring english = TextAt(Load(IDD_MANUALFEED_DANISH), 3);
    EXPECT_EQ(english, L"1) Please load one sheet of paper into the  \nmanual feed slot.\n Align the paper to the "
                       L"left side of the feed slot.\n\n2) Move the paper guide of the manual feed slot to the "
                       L"paper width you are using.\n\n3) Click OK to start printing.");
    for (const Entry &e : kCatalogue) {
        if (e.family != ManualFeed)
            continue;
        SCOPED_TRACE(Narrow(KeyOf(e)));
        Template t = Load(e);
        if (!t.parsed) {
            ADD_FAILURE() << t.error;
            continue;
        }
        std::wstring all;
        for (const Control &c : t.controls) {
            if (c.classAtom != kStaticAtom || c.text.empty())
                continue;
            all += c.text + L"\n";
            RECT box = {0, 0, MulDiv(c.cx, unitX, 4), 0};
            DrawTextW(dc, c.text.c_str(), -1, &box, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
            EXPECT_LE(box.right, MulDiv(c.cx, unitX, 4)) << Narrow(c.text);
            EXPECT_LE(box.bottom, MulDiv(c.cy, unitY, 8)) << Narrow(c.text);
        }
        EXPECT_LE(all.size(), english.size() + 1);
        int steps = 0;
        for (size_t at = 0; at < all.size(); at = all.find(L'\n', at) + 1)
            steps += all[at] >= L'1' && all[at] <= L'9' && all[at + 1] == L')';
        EXPECT_EQ(steps, e.id == IDD_MANUALFEED_NORWEGIAN ? 2 : 3);
        if (t.caption == L"MANUAL FEED SLOT") {
            EXPECT_EQ(all, english + L"\n");
        }
    }
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
}

TEST_F(Catalogue, EveryNoticeHasOkThenOneMessage)
{
    for (const Entry &e : kCatalogue) {
        if (e.family != Notice)
            continue;
        SCOPED_TRACE(Narrow(KeyOf(e)));
        Template t = Load(e);
        ASSERT_TRUE(t.parsed) << t.error;
        EXPECT_EQ(t.caption, L"Dialog");
        EXPECT_EQ(t.x, 0);
        EXPECT_EQ(t.y, 0);
        EXPECT_EQ(t.face, L"MS Sans Serif");
        ASSERT_EQ(t.controls.size(), 2u);
        const Control &ok = t.controls[0], &message = t.controls[1];
        EXPECT_EQ(ok.id, IDC_NOTICE_OK);
        EXPECT_TRUE(IsDefaultButton(ok));
        EXPECT_TRUE(ok.text == L"OK" || ok.text == L"Aceptar");
        EXPECT_EQ(ok.cx, 50);
        EXPECT_EQ(ok.cy, 14);
        EXPECT_EQ(message.classAtom, kStaticAtom);
        EXPECT_EQ(message.id, kNoId);
        EXPECT_FALSE(message.text.empty());
        // The button lies below the message, inside the dialog.
        EXPECT_GE(ok.y, message.y + message.cy);
        EXPECT_LE(ok.x + ok.cx, t.cx);
        EXPECT_LE(ok.y + ok.cy, t.cy);
    }
    EXPECT_EQ(TextAt(Load(IDD_RAWWARNING_ENGLISH), 1), TextAt(Load(IDD_RAWWARNING_JAPANESE), 1));
}

TEST_F(Catalogue, UnopenedTemplatesAreComplete)
{
    Template admin = Load(IDD_ADMINISTRATIVE);
    ASSERT_TRUE(admin.parsed) << admin.error;
    ASSERT_EQ(admin.controls.size(), 5u);
    for (WORD id : {IDC_ADMIN_INSTALL, IDC_ADMIN_UNINSTALL, IDC_ADMIN_SELECT, IDC_ADMIN_AUTO, IDC_ADMIN_EXIT})
        ASSERT_NE(admin.Find(id), nullptr) << id;
    EXPECT_EQ(admin.Find(IDC_ADMIN_UNINSTALL)->text, L"Unnstall Print Processor");

    for (const Entry &e : kCatalogue) {
        if (e.family != OlderManualFeed)
            continue;
        SCOPED_TRACE(Narrow(KeyOf(e)));
        Template t = Load(e);
        ASSERT_TRUE(t.parsed) << t.error;
        ASSERT_EQ(t.controls.size(), 6u);
        EXPECT_EQ(t.controls[0].className, DXDLG_WIDE(OLDMANUALFEEDCTL_CLASS));
        EXPECT_EQ(t.Find(2), nullptr) << "has a Cancel button";
        const Control *first = t.Find(IDC_STEP1), *second = t.Find(IDC_STEP2);
        ASSERT_TRUE(first && second);
        EXPECT_EQ(first->text.substr(0, 1), L"1");
        EXPECT_EQ(second->text.substr(0, 1), L"2");
        EXPECT_EQ(second->text.back(), L'\n');
        EXPECT_EQ(first->cx | first->cy | second->cx | second->cy, 0);
    }
    EXPECT_EQ(TextOf(Load(DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_ENGLISH)), IDC_STEP1),
              L"1)Set the width of the Manual feed slot paper guides using both hands to the paper width to be used. \n");
    const std::wstring spanish = TextOf(Load(DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_SPANISH)), IDC_STEP1);
    EXPECT_EQ(spanish.substr(spanish.size() - 2), L"\n ");
}

// IDC_STEP1 and IDC_STEP2 hold the first two steps of the same language's first-pass manual-feed
// string, with the accented letters that string has. Runs when the string tables are built in.
TEST_F(Catalogue, OlderManualFeedStepsMatchTheStringTables)
{
    const struct {
        const wchar_t *name;
        UINT string;
    } members[] = {
        {DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_DANISH), IDS_DANISH_MANUALFEED_FIRST},
        {DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_DUTCH), IDS_DUTCH_MANUALFEED_FIRST},
        {DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_ENGLISH), IDS_ENGLISH_MANUALFEED_FIRST},
        {DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_FRENCH), IDS_FRENCH_MANUALFEED_FIRST},
        {DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_GERMAN), IDS_GERMAN_MANUALFEED_FIRST},
        {DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_ITALIAN), IDS_ITALIAN_MANUALFEED_FIRST},
        {DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_NORWEGIAN), IDS_NORWEGIAN_MANUALFEED_FIRST},
        {DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_SPANISH), IDS_SPANISH_MANUALFEED_FIRST},
        {DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_SWEDISH), IDS_SWEDISH_MANUALFEED_FIRST},
    };
    const wchar_t *stored = nullptr;
    if (LoadStringW(module, IDS_ENGLISH_MANUALFEED_FIRST, reinterpret_cast<LPWSTR>(&stored), 0) <= 0)
        GTEST_SKIP() << "the string tables are not in this build";
    for (const auto &m : members) {
        SCOPED_TRACE(Narrow(m.name));
        int length = LoadStringW(module, m.string, reinterpret_cast<LPWSTR>(&stored), 0);
        ASSERT_GT(length, 0);
        std::wstring text(stored, size_t(length));
        size_t end1 = text.find(L"\n\n"), end2 = text.find(L"\n\n", end1 + 2);
        ASSERT_NE(end2, std::wstring::npos);
        std::wstring step1 = text.substr(0, end1) + L"\n", step2 = text.substr(end1 + 2, end2 - end1 - 2) + L"\n";
        if (std::wstring(m.name) == DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_SPANISH))
            step1 += L" ";
        Template t = Load(m.name);
        ASSERT_TRUE(t.parsed) << t.error;
        EXPECT_EQ(TextOf(t, IDC_STEP1), step1);
        EXPECT_EQ(TextOf(t, IDC_STEP2), step2);
    }
}

TEST_F(Catalogue, NonAsciiTextsSurvive)
{
    EXPECT_EQ(Load(IDD_MANUALFEED_SWEDISH).caption, Wide("SKÅRA FÖR MANUELL MATNING"));
    EXPECT_EQ(Load(IDD_MANUALFEED_FRENCH).caption, L"FENTE D\u2019INSERTION MANUELLE");
    EXPECT_EQ(Load(IDD_MANUALFEED_SPANISH).caption, Wide("BANDEJA DE ALIMENTACIÓN MANUAL"));
    EXPECT_EQ(TextAt(Load(IDD_MANUALFEED_DUTCH), 3).substr(0, 4), L"1)\u00C9\u00E9");
    EXPECT_EQ(TextAt(Load(IDD_DISKFULL_JAPANESE), 1), Wide("ディスクの空容量がたりません。"));
    EXPECT_EQ(TextAt(Load(IDD_MEMFULL_JAPANESE), 1), Wide("メモリ容量がたりません。"));
    EXPECT_NE(TextAt(Load(IDD_MEMFULL_GERMAN), 1).find(Wide("größeren")), std::wstring::npos);
    EXPECT_EQ(Load(DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_DANISH)).caption,
              Wide("ÅBNING TIL MANUEL FØDNING"));
    EXPECT_EQ(Load(DXDLG_RESOURCE_NAMEW(IDD_OLDMANUALFEED_FRENCH)).caption,
              L"FENTE D\u2019ALIMENTATION MANUELLE");
    // No template keeps a control character or a stray pair in place of an accented letter.
    for (const Entry &e : kCatalogue) {
        Template t = Load(e);
        for (const Control &c : t.controls) {
            for (wchar_t unit : c.text)
                EXPECT_TRUE(unit == L'\n' || (unit >= 0x20 && (unit < 0x7F || unit > 0x9F)))
                    << Narrow(KeyOf(e)) << " control " << c.id << " holds unit " << unsigned(unit);
            EXPECT_EQ(c.text.find(L"\u00FA}"), std::wstring::npos) << Narrow(KeyOf(e));
        }
    }
}

TEST_F(Catalogue, VersionBlock)
{
    EXPECT_NE(FindResourceExW(module, MAKEINTRESOURCEW(16), MAKEINTRESOURCEW(VS_VERSION_INFO), kEnglish),
              nullptr);
    wchar_t path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(module, path, MAX_PATH), 0u);
    DWORD handle = 0, size = GetFileVersionInfoSizeW(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));

    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void **>(&fixed), &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const DWORD version[] = {DXDLG_PROJECT_VERSION};  // the build's major, minor, patch; the fourth is 0
    EXPECT_EQ(fixed->dwFileVersionMS, version[0] << 16 | version[1]);
    EXPECT_EQ(fixed->dwFileVersionLS, version[2] << 16);
    EXPECT_EQ(fixed->dwProductVersionMS, version[0] << 16 | version[1]);
    EXPECT_EQ(fixed->dwProductVersionLS, version[2] << 16);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, DWORD(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_DLL));
    EXPECT_EQ(fixed->dwFileSubtype, 0u);
    EXPECT_EQ(fixed->dwFileDateMS | fixed->dwFileDateLS, 0u);

    WORD *translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void **>(&translation),
                               &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 0x04B0);

    const struct {
        const wchar_t *name;
        const wchar_t *value;  // null: the project's own text, any but empty
    } strings[] = {
        {L"FileVersion", L"1.11"}, {L"ProductVersion", L"1, 1, 1, 0"}, {L"Comments", L""},
        {L"LegalTrademarks", L""}, {L"PrivateBuild", L""},              {L"SpecialBuild", L""},
        {L"InternalName", L"dxdlg"}, {L"OriginalFilename", L"dxdlg.dll"}, {L"ProductName", L"dxdlg"},
        {L"CompanyName", nullptr}, {L"FileDescription", nullptr},        {L"LegalCopyright", nullptr},
    };
    for (const auto &s : strings) {
        std::wstring query = std::wstring(L"\\StringFileInfo\\040904b0\\") + s.name;
        wchar_t *value = nullptr;
        length = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void **>(&value), &length))
            << Narrow(s.name);
        std::wstring text = value && length ? std::wstring(value) : L"";
        if (s.value)
            EXPECT_EQ(text, s.value) << Narrow(s.name);
        else
            EXPECT_FALSE(text.empty()) << Narrow(s.name);
    }
}

}  // namespace
