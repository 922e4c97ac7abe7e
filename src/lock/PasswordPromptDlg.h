// CPasswordPromptDlg: asks for the password. Ends with IDOK only when the
// typed text equals the stored password; with IDCANCEL otherwise, silently.
#ifndef TETHRA_LOCK_PASSWORDPROMPTDLG_H
#define TETHRA_LOCK_PASSWORDPROMPTDLG_H

#include <string>

#include "fw/Dialog.h"

class CPasswordPromptDlg : public CDialog {
public:
    CPasswordPromptDlg();

    std::string m_strPassword;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
};

#endif
