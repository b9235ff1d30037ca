// The browse frame on the virtual display: its bars and the six interface
// styles (stored layouts read back from the registry, screenshots kept in
// tests/browser/screenshots), the status panes and their progress, the
// commands through the menu, the accelerators and the update rules, and the
// dialogs the commands open.
#include "tests/support/gtest.h"

#include "browser/dialogs/edit_path_box_dlg.h"
#include "browser/frame/browse_frame.h"
#include "core/appsw.h"
#include "core/file_types.h"
#include "core/preference.h"
#include "core/product_info.h"
#include "core/res_string.h"
#include "drawing/draw_thread/draw_thread.h"
#include "drawing/thumbnails/task_manage_thread.h"
#include "graphics/kbmp.h"
#include "resources/resource.h"
#include "tests/support/appsw_actions_log.h"
#include "tests/support/dialog_script.h"
#include "tests/support/message_log.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_files.h"
#include "tests/support/unix_tools.h"
#include "views/common/view_messages.h"
#include "views/viewer/view_frame.h"

#include <functional>
#include <string>
#include <vector>

namespace {

const char kRoot[] = "Software\\Pellmoor\\Harbeck\\";

bool KeyExists(const char* key)
{
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kRoot) + key).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

DWORD ReadDword(const char* key, const char* value)
{
    DWORD data = 0xFFFFFFFF, size = sizeof(data);
    RegGetValueA(HKEY_CURRENT_USER, (std::string(kRoot) + key).c_str(), value, RRF_RT_REG_DWORD, NULL, &data,
                 &size);
    return data;
}

// What an update rule said.
class RecordedUI : public CCmdUI {
public:
    void Enable(BOOL on) override { enabled = on != FALSE; }
    void SetCheck(int check) override { checked = check; }
    bool enabled = true;
    int checked = -1;
};

// Runs a command of the frame while the dialog or message box it opens is
// looked at and answered with the button; returns the dialog's caption,
// empty when none opened.
std::string RunAndAnswer(CWnd* frame, UINT command, int button, std::function<void(HWND)> inspect = nullptr)
{
    std::string seen;
    testwin::DialogScript driver({[&](HWND dialog) {
        seen = testwin::WindowText(dialog);
        if (inspect)
            inspect(dialog);
        ::SendMessageA(dialog, WM_COMMAND, button, 0);
    }});
    frame->SendMessage(WM_COMMAND, command);
    return seen;
}

UINT ParentId(CWnd* bar)
{
    return (UINT)::GetDlgCtrlID(::GetParent(bar->GetSafeHwnd()));
}

CRect ScreenRect(CWnd* window)
{
    CRect rect;
    window->GetWindowRect(&rect);
    return rect;
}

// Thread objects whose loop does not run, made busy by the test.
class BusyDrawThread : public TDwgDrawThread {
public:
    void SetBusy(bool busy) { m_busy = busy ? 1 : 0; }
};

class BusyTaskThread : public TTaskManageThread {
public:
    void SetBusy(bool busy) { SetIdle(!busy); }
};

}  // namespace

class BrowseFrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_sandbox.IsActive());
        m_app.SetRegistryKey("Pellmoor");
        Preference.ShowToolBar = 1;
        Preference.ShowStatus = 1;
        Preference.ShowPathBox = 1;
        Preference.ShowFullPath = 0;
        Preference.ShowNoneDrawingFile = 1;
        Preference.ThumbWidth = 170;
        Preference.SortType = 0;
        Preference.SortDir = 1;
        ASSERT_TRUE(MakeFrame());
    }
    void TearDown() override
    {
        CloseFrame();
        AppSW.taskThread = NULL;
        AppSW = CAppSW();
    }

    bool MakeFrame()
    {
        m_frame = new CBrowseFrame;
        m_app.m_pMainWnd = m_frame;
        if (!m_frame->LoadFrame(IDR_BROWSE_FRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, NULL, NULL)) {
            delete m_frame;
            m_frame = NULL;
            return false;
        }
        m_frame->GetFileList()->SetViewType(VIEWTYPE_REPORT);
        m_frame->ActivateBrowseMode(SW_SHOW);
        Idle();
        return true;
    }
    void CloseFrame()
    {
        if (m_frame != NULL && ::IsWindow(m_frame->GetSafeHwnd()))
            m_frame->SendMessage(WM_CLOSE);
        m_frame = NULL;
        // Closing the main window posted WM_QUIT.
        MSG quit;
        while (PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        testwin::PumpMessages(20);
    }
    void Idle()
    {
        testwin::PumpMessages(30);
        m_frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        m_frame->RecalcLayout();
        m_frame->UpdateWindow();
        testwin::PumpMessages(30);
    }
    RecordedUI Update(UINT id)
    {
        RecordedUI ui;
        ui.m_nID = id;
        m_frame->OnCmdMsg(id, (int)CN_UPDATE_COMMAND_UI, &ui, NULL);
        return ui;
    }
    // The frame's part of the screen, kept for looking at.
    void Screenshot(const std::string& name)
    {
        CRect frame = ScreenRect(m_frame);
        std::string folder = testfiles::BinaryDir() + "/tests/browser/screenshots";
        CreateDirectoryA(testfiles::ToWinePath(folder).c_str(), NULL);
        char crop[64];
        snprintf(crop, sizeof(crop), "%dx%d+%d+%d", frame.Width(), frame.Height(), (int)std::max(0L, (long)frame.left),
                 (int)std::max(0L, (long)frame.top));
        codectest::RunUnixProgram("/usr/bin/import -window root -crop " + std::string(crop) + " +repage " + folder +
                                  "/" + name + ".png");
    }
    // A folder with a drawing, an image and a text file, typed into the
    // path box: the list shows it and it becomes a bookmark.
    void ShowFolder()
    {
        m_folder = testfiles::MakeScratchFolder("browse_frame");
        std::string unix = codectest::UnixPath(m_folder);
        ASSERT_EQ(0, codectest::RunUnixProgram("/usr/bin/convert -size 40x30 xc:red " + unix + "/photo.png"));
        ASSERT_TRUE(testfiles::WriteFileBytes(m_folder + "\\notes.txt", "text"));
        ASSERT_TRUE(testfiles::WriteFileBytes(m_folder + "\\plan.dxf", "0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n"));
        CPathListBox& pathBox = m_frame->GetFileListView()->GetPathBox();
        pathBox.SetWindowText(m_folder.c_str());
        m_frame->SendMessage(WM_PATHBOX_ENTER);
        // The tree shows its selection in the list a moment later.
        for (int wait = 0; wait < 100 && m_frame->GetFileList()->GetItemCount() != 3; ++wait)
            testwin::PumpMessages(20);
        Idle();
        ASSERT_EQ(3, m_frame->GetFileList()->GetItemCount());
        EXPECT_GE(pathBox.FindStringExact(-1, m_folder.c_str()), 0);
    }
    // The list's path of a file of the shown folder.
    CString ListedPath(const char* name)
    {
        CIEShellListCtrl* list = m_frame->GetFileList();
        for (int row = 0; row < list->GetItemCount(); ++row) {
            CString path = list->GetItemPath(row);
            if (path.Right((int)strlen(name)).CompareNoCase(name) == 0)
                return path;
        }
        return CString();
    }

    // The drawing thread as start-up makes it, answering the preview.
    TDwgDrawThread* StartDrawThread()
    {
        m_drawThread = new TDwgDrawThread;
        if (!m_drawThread->Create())
            return NULL;
        AppSW.mode = APPMODE_BROWSE;
        AppSW.drawThread = m_drawThread;
        m_drawThread->SetNotifyWnd(m_frame->GetPreview()->GetSafeHwnd());
        return m_drawThread;
    }
    void StopDrawThread()
    {
        AppSW.drawThread = NULL;
        EXPECT_TRUE(m_drawThread->Stop(10000));
        delete m_drawThread;
        m_drawThread = NULL;
    }
    // Pumps until the drawing thread holds the file, idle, for a while (it
    // may not have taken a request yet): a drawing or an image loaded, not
    // only read for its information. False after 20 s.
    bool DrawThreadHolds(const CString& path)
    {
        int heldFor = 0;
        for (int wait = 0; wait < 1000 && heldFor < 15; ++wait) {
            testwin::PumpMessages(20);
            bool loaded = m_drawThread->GetFileKind() <= FILEKIND_DWF ? m_drawThread->HasDrawing()
                                                                      : m_drawThread->IsRasterLoaded();
            bool idle = !m_drawThread->IsBusy() && !m_drawThread->IsOpening();
            heldFor = idle && loaded && m_drawThread->GetFilePath() == path ? heldFor + 1 : 0;
        }
        return heldFor >= 15;
    }

    RegistrySandbox m_sandbox;
    CWinApp m_app{"Harbeck"};
    testwin::AppSWActionsLog m_actions;
    CBrowseFrame* m_frame = NULL;
    TDwgDrawThread* m_drawThread = NULL;
    std::string m_folder;
};

TEST_F(BrowseFrameTest, FirstStartWritesStyleOneWithTheTreeAboveThePreview)
{
    for (const char* key : {"Bar State-Bar0", "Bar State-Bar1", "Bar State-Bar2", "Bar State-Bar3", "Bar State-Bar4",
                            "Bar State-Bar5", "Bar State-SCBar-105", "Bar State-SCBar-106", "Bar State-Summary"})
        EXPECT_TRUE(KeyExists(key)) << key;
    EXPECT_FALSE(KeyExists("Bar State-Bar6"));
    EXPECT_EQ(6u, ReadDword("Bar State-Summary", "Bars"));
    EXPECT_EQ(1024u, ReadDword("Bar State-Summary", "ScreenCX"));
    EXPECT_EQ(0x80000000u, ReadDword("Bar State-Bar0", "MRUFloatXPos"));
    EXPECT_EQ(0xCDCDCDCDu, ReadDword("Bar State-Bar4", "MRUFloatYPos"));
    EXPECT_EQ(59420u, ReadDword("Bar State-Bar5", "MRUDockID"));
    EXPECT_EQ(329u, ReadDword("Bar State-SCBar-105", "sizeVertCY"));

    EXPECT_EQ(AFX_IDW_PANE_FIRST, (UINT)m_frame->GetFileListView()->GetDlgCtrlID());
    EXPECT_EQ(AFX_IDW_DOCKBAR_LEFT, ParentId(m_frame->GetTreeBar()));
    EXPECT_EQ(AFX_IDW_DOCKBAR_LEFT, ParentId(m_frame->GetPreviewBar()));
    EXPECT_LT(ScreenRect(m_frame->GetTreeBar()).top, ScreenRect(m_frame->GetPreviewBar()).top);
    EXPECT_LE(ScreenRect(m_frame->GetTreeBar()).right, ScreenRect(m_frame->GetFileListView()).left);
    EXPECT_TRUE(m_frame->GetToolBar()->IsWindowVisible());
    EXPECT_TRUE(m_frame->GetStatusBar()->IsWindowVisible());
}

TEST_F(BrowseFrameTest, InterfaceStylesArrangeTheBarsAndTheLastOneSurvivesARestart)
{
    CWnd* tree = m_frame->GetTreeBar();
    CWnd* preview = m_frame->GetPreviewBar();
    for (int style = 1; style <= 6; ++style) {
        m_frame->ApplyInterfaceStyle(style);
        Idle();
        Screenshot("browse_style_" + std::to_string(style));
        SCOPED_TRACE(style);
        switch (style) {
        case 1:
            EXPECT_EQ(AFX_IDW_DOCKBAR_LEFT, ParentId(preview));
            EXPECT_LT(ScreenRect(tree).top, ScreenRect(preview).top);
            break;
        case 2:
            EXPECT_EQ(AFX_IDW_DOCKBAR_LEFT, ParentId(tree));
            EXPECT_EQ(AFX_IDW_DOCKBAR_BOTTOM, ParentId(preview));
            EXPECT_TRUE(KeyExists("Bar State-Bar6"));
            EXPECT_EQ(7u, ReadDword("Bar State-Summary", "Bars"));
            break;
        case 3:
        case 4:
            EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, ParentId(tree));
            EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, ParentId(preview));
            EXPECT_EQ(style == 3, ScreenRect(tree).left < ScreenRect(preview).left);
            EXPECT_GT(ScreenRect(tree).top, ScreenRect(m_frame->GetToolBar()).top);
            EXPECT_FALSE(KeyExists("Bar State-Bar5"));
            EXPECT_FALSE(KeyExists("Bar State-Bar6"));
            EXPECT_EQ(5u, ReadDword("Bar State-Summary", "Bars"));
            EXPECT_EQ(style == 3 ? 0u : 557u, ReadDword("Bar State-Bar3", "MRUDockLeftPos"));
            break;
        case 5:
            EXPECT_FALSE(tree->IsWindowVisible());
            EXPECT_EQ(AFX_IDW_DOCKBAR_BOTTOM, ParentId(preview));
            EXPECT_EQ(CRect(0, 0, 390, ScreenRect(m_frame).bottom), ScreenRect(m_frame));
            break;
        case 6:
            EXPECT_FALSE(preview->IsWindowVisible());
            EXPECT_TRUE(tree->IsWindowVisible());
            EXPECT_EQ(AFX_IDW_DOCKBAR_BOTTOM, ParentId(tree));
            break;
        }
    }
    // Style 5 at a wider thumbnail, kept over a restart.
    Preference.ThumbWidth = 250;
    m_frame->ApplyInterfaceStyle(5);
    Idle();
    EXPECT_EQ(550, ScreenRect(m_frame).Width());
    CloseFrame();
    EXPECT_EQ(1u, ReadDword("Bar State-Bar0", "Docking"));
    ASSERT_TRUE(MakeFrame());
    EXPECT_FALSE(m_frame->GetTreeBar()->IsWindowVisible());
    EXPECT_EQ(AFX_IDW_DOCKBAR_BOTTOM, ParentId(m_frame->GetPreviewBar()));
}

TEST_F(BrowseFrameTest, StatusRefreshesAreCoalescedAndDriveTheProgressPane)
{
    CCJStatusBar* status = m_frame->GetStatusBar();
    m_frame->PostMessage(WM_UPDATE_STATUS, 3, 10);
    m_frame->PostMessage(WM_UPDATE_STATUS, 4, 10);
    testwin::PumpMessages(30);
    ASSERT_NE(nullptr, m_frame->GetProgress());
    EXPECT_EQ(4, m_frame->GetProgress()->GetPos());
    EXPECT_EQ(10, m_frame->GetProgress()->GetUpper());
    // Counts first, progress next, the summary last; no file name and no
    // selection size without a current item.
    ASSERT_EQ(3, status->GetCount());
    EXPECT_EQ(ID_PANE_COUNTS, status->GetItemID(0));
    EXPECT_EQ(ID_PANE_PROGRESS, status->GetItemID(1));
    EXPECT_EQ(0u, status->GetItemID(2));
    EXPECT_STREQ("0个文件 0个图形文件", status->GetPaneText(0));

    m_frame->SendMessage(WM_UPDATE_STATUS, 10, 10);
    ASSERT_NE(nullptr, m_frame->GetProgress());
    EXPECT_EQ(4, m_frame->GetProgress()->GetPos());

    m_frame->SendMessage(WM_STATUS_TEXT, 0, (LPARAM) "正在停止...");
    EXPECT_STREQ("正在停止...", status->GetPaneText(0));
    m_frame->SendMessage(WM_STATUS_TEXT, 1, 0);
    EXPECT_STREQ("         ", status->GetPaneText(0));
    m_frame->SendMessage(WM_UPDATE_STATUS, (WPARAM)-1000, (LPARAM)-1000);
    EXPECT_EQ(nullptr, m_frame->GetProgress());
    EXPECT_LT(status->CommandToIndex(ID_PANE_PROGRESS), 0);
    EXPECT_STREQ("         ", status->GetPaneText(0));
    m_frame->SendMessage(WM_STATUS_TEXT, 0, 0);
    EXPECT_STREQ("0个文件 0个图形文件", status->GetPaneText(0));

    // With the status bar hidden only the title follows.
    Preference.ShowStatus = 0;
    m_frame->SendMessage(WM_PREFS_CHANGED, 0, 0);
    EXPECT_FALSE(status->IsWindowVisible());
    m_frame->SendMessage(WM_UPDATE_STATUS, 3, 10);
    EXPECT_EQ(nullptr, m_frame->GetProgress());
    CString title;
    m_frame->GetWindowText(title);
    EXPECT_STREQ(" " + ProductInfo.GetCaption(), title);
}

TEST_F(BrowseFrameTest, StatusAndTitleFollowTheListsFolderAndItem)
{
    ShowFolder();
    CIEShellListCtrl* list = m_frame->GetFileList();
    ASSERT_EQ(3, list->GetItemCount());
    ASSERT_TRUE(list->SelectItemByPath(ListedPath("photo.png")));
    Preference.ShowFullPath = 1;
    m_frame->SendMessage(WM_UPDATE_STATUS, 0, 0);
    CCJStatusBar* status = m_frame->GetStatusBar();
    EXPECT_EQ(0, CString(status->GetPaneText(0)).Find("3个文件 2个图形文件"));
    EXPECT_STREQ("photo.png", status->GetPaneText(status->CommandToIndex(ID_PANE_FILE_NAME)));
    EXPECT_GE(status->CommandToIndex(ID_PANE_SELECTION_SIZE), 0);
    CString title;
    m_frame->GetWindowText(title);
    EXPECT_STREQ(" " + ProductInfo.GetCaption() + " [ " + ListedPath("photo.png") + " ]", title);
    Screenshot("browse_status");
}

TEST_F(BrowseFrameTest, CommandsReachTheBarsTheListAndThePreferences)
{
    // The tool bar command through the menu, its check mark read back.
    CMenu* viewMenu = m_frame->GetMenu()->GetSubMenu(2);
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_EQ(0, Preference.ShowToolBar);
    EXPECT_FALSE(m_frame->GetToolBar()->IsWindowVisible());
    m_frame->SendMessage(WM_INITMENUPOPUP, (WPARAM)viewMenu->GetSafeHmenu(), 2);
    EXPECT_EQ(0u, viewMenu->GetMenuState(ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED);
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_TRUE(m_frame->GetToolBar()->IsWindowVisible());
    m_frame->SendMessage(WM_INITMENUPOPUP, (WPARAM)viewMenu->GetSafeHmenu(), 2);
    EXPECT_NE(0u, viewMenu->GetMenuState(ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED);

    m_frame->SendMessage(WM_COMMAND, ID_TREE_BAR);
    EXPECT_FALSE(m_frame->GetTreeBar()->IsWindowVisible());
    EXPECT_EQ(0, Update(ID_TREE_BAR).checked);
    m_frame->SendMessage(WM_COMMAND, ID_TREE_BAR);
    EXPECT_EQ(1, Update(ID_TREE_BAR).checked);

    // F9 and F12 as the keyboard makes them, through the accelerators.
    ShowFolder();
    CIEShellListCtrl* list = m_frame->GetFileList();
    MSG key = {};
    key.hwnd = list->GetSafeHwnd();
    key.message = WM_KEYDOWN;
    key.wParam = VK_F9;
    EXPECT_TRUE(m_frame->PreTranslateMessage(&key));
    EXPECT_EQ(VIEWTYPE_LARGE_ICONS, list->GetViewType());
    EXPECT_EQ(1, Update(ID_VIEW_LARGEICON).checked);
    EXPECT_EQ(0, Update(ID_VIEW_THUMBNAILS).checked);
    key.wParam = VK_F12;
    EXPECT_TRUE(m_frame->PreTranslateMessage(&key));
    EXPECT_EQ(LVS_REPORT, list->GetStyle() & LVS_TYPEMASK);
    EXPECT_EQ(1, Update(ID_VIEW_DETAILS).checked);
    EXPECT_EQ(0, Update(ID_VIEW_LARGEICON).checked);

    // Ctrl+A selects every file.
    key.wParam = 'A';
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    EXPECT_TRUE(m_frame->PreTranslateMessage(&key));
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    EXPECT_EQ(3u, list->GetSelectedCount());
    EXPECT_TRUE(Update(ID_DELETE_FILES).enabled);
    m_frame->SendMessage(WM_COMMAND, ID_SELECT_NONE);
    EXPECT_EQ(0u, list->GetSelectedCount());
    EXPECT_FALSE(Update(ID_DELETE_FILES).enabled);
}

TEST_F(BrowseFrameTest, UpdateRulesFollowTheTaskThreadTheSelectionAndTheFocus)
{
    ShowFolder();
    CIEShellListCtrl* list = m_frame->GetFileList();
    // No task thread: sorting waits, the view styles do not.
    EXPECT_FALSE(Update(ID_SORT_BY_DATE).enabled);
    EXPECT_TRUE(Update(ID_VIEW_SMALLICON).enabled);
    BusyTaskThread idleThread;
    AppSW.taskThread = &idleThread;
    m_frame->SendMessage(WM_COMMAND, ID_SORT_BY_DATE);
    m_frame->SendMessage(WM_COMMAND, ID_SORT_DESCENDING);
    EXPECT_EQ(1, Update(ID_SORT_BY_DATE).checked);
    EXPECT_EQ(0, Update(ID_SORT_BY_NAME).checked);
    EXPECT_EQ(1, Update(ID_SORT_DESCENDING).checked);
    EXPECT_EQ(0, Update(ID_SORT_ASCENDING).checked);
    EXPECT_EQ(0, Preference.SortDir);
    EXPECT_EQ(0, Preference.SortType);
    // A busy batch disables the list styles but not the thumbnail view.
    idleThread.SetBusy(true);
    EXPECT_FALSE(Update(ID_VIEW_SMALLICON).enabled);
    EXPECT_TRUE(Update(ID_VIEW_THUMBNAILS).enabled);
    idleThread.SetBusy(false);

    // Switching to the viewer needs a drawing or an image.
    ASSERT_TRUE(list->SelectItemByPath(ListedPath("notes.txt")));
    EXPECT_FALSE(Update(ID_SWITCH_TO_VIEW).enabled);
    ASSERT_TRUE(list->SelectItemByPath(ListedPath("photo.png")));
    EXPECT_TRUE(Update(ID_SWITCH_TO_VIEW).enabled);

    // Copy and paste follow the focus: the path box disables them.
    m_frame->ActivateBrowseMode(SW_SHOW);
    list->SetFocus();
    EXPECT_TRUE(Update(ID_EDIT_COPY).enabled);
    m_frame->GetFileListView()->GetPathBox().SetFocus();
    EXPECT_FALSE(Update(ID_EDIT_COPY).enabled);
    EXPECT_FALSE(Update(ID_EDIT_PASTE).enabled);
    EXPECT_FALSE(Update(ID_EDIT_CUT).enabled);
    AppSW.taskThread = NULL;
}

TEST_F(BrowseFrameTest, ClosingSavesThePlacementAndTheLayoutBeforeTheThreadsStop)
{
    RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kRoot) + "Bar State-Bar0").c_str());
    HWND window = m_frame->GetSafeHwnd();
    CloseFrame();
    EXPECT_FALSE(IsWindow(window));
    ASSERT_EQ(1u, m_actions.calls.size());
    EXPECT_EQ("SetToQuit", m_actions.calls[0]);
    EXPECT_TRUE(KeyExists("Bar State-Bar0"));
    EXPECT_NE("", std::string(m_app.GetProfileString("Settings", "Browser", "")));
}

TEST_F(BrowseFrameTest, StyleAndBookmarkDialogsOpenFromTheFrame)
{
    // OK keeps the first tile, style 1, whose layout replaces style 2's.
    m_frame->ApplyInterfaceStyle(2);
    EXPECT_EQ("设置浏览界面模式", RunAndAnswer(m_frame, ID_INTERFACE_STYLE, IDOK));
    EXPECT_FALSE(KeyExists("Bar State-Bar6"));
    EXPECT_EQ(6u, ReadDword("Bar State-Summary", "Bars"));
    m_frame->ApplyInterfaceStyle(2);
    {
        testwin::DialogScript closer;
        closer.ThenEach(testwin::Cancel).Start();
        m_frame->SendMessage(WM_COMMAND, ID_INTERFACE_STYLE);
    }
    EXPECT_TRUE(KeyExists("Bar State-Bar6"));

    // The pane's edit button: the bookmarks cleared and saved reach the
    // path box through the frame.
    ShowFolder();
    CPathListBox& pathBox = m_frame->GetFileListView()->GetPathBox();
    ASSERT_GT(pathBox.GetCount(), 0);
    std::string caption;
    {
        testwin::DialogScript editor({[&](HWND dialog) {
            caption = testwin::WindowText(dialog);
            {
                testwin::DialogScript yes({[](HWND box) { ::SendMessageA(box, WM_COMMAND, IDYES, 0); }});
                ::SendDlgItemMessageA(dialog, IDC_BOOKMARK_CLEAR, BM_CLICK, 0, 0);
            }
            ::SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
        }});
        CWnd* button = m_frame->GetFileListView()->GetDlgItem(CFileListView::kEditBookmarksId);
        ASSERT_NE(nullptr, button);
        button->SendMessage(BM_CLICK);
    }
    EXPECT_EQ("书签管理", caption);
    testwin::PumpMessages(50);
    EXPECT_EQ(0, pathBox.GetCount());
    CString shown;
    pathBox.GetWindowText(shown);
    EXPECT_STREQ(m_folder.c_str(), shown);
}

TEST_F(BrowseFrameTest, ListCommandsOpenTheirDialogsWhenTheirRulesAllow)
{
    // No folder shown yet: no new folder.
    EXPECT_FALSE(Update(ID_NEW_FOLDER).enabled);
    ShowFolder();
    CIEShellListCtrl* list = m_frame->GetFileList();
    std::string unix = codectest::UnixPath(m_folder);
    ASSERT_EQ(0, codectest::RunUnixProgram("/usr/bin/convert -size 16x16 xc:blue " + unix + "/plain.jpg"));
    ASSERT_EQ(0, codectest::RunUnixProgram("/usr/bin/convert -size 16x16 xc:blue " + unix + "/camera.jpeg"));
    ASSERT_EQ(0, codectest::RunUnixProgram("/usr/bin/exiftool -q -overwrite_original -Make=Harbeck " + unix +
                                           "/camera.jpeg"));
    ASSERT_TRUE(CreateDirectoryA((m_folder + "\\sub").c_str(), NULL));
    list->RefreshKeepSelection(true, false);
    ASSERT_EQ(6, list->GetItemCount());

    // Exif: one JPEG, not a PNG or a folder.
    ASSERT_TRUE(list->SelectItemByPath(ListedPath("camera.jpeg")));
    EXPECT_TRUE(Update(ID_SHOW_EXIF).enabled);
    EXPECT_EQ("数码照片Exif信息", RunAndAnswer(m_frame, ID_SHOW_EXIF, IDCANCEL));
    ASSERT_TRUE(list->SelectItemByPath(ListedPath("plain.jpg")));
    std::string message;
    RunAndAnswer(m_frame, ID_SHOW_EXIF, IDOK, [&](HWND box) { message = testwin::GetText(box, 0xFFFF); });
    EXPECT_EQ("文件: " + std::string(ListedPath("plain.jpg")) + "\n\n未能发现 exif 信息 !", message);
    ASSERT_TRUE(list->SelectItemByPath(ListedPath("photo.png")));
    EXPECT_FALSE(Update(ID_SHOW_EXIF).enabled);
    EXPECT_EQ("", RunAndAnswer(m_frame, ID_SHOW_EXIF, IDOK));
    ASSERT_TRUE(list->SelectItemByPath(ListedPath("sub")));
    EXPECT_FALSE(Update(ID_SHOW_EXIF).enabled);

    // A new folder in the shown one, under the suggested name.
    EXPECT_TRUE(Update(ID_NEW_FOLDER).enabled);
    std::string suggested;
    EXPECT_EQ("创建新文件夹", RunAndAnswer(m_frame, ID_NEW_FOLDER, IDOK, [&](HWND dialog) {
                  suggested = testwin::GetText(dialog, IDC_NEW_FOLDER_NAME);
              }));
    EXPECT_EQ("新建文件夹", suggested);
    DWORD attributes = GetFileAttributesA((m_folder + "\\新建文件夹").c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));

    // Switching to the viewer views the current file.
    ASSERT_TRUE(list->SelectItemByPath(ListedPath("photo.png")));
    m_frame->SendMessage(WM_COMMAND, ID_SWITCH_TO_VIEW);
    ASSERT_FALSE(m_actions.calls.empty());
    EXPECT_EQ("ToViewMode", m_actions.calls.back());
    EXPECT_STREQ(ListedPath("photo.png"), AppSW.GetViewPath());
}

TEST_F(BrowseFrameTest, InsertAndSaveThumbnailsWaitForTheirThreads)
{
    ShowFolder();
    CIEShellListCtrl* list = m_frame->GetFileList();
    BusyDrawThread drawThread;
    AppSW.mode = APPMODE_BROWSE;
    ASSERT_TRUE(list->SelectItemByPath(ListedPath("plan.dxf")));
    EXPECT_FALSE(Update(ID_INSERT_TO_AUTOCAD).enabled);
    AppSW.drawThread = &drawThread;
    EXPECT_TRUE(Update(ID_INSERT_TO_AUTOCAD).enabled);
    // No AutoCAD runs here: the command says so.
    std::string message;
    RunAndAnswer(m_frame, ID_INSERT_TO_AUTOCAD, IDOK, [&](HWND box) { message = testwin::GetText(box, 0xFFFF); });
    EXPECT_EQ(std::string(LoadResString(IDS_INSERT_NO_AUTOCAD)), message);
    drawThread.SetBusy(true);
    EXPECT_FALSE(Update(ID_INSERT_TO_AUTOCAD).enabled);
    drawThread.SetBusy(false);
    AppSW.mode = APPMODE_QUITTING;
    EXPECT_FALSE(Update(ID_INSERT_TO_AUTOCAD).enabled);
    AppSW.mode = APPMODE_BROWSE;
    list->SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_FALSE(Update(ID_INSERT_TO_AUTOCAD).enabled);
    ASSERT_TRUE(list->SelectItemByPath(ListedPath("photo.png")));
    EXPECT_FALSE(Update(ID_INSERT_TO_AUTOCAD).enabled);
    AppSW.drawThread = NULL;

    // Saving thumbnails: only in the thumbnail view with an idle task
    // thread; the dialog starts at the shown folder.
    EXPECT_FALSE(Update(ID_SAVE_THUMBNAILS).enabled);
    BusyTaskThread idleThread;
    AppSW.taskThread = &idleThread;
    EXPECT_FALSE(Update(ID_SAVE_THUMBNAILS).enabled);
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_THUMBNAILS);
    EXPECT_TRUE(Update(ID_SAVE_THUMBNAILS).enabled);
    std::string folder;
    EXPECT_EQ("保存缩略图到文件", RunAndAnswer(m_frame, ID_SAVE_THUMBNAILS, IDCANCEL, [&](HWND dialog) {
                  folder = testwin::GetText(dialog, IDC_THUMBNAIL_FOLDER);
              }));
    EXPECT_EQ(m_folder, folder);
    idleThread.SetBusy(true);
    EXPECT_FALSE(Update(ID_SAVE_THUMBNAILS).enabled);
    idleThread.SetBusy(false);
    AppSW.taskThread = NULL;
}

TEST_F(BrowseFrameTest, PropertiesShowTheDrawingSheetOnlyForTheFileTheDrawingThreadHolds)
{
    ShowFolder();
    CIEShellListCtrl* list = m_frame->GetFileList();
    TDwgDrawThread* thread = StartDrawThread();
    ASSERT_NE(nullptr, thread);
    // The thread has read the drawing's information.
    auto readInformation = [&](const CString& path) {
        thread->RequestFileInfo(FILEKIND_DXF, path);
        DRAWINGINFO info;
        for (int wait = 0; wait < 250; ++wait) {
            testwin::PumpMessages(20);
            thread->GetDrawingInfo(&info);
            if (info.setCount > 0 && !thread->IsBusy())
                return true;
        }
        return false;
    };
    CString plan = ListedPath("plan.dxf");
    ASSERT_TRUE(list->SelectItemByPath(plan));
    ASSERT_TRUE(readInformation(plan));
    EXPECT_TRUE(Update(ID_BROWSE_FILE_PROPERTIES).enabled);
    EXPECT_EQ("plan.dxf Properties", RunAndAnswer(m_frame, ID_BROWSE_FILE_PROPERTIES, IDCANCEL));

    // Another item with the drawing's information still held: the shell's
    // own answer, never the drawing's sheet.
    ASSERT_TRUE(list->SelectItemByPath(ListedPath("notes.txt")));
    ASSERT_TRUE(readInformation(plan));
    EXPECT_NE("notes.txt Properties", RunAndAnswer(m_frame, ID_BROWSE_FILE_PROPERTIES, IDCANCEL));
    StopDrawThread();
}

TEST_F(BrowseFrameTest, ViewModeStepsThroughTheListsDrawingsWhileTheFrameLives)
{
    ShowFolder();
    IViewBrowser* browser = GetViewBrowser();
    ASSERT_NE(nullptr, browser);
    CIEShellListCtrl* list = m_frame->GetFileList();
    std::vector<CString> drawings;
    for (int row = 0; row < list->GetItemCount(); ++row)
        if (list->GetItemRecord(row)->fileKind >= 0)
            drawings.push_back(list->GetItemPath(row));
    ASSERT_EQ(2u, drawings.size());

    list->SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    CString path;
    int kind = -1;
    EXPECT_FALSE(browser->GetSelectedFile(path, kind));
    ASSERT_TRUE(browser->SelectNextDrawing(path, kind));
    EXPECT_STREQ(drawings[0], path);
    EXPECT_GE(kind, 0);
    EXPECT_FALSE(browser->HasPreviousDrawing());
    ASSERT_TRUE(browser->SelectNextDrawing(path, kind));
    EXPECT_STREQ(drawings[1], path);
    EXPECT_FALSE(browser->HasNextDrawing());
    EXPECT_FALSE(browser->SelectNextDrawing(path, kind));
    ASSERT_TRUE(browser->SelectPreviousDrawing(path, kind));
    EXPECT_STREQ(drawings[0], path);
    ASSERT_TRUE(browser->GetSelectedFile(path, kind));
    EXPECT_STREQ(drawings[0], path);

    CloseFrame();
    EXPECT_EQ(nullptr, GetViewBrowser());
}

TEST_F(BrowseFrameTest, ViewModeOpensTheListsFileAndStepsThroughTheListsDrawingsAndImages)
{
    ShowFolder();
    ASSERT_TRUE(
        testfiles::WriteFileBytes(m_folder + "\\blueprint.dxf",
                                  "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n9\n21\n9\n"
                                  "0\nENDSEC\n0\nEOF\n"));
    CIEShellListCtrl* list = m_frame->GetFileList();
    list->RefreshKeepSelection(true, false);
    std::vector<CString> viewable;
    for (int row = 0; row < list->GetItemCount(); ++row)
        if (list->GetItemRecord(row)->fileKind >= 0)
            viewable.push_back(list->GetItemPath(row));
    ASSERT_EQ(3u, viewable.size());
    ASSERT_EQ("blueprint.dxf", std::string(viewable[0].Right(13)));
    ASSERT_NE(nullptr, StartDrawThread());
    CViewFrame* viewer = new CViewFrame;
    ASSERT_TRUE(viewer->LoadFrame(IDR_VIEW_FRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, NULL, NULL));
    AppSW.viewFrame = viewer;

    // With the preview hidden the viewer opens the file itself, although
    // the thread has read the drawing's information for the preview.
    m_frame->SendMessage(WM_COMMAND, ID_PREVIEW_BAR);
    ASSERT_TRUE(list->SelectItemByPath(viewable[0]));
    testwin::PumpMessages(200);
    ASSERT_STREQ(viewable[0], m_drawThread->GetFilePath());
    ASSERT_FALSE(m_drawThread->HasDrawing());
    m_drawThread->SetNotifyWnd(viewer->GetSafeHwnd());
    m_frame->SendMessage(WM_COMMAND, ID_SWITCH_TO_VIEW);
    EXPECT_EQ("ToViewMode", m_actions.calls.back());
    // What the application's switch does with the two frames.
    m_frame->ShowWindow(SW_HIDE);
    viewer->ShowWindow(SW_SHOW);
    EXPECT_TRUE(DrawThreadHolds(viewable[0]));

    // Next twice, previous once: the list's selection and the viewer's file
    // move together; the text file between them is skipped.
    struct Step {
        UINT command;
        int file;
    };
    for (Step step : {Step{ID_NEXT_FILE, 1}, Step{ID_NEXT_FILE, 2}, Step{ID_PREVIOUS_FILE, 1}}) {
        SCOPED_TRACE(step.file);
        viewer->SendMessage(WM_COMMAND, step.command);
        EXPECT_TRUE(DrawThreadHolds(viewable[step.file]));
        EXPECT_STREQ(viewable[step.file], list->GetSelectedPath());
        EXPECT_STREQ(viewable[step.file], AppSW.GetViewPath());
    }

    AppSW.viewFrame = NULL;
    viewer->DestroyWindow();
    StopDrawThread();
}

TEST_F(BrowseFrameTest, ComingBackFromViewModeKeepsThePreviewAndTheNextFolderClearsIt)
{
    ShowFolder();
    ASSERT_NE(nullptr, StartDrawThread());
    CString plan = ListedPath("plan.dxf");
    ASSERT_TRUE(m_frame->GetFileList()->SelectItemByPath(plan));
    ASSERT_TRUE(DrawThreadHolds(plan));

    // View mode and back, as the application's switches do it: the
    // preview still shows the drawing.
    m_frame->ShowWindow(SW_HIDE);
    m_frame->m_rememberedItemPath = m_drawThread->GetFilePath();
    m_frame->m_refreshOnActivate = 1;
    m_frame->ActivateBrowseMode(SW_SHOW);
    testwin::PumpMessages(300);
    EXPECT_TRUE(DrawThreadHolds(plan));
    EXPECT_STREQ(plan, m_frame->GetFileList()->GetSelectedPath());

    // Filling another folder clears the preview.
    ASSERT_TRUE(CreateDirectoryA((m_folder + "\\empty").c_str(), NULL));
    ASSERT_TRUE(m_frame->GetFileList()->BrowseToPath((m_folder + "\\empty").c_str()));
    EXPECT_EQ(0, m_frame->GetFileList()->GetItemCount());
    for (int wait = 0; wait < 100 && !m_drawThread->GetFilePath().IsEmpty(); ++wait)
        testwin::PumpMessages(20);
    EXPECT_STREQ("", m_drawThread->GetFilePath());
    EXPECT_FALSE(m_drawThread->HasDrawing());
    StopDrawThread();
}

TEST_F(BrowseFrameTest, ANewThumbnailColourRepaintsTheCellsAndOnlyANewSizeMakesThemAnew)
{
    ShowFolder();
    CIEShellListCtrl* list = m_frame->GetFileList();
    list->SetViewType(VIEWTYPE_THUMBNAILS);
    ASSERT_EQ(2, list->GetItemCount());
    // Pictures as the task thread hands them over.
    std::vector<KBMP*> pictures;
    for (int row = 0; row < list->GetItemCount(); ++row) {
        CShellItemData* record = list->GetItemRecord(row);
        delete record->pThumbnail;
        record->pThumbnail = new KBMP;
        pictures.push_back(record->pThumbnail);
    }

    Preference.ThumbnailColor = RGB(20, 160, 40);
    m_frame->SendMessage(WM_THUMB_LOOK_CHANGED);
    ASSERT_EQ(2, list->GetItemCount());
    for (int row = 0; row < list->GetItemCount(); ++row)
        EXPECT_EQ(pictures[row], list->GetItemRecord(row)->pThumbnail) << row;

    int width = list->GetCellWidth();
    Preference.ThumbWidth = width + 40;
    m_frame->SendMessage(WM_THUMB_LOOK_CHANGED);
    EXPECT_EQ(width + 40, list->GetCellWidth());
    ASSERT_EQ(2, list->GetItemCount());
    for (int row = 0; row < list->GetItemCount(); ++row)
        EXPECT_EQ(nullptr, list->GetItemRecord(row)->pThumbnail) << row;

    // A size changed in another view: the thumbnail view comes back with
    // cells of the new size and no pictures of the old one.
    list->GetItemRecord(0)->pThumbnail = new KBMP;
    list->SetViewType(VIEWTYPE_REPORT);
    Preference.ThumbWidth = width + 80;
    m_frame->SendMessage(WM_THUMB_LOOK_CHANGED);
    list->SetViewType(VIEWTYPE_THUMBNAILS);
    EXPECT_EQ(width + 80, list->GetCellWidth());
    ASSERT_EQ(2, list->GetItemCount());
    EXPECT_EQ(nullptr, list->GetItemRecord(0)->pThumbnail);
}
