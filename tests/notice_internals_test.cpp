// The timed notices from inside: the time-out arithmetic, each notice's own call record and
// deadline timer, and a notice whose template cannot be found.
#include <gtest/gtest.h>

#include "dxdlg.h"
#include "entry/settings.h"
#include "harness.h"
#include "notice/notice.h"
#include "resource.h"

using namespace dxtest;

namespace {

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
    EXPECT_FALSE(NoticeTimedOut(7, 6, DXDLG_NEVER_TIMES_OUT));
    EXPECT_FALSE(NoticeTimedOut(0, 0xFFFFFFFF, DXDLG_NEVER_TIMES_OUT));
}

TEST(NoticeTimeOut, TimerAimsJustPastTheTimeOut)
{
    EXPECT_EQ(NoticeTimerDelay(1000, 1000, 300), 301u);
    EXPECT_EQ(NoticeTimerDelay(1000, 1200, 300), 101u);
    EXPECT_EQ(NoticeTimerDelay(1000, 1300, 300), 1u);  // equal: not yet out
    EXPECT_EQ(NoticeTimerDelay(1000, 1400, 300), 1u);
    EXPECT_EQ(NoticeTimerDelay(5, 5, 0), 1u);
    EXPECT_EQ(NoticeTimerDelay(0xFFFFFF00, 0x00000000, 300), 45u);  // 256 elapsed across the wrap
    // Longer than a timer can wait: the longest it can, then again.
    EXPECT_EQ(NoticeTimerDelay(0, 0, 0xFFFFFFFE), UINT(USER_TIMER_MAXIMUM));
    EXPECT_EQ(NoticeTimerDelay(0, 0, 0x7FFFFFFE), UINT(USER_TIMER_MAXIMUM));
    EXPECT_EQ(NoticeTimerDelay(7, 6, DXDLG_NEVER_TIMES_OUT), 0u);  // no timer
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

// Two notices of one thread, each with its own call: its own title, timer and end.
TEST_F(NoticeState, EachNoticeKeepsItsOwnCall)
{
    NoticeCall never = {"Never", DXDLG_NEVER_TIMES_OUT, FALSE, 0, FALSE, nullptr, FALSE};
    NoticeCall timed = {"Timed", 1000, FALSE, 0, FALSE, nullptr, FALSE};
    HWND first = CreateDialogParamW(ModuleInstance, MAKEINTRESOURCEW(IDD_RAWWARNING_ENGLISH), nullptr,
                                    NoticeDlgProc, reinterpret_cast<LPARAM>(&never));
    HWND second = CreateDialogParamW(ModuleInstance, MAKEINTRESOURCEW(IDD_RAWWARNING_ENGLISH), nullptr,
                                     NoticeDlgProc, reinterpret_cast<LPARAM>(&timed));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(WindowText(first), L"Never");
    EXPECT_EQ(WindowText(second), L"Timed");
    EXPECT_FALSE(never.shown || timed.shown) << "the deadline starts at the show";
    ShowWindow(first, SW_SHOW);
    ShowWindow(second, SW_SHOW);
    EXPECT_TRUE(never.shown && timed.shown);
    // KillTimer tells whether the timer was set.
    EXPECT_FALSE(KillTimer(first, NoticeDeadlineTimer)) << "a notice that never runs out has a timer";
    EXPECT_TRUE(KillTimer(second, NoticeDeadlineTimer));

    // A timer that goes off before the time-out is exceeded is set again.
    timed.shownAt = GetTickCount() - 500;
    SendMessageW(second, WM_TIMER, NoticeDeadlineTimer, 0);
    EXPECT_TRUE(IsWindow(second));
    EXPECT_TRUE(KillTimer(second, NoticeDeadlineTimer));
    timed.shownAt = GetTickCount() - 1001;
    SendMessageW(second, WM_TIMER, NoticeDeadlineTimer, 0);
    EXPECT_FALSE(IsWindow(second));
    EXPECT_TRUE(timed.ended);
    EXPECT_FALSE(never.ended) << "the other notice's end ended this call";

    SendMessageW(first, WM_COMMAND, IDC_NOTICE_OK, 0);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(never.ended);
}

TEST_F(NoticeState, MissingTemplateReturnsAtOnceAndLeavesNoTimer)
{
    // This program holds no notice template.
    ModuleInstance = GetModuleHandleW(nullptr);
    ErrDlgTimeout = DXDLG_DEFAULT_ERR_TIMEOUT;
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
