// The thumbnail view's painting: each cell is drawn into one reused
// off-screen picture and copied to the screen in one blit; the label under
// it is drawn straight into the list's device context.
#include "browser/filelist/ie_shell_list_ctrl.h"

#include "core/file_types.h"
#include "core/preference.h"
#include "graphics/kbmp.h"

namespace {

COLORREF Lighten(COLORREF colour, int amount)
{
    auto up = [amount](int c) { return c + amount > 255 ? 255 : c + amount; };
    return RGB(up(GetRValue(colour)), up(GetGValue(colour)), up(GetBValue(colour)));
}

COLORREF Darken(COLORREF colour, int amount)
{
    auto down = [amount](int c) { return c - amount < 0 ? 0 : c - amount; };
    return RGB(down(GetRValue(colour)), down(GetGValue(colour)), down(GetBValue(colour)));
}

void FillArea(HDC dc, int left, int top, int right, int bottom, COLORREF colour)
{
    RECT area = {left, top, right, bottom};
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

// A pen of the colour and width for one polyline.
void DrawLines(HDC dc, COLORREF colour, int width, const POINT* points, int count)
{
    HPEN pen = CreatePen(PS_SOLID, width, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    Polyline(dc, points, count);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void DrawRaisedFrame(HDC dc, RECT area, COLORREF light, COLORREF dark)
{
    FillArea(dc, area.left, area.top, area.right - 1, area.top + 1, light);
    FillArea(dc, area.left, area.top, area.left + 1, area.bottom - 1, light);
    FillArea(dc, area.left, area.bottom - 1, area.right, area.bottom, dark);
    FillArea(dc, area.right - 1, area.top, area.right, area.bottom, dark);
}

}  // namespace

BOOL CIEShellListCtrl::OnEraseBkgnd(CDC* dc)
{
    if (!IsThumbnailView())
        return CUIODListCtrl::OnEraseBkgnd(dc);
    CRect client;
    GetClientRect(&client);
    FillArea(dc->m_hDC, client.left, client.top, client.right, client.bottom, Preference.ListCtrlColor);
    return TRUE;
}

UINT CIEShellListCtrl::GetThumbnailState(int row) const
{
    return GetItemState(row, LVIS_FOCUSED | LVIS_SELECTED | LVIS_DROPHILITED);
}

COLORREF CIEShellListCtrl::GetCellBackground(bool marked, bool focus) const
{
    if (!marked)
        return Preference.ThumbnailColor;
    return focus ? GetSysColor(COLOR_HIGHLIGHT) : m_lightHighlight;
}

BOOL CIEShellListCtrl::OnItemPrePaint(NMLVCUSTOMDRAW* customDraw, LRESULT* result)
{
    if (!IsThumbnailView() || (m_filling && !m_drawDuringFill))
        return CUIODListCtrl::OnItemPrePaint(customDraw, result);
    const int row = (int)customDraw->nmcd.dwItemSpec;
    CRect label;
    CRect icon;
    CRect client;
    GetClientRect(&client);
    if (!GetItemRect(row, &label, LVIR_LABEL) || label.bottom <= 0 || !GetItemRect(row, &icon, LVIR_ICON))
        return CUIODListCtrl::OnItemPrePaint(customDraw, result);
    if (icon.top >= client.Height()) {
        m_drawDuringFill = 0;
        return CUIODListCtrl::OnItemPrePaint(customDraw, result);
    }
    UINT state = GetThumbnailState(row);
    bool focus = ::GetFocus() == m_hWnd || (state & LVIS_DROPHILITED);
    bool marked = (state & (LVIS_SELECTED | LVIS_DROPHILITED)) != 0;
    int iconStyle = (state & LVIS_SELECTED) && focus ? ILD_SELECTED : ILD_TRANSPARENT;
    HDC dc = customDraw->nmcd.hdc;
    DrawThumbnailCell(row, state, dc, icon.TopLeft(), marked, iconStyle, focus);
    DrawThumbnailLabel(row, dc, label, marked, focus);
    *result = CDRF_SKIPDEFAULT;
    return TRUE;
}

void CIEShellListCtrl::RedrawThumbnailItem(int row)
{
    if (!IsThumbnailView() || !GetSafeHwnd())
        return;
    CRect icon;
    CRect client;
    GetClientRect(&client);
    if (!GetItemRect(row, &icon, LVIR_ICON) || icon.bottom < 0 || icon.top > client.Height())
        return;
    UINT state = GetThumbnailState(row);
    bool focus = ::GetFocus() == m_hWnd || (state & LVIS_DROPHILITED);
    bool marked = (state & (LVIS_SELECTED | LVIS_DROPHILITED)) != 0;
    int iconStyle = (state & LVIS_SELECTED) && focus ? ILD_SELECTED : ILD_TRANSPARENT;
    HDC dc = ::GetDC(m_hWnd);
    DrawThumbnailCell(row, state, dc, icon.TopLeft(), marked, iconStyle, focus);
    ::ReleaseDC(m_hWnd, dc);
}

void CIEShellListCtrl::DrawThumbnailCell(int row, UINT state, HDC dc, POINT origin, bool marked, int iconStyle,
                                         bool focus)
{
    const int width = m_cellWidth;
    const int height = m_cellHeight;
    const int border = ThumbBorder();
    if (m_cellDib.GetWidth() != width || m_cellDib.GetHeight() != height)
        m_cellDib.Create(width, height, 24);
    CDC* memory = m_cellDib.BeginMemDC(nullptr);
    if (!memory)
        return;
    HDC cell = memory->m_hDC;
    const COLORREF background = GetCellBackground(marked, focus);
    CShellItemData* record = (CShellItemData*)GetItemExtData(row);
    const bool withPicture = record && record->pThumbnail && record->pThumbnail->data;
    const RECT pictureArea = {border, border, width - border, height - border};
    if (border < 6) {
        FillArea(cell, 0, 0, width, height, Preference.ListCtrlColor);
        if (!withPicture) {
            FillArea(cell, pictureArea.left, pictureArea.top, pictureArea.right, pictureArea.bottom, background);
            POINT outline[5] = {{10, 10}, {width, 10}, {width, height}, {10, height}, {10, 10}};
            DrawLines(cell, Lighten(Preference.ListCtrlColor, 70), 1, outline, 5);
        }
        DrawThumbnailPicture(row, cell, pictureArea, POINT{10, 10}, iconStyle);
        DrawNarrowFrame(cell, state, marked, withPicture);
    } else {
        FillArea(cell, 0, 0, width, height, background);
        RECT whole = {0, 0, width, height};
        DrawRaisedFrame(cell, whole, Preference.ThumbnailLightColor, Preference.ThumbnailDarkColor);
        if (state & LVIS_FOCUSED) {
            RECT inner = {1, 1, width - 1, height - 1};
            DrawRaisedFrame(cell, inner, Preference.ThumbnailLightColor, Preference.ThumbnailDarkColor);
        }
        RECT sunken = {border - 1, border - 1, width - border + 2, height - border + 2};
        DrawRaisedFrame(cell, sunken, Preference.ThumbnailDarkColor, Preference.ThumbnailLightColor);
        DrawThumbnailPicture(row, cell, pictureArea, POINT{border + 9, border + 9}, iconStyle);
        if (state & LVIS_FOCUSED)
            DrawWideFocus(cell, background);
    }
    // The buffer's own copy of its pixels is never read: it is not brought
    // up to date.
    CDC target;
    target.Attach(dc);
    m_cellDib.DrawAndEndMemDC(&target, origin.x, origin.y, SRCCOPY);
    target.Detach();
}

// The row's thumbnail fitted into the area, else its large system icon.
void CIEShellListCtrl::DrawThumbnailPicture(int row, HDC cell, const RECT& area, POINT iconAt, int iconStyle)
{
    CShellItemData* record = (CShellItemData*)GetItemExtData(row);
    if (record && record->pThumbnail && record->pThumbnail->data) {
        RECT target = area;
        record->pThumbnail->Draw(cell, &target, false);
        return;
    }
    if (!record || !m_largeSysImages)
        return;
    // The icon of the item's type, by its name: the shell's way from the id
    // list or the path looks the item up in its folder again, which reads
    // the whole folder on some systems.
    char path[MAX_PATH];
    SHFILEINFOA info = {};
    const DWORD attributes = record->IsFolder() ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    if (record->GetPath(path) &&
        SHGetFileInfoA(path, attributes, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES))
        ImageList_Draw(m_largeSysImages, info.iIcon, cell, iconAt.x, iconAt.y, iconStyle);
}

void CIEShellListCtrl::DrawNarrowFrame(HDC cell, UINT state, bool marked, bool withPicture)
{
    const int width = m_cellWidth;
    const int height = m_cellHeight;
    const int border = ThumbBorder();
    const int x0 = withPicture ? 0 : 10;
    const int y0 = withPicture ? 0 : 10;
    // The frame is drawn inside the cell: its right and bottom lines lie on
    // the cell's last pixel.
    const int right = width - 1;
    const int bottom = height - 1;
    POINT frame[5] = {{x0, y0}, {right, y0}, {right, bottom}, {x0, bottom}, {x0, y0}};
    if (state & LVIS_FOCUSED) {
        DrawLines(cell, RGB(255, 255, 255), 1, frame, 5);
        frame[4].y = y0 + 1;
        DrawLines(cell, GetSysColor(COLOR_HIGHLIGHT), 2, frame, 5);
        return;
    }
    if (marked) {
        DrawLines(cell, Preference.ListShadeColors[1], 2, frame, 5);
        return;
    }
    const int l = border;
    const int t = border;
    const int r = width - border;
    const int b = height - border;
    POINT first[3] = {{l + 3, b + 1}, {r + 1, b + 1}, {r + 1, t + 3}};
    DrawLines(cell, Preference.ListShadeColors[0], 2, first, 3);
    POINT second[3] = {{l + 4, b + 2}, {r + 2, b + 2}, {r + 2, t + 4}};
    DrawLines(cell, Preference.ListShadeColors[1], 1, second, 3);
    POINT third[4] = {{l + 5, b + 3}, {r + 2, b + 3}, {r + 3, b + 2}, {r + 3, t + 5}};
    DrawLines(cell, Preference.ListShadeColors[2], 1, third, 4);
    POINT fourth[4] = {{l + 6, b + 4}, {r + 3, b + 4}, {r + 4, b + 3}, {r + 4, t + 6}};
    DrawLines(cell, Preference.ListShadeColors[3], 1, fourth, 4);
}

// The focused cell of the wide look: lighter corner brackets with dark
// ticks at their ends, and a focus rectangle round the cell.
void CIEShellListCtrl::DrawWideFocus(HDC cell, COLORREF background)
{
    const int w = m_cellWidth;
    const int h = m_cellHeight;
    const int border = ThumbBorder();
    const int L = border + 20;
    const int T = border - 1;
    const COLORREF light = Lighten(background, 40);
    const RECT corners[8] = {{2, 2, L, T},
                             {2, 2, T, L},
                             {w - L - 2, 2, w - 2, T},
                             {w - T, 2, w - 2, L},
                             {2, h - L - 1, T, h - 2},
                             {2, h - T, L, h - 2},
                             {w - L - 1, h - T, w - 2, h - 2},
                             {w - T, h - L - 1, w - 2, h - 2}};
    for (const RECT& corner : corners)
        FillArea(cell, corner.left, corner.top, corner.right, corner.bottom, light);
    const int a = border - 1;
    const int r = w - border + 2;
    const int b = h - border + 2;
    const POINT ticks[8][2] = {{{L + a - 1, a}, {L + a - 1, a + T}},
                               {{r - L - 1, a}, {r - L - 1, a + T}},
                               {{a, L + a - 1}, {a + T, L + a - 1}},
                               {{a, b - L - 1}, {a + T, b - L - 1}},
                               {{L + a - 1, b}, {L + a - 1, b - T}},
                               {{r - L - 1, b}, {r - L - 1, b - T}},
                               {{r, L + a - 1}, {r - T, L + a - 1}},
                               {{r, b - L - 1}, {r - T, b - L - 1}}};
    const COLORREF dark = Darken(background, 70);
    for (const auto& tick : ticks)
        DrawLines(cell, dark, 1, tick, 2);
    RECT whole = {0, 0, w, h};
    DrawFocusRect(cell, &whole);
}

void CIEShellListCtrl::DrawThumbnailLabel(int row, HDC dc, RECT label, bool marked, bool focus)
{
    CShellItemData* record = (CShellItemData*)GetItemExtData(row);
    COLORREF background = GetCellBackground(marked, focus);
    if (!marked) {
        const CDrawingFileInfo* info = nullptr;
        for (int i = 0; record && i < DrawingFileType.GetCount() && !info; ++i)
            if (DrawingFileType.GetAt(i)->type == record->fileKind)
                info = DrawingFileType.GetAt(i);
        background = info ? info->colour : GetSysColor(COLOR_BTNFACE);
    }
    // The name the list already asked for, as its other views show it.
    char name[MAX_PATH] = "";
    if (record)
        lstrcpynA(name, GetColumnText(DetailsOf(*record), 0, *record), MAX_PATH);
    HGDIOBJ oldFont = SelectObject(dc, (HFONT)SendMessage(WM_GETFONT));
    if (!marked) {
        SIZE letter = {};
        GetTextExtentPoint32A(dc, "s", 1, &letter);
        label.bottom = label.top + letter.cy + 3;
    }
    FillArea(dc, label.left, label.top, label.right, label.bottom, background);
    RECT text = label;
    text.top += 1;
    if (!marked && label.right - label.left <= m_cellWidth - 10) {
        text.left -= 5;
        text.right += 5;
    }
    ::SetTextColor(dc, GetSysColor(marked ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
    ::SetBkMode(dc, TRANSPARENT);
    UINT format = marked ? DT_CENTER | DT_WORDBREAK : DT_CENTER | DT_END_ELLIPSIS | DT_MODIFYSTRING;
    DrawTextA(dc, name, -1, &text, format);
    SelectObject(dc, oldFont);
    if (GetItemState(row, LVIS_FOCUSED))
        DrawFocusRect(dc, &label);
}
