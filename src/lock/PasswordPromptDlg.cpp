#include "lock/PasswordPromptDlg.h"

#include "app/TethraApp.h"
#include "res/resource.h"
#include "settings/PasswordStore.h"
#include "settings/SettingsFile.h"

namespace {

bool IsAnsiLeadByte(unsigned char byte)
{
    return ::IsDBCSLeadByte(byte) != FALSE;
}

}  // namespace

CPasswordPromptDlg::CPasswordPromptDlg() : CDialog(IDD_PASSWORD_PROMPT) {}

void CPasswordPromptDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
    DDV_MaxChars(pDX, m_strPassword, kMaxPasswordChars);
}

void CPasswordPromptDlg::OnOK()
{
    CSettingsFile settings(TheApp().m_strSettingsPath);
    std::string stored = DecodeStoredPassword(settings.ReadText(Key::Password));
    UpdateData(TRUE);
    std::string expected = CTethraApp::ScramblePassword(stored);
    if (PasswordsEqual(m_strPassword, expected, &IsAnsiLeadByte)) {
        CDialog::OnOK();
        return;
    }
    EndDialog(IDCANCEL);
}

void CPasswordPromptDlg::OnCancel()
{
    EndDialog(IDCANCEL);
}
