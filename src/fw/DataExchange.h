// Dialog data exchange: moving values between dialog controls and members.
// After a failed validation the remaining exchange calls do nothing and the
// offending control gets the focus.
#ifndef TETHRA_FW_DATAEXCHANGE_H
#define TETHRA_FW_DATAEXCHANGE_H

#include <windows.h>

#include <string>

#include "fw/Time.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    bool m_bFailed = false;

    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    HWND LastControl() const { return m_hWndLastControl; }
    // Marks the exchange failed and puts the focus on the last prepared control.
    void Fail();

private:
    HWND m_hWndLastControl = nullptr;
    bool m_bEditLastControl = false;
};

// Text of control id <-> value (bytes of the ANSI code page).
void DDX_Text(CDataExchange* pDX, int id, std::string& value);
// Loading: limits the last edit control to maxChars. Saving: a longer value
// fails the exchange with the standard message. Characters are counted in
// the ANSI code page: a double-byte character is one, as the edit box
// counts it on systems that limit characters rather than bytes.
void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int maxChars);
// Check box id <-> value. Loading sets a value outside 0 to 2 to 0 first.
void DDX_Check(CDataExchange* pDX, int id, int& value);
// Date-time picker id <-> value, in local time. A value with no local date
// and time leaves the picker as it is; a picked date and time that no value
// holds keeps its time of day (CTime::FromPickedTimeOfDay).
void DDX_DateTimeCtrl(CDataExchange* pDX, int id, CTime& value);
// Binds control id to control by subclassing it, once.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

#endif
