// The records behind owner-drawn menu items: one per item, on the heap, so
// the pointer the menu holds as the item's data stays valid however the
// table grows. A record lives as long as some menu still holds it.
#ifndef TETHRA_CONTROLS_MENURECORDTABLE_H
#define TETHRA_CONTROLS_MENURECORDTABLE_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "controls/MenuText.h"

struct MenuItemRecord {
    int imageIndex;   // picture in the icon list; -1 none, -2 an item that opens a submenu
    int commandId;    // -2 for an item that opens a submenu
    char text[128];   // as the menu held it, cut to fit
    uintptr_t menu;   // the menu that holds the item
};

// Whether a menu still holds a record as an item's data. Unknown when the
// menu is there but an item could not be read: the record may be behind it.
enum class MenuHold { Held, NotHeld, Unknown };

// One item of a menu as the system answered for it.
struct MenuItemAnswer {
    bool answered;
    uintptr_t data;
};

// The decision for record from a menu's items: Held when an answered item
// carries it, NotHeld when the menu is gone or every item answered with
// other data, Unknown otherwise (count below 0: the count itself failed).
MenuHold DecideMenuHold(bool menuAlive, const MenuItemAnswer* items, int count, uintptr_t record);

class CMenuRecordTable {
public:
    CMenuRecordTable() = default;
    ~CMenuRecordTable();
    CMenuRecordTable(const CMenuRecordTable&) = delete;
    CMenuRecordTable& operator=(const CMenuRecordTable&) = delete;

    MenuItemRecord* Add(uintptr_t menu, const char* text, int commandId, int imageIndex, IsLeadByteFn isLeadByte);

    // The record an item's owner-draw data points to; null when the data is
    // not one of this table's records.
    MenuItemRecord* Find(uintptr_t itemData) const;

    // Deletes every record for which held answers NotHeld; a record it
    // cannot decide on stays. Returns how many went.
    using HeldFn = MenuHold (*)(const MenuItemRecord& record);
    size_t Reclaim(HeldFn held);

    size_t Count() const { return m_records.size(); }

private:
    std::vector<MenuItemRecord*> m_records;
};

#endif
