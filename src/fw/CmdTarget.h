// CCmdTarget: an object that owns a message map and can take commands.
//
// A message map is a plain table of {message, command id, handler} rows, one
// table per class, chained to the base class's table. Lookup walks the most
// derived table first; the first matching row wins.
#ifndef TETHRA_FW_CMDTARGET_H
#define TETHRA_FW_CMDTARGET_H

#include <windows.h>

#include "fw/Object.h"

class CCmdTarget;

// The handler shapes a row can carry. Each shape unpacks its message's
// arguments before the call, so handlers take typed parameters.
enum class HandlerShape {
    Command,   // void ()                      WM_COMMAND with the row's id
    Void,      // void ()                      any message, arguments unused
    Raw,       // LRESULT (WPARAM, LPARAM)      any message, arguments as sent
    Create,    // int (CREATESTRUCTA*)         WM_CREATE
    Mouse,     // void (UINT flags, POINT pt)  mouse messages, signed client coordinates
    Timer,     // void (UINT_PTR id)           WM_TIMER
    Focus,     // void (HWND other)            WM_SETFOCUS, WM_KILLFOCUS
    Notify,    // void (NMHDR*, LRESULT*)      WM_NOTIFY with the row's id and code
};

using GenericHandler = void (CCmdTarget::*)();

struct MessageMapEntry {
    UINT message;
    UINT id;  // control or command id for WM_COMMAND and WM_NOTIFY rows, else 0
    HandlerShape shape;
    GenericHandler handler;
    UINT code = 0;  // the notification code of a WM_NOTIFY row
};

struct MessageMap {
    const MessageMap* base;
    const MessageMapEntry* entries;
    size_t count;
};

// Row builders: each takes a member function of the class that owns the
// table and stores it in the common form the dispatcher casts back from.
template <class T>
MessageMapEntry OnCommandRow(UINT id, void (T::*handler)())
{
    return {WM_COMMAND, id, HandlerShape::Command, static_cast<GenericHandler>(handler)};
}

template <class T>
MessageMapEntry OnMessageRow(UINT message, void (T::*handler)())
{
    return {message, 0, HandlerShape::Void, static_cast<GenericHandler>(handler)};
}

template <class T>
MessageMapEntry OnMessageRow(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM))
{
    using Pmf = LRESULT (CCmdTarget::*)(WPARAM, LPARAM);
    return {message, 0, HandlerShape::Raw, reinterpret_cast<GenericHandler>(static_cast<Pmf>(handler))};
}

template <class T>
MessageMapEntry OnCreateRow(int (T::*handler)(CREATESTRUCTA*))
{
    using Pmf = int (CCmdTarget::*)(CREATESTRUCTA*);
    return {WM_CREATE, 0, HandlerShape::Create, reinterpret_cast<GenericHandler>(static_cast<Pmf>(handler))};
}

template <class T>
MessageMapEntry OnMouseRow(UINT message, void (T::*handler)(UINT, POINT))
{
    using Pmf = void (CCmdTarget::*)(UINT, POINT);
    return {message, 0, HandlerShape::Mouse, reinterpret_cast<GenericHandler>(static_cast<Pmf>(handler))};
}

template <class T>
MessageMapEntry OnTimerRow(void (T::*handler)(UINT_PTR))
{
    using Pmf = void (CCmdTarget::*)(UINT_PTR);
    return {WM_TIMER, 0, HandlerShape::Timer, reinterpret_cast<GenericHandler>(static_cast<Pmf>(handler))};
}

template <class T>
MessageMapEntry OnFocusRow(UINT message, void (T::*handler)(HWND))
{
    using Pmf = void (CCmdTarget::*)(HWND);
    return {message, 0, HandlerShape::Focus, reinterpret_cast<GenericHandler>(static_cast<Pmf>(handler))};
}

template <class T>
MessageMapEntry OnNotifyRow(UINT id, UINT code, void (T::*handler)(NMHDR*, LRESULT*))
{
    using Pmf = void (CCmdTarget::*)(NMHDR*, LRESULT*);
    return {WM_NOTIFY, id, HandlerShape::Notify, reinterpret_cast<GenericHandler>(static_cast<Pmf>(handler)), code};
}

class CCmdTarget : public CObject {
public:
    static const MessageMap messageMap;
    virtual const MessageMap* GetMessageMap() const { return &messageMap; }

    // Offers command id to this object's map. Returns TRUE when a row took it.
    virtual BOOL OnCmdMsg(UINT id);

    // The row for message (and id, for WM_COMMAND; id and code, for
    // WM_NOTIFY) in this object's maps, or null.
    const MessageMapEntry* FindEntry(UINT message, UINT id, UINT code = 0) const;

    // Calls the handler of row with the message's arguments; *result gets
    // what the window procedure should return.
    void Invoke(const MessageMapEntry& row, WPARAM wParam, LPARAM lParam, LRESULT* result);
};

#endif
