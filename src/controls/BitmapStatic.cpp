#include "controls/BitmapStatic.h"

#include <iterator>
#include <vector>

#include "fw/Afx.h"
#include "fw/AfxRes.h"

const MessageMapEntry CBitmapStatic::messageEntries[] = {
    OnMessageRow(WM_ERASEBKGND, &CBitmapStatic::OnEraseBkgnd),
    OnMessageRow(WM_REFLECT_BASE + WM_DRAWITEM, &CBitmapStatic::OnReflectedDrawItem),
    OnMessageRow(WM_SYSCOLORCHANGE, &CBitmapStatic::OnSysColorChange),
};
const MessageMap CBitmapStatic::messageMap = {&CStatic::messageMap, messageEntries, std::size(messageEntries)};

CBitmapStatic::~CBitmapStatic()
{
    if (m_hBitmap != nullptr)
        ::DeleteObject(m_hBitmap);
}

BOOL CBitmapStatic::SetBitmapResource(UINT id)
{
    m_nResourceId = static_cast<int>(id);
    m_strResourceName.clear();
    auto bitmap = static_cast<HBITMAP>(
        ::LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    if (bitmap == nullptr)
        return FALSE;
    return AttachBitmap(bitmap);
}

BOOL CBitmapStatic::SetBitmapResource(const char* name)
{
    m_nResourceId = -1;
    m_strResourceName = name;
    auto bitmap =
        static_cast<HBITMAP>(::LoadImageA(AfxGetInstanceHandle(), name, IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    if (bitmap == nullptr)
        return FALSE;
    return AttachBitmap(bitmap);
}

int CBitmapStatic::AttachBitmap(HBITMAP bitmap)
{
    if (m_hBitmap != nullptr)
        ::DeleteObject(m_hBitmap);
    m_hBitmap = bitmap;
    return ::GetObjectA(bitmap, sizeof m_bitmapInfo, &m_bitmapInfo);
}

BOOL CBitmapStatic::ReloadBitmap()
{
    if (m_nResourceId > 0)
        return SetBitmapResource(static_cast<UINT>(m_nResourceId));
    if (!m_strResourceName.empty())
        return SetBitmapResource(m_strResourceName.c_str());
    return FALSE;
}

void CBitmapStatic::PreSubclassWindow()
{
    // SS_OWNERDRAW: the parent is asked to draw, and reflects the request back here.
    ModifyStyle(0, SS_OWNERDRAW, 0);
}

LRESULT CBitmapStatic::OnEraseBkgnd(WPARAM wParam, LPARAM /*lParam*/)
{
    auto dc = reinterpret_cast<HDC>(wParam);
    RECT r;
    ::GetClientRect(m_hWnd, &r);
    int width = r.right - r.left;
    int height = r.bottom - r.top;

    if (m_hBitmap == nullptr) {
        HBRUSH face = ::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
        HGDIOBJ previous = ::SelectObject(dc, face);
        ::PatBlt(dc, r.left, r.top, width, height, PATCOPY);
        ::SelectObject(dc, previous);
        ::DeleteObject(face);
        return TRUE;
    }

    HDC memory = ::CreateCompatibleDC(dc);
    HGDIOBJ previous = ::SelectObject(memory, m_hBitmap);
    // The source is one pixel short in each direction: the last column and
    // row of the picture are not shown.
    ::StretchBlt(dc, r.left, r.top, width, height, memory, 0, 0, m_bitmapInfo.bmWidth - 1,
                 m_bitmapInfo.bmHeight - 1, SRCCOPY);
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
    return TRUE;
}

LRESULT CBitmapStatic::OnReflectedDrawItem(WPARAM /*wParam*/, LPARAM lParam)
{
    DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    return TRUE;
}

void CBitmapStatic::DrawItem(DRAWITEMSTRUCT* item)
{
    int length = ::GetWindowTextLengthA(m_hWnd);
    if (length == 0)
        return;
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    ::GetWindowTextA(m_hWnd, text.data(), length + 1);

    auto style = static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE));
    UINT format = DT_WORDBREAK | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX;
    if (style & SS_CENTERIMAGE)
        format |= DT_VCENTER;
    if (style & 0x1)
        format |= DT_CENTER;
    else if (style & 0x2)
        format |= DT_RIGHT;

    int previousMode = ::SetBkMode(item->hDC, TRANSPARENT);
    RECT r = item->rcItem;
    ::DrawTextA(item->hDC, text.data(), -1, &r, format);
    ::SetBkMode(item->hDC, previousMode);
}

void CBitmapStatic::OnSysColorChange()
{
    Default();
    ReloadBitmap();
}
