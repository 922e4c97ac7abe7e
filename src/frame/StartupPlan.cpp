#include "frame/StartupPlan.h"

StartupPlan DecideStartup(bool protectedStart, const SettingReader& read)
{
    StartupPlan plan;
    if (protectedStart || IsOn(read(Key::InitLock))) {
        plan.lock = true;
        return plan;
    }
    plan.armTimedLock = IsOn(read(Key::TimeLock));
    plan.showPanel = OpensPanelAtStart(read(Key::InitTray));
    return plan;
}
