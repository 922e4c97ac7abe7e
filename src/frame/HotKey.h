// The lock hotkey as the settings file and the hotkey control hold it: one
// word, the virtual key in the low byte and the control's HOTKEYF_ modifier
// bits in the high byte; 0 is no hotkey. No windows.h: tested on the build
// host.
#ifndef TETHRA_FRAME_HOTKEY_H
#define TETHRA_FRAME_HOTKEY_H

#include <cstddef>

// The hotkey control's modifier bits (HOTKEYF_SHIFT, _CONTROL, _ALT, _EXT).
constexpr int kHotKeyShift = 0x01;
constexpr int kHotKeyControl = 0x02;
constexpr int kHotKeyAlt = 0x04;
constexpr int kHotKeyExtended = 0x08;

constexpr int HotKeyWord(int modifiers, int virtualKey)
{
    return (modifiers << 8) | virtualKey;
}

constexpr int HotKeyVirtualKey(int word)
{
    return word & 0xFF;
}

constexpr int HotKeyModifiers(int word)
{
    return (word >> 8) & 0xFF;
}

// Ctrl+Alt+L.
constexpr int kDefaultHotKey = HotKeyWord(kHotKeyControl | kHotKeyAlt, 'L');

enum class HotKeyCheck {
    Allowed,
    None,      // 0: no hotkey at all
    Refused,   // kept by the system, or a key without Ctrl or Alt
    Unusable,  // no word the hotkey control can show
};

HotKeyCheck CheckHotKey(int word);

// The stored value as the hotkey to register: 0 stays none; a value the
// control cannot show, or one the settings dialog would refuse, reads as
// the default (a hand-edited bare letter would take that letter from every
// program).
int HotKeyFromStored(int stored);

// RegisterHotKey's MOD_ bits for the word's modifiers.
unsigned HotKeyRegisterModifiers(int word);

// How menus write the key: "Ctrl+Alt+L", "Ctrl+Shift+F5"; "" for none.
// out holds kHotKeyTextSize bytes; the terminated text goes there.
constexpr size_t kHotKeyTextSize = 32;
void HotKeyText(int word, char* out);

#endif
