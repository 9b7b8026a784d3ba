// Calls from a window station that nobody sees, as in the print spooler: the dialog's words go to
// the job's user's session as a message box, through the session API's stand-in
// (tools/standin/wtsapi32.cpp), which answers as DXDLG_SESSION_ANSWER says. Wine puts every
// process and token in session 1; session 0 is made by replacing the library's imports.
#include <gtest/gtest.h>

#include <string>

#include "dxdlg.h"
#include "harness.h"
#include "language/language.h"
#include "resource.h"

using namespace dxtest;

namespace {

// What a dialog on the screen says: its caption, its static texts in their order, then after one
// empty line (the texts' own line ends at their end left out) what its picture says (the picture
// control's text, for screen readers).
struct Words {
    std::wstring title, text;
};
Words ShownWords(HWND dialog)
{
    Words words{WindowText(dialog), L""};
    std::wstring picture;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::string name = ClassName(child);
        if (name == BITMAPCTL_CLASS || name == MANUALDUPCTL_CLASS)
            picture = WindowText(child);
        else if (lstrcmpiA(name.c_str(), "Static") == 0 && !WindowText(child).empty())
            words.text += (words.text.empty() ? L"" : L"\n") + WindowText(child);
    }
    if (!picture.empty())
        words.text.erase(words.text.find_last_not_of(L"\r\n") + 1).append(L"\n\n" + picture);
    return words;
}

// The last message the stand-in received, and how many it has.
struct Message {
    DWORD count = 0, session = 0, style = 0, timeout = 0;
    Words words;
};
Message LastMessage()
{
    using Last = BOOL(WINAPI *)(DWORD *, DWORD *, WCHAR *, DWORD, WCHAR *, DWORD, DWORD *, DWORD *);
    HMODULE api = GetModuleHandleW(L"wtsapi32.dll");
    auto last = api ? reinterpret_cast<Last>(reinterpret_cast<void *>(GetProcAddress(api, "StandInLastMessage")))
                    : nullptr;
    static WCHAR title[1024], text[8192];
    Message m;
    if (last && last(&m.count, &m.session, title, 1024, text, 8192, &m.style, &m.timeout))
        m.words = {title, text};
    return m;
}

// The call in a service's station, on a thread that impersonates the process's user, as the
// spooler's thread impersonates the job's user; the stand-in answers `answer`.
void AsJobUser(const char *answer, const std::function<void()> &body)
{
    SetEnvironmentVariableA("DXDLG_SESSION_ANSWER", answer);
    RunInServiceStation([&] {
        ASSERT_TRUE(ImpersonateSelf(SecurityImpersonation));
        body();
        RevertToSelf();
    });
}

TEST(Session, DialogsSendWhatTheySayAndMapTheAnswer)
{
    HMODULE module = LoadDxdlg({{"countryCode", 1033}});
    auto duplex = Export<PFN_OpenDuplexDlg>(module, "OpenDuplexDlg");
    auto slot = Export<PFN_OpenDuplexDlgMP>(module, "OpenDuplexDlgMP");
    HLOCAL block = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, sizeof(DEVMODEA));
    Words shownDuplex, shownSlot;
    {
        DialogWatch watch([&](HWND dialog) { shownDuplex = ShownWords(dialog); ClickButton(dialog, IDOK); });
        duplex(nullptr, nullptr, 0, 1, 1031, block, nullptr, nullptr);
        DialogWatch slotWatch([&](HWND dialog) { shownSlot = ShownWords(dialog); ClickButton(dialog, IDC_MANUALFEED_OK); });
        slot(nullptr, nullptr, 0, 1031, nullptr, nullptr);
    }
    AsJobUser("1", [&] {
        int answer = duplex(nullptr, nullptr, 0, 1, 1031, block, nullptr, nullptr);
        EXPECT_EQ(GetLastError(), 0u);
        EXPECT_EQ(answer, 1);
        Message m = LastMessage();
        EXPECT_EQ(m.words.title, shownDuplex.title);
        EXPECT_EQ(m.words.text, shownDuplex.text);
        EXPECT_EQ(m.style, DWORD(MB_OKCANCEL | MB_SETFOREGROUND | MB_TOPMOST));
        EXPECT_EQ(m.timeout, 0u);
        DWORD session = 0;
        EXPECT_TRUE(ProcessIdToSessionId(GetCurrentProcessId(), &session) && session == m.session);
    });
    AsJobUser("2", [&] {
        EXPECT_EQ(slot(nullptr, nullptr, 0, 1031, nullptr, nullptr), 0);
        EXPECT_EQ(LastMessage().words.title, shownSlot.title);
        EXPECT_EQ(LastMessage().words.text, shownSlot.text);
    });
    LocalFree(block);
    UnloadDxdlg(module);
    DeleteSettingsKey();
}

TEST(Session, NoticesSayTheCallersTitleAndTimeOutInWholeSeconds)
{
    HMODULE module = LoadDxdlg({{"RawDlgTimeout", DXDLG_NEVER_TIMES_OUT}, {"ErrDlgTimeout", 1500}});
    auto raw = Export<PFN_RawWarningDialog>(module, "RawWarningDialog");
    auto memfull = Export<PFN_MemfullErrorDialog>(module, "MemfullErrorDialog");
    std::wstring shown;
    {
        DialogWatch watch([&](HWND notice) { shown = ShownWords(notice).text; ClickButton(notice, IDC_NOTICE_OK); });
        raw(nullptr, 1031, nullptr, "x");
    }
    const char *title = "Drucker \xfc";   // ANSI, as the caller gives it
    AsJobUser("32000", [&] {
        EXPECT_EQ(raw(nullptr, 1031, nullptr, title), 0);
        EXPECT_EQ(GetLastError(), 0u);
        Message m = LastMessage();
        EXPECT_EQ(m.timeout, 0u) << "a notice that never times out waits for the user";
        EXPECT_EQ(m.style, DWORD(MB_OK));
        EXPECT_EQ(m.words.title, Wide(title, CP_ACP));
        EXPECT_EQ(m.words.text, shown);
        EXPECT_EQ(memfull(nullptr, 1033, nullptr, title), 0);
        EXPECT_EQ(LastMessage().timeout, 2u);
    });
    module = LoadDxdlg({{"RawDlgTimeout", 0}});
    raw = Export<PFN_RawWarningDialog>(module, "RawWarningDialog");
    AsJobUser("1", [&] {
        raw(nullptr, 1033, nullptr, title);
        EXPECT_EQ(LastMessage().timeout, 1u);
    });
    UnloadDxdlg(module);
    DeleteSettingsKey();
}

// Session 0 has no user: a process there shows no dialog even in the visible station, and a
// token of session 0 (the spooler's own, or a remote user's through a shared printer) reaches
// nobody. The session API's failures are the call's last error.
TEST(Session, SessionZeroAndFailuresAreTheLastError)
{
    HMODULE module = LoadDxdlg({{"countryCode", DXDLG_EVERY_LANGUAGE}});
    auto duplex = Export<PFN_OpenDuplexDlg>(module, "OpenDuplexDlg");
    auto memfull = Export<PFN_MemfullErrorDialog>(module, "MemfullErrorDialog");
    HLOCAL block = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, sizeof(DEVMODEA));
    DWORD before = LastMessage().count;
    SetEnvironmentVariableA("DXDLG_SESSION_ANSWER", "1");
    {
        auto sessionZero = [](DWORD, DWORD *session) -> BOOL { *session = 0; return TRUE; };
        ImportPatch process(module, "KERNEL32.dll", "ProcessIdToSessionId", +sessionZero);
        ASSERT_TRUE(process.Patched());
        DialogWatch watch([](HWND dialog) { ClickButton(dialog, IDOK); }, 5000);
        ASSERT_TRUE(ImpersonateSelf(SecurityImpersonation));
        EXPECT_EQ(duplex(nullptr, nullptr, 0, 0, 1033, block, nullptr, nullptr), 1);
        RevertToSelf();
        EXPECT_EQ(watch.DialogsSeen(), 0);
        EXPECT_EQ(LastMessage().count, before + LanguageCount) << "one message per language";
    }
    AsJobUser("fail:5", [&] {
        auto tokenOfSessionZero = [](HANDLE, TOKEN_INFORMATION_CLASS, void *data, DWORD, DWORD *size) -> BOOL {
            *static_cast<DWORD *>(data) = 0;
            *size = sizeof(DWORD);
            return TRUE;
        };
        {
            ImportPatch token(module, "ADVAPI32.dll", "GetTokenInformation", +tokenOfSessionZero);
            ASSERT_TRUE(token.Patched());
            EXPECT_EQ(duplex(nullptr, nullptr, 0, 0, 1033, block, nullptr, nullptr), -1);
            EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_SUCH_LOGON_SESSION));
        }
        DWORD sent = LastMessage().count;
        EXPECT_EQ(duplex(nullptr, nullptr, 0, 0, 1033, block, nullptr, nullptr), -1);
        EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
        EXPECT_EQ(LastMessage().count, sent + 1) << "the series ends at the first message that fails";
        SetEnvironmentVariableA("DXDLG_SESSION_ANSWER", "fail:0");
        EXPECT_EQ(memfull(nullptr, 1033, nullptr, "t"), 0);
        EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_SUPPORTED));
    });
    LocalFree(block);
    UnloadDxdlg(module);
    DeleteSettingsKey();
}

}  // namespace
