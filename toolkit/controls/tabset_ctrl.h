// CTabsetCtrl: a self-drawn strip of overlapping slanted tabs along the
// bottom of a view, with optional scroll buttons at its left end, an
// optional splitter grip followed by a horizontal scroll bar, and a tool
// tip per tab. A click on another tab asks the owner first
// (TCN_SELCHANGING, non-zero refuses) and tells it after (TCN_SELCHANGE).
// It paints through one off-screen surface (CMemDC).
#pragma once
#include "platform/classlib/classlib.h"

#include <vector>

struct TABSET_ITEM {
    CString label;
    CString tip;
    // The tab count when the tab was inserted.
    int id = 0;
    CString extra;
};

class CTabsetCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabsetCtrl)
public:
    // Style flags, the low bits of the window style given to Create.
    static const DWORD kStyleShiftScrollBar = 1;  // tabs hang from the top; scroll bar one pixel lower
    static const DWORD kStyleScrollButtons = 2;
    static const DWORD kStyleFirstLastButtons = 4;
    static const DWORD kStyleToolTips = 8;
    static const DWORD kStyleSplitter = 16;
    static const DWORD kStyleMask = 0x1F;

    // Commands of the scroll buttons (posted to the strip itself).
    static const UINT kCommandLeft = 5513;
    static const UINT kCommandRight = 5514;
    static const UINT kCommandFirst = 5515;
    static const UINT kCommandLast = 5516;

    CTabsetCtrl();
    ~CTabsetCtrl() override;

    // A null font keeps the current one.
    virtual void SetFonts(CFont* normal, CFont* selected);
    virtual int InsertItem(int index, LPCSTR text);
    virtual int InsertItemFromResource(int index, UINT stringId);
    virtual BOOL DeleteItem(int index);
    virtual void DeleteAllItems();
    virtual BOOL GetItemRect(int index, LPRECT rect) const;
    virtual int HitTest(CPoint point) const;
    virtual int GetCurSel() const { return m_current; }
    // Returns the tab that was current, -1 for a bad index.
    virtual int SetCurSel(int index);
    virtual int GetItemCount() const { return (int)m_items.size(); }
    // Returns the tab count.
    virtual int SetItemText(int index, LPCSTR text);
    virtual CString GetItemText(int index) const;
    virtual void ScrollToFirst();
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // The scroll button under the point, -1 when none.
    virtual int HitTestButtons(CPoint point) const;
    virtual BOOL FreeItem(int index);
    virtual int GetTabOverlap() const { return m_stripHeight / 2 + 2; }

    BOOL PreTranslateMessage(MSG* msg) override;

    // The window that receives the notices; the parent when none is set.
    void SetOwner(CWnd* owner) { m_owner = owner; }
    // The splitter grip, in pixels from the strip's left or in per cent of
    // the width.
    void SetGripPosition(int pixels);
    void SetGripPercent(int percent);
    int GetGripPosition() const { return m_gripPosition; }
    int GetScrollOffset() const { return m_scrollOffset; }
    BOOL IsButtonEnabled(int button) const { return m_buttons[button].enabled; }
    CScrollBar& GetScrollBar() { return m_scrollBar; }

    enum Button { kFirst, kLeft, kRight, kLast, kButtonCount };

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnScrollLeft();
    afx_msg void OnScrollRight();
    afx_msg void OnScrollFirst();
    afx_msg void OnScrollLast();
    DECLARE_MESSAGE_MAP()

private:
    struct ScrollButton {
        CRect rect;
        bool pressed = false;
        bool enabled = true;
        UINT command = 0;
        bool pointsLeft = false;
        bool withBar = false;
    };

    // Geometry.
    int TabWidth(int index) const;
    int ButtonAreaWidth() const;
    int TotalTabsWidth() const;
    int VisibleEdge() const;
    int VisibleWidth() const { return VisibleEdge() - ButtonAreaWidth(); }
    // Where the tab starts with no scrolling.
    int TabStart(int index) const;
    bool HasButtons() const { return (m_style & kStyleScrollButtons) != 0; }
    CRect GripRect() const;
    void MeasureTabs();
    void LayOutButtons();
    void LayOutSplitter();
    void UpdateButtonStates();
    void ScrollTo(int offset);
    void Changed();

    // Mouse.
    void PressButton(CPoint point);
    void EndGripDrag();
    LRESULT Notify(UINT code);

    // Painting.
    void DrawButton(CDC& dc, const ScrollButton& button);
    void DrawArrow(CDC& dc, const ScrollButton& button);
    void DrawTab(CDC& dc, int index);
    void DrawGrip(CDC& dc);

    CToolTipCtrl m_toolTip;
    CScrollBar m_scrollBar;
    DWORD m_style = 0;
    int m_buttonWidth;
    int m_stripHeight;
    CRect m_stripRect;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
    int m_current = -1;
    int m_scrollOffset = 0;
    CFont* m_normalFont;
    CFont* m_selectedFont;
    int m_gripPosition = 0;
    int m_gripPercent = 0;
    bool m_dragging = false;
    int m_dragOffset = 0;
    HWND m_focusBeforeDrag = nullptr;
    CPen m_shadowPen;
    CPen m_windowPen;
    CPen m_textPen;
    CPen m_highlightPen;
    HCURSOR m_sizingCursor = nullptr;
    std::vector<TABSET_ITEM*> m_items;
    // Each tab's width in its font, kept with the tabs.
    std::vector<int> m_tabWidths;
    ScrollButton m_buttons[kButtonCount];
    CWnd* m_owner = nullptr;
};
