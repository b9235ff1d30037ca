#include "platform/zrui/point_style_dialog.h"

#include <algorithm>

#include "platform/zrui/dialog_support.h"
#include "platform/zrui/zrui.h"
#include "resources/zrui_ids.h"

namespace ZrUI {

namespace {

// The drawing shows points without a size at five percent of the view.
const double kDefaultPercent = 5.0;

// Draws the symbol of a point mode around the centre, r pixels out.
void DrawPointSymbol(HDC dc, int mode, int x, int y, int r)
{
    switch (mode & 7) {
        case 0:
            ::Rectangle(dc, x - 1, y - 1, x + 2, y + 2);
            break;
        case 2:
            ::MoveToEx(dc, x - r, y, nullptr);
            ::LineTo(dc, x + r + 1, y);
            ::MoveToEx(dc, x, y - r, nullptr);
            ::LineTo(dc, x, y + r + 1);
            break;
        case 3:
            ::MoveToEx(dc, x - r, y - r, nullptr);
            ::LineTo(dc, x + r + 1, y + r + 1);
            ::MoveToEx(dc, x - r, y + r, nullptr);
            ::LineTo(dc, x + r + 1, y - r - 1);
            break;
        case 4:
            ::MoveToEx(dc, x, y, nullptr);
            ::LineTo(dc, x, y - r - 1);
            break;
    }
    HGDIOBJ hollow = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    if (mode & 32)
        ::Ellipse(dc, x - r, y - r, x + r + 1, y + r + 1);
    if (mode & 64)
        ::Rectangle(dc, x - r, y - r, x + r + 1, y + r + 1);
    ::SelectObject(dc, hollow);
}

}  // namespace

const int CPointStyleDialog::kModes[kStyleCount] = {0,  1,  2,  3,  4,  32, 33, 34, 35, 36,
                                                    64, 65, 66, 67, 68, 96, 97, 98, 99, 100};

BEGIN_MESSAGE_MAP(CPointStyleDialog, CDialog)
ON_CONTROL_RANGE(BN_CLICKED, IDC_ZRUI_POINT_MODE_FIRST, IDC_ZRUI_POINT_MODE_LAST,
                 &CPointStyleDialog::OnStyleClicked)
ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CPointStyleDialog::CPointStyleDialog(int mode, double size, CWnd* parent)
    : CDialog(IDD_ZRUI_POINT_STYLE, parent), m_mode(mode), m_size(size)
{
}

BOOL CPointStyleDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    bool relative = m_size <= 0.0;
    double shown = m_size < 0.0 ? -m_size : m_size > 0.0 ? m_size : kDefaultPercent;
    WriteEditNumber(this, IDC_ZRUI_POINT_SIZE, shown);
    CheckRadioButton(IDC_ZRUI_POINT_RELATIVE, IDC_ZRUI_POINT_ABSOLUTE,
                     relative ? IDC_ZRUI_POINT_RELATIVE : IDC_ZRUI_POINT_ABSOLUTE);
    return TRUE;
}

void CPointStyleDialog::OnStyleClicked(UINT id)
{
    m_mode = kModes[id - IDC_ZRUI_POINT_MODE_FIRST];
    for (int style = 0; style < kStyleCount; ++style)
        ::InvalidateRect(::GetDlgItem(m_hWnd, IDC_ZRUI_POINT_MODE_FIRST + style), nullptr, FALSE);
}

void CPointStyleDialog::OnDrawItem(int id, LPDRAWITEMSTRUCT item)
{
    if (id < IDC_ZRUI_POINT_MODE_FIRST || id > IDC_ZRUI_POINT_MODE_LAST)
        return;
    int mode = kModes[id - IDC_ZRUI_POINT_MODE_FIRST];
    bool chosen = mode == m_mode;
    RECT box = item->rcItem;
    ::FillRect(item->hDC, &box, ::GetSysColorBrush(chosen ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ::DrawEdge(item->hDC, &box, chosen ? EDGE_SUNKEN : BDR_SUNKENOUTER, BF_RECT);
    HPEN pen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(chosen ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    HGDIOBJ previousPen = ::SelectObject(item->hDC, pen);
    HBRUSH ink = ::GetSysColorBrush(chosen ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    HGDIOBJ previousBrush = ::SelectObject(item->hDC, ink);
    int width = box.right - box.left;
    int height = box.bottom - box.top;
    DrawPointSymbol(item->hDC, mode, box.left + width / 2, box.top + height / 2, std::min(width, height) / 4);
    ::SelectObject(item->hDC, previousBrush);
    ::SelectObject(item->hDC, previousPen);
    ::DeleteObject(pen);
    if (item->itemState & ODS_FOCUS) {
        RECT focus = box;
        ::InflateRect(&focus, -3, -3);
        ::DrawFocusRect(item->hDC, &focus);
    }
}

void CPointStyleDialog::OnOK()
{
    double size = 0.0;
    if (!ReadEditNumber(this, IDC_ZRUI_POINT_SIZE, &size))
        return;
    if (!(size > 0.0)) {
        ShowDialogMessage(this, IDS_ZRUI_BAD_POINT_SIZE);
        GetDlgItem(IDC_ZRUI_POINT_SIZE)->SetFocus();
        return;
    }
    m_size = IsDlgButtonChecked(IDC_ZRUI_POINT_RELATIVE) ? -size : size;
    EndDialog(IDOK);
}

int showSetPointDialog(int& mode, double& size)
{
    CPointStyleDialog dialog(mode, size);
    if (dialog.DoModal() != IDOK)
        return 0;
    mode = dialog.m_mode;
    size = dialog.m_size;
    return 1;
}

}  // namespace ZrUI
