// CIconMenu: makes the menus the frame shows owner-drawn and draws them with
// a 16 x 16 picture beside each command that has one, a check mark for
// checked commands without one, a raised frame round the highlighted
// item's picture, an embossed picture and etched text when disabled, and
// the default item's text in bold.
// The frame hands it its menu, draw, measure and mnemonic messages.
#ifndef TETHRA_CONTROLS_ICONMENU_H
#define TETHRA_CONTROLS_ICONMENU_H

#include <windows.h>

#include <vector>

#include "controls/ImageMapping.h"
#include "controls/MenuRecordTable.h"
#include "fw/ImageList.h"

class CIconMenu {
public:
    CIconMenu();
    virtual ~CIconMenu();
    CIconMenu(const CIconMenu&) = delete;
    CIconMenu& operator=(const CIconMenu&) = delete;

    // The toolbar resource toolBarId names the commands, the bitmap of the
    // same id holds their pictures. FALSE when the toolbar is missing or
    // unreadable, or the picture list cannot be made.
    BOOL LoadToolBarImages(UINT toolBarId);

    // Makes every command of menu and of its submenus owner-drawn, once.
    // Records of menus destroyed since the last call are let go first.
    void ConvertMenu(HMENU menu);

    // FALSE when the request is not for a menu; TRUE otherwise.
    BOOL DrawItem(DRAWITEMSTRUCT* item);
    BOOL MeasureItem(MEASUREITEMSTRUCT* item);

    // The WM_MENUCHAR answer for key typed in menu: owner-drawn items lose
    // the system's own "&X" search. FALSE when no item of ours has key.
    BOOL MenuChar(UINT key, HMENU menu, LRESULT* result);

    size_t RecordCount() const { return m_records.Count(); }

private:
    MenuItemRecord* AddItemRecord(HMENU menu, const char* text, int commandId);
    void ConvertItem(HMENU menu, int position);
    void DrawLabel(HDC dc, const char* text, RECT area, bool selected, bool disabled);
    void DrawDisabledImage(HDC dc, const RECT& rect);
    HFONT FontFor(bool isDefault) const;

    HFONT m_hMenuFont = nullptr;
    HFONT m_hBoldFont = nullptr;
    int m_imageWidth = 20;
    int m_imageHeight = 20;
    CImageList m_iconList;
    CImageList m_checkList;
    CMenuRecordTable m_records;
    std::vector<ImageMapping> m_mappings;

    // Nesting depth of ConvertMenu, for the whole process.
    static int s_depth;
};

#endif
