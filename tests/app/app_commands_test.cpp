// The application's commands through the browse frame, as its menu sends
// them: the About box, the agreement, the search folders, the home page and
// help, each dialog driven through its controls; the same commands on the
// view frame's menus, and when the options sheet may open.
#include "tests/support/gtest.h"

#include <algorithm>
#include <commctrl.h>
#include <string>
#include <vector>

#include "app/license_text.h"
#include "browser/frame/browse_frame.h"
#include "core/appsw.h"
#include "core/file_utils.h"
#include "core/preference.h"
#include "core/product_info.h"
#include "drawing/thumbnails/task_manage_thread.h"
#include "platform/zrio/library_globals.h"
#include "resources/resource.h"
#include "tests/app/app_test_support.h"
#include "tests/app/shell_open_recorder.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_files.h"
#include "views/viewer/view_frame.h"

using namespace apptest;
using namespace testwin;

namespace {

const unsigned kOpenWaitMs = 15000;

class AppCommands : public testing::Test {
protected:
    void SetUp() override
    {
        ClearProductKey();
        ASSERT_TRUE(m_app.InitInstance());
        m_frame = AppSW.browseFrame->GetSafeHwnd();
    }
    void TearDown() override { StopApplication(m_app); }

    void Command(UINT id) { SendMessageA(m_frame, WM_COMMAND, id, 0); }

    CQuorvantixApp m_app;
    HWND m_frame = NULL;
};

std::string PictureFolder()
{
    static std::string folder = testfiles::MakeScratchFolder("app_pictures");
    return folder;
}

// A pixel just inside the control's top-left corner, as the screen shows it.
COLORREF ControlCornerPixel(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    UpdateWindow(control);
    HDC dc = GetDC(control);
    COLORREF pixel = GetPixel(dc, 2, 2);
    ReleaseDC(control, dc);
    return pixel;
}

std::string SearchFolders()
{
    std::lock_guard<std::mutex> hold(zr::Globals().lock);
    return zr::Globals().userSearchDirectories;
}

// The folders the search-path dialog lists, joined as the library keeps them.
std::string ListedFolders(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_ZRUI_SEARCH_LIST);
    std::string folders;
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int index = 0; index < count; ++index) {
        char folder[MAX_PATH] = "";
        SendMessageA(list, LB_GETTEXT, index, (LPARAM)folder);
        folders += (index > 0 ? ";" : "") + std::string(folder);
    }
    return folders;
}

// The items of the menu bar's popup of that title, each as its id and text,
// separators as "-".
std::vector<std::string> PopupItems(HMENU bar, const char* title)
{
    std::vector<std::string> items;
    for (int position = 0; position < GetMenuItemCount(bar); ++position) {
        char text[128] = "";
        GetMenuStringA(bar, position, text, sizeof(text), MF_BYPOSITION);
        HMENU popup = GetSubMenu(bar, position);
        if (popup == NULL || std::string(text) != title)
            continue;
        for (int item = 0; item < GetMenuItemCount(popup); ++item) {
            UINT id = GetMenuItemID(popup, item);
            GetMenuStringA(popup, item, text, sizeof(text), MF_BYPOSITION);
            items.push_back(id == 0 ? "-" : std::to_string(id) + " " + text);
        }
    }
    return items;
}

// The caption of the dialog that the command opens on the frame, cancelled;
// empty when none opened.
std::string CaptionOfDialog(HWND frame, UINT id)
{
    std::string caption;
    DialogScript driver;
    driver.ThenEach([&](HWND dialog) {
        caption = WindowText(dialog);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    driver.Start();
    SendMessageA(frame, WM_COMMAND, id, 0);
    return caption;
}

// Waits, answering the thread's messages, until the thumbnail thread waits
// for its next folder; false after 20 s.
bool WaitForIdleThumbnailThread()
{
    return AppSW.taskThread->WaitIdle(20000, NULL);
}

}  // namespace

TEST_F(AppCommands, AboutBoxShowsTheProductAndItsLinksOpenWhatTheyName)
{
    ShellOpenRecorder opened;
    BYTE modalWhileOpen = 0;
    bool eachLinkOpened = true;
    std::string caption, version, homePage, supportMail, cooperationMail, projectText, download;
    COLORREF downloadBackground = 0;
    DialogScript driver({[&](HWND dialog) {
        downloadBackground = ControlCornerPixel(dialog, IDC_ABOUT_DOWNLOAD);
        modalWhileOpen = AppSW.modalDialogOpen;
        caption = WindowText(dialog);
        version = GetText(dialog, IDC_ABOUT_VERSION);
        homePage = GetText(dialog, IDC_ABOUT_HOME_PAGE);
        supportMail = GetText(dialog, IDC_ABOUT_SUPPORT_MAIL);
        cooperationMail = GetText(dialog, IDC_ABOUT_COOPERATION_MAIL);
        projectText = GetText(dialog, IDC_ABOUT_PROJECT);
        download = GetText(dialog, IDC_ABOUT_DOWNLOAD);
        SaveWindowPicture(dialog, PictureFolder() + "\\about_box.bmp");
        size_t count = 0;
        for (int link : {IDC_ABOUT_DOWNLOAD, IDC_ABOUT_HOME_PAGE, IDC_ABOUT_SUPPORT_MAIL,
                         IDC_ABOUT_COOPERATION_MAIL, IDC_ABOUT_PROJECT}) {
            ClickControl(dialog, link);
            eachLinkOpened = eachLinkOpened && opened.WaitForOpened(++count, kOpenWaitMs);
        }
        ClickControl(dialog, IDOK);
    }});
    Command(ID_APP_ABOUT);
    ASSERT_TRUE(driver.Finished());
    EXPECT_EQ(1, modalWhileOpen);
    EXPECT_EQ(0, AppSW.modalDialogOpen);
    EXPECT_EQ("Harbeck | 免费DWG图纸管理(原Quorvantix)", caption);
    EXPECT_EQ("版本 1.0.0.0", version);
    EXPECT_EQ(std::string(ProductInfo.GetHomePageText()), homePage);
    EXPECT_EQ(std::string(ProductInfo.GetMailAddress()), supportMail);
    EXPECT_NE("", cooperationMail);
    EXPECT_NE("", projectText);
    EXPECT_EQ("下载最新版本", download);
    EXPECT_EQ(RGB(5, 90, 163), downloadBackground);

    ASSERT_TRUE(eachLinkOpened);
    std::string home = ProductInfo.GetHomePage().GetString();
    std::string mail = ProductInfo.GetMailLink().GetString();
    std::string project = "http://www.pellmoor.example/harbeck/project/";
    std::vector<std::string> expected = {home, home, mail, mail, project};
    EXPECT_EQ(expected, opened.Opened());
}

TEST_F(AppCommands, AgreementShowsTheProductAndTheWholeText)
{
    BYTE modalWhileOpen = 0;
    std::string caption, title, text;
    DialogScript driver({[&](HWND dialog) {
        modalWhileOpen = AppSW.modalDialogOpen;
        caption = WindowText(dialog);
        title = GetText(dialog, IDC_LICENSE_TITLE);
        text = GetText(dialog, IDC_LICENSE_TEXT);
        SaveWindowPicture(dialog, PictureFolder() + "\\agreement.bmp");
        ClickControl(dialog, IDOK);
    }});
    Command(ID_LICENSE_AGREEMENT);
    ASSERT_TRUE(driver.Finished());
    EXPECT_EQ(1, modalWhileOpen);
    EXPECT_EQ(0, AppSW.modalDialogOpen);
    EXPECT_EQ("授权信息", caption);
    EXPECT_EQ("Harbeck", title);

    std::vector<std::string> lines;
    for (size_t start = 0;;) {
        size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    ASSERT_EQ(61u, lines.size());
    EXPECT_EQ(20, std::count(lines.begin(), lines.end(), std::string()));
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(), std::string(50, '-')));
    EXPECT_EQ(3, std::count(lines.begin(), lines.end(), std::string(44, '-')));
    for (int i = 0; i < kLicenseLineCount; ++i)
        EXPECT_EQ(kLicenseLines[i], lines[i]);
}

TEST_F(AppCommands, SearchFoldersAreHandedToTheDrawingLibraryOnlyOnOk)
{
    std::string fonts = testfiles::MakeScratchFolder("app_fonts");
    std::string before = SearchFolders();
    BYTE modalWhileOpen = 0;
    std::string shown;
    {
        DialogScript driver({[&](HWND dialog) {
            modalWhileOpen = AppSW.modalDialogOpen;
            shown = ListedFolders(dialog);
            SetDlgItemTextA(dialog, IDC_ZRUI_SEARCH_FOLDER, fonts.c_str());
            ClickControl(dialog, IDC_ZRUI_SEARCH_ADD);
            ClickControl(dialog, IDCANCEL);
        }});
        Command(ID_SEARCH_PATH);
        ASSERT_TRUE(driver.Finished());
    }
    EXPECT_EQ(before, shown);
    EXPECT_EQ(1, modalWhileOpen);
    EXPECT_EQ(0, AppSW.modalDialogOpen);
    EXPECT_EQ(before, SearchFolders());

    DialogScript driver({[&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_ZRUI_SEARCH_FOLDER, fonts.c_str());
        ClickControl(dialog, IDC_ZRUI_SEARCH_ADD);
        ClickControl(dialog, IDOK);
    }});
    Command(ID_SEARCH_PATH);
    ASSERT_TRUE(driver.Finished());
    EXPECT_EQ(0, AppSW.modalDialogOpen);
    EXPECT_EQ(before.empty() ? fonts : before + ";" + fonts, SearchFolders());
}

TEST_F(AppCommands, HomePageCommandsOpenTheHomePage)
{
    ShellOpenRecorder opened;
    // One at a time: the recorder's writes would collide.
    Command(ID_HOME_PAGE);
    ASSERT_TRUE(opened.WaitForOpened(1, kOpenWaitMs));
    Command(ID_OTHER_PRODUCTS);
    ASSERT_TRUE(opened.WaitForOpened(2, kOpenWaitMs));
    std::string home = ProductInfo.GetHomePage().GetString();
    EXPECT_EQ(std::vector<std::string>({home, home}), opened.Opened());
}

TEST_F(AppCommands, HelpOpensTheHelpFileOrNamesTheMissingOne)
{
    std::string path = std::string(GetProgramFolder()) + "harbeck.chm";
    DeleteFileA(path.c_str());
    std::string message;
    {
        DialogScript driver({[&](HWND box) {
            message = GetText(box, 0xFFFF);
            ClickControl(box, IDOK);
        }});
        Command(ID_DEFAULT_HELP);
        ASSERT_TRUE(driver.Finished());
    }
    EXPECT_EQ("文件未能发现 :" + path, message);

    // With the help file the build compiled beside the program, the command
    // opens it and shows no message.
    ASSERT_TRUE(CopyFileA(testfiles::ToWinePath(HELP_FILE).c_str(), path.c_str(), FALSE));
    ShellOpenRecorder opened;
    std::vector<std::string> boxes;
    DialogScript anyBox;
    anyBox.ThenEach([&](HWND box) {
        boxes.push_back(GetText(box, 0xFFFF));
        ClickControl(box, IDOK);
    });
    anyBox.Start();
    Command(ID_DEFAULT_HELP);
    bool seen = opened.WaitForOpened(1, kOpenWaitMs);
    DeleteFileA(path.c_str());
    EXPECT_TRUE(boxes.empty()) << boxes.at(0);
    ASSERT_TRUE(seen);
    EXPECT_EQ(path, opened.Opened().at(0));
}

TEST_F(AppCommands, ShortcutListCommandOpensTheShortcutList)
{
    BYTE modalWhileOpen = 0;
    std::string caption;
    int rows = 0;
    DialogScript driver({[&](HWND dialog) {
        modalWhileOpen = AppSW.modalDialogOpen;
        caption = WindowText(dialog);
        rows = (int)SendDlgItemMessageA(dialog, IDC_ACCELERATOR_LIST, LVM_GETITEMCOUNT, 0, 0);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }});
    Command(ID_SHORTCUT_LIST);
    ASSERT_TRUE(driver.Finished());
    EXPECT_EQ(1, modalWhileOpen);
    EXPECT_EQ(0, AppSW.modalDialogOpen);
    EXPECT_EQ("快捷键列表", caption);
    EXPECT_EQ(65, rows);
}

TEST_F(AppCommands, OptionsSheetShowsItsFivePagesAndCancelKeepsTheSettings)
{
    // The sheet opens in browse mode only while no thumbnails are made.
    ASSERT_TRUE(WaitForIdleThumbnailThread());
    BYTE modalWhileOpen = 0;
    std::string caption;
    std::vector<std::string> tabs;
    BYTE toolBarBefore = Preference.ShowToolBar;
    DialogScript driver({[&](HWND sheet) {
        modalWhileOpen = AppSW.modalDialogOpen;
        caption = WindowText(sheet);
        HWND tabControl = PropSheet_GetTabControl(sheet);
        for (int page = 0; page < 5; ++page) {
            SendMessageA(sheet, PSM_SETCURSEL, page, 0);
            char text[64] = {};
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof(text);
            SendMessageA(tabControl, TCM_GETITEMA, page, (LPARAM)&item);
            tabs.push_back(text);
            SaveWindowPicture(sheet, PictureFolder() + "\\options_page_" + std::to_string(page) + ".bmp");
        }
        SendMessageA(sheet, PSM_SETCURSEL, 0, 0);
        ClickControl(PropSheet_GetCurrentPageHwnd(sheet), IDC_OPTION_SHOW_TOOLBAR);
        SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    }});
    Command(ID_OPTION);
    ASSERT_TRUE(driver.Finished());
    EXPECT_EQ(1, modalWhileOpen);
    EXPECT_EQ(0, AppSW.modalDialogOpen);
    EXPECT_EQ("选项设置", caption);
    EXPECT_EQ(std::vector<std::string>({"浏览参数", "图形", "缓存", "缩略图", "文件关联"}), tabs);
    EXPECT_EQ(toolBarBefore, Preference.ShowToolBar);
}

TEST_F(AppCommands, ViewFrameMenusHoldTheApplicationsCommandsAndEachActsAsInBrowseMode)
{
    HWND viewFrame = AppSW.viewFrame->GetSafeHwnd();
    HMENU bar = GetMenu(viewFrame);
    EXPECT_EQ(std::vector<std::string>({"32800 设置资源文件搜索路径...\t&S", "32778 设置选项...\t&O"}),
              PopupItems(bar, "工具(&T)"));
    EXPECT_EQ(
        std::vector<std::string>({"57671 显示帮助\tF1", "32934 显示快捷键列表...", "-",
                                  "32801 最终用户授权协议...\t&L", "32804 软件主页", "57664 关于...\t&A"}),
        PopupItems(bar, "帮助(&H)"));

    for (UINT id : {ID_SEARCH_PATH, ID_LICENSE_AGREEMENT, ID_SHORTCUT_LIST}) {
        std::string inBrowseFrame = CaptionOfDialog(m_frame, id);
        EXPECT_NE("", inBrowseFrame) << id;
        EXPECT_EQ(inBrowseFrame, CaptionOfDialog(viewFrame, id)) << id;
        EXPECT_EQ(0, AppSW.modalDialogOpen);
    }
    ShellOpenRecorder opened;
    SendMessageA(viewFrame, WM_COMMAND, ID_HOME_PAGE, 0);
    ASSERT_TRUE(opened.WaitForOpened(1, kOpenWaitMs));
    EXPECT_EQ(std::vector<std::string>({ProductInfo.GetHomePage().GetString()}), opened.Opened());
}

// The options sheet opens in view mode, in browse mode only while there is a
// thumbnail thread waiting for its next folder, and not while the program
// quits.
TEST_F(AppCommands, OptionsOpenInBrowseModeOnlyWhileNoThumbnailsAreMade)
{
    ASSERT_TRUE(WaitForIdleThumbnailThread());
    HWND viewFrame = AppSW.viewFrame->GetSafeHwnd();
    EXPECT_EQ("选项设置", CaptionOfDialog(m_frame, ID_OPTION));

    TTaskManageThread* tasks = AppSW.taskThread;
    AppSW.mode = APPMODE_VIEW;
    EXPECT_EQ("选项设置", CaptionOfDialog(viewFrame, ID_OPTION));
    AppSW.mode = APPMODE_BROWSE;

    AppSW.taskThread = NULL;
    EXPECT_EQ("", CaptionOfDialog(m_frame, ID_OPTION));
    AppSW.taskThread = tasks;
    AppSW.mode = APPMODE_QUITTING;
    EXPECT_EQ("", CaptionOfDialog(viewFrame, ID_OPTION));
    AppSW.mode = APPMODE_BROWSE;
}
