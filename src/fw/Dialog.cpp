#include "fw/Dialog.h"

#include <iterator>

#include "fw/Afx.h"

const MessageMapEntry CDialog::messageEntries[] = {
    OnCommandRow(IDOK, &CDialog::OnOK),
    OnCommandRow(IDCANCEL, &CDialog::OnCancel),
};
const MessageMap CDialog::messageMap = {&CWnd::messageMap, messageEntries, std::size(messageEntries)};

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

INT_PTR CALLBACK CDialog::StaticDlgProc(HWND hWnd, UINT message, WPARAM /*wParam*/, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;  // everything else reached the object through its subclass already
    auto* dialog = reinterpret_cast<CDialog*>(lParam);
    dialog->SubclassWindow(hWnd);
    return dialog->OnInitDialog();
}

INT_PTR CDialog::DoModal()
{
    HWND owner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : AfxGetSafeOwner();
    bool ownerDisabled = owner != nullptr && ::IsWindowEnabled(owner);
    if (ownerDisabled)
        ::EnableWindow(owner, FALSE);

    m_bEndModal = false;
    m_nModalResult = -1;
    auto* dialogTemplate = static_cast<const DLGTEMPLATE*>(AfxLoadResource(RT_DIALOG, m_nIDTemplate));
    HWND hWnd = dialogTemplate == nullptr
                    ? nullptr
                    : ::CreateDialogIndirectParamA(AfxGetInstanceHandle(), dialogTemplate, owner,
                                                   &CDialog::StaticDlgProc, reinterpret_cast<LPARAM>(this));
    if (hWnd != nullptr) {
        // A template that is neither visible nor centred by itself is
        // shown centred over its owner.
        if (!::IsWindowVisible(hWnd) && !m_bEndModal) {
            CenterWindow(owner);
            ::ShowWindow(hWnd, SW_SHOWNORMAL);
        }
        RunModalLoop();
    }

    // The owner takes the activation back while the dialog still shows:
    // hiding the active dialog first lets the focus drop to the desktop for
    // a moment, and on Wine that also drops the pointer confinement of a
    // locked panel under a closing password prompt.
    if (ownerDisabled)
        ::EnableWindow(owner, TRUE);
    if (m_hWnd != nullptr) {
        if (owner != nullptr && ::GetActiveWindow() == m_hWnd)
            ::SetActiveWindow(owner);
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        ::DestroyWindow(m_hWnd);
    }
    return m_nModalResult;
}

void CDialog::RunModalLoop()
{
    MSG msg;
    while (!m_bEndModal && m_hWnd != nullptr) {
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: leave with -1 and let the loop outside see the quit too.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_nModalResult = -1;
            return;
        }
        if (got == -1)
            return;
        if (m_hWnd != nullptr && ::IsDialogMessageA(m_hWnd, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    m_bEndModal = true;
    // Wakes the modal loop when the request did not come from a message.
    if (m_hWnd != nullptr)
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

void CDialog::BringToFront() const
{
    if (m_hWnd != nullptr)
        ::SetForegroundWindow(::GetLastActivePopup(m_hWnd));
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::CenterWindow(HWND owner)
{
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT around = work;
    if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &around);

    RECT self;
    ::GetWindowRect(m_hWnd, &self);
    int width = self.right - self.left;
    int height = self.bottom - self.top;
    int x = (around.left + around.right - width) / 2;
    int y = (around.top + around.bottom - height) / 2;
    if (x + width > work.right)
        x = work.right - width;
    if (y + height > work.bottom)
        y = work.bottom - height;
    if (x < work.left)
        x = work.left;
    if (y < work.top)
        y = work.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
