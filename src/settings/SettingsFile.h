// CSettingsFile: reads and writes one settings file through the platform's
// private-profile functions. Nothing is cached: every read goes to the file.
#ifndef TETHRA_SETTINGS_SETTINGSFILE_H
#define TETHRA_SETTINGS_SETTINGSFILE_H

#include <string>

#include "settings/SettingKeys.h"

class CSettingsFile {
public:
    // The longest text read: the stored form of the longest password the
    // dialogs take, 128 double-byte characters, is 256 bytes and so 512 hex
    // digits. A shorter read would cut it, and that password could never
    // be typed again.
    static constexpr unsigned kMaxTextChars = 512;

    explicit CSettingsFile(std::string path) : m_path(std::move(path)) {}

    const std::string& Path() const { return m_path; }

    // The key's value, or its default when the file, section or key is absent.
    int ReadInt(const SettingKey& key) const;
    // At most kMaxTextChars characters; "" when absent.
    std::string ReadText(const SettingKey& key) const;

    // Decimal text ("%ld"). TRUE when the platform wrote it.
    bool WriteInt(const SettingKey& key, long value) const;
    // "1" or "0".
    bool WriteFlag(const SettingKey& key, bool on) const;
    bool WriteText(const SettingKey& key, const std::string& text) const;
    // Deletes the key; reads then give its default.
    void Remove(const SettingKey& key) const;

private:
    std::string m_path;
};

#endif
