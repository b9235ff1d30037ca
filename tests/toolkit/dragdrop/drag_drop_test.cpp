#include "tests/support/gtest.h"

#include <string>

#include "tests/support/message_log.h"
#include "tests/support/test_files.h"
#include "tests/toolkit/dragdrop/test_file_controls.h"
#include "toolkit/dragdrop/dropped_files.h"

namespace {

// A file list in one window and a folder tree in another, side by side.
class DragDropTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        m_shown = testfiles::MakeScratchFolder("shown");
        m_target = testfiles::MakeScratchFolder("target");
        ASSERT_TRUE(testfiles::WriteFileBytes(m_shown + "\\plan a.dxf", "plan"));
        ASSERT_TRUE(CreateDirectoryA((m_shown + "\\sub").c_str(), nullptr));
        ASSERT_TRUE(m_listWindow.CreateAt(40, 40, 300, 300));
        ASSERT_TRUE(m_list.CreateIn(&m_listWindow, m_shown));
        ASSERT_TRUE(m_treeWindow.CreateAt(500, 40, 300, 300));
        ASSERT_TRUE(m_tree.CreateIn(&m_treeWindow));
        m_targetItem = m_tree.AddFolder(m_target);
        m_fileItem = m_tree.AddFolder(m_shown + "\\plan a.dxf");
        // A tree always has a caret item (Wine ignores clearing the drop
        // highlight of a tree without one).
        m_tree.SelectItem(m_fileItem);
        testwin::PumpMessages(200);
    }
    void TearDown() override
    {
        m_list.DestroyWindow();
        m_tree.DestroyWindow();
        m_listWindow.DestroyWindow();
        m_treeWindow.DestroyWindow();
        OleUninitialize();
    }

    POINT ListItemPoint(const char* name)
    {
        int item = m_list.FindItem(name);
        CRect rect;
        m_list.GetItemRect(item, &rect, LVIR_LABEL);
        return ScreenPointOf(m_list.m_hWnd, rect.CenterPoint());
    }
    POINT TreeItemPoint(HTREEITEM item)
    {
        CRect rect;
        m_tree.GetItemRect(item, &rect, TRUE);
        return ScreenPointOf(m_tree.m_hWnd, rect.CenterPoint());
    }

    std::string m_shown;
    std::string m_target;
    CTestHostWindow m_listWindow;
    CTestHostWindow m_treeWindow;
    CTestFileList m_list;
    CTestFolderTree m_tree;
    HTREEITEM m_targetItem = nullptr;
    HTREEITEM m_fileItem = nullptr;
};

}  // namespace

TEST_F(DragDropTest, ListFileDraggedOntoATreeFolderIsCopiedThereWhateverKeysAreHeld)
{
    m_list.SetItemState(m_list.FindItem("plan a.dxf"), LVIS_SELECTED, LVIS_SELECTED);
    std::string copy = m_target + "\\plan a.dxf";
    for (std::vector<WORD> keys : {std::vector<WORD>{}, {VK_SHIFT}, {VK_CONTROL, VK_SHIFT}}) {
        CMouseDrag drag(ListItemPoint("plan a.dxf"), TreeItemPoint(m_targetItem), keys);
        ASSERT_TRUE(drag.Play());
        EXPECT_EQ(std::vector<std::string>({"plan a.dxf"}), testfiles::FileNamesIn(m_target)) << keys.size();
        EXPECT_EQ(std::vector<std::string>({"plan a.dxf"}), testfiles::FileNamesIn(m_shown));
        EXPECT_EQ(nullptr, m_tree.GetDropHilightItem());
        ASSERT_TRUE(DeleteFileA(copy.c_str()));
    }
}

TEST_F(DragDropTest, ATreeItemThatIsNoFolderTakesNoDrop)
{
    m_list.SetItemState(m_list.FindItem("sub"), LVIS_SELECTED, LVIS_SELECTED);
    CMouseDrag drag(ListItemPoint("sub"), TreeItemPoint(m_fileItem));
    ASSERT_TRUE(drag.Play());
    EXPECT_EQ(GetFileAttributesA((m_shown + "\\sub").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              (DWORD)FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(testfiles::FileNamesIn(m_target).empty());
}

TEST_F(DragDropTest, TreeFolderDraggedOntoAListFolderItemIsCopiedThere)
{
    ASSERT_TRUE(testfiles::WriteFileBytes(m_target + "\\inside.dwg", "x"));
    CMouseDrag drag(TreeItemPoint(m_targetItem), ListItemPoint("sub"));
    ASSERT_TRUE(drag.Play());
    std::string leaf = m_target.substr(m_target.rfind('\\') + 1);
    EXPECT_EQ(std::vector<std::string>({"inside.dwg"}), testfiles::FileNamesIn(m_shown + "\\sub\\" + leaf));
    EXPECT_EQ(std::vector<std::string>({"inside.dwg"}), testfiles::FileNamesIn(m_target));
    EXPECT_EQ(1, m_tree.m_dragsDone);
    EXPECT_EQ(-1, m_list.GetDropHighlightItem());
}

TEST_F(DragDropTest, CutFilesPasteAsAMoveAndCopiedOnesAsACopy)
{
    std::string elsewhere = testfiles::MakeScratchFolder("elsewhere");
    ASSERT_TRUE(testfiles::WriteFileBytes(elsewhere + "\\cut.dwg", "c"));
    ASSERT_TRUE(testfiles::WriteFileBytes(elsewhere + "\\copied.dwg", "c"));
    ASSERT_TRUE(PutFilesOnClipboard(nullptr, {(elsewhere + "\\cut.dwg").c_str()}, DROPEFFECT_MOVE));
    EXPECT_TRUE(m_list.CanPaste());
    EXPECT_TRUE(m_list.Paste());
    ASSERT_TRUE(PutFilesOnClipboard(nullptr, {(elsewhere + "\\copied.dwg").c_str()}, DROPEFFECT_COPY));
    EXPECT_TRUE(m_list.Paste());
    EXPECT_EQ(std::vector<std::string>({"copied.dwg"}), testfiles::FileNamesIn(elsewhere));
    EXPECT_EQ(std::vector<std::string>({"copied.dwg", "cut.dwg", "plan a.dxf"}), testfiles::FileNamesIn(m_shown));

    // The tree's folder, copied and pasted into itself's sibling.
    m_tree.SelectItem(m_targetItem);
    ASSERT_TRUE(testfiles::WriteFileBytes(m_target + "\\t.dxf", "t"));
    ASSERT_TRUE(m_tree.CopyToClipboard());
    EXPECT_EQ(0u, GetPreferredDropEffect());
    EXPECT_TRUE(m_list.Paste());
    std::string leaf = m_target.substr(m_target.rfind('\\') + 1);
    EXPECT_EQ(std::vector<std::string>({"t.dxf"}), testfiles::FileNamesIn(m_shown + "\\" + leaf));
    EXPECT_EQ(std::vector<std::string>({"t.dxf"}), testfiles::FileNamesIn(m_target));

    // Pasted into the tree's caret folder.
    ASSERT_TRUE(PutFilesOnClipboard(nullptr, {(elsewhere + "\\copied.dwg").c_str()}, DROPEFFECT_MOVE));
    EXPECT_TRUE(m_tree.CanPaste());
    EXPECT_TRUE(m_tree.Paste());
    EXPECT_EQ(std::vector<std::string>({"copied.dwg", "t.dxf"}), testfiles::FileNamesIn(m_target));
}
