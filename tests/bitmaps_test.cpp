// The ten bitmaps of dxdlg.dll: names, sizes, header fields and colour tables as the driver's
// dialogs expect them, filed under Malay (Malaysia), and byte for byte the committed files.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "harness.h"
#include "resource.h"

using namespace dxtest;

namespace {

const WORD kMalay = MAKELANGID(LANG_MALAY, SUBLANG_MALAY_MALAYSIA);  // 1086

// Colour tables as stored: blue, green, red, zero.
const RGBQUAD kCassette[6] = {
    {0, 0, 0, 0}, {255, 255, 255, 0}, {0, 255, 255, 0}, {0, 0, 255, 0}, {192, 192, 192, 0},
    {128, 128, 128, 0}};
const RGBQUAD kStandard[16] = {
    {0, 0, 0, 0},     {0, 0, 128, 0},     {0, 128, 0, 0},   {0, 128, 128, 0},
    {128, 0, 0, 0},   {128, 0, 128, 0},   {128, 128, 0, 0}, {192, 192, 192, 0},
    {128, 128, 128, 0}, {0, 0, 255, 0},   {0, 255, 0, 0},   {0, 255, 255, 0},
    {255, 0, 0, 0},   {255, 0, 255, 0},   {255, 255, 0, 0}, {255, 255, 255, 0}};

struct Expected {
    const char *name;
    LONG width, height;
    const RGBQUAD *table;
    int entries;
    DWORD coloursDeclared;  // biClrUsed and biClrImportant
    LONG pixelsPerMetre;
    DWORD sizeField;  // biSizeImage
};

const Expected kBitmaps[] = {
    {DXDLG_RESOURCE_NAME(IDB_CASSETTE_FIRST), 172, 172, kCassette, 6, 6, 3779, 0},
    {DXDLG_RESOURCE_NAME(IDB_CASSETTE_SECOND_1), 172, 172, kCassette, 6, 6, 3779, 0},
    {DXDLG_RESOURCE_NAME(IDB_CASSETTE_SECOND_2), 172, 172, kCassette, 6, 6, 3779, 0},
    {DXDLG_RESOURCE_NAME(IDB_MANUALFEED_FIRST), 172, 172, kStandard, 16, 16, 0, 15136},
    {DXDLG_RESOURCE_NAME(IDB_MANUALFEED_SECOND_1), 172, 172, kStandard, 16, 0, 0, 15136},
    {DXDLG_RESOURCE_NAME(IDB_MANUALFEED_SECOND_2), 172, 172, kStandard, 16, 0, 0, 15136},
    {DXDLG_RESOURCE_NAME(IDB_PLACEHOLDER_C_1), 2, 1, kStandard, 16, 0, 0, 4},
    {DXDLG_RESOURCE_NAME(IDB_PLACEHOLDER_C_2), 2, 1, kStandard, 16, 0, 0, 4},
    {DXDLG_RESOURCE_NAME(IDB_PLACEHOLDER_M_1), 2, 1, kStandard, 16, 0, 0, 4},
    {DXDLG_RESOURCE_NAME(IDB_PLACEHOLDER_M_2), 2, 1, kStandard, 16, 0, 0, 4},
};

class Bitmaps : public ::testing::Test {
protected:
    static void SetUpTestSuite() { module = LoadDxdlgAsIs(); }
    static void TearDownTestSuite() { UnloadDxdlg(module); }
    static HMODULE module;

    // The resource as the DLL carries it: a bitmap header, its colour table and the rows.
    static std::vector<BYTE> Raw(const char *name)
    {
        HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(2) /* RT_BITMAP */);
        if (!found)
            return {};
        const BYTE *data = static_cast<const BYTE *>(LockResource(LoadResource(module, found)));
        return data ? std::vector<BYTE>(data, data + SizeofResource(module, found))
                    : std::vector<BYTE>();
    }
};
HMODULE Bitmaps::module = nullptr;

TEST_F(Bitmaps, EachLoadsAtItsSize)
{
    ASSERT_NE(module, nullptr);
    for (const Expected &e : kBitmaps) {
        HBITMAP bitmap = LoadBitmapA(module, e.name);
        ASSERT_NE(bitmap, nullptr) << e.name;
        BITMAP info = {};
        EXPECT_EQ(GetObjectA(bitmap, sizeof info, &info), int(sizeof info)) << e.name;
        EXPECT_EQ(info.bmWidth, e.width) << e.name;
        EXPECT_EQ(info.bmHeight, e.height) << e.name;
        EXPECT_TRUE(DeleteObject(bitmap)) << e.name;
    }
}

TEST_F(Bitmaps, HeaderFieldsAndColourTablesAreExact)
{
    for (const Expected &e : kBitmaps) {
        std::vector<BYTE> raw = Raw(e.name);
        const DWORD rowsSize = DWORD((e.width * 4 + 31) / 32 * 4 * e.height);
        const size_t tableEnd = sizeof(BITMAPINFOHEADER) + e.entries * sizeof(RGBQUAD);
        ASSERT_EQ(raw.size(), tableEnd + rowsSize) << e.name;
        const BITMAPINFOHEADER *h = reinterpret_cast<const BITMAPINFOHEADER *>(raw.data());
        EXPECT_EQ(h->biSize, sizeof(BITMAPINFOHEADER)) << e.name;
        EXPECT_EQ(h->biWidth, e.width) << e.name;
        EXPECT_EQ(h->biHeight, e.height) << e.name << ": rows bottom-up";
        EXPECT_EQ(h->biPlanes, 1) << e.name;
        EXPECT_EQ(h->biBitCount, 4) << e.name;
        EXPECT_EQ(h->biCompression, DWORD(BI_RGB)) << e.name;
        EXPECT_EQ(h->biSizeImage, e.sizeField) << e.name;
        EXPECT_EQ(h->biXPelsPerMeter, e.pixelsPerMetre) << e.name;
        EXPECT_EQ(h->biYPelsPerMeter, e.pixelsPerMetre) << e.name;
        EXPECT_EQ(h->biClrUsed, e.coloursDeclared) << e.name;
        EXPECT_EQ(h->biClrImportant, e.coloursDeclared) << e.name;
        const RGBQUAD *table = reinterpret_cast<const RGBQUAD *>(raw.data() + h->biSize);
        for (int i = 0; i < e.entries; ++i) {
            EXPECT_EQ(table[i].rgbBlue, e.table[i].rgbBlue) << e.name << " entry " << i;
            EXPECT_EQ(table[i].rgbGreen, e.table[i].rgbGreen) << e.name << " entry " << i;
            EXPECT_EQ(table[i].rgbRed, e.table[i].rgbRed) << e.name << " entry " << i;
            EXPECT_EQ(table[i].rgbReserved, 0) << e.name << " entry " << i;
        }
        // A pixel may only name an entry of the table (six for the cassette pictures).
        int beyond = 0;
        for (size_t i = tableEnd; i < raw.size(); ++i)
            beyond += (raw[i] >> 4) >= e.entries || (raw[i] & 15) >= e.entries;
        EXPECT_EQ(beyond, 0) << e.name;
    }
}

TEST_F(Bitmaps, CarriedAsCommittedWithoutTheFileHeader)
{
    for (const Expected &e : kBitmaps) {
        const std::string path = std::string("Z:" DXDLG_SOURCE_DIR "/res/bitmaps/") + e.name + ".bmp";
        std::vector<BYTE> file;
        if (FILE *f = std::fopen(path.c_str(), "rb")) {
            for (int c; (c = std::fgetc(f)) != EOF;)
                file.push_back(BYTE(c));
            std::fclose(f);
        }
        ASSERT_GT(file.size(), 14u) << path;
        EXPECT_TRUE(Raw(e.name) == std::vector<BYTE>(file.begin() + 14, file.end())) << e.name;
    }
}

TEST_F(Bitmaps, TheCatalogueHoldsExactlyTheTenUnderMalay)
{
    std::set<std::string> names;
    EnumResourceNamesA(
        module, MAKEINTRESOURCEA(2),
        [](HMODULE, LPCSTR, LPSTR name, LONG_PTR found) -> BOOL {
            if (!IS_INTRESOURCE(name))
                reinterpret_cast<std::set<std::string> *>(found)->insert(name);
            return TRUE;
        },
        LONG_PTR(&names));
    std::set<std::string> expected;
    for (const Expected &e : kBitmaps)
        expected.insert(e.name);
    EXPECT_EQ(names, expected);

    for (const Expected &e : kBitmaps) {
        std::vector<WORD> languages;
        EnumResourceLanguagesA(
            module, MAKEINTRESOURCEA(2), e.name,
            [](HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found) -> BOOL {
                reinterpret_cast<std::vector<WORD> *>(found)->push_back(language);
                return TRUE;
            },
            LONG_PTR(&languages));
        EXPECT_EQ(languages, std::vector<WORD>{kMalay}) << e.name;
        EXPECT_NE(FindResourceExA(module, MAKEINTRESOURCEA(2), e.name, kMalay), nullptr) << e.name;
    }
}

TEST_F(Bitmaps, PlaceholdersAreTwoWhitePixels)
{
    for (const char *name : {DXDLG_RESOURCE_NAME(IDB_PLACEHOLDER_C_1), DXDLG_RESOURCE_NAME(IDB_PLACEHOLDER_C_2),
                             DXDLG_RESOURCE_NAME(IDB_PLACEHOLDER_M_1), DXDLG_RESOURCE_NAME(IDB_PLACEHOLDER_M_2)}) {
        HBITMAP bitmap = LoadBitmapA(module, name);
        ASSERT_NE(bitmap, nullptr) << name;
        EXPECT_EQ(PixelsOf(bitmap).pixels, std::vector<COLORREF>(2, RGB(255, 255, 255))) << name;
        DeleteObject(bitmap);
    }
}

TEST_F(Bitmaps, NamesTheCatalogueLacksDoNotLoad)
{
    // The duplex dialog's name patterns with a letter or number they never take, and nothing.
    for (const char *name : {"", "EVEN_T_X", "EVEN_Y_C", "ODD_T_C_D3", "ODD_T_C_D0", "ODD_T_C",
                             "ODD_T_M_D12", "EVEN_T_C ", "popup2", "ManualFeed"}) {
        SetLastError(0);
        HBITMAP bitmap = LoadBitmapA(module, name);
        EXPECT_EQ(bitmap, nullptr) << '"' << name << '"';
        if (bitmap)
            DeleteObject(bitmap);
    }
}

}  // namespace
