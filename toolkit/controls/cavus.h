// CCavus: a picture tile. Its picture is stretched over the whole tile; a
// selectable tile becomes the one selected tile of the program when
// clicked and shows a red frame while it is. A double click tells the
// parent (WM_CAVUS_DBLCLK).
#pragma once
#include "graphics/dib.h"
#include "platform/classlib/classlib.h"

// Sent to the tile's parent on a double click (wParam and lParam 0).
#define WM_CAVUS_DBLCLK 0x8384

class CCavus : public CStatic {
    DECLARE_DYNAMIC(CCavus)
public:
    // The selection starts empty again with every new tile.
    CCavus();
    ~CCavus() override;

    BOOL CreateDib(int width, int height, int bitsPerPixel);
    // A bitmap resource, or a BMP file image kept as a resource of another
    // type (such as "ADDBITMAP").
    BOOL LoadDib(UINT resourceId, LPCSTR type = RT_BITMAP);
    // The window's size less 4 pixels each way.
    BOOL CreateDibFitWindow(int bitsPerPixel);
    // A memory context for drawing into the picture; Refresh ends it.
    CDC* GetDibDC();
    // The picture's rectangle from 0,0.
    CRect GetDibRect() const;
    // Takes what was drawn into the picture and shows it.
    void Refresh();

    // Makes this tile the selected one and repaints the old and the new.
    void Select();
    bool IsSelected() const { return s_selected == this; }
    static CCavus* GetSelected() { return s_selected; }

    CDib m_picture;
    CRect m_lastClient;
    bool m_selectable = false;

protected:
    void PreSubclassWindow() override;

    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    static CCavus* s_selected;
};
