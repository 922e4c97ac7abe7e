#include "app/SettingsPath.h"

std::string SettingsPathFor(const std::string& modulePath)
{
    std::string::size_type lastSlash = modulePath.find_last_of('\\');
    std::string::size_type nameStart = lastSlash == std::string::npos ? 0 : lastSlash + 1;
    std::string::size_type dot = modulePath.find_last_of('.');
    std::string stem = (dot != std::string::npos && dot >= nameStart) ? modulePath.substr(0, dot) : modulePath;
    return stem + ".INI";
}
