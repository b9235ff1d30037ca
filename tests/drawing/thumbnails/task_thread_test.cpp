// The thumbnail task thread with a real list window: the messages it sends,
// the thumbnails it makes from files written by ImageMagick and ezdxf, the
// rows in view served first, the library it leaves behind, the next visit
// served from that library, and drawn thumbnails of real drawings that are
// the viewer's pictures of them.
#include "tests/support/gtest.h"

#include <map>
#include <string>
#include <vector>

#include "core/appsw.h"
#include "core/file_types.h"
#include "drawing/common/draw_messages.h"
#include "drawing/library/dwg_cache.h"
#include "drawing/thumbnails/task.h"
#include "drawing/thumbnails/task_manage_thread.h"
#include "core/preference.h"
#include "graphics/kbmp.h"
#include "platform/zrapp/zrapp.h"
#include "platform/zrio/zrio.h"
#include "tests/drawing/library/library_bytes.h"
#include "tests/support/message_log.h"
#include "tests/support/test_files.h"

namespace {

const int kWidth = 160;
const int kHeight = 120;
const DWORD kBatchTimeoutMs = 30000;

struct Input {
    const char* name;
    int32_t kind;
};

// In row order.
const Input kInputs[] = {
    {"big.png", FILEKIND_PNG},       {"small.bmp", FILEKIND_BMP},  {"photo.jpg", FILEKIND_JPEG},
    {"lines.dxf", FILEKIND_DXF},     {"preview.dwg", FILEKIND_DWG}, {"nopreview.dwg", FILEKIND_DWG},
    {"broken.png", FILEKIND_PNG},    {"missing.png", FILEKIND_PNG}, {"checker.png", FILEKIND_PNG},
};
const int kRows = sizeof(kInputs) / sizeof(kInputs[0]);

struct Received {
    int result = 0;
    std::string bmp;
    int width = 0;
    int height = 0;
};

// The list window: takes every finished thumbnail on WM_THUMB_DONE, as the
// file list does.
struct ListWindow {
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_THUMB_DONE && current) {
            TTaskResult result;
            while (current->thread->GetFinishedTask(result)) {
                Received& row = current->rows[result.itemValue];
                row.result = result.result;
                if (result.thumbnail && result.thumbnail->data) {
                    row.bmp.assign(reinterpret_cast<const char*>(result.thumbnail->data),
                                   result.thumbnail->GetFileSize());
                    row.width = result.thumbnail->GetWidth();
                    row.height = result.thumbnail->GetHeight();
                }
                delete result.thumbnail;
                current->order.push_back(result.itemValue);
            }
            return 0;
        }
        if (message == WM_THUMB_STAGE && wParam == 101 && current) {
            ++current->rasterStages;
            if (current->rasterStages == current->viewModeAtRasterStage)
                AppSW.mode = APPMODE_VIEW;
            if (current->rasterStages == 1 && !current->lateQuickTask.empty())
                current->thread->AddTask(new TTask(current->lateQuickTask.c_str(), kRows, 1, FILEKIND_BMP));
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    static ListWindow* current;
    TTaskManageThread* thread = nullptr;
    std::map<int, Received> rows;
    std::vector<int> order;
    int rasterStages = 0;
    // Switches to view mode at this raster file's stage (0: never).
    int viewModeAtRasterStage = 0;
    // A quick task for this file, as row kRows, is added at the first
    // raster file's stage, when the batch already makes pictures (none when
    // empty).
    std::string lateQuickTask;
};
ListWindow* ListWindow::current = nullptr;

class TaskThreadTest : public testing::Test {
protected:
    void SetUp() override
    {
        AppSW.mode = APPMODE_BROWSE;
        AppSW.toQuit = 0;
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = ListWindow::Procedure;
        windowClass.lpszClassName = "ThumbnailListTest";
        RegisterClassA(&windowClass);
        window = CreateWindowA("ThumbnailListTest", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        ASSERT_NE(nullptr, window) << "error " << GetLastError();
        log.Attach(window);
        ListWindow::current = &list;
        list.thread = &thread;
        thread.SetNotifyWnd(window);
        thread.SetThumbSize(kWidth, kHeight);
        ASSERT_TRUE(thread.Create());
        ASSERT_TRUE(WaitUntilIdle());
        folder = testfiles::ToWinePath(THUMB_INPUTS);
        // Old libraries of earlier runs are not read.
        DeleteFileA((folder + "\\QuorvantixImageCache.qrvlib").c_str());
    }
    void TearDown() override
    {
        AppSW.toQuit = 1;
        EXPECT_TRUE(thread.Stop(10000));
        ListWindow::current = nullptr;
        DestroyWindow(window);
        AppSW.toQuit = 0;
        AppSW.mode = APPMODE_QUITTING;
    }

    bool WaitUntilIdle()
    {
        for (int i = 0; i < 1000 && !thread.IsIdle(); ++i)
            testwin::PumpMessages(10);
        return thread.IsIdle();
    }
    std::string Path(int row) const { return folder + "\\" + kInputs[row].name; }

    // One batch over every row, as the file list starts it.
    void RunBatch(bool quick, int firstRowInView)
    {
        std::vector<Input> files(kInputs, kInputs + kRows);
        RunBatchOver(folder, files, quick, firstRowInView);
    }
    void RunBatchOver(const std::string& where, const std::vector<Input>& files, bool quick, int firstRowInView)
    {
        list.rows.clear();
        list.order.clear();
        log.Clear();
        for (size_t row = 0; row < files.size(); ++row)
            thread.AddTask(new TTask((where + "\\" + files[row].name).c_str(), int(row), quick, files[row].kind));
        thread.SetStartIndex(firstRowInView);
        thread.StartFolder(where.c_str(), !quick);
        ASSERT_TRUE(log.WaitFor(WM_THUMBS_FINISHED, kBatchTimeoutMs));
        ASSERT_TRUE(WaitUntilIdle());
    }
    size_t Count(UINT message, WPARAM wParam) const
    {
        size_t count = 0;
        for (const testwin::LoggedMessage& entry : log.Entries())
            count += entry.message == message && entry.wParam == wParam;
        return count;
    }
    COLORREF Pixel(const Received& row, int x, int y) const
    {
        // Bottom-up 24-bit rows.
        const uint32_t stride = (uint32_t(row.width) * 3 + 3) & ~3u;
        const size_t at = 54 + size_t(row.height - 1 - y) * stride + size_t(x) * 3;
        return RGB(uint8_t(row.bmp[at + 2]), uint8_t(row.bmp[at + 1]), uint8_t(row.bmp[at]));
    }

    thumbtest::ScratchCache cache;
    HWND window = NULL;
    testwin::MessageLog log{{WM_THUMB_DONE, WM_THUMB_STAGE, WM_THUMBS_FINISHED}};
    ListWindow list;
    TTaskManageThread thread;
    std::string folder;
};

TEST_F(TaskThreadTest, AFolderFillsWithThumbnailsFromTheRowInViewOn)
{
    RunBatch(false, 3);
    ASSERT_EQ(size_t(kRows), list.order.size());
    std::vector<int> expectedOrder = {3, 4, 5, 6, 7, 8, 0, 1, 2};
    EXPECT_EQ(expectedOrder, list.order);

    struct Expected {
        int result;
        int width;
        int height;
    };
    const Expected expected[kRows] = {
        {TASK_RESULT_MADE, 160, 80},   {TASK_RESULT_MADE, 50, 40},    {TASK_RESULT_MADE, 80, 120},
        {TASK_RESULT_MADE, 160, 120},  {TASK_RESULT_PREVIEW, 160, 120}, {TASK_RESULT_FAILED, 160, 120},
        {TASK_RESULT_FAILED, 160, 120}, {TASK_RESULT_FAILED, 160, 120}, {TASK_RESULT_MADE, 160, 120},
    };
    const std::string outputs = testfiles::ToWinePath(testfiles::BinaryDir()) + "\\tests\\drawing\\thumbnails";
    CreateDirectoryA(outputs.c_str(), NULL);
    for (int row = 0; row < kRows; ++row) {
        testfiles::WriteFileBytes(outputs + "\\" + kInputs[row].name + ".bmp", list.rows[row].bmp);
        EXPECT_EQ(expected[row].result, list.rows[row].result) << kInputs[row].name;
        EXPECT_EQ(expected[row].width, list.rows[row].width) << kInputs[row].name;
        EXPECT_EQ(expected[row].height, list.rows[row].height) << kInputs[row].name;
    }
    // The photo stands as its orientation says: blue left of red.
    const Received& photo = list.rows[2];
    EXPECT_GT(GetRValue(Pixel(photo, 70, 60)), 200);
    EXPECT_LT(GetBValue(Pixel(photo, 70, 60)), 60);
    EXPECT_GT(GetBValue(Pixel(photo, 10, 60)), 200);
    EXPECT_LT(GetRValue(Pixel(photo, 10, 60)), 60);
    // The stored preview (37 x 21) is enlarged to the box and centred.
    const Received& preview = list.rows[4];
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), Pixel(preview, 80, 2));
    EXPECT_NE(GetSysColor(COLOR_BTNFACE), Pixel(preview, 80, 60));
    // The drawing has lines on its background.
    const Received& lines = list.rows[3];
    std::map<COLORREF, int> colours;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ++colours[Pixel(lines, x, y)];
    EXPECT_GE(colours.size(), 4u);

    // Each raster file is announced before it is decoded; the drawing shows
    // its three stages, the drawing that cannot be opened its first.
    EXPECT_EQ(6u, Count(WM_THUMB_STAGE, 101));
    EXPECT_EQ(4u, Count(WM_THUMB_STAGE, 0));

    // The library holds the thumbnails made from the files, as received.
    ASSERT_TRUE(cache.WaitForWriter());
    thumbtest::Library library;
    std::string problem;
    ASSERT_TRUE(thumbtest::ReadLibrary(thumbtest::FindNumberedLibrary(cache.CacheFolder()), library, problem))
        << problem;
    EXPECT_EQ(folder + "\\", library.folder);
    std::map<std::string, std::string> stored;
    for (const thumbtest::LibraryRecord& record : library.records)
        stored[record.name] = record.bmp;
    EXPECT_EQ(5u, stored.size());
    for (int row : {0, 1, 2, 3, 8})
        EXPECT_EQ(list.rows[row].bmp, stored[kInputs[row].name]) << kInputs[row].name;
}

TEST_F(TaskThreadTest, TheNextVisitIsServedFromTheLibraryUntilAFileChanges)
{
    RunBatch(false, 0);
    ASSERT_TRUE(cache.WaitForWriter());
    std::map<int, Received> first = list.rows;

    RunBatch(true, 0);
    ASSERT_EQ(size_t(kRows), list.order.size());
    for (int row : {0, 1, 2, 3, 4, 8}) {
        EXPECT_EQ(first[row].result, list.rows[row].result) << kInputs[row].name;
        EXPECT_EQ(first[row].bmp, list.rows[row].bmp) << kInputs[row].name;
    }
    // Only the failures are made again: two raster files decoded, one
    // drawing opened.
    EXPECT_EQ(2u, Count(WM_THUMB_STAGE, 101));
    EXPECT_EQ(1u, Count(WM_THUMB_STAGE, 0));

    thumbtest::TouchFile(Path(0), 120);
    RunBatch(true, 0);
    EXPECT_EQ(3u, Count(WM_THUMB_STAGE, 101));
    EXPECT_EQ(TASK_RESULT_MADE, list.rows[0].result);
    EXPECT_EQ(first[0].bmp, list.rows[0].bmp);
}

TEST_F(TaskThreadTest, AQuickTaskAddedWhileTheBatchMakesPicturesWaitsForTheNextBatch)
{
    list.lateQuickTask = Path(1);
    RunBatch(true, 0);
    EXPECT_EQ(size_t(kRows), list.order.size());
    EXPECT_EQ(0u, list.rows.count(kRows));
    EXPECT_EQ(0, thread.GetTaskList()->GetCount());
}

TEST_F(TaskThreadTest, SwitchingToViewModeEndsTheBatchAndKeepsWhatWasMade)
{
    // The view opens while the second raster file (the photo) is decoded.
    list.viewModeAtRasterStage = 2;
    for (int row = 0; row < kRows; ++row)
        thread.AddTask(new TTask(Path(row).c_str(), row, false, kInputs[row].kind));
    thread.SetStartIndex(1);
    thread.StartFolder(folder.c_str(), true);
    for (int i = 0; i < 1000 && thread.IsIdle(); ++i)
        testwin::PumpMessages(1);
    ASSERT_TRUE(WaitUntilIdle());
    testwin::PumpMessages(50);
    EXPECT_EQ(0u, log.Count(WM_THUMBS_FINISHED));
    EXPECT_EQ(0, thread.GetTaskList()->GetCount());
    EXPECT_LE(list.order.size(), 1u);

    // What was made is saved: the first file and the photo.
    ASSERT_TRUE(cache.WaitForWriter());
    thumbtest::Library library;
    std::string problem;
    ASSERT_TRUE(thumbtest::ReadLibrary(thumbtest::FindNumberedLibrary(cache.CacheFolder()), library, problem))
        << problem;
    ASSERT_EQ(2u, library.records.size());
    EXPECT_EQ("small.bmp", library.records[0].name);
    EXPECT_EQ("photo.jpg", library.records[1].name);
}

// What the viewer draws of a drawing in a window of the thumbnail's size
// zoomed to its extents as the thumbnail is: the document view's picture,
// as the drawing thread draws it, in the rows of a 24-bit bottom-up BMP.
std::string ViewerPicture(const std::string& path)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, bitmap);
    ZrApp::Document* document = ZrApp::Document::create();
    std::string picture;
    if (document->getDrawing()->open(path.c_str(), nullptr) == CDrawing::kOpened) {
        ZrApp::View* view = document->getView();
        view->setSize(kWidth, kHeight);
        view->zoomExtents(0, 0, 0.98);
        view->draw(dc, 0);
        GdiFlush();
        picture.assign(static_cast<const char*>(bits), size_t((kWidth * 3 + 3) & ~3) * kHeight);
    }
    ZrApp::Document::release(document);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return picture;
}

// Real drawings (DXF, and DWG read through LibreDWG, with the stored
// preview turned off) are drawn into their thumbnails as the viewer draws
// them: the same pixels.
TEST_F(TaskThreadTest, ADrawnThumbnailIsTheViewersPictureOfTheDrawing)
{
    const std::vector<Input> files = {{"ezd_hatches_2.dxf", FILEKIND_DXF},
                                      {"dxp_api-cw750-details.dxf", FILEKIND_DXF},
                                      {"sample_2000.dwg", FILEKIND_DWG},
                                      {"example_2018.dwg", FILEKIND_DWG}};
    const std::string where = testfiles::MakeScratchFolder("drawn_thumbnails");
    const std::string fixtures = testfiles::ToWinePath(testfiles::SourceDir() + "/tests/fixtures");
    for (const Input& file : files) {
        const char* sub = file.kind == FILEKIND_DWG ? "\\dwg\\" : "\\dxf\\";
        ASSERT_TRUE(CopyFileA((fixtures + sub + file.name).c_str(), (where + "\\" + file.name).c_str(), FALSE));
    }
    const BYTE storedPreview = Preference.ReadBitmapFromDwg, zoomExtents = Preference.ZoomExtend;
    Preference.ReadBitmapFromDwg = 0;
    Preference.ZoomExtend = 1;
    RunBatchOver(where, files, false, 0);
    Preference.ReadBitmapFromDwg = storedPreview;
    Preference.ZoomExtend = zoomExtents;
    for (size_t row = 0; row < files.size(); ++row) {
        SCOPED_TRACE(files[row].name);
        const Received& thumbnail = list.rows[int(row)];
        ASSERT_EQ(TASK_RESULT_MADE, thumbnail.result);
        ASSERT_EQ(kWidth, thumbnail.width);
        ASSERT_EQ(kHeight, thumbnail.height);
        const std::string viewer = ViewerPicture(where + "\\" + files[row].name);
        ASSERT_EQ(viewer.size() + 54, thumbnail.bmp.size());
        size_t differing = 0, inked = 0;
        for (size_t i = 0; i < viewer.size(); ++i) {
            differing += viewer[i] != thumbnail.bmp[54 + i];
            inked += viewer[i] != viewer[0];
        }
        EXPECT_GT(inked, 100u);
        EXPECT_EQ(0u, differing);
    }
}

}  // namespace

// A batch broken off while it runs leaves the thread idle within the wait;
// a stop in the middle of the next batch ends the thread by itself.
TEST_F(TaskThreadTest, ACancelledBatchIsWaitedForAndAStopUnderLoadEndsTheThread)
{
    for (int round = 0; round < 2; ++round) {
        for (int row = 0; row < kRows; ++row)
            thread.AddTask(new TTask(Path(row).c_str(), row, false, kInputs[row].kind));
        thread.SetStartIndex(0);
        thread.StartFolder(folder.c_str(), true);
        for (int i = 0; i < 1000 && thread.IsIdle(); ++i)
            Sleep(1);
        ASSERT_FALSE(thread.IsIdle());
        if (round == 1) {
            EXPECT_TRUE(thread.Stop(10000));
            EXPECT_TRUE(thread.HasEnded());
            break;
        }
        thread.CancelCurrent();
        EXPECT_TRUE(thread.WaitIdle(10000, window));
        EXPECT_TRUE(thread.IsIdle());
        thread.EndFolder();
        EXPECT_EQ(0, thread.GetTaskList()->GetCount());
    }
}
