// The unlock prompt on its own: what it accepts, against the settings file.
#include "WinTestSupport.h"
#include "app/TethraApp.h"
#include "lock/PasswordPromptDlg.h"
#include "res/resource.h"
#include "settings/PasswordStore.h"
#include "settings/SettingsFile.h"

namespace {

class PasswordPromptTest : public WinTest {
protected:
    void StorePassword(const std::string& password)
    {
        CSettingsFile(m_ini.Path())
            .WriteText(Key::Password, EncodeStoredPassword(CTethraApp::ScramblePassword(password)));
    }

    // Runs a prompt; act gets its window and edit field once it shows.
    INT_PTR RunPrompt(const std::function<void(HWND, HWND)>& act)
    {
        CPasswordPromptDlg prompt;
        Script script;
        script.Until([&] {
            if (prompt.m_hWnd == nullptr || !::IsWindowVisible(prompt.m_hWnd))
                return false;
            act(prompt.m_hWnd, ::GetDlgItem(prompt.m_hWnd, IDC_PASSWORD));
            return true;
        });
        script.Start();
        INT_PTR result = prompt.DoModal();
        script.Stop();
        EXPECT_TRUE(script.Done());
        return result;
    }

    INT_PTR Answer(const std::string& typed)
    {
        return RunPrompt([typed](HWND dialog, HWND edit) {
            ::SetWindowTextA(edit, typed.c_str());
            ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
    }
};

TEST_F(PasswordPromptTest, WithNoPasswordStoredOnlyAnEmptyEntryIsRight)
{
    EXPECT_EQ(Answer(""), IDOK);
    EXPECT_EQ(Answer("x"), IDCANCEL);
    EXPECT_EQ(Answer(" "), IDCANCEL);
}

TEST_F(PasswordPromptTest, TheWholeTextMustMatchCaseAndAll)
{
    StorePassword("Secret");
    EXPECT_EQ(Answer("Secret"), IDOK);
    for (const char* wrong : {"secret", "SECRET", "Secret ", "Secre", "", "Secrets"})
        EXPECT_EQ(Answer(wrong), IDCANCEL) << "typed \"" << wrong << "\"";

    // Double-byte text as the program sees it in the Chinese ANSI code page.
    ASSERT_EQ(::GetACP(), 936u) << "the Wine prefix must run in code page 936";
    StorePassword("锁定");
    EXPECT_EQ(Answer("锁定"), IDOK);
    EXPECT_EQ(Answer("锁"), IDCANCEL);
    EXPECT_EQ(Answer("锁定锁"), IDCANCEL);
}

TEST_F(PasswordPromptTest, TheFieldTakesAtMost128Characters)
{
    std::string longest;
    for (int i = 0; i < 128; ++i)
        longest.push_back(static_cast<char>('!' + i % 90));
    StorePassword(longest);
    EXPECT_EQ(Answer(longest), IDOK);

    // Typed key by key: the 129th character does not go in.
    StorePassword(std::string(128, 'k'));
    LRESULT limit = 0;
    int typedLength = 0;
    INT_PTR result = RunPrompt([&](HWND dialog, HWND edit) {
        limit = ::SendMessageA(edit, EM_GETLIMITTEXT, 0, 0);
        for (int i = 0; i < 129; ++i)
            ::SendMessageA(edit, WM_CHAR, 'k', 1);
        typedLength = ::GetWindowTextLengthA(edit);
        ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(limit, 128);
    EXPECT_EQ(typedLength, 128);
    EXPECT_EQ(result, IDOK);
}

TEST_F(PasswordPromptTest, CancelEndsWithoutCheckingAndKeysWorkAsButtons)
{
    StorePassword("pw");
    EXPECT_EQ(RunPrompt([](HWND dialog, HWND edit) {
                  ::SetWindowTextA(edit, "pw");
                  ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
              }),
              IDCANCEL);
    EXPECT_EQ(RunPrompt([](HWND, HWND edit) {
                  ::SetWindowTextA(edit, "pw");
                  ::PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
              }),
              IDCANCEL);
    EXPECT_EQ(RunPrompt([](HWND, HWND edit) {
                  ::SetWindowTextA(edit, "pw");
                  ::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
              }),
              IDOK);
    EXPECT_EQ(RunPrompt([](HWND dialog, HWND) { ::PostMessageA(dialog, WM_CLOSE, 0, 0); }), IDCANCEL);
}

}  // namespace
