// Measuring and drawing the owner-drawn items of an image menu.
#include "toolkit/menus/cool_menu_manager.h"

#include <algorithm>

namespace {

const int kDefaultBoxWidth = 16 + 4;
const int kDefaultBoxHeight = 15 + 4;
const int kTextGap = 3;
const int kWidthAllowance = 6;
// Where the source is black the brush is painted, elsewhere the target
// stays (D = ((D ^ P) & S) ^ P).
const DWORD kRopPaintWhereBlack = 0x00B8074A;

// A device context handed to us for the length of one drawing.
class BorrowedDC : public CDC {
public:
    explicit BorrowedDC(HDC dc) { Attach(dc); }
    ~BorrowedDC() override { Detach(); }
};

// A monochrome picture of the given size in a memory context of its own.
class MonoPicture {
public:
    MonoPicture(int width, int height) : m_width(width), m_height(height)
    {
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ::CreateBitmap(width, height, 1, 1, nullptr);
        m_old = ::SelectObject(m_dc, m_bitmap);
        RECT all = {0, 0, width, height};
        ::FillRect(m_dc, &all, (HBRUSH)::GetStockObject(WHITE_BRUSH));
    }
    ~MonoPicture()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    MonoPicture(const MonoPicture&) = delete;
    MonoPicture& operator=(const MonoPicture&) = delete;

    HDC Dc() const { return m_dc; }
    // Paints the picture's black pixels in the colour at (x, y).
    void PaintBlack(HDC target, int x, int y, COLORREF colour) const
    {
        HBRUSH brush = ::CreateSolidBrush(colour);
        HGDIOBJ oldBrush = ::SelectObject(target, brush);
        COLORREF oldText = ::SetTextColor(target, RGB(0, 0, 0));
        COLORREF oldBack = ::SetBkColor(target, RGB(255, 255, 255));
        ::BitBlt(target, x, y, m_width, m_height, m_dc, 0, 0, kRopPaintWhereBlack);
        ::SetBkColor(target, oldBack);
        ::SetTextColor(target, oldText);
        ::SelectObject(target, oldBrush);
        ::DeleteObject(brush);
    }
    // Copies the picture: black pixels in the ink, white in the paper.
    void Copy(HDC target, int x, int y, COLORREF ink, COLORREF paper) const
    {
        COLORREF oldText = ::SetTextColor(target, ink);
        COLORREF oldBack = ::SetBkColor(target, paper);
        ::BitBlt(target, x, y, m_width, m_height, m_dc, 0, 0, SRCCOPY);
        ::SetBkColor(target, oldBack);
        ::SetTextColor(target, oldText);
    }

private:
    int m_width;
    int m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

// Hands a measure or draw request to the shell menu with the item's own
// data in it for the call.
template <class Request>
BOOL ForwardToShellMenu(CMenuItemRecord* record, UINT message, Request* request)
{
    request->itemData = record->m_savedData;
    LRESULT ignored = 0;
    BOOL handled = CCoolMenuManager::HandleShellMenuMessage(record, message, 0, (LPARAM)request, &ignored);
    request->itemData = (ULONG_PTR)record;
    return handled;
}

bool HasImage(const CMenuItemRecord* record)
{
    return record->m_image >= 0 || (record->m_image == CMenuItemRecord::kIconImage && record->m_icon);
}

}  // namespace

BOOL CCoolMenuManager::OnMeasureItem(MEASUREITEMSTRUCT* measure)
{
    if (measure->CtlType != ODT_MENU)
        return FALSE;
    CMenuItemRecord* record = CMenuItemRecord::FromData(measure->itemData);
    if (!record)
        return FALSE;
    if (record->m_shellMenu)
        return ForwardToShellMenu(record, WM_MEASUREITEM, measure);
    int menuHeight = ::GetSystemMetrics(SM_CYMENU);
    if (record->m_type & MFT_SEPARATOR) {
        measure->itemHeight = menuHeight / 2;
        measure->itemWidth = 0;
        return TRUE;
    }
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ oldFont = ::SelectObject(screen, MenuFont()->m_hObject);
    // The tab before an accelerator text expands, leaving room between the
    // two parts.
    RECT text = {0, 0, 0, 0};
    ::DrawTextA(screen, record->m_text, record->m_text.GetLength(), &text,
                DT_CALCRECT | DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
    ::SelectObject(screen, oldFont);
    ::ReleaseDC(nullptr, screen);
    CSize box = BoxSize();
    measure->itemHeight = std::max<int>(menuHeight, text.bottom - text.top);
    measure->itemWidth = (text.right - text.left) + 2 * box.cx + kWidthAllowance - ::GetSystemMetrics(SM_CXMENUCHECK);
    return TRUE;
}

BOOL CCoolMenuManager::OnDrawItem(DRAWITEMSTRUCT* draw)
{
    if (draw->CtlType != ODT_MENU)
        return FALSE;
    CMenuItemRecord* record = CMenuItemRecord::FromData(draw->itemData);
    if (!record)
        return FALSE;
    if (record->m_shellMenu)
        return ForwardToShellMenu(record, WM_DRAWITEM, draw);
    BorrowedDC dc(draw->hDC);
    CRect item(draw->rcItem);
    if (record->m_type & MFT_SEPARATOR) {
        DrawSeparator(dc, item);
        return TRUE;
    }
    CSize boxSize = BoxSize();
    CRect box(item.left, item.top + (item.Height() - boxSize.cy) / 2, item.left + boxSize.cx,
              item.top + (item.Height() - boxSize.cy) / 2 + boxSize.cy);
    bool selected = (draw->itemState & ODS_SELECTED) != 0;
    bool disabled = (draw->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    bool hasImage = HasImage(record);

    // The text area first, so that the box drawn next stays whole.
    if (selected || (draw->itemAction & ODA_SELECT)) {
        CRect area(hasImage ? box.right + 1 : item.left, item.top, item.right, item.bottom);
        dc.FillSolidRect(area, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    }
    if (!hasImage)
        DrawCheckBox(dc, draw, record, box);
    else if (!disabled)
        DrawImageBox(dc, draw, record, box);
    else
        DrawEmbossed(dc, record, box);
    DrawItemText(dc, draw, record);
    return TRUE;
}

CSize CCoolMenuManager::BoxSize() const
{
    if (m_boxSize.cx > 0 && m_boxSize.cy > 0)
        return m_boxSize;
    return CSize(kDefaultBoxWidth, kDefaultBoxHeight);
}

void CCoolMenuManager::DrawSeparator(CDC& dc, const CRect& item)
{
    CRect line = item;
    line.top = (item.top + item.bottom) / 2;
    dc.DrawEdge(line, EDGE_ETCHED, BF_TOP);
}

void CCoolMenuManager::DrawCheckBox(CDC& dc, const DRAWITEMSTRUCT* draw, const CMenuItemRecord* record,
                                    const CRect& box)
{
    bool checked = (draw->itemState & ODS_CHECKED) != 0;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_CHECKMARKS;
    if (!::GetMenuItemInfoA((HMENU)draw->hwndItem, draw->itemID, FALSE, &info))
        info.fType = record->m_type;
    HBITMAP own = checked ? info.hbmpChecked : info.hbmpUnchecked;
    if (!checked && !own)
        return;

    CSize mark(::GetSystemMetrics(SM_CXMENUCHECK), ::GetSystemMetrics(SM_CYMENUCHECK));
    if (own) {
        BITMAP bitmap = {};
        ::GetObjectA(own, sizeof(bitmap), &bitmap);
        mark = CSize(bitmap.bmWidth, bitmap.bmHeight);
    }
    CRect markRect(CPoint(box.left + (box.Width() - mark.cx) / 2, box.top + (box.Height() - mark.cy) / 2), mark);
    CRect framed = box;
    if (mark.cx < box.Width()) {
        framed = markRect;
        framed.InflateRect(1, 1);
    }
    COLORREF paper = ::GetSysColor((draw->itemState & ODS_SELECTED) ? COLOR_MENU : COLOR_3DLIGHT);
    dc.FillSolidRect(framed, paper);

    MonoPicture picture(mark.cx, mark.cy);
    if (own) {
        HDC source = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(source, own);
        ::BitBlt(picture.Dc(), 0, 0, mark.cx, mark.cy, source, 0, 0, SRCCOPY);
        ::SelectObject(source, old);
        ::DeleteDC(source);
    } else {
        RECT all = {0, 0, mark.cx, mark.cy};
        ::DrawFrameControl(picture.Dc(), &all, DFC_MENU,
                           (info.fType & MFT_RADIOCHECK) ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    }
    picture.Copy(dc, markRect.left, markRect.top, ::GetSysColor(COLOR_MENUTEXT), paper);
    dc.DrawEdge(framed, BDR_SUNKENOUTER, BF_RECT);
}

void CCoolMenuManager::DrawImage(HDC dc, const CMenuItemRecord* record, int x, int y, UINT style)
{
    if (record->m_image == CMenuItemRecord::kIconImage) {
        ::DrawIconEx(dc, x, y, record->m_icon, m_imageSize.cx ? m_imageSize.cx : 16,
                     m_imageSize.cy ? m_imageSize.cy : 16, 0, nullptr,
                     style == ILD_MASK ? DI_MASK : DI_NORMAL);
        return;
    }
    ::ImageList_Draw(m_images, record->m_image, dc, x, y, style);
}

void CCoolMenuManager::DrawImageBox(CDC& dc, const DRAWITEMSTRUCT* draw, const CMenuItemRecord* record,
                                    const CRect& box)
{
    bool selected = (draw->itemState & ODS_SELECTED) != 0;
    bool checked = (draw->itemState & ODS_CHECKED) != 0;
    dc.FillSolidRect(box, ::GetSysColor(checked && !selected ? COLOR_3DLIGHT : COLOR_MENU));
    if (selected || checked) {
        CRect edge = box;
        dc.DrawEdge(edge, checked ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    CSize image = ImageSize();
    DrawImage(dc, record, box.left + (box.Width() - image.cx) / 2, box.top + (box.Height() - image.cy) / 2,
              ILD_TRANSPARENT);
}

void CCoolMenuManager::DrawEmbossed(CDC& dc, const CMenuItemRecord* record, const CRect& box)
{
    dc.FillSolidRect(box, ::GetSysColor(COLOR_MENU));
    CSize image = ImageSize();
    MonoPicture shape(image.cx, image.cy);
    DrawImage(shape.Dc(), record, 0, 0, ILD_MASK);
    int x = box.left + (box.Width() - image.cx) / 2;
    int y = box.top + (box.Height() - image.cy) / 2;
    shape.PaintBlack(dc, x + 1, y + 1, ::GetSysColor(COLOR_3DHILIGHT));
    shape.PaintBlack(dc, x, y, ::GetSysColor(COLOR_3DSHADOW));
}

CSize CCoolMenuManager::ImageSize() const
{
    if (m_imageSize.cx > 0 && m_imageSize.cy > 0)
        return m_imageSize;
    return CSize(kDefaultBoxWidth - 4, kDefaultBoxHeight - 4);
}

void CCoolMenuManager::DrawItemText(CDC& dc, const DRAWITEMSTRUCT* draw, const CMenuItemRecord* record)
{
    CSize box = BoxSize();
    CRect item(draw->rcItem);
    CRect text(item.left + box.cx + kTextGap, item.top, item.right - box.cx, item.bottom);
    bool selected = (draw->itemState & ODS_SELECTED) != 0;
    bool disabled = (draw->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    COLORREF background = ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU);
    COLORREF colour = ::GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);

    int tab = record->m_text.Find('\t');
    CString label = tab >= 0 ? record->m_text.Left(tab) : record->m_text;
    CString accelerator = tab >= 0 ? record->m_text.Mid(tab + 1) : CString();

    CFont* oldFont = dc.SelectObject(MenuFont());
    int oldMode = dc.SetBkMode(TRANSPARENT);
    COLORREF oldColour = dc.GetTextColor();
    auto drawBoth = [&](const CRect& where) {
        CRect left = where;
        dc.DrawText(label, left, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        if (!accelerator.IsEmpty()) {
            CRect right = where;
            dc.DrawText(accelerator, right, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
        }
    };
    if (disabled && (!selected || ::GetSysColor(COLOR_GRAYTEXT) == background)) {
        dc.SetTextColor(::GetSysColor(COLOR_3DHILIGHT));
        CRect shadow = text;
        shadow.OffsetRect(1, 1);
        drawBoth(shadow);
    }
    dc.SetTextColor(colour);
    drawBoth(text);
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
    dc.SelectObject(oldFont);
}
