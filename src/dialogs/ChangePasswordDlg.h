// CChangePasswordDlg: replaces the unlock password. The old password must be
// right and the new one typed twice alike; the outcome is told in a box.
#ifndef TETHRA_DIALOGS_CHANGEPASSWORDDLG_H
#define TETHRA_DIALOGS_CHANGEPASSWORDDLG_H

#include <string>

#include "fw/Dialog.h"

class CChangePasswordDlg : public CDialog {
public:
    CChangePasswordDlg();

    std::string m_strNewPassword;
    std::string m_strOldPassword;
    std::string m_strRepeatPassword;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    // Focus on edit box id with its whole text selected.
    void FocusAndSelect(int id);
};

#endif
