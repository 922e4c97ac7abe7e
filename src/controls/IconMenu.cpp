#include "controls/IconMenu.h"

#include <cstddef>
#include <cstring>

#include "controls/ToolbarResource.h"
#include "fw/Afx.h"
#include "fw/Wnd.h"
#include "res/resource.h"

namespace {

// The first form of the structure, which Windows 9x insists on; it holds no
// pointer, so it is 340 bytes in the 64-bit test build too. Vista's longer
// form (iPaddedBorderWidth) is refused by Windows 98.
const UINT kNonClientMetricsSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA);
static_assert(kNonClientMetricsSize == 340, "the Windows 95 non-client metrics");

const COLORREF kIconMask = RGB(255, 0, 255);
const COLORREF kCheckMask = RGB(192, 192, 192);
// Paints the brush where the source is white, keeps the target elsewhere.
const DWORD kRopBrushWhereSourceSet = 0x00E20746;
const UINT kMeasureFormat = DT_CALCRECT | DT_EXPANDTABS | DT_VCENTER;
// Where the text goes in an item: a gap after the icon cell, an indent, and
// a margin between its end and the item's right edge.
const int kCellGap = 1;
const int kTextIndent = 2;
const int kTextRightMargin = 15;

bool IsLeadByte(unsigned char c)
{
    return ::IsDBCSLeadByte(c) != FALSE;
}

COLORREF Sys(int index)
{
    return ::GetSysColor(index);
}

void FillSolidRect(HDC dc, const RECT& rect, COLORREF colour)
{
    ::SetBkColor(dc, colour);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void FillSolidRect(HDC dc, int x, int y, int cx, int cy, COLORREF colour)
{
    RECT rect = {x, y, x + cx, y + cy};
    FillSolidRect(dc, rect, colour);
}

// A one-pixel frame: top and left edges in one colour, bottom and right in another.
void Draw3dRect(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight)
{
    int cx = rect.right - rect.left;
    int cy = rect.bottom - rect.top;
    FillSolidRect(dc, rect.left, rect.top, cx - 1, 1, topLeft);
    FillSolidRect(dc, rect.left, rect.top, 1, cy - 1, topLeft);
    FillSolidRect(dc, rect.right - 1, rect.top, 1, cy, bottomRight);
    FillSolidRect(dc, rect.left, rect.bottom - 1, cx, 1, bottomRight);
}

// The form of the structure without hbmpItem, the only one Windows 95 (like
// NT 4) accepts; it fails every call given the longer one the headers
// declare. Only the masks it knows are used with it: MIIM_TYPE, MIIM_DATA,
// MIIM_ID, MIIM_STATE, MIIM_SUBMENU, MIIM_CHECKMARKS.
const UINT kMenuItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);
static_assert(sizeof(void*) != 4 || kMenuItemInfoSize == 44, "the Windows 95 menu item structure");

MENUITEMINFOA MenuItemQuery(UINT mask)
{
    MENUITEMINFOA info;
    std::memset(&info, 0, sizeof info);
    info.cbSize = kMenuItemInfoSize;
    info.fMask = mask;
    return info;
}

// Whether a live menu still holds record as an item's data. A destroyed
// menu's handle may come back for a new menu, so the item data is compared,
// not just the handle.
MenuHold MenuStillHolds(const MenuItemRecord& record)
{
    HMENU menu = reinterpret_cast<HMENU>(record.menu);
    if (!::IsMenu(menu))
        return MenuHold::NotHeld;
    int count = ::GetMenuItemCount(menu);
    std::vector<MenuItemAnswer> items(count > 0 ? static_cast<size_t>(count) : 0);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info = MenuItemQuery(MIIM_DATA);
        items[static_cast<size_t>(i)].answered = ::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info) != FALSE;
        items[static_cast<size_t>(i)].data = info.dwItemData;
    }
    return DecideMenuHold(true, items.data(), count, reinterpret_cast<uintptr_t>(&record));
}

bool IsDefaultItem(HMENU menu, UINT item, BOOL byPosition)
{
    MENUITEMINFOA info = MenuItemQuery(MIIM_STATE);
    return ::GetMenuItemInfoA(menu, item, byPosition, &info) && (info.fState & MFS_DEFAULT) != 0;
}

// Whether the item behind record is its menu's default item. Windows tells
// a draw request with ODS_DEFAULT, but Wine leaves that flag out for
// owner-drawn menu items, so the menu itself is asked.
bool IsDefaultRecord(const MenuItemRecord& record)
{
    return record.commandId >= 0 &&
           IsDefaultItem(reinterpret_cast<HMENU>(record.menu), static_cast<UINT>(record.commandId), FALSE);
}

bool IsOwnerDrawn(HMENU menu, int position)
{
    // GetMenuState cannot tell for an item that opens a submenu: its high
    // byte is the submenu's item count there.
    MENUITEMINFOA info = MenuItemQuery(MIIM_TYPE);
    return ::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info) && (info.fType & MFT_OWNERDRAW) != 0;
}

}  // namespace

int CIconMenu::s_depth = 0;

CIconMenu::CIconMenu()
{
    NONCLIENTMETRICSA metrics;
    std::memset(&metrics, 0, sizeof metrics);
    metrics.cbSize = kNonClientMetricsSize;
    // The documented contract wants the size in uiParam as well.
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0)) {
        m_hMenuFont = ::CreateFontIndirectA(&metrics.lfMenuFont);
        // The default item (the tray's double-click command) is drawn bold.
        metrics.lfMenuFont.lfWeight = FW_BOLD;
        m_hBoldFont = ::CreateFontIndirectA(&metrics.lfMenuFont);
    }

    // The check mark's greys and white become the user's 3-D colours.
    COLORMAP map[3] = {
        {RGB(128, 128, 128), Sys(COLOR_BTNSHADOW)},
        {RGB(192, 192, 192), Sys(COLOR_BTNFACE)},
        {RGB(255, 255, 255), Sys(COLOR_BTNHIGHLIGHT)},
    };
    HBITMAP check = ::CreateMappedBitmap(AfxGetInstanceHandle(), IDB_CHECKMARK, 0, map, 3);
    if (m_checkList.Create(16, 16, ILC_MASK | ILC_COLORDDB, 1, 0) && check != nullptr)
        m_checkList.AddMasked(check, kCheckMask);
    if (check != nullptr)
        ::DeleteObject(check);
}

CIconMenu::~CIconMenu()
{
    if (m_hMenuFont != nullptr)
        ::DeleteObject(m_hMenuFont);
    if (m_hBoldFont != nullptr)
        ::DeleteObject(m_hBoldFont);
}

HFONT CIconMenu::FontFor(bool isDefault) const
{
    return isDefault && m_hBoldFont != nullptr ? m_hBoldFont : m_hMenuFont;
}

BOOL CIconMenu::LoadToolBarImages(UINT toolBarId)
{
    HINSTANCE instance = AfxGetInstanceHandle();
    HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(toolBarId), MAKEINTRESOURCEA(RT_TOOLBAR_TYPE));
    HGLOBAL loaded = found != nullptr ? ::LoadResource(instance, found) : nullptr;
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    ToolbarResource toolbar;
    if (data == nullptr || !ParseToolbarResource(data, ::SizeofResource(instance, found), &toolbar))
        return FALSE;

    m_imageWidth = toolbar.width;
    m_imageHeight = toolbar.height;
    if (!m_iconList.Create(m_imageWidth, m_imageHeight, ILC_MASK | ILC_COLORDDB,
                           static_cast<int>(toolbar.commandIds.size()), 0))
        return FALSE;
    HBITMAP bitmap = ::LoadBitmapA(instance, MAKEINTRESOURCEA(toolBarId));
    if (bitmap != nullptr) {
        m_iconList.AddMasked(bitmap, kIconMask);
        ::DeleteObject(bitmap);
    }
    // Only commands whose picture made it into the list get one: an index
    // past the list would leave the icon cell unpainted.
    m_mappings.clear();
    AddToolbarMappings(toolbar, m_iconList.GetImageCount(), &m_mappings);
    return TRUE;
}

MenuItemRecord* CIconMenu::AddItemRecord(HMENU menu, const char* text, int commandId)
{
    int image = commandId < 0 ? -2 : FindImageIndex(m_mappings, commandId);
    return m_records.Add(reinterpret_cast<uintptr_t>(menu), text, commandId, image, &IsLeadByte);
}

void CIconMenu::ConvertMenu(HMENU menu)
{
    if (menu == nullptr)
        return;
    // The tray menu is loaded and destroyed at every showing: without this
    // its records would pile up for as long as the program runs.
    if (s_depth == 0)
        m_records.Reclaim(&MenuStillHolds);
    ++s_depth;
    for (int position = ::GetMenuItemCount(menu) - 1; position >= 0; --position)
        ConvertItem(menu, position);
    --s_depth;
}

void CIconMenu::ConvertItem(HMENU menu, int position)
{
    UINT id = ::GetMenuItemID(menu, position);
    if (id == 0)
        return;  // a separator stays system-drawn
    UINT state = ::GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
    char text[256] = "";
    if (id == 0xFFFFFFFF) {
        HMENU submenu = ::GetSubMenu(menu, position);
        if (submenu != nullptr)
            ConvertMenu(submenu);
        // The titles of the menu the walk started from stay plain text.
        if (submenu == nullptr || s_depth <= 1 || IsOwnerDrawn(menu, position))
            return;
        ::GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
        if (text[0] == '\0')
            return;
        MenuItemRecord* record = AddItemRecord(menu, text, -2);
        // Given its own submenu again, the item keeps it: a new one would
        // make the system destroy the old.
        ::ModifyMenuA(menu, static_cast<UINT>(position), LOBYTE(state) | MF_BYPOSITION | MF_OWNERDRAW | MF_POPUP,
                      reinterpret_cast<UINT_PTR>(submenu), reinterpret_cast<const char*>(record));
        return;
    }
    if (state & MF_OWNERDRAW)
        return;
    ::GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    MenuItemRecord* record = AddItemRecord(menu, text, static_cast<int>(id));
    bool isDefault = IsDefaultItem(menu, static_cast<UINT>(position), TRUE);
    ::ModifyMenuA(menu, static_cast<UINT>(position), (state & ~MF_DEFAULT) | MF_BYPOSITION | MF_OWNERDRAW, id,
                  reinterpret_cast<const char*>(record));
    // ModifyMenu does not carry the default state over: set it again, or
    // the item would no longer be drawn as the default.
    if (isDefault)
        ::SetMenuDefaultItem(menu, static_cast<UINT>(position), TRUE);
}

BOOL CIconMenu::MeasureItem(MEASUREITEMSTRUCT* item)
{
    if (item->CtlType != ODT_MENU)
        return FALSE;
    const MenuItemRecord* record = m_records.Find(item->itemData);
    if (record == nullptr)
        return TRUE;
    item->itemHeight = static_cast<UINT>(m_imageHeight + 5);
    if (record->text[0] == '\0') {
        item->itemWidth = 100;
        return TRUE;
    }
    // Measured in the font it is drawn in: bold text is wider.
    HFONT font = FontFor(IsDefaultRecord(*record));
    CWnd* mainWnd = AfxGetMainWnd();
    HWND window = mainWnd != nullptr ? mainWnd->m_hWnd : nullptr;
    HDC dc = ::GetDC(window);
    HGDIOBJ oldFont = font != nullptr ? ::SelectObject(dc, font) : nullptr;
    RECT extent = {0, 0, 0, 0};
    ::DrawTextA(dc, record->text, -1, &extent, kMeasureFormat);
    if (oldFont != nullptr)
        ::SelectObject(dc, oldFont);
    ::ReleaseDC(window, dc);
    // Room for all DrawItem uses: the square cell, the gap and margin left
    // of the text, and the margin right of it. Less would cut the text's end.
    int cell = m_imageHeight + 5;
    item->itemWidth = static_cast<UINT>(cell + kCellGap + kTextIndent + (extent.right - extent.left) + kTextRightMargin);
    return TRUE;
}

BOOL CIconMenu::DrawItem(DRAWITEMSTRUCT* item)
{
    if (item->CtlType != ODT_MENU)
        return FALSE;
    const MenuItemRecord* record = m_records.Find(item->itemData);
    if (record == nullptr)
        return TRUE;

    HDC dc = item->hDC;
    HFONT font = FontFor((item->itemState & ODS_DEFAULT) != 0 || IsDefaultRecord(*record));
    HGDIOBJ oldFont = font != nullptr ? ::SelectObject(dc, font) : nullptr;
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    COLORREF oldBack = ::GetBkColor(dc);
    bool selected = (item->itemState & ODS_SELECTED) != 0;
    bool disabled = (item->itemState & ODS_DISABLED) != 0;
    bool checked = (item->itemState & ODS_CHECKED) != 0;

    const RECT& r = item->rcItem;
    int h = r.bottom - r.top;
    RECT cell = {r.left, r.top, r.left + h, r.bottom};
    RECT textArea = {r.left + h + kCellGap, r.top, r.right, r.bottom};
    bool fillAll = record->imageIndex < 0 && !checked;
    FillSolidRect(dc, fillAll ? r : textArea, Sys(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    COLORREF oldText = ::SetTextColor(dc, Sys(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));

    int x = cell.left + (h - m_imageWidth) / 2;
    int y = cell.top + (h - m_imageHeight) / 2;
    if (record->imageIndex >= 0) {
        // Drawn in the menu colour when not raised, to wipe an earlier frame.
        bool raised = selected && !disabled;
        Draw3dRect(dc, cell, Sys(raised ? COLOR_BTNHIGHLIGHT : COLOR_MENU), Sys(raised ? COLOR_BTNSHADOW : COLOR_MENU));
        m_iconList.Draw(dc, record->imageIndex, x, y, ILD_NORMAL);
        if (disabled) {
            RECT icon = {x, y, x + m_imageWidth, y + m_imageHeight};
            DrawDisabledImage(dc, icon);
        }
    } else if (checked) {
        m_checkList.Draw(dc, 0, x, y - 2, ILD_NORMAL);
    }

    DrawLabel(dc, record->text, textArea, selected, disabled);

    if (oldFont != nullptr)
        ::SelectObject(dc, oldFont);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
    ::SetBkMode(dc, oldMode);
    return TRUE;
}

void CIconMenu::DrawLabel(HDC dc, const char* text, RECT area, bool selected, bool disabled)
{
    SIZE extent = {0, 0};
    ::GetTextExtentPoint32A(dc, text, ::lstrlenA(text), &extent);
    area.top += (area.bottom - area.top - extent.cy) / 2;
    area.left += kTextIndent;
    area.right -= kTextRightMargin;

    // A tab never occurs inside a double-byte character: trail bytes start at 0x40.
    const char* tab = std::strchr(text, '\t');
    int labelLength = tab != nullptr ? static_cast<int>(tab - text) : -1;
    UINT labelFormat = tab != nullptr ? DT_VCENTER : DT_EXPANDTABS | DT_VCENTER;
    auto draw = [&](RECT* where) {
        ::DrawTextA(dc, text, labelLength, where, labelFormat);
        if (tab != nullptr)
            ::DrawTextA(dc, tab + 1, -1, where, DT_RIGHT | DT_VCENTER);
    };

    if (disabled && !selected) {
        // Etched: a light copy one pixel down and in, then grey on top.
        RECT etch = area;
        ::InflateRect(&etch, -1, -1);
        ::SetTextColor(dc, Sys(COLOR_BTNHIGHLIGHT));
        draw(&etch);
        ::SetTextColor(dc, Sys(COLOR_GRAYTEXT));
    } else if (disabled) {
        ::SetTextColor(dc, Sys(COLOR_MENU));
    }
    draw(&area);
}

void CIconMenu::DrawDisabledImage(HDC dc, const RECT& rect)
{
    int w = rect.right - rect.left;
    int h = rect.bottom - rect.top;
    // A bitmap compatible with a fresh memory context is monochrome.
    HDC memory = ::CreateCompatibleDC(nullptr);
    HBITMAP mask = ::CreateCompatibleBitmap(memory, w, h);
    HGDIOBJ oldBitmap = ::SelectObject(memory, mask);
    ::PatBlt(memory, 0, 0, w, h, WHITENESS);

    // Button-face and highlight pixels become white, the icon's ink black.
    COLORREF oldBack = ::SetBkColor(dc, Sys(COLOR_BTNFACE));
    ::BitBlt(memory, 0, 0, w, h, dc, rect.left, rect.top, SRCCOPY);
    ::SetBkColor(dc, Sys(COLOR_BTNHIGHLIGHT));
    ::BitBlt(memory, 0, 0, w, h, dc, rect.left, rect.top, SRCPAINT);

    FillSolidRect(dc, rect, Sys(COLOR_BTNFACE));
    ::SetBkColor(dc, RGB(0, 0, 0));
    COLORREF oldText = ::SetTextColor(dc, RGB(255, 255, 255));
    HBRUSH light = ::CreateSolidBrush(Sys(COLOR_BTNHIGHLIGHT));
    HBRUSH shadow = ::CreateSolidBrush(Sys(COLOR_BTNSHADOW));
    HGDIOBJ oldBrush = ::SelectObject(dc, light);
    ::BitBlt(dc, rect.left + 1, rect.top + 1, w, h, memory, 0, 0, kRopBrushWhereSourceSet);
    ::SelectObject(dc, shadow);
    ::BitBlt(dc, rect.left, rect.top, w, h, memory, 0, 0, kRopBrushWhereSourceSet);

    ::SelectObject(dc, oldBrush);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
    ::SelectObject(memory, oldBitmap);
    ::DeleteObject(mask);
    ::DeleteDC(memory);
    ::DeleteObject(light);
    ::DeleteObject(shadow);
}

BOOL CIconMenu::MenuChar(UINT key, HMENU menu, LRESULT* result)
{
    int count = ::GetMenuItemCount(menu);
    if (count <= 0)
        return FALSE;
    std::vector<const char*> texts(static_cast<size_t>(count), nullptr);
    int highlighted = -1;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info = MenuItemQuery(MIIM_DATA | MIIM_STATE);
        if (!::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        if (info.fState & MFS_HILITE)
            highlighted = i;
        if (const MenuItemRecord* record = m_records.Find(info.dwItemData))
            texts[static_cast<size_t>(i)] = record->text;
    }
    MenuCharAnswer answer = AnswerMenuChar(texts.data(), count, key, highlighted, &IsLeadByte);
    if (answer.position < 0)
        return FALSE;
    *result = MAKELRESULT(answer.position, answer.execute ? MNC_EXECUTE : MNC_SELECT);
    return TRUE;
}
