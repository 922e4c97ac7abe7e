#include "lock/PasswordPromptDlg.h"

#include "app/AppSettings.h"
#include "res/resource.h"
#include "settings/StoredPassword.h"

CPasswordPromptDlg::CPasswordPromptDlg() : CDialog(IDD_PASSWORD_PROMPT) {}

void CPasswordPromptDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
    DDV_MaxChars(pDX, m_strPassword, kMaxPasswordChars);
}

void CPasswordPromptDlg::OnOK()
{
    std::string expected = CurrentPassword(AppSettings());
    UpdateData(TRUE);
    if (AnsiPasswordsEqual(m_strPassword, expected)) {
        CDialog::OnOK();
        return;
    }
    EndDialog(IDCANCEL);
}

void CPasswordPromptDlg::OnCancel()
{
    EndDialog(IDCANCEL);
}
