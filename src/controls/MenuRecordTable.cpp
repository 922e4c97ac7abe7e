#include "controls/MenuRecordTable.h"

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
        if (held(*record))
            m_records[kept++] = record;
        else
            delete record;
    }
    size_t gone = m_records.size() - kept;
    m_records.resize(kept);
    return gone;
}
