#include "browser/dialogs/info_list_look.h"

namespace {

BYTE Darken(BYTE channel)
{
    return channel <= 5 ? 0 : (BYTE)(channel - 5);
}

}  // namespace

COLORREF DarkenBy5(COLORREF colour)
{
    return RGB(Darken(GetRValue(colour)), Darken(GetGValue(colour)), Darken(GetBValue(colour)));
}

void ApplyInfoListLook(CListCtrl& list, const InfoListColumn* columns, int columnCount)
{
    const DWORD styles = LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_INFOTIP;
    list.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, styles, styles);
    COLORREF background = DarkenBy5((COLORREF)list.SendMessage(LVM_GETBKCOLOR));
    list.SendMessage(LVM_SETBKCOLOR, 0, (LPARAM)background);
    list.SendMessage(LVM_SETTEXTBKCOLOR, 0, (LPARAM)background);
    for (int i = 0; i < columnCount; ++i)
        list.InsertColumn(i, columns[i].heading, LVCFMT_LEFT, columns[i].width);
}

int AppendInfoRow(CListCtrl& list, const char* first, const char* second)
{
    int row = list.InsertItem(list.GetItemCount(), first);
    if (row >= 0)
        list.SetItemText(row, 1, second);
    return row;
}
