#include "tests/support/gtest.h"

#include <shlwapi.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tests/support/message_log.h"
#include "tests/toolkit/common/window_capture.h"
#include "tests/toolkit/controls/test_parent.h"
#include "toolkit/controls/list_cell_text.h"
#include "toolkit/controls/ui_od_list_ctrl.h"

namespace {

const UINT kListId = 112;
const int kRows = 10000;

// A list that keeps cell texts and takes every edit.
class TextList : public CUIODListCtrl {
public:
    CUIListCtrlData* CreateRowData(void* object, int) override
    {
        CUIStrListCtrlData* row = new CUIStrListCtrlData(m_columnCount);
        row->m_object = object;
        return row;
    }
    BOOL AcceptLabelEdit(int, int, LPCSTR) override { return TRUE; }
    void ShowContextMenu(int row, UINT, int x, int y) override
    {
        m_menuRow = row;
        m_menuPoint = CPoint(x, y);
        ++m_menus;
    }
    void ChooseColumn(int column) { m_chosenColumn = column; }
    void SetClickPoint(CPoint screen)
    {
        m_clickPoint = screen;
        m_hasClickPoint = true;
    }
    int m_menus = 0;
    int m_menuRow = -2;
    CPoint m_menuPoint;
};

// The list's in-place editor, when one shows.
HWND EditorOf(CWnd& list)
{
    return FindWindowExA(list.m_hWnd, NULL, "Edit", NULL);
}

std::string TextOf(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

// One row of the test's own data.
struct Row {
    std::string name;
    std::u16string wideName;
    int kilobytes;
    std::string kind;
    std::u16string wideKind;
    DATE date;
};

std::u16string Wide(const std::string& text)
{
    WCHAR buffer[512] = {};
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, buffer, 512);
    return std::u16string((const char16_t*)buffer);
}

const WCHAR* W(const std::u16string& text)
{
    return (const WCHAR*)text.c_str();
}

std::vector<Row> MakeRows(int count)
{
    std::mt19937 random(19);
    const char* kinds[] = {"图形", "Drawing", "image", "文档", ""};
    std::vector<Row> rows;
    for (int i = 0; i < count; ++i) {
        Row row;
        // Letters in mixed case, then a zero-padded number: unique names
        // that the shell's logical order and plain text order agree on.
        char name[32];
        char letters[4] = {(char)('a' + random() % 26), (char)('A' + random() % 26), (char)('a' + random() % 26), 0};
        wsprintfA(name, "%s%05d.dwg", letters, i);
        row.name = name;
        row.wideName = Wide(name);
        row.kilobytes = (int)(random() % 5000000);
        row.kind = kinds[random() % 5];
        row.wideKind = Wide(row.kind);
        row.date = 36526.0 + (double)(random() % 9000) + (double)(random() % 86400) / 86400.0;
        rows.push_back(row);
    }
    return rows;
}

class OwnerDrawnList : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.Make(20, 20, 640, 420));
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_EDITLABELS, CRect(0, 0, 640, 420), &parent,
                                kListId));
        ASSERT_EQ(4, list.InitColumnHeadings("名称|尺寸|类型|时间"));
    }
    void TearDown() override { parent.DestroyWindow(); }

    void Fill(const std::vector<Row>& rows)
    {
        list.SetRedraw(FALSE);
        for (size_t i = 0; i < rows.size(); ++i) {
            int index = list.AddObject((void*)(rows.data() + i));
            CString size;
            size.Format("%d", rows[i].kilobytes);
            list.FormatThousands(size);
            size += " KB";
            list.SetItemText(index, 0, rows[i].name.c_str(), 0);
            list.SetItemText(index, 1, size, 2);
            list.SetItemText(index, 2, rows[i].kind.c_str(), 0);
            list.SetItemDateTime(index, 3, rows[i].date, 9);
        }
        list.SetRedraw(TRUE);
    }

    // The cell as the list view gives it (through the same notice it
    // draws from).
    std::string Cell(int row, int column)
    {
        WCHAR text[300] = {};
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 300;
        SendMessageW(list.m_hWnd, LVM_GETITEMTEXTW, row, (LPARAM)&item);
        char narrow[600] = "";
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof(narrow), NULL, NULL);
        return narrow;
    }

    const Row* RowAt(int row) { return (const Row*)list.GetItemExtData(row); }


    void ClickHeading(int column)
    {
        CRect item;
        list.GetHeader().GetItemRect(column, &item);
        testwin::Click(list.GetHeader().m_hWnd, item.CenterPoint().x, item.CenterPoint().y);
    }

    testwin::CTestParent parent;
    TextList list;
};

// How many neighbouring rows stand in the wrong order by the given "sorts
// before" of the test's own data.
template <typename Before>
int Misplaced(const std::vector<const Row*>& shown, bool ascending, Before before)
{
    int misplaced = 0;
    for (size_t i = 0; i + 1 < shown.size(); ++i) {
        const Row& a = *shown[i];
        const Row& b = *shown[i + 1];
        if (ascending ? before(b, a) : before(a, b))
            ++misplaced;
    }
    return misplaced;
}

}  // namespace

TEST_F(OwnerDrawnList, TenThousandRowsSortByEveryColumnBothWaysAsTheirValues)
{
    std::vector<Row> rows = MakeRows(kRows);
    Fill(rows);
    ASSERT_EQ(kRows, list.GetItemCount());
    ASSERT_EQ(kRows, list.GetRowCount());

    auto shown = [&] {
        std::vector<const Row*> order;
        for (int i = 0; i < kRows; ++i)
            order.push_back(RowAt(i));
        return order;
    };
    auto byName = [](const Row& a, const Row& b) {
        return StrCmpLogicalW(W(a.wideName), W(b.wideName)) < 0;
    };
    auto bySize = [](const Row& a, const Row& b) { return a.kilobytes < b.kilobytes; };
    auto byKind = [](const Row& a, const Row& b) {
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, W(a.wideKind), -1,
                              W(b.wideKind), -1) == CSTR_LESS_THAN;
    };
    // Dates are shown to the second.
    auto byDate = [](const Row& a, const Row& b) { return (long long)(a.date * 86400 + 0.5) < (long long)(b.date * 86400 + 0.5); };

    // A click on a heading sorts ascending, a second one descending.
    ClickHeading(0);
    EXPECT_EQ(0, Misplaced(shown(), false, byName));  // the sort column already: the order turns
    ClickHeading(0);
    EXPECT_TRUE(list.GetSortAscending());
    EXPECT_EQ(0, Misplaced(shown(), true, byName));
    ClickHeading(0);
    EXPECT_FALSE(list.GetSortAscending());
    EXPECT_EQ(0, Misplaced(shown(), false, byName));

    ClickHeading(1);
    EXPECT_EQ(1, list.GetSortColumn());
    EXPECT_TRUE(list.GetSortAscending());
    EXPECT_EQ(0, Misplaced(shown(), true, bySize));
    ClickHeading(1);
    EXPECT_EQ(0, Misplaced(shown(), false, bySize));

    ClickHeading(2);
    EXPECT_EQ(0, Misplaced(shown(), true, byKind));
    ClickHeading(2);
    EXPECT_EQ(0, Misplaced(shown(), false, byKind));

    ClickHeading(3);
    EXPECT_EQ(0, Misplaced(shown(), true, byDate));
    ClickHeading(3);
    EXPECT_EQ(0, Misplaced(shown(), false, byDate));

    // What the list view shows is each row's own data.
    for (int i : {0, 1, 4321, kRows - 1}) {
        const Row* row = RowAt(i);
        EXPECT_EQ(row->name, Cell(i, 0));
        EXPECT_EQ(row->kind, Cell(i, 2));
        CString size;
        size.Format("%d", row->kilobytes);
        list.FormatThousands(size);
        EXPECT_EQ(std::string(size) + " KB", Cell(i, 1));
    }
    // The sort mark moved along: the header draws it for the date column.
    EXPECT_EQ(3, list.GetHeader().GetSortColumn());
    EXPECT_FALSE(list.GetHeader().GetSortAscending());
}

TEST_F(OwnerDrawnList, ScrollingAndSelectingShowTheRowsTheDataHas)
{
    std::vector<Row> rows = MakeRows(kRows);
    Fill(rows);
    list.SetFocus();
    int page = list.GetCountPerPage();
    list.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    list.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(2 * page, list.GetTopIndex());
    list.EnsureVisible(kRows - 1, FALSE);
    int top = list.GetTopIndex();
    EXPECT_EQ(kRows - page, top);

    // A click selects the row under it; what shows there is that row's data.
    CRect second;
    list.GetItemRect(top + 1, &second, LVIR_BOUNDS);
    testwin::Click(list.m_hWnd, second.left + 30, second.CenterPoint().y);
    EXPECT_EQ(top + 1, list.GetNextItem(-1, LVNI_SELECTED));
    EXPECT_EQ(RowAt(top + 1)->name, Cell(top + 1, 0));

    testwin::ScreenPicture picture = testwin::ScreenPicture::OfClient(list.m_hWnd);
    picture.Save("list");
    COLORREF selected = picture.Pixel(second.right - 3, second.top + 1);
    EXPECT_NE(GetSysColor(COLOR_WINDOW), selected);
    // Test programs share the display: while another one holds the keyboard
    // the selection shows in its unfocused colour.
    if (::GetFocus() == list.m_hWnd) {
        EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), selected);
    }
    // Text where a cell has one, none where it is empty.
    for (int row = top; row < top + 6; ++row) {
        CRect kind;
        list.GetSubItemRect(row, 2, LVIR_LABEL, kind);
        if (row == top + 1)
            continue;
        int ink = picture.CountNear(kind, GetSysColor(COLOR_WINDOWTEXT), testwin::kTextInkTolerance);
        if (RowAt(row)->kind.empty())
            EXPECT_EQ(0, ink) << row;
        else
            EXPECT_GT(ink, 5) << row;
    }
    // The header marks the sort column with its triangle.
    list.SetSortInfo(2, false);
    testwin::ScreenPicture header = testwin::ScreenPicture::OfClient(list.GetHeader().m_hWnd);
    header.Save("list_header_sorted");
    CRect item;
    list.GetHeader().GetItemRect(2, &item);
    int unit = 0;
    {
        CClientDC dc(&list.GetHeader());
        CFont* old = dc.SelectObject(list.GetHeader().GetFont());
        unit = dc.GetTextExtent(" ", 1).cx;
        dc.SelectObject(old);
    }
    COLORREF ink = GetSysColor(COLOR_BTNTEXT);
    int markLeft = item.right - unit - 7;
    EXPECT_EQ(ink, header.Pixel(markLeft, item.bottom - 6));      // wide line at the bottom: descending
    EXPECT_EQ(ink, header.Pixel(markLeft + 3, item.bottom - 9));  // the tip
    EXPECT_NE(ink, header.Pixel(markLeft, item.bottom - 9));

    // A column too narrow for its text shows the triangle only.
    ASSERT_GE(unit, 3);
    list.SetColumnWidth(2, 5 * unit - 1);
    list.GetHeader().GetItemRect(2, &item);
    testwin::ScreenPicture narrow = testwin::ScreenPicture::OfClient(list.GetHeader().m_hWnd);
    narrow.Save("list_header_narrow");
    item.DeflateRect(2, 2);
    EXPECT_EQ(7 + 5 + 3 + 1, narrow.CountColour(item, ink));
}

TEST_F(OwnerDrawnList, CellsAreRenamedInPlaceAndEnterEscapeAndFocusLossEndTheEdit)
{
    std::vector<Row> rows = MakeRows(kRows);
    Fill(rows);
    list.SetFocus();

    // Enter keeps the text: the parent hears of it and the cell takes it.
    CInPlaceEdit* edit = list.EditSubItem(3, 2);
    ASSERT_TRUE(edit);
    HWND editor = edit->m_hWnd;
    char shown[64] = "";
    GetWindowTextA(editor, shown, sizeof(shown));
    EXPECT_EQ(Cell(3, 2), shown);
    SetWindowTextA(editor, "新类型");  // as the input method gives it
    testwin::PressKey(editor, VK_RETURN);
    EXPECT_FALSE(IsWindow(editor));
    const testwin::Notice* ended = parent.Last(LVN_ENDLABELEDITA);
    ASSERT_TRUE(ended);
    EXPECT_EQ(list.m_hWnd, ended->from);
    EXPECT_EQ(3, ended->row);
    EXPECT_EQ(2, ended->column);
    EXPECT_TRUE(ended->hasText);
    EXPECT_EQ("新类型", ended->text);
    EXPECT_EQ("新类型", Cell(3, 2));

    // Escape drops it.
    edit = list.EditSubItem(4, 2);
    ASSERT_TRUE(edit);
    std::string before = Cell(4, 2);
    testwin::Type(edit->m_hWnd, "drop");
    testwin::PressKey(edit->m_hWnd, VK_ESCAPE);
    EXPECT_FALSE(parent.Last(LVN_ENDLABELEDITA)->hasText);
    EXPECT_EQ(before, Cell(4, 2));

    // Losing the focus keeps it.
    edit = list.EditSubItem(5, 1);
    ASSERT_TRUE(edit);
    testwin::Type(edit->m_hWnd, "7 KB");
    testwin::ScreenPicture typed = testwin::ScreenPicture::OfClient(edit->m_hWnd);
    typed.Save("in_place_edit");
    EXPECT_GT(typed.CountColour(CRect(0, 0, typed.Width(), typed.Height()), GetSysColor(COLOR_WINDOWTEXT)), 10);
    parent.SetFocus();
    testwin::PumpMessages(20);
    EXPECT_EQ("7 KB", parent.Last(LVN_ENDLABELEDITA)->text);
    EXPECT_EQ("7 KB", Cell(5, 1));
    EXPECT_EQ(3u, parent.Count(LVN_ENDLABELEDITA));

    // The first column through the list view's own label editing; Delete
    // stays with the edit box meanwhile.
    testwin::MessageLog posted({WM_ODLIST_DELETE});
    posted.Attach(list.m_hWnd);
    list.SetFocus();
    HWND label = (HWND)list.SendMessage(LVM_EDITLABELA, 6);
    ASSERT_TRUE(label);
    EXPECT_TRUE(list.IsLabelEditing());
    testwin::PressKey(label, VK_DELETE);
    EXPECT_EQ(0u, posted.Count(WM_ODLIST_DELETE));
    SetWindowTextA(label, "改名.dwg");
    parent.SetFocus();
    testwin::PumpMessages(20);
    EXPECT_FALSE(list.IsLabelEditing());
    EXPECT_EQ("改名.dwg", Cell(6, 0));
}

TEST_F(OwnerDrawnList, DraggingADividerStoresTheWidthAndTellsTheParentUnlessColumnsAreFixed)
{
    testwin::MessageLog log({WM_ODLIST_NOTIFY});
    log.Attach(parent.m_hWnd);
    CHeaderCtrl& header = list.GetHeader();
    CRect first;
    header.GetItemRect(0, &first);
    auto drag = [&](int by) {
        header.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first.right - 1, 5));
        header.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(first.right - 1 + by, 5));
        header.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(first.right - 1 + by, 5));
        testwin::PumpMessages(30);
    };
    drag(40);
    EXPECT_EQ(140, (int)list.SendMessage(LVM_GETCOLUMNWIDTH, 0));
    EXPECT_EQ(140, list.GetColumnWidths()[0]);
    ASSERT_TRUE(testwin::MessagesAre(log, {WM_ODLIST_NOTIFY}));
    EXPECT_EQ((WPARAM)list.m_hWnd, log.Entries()[0].wParam);
    EXPECT_EQ(0, log.Entries()[0].lParam);

    list.SendMessage(WM_COMMAND, CUIODListCtrl::kCommandResizableColumns);
    header.GetItemRect(0, &first);
    drag(30);
    EXPECT_EQ(140, (int)list.SendMessage(LVM_GETCOLUMNWIDTH, 0));
    EXPECT_EQ(1u, log.Count(WM_ODLIST_NOTIFY));

    // Hiding the chosen column keeps its width for showing all again.
    list.ChooseColumn(0);
    list.SendMessage(WM_COMMAND, CUIODListCtrl::kCommandHideColumn);
    EXPECT_EQ(0, (int)list.SendMessage(LVM_GETCOLUMNWIDTH, 0));
    list.SendMessage(WM_COMMAND, CUIODListCtrl::kCommandShowAllColumns);
    EXPECT_EQ(140, (int)list.SendMessage(LVM_GETCOLUMNWIDTH, 0));
}

TEST_F(OwnerDrawnList, StoredWidthsAndOrderComeBackAndDamagedOnesFallBackToDefaults)
{
    TextList stored;
    ASSERT_TRUE(stored.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 200), &parent, 2));
    stored.SetColumnWidths({150, 80, 0x10000 | 200, 90});
    stored.SetColumnOrder({3, 2, 1, 0});
    ASSERT_EQ(4, stored.InitColumnHeadings("名称|尺寸|类型|时间"));
    EXPECT_EQ(200, (int)stored.SendMessage(LVM_GETCOLUMNWIDTH, 2));
    EXPECT_EQ(90, (int)stored.SendMessage(LVM_GETCOLUMNWIDTH, 3));
    EXPECT_EQ((std::vector<int>{3, 2, 1, 0}), stored.GetColumnOrder());
    stored.DestroyWindow();

    TextList damaged;
    ASSERT_TRUE(damaged.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 200), &parent, 3));
    damaged.SetColumnWidths({150, -5});          // not these columns' widths
    damaged.SetColumnOrder({0, 0, 1, 2});        // no arrangement of them
    ASSERT_EQ(4, damaged.InitColumnHeadings("名称|尺寸|类型|时间"));
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3}), damaged.GetColumnOrder());
    EXPECT_EQ((std::vector<int>{100, 60, 150, 120}), damaged.GetColumnWidths());
    EXPECT_EQ(60, (int)damaged.SendMessage(LVM_GETCOLUMNWIDTH, 1));

    // A negative width in a set of the right size gives that column its default.
    TextList negative;
    ASSERT_TRUE(negative.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 200), &parent, 4));
    negative.SetColumnWidths({150, 0xFFFF, 70, 90});
    negative.InitColumnHeadings("名称|尺寸|类型|时间");
    EXPECT_EQ(60, (int)negative.SendMessage(LVM_GETCOLUMNWIDTH, 1));
    EXPECT_EQ(60, negative.GetColumnWidths()[1]);
}

TEST_F(OwnerDrawnList, KeysBecomeTheListsMessages)
{
    std::vector<Row> rows = MakeRows(3);
    Fill(rows);
    testwin::MessageLog log({WM_ODLIST_RENAME, WM_ODLIST_DELETE, WM_ODLIST_PROPERTIES, WM_ODLIST_OPEN});
    log.Attach(list.m_hWnd);
    list.SetFocus();
    testwin::PressKey(list.m_hWnd, VK_F2);
    testwin::PressKey(list.m_hWnd, VK_DELETE);
    testwin::PressKey(list.m_hWnd, VK_RETURN, true);
    testwin::PressKey(list.m_hWnd, VK_RETURN);
    EXPECT_TRUE(testwin::MessagesAre(log, {WM_ODLIST_RENAME, WM_ODLIST_DELETE, WM_ODLIST_PROPERTIES, WM_ODLIST_OPEN}));

    // The Apps key and Shift+F10 ask for the selected row's context menu,
    // shown at the row's place on the screen; F10 alone does not.
    list.SelectItem(1);
    CPoint place;
    list.GetItemPosition(1, &place);
    list.ClientToScreen(&place);
    testwin::PressKey(list.m_hWnd, VK_APPS);
    EXPECT_EQ(1, list.m_menus);
    EXPECT_EQ(1, list.m_menuRow);
    EXPECT_EQ(place, list.m_menuPoint);
    testwin::PressKey(list.m_hWnd, VK_F10);
    EXPECT_EQ(1, list.m_menus);
    BYTE keys[256] = {};
    ASSERT_TRUE(GetKeyboardState(keys));
    BYTE shiftUp = keys[VK_SHIFT];
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    testwin::PressKey(list.m_hWnd, VK_F10);
    keys[VK_SHIFT] = shiftUp;
    SetKeyboardState(keys);
    EXPECT_EQ(2, list.m_menus);
    EXPECT_EQ(1, list.m_menuRow);
}

TEST_F(OwnerDrawnList, ColumnsMadeAgainFromTheSameHeadingsKeepTheRows)
{
    std::vector<Row> rows = MakeRows(5);
    Fill(rows);
    EXPECT_EQ(4, list.InitColumnHeadings("名称|尺寸|类型|时间"));
    EXPECT_EQ(5, list.GetItemCount());
    EXPECT_EQ(1, list.AddColumn("尺"));   // a leading part of a heading
    EXPECT_EQ(4, list.AddColumn("备注"));
    EXPECT_STREQ("名称|尺寸|类型|时间|备注", list.GetHeadings());
    EXPECT_TRUE(list.SetItemText(0, 4, "note", 0) == FALSE);  // the cell was empty before
    EXPECT_EQ("note", Cell(0, 4));

    // Other headings: rows and columns start again.
    EXPECT_EQ(2, list.InitColumnHeadings("甲|乙"));
    EXPECT_EQ(0, list.GetItemCount());
    EXPECT_EQ(-1, list.InitColumnHeadings(NULL));
    // Nothing stays drawn where the rows were.
    testwin::ScreenPicture empty = testwin::ScreenPicture::OfClient(list.m_hWnd);
    EXPECT_EQ(0, empty.CountColour(CRect(0, 30, 300, 120), GetSysColor(COLOR_WINDOWTEXT)));
}

TEST_F(OwnerDrawnList, APopupMenuForTwoSelectedRowsIsTheMultipleSelectionMenu)
{
    std::vector<Row> rows = MakeRows(4);
    Fill(rows);
    list.SetPopupMenus(7001, 7002);
    list.SelectItem(1);
    // With flags set nothing shows; the answer tells whether more than one
    // row is selected.
    EXPECT_FALSE(list.ShowPopupMenu(1, 1, 0, 0));
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_TRUE(list.ShowPopupMenu(1, 1, 0, 0));
    // A menu resource that is not there shows nothing.
    EXPECT_FALSE(list.ShowPopupMenu(1, 0, 10, 10));
}

TEST_F(OwnerDrawnList, ViewAndStyleCommandsSwitchTheViewAndToggleTheirStyle)
{
    auto view = [&] { return list.GetStyle() & LVS_TYPEMASK; };
    auto extended = [&] { return (DWORD)list.SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE); };
    auto command = [&](UINT id) { list.SendMessage(WM_COMMAND, id); };
    command(CUIODListCtrl::kCommandViewIcon);
    EXPECT_EQ((DWORD)LVS_ICON, view());
    command(CUIODListCtrl::kCommandViewSmallIcon);
    EXPECT_EQ((DWORD)LVS_SMALLICON, view());
    command(CUIODListCtrl::kCommandViewList);
    EXPECT_EQ((DWORD)LVS_LIST, view());
    command(CUIODListCtrl::kCommandViewReport);
    EXPECT_EQ((DWORD)LVS_REPORT, view());

    const std::pair<UINT, DWORD> toggles[] = {{CUIODListCtrl::kCommandGridLines, LVS_EX_GRIDLINES},
                                              {CUIODListCtrl::kCommandCheckBoxes, LVS_EX_CHECKBOXES},
                                              {CUIODListCtrl::kCommandHeaderDragDrop, LVS_EX_HEADERDRAGDROP},
                                              {CUIODListCtrl::kCommandTrackSelect, LVS_EX_TRACKSELECT}};
    for (const auto& toggle : toggles) {
        DWORD before = extended();
        command(toggle.first);
        EXPECT_EQ(before ^ toggle.second, extended()) << toggle.first;
        command(toggle.first);
        EXPECT_EQ(before, extended()) << toggle.first;
    }

    // Full-row select starts off in the list's own flag although the
    // columns were set up with the list view's full-row style: the first
    // command turns it on (no change to see), the second off.
    ASSERT_TRUE(extended() & LVS_EX_FULLROWSELECT);
    command(CUIODListCtrl::kCommandFullRowSelect);
    EXPECT_TRUE(extended() & LVS_EX_FULLROWSELECT);
    command(CUIODListCtrl::kCommandFullRowSelect);
    EXPECT_FALSE(extended() & LVS_EX_FULLROWSELECT);
    list.SetFullRowSelect(true);
    EXPECT_TRUE(extended() & LVS_EX_FULLROWSELECT);
}

TEST_F(OwnerDrawnList, AHeadingEditedInPlaceRenamesTheHeaderItemAndTheHeadingList)
{
    list.ChooseColumn(1);
    list.SendMessage(WM_COMMAND, CUIODListCtrl::kCommandEditHeading);
    HWND editor = EditorOf(list);
    ASSERT_TRUE(editor);
    EXPECT_EQ("尺寸", TextOf(editor));
    // Over the heading: right of the first column's width.
    CRect place;
    GetWindowRect(editor, &place);
    list.ScreenToClient(&place);
    EXPECT_EQ(list.GetColumnWidths()[0], place.left);
    EXPECT_EQ(place.left + (int)list.SendMessage(LVM_GETCOLUMNWIDTH, 1), place.right);

    SetWindowTextA(editor, "大小");
    testwin::PressKey(editor, VK_RETURN);
    EXPECT_FALSE(IsWindow(editor));
    const testwin::Notice* ended = parent.Last(LVN_ENDLABELEDITA);
    ASSERT_TRUE(ended);
    EXPECT_EQ(-1, ended->row);
    EXPECT_EQ(1, ended->column);
    EXPECT_STREQ("名称|大小|类型|时间", list.GetHeadings());
    char heading[64] = "";
    HDITEMA item = {};
    item.mask = HDI_TEXT;
    item.pszText = heading;
    item.cchTextMax = sizeof(heading);
    list.GetHeader().GetItem(1, &item);
    EXPECT_STREQ("大小", heading);

    // The command acts once on the chosen column.
    list.SendMessage(WM_COMMAND, CUIODListCtrl::kCommandEditHeading);
    EXPECT_FALSE(EditorOf(list));
}

TEST_F(OwnerDrawnList, TheEditCellCommandEditsTheFocusedRowsCellUnderTheClick)
{
    std::vector<Row> rows = MakeRows(5);
    Fill(rows);
    // Columns 名称 100, 尺寸 60, 类型 150 wide: x 200 lies in 类型.
    CRect second;
    list.GetItemRect(2, &second, LVIR_BOUNDS);
    CPoint click(200, second.CenterPoint().y);
    list.ClientToScreen(&click);
    list.SetClickPoint(click);

    list.SendMessage(WM_COMMAND, CUIODListCtrl::kCommandEditCell);
    EXPECT_FALSE(EditorOf(list));  // row 2 has not the focus
    list.SelectItem(2);
    list.SendMessage(WM_COMMAND, CUIODListCtrl::kCommandEditCell);
    HWND editor = EditorOf(list);
    ASSERT_TRUE(editor);
    EXPECT_EQ(Cell(2, 2), TextOf(editor));
    testwin::PressKey(editor, VK_ESCAPE);
    EXPECT_FALSE(IsWindow(editor));
}

TEST_F(OwnerDrawnList, HitTestExFindsTheCellByTheColumnsOnScreenOrder)
{
    TextList ordered;
    ASSERT_TRUE(ordered.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 200), &parent, 5));
    ordered.SetColumnOrder({3, 2, 1, 0});
    ASSERT_EQ(4, ordered.InitColumnHeadings("名称|尺寸|类型|时间"));
    std::vector<Row> rows = MakeRows(3);
    ordered.AddObject((void*)rows.data());
    ordered.AddObject((void*)(rows.data() + 1));
    CRect second;
    ordered.GetItemRect(1, &second, LVIR_BOUNDS);

    // On screen: 时间 0-120, 类型 120-270, 尺寸 270-330, 名称 330-430.
    const struct {
        int x;
        int column;
        int left;
        int right;
    } cases[] = {{50, 3, 0, 120}, {200, 2, 120, 270}, {300, 1, 270, 330}, {400, 0, 330, 430}};
    for (const auto& hit : cases) {
        CRect cell;
        int column = -1;
        EXPECT_EQ(1, ordered.HitTestEx(CPoint(hit.x, second.CenterPoint().y), cell, column)) << hit.x;
        EXPECT_EQ(hit.column, column) << hit.x;
        EXPECT_EQ(CRect(hit.left, second.top, hit.right, second.bottom), cell) << hit.x;
    }
    CRect cell;
    int column = -1;
    EXPECT_EQ(-1, ordered.HitTestEx(CPoint(500, second.CenterPoint().y), cell, column));
    ordered.SendMessage(WM_COMMAND, CUIODListCtrl::kCommandViewList);
    EXPECT_EQ(-1, ordered.HitTestEx(CPoint(50, second.CenterPoint().y), cell, column));
}
