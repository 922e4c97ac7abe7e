#include "fw/FrameWnd.h"

#include <iterator>

#include "fw/Afx.h"
#include "fw/AfxRes.h"
#include "fw/WinApp.h"

const CRuntimeClass CFrameWnd::classCFrameWnd = {"CFrameWnd", &CObject::classCObject};

const MessageMapEntry CFrameWnd::messageEntries[] = {
    OnMessageRow(WM_SIZE, &CFrameWnd::OnSize),
};
const MessageMap CFrameWnd::messageMap = {&CWnd::messageMap, messageEntries, std::size(messageEntries)};

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, void* /*context*/)
{
    HINSTANCE instance = AfxGetInstanceHandle();
    char title[256] = "";
    AfxLoadString(resourceId, title, sizeof title);
    HICON icon = ::LoadIconA(instance, MAKEINTRESOURCEA(resourceId));
    const char* className =
        AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                            reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)), icon);
    HMENU menu = AfxLoadMenu(resourceId);
    RECT rect = {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};
    BOOL created = CreateEx(0, className, title, style, rect, parent, reinterpret_cast<UINT_PTR>(menu));
    if (!created && menu != nullptr)
        ::DestroyMenu(menu);
    return created;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return CWnd::PreCreateWindow(cs);
}

BOOL CFrameWnd::OnCmdMsg(UINT id)
{
    if (CWnd::OnCmdMsg(id))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(id);
}

void CFrameWnd::OnSize()
{
    Default();
    HWND pane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
    if (pane == nullptr)
        return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    ::MoveWindow(pane, 0, 0, client.right, client.bottom, TRUE);
}

void CFrameWnd::PostNcDestroy()
{
    if (AfxGetMainWnd() == this)
        ::PostQuitMessage(0);
}
