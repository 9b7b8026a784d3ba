// The picture-control classes: registration, the class record, what a control shows and how it
// paints, the bitmaps it owns, and the classes' life across unloading and loading the DLL.
//
// Most tests link the library's code in and point ModuleInstance at this program, whose own
// resources (picture_test.rc) hold bitmaps of known sizes and colours: TESTQUADS, 172 x 60 in
// four 86 x 30 quadrants red, green / blue, yellow; TESTCYAN, 20 x 20 cyan. The last tests load
// dxdlg.dll itself.
#include <gtest/gtest.h>

#include <string.h>

#include <thread>
#include <vector>

#include "dxdlg.h"
#include "base/module.h"
#include "harness.h"
#include "picture/picture.h"
#include "duplex/duplex.h"

using namespace dxtest;

namespace {

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255),
               kYellow = RGB(255, 255, 0), kCyan = RGB(0, 255, 255), kLightGrey = RGB(192, 192, 192);
// The window colour while a test paints, so that it differs from the class's white background.
const COLORREF kWindowColour = RGB(0x30, 0x90, 0x60);

const char kBitmapClass[] = BITMAPCTL_CLASS;
const char kManualDupClass[] = MANUALDUPCTL_CLASS;
const char kParentClass[] = "PictureTestParent";

HINSTANCE Self()
{
    return GetModuleHandleA(nullptr);
}

// The name that the controls created on this thread load.
char bitmapName[DuplexBitmapNameSize];

void SetBitmapName(const char *name)
{
    memset(bitmapName, 0, sizeof(bitmapName));
    strcpy(bitmapName, name);
    SetThreadPictureName(bitmapName);
}

// The procedure of another module's class that takes only windows of its own module.
LRESULT CALLBACK OwnModulesWindowsOnly(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE &&
        reinterpret_cast<CREATESTRUCTA *>(lParam)->hInstance != GetModuleHandleA("gdi32.dll"))
        return FALSE;
    return DefWindowProcA(window, message, wParam, lParam);
}

// Registers a global class of the given name as another module of the process would.
void RegisterForeignClass(const char *name)
{
    WNDCLASSA wc = {};
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = OwnModulesWindowsOnly;
    wc.hInstance = GetModuleHandleA("gdi32.dll");
    wc.lpszClassName = name;
    ASSERT_NE(RegisterClassA(&wc), 0);
}

void UnregisterForeignClass(const char *name)
{
    EXPECT_TRUE(UnregisterClassA(name, GetModuleHandleA("gdi32.dll")));
}

// The module a global class belongs to, read from a window of the class (GetClassInfoEx
// answers with whatever instance it is asked with).
HMODULE ClassModule(const char *name)
{
    HWND window = CreateWindowExA(0, name, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA("gdi32.dll"), nullptr);
    if (!window)
        return nullptr;
    HMODULE module = reinterpret_cast<HMODULE>(GetClassLongPtrA(window, GCLP_HMODULE));
    DestroyWindow(window);
    return module;
}

bool ClassExists(const char *name)
{
    WNDCLASSEXA info = {};
    info.cbSize = sizeof(info);
    return GetClassInfoExA(Self(), name, &info) != 0;
}

class PictureControl : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = Self();
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        wc.lpszClassName = kParentClass;
        RegisterClassA(&wc);
    }

    void SetUp() override
    {
        ModuleInstance = Self();
        SetBitmapName("");
    }

    void TearDown() override
    {
        if (parent_)
            DestroyWindow(parent_);
        ReleasePictureControls();
        EXPECT_FALSE(ClassExists(kBitmapClass));
        EXPECT_FALSE(ClassExists(kManualDupClass));
        ModuleInstance = nullptr;
    }

    // A picture control on a visible black window, at (10, 10) of its client area.
    HWND Control(const char *className, DWORD style, int width, int height,
                 const char *text = "")
    {
        if (!parent_) {
            parent_ = CreateWindowExA(WS_EX_TOPMOST, kParentClass, "", WS_POPUP | WS_VISIBLE,
                                      40, 40, 420, 300, nullptr, nullptr, Self(), nullptr);
            EXPECT_NE(parent_, nullptr);
        }
        HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, 10, 10,
                                       width, height, parent_, reinterpret_cast<HMENU>(IDC_PICTURE),
                                       Self(), nullptr);
        EXPECT_NE(control, nullptr) << className << " not created, error " << GetLastError();
        return control;
    }

    HWND parent_ = nullptr;
};

// ---- Registration ----

TEST_F(PictureControl, RegisteringTwiceRegistersOnceAndAnswersOneBothTimes)
{
    EXPECT_EQ(FRegisterBitmapControl(nullptr), 1);
    EXPECT_EQ(FRegisterBitmapControl(GetModuleHandleA("gdi32.dll")), 1);
    EXPECT_EQ(ClassModule(kBitmapClass), Self()) << "the library's class, whoever asks";
    EXPECT_FALSE(ClassExists(kManualDupClass));

    // One class of each name: a second registration would have been refused and answered 0.
    EXPECT_EQ(FRegisterBitmapControlMP(nullptr), 1);
    EXPECT_EQ(FRegisterBitmapControlMP(nullptr), 1);
    EXPECT_EQ(ClassModule(kManualDupClass), Self());
}

TEST_F(PictureControl, RefusedRegistrationAnswersZeroAndIsTriedAgain)
{
    for (auto reg : {&FRegisterBitmapControl, &FRegisterBitmapControlMP}) {
        const char *name = reg == &FRegisterBitmapControl ? kBitmapClass : kManualDupClass;
        SCOPED_TRACE(name);
        RegisterForeignClass(name);
        EXPECT_EQ(reg(nullptr), 0);
        EXPECT_EQ(reg(nullptr), 0);
        UnregisterForeignClass(name);
        EXPECT_EQ(reg(nullptr), 1);
        EXPECT_EQ(ClassModule(name), Self());
    }
}

TEST_F(PictureControl, ClassRecord)
{
    ASSERT_EQ(FRegisterBitmapControl(nullptr), 1);
    ASSERT_EQ(FRegisterBitmapControlMP(nullptr), 1);
    for (const char *name : {kBitmapClass, kManualDupClass}) {
        SCOPED_TRACE(name);
        WNDCLASSEXA info = {};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(GetClassInfoExA(Self(), name, &info));
        EXPECT_EQ(info.style, UINT(CS_VREDRAW | CS_HREDRAW | CS_GLOBALCLASS));
        EXPECT_EQ(info.cbClsExtra, 0);
        EXPECT_EQ(ClassModule(name), Self());
        EXPECT_EQ(info.hIcon, nullptr);
        EXPECT_EQ(info.hCursor, LoadCursorA(nullptr, IDC_ARROW));
        EXPECT_EQ(info.hbrBackground, GetStockObject(WHITE_BRUSH));
        EXPECT_EQ(info.lpszMenuName, nullptr);
    }
    // A window of another module finds the classes (they are global), and the controls are
    // Unicode windows, so that the picture's description keeps every language's letters.
    HWND control = CreateWindowExA(0, kBitmapClass, "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr, GetModuleHandleA("user32.dll"), nullptr);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(IsWindowUnicode(control));
    DestroyWindow(control);
}

// ---- What a control shows ----

TEST_F(PictureControl, ShowsTheBitmapNamedInTheBufferNotItsWindowText)
{
    ASSERT_EQ(FRegisterBitmapControl(nullptr), 1);
    ASSERT_EQ(FRegisterBitmapControlMP(nullptr), 1);
    SetBitmapName("TESTCYAN");
    for (const char *name : {kBitmapClass, kManualDupClass}) {
        SCOPED_TRACE(name);
        HWND control = Control(name, PCS_CENTERIMAGE, 20, 20, "TESTQUADS");
        ASSERT_NE(HeldBitmap(control), nullptr);
        EXPECT_EQ(PixelsOf(HeldBitmap(control)).width, 20);
        Pixels image = CaptureClient(control);
        EXPECT_EQ(image.At(0, 0), kCyan);
        EXPECT_EQ(image.At(19, 19), kCyan);
        DestroyWindow(control);
    }
}

TEST_F(PictureControl, ReadsTheNameOnceWhenCreated)
{
    ASSERT_EQ(FRegisterBitmapControl(nullptr), 1);
    SetBitmapName("TESTCYAN");
    HWND control = Control(kBitmapClass, PCS_CENTERIMAGE, 20, 20);
    SetBitmapName("TESTQUADS");
    InvalidateRect(control, nullptr, TRUE);
    EXPECT_EQ(CaptureClient(control).At(10, 10), kCyan);
}

TEST_F(PictureControl, NameIsReadWithinItsThirtyTwoBytes)
{
    ASSERT_EQ(FRegisterBitmapControl(nullptr), 1);
    // 31 characters of a bitmap's name and no terminator in the buffer.
    const char name[] = "QUADS_UNDER_A_31_CHARACTER_NAME";
    static_assert(sizeof(name) == DuplexBitmapNameSize, "31 characters and the terminator");
    memcpy(bitmapName, name, DuplexBitmapNameSize - 1);
    bitmapName[DuplexBitmapNameSize - 1] = 'X';
    HWND control = Control(kBitmapClass, PCS_CENTERIMAGE, 172, 60);
    ASSERT_NE(HeldBitmap(control), nullptr);
    EXPECT_EQ(PixelsOf(HeldBitmap(control)).width, 172);
}

TEST_F(PictureControl, UnknownOrEmptyNameGivesAControlWithoutBitmap)
{
    ASSERT_EQ(FRegisterBitmapControl(nullptr), 1);
    for (const char *name : {"", "NO_SUCH_BITMAP"}) {
        SetBitmapName(name);
        HWND control = Control(kBitmapClass, PCS_CENTERIMAGE, 20, 20);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(HeldBitmap(control), nullptr) << name;
        DestroyWindow(control);
    }
}

// ---- Painting ----

class PicturePainting : public PictureControl {
protected:
    void SetUp() override
    {
        PictureControl::SetUp();
        int element = COLOR_WINDOW;
        savedWindowColour_ = GetSysColor(COLOR_WINDOW);
        ASSERT_TRUE(SetSysColors(1, &element, &kWindowColour));
        ASSERT_EQ(FRegisterBitmapControl(nullptr), 1);
        SetBitmapName("TESTQUADS");
    }

    void TearDown() override
    {
        int element = COLOR_WINDOW;
        SetSysColors(1, &element, &savedWindowColour_);
        PictureControl::TearDown();
    }

    // The control's pixels after it has painted itself.
    Pixels Paint(DWORD style, int width, int height)
    {
        HWND control = Control(kBitmapClass, style, width, height);
        return control ? CaptureClient(control) : Pixels();
    }

    COLORREF savedWindowColour_ = 0;
};

TEST_F(PicturePainting, CentredWithTheRemainderDropped)
{
    // 172 x 60 in 181 x 71: 4 pixels left of it and 5 right, 5 above and 6 below.
    Pixels image = Paint(PCS_CENTERIMAGE, 181, 71);
    ASSERT_EQ(image.width, 181);
    EXPECT_EQ(image.At(3, 5), kWindowColour);
    EXPECT_EQ(image.At(4, 4), kWindowColour);
    EXPECT_EQ(image.At(4, 5), kRed);
    EXPECT_EQ(image.At(89, 34), kRed);
    EXPECT_EQ(image.At(90, 5), kGreen);
    EXPECT_EQ(image.At(4, 35), kBlue);
    EXPECT_EQ(image.At(175, 64), kYellow);
    EXPECT_EQ(image.At(176, 64), kWindowColour);
    EXPECT_EQ(image.At(175, 65), kWindowColour);
    EXPECT_EQ(image.At(180, 70), kWindowColour);
}

TEST_F(PicturePainting, ExactlyFittingPictureIsCopiedAtTheOrigin)
{
    Pixels image = Paint(PCS_CENTERIMAGE, 172, 60);
    EXPECT_EQ(image.At(0, 0), kRed);
    EXPECT_EQ(image.At(85, 29), kRed);
    EXPECT_EQ(image.At(86, 0), kGreen);
    EXPECT_EQ(image.At(0, 30), kBlue);
    EXPECT_EQ(image.At(171, 59), kYellow);
}

TEST_F(PicturePainting, OnePixelTooBigIsStretchedInBothDirections)
{
    // One pixel too wide: squeezed across, and also enlarged from 60 to 90 rows.
    Pixels wide = Paint(PCS_CENTERIMAGE, 171, 90);
    EXPECT_EQ(wide.At(0, 0), kRed);
    EXPECT_EQ(wide.At(170, 0), kGreen);
    EXPECT_EQ(wide.At(0, 40), kRed);
    EXPECT_EQ(wide.At(0, 50), kBlue);
    EXPECT_EQ(wide.At(0, 89), kBlue);
    EXPECT_EQ(wide.At(170, 89), kYellow);

    // One pixel too tall: enlarged across to the right edge, squeezed down.
    Pixels tall = Paint(PCS_CENTERIMAGE, 200, 59);
    EXPECT_EQ(tall.At(0, 0), kRed);
    EXPECT_EQ(tall.At(199, 0), kGreen);
    EXPECT_EQ(tall.At(0, 58), kBlue);
    EXPECT_EQ(tall.At(199, 58), kYellow);
}

TEST_F(PicturePainting, WithoutCentringASmallerPictureIsEnlarged)
{
    Pixels image = Paint(0, 181, 71);
    EXPECT_EQ(image.At(0, 0), kRed);
    EXPECT_EQ(image.At(180, 0), kGreen);
    EXPECT_EQ(image.At(0, 70), kBlue);
    EXPECT_EQ(image.At(180, 70), kYellow);
}

TEST_F(PicturePainting, GreyOrWindowColouredBackgroundAndTheFaceColourUnderHighContrast)
{
    // A scheme whose dialog face is dark: the grey stays light grey while high contrast is off.
    int face = COLOR_3DFACE;
    const COLORREF savedFace = GetSysColor(COLOR_3DFACE), darkFace = RGB(0, 0, 0x80);
    ASSERT_TRUE(SetSysColors(1, &face, &darkFace));
    Pixels grey = Paint(PCS_GRAYBKGND | PCS_CENTERIMAGE, 181, 71);
    EXPECT_EQ(grey.At(0, 0), kLightGrey);
    EXPECT_EQ(grey.At(180, 70), kLightGrey);
    EXPECT_EQ(grey.At(4, 5), kRed);

    Pixels window = Paint(PCS_CENTERIMAGE, 181, 71);
    EXPECT_EQ(window.At(0, 0), kWindowColour);
    EXPECT_EQ(window.At(180, 70), kWindowColour);

    // High contrast on (Wine has none: the library's own call is answered "on"): the grey takes
    // the face colour; the window colour and the picture's own colours stay.
    {
        ImportPatch contrast(GetModuleHandleW(nullptr), "USER32.dll", "SystemParametersInfoW",
                             AnswerHighContrastOn);
        ASSERT_TRUE(contrast.Patched());
        Pixels faced = Paint(PCS_GRAYBKGND | PCS_CENTERIMAGE, 181, 71);
        EXPECT_EQ(faced.At(0, 0), darkFace);
        EXPECT_EQ(faced.At(180, 70), darkFace);
        EXPECT_EQ(faced.At(4, 5), kRed);
        EXPECT_EQ(Paint(PCS_CENTERIMAGE, 181, 71).At(0, 0), kWindowColour);
    }
    SetSysColors(1, &face, &savedFace);
}

TEST_F(PicturePainting, ControlWithoutBitmapPaintsOnlyItsBackground)
{
    SetBitmapName("");
    for (DWORD style : {DWORD(0), DWORD(PCS_CENTERIMAGE), DWORD(PCS_GRAYBKGND),
                        DWORD(PCS_GRAYBKGND | PCS_CENTERIMAGE)}) {
        SCOPED_TRACE(testing::Message() << "style " << style);
        Pixels image = Paint(style, 50, 30);
        COLORREF background = (style & PCS_GRAYBKGND) ? kLightGrey : kWindowColour;
        int others = 0;
        for (COLORREF pixel : image.pixels)
            others += pixel != background;
        EXPECT_EQ(image.pixels.size(), 50u * 30u);
        EXPECT_EQ(others, 0);
    }
}

// ---- At the window's DPI ----
// Wine gives a process the DPI of the LogPixels setting as it stood when the process started:
// the test at another DPI runs this program again, with the setting changed meanwhile and its
// environment naming the DPI that the run must see.

const char kExpectedDpiVariable[] = "DXDLG_TEST_DPI";

TEST_F(PicturePainting, CentredAtItsSizeForTheWindowDpiEachPixelFromOneOfThePicture)
{
    HWND control = Control(kBitmapClass, PCS_CENTERIMAGE, 360, 140);
    ASSERT_NE(control, nullptr);
    HDC dc = GetDC(control);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(control, dc);
    char expected[16] = "96";
    GetEnvironmentVariableA(kExpectedDpiVariable, expected, sizeof(expected));
    ASSERT_EQ(dpi, atoi(expected));

    // The 172 x 60 quadrants at dpi / 96, centred in the 360 x 140 control.
    const int width = MulDiv(172, dpi, 96), height = MulDiv(60, dpi, 96);
    const int left = (360 - width) / 2, top = (140 - height) / 2;
    const bool wholeFactor = dpi % 96 == 0;
    Pixels image = CaptureClient(control);
    ASSERT_EQ(image.width, 360);
    int wrong = 0;
    for (int y = 0; y < 140; y++)
        for (int x = 0; x < 360; x++) {
            COLORREF pixel = image.At(x, y);
            int px = x - left, py = y - top;
            if (px < 0 || py < 0 || px >= width || py >= height) {
                wrong += pixel != kWindowColour;
                continue;
            }
            // The colour of the picture's pixel under this one; at a fractional factor a pixel
            // next to a quadrant's edge may take its colour from either side of the edge.
            auto quadrant = [dpi](int qx, int qy) {
                int sx = qx * 96 / dpi, sy = qy * 96 / dpi;
                return sy < 30 ? (sx < 86 ? kRed : kGreen) : (sx < 86 ? kBlue : kYellow);
            };
            COLORREF colour = quadrant(px, py);
            bool edge = !wholeFactor && (quadrant(px - 1, py - 1) != colour || quadrant(px + 1, py + 1) != colour);
            wrong += !edge && pixel != colour;
        }
    EXPECT_EQ(wrong, 0) << "at " << dpi << " DPI";

    // Wider than the picture at this DPI but lower: stretched over the whole control, not
    // centred with its top, bottom and the background beside it showing.
    DestroyWindow(control);
    Pixels stretched = CaptureClient(Control(kBitmapClass, PCS_CENTERIMAGE, width + 56, height - 20));
    EXPECT_EQ(stretched.At(0, 0), kRed) << "at " << dpi << " DPI";
    EXPECT_EQ(stretched.At(width + 55, height - 21), kYellow) << "at " << dpi << " DPI";
}

TEST(PictureAtOtherDpi, TwiceTheSizeAt192DpiHalfAsLargeAgainAt144)
{
    for (DWORD dpi : {192u, 144u}) {
        SCOPED_TRACE(testing::Message() << dpi << " DPI");
        std::string output;
        DWORD status;
        {
            dxdesk::UserSettingForNow setting("Control Panel\\Desktop", "LogPixels", dpi);
            ASSERT_TRUE(setting.Set());
            SetEnvironmentVariableA(kExpectedDpiVariable, std::to_string(dpi).c_str());
            char self[MAX_PATH] = "";
            GetModuleFileNameA(nullptr, self, MAX_PATH);
            status = dxdesk::RunProgram(
                std::string("\"") + self +
                    "\" --gtest_filter=PicturePainting.CentredAtItsSizeForTheWindowDpiEachPixelFromOneOfThePicture",
                &output, 60000);
            SetEnvironmentVariableA(kExpectedDpiVariable, nullptr);
        }
        EXPECT_EQ(status, 0u) << output;
        EXPECT_NE(output.find("[  PASSED  ] 1 test."), std::string::npos) << output;
    }
}

// ---- Bitmaps owned by controls ----

// The process's live GDI objects. Wine's GetGuiResources always answers 0, so this probes every
// slot of the process's GDI handle table with GetObjectType of the slot's bare index, which
// Wine's gdi32 resolves to whatever object occupies the slot.
int LiveGdiObjects()
{
    int count = 0;
    for (ULONG_PTR slot = 1; slot < 0x10000; slot++)
        count += GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0;
    return count;
}

TEST_F(PictureControl, LiveGdiObjectCountSeesCreatedObjects)
{
    int before = LiveGdiObjects();
    HBRUSH brushes[5];
    for (HBRUSH &brush : brushes)
        brush = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(LiveGdiObjects(), before + 5);
    for (HBRUSH brush : brushes)
        DeleteObject(brush);
    EXPECT_EQ(LiveGdiObjects(), before);
}

TEST_F(PictureControl, EachControlOwnsItsOwnBitmapUntilDestroyed)
{
    ASSERT_EQ(FRegisterBitmapControl(nullptr), 1);
    SetBitmapName("TESTQUADS");
    HWND first = Control(kBitmapClass, PCS_CENTERIMAGE, 181, 71);
    HWND second = Control(kBitmapClass, PCS_CENTERIMAGE, 181, 71);
    HBITMAP a = HeldBitmap(first), b = HeldBitmap(second);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_EQ(GetObjectType(a), DWORD(OBJ_BITMAP));
    EXPECT_EQ(GetObjectType(b), DWORD(OBJ_BITMAP));

    // A host's own bitmap, or brush, in the slot where others read the control's bitmap is
    // the host's: the control deletes only the bitmap it loaded.
    HBITMAP hostBitmap = CreateBitmap(4, 4, 1, 1, nullptr);
    HBRUSH hostBrush = CreateSolidBrush(kCyan);
    SetWindowLongPtrA(first, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(hostBitmap));
    SetWindowLongPtrA(second, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(hostBrush));
    // Nor what any program can write into its window extra bytes instead of its own handle.
    HWND third = Control(kBitmapClass, PCS_CENTERIMAGE, 181, 71);
    for (int offset = 0; offset < 3 * int(sizeof(LONG_PTR)); offset += int(sizeof(LONG_PTR)))
        SetWindowLongPtrA(third, offset, reinterpret_cast<LONG_PTR>(hostBitmap));
    DestroyWindow(third);

    DestroyWindow(first);
    EXPECT_EQ(GetObjectType(a), 0u);
    EXPECT_EQ(GetObjectType(b), DWORD(OBJ_BITMAP));  // still painting in the other control
    EXPECT_EQ(CaptureClient(second).At(4, 5), kRed);
    DestroyWindow(second);
    EXPECT_EQ(GetObjectType(b), 0u);
    EXPECT_EQ(GetObjectType(hostBitmap), DWORD(OBJ_BITMAP));
    EXPECT_EQ(GetObjectType(hostBrush), DWORD(OBJ_BRUSH));
    DeleteObject(hostBitmap);
    DeleteObject(hostBrush);
}

TEST_F(PictureControl, NoGdiObjectLeftBehindOverManyControls)
{
    ASSERT_EQ(FRegisterBitmapControl(nullptr), 1);
    ASSERT_EQ(FRegisterBitmapControlMP(nullptr), 1);
    SetBitmapName("TESTQUADS");
    const DWORD styles[] = {PCS_CENTERIMAGE, 0, PCS_GRAYBKGND, PCS_GRAYBKGND | PCS_CENTERIMAGE};
    auto cycle = [&](int i) {
        const char *name = i % 2 ? kManualDupClass : kBitmapClass;
        SetBitmapName(i % 5 == 4 ? "" : "TESTQUADS");
        HWND control = Control(name, styles[i % 4], i % 3 ? 181 : 100, 71);
        UpdateWindow(control);  // paints: a memory context and, maybe, a brush each time
        HBITMAP held = HeldBitmap(control);
        DestroyWindow(control);
        return held == nullptr || GetObjectType(held) == 0;
    };
    cycle(0);  // the first paint may create objects that the system keeps
    int before = LiveGdiObjects();
    int stillValid = 0;
    for (int i = 1; i <= 300; i++)
        stillValid += !cycle(i);
    EXPECT_EQ(stillValid, 0);
    EXPECT_EQ(LiveGdiObjects(), before);
}

// ---- The classes of dxdlg.dll across unloading and loading ----

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// A dialog holding one picture control of the given class, as a driver's own template would.
std::vector<WORD> PictureDialogTemplate(const wchar_t *controlClass)
{
    std::vector<WORD> t;
    auto dword = [&t](DWORD value) {
        t.push_back(LOWORD(value));
        t.push_back(HIWORD(value));
    };
    auto text = [&t](const wchar_t *s) {
        for (; *s; ++s)
            t.push_back(WORD(*s));
        t.push_back(0);
    };
    dword(WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME);
    dword(0);
    for (WORD w : {1, 10, 10, 200, 120})  // one item; x, y, cx, cy
        t.push_back(w);
    t.push_back(0);  // no menu
    t.push_back(0);  // the dialog class
    text(L"Picture");
    if (t.size() % 2)
        t.push_back(0);
    dword(WS_CHILD | WS_VISIBLE | PCS_CENTERIMAGE);
    dword(0);
    for (WORD w : {10, 10, 86, 86, IDC_PICTURE})  // x, y, cx, cy, id
        t.push_back(w);
    text(controlClass);
    text(L"ManualFeed");
    t.push_back(0);  // no creation data
    return t;
}

struct DialogResult {
    INT_PTR result = 0;
    std::string controlClass;
    HMODULE controlModule = nullptr;
};

// Opens the dialog modally; the watch reads its control and ends it with 7.
DialogResult OpenPictureDialog(const wchar_t *controlClass)
{
    std::vector<WORD> dialogTemplate = PictureDialogTemplate(controlClass);
    DialogResult seen;
    DialogWatch watch([&seen](HWND dialog) {
        HWND control = GetDlgItem(dialog, IDC_PICTURE);
        seen.controlClass = ClassName(control);
        seen.controlModule = reinterpret_cast<HMODULE>(GetClassLongPtrA(control, GCLP_HMODULE));
        EndDialog(dialog, 7);
    });
    seen.result = DialogBoxIndirectParamA(
        Self(), reinterpret_cast<const DLGTEMPLATE *>(dialogTemplate.data()), nullptr,
        PlainDialogProc, 0);
    EXPECT_FALSE(watch.WatchdogFired());
    return seen;
}

// No class of the module `gone` is left under one of the library's three names (the other
// module's global class aside).
void ExpectNoClassLeft(HMODULE gone)
{
    for (const char *name : {kBitmapClass, kManualDupClass, PICTURE_STANDIN_CLASS}) {
        WNDCLASSEXA info = {};
        info.cbSize = sizeof(info);
        EXPECT_FALSE(GetClassInfoExA(gone, name, &info) && info.lpfnWndProc != OwnModulesWindowsOnly)
            << name << " outlived the DLL";
    }
}

// Each test starts with dxdlg.dll loaded (dll_) and ends with it unloaded, no class left.
class PictureClassesOfTheDll : public ::testing::Test {
protected:
    void SetUp() override { Load(); }
    void TearDown() override
    {
        Unload();
        DeleteSettingsKey();
    }
    void Load()  // unless loaded
    {
        if (dll_)
            return;
        dll_ = LoadDxdlg({{"countryCode", 1033}});
        ASSERT_NE(dll_, nullptr);
        reg_ = Export<PFN_FRegisterBitmapControl>(dll_, "FRegisterBitmapControl");
        regMP_ = Export<PFN_FRegisterBitmapControlMP>(dll_, "FRegisterBitmapControlMP");
    }
    void Unload()
    {
        if (!dll_)
            return;
        UnloadDxdlg(dll_);
        ExpectNoClassLeft(dll_);
        dll_ = nullptr;
    }
    HMODULE dll_ = nullptr;
    PFN_FRegisterBitmapControl reg_ = nullptr;
    PFN_FRegisterBitmapControlMP regMP_ = nullptr;
};

TEST_F(PictureClassesOfTheDll, SurviveUnloadingAndLoadingAgain)
{
    for (int load = 1; load <= 2; load++) {
        SCOPED_TRACE(testing::Message() << "load " << load);
        ASSERT_NO_FATAL_FAILURE(Load());
        HMODULE dll = dll_;
        EXPECT_EQ(reg_(Self()), 1);
        EXPECT_EQ(regMP_(Self()), 1);

        DialogResult duplex = OpenPictureDialog(DXDLG_WIDE(BITMAPCTL_CLASS));
        EXPECT_EQ(duplex.result, 7);
        EXPECT_EQ(duplex.controlClass, kBitmapClass);
        EXPECT_EQ(duplex.controlModule, dll);
        DialogResult manualFeed = OpenPictureDialog(DXDLG_WIDE(MANUALDUPCTL_CLASS));
        EXPECT_EQ(manualFeed.result, 7);
        EXPECT_EQ(manualFeed.controlModule, dll);

        Unload();
        ASSERT_EQ(GetModuleHandleA("dxdlg.dll"), nullptr);
        // So a dialog naming the class now fails to open instead of calling into nothing.
        EXPECT_EQ(OpenPictureDialog(DXDLG_WIDE(BITMAPCTL_CLASS)).result, -1);
    }
}

// Calls each registering export from several threads released at once; every answer counts.
struct RegistrationRace {
    PFN_FRegisterBitmapControl reg = nullptr;
    PFN_FRegisterBitmapControlMP regMP = nullptr;
    HANDLE start = nullptr;
    LONG ones = 0;
    LONG answered = 0;  // threads that have had both answers
};

DWORD WINAPI RegisterWhenReleased(void *parameter)
{
    auto *race = static_cast<RegistrationRace *>(parameter);
    WaitForSingleObject(race->start, INFINITE);
    InterlockedAdd(&race->ones, race->reg(nullptr) + race->regMP(nullptr));
    InterlockedIncrement(&race->answered);
    return 0;
}

// The first thread to register is held inside RegisterClassW, its class already registered,
// until every thread waits for the registration lock (or, where none makes them wait, has had
// its answers). Only the DLL's import entries are replaced.
const int kRegisteringThreads = 8;
RegistrationRace *heldRace;
LONG atTheLock, registrationsHeld;
ImportPatch *registerClass, *acquireLock;

ATOM WINAPI HoldTheFirstRegistration(const WNDCLASSW *record)
{
    ATOM atom = registerClass->Original<decltype(&RegisterClassW)>()(record);
    DWORD start = GetTickCount();
    if (InterlockedExchange(&registrationsHeld, 1) == 0)
        while (atTheLock < kRegisteringThreads && heldRace->answered < kRegisteringThreads - 1 &&
               GetTickCount() - start < 20000)
            Sleep(1);
    return atom;
}

void WINAPI CountAtTheLock(PSRWLOCK lock)
{
    InterlockedIncrement(&atTheLock);
    acquireLock->Original<decltype(&AcquireSRWLockExclusive)>()(lock);
}

// The thread-local slots that the process could still take.
size_t FreeTlsSlots()
{
    std::vector<DWORD> taken;
    for (DWORD slot; (slot = TlsAlloc()) != TLS_OUT_OF_INDEXES;)
        taken.push_back(slot);
    for (DWORD slot : taken)
        TlsFree(slot);
    return taken.size();
}

TEST_F(PictureClassesOfTheDll, ThreadsRegisteringAtOnceAllGetOneAndUnloadingRemovesTheClasses)
{
    const int kThreads = kRegisteringThreads, kRounds = 15;
    for (int round = 0; round < kRounds; round++) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        ASSERT_NO_FATAL_FAILURE(Load());
        HMODULE dll = dll_;
        RegistrationRace race;
        race.reg = reg_;
        race.regMP = regMP_;
        race.start = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        {
            ImportPatch registerPatch(dll, "USER32.dll", "RegisterClassW", HoldTheFirstRegistration);
            ImportPatch lockPatch(dll, "KERNEL32.dll", "AcquireSRWLockExclusive", CountAtTheLock);
            ASSERT_TRUE(registerPatch.Patched());  // a library without a lock has none to count
            registerClass = &registerPatch;
            acquireLock = &lockPatch;
            heldRace = &race;
            atTheLock = registrationsHeld = 0;
            HANDLE threads[kThreads];
            for (HANDLE &thread : threads)
                thread = CreateThread(nullptr, 0, RegisterWhenReleased, &race, 0, nullptr);
            SetEvent(race.start);
            ASSERT_EQ(WaitForMultipleObjects(kThreads, threads, TRUE, 30000), WAIT_OBJECT_0);
            for (HANDLE thread : threads)
                CloseHandle(thread);
        }
        CloseHandle(race.start);
        EXPECT_EQ(race.ones, 2 * kThreads) << "a registering thread was answered 0";
        EXPECT_EQ(race.reg(nullptr), 1);
        EXPECT_EQ(race.regMP(nullptr), 1);
        Unload();
        ASSERT_FALSE(HasFailure());
    }
    // Loaded once more, wherever it lands, the DLL's own dialog opens and answers; unloaded, it
    // gives back the thread-local slot its picture names took.
    const size_t freeSlots = FreeTlsSlots();
    ASSERT_NO_FATAL_FAILURE(Load());
    ASSERT_EQ(reg_(nullptr), 1);
    HLOCAL devMode = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, sizeof(DEVMODEA));
    {
        DialogWatch watch([](HWND dialog) { ClickButton(dialog, IDOK); }, 5000);
        EXPECT_EQ(Export<PFN_OpenDuplexDlg>(dll_, "OpenDuplexDlg")(nullptr, nullptr, 0, 0, 1033, devMode,
                                                                    nullptr, nullptr), 1);
        EXPECT_EQ(watch.DialogsSeen(), 1);
    }
    LocalFree(devMode);
    Unload();
    EXPECT_EQ(FreeTlsSlots(), freeSlots) << "the unloaded DLL keeps a thread-local slot";
}

// ---- Two copies of the DLL in one process ----

struct CopysDialog {
    int result = -2;
    Pixels picture;                 // what its picture control held
    HMODULE controlModule = nullptr;
    std::wstring controls;          // each control in turn: identifier, style, place, text
};

// Opens a dialog of one copy (the duplex dialog for `source` and `passCode`, or with
// `manualFeed` the manual-feed slot dialog); the watch reads its controls, runs `during` and
// presses OK.
CopysDialog OpenCopysDialog(HMODULE copy, short source, WORD passCode, bool manualFeed = false,
                            const std::function<void()> &during = [] {})
{
    CopysDialog seen;
    DialogWatch watch([&](HWND dialog) {
        HWND control = GetWindow(dialog, GW_CHILD);  // the one neither a button nor a text
        while (control && (ClassName(control) == "Button" || ClassName(control) == "Static"))
            control = GetWindow(control, GW_HWNDNEXT);
        seen.picture = PixelsOf(HeldBitmap(control));
        seen.controlModule = reinterpret_cast<HMODULE>(GetClassLongPtrA(control, GCLP_HMODULE));
        auto field = [](long value) { return std::to_wstring(value) + L' '; };
        for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            RECT r;
            GetWindowRect(c, &r);
            MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT *>(&r), 2);
            seen.controls += field(GetDlgCtrlID(c)) + field(GetWindowLongW(c, GWL_STYLE)) +
                             field(r.left) + field(r.top) + field(r.right) + field(r.bottom) +
                             WindowText(c) + L'\n';
        }
        during();
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ClickButton(dialog, manualFeed ? IDC_MANUALFEED_OK : IDOK);
    }, 5000);
    if (manualFeed) {
        seen.result = int(Export<PFN_OpenDuplexDlgMP>(copy, "OpenDuplexDlgMP")(nullptr, nullptr, 0, 1033,
                                                                             nullptr, nullptr));
    } else {
        HLOCAL devMode = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, sizeof(DEVMODEA));
        auto *fields = static_cast<DEVMODEA *>(LocalLock(devMode));
        fields->dmOrientation = DMORIENT_PORTRAIT;
        fields->dmDefaultSource = source;
        LocalUnlock(devMode);
        seen.result = Export<PFN_OpenDuplexDlg>(copy, "OpenDuplexDlg")(nullptr, nullptr, 0, passCode, 1033,
                                                                       devMode, nullptr, nullptr);
        LocalFree(devMode);
    }
    EXPECT_FALSE(watch.WatchdogFired());
    return seen;
}

Pixels CopysBitmap(HMODULE copy, short source, WORD passCode)
{
    DEVMODEA job = {};
    job.dmOrientation = DMORIENT_PORTRAIT;
    job.dmDefaultSource = source;
    HBITMAP bitmap =
        LoadBitmapA(copy, DuplexPictureBitmap(SelectDuplexPicture(&job, nullptr, passCode)));
    Pixels pixels = PixelsOf(bitmap);
    DeleteObject(bitmap);
    EXPECT_FALSE(pixels.pixels.empty());
    return pixels;
}

TEST_F(PictureClassesOfTheDll, TwoCopiesFromTwoFoldersEachShowTheirOwnPicturesAndOutliveEachOther)
{
    HMODULE first = dll_;
    char path[MAX_PATH], copyPath[MAX_PATH];
    GetModuleFileNameA(first, path, MAX_PATH);
    GetTempPathA(MAX_PATH, copyPath);
    strcat(copyPath, "dxdlg-second-copy");
    CreateDirectoryA(copyPath, nullptr);
    strcat(copyPath, "\\dxdlg.dll");
    ASSERT_TRUE(CopyFileA(path, copyPath, FALSE)) << "error " << GetLastError();
    HMODULE second = LoadLibraryA(copyPath);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second, first);
    // Each copy's caller registers the classes; the names are the first copy's.
    EXPECT_EQ(reg_(nullptr), 1);
    EXPECT_EQ(regMP_(nullptr), 1);
    EXPECT_EQ(Export<PFN_FRegisterBitmapControlMP>(second, "FRegisterBitmapControlMP")(nullptr), 0);

    // First passes and second passes in turn: each dialog shows its own job's picture, through
    // a control of its own copy.
    CopysDialog dialog = OpenCopysDialog(first, DMBIN_CASSETTE, 0);
    EXPECT_EQ(dialog.result, 1);
    EXPECT_EQ(dialog.controlModule, first);
    EXPECT_TRUE(dialog.picture == CopysBitmap(first, DMBIN_CASSETTE, 0));
    dialog = OpenCopysDialog(second, DMBIN_MANUAL, 1);
    EXPECT_EQ(dialog.result, 1);
    EXPECT_EQ(dialog.controlModule, second);
    EXPECT_TRUE(dialog.picture == CopysBitmap(second, DMBIN_MANUAL, 1)) << "not its own picture";
    dialog = OpenCopysDialog(first, DMBIN_CASSETTE, 2);
    EXPECT_EQ(dialog.controlModule, first);
    EXPECT_TRUE(dialog.picture == CopysBitmap(first, DMBIN_CASSETTE, 2)) << "not its own picture";
    dialog = OpenCopysDialog(second, 0, 0, true);
    EXPECT_EQ(dialog.result, 1);
    EXPECT_EQ(dialog.controlModule, second);
    EXPECT_TRUE(dialog.picture == CopysBitmap(second, DMBIN_MANUAL, 0));
    // Its own classes do not make the global name the second copy's.
    EXPECT_EQ(Export<PFN_FRegisterBitmapControlMP>(second, "FRegisterBitmapControlMP")(nullptr), 0);

    // The first copy goes while the second one's dialog is open; the second goes on.
    dialog = OpenCopysDialog(second, DMBIN_CASSETTE, 3, false, [&] { Unload(); });
    EXPECT_EQ(dialog.result, 1);
    ASSERT_EQ(GetModuleHandleA(path), nullptr) << "the first copy is still loaded";
    dialog = OpenCopysDialog(second, DMBIN_MANUAL, 4);
    EXPECT_EQ(dialog.result, 1);
    EXPECT_TRUE(dialog.picture == CopysBitmap(second, DMBIN_MANUAL, 4));
    EXPECT_EQ(OpenCopysDialog(second, 0, 0, true).result, 1);

    FreeLibrary(second);
    ExpectNoClassLeft(second);
    DeleteFileA(copyPath);
}

TEST_F(PictureClassesOfTheDll, RefusedWhileAnotherModuleHoldsTheNameAndLeaveItAlone)
{
    RegisterForeignClass(kBitmapClass);
    RegisterForeignClass(kManualDupClass);
    EXPECT_EQ(reg_(Self()), 0);
    EXPECT_EQ(regMP_(Self()), 0);
    EXPECT_EQ(regMP_(Self()), 0);
    UnregisterForeignClass(kBitmapClass);
    EXPECT_EQ(reg_(Self()), 1);

    // Unloading removes the class the DLL registered, not the other module's.
    Unload();
    EXPECT_EQ(ClassModule(kManualDupClass), GetModuleHandleA("gdi32.dll"));
    UnregisterForeignClass(kManualDupClass);
}

// Windows refuses a global class of a name for which the same module holds a local class, and
// takes a local class after the global one; Wine takes both orders. ReactOS's conformance test
// of RegisterClassEx, which passes on Windows (modules/rostests/apitests/user32/
// RegisterClassEx.c, TestGlobalClasses: TestClass3 and TestClass4), shows both. Windows also
// refuses a local class of a name that another module holds globally, which Wine 8 takes
// (Wine's dlls/user32/tests/class.c, test_instances: "instance doesn't matter for global
// class"): while foreignGlobal is set, for the names that RegisterForeignClass holds.
ImportPatch *registerAsWindows;
bool foreignGlobal;

ATOM WINAPI RegisterClassAsWindows(const WNDCLASSW *record)
{
    WNDCLASSEXW held = {};
    held.cbSize = sizeof(held);
    bool global = record->style & CS_GLOBALCLASS;
    if ((!global && foreignGlobal &&
         GetClassInfoExW(GetModuleHandleA("gdi32.dll"), record->lpszClassName, &held)) ||
        (global && GetClassInfoExW(record->hInstance, record->lpszClassName, &held) &&
         !(held.style & CS_GLOBALCLASS))) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    return registerAsWindows->Original<decltype(&RegisterClassW)>()(record);
}

TEST_F(PictureClassesOfTheDll, CallerRegistersAfterTheLibrarysFirstDialogUnderWindowsRule)
{
    HMODULE dll = dll_;
    {
        ImportPatch patch(dll, "USER32.dll", "RegisterClassW", RegisterClassAsWindows);
        ASSERT_TRUE(patch.Patched());
        registerAsWindows = &patch;
        EXPECT_EQ(OpenCopysDialog(dll, DMBIN_CASSETTE, 0).result, 1);
        EXPECT_EQ(reg_(Self()), 1);
        EXPECT_EQ(regMP_(Self()), 1);
        // The caller's own windows of both classes, and the library's dialogs with their own
        // pictures.
        EXPECT_EQ(ClassModule(kBitmapClass), dll);
        EXPECT_EQ(ClassModule(kManualDupClass), dll);
        CopysDialog dialog = OpenCopysDialog(dll, DMBIN_MANUAL, 1);
        EXPECT_EQ(dialog.result, 1);
        EXPECT_TRUE(dialog.picture == CopysBitmap(dll, DMBIN_MANUAL, 1));
        EXPECT_EQ(OpenCopysDialog(dll, 0, 0, true).result, 1);
    }
}

// The other module's classes take no window of the library's: its control stands in from the
// start, with the place, styles and texts that the library's own class gets once the names are
// free, and the controls after it readied too.
TEST_F(PictureClassesOfTheDll, DialogsShowTheirOwnPictureWhileAnotherModuleHoldsTheNames)
{
    HMODULE dll = dll_;
    RegisterForeignClass(kBitmapClass);
    RegisterForeignClass(kManualDupClass);
    CopysDialog standIns[2];
    {
        ImportPatch patch(dll, "USER32.dll", "RegisterClassW", RegisterClassAsWindows);
        registerAsWindows = &patch;
        foreignGlobal = true;
        for (bool manualFeed : {false, true}) {
            CopysDialog &dialog = standIns[manualFeed] = OpenCopysDialog(dll, DMBIN_MANUAL, 1, manualFeed);
            EXPECT_EQ(dialog.result, 1);
            EXPECT_EQ(dialog.controlModule, dll) << "the other module's control";
            EXPECT_TRUE(dialog.picture == CopysBitmap(dll, DMBIN_MANUAL, manualFeed ? 0 : 1));
        }
        foreignGlobal = false;
    }
    UnregisterForeignClass(kBitmapClass);
    UnregisterForeignClass(kManualDupClass);
    for (bool manualFeed : {false, true})
        EXPECT_EQ(standIns[manualFeed].controls, OpenCopysDialog(dll, DMBIN_MANUAL, 1, manualFeed).controls);
}

TEST_F(PictureClassesOfTheDll, ComeBackAfterTwoComponentsEachUnregisterThem)
{
    HMODULE dll = dll_;
    ASSERT_EQ(reg_(Self()), 1);
    ASSERT_EQ(regMP_(Self()), 1);
    ASSERT_EQ(OpenCopysDialog(dll, DMBIN_CASSETTE, 0).result, 1);
    for (const char *name : {kBitmapClass, kManualDupClass}) {
        UnregisterClassA(name, dll);
        UnregisterClassA(name, dll);
        ASSERT_FALSE(ClassExists(name));
    }
    EXPECT_EQ(OpenCopysDialog(dll, DMBIN_CASSETTE, 1).result, 1);
    EXPECT_EQ(OpenCopysDialog(dll, 0, 0, true).result, 1);
    EXPECT_EQ(reg_(Self()), 1);
    EXPECT_EQ(regMP_(Self()), 1);
    EXPECT_EQ(ClassModule(kBitmapClass), dll);
    EXPECT_EQ(ClassModule(kManualDupClass), dll);
    // Asked again while a dialog holds the library's own class, which cannot step aside: the
    // class stands, and goes at unload.
    int again = -1;
    OpenCopysDialog(dll, DMBIN_CASSETTE, 2, false, [&] { std::thread([&] { again = reg_(Self()); }).join(); });
    EXPECT_EQ(again, 1);
}

}  // namespace
