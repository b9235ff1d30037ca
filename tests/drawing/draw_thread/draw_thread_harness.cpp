#include "tests/drawing/draw_thread/draw_thread_harness.h"

#include "core/appsw.h"
#include "tests/support/test_files.h"

namespace drawtest {

namespace {

const DWORD kWaitMs = 20000;
const DWORD kStopMs = 5000;

}  // namespace

std::string Fixture(const char* name)
{
    return testfiles::ToWinePath(std::string(DRAWING_FIXTURES) + "/" + name);
}

DWORD PixelAt(const CGDIDevice& device, int x, int y)
{
    const BYTE* pixel = device.m_pRows[y] + x * device.m_nBytesPerPixel;
    return (DWORD)pixel[2] << 16 | (DWORD)pixel[1] << 8 | pixel[0];
}

bool SamePixels(const CGDIDevice& a, const CGDIDevice& b)
{
    if (a.m_nWidth != b.m_nWidth || a.m_nHeight != b.m_nHeight)
        return false;
    for (int y = 0; y < a.m_nHeight; ++y) {
        for (int x = 0; x < a.m_nWidth; ++x) {
            if (PixelAt(a, x, y) != PixelAt(b, x, y))
                return false;
        }
    }
    return true;
}

int CountForeground(const CGDIDevice& device, RECT* box)
{
    DWORD background = PixelAt(device, 0, 0);
    RECT found = {device.m_nWidth, device.m_nHeight, -1, -1};
    int count = 0;
    for (int y = 0; y < device.m_nHeight; ++y) {
        for (int x = 0; x < device.m_nWidth; ++x) {
            if (PixelAt(device, x, y) == background)
                continue;
            ++count;
            found.left = x < found.left ? x : found.left;
            found.top = y < found.top ? y : found.top;
            found.right = x > found.right ? x : found.right;
            found.bottom = y > found.bottom ? y : found.bottom;
        }
    }
    if (box != NULL)
        *box = found;
    return count;
}

void LibraryPicture(const char* fixture, int width, int height, bool zoomExtents, int zoomIns, bool quickMode,
                    CGDIDevice& picture)
{
    picture.Create(width, height, 3);
    ASSERT_EQ(width, picture.m_nWidth);
    CDrawing* drawing = CDrawing::CreateDrawing(CDRAWING_SERVER_THUMBNAIL);
    ASSERT_EQ(0, drawing->open(Fixture(fixture).c_str(), ""));
    drawing->setQuickMode(quickMode);
    drawing->setViewSize(width, height);
    if (zoomExtents)
        drawing->zoomExtents(0, 0, 1.0);
    for (int i = 0; i < zoomIns; ++i)
        drawing->zoomIn(1);
    drawing->draw(picture.m_hDC);
    CDrawing::DeleteDrawing(drawing);
}

bool StopThread(TDwgDrawThread* thread)
{
    return thread->Stop(kStopMs);
}

void DrawThreadTest::SetUp()
{
    ASSERT_TRUE(m_registry.IsActive());
    AppSW.mode = APPMODE_BROWSE;
    m_window = m_log.CreateRecorder();
    ASSERT_NE(nullptr, m_window);
    m_thread = new TDwgDrawThread;
    m_thread->SetNotifyWnd(m_window);
    ASSERT_TRUE(m_thread->Create());
}

void DrawThreadTest::TearDown()
{
    if (m_thread != NULL) {
        EXPECT_TRUE(StopThread(m_thread));
        delete m_thread;
        m_thread = NULL;
    }
    AppSW.mode = APPMODE_QUITTING;
}

bool DrawThreadTest::WaitForDone(size_t n)
{
    return m_log.WaitFor(WM_DRAW_DONE, kWaitMs, n);
}

bool DrawThreadTest::OpenAndWait(const char* fixture, int width, int height, bool zoomExtents)
{
    size_t done = m_log.Count(WM_DRAW_DONE);
    m_thread->OpenFile(-1, Fixture(fixture).c_str(), width, height, zoomExtents);
    return WaitForDone(done + 1);
}

void DrawThreadTest::TakePicture(CGDIDevice& picture)
{
    EXPECT_TRUE(m_thread->CopyPicture(picture));
}

void DrawThreadTest::LibraryPicture(const char* fixture, int width, int height, bool zoomExtents, int zoomIns,
                                    CGDIDevice& picture)
{
    drawtest::LibraryPicture(fixture, width, height, zoomExtents, zoomIns, m_thread->IsQuickMode(),
                             picture);
}

std::vector<std::vector<LONG_PTR>> DrawThreadTest::Recorded() const
{
    std::vector<std::vector<LONG_PTR>> recorded;
    for (const testwin::LoggedMessage& entry : m_log.Entries())
        recorded.push_back({(LONG_PTR)entry.message, (LONG_PTR)entry.wParam, entry.lParam});
    return recorded;
}

}  // namespace drawtest
