// The settings dialog's rules between its check boxes. No windows.h: tested
// on the build host.
#ifndef TETHRA_DIALOGS_SETTINGSRULES_H
#define TETHRA_DIALOGS_SETTINGSRULES_H

// The boxes a rule reads or changes, as the dialog's fields hold them.
struct SettingsChecks {
    int initTray = 0;
    int initLock = 0;
    int unlockHide = 0;
    int unlockQuit = 0;
    int timeLock = 0;
};

enum class SettingsBox { InitTray, InitLock, UnlockHide, UnlockQuit, TimeLock };

// What a click does to the timed-lock mode buttons and pickers.
enum class TimedControls { Leave, Enable, Disable };

// After a click on box, whose new state checks already holds: starting in
// the tray and locking after start exclude each other, locking after start
// and the timed lock exclude each other, hiding and closing after an unlock
// exclude each other. Unchecking a box never changes another.
inline TimedControls ApplyClickRule(SettingsBox box, SettingsChecks* checks)
{
    switch (box) {
    case SettingsBox::InitTray:
        if (checks->initTray)
            checks->initLock = 0;
        return TimedControls::Leave;
    case SettingsBox::InitLock:
        if (!checks->initLock)
            return TimedControls::Leave;
        checks->initTray = 0;
        checks->timeLock = 0;
        return TimedControls::Disable;
    case SettingsBox::UnlockHide:
        if (checks->unlockHide)
            checks->unlockQuit = 0;
        return TimedControls::Leave;
    case SettingsBox::UnlockQuit:
        if (checks->unlockQuit)
            checks->unlockHide = 0;
        return TimedControls::Leave;
    case SettingsBox::TimeLock:
        if (!checks->timeLock)
            return TimedControls::Disable;
        checks->initLock = 0;
        return TimedControls::Enable;
    }
    return TimedControls::Leave;
}

#endif
