// The other common controls as objects: tab strip, slider, progress bar,
// spin button, tool tips, tool bar and status bar controls. Thin: each call
// is the control's message.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "platform/classlib/wnd.h"

class CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(WC_TABCONTROLA, nullptr, style, rect, parent, id);
    }
    int GetItemCount() const { return (int)SendMessage(TCM_GETITEMCOUNT); }
    LONG InsertItem(int index, LPCSTR text, int image = -1);
    BOOL DeleteItem(int index) { return (BOOL)SendMessage(TCM_DELETEITEM, (WPARAM)index); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(TCM_DELETEALLITEMS); }
    BOOL GetItem(int index, TCITEMA* item) const { return (BOOL)SendMessage(TCM_GETITEMA, (WPARAM)index, (LPARAM)item); }
    BOOL SetItem(int index, TCITEMA* item) { return (BOOL)SendMessage(TCM_SETITEMA, (WPARAM)index, (LPARAM)item); }
    int GetCurSel() const { return (int)SendMessage(TCM_GETCURSEL); }
    int SetCurSel(int index) { return (int)SendMessage(TCM_SETCURSEL, (WPARAM)index); }
    BOOL GetItemRect(int index, LPRECT rect) const
    {
        return (BOOL)SendMessage(TCM_GETITEMRECT, (WPARAM)index, (LPARAM)rect);
    }
    void AdjustRect(BOOL larger, LPRECT rect) { SendMessage(TCM_ADJUSTRECT, larger, (LPARAM)rect); }
    int HitTest(TCHITTESTINFO* info) const { return (int)SendMessage(TCM_HITTEST, 0, (LPARAM)info); }
    HIMAGELIST SetImageList(HIMAGELIST list) { return (HIMAGELIST)SendMessage(TCM_SETIMAGELIST, 0, (LPARAM)list); }
};

class CSliderCtrl : public CWnd {
    DECLARE_DYNAMIC(CSliderCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(TRACKBAR_CLASSA, nullptr, style, rect, parent, id);
    }
    int GetPos() const { return (int)SendMessage(TBM_GETPOS); }
    void SetPos(int position) { SendMessage(TBM_SETPOS, TRUE, position); }
    int GetRangeMin() const { return (int)SendMessage(TBM_GETRANGEMIN); }
    int GetRangeMax() const { return (int)SendMessage(TBM_GETRANGEMAX); }
    void GetRange(int& minimum, int& maximum) const
    {
        minimum = GetRangeMin();
        maximum = GetRangeMax();
    }
    void SetRange(int minimum, int maximum, BOOL redraw = FALSE)
    {
        SendMessage(TBM_SETRANGEMIN, FALSE, minimum);
        SendMessage(TBM_SETRANGEMAX, redraw, maximum);
    }
    int SetPageSize(int size) { return (int)SendMessage(TBM_SETPAGESIZE, 0, size); }
    int SetLineSize(int size) { return (int)SendMessage(TBM_SETLINESIZE, 0, size); }
    void SetTicFreq(int frequency) { SendMessage(TBM_SETTICFREQ, (WPARAM)frequency); }
    void GetChannelRect(LPRECT rect) const { SendMessage(TBM_GETCHANNELRECT, 0, (LPARAM)rect); }
    void GetThumbRect(LPRECT rect) const { SendMessage(TBM_GETTHUMBRECT, 0, (LPARAM)rect); }
};

class CProgressCtrl : public CWnd {
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(PROGRESS_CLASSA, nullptr, style, rect, parent, id);
    }
    void SetRange(short lower, short upper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
    void SetRange32(int lower, int upper) { SendMessage(PBM_SETRANGE32, (WPARAM)lower, upper); }
    void GetRange(int& lower, int& upper) const
    {
        PBRANGE range = {};
        SendMessage(PBM_GETRANGE, FALSE, (LPARAM)&range);
        lower = range.iLow;
        upper = range.iHigh;
    }
    int GetPos() const { return (int)SendMessage(PBM_GETPOS); }
    int SetPos(int position) { return (int)SendMessage(PBM_SETPOS, (WPARAM)position); }
    int OffsetPos(int delta) { return (int)SendMessage(PBM_DELTAPOS, (WPARAM)delta); }
    int SetStep(int step) { return (int)SendMessage(PBM_SETSTEP, (WPARAM)step); }
    int StepIt() { return (int)SendMessage(PBM_STEPIT); }
    COLORREF SetBarColor(COLORREF colour) { return (COLORREF)SendMessage(PBM_SETBARCOLOR, 0, colour); }
    COLORREF SetBkColor(COLORREF colour) { return (COLORREF)SendMessage(PBM_SETBKCOLOR, 0, colour); }
};

class CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(UPDOWN_CLASSA, nullptr, style, rect, parent, id);
    }
    void SetRange32(int lower, int upper) { SendMessage(UDM_SETRANGE32, (WPARAM)lower, upper); }
    void GetRange32(int& lower, int& upper) const { SendMessage(UDM_GETRANGE32, (WPARAM)&lower, (LPARAM)&upper); }
    int GetPos32() const { return (int)SendMessage(UDM_GETPOS32); }
    int SetPos32(int position) { return (int)SendMessage(UDM_SETPOS32, 0, position); }
    CWnd* SetBuddy(CWnd* buddy)
    {
        return CWnd::FromHandle((HWND)SendMessage(UDM_SETBUDDY, (WPARAM)(buddy ? buddy->m_hWnd : nullptr)));
    }
};

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    BOOL Create(CWnd* parent, DWORD style = 0);
    BOOL AddTool(CWnd* window, LPCSTR text, LPCRECT rect = nullptr, UINT_PTR toolId = 0);
    void DelTool(CWnd* window, UINT_PTR toolId = 0);
    void UpdateTipText(LPCSTR text, CWnd* window, UINT_PTR toolId = 0);
    void Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, activate); }
    void RelayEvent(LPMSG msg) { SendMessage(TTM_RELAYEVENT, 0, (LPARAM)msg); }
    int SetMaxTipWidth(int width) { return (int)SendMessage(TTM_SETMAXTIPWIDTH, 0, width); }
    void SetDelayTime(UINT delay) { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, (LPARAM)delay); }
    int GetToolCount() const { return (int)SendMessage(TTM_GETTOOLCOUNT); }
    void Pop() { SendMessage(TTM_POP); }

private:
    void FillToolInfo(TOOLINFOA& info, CWnd* window, UINT_PTR toolId) const;
};

class CToolBarCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolBarCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetButtonCount() const { return (int)SendMessage(TB_BUTTONCOUNT); }
    BOOL AddButtons(int count, const TBBUTTON* buttons)
    {
        return (BOOL)SendMessage(TB_ADDBUTTONSA, (WPARAM)count, (LPARAM)buttons);
    }
    BOOL InsertButton(int index, const TBBUTTON* button)
    {
        return (BOOL)SendMessage(TB_INSERTBUTTONA, (WPARAM)index, (LPARAM)button);
    }
    BOOL DeleteButton(int index) { return (BOOL)SendMessage(TB_DELETEBUTTON, (WPARAM)index); }
    BOOL GetButton(int index, TBBUTTON* button) const
    {
        return (BOOL)SendMessage(TB_GETBUTTON, (WPARAM)index, (LPARAM)button);
    }
    int CommandToIndex(UINT id) const { return (int)SendMessage(TB_COMMANDTOINDEX, id); }
    BOOL GetItemRect(int index, LPRECT rect) const
    {
        return (BOOL)SendMessage(TB_GETITEMRECT, (WPARAM)index, (LPARAM)rect);
    }
    BOOL GetRect(UINT id, LPRECT rect) const { return (BOOL)SendMessage(TB_GETRECT, id, (LPARAM)rect); }
    BOOL EnableButton(UINT id, BOOL enable = TRUE) { return (BOOL)SendMessage(TB_ENABLEBUTTON, id, enable); }
    BOOL CheckButton(UINT id, BOOL check = TRUE) { return (BOOL)SendMessage(TB_CHECKBUTTON, id, check); }
    BOOL PressButton(UINT id, BOOL press = TRUE) { return (BOOL)SendMessage(TB_PRESSBUTTON, id, press); }
    BOOL HideButton(UINT id, BOOL hide = TRUE) { return (BOOL)SendMessage(TB_HIDEBUTTON, id, hide); }
    BOOL IsButtonEnabled(UINT id) const { return (BOOL)SendMessage(TB_ISBUTTONENABLED, id); }
    BOOL IsButtonChecked(UINT id) const { return (BOOL)SendMessage(TB_ISBUTTONCHECKED, id); }
    BOOL IsButtonPressed(UINT id) const { return (BOOL)SendMessage(TB_ISBUTTONPRESSED, id); }
    BOOL IsButtonHidden(UINT id) const { return (BOOL)SendMessage(TB_ISBUTTONHIDDEN, id); }
    int GetState(UINT id) const { return (int)SendMessage(TB_GETSTATE, id); }
    BOOL SetState(UINT id, UINT state) { return (BOOL)SendMessage(TB_SETSTATE, id, state); }
    BOOL SetButtonSize(SIZE size) { return (BOOL)SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(size.cx, size.cy)); }
    BOOL SetBitmapSize(SIZE size) { return (BOOL)SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(size.cx, size.cy)); }
    DWORD GetButtonSize() const { return (DWORD)SendMessage(TB_GETBUTTONSIZE); }
    HIMAGELIST SetImageList(HIMAGELIST list) { return (HIMAGELIST)SendMessage(TB_SETIMAGELIST, 0, (LPARAM)list); }
    HIMAGELIST SetDisabledImageList(HIMAGELIST list)
    {
        return (HIMAGELIST)SendMessage(TB_SETDISABLEDIMAGELIST, 0, (LPARAM)list);
    }
    HIMAGELIST SetHotImageList(HIMAGELIST list)
    {
        return (HIMAGELIST)SendMessage(TB_SETHOTIMAGELIST, 0, (LPARAM)list);
    }
    DWORD GetStyle() const { return (DWORD)SendMessage(TB_GETSTYLE); }
    void SetStyle(DWORD style) { SendMessage(TB_SETSTYLE, 0, style); }
    DWORD SetExtendedStyle(DWORD style) { return (DWORD)SendMessage(TB_SETEXTENDEDSTYLE, 0, style); }
    void AutoSize() { SendMessage(TB_AUTOSIZE); }
    int GetRows() const { return (int)SendMessage(TB_GETROWS); }
    void SetRows(int rows, BOOL larger, LPRECT rect) { SendMessage(TB_SETROWS, MAKEWPARAM(rows, larger), (LPARAM)rect); }
    BOOL GetMaxSize(LPSIZE size) const { return (BOOL)SendMessage(TB_GETMAXSIZE, 0, (LPARAM)size); }
    void SaveState(HKEY root, LPCSTR subKey, LPCSTR valueName);
    void RestoreState(HKEY root, LPCSTR subKey, LPCSTR valueName);
    CToolTipCtrl* GetToolTips() const { return (CToolTipCtrl*)CWnd::FromHandle((HWND)SendMessage(TB_GETTOOLTIPS)); }
    int HitTest(LPPOINT point) const { return (int)SendMessage(TB_HITTEST, 0, (LPARAM)point); }
    int AddBitmap(int count, UINT bitmapId);
    int AddStrings(LPCSTR strings) { return (int)SendMessage(TB_ADDSTRINGA, 0, (LPARAM)strings); }
};

class CStatusBarCtrl : public CWnd {
    DECLARE_DYNAMIC(CStatusBarCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(STATUSCLASSNAMEA, nullptr, style, rect, parent, id);
    }
    BOOL SetParts(int count, const int* rightEdges)
    {
        return (BOOL)SendMessage(SB_SETPARTS, (WPARAM)count, (LPARAM)rightEdges);
    }
    int GetParts(int count, int* rightEdges) const
    {
        return (int)SendMessage(SB_GETPARTS, (WPARAM)count, (LPARAM)rightEdges);
    }
    BOOL SetText(LPCSTR text, int pane, int type) { return (BOOL)SendMessage(SB_SETTEXTA, (WPARAM)(pane | type), (LPARAM)text); }
    CString GetText(int pane, int* type = nullptr) const;
    BOOL GetRect(int pane, LPRECT rect) const { return (BOOL)SendMessage(SB_GETRECT, (WPARAM)pane, (LPARAM)rect); }
    void SetMinHeight(int height) { SendMessage(SB_SETMINHEIGHT, (WPARAM)height); }
    BOOL SetSimple(BOOL simple = TRUE) { return (BOOL)SendMessage(SB_SIMPLE, simple); }
    BOOL SetIcon(int pane, HICON icon) { return (BOOL)SendMessage(SB_SETICON, (WPARAM)pane, (LPARAM)icon); }
};
