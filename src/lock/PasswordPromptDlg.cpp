#include "lock/PasswordPromptDlg.h"

#include <climits>

#include "app/AppSettings.h"
#include "app/Platform.h"
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
    CSettingsFile settings = AppSettings();
    std::string expected = CurrentPassword(settings);
    UpdateData(TRUE);
    if (AnsiPasswordsEqual(m_strPassword, expected)) {
        CDialog::OnOK();
        return;
    }
    // Kept in the file, so that a restart during a protected lock keeps
    // them for the owner. The end code stays that of Cancel.
    int count = settings.ReadInt(Key::WrongPasswords);
    if (count < 0)
        count = 0;
    if (count < INT_MAX)
        ++count;
    settings.WriteInt(Key::WrongPasswords, count);
    settings.WriteInt(Key::LastWrongPassword, Platform().CurrentTime());
    EndDialog(IDCANCEL);
}

void CPasswordPromptDlg::OnCancel()
{
    EndDialog(IDCANCEL);
}
