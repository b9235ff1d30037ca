// Bars docked, floated, docked again and sized by the mouse, in a real
// frame: the places and sizes after each step, and the bars' drawing.
#include "tests/toolkit/bars/bars_test_frame.h"

#include "tests/support/thread_windows.h"
#include "tests/toolkit/common/window_capture.h"

#include <cstdlib>
#include <string>
#include <vector>

using namespace barstest;

namespace {

// The middle of a docked sizing bar's gripper strip, in screen coordinates.
CPoint CaptionPoint(CCJControlBar& bar)
{
    CRect window;
    bar.GetWindowRect(&window);
    if (bar.IsHorzDocked())
        return CPoint(window.left + 10, window.top + window.Height() / 2);
    return CPoint(window.left + window.Width() / 3, window.top + 10);
}

bool IsDark(COLORREF colour)
{
    return GetRValue(colour) + GetGValue(colour) + GetBValue(colour) < 3 * 0x60;
}

// The middle of a caption button (0 hide, 1 expand), in screen coordinates.
CPoint ButtonPoint(CCJControlBar& bar, int index)
{
    CRect window;
    bar.GetWindowRect(&window);
    return window.TopLeft() + bar.m_buttons[index].GetRect().CenterPoint();
}

// Where the triangle drawn in the expand button points ('L', 'R', 'U',
// 'D'), read from the bar's own pixels: the tip is the narrow end of the
// ink, the base the broad one. '?' when no direction shows.
char ExpandGlyphPointsTo(CCJControlBar& bar)
{
    testwin::ScreenPicture picture = testwin::ScreenPicture::OfWindow(bar.m_hWnd);
    CRect square = bar.m_buttons[1].GetRect();
    // Inside the frame a button under the mouse shows.
    square.DeflateRect(1, 1);
    auto brightness = [](COLORREF colour) { return GetRValue(colour) + GetGValue(colour) + GetBValue(colour); };
    const int face = brightness(GetSysColor(COLOR_BTNFACE));
    std::vector<CPoint> ink;
    CRect box(square.right, square.bottom, square.left, square.top);
    for (int y = square.top; y < square.bottom; ++y) {
        for (int x = square.left; x < square.right; ++x) {
            if (face - brightness(picture.Pixel(x, y)) < 48)
                continue;
            ink.push_back(CPoint(x, y));
            box.UnionRect(&box, CRect(x, y, x + 1, y + 1));
        }
    }
    if (ink.empty())
        return '?';
    std::vector<int> columns(box.Width()), rows(box.Height());
    for (CPoint point : ink) {
        ++columns[point.x - box.left];
        ++rows[point.y - box.top];
    }
    int across = columns.back() - columns.front();
    int down = rows.back() - rows.front();
    if (std::abs(down) > std::abs(across))
        return down > 0 ? 'U' : 'D';
    if (across == 0)
        return '?';
    return across > 0 ? 'L' : 'R';
}

// Whether a caption button shows the raised frame of a button under the
// mouse, right after the mouse moved onto it (before the hover timer runs).
bool ShowsHoverFrame(CCJControlBar& bar, int index)
{
    CPoint point = ButtonPoint(bar, index);
    bar.SendMessage(WM_NCMOUSEMOVE, bar.m_buttons[index].m_hitCode, MAKELPARAM(point.x, point.y));
    testwin::ScreenPicture picture = testwin::ScreenPicture::OfWindow(bar.m_hWnd);
    CRect square = bar.m_buttons[index].GetRect();
    bool framed = picture.Pixel(square.left, square.top) == GetSysColor(COLOR_BTNHIGHLIGHT);
    // Off the button again.
    bar.SendMessage(WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(point.x + 100, point.y + 100));
    return framed;
}

int CALLBACK NoteFont(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found)
{
    *(bool*)found = true;
    return 0;
}

bool FontInstalled(const char* face)
{
    LOGFONTA wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(wanted.lfFaceName, face);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &wanted, NoteFont, (LPARAM)&found, 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// The items of the pop-up menu this thread shows, read by a timer while the
// menu is tracked, which then closes it ("-" for a separator).
std::vector<std::string> g_menuItems;
int g_menuTicks = 0;

void CALLBACK ReadShownMenu(HWND, UINT, UINT_PTR, DWORD)
{
    HWND popup = testwin::FindVisibleThreadWindow(GetCurrentThreadId(), "#32768");
    // Never left open: after 10 s the menu closes unread.
    if (!popup && ++g_menuTicks < 200)
        return;
    if (popup && g_menuItems.empty()) {
        HMENU menu = (HMENU)SendMessageA(popup, MN_GETHMENU, 0, 0);
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[64] = {};
            g_menuItems.push_back(GetMenuStringA(menu, i, text, sizeof(text), MF_BYPOSITION) ? text : "-");
        }
    }
    EndMenu();
}

}  // namespace

TEST_F(BarsTest, BarsStartDockedOnTheirSidesAroundThePane)
{
    ASSERT_TRUE(MakeFrame());
    CTestFrame& frame = *m_frame;
    CRect client;
    frame.GetClientRect(&client);
    CRect tool = InFrame(&frame.m_toolBar), status = InFrame(&frame.m_statusBar);
    CRect tree = InFrame(&frame.m_treeBar), preview = InFrame(&frame.m_previewBar);
    CRect third = InFrame(&frame.m_thirdBar), pane = InFrame(&frame.m_pane);

    EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, frame.m_toolBar.m_pDockBar->GetDlgCtrlID());
    EXPECT_EQ(client.bottom, status.bottom);
    // One column of two bars on the left, sharing its height; the third bar
    // on the right; the pane between them, under the tool bar.
    EXPECT_EQ(frame.m_treeBar.m_pDockBar, frame.m_previewBar.m_pDockBar);
    EXPECT_EQ(225, tree.Width());
    EXPECT_EQ(tree.Width(), preview.Width());
    EXPECT_EQ(tree.bottom, preview.top);
    EXPECT_EQ(180, third.Width());
    EXPECT_EQ(client.right, third.right);
    EXPECT_EQ(tree.right, pane.left);
    EXPECT_EQ(third.left, pane.right);
    EXPECT_LE(tool.bottom, pane.top);
    EXPECT_EQ(status.top, pane.bottom);
    // Two bars on a left row: only the upper one has a bottom edge; each has
    // an edge towards the middle.
    EXPECT_TRUE(frame.m_treeBar.HasEdge(HTBOTTOM));
    EXPECT_FALSE(frame.m_previewBar.HasEdge(HTBOTTOM));
    EXPECT_TRUE(frame.m_treeBar.HasEdge(HTRIGHT));
    EXPECT_TRUE(frame.m_thirdBar.HasEdge(HTLEFT));
}

TEST_F(BarsTest, DraggingTheEdgesSizesTheRowAndItsNeighbour)
{
    ASSERT_TRUE(MakeFrame());
    CTestFrame& frame = *m_frame;
    CRect tree, preview;
    frame.m_treeBar.GetWindowRect(&tree);
    frame.m_previewBar.GetWindowRect(&preview);

    // The edge towards the middle: both bars of the column widen alike.
    CPoint edge(tree.right - 3, tree.top + tree.Height() / 2);
    ASSERT_EQ(HTRIGHT, frame.m_treeBar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y)));
    DragNonClient(&frame.m_treeBar, HTRIGHT, edge, edge + CSize(60, 0));
    EXPECT_EQ(tree.Width() + 60, InFrame(&frame.m_treeBar).Width());
    EXPECT_EQ(tree.Width() + 60, InFrame(&frame.m_previewBar).Width());
    EXPECT_EQ(InFrame(&frame.m_treeBar).right, InFrame(&frame.m_pane).left);

    // The edge between the two bars moves the boundary: what the upper bar
    // loses the lower one gains.
    frame.m_treeBar.GetWindowRect(&tree);
    frame.m_previewBar.GetWindowRect(&preview);
    CPoint between(tree.left + tree.Width() / 2, tree.bottom - 3);
    ASSERT_EQ(HTBOTTOM, frame.m_treeBar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(between.x, between.y)));
    DragNonClient(&frame.m_treeBar, HTBOTTOM, between, between - CSize(0, 50));
    EXPECT_EQ(tree.Height() - 50, InFrame(&frame.m_treeBar).Height());
    EXPECT_EQ(preview.Height() + 50, InFrame(&frame.m_previewBar).Height());
    EXPECT_EQ(InFrame(&frame.m_treeBar).bottom, InFrame(&frame.m_previewBar).top);

    // Never past the neighbour's minimum height.
    frame.m_treeBar.GetWindowRect(&tree);
    between = CPoint(tree.left + tree.Width() / 2, tree.bottom - 3);
    EXPECT_FALSE(frame.m_treeBar.m_expanded);
    DragNonClient(&frame.m_treeBar, HTBOTTOM, between, between + CSize(0, 2000));
    EXPECT_EQ(32, InFrame(&frame.m_previewBar).Height());
    // Dragged as far as it goes, the bar counts as expanded: its button
    // offers to give the row back.
    EXPECT_TRUE(frame.m_treeBar.m_expanded);
    EXPECT_FALSE(frame.m_previewBar.m_expanded);
    EXPECT_EQ('D', ExpandGlyphPointsTo(frame.m_treeBar));

    // Widening stops where the pane would vanish: at most its width - 4.
    int paneWidth = InFrame(&frame.m_pane).Width();
    int width = InFrame(&frame.m_treeBar).Width();
    frame.m_treeBar.GetWindowRect(&tree);
    edge = CPoint(tree.right - 3, tree.top + 40);
    DragNonClient(&frame.m_treeBar, HTRIGHT, edge, edge + CSize(2000, 0));
    EXPECT_EQ(width + paneWidth - 4, InFrame(&frame.m_treeBar).Width());
}

TEST_F(BarsTest, ABarFloatsDocksOnTheOtherSideAndComesBack)
{
    ASSERT_TRUE(MakeFrame());
    CTestFrame& frame = *m_frame;
    CCJControlBar& tree = frame.m_treeBar;
    CRect paneRect;
    frame.m_pane.GetWindowRect(&paneRect);

    // Caption dragged into the middle: the bar floats there in its own
    // frame, keeping its floating size.
    CPoint grip = CaptionPoint(tree);
    ASSERT_EQ(HTCAPTION, tree.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(grip.x, grip.y)));
    DragNonClient(&tree, HTCAPTION, grip, paneRect.CenterPoint());
    ASSERT_TRUE(tree.IsFloating());
    CFrameWnd* floating = tree.GetDockingFrame();
    ASSERT_NE(&frame, floating);
    EXPECT_TRUE(floating->IsWindowVisible());
    CRect client;
    floating->GetClientRect(&client);
    EXPECT_EQ(tree.m_floatSize, client.Size());
    EXPECT_EQ(InFrame(&frame.m_previewBar).top, InFrame(&frame.m_toolBar).bottom - 2);

    FrameScreenshot("bars_left_right_floating");

    // Its caption dragged onto the frame's right edge: docked on the right,
    // in the row after the third bar; the floating frame goes.
    CRect caption;
    floating->GetWindowRect(&caption);
    CPoint from(caption.left + 30, caption.top + 8);
    CRect frameClient;
    frame.GetClientRect(&frameClient);
    frame.ClientToScreen(&frameClient);
    CPoint onRight(frameClient.right - 3, frameClient.top + frameClient.Height() / 2);
    HWND floatingWindow = floating->m_hWnd;
    DragNonClient(floating, HTCAPTION, from, onRight);
    EXPECT_FALSE(tree.IsFloating());
    ASSERT_NE(nullptr, tree.m_pDockBar);
    EXPECT_EQ(AFX_IDW_DOCKBAR_RIGHT, tree.m_pDockBar->GetDlgCtrlID());
    EXPECT_TRUE(tree.HasEdge(HTLEFT));
    EXPECT_FALSE(::IsWindow(floatingWindow));
    EXPECT_EQ(frameClient.Width(), InFrame(&tree).right);

    FrameScreenshot("bars_docked_right");

    // A double click on the caption floats it; on the floating frame's
    // caption it comes back where it was docked.
    CRect docked = InFrame(&tree);
    grip = CaptionPoint(tree);
    tree.SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(grip.x, grip.y));
    Idle();
    ASSERT_TRUE(tree.IsFloating());
    // Not on a caption button or an edge.
    floating = tree.GetDockingFrame();
    floating->GetWindowRect(&caption);
    floating->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(caption.left + 30, caption.top + 8));
    Idle();
    EXPECT_FALSE(tree.IsFloating());
    EXPECT_EQ(docked, InFrame(&tree));
    CRect edge;
    frame.m_previewBar.GetWindowRect(&edge);
    frame.m_previewBar.SendMessage(WM_NCLBUTTONDBLCLK, HTRIGHT, MAKELPARAM(edge.right - 2, edge.top + 20));
    EXPECT_FALSE(frame.m_previewBar.IsFloating());
}

TEST_F(BarsTest, TheHideButtonHidesOnlyWhenReleasedOnIt)
{
    ASSERT_TRUE(MakeFrame());
    CTestFrame& frame = *m_frame;
    CCJControlBar& tree = frame.m_treeBar;
    CRect window;
    tree.GetWindowRect(&window);
    CPoint hide = window.TopLeft() + tree.m_buttons[0].GetRect().CenterPoint();
    ASSERT_EQ(CSCBButton::kHideHit, (UINT)tree.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(hide.x, hide.y)));

    // The glyph ("r", a cross in Marlett) draws dark pixels in the button.
    ASSERT_TRUE(FontInstalled("Marlett")) << "the Wine prefix lacks the Marlett font of the bars' and captions' glyphs";
    Screenshot(&tree, "bar_docked_left");
    int dark = 0;
    CRect button = tree.m_buttons[0].GetRect() + window.TopLeft();
    for (int y = button.top; y < button.bottom; ++y)
        for (int x = button.left; x < button.right; ++x)
            dark += IsDark(ScreenPixel(CPoint(x, y)));
    EXPECT_GT(dark, 4);
    EXPECT_LT(dark, 60);
    // The etched edge towards the pane: shadow outside, highlight inside.
    CRect strip;
    ASSERT_TRUE(tree.GetEdgeStrip(window, HTRIGHT, strip));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), ScreenPixel(CPoint(strip.left, strip.top + 30)));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), ScreenPixel(CPoint(strip.left + 1, strip.top + 30)));

    // Released outside: nothing happens.
    CPoint outside = hide + CSize(0, 60);
    DragNonClient(&tree, CSCBButton::kHideHit, hide, outside);
    EXPECT_TRUE(tree.IsWindowVisible());
    // Released on it: the bar hides and its row partner takes the column.
    DragNonClient(&tree, CSCBButton::kHideHit, hide, hide);
    EXPECT_FALSE(tree.IsWindowVisible());
    EXPECT_EQ(InFrame(&frame.m_previewBar).top, InFrame(&frame.m_toolBar).bottom - 2);
}

TEST_F(BarsTest, DockingLeftOfAToolBarLandsRightAfterIt)
{
    ASSERT_TRUE(MakeFrame());
    CTestFrame& frame = *m_frame;
    CCJToolBar second;
    ASSERT_TRUE(second.CreateEx(&frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER,
                                CRect(0, 0, 0, 0), 0xE803));
    const UINT ids[] = {9101, 9102};
    second.SetButtons(ids, 2);
    second.EnableDocking(CBRS_ALIGN_ANY);
    frame.DockControlBarLeftOf(&second, &frame.m_toolBar);
    Idle();
    CRect first = InFrame(&frame.m_toolBar), next = InFrame(&second);
    EXPECT_EQ(first.top, next.top);
    EXPECT_EQ(first.right, next.left);
    second.DestroyWindow();
}

TEST_F(BarsTest, ARowTooShortForItsBarsGivesTheNegotiatingBarARowOfItsOwn)
{
    ASSERT_TRUE(MakeFrame());
    CTestFrame& frame = *m_frame;
    CRect window;
    frame.GetWindowRect(&window);
    int column = InFrame(&frame.m_pane).Height();
    // First a column the two bars just fill (they shrink to it), then one
    // shorter than their minimum heights together (2 + 32 + 32).
    for (int height : {74, 56}) {
        frame.SetWindowPos((const CWnd*)nullptr, 0, 0, window.Width(), window.Height() - column + height,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Idle();
    }
    ASSERT_EQ(56, InFrame(&frame.m_pane).Height());
    std::vector<CCJControlBar*> row;
    frame.m_treeBar.GetRowBars(row);
    EXPECT_EQ(1u, row.size());
    frame.m_previewBar.GetRowBars(row);
    EXPECT_EQ(1u, row.size());
    // The tree bar's column now follows the preview bar's.
    CRect tree = InFrame(&frame.m_treeBar), preview = InFrame(&frame.m_previewBar);
    EXPECT_EQ(preview.right, tree.left);
    EXPECT_EQ(preview.top, tree.top);
}

TEST_F(BarsTest, TheExpandButtonFillsTheColumnAndTheStateIsKept)
{
    ASSERT_TRUE(MakeFrame());
    CCJControlBar* tree = &m_frame->m_treeBar;
    // The glyph of a bar that can grow along its column points up.
    EXPECT_EQ('U', ExpandGlyphPointsTo(*tree));
    CRect treeBefore = InFrame(tree), previewBefore = InFrame(&m_frame->m_previewBar);

    DragNonClient(tree, CSCBButton::kExpandHit, ButtonPoint(*tree, 1), ButtonPoint(*tree, 1));
    EXPECT_TRUE(tree->m_expanded);
    EXPECT_EQ(32, InFrame(&m_frame->m_previewBar).Height());
    EXPECT_EQ(treeBefore.top, InFrame(tree).top);
    EXPECT_EQ(previewBefore.bottom, InFrame(&m_frame->m_previewBar).bottom);
    EXPECT_EQ('D', ExpandGlyphPointsTo(*tree));
    Screenshot(tree, "bar_expanded");

    // Saved with its size from before; loaded, expanded again; the button
    // then gives back the sizes of before.
    m_frame->SaveBarState("Bar State");
    EXPECT_EQ((UINT)treeBefore.Height(), m_app.GetProfileInt("Bar State-SCBar-106", "sizeVertCY", 0));
    EXPECT_EQ(1u, m_app.GetProfileInt("Bar State-SCBar-106", "Expanded", 0));
    CloseFrame();
    ASSERT_TRUE(MakeFrame());
    m_frame->LoadBarState("Bar State");
    Idle();
    tree = &m_frame->m_treeBar;
    EXPECT_TRUE(tree->m_expanded);
    EXPECT_EQ(32, InFrame(&m_frame->m_previewBar).Height());
    DragNonClient(tree, CSCBButton::kExpandHit, ButtonPoint(*tree, 1), ButtonPoint(*tree, 1));
    EXPECT_FALSE(tree->m_expanded);
    EXPECT_EQ(treeBefore, InFrame(tree));
    EXPECT_EQ(previewBefore, InFrame(&m_frame->m_previewBar));

    // A bar alone on its row: its expand button has no frame under the
    // mouse and a click does nothing.
    CCJControlBar* third = &m_frame->m_thirdBar;
    EXPECT_TRUE(ShowsHoverFrame(*tree, 1));
    EXPECT_FALSE(ShowsHoverFrame(*third, 1));
    EXPECT_EQ('U', ExpandGlyphPointsTo(*third));
    CRect thirdBefore = InFrame(third);
    CPoint expand = ButtonPoint(*third, 1);
    third->SendMessage(WM_NCLBUTTONDOWN, CSCBButton::kExpandHit, MAKELPARAM(expand.x, expand.y));
    EXPECT_NE(third->m_hWnd, GetCapture());
    third->SendMessage(WM_LBUTTONUP, 0, 0);
    Idle();
    EXPECT_FALSE(third->m_expanded);
    EXPECT_EQ(thirdBefore, InFrame(third));
}

TEST_F(BarsTest, OnABottomRowTheExpandGlyphPointsAlongTheRow)
{
    ASSERT_TRUE(MakeFrame());
    CCJControlBar& preview = m_frame->m_previewBar;
    m_frame->DockControlBar(&preview, AFX_IDW_DOCKBAR_BOTTOM);
    Idle();
    // Alone on the row: the glyph of a bar that cannot grow.
    EXPECT_EQ('L', ExpandGlyphPointsTo(preview));
    m_frame->DockControlBarLeftOf(&m_frame->m_thirdBar, &preview);
    Idle();
    ASSERT_EQ(InFrame(&preview).top, InFrame(&m_frame->m_thirdBar).top);
    EXPECT_EQ('R', ExpandGlyphPointsTo(preview));

    DragNonClient(&preview, CSCBButton::kExpandHit, ButtonPoint(preview, 1), ButtonPoint(preview, 1));
    EXPECT_TRUE(preview.m_expanded);
    EXPECT_EQ(33, InFrame(&m_frame->m_thirdBar).Width());
    EXPECT_EQ('L', ExpandGlyphPointsTo(preview));
}

TEST_F(BarsTest, ARightClickOnTheEmptyTopDockBarListsTheBars)
{
    ASSERT_TRUE(MakeFrame());
    CControlBar* top = m_frame->GetControlBar(AFX_IDW_DOCKBAR_TOP);
    ASSERT_NE(nullptr, top);
    CRect dock, tool;
    top->GetClientRect(&dock);
    m_frame->m_toolBar.GetWindowRect(&tool);
    top->ScreenToClient(&tool);
    g_menuItems.clear();
    g_menuTicks = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, ReadShownMenu);
    CPoint empty(tool.right + 100, dock.Height() / 2);
    ASSERT_LT(empty.x, dock.right);
    top->SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(empty.x, empty.y));
    KillTimer(nullptr, timer);
    const std::vector<std::string> expected = {"Tool Bar", "-", "Dir Tree", "PreView", "Third", "-", "Status Bar"};
    EXPECT_EQ(expected, g_menuItems);
}
