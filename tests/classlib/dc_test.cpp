// Device contexts and GDI objects: selection hands back the previous
// object, owners delete their handles, the drawing calls reach the bitmap.
#include "tests/support/gtest.h"
#include "platform/classlib/classlib.h"
#include "tests/classlib/window_test_support.h"

namespace {

class MemoryDevice : public ::testing::Test {
protected:
    void SetUp() override
    {
        CClientDC screen(nullptr);
        ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 20, 10));
        oldBitmap = dc.SelectObject(&bitmap);
    }
    void TearDown() override { dc.SelectObject(oldBitmap); }
    CDC dc;
    CBitmap bitmap;
    CBitmap* oldBitmap = nullptr;
};

TEST_F(MemoryDevice, SelectionReturnsThePreviousObject)
{
    ASSERT_NE(nullptr, oldBitmap);
    EXPECT_NE(bitmap.m_hObject, oldBitmap->m_hObject);
    CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
    CPen* oldPen = dc.SelectObject(&pen);
    ASSERT_NE(nullptr, oldPen);
    EXPECT_EQ(&pen, dc.GetCurrentPen());
    EXPECT_EQ(&pen, dc.SelectObject(oldPen));
    EXPECT_EQ(&bitmap, CBitmap::FromHandle((HBITMAP)bitmap.m_hObject));
    EXPECT_EQ(&dc, CDC::FromHandle(dc.m_hDC));
}

TEST_F(MemoryDevice, DrawingCallsReachTheBitmap)
{
    dc.FillSolidRect(0, 0, 20, 10, RGB(10, 20, 30));
    EXPECT_EQ(RGB(10, 20, 30), dc.GetPixel(5, 5));
    dc.Draw3dRect(CRect(0, 0, 20, 10), RGB(255, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(RGB(255, 0, 0), dc.GetPixel(0, 0));
    EXPECT_EQ(RGB(0, 0, 255), dc.GetPixel(19, 9));
    EXPECT_EQ(RGB(10, 20, 30), dc.GetPixel(5, 5));

    CBrush brush(RGB(0, 200, 0));
    dc.FillRect(CRect(2, 2, 4, 4), &brush);
    EXPECT_EQ(RGB(0, 200, 0), dc.GetPixel(3, 3));

    CSize extent = dc.GetTextExtent("图纸");
    EXPECT_GT(extent.cx, 0);
    EXPECT_GT(extent.cy, 0);
}

TEST(GdiObjects, OwnersDeleteTheirHandlesDetachedHandlesSurvive)
{
    HGDIOBJ deleted;
    {
        CBrush brush(RGB(1, 1, 1));
        deleted = brush.m_hObject;
        EXPECT_EQ(OBJ_BRUSH, (int)GetObjectType(deleted));
    }
    EXPECT_EQ(0u, GetObjectType(deleted));

    HGDIOBJ kept;
    {
        CPen pen(PS_DASH, 1, RGB(0, 0, 0));
        kept = pen.Detach();
    }
    EXPECT_EQ(OBJ_PEN, (int)GetObjectType(kept));
    CPen* wrapper = CPen::FromHandle((HPEN)kept);
    ASSERT_NE(nullptr, wrapper);
    EXPECT_EQ(kept, wrapper->m_hObject);
    AfxDeleteTempMaps();
    EXPECT_EQ(OBJ_PEN, (int)GetObjectType(kept));
    DeleteObject(kept);
}

TEST(GdiObjects, PointFontHasTheRequestedSize)
{
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(120, "宋体"));
    LOGFONTA logFont = {};
    font.GetLogFont(&logFont);
    CClientDC screen(nullptr);
    EXPECT_EQ(-MulDiv(12, screen.GetDeviceCaps(LOGPIXELSY), 72), logFont.lfHeight);
    EXPECT_STREQ("宋体", logFont.lfFaceName);
}

class CPaintProbe : public CWnd {
public:
    int paints = 0;
    RECT painted = {};

protected:
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        ++paints;
        painted = dc.m_ps.rcPaint;
        dc.FillSolidRect(&dc.m_ps.rcPaint, RGB(255, 255, 255));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintProbe, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(PaintDC, PaintsTheInvalidArea)
{
    CPaintProbe probe;
    ASSERT_TRUE(probe.CreateEx(0, nullptr, "paint", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40, nullptr, nullptr));
    probe.UpdateWindow();
    int before = probe.paints;
    probe.InvalidateRect(CRect(5, 5, 15, 15), FALSE);
    probe.UpdateWindow();
    EXPECT_EQ(before + 1, probe.paints);
    EXPECT_EQ(5, probe.painted.left);
    EXPECT_EQ(15, probe.painted.bottom);
}

}  // namespace
