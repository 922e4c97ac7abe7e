#include "controls/MenuRecordTable.h"

MenuHold DecideMenuHold(bool menuAlive, const MenuItemAnswer* items, int count, uintptr_t record)
{
    if (!menuAlive)
        return MenuHold::NotHeld;
    if (count < 0)
        return MenuHold::Unknown;
    bool allAnswered = true;
    for (int i = 0; i < count; ++i) {
        if (!items[i].answered)
            allAnswered = false;
        else if (items[i].data == record)
            return MenuHold::Held;
    }
    return allAnswered ? MenuHold::NotHeld : MenuHold::Unknown;
}

CMenuRecordTable::~CMenuRecordTable()
{
    for (MenuItemRecord* record : m_records)
        delete record;
}

MenuItemRecord* CMenuRecordTable::Add(uintptr_t menu, const char* text, int commandId, int imageIndex,
                                      IsLeadByteFn isLeadByte)
{
    auto* record = new MenuItemRecord;
    record->imageIndex = imageIndex;
    record->commandId = commandId;
    CopyMenuText(record->text, sizeof record->text, text, isLeadByte);
    record->menu = menu;
    m_records.push_back(record);
    return record;
}

MenuItemRecord* CMenuRecordTable::Find(uintptr_t itemData) const
{
    for (MenuItemRecord* record : m_records) {
        if (reinterpret_cast<uintptr_t>(record) == itemData)
            return record;
    }
    return nullptr;
}

size_t CMenuRecordTable::Reclaim(HeldFn held)
{
    size_t kept = 0;
    for (MenuItemRecord* record : m_records) {
        if (held(*record) != MenuHold::NotHeld)
            m_records[kept++] = record;
        else
            delete record;
    }
    size_t gone = m_records.size() - kept;
    m_records.resize(kept);
    return gone;
}
