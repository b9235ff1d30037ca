// The options sheet run modally as the user runs it: pages shown by their
// tabs, their controls clicked and typed into, OK or Cancel pressed; the
// settings, the registry of the test and the messages the main window gets
// are checked afterwards.
#include "tests/support/gtest.h"

#include <string>
#include <vector>

#include "browser/options/option.h"
#include "core/file_types.h"
#include "core/file_utils.h"
#include "core/preference.h"
#include "drawing/library/lib_file_names.h"
#include "drawing/library/library_header.h"
#include "drawing/library/thumbnail_stores.h"
#include "platform/classlib/classlib.h"
#include "resources/browser_options_ids.h"
#include "resources/zrui_ids.h"
#include "tests/browser/options/option_test_support.h"
#include "tests/support/message_log.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_files.h"
#include "views/common/view_messages.h"

using namespace optiontest;

namespace {

enum { kBrowsePage, kDrawingPage, kCachePage, kThumbnailPage, kAssociatePage };

// Presses "清除无效的缓存数据" on the cache page; the text of the report.
std::string CleanCacheAndReadTheReport()
{
    std::string report;
    RunOptionSheet([&](HWND sheet) {
        HWND page = ShowPage(sheet, kCachePage);
        AnswerNextMessageBox(IDOK);
        Click(page, IDC_OPTION_CACHE_CLEAN);
        report = LastMessageBoxText();
        PressCancel(sheet);
    });
    return report;
}

std::string ProgramPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

class OptionSheetTest : public testing::Test {
protected:
    OptionSheetTest()
        : m_app(kAppName), m_log({WM_PREFS_CHANGED, WM_THUMB_LOOK_CHANGED, WM_OPTIONS_APPLIED, WM_REGEN_ALL})
    {
    }

    void SetUp() override
    {
        ASSERT_TRUE(m_sandbox.IsActive());
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "ClassesUnderTest", 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &m_classes, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CLASSES_ROOT, m_classes));
        ASSERT_TRUE(m_main.CreateEx(0, nullptr, "main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
        m_app.m_pMainWnd = &m_main;
        ASSERT_TRUE(m_log.Attach(m_main.m_hWnd));

        m_folder = testfiles::MakeScratchFolder("options");
        m_stores.CreateDwgCache(true);
        m_stores.CreateLibIndexTree(m_folder.c_str(), false, true);
        Preference.SetThumbnailStores(&m_stores);
        SetKnownSettings();
    }

    void TearDown() override
    {
        Preference.SetThumbnailStores(nullptr);
        m_stores.DeleteDwgCache();
        m_stores.DeleteLibIndexTree();
        DrawingFileType.Build(false);
        m_app.m_pMainWnd = nullptr;
        m_main.DestroyWindow();
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        RegCloseKey(m_classes);
    }

    static void SetKnownSettings()
    {
        Preference.ShowPathBox = Preference.ShowToolBar = Preference.ShowStatus = 1;
        Preference.ShowFullPath = Preference.ShowNoneDrawingFile = 1;
        Preference.ReadBitmapFromDwg = Preference.ReadBitmapFromRaster = 1;
        Preference.StartPreviousFolder = Preference.DBClickOpenByQuorvantix = 1;
        Preference.OnlyShowDrawing = 0;
        Preference.SortType = 0;
        Preference.SortDir = 1;
        Preference.FillOn = 1;
        Preference.ZoomExtend = Preference.PreviewZoomExtend = 0;
        Preference.ThumbWidth = 170;
        Preference.ThumbHeight = 130;
        Preference.ThumbBorder = 5;
        Preference.ConstrainProportion = 1;
    }

    static void SetClass(const char* key, const char* text)
    {
        RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, text, (DWORD)strlen(text));
    }
    static std::string ClassValue(const char* key)
    {
        char buffer[600] = {};
        DWORD bytes = sizeof(buffer);
        if (RegGetValueA(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS)
            return "<none>";
        return buffer;
    }
    // An association of the extension with the ProgID whose open command
    // runs this program.
    static void AssociateWithThisProgram(const char* extension, const char* progId)
    {
        SetClass(extension, progId);
        SetClass((std::string(progId) + "\\shell\\open\\command").c_str(),
                 ("\"" + ProgramPath() + "\" \"%1\"").c_str());
    }

    RegistrySandbox m_sandbox;
    CWinApp m_app;
    CWnd m_main;
    testwin::MessageLog m_log;
    HKEY m_classes = nullptr;
    CDrawingThumbnailStores m_stores;
    std::string m_folder;
};

}  // namespace

TEST_F(OptionSheetTest, CancelChangesNothingInMemoryOrInTheRegistry)
{
    bool confirmed = RunOptionSheet([](HWND sheet) {
        Click(ShowPage(sheet, kBrowsePage), IDC_OPTION_SHOW_TOOLBAR);
        Click(ShowPage(sheet, kDrawingPage), IDC_OPTION_FILL_OFF);
        Click(ShowPage(sheet, kCachePage), IDC_OPTION_CACHE_ENABLED);
        HWND thumbnail = ShowPage(sheet, kThumbnailPage);
        SendDlgItemMessageA(thumbnail, IDC_OPTION_THUMB_WIDTH, WM_KEYDOWN, VK_END, 0);
        PressCancel(sheet);
    });
    EXPECT_FALSE(confirmed);
    EXPECT_EQ(1, Preference.ShowToolBar);
    EXPECT_EQ(1, Preference.FillOn);
    EXPECT_TRUE(Preference.IsImageCacheEnabled());
    EXPECT_EQ(170, Preference.ThumbWidth);
    EXPECT_EQ(-1, ReadProductDword("Option\\Browser", "ShowToolBar"));
    EXPECT_EQ(-1, ReadProductDword("Option\\Thumbnail", "ThumbWidth"));
    EXPECT_TRUE(testwin::MessagesAre(m_log, {}));
}

TEST_F(OptionSheetTest, OkOnTheFirstPageSavesEverythingAndSendsOnlyTheBrowseMessage)
{
    bool confirmed = RunOptionSheet([](HWND sheet) {
        Click(ShowPage(sheet, kBrowsePage), IDC_OPTION_ONLY_SUPPORTED);
        PressOk(sheet);
    });
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(1, Preference.OnlyShowDrawing);
    EXPECT_EQ(4, DrawingFileType.GetCount());
    EXPECT_EQ(1, ReadProductDword("Option\\Browser", "OnlyShowDrawing"));
    EXPECT_EQ(170, ReadProductDword("Option\\Thumbnail", "ThumbWidth"));
    ASSERT_TRUE(testwin::MessagesAre(m_log, {WM_PREFS_CHANGED}));
    EXPECT_EQ(1, m_log.Entries()[0].lParam);
}

TEST_F(OptionSheetTest, BrowseDefaultsTurnDrawingThumbnailsOffAndKeepTheFilter)
{
    Preference.SortType = 3;
    Preference.SortDir = 0;
    Preference.ShowStatus = 0;
    Preference.OnlyShowDrawing = 1;
    bool shownFromSettings = false;
    bool drawingThumbnailsAfterDefault = true;
    bool filterAfterDefault = false;
    RunOptionSheet([&](HWND sheet) {
        HWND page = ShowPage(sheet, kBrowsePage);
        shownFromSettings = IsChecked(page, IDC_OPTION_SORT_DATE) && IsChecked(page, IDC_OPTION_SORT_DESCENDING) &&
                            !IsChecked(page, IDC_OPTION_SHOW_STATUS) && IsChecked(page, IDC_OPTION_ONLY_SUPPORTED);
        Click(page, IDC_OPTION_BROWSE_DEFAULT);
        drawingThumbnailsAfterDefault = IsChecked(page, IDC_OPTION_THUMB_FROM_DRAWING);
        filterAfterDefault = IsChecked(page, IDC_OPTION_ONLY_SUPPORTED);
        PressOk(sheet);
    });
    EXPECT_TRUE(shownFromSettings);
    EXPECT_FALSE(drawingThumbnailsAfterDefault);
    EXPECT_TRUE(filterAfterDefault);
    EXPECT_EQ(0, Preference.SortType);
    EXPECT_EQ(1, Preference.SortDir);
    EXPECT_EQ(1, Preference.ShowStatus);
    EXPECT_EQ(0, Preference.ReadBitmapFromDwg);
    EXPECT_EQ(1, Preference.OnlyShowDrawing);
    ASSERT_TRUE(testwin::MessagesAre(m_log, {WM_PREFS_CHANGED}));
    EXPECT_EQ(0, m_log.Entries()[0].lParam);
}

TEST_F(OptionSheetTest, EveryOpenedPageAppliesAndTheMessagesGoOutInOrder)
{
    bool confirmed = RunOptionSheet([](HWND sheet) {
        Click(ShowPage(sheet, kDrawingPage), IDC_OPTION_UPDATE_NOW);
        Click(ShowPage(sheet, kCachePage), IDC_OPTION_CACHE_ENABLED);
        HWND thumbnail = ShowPage(sheet, kThumbnailPage);
        SendDlgItemMessageA(thumbnail, IDC_OPTION_THUMB_WIDTH, WM_KEYDOWN, VK_END, 0);
        Click(ShowPage(sheet, kBrowsePage), IDC_OPTION_SHOW_PATH_BOX);
        PressOk(sheet);
    });
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(0, Preference.ShowPathBox);
    EXPECT_FALSE(Preference.IsImageCacheEnabled());
    EXPECT_EQ(250, Preference.ThumbWidth);
    EXPECT_EQ(191, Preference.ThumbHeight);
    EXPECT_EQ(250, ReadProductDword("Option\\Thumbnail", "ThumbWidth"));
    EXPECT_EQ(0, ReadProductDword("Option\\ImageCache", "Enabled"));
    EXPECT_TRUE(testwin::MessagesAre(
        m_log, {WM_PREFS_CHANGED, WM_THUMB_LOOK_CHANGED, WM_OPTIONS_APPLIED, WM_REGEN_ALL}));
}

TEST_F(OptionSheetTest, DrawingChangesAreStoredWithoutRegeneratingUnlessAsked)
{
    RunOptionSheet([](HWND sheet) {
        HWND page = ShowPage(sheet, kDrawingPage);
        Click(page, IDC_OPTION_FILL_OFF);
        Click(page, IDC_OPTION_ZOOM_ON_OPEN);
        PressOk(sheet);
    });
    EXPECT_EQ(0, Preference.FillOn);
    EXPECT_EQ(1, Preference.PreviewZoomExtend);
    EXPECT_TRUE(testwin::MessagesAre(m_log, {}));
}

TEST_F(OptionSheetTest, AClickOnTheSwatchPicksTheBackgroundColourStoredOnOk)
{
    Preference.BackGroundColor = 7;
    std::string chooserName, pageName;
    RunOptionSheet([&](HWND sheet) {
        HWND page = ShowPage(sheet, kDrawingPage);
        ActWhenShown("选择颜色", [&](HWND chooser) {
            SetDlgItemTextA(chooser, IDC_ZRUI_COLOR_INDEX, "3");
            chooserName = ControlText(chooser, IDC_ZRUI_COLOR_NAME);
            SendMessageA(chooser, WM_COMMAND, IDOK, 0);
        });
        HWND swatch = GetDlgItem(page, IDC_OPTION_BACKGROUND_SWATCH);
        SendMessageA(swatch, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(swatch, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        pageName = ControlText(page, IDC_OPTION_BACKGROUND_NAME);
        PressOk(sheet);
    });
    EXPECT_NE("", chooserName);
    EXPECT_EQ(chooserName, pageName);
    EXPECT_EQ(3, Preference.BackGroundColor);
    EXPECT_EQ(3, ReadProductDword("Option\\DwgDraw", "BackGroundColor"));
    EXPECT_TRUE(testwin::MessagesAre(m_log, {}));
}

TEST_F(OptionSheetTest, AMissingCacheFolderKeepsThePageUntilItIsCreated)
{
    std::string wanted = m_folder + "\\new\\deeper";
    int pageAfterCancel = -1;
    DWORD selectionEnd = 0;
    std::string question;
    bool existedAfterCancel = true;
    RunOptionSheet([&](HWND sheet) {
        HWND page = ShowPage(sheet, kCachePage);
        SetDlgItemTextA(page, IDC_OPTION_CACHE_FOLDER, wanted.c_str());
        AnswerNextMessageBox(IDCANCEL);
        ShowPage(sheet, kBrowsePage);
        question = LastMessageBoxText();
        pageAfterCancel = (int)SendMessageA(PropSheet_GetTabControl(sheet), TCM_GETCURSEL, 0, 0);
        SendDlgItemMessageA(page, IDC_OPTION_CACHE_FOLDER, EM_GETSEL, 0, (LPARAM)&selectionEnd);
        existedAfterCancel = DirectoryExists(wanted.c_str());
        AnswerNextMessageBox(IDOK);
        PressOk(sheet);
    });
    EXPECT_EQ(wanted + "\n--------------\n文件夹不存在,创建吗?", question);
    EXPECT_EQ(kCachePage, pageAfterCancel);
    EXPECT_EQ(wanted.size(), selectionEnd);
    EXPECT_FALSE(existedAfterCancel);
    EXPECT_TRUE(DirectoryExists(wanted.c_str()));
    EXPECT_STREQ((wanted + "\\").c_str(), Preference.GetLibIndexPath());
    EXPECT_TRUE(testwin::MessagesAre(m_log, {WM_OPTIONS_APPLIED}));
}

TEST_F(OptionSheetTest, AnEmptyCacheFolderCannotBeLeft)
{
    int pageAfterTry = -1;
    std::string answer;
    bool confirmed = RunOptionSheet([&](HWND sheet) {
        HWND page = ShowPage(sheet, kCachePage);
        SetDlgItemTextA(page, IDC_OPTION_CACHE_FOLDER, "");
        AnswerNextMessageBox(IDOK);
        ShowPage(sheet, kBrowsePage);
        answer = LastMessageBoxText();
        pageAfterTry = (int)SendMessageA(PropSheet_GetTabControl(sheet), TCM_GETCURSEL, 0, 0);
        PressCancel(sheet);
    });
    EXPECT_FALSE(confirmed);
    EXPECT_EQ("不能创建文件夹!", answer);
    EXPECT_EQ(kCachePage, pageAfterTry);
    EXPECT_STREQ((m_folder + "\\").c_str(), Preference.GetLibIndexPath());
}

TEST_F(OptionSheetTest, DeletingInvalidCacheDataWithNothingStaleReportsZeroBytes)
{
    std::string report = CleanCacheAndReadTheReport();
    EXPECT_EQ(m_folder + "\\\n------------------------------------------\n\n\nDelete invalid cache data : 0 Bytes",
              report);
}

TEST_F(OptionSheetTest, DeletingInvalidCacheDataRemovesTheLibrariesOfVanishedFolders)
{
    // Two libraries of folders that are gone, one after the other in the
    // index, one of a folder that exists, and one whose header is damaged.
    std::string live = testfiles::MakeScratchFolder("browsed");
    const char* folders[] = {"C:\\gone\\first", "C:\\gone\\second", live.c_str()};
    std::string libraries[3];
    size_t staleBytes = 0;
    for (int i = 0; i < 3; ++i) {
        std::vector<uint8_t> header;
        AppendLibHeader(header, folders[i], 170, 130);
        libraries[i] = m_folder + "\\" + std::string(MakeNumberedLibName(i + 1));
        ASSERT_TRUE(testfiles::WriteFileBytes(libraries[i], std::string(header.begin(), header.end())));
        if (i < 2)
            staleBytes += header.size();
    }
    std::string damaged = m_folder + "\\" + std::string(MakeNumberedLibName(9));
    ASSERT_TRUE(testfiles::WriteFileBytes(damaged, std::string(64, 'x')));
    std::string report = CleanCacheAndReadTheReport();
    EXPECT_EQ(m_folder + "\\\n------------------------------------------\n\n\nDelete invalid cache data : " +
                  std::to_string(staleBytes) + " Bytes",
              report);
    EXPECT_FALSE(FileExists(libraries[0].c_str()));
    EXPECT_FALSE(FileExists(libraries[1].c_str()));
    EXPECT_TRUE(FileExists(libraries[2].c_str()));
    EXPECT_FALSE(FileExists(damaged.c_str()));
}

TEST_F(OptionSheetTest, DrawingAssociationsFollowTheBoxesAndForeignOnesAreNotCounted)
{
    AssociateWithThisProgram(".dwg", "QuorvantixDrawingDWG");
    AssociateWithThisProgram(".dxf", "Quorvantix.DXF");
    bool dwgShown = true, dxfShown = false, rasterDisabled = false;
    RunOptionSheet([&](HWND sheet) {
        HWND page = ShowPage(sheet, kAssociatePage);
        dwgShown = IsChecked(page, IDC_OPTION_ASSOC_DWG);
        dxfShown = IsChecked(page, IDC_OPTION_ASSOC_DXF);
        rasterDisabled = !IsWindowEnabled(GetDlgItem(page, IDC_OPTION_ASSOC_BMP)) &&
                         !IsWindowEnabled(GetDlgItem(page, IDC_OPTION_ASSOC_WMF));
        PressOk(sheet);
    });
    EXPECT_FALSE(dwgShown);
    EXPECT_TRUE(dxfShown);
    EXPECT_TRUE(rasterDisabled);
    // The unchecked box removes the association that opens this program.
    EXPECT_EQ("<none>", ClassValue(".dwg"));
    EXPECT_EQ("Quorvantix.DXF", ClassValue(".dxf"));

    RunOptionSheet([](HWND sheet) {
        Click(ShowPage(sheet, kAssociatePage), IDC_OPTION_ASSOC_INVERT);
        PressOk(sheet);
    });
    EXPECT_EQ("Quorvantix.DWG", ClassValue(".dwg"));
    EXPECT_EQ("Drawing file", ClassValue("Quorvantix.DWG"));
    EXPECT_EQ("\"" + ProgramPath() + "\" \"%1\"", ClassValue("Quorvantix.DWG\\shell\\open\\command"));
    EXPECT_EQ("<none>", ClassValue(".dxf"));
}
