// CWnd: a C++ object attached to one window handle.
//
// The object pointer lives in GWLP_USERDATA from WM_NCCREATE (windows we
// create) or from subclassing (dialogs and their controls) until
// WM_NCDESTROY, when the object lets go of the handle. Every window's
// procedure is StaticWndProc; what a window does not handle goes to the
// procedure it had before (DefWindowProcA for windows we create).
//
// Any program can send WM_DESTROY and WM_NCDESTROY to any window. They are
// acted on only while the system really destroys the window, which a
// thread-wide hook learns from DestroyWindow itself; forged ones are
// dropped, or a window still on the screen would lose its object and a
// modal run over it would end.
#ifndef TETHRA_FW_WND_H
#define TETHRA_FW_WND_H

#include <windows.h>

#include "fw/CmdTarget.h"

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    // Creates the window. lpszClassName may be null: PreCreateWindow then
    // chooses a class. lpParam of the window is this object.
    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                  const RECT& rect, CWnd* parent, UINT_PTR idOrMenu);
    BOOL Create(const char* className, const char* windowName, DWORD style, const RECT& rect,
                CWnd* parent, UINT id);
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);

    // Attaches this object to an existing window by replacing its procedure.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    virtual void PreSubclassWindow() {}

    BOOL DestroyWindow();

    // The message being dispatched, handed to its default processing.
    LRESULT Default();

    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags);

    static CWnd* FromHandle(HWND hWnd);

    // WM_COMMAND's arguments name a command: a menu item, an accelerator or
    // a button's click. Other control notifications are no commands.
    static bool IsCommandMessage(WPARAM wParam, LPARAM lParam);

    // The procedure of every window that has an object behind it.
    static LRESULT CALLBACK StaticWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Looks message up in the map (commands through OnCmdMsg). TRUE when handled.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs after the window is gone and the object has let go of it.
    virtual void PostNcDestroy() {}

    void Attach(HWND hWnd);
    void Detach();

private:
    static BOOL CALLBACK SendSysColorChange(HWND child, LPARAM lParam);
    static LRESULT CALLBACK DestroyHook(int code, WPARAM wParam, LPARAM lParam);
    static BOOL CALLBACK MarkDestroying(HWND hWnd, LPARAM lParam);

    WNDPROC m_pfnSuper = nullptr;
    // Set when DestroyWindow has begun on this window or one it lies within.
    bool m_bDestroying = false;
};

#endif
