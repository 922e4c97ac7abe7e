// What the main frame does once its window exists, decided from the start
// kind and the start-up options. Options are read lazily, in order, and only
// on the road that needs them.
#ifndef TETHRA_FRAME_STARTUPPLAN_H
#define TETHRA_FRAME_STARTUPPLAN_H

#include <functional>

#include "settings/SettingKeys.h"

struct StartupPlan {
    bool lock = false;           // run the Lock command
    bool armTimedLock = false;   // arm the timed lock
    bool showPanel = false;      // run the Show command (after arming)
};

using SettingReader = std::function<int(const SettingKey&)>;

StartupPlan DecideStartup(bool protectedStart, const SettingReader& read);

#endif
