#include "tests/support/gtest.h"

#include <string>

#include "platform/classlib/classlib.h"

namespace {

class DrawnButton : public CButton {
public:
    void DrawItem(LPDRAWITEMSTRUCT drawItem) override
    {
        ++draws;
        lastId = drawItem->CtlID;
    }
    int draws = 0;
    UINT lastId = 0;
};

class Host : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "controls", WS_POPUP | WS_VISIBLE,
                                    CRect(0, 0, 400, 300), nullptr, 0));
    }
    void TearDown() override { parent.DestroyWindow(); }

    CWnd parent;
};

}  // namespace

TEST_F(Host, AnOwnerDrawnButtonDrawsItselfThroughReflection)
{
    DrawnButton button;
    ASSERT_TRUE(button.Create("x", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 50, 20), &parent, 7));
    button.Invalidate();
    button.UpdateWindow();
    EXPECT_GE(button.draws, 1);
    EXPECT_EQ(7u, button.lastId);
}

TEST_F(Host, ListTextsOfAnyLengthComeBackWhole)
{
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 200), &parent, 8));
    list.InsertColumn(0, "name", LVCFMT_LEFT, 100);
    list.InsertColumn(1, "size", LVCFMT_RIGHT, 100, 1);
    std::string longText(1000, 'a');
    longText += "图纸";
    ASSERT_EQ(0, list.InsertItem(0, longText.c_str()));
    ASSERT_TRUE(list.SetItemText(0, 1, "12 KB"));
    ASSERT_TRUE(list.SetItemData(0, 0x1234));
    EXPECT_STREQ(longText.c_str(), list.GetItemText(0, 0));
    EXPECT_STREQ("12 KB", list.GetItemText(0, 1));
    EXPECT_EQ(0x1234u, list.GetItemData(0));
    ASSERT_NE(nullptr, list.GetHeaderCtrl());
    EXPECT_EQ(2, list.GetHeaderCtrl()->GetItemCount());
}

TEST_F(Host, TreeItemsKeepTheirTextsDataAndPlaces)
{
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 200), &parent, 9));
    HTREEITEM root = tree.InsertItem("桌面", 0, 1);
    HTREEITEM child = tree.InsertItem("C:", 2, 3, root);
    tree.SetItemData(child, 42);
    EXPECT_EQ(root, tree.GetRootItem());
    EXPECT_EQ(child, tree.GetChildItem(root));
    EXPECT_EQ(root, tree.GetParentItem(child));
    EXPECT_STREQ("C:", tree.GetItemText(child));
    EXPECT_EQ(42u, tree.GetItemData(child));
    int image = 0, selected = 0;
    ASSERT_TRUE(tree.GetItemImage(child, image, selected));
    EXPECT_EQ(2, image);
    EXPECT_EQ(3, selected);
}

TEST_F(Host, StatusPanesHoldTheirTexts)
{
    CStatusBarCtrl status;
    ASSERT_TRUE(status.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &parent, 10));
    int edges[] = {100, 200, -1};
    ASSERT_TRUE(status.SetParts(3, edges));
    status.SetText("就绪", 1, 0);
    EXPECT_STREQ("就绪", status.GetText(1));
    EXPECT_EQ(3, status.GetParts(0, nullptr));
}
