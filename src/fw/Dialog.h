// CDialog: a dialog built from a template and run modally.
//
// The modal run is our own loop over a modeless dialog rather than
// DialogBoxParam, so that WM_QUIT ends the run with -1 and is posted again
// for the loop outside, and so EndDialog may be called more than once with
// the last call deciding the result. The template is the one in the
// user-interface language (AfxLoadResource).
#ifndef TETHRA_FW_DIALOG_H
#define TETHRA_FW_DIALOG_H

#include "fw/DataExchange.h"
#include "fw/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // 1 (IDOK), 2 (IDCANCEL) or another EndDialog code; -1 when the dialog
    // could not be created, when WM_QUIT arrived during the run, or when the
    // window was destroyed from outside.
    virtual INT_PTR DoModal();
    void EndDialog(int result);
    // Activates this open dialog, or the one open over it: dialogs owned by
    // a hidden window have no taskbar button, so a second request for one
    // that is already open must bring it out from behind other windows.
    void BringToFront() const;

    // TRUE: controls to members (validating); FALSE: members to controls.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // Places the window in the middle of owner, or of the screen's work area
    // when owner is null or hidden; never beyond the work area.
    void CenterWindow(HWND owner);

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* /*pDX*/) {}

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK StaticDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void RunModalLoop();

    bool m_bEndModal = false;
    int m_nModalResult = -1;
};

#endif
