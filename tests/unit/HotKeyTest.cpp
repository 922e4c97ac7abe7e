#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/HotKey.h"
#include "settings/SettingKeys.h"

namespace {

std::string Text(int word)
{
    char text[kHotKeyTextSize];
    std::memset(text, 'X', sizeof text);
    HotKeyText(word, text);
    return text;
}

const int kCtrlAlt = kHotKeyControl | kHotKeyAlt;

TEST(HotKey, StoredValuesReadAsTheKeyToRegister)
{
    EXPECT_EQ(Key::HotKey.defaultValue, kDefaultHotKey);
    EXPECT_EQ(HotKeyFromStored(0), 0);
    EXPECT_EQ(HotKeyFromStored(HotKeyWord(kCtrlAlt, 'K')), HotKeyWord(kCtrlAlt, 'K'));
    EXPECT_EQ(HotKeyFromStored(HotKeyWord(kHotKeyControl | kHotKeyShift, 0x70)),
              HotKeyWord(kHotKeyControl | kHotKeyShift, 0x70));
    // The extended-key bit is the control's own and is kept.
    EXPECT_EQ(HotKeyFromStored(HotKeyWord(kCtrlAlt | kHotKeyExtended, 0x24)),
              HotKeyWord(kCtrlAlt | kHotKeyExtended, 0x24));

    // Values the control cannot show: the default.
    for (int stored : {-1, -1612, 0x10000, 0x1064C, HotKeyWord(0x10 | kCtrlAlt, 'L'), HotKeyWord(kCtrlAlt, 0),
                       HotKeyWord(kCtrlAlt, 0x01), HotKeyWord(kCtrlAlt, 0x11), HotKeyWord(kCtrlAlt, 0x12)})
        EXPECT_EQ(HotKeyFromStored(stored), kDefaultHotKey) << stored;
    // Keys the dialog refuses: the default too.
    for (int stored : {int{'L'}, HotKeyWord(kHotKeyShift, 'L'), HotKeyWord(kCtrlAlt, 0x2E),
                       HotKeyWord(kHotKeyAlt, 0x73), HotKeyWord(kHotKeyAlt, 'F'), HotKeyWord(kCtrlAlt, 0x6E)})
        EXPECT_EQ(HotKeyFromStored(stored), kDefaultHotKey) << stored;
}

TEST(HotKey, KeysKeptBySystemAndKeysWithoutCtrlOrAltAreRefused)
{
    EXPECT_EQ(CheckHotKey(0), HotKeyCheck::None);
    EXPECT_EQ(CheckHotKey(kDefaultHotKey), HotKeyCheck::Allowed);
    EXPECT_EQ(CheckHotKey(HotKeyWord(kHotKeyAlt, 0x70)), HotKeyCheck::Allowed);
    EXPECT_EQ(CheckHotKey(HotKeyWord(kHotKeyAlt | kHotKeyShift, 0x7B)), HotKeyCheck::Allowed);
    EXPECT_EQ(CheckHotKey(HotKeyWord(kCtrlAlt, 0x73)), HotKeyCheck::Allowed);
    EXPECT_EQ(CheckHotKey(HotKeyWord(kCtrlAlt, '7')), HotKeyCheck::Allowed);
    EXPECT_EQ(CheckHotKey(HotKeyWord(kCtrlAlt, 0x20)), HotKeyCheck::Allowed);
    EXPECT_EQ(CheckHotKey(HotKeyWord(kHotKeyControl, 0x2E)), HotKeyCheck::Allowed);
    EXPECT_EQ(CheckHotKey(HotKeyWord(kHotKeyAlt, 0x6A)), HotKeyCheck::Allowed) << "Alt+Num *";
    EXPECT_EQ(CheckHotKey(HotKeyWord(kHotKeyControl, 0x7B)), HotKeyCheck::Allowed);
    EXPECT_EQ(CheckHotKey(HotKeyWord(kCtrlAlt, 0x1B)), HotKeyCheck::Allowed);

    // Ctrl+Alt+Del (with or without Shift), Ctrl+Esc, Alt+Tab, Alt+Shift+Tab, Alt+Esc.
    for (int word : {HotKeyWord(kCtrlAlt, 0x2E), HotKeyWord(kCtrlAlt | kHotKeyShift, 0x2E),
                     HotKeyWord(kCtrlAlt | kHotKeyExtended, 0x2E), HotKeyWord(kHotKeyControl, 0x1B),
                     HotKeyWord(kHotKeyAlt, 0x09), HotKeyWord(kHotKeyAlt | kHotKeyShift, 0x09),
                     HotKeyWord(kHotKeyAlt, 0x1B)})
        EXPECT_EQ(CheckHotKey(word), HotKeyCheck::Refused) << word;
    // Keys every program relies on: Alt+F4, Alt+Space, Alt+Enter (the
    // keypad's too), Alt with a letter, a digit or a keypad digit (with or
    // without Shift), and Ctrl+Alt+Num Del, which Windows 9x takes for
    // Ctrl+Alt+Del.
    for (int word : {HotKeyWord(kHotKeyAlt, 0x73), HotKeyWord(kHotKeyAlt | kHotKeyShift, 0x73),
                     HotKeyWord(kHotKeyAlt, 0x20), HotKeyWord(kHotKeyAlt, 0x0D),
                     HotKeyWord(kHotKeyAlt | kHotKeyExtended, 0x0D), HotKeyWord(kHotKeyAlt, 'A'),
                     HotKeyWord(kHotKeyAlt, 'Z'), HotKeyWord(kHotKeyAlt | kHotKeyShift, 'L'),
                     HotKeyWord(kHotKeyAlt, '0'), HotKeyWord(kHotKeyAlt, '9'), HotKeyWord(kHotKeyAlt, 0x60),
                     HotKeyWord(kHotKeyAlt, 0x69), HotKeyWord(kCtrlAlt, 0x6E),
                     HotKeyWord(kCtrlAlt | kHotKeyShift, 0x6E)})
        EXPECT_EQ(CheckHotKey(word), HotKeyCheck::Refused) << word;
    // A bare key, with Shift alone, or with only the extended bit.
    for (int word : {int{'L'}, 0x70, HotKeyWord(kHotKeyShift, 'L'), HotKeyWord(kHotKeyExtended, 0x24)})
        EXPECT_EQ(CheckHotKey(word), HotKeyCheck::Refused) << word;
    EXPECT_EQ(CheckHotKey(HotKeyWord(kCtrlAlt, 0x10)), HotKeyCheck::Unusable);
}

TEST(HotKey, ModifiersAndMenuText)
{
    // MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4: not the control's order.
    EXPECT_EQ(HotKeyRegisterModifiers(kDefaultHotKey), 0x3u);
    EXPECT_EQ(HotKeyRegisterModifiers(HotKeyWord(kHotKeyShift | kHotKeyAlt | kHotKeyExtended, 'A')), 0x5u);
    EXPECT_EQ(HotKeyRegisterModifiers(HotKeyWord(kHotKeyControl, 'A')), 0x2u);

    EXPECT_EQ(Text(0), "");
    EXPECT_EQ(Text(kDefaultHotKey), "Ctrl+Alt+L");
    EXPECT_EQ(Text(HotKeyWord(kHotKeyControl | kHotKeyShift | kHotKeyAlt, '7')), "Ctrl+Shift+Alt+7");
    EXPECT_EQ(Text(HotKeyWord(kHotKeyAlt, 0x70)), "Alt+F1");
    EXPECT_EQ(Text(HotKeyWord(kHotKeyControl, 0x87)), "Ctrl+F24");
    EXPECT_EQ(Text(HotKeyWord(kHotKeyControl, 0x79)), "Ctrl+F10");
    EXPECT_EQ(Text(HotKeyWord(kCtrlAlt | kHotKeyExtended, 0x24)), "Ctrl+Alt+Home");
    EXPECT_EQ(Text(HotKeyWord(kCtrlAlt, 0x63)), "Ctrl+Alt+Num 3");
    EXPECT_EQ(Text(HotKeyWord(kCtrlAlt, 0xBA)), "Ctrl+Alt+;");
    EXPECT_EQ(Text(HotKeyWord(kCtrlAlt, 0x20)), "Ctrl+Alt+Space");
    EXPECT_EQ(Text(HotKeyWord(kCtrlAlt, 0x6B)), "Ctrl+Alt+Num +");
    EXPECT_EQ(Text(HotKeyWord(kCtrlAlt, 0xDE)), "Ctrl+Alt+'");
    EXPECT_EQ(Text(HotKeyWord(kCtrlAlt, 0x2E)), "Ctrl+Alt+Del");
    // The longest text fits the buffer.
    EXPECT_EQ(Text(HotKeyWord(kHotKeyControl | kHotKeyShift | kHotKeyAlt, 0x08)), "Ctrl+Shift+Alt+Backspace");
    // A key without a common name shows its code.
    EXPECT_EQ(Text(HotKeyWord(kCtrlAlt, 0x92)), "Ctrl+Alt+#92");
}

}  // namespace
