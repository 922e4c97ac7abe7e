#include "fw/CmdTarget.h"

#include <windowsx.h>

const MessageMap CCmdTarget::messageMap = {nullptr, nullptr, 0};

const MessageMapEntry* CCmdTarget::FindEntry(UINT message, UINT id, UINT code) const
{
    for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base) {
        for (size_t i = 0; i < map->count; ++i) {
            const MessageMapEntry& row = map->entries[i];
            if (row.message != message)
                continue;
            if (message == WM_COMMAND && row.id != id)
                continue;
            if (message == WM_NOTIFY && (row.id != id || row.code != code))
                continue;
            return &row;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT id)
{
    const MessageMapEntry* row = FindEntry(WM_COMMAND, id);
    if (row == nullptr)
        return FALSE;
    LRESULT ignored = 0;
    Invoke(*row, 0, 0, &ignored);
    return TRUE;
}

void CCmdTarget::Invoke(const MessageMapEntry& row, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    switch (row.shape) {
    case HandlerShape::Command:
    case HandlerShape::Void:
        (this->*row.handler)();
        return;
    case HandlerShape::Raw: {
        auto pmf = reinterpret_cast<LRESULT (CCmdTarget::*)(WPARAM, LPARAM)>(row.handler);
        *result = (this->*pmf)(wParam, lParam);
        return;
    }
    case HandlerShape::Create: {
        auto pmf = reinterpret_cast<int (CCmdTarget::*)(CREATESTRUCTA*)>(row.handler);
        *result = (this->*pmf)(reinterpret_cast<CREATESTRUCTA*>(lParam));
        return;
    }
    case HandlerShape::Mouse: {
        auto pmf = reinterpret_cast<void (CCmdTarget::*)(UINT, POINT)>(row.handler);
        // GET_X_LPARAM keeps the sign: points left of or above the client area are negative.
        POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        (this->*pmf)(static_cast<UINT>(wParam), pt);
        return;
    }
    case HandlerShape::Timer: {
        auto pmf = reinterpret_cast<void (CCmdTarget::*)(UINT_PTR)>(row.handler);
        (this->*pmf)(static_cast<UINT_PTR>(wParam));
        return;
    }
    case HandlerShape::Focus: {
        auto pmf = reinterpret_cast<void (CCmdTarget::*)(HWND)>(row.handler);
        (this->*pmf)(reinterpret_cast<HWND>(wParam));
        return;
    }
    case HandlerShape::Notify: {
        auto pmf = reinterpret_cast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(row.handler);
        (this->*pmf)(reinterpret_cast<NMHDR*>(lParam), result);
        return;
    }
    }
}
