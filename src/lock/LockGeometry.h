// Where the pointer is held while the panel is locked. No windows.h: tested
// on the build host.
#ifndef TETHRA_LOCK_LOCKGEOMETRY_H
#define TETHRA_LOCK_LOCKGEOMETRY_H

#include <cstdint>

struct LockRect {
    int32_t left, top, right, bottom;
};

struct LockPoint {
    int32_t x, y;
};

// The panel's window rectangle, 12 pixels in from every side.
constexpr LockRect ConfinementFor(LockRect window)
{
    return {window.left + 12, window.top + 12, window.right - 12, window.bottom - 12};
}

// The middle of r; halves truncate toward zero, as C division does.
constexpr LockPoint CentreOf(LockRect r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Where an edge from start, extent long, goes to lie inside [low, high]:
// moved the least distance; an extent longer than the range keeps its start
// at low. Distances are unsigned, so no value, however far out a stored or
// sent place is, can overflow.
constexpr int32_t EdgeInside(int32_t start, uint32_t extent, int32_t low, int32_t high)
{
    if (high < low || extent >= static_cast<uint32_t>(high) - static_cast<uint32_t>(low))
        return low;
    // In (low, high].
    auto last = static_cast<int32_t>(static_cast<uint32_t>(high) - extent);
    return start > last ? last : start < low ? low : start;
}

// The length from low to high, right as long as high >= low.
constexpr uint32_t Extent(int32_t low, int32_t high)
{
    return static_cast<uint32_t>(high) - static_cast<uint32_t>(low);
}

// Where a window width x height put at (left, top) goes so that it lies
// wholly inside area (the screen less the taskbar): moved the least
// distance, size kept. A window wider or taller than area keeps its left or
// top edge on area's, so its own top-left, where the unlock button's row
// starts, stays reachable.
constexpr LockPoint PlacedInside(int32_t left, int32_t top, uint32_t width, uint32_t height, LockRect area)
{
    return {EdgeInside(left, width, area.left, area.right), EdgeInside(top, height, area.top, area.bottom)};
}

#endif
