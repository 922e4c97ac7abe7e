// CBitmapStatic: a static control that paints a bitmap resource stretched
// over its client area, reloads it when the system colours change, and
// draws its window text transparently over it.
#ifndef TETHRA_CONTROLS_BITMAPSTATIC_H
#define TETHRA_CONTROLS_BITMAPSTATIC_H

#include <string>

#include "fw/Static.h"

class CBitmapStatic : public CStatic {
public:
    CBitmapStatic() = default;
    ~CBitmapStatic() override;

    // Load with LR_LOADMAP3DCOLORS, so the greys follow the 3-D colours.
    // On failure the previous bitmap stays; the resource is remembered anyway.
    BOOL SetBitmapResource(UINT id);
    BOOL SetBitmapResource(const char* name);
    // Takes ownership of bitmap; returns what GetObjectA returned.
    int AttachBitmap(HBITMAP bitmap);
    // Loads the remembered resource again. 0 when none was ever loaded.
    BOOL ReloadBitmap();

    void PreSubclassWindow() override;
    virtual void DrawItem(DRAWITEMSTRUCT* item);

    HBITMAP Bitmap() const { return m_hBitmap; }

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

protected:
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnReflectedDrawItem(WPARAM wParam, LPARAM lParam);
    void OnSysColorChange();

private:
    HBITMAP m_hBitmap = nullptr;
    BITMAP m_bitmapInfo = {};
    int m_nResourceId = -1;
    std::string m_strResourceName;
};

#endif
