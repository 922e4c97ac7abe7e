#include "lock/PasswordPromptDlg.h"

#include "app/AppSettings.h"
#include "res/resource.h"
#include "settings/PasswordStore.h"

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
    std::string stored = DecodeStoredPassword(AppSettings().ReadText(Key::Password));
    UpdateData(TRUE);
    std::string expected = ScramblePassword(stored);
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
