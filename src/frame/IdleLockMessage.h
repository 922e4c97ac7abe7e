// Sent by the settings dialog to the main frame after its OK has written the
// options: the idle lock starts, stops or takes its new minutes at once.
#ifndef TETHRA_FRAME_IDLELOCKMESSAGE_H
#define TETHRA_FRAME_IDLELOCKMESSAGE_H

#include <windows.h>

constexpr UINT WM_IDLELOCKCHANGED = WM_APP + 3;

#endif
