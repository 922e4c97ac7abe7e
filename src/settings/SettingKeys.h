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
inline constexpr SettingKey InitTray = {"Option", "InitTray", 0};
inline constexpr SettingKey InitLock = {"Option", "InitLock", 0};
inline constexpr SettingKey UnlockHide = {"Option", "UnlockHide", 0};
inline constexpr SettingKey UnlockQuit = {"Option", "UnlockQuit", 0};
inline constexpr SettingKey Protected = {"Option", "Protected", 0};
inline constexpr SettingKey TimeLock = {"Option", "TimeLock", 0};
// Lock after IdleMinutes without keyboard or mouse use.
inline constexpr SettingKey IdleLock = {"Option", "IdleLock", 0};
// The hotkey control's word; missing means Ctrl+Alt+L.
inline constexpr SettingKey HotKey = {"Option", "HotKey", 0x064C};
inline constexpr SettingKey TimeLockType = {"Time", "TimeLockType", 0};
inline constexpr SettingKey AfterTime = {"Time", "AfterTime", 0};
inline constexpr SettingKey OnTime = {"Time", "OnTime", 0};
inline constexpr SettingKey IdleMinutes = {"Time", "IdleMinutes", 10};
inline constexpr SettingKey Password = {"System", "Password", 0};
// Wrong passwords typed during the lock, and the time value of the last one.
inline constexpr SettingKey WrongPasswords = {"System", "WrongPasswords", 0};
inline constexpr SettingKey LastWrongPassword = {"System", "LastWrongPassword", 0};
inline constexpr SettingKey Top = {"Windows", "Top", -1};
inline constexpr SettingKey Left = {"Windows", "Left", -1};
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
