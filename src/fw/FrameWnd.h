// CFrameWnd: a top-level window built from a menu, icon and title resource,
// whose commands go on to the application object when it does not take them.
#ifndef TETHRA_FW_FRAMEWND_H
#define TETHRA_FW_FRAMEWND_H

#include "fw/Wnd.h"

class CFrameWnd : public CWnd {
public:
    static const CRuntimeClass classCFrameWnd;
    const CRuntimeClass* GetRuntimeClass() const override { return &classCFrameWnd; }

    // Creates the window with menu, icon and title string resourceId. The
    // window is not shown. context is accepted for the familiar signature
    // and must be null.
    BOOL LoadFrame(UINT resourceId, DWORD style, CWnd* parent, void* context);

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // Own map first, then the application object's.
    BOOL OnCmdMsg(UINT id) override;

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

protected:
    void OnSize();
    // The main window's end ends the message loop.
    void PostNcDestroy() override;
};

#endif
