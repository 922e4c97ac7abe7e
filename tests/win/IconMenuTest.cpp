// The icon menu behind the real main frame: menus made owner-drawn as they
// open, measured and drawn into a bitmap whose pixels are checked, records
// let go with their menus, and mnemonics typed into a real popup menu.
#include "WinTestSupport.h"
#include "fw/Afx.h"
#include "app/TethraApp.h"
#include "controls/IconMenu.h"
#include "frame/MainFrame.h"
#include "res/resource.h"

#include <cstddef>
#include <memory>

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

MENUITEMINFOA ItemInfo(HMENU menu, int position)
{
    MENUITEMINFOA info = {};
    // Windows 95's size, without hbmpItem: the tests run under the same rules as the program.
    info.cbSize = offsetof(MENUITEMINFOA, hbmpItem);
    info.fMask = MIIM_TYPE | MIIM_DATA | MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
    EXPECT_TRUE(::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) << position;
    return info;
}

bool OwnerDrawn(HMENU menu, int position)
{
    return (ItemInfo(menu, position).fType & MFT_OWNERDRAW) != 0;
}

const MenuItemRecord* RecordAt(HMENU menu, int position)
{
    return reinterpret_cast<const MenuItemRecord*>(ItemInfo(menu, position).dwItemData);
}

// A 32-bit top-down bitmap selected into a memory context, filled with the
// menu colour as the system fills a menu before it asks for its items.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_height(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
        Fill(::GetSysColor(COLOR_MENU));
    }
    ~Canvas()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }

    void Fill(COLORREF colour)
    {
        ::GdiFlush();
        for (int i = 0; i < m_width * m_height; ++i)
            m_bits[i] = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    }

    COLORREF At(int x, int y) const
    {
        ::GdiFlush();
        DWORD p = m_bits[y * m_width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

    // Pixels of colour in the rectangle [x0, x1) x [y0, y1).
    int Count(COLORREF colour, int x0, int y0, int x1, int y1) const
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += At(x, y) == colour;
        return n;
    }
    // Pixels of any other colour: text, whose edges are smoothed.
    int CountOther(COLORREF colour, int x0, int y0, int x1, int y1) const
    {
        return (x1 - x0) * (y1 - y0) - Count(colour, x0, y0, x1, y1);
    }

    HDC m_dc;
    int m_width;
    int m_height;

private:
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    DWORD* m_bits = nullptr;
};

// Picture index of the program's menu bitmap, as 16 x 16 colours.
std::vector<COLORREF> Picture(int index)
{
    HBITMAP strip = ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    EXPECT_NE(strip, nullptr);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 96;
    info.bmiHeader.biHeight = -16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<DWORD> bits(96 * 16);
    HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(::GetDIBits(screen, strip, 0, 16, bits.data(), &info, DIB_RGB_COLORS), 16);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(strip);
    std::vector<COLORREF> picture;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            DWORD p = bits[y * 96 + index * 16 + x];
            picture.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
        }
    }
    return picture;
}

// Live GDI objects of this process. Wine's GetGuiResources always answers 0;
// its handle lookup accepts a bare table index, so every slot is asked.
int CountGdiObjects()
{
    int count = 0;
    for (uintptr_t index = 1; index < 0x10000; ++index)
        count += ::GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0;
    return count;
}

// The Windows 98 standard scheme. Wine's own paints menus white, the colour
// of the 3-D highlight, which would hide the difference between a raised
// frame and none.
const int kSchemeElements[] = {COLOR_MENU,    COLOR_MENUTEXT,     COLOR_HIGHLIGHT,   COLOR_HIGHLIGHTTEXT,
                               COLOR_BTNFACE, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW,   COLOR_GRAYTEXT};
const COLORREF kWindows98Scheme[] = {RGB(192, 192, 192), RGB(0, 0, 0),       RGB(0, 0, 128),     RGB(255, 255, 255),
                                     RGB(192, 192, 192), RGB(255, 255, 255), RGB(128, 128, 128), RGB(128, 128, 128)};
const int kSchemeSize = sizeof kSchemeElements / sizeof kSchemeElements[0];

class IconMenuTest : public WinTest {
protected:
    void SetUp() override
    {
        WinTest::SetUp();
        for (int i = 0; i < kSchemeSize; ++i)
            m_savedScheme[i] = ::GetSysColor(kSchemeElements[i]);
        ASSERT_TRUE(::SetSysColors(kSchemeSize, kSchemeElements, kWindows98Scheme));
        // Start into the tray: no panel may open while the frame is created.
        m_ini.WriteRaw("[Option]\r\nInitTray=1\r\n");
        m_frame = std::make_unique<CMainFrame>();
        ASSERT_TRUE(m_frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, nullptr));
        TheApp().m_pMainWnd = m_frame.get();
        m_hWnd = m_frame->m_hWnd;
    }
    void TearDown() override
    {
        TheApp().m_pMainWnd = nullptr;
        if (m_frame)
            m_frame->DestroyWindow();
        m_frame.reset();
        ::SetSysColors(kSchemeSize, kSchemeElements, m_savedScheme);
        WinTest::TearDown();
    }

    // The frame's own menu, converted the way it is when it opens.
    HMENU ConvertedFileMenu()
    {
        HMENU bar = ::GetMenu(m_hWnd);
        ::SendMessageA(m_hWnd, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
        return ::GetSubMenu(bar, 0);
    }

    const MenuItemRecord* RecordOf(HMENU menu, UINT command)
    {
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            if (::GetMenuItemID(menu, i) == command)
                return RecordAt(menu, i);
        }
        ADD_FAILURE() << "no command " << command;
        return nullptr;
    }

    // Sends the frame a draw request for record into canvas; the result.
    LRESULT Draw(Canvas& canvas, const void* record, UINT state, UINT type = ODT_MENU)
    {
        DRAWITEMSTRUCT item = {};
        item.CtlType = type;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hDC = canvas.m_dc;
        item.rcItem = {0, 0, canvas.m_width, canvas.m_height};
        item.itemData = reinterpret_cast<ULONG_PTR>(record);
        return ::SendMessageA(m_hWnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    }

    std::unique_ptr<CMainFrame> m_frame;
    HWND m_hWnd = nullptr;
    COLORREF m_savedScheme[kSchemeSize] = {};
};

TEST_F(IconMenuTest, InitMenuMakesTheCommandsOwnerDrawnOnceAndLeavesTitleAndSeparators)
{
    HMENU bar = ::GetMenu(m_hWnd);
    HMENU file = ConvertedFileMenu();
    ASSERT_NE(file, nullptr);

    EXPECT_FALSE(OwnerDrawn(bar, 0)) << "the bar's title stays plain text";
    char title[64] = "";
    ::GetMenuStringA(bar, 0, title, sizeof title, MF_BYPOSITION);
    EXPECT_STREQ(title, Shown("文件(&F)", "&File"));

    ASSERT_EQ(::GetMenuItemCount(file), 15);
    const struct {
        UINT id;
        const char* text;
        int image;
    } expected[] = {
        {ID_SHOW, Shown("显示(&S)...", "&Show..."), -1},
        {0, nullptr, 0},
        {ID_LOCK, Shown("锁定(&L)", "&Lock"), -1},
        {ID_SETTINGS, Shown("设置(&T)...", "Se&ttings..."), -1},
        {0, nullptr, 0},
        {ID_SLEEP, Shown("休眠(&P)", "Sus&pend"), 1},
        {ID_RESTART, Shown("重启计算机(&R)", "&Restart"), 0},
        {ID_SHUTDOWN, Shown("关闭系统(&D)", "Shut &Down"), 2},
        {ID_LOGOFF, Shown("注销(&O)", "Log &Off"), 3},
        {0, nullptr, 0},
        {ID_HOMEPAGE, Shown("我的主页(&H)", "My &Home Page"), -1},
        {ID_EMAIL, Shown("我的E-Mail(&E)", "My &E-Mail"), -1},
        {ID_APP_ABOUT, Shown("关于 Tethra(&A)...", "&About Tethra..."), 4},
        {0, nullptr, 0},
        {ID_APP_EXIT, Shown("退出(&X)", "E&xit"), 5},
    };
    std::vector<const MenuItemRecord*> records;
    for (int i = 0; i < 15; ++i) {
        MENUITEMINFOA info = ItemInfo(file, i);
        if (expected[i].id == 0) {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR) << i;
            EXPECT_FALSE(info.fType & MFT_OWNERDRAW) << "separator at " << i;
            continue;
        }
        ASSERT_TRUE(info.fType & MFT_OWNERDRAW) << i;
        EXPECT_EQ(info.wID, expected[i].id);
        const auto* record = reinterpret_cast<const MenuItemRecord*>(info.dwItemData);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->commandId, static_cast<int>(expected[i].id));
        EXPECT_STREQ(record->text, expected[i].text);
        EXPECT_EQ(record->imageIndex, expected[i].image) << expected[i].text;
        records.push_back(record);
    }
    EXPECT_EQ(m_frame->IconMenu().RecordCount(), 11u);

    // Opening again, as a bar and as a popup, changes nothing.
    ::SendMessageA(m_hWnd, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
    ::SendMessageA(m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    EXPECT_EQ(m_frame->IconMenu().RecordCount(), 11u);
    size_t next = 0;
    for (int i = 0; i < 15; ++i) {
        if (expected[i].id == 0)
            continue;
        EXPECT_EQ(RecordAt(file, i), records[next++]) << i;
    }
}

TEST_F(IconMenuTest, ItemsKeepTheirStatesAndTheSystemMenuIsNotConverted)
{
    HMENU menu = AfxLoadMenu(IDR_MAINFRAME);
    HMENU popup = ::GetSubMenu(menu, 0);
    ::CheckMenuItem(popup, ID_LOCK, MF_BYCOMMAND | MF_CHECKED);
    ::EnableMenuItem(popup, ID_SLEEP, MF_BYCOMMAND | MF_GRAYED);

    // Flagged as the window menu: left alone.
    ::SendMessageA(m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, TRUE));
    EXPECT_FALSE(OwnerDrawn(popup, 0));
    EXPECT_EQ(m_frame->IconMenu().RecordCount(), 0u);

    ::SendMessageA(m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    EXPECT_TRUE(OwnerDrawn(popup, 2));
    EXPECT_TRUE(::GetMenuState(popup, ID_LOCK, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(::GetMenuState(popup, ID_SLEEP, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(::GetMenuState(popup, ID_SHOW, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED));
    ::DestroyMenu(menu);
}

TEST_F(IconMenuTest, NestedSubmenuItemsAreConvertedAndKeepTheirSubmenus)
{
    HMENU bar = ::CreateMenu();
    HMENU outer = ::CreatePopupMenu();
    HMENU inner = ::CreatePopupMenu();
    ::AppendMenuA(inner, MF_STRING, 501, "Deep");
    ::AppendMenuA(outer, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(inner), "&More");
    ::AppendMenuA(outer, MF_STRING | MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), "");
    ::AppendMenuA(bar, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(outer), "&Top");

    ::SendMessageA(m_hWnd, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
    EXPECT_FALSE(OwnerDrawn(bar, 0));
    ASSERT_TRUE(OwnerDrawn(outer, 0));
    const MenuItemRecord* more = RecordAt(outer, 0);
    EXPECT_EQ(more->commandId, -2);
    EXPECT_EQ(more->imageIndex, -2);
    EXPECT_STREQ(more->text, "&More");
    EXPECT_EQ(::GetSubMenu(outer, 0), inner) << "the submenu stays attached";
    EXPECT_TRUE(::IsMenu(inner));
    EXPECT_TRUE(OwnerDrawn(inner, 0));
    // A submenu item without text stays as it was, grayed.
    EXPECT_FALSE(OwnerDrawn(outer, 1));
    EXPECT_TRUE(::GetMenuState(outer, 1, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_EQ(m_frame->IconMenu().RecordCount(), 2u);

    ::SendMessageA(m_hWnd, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
    EXPECT_EQ(m_frame->IconMenu().RecordCount(), 2u);
    EXPECT_EQ(RecordAt(outer, 0), more);
    ::DestroyMenu(bar);
}

TEST_F(IconMenuTest, RecordsOfDestroyedMenusAreLetGoAndLiveOnesKept)
{
    HMENU file = ConvertedFileMenu();
    const MenuItemRecord* exitRecord = RecordOf(file, ID_APP_EXIT);

    // The tray's way: load, convert, show, destroy, hundreds of times.
    for (int showing = 0; showing < 300; ++showing) {
        HMENU menu = AfxLoadMenu(IDR_MAINFRAME);
        HMENU popup = ::GetSubMenu(menu, 0);
        ::SendMessageA(m_hWnd, WM_INITMENU, reinterpret_cast<WPARAM>(popup), 0);
        ::SendMessageA(m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
        ASSERT_TRUE(OwnerDrawn(popup, 14));
        ASSERT_LE(m_frame->IconMenu().RecordCount(), 22u) << "showing " << showing;
        ::DestroyMenu(menu);
    }

    // The frame's menu lives on: its records still measure.
    ::SendMessageA(m_hWnd, WM_INITMENU, reinterpret_cast<WPARAM>(::GetMenu(m_hWnd)), 0);
    EXPECT_EQ(m_frame->IconMenu().RecordCount(), 11u);
    EXPECT_EQ(RecordOf(file, ID_APP_EXIT), exitRecord);
    MEASUREITEMSTRUCT measure = {ODT_MENU, 0, ID_APP_EXIT, 0, 0, reinterpret_cast<ULONG_PTR>(exitRecord)};
    EXPECT_TRUE(::SendMessageA(m_hWnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));
    EXPECT_EQ(measure.itemHeight, 21u);
}

TEST_F(IconMenuTest, MeasuredItemsAre21PixelsHighAndOnlyMenuRequestsAreTaken)
{
    HMENU file = ConvertedFileMenu();
    const MenuItemRecord* about = RecordOf(file, ID_APP_ABOUT);
    MEASUREITEMSTRUCT measure = {ODT_MENU, 0, ID_APP_ABOUT, 0, 0, reinterpret_cast<ULONG_PTR>(about)};
    EXPECT_TRUE(::SendMessageA(m_hWnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));
    EXPECT_EQ(measure.itemHeight, 21u);
    EXPECT_GT(measure.itemWidth, 21u + 3u + 40u + 15u) << "cell, margins and a text of some width";

    // The measured width holds the whole text: drawn into just that width
    // it ends where it ends in a wide item, 15 pixels from the right edge.
    auto lastTextColumn = [&](int width) {
        Canvas canvas(width, 21);
        Draw(canvas, about, 0);
        for (int x = width - 1; x >= 0; --x) {
            if (canvas.CountOther(::GetSysColor(COLOR_MENU), x, 0, x + 1, 21) != 0)
                return x;
        }
        return -1;
    };
    int width = static_cast<int>(measure.itemWidth);
    int wideEnd = lastTextColumn(400);
    EXPECT_EQ(lastTextColumn(width), wideEnd);
    EXPECT_LE(wideEnd, width - 15);
    EXPECT_GE(wideEnd, width - 15 - 3);

    // A longer text measures wider.
    MEASUREITEMSTRUCT exitMeasure = {ODT_MENU, 0, 0, 0, 0, reinterpret_cast<ULONG_PTR>(RecordOf(file, ID_APP_EXIT))};
    ::SendMessageA(m_hWnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&exitMeasure));
    EXPECT_LT(exitMeasure.itemWidth, measure.itemWidth);

    // An item with no text.
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuA(popup, MF_STRING, 77, "");
    ::SendMessageA(m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    ASSERT_TRUE(OwnerDrawn(popup, 0));
    MEASUREITEMSTRUCT empty = {ODT_MENU, 0, 77, 0, 0, ItemInfo(popup, 0).dwItemData};
    EXPECT_TRUE(::SendMessageA(m_hWnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&empty)));
    EXPECT_EQ(empty.itemWidth, 100u);
    EXPECT_EQ(empty.itemHeight, 21u);
    ::DestroyMenu(popup);

    // No record behind the item, or data that is not one of ours: taken, untouched.
    int stranger = 0;
    for (ULONG_PTR data : {ULONG_PTR(0), reinterpret_cast<ULONG_PTR>(&stranger)}) {
        MEASUREITEMSTRUCT none = {ODT_MENU, 0, 5, 1234, 4321, data};
        EXPECT_TRUE(::SendMessageA(m_hWnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&none)));
        EXPECT_EQ(none.itemWidth, 1234u);
        EXPECT_EQ(none.itemHeight, 4321u);
    }
    // A list box's request goes to the default processing, untouched.
    MEASUREITEMSTRUCT list = {ODT_LISTBOX, 1, 0, 1234, 4321, reinterpret_cast<ULONG_PTR>(about)};
    EXPECT_FALSE(::SendMessageA(m_hWnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&list)));
    EXPECT_EQ(list.itemWidth, 1234u);
    EXPECT_EQ(list.itemHeight, 4321u);
}

TEST_F(IconMenuTest, AnItemWithAPictureShowsItInItsCellOnTheMenuColour)
{
    HMENU file = ConvertedFileMenu();
    Canvas canvas(200, 21);
    ASSERT_EQ(Draw(canvas, RecordOf(file, ID_RESTART), 0), TRUE);

    const COLORREF menu = ::GetSysColor(COLOR_MENU);
    std::vector<COLORREF> picture = Picture(0);
    int ink = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            COLORREF want = picture[y * 16 + x] == kMagenta ? menu : picture[y * 16 + x];
            ink += want != menu;
            ASSERT_EQ(canvas.At(2 + x, 2 + y), want) << "picture pixel " << x << "," << y;
        }
    }
    EXPECT_GT(ink, 60);
    EXPECT_EQ(canvas.Count(kMagenta, 0, 0, 200, 21), 0);
    // Not selected: the cell's frame is in the menu colour.
    for (int i = 0; i < 21; ++i) {
        EXPECT_EQ(canvas.At(i, 0), menu);
        EXPECT_EQ(canvas.At(0, i), menu);
        EXPECT_EQ(canvas.At(20, i), menu);
    }
    // The text, in the menu text colour, starts right of the cell.
    EXPECT_GT(canvas.Count(::GetSysColor(COLOR_MENUTEXT), 24, 0, 120, 21), 3);
    EXPECT_GT(canvas.CountOther(menu, 24, 0, 120, 21), 20);
    EXPECT_EQ(canvas.CountOther(menu, 18, 0, 24, 21), 0);

    // A checked item with a picture shows the picture, no check mark.
    Canvas checked(200, 21);
    Draw(checked, RecordOf(file, ID_RESTART), ODS_CHECKED);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x)
            ASSERT_EQ(checked.At(x, y), canvas.At(x, y)) << x << "," << y;
}

TEST_F(IconMenuTest, TheHighlightedItemsPictureGetsARaisedFrame)
{
    HMENU file = ConvertedFileMenu();
    Canvas canvas(200, 21);
    Draw(canvas, RecordOf(file, ID_APP_EXIT), ODS_SELECTED);

    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(canvas.At(i, 0), light) << "top edge " << i;
        EXPECT_EQ(canvas.At(0, i), light) << "left edge " << i;
        EXPECT_EQ(canvas.At(20, i + 1), shadow) << "right edge " << i;
        EXPECT_EQ(canvas.At(i + 1, 20), shadow) << "bottom edge " << i;
    }
    // The highlight lies right of the cell only.
    EXPECT_EQ(canvas.At(21, 0), ::GetSysColor(COLOR_MENU)) << "the gap between cell and text";
    EXPECT_EQ(canvas.At(22, 0), highlight);
    EXPECT_EQ(canvas.At(199, 20), highlight);
    EXPECT_EQ(canvas.Count(highlight, 0, 0, 21, 21), 0);
    EXPECT_GT(canvas.Count(::GetSysColor(COLOR_HIGHLIGHTTEXT), 22, 0, 120, 21), 3);
    EXPECT_GT(canvas.CountOther(highlight, 22, 0, 120, 21), 20);

    // Drawn plain again, the frame is wiped.
    Draw(canvas, RecordOf(file, ID_APP_EXIT), 0);
    EXPECT_EQ(canvas.Count(light, 0, 0, 21, 1), 0);
    EXPECT_EQ(canvas.Count(shadow, 20, 0, 21, 21), 0);

    // Selected without a picture: highlight across the whole item.
    Canvas lock(200, 21);
    Draw(lock, RecordOf(file, ID_LOCK), ODS_SELECTED);
    EXPECT_EQ(lock.At(0, 0), highlight);
    EXPECT_EQ(lock.At(10, 10), highlight);
    EXPECT_EQ(lock.Count(light, 0, 0, 21, 21), 0);
}

TEST_F(IconMenuTest, ADisabledItemShowsAnEmbossedPictureAndEtchedText)
{
    HMENU file = ConvertedFileMenu();
    Canvas canvas(200, 21);
    Draw(canvas, RecordOf(file, ID_SLEEP), ODS_DISABLED | ODS_GRAYED);

    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    std::vector<COLORREF> picture = Picture(1);
    // Where the picture has ink, its shadow; elsewhere face or the light
    // copy offset by one pixel. No colour of the picture remains.
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            COLORREF source = picture[y * 16 + x];
            COLORREF got = canvas.At(2 + x, 2 + y);
            if (source != kMagenta && source != face && source != light)
                ASSERT_EQ(got, shadow) << "ink at " << x << "," << y;
            else
                ASSERT_TRUE(got == face || got == light) << "background at " << x << "," << y;
        }
    }
    EXPECT_GT(canvas.Count(light, 2, 2, 19, 19), 5) << "the light copy shows beside the shadow";
    EXPECT_EQ(canvas.Count(kMagenta, 0, 0, 200, 21), 0);
    EXPECT_EQ(canvas.Count(light, 0, 0, 21, 1), 0) << "no raised frame";

    // Etched text: the light copy and the grey text.
    EXPECT_GT(canvas.Count(light, 22, 0, 120, 21), 3);
    EXPECT_GT(canvas.Count(::GetSysColor(COLOR_GRAYTEXT), 22, 0, 120, 21), 3);
    EXPECT_EQ(canvas.Count(::GetSysColor(COLOR_MENUTEXT), 22, 0, 120, 21), 0);

    // Disabled and highlighted: no frame, the text once in the menu colour.
    Canvas selected(200, 21);
    Draw(selected, RecordOf(file, ID_SLEEP), ODS_DISABLED | ODS_SELECTED);
    EXPECT_EQ(selected.Count(light, 0, 0, 21, 1), 0);
    EXPECT_EQ(selected.At(30, 0), ::GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_GT(selected.Count(::GetSysColor(COLOR_MENU), 22, 0, 120, 21), 3);
    EXPECT_EQ(selected.Count(light, 22, 0, 120, 21), 0);
}

TEST_F(IconMenuTest, ACheckedItemWithoutAPictureShowsTheCheckMark)
{
    HMENU file = ConvertedFileMenu();
    const COLORREF black = RGB(0, 0, 0);
    Canvas plain(200, 21);
    Draw(plain, RecordOf(file, ID_LOCK), 0);
    EXPECT_EQ(plain.Count(black, 0, 0, 21, 21), 0);

    Canvas checked(200, 21);
    Draw(checked, RecordOf(file, ID_LOCK), ODS_CHECKED);
    // The tick: black strokes in the cell, above its middle row's centre.
    int tick = checked.Count(black, 0, 0, 21, 21);
    EXPECT_GT(tick, 15);
    EXPECT_GT(checked.Count(black, 0, 0, 21, 10), 0);
    EXPECT_EQ(checked.Count(kMagenta, 0, 0, 200, 21), 0);
    EXPECT_EQ(checked.Count(::GetSysColor(COLOR_BTNHIGHLIGHT), 0, 0, 21, 1) == 21, false) << "no frame";
}

TEST_F(IconMenuTest, TheTraysDefaultItemStaysDefaultAndIsDrawnBoldWithinItsMeasuredWidth)
{
    HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    HMENU popup = ::GetSubMenu(menu, 0);
    ASSERT_TRUE(::SetMenuDefaultItem(popup, 0, TRUE));
    ::SendMessageA(m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    ASSERT_TRUE(OwnerDrawn(popup, 0));
    EXPECT_EQ(::GetMenuDefaultItem(popup, TRUE, 0), 0u) << "the conversion keeps the default item";
    const MenuItemRecord* show = RecordAt(popup, 0);

    // Windows asks with ODS_DEFAULT; Wine's menus leave the flag out. Both
    // draw the same.
    const COLORREF menuColour = ::GetSysColor(COLOR_MENU);
    Canvas bold(200, 21);
    Canvas flagged(200, 21);
    Draw(bold, show, 0);
    Draw(flagged, show, ODS_DEFAULT);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(bold.At(x, y), flagged.At(x, y)) << x << "," << y;

    // Measured in bold: drawn into just that width, the text ends where it
    // ends in a wide item.
    MEASUREITEMSTRUCT measure = {ODT_MENU, 0, ID_SHOW, 0, 0, reinterpret_cast<ULONG_PTR>(show)};
    EXPECT_TRUE(::SendMessageA(m_hWnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));
    auto lastTextColumn = [&](int width) {
        Canvas canvas(width, 21);
        Draw(canvas, show, ODS_DEFAULT);
        for (int x = width - 1; x >= 0; --x) {
            if (canvas.CountOther(menuColour, x, 0, x + 1, 21) != 0)
                return x;
        }
        return -1;
    };
    int width = static_cast<int>(measure.itemWidth);
    EXPECT_EQ(lastTextColumn(width), lastTextColumn(400));
    EXPECT_GE(lastTextColumn(width), width - 15 - 3);

    // Not the default any longer: drawn with less ink, measured narrower.
    ::SetMenuDefaultItem(popup, static_cast<UINT>(-1), TRUE);
    Canvas plain(200, 21);
    Draw(plain, show, 0);
    int plainInk = plain.CountOther(menuColour, 22, 0, 200, 21);
    int boldInk = bold.CountOther(menuColour, 22, 0, 200, 21);
    EXPECT_GT(plainInk, 20);
    EXPECT_GT(boldInk, plainInk + plainInk / 5) << "plain " << plainInk << ", bold " << boldInk;
    MEASUREITEMSTRUCT ordinary = {ODT_MENU, 0, ID_SHOW, 0, 0, reinterpret_cast<ULONG_PTR>(show)};
    ::SendMessageA(m_hWnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&ordinary));
    EXPECT_LT(ordinary.itemWidth, measure.itemWidth);
    ::DestroyMenu(menu);
}

TEST_F(IconMenuTest, AcceleratorTextAfterATabIsRightAligned)
{
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuA(popup, MF_STRING, 90, "&Open\tCtrl+O");
    ::SendMessageA(m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    const MenuItemRecord* record = RecordAt(popup, 0);
    ASSERT_STREQ(record->text, "&Open\tCtrl+O");

    Canvas canvas(300, 21);
    Draw(canvas, record, 0);
    const COLORREF menu = ::GetSysColor(COLOR_MENU);
    int first = -1;
    int last = -1;
    for (int x = 0; x < 300; ++x) {
        if (canvas.CountOther(menu, x, 0, x + 1, 21) == 0)
            continue;
        if (first < 0)
            first = x;
        last = x;
    }
    EXPECT_GE(first, 21 + 1 + 2);
    EXPECT_LT(first, 30);
    EXPECT_LE(last, 300 - 15);
    EXPECT_GE(last, 300 - 15 - 3);
    // Nothing between the label and the accelerator.
    EXPECT_EQ(canvas.CountOther(menu, 120, 0, 200, 21), 0);
    ::DestroyMenu(popup);
}

TEST_F(IconMenuTest, RequestsThatAreNotForMenusAreLeftAlone)
{
    HMENU file = ConvertedFileMenu();
    Canvas canvas(200, 21);
    const COLORREF menu = ::GetSysColor(COLOR_MENU);
    EXPECT_EQ(Draw(canvas, RecordOf(file, ID_APP_EXIT), 0, ODT_BUTTON), FALSE);
    EXPECT_EQ(Draw(canvas, nullptr, ODS_SELECTED), TRUE);
    EXPECT_EQ(canvas.Count(menu, 0, 0, 200, 21), 200 * 21) << "nothing was drawn";
}

TEST_F(IconMenuTest, DrawingLeavesNoGdiObjectBehind)
{
    HMENU file = ConvertedFileMenu();
    Canvas canvas(200, 21);
    const MenuItemRecord* items[] = {RecordOf(file, ID_SLEEP), RecordOf(file, ID_LOCK)};
    UINT states[] = {0, ODS_SELECTED, ODS_DISABLED, ODS_DISABLED | ODS_SELECTED, ODS_CHECKED, ODS_DEFAULT};
    // Warm up once: the first draw may create what the system keeps.
    for (const MenuItemRecord* item : items)
        for (UINT state : states)
            Draw(canvas, item, state);

    int before = CountGdiObjects();
    // The count sees one leaked object.
    HBRUSH leak = ::CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_EQ(CountGdiObjects(), before + 1) << "the object count cannot be trusted here";
    ::DeleteObject(leak);

    for (int round = 0; round < 40; ++round)
        for (const MenuItemRecord* item : items)
            for (UINT state : states)
                Draw(canvas, item, state);
    MEASUREITEMSTRUCT measure = {ODT_MENU, 0, 0, 0, 0, reinterpret_cast<ULONG_PTR>(items[0])};
    for (int i = 0; i < 100; ++i)
        ::SendMessageA(m_hWnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(CountGdiObjects(), before);

    // An icon menu takes its fonts and pictures with it.
    for (int i = 0; i < 3; ++i) {
        CIconMenu another;
        another.LoadToolBarImages(IDR_MAINFRAME);
    }
    EXPECT_EQ(CountGdiObjects(), before);
}

TEST_F(IconMenuTest, MnemonicsAreAnsweredForOwnerDrawnItems)
{
    HMENU menu = AfxLoadMenu(IDR_MAINFRAME);
    HMENU popup = ::GetSubMenu(menu, 0);
    ::SendMessageA(m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    auto menuChar = [&](char key, WORD flags) {
        return ::SendMessageA(m_hWnd, WM_MENUCHAR, MAKEWPARAM(key, flags), reinterpret_cast<LPARAM>(popup));
    };
    EXPECT_EQ(menuChar('x', MF_POPUP), MAKELRESULT(14, MNC_EXECUTE));
    EXPECT_EQ(menuChar('L', MF_POPUP), MAKELRESULT(2, MNC_EXECUTE));
    EXPECT_EQ(menuChar('e', MF_POPUP), MAKELRESULT(11, MNC_EXECUTE));
    EXPECT_EQ(menuChar('q', MF_POPUP), MNC_IGNORE);
    EXPECT_EQ(menuChar('x', MF_SYSMENU), MNC_IGNORE) << "the window menu keeps the system's answer";

    // A real popup menu, keys typed into it: the underlined letter runs its
    // command.
    Script script;
    script.Until([] { return FindMenuWindow() != nullptr; }).Then([] {
        ::PostMessageA(FindMenuWindow(), WM_CHAR, 'x', 0);
    });
    script.Start();
    UINT chosen = ::TrackPopupMenu(popup, TPM_RETURNCMD, 10, 10, 0, m_hWnd, nullptr);
    script.Stop();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(chosen, static_cast<UINT>(ID_APP_EXIT));
    ::DestroyMenu(menu);
}

}  // namespace
