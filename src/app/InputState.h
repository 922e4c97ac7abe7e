// The desktop's input as one look of the platform sees it. No windows.h:
// the idle lock's arithmetic that reads it is tested on the build host.
#ifndef TETHRA_APP_INPUTSTATE_H
#define TETHRA_APP_INPUTSTATE_H

#include <cstdint>

struct InputState {
    int32_t x = 0, y = 0;  // the pointer
    // One bit a virtual key (the mouse buttons included): down now.
    uint32_t down[8] = {};
    // Some key went down since the last look, even if it is up again.
    bool pressedSince = false;
};

#endif
