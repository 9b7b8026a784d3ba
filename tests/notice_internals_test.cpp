// The timed notices from inside: the closing flag, the time-out arithmetic, and a notice whose
// template cannot be found.
#include <gtest/gtest.h>

#include "dxdlg.h"
#include "entry/settings.h"
#include "harness.h"
#include "notice/notice.h"

using namespace dxtest;

namespace {

const int kOk = 1046;

TEST(NoticeTimeOut, StrictlyGreaterModulo2To32)
{
    EXPECT_FALSE(NoticeTimedOut(1000, 1300, 300));  // equal: still open
    EXPECT_TRUE(NoticeTimedOut(1000, 1301, 300));
    EXPECT_FALSE(NoticeTimedOut(5, 5, 0));
    EXPECT_TRUE(NoticeTimedOut(5, 6, 0));
    // The tick counter wraps while the notice is open.
    EXPECT_FALSE(NoticeTimedOut(0xFFFFFF00, 0x0000002C, 300));  // 300 elapsed
    EXPECT_TRUE(NoticeTimedOut(0xFFFFFF00, 0x0000002D, 300));   // 301 elapsed
    // 0xFFFFFFFF: no elapsed time modulo 2^32 exceeds it.
    EXPECT_FALSE(NoticeTimedOut(7, 6, 0xFFFFFFFF));
    EXPECT_FALSE(NoticeTimedOut(0, 0xFFFFFFFF, 0xFFFFFFFF));
}

class NoticeState : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The library's code is linked into this test; the templates come from the DLL.
        module_ = LoadDxdlg({});
        ASSERT_TRUE(module_);
        ModuleInstance = module_;
        // The first notice would read the settings over what a test sets.
        LoadSettingsOnce();
    }
    void TearDown() override
    {
        ModuleInstance = nullptr;
        UnloadDxdlg(module_);
        DeleteSettingsKey();
    }
    HMODULE module_ = nullptr;
};

TEST_F(NoticeState, OkSetsTheClosedFlagATimeOutDoesNot)
{
    const char title[] = "State";
    RawDlgTimeout = 0xFFFFFFFF;
    NoticeClosed = 7;
    {
        DialogWatch watch([](HWND notice) {
            EXPECT_EQ(NoticeClosed, 0);
            ClickButton(notice, kOk);
        }, 3000);
        EXPECT_EQ(RawWarningDialog(nullptr, 1033, nullptr, title), 0);
        EXPECT_EQ(watch.DialogsSeen(), 1);
        EXPECT_FALSE(watch.WatchdogFired());
    }
    EXPECT_EQ(NoticeClosed, 1);
    EXPECT_EQ(NoticeTitle, title);  // the caller's string itself, kept after the call

    ErrDlgTimeout = 50;
    {
        DialogWatch watch(nullptr, 3000);
        EXPECT_EQ(DiskFulErrorDialog(nullptr, 1033, nullptr, "Timed"), 0);
        EXPECT_FALSE(watch.WatchdogFired());
    }
    EXPECT_EQ(NoticeClosed, 0);
}

TEST_F(NoticeState, MissingTemplateReturnsAtOnceAndLeavesNoTimer)
{
    // This program holds no notice template.
    ModuleInstance = GetModuleHandleW(nullptr);
    ErrDlgTimeout = 3600000;
    DWORD start = GetTickCount();
    EXPECT_EQ(MemfullErrorDialog(nullptr, 1033, nullptr, "Missing"), 0);
    EXPECT_LT(GetTickCount() - start, 100u);
    EXPECT_EQ(FindThreadDialog(), nullptr);
    int ticks = 0;
    start = GetTickCount();
    while (GetTickCount() - start < 250) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE))
            ticks++;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_TIMER);
    }
    EXPECT_EQ(ticks, 0);
}

}  // namespace
