#include "platform/zrui/color_index_list.h"

#include "platform/zrui/dialog_support.h"
#include "platform/zrui/zrui.h"

namespace ZrUI {

namespace {

const int kSwatchWidth = 24;
const int kSwatchHeight = 12;

// Image i shows colour index i with a grey border.
HIMAGELIST MakeColorSwatches()
{
    HIMAGELIST list = ImageList_Create(kSwatchWidth, kSwatchHeight, ILC_COLOR24, 256, 0);
    if (!list)
        return nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP picture = ::CreateCompatibleBitmap(screen, kSwatchWidth, kSwatchHeight);
    ::ReleaseDC(nullptr, screen);
    RECT inside = {1, 1, kSwatchWidth - 1, kSwatchHeight - 1};
    RECT whole = {0, 0, kSwatchWidth, kSwatchHeight};
    for (int index = 0; index < 256; ++index) {
        HGDIOBJ previous = ::SelectObject(memory, picture);
        ::FillRect(memory, &whole, (HBRUSH)::GetStockObject(GRAY_BRUSH));
        HBRUSH colour = ::CreateSolidBrush(GetColorIndex((short)index, nullptr));
        ::FillRect(memory, &inside, colour);
        ::DeleteObject(colour);
        ::SelectObject(memory, previous);
        ImageList_Add(list, picture, nullptr);
    }
    ::DeleteObject(picture);
    ::DeleteDC(memory);
    return list;
}

}  // namespace

CColorIndexList::~CColorIndexList()
{
    if (m_swatches)
        ImageList_Destroy(m_swatches);
}

BOOL CColorIndexList::Attach(CWnd* dialog, int controlId)
{
    if (!SubclassDlgItem(controlId, dialog))
        return FALSE;
    SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES | LVS_EX_GRIDLINES);
    if (!m_swatches)
        m_swatches = MakeColorSwatches();
    SetImageList(m_swatches, LVSIL_SMALL);
    return TRUE;
}

void CColorIndexList::AddColumn(int column, UINT titleId, int format, int percent)
{
    CRect client;
    GetClientRect(&client);
    int usable = client.Width() - ::GetSystemMetrics(SM_CXVSCROLL);
    InsertColumn(column, LibraryText(titleId), format, usable * percent / 100);
}

void CColorIndexList::ShowColor(int row, int column, short index)
{
    char name[32];
    GetColorIndex(index, name);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = name;
    item.iImage = index >= 0 && index <= 255 ? index : I_IMAGENONE;
    SetItem(&item);
}

std::vector<int> CColorIndexList::SelectedRows() const
{
    std::vector<int> rows;
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

}  // namespace ZrUI
