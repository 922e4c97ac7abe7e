// Menu item texts as the system code page stores them: "&X" marks the
// mnemonic X, "&&" is a plain '&', a tab starts the accelerator text, and a
// lead byte takes the next byte with it (which may look like ASCII).
#ifndef TETHRA_CONTROLS_MENUTEXT_H
#define TETHRA_CONTROLS_MENUTEXT_H

#include <cstddef>

// Whether a byte starts a double-byte character in the code page in use.
using IsLeadByteFn = bool (*)(unsigned char);

// Copies src into dst (dstSize bytes, at least 1), cut where it would not
// fit with its terminator, and never inside a double-byte character.
void CopyMenuText(char* dst, size_t dstSize, const char* src, IsLeadByteFn isLeadByte);

// The mnemonic byte of text, ASCII letters upper-cased; 0 when it has none
// or when it is a double-byte character.
unsigned char MenuMnemonic(const char* text, IsLeadByteFn isLeadByte);

// What a menu answers when the user types key: the item to choose, and
// whether to run it (the only item with that mnemonic) or only move the
// highlight to it (several share it; the next one after highlighted).
struct MenuCharAnswer {
    int position;  // -1: no item has that mnemonic
    bool execute;
};

// texts[i] is the text of the item at position i, or null for an item the
// system handles itself (separators, items that are not ours).
MenuCharAnswer AnswerMenuChar(const char* const* texts, int count, unsigned key, int highlighted,
                              IsLeadByteFn isLeadByte);

#endif
