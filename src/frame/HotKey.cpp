#include "frame/HotKey.h"

namespace {

// Virtual keys (the values of windows.h's VK_ names) that the hotkey rules
// and names need.
constexpr int kVkTab = 0x09;
constexpr int kVkShift = 0x10;
constexpr int kVkControl = 0x11;
constexpr int kVkMenu = 0x12;
constexpr int kVkEscape = 0x1B;
constexpr int kVkDelete = 0x2E;
constexpr int kVkNumpad0 = 0x60;
constexpr int kVkF1 = 0x70;
constexpr int kVkF24 = 0x87;

// RegisterHotKey's modifier bits.
constexpr unsigned kModAlt = 0x1;
constexpr unsigned kModControl = 0x2;
constexpr unsigned kModShift = 0x4;

struct KeyName {
    unsigned char key;
    const char* name;
};

// Key-cap names, the same in every language the program speaks.
const KeyName kKeyNames[] = {
    {0x08, "Backspace"}, {kVkTab, "Tab"},  {0x0D, "Enter"},  {0x13, "Pause"},     {kVkEscape, "Esc"},
    {0x20, "Space"},     {0x21, "PgUp"},   {0x22, "PgDn"},   {0x23, "End"},       {0x24, "Home"},
    {0x25, "Left"},      {0x26, "Up"},     {0x27, "Right"},  {0x28, "Down"},      {0x2D, "Ins"},
    {kVkDelete, "Del"},  {0x6A, "Num *"},  {0x6B, "Num +"},  {0x6D, "Num -"},     {0x6E, "Num ."},
    {0x6F, "Num /"},     {0xBA, ";"},      {0xBB, "="},      {0xBC, ","},         {0xBD, "-"},
    {0xBE, "."},         {0xBF, "/"},      {0xC0, "`"},      {0xDB, "["},         {0xDC, "\\"},
    {0xDD, "]"},         {0xDE, "'"},
};

std::string KeyText(int key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::string(1, static_cast<char>(key));
    if (key >= kVkNumpad0 && key <= kVkNumpad0 + 9)
        return "Num " + std::string(1, static_cast<char>('0' + key - kVkNumpad0));
    if (key >= kVkF1 && key <= kVkF24) {
        int number = key - kVkF1 + 1;
        std::string text = "F";
        if (number >= 10)
            text += static_cast<char>('0' + number / 10);
        return text + static_cast<char>('0' + number % 10);
    }
    for (const KeyName& entry : kKeyNames) {
        if (entry.key == key)
            return entry.name;
    }
    // A key of no common name: its code, so the menu still shows a key.
    static const char kDigits[] = "0123456789ABCDEF";
    return std::string("#") + kDigits[key >> 4] + kDigits[key & 0xF];
}

}  // namespace

HotKeyCheck CheckHotKey(int word)
{
    if (word == 0)
        return HotKeyCheck::None;
    int key = HotKeyVirtualKey(word);
    int modifiers = HotKeyModifiers(word);
    // Mouse buttons and the modifier keys themselves are no keys the
    // control shows; neither are modifier bits it does not know.
    if (word < 0 || word > 0xFFFF || (modifiers & ~0x0F) != 0 || key < 0x08 ||
        (key >= kVkShift && key <= kVkMenu))
        return HotKeyCheck::Unusable;
    bool control = (modifiers & kHotKeyControl) != 0;
    bool alt = (modifiers & kHotKeyAlt) != 0;
    // Without Ctrl or Alt the key would be taken from every program's typing.
    if (!control && !alt)
        return HotKeyCheck::Refused;
    // Windows 9x keeps these: the task list, the Start menu, task switching.
    if ((control && alt && key == kVkDelete) || (control && !alt && key == kVkEscape) ||
        (alt && !control && (key == kVkTab || key == kVkEscape)))
        return HotKeyCheck::Refused;
    return HotKeyCheck::Allowed;
}

int HotKeyFromStored(int stored)
{
    HotKeyCheck check = CheckHotKey(stored);
    if (check == HotKeyCheck::Allowed || check == HotKeyCheck::None)
        return stored;
    return kDefaultHotKey;
}

unsigned HotKeyRegisterModifiers(int word)
{
    int modifiers = HotKeyModifiers(word);
    unsigned result = 0;
    if (modifiers & kHotKeyAlt)
        result |= kModAlt;
    if (modifiers & kHotKeyControl)
        result |= kModControl;
    if (modifiers & kHotKeyShift)
        result |= kModShift;
    return result;
}

std::string HotKeyText(int word)
{
    if (word == 0)
        return "";
    int modifiers = HotKeyModifiers(word);
    std::string text;
    if (modifiers & kHotKeyControl)
        text += "Ctrl+";
    if (modifiers & kHotKeyShift)
        text += "Shift+";
    if (modifiers & kHotKeyAlt)
        text += "Alt+";
    return text + KeyText(HotKeyVirtualKey(word));
}
