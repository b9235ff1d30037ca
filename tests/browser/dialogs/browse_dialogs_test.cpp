#include "tests/support/gtest.h"

#include <string>
#include <vector>

#include <windows.h>

#include "browser/dialogs/browse_view_type.h"
#include "browser/dialogs/edit_path_box_dlg.h"
#include "browser/dialogs/new_folder_dlg.h"
#include "browser/dialogs/save_thumbnail_dlg.h"
#include "core/registry_root.h"
#include "resources/browser_dialogs_ids.h"
#include "tests/support/dialog_script.h"
#include "tests/support/message_log.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_files.h"

namespace {

using testwin::DialogScript;
using testwin::GetText;
using testwin::Press;

// Presses a button whose handler asks with a message box, answers the box
// and returns its text.
std::string PressAndAnswer(HWND dialog, int button, int answer)
{
    std::string text;
    DialogScript box({[&](HWND window) {
        text = GetText(window, 0xFFFF);
        SendMessageA(window, WM_COMMAND, answer, 0);
    }});
    Press(dialog, button);
    return text;
}

bool Enabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

// Keeps a picture of the dialog beside the test's scratch files.
void Screenshot(HWND dialog, const char* name)
{
    static std::string folder = testfiles::MakeScratchFolder("dialog-pictures");
    std::string path = folder + "\\" + name + ".bmp";
    EXPECT_TRUE(testwin::SaveWindowPicture(dialog, path));
    printf("picture: %s\n", path.c_str());
}

TEST(NewFolderDialog, SuggestsAFreeNameAndCreatesOnlyPlainNames)
{
    std::string parent = testfiles::MakeScratchFolder("new-folder");
    ASSERT_TRUE(CreateDirectoryA((parent + "\\新建文件夹").c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA((parent + "\\新建文件夹 (1)").c_str(), NULL));
    CNewFolderDlg dialog(parent.c_str(), "新建文件夹");
    EXPECT_EQ(CString("新建文件夹 (2)"), dialog.m_folderName);

    std::vector<std::string> refusals;
    std::string shown;
    DialogScript driver({[&](HWND window) {
        shown = GetText(window, IDC_NEW_FOLDER_NAME);
        Screenshot(window, "new_folder");
        for (const char* name : {"..\\outside", "a/b", "C:\\x", "..", "what?"}) {
            SetDlgItemTextA(window, IDC_NEW_FOLDER_NAME, name);
            refusals.push_back(PressAndAnswer(window, IDOK, IDOK));
        }
        SetDlgItemTextA(window, IDC_NEW_FOLDER_NAME, "新建文件夹");
        refusals.push_back(PressAndAnswer(window, IDOK, IDOK));
        SetDlgItemTextA(window, IDC_NEW_FOLDER_NAME, "图纸 2026");
        Press(window, IDOK);
    }});
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ("新建文件夹 (2)", shown);
    ASSERT_EQ(6u, refusals.size());
    EXPECT_EQ("Cann't create folder: \n   ..\\outside", refusals[0]);
    EXPECT_EQ("Cann't create folder: \n   新建文件夹", refusals[5]);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((parent + "\\..\\outside").c_str()));
    EXPECT_EQ(CString((parent + "\\图纸 2026").c_str()), dialog.GetFolderPath());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(dialog.GetFolderPath()));
}

TEST(SaveThumbnailDialog, ShowsTheDefaultsAndReturnsTheChoice)
{
    CSaveThumbnailDlg dialog("Z:\\tmp\\缩略图");
    std::vector<int> checked;
    std::string folder;
    DialogScript driver({[&](HWND window) {
        folder = GetText(window, IDC_THUMBNAIL_FOLDER);
        for (int id :
             {IDC_THUMBNAIL_BMP, IDC_THUMBNAIL_JPEG, IDC_THUMBNAIL_GIF, IDC_THUMBNAIL_ALL,
              IDC_THUMBNAIL_SELECTED, IDC_THUMBNAIL_OVERWRITE, IDC_THUMBNAIL_NEW_NAME, IDC_THUMBNAIL_ASK})
            if (IsDlgButtonChecked(window, id))
                checked.push_back(id);
        Screenshot(window, "save_thumbnail");
        Press(window, IDC_THUMBNAIL_JPEG);
        Press(window, IDC_THUMBNAIL_SELECTED);
        Press(window, IDC_THUMBNAIL_ASK);
        SetDlgItemTextA(window, IDC_THUMBNAIL_FOLDER, "Z:\\tmp\\out");
        Press(window, IDOK);
    }});
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ("Z:\\tmp\\缩略图", folder);
    EXPECT_EQ((std::vector<int>{IDC_THUMBNAIL_GIF, IDC_THUMBNAIL_ALL, IDC_THUMBNAIL_NEW_NAME}), checked);
    EXPECT_EQ(CString("Z:\\tmp\\out"), dialog.m_options.folder);
    EXPECT_EQ(ThumbnailFileJpeg, dialog.m_options.format);
    EXPECT_EQ(0, dialog.m_options.allRows);
    EXPECT_EQ(ExistingFileAsk, dialog.m_options.existingFiles);
}

class BookmarkDialog : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_sandbox.IsActive());
        m_kept = testfiles::MakeScratchFolder("kept");
        m_other = testfiles::MakeScratchFolder("other");
        Store("TypedDir0", m_kept);
        Store("TypedDir1", m_kept + "\\gone");
        Store("TypedDir2", m_other);
        m_parent = m_log.CreateRecorder();
    }

    static void Store(const char* name, const std::string& path)
    {
        RegSetKeyValueA(HKEY_CURRENT_USER, HARBECK_REGISTRY_ROOT "TypedDirs", name, REG_SZ, path.c_str(),
                        (DWORD)path.size() + 1);
    }

    static std::vector<std::string> Lines(HWND window)
    {
        std::vector<std::string> lines;
        int count = (int)SendDlgItemMessageA(window, IDC_BOOKMARK_LIST, LB_GETCOUNT, 0, 0);
        for (int line = 0; line < count; ++line) {
            char text[MAX_PATH] = "";
            SendDlgItemMessageA(window, IDC_BOOKMARK_LIST, LB_GETTEXT, line, (LPARAM)text);
            lines.push_back(text);
        }
        return lines;
    }

    RegistrySandbox m_sandbox;
    testwin::MessageLog m_log{{WM_BOOKMARKS_CHANGED}};
    HWND m_parent = NULL;
    std::string m_kept;
    std::string m_other;
};

TEST_F(BookmarkDialog, RemovesMissingAndSelectedBookmarksAndSavesOnOk)
{
    CEditPathBoxDlg dialog(CWnd::FromHandle(m_parent));
    DialogScript driver({[&](HWND window) {
        EXPECT_EQ((std::vector<std::string>{m_kept, m_kept + "\\gone", m_other}), Lines(window));
        EXPECT_EQ(0, SendDlgItemMessageA(window, IDC_BOOKMARK_LIST, LB_GETCURSEL, 0, 0));
        EXPECT_FALSE(Enabled(window, IDOK));
        Screenshot(window, "bookmarks");

        EXPECT_EQ("清理书签完成 !", PressAndAnswer(window, IDC_BOOKMARK_REMOVE_MISSING, IDOK));
        EXPECT_EQ((std::vector<std::string>{m_kept, m_other}), Lines(window));
        EXPECT_TRUE(Enabled(window, IDOK));

        SendDlgItemMessageA(window, IDC_BOOKMARK_LIST, LB_SETCURSEL, 1, 0);
        EXPECT_EQ("确定要移出选择的文件夹吗 ?", PressAndAnswer(window, IDC_BOOKMARK_REMOVE_SELECTED, IDYES));
        EXPECT_EQ(std::vector<std::string>{m_kept}, Lines(window));
        EXPECT_EQ(0, SendDlgItemMessageA(window, IDC_BOOKMARK_LIST, LB_GETCURSEL, 0, 0));
        // With nothing missing the clean-up still reports.
        EXPECT_EQ("清理书签完成 !", PressAndAnswer(window, IDC_BOOKMARK_REMOVE_MISSING, IDOK));
        EXPECT_EQ(std::vector<std::string>{m_kept}, Lines(window));
        Press(window, IDOK);
    }});
    ASSERT_EQ(IDOK, dialog.DoModal());
    testwin::PumpMessages(50);
    EXPECT_EQ(1u, m_log.Count(WM_BOOKMARKS_CHANGED));
    CPathManager stored;
    ASSERT_TRUE(stored.Load());
    ASSERT_EQ(1, stored.GetCount());
    EXPECT_EQ(m_kept, stored.GetAt(0));
}

TEST_F(BookmarkDialog, ClearingThenCancellingSavesNothing)
{
    CEditPathBoxDlg dialog(CWnd::FromHandle(m_parent));
    DialogScript driver({[&](HWND window) {
        EXPECT_EQ("确定清除所有书签吗 ?", PressAndAnswer(window, IDC_BOOKMARK_CLEAR, IDYES));
        EXPECT_TRUE(Lines(window).empty());
        EXPECT_FALSE(Enabled(window, IDC_BOOKMARK_CLEAR));
        EXPECT_FALSE(Enabled(window, IDC_BOOKMARK_REMOVE_SELECTED));
        Press(window, IDCANCEL);
    }});
    ASSERT_EQ(IDCANCEL, dialog.DoModal());
    testwin::PumpMessages(50);
    EXPECT_EQ(0u, m_log.Count(WM_BOOKMARKS_CHANGED));
    CPathManager stored;
    ASSERT_TRUE(stored.Load());
    EXPECT_EQ(3, stored.GetCount());
}

TEST(BrowseViewTypeDialog, TilesChooseTheStyle)
{
    CBrowseViewType first;
    COLORREF titleColour = 0;
    DialogScript keep({[&](HWND window) {
        Screenshot(window, "browse_view_type");
        // The first tile shows the style's window title bar near its top.
        HWND tile = GetDlgItem(window, IDC_VIEW_TYPE_TILE1);
        RECT area;
        GetClientRect(tile, &area);
        HDC dc = GetDC(tile);
        titleColour = GetPixel(dc, area.right / 2, area.bottom / 20 + 3);
        ReleaseDC(tile, dc);
        Press(window, IDOK);
    }});
    ASSERT_EQ(IDOK, first.DoModal());
    EXPECT_EQ(1, first.m_style);
    EXPECT_LT(GetRValue(titleColour) + GetGValue(titleColour), 100) << std::hex << titleColour;

    CBrowseViewType second;
    DialogScript choose({[&](HWND window) {
        testwin::ClickControl(window, IDC_VIEW_TYPE_TILE3);
        Press(window, IDOK);
    }});
    ASSERT_EQ(IDOK, second.DoModal());
    EXPECT_EQ(3, second.m_style);

    CBrowseViewType third;
    DialogScript doubleClick({[&](HWND window) {
        HWND tile = GetDlgItem(window, IDC_VIEW_TYPE_TILE5);
        SendMessageA(tile, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(tile, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        SendMessageA(tile, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    }});
    ASSERT_EQ(IDOK, third.DoModal());
    EXPECT_EQ(5, third.m_style);
}

}  // namespace
