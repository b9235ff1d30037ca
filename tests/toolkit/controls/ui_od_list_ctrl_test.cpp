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
    void ChooseColumn(int column) { m_chosenColumn = column; }
};

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
