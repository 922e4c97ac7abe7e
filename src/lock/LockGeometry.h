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

#endif
