#include "fw/DataExchange.h"

#include <commctrl.h>

#include <vector>

#include "fw/Afx.h"
#include "fw/AfxRes.h"
#include "fw/Wnd.h"

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog)
{
}

HWND CDataExchange::PrepareCtrl(int id)
{
    m_hWndLastControl = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    m_bEditLastControl = false;
    return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int id)
{
    HWND control = PrepareCtrl(id);
    m_bEditLastControl = true;
    return control;
}

void CDataExchange::Fail()
{
    m_bFailed = true;
    if (m_hWndLastControl == nullptr)
        return;
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl)
        ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value)
{
    if (pDX->m_bFailed)
        return;
    HWND control = pDX->PrepareEditCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        ::SetWindowTextA(control, value.c_str());
        return;
    }
    int length = ::GetWindowTextLengthA(control);
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    int copied = ::GetWindowTextA(control, text.data(), length + 1);
    value.assign(text.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int maxChars)
{
    if (pDX->m_bFailed)
        return;
    if (!pDX->m_bSaveAndValidate) {
        ::SendMessageA(pDX->LastControl(), EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
        return;
    }
    size_t chars = 0;
    for (size_t i = 0; i < value.size(); ++i, ++chars) {
        if (::IsDBCSLeadByte(static_cast<BYTE>(value[i])) && i + 1 < value.size())
            ++i;
    }
    if (chars <= static_cast<size_t>(maxChars))
        return;
    char format[128] = "";
    AfxLoadString(AFX_IDP_PARSE_STRING_SIZE, format, sizeof format);
    char text[160];
    // The format is ours, from the string table, and short enough for text.
    ::wsprintfA(text, format, maxChars);
    AfxMessageBox(text, MB_ICONEXCLAMATION);
    pDX->Fail();
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (control.m_hWnd != nullptr)
        return;
    control.SubclassDlgItem(static_cast<UINT>(id), pDX->m_pDlgWnd);
}

void DDX_Check(CDataExchange* pDX, int id, int& value)
{
    if (pDX->m_bFailed)
        return;
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
        return;
    }
    if (value < 0 || value > 2)
        value = 0;
    ::SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_DateTimeCtrl(CDataExchange* pDX, int id, CTime& value)
{
    if (pDX->m_bFailed)
        return;
    HWND control = pDX->PrepareCtrl(id);
    SYSTEMTIME st = {};
    if (!pDX->m_bSaveAndValidate) {
        LocalDateTime local;
        if (!value.GetLocalDateTime(&local))
            return;
        st.wYear = static_cast<WORD>(local.year);
        st.wMonth = static_cast<WORD>(local.month);
        st.wDay = static_cast<WORD>(local.day);
        st.wHour = static_cast<WORD>(local.hour);
        st.wMinute = static_cast<WORD>(local.minute);
        st.wSecond = static_cast<WORD>(local.second);
        ::SendMessageA(control, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
        return;
    }
    if (::SendMessageA(control, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID)
        return;
    LocalDateTime picked;
    picked.year = st.wYear;
    picked.month = st.wMonth;
    picked.day = st.wDay;
    picked.hour = st.wHour;
    picked.minute = st.wMinute;
    picked.second = st.wSecond;
    value = CTime::FromPickedTimeOfDay(picked);
}
