#include "frame/FrameClientWnd.h"

#include <iterator>

#include "fw/Afx.h"

const MessageMapEntry CFrameClientWnd::messageEntries[] = {
    OnMessageRow(WM_PAINT, &CFrameClientWnd::OnPaint),
};
const MessageMap CFrameClientWnd::messageMap = {&CWnd::messageMap, messageEntries, std::size(messageEntries)};

BOOL CFrameClientWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CWnd::PreCreateWindow(cs))
        return FALSE;
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    cs.style &= ~WS_BORDER;
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)), nullptr);
    return TRUE;
}

void CFrameClientWnd::OnPaint()
{
    // The class brush has filled the update area already.
    PAINTSTRUCT ps;
    ::BeginPaint(m_hWnd, &ps);
    ::EndPaint(m_hWnd, &ps);
}
