// CFrameClientWnd: the main frame's plain, empty client window.
#ifndef TETHRA_FRAME_FRAMECLIENTWND_H
#define TETHRA_FRAME_FRAMECLIENTWND_H

#include "fw/Wnd.h"

class CFrameClientWnd : public CWnd {
public:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

protected:
    void OnPaint();
};

#endif
