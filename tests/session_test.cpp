// Calls where nobody sees a window, as in the spooler: the words go to the job's user through
// the session API's stand-in (tools/standin), which answers as DXDLG_SESSION_ANSWER says.
#include <gtest/gtest.h>

#include "dxdlg.h"
#include "harness.h"
#include "language/language.h"
#include "resource.h"
#include "standin.h"

using namespace dxtest;

namespace {

// What a dialog on the screen says: caption; static texts in order; after one empty line (the
// texts' own final line ends left out) the picture control's text, which says what it shows.
using Words = std::pair<std::wstring, std::wstring>;
Words ShownWords(HWND dialog)
{
    Words words{WindowText(dialog), L""};
    std::wstring picture;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::string name = ClassName(child);
        if (name == BITMAPCTL_CLASS || name == MANUALDUPCTL_CLASS)
            picture = WindowText(child);
        else if (lstrcmpiA(name.c_str(), "Static") == 0 && !WindowText(child).empty())
            words.second += (words.second.empty() ? L"" : L"\n") + WindowText(child);
    }
    if (!picture.empty())
        words.second.erase(words.second.find_last_not_of(L"\r\n") + 1).append(L"\n\n" + picture);
    return words;
}

// The last message the stand-in received; none (count 0) before the first.
StandInMessage LastMessage()
{
    auto last = Export<PFN_StandInLastMessage>(GetModuleHandleW(L"wtsapi32.dll"), "StandInLastMessage");
    return last && last() ? *last() : StandInMessage{0, 0, 0, 0, L"", L""};
}

// In a service's station, on a thread that impersonates the process's user as the spooler's
// impersonates the job's user; the stand-in answers `answer`.
void AsJobUser(const char *answer, const std::function<void()> &body)
{
    SetEnvironmentVariableA("DXDLG_SESSION_ANSWER", answer);
    RunInServiceStation([&] {
        ASSERT_TRUE(ImpersonateSelf(SecurityImpersonation));
        body();
        RevertToSelf();
    });
}

TEST(Session, DialogsAndNoticesSendTheirWordsAndMapTheAnswer)
{
    HMODULE module = LoadDxdlg({{"RawDlgTimeout", DXDLG_NEVER_TIMES_OUT}, {"ErrDlgTimeout", 1500}});
    auto duplex = Export<PFN_OpenDuplexDlg>(module, "OpenDuplexDlg");
    auto slot = Export<PFN_OpenDuplexDlgMP>(module, "OpenDuplexDlgMP");
    auto raw = Export<PFN_RawWarningDialog>(module, "RawWarningDialog");
    HLOCAL block = JobBlock();
    Words shown[2];
    for (int i = 0; i < 2; i++) {
        DialogWatch watch([&](HWND dialog) { shown[i] = ShownWords(dialog); PressKey(dialog, VK_RETURN); });
        i == 0 ? duplex(nullptr, nullptr, 0, 1, 1031, block, nullptr, nullptr)
               : slot(nullptr, nullptr, 0, 1031, nullptr, nullptr);
    }
    AsJobUser("1", [&] {
        int answer = duplex(nullptr, nullptr, 0, 1, 1031, block, nullptr, nullptr);
        EXPECT_EQ(GetLastError(), 0u);
        EXPECT_EQ(answer, 1);
        StandInMessage m = LastMessage();
        EXPECT_EQ(Words(m.title, m.text), shown[0]) << "the dialog's own words, as many bytes as passed";
        EXPECT_EQ(m.style, DWORD(MB_OKCANCEL | MB_SETFOREGROUND | MB_TOPMOST));
        EXPECT_EQ(m.timeout, 0u);
        DWORD session = 0;
        EXPECT_TRUE(ProcessIdToSessionId(GetCurrentProcessId(), &session) && session == m.session);
        SetEnvironmentVariableA("DXDLG_SESSION_ANSWER", "2");
        EXPECT_EQ(slot(nullptr, nullptr, 0, 1031, nullptr, nullptr), 0);
        EXPECT_EQ(Words(LastMessage().title, LastMessage().text), shown[1]);
        EXPECT_EQ(raw(nullptr, 1031, nullptr, "Drucker \xfc"), 0);   // ANSI, as the caller gives it
        EXPECT_EQ(GetLastError(), 0u);
        EXPECT_EQ(LastMessage().title, Wide("Drucker \xfc", CP_ACP));
        EXPECT_EQ(LastMessage().style, DWORD(MB_OK));
        EXPECT_EQ(LastMessage().timeout, 0u) << "a notice that never times out waits for the user";
        Export<PFN_MemfullErrorDialog>(module, "MemfullErrorDialog")(nullptr, 1033, nullptr, "t");
        EXPECT_EQ(LastMessage().timeout, 2u) << "1500 ms in whole seconds, rounded up";
    });
    LocalFree(block);
    UnloadDxdlg(module);
    DeleteSettingsKey();
}

// Nobody in session 0: a process there (Windows runs services in it; Wine puts every process and
// token in session 1) shows no dialog even in the visible station, and a token of session 0 (the
// spooler's own, a remote user's through a shared printer) reaches nobody.
TEST(Session, SessionZeroAndFailuresAreTheLastError)
{
    HMODULE module = LoadDxdlg({{"countryCode", DXDLG_EVERY_LANGUAGE}});
    auto duplex = Export<PFN_OpenDuplexDlg>(module, "OpenDuplexDlg");
    HLOCAL block = JobBlock();
    DWORD before = LastMessage().count;
    SetEnvironmentVariableA("DXDLG_SESSION_ANSWER", "1");
    {
        auto sessionZero = [](DWORD, DWORD *session) -> BOOL { *session = 0; return TRUE; };
        ImportPatch process(module, "KERNEL32.dll", "ProcessIdToSessionId", +sessionZero);
        DialogWatch watch([](HWND dialog) { ClickButton(dialog, IDOK); }, 5000);
        ASSERT_TRUE(process.Patched() && ImpersonateSelf(SecurityImpersonation));
        EXPECT_EQ(duplex(nullptr, nullptr, 0, 0, 1033, block, nullptr, nullptr), 1);
        RevertToSelf();
        EXPECT_EQ(watch.DialogsSeen(), 0);
        EXPECT_EQ(LastMessage().count, before + LanguageCount) << "one message per language";
    }
    AsJobUser("fail:5", [&] {
        auto tokenOfSessionZero = [](HANDLE, TOKEN_INFORMATION_CLASS, void *data, DWORD, DWORD *size) -> BOOL {
            *size = sizeof(DWORD);
            return *static_cast<DWORD *>(data) = 0, TRUE;
        };
        {
            ImportPatch token(module, "ADVAPI32.dll", "GetTokenInformation", +tokenOfSessionZero);
            EXPECT_EQ(duplex(nullptr, nullptr, 0, 0, 1033, block, nullptr, nullptr), -1);
            EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_SUCH_LOGON_SESSION));
        }
        DWORD sent = LastMessage().count;
        EXPECT_EQ(duplex(nullptr, nullptr, 0, 0, 1033, block, nullptr, nullptr), -1);
        EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
        EXPECT_EQ(LastMessage().count, sent + 1) << "the series ends at the first message that fails";
        SetEnvironmentVariableA("DXDLG_SESSION_ANSWER", "fail:0");
        EXPECT_EQ(Export<PFN_MemfullErrorDialog>(module, "MemfullErrorDialog")(nullptr, 1033, nullptr, "t"), 0);
        EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_SUPPORTED));
    });
    LocalFree(block);
    UnloadDxdlg(module);
    DeleteSettingsKey();
}

}  // namespace
