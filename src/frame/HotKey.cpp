#include "frame/HotKey.h"

namespace {

// Virtual keys (the values of windows.h's VK_ names) that the hotkey rules
// and names need.
constexpr int kVkTab = 0x09;
constexpr int kVkReturn = 0x0D;
constexpr int kVkShift = 0x10;
constexpr int kVkControl = 0x11;
constexpr int kVkMenu = 0x12;
constexpr int kVkEscape = 0x1B;
constexpr int kVkSpace = 0x20;
constexpr int kVkDelete = 0x2E;
constexpr int kVkNumpad0 = 0x60;
constexpr int kVkDecimal = 0x6E;
constexpr int kVkF1 = 0x70;
constexpr int kVkF4 = 0x73;
constexpr int kVkF24 = 0x87;

// Keys that Alt alone takes everywhere.
constexpr unsigned char kAltKeys[] = {kVkTab, kVkEscape, kVkF4, kVkSpace, kVkReturn};

// RegisterHotKey's modifier bits.
constexpr unsigned kModAlt = 0x1;
constexpr unsigned kModControl = 0x2;
constexpr unsigned kModShift = 0x4;

// Key-cap names, the same in every language the program speaks: each
// name follows its virtual key's byte (all below '0', so they part names).
const char kKeyNames[] = "\x08" "Backspace" "\x09" "Tab" "\x0D" "Enter" "\x13" "Pause" "\x1B" "Esc"
                         "\x20" "Space" "\x21" "PgUp" "\x22" "PgDn" "\x23" "End" "\x24" "Home"
                         "\x25" "Left" "\x26" "Up" "\x27" "Right" "\x28" "Down" "\x2D" "Ins" "\x2E" "Del";
// The punctuation keys of the US layout, from VK_OEM_1 (0xBA) and from
// VK_OEM_4 (0xDB) on; the keypad's keys from VK_NUMPAD0 (0x60) on (0x6C,
// the separator, has no key on these keyboards).
const char kOemFirst[] = ";=,-./`";
const char kOemSecond[] = "[\\]'";
const char kKeypad[] = "0123456789*+?-./";

char* Append(char* out, const char* text)
{
    while (*text != '\0')
        *out++ = *text++;
    return out;
}

// The longest key text is 9 bytes ("Backspace").
char* AppendKey(char* out, int key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
        *out++ = static_cast<char>(key);
        return out;
    }
    if (key >= kVkNumpad0 && key <= kVkNumpad0 + 0x0F && key != 0x6C) {
        out = Append(out, "Num ");
        *out++ = kKeypad[key - kVkNumpad0];
        return out;
    }
    if (key >= kVkF1 && key <= kVkF24) {
        int number = key - kVkF1 + 1;
        *out++ = 'F';
        if (number >= 10)
            *out++ = static_cast<char>('0' + number / 10);
        *out++ = static_cast<char>('0' + number % 10);
        return out;
    }
    if (key >= 0xBA && key <= 0xC0) {
        *out++ = kOemFirst[key - 0xBA];
        return out;
    }
    if (key >= 0xDB && key <= 0xDE) {
        *out++ = kOemSecond[key - 0xDB];
        return out;
    }
    for (const char* p = kKeyNames; *p != '\0'; ++p) {
        if (*p != key)
            continue;
        while (*++p >= '0')
            *out++ = *p;
        return out;
    }
    // A key of no common name: its code, so the menu still shows a key.
    static const char kDigits[] = "0123456789ABCDEF";
    *out++ = '#';
    *out++ = kDigits[key >> 4];
    *out++ = kDigits[key & 0xF];
    return out;
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
    if (static_cast<unsigned>(word) > 0xFFFF || (modifiers & ~0x0F) != 0 || key < 0x08 ||
        (key >= kVkShift && key <= kVkMenu))
        return HotKeyCheck::Unusable;
    bool control = (modifiers & kHotKeyControl) != 0;
    bool alt = (modifiers & kHotKeyAlt) != 0;
    // Without Ctrl or Alt the key would be taken from every program's typing.
    if (!control && !alt)
        return HotKeyCheck::Refused;
    bool kept = false;
    if (control) {
        // Windows 9x keeps these: the task list (Num Del counts as Del
        // there), the Start menu.
        kept = alt ? key == kVkDelete || key == kVkDecimal : key == kVkEscape;
    } else {
        // Alt alone belongs to every program: task switching, closing a
        // window, its system menu, full screen, the menus' letters, and the
        // keypad's digits that type a character by its code. (0x3A to 0x40
        // are no keys.)
        kept = (key >= '0' && key <= 'Z') || (key >= kVkNumpad0 && key <= kVkNumpad0 + 9);
        for (int reserved : kAltKeys)
            kept = kept || key == reserved;
    }
    if (kept)
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

void HotKeyText(int word, char* out)
{
    if (word != 0) {
        int modifiers = HotKeyModifiers(word);
        if (modifiers & kHotKeyControl)
            out = Append(out, "Ctrl+");
        if (modifiers & kHotKeyShift)
            out = Append(out, "Shift+");
        if (modifiers & kHotKeyAlt)
            out = Append(out, "Alt+");
        out = AppendKey(out, HotKeyVirtualKey(word));
    }
    *out = '\0';
}
