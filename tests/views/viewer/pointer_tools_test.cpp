// The drawing view's print-window pick and the highlight under a resting
// pointer, driven by the mouse messages a user's hand makes.
#include "tests/views/viewer/viewer_harness.h"

#include "core/preference.h"
#include "drawing/draw_thread/draw_commands.h"
#include "resources/views_ids.h"
#include "tests/support/dialog_script.h"
#include "tests/support/message_log.h"
#include "views/common/idle_use.h"
#include "views/common/view_cursors.h"
#include "views/common/view_messages.h"

using drawtest::PixelAt;
using viewtest::ViewerTest;

namespace {

// A colour blended into another with a strength in per cent, channel by
// channel.
DWORD Blend(DWORD under, DWORD over, int strength)
{
    DWORD result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        int a = (under >> shift) & 0xFF;
        int b = (over >> shift) & 0xFF;
        result |= (DWORD)((a * (100 - strength) + b * strength) / 100) << shift;
    }
    return result;
}

bool Near(DWORD a, DWORD b)
{
    for (int shift = 0; shift <= 16; shift += 8) {
        int difference = (int)((a >> shift) & 0xFF) - (int)((b >> shift) & 0xFF);
        if (difference < -3 || difference > 3)
            return false;
    }
    return true;
}

class PointerToolsTest : public ViewerTest {
protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        ASSERT_TRUE(Open("square.dxf"));
        Command(ID_VIEW_ZOOM_ALL);
    }
    // A press, one move and a release, as a quick hand makes them.
    void Stroke(POINT from, POINT to)
    {
        HWND view = ViewWindow();
        SendMessageA(view, WM_MOUSEMOVE, 0, MAKELPARAM(from.x, from.y));
        SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        SendMessageA(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
        SendMessageA(view, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
        Settle();
    }
    void DoubleClick(POINT at)
    {
        SendMessageA(ViewWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
        SendMessageA(ViewWindow(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        Settle();
    }
    bool PickRectIs(LONG left, LONG top, LONG right, LONG bottom)
    {
        const RECT& r = View()->m_printRect;
        return r.left == left && r.top == top && r.right == right && r.bottom == bottom;
    }
};

}  // namespace

TEST_F(PointerToolsTest, PrintPickDragsOutAWindowAdjustsItAndEndsWithADoubleClickInside)
{
    CGDIDevice before;
    CaptureView(before);
    DWORD background = PixelAt(before, 5, 5);
    testwin::MessageLog log({WM_PRINT_PICK_DONE});
    ASSERT_TRUE(log.Attach(m_frame->GetSafeHwnd()));
    View()->SetPrintPickMode(true);
    EXPECT_EQ(ViewCursor(kCursorPrintPick), View()->m_cursor);

    // A click without a drag picks nothing.
    Stroke({150, 150}, {150, 150});
    EXPECT_FALSE(View()->m_printRectComplete);

    // Dragged from the bottom right up to the top left, the window is
    // normalised; outside it the picture is shaded green.
    Stroke({300, 250}, {100, 100});
    ASSERT_TRUE(View()->m_printRectComplete);
    EXPECT_TRUE(PickRectIs(100, 100, 300, 250));
    CGDIDevice picked;
    CaptureView(picked);
    viewtest::KeepScreenshot(picked, "print_pick");
    EXPECT_TRUE(Near(Blend(background, 0x32B432, 70), PixelAt(picked, 5, 5)));
    EXPECT_EQ(background, PixelAt(picked, 200, 120));
    EXPECT_EQ(0xFF0000u, PixelAt(picked, 104, 101));  // the corner bracket

    // The left edge follows the pointer, but never within 4 pixels of the
    // right edge; the right edge stops at the client's edge.
    SendMessageA(ViewWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(100, 175));
    EXPECT_EQ(ViewCursor(kCursorPrintLeftRight), View()->m_cursor);
    Stroke({100, 175}, {40, 175});
    EXPECT_TRUE(PickRectIs(40, 100, 300, 250));
    Stroke({40, 175}, {298, 175});
    EXPECT_TRUE(PickRectIs(40, 100, 300, 250));
    RECT client;
    ::GetClientRect(ViewWindow(), &client);
    Stroke({300, 175}, {client.right + 500, 175});
    EXPECT_EQ(client.right, View()->m_printRect.right);

    // Moved as a whole only while it stays inside.
    Stroke({200, 175}, {200, 175 + client.bottom});
    EXPECT_EQ(100, View()->m_printRect.top);
    Stroke({200, 175}, {190, 180});
    EXPECT_EQ(30, View()->m_printRect.left);
    EXPECT_EQ(105, View()->m_printRect.top);

    // A double click outside the window does nothing; inside it ends the
    // pick with a window.
    DoubleClick({5, 5});
    EXPECT_TRUE(View()->m_printPick);
    EXPECT_EQ(0u, log.Count(WM_PRINT_PICK_DONE));
    {
        // The frame answers with the print manager; it is closed here.
        testwin::DialogScript closer;
        closer.ThenEach(testwin::Cancel).Start();
        DoubleClick({200, 175});
        testwin::PumpMessages(300);
    }
    EXPECT_FALSE(View()->m_printPick);
    ASSERT_EQ(1u, log.Count(WM_PRINT_PICK_DONE));
    EXPECT_EQ(1u, log.Entries()[0].wParam);
}

TEST_F(PointerToolsTest, ARestingPointerHighlightsInQuickModeWithTheHighlightOn)
{
    Preference.SetHighLight(false);
    if (m_thread->GetViewFlag())
        Command(ID_QUICK_MODE);
    ASSERT_FALSE(m_thread->GetViewFlag());
    EXPECT_FALSE(StateOf(ID_HIGHLIGHT_ENTITY).enabled);
    Command(ID_QUICK_MODE);
    ASSERT_TRUE(m_thread->GetViewFlag());
    EXPECT_TRUE(StateOf(ID_HIGHLIGHT_ENTITY).enabled);
    EXPECT_EQ(0, StateOf(ID_HIGHLIGHT_ENTITY).check);
    Command(ID_HIGHLIGHT_ENTITY);
    EXPECT_TRUE(Preference.GetHighLight());
    EXPECT_EQ(1, StateOf(ID_HIGHLIGHT_ENTITY).check);

    // The pointer rests on the square's left edge.
    RECT box;
    ASSERT_GT(Foreground(&box), 100);
    POINT edge = {box.left, (box.top + box.bottom) / 2};
    testwin::MessageLog log({WM_DRAW_DONE});
    ASSERT_TRUE(log.Attach(m_frame->GetSafeHwnd()));
    SendMessageA(ViewWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(edge.x, edge.y));
    ASSERT_TRUE(log.WaitFor(WM_DRAW_DONE, 2000));
    EXPECT_EQ((LPARAM)DCMD_HIGHLIGHT_ON, log.Entries()[0].lParam);
    {
        CIdleUse use(m_thread);
        ASSERT_NE(nullptr, use.View());
        EXPECT_TRUE(use.View()->hasHighlight());
    }
    // It goes out by itself.
    ASSERT_TRUE(log.WaitFor(WM_DRAW_DONE, 2000, 2));
    EXPECT_EQ((LPARAM)DCMD_HIGHLIGHT_OFF, log.Entries()[1].lParam);
    {
        CIdleUse use(m_thread);
        EXPECT_FALSE(use.View()->hasHighlight());
    }

    // With the highlight off, a resting pointer changes nothing.
    Command(ID_HIGHLIGHT_ENTITY);
    EXPECT_FALSE(Preference.GetHighLight());
    log.Clear();
    SendMessageA(ViewWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(edge.x + 1, edge.y));
    testwin::PumpMessages(400);
    EXPECT_EQ(0u, log.Count(WM_DRAW_DONE));
}
