// How the settings dialog and the timed lock read the stored AfterTime and
// OnTime. No windows.h: tested on the build host.
#ifndef TETHRA_SETTINGS_TIMEVALUE_H
#define TETHRA_SETTINGS_TIMEVALUE_H

#include <cstdint>

#include "fw/Time.h"

// 2000-01-01 01:00:00 local: what the settings dialog starts from, and so
// what its pickers show when nothing was ever stored.
inline CTime DefaultTimeValue()
{
    return CTime(2000, 1, 1, 1, 0, 0);
}

// A stored value as a time value. One that has no local date and time (a
// negative number in a hand-edited file; Windows' runtime converts none)
// reads as the default, for the pickers and the timed lock alike: the
// pickers show 01:00:00, a running-time lock comes after one hour and a
// clock-time lock at 01:00:00.
inline CTime StoredTimeValue(int32_t stored)
{
    CTime value(stored);
    LocalDateTime local;
    return value.GetLocalDateTime(&local) ? value : DefaultTimeValue();
}

#endif
