#include "tests/support/gtest.h"

#include <algorithm>
#include <string>
#include <vector>

#include "browser/bookmarks/path_list_box.h"
#include "core/registry_root.h"
#include "tests/support/message_log.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_files.h"
#include "tests/toolkit/dragdrop/test_file_controls.h"

namespace {

const char kBookmarkKey[] = HARBECK_REGISTRY_ROOT "TypedDirs";

// The stored bookmarks by value name, in the registry's order.
std::vector<std::string> Stored()
{
    std::vector<std::string> values;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kBookmarkKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    for (DWORD index = 0;; ++index) {
        char name[64], data[MAX_PATH];
        DWORD nameLength = sizeof(name), dataLength = sizeof(data);
        if (RegEnumValueA(key, index, name, &nameLength, nullptr, nullptr, (BYTE*)data, &dataLength) != ERROR_SUCCESS)
            break;
        values.push_back(std::string(name) + "=" + data);
    }
    RegCloseKey(key);
    std::sort(values.begin(), values.end());
    return values;
}

void Store(const char* name, const char* path)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, kBookmarkKey, name, REG_SZ, path, (DWORD)strlen(path) + 1);
}

std::vector<std::string> BoxEntries(CPathListBox& box)
{
    std::vector<std::string> entries;
    for (int index = 0; index < box.GetCount(); ++index) {
        CString text;
        box.GetLBText(index, text);
        entries.push_back((LPCSTR)text);
    }
    return entries;
}

class BookmarkTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_sandbox.IsActive()); }
    RegistrySandbox m_sandbox;
};

}  // namespace

TEST_F(BookmarkTest, ListLoadsUpToTheFirstGapAndSavesWithoutGapsOrStaleEntries)
{
    Store("TypedDir0", "C:\\a");
    Store("TypedDir1", "C:\\b");
    Store("TypedDir3", "C:\\d");
    CPathManager paths;
    ASSERT_TRUE(paths.Load());
    ASSERT_EQ(2, paths.GetCount());
    EXPECT_STREQ("C:\\b", paths.GetAt(1));
    EXPECT_EQ(nullptr, paths.GetAt(2));

    EXPECT_FALSE(paths.AddPath("c:\\A"));
    EXPECT_TRUE(paths.AddPath(""));
    EXPECT_TRUE(paths.AddPath("C:\\e"));
    ASSERT_TRUE(paths.Save());
    EXPECT_EQ(std::vector<std::string>({"TypedDir0=C:\\a", "TypedDir1=C:\\b", "TypedDir2=C:\\e"}), Stored());

    ASSERT_NE(nullptr, paths.FindPath("c:\\B"));
    paths.RemoveCurrent();
    ASSERT_TRUE(paths.Save());
    EXPECT_EQ(std::vector<std::string>({"TypedDir0=C:\\a", "TypedDir1=C:\\e"}), Stored());

    CPathManager empty;
    RegDeleteTreeA(HKEY_CURRENT_USER, kBookmarkKey);
    EXPECT_FALSE(empty.Load());
    EXPECT_EQ(0, empty.GetCount());
}

TEST_F(BookmarkTest, PathBoxAddsRemovesAndAsksTheMainWindowOnEnter)
{
    Store("TypedDir0", "C:\\first");
    Store("TypedDir1", "C:\\second");
    CWinApp app;
    CTestHostWindow main;
    ASSERT_TRUE(main.CreateAt(40, 40, 400, 300));
    app.m_pMainWnd = &main;
    testwin::MessageLog log({WM_PATHBOX_ENTER});
    ASSERT_TRUE(log.Attach(main.m_hWnd));
    CPathListBox box;
    ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_AUTOHSCROLL, CRect(10, 10, 380, 200), &main, 200));
    EXPECT_EQ(std::vector<std::string>({"C:\\first", "C:\\second"}), BoxEntries(box));
    EXPECT_EQ(0, box.GetCurSel());

    // Enter in the box's edit field goes to the main window, not the box.
    HWND edit = GetWindow(box.m_hWnd, GW_CHILD);
    MSG enter = {};
    enter.hwnd = edit;
    enter.message = WM_KEYDOWN;
    enter.wParam = VK_RETURN;
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(main.m_hWnd, &enter));
    MSG letter = enter;
    letter.wParam = 'A';
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(main.m_hWnd, &letter));
    ASSERT_TRUE(log.WaitFor(WM_PATHBOX_ENTER, 5000));
    EXPECT_EQ(0u, log.Entries()[0].wParam);

    box.SetWindowText("C:\\Third");
    box.AddCurrentFolder();
    box.SetWindowText("c:\\third");
    box.AddCurrentFolder();
    EXPECT_EQ(3, box.GetCount());
    EXPECT_EQ(std::vector<std::string>({"TypedDir0=C:\\first", "TypedDir1=C:\\second", "TypedDir2=C:\\Third"}),
              Stored());

    box.SetWindowText("C:\\second");
    EXPECT_TRUE(box.RemoveCurrentFolder());
    EXPECT_EQ(std::vector<std::string>({"C:\\first", "C:\\Third"}), BoxEntries(box));
    EXPECT_EQ(0, box.GetCurSel());
    box.SetWindowText("C:\\nowhere");
    EXPECT_FALSE(box.RemoveCurrentFolder());
    EXPECT_EQ(2u, Stored().size());

    Store("TypedDir2", "C:\\fromDialog");
    box.Reload();
    EXPECT_EQ(3, box.GetCount());
    box.DestroyWindow();
    app.m_pMainWnd = nullptr;
    main.DestroyWindow();
}

TEST_F(BookmarkTest, FoldersDraggedOntoTheBoxBecomeBookmarksAndFilesDoNot)
{
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    std::string folder = testfiles::MakeScratchFolder("dropped");
    ASSERT_TRUE(CreateDirectoryA((folder + "\\one").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((folder + "\\two").c_str(), nullptr));
    ASSERT_TRUE(testfiles::WriteFileBytes(folder + "\\plan.dxf", "0"));
    {
        CTestHostWindow boxWindow;
        ASSERT_TRUE(boxWindow.CreateAt(40, 40, 400, 120));
        CPathListBox box;
        ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(10, 10, 380, 200), &boxWindow, 200));
        CTestHostWindow listWindow;
        ASSERT_TRUE(listWindow.CreateAt(40, 300, 400, 300));
        CTestFileList list;
        ASSERT_TRUE(list.CreateIn(&listWindow, folder));
        for (int index = 0; index < list.GetItemCount(); ++index)
            list.SetItemState(index, LVIS_SELECTED, LVIS_SELECTED);
        CRect item;
        list.GetItemRect(list.FindItem("plan.dxf"), &item, LVIR_LABEL);
        CMouseDrag drag(ScreenPointOf(list.m_hWnd, item.CenterPoint()), ScreenPointOf(box.m_hWnd, CPoint(50, 10)));
        listWindow.SetForegroundWindow();
        testwin::PumpMessages(200);
        ASSERT_TRUE(drag.Play());
        EXPECT_EQ(std::vector<std::string>({folder + "\\one", folder + "\\two"}), BoxEntries(box));
        EXPECT_EQ(std::vector<std::string>({"TypedDir0=" + folder + "\\one", "TypedDir1=" + folder + "\\two"}),
                  Stored());
        // Nothing on disk moved.
        EXPECT_EQ(std::vector<std::string>({"plan.dxf"}), testfiles::FileNamesIn(folder));
        list.DestroyWindow();
        box.DestroyWindow();
    }
    OleUninitialize();
}
