// The Windows 95/98 rules layer itself: each rule reports a call that
// breaks it, naming the call and the argument, and lets a sound call pass.
// The calls go through this program's import table like the product's.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "Win9xRules.h"

namespace {

const UINT kMenuItemInfo95 = offsetof(MENUITEMINFOA, hbmpItem);
const UINT kNonClientMetrics95 = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA);

// A one-pixel memory bitmap to draw into.
class MemoryDc {
public:
    MemoryDc() : m_dc(::CreateCompatibleDC(nullptr)), m_bitmap(::CreateCompatibleBitmap(m_dc, 1, 1))
    {
        m_old = ::SelectObject(m_dc, m_bitmap);
    }
    ~MemoryDc()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

}  // namespace

TEST(Win9xRules, EveryRowOfTheTableChecksThisProgramsCalls)
{
    int rows = 0;
    for (const char* function = Win9xRules::FunctionAt(0); function != nullptr;
         function = Win9xRules::FunctionAt(++rows))
        EXPECT_TRUE(Win9xRules::IsInstalled(function)) << function << " is not in the import table";
    EXPECT_GT(rows, 10);
}

TEST(Win9xRules, MenuItemInfoTakesTheWindows95SizeAndFlags)
{
    HMENU menu = ::CreatePopupMenu();
    ASSERT_TRUE(::AppendMenuA(menu, MF_STRING, 1, "One"));
    MENUITEMINFOA info = {};
    info.cbSize = kMenuItemInfo95;
    info.fMask = MIIM_DATA | MIIM_STATE | MIIM_TYPE;
    EXPECT_TRUE(::GetMenuItemInfoA(menu, 0, TRUE, &info));
    info.fMask = MIIM_STATE;
    info.fState = MFS_CHECKED;
    EXPECT_TRUE(::SetMenuItemInfoA(menu, 0, TRUE, &info));

    MENUITEMINFOA full = {};
    full.cbSize = sizeof full;
    full.fMask = MIIM_DATA;
    std::string sizeMessage = "GetMenuItemInfoA: cbSize is " + std::to_string(sizeof full);
    EXPECT_NONFATAL_FAILURE(::GetMenuItemInfoA(menu, 0, TRUE, &full), sizeMessage);
    full.fMask = MIIM_TYPE;
    full.fType = MFT_STRING;
    full.dwTypeData = const_cast<char*>("Two");
    EXPECT_NONFATAL_FAILURE(::InsertMenuItemA(menu, 1, TRUE, &full), "InsertMenuItemA: cbSize is");

    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>("Uno");
    EXPECT_NONFATAL_FAILURE(::SetMenuItemInfoA(menu, 0, TRUE, &info), "SetMenuItemInfoA: fMask 0x40 has bits 0x40");
    info.fMask = MIIM_STATE;
    info.fState = 0x10000;
    EXPECT_NONFATAL_FAILURE(::SetMenuItemInfoA(menu, 0, TRUE, &info), "SetMenuItemInfoA: fState 0x10000");
    ::DestroyMenu(menu);
}

TEST(Win9xRules, NotifyIconTakesTheFirstFormAndA63ByteTip)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.uID = 77;
    data.uFlags = NIF_TIP;
    ::lstrcpyA(data.szTip, "Tethra");
    // No such icon: the system refuses, but only the rules matter here.
    ::Shell_NotifyIconA(NIM_MODIFY, &data);

    data.cbSize = sizeof data;
    EXPECT_NONFATAL_FAILURE(::Shell_NotifyIconA(NIM_MODIFY, &data), "Shell_NotifyIconA: cbSize is");
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    EXPECT_NONFATAL_FAILURE(::Shell_NotifyIconA(NIM_SETVERSION, &data), "Shell_NotifyIconA: dwMessage is 4");
    data.uFlags = NIF_TIP | NIF_INFO;
    EXPECT_NONFATAL_FAILURE(::Shell_NotifyIconA(NIM_MODIFY, &data), "Shell_NotifyIconA: uFlags 0x14");
    data.uFlags = NIF_TIP;
    for (char& c : data.szTip)
        c = 'x';
    EXPECT_NONFATAL_FAILURE(::Shell_NotifyIconA(NIM_MODIFY, &data), "szTip has no terminator");
    // A two-byte character cut after its lead byte (code page 936).
    ::lstrcpyA(data.szTip, "ab\xcb\xf8\xcb");
    EXPECT_NONFATAL_FAILURE(::Shell_NotifyIconA(NIM_MODIFY, &data), "ends in the lead byte");
}

TEST(Win9xRules, GdiCoordinatesFitIn16Bits)
{
    MemoryDc target;
    MemoryDc source;
    HDC dc = target.Get();
    RECT inside = {0, 0, 1, 1};
    RECT outside = {0, 0, 40000, 1};
    EXPECT_TRUE(::PatBlt(dc, -32768, 0, 32767, 1, WHITENESS));
    EXPECT_TRUE(::BitBlt(dc, 0, 0, 1, 1, source.Get(), 0, 0, SRCCOPY));
    ::DrawTextA(dc, "a", -1, &inside, DT_SINGLELINE);

    EXPECT_NONFATAL_FAILURE(::PatBlt(dc, 40000, 0, 1, 1, WHITENESS), "PatBlt: x,y is 40000,0");
    EXPECT_NONFATAL_FAILURE(::BitBlt(dc, 32767, 0, 2, 1, source.Get(), 0, 0, SRCCOPY), "BitBlt: x,y is 32767,0 with extent 2,1");
    EXPECT_NONFATAL_FAILURE(::BitBlt(dc, 0, 0, 1, 1, source.Get(), 0, -40000, SRCCOPY), "BitBlt: x1,y1 is 0,-40000");
    EXPECT_NONFATAL_FAILURE(::StretchBlt(dc, 0, 0, 1, 1, source.Get(), 0, 0, 1, 33000, SRCCOPY), "StretchBlt: xSrc,ySrc");
    EXPECT_NONFATAL_FAILURE(::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &outside, nullptr, 0, nullptr),
                            "ExtTextOutA: lprect is (0,0)-(40000,1)");
    EXPECT_NONFATAL_FAILURE(::DrawTextA(dc, "a", -1, &outside, DT_SINGLELINE), "DrawTextA: lpRect");
    EXPECT_NONFATAL_FAILURE(::DeleteObject(::CreateCompatibleBitmap(dc, 40000, 1)), "CreateCompatibleBitmap: cx is 40000");

    HIMAGELIST list = ::ImageList_Create(1, 1, ILC_MASK | ILC_COLORDDB, 1, 0);
    ASSERT_NE(list, nullptr);
    ::ImageList_Draw(list, 0, dc, 0, 0, ILD_NORMAL);
    EXPECT_NONFATAL_FAILURE(::ImageList_Draw(list, 0, dc, -40000, 0, ILD_NORMAL), "ImageList_Draw: x is -40000");
    ::ImageList_Destroy(list);
}

TEST(Win9xRules, FlagsAndLimitsAreWindows95s)
{
    MemoryDc target;
    HDC dc = target.Get();
    RECT rect = {0, 0, 1, 1};
    // An invalid menu: the call returns at once, after the check.
    ::TrackPopupMenu(nullptr, TPM_RIGHTBUTTON | TPM_RETURNCMD, 0, 0, 0, nullptr, nullptr);
    EXPECT_NONFATAL_FAILURE(::TrackPopupMenu(nullptr, TPM_NOANIMATION, 0, 0, 0, nullptr, nullptr),
                            "TrackPopupMenu: uFlags 0x4000");
    EXPECT_NONFATAL_FAILURE(::DrawTextA(dc, "a", -1, &rect, DT_HIDEPREFIX), "DrawTextA: uFormat 0x100000");
    EXPECT_NONFATAL_FAILURE(::ExtTextOutA(dc, 0, 0, ETO_IGNORELANGUAGE, nullptr, "a", 1, nullptr),
                            "ExtTextOutA: fuOptions 0x1000");

    std::string longText(9000, 'a');
    SIZE extent;
    EXPECT_TRUE(::GetTextExtentPoint32A(dc, longText.c_str(), 8192, &extent));
    EXPECT_NONFATAL_FAILURE(::GetTextExtentPoint32A(dc, longText.c_str(), 9000, &extent),
                            "GetTextExtentPoint32A: c is 9000");

    HIMAGELIST list = nullptr;
    EXPECT_NONFATAL_FAILURE(list = ::ImageList_Create(1, 1, ILC_COLOR24 | ILC_MIRROR, 1, 0),
                            "ImageList_Create: flags 0x2018");
    ::ImageList_Destroy(list);

    struct {
        NONCLIENTMETRICSA metrics;
        int paddedBorderWidth;
    } vista = {};
    NONCLIENTMETRICSA& metrics = vista.metrics;
    metrics.cbSize = kNonClientMetrics95;
    EXPECT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetrics95, &metrics, 0));
    EXPECT_NONFATAL_FAILURE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &metrics, 0),
                            "SystemParametersInfoA: uiParam is 0");
    metrics.cbSize = sizeof vista;
    EXPECT_NONFATAL_FAILURE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetrics95, &metrics, 0),
                            "NONCLIENTMETRICSA cbSize is 344");
    UINT hoverTime = 0;
    EXPECT_NONFATAL_FAILURE(::SystemParametersInfoA(SPI_GETMOUSEHOVERTIME, 0, &hoverTime, 0),
                            "SystemParametersInfoA: uiAction 0x66");
}

TEST(Win9xRules, LookedUpFunctionsAreWindows98sAndNarrow)
{
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    HMODULE user = ::GetModuleHandleA("user32.dll");
    HMODULE controls = ::LoadLibraryA("comctl32.dll");
    ASSERT_NE(controls, nullptr);
    EXPECT_NE(::GetProcAddress(kernel, "GetTickCount"), nullptr);
    EXPECT_NE(::GetProcAddress(controls, "InitCommonControlsEx"), nullptr);
    EXPECT_NE(::GetProcAddress(controls, MAKEINTRESOURCEA(8)), nullptr);

    EXPECT_NONFATAL_FAILURE(::GetProcAddress(kernel, "GetTickCount64"),
                            "GetProcAddress: GetTickCount64 from kernel32.dll: Windows 98 SE's kernel32.dll does not export it");
    EXPECT_NONFATAL_FAILURE(::GetProcAddress(user, "SetWindowTextW"),
                            "GetProcAddress: SetWindowTextW from user32.dll: a wide-character function");
    EXPECT_NONFATAL_FAILURE(::GetProcAddress(controls, MAKEINTRESOURCEA(345)), "GetProcAddress: #345 from comctl32.dll");

    HMODULE theme = nullptr;
    EXPECT_NONFATAL_FAILURE(theme = ::LoadLibraryA("uxtheme.dll"), "LoadLibraryA: \"uxtheme.dll\"");
    if (theme != nullptr)
        ::FreeLibrary(theme);
    ::FreeLibrary(controls);
}
