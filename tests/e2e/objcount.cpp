// tethra_objcount.dll: counts the GDI and USER objects and the committed
// private memory of the process it is loaded into. Wine's GetGuiResources is a
// stub that answers 0 and its GetProcessMemoryInfo leaves PrivateUsage at 0
// for another process, so the probe loads this into the program under test
// and runs the counter there.
//
// In the process that owns an object, Wine accepts its handle's 16-bit table
// index with no generation bits. GDI: every index 1..0xFFFF whose
// GetObjectType is not 0. USER: every index 0x20..0xFFFE (USER handles are
// even numbers from 0x20) that IsMenu, GetIconInfo or CopyAcceleratorTable
// accepts; windows by enumeration, since IsWindow on an index owned by no
// local object asks the server, 32,000 times over.
#include "objcount.h"

#include <cstring>
#include <type_traits>

namespace {

const UINT_PTR kFirstUserHandle = 0x20;

BOOL CALLBACK CountChild(HWND, LPARAM counter)
{
    ++*reinterpret_cast<DWORD*>(counter);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND hWnd, LPARAM counter)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid != ::GetCurrentProcessId())
        return TRUE;
    ++*reinterpret_cast<DWORD*>(counter);
    ::EnumChildWindows(hWnd, CountChild, counter);
    return TRUE;
}

void CountUser(ObjectCounts* counts)
{
    ::EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&counts->windows));
    for (UINT_PTR index = kFirstUserHandle; index <= 0xFFFE; index += 2) {
        if (::IsMenu(reinterpret_cast<HMENU>(index))) {
            ++counts->menus;
            continue;
        }
        ICONINFO info;
        if (::GetIconInfo(reinterpret_cast<HICON>(index), &info)) {
            // GetIconInfo hands out copies of the icon's bitmaps.
            if (info.hbmMask != nullptr)
                ::DeleteObject(info.hbmMask);
            if (info.hbmColor != nullptr)
                ::DeleteObject(info.hbmColor);
            ++counts->icons;
            continue;
        }
        if (::CopyAcceleratorTableA(reinterpret_cast<HACCEL>(index), nullptr, 0) > 0)
            ++counts->accelerators;
    }
    counts->user = counts->windows + counts->menus + counts->icons + counts->accelerators;
}

void CountGdi(ObjectCounts* counts)
{
    bool stock[0x10000] = {};
    for (int i = 0; i < 32; ++i) {
        HGDIOBJ object = ::GetStockObject(i);
        if (object != nullptr)
            stock[LOWORD(reinterpret_cast<UINT_PTR>(object))] = true;
    }
    for (UINT_PTR index = 1; index <= 0xFFFF; ++index) {
        DWORD type = ::GetObjectType(reinterpret_cast<HGDIOBJ>(index));
        if (type == 0 || stock[index])
            continue;
        ++counts->gdi;
        if (type < 16)
            ++counts->gdiByType[type];
    }
}

ULONGLONG CommittedPrivateBytes()
{
    ULONGLONG total = 0;
    MEMORY_BASIC_INFORMATION region;
    const BYTE* address = nullptr;
    while (::VirtualQuery(address, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
        const BYTE* next = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize;
        if (next <= address)
            break;
        address = next;
    }
    return total;
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI TethraCountObjects(LPVOID record);
// The probe starts the counter with CreateRemoteThread. On i686 a calling
// convention other than a thread routine's would wreck the stack there.
static_assert(std::is_same_v<decltype(&TethraCountObjects), LPTHREAD_START_ROUTINE>);

DWORD WINAPI TethraCountObjects(LPVOID record)
{
    ObjectCounts counts;
    std::memset(&counts, 0, sizeof counts);
    // USER first: its icon test makes and deletes bitmaps.
    CountUser(&counts);
    CountGdi(&counts);
    counts.privateBytes = CommittedPrivateBytes();
    std::memcpy(record, &counts, sizeof counts);
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
