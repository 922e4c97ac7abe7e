// CImageList: owns one common-controls image list and destroys it.
#ifndef TETHRA_FW_IMAGELIST_H
#define TETHRA_FW_IMAGELIST_H

#include <windows.h>
#include <commctrl.h>

class CImageList {
public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // Replaces any list held before.
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow)
    {
        DeleteImageList();
        m_hImageList = ::ImageList_Create(cx, cy, flags, initial, grow);
        return m_hImageList != nullptr;
    }

    // Cuts bitmap into pictures of the list's width; mask is the colour
    // that becomes transparent. The index of the first picture, or -1.
    int AddMasked(HBITMAP bitmap, COLORREF mask) { return ::ImageList_AddMasked(m_hImageList, bitmap, mask); }

    int GetImageCount() const { return m_hImageList != nullptr ? ::ImageList_GetImageCount(m_hImageList) : 0; }

    BOOL Draw(HDC dc, int image, int x, int y, UINT style) const
    {
        return ::ImageList_Draw(m_hImageList, image, dc, x, y, style);
    }

    BOOL DeleteImageList()
    {
        if (m_hImageList == nullptr)
            return FALSE;
        ::ImageList_Destroy(m_hImageList);
        m_hImageList = nullptr;
        return TRUE;
    }

    HIMAGELIST m_hImageList = nullptr;
};

#endif
