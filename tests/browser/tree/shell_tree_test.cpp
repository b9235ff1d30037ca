#include "tests/support/gtest.h"

#include <dbt.h>

#include <string>
#include <vector>

#include "browser/tree/shell_tree.h"
#include "tests/support/dialog_script.h"
#include "tests/support/message_log.h"
#include "tests/support/test_files.h"
#include "tests/support/unix_tools.h"

namespace {

// One tree in a window of its own for all the tests (filling the desktop's
// folders and watching the drives takes a while), a recorder standing for
// the file list, and a scratch folder with two subfolders for each test.
class ShellTreeTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        OleInitialize(nullptr);
        s_frame = new CWnd;
        s_frame->CreateEx(0, AfxRegisterWndClass(0), "tree", WS_POPUP | WS_VISIBLE, 0, 0, 400, 600, nullptr,
                          nullptr);
        s_tree = new CShellTree;
        s_tree->Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                       CRect(0, 0, 400, 600), s_frame, 108);
        s_log = new testwin::MessageLog({WM_SHOW_FOLDER, WM_FOLDER_CONTENT_CHANGED});
        s_tree->SetListWindow(s_log->CreateRecorder());
    }
    static void TearDownTestSuite()
    {
        s_tree->DestroyWindow();
        s_frame->DestroyWindow();
        delete s_tree;
        delete s_frame;
        delete s_log;
        OleUninitialize();
    }
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_tree->m_hWnd);
        m_folder = testfiles::MakeScratchFolder("tree");
        ASSERT_TRUE(CreateDirectoryA((m_folder + "\\beta").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA((m_folder + "\\alpha").c_str(), nullptr));
        m_tree.PopulateRoot();
        testwin::PumpMessages(300);
        m_log.Clear();
    }

    std::string CaretPath()
    {
        CString path;
        return m_tree.GetSelectedFolderPath(path) ? std::string(path) : "<none>";
    }
    std::vector<std::string> ChildNames(HTREEITEM item) { return ChildNames(m_tree, item); }
    static std::vector<std::string> ChildNames(CShellTree& tree, HTREEITEM item)
    {
        std::vector<std::string> names;
        for (HTREEITEM child = tree.GetChildItem(item); child; child = tree.GetNextSiblingItem(child))
            names.push_back((LPCSTR)tree.GetItemText(child));
        return names;
    }

    static CWnd* s_frame;
    static CShellTree* s_tree;
    static testwin::MessageLog* s_log;
    std::string m_folder;
    CShellTree& m_tree = *s_tree;
    testwin::MessageLog& m_log = *s_log;
};

CWnd* ShellTreeTest::s_frame = nullptr;
CShellTree* ShellTreeTest::s_tree = nullptr;
testwin::MessageLog* ShellTreeTest::s_log = nullptr;

}  // namespace

TEST_F(ShellTreeTest, DesktopFoldersAtTheTopAndAPathExpandsDownToItsFolder)
{
    EXPECT_NE(nullptr, m_tree.GetRootItem());
    EXPECT_NE(nullptr, m_tree.GetSelectedItem());
    ASSERT_TRUE(m_tree.FindPath(m_folder.c_str()));
    EXPECT_EQ(m_folder, CaretPath());
    HTREEITEM folder = m_tree.GetSelectedItem();
    EXPECT_TRUE(m_tree.HasParentFolder());
    // Children are read when the folder is expanded, sorted.
    m_tree.Expand(folder, TVE_EXPAND);
    EXPECT_EQ(std::vector<std::string>({"alpha", "beta"}), ChildNames(folder));
    ASSERT_TRUE(m_tree.SelectParentFolder());
    EXPECT_EQ(m_tree.GetParentItem(folder), m_tree.GetSelectedItem());
}

TEST_F(ShellTreeTest, OnlyTheLastOfQuickSelectionsIsShownAfterTheDelay)
{
    ASSERT_TRUE(m_tree.FindPath((m_folder + "\\alpha").c_str()));
    ASSERT_TRUE(m_tree.FindPath((m_folder + "\\beta").c_str()));
    // The delay starts when the last selection is made, inside FindPath.
    DWORD start = GetTickCount();
    ASSERT_TRUE(m_tree.FindPath(m_folder.c_str()));
    ASSERT_TRUE(m_log.WaitFor(WM_SHOW_FOLDER, 2000));
    EXPECT_GE(GetTickCount() - start, 150u);
    testwin::PumpMessages(300);
    ASSERT_EQ(1u, m_log.Count(WM_SHOW_FOLDER));
    CShellTreeItemData* shown = (CShellTreeItemData*)m_log.Entries()[0].lParam;
    EXPECT_EQ(m_tree.GetItemData(m_tree.GetSelectedItem()), (DWORD_PTR)shown);
}

TEST_F(ShellTreeTest, FoldersMadeOrRemovedOnDiskFollowInAnExpandedBranch)
{
    ASSERT_TRUE(m_tree.FindPath(m_folder.c_str()));
    HTREEITEM folder = m_tree.GetSelectedItem();
    m_tree.Expand(folder, TVE_EXPAND);
    int before = m_tree.GetWatcherCount();
    m_tree.StartDriveWatcher(m_folder.c_str());
    ASSERT_EQ(before + 1, m_tree.GetWatcherCount());
    testwin::PumpMessages(200);

    ASSERT_TRUE(CreateDirectoryA((m_folder + "\\aardvark").c_str(), nullptr));
    ASSERT_TRUE(RemoveDirectoryA((m_folder + "\\beta").c_str()));
    DWORD start = GetTickCount();
    while (ChildNames(folder) != std::vector<std::string>({"aardvark", "alpha"}) &&
           GetTickCount() - start < 5000)
        testwin::PumpMessages(50);
    EXPECT_EQ(std::vector<std::string>({"aardvark", "alpha"}), ChildNames(folder));
    m_tree.StopDriveWatchers();
    EXPECT_EQ(0, m_tree.GetWatcherCount());
}

// The scratch folders are on the drive mapped to the Unix root, whose whole
// subtree is never watched; a folder of C: lies below the top folder that
// the drive's own watcher waits on. A new tree watches both.
TEST_F(ShellTreeTest, FoldersMadeOrRemovedByAnotherProgramUnderExpandedFoldersFollow)
{
    ASSERT_EQ("/", codectest::UnixPath("Z:\\"));
    CShellTree tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                            CRect(0, 0, 400, 600), s_frame, 109));
    tree.PopulateRoot();
    ASSERT_TRUE(tree.FindPath(m_folder.c_str()));
    HTREEITEM folder = tree.GetSelectedItem();
    tree.Expand(folder, TVE_EXPAND);
    HTREEITEM alpha = tree.GetChildItem(folder);
    ASSERT_EQ("alpha", std::string(tree.GetItemText(alpha)));
    ASSERT_TRUE(CreateDirectoryA((m_folder + "\\alpha\\old").c_str(), nullptr));
    tree.Expand(alpha, TVE_EXPAND);
    testwin::PumpMessages(200);

    std::string unixFolder = codectest::UnixPath(m_folder);
    ASSERT_EQ(0, codectest::RunUnixProgram("/bin/mkdir '" + unixFolder + "/aardvark' '" + unixFolder +
                                           "/alpha/inner'"));
    ASSERT_EQ(
        0, codectest::RunUnixProgram("/bin/rmdir '" + unixFolder + "/beta' '" + unixFolder + "/alpha/old'"));
    const std::vector<std::string> made = {"aardvark", "alpha"};
    DWORD start = GetTickCount();
    while ((ChildNames(tree, folder) != made ||
            ChildNames(tree, alpha) != std::vector<std::string>({"inner"})) &&
           GetTickCount() - start < 5000)
        testwin::PumpMessages(50);
    EXPECT_EQ(made, ChildNames(tree, folder));
    EXPECT_EQ(std::vector<std::string>({"inner"}), ChildNames(tree, alpha));

    std::string other = "C:\\windows\\temp\\tree-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(other.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((other + "\\old").c_str(), nullptr));
    ASSERT_TRUE(tree.FindPath(other.c_str()));
    HTREEITEM otherItem = tree.GetSelectedItem();
    tree.Expand(otherItem, TVE_EXPAND);
    testwin::PumpMessages(200);
    std::string otherUnix = codectest::UnixPath(other);
    ASSERT_EQ(0, codectest::RunUnixProgram("/bin/mkdir '" + otherUnix + "/made' && /bin/rmdir '" + otherUnix +
                                           "/old'"));
    start = GetTickCount();
    while (ChildNames(tree, otherItem) != std::vector<std::string>({"made"}) && GetTickCount() - start < 5000)
        testwin::PumpMessages(50);
    EXPECT_EQ(std::vector<std::string>({"made"}), ChildNames(tree, otherItem));
    tree.DestroyWindow();
    EXPECT_EQ(0, tree.GetWatcherCount());
}

TEST_F(ShellTreeTest, RenamingChangesOnlyTheFoldersOwnName)
{
    std::string inner = m_folder + "\\alpha\\alpha";
    ASSERT_TRUE(CreateDirectoryA(inner.c_str(), nullptr));
    ASSERT_TRUE(m_tree.FindPath(inner.c_str()));
    ASSERT_TRUE(m_tree.RenameItem(m_tree.GetSelectedItem(), "omega"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_folder + "\\alpha\\omega").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_folder + "\\omega").c_str()));
}

TEST_F(ShellTreeTest, ARenameToAPathIsRefusedAndMovesNothing)
{
    std::string inner = m_folder + "\\alpha\\inner";
    ASSERT_TRUE(CreateDirectoryA(inner.c_str(), nullptr));
    ASSERT_TRUE(m_tree.FindPath(inner.c_str()));
    {
        testwin::DialogScript closer;
        closer.ThenEach(testwin::Cancel).Start();
        EXPECT_FALSE(m_tree.RenameItem(m_tree.GetSelectedItem(), "..\\..\\escaped"));
        EXPECT_FALSE(m_tree.RenameItem(m_tree.GetSelectedItem(), ".."));
    }
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(inner.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_folder + "\\escaped").c_str()));
}

TEST_F(ShellTreeTest, DeviceChangesWithinTheDelayMakeOneResync)
{
    m_tree.OnDeviceChange(DBT_DEVICEARRIVAL, 0);
    m_tree.OnDeviceChange(0x0007, 0);
    m_tree.OnDeviceChange(DBT_DEVICEREMOVECOMPLETE, 0);
    ASSERT_TRUE(m_log.WaitFor(WM_FOLDER_CONTENT_CHANGED, 3000));
    testwin::PumpMessages(300);
    ASSERT_EQ(1u, m_log.Count(WM_FOLDER_CONTENT_CHANGED));
    EXPECT_EQ(1, m_log.Entries().back().lParam);
}

TEST_F(ShellTreeTest, DropsLandOnlyOnWritableFolders)
{
    ASSERT_TRUE(m_tree.FindPath(m_folder.c_str()));
    HTREEITEM folder = m_tree.GetSelectedItem();
    CRect rect;
    m_tree.GetItemRect(folder, &rect, TRUE);
    EXPECT_TRUE(m_tree.CanDropAt(&m_tree, rect.CenterPoint().x, rect.CenterPoint().y));
    // The top of the folder's branch is the computer, no folder on disk.
    HTREEITEM top = folder;
    while (m_tree.GetParentItem(top))
        top = m_tree.GetParentItem(top);
    m_tree.GetItemRect(top, &rect, TRUE);
    EXPECT_FALSE(m_tree.CanDropAt(&m_tree, rect.CenterPoint().x, rect.CenterPoint().y));
}
