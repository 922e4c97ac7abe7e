// Sent by the settings dialog to the main frame: give up the current lock
// hotkey and take the one in wParam (the hotkey control's word; 0 is none).
// The answer is nonzero only when another program holds that key; the frame
// then keeps the key it had. A window that does not know the message answers
// 0: it has no hotkey to change.
#ifndef TETHRA_FRAME_LOCKHOTKEYMESSAGE_H
#define TETHRA_FRAME_LOCKHOTKEYMESSAGE_H

#include <windows.h>

constexpr UINT WM_SETLOCKHOTKEY = WM_APP + 2;

#endif
