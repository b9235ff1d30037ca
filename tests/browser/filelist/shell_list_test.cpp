// The file list pane over a real folder (a copy of the folder that ezdxf and
// ImageMagick wrote): rows and kinds per view, the shell's sort orders
// against the files' own sizes and times, rename and delete through the
// shell, and thumbnails made by a real task thread.
#include "tests/support/gtest.h"

#include <algorithm>
#include <string>
#include <vector>

#include "browser/filelist/file_list_view.h"
#include "browser/shell/file_name_check.h"
#include "core/appsw.h"
#include "core/file_types.h"
#include "core/preference.h"
#include "drawing/common/draw_messages.h"
#include "drawing/thumbnails/task.h"
#include "drawing/thumbnails/task_manage_thread.h"
#include "graphics/kbmp.h"
#include "resources/browser_ids.h"
#include "tests/support/dialog_script.h"
#include "tests/support/message_log.h"
#include "tests/support/test_files.h"

namespace {

const char* const kInputNames[] = {"lines.dxf", "图纸.dxf", "red.png", "Photo.jpg", "broken.png", "notes.txt"};

// The texts of the message boxes and shell confirmations the tests answered.
std::vector<std::string> g_boxTexts;

// Answers a message box or shell confirmation with its default button,
// keeping its text.
void AnswerWithDefaultButton(HWND box)
{
    g_boxTexts.push_back(testwin::MessageBoxText(box));
    DWORD defaultId = LOWORD(SendMessageA(box, DM_GETDEFID, 0, 0));
    PostMessageA(box, WM_COMMAND, defaultId ? defaultId : IDOK, 0);
}

struct FileFacts {
    std::string name;
    ULONGLONG size;
    ULONGLONG written;
};

class ShellListTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        OleInitialize(nullptr);
        AppSW.mode = APPMODE_BROWSE;
        s_thread = new TTaskManageThread;
        ASSERT_TRUE(s_thread->Create());
        // One frame for all: destroying a shown top-level window takes Wine
        // a while.
        s_frame = new CWnd;
        ASSERT_TRUE(s_frame->CreateEx(0, AfxRegisterWndClass(0), "list", WS_POPUP | WS_VISIBLE, 0, 0, 760, 560,
                                      nullptr, nullptr));
    }
    static void TearDownTestSuite()
    {
        EXPECT_TRUE(s_thread->Stop(10000));
        delete s_thread;
        s_frame->DestroyWindow();
        delete s_frame;
        AppSW.mode = APPMODE_QUITTING;
        OleUninitialize();
    }
    void SetUp() override
    {
        m_folder = testfiles::MakeScratchFolder("list");
        std::string inputs = testfiles::ToWinePath(LIST_INPUTS);
        ASSERT_TRUE(CreateDirectoryA((m_folder + "\\sub").c_str(), nullptr));
        for (const char* name : kInputNames)
            ASSERT_TRUE(CopyFileA((inputs + "\\" + name).c_str(), (m_folder + "\\" + name).c_str(), FALSE)) << name;
        Preference.ShowNoneDrawingFile = 1;
        Preference.ShowPathBox = 1;
        m_pane.GetList().SetTaskThread(s_thread);
        ASSERT_TRUE(m_pane.Create(s_frame));
        m_pane.MoveWindow(0, 0, 760, 560);
        m_answers.ThenEach(AnswerWithDefaultButton).Start();
        g_boxTexts.clear();
    }
    void TearDown() override
    {
        List().StopCurrentTask();
        m_pane.DestroyWindow();
        Preference.OnlyShowDrawing = 0;
        DrawingFileType.Build(false);
    }

    CIEShellListCtrl& List() { return m_pane.GetList(); }

    void Show(int viewType)
    {
        List().SetViewType(viewType);
        ASSERT_TRUE(List().BrowseToPath(m_folder.c_str()));
        testwin::PumpMessages(100);
    }
    int RowOf(const std::string& name)
    {
        std::vector<std::string> names = RowNames();
        return (int)(std::find(names.begin(), names.end(), name) - names.begin());
    }
    std::vector<std::string> SortedRowNames()
    {
        std::vector<std::string> names = RowNames();
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> RowNames()
    {
        std::vector<std::string> names;
        for (int row = 0; row < List().GetItemCount(); ++row) {
            CString path = List().GetItemPath(row);
            names.push_back(std::string(path.Mid(path.ReverseFind('\\') + 1)));
        }
        return names;
    }
    // The files' facts as the file system gives them, in the list's row
    // order, folders left out.
    std::vector<FileFacts> FileRows()
    {
        std::vector<FileFacts> facts;
        for (const std::string& name : RowNames()) {
            WIN32_FILE_ATTRIBUTE_DATA data;
            if (!GetFileAttributesExA((m_folder + "\\" + name).c_str(), GetFileExInfoStandard, &data) ||
                (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                continue;
            facts.push_back({name, ((ULONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow,
                             ((ULONGLONG)data.ftLastWriteTime.dwHighDateTime << 32) |
                                 data.ftLastWriteTime.dwLowDateTime});
        }
        return facts;
    }
    // Ends an in-place edit the way the edit box does on Enter.
    void RenameRow(int row, const char* text)
    {
        HWND edit = (HWND)List().SendMessage(LVM_EDITLABELA, row);
        ASSERT_NE(nullptr, edit);
        SetWindowTextA(edit, text);
        SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
        testwin::PumpMessages(200);
    }
    bool WaitForThumbnails()
    {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < 20000) {
            testwin::PumpMessages(50);
            if (s_thread->IsIdle() && List().GetDoneCount() > 0)
                return true;
        }
        return false;
    }
    // The list as it paints itself (not read from the screen), as a 24-bit
    // BMP file beside the test's files.
    void SaveScreenshot(const char* name)
    {
        CRect client;
        List().GetClientRect(&client);
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = client.Width();
        info.bmiHeader.biHeight = client.Height();
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, bitmap);
        List().SendMessage(WM_PRINT, (WPARAM)memory, PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
        GdiFlush();
        DWORD rowBytes = ((client.Width() * 3 + 3) / 4) * 4;
        DWORD imageBytes = rowBytes * client.Height();
        BITMAPFILEHEADER header = {};
        header.bfType = 0x4D42;
        header.bfOffBits = sizeof(header) + sizeof(info.bmiHeader);
        header.bfSize = header.bfOffBits + imageBytes;
        std::string bytes((const char*)&header, sizeof(header));
        bytes.append((const char*)&info.bmiHeader, sizeof(info.bmiHeader));
        bytes.append((const char*)bits, imageBytes);
        testfiles::WriteFileBytes(testfiles::ToWinePath(testfiles::BinaryDir()) + "\\" + name, bytes);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }

    static TTaskManageThread* s_thread;
    static CWnd* s_frame;
    std::string m_folder;
    CFileListView m_pane;
    testwin::DialogScript m_answers;
};

TTaskManageThread* ShellListTest::s_thread = nullptr;
CWnd* ShellListTest::s_frame = nullptr;

}  // namespace

TEST(FileNameCheck, RefusesSeparatorsDotsReservedAndForbiddenCharacters)
{
    UINT id = 0;
    EXPECT_TRUE(IsAcceptableFileName("新图纸.dxf", id));
    // 乗 is 0x81 0x5C in GBK: its second byte is no separator.
    EXPECT_TRUE(IsAcceptableFileName("乗.dxf", id));
    const std::pair<const char*, UINT> refused[] = {
        {"", IDS_RENAME_EMPTY},           {"   ", IDS_RENAME_EMPTY},
        {"..\\x.dxf", IDS_RENAME_SEPARATOR}, {"sub/x.dxf", IDS_RENAME_SEPARATOR},
        {"..", IDS_RENAME_DOTS},          {". .", IDS_RENAME_DOTS},
        {"a:b", IDS_RENAME_BAD_CHARACTER}, {"a?.dxf", IDS_RENAME_BAD_CHARACTER},
        {"a\tb", IDS_RENAME_BAD_CHARACTER}, {"con.txt", IDS_RENAME_RESERVED},
        {"LPT1", IDS_RENAME_RESERVED},
    };
    for (const auto& name : refused) {
        EXPECT_FALSE(IsAcceptableFileName(name.first, id)) << name.first;
        EXPECT_EQ(name.second, id) << name.first;
    }
    EXPECT_FALSE(IsAcceptableFileName(std::string(256, 'a').c_str(), id));
}

TEST_F(ShellListTest, EachViewListsTheFolderThumbnailsOnlyDrawingsAndImages)
{
    std::vector<std::string> all(std::begin(kInputNames), std::end(kInputNames));
    all.push_back("sub");
    std::sort(all.begin(), all.end());
    const char* const screenshots[] = {"list_large_icons.bmp", "list_report.bmp", "list_small_icons.bmp",
                                       "list_list.bmp"};
    for (int view = VIEWTYPE_LARGE_ICONS; view <= VIEWTYPE_LIST; ++view) {
        Show(view);
        std::vector<std::string> names = RowNames();
        std::sort(names.begin(), names.end());
        EXPECT_EQ(all, names) << "view " << view;
        EXPECT_EQ(5, List().GetFileCount());
        EXPECT_EQ(1, List().GetFolderCount());
        SaveScreenshot(screenshots[view]);
    }
    // A file that is neither drawing nor image goes in thumbnail view and
    // comes back outside it; folders stay.
    List().SetViewType(VIEWTYPE_THUMBNAILS);
    std::vector<std::string> names = RowNames();
    EXPECT_EQ(names.end(), std::find(names.begin(), names.end(), "notes.txt"));
    EXPECT_EQ(6u, names.size());
    List().SetViewType(VIEWTYPE_REPORT);
    names = RowNames();
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), "notes.txt"));
    Preference.ShowNoneDrawingFile = 0;
    List().OnPreferencesChanged(true, false);
    EXPECT_EQ(6, List().GetItemCount());
    // The report cells: the size in KB as the file system counts it.
    int red = -1;
    for (int row = 0; row < List().GetItemCount(); ++row)
        if (RowNames()[row] == "red.png")
            red = row;
    ASSERT_GE(red, 0);
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA((m_folder + "\\red.png").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(std::to_string((data.nFileSizeLow + 1023) / 1024) + " KB", std::string(List().GetItemText(red, 1)));
    EXPECT_EQ("red.png", std::string(List().GetItemText(red, 0)));
}

// Turning the file-type filter on or off changes the rows and the count of
// drawings at once, as reading the folder anew would.
TEST_F(ShellListTest, TheFileTypeFilterTakesEffectAtOnceInEveryView)
{
    Show(VIEWTYPE_THUMBNAILS);
    EXPECT_EQ(5, List().GetFileCount());
    Preference.OnlyShowDrawing = 1;
    DrawingFileType.Build(true);
    List().OnPreferencesChanged(true, false);
    std::vector<std::string> drawings = {"lines.dxf", "sub", "图纸.dxf"};
    std::sort(drawings.begin(), drawings.end());
    EXPECT_EQ(drawings, SortedRowNames());
    EXPECT_EQ(2, List().GetFileCount());
    // Outside thumbnail view the pictures are listed as other files.
    List().SetViewType(VIEWTYPE_REPORT);
    EXPECT_EQ(7, List().GetItemCount());
    EXPECT_EQ(2, List().GetFileCount());

    Preference.OnlyShowDrawing = 0;
    DrawingFileType.Build(false);
    List().OnPreferencesChanged(true, false);
    EXPECT_EQ(5, List().GetFileCount());
    List().SetViewType(VIEWTYPE_THUMBNAILS);
    EXPECT_EQ(6, List().GetItemCount());
}

// A file another program replaces gets its new size and date in the details
// cells from the folder watcher's refresh; an empty file counts as 1 KB.
TEST_F(ShellListTest, TheWatchersRefreshRereadsTheSizeAndDateCells)
{
    ASSERT_TRUE(testfiles::WriteFileBytes(m_folder + "\\empty.dxf", ""));
    Show(VIEWTYPE_REPORT);
    EXPECT_EQ("1 KB", std::string(List().GetItemText(RowOf("empty.dxf"), 1)));
    std::string oldDate(List().GetItemText(RowOf("notes.txt"), 3));
    // Files are made until one is listed: the watcher then reads the folder
    // (it may not have begun when the first is made).
    const int rows = List().GetItemCount();
    DWORD start = GetTickCount();
    for (int probe = 0; List().GetItemCount() == rows && GetTickCount() - start < 10000; ++probe) {
        ASSERT_TRUE(testfiles::WriteFileBytes(m_folder + "\\probe" + std::to_string(probe) + ".dxf", "0"));
        testwin::PumpMessages(500);
    }
    ASSERT_GT(List().GetItemCount(), rows);

    std::string replacement = testfiles::MakeScratchFolder("replacement") + "\\notes.txt";
    ASSERT_TRUE(testfiles::WriteFileBytes(replacement, std::string(5000, 'n')));
    SYSTEMTIME time = {2001, 2, 0, 3, 4, 5, 0, 0};
    FILETIME written;
    ASSERT_TRUE(SystemTimeToFileTime(&time, &written));
    HANDLE file =
        CreateFileA(replacement.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    CloseHandle(file);
    ASSERT_TRUE(
        MoveFileExA(replacement.c_str(), (m_folder + "\\notes.txt").c_str(), MOVEFILE_REPLACE_EXISTING));

    start = GetTickCount();
    while (std::string(List().GetItemText(RowOf("notes.txt"), 1)) != "5 KB" && GetTickCount() - start < 5000)
        testwin::PumpMessages(50);
    EXPECT_EQ("5 KB", std::string(List().GetItemText(RowOf("notes.txt"), 1)));
    std::string newDate(List().GetItemText(RowOf("notes.txt"), 3));
    EXPECT_NE(oldDate, newDate);
    EXPECT_NE(std::string::npos, newDate.find("2001")) << newDate;
}

TEST_F(ShellListTest, SortsBySizeAndDateBothWaysAsTheFilesSay)
{
    Show(VIEWTYPE_REPORT);
    auto bySize = [](const FileFacts& a, const FileFacts& b) { return a.size < b.size; };
    auto byDate = [](const FileFacts& a, const FileFacts& b) { return a.written < b.written; };
    List().SetSortInfo(1, true);
    std::vector<FileFacts> rows = FileRows();
    ASSERT_EQ(6u, rows.size());
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(), bySize));
    List().SetSortInfo(1, false);
    rows = FileRows();
    EXPECT_TRUE(std::is_sorted(rows.rbegin(), rows.rend(), bySize));
    List().SetSortInfo(3, true);
    rows = FileRows();
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(), byDate));
    // A click on the sorted column's heading turns the order round.
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = List().m_hWnd;
    click.hdr.idFrom = CIEShellListCtrl::kControlId;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = 3;
    m_pane.SendMessage(WM_NOTIFY, CIEShellListCtrl::kControlId, (LPARAM)&click);
    rows = FileRows();
    EXPECT_TRUE(std::is_sorted(rows.rbegin(), rows.rend(), byDate));
    EXPECT_FALSE(List().GetSortAscending());
    // By name, ignoring case.
    List().SetSortInfo(0, true);
    rows = FileRows();
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(), [](const FileFacts& a, const FileFacts& b) {
        return lstrcmpiA(a.name.c_str(), b.name.c_str()) < 0;
    }));
}

TEST_F(ShellListTest, RenameKeepsToTheShownFolderAndRefusesBadNames)
{
    Show(VIEWTYPE_REPORT);
    std::vector<std::string> names = RowNames();
    int row = (int)(std::find(names.begin(), names.end(), "lines.dxf") - names.begin());
    ASSERT_LT(row, (int)names.size());
    std::string parent = m_folder.substr(0, m_folder.rfind('\\'));
    for (const char* bad : {"..\\escaped.dxf", ".."}) {
        g_boxTexts.clear();
        RenameRow(row, bad);
        EXPECT_EQ(1u, g_boxTexts.size()) << bad;
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_folder + "\\lines.dxf").c_str())) << bad;
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((parent + "\\escaped.dxf").c_str()));
    // The edited text holds the extension when the row shows it.
    std::string shown(List().GetItemText(row, 0));
    std::string extension = shown.size() > 4 && shown.substr(shown.size() - 4) == ".dxf" ? ".dxf" : "";
    // Another item's name is refused too: nothing is replaced.
    g_boxTexts.clear();
    RenameRow(row, ("图纸" + extension).c_str());
    EXPECT_EQ(1u, g_boxTexts.size());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_folder + "\\lines.dxf").c_str()));

    RenameRow(row, ("新线条" + extension).c_str());
    EXPECT_TRUE(g_boxTexts.size() <= 1u);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_folder + "\\lines.dxf").c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_folder + "\\新线条.dxf").c_str()));
    // The refresh after the change notice shows the new name.
    List().SendMessage(WM_FOLDER_CONTENT_CHANGED, 0, 1);
    testwin::PumpMessages(400);
    names = RowNames();
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), "新线条.dxf"));
    EXPECT_EQ(names.end(), std::find(names.begin(), names.end(), "lines.dxf"));
}

TEST_F(ShellListTest, DeleteKeyRemovesTheSelectedFilesThroughTheShell)
{
    Show(VIEWTYPE_REPORT);
    std::vector<std::string> names = RowNames();
    for (int row = 0; row < (int)names.size(); ++row)
        if (names[row] == "notes.txt" || names[row] == "broken.png")
            List().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    List().SendMessage(WM_ODLIST_DELETE);
    testwin::PumpMessages(200);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_folder + "\\notes.txt").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_folder + "\\broken.png").c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_folder + "\\red.png").c_str()));
    // The watcher's notice refreshes the rows after its delay.
    List().SendMessage(WM_FOLDER_CONTENT_CHANGED, 0, 1);
    DWORD start = GetTickCount();
    while (List().GetItemCount() != 5 && GetTickCount() - start < 3000)
        testwin::PumpMessages(50);
    EXPECT_EQ(5, List().GetItemCount());
}

TEST_F(ShellListTest, ThumbnailsShowThePicturesAndTheFailureCell)
{
    Preference.ThumbWidth = 120;
    Preference.ThumbHeight = 100;
    Preference.ThumbBorder = 5;
    Show(VIEWTYPE_THUMBNAILS);
    ASSERT_TRUE(WaitForThumbnails());
    testwin::PumpMessages(200);
    std::vector<std::string> names = RowNames();
    for (int row = 0; row < List().GetItemCount(); ++row) {
        CShellItemData* record = List().GetItemRecord(row);
        ASSERT_NE(nullptr, record);
        if (record->IsFolder())
            continue;
        ASSERT_NE(nullptr, record->pThumbnail) << names[row];
        ASSERT_NE(nullptr, record->pThumbnail->data) << names[row];
        EXPECT_EQ(names[row] == "broken.png" ? TASK_RESULT_FAILED : TASK_RESULT_MADE, record->thumbResult)
            << names[row];
    }
    // The red picture's cell is red in its middle, as the list paints it.
    int red = (int)(std::find(names.begin(), names.end(), "red.png") - names.begin());
    CRect icon;
    ASSERT_TRUE(List().GetItemRect(red, &icon, LVIR_ICON));
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    CRect client;
    List().GetClientRect(&client);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.Width(), client.Height());
    HGDIOBJ old = SelectObject(memory, bitmap);
    List().SendMessage(WM_PRINT, (WPARAM)memory, PRF_CLIENT | PRF_ERASEBKGND);
    COLORREF middle = GetPixel(memory, icon.left + List().GetCellWidth() / 2, icon.top + List().GetCellHeight() / 2);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    EXPECT_GT(GetRValue(middle), 200) << std::hex << middle;
    EXPECT_LT(GetGValue(middle), 60) << std::hex << middle;
    SaveScreenshot("list_thumbnails.bmp");
    // Wide borders: the same cells hold smaller pictures, made anew.
    Preference.ThumbBorder = 8;
    List().OnThumbLookChanged();
    ASSERT_TRUE(WaitForThumbnails());
    names = RowNames();
    red = (int)(std::find(names.begin(), names.end(), "red.png") - names.begin());
    ASSERT_NE(nullptr, List().GetItemRecord(red)->pThumbnail);
    EXPECT_EQ(120 - 2 * 8, List().GetItemRecord(red)->pThumbnail->GetWidth());
    List().SetItemState(red, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    testwin::PumpMessages(200);
    SaveScreenshot("list_thumbnails_wide.bmp");
}

TEST_F(ShellListTest, StoppingARunningBatchWaitsBoundedAndDropsItsResults)
{
    Preference.ThumbBorder = 5;
    Show(VIEWTYPE_THUMBNAILS);
    DWORD start = GetTickCount();
    List().StopCurrentTask();
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_TRUE(s_thread->IsIdle());
    EXPECT_EQ(0, s_thread->GetTaskList()->GetCount());
}

TEST_F(ShellListTest, PathRowHidesAndTheListFillsThePane)
{
    Show(VIEWTYPE_LIST);
    m_pane.UpdatePathLabel();
    EXPECT_EQ(m_folder, std::string(m_pane.GetPathBoxText()));
    CRect list;
    List().GetWindowRect(&list);
    m_pane.ScreenToClient(&list);
    EXPECT_EQ(CFileListView::kPathRowHeight, list.top);
    Preference.ShowPathBox = 0;
    m_pane.RelayoutNow();
    List().GetWindowRect(&list);
    m_pane.ScreenToClient(&list);
    EXPECT_EQ(0, list.top);
    CRect box;
    m_pane.GetPathBox().GetWindowRect(&box);
    EXPECT_EQ(0, box.Width());
    Preference.ShowPathBox = 1;
}
