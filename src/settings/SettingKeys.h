// The settings file's keys, their defaults, and the tests readers apply.
// No windows.h here: the rules are tested on the build host.
#ifndef TETHRA_SETTINGS_SETTINGKEYS_H
#define TETHRA_SETTINGS_SETTINGKEYS_H

struct SettingKey {
    const char* section;
    const char* name;
    int defaultValue;
};

namespace Key {
constexpr SettingKey InitTray = {"Option", "InitTray", 0};
constexpr SettingKey InitLock = {"Option", "InitLock", 0};
constexpr SettingKey UnlockHide = {"Option", "UnlockHide", 0};
constexpr SettingKey UnlockQuit = {"Option", "UnlockQuit", 0};
constexpr SettingKey Protected = {"Option", "Protected", 0};
constexpr SettingKey TimeLock = {"Option", "TimeLock", 0};
// Lock after IdleMinutes without keyboard or mouse use.
constexpr SettingKey IdleLock = {"Option", "IdleLock", 0};
// The hotkey control's word; missing means Ctrl+Alt+L.
constexpr SettingKey HotKey = {"Option", "HotKey", 0x064C};
constexpr SettingKey TimeLockType = {"Time", "TimeLockType", 0};
constexpr SettingKey AfterTime = {"Time", "AfterTime", 0};
constexpr SettingKey OnTime = {"Time", "OnTime", 0};
constexpr SettingKey IdleMinutes = {"Time", "IdleMinutes", 10};
constexpr SettingKey Password = {"System", "Password", 0};
// Wrong passwords typed during the lock, and the time value of the last one.
constexpr SettingKey WrongPasswords = {"System", "WrongPasswords", 0};
constexpr SettingKey LastWrongPassword = {"System", "LastWrongPassword", 0};
constexpr SettingKey Top = {"Windows", "Top", -1};
constexpr SettingKey Left = {"Windows", "Left", -1};
}  // namespace Key

// Flags the program acts on count as on only when they read exactly 1.
constexpr bool IsOn(int flag)
{
    return flag == 1;
}

// "InitTray" opens the panel at start only when it reads 0.
constexpr bool OpensPanelAtStart(int initTray)
{
    return initTray == 0;
}

// A checkbox state for a stored flag: 0 to 2 as they are (2 is the
// indeterminate state), anything else unchecked.
constexpr int CheckStateFor(int flag)
{
    return (flag >= 0 && flag <= 2) ? flag : 0;
}

// The saved panel position counts only when neither coordinate is -1.
constexpr bool HasSavedPosition(int top, int left)
{
    return top != -1 && left != -1;
}

#endif
