#include "tests/support/gtest.h"

#include "core/preference.h"
#include "drawing/draw_thread/draw_thread.h"
#include "platform/classlib/winapp.h"
#include "platform/classlib/wnd.h"
#include "tests/drawing/draw_thread/draw_thread_harness.h"

using drawtest::CountForeground;
using drawtest::DrawThreadTest;
using drawtest::Fixture;
using drawtest::PixelAt;
using drawtest::SamePixels;

namespace {

// Reads the drawing thread's cancel byte.
struct CancelProbe : TDwgDrawThread {
    static bool IsCancelled(const TDwgDrawThread& thread) { return thread.*(&CancelProbe::m_cancel) != 0; }
};

typedef std::vector<std::vector<LONG_PTR>> Messages;

const LONG_PTR kDone = WM_DRAW_DONE;
const LONG_PTR kOpened = WM_DRAW_OPENED;
const LONG_PTR kProgress = WM_DRAW_PROGRESS;

// Every WM_DRAW_DONE recorded, by its command code.
std::vector<LONG_PTR> DoneCodes(const Messages& messages)
{
    std::vector<LONG_PTR> codes;
    for (const std::vector<LONG_PTR>& message : messages) {
        if (message[0] == kDone)
            codes.push_back(message[2]);
    }
    return codes;
}

// The device's picture moved by (dx, dy) pixels equals the other picture
// where both show the same part of the drawing.
bool ShiftedBy(const CGDIDevice& before, const CGDIDevice& after, int dx, int dy)
{
    for (int y = 0; y < before.m_nHeight; ++y) {
        for (int x = 0; x < before.m_nWidth; ++x) {
            int tx = x + dx, ty = y + dy;
            if (tx < 0 || ty < 0 || tx >= after.m_nWidth || ty >= after.m_nHeight)
                continue;
            if (PixelAt(before, x, y) != PixelAt(after, tx, ty))
                return false;
        }
    }
    return true;
}

}  // namespace

TEST_F(DrawThreadTest, OpensADrawingAndAnswersInOrder)
{
    ASSERT_TRUE(OpenAndWait("frame.dxf", 320, 200));
    EXPECT_EQ((Messages{{kProgress, 1, 0}, {kOpened, 1, 0}, {kOpened, 1, 0}, {kDone, 1, DCMD_OPEN}}),
              Recorded());
    EXPECT_TRUE(m_thread->IsVectorLoaded());
    EXPECT_EQ(2, m_thread->GetState());
    EXPECT_TRUE(m_thread->IsCurrentFile(Fixture("FRAME.DXF").c_str()));

    CGDIDevice picture, expected;
    TakePicture(picture);
    LibraryPicture("frame.dxf", 320, 200, false, 0, expected);
    EXPECT_TRUE(SamePixels(expected, picture));

    DRAWINGINFO info;
    m_thread->GetDrawingInfo(&info);
    EXPECT_STREQ("格式ACAD r2000;", info.formatText);
    EXPECT_GE(info.setCount, 2);

    m_log.Clear();
    ASSERT_TRUE(OpenAndWait("frame.dxf", 300, 240, true));
    EXPECT_EQ(
        (Messages{{kProgress, 1, 0}, {kOpened, 1, 0}, {kProgress, 101, 0}, {kDone, 1, DCMD_OPEN_EXTENTS}}),
        Recorded());
    CGDIDevice extents, expectedExtents;
    TakePicture(extents);
    LibraryPicture("frame.dxf", 300, 240, true, 0, expectedExtents);
    EXPECT_GT(CountForeground(extents, NULL), 500);
    EXPECT_TRUE(SamePixels(expectedExtents, extents));
}

TEST_F(DrawThreadTest, TheLoadCallbacksReportToTheMainWindow)
{
    testwin::MessageLog mainLog({WM_DRAW_PROGRESS});
    CWinApp app;
    CWnd main;
    main.Attach(mainLog.CreateRecorder());
    app.m_pMainWnd = &main;

    TDwgDrawThread::OnLoadProgress(0.0);
    TDwgDrawThread::OnLoadProgress(57.9);
    TDwgDrawThread::OnLoadBegin(3);
    TDwgDrawThread::OnLoadEnd();
    testwin::PumpMessages(50);
    ASSERT_EQ(3u, mainLog.Entries().size());
    EXPECT_EQ(57u, mainLog.Entries()[0].wParam);
    EXPECT_EQ(0u, mainLog.Entries()[1].wParam);
    EXPECT_EQ(3, mainLog.Entries()[1].lParam);
    EXPECT_EQ(100u, mainLog.Entries()[2].wParam);

    // A load reports its start, its progress and its end.
    mainLog.Clear();
    ASSERT_TRUE(OpenAndWait("many.dxf", 100, 100));
    testwin::PumpMessages(50);
    ASSERT_GE(mainLog.Entries().size(), 3u);
    EXPECT_EQ(0u, mainLog.Entries().front().wParam);
    EXPECT_EQ(100u, mainLog.Entries().back().wParam);
    app.m_pMainWnd = NULL;
    main.Detach();
}

TEST_F(DrawThreadTest, AFileThatCannotBeOpenedShowsWhyInTheMiddle)
{
    m_thread->SetPassword("", 7);
    ASSERT_TRUE(OpenAndWait("broken.dxf", 400, 120));
    EXPECT_EQ((Messages{{kProgress, 1, 0}, {kOpened, 0, 7}, {kDone, 1, DCMD_OPEN}}), Recorded());
    EXPECT_FALSE(m_thread->IsVectorLoaded());
    DRAWINGINFO info;
    m_thread->GetDrawingInfo(&info);
    EXPECT_EQ(0, info.setCount);

    CGDIDevice failed;
    TakePicture(failed);
    RECT text;
    EXPECT_GT(CountForeground(failed, &text), 50);
    // Centred in both directions, on one line.
    EXPECT_NEAR(200, (text.left + text.right) / 2, 2);
    EXPECT_NEAR(60, (text.top + text.bottom) / 2, 2);
    EXPECT_LT(text.bottom - text.top, 24);
    // Seven characters, five of them wide.
    EXPECT_GT(text.right - text.left, 60);

    std::string locked = Fixture("frame.dxf");
    DWG_TestRequirePassword(locked.c_str(), "secret");
    m_log.Clear();
    m_thread->SetPassword("wrong", 9);
    m_thread->OpenFile(1, locked.c_str(), 400, 120, false);
    ASSERT_TRUE(WaitForDone());
    EXPECT_EQ((Messages{{kProgress, 1, 0}, {kOpened, 4, 9}, {kDone, 1, DCMD_OPEN}}), Recorded());
    CGDIDevice password;
    TakePicture(password);
    RECT shorter;
    CountForeground(password, &shorter);
    EXPECT_NEAR(200, (shorter.left + shorter.right) / 2, 2);
    EXPECT_NEAR(60, (shorter.top + shorter.bottom) / 2, 2);
    EXPECT_LT(shorter.right - shorter.left, text.right - text.left);

    // Opened again with the password.
    m_thread->SetPassword("secret", 9);
    m_thread->OpenFile(1, locked.c_str(), 400, 120, false);
    ASSERT_TRUE(WaitForDone(2));
    EXPECT_TRUE(m_thread->IsVectorLoaded());
    DWG_TestRequirePassword(NULL, NULL);
}

TEST_F(DrawThreadTest, TheFailureTextStandsOutFromADarkOrALightBackground)
{
    Preference.BackGroundColor = 7;  // white
    ASSERT_TRUE(OpenAndWait("broken.dxf", 200, 60));
    CGDIDevice picture;
    TakePicture(picture);
    EXPECT_EQ(0xFFFFFFu, PixelAt(picture, 0, 0));
    EXPECT_GT(CountForeground(picture, NULL), 50);
    Preference.BackGroundColor = 0;
}

TEST_F(DrawThreadTest, ANewerOpenAbandonsTheLoadSilently)
{
    // The first open waits for its progress notice to be handled: the
    // second request arrives while it runs.
    m_thread->OpenFile(-1, Fixture("many.dxf").c_str(), 200, 100, false);
    for (int i = 0; i < 500 && !m_thread->IsOpening(); ++i)
        Sleep(10);
    ASSERT_TRUE(m_thread->IsOpening());
    m_thread->OpenFile(-1, Fixture("frame.dxf").c_str(), 200, 100, false);
    EXPECT_TRUE(CancelProbe::IsCancelled(*m_thread));
    ASSERT_TRUE(WaitForDone());
    testwin::PumpMessages(100);
    EXPECT_EQ(
        (Messages{{kProgress, 1, 0}, {kProgress, 1, 0}, {kOpened, 1, 0}, {kOpened, 1, 0}, {kDone, 1, 1}}),
        Recorded());
    EXPECT_TRUE(m_thread->IsCurrentFile(Fixture("frame.dxf").c_str()));
    CGDIDevice picture, expected;
    TakePicture(picture);
    LibraryPicture("frame.dxf", 200, 100, false, 0, expected);
    EXPECT_TRUE(SamePixels(expected, picture));
}

TEST_F(DrawThreadTest, ABurstOfRequestsCollapsesToTheNewest)
{
    ASSERT_TRUE(OpenAndWait("frame.dxf", 240, 160, true));
    m_log.Clear();
    // While the views hold the thread idle, the requests pile up in the slot.
    ASSERT_TRUE(m_thread->BeginIdleUse());
    m_thread->SetCommand(DCMD_ZOOM_IN);
    m_thread->SetCommand(DCMD_ZOOM_OUT);
    m_thread->SetCommand(DCMD_ZOOM_IN);
    m_thread->EndIdleUse();
    ASSERT_TRUE(WaitForDone());
    testwin::PumpMessages(200);
    for (LONG_PTR code : DoneCodes(Recorded()))
        EXPECT_EQ(DCMD_ZOOM_IN, code);
    // Each pass ran the newest command once on the picture left before.
    size_t passes = DoneCodes(Recorded()).size();
    CGDIDevice picture, expected;
    TakePicture(picture);
    LibraryPicture("frame.dxf", 240, 160, true, (int)passes, expected);
    EXPECT_TRUE(SamePixels(expected, picture));

    // A wake runs the pending command again.
    m_log.Clear();
    m_thread->SetCommand(DCMD_WAKE);
    ASSERT_TRUE(WaitForDone());
    TakePicture(picture);
    LibraryPicture("frame.dxf", 240, 160, true, (int)passes + 1, expected);
    EXPECT_TRUE(SamePixels(expected, picture));
}

TEST_F(DrawThreadTest, ARequestMadeWhileACommandRunsSupersedesIt)
{
    ASSERT_TRUE(OpenAndWait("many.dxf", 1600, 1200, true));
    m_log.Clear();
    m_thread->SetCommand(DCMD_ZOOM_OUT);
    for (int i = 0; i < 500 && !m_thread->IsBusy(); ++i)
        Sleep(1);
    ASSERT_TRUE(m_thread->IsBusy());
    POINT centre = {800, 600};
    m_thread->PostCommand(DCMD_ZOOM_IN_AT, &centre, NULL, true);
    m_thread->SetCommand(DCMD_REGEN);
    ASSERT_TRUE(WaitForDone());
    testwin::PumpMessages(200);
    // The zoom out still ran (the view moved) but neither rendered nor
    // answered; the synchronous zoom-in was dropped.
    EXPECT_EQ((std::vector<LONG_PTR>{DCMD_REGEN}), DoneCodes(Recorded()));
}

// An open that comes while a large picture is being drawn breaks the draw
// off; the broken picture is never answered as done. The draw may end
// before the open comes: tried until one draw was broken.
TEST_F(DrawThreadTest, AnOpenDuringARenderLeavesTheBrokenPictureUnanswered)
{
    bool broken = false;
    for (int attempt = 0; attempt < 10 && !broken; ++attempt) {
        ASSERT_TRUE(OpenAndWait("many.dxf", 1600, 1200, true));
        CGDIDevice whole;
        TakePicture(whole);
        m_log.Clear();
        m_thread->SetCommand(DCMD_REGEN);
        for (int i = 0; i < 5000 && !m_thread->IsBusy(); ++i)
            Sleep(1);
        // Varied a little, so that one attempt lands inside the draw.
        Sleep(attempt % 3);
        // A raster file: its open leaves the device as the draw left it.
        m_thread->OpenFile(-1, Fixture("picture.png").c_str(), 1600, 1200, false);
        ASSERT_TRUE(WaitForDone());
        if (DoneCodes(Recorded()).back() != DCMD_OPEN) {
            ASSERT_TRUE(WaitForDone(2));
        }
        testwin::PumpMessages(100);
        CGDIDevice left;
        TakePicture(left);
        broken = !SamePixels(whole, left);
        if (broken) {
            EXPECT_EQ((std::vector<LONG_PTR>{DCMD_OPEN}), DoneCodes(Recorded()));
        }
    }
}

// The views ask for a refresh after the layer dialog: the picture then
// shows the drawing as it now is.
TEST_F(DrawThreadTest, ARefreshShowsTheDrawingAsItNowIs)
{
    ASSERT_TRUE(OpenAndWait("frame.dxf", 320, 200, true));
    CGDIDevice before, after;
    TakePicture(before);
    ASSERT_GT(CountForeground(before, NULL), 500);
    // Everything lies on layer "0".
    ASSERT_TRUE(m_thread->BeginIdleUse());
    CDrawing* drawing = m_thread->GetDocument()->getDrawing();
    int layer = drawing->getLayerCount() - 1;
    char name[64] = "";
    while (layer >= 0 && !(drawing->getLayerName(layer, name, sizeof(name)) && strcmp(name, "0") == 0))
        --layer;
    if (layer >= 0)
        drawing->setLayerOn(layer, false);
    m_thread->EndIdleUse();
    ASSERT_GE(layer, 0);
    m_log.Clear();
    m_thread->SetPendingCommand(DCMD_REFRESH);
    m_thread->Wake(false);
    ASSERT_TRUE(WaitForDone());
    EXPECT_EQ((std::vector<LONG_PTR>{DCMD_REFRESH}), DoneCodes(Recorded()));
    TakePicture(after);
    EXPECT_EQ(0, CountForeground(after, NULL));

    ASSERT_TRUE(m_thread->BeginIdleUse());
    drawing->setLayerOn(layer, true);
    m_thread->EndIdleUse();
    m_thread->SetPendingCommand(DCMD_REFRESH);
    m_thread->Wake(false);
    ASSERT_TRUE(WaitForDone(2));
    TakePicture(after);
    EXPECT_TRUE(SamePixels(before, after));
}

TEST_F(DrawThreadTest, SynchronousViewCommandsRunOnTheCaller)
{
    ASSERT_TRUE(OpenAndWait("frame.dxf", 320, 200, true));
    m_log.Clear();
    CGDIDevice before, after;
    TakePicture(before);

    // Answered at once: the notice is already in this thread's queue.
    m_thread->PostCommand(DCMD_ZOOM_IN, NULL, NULL, true);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, m_window, WM_DRAW_DONE, WM_DRAW_DONE, PM_REMOVE));
    EXPECT_EQ(DCMD_ZOOM_IN, message.lParam);
    CGDIDevice expected;
    TakePicture(after);
    LibraryPicture("frame.dxf", 320, 200, true, 1, expected);
    EXPECT_TRUE(SamePixels(expected, after));

    // Key pans: a twentieth of the width plus one to the right, two pixels
    // less to the left, a twentieth of the height plus one up or down, and
    // the diagonals by both. Zoomed out first, so that the frame stays whole
    // in the picture.
    m_thread->PostCommand(DCMD_ZOOM_OUT, NULL, NULL, true);
    m_thread->PostCommand(DCMD_ZOOM_OUT, NULL, NULL, true);
    const struct {
        int code, dx, dy;
    } keyPans[] = {{DCMD_PAN_KEY_RIGHT, 17, 0},       {DCMD_PAN_KEY_LEFT, -15, 0},
                   {DCMD_PAN_KEY_UP, 0, -11},         {DCMD_PAN_KEY_DOWN, 0, 11},
                   {DCMD_PAN_KEY_DOWN_RIGHT, 17, 11}, {DCMD_PAN_KEY_UP_LEFT, -15, -11},
                   {DCMD_PAN_KEY_UP_RIGHT, 17, -11},  {DCMD_PAN_KEY_DOWN_LEFT, -15, 11}};
    TakePicture(after);
    for (const auto& keyPan : keyPans) {
        before.CopyFrom(after);
        m_thread->PostCommand(keyPan.code, NULL, NULL, true);
        TakePicture(after);
        EXPECT_TRUE(ShiftedBy(before, after, keyPan.dx, keyPan.dy)) << "key pan " << keyPan.code;
    }

    // A drag pans by its vector (device y downwards).
    before.CopyFrom(after);
    POINT start = {100, 100}, end = {130, 90};
    m_thread->PostCommand(DCMD_PAN, &start, &end, true);
    TakePicture(after);
    EXPECT_TRUE(ShiftedBy(before, after, 30, -10));

    // Without sync a key pan reaches the loop, which only answers.
    testwin::PumpMessages(50);
    m_log.Clear();
    TakePicture(before);
    m_thread->PostCommand(DCMD_PAN_KEY_RIGHT, NULL, NULL, false);
    ASSERT_TRUE(WaitForDone());
    EXPECT_EQ((Messages{{kDone, 1, DCMD_PAN_KEY_RIGHT}}), Recorded());
    TakePicture(after);
    EXPECT_TRUE(SamePixels(before, after));
}

TEST_F(DrawThreadTest, HighlightMarksTheEntityUnderThePointAndTakesItBack)
{
    ASSERT_TRUE(OpenAndWait("frame.dxf", 320, 200, true));
    CGDIDevice before, lit, after;
    TakePicture(before);
    // The diagonal passes through the middle of the picture.
    POINT middle = {160, 100};
    m_thread->PostCommand(DCMD_HIGHLIGHT_ON, &middle, NULL, true);
    TakePicture(lit);
    EXPECT_FALSE(SamePixels(before, lit));
    m_thread->PostCommand(DCMD_HIGHLIGHT_OFF, &middle, NULL, true);
    TakePicture(after);
    EXPECT_TRUE(SamePixels(before, after));
    testwin::PumpMessages(50);
    EXPECT_EQ((std::vector<LONG_PTR>{DCMD_OPEN_EXTENTS, DCMD_HIGHLIGHT_ON, DCMD_HIGHLIGHT_OFF}),
              DoneCodes(Recorded()));
}

TEST_F(DrawThreadTest, ResizeAndCloseAndFileInformation)
{
    std::string path = Fixture("frame.dxf");
    ASSERT_TRUE(OpenAndWait("frame.dxf", 320, 200, true));
    m_thread->Resize(400, 300);
    ASSERT_TRUE(WaitForDone(2));
    CGDIDevice picture;
    TakePicture(picture);
    EXPECT_EQ(400, picture.m_nWidth);
    EXPECT_EQ(300, picture.m_nHeight);
    // A collapsed window asks for 1 x 1, which the device refuses: the
    // picture keeps its size and content, and the request is answered.
    m_thread->Resize(0, 0);
    ASSERT_TRUE(WaitForDone(3));
    CGDIDevice kept;
    TakePicture(kept);
    EXPECT_TRUE(SamePixels(picture, kept));

    m_thread->SetPendingCommand(DCMD_CLOSE);
    m_thread->Wake(false);
    ASSERT_TRUE(WaitForDone(4));
    EXPECT_FALSE(m_thread->HasDrawing());
    EXPECT_STREQ("", m_thread->GetFilePath());
    // Nothing is loaded: view requests are dropped.
    m_thread->SetCommand(DCMD_REGEN);
    m_thread->PostCommand(DCMD_ZOOM_IN, NULL, NULL, false);

    m_thread->RequestFileInfo(1, path.c_str());
    ASSERT_TRUE(WaitForDone(5));
    testwin::PumpMessages(100);
    EXPECT_EQ((std::vector<LONG_PTR>{DCMD_OPEN_EXTENTS, DCMD_RESIZE, DCMD_RESIZE, DCMD_CLOSE, DCMD_SET_FILE}),
              DoneCodes(Recorded()));
    DRAWINGINFO info;
    m_thread->GetDrawingInfo(&info);
    EXPECT_STREQ("格式ACAD r2000;", info.formatText);
    EXPECT_FALSE(m_thread->HasDrawing());
}

TEST_F(DrawThreadTest, LayoutNames)
{
    CStringList names;
    // No drawing: the two spaces.
    ASSERT_EQ(2, m_thread->GetLayoutNames(names));
    EXPECT_STREQ("Modal", names.GetHead());
    EXPECT_STREQ("Paper", names.GetTail());

    ASSERT_TRUE(OpenAndWait("frame.dxf", 100, 100));
    CDrawing* drawing = CDrawing::CreateDrawing(CDRAWING_SERVER_THUMBNAIL);
    ASSERT_EQ(0, drawing->open(Fixture("frame.dxf").c_str(), ""));
    ASSERT_EQ(drawing->getLayoutCount(), m_thread->GetLayoutNames(names));
    char first[64] = "";
    drawing->getLayoutName(0, first, sizeof(first));
    EXPECT_STREQ(first, names.GetHead());
    CDrawing::DeleteDrawing(drawing);
    EXPECT_EQ(0, m_thread->GetDrawingValue());
}

TEST_F(DrawThreadTest, RasterImagesLoadIntoTheRasterPicture)
{
    m_thread->SetPassword("", 5);
    ASSERT_TRUE(OpenAndWait("pages.tif", 200, 100));
    EXPECT_EQ((Messages{{kOpened, 1, 0}, {kOpened, 1, 5}, {kDone, 1, DCMD_OPEN}}), Recorded());
    EXPECT_TRUE(m_thread->IsRasterLoaded());
    EXPECT_FALSE(m_thread->IsVectorLoaded());
    EXPECT_STREQ("width:64 , height:48 , bits:24 页数量:3", m_thread->GetRasterInfoText());
    // The first page fills the middle of the raster canvas.
    KWinCanvas& canvas = m_thread->GetRasterCanvas();
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(canvas.GetMemDC(), canvas.width / 2, canvas.height / 2));

    // A key pan on a raster file only answers; so do the previous view and
    // a layout switch, which go to the (empty) drawing whatever the file.
    m_log.Clear();
    m_thread->PostCommand(DCMD_PAN_KEY_UP, NULL, NULL, true);
    ASSERT_TRUE(WaitForDone());
    m_thread->SetCommand(DCMD_PREVIOUS_VIEW);
    ASSERT_TRUE(WaitForDone(2));
    m_thread->SetLayoutIndex(1);
    m_thread->SetPendingCommand(DCMD_SET_LAYOUT);
    m_thread->Wake(false);
    ASSERT_TRUE(WaitForDone(3));
    EXPECT_EQ(
        (Messages{{kDone, 1, DCMD_PAN_KEY_UP}, {kDone, 1, DCMD_PREVIOUS_VIEW}, {kDone, 1, DCMD_SET_LAYOUT}}),
        Recorded());
    EXPECT_TRUE(m_thread->IsRasterLoaded());
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(canvas.GetMemDC(), canvas.width / 2, canvas.height / 2));

    m_log.Clear();
    ASSERT_TRUE(OpenAndWait("broken.png", 200, 100));
    EXPECT_EQ((Messages{{kOpened, 0, 0}, {kDone, 1, DCMD_OPEN}}), Recorded());
    EXPECT_FALSE(m_thread->IsRasterLoaded());
}

// A render broken off is waited for while the thread's sends are answered,
// and its answer is never handled; a stop during a long open ends the
// thread by itself, well before it would be terminated.
TEST_F(DrawThreadTest, ACancelledRenderIsNotAnsweredAndAStopDuringAnOpenEndsTheThread)
{
    ASSERT_TRUE(OpenAndWait("many.dxf", 400, 300));
    m_log.Clear();
    m_thread->SetCommand(DCMD_REGEN);
    // Cancelled once the loop has taken the command (or even done it).
    MSG message;
    for (int i = 0; i < 5000 && !m_thread->IsBusy() &&
                    !PeekMessageA(&message, m_window, WM_DRAW_DONE, WM_DRAW_DONE, PM_NOREMOVE);
         ++i)
        Sleep(1);
    m_thread->CancelCurrent();
    EXPECT_TRUE(m_thread->WaitIdle(10000, m_window));
    testwin::PumpMessages(100);
    EXPECT_EQ(0u, m_log.Count(WM_DRAW_DONE));

    m_thread->OpenFile(-1, Fixture("many.dxf").c_str(), 400, 300, true);
    for (int i = 0; i < 500 && !m_thread->IsOpening(); ++i)
        Sleep(10);
    EXPECT_TRUE(m_thread->Stop(5000));
    EXPECT_TRUE(m_thread->HasEnded());
}
