#include "Win9xRules.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

// "dll function" lines of Windows 98 SE's export tables (generated at build
// time from tests/imports/win98se-exports.txt).
extern const char g_win98seExports[];

namespace Win9xRules {
namespace {

// The sizes Windows 95 accepts are the first forms of the structures. On
// i686 they are the figures in the comments; the x86_64 test build has the
// same layouts with 64-bit pointers, so each is taken from the field offset
// where the later additions start.
//  MENUITEMINFOA: 44 bytes, up to dwTypeData and cch. The MinGW headers add
//  hbmpItem (Windows 98/2000), making sizeof 48; Windows 95 and NT 4 fail a
//  call with that size (Wine accepts both).
const UINT kMenuItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);
//  NONCLIENTMETRICSA: 340 bytes, up to lfMessageFont; Vista appended
//  iPaddedBorderWidth. No pointers, so 340 on both architectures.
const UINT kNonClientMetricsSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA);
//  NOTIFYICONDATAA: 88 bytes, up to a 64-byte szTip; the shell of Windows
//  95/98 (4.x) refuses the longer forms of shell 5 and 6.
const DWORD kNotifyIconDataSize = NOTIFYICONDATAA_V1_SIZE;
const size_t kTipField = 64;
#ifndef _WIN64
static_assert(kMenuItemInfoSize == 44, "the Windows 95 MENUITEMINFOA");
static_assert(kNotifyIconDataSize == 88, "the Windows 95 NOTIFYICONDATAA");
#endif
static_assert(kNonClientMetricsSize == 340, "the Windows 95 NONCLIENTMETRICSA");

// The flags Windows 95 knows.
//  MENUITEMINFO fMask: MIIM_STATE, ID, SUBMENU, CHECKMARKS, TYPE, DATA.
//  MIIM_STRING, MIIM_BITMAP and MIIM_FTYPE came with Windows 98/2000.
const UINT kMenuMask95 = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_TYPE | MIIM_DATA;
//  fType: MFT_STRING (0), BITMAP, MENUBARBREAK, MENUBREAK, OWNERDRAW,
//  RADIOCHECK, SEPARATOR, RIGHTORDER, RIGHTJUSTIFY.
const UINT kMenuType95 = MFT_BITMAP | MFT_MENUBARBREAK | MFT_MENUBREAK | MFT_OWNERDRAW | MFT_RADIOCHECK |
                         MFT_SEPARATOR | MFT_RIGHTORDER | MFT_RIGHTJUSTIFY;
//  fState: MFS_GRAYED, CHECKED, HILITE, DEFAULT.
const UINT kMenuState95 = MFS_GRAYED | MFS_CHECKED | MFS_HILITE | MFS_DEFAULT;
//  TrackPopupMenu: the button, alignment, NONOTIFY and RETURNCMD flags.
//  TPM_RECURSE, the animation flags (Windows 98/2000) and TPM_LAYOUTRTL
//  (Me/2000) are later.
const UINT kTrackPopup95 = TPM_RIGHTBUTTON | TPM_CENTERALIGN | TPM_RIGHTALIGN | TPM_VCENTERALIGN |
                           TPM_BOTTOMALIGN | TPM_VERTICAL | TPM_NONOTIFY | TPM_RETURNCMD;
//  DrawText: everything up to DT_WORD_ELLIPSIS (0x40000). DT_NOFULLWIDTH-
//  CHARBREAK, DT_HIDEPREFIX and DT_PREFIXONLY came with 98/2000.
const UINT kDrawText95 = 0x7FFFF;
//  ExtTextOut: OPAQUE, CLIPPED, GLYPH_INDEX, RTLREADING; the others are 2000's.
const UINT kExtTextOut95 = ETO_OPAQUE | ETO_CLIPPED | ETO_GLYPH_INDEX | ETO_RTLREADING;
//  Image lists of COMCTL32 4.00 (the first Windows 95): ILC_MASK, the colour
//  depths, ILC_PALETTE; ILD_ NORMAL, TRANSPARENT, BLEND25/50, MASK and the
//  overlay index. ILD_IMAGE, ILD_ROP (4.70) and the version 6 flags are later.
const UINT kImageListCreate95 = ILC_MASK | ILC_COLORDDB | ILC_PALETTE;
const UINT kImageListDraw95 = ILD_TRANSPARENT | ILD_BLEND25 | ILD_BLEND50 | ILD_MASK | ILD_OVERLAYMASK;
//  SystemParametersInfo: the last action Windows 95 defines is
//  SPI_SETSCREENSAVERRUNNING (97); 98 and later added the rest.
const UINT kLastAction95 = SPI_SETSCREENSAVERRUNNING;
//  "Windows 95/98/Me: This value may not exceed 8192" (the string length of
//  TextOut, ExtTextOut and GetTextExtentPoint32).
const int kMaxTextCount = 8192;

Sink g_sink = nullptr;

// The checkers pass on to these.
decltype(&::GetMenuItemInfoA) Real_GetMenuItemInfoA;
decltype(&::SetMenuItemInfoA) Real_SetMenuItemInfoA;
decltype(&::InsertMenuItemA) Real_InsertMenuItemA;
decltype(&::TrackPopupMenu) Real_TrackPopupMenu;
decltype(&::SystemParametersInfoA) Real_SystemParametersInfoA;
decltype(&::DrawTextA) Real_DrawTextA;
decltype(&::Shell_NotifyIconA) Real_Shell_NotifyIconA;
decltype(&::BitBlt) Real_BitBlt;
decltype(&::StretchBlt) Real_StretchBlt;
decltype(&::PatBlt) Real_PatBlt;
decltype(&::ExtTextOutA) Real_ExtTextOutA;
decltype(&::GetTextExtentPoint32A) Real_GetTextExtentPoint32A;
decltype(&::CreateCompatibleBitmap) Real_CreateCompatibleBitmap;
decltype(&::ImageList_Create) Real_ImageList_Create;
decltype(&::ImageList_Draw) Real_ImageList_Draw;
decltype(&::GetProcAddress) Real_GetProcAddress;
decltype(&::LoadLibraryA) Real_LoadLibraryA;

const char* SourceOf(const char* function);

void Report(const char* call, const char* format, ...)
{
    char detail[400];
    va_list args;
    va_start(args, format);
    std::vsnprintf(detail, sizeof detail, format, args);
    va_end(args);
    char message[512];
    std::snprintf(message, sizeof message, "Windows 95/98 rule broken: %s: %s (source: %s)", call, detail,
                  SourceOf(call));
    if (g_sink != nullptr)
        g_sink(message);
}

// Windows 9x GDI is 16-bit inside: the 32-bit calls go down to GDI.EXE,
// which keeps logical coordinates as signed 16-bit values, so a larger one
// is cut to its low 16 bits and the drawing lands elsewhere (the
// documentation's Windows 95/98/Me remarks on coordinates and regions).
bool Fits16(long long value)
{
    return value >= -32768 && value <= 32767;
}

void CheckCoordinate(const char* call, const char* argument, long value)
{
    if (!Fits16(value))
        Report(call, "%s is %ld: GDI coordinates must fit in 16 bits (-32768..32767) on Windows 9x", argument, value);
}

// A rectangle given as origin and extent: its far corner must fit too.
void CheckArea(const char* call, const char* xName, const char* yName, long long x, long long y, long long cx,
               long long cy)
{
    if (!Fits16(x) || !Fits16(y) || !Fits16(x + cx) || !Fits16(y + cy))
        Report(call, "%s,%s is %lld,%lld with extent %lld,%lld: GDI coordinates must fit in 16 bits (-32768..32767) "
               "on Windows 9x", xName, yName, x, y, cx, cy);
}

void CheckRect(const char* call, const char* argument, const RECT* rect)
{
    if (rect == nullptr)
        return;
    if (!Fits16(rect->left) || !Fits16(rect->top) || !Fits16(rect->right) || !Fits16(rect->bottom))
        Report(call, "%s is (%ld,%ld)-(%ld,%ld): GDI coordinates must fit in 16 bits (-32768..32767) on Windows 9x",
               argument, rect->left, rect->top, rect->right, rect->bottom);
}

void CheckFlags(const char* call, const char* argument, UINT value, UINT known, const char* what)
{
    if ((value & ~known) != 0)
        Report(call, "%s 0x%X has bits 0x%X that %s", argument, value, value & ~known, what);
}

void CheckMenuItemInfo(const char* call, const MENUITEMINFOA* info, bool setting)
{
    if (info == nullptr)
        return;
    if (info->cbSize != kMenuItemInfoSize)
        Report(call, "cbSize is %u: MENUITEMINFOA must be %u bytes, the form without hbmpItem (44 on 32-bit "
               "Windows); Windows 95 and NT 4 fail the call with any other size", info->cbSize, kMenuItemInfoSize);
    CheckFlags(call, "fMask", info->fMask, kMenuMask95,
               "Windows 95 lacks (MIIM_STRING, MIIM_BITMAP, MIIM_FTYPE: use MIIM_TYPE)");
    if (!setting)
        return;
    if (info->fMask & MIIM_TYPE)
        CheckFlags(call, "fType", info->fType, kMenuType95, "Windows 95 lacks");
    if (info->fMask & MIIM_STATE)
        CheckFlags(call, "fState", info->fState, kMenuState95, "Windows 95 lacks");
}

BOOL WINAPI Check_GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOA info)
{
    CheckMenuItemInfo("GetMenuItemInfoA", info, false);
    return Real_GetMenuItemInfoA(menu, item, byPosition, info);
}

BOOL WINAPI Check_SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOA info)
{
    CheckMenuItemInfo("SetMenuItemInfoA", info, true);
    return Real_SetMenuItemInfoA(menu, item, byPosition, info);
}

BOOL WINAPI Check_InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOA info)
{
    CheckMenuItemInfo("InsertMenuItemA", info, true);
    return Real_InsertMenuItemA(menu, item, byPosition, info);
}

BOOL WINAPI Check_TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect)
{
    CheckFlags("TrackPopupMenu", "uFlags", flags, kTrackPopup95,
               "Windows 95 lacks (TPM_RECURSE, animation and RTL flags are later)");
    if (reserved != 0)
        Report("TrackPopupMenu", "nReserved is %d: it must be 0", reserved);
    return Real_TrackPopupMenu(menu, flags, x, y, reserved, owner, rect);
}

BOOL WINAPI Check_SystemParametersInfoA(UINT action, UINT uiParam, PVOID pvParam, UINT winIni)
{
    const char* call = "SystemParametersInfoA";
    if (action > kLastAction95)
        Report(call, "uiAction 0x%X is newer than Windows 95 (its last action is SPI_SETSCREENSAVERRUNNING, 0x%X)",
               action, kLastAction95);
    if (action == SPI_GETNONCLIENTMETRICS || action == SPI_SETNONCLIENTMETRICS) {
        // The documentation: "Set the cbSize member of this structure and
        // the uiParam parameter to sizeof(NONCLIENTMETRICS)".
        auto metrics = static_cast<const NONCLIENTMETRICSA*>(pvParam);
        if (metrics == nullptr)
            Report(call, "pvParam is null for SPI_GET/SETNONCLIENTMETRICS");
        else if (metrics->cbSize != kNonClientMetricsSize)
            Report(call, "NONCLIENTMETRICSA cbSize is %u: Windows 9x takes only the %u-byte form", metrics->cbSize,
                   kNonClientMetricsSize);
        if (uiParam != kNonClientMetricsSize)
            Report(call, "uiParam is %u for SPI_GET/SETNONCLIENTMETRICS: it must be the structure's size, %u",
                   uiParam, kNonClientMetricsSize);
    }
    return Real_SystemParametersInfoA(action, uiParam, pvParam, winIni);
}

int WINAPI Check_DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format)
{
    CheckRect("DrawTextA", "lpRect", rect);
    CheckFlags("DrawTextA", "uFormat", format, kDrawText95,
               "Windows 95 lacks (DT_NOFULLWIDTHCHARBREAK, DT_HIDEPREFIX, DT_PREFIXONLY are later)");
    return Real_DrawTextA(dc, text, count, rect, format);
}

// A tooltip that ends in the first byte of a double-byte character shows
// that byte as garbage; text cut to fit must be cut between characters.
bool EndsInLeadByte(const char* text, size_t length)
{
    size_t i = 0;
    while (i < length) {
        if (::IsDBCSLeadByte(static_cast<BYTE>(text[i]))) {
            if (i + 1 >= length)
                return true;
            i += 2;
        } else {
            ++i;
        }
    }
    return false;
}

BOOL WINAPI Check_Shell_NotifyIconA(DWORD message, PNOTIFYICONDATAA data)
{
    const char* call = "Shell_NotifyIconA";
    if (message != NIM_ADD && message != NIM_MODIFY && message != NIM_DELETE)
        Report(call, "dwMessage is %lu: the shell of Windows 95/98 knows only NIM_ADD, NIM_MODIFY and NIM_DELETE",
               static_cast<unsigned long>(message));
    if (data == nullptr)
        return Real_Shell_NotifyIconA(message, data);
    if (data->cbSize != kNotifyIconDataSize)
        Report(call, "cbSize is %lu: NOTIFYICONDATAA must be %lu bytes, the first form (88 on 32-bit Windows); "
               "the shell of Windows 95/98 refuses any other size", static_cast<unsigned long>(data->cbSize),
               static_cast<unsigned long>(kNotifyIconDataSize));
    CheckFlags(call, "uFlags", data->uFlags, NIF_MESSAGE | NIF_ICON | NIF_TIP,
               "the shell of Windows 95/98 lacks (NIF_STATE, NIF_INFO and later came with shell 5)");
    if (data->uFlags & NIF_TIP) {
        const char* end = static_cast<const char*>(std::memchr(data->szTip, '\0', kTipField));
        if (end == nullptr)
            Report(call, "szTip has no terminator in its first 64 bytes: the tooltip holds at most 63 bytes");
        else if (EndsInLeadByte(data->szTip, static_cast<size_t>(end - data->szTip)))
            Report(call, "szTip \"%s\" ends in the lead byte of a double-byte character", data->szTip);
    }
    return Real_Shell_NotifyIconA(message, data);
}

BOOL WINAPI Check_BitBlt(HDC dest, int x, int y, int cx, int cy, HDC source, int x1, int y1, DWORD rop)
{
    CheckArea("BitBlt", "x", "y", x, y, cx, cy);
    if (source != nullptr)
        CheckArea("BitBlt", "x1", "y1", x1, y1, cx, cy);
    return Real_BitBlt(dest, x, y, cx, cy, source, x1, y1, rop);
}

BOOL WINAPI Check_StretchBlt(HDC dest, int x, int y, int w, int h, HDC source, int xs, int ys, int ws, int hs,
                             DWORD rop)
{
    CheckArea("StretchBlt", "xDest", "yDest", x, y, w, h);
    if (source != nullptr)
        CheckArea("StretchBlt", "xSrc", "ySrc", xs, ys, ws, hs);
    return Real_StretchBlt(dest, x, y, w, h, source, xs, ys, ws, hs, rop);
}

BOOL WINAPI Check_PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop)
{
    CheckArea("PatBlt", "x", "y", x, y, w, h);
    return Real_PatBlt(dc, x, y, w, h, rop);
}

BOOL WINAPI Check_ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                              const INT* dx)
{
    CheckCoordinate("ExtTextOutA", "x", x);
    CheckCoordinate("ExtTextOutA", "y", y);
    CheckRect("ExtTextOutA", "lprect", rect);
    CheckFlags("ExtTextOutA", "fuOptions", options, kExtTextOut95, "Windows 95 lacks");
    if (count > static_cast<UINT>(kMaxTextCount))
        Report("ExtTextOutA", "cbCount is %u: Windows 95/98 take at most %d", count, kMaxTextCount);
    return Real_ExtTextOutA(dc, x, y, options, rect, text, count, dx);
}

BOOL WINAPI Check_GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size)
{
    if (count < 0 || count > kMaxTextCount)
        Report("GetTextExtentPoint32A", "c is %d: Windows 95/98 take 0 to %d", count, kMaxTextCount);
    return Real_GetTextExtentPoint32A(dc, text, count, size);
}

// "Windows 95/98/Me: The created bitmap cannot exceed 16MB in size."
HBITMAP WINAPI Check_CreateCompatibleBitmap(HDC dc, int cx, int cy)
{
    const char* call = "CreateCompatibleBitmap";
    CheckCoordinate(call, "cx", cx);
    CheckCoordinate(call, "cy", cy);
    long long bits = dc != nullptr ? static_cast<long long>(::GetDeviceCaps(dc, BITSPIXEL)) * ::GetDeviceCaps(dc, PLANES) : 1;
    long long bytes = (static_cast<long long>(cx) * bits + 31) / 32 * 4 * cy;
    if (bytes > 16LL * 1024 * 1024)
        Report(call, "%dx%d at %lld bits is %lld bytes: Windows 95/98 create at most 16 MB", cx, cy, bits, bytes);
    return Real_CreateCompatibleBitmap(dc, cx, cy);
}

HIMAGELIST WINAPI Check_ImageList_Create(int cx, int cy, UINT flags, int initial, int grow)
{
    CheckFlags("ImageList_Create", "flags", flags, kImageListCreate95,
               "COMCTL32 4.00 (the first Windows 95) lacks");
    return Real_ImageList_Create(cx, cy, flags, initial, grow);
}

BOOL WINAPI Check_ImageList_Draw(HIMAGELIST list, int image, HDC dc, int x, int y, UINT style)
{
    CheckCoordinate("ImageList_Draw", "x", x);
    CheckCoordinate("ImageList_Draw", "y", y);
    CheckFlags("ImageList_Draw", "fStyle", style, kImageListDraw95, "COMCTL32 4.00 (the first Windows 95) lacks");
    return Real_ImageList_Draw(list, image, dc, x, y, style);
}

// Windows 98 SE's export tables, as "dll function" (dll in lower case) and
// the set of its system DLLs.
struct ExportTable {
    std::set<std::string> functions;
    std::set<std::string> dlls;
};

ExportTable ReadExports()
{
    ExportTable table;
    for (const char* line = g_win98seExports; *line != '\0';) {
        const char* end = std::strchr(line, '\n');
        if (end == nullptr)
            end = line + std::strlen(line);
        std::string text(line, static_cast<size_t>(end - line));
        line = *end != '\0' ? end + 1 : end;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        size_t blank = text.find(' ');
        if (text.empty() || text[0] == '#' || blank == std::string::npos)
            continue;
        table.functions.insert(text);
        table.dlls.insert(text.substr(0, blank));
    }
    return table;
}

const ExportTable& Exports()
{
    static const ExportTable table = ReadExports();
    return table;
}

std::string LowerBaseName(const char* path)
{
    const char* base = path;
    for (const char* p = path; *p != '\0'; ++p)
        if (*p == '\\' || *p == '/' || *p == ':')
            base = p + 1;
    std::string name(base);
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    if (name.find('.') == std::string::npos)
        name += ".dll";
    return name;
}

FARPROC WINAPI Check_GetProcAddress(HMODULE module, LPCSTR name)
{
    const char* call = "GetProcAddress";
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(module, path, sizeof path);
    std::string dll = LowerBaseName(path);
    const ExportTable& exports = Exports();
    char ordinal[16];
    if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) == 0)
        std::snprintf(ordinal, sizeof ordinal, "#%u", static_cast<unsigned>(LOWORD(reinterpret_cast<ULONG_PTR>(name))));
    std::string function = HIWORD(reinterpret_cast<ULONG_PTR>(name)) == 0 ? ordinal : name;
    if (exports.functions.count(dll + " " + function) == 0) {
        Report(call, "%s from %s: Windows 98 SE's %s does not export it", function.c_str(), dll.c_str(), dll.c_str());
    } else if (function.size() > 1 && function.back() == 'W' &&
               exports.functions.count(dll + " " + function.substr(0, function.size() - 1) + "A") != 0) {
        // Windows 9x exports most wide-character functions only as stubs
        // that fail with ERROR_CALL_NOT_IMPLEMENTED.
        Report(call, "%s from %s: a wide-character function, a failing stub on Windows 95/98", function.c_str(),
               dll.c_str());
    }
    return Real_GetProcAddress(module, name);
}

HMODULE WINAPI Check_LoadLibraryA(LPCSTR file)
{
    if (file != nullptr && Exports().dlls.count(LowerBaseName(file)) == 0)
        Report("LoadLibraryA", "\"%s\" is not a DLL of Windows 98 SE's system", file);
    return Real_LoadLibraryA(file);
}

struct Rule {
    const char* dll;
    const char* function;
    void* checker;
    void** original;
    const char* rule;
    const char* source;
    bool installed;
};

// The checker must have the very type of the function it stands for
// (__stdcall on i686).
template <typename Fn>
Rule Row(const char* dll, const char* function, Fn checker, Fn* original, const char* rule, const char* source)
{
    return {dll, function, reinterpret_cast<void*>(checker), reinterpret_cast<void**>(original), rule, source, false};
}

// One row per checked function: the rule and where it comes from.
Rule g_rules[] = {
    Row("user32.dll", "GetMenuItemInfoA", &Check_GetMenuItemInfoA, &Real_GetMenuItemInfoA,
        "cbSize 44 (i686); fMask without MIIM_STRING/BITMAP/FTYPE",
        "MENUITEMINFO's Windows 95 size (hbmpItem is a 98/2000 member); MIIM_ flags marked Windows 98/2000"),
    Row("user32.dll", "SetMenuItemInfoA", &Check_SetMenuItemInfoA, &Real_SetMenuItemInfoA,
        "as GetMenuItemInfoA, plus fType and fState flags Windows 95 knows",
        "MENUITEMINFO documentation, MFT_/MFS_ flags of Windows 95"),
    Row("user32.dll", "InsertMenuItemA", &Check_InsertMenuItemA, &Real_InsertMenuItemA,
        "as SetMenuItemInfoA", "MENUITEMINFO documentation"),
    Row("user32.dll", "TrackPopupMenu", &Check_TrackPopupMenu, &Real_TrackPopupMenu,
        "uFlags of Windows 95; nReserved 0",
        "TrackPopupMenu: TPM_RECURSE, animation flags Windows 98/2000, TPM_LAYOUTRTL Me/2000"),
    Row("user32.dll", "SystemParametersInfoA", &Check_SystemParametersInfoA, &Real_SystemParametersInfoA,
        "actions up to SPI_SETSCREENSAVERRUNNING; NONCLIENTMETRICSA cbSize and uiParam 340",
        "Windows 95 headers' last action; SPI_GETNONCLIENTMETRICS remarks; NONCLIENTMETRICS before Vista"),
    Row("user32.dll", "DrawTextA", &Check_DrawTextA, &Real_DrawTextA,
        "rectangle in 16 bits; DT_ flags of Windows 95",
        "Windows 9x GDI's 16-bit coordinates; DT_NOFULLWIDTHCHARBREAK and later marked 98/2000"),
    Row("shell32.dll", "Shell_NotifyIconA", &Check_Shell_NotifyIconA, &Real_Shell_NotifyIconA,
        "NIM_ADD/MODIFY/DELETE; cbSize 88 (i686); NIF_MESSAGE/ICON/TIP; szTip at most 63 bytes, whole characters",
        "NOTIFYICONDATA: NOTIFYICONDATA_V1_SIZE for shell 4.x; szTip[64] before shell 5"),
    Row("gdi32.dll", "BitBlt", &Check_BitBlt, &Real_BitBlt,
        "coordinates and far corners in 16 bits", "Windows 9x GDI's 16-bit coordinates"),
    Row("gdi32.dll", "StretchBlt", &Check_StretchBlt, &Real_StretchBlt,
        "coordinates and far corners in 16 bits", "Windows 9x GDI's 16-bit coordinates"),
    Row("gdi32.dll", "PatBlt", &Check_PatBlt, &Real_PatBlt,
        "coordinates and far corners in 16 bits", "Windows 9x GDI's 16-bit coordinates"),
    Row("gdi32.dll", "ExtTextOutA", &Check_ExtTextOutA, &Real_ExtTextOutA,
        "position and rectangle in 16 bits; ETO_ flags of Windows 95; at most 8192 bytes",
        "Windows 9x GDI's 16-bit coordinates; ExtTextOut: \"Windows 95/98/Me: may not exceed 8192\""),
    Row("gdi32.dll", "GetTextExtentPoint32A", &Check_GetTextExtentPoint32A, &Real_GetTextExtentPoint32A,
        "at most 8192 bytes", "GetTextExtentPoint32: \"Windows 95/98/Me: may not exceed 8192\""),
    Row("gdi32.dll", "CreateCompatibleBitmap", &Check_CreateCompatibleBitmap, &Real_CreateCompatibleBitmap,
        "size in 16 bits, at most 16 MB", "CreateCompatibleBitmap: \"Windows 95/98/Me: cannot exceed 16MB\""),
    Row("comctl32.dll", "ImageList_Create", &Check_ImageList_Create, &Real_ImageList_Create,
        "ILC_ flags of COMCTL32 4.00", "ImageList_Create: later flags marked version 6.00"),
    Row("comctl32.dll", "ImageList_Draw", &Check_ImageList_Draw, &Real_ImageList_Draw,
        "position in 16 bits; ILD_ flags of COMCTL32 4.00",
        "Windows 9x GDI's 16-bit coordinates; ILD_IMAGE/ROP marked 4.70, the rest 6.00"),
    Row("kernel32.dll", "GetProcAddress", &Check_GetProcAddress, &Real_GetProcAddress,
        "a name Windows 98 SE's DLL exports, no wide-character function",
        "tests/imports/win98se-exports.txt; 9x's W functions are stubs"),
    Row("kernel32.dll", "LoadLibraryA", &Check_LoadLibraryA, &Real_LoadLibraryA,
        "a DLL Windows 98 SE has", "tests/imports/win98se-exports.txt"),
};

const char* SourceOf(const char* function)
{
    for (const Rule& rule : g_rules)
        if (std::strcmp(rule.function, function) == 0)
            return rule.source;
    return "";
}

Rule* FindRule(const char* dll, const char* function)
{
    for (Rule& rule : g_rules)
        if (::lstrcmpiA(rule.dll, dll) == 0 && std::strcmp(rule.function, function) == 0)
            return &rule;
    return nullptr;
}

void Patch(ULONG_PTR* slot, Rule* rule)
{
    void* current = reinterpret_cast<void*>(*slot);
    if (current == rule->checker) {
        rule->installed = true;
        return;
    }
    DWORD oldProtection = 0;
    if (!::VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &oldProtection))
        return;
    *rule->original = current;
    *slot = reinterpret_cast<ULONG_PTR>(rule->checker);
    ::VirtualProtect(slot, sizeof *slot, oldProtection, &oldProtection);
    rule->installed = true;
}

}  // namespace

int Install(HMODULE module, Sink sink)
{
    g_sink = sink;
    auto base = reinterpret_cast<BYTE*>(module);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0)
        return 0;
    int replaced = 0;
    auto descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
    for (; descriptor->Name != 0; ++descriptor) {
        const char* dll = reinterpret_cast<const char*>(base + descriptor->Name);
        // The names stay in the lookup table; the address table holds the
        // bound addresses once the loader is done.
        if (descriptor->OriginalFirstThunk == 0)
            continue;
        auto names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + descriptor->OriginalFirstThunk);
        auto slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            Rule* rule = FindRule(dll, reinterpret_cast<const char*>(byName->Name));
            if (rule == nullptr)
                continue;
            bool wasInstalled = rule->installed;
            Patch(reinterpret_cast<ULONG_PTR*>(&slots->u1.Function), rule);
            if (rule->installed && !wasInstalled)
                ++replaced;
        }
    }
    return replaced;
}

bool IsInstalled(const char* function)
{
    for (const Rule& rule : g_rules)
        if (std::strcmp(rule.function, function) == 0)
            return rule.installed;
    return false;
}

const char* FunctionAt(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= sizeof g_rules / sizeof g_rules[0])
        return nullptr;
    return g_rules[index].function;
}

}  // namespace Win9xRules
