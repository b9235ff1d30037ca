// The vector picture: its byte format, extents, view history and view
// operations, and how entities are drawn.
#include "tests/support/gtest.h"

#include <math.h>

#include <string.h>

#include <string>
#include <vector>

#include "graphics/jgraphics.h"
#include "graphics/ktrim_window.h"
#include "graphics/kwin_canvas.h"

namespace {

// Writes the picture byte format.
class PictureWriter
{
public:
    void U32(uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    void U8(uint8_t value) { bytes += static_cast<char>(value); }
    void F32(float value)
    {
        uint32_t bits;
        memcpy(&bits, &value, 4);
        U32(bits);
    }
    void Text(const std::string& text)
    {
        U32(static_cast<uint32_t>(text.size()));
        bytes += text;
    }
    // Name, background, mode, an image record and the second name.
    void Header(COLORREF background, uint32_t mode, const std::string& imageFile = "",
                uint32_t imageFormat = 0, float originX = 0, float originY = 0)
    {
        Text("plan");
        U32(background);
        U32(mode);
        U32(imageFormat);
        U32(0);
        F32(originX);
        F32(originY);
        Text(imageFile);
        Text("second");
    }
    // An entity with one polyline per list of points (x, y pairs).
    void Entity(float width, uint8_t colourIndex, uint8_t flags,
                const std::vector<std::vector<float>>& polylines)
    {
        F32(width);
        U8(colourIndex);
        U8(flags);
        U32(static_cast<uint32_t>(polylines.size()));
        for (const std::vector<float>& points : polylines) {
            U32(static_cast<uint32_t>(points.size() / 2));
            for (float value : points)
                F32(value);
        }
    }
    std::string bytes;
};

// A picture of one group: a filled red square (10,10)-(30,30) and an
// outlined line (0,0)-(100,50) in colour 7.
std::string TwoEntityPicture()
{
    PictureWriter writer;
    writer.Header(0, 0);
    writer.U32(1);
    writer.U32(2);
    writer.Entity(0, 1, 3, {{10, 10, 30, 10, 30, 30, 10, 30}});
    writer.Entity(0, 7, 0, {{0, 0, 100, 50}});
    return writer.bytes;
}

// A 24-bit BMP file of w x h filled with one colour.
std::string SolidBmp(int w, int h, COLORREF colour)
{
    int stride = (w * 3 + 3) & ~3;
    uint32_t pixelBytes = static_cast<uint32_t>(stride * h);
    PictureWriter file;
    file.bytes = "BM";
    file.U32(54 + pixelBytes);
    file.U32(0);
    file.U32(54);
    file.U32(40);
    file.U32(static_cast<uint32_t>(w));
    file.U32(static_cast<uint32_t>(h));
    file.bytes += std::string("\x01\x00\x18\x00", 4);
    file.U32(0);
    file.U32(pixelBytes);
    file.U32(2835);
    file.U32(2835);
    file.U32(0);
    file.U32(0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            file.U8(GetBValue(colour));
            file.U8(GetGValue(colour));
            file.U8(GetRValue(colour));
        }
        for (int pad = w * 3; pad < stride; ++pad)
            file.U8(0);
    }
    return file.bytes;
}

bool ReadPicture(JGraphics& picture, const std::string& bytes)
{
    KBuffer buffer;
    if (!buffer.Assign(bytes.data(), static_cast<uint32_t>(bytes.size())))
        return false;
    return picture.Read(buffer);
}

struct Viewer {
    Viewer(int w, int h)
    {
        views.SetMaxCount(50);
        canvas.SetSize(w, h);
        picture.SetViewList(&views);
        picture.SetCanvas(&canvas);
    }
    KViewList views;
    KWinCanvas canvas;
    JGraphics picture;
};

}  // namespace

TEST(PictureModel, ReadsTheByteFormat)
{
    Viewer viewer(200, 100);
    ASSERT_TRUE(ReadPicture(viewer.picture, TwoEntityPicture()));
    EXPECT_STREQ("plan", viewer.picture.name.GetText());
    EXPECT_STREQ("second", viewer.picture.secondName.GetText());
    viewer.picture.UpdateExtents(true);
    const KWorldRect& extents = viewer.picture.GetExtents();
    EXPECT_EQ(0.0f, extents.left);
    EXPECT_EQ(50.0f, extents.top);
    EXPECT_EQ(100.0f, extents.right);
    EXPECT_EQ(0.0f, extents.bottom);
    EXPECT_EQ(0, viewer.picture.GetViewCount());
}

TEST(PictureModel, ShortOrOversizedCountsLeaveThePictureCleared)
{
    std::string valid = TwoEntityPicture();
    for (size_t cut = 0; cut < valid.size(); ++cut) {
        Viewer viewer(50, 50);
        EXPECT_FALSE(ReadPicture(viewer.picture, valid.substr(0, cut))) << cut;
        EXPECT_STREQ("", viewer.picture.name.GetText());
        viewer.picture.UpdateExtents(true);
        EXPECT_EQ(1.0f, viewer.picture.GetExtents().bottom);  // the empty start box
    }
    PictureWriter huge;
    huge.Header(0, 0);
    huge.U32(0x40000000);  // groups
    Viewer viewer(50, 50);
    EXPECT_FALSE(ReadPicture(viewer.picture, huge.bytes));
    PictureWriter points;
    points.Header(0, 0);
    points.U32(1);
    points.U32(1);
    points.F32(0);
    points.U8(7);
    points.U8(0);
    points.U32(1);
    points.U32(0x20000000);  // points of the polyline
    EXPECT_FALSE(ReadPicture(viewer.picture, points.bytes));
}

TEST(PictureModel, SixtyPansKeepFiftyViews)
{
    Viewer viewer(200, 100);
    ASSERT_TRUE(ReadPicture(viewer.picture, TwoEntityPicture()));
    for (int i = 0; i < 60; ++i)
        ASSERT_TRUE(viewer.picture.Pan(3, 0));
    EXPECT_EQ(50, viewer.picture.GetViewCount());
    EXPECT_EQ(viewer.views.GetTail(), viewer.canvas.viewport);
}

TEST(PictureModel, UnboundedHistoryWhenMaxCountIsNotPositive)
{
    Viewer viewer(200, 100);
    viewer.views.SetMaxCount(0);
    ASSERT_TRUE(ReadPicture(viewer.picture, TwoEntityPicture()));
    for (int i = 0; i < 60; ++i)
        ASSERT_TRUE(viewer.picture.Pan(1, 1));
    EXPECT_EQ(60, viewer.picture.GetViewCount());  // the first pan lands on the first view
}

TEST(PictureModel, ZoomInAtKeepsTheCursorPoint)
{
    Viewer viewer(200, 100);
    ASSERT_TRUE(ReadPicture(viewer.picture, TwoEntityPicture()));
    ASSERT_TRUE(viewer.picture.ActualSize());
    ASSERT_FLOAT_EQ(1.0f, viewer.picture.GetScale());
    POINT cursor = {40, 30};
    KViewPort before = *viewer.views.GetTail();
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(viewer.picture.ZoomInAt(cursor));
    KViewPort after = *viewer.views.GetTail();
    EXPECT_NEAR(pow(1.1, 10), after.scale, 1e-4);
    EXPECT_NEAR(before.ToWorldX(40), after.ToWorldX(40), 1e-3);
    EXPECT_NEAR(before.ToWorldY(30), after.ToWorldY(30), 1e-3);
}

TEST(PictureModel, ZoomOutBelowTheMinimumIsRefused)
{
    Viewer viewer(200, 100);
    ASSERT_TRUE(ReadPicture(viewer.picture, TwoEntityPicture()));
    ASSERT_TRUE(viewer.picture.ActualSize());
    viewer.views.GetTail()->scale = 1.05e-05f;
    POINT cursor = {10, 10};
    EXPECT_FALSE(viewer.picture.ZoomOutAt(cursor));
    EXPECT_FLOAT_EQ(1.05e-05f, viewer.picture.GetScale());
}

TEST(PictureModel, PreviousViewStepsBackAndStopsAtTheFirst)
{
    Viewer viewer(200, 100);
    ASSERT_TRUE(ReadPicture(viewer.picture, TwoEntityPicture()));
    ASSERT_TRUE(viewer.picture.ZoomAll());
    float fitted = viewer.picture.GetScale();
    EXPECT_FLOAT_EQ(2.0f, fitted);  // 100 x 50 into 200 x 100
    ASSERT_TRUE(viewer.picture.ZoomIn());
    EXPECT_FLOAT_EQ(2.2f, viewer.picture.GetScale());
    int views = viewer.picture.GetViewCount();
    ASSERT_TRUE(viewer.picture.ZoomPrevious());
    EXPECT_EQ(views - 1, viewer.picture.GetViewCount());
    EXPECT_FLOAT_EQ(fitted, viewer.picture.GetScale());
    while (viewer.picture.GetViewCount() > 1)
        ASSERT_TRUE(viewer.picture.ZoomPrevious());
    EXPECT_TRUE(viewer.picture.ZoomPrevious());  // the single view is drawn again
    EXPECT_EQ(1, viewer.picture.GetViewCount());
}

TEST(PictureModel, ResetViewCentresSmallPicturesAndFitsLargeOnes)
{
    Viewer little(400, 300);
    ASSERT_TRUE(ReadPicture(little.picture, TwoEntityPicture()));
    ASSERT_TRUE(little.picture.ResetView());
    EXPECT_FLOAT_EQ(1.0f, little.picture.GetScale());
    KViewPort* view = little.views.GetTail();
    EXPECT_EQ(150, view->ToDeviceX(0));
    EXPECT_EQ(125, view->ToDeviceY(50));

    Viewer large(50, 50);
    ASSERT_TRUE(ReadPicture(large.picture, TwoEntityPicture()));
    ASSERT_TRUE(large.picture.ResetView());
    EXPECT_FLOAT_EQ(0.5f, large.picture.GetScale());
}

TEST(PictureModel, ActualSizeOutsideTheExtentsGoesToTheTopLeft)
{
    Viewer viewer(200, 100);
    ASSERT_TRUE(ReadPicture(viewer.picture, TwoEntityPicture()));
    ASSERT_TRUE(viewer.picture.Pan(-5000, 0));
    ASSERT_TRUE(viewer.picture.ActualSize());
    KViewPort* view = viewer.views.GetTail();
    EXPECT_EQ(1.0f, view->scale);
    EXPECT_EQ(0.0f, view->x);
    EXPECT_EQ(50.0f, view->y);
}

TEST(PictureModel, EmptyPictureFitsToNothing)
{
    Viewer viewer(200, 100);
    EXPECT_TRUE(viewer.picture.ZoomAll());
    EXPECT_TRUE(viewer.picture.ResetView());
    EXPECT_FLOAT_EQ(1.0f, viewer.picture.GetScale());
    EXPECT_EQ(0.0f, viewer.views.GetTail()->x);
    EXPECT_TRUE(viewer.picture.Draw(false));
}

TEST(PictureModel, OperationsNeedAViewListAndACanvas)
{
    JGraphics picture;
    POINT point = {0, 0};
    EXPECT_FALSE(picture.ZoomAll());
    EXPECT_FALSE(picture.Pan(1, 1));
    EXPECT_FALSE(picture.ZoomInAt(point));
    EXPECT_FALSE(picture.ZoomPrevious());
    EXPECT_FALSE(picture.Resize(10, 10));
    EXPECT_TRUE(picture.Draw(false));
    EXPECT_EQ(0.0f, picture.GetScale());
}

TEST(PictureModel, ResizeDrawsOnlyWhenTheCanvasGrows)
{
    Viewer viewer(200, 100);
    EXPECT_FALSE(viewer.picture.Resize(100, 50));
    EXPECT_TRUE(viewer.picture.Resize(300, 50));
    ASSERT_TRUE(viewer.picture.ZoomAll());
    float scale = viewer.picture.GetScale();
    EXPECT_TRUE(viewer.picture.ResizeScaled(600, 50, true, false));
    EXPECT_FLOAT_EQ(scale * 2, viewer.picture.GetScale());
}

TEST(PictureModel, EmbeddedImageDrawsAndSetsTheExtents)
{
    Viewer viewer(40, 20);
    PictureWriter writer;
    writer.Header(RGB(0, 0, 0), 0, SolidBmp(8, 4, RGB(0, 200, 0)), CXIMAGE_FORMAT_BMP);
    writer.U32(0);
    ASSERT_TRUE(ReadPicture(viewer.picture, writer.bytes));
    ASSERT_TRUE(viewer.picture.ZoomAll());
    EXPECT_FLOAT_EQ(5.0f, viewer.picture.GetScale());
    EXPECT_EQ(8.0f, viewer.picture.GetExtents().right);
    EXPECT_EQ(4.0f, viewer.picture.GetExtents().top);
    EXPECT_EQ(RGB(0, 200, 0), GetPixel(viewer.canvas.GetMemDC(), 20, 10));
    EXPECT_EQ(8u, viewer.picture.GetImage().GetImage()->GetWidth());
}

TEST(PictureModel, BrokenEmbeddedImageDrawsNothing)
{
    Viewer viewer(40, 20);
    PictureWriter writer;
    writer.Header(RGB(1, 2, 3), 0, "BM not really", CXIMAGE_FORMAT_BMP);
    writer.U32(0);
    ASSERT_TRUE(ReadPicture(viewer.picture, writer.bytes));
    EXPECT_TRUE(viewer.picture.ZoomAll());
    EXPECT_EQ(nullptr, viewer.picture.GetImage().GetImage());
    EXPECT_EQ(RGB(1, 2, 3), GetPixel(viewer.canvas.GetMemDC(), 20, 10));
}

TEST(PictureModel, SmallEntitiesAreOnePixelAndManyPolylinesFill)
{
    KWinCanvas canvas;
    canvas.SetSize(40, 40);
    KViewPort view(0.0f, 20.0f, 1.4f);
    canvas.viewport = &view;
    JEntity dot;
    KPointBuffer* square = dot.polylines.AppendNew();
    square->Alloc(4);
    (*square)[0] = {5, 6};
    (*square)[1] = {6, 6};
    (*square)[2] = {6, 5};
    (*square)[3] = {5, 5};
    dot.flags = JEntity::FlagFilled;
    dot.colour = RGB(255, 0, 0);
    ASSERT_TRUE(dot.UpdateBox());
    EXPECT_FLOAT_EQ(1.49f, dot.dotScale);
    canvas.BeginDraw(0, true);
    dot.Draw(canvas, view.scale);
    canvas.EndDraw();
    int red = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            red += GetPixel(canvas.GetMemDC(), x, y) == RGB(255, 0, 0);
    EXPECT_EQ(1, red);

    JEntity holes;
    const float rings[3][2] = {{0, 20}, {4, 16}, {8, 12}};
    for (const auto& ring : rings) {
        KPointBuffer* points = holes.polylines.AppendNew();
        points->Alloc(4);
        (*points)[0] = {ring[0], ring[1]};
        (*points)[1] = {ring[1], ring[1]};
        (*points)[2] = {ring[1], ring[0]};
        (*points)[3] = {ring[0], ring[0]};
        holes.pointCount += 4;
    }
    holes.flags = 0;
    holes.colour = RGB(0, 0, 255);
    ASSERT_TRUE(holes.UpdateBox());
    view = KViewPort(0.0f, 20.0f, 1.0f);
    g_TrimWindow.left = 0;
    g_TrimWindow.bottom = 0;
    g_TrimWindow.right = 20;
    g_TrimWindow.top = 20;
    canvas.BeginDraw(0, true);
    holes.Draw(canvas, view.scale);
    canvas.EndDraw();
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(canvas.GetMemDC(), 2, 10));   // outer ring
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(canvas.GetMemDC(), 6, 10));     // first hole
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(canvas.GetMemDC(), 10, 10));  // innermost
}

TEST(PictureModel, EntityWithoutPolylinesHasAZeroBox)
{
    JEntity entity;
    EXPECT_FALSE(entity.UpdateBox());
    EXPECT_EQ(0.0f, entity.box.left);
    EXPECT_EQ(0.0f, entity.box.right);
    EXPECT_EQ(0.0f, entity.dotScale);
}

TEST(PictureModel, DrawToLeavesTheHistoryAndColoursAlone)
{
    Viewer viewer(200, 100);
    ASSERT_TRUE(ReadPicture(viewer.picture, TwoEntityPicture()));
    ASSERT_TRUE(viewer.picture.ZoomIn());
    int views = viewer.picture.GetViewCount();
    float scale = viewer.picture.GetScale();
    KWinCanvas printer;
    printer.SetSize(50, 50);
    EXPECT_TRUE(viewer.picture.DrawTo(printer, 1, RGB(255, 255, 255)));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(printer.GetMemDC(), 0, 0));
    EXPECT_EQ(views, viewer.picture.GetViewCount());
    EXPECT_EQ(scale, viewer.picture.GetScale());
    EXPECT_EQ(viewer.views.GetTail(), viewer.canvas.viewport);
    EXPECT_EQ(0, viewer.picture.colourModeWanted);
}
