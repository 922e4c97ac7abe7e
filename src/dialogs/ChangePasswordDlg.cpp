#include "dialogs/ChangePasswordDlg.h"

#include "app/AppSettings.h"
#include "fw/Afx.h"
#include "res/resource.h"
#include "settings/PasswordStore.h"
#include "settings/StoredPassword.h"

CChangePasswordDlg::CChangePasswordDlg() : CDialog(IDD_CHANGE_PASSWORD) {}

void CChangePasswordDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_NEW_PASSWORD, m_strNewPassword);
    DDV_MaxChars(pDX, m_strNewPassword, kMaxPasswordChars);
    DDX_Text(pDX, IDC_OLD_PASSWORD, m_strOldPassword);
    DDV_MaxChars(pDX, m_strOldPassword, kMaxPasswordChars);
    DDX_Text(pDX, IDC_REPEAT_PASSWORD, m_strRepeatPassword);
    DDV_MaxChars(pDX, m_strRepeatPassword, kMaxPasswordChars);
}

void CChangePasswordDlg::OnOK()
{
    CSettingsFile settings = AppSettings();
    std::string current = CurrentPassword(settings);
    UpdateData(TRUE);

    if (!AnsiPasswordsEqual(m_strOldPassword, current)) {
        AfxMessageBox(IDS_WRONG_PASSWORD, MB_OK);
        FocusAndSelect(IDC_OLD_PASSWORD);
        return;
    }
    if (!AnsiPasswordsEqual(m_strNewPassword, m_strRepeatPassword)) {
        AfxMessageBox(IDS_PASSWORDS_DIFFER, MB_OK);
        FocusAndSelect(IDC_NEW_PASSWORD);
        return;
    }

    bool written = settings.WriteText(Key::Password, EncodeStoredPassword(ScramblePassword(m_strNewPassword)));
    AfxMessageBox(written ? IDS_PASSWORD_CHANGED : IDS_WRITE_FAILED, MB_OK);
    CDialog::OnOK();
}

void CChangePasswordDlg::FocusAndSelect(int id)
{
    HWND edit = ::GetDlgItem(m_hWnd, id);
    ::SetFocus(edit);
    LRESULT limit = ::SendMessageA(edit, EM_GETLIMITTEXT, 0, 0);
    ::SendMessageA(edit, EM_SETSEL, 0, limit);
    ::SendMessageA(edit, EM_SCROLLCARET, 0, 0);
}
