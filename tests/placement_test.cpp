// Where PlaceDialog puts a dialog: over its widest ancestor's client area, kept on the screen.
// The windows are frameless pop-ups and children, so that each client rectangle is its window
// rectangle and every expected position can be worked out by hand.
#include <gtest/gtest.h>

#include <vector>

#include "harness.h"
#include "placement/placement.h"

namespace {

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

    void SetUp() override
    {
        ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
        ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    }

    void TearDown() override
    {
        // Children go with their parents, owned windows with their owners: newest first.
        for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
            if (IsWindow(*it))
                DestroyWindow(*it);
    }

    // A frameless top-level window at (x, y) in screen coordinates, owned by `owner`.
    HWND Popup(int x, int y, int width, int height, HWND owner = nullptr)
    {
        return Make(WS_POPUP, x, y, width, height, owner);
    }

    // A frameless child window at (x, y) in its parent's client area.
    HWND Child(HWND parent, int x, int y, int width, int height)
    {
        return Make(WS_CHILD, x, y, width, height, parent);
    }

    // Where PlaceDialog put the window: the screen position it computed, which MoveWindow
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

private:
    HWND Make(DWORD style, int x, int y, int width, int height, HWND parent)
    {
        HWND window = CreateWindowExA(0, kClass, "", style, x, y, width, height, parent, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(window, nullptr);
        windows_.push_back(window);
        return window;
    }

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
    HWND dialog = Child(child, 0, 0, 300, 200);
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
    HWND dialog = Child(inner, 0, 0, 200, 100);
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
        return Child(window, 0, 0, 200, 100);
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
    HWND dialog = Popup(0, 0, 301, 300, owner);
    PlaceDialog(dialog);
    EXPECT_PLACED_AT(dialog, 349, -200 + 280);
}

TEST_F(Placement, NegativeFreeSpaceTruncatesTowardZero)
{
    // Free space -1 across and -201 down: 0 and -80, where rounding down would give -1 and -81.
    HWND owner = Popup(100, 200, 600, 100);
    HWND dialog = Popup(0, 0, 601, 301, owner);
    PlaceDialog(dialog);
    EXPECT_PLACED_AT(dialog, 100, 120);
}

TEST_F(Placement, KeptOnThePrimaryScreen)
{
    struct Case {
        int ownerX, ownerY;
        int expectX, expectY;
    } cases[] = {
        {700, 100, 1024 - 400, 180},   // past the right edge: ends at the right edge
        {-500, 100, 0, 180},           // off the left edge: starts at 0
        {100, -300, 200, 0},           // above the top: starts at 0
        {100, 700, 200, 768 - 200},    // below the bottom: ends at the bottom
        {-500, -300, 0, 0},
    };
    for (const Case &c : cases) {
        HWND owner = Popup(c.ownerX, c.ownerY, 600, 400);
        HWND dialog = Popup(0, 0, 400, 200, owner);
        PlaceDialog(dialog);
        SCOPED_TRACE(testing::Message() << "owner at " << c.ownerX << "," << c.ownerY);
        EXPECT_PLACED_AT(dialog, c.expectX, c.expectY);
    }
}

TEST_F(Placement, DialogWiderThanTheScreenEndsWithNegativeX)
{
    // Centred at x = 90, not negative, so the right-edge rule moves it to 1024 - 1100.
    HWND owner = Popup(0, 0, 1280, 700);
    HWND dialog = Popup(0, 0, 1100, 200, owner);
    PlaceDialog(dialog);
    EXPECT_PLACED_AT(dialog, -76, 200);
    EXPECT_EQ(Size(dialog).cx, 1100);
}

TEST_F(Placement, DialogWithoutParentUsesItsOwnClientArea)
{
    // Client and window coincide, so the dialog stays where it is, then is clamped; centred
    // over the screen it would stand at (362, 227).
    HWND dialog = Popup(200, 150, 300, 200);
    PlaceDialog(dialog);
    EXPECT_PLACED_AT(dialog, 200, 150);
    HWND offScreen = Popup(900, -50, 300, 200);
    PlaceDialog(offScreen);
    EXPECT_PLACED_AT(offScreen, 1024 - 300, 0);
}

}  // namespace
