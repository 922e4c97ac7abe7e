// Where the settings file lives: beside the executable, named after it.
#ifndef TETHRA_APP_SETTINGSPATH_H
#define TETHRA_APP_SETTINGSPATH_H

#include <string>

// "C:\TOOLS\lock.exe" -> "C:\TOOLS\lock.INI". Only a dot after the last
// backslash starts the extension; a name without one gets ".INI" appended,
// so a dotted folder name is never cut.
std::string SettingsPathFor(const std::string& modulePath);

#endif
