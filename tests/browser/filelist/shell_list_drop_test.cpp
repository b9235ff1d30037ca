// Files dragged from a second window onto the file list with real mouse
// input: a left drop onto a folder row or the background, a right drop whose
// menu is answered from a timer; the files checked on disk. Also the shown
// folder's shell column headings against the shell's own answer.
#include "tests/support/gtest.h"

#include <shlwapi.h>

#include <string>
#include <vector>

#include "browser/filelist/file_list_view.h"
#include "core/appsw.h"
#include "core/preference.h"
#include "tests/support/message_log.h"
#include "tests/support/test_files.h"
#include "tests/toolkit/dragdrop/test_file_controls.h"
#include "toolkit/dragdrop/dropped_files.h"

namespace {

// The files the source window drags out, as the shell would, and the effect
// its drag ended with (a source deletes its files after a move).
std::vector<CString> g_dragged;
DWORD g_sourceEffect = DROPEFFECT_NONE;

LRESULT CALLBACK SourceProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) {
        COleDataSource source;
        source.CacheGlobalData(CF_HDROP, BuildDroppedFileBlock(g_dragged));
        g_sourceEffect = source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The keys that answer the drop menu (posted to its window), and the drop
// highlight the list showed while the drag was over it.
std::vector<WPARAM> g_menuKeys;
int g_highlightSeen = -1;
CIEShellListCtrl* g_list = nullptr;

void CALLBACK WatchDrag(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_list && g_list->GetDropHighlightItem() >= 0)
        g_highlightSeen = g_list->GetDropHighlightItem();
    HWND menu = FindWindowA("#32768", nullptr);
    if (!menu || !IsWindowVisible(menu) || g_menuKeys.empty())
        return;
    for (WPARAM key : g_menuKeys)
        PostMessageA(menu, WM_KEYDOWN, key, 0);
    g_menuKeys.clear();
}

class ShellListDropTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        AppSW.mode = APPMODE_BROWSE;
        Preference.ShowNoneDrawingFile = 1;
        m_shown = testfiles::MakeScratchFolder("shown");
        m_outside = testfiles::MakeScratchFolder("outside");
        ASSERT_TRUE(CreateDirectoryA((m_shown + "\\sub").c_str(), nullptr));
        for (const char* name : {"a.dxf", "b.dxf", "c.dxf"})
            ASSERT_TRUE(testfiles::WriteFileBytes(m_outside + "\\" + name, name));
        ASSERT_TRUE(m_listWindow.CreateAt(40, 40, 420, 320));
        ASSERT_TRUE(m_pane.Create(&m_listWindow));
        m_pane.MoveWindow(0, 0, 420, 320);
        List().SetViewType(VIEWTYPE_REPORT);
        ASSERT_TRUE(List().BrowseToPath(m_shown.c_str()));
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = SourceProcedure;
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.lpszClassName = "DropTestSource";
        RegisterClassA(&windowClass);
        m_source = CreateWindowA("DropTestSource", "source", WS_POPUP | WS_VISIBLE, 560, 40, 200, 200, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_source);
        g_list = &List();
        g_highlightSeen = -1;
        g_menuKeys.clear();
        m_timer = SetTimer(nullptr, 0, 30, WatchDrag);
        testwin::PumpMessages(200);
    }
    void TearDown() override
    {
        KillTimer(nullptr, m_timer);
        g_list = nullptr;
        DestroyWindow(m_source);
        m_pane.DestroyWindow();
        m_listWindow.DestroyWindow();
        OleUninitialize();
    }

    CIEShellListCtrl& List() { return m_pane.GetList(); }
    int RowOf(const char* name)
    {
        for (int row = 0; row < List().GetItemCount(); ++row)
            if (List().GetItemPath(row) == CString((m_shown + "\\" + name).c_str()))
                return row;
        return -1;
    }
    POINT RowPoint(const char* name)
    {
        CRect rect;
        List().GetItemRect(RowOf(name), &rect, LVIR_LABEL);
        return ScreenPointOf(List().m_hWnd, rect.CenterPoint());
    }
    POINT BackgroundPoint() { return ScreenPointOf(List().m_hWnd, {300, 250}); }
    // Drags the outside files named from the source window to the point.
    void DragFromOutside(std::vector<const char*> names, POINT to, bool rightButton,
                         std::vector<WORD> keys = {})
    {
        g_dragged.clear();
        g_sourceEffect = DROPEFFECT_NONE;
        for (const char* name : names)
            g_dragged.push_back((m_outside + "\\" + name).c_str());
        CMouseDrag drag(ScreenPointOf(m_source, {100, 100}), to, keys, rightButton);
        ASSERT_TRUE(drag.Play());
    }

    std::string m_shown;
    std::string m_outside;
    CTestHostWindow m_listWindow;
    CFileListView m_pane;
    HWND m_source = nullptr;
    UINT_PTR m_timer = 0;
};

}  // namespace

TEST_F(ShellListDropTest, LeftDropCopiesIntoTheFolderRowUnderItOrTheShownFolder)
{
    const int subRow = RowOf("sub");
    ASSERT_GE(subRow, 0);
    DragFromOutside({"a.dxf", "b.dxf"}, RowPoint("sub"), false);
    EXPECT_EQ(subRow, g_highlightSeen);
    EXPECT_EQ(-1, List().GetDropHighlightItem());
    EXPECT_EQ(std::vector<std::string>({"a.dxf", "b.dxf"}), testfiles::FileNamesIn(m_shown + "\\sub"));
    EXPECT_EQ(3u, testfiles::FileNamesIn(m_outside).size());

    // The list's background stands for the shown folder.
    DragFromOutside({"c.dxf"}, BackgroundPoint(), false);
    EXPECT_EQ(std::vector<std::string>({"c.dxf"}), testfiles::FileNamesIn(m_shown));
}

// Keys choose nothing: every left drop copies, and the source is told so.
TEST_F(ShellListDropTest, LeftDropsCopyWithOrWithoutKeysAndNeverLetTheSourceDelete)
{
    DragFromOutside({"a.dxf"}, RowPoint("sub"), false, {VK_SHIFT});
    EXPECT_EQ((DWORD)DROPEFFECT_COPY, g_sourceEffect);
    DragFromOutside({"b.dxf"}, RowPoint("sub"), false, {VK_CONTROL, VK_SHIFT});
    EXPECT_EQ((DWORD)DROPEFFECT_COPY, g_sourceEffect);
    EXPECT_EQ(std::vector<std::string>({"a.dxf", "b.dxf"}), testfiles::FileNamesIn(m_shown + "\\sub"));
    EXPECT_EQ(3u, testfiles::FileNamesIn(m_outside).size());

    // The list's own file dragged onto its folder row without keys, and
    // dropped back on the folder it is in.
    ASSERT_TRUE(testfiles::WriteFileBytes(m_shown + "\\own.dxf", "own"));
    List().RefreshKeepSelection(true, true);
    List().SetItemState(RowOf("own.dxf"), LVIS_SELECTED, LVIS_SELECTED);
    CMouseDrag own(RowPoint("own.dxf"), RowPoint("sub"));
    ASSERT_TRUE(own.Play());
    CMouseDrag back(RowPoint("own.dxf"), BackgroundPoint());
    ASSERT_TRUE(back.Play());
    EXPECT_EQ(std::vector<std::string>({"a.dxf", "b.dxf", "own.dxf"}),
              testfiles::FileNamesIn(m_shown + "\\sub"));
    std::string kept;
    ASSERT_TRUE(testfiles::ReadFileBytes(m_shown + "\\own.dxf", kept));
    EXPECT_EQ("own", kept);
}

TEST_F(ShellListDropTest, RightDropMovesCopiesOrDoesNothingAsTheMenuIsAnswered)
{
    g_menuKeys = {VK_DOWN, VK_RETURN};
    DragFromOutside({"a.dxf"}, RowPoint("sub"), true);
    EXPECT_EQ(std::vector<std::string>({"a.dxf"}), testfiles::FileNamesIn(m_shown + "\\sub"));
    EXPECT_EQ(std::vector<std::string>({"b.dxf", "c.dxf"}), testfiles::FileNamesIn(m_outside));

    g_menuKeys = {VK_DOWN, VK_DOWN, VK_RETURN};
    DragFromOutside({"b.dxf"}, RowPoint("sub"), true);
    EXPECT_EQ(std::vector<std::string>({"a.dxf", "b.dxf"}), testfiles::FileNamesIn(m_shown + "\\sub"));
    EXPECT_EQ(std::vector<std::string>({"b.dxf", "c.dxf"}), testfiles::FileNamesIn(m_outside));

    g_menuKeys = {VK_ESCAPE};
    DragFromOutside({"c.dxf"}, BackgroundPoint(), true);
    EXPECT_TRUE(testfiles::FileNamesIn(m_shown).empty());
    EXPECT_EQ(std::vector<std::string>({"b.dxf", "c.dxf"}), testfiles::FileNamesIn(m_outside));
    EXPECT_EQ(-1, List().GetDropHighlightItem());
}

TEST_F(ShellListDropTest, ShellColumnHeadingsAreTheFoldersOwn)
{
    // The shell's answer, asked by a path of its own.
    IShellFolder* desktop = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetDesktopFolder(&desktop)));
    WCHAR widePath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, m_shown.c_str(), -1, widePath, MAX_PATH);
    LPITEMIDLIST absolute = nullptr;
    ASSERT_TRUE(SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, widePath, nullptr, &absolute, nullptr)));
    IShellFolder2* folder = nullptr;
    ASSERT_TRUE(SUCCEEDED(desktop->BindToObject(absolute, nullptr, IID_IShellFolder2, (void**)&folder)));
    std::string expected;
    SHELLDETAILS details = {};
    for (UINT column = 0; SUCCEEDED(folder->GetDetailsOf(nullptr, column, &details)); ++column) {
        char text[MAX_PATH] = "";
        StrRetToBufA(&details.str, nullptr, text, sizeof(text));
        expected += (column ? "|" : "") + std::string(text);
    }
    folder->Release();
    ILFree(absolute);
    desktop->Release();

    EXPECT_NE(std::string::npos, expected.find('|'));
    EXPECT_EQ(expected, std::string(List().GetShellColumnHeadings()));
}
