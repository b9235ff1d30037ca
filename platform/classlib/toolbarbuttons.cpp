#include "platform/classlib/toolbarbuttons.h"
#include <climits>
#include <algorithm>
#include "platform/base/byte_reader.h"
#include "platform/classlib/dockcontext.h"
#include "platform/classlib/module_state.h"

namespace {

// A separator without a width of its own is this wide.
const int kSeparatorWidth = 8;

bool IsSeparator(const TBBUTTON& button)
{
    return (button.fsStyle & BTNS_SEP) != 0;
}

// The update request of one tool-bar button.
class CToolCmdUI : public CCmdUI {
public:
    HWND toolbar = nullptr;

    void Enable(BOOL on) override
    {
        m_bEnableChanged = TRUE;
        UINT state = (UINT)::SendMessageA(toolbar, TB_GETSTATE, m_nID, 0);
        UINT updated = on ? (state | TBSTATE_ENABLED) : (state & ~(TBSTATE_ENABLED | TBSTATE_PRESSED));
        if (updated != state)
            ::SendMessageA(toolbar, TB_SETSTATE, m_nID, MAKELPARAM(updated, 0));
    }
    void SetCheck(int check) override
    {
        TBBUTTONINFOA info = {};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_STYLE | TBIF_STATE;
        ::SendMessageA(toolbar, TB_GETBUTTONINFOA, m_nID, (LPARAM)&info);
        BYTE state = info.fsState & ~(TBSTATE_CHECKED | TBSTATE_INDETERMINATE);
        if (check == 1)
            state |= TBSTATE_CHECKED;
        else if (check == 2)
            state |= TBSTATE_INDETERMINATE;
        BYTE style = info.fsStyle | BTNS_CHECK;
        if (state == info.fsState && style == info.fsStyle)
            return;
        info.fsState = state;
        info.fsStyle = style;
        ::SendMessageA(toolbar, TB_SETBUTTONINFOA, m_nID, (LPARAM)&info);
    }
    void SetText(LPCSTR) override {}
};

}  // namespace

BOOL CToolBarButtons::ReadResource(HINSTANCE instance, LPCSTR name, CSize& imageSize, std::vector<UINT>& ids)
{
    HRSRC found = ::FindResourceA(instance, name, MAKEINTRESOURCEA(241));
    HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data)
        return FALSE;
    CByteReader reader(data, ::SizeofResource(instance, found));
    uint16_t version = reader.U16LE();
    imageSize.cx = reader.U16LE();
    imageSize.cy = reader.U16LE();
    uint16_t count = reader.U16LE();
    if (!reader.Ok() || version != 1 || imageSize.cx == 0 || imageSize.cy == 0 || !reader.Has(count * 2u))
        return FALSE;
    ids.clear();
    for (uint16_t i = 0; i < count; ++i)
        ids.push_back(reader.U16LE());
    return TRUE;
}

BOOL CToolBarButtons::SetButtons(const UINT* ids, int count)
{
    while (::SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0) > 0)
        ::SendMessageA(m_hWnd, TB_DELETEBUTTON, 0, 0);
    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON button = {};
        button.idCommand = (int)ids[i];
        if (ids[i] == 0) {
            button.fsStyle = BTNS_SEP;
            button.iBitmap = kSeparatorWidth;
        } else {
            button.fsStyle = BTNS_BUTTON;
            button.fsState = TBSTATE_ENABLED;
            button.iBitmap = image++;
        }
        buttons.push_back(button);
    }
    return buttons.empty() ||
           ::SendMessageA(m_hWnd, TB_ADDBUTTONSA, buttons.size(), (LPARAM)buttons.data()) != 0;
}

BOOL CToolBarButtons::SetBitmap(HINSTANCE instance, UINT bitmapId, int imageWidth, HBITMAP* current)
{
    HBITMAP bitmap = ::CreateMappedBitmap(instance, (INT_PTR)bitmapId, 0, nullptr, 0);
    if (!bitmap)
        return FALSE;
    BITMAP info = {};
    ::GetObjectA(bitmap, sizeof(info), &info);
    int images = imageWidth > 0 ? info.bmWidth / imageWidth : 0;
    BOOL added;
    if (*current) {
        TBREPLACEBITMAP replace = {nullptr, (UINT_PTR)*current, nullptr, (UINT_PTR)bitmap, images};
        added = (BOOL)::SendMessageA(m_hWnd, TB_REPLACEBITMAP, 0, (LPARAM)&replace);
    } else {
        TBADDBITMAP add = {nullptr, (UINT_PTR)bitmap};
        added = ::SendMessageA(m_hWnd, TB_ADDBITMAP, images, (LPARAM)&add) != -1;
    }
    if (!added) {
        ::DeleteObject(bitmap);
        return FALSE;
    }
    if (*current)
        ::DeleteObject(*current);
    *current = bitmap;
    return TRUE;
}

std::vector<TBBUTTON> CToolBarButtons::GetButtons() const
{
    int count = (int)::SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0);
    std::vector<TBBUTTON> buttons(std::max(count, 0));
    for (int i = 0; i < count; ++i)
        ::SendMessageA(m_hWnd, TB_GETBUTTON, i, (LPARAM)&buttons[i]);
    return buttons;
}

int CToolBarButtons::ButtonWidth(const TBBUTTON& button) const
{
    if (IsSeparator(button))
        return button.iBitmap > 0 ? button.iBitmap : kSeparatorWidth;
    return LOWORD(::SendMessageA(m_hWnd, TB_GETBUTTONSIZE, 0, 0));
}

void CToolBarButtons::WrapForWidth(std::vector<TBBUTTON>& buttons, int width) const
{
    int x = 0;
    int previous = -1;
    for (size_t i = 0; i < buttons.size(); ++i) {
        TBBUTTON& button = buttons[i];
        button.fsState &= ~TBSTATE_WRAP;
        if (button.fsState & TBSTATE_HIDDEN)
            continue;
        int buttonWidth = ButtonWidth(button);
        // A button that does not fit starts a row after the last entry that did.
        if (previous >= 0 && x + buttonWidth > width && !IsSeparator(button)) {
            buttons[previous].fsState |= TBSTATE_WRAP;
            x = 0;
        }
        x += buttonWidth;
        previous = (int)i;
    }
}

void CToolBarButtons::ApplyStates(const std::vector<TBBUTTON>& buttons) const
{
    bool changed = false;
    for (size_t i = 0; i < buttons.size(); ++i) {
        TBBUTTON current = {};
        ::SendMessageA(m_hWnd, TB_GETBUTTON, i, (LPARAM)&current);
        if (current.fsState != buttons[i].fsState) {
            ::SendMessageA(m_hWnd, TB_SETSTATE, buttons[i].idCommand, MAKELPARAM(buttons[i].fsState, 0));
            changed = true;
        }
    }
    // A new wrap state takes effect when the control lays its buttons out
    // again, which a new button size makes it do (the same size is ignored).
    if (changed) {
        DWORD size = (DWORD)::SendMessageA(m_hWnd, TB_GETBUTTONSIZE, 0, 0);
        ::SendMessageA(m_hWnd, TB_SETBUTTONSIZE, 0, MAKELPARAM(LOWORD(size), HIWORD(size) + 1));
        ::SendMessageA(m_hWnd, TB_SETBUTTONSIZE, 0, size);
    }
}

CSize CToolBarButtons::Measure() const
{
    CSize extent(0, 0);
    int count = (int)::SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        RECT rect;
        if (::SendMessageA(m_hWnd, TB_GETITEMRECT, i, (LPARAM)&rect)) {
            extent.cx = std::max(extent.cx, rect.right);
            extent.cy = std::max(extent.cy, rect.bottom);
        }
    }
    return extent;
}

CSize CToolBarButtons::LayoutForWidth(std::vector<TBBUTTON>& buttons, int width) const
{
    WrapForWidth(buttons, width);
    ApplyStates(buttons);
    return Measure();
}

CSize CToolBarButtons::Layout(DWORD mode, int length, int mruWidth, BOOL commit)
{
    std::vector<TBBUTTON> original = GetButtons();
    std::vector<TBBUTTON> buttons = original;
    CSize extent;
    if (mode & LM_VERTDOCK) {
        extent = LayoutForWidth(buttons, 0);
    } else if (mode & (LM_HORZDOCK | LM_STRETCH)) {
        extent = LayoutForWidth(buttons, INT_MAX);
    } else if (mode & LM_LENGTHY) {
        // The narrowest rows that are no taller than the length.
        int narrow = 0, wide = LayoutForWidth(buttons, INT_MAX).cx;
        extent = LayoutForWidth(buttons, wide);
        while (narrow < wide) {
            int middle = (narrow + wide) / 2;
            CSize size = LayoutForWidth(buttons, middle);
            if (size.cy <= length) {
                wide = middle;
                extent = size;
            } else {
                narrow = middle + 1;
            }
        }
        extent = LayoutForWidth(buttons, wide);
    } else {
        int width = length;
        if (length < 0)
            width = (mode & LM_MRUWIDTH) ? mruWidth : INT_MAX;
        extent = LayoutForWidth(buttons, width);
    }
    if (!commit)
        ApplyStates(original);
    return extent;
}

CSize CToolBarButtons::LayoutBar(CControlBar* bar, int length, DWORD mode)
{
    DWORD style = bar->m_dwStyle;
    BOOL floating = (style & CBRS_FLOATING) != 0;
    BOOL commit = (mode & LM_COMMIT) || (!floating && (mode & LM_HORZDOCK) && (style & CBRS_ORIENT_HORZ)) ||
                  (!floating && (mode & LM_VERTDOCK) && (style & CBRS_ORIENT_VERT));
    CSize extent = Layout(mode, length, bar->m_nMRUWidth, commit);
    if ((mode & LM_COMMIT) && !(mode & (LM_HORZDOCK | LM_VERTDOCK)))
        bar->m_nMRUWidth = extent.cx;
    CRect inside(0, 0, 0, 0);
    bar->CalcInsideRect(inside, !(mode & LM_VERTDOCK));
    return extent + CSize(-inside.Width(), -inside.Height());
}

CSize CToolBarButtons::FixedLayoutBar(CControlBar* bar, BOOL stretch, BOOL horz)
{
    DWORD mode = (stretch ? LM_STRETCH : 0) | (horz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK);
    return CControlBar::Stretched(bar->CalcDynamicLayout(-1, mode), stretch, horz);
}

void CToolBarButtons::StyleChanged(CControlBar* bar, DWORD oldStyle)
{
    DWORD changed = (oldStyle ^ bar->m_dwStyle) & (CBRS_ORIENT_ANY | CBRS_FLOATING | CBRS_GRIPPER | CBRS_BORDER_ANY);
    if (changed && m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CToolBarButtons::OnBarMessage(CControlBar* bar, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    CPoint point((short)LOWORD(lParam), (short)HIWORD(lParam));
    switch (message) {
    case WM_NCCALCSIZE: {
        NCCALCSIZE_PARAMS* params = (NCCALCSIZE_PARAMS*)lParam;
        CRect rect(params->rgrc[0]);
        bar->CalcInsideRect(rect, (bar->m_dwStyle & CBRS_ORIENT_HORZ) != 0);
        params->rgrc[0] = rect;
        return TRUE;
    }
    case WM_NCPAINT:
        bar->PaintNonClient();
        return TRUE;
    case WM_NCHITTEST:
        // Borders and gripper answer as the client area: a press there drags.
        result = HTCLIENT;
        return TRUE;
    case WM_PAINT:
    case WM_ERASEBKGND:
        result = bar->DefWindowProc(message, wParam, lParam);
        return TRUE;
    case WM_LBUTTONDOWN: {
        CPoint screen = point;
        ::ClientToScreen(m_hWnd, &screen);
        if (HitButton(point) >= 0 || !bar->StartDragAt(screen))
            result = bar->DefWindowProc(message, wParam, lParam);
        return TRUE;
    }
    case WM_LBUTTONDBLCLK:
        if (HitButton(point) < 0 && bar->m_pDockContext && bar->m_pDockBar)
            bar->m_pDockContext->ToggleDocking();
        else
            result = bar->DefWindowProc(message, wParam, lParam);
        return TRUE;
    default:
        return FALSE;
    }
}

int CToolBarButtons::HitButton(CPoint point) const
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (!::PtInRect(&client, point))
        return -1;
    int index = (int)::SendMessageA(m_hWnd, TB_HITTEST, 0, (LPARAM)&point);
    return index >= 0 ? index : -1;
}

void CToolBarButtons::Update(CCmdTarget* target, CWnd* bar, BOOL disableIfNoHandler)
{
    CToolCmdUI state;
    state.toolbar = m_hWnd;
    state.m_pOther = bar;
    std::vector<TBBUTTON> buttons = GetButtons();
    state.m_nIndexMax = (UINT)buttons.size();
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (IsSeparator(buttons[i]))
            continue;
        state.m_nIndex = (UINT)i;
        state.m_nID = (UINT)buttons[i].idCommand;
        state.DoUpdate(target, disableIfNoHandler);
    }
}

CToolBarImages::~CToolBarImages()
{
    if (m_hbmImageWell)
        ::DeleteObject(m_hbmImageWell);
}

void CToolBarImages::SetSizes(HWND toolbar, SIZE button, SIZE image)
{
    m_sizeButton = button;
    m_sizeImage = image;
    if (toolbar) {
        ::SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(image.cx, image.cy));
        ::SendMessageA(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(button.cx, button.cy));
    }
}

BOOL CToolBarImages::LoadToolBar(HWND toolbar, UINT resourceId)
{
    CSize image;
    std::vector<UINT> ids;
    if (!CToolBarButtons::ReadResource(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId), image, ids))
        return FALSE;
    SetSizes(toolbar, CSize(image.cx + 7, image.cy + 7), image);
    return LoadBitmap(toolbar, resourceId) && CToolBarButtons(toolbar).SetButtons(ids.data(), (int)ids.size());
}

BOOL CToolBarImages::LoadBitmap(HWND toolbar, UINT bitmapId)
{
    if (!CToolBarButtons(toolbar).SetBitmap(AfxGetResourceHandle(), bitmapId, m_sizeImage.cx, &m_hbmImageWell))
        return FALSE;
    m_nBitmapId = bitmapId;
    return TRUE;
}

void CToolBarImages::ReloadBitmap(HWND toolbar)
{
    if (m_nBitmapId)
        LoadBitmap(toolbar, m_nBitmapId);
}
