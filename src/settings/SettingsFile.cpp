#include "settings/SettingsFile.h"

#include <windows.h>

int CSettingsFile::ReadInt(const SettingKey& key) const
{
    return static_cast<int>(::GetPrivateProfileIntA(key.section, key.name, key.defaultValue, m_path.c_str()));
}

std::string CSettingsFile::ReadText(const SettingKey& key) const
{
    char buffer[kMaxTextChars + 1] = "";
    DWORD length = ::GetPrivateProfileStringA(key.section, key.name, "", buffer, sizeof buffer, m_path.c_str());
    return std::string(buffer, length);
}

bool CSettingsFile::WriteInt(const SettingKey& key, long value) const
{
    char text[16];
    ::wsprintfA(text, "%ld", value);
    return WriteText(key, text);
}

bool CSettingsFile::WriteFlag(const SettingKey& key, bool on) const
{
    return WriteText(key, on ? "1" : "0");
}

bool CSettingsFile::WriteText(const SettingKey& key, const std::string& text) const
{
    return ::WritePrivateProfileStringA(key.section, key.name, text.c_str(), m_path.c_str()) != FALSE;
}

void CSettingsFile::Remove(const SettingKey& key) const
{
    ::WritePrivateProfileStringA(key.section, key.name, nullptr, m_path.c_str());
}
