// Where the library puts a dialog: over its widest ancestor's client area, kept inside the work
// area of that ancestor's monitor; and DialogPosition, its arithmetic over plain rectangles, on
// monitor layouts that Wine's one screen cannot show. The windows are frameless pop-ups and
// children, so that each client rectangle is its window rectangle and every expected position
// can be worked out by hand. Ancestors are shown (a hidden one places nothing); the dialog is
// hidden, as a dialog being initialised is.
#include <gtest/gtest.h>

#include <vector>

#include "harness.h"
#include "placement/placement.h"

namespace {

// A dialog placed over its own parent or owner, as the library places the dialogs it owns.
void PlaceDialog(HWND dialog)
{
    PlaceDialogOver(dialog, GetParent(dialog));
}

const char kClass[] = "PlacementTestWindow";

class Placement : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClass;
        RegisterClassA(&wc);
    }

    // The primary monitor's work area, which the cases near its edges are laid out from.
    void SetUp() override
    {
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info));
        work_ = info.rcWork;
    }

    void TearDown() override
    {
        // Children go with their parents, owned windows with their owners: newest first.
        for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
            if (IsWindow(*it))
                DestroyWindow(*it);
    }

    // A shown frameless top-level window at (x, y) in screen coordinates, owned by `owner`.
    HWND Popup(int x, int y, int width, int height, HWND owner = nullptr)
    {
        return Make(WS_POPUP | WS_VISIBLE, x, y, width, height, owner);
    }

    // A shown frameless child window at (x, y) in its parent's client area.
    HWND Child(HWND parent, int x, int y, int width, int height)
    {
        return Make(WS_CHILD | WS_VISIBLE, x, y, width, height, parent);
    }

    // The window to place: hidden, a pop-up owned by `owner` or a child of `parent`.
    HWND Dialog(int width, int height, HWND owner = nullptr)
    {
        return Make(WS_POPUP, 0, 0, width, height, owner);
    }
    HWND ChildDialog(HWND parent, int width, int height)
    {
        return Make(WS_CHILD, 0, 0, width, height, parent);
    }

    // Where PlaceDialog put the window: the screen position it computed, which SetWindowPos
    // takes as screen coordinates for a top-level window and as its parent's client
    // coordinates for a child (the library's dialogs are all top-level).
    static POINT Position(HWND window)
    {
        RECT rect;
        GetWindowRect(window, &rect);
        POINT corner = {rect.left, rect.top};
        if (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)
            ScreenToClient(GetAncestor(window, GA_PARENT), &corner);
        return corner;
    }

    static SIZE Size(HWND window)
    {
        RECT rect;
        GetWindowRect(window, &rect);
        return SIZE{rect.right - rect.left, rect.bottom - rect.top};
    }

    HWND Make(DWORD style, int x, int y, int width, int height, HWND parent)
    {
        HWND window = CreateWindowExA(0, kClass, "", style, x, y, width, height, parent, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(window, nullptr);
        windows_.push_back(window);
        return window;
    }

    RECT work_ = {};

private:
    std::vector<HWND> windows_;
};

#define EXPECT_PLACED_AT(window, ex, ey)         \
    do {                                         \
        POINT at_ = Position(window);            \
        EXPECT_EQ(at_.x, (ex));                  \
        EXPECT_EQ(at_.y, (ey));                  \
    } while (0)

TEST_F(Placement, CentresOverTheWidestAncestorNotTheNearest)
{
    // dialog -> 800-wide child -> 1280-wide top-level window, wider than the screen. A pop-up
    // cannot be owned by a child window (its owner becomes the child's top-level window), so
    // the dialog here is a child: GetParent walks both kinds of chain alike.
    HWND top = Popup(-128, 10, 1280, 700);
    HWND child = Child(top, 50, 20, 800, 600);
    HWND dialog = ChildDialog(child, 300, 200);
    ASSERT_EQ(GetParent(dialog), child);
    PlaceDialog(dialog);
    // Over the top-level client: (-128 + 490, 10 + 200) on the screen.
    EXPECT_PLACED_AT(dialog, 362, 210);
    EXPECT_EQ(Size(dialog).cx, 300);
    EXPECT_EQ(Size(dialog).cy, 200);
}

TEST_F(Placement, AmongEquallyWideAncestorsTheNearerWins)
{
    HWND outer = Popup(50, 40, 600, 500);
    HWND inner = Child(outer, 30, 100, 600, 300);  // screen (80, 140)
    HWND dialog = ChildDialog(inner, 200, 100);
    PlaceDialog(dialog);
    // Over inner: (80 + 200, 140 + 80); over outer it would be (250, 200).
    EXPECT_PLACED_AT(dialog, 280, 220);
}

TEST_F(Placement, ThirtyOneAncestorsFallBackToTheDirectParent)
{
    // A 1000-wide top-level window, then nested 400-wide children, all at (0, 0).
    auto chain = [this](int ancestors) {
        HWND window = Popup(0, 0, 1000, 700);
        for (int i = 1; i < ancestors; i++)
            window = Child(window, 0, 0, 400, 300);
        return ChildDialog(window, 200, 100);
    };
    HWND thirty = chain(30);
    PlaceDialog(thirty);
    EXPECT_PLACED_AT(thirty, (1000 - 200) / 2, (700 - 100) * 2 / 5);  // the widest

    HWND thirtyOne = chain(31);
    PlaceDialog(thirtyOne);
    EXPECT_PLACED_AT(thirtyOne, (400 - 200) / 2, (300 - 100) * 2 / 5);  // the direct parent

    HWND forty = chain(40);
    PlaceDialog(forty);
    EXPECT_PLACED_AT(forty, (400 - 200) / 2, (300 - 100) * 2 / 5);
}

TEST_F(Placement, TwoFifthsDownAndHalfAcrossWithTheRemainderDropped)
{
    // Client 1000 x 1000 whose top is above the screen; dialog 301 x 300.
    HWND owner = Popup(0, -200, 1000, 1000);
    HWND dialog = Dialog(301, 300, owner);
    PlaceDialog(dialog);
    EXPECT_PLACED_AT(dialog, 349, -200 + 280);
}

TEST_F(Placement, NegativeFreeSpaceTruncatesTowardZero)
{
    // Free space -1 across and -201 down: 0 and -80, where rounding down would give -1 and -81.
    HWND owner = Popup(100, 200, 600, 100);
    HWND dialog = Dialog(601, 301, owner);
    PlaceDialog(dialog);
    EXPECT_PLACED_AT(dialog, 100, 120);
}

TEST_F(Placement, KeptInTheWorkAreaOfThePrimaryMonitor)
{
    // A 400 x 200 dialog stands 100 right of and 80 below a 600 x 400 owner's corner.
    const LONG l = work_.left, t = work_.top, r = work_.right, b = work_.bottom;
    struct Case {
        LONG ownerX, ownerY;
        LONG expectX, expectY;
    } cases[] = {
        {r - 324, t + 100, r - 400, t + 180},  // past the right edge: ends at the right edge
        {l - 500, t + 100, l, t + 180},        // off the left edge: starts at its left
        {l + 100, t - 300, l + 200, t},        // above the top: starts at its top
        {l + 100, b - 68, l + 200, b - 200},   // below the bottom: ends at the bottom
        {l - 500, t - 300, l, t},
    };
    for (const Case &c : cases) {
        HWND owner = Popup(c.ownerX, c.ownerY, 600, 400);
        HWND dialog = Dialog(400, 200, owner);
        PlaceDialog(dialog);
        SCOPED_TRACE(testing::Message() << "owner at " << c.ownerX << "," << c.ownerY);
        EXPECT_PLACED_AT(dialog, c.expectX, c.expectY);
    }
}

TEST_F(Placement, DialogWiderThanTheScreenEndsWithNegativeX)
{
    // Centred 90 right of the work area's left, not before it, so the right-edge rule moves it
    // to start 76 before it.
    const int width = work_.right - work_.left;
    HWND owner = Popup(work_.left, work_.top, width + 256, 700);
    HWND dialog = Dialog(width + 76, 200, owner);
    PlaceDialog(dialog);
    EXPECT_PLACED_AT(dialog, work_.left - 76, work_.top + 200);
    EXPECT_EQ(Size(dialog).cx, width + 76);
}

TEST_F(Placement, WithoutAPlaceToStandOverCentredInTheWorkArea)
{
    // Centred across the work area and two fifths down: (312, 227) for 400 x 200 on 1024 x 768.
    const int x = work_.left + (work_.right - work_.left - 400) / 2;
    const int y = work_.top + (work_.bottom - work_.top - 200) * 2 / 5;

    HWND minimised = CreateWindowExA(0, kClass, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 300,
                                     600, 400, nullptr, nullptr, GetModuleHandleA(nullptr),
                                     nullptr);
    ASSERT_NE(minimised, nullptr);
    ShowWindow(minimised, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(minimised));
    HWND dialog = Dialog(400, 200, minimised);
    PlaceDialog(dialog);
    EXPECT_PLACED_AT(dialog, x, y);
    DestroyWindow(dialog);
    DestroyWindow(minimised);

    HWND hidden = Popup(500, 300, 600, 400);
    ShowWindow(hidden, SW_HIDE);
    HWND flat = Popup(500, 300, 600, 0);  // as wide as the others, but no client area
    for (HWND owner : {hidden, flat}) {
        HWND owned = Dialog(400, 200, owner);
        PlaceDialog(owned);
        EXPECT_PLACED_AT(owned, x, y);
    }

    // No ancestor at all: the primary monitor's work area, wherever the dialog was created.
    HWND alone = Make(WS_POPUP, 900, -50, 400, 200, nullptr);
    PlaceDialog(alone);
    EXPECT_PLACED_AT(alone, x, y);
}

TEST_F(Placement, OneRequestLeavesTheDialogTopmostHiddenAndInPlace)
{
    HWND owner = Popup(100, 100, 600, 400);
    HWND dialog = Make(WS_POPUP | WS_VISIBLE, 0, 0, 400, 200, owner);
    static int requests;
    requests = 0;
    HHOOK hook = SetWindowsHookExA(
        WH_CALLWNDPROC,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (code == HC_ACTION && reinterpret_cast<CWPSTRUCT *>(lParam)->message == WM_WINDOWPOSCHANGING)
                requests++;
            return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    PlaceDialog(dialog);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(requests, 1);
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_PLACED_AT(dialog, 200, 180);
    EXPECT_EQ(Size(dialog).cx, 400);
}

// ---- Which monitor and which of its rectangles, on a layout that Wine cannot show ----
// Wine has one monitor and no taskbar. This program has the library's code linked in, so its
// own import entries for the three monitor functions are the library's calls: for one test they
// describe the screen as two monitors side by side, the left one primary with a 40-pixel
// taskbar at its bottom, the right one with a 30-pixel bar at its top.
const HMONITOR kLeftMonitor = HMONITOR(0x51), kRightMonitor = HMONITOR(0x52);
DWORD windowLookupFlags, pointLookupFlags;

HMONITOR MonitorAt(LONG x)
{
    return x < 512 ? kLeftMonitor : kRightMonitor;
}
HMONITOR WINAPI FakeMonitorFromWindow(HWND window, DWORD flags)
{
    RECT rect;
    GetWindowRect(window, &rect);
    windowLookupFlags = flags;
    return MonitorAt((rect.left + rect.right) / 2);
}
HMONITOR WINAPI FakeMonitorFromPoint(POINT point, DWORD flags)
{
    pointLookupFlags = flags;
    return MonitorAt(point.x);
}
BOOL WINAPI FakeGetMonitorInfoW(HMONITOR monitor, MONITORINFO *info)
{
    const bool left = monitor == kLeftMonitor;
    if (!left && monitor != kRightMonitor)
        return FALSE;
    SetRect(&info->rcMonitor, left ? 0 : 512, 0, left ? 512 : 1024, 768);
    SetRect(&info->rcWork, left ? 0 : 512, left ? 0 : 30, left ? 512 : 1024, left ? 728 : 768);
    info->dwFlags = left ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

TEST_F(Placement, KeptInTheWorkAreaOfTheReferencesMonitorElseOfThePrimaryOne)
{
    HMODULE self = GetModuleHandleA(nullptr);
    dxtest::ImportPatch fromWindow(self, "USER32.dll", "MonitorFromWindow", FakeMonitorFromWindow);
    dxtest::ImportPatch fromPoint(self, "USER32.dll", "MonitorFromPoint", FakeMonitorFromPoint);
    dxtest::ImportPatch info(self, "USER32.dll", "GetMonitorInfoW", FakeGetMonitorInfoW);
    ASSERT_TRUE(info.Patched());

    // An owner at the top of the right monitor: below its bar, not at the monitor's top, and
    // not pulled onto the primary monitor.
    HWND dialog = Dialog(200, 100, Popup(600, 0, 400, 100));
    PlaceDialog(dialog);
    EXPECT_PLACED_AT(dialog, 700, 30);
    EXPECT_EQ(windowLookupFlags, DWORD(MONITOR_DEFAULTTONEAREST));

    // Nothing to stand over: centred in the primary monitor's work area, above its taskbar.
    HWND alone = Make(WS_POPUP, 900, 500, 200, 100, nullptr);
    PlaceDialog(alone);
    EXPECT_PLACED_AT(alone, (512 - 200) / 2, (728 - 100) * 2 / 5);
    EXPECT_EQ(pointLookupFlags, DWORD(MONITOR_DEFAULTTOPRIMARY));
}

// ---- The arithmetic, on layouts of several monitors ----

TEST(DialogPosition, StaysOnTheReferencesMonitorInsideItsWorkArea)
{
    // A 1920 x 1080 primary monitor with a 40-pixel taskbar at the bottom; a second one to its
    // right; a third to its left, 1280 x 1024 and 200 pixels higher, so all of it negative.
    const RECT primary = {0, 0, 1920, 1040}, right = {1920, 0, 3840, 1080},
               left = {-1280, -200, 0, 824}, leftTaskbar = {60, 0, 1920, 1080};
    const LONG w = 400, h = 200;
    struct Case {
        const char *what;
        RECT reference, workArea;
        LONG x, y;
    } cases[] = {
        {"over a window on the right monitor", {2400, 100, 3200, 700}, right, 2600, 260},
        {"past the right monitor's right edge", {3500, 100, 4100, 700}, right, 3840 - w, 260},
        {"straddling into the primary monitor", {1700, 100, 2100, 300}, right, 1920, 100},
        {"over a window on the left monitor", {-1200, -150, -400, 450}, left, -1000, 10},
        {"above the left monitor", {-900, -600, -300, -300}, left, -800, -200},
        {"left of the left monitor", {-1600, 0, -1200, 400}, left, -1280, 80},
        {"over the taskbar", {100, 800, 900, 1200}, primary, 300, 1040 - h},
        {"left of a taskbar on the left", {-200, 100, 200, 500}, leftTaskbar, 60, 180},
        {"the work area itself", primary, primary, 760, 336},
    };
    for (const Case &c : cases) {
        POINT at = DialogPosition(&c.reference, w, h, &c.workArea);
        EXPECT_EQ(at.x, c.x) << c.what;
        EXPECT_EQ(at.y, c.y) << c.what;
    }
}

}  // namespace
