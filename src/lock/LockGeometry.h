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

// Where window goes so that it lies wholly inside area (the screen less the
// taskbar): moved the least distance, size kept. A window wider or taller
// than area keeps its left or top edge on area's, so its own top-left, where
// the unlock button's row starts, stays reachable.
constexpr LockRect MovedInside(LockRect window, LockRect area)
{
    int32_t dx = 0;
    int32_t dy = 0;
    if (window.right > area.right)
        dx = area.right - window.right;
    if (window.left + dx < area.left)
        dx = area.left - window.left;
    if (window.bottom > area.bottom)
        dy = area.bottom - window.bottom;
    if (window.top + dy < area.top)
        dy = area.top - window.top;
    return {window.left + dx, window.top + dy, window.right + dx, window.bottom + dy};
}

#endif
