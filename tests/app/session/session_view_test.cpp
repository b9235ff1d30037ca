// View mode, save as, export, printing and the options of the real
// program, as a user has them: a file of the session's folder opened by a
// double click in the list, the view driven by keys, menu commands and the
// mouse, and what changed read back from the screen, the windows, the
// files written and the registry.
#include "tests/app/session/session_driver.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <memory>
#include <string>

#include "tests/support/test_files.h"
#include "tests/support/unix_tools.h"
#include "tests/toolkit/common/window_capture.h"

using codectest::OutputOf;
using namespace session;

namespace {

const DWORD kPatienceMs = 10000;
const int kFileListId = 112;
const int kDrawingViewId = 0xE900;
const int kPageTabsId = 144;
const int kFileNameBox = 0x47c;
const int kFileTypeList = 0x470;

// Commands of the menus and tool bars.
const int kOptionsCommand = 32778;
const int kSaveAsCommand = 32826;
const int kPrintCommand = 32827;
const int kBlackWhiteCommand = 32831;
const int kColourCommand = 32833;
const int kOrbitCommand = 32842;
const int kQuickModeCommand = 32941;
const int kTopViewCommand = 32844;
const int kSouthWestViewCommand = 32850;
const int kNextFileCommand = 32919;
const int kPreviousFileCommand = 32920;

// Controls of the print manager, the layer manager and the options sheet.
const int kPrintToFile = 28273;
const int kPrintFit = 28283;
const int kPrintColour = 28287;
const int kLayerList = 28211;
const int kLayerOnOff = 28212;
const int kLayersAllOn = 28215;
const int kThumbWidthSlider = 1017;
const int kThumbWidthNumber = 1039;
const int kThumbHeightNumber = 1038;
const int kCacheFolderBox = 1027;
const int kCacheAllInFolder = 1025;
const int kCacheReadBrowsedFirst = 1026;

void ClickButton(HWND dialog, int controlId)
{
    PostMessageA(GetDlgItem(dialog, controlId), BM_CLICK, 0, 0);
}

// Puts the path into a file dialog's name box and reads it back: a dialog
// still starting fills the box with its default name after the path.
bool EnterFileName(HWND dialog, const std::string& path)
{
    HWND box = GetDlgItem(dialog, kFileNameBox);
    return box != NULL && WaitUntil(
                              [&] {
                                  char text[MAX_PATH] = {};
                                  SendMessageA(box, WM_GETTEXT, sizeof(text), (LPARAM)text);
                                  if (path == text)
                                      return true;
                                  SendMessageA(box, WM_SETTEXT, 0, (LPARAM)path.c_str());
                                  return false;
                              },
                              kPatienceMs);
}

void SetCheck(HWND dialog, int controlId, bool on)
{
    if ((IsDlgButtonChecked(dialog, controlId) == BST_CHECKED) != on)
        ClickButton(dialog, controlId);
}

void ClickTab(HWND tabs, int item)
{
    RECT tab = {};
    if (TabItemRect(tabs, item, tab))
        PostClick(tabs, {(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
}

// A control's own text (an edit's), which only the control itself knows.
std::string ControlText(HWND control)
{
    char text[256] = "";
    SendMessageA(control, WM_GETTEXT, sizeof(text), (LPARAM)text);
    return text;
}

SIZE CellSpacing(HWND list)
{
    DWORD spacing = (DWORD)SendMessageA(list, LVM_GETITEMSPACING, FALSE, 0);
    return {LOWORD(spacing), HIWORD(spacing)};
}

// Colours of the drawings and pictures of the session folder, as the
// screen shows them.
bool IsRed(COLORREF c)
{
    return GetRValue(c) > 170 && GetGValue(c) < 90 && GetBValue(c) < 90;
}
bool IsBlue(COLORREF c)
{
    return GetBValue(c) > 170 && GetRValue(c) < 90 && GetGValue(c) < 90;
}
bool IsGreen(COLORREF c)
{
    return GetGValue(c) > 170 && GetRValue(c) < 90 && GetBValue(c) < 90;
}
// The photo's gradient from red to blue: no green, red and blue adding up.
bool IsPhoto(COLORREF c)
{
    return GetGValue(c) < 60 && GetRValue(c) + GetBValue(c) > 180;
}

// The pixels of one colour in what a window shows.
struct ColourBox {
    int count = 0;
    RECT box = {};
    int Width() const { return box.right - box.left; }
    int Height() const { return box.bottom - box.top; }
    int CentreX() const { return (box.left + box.right) / 2; }
    int CentreY() const { return (box.top + box.bottom) / 2; }
};

// The client area of a window as the screen shows it now.
testwin::ScreenPicture ClientOnScreen(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, NULL, (POINT*)&client, 2);
    return testwin::ScreenPicture::OfScreen(client);
}

ColourBox BoxOf(const testwin::ScreenPicture& picture, bool (*isColour)(COLORREF))
{
    ColourBox found;
    found.box = {picture.Width(), picture.Height(), 0, 0};
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            if (!isColour(picture.Pixel(x, y)))
                continue;
            ++found.count;
            found.box.left = std::min<LONG>(found.box.left, x);
            found.box.top = std::min<LONG>(found.box.top, y);
            found.box.right = std::max<LONG>(found.box.right, x + 1);
            found.box.bottom = std::max<LONG>(found.box.bottom, y + 1);
        }
    }
    if (found.count == 0)
        found.box = {};
    return found;
}

// The share (0 to 1) of the top row of the colour's box that has the
// colour: 1 for an upright rectangle, little for a turned one.
double TopRowShare(HWND window, bool (*isColour)(COLORREF), const ColourBox& box)
{
    testwin::ScreenPicture picture = ClientOnScreen(window);
    int count = 0;
    for (int x = box.box.left; x < box.box.right; ++x)
        count += isColour(picture.Pixel(x, box.box.top)) ? 1 : 0;
    return box.Width() > 0 ? (double)count / box.Width() : 0.0;
}

bool SameBox(const ColourBox& a, const ColourBox& b)
{
    return a.count == b.count && EqualRect(&a.box, &b.box);
}

// The colour's pixels once the picture has settled (the same twice in a
// row, 150 ms apart) and the condition holds; the last seen after 10 s.
template <typename Condition>
ColourBox SettledBox(HWND window, bool (*isColour)(COLORREF), Condition condition)
{
    ColourBox last = BoxOf(ClientOnScreen(window), isColour);
    WaitUntil(
        [&] {
            Sleep(150);
            ColourBox now = BoxOf(ClientOnScreen(window), isColour);
            bool settled = SameBox(now, last) && condition(now);
            last = now;
            return settled;
        },
        kPatienceMs);
    return last;
}

ColourBox SettledBox(HWND window, bool (*isColour)(COLORREF))
{
    return SettledBox(window, isColour, [](const ColourBox&) { return true; });
}

// The program on the test's copy of the folder, and the windows a user of
// it sees: the browser's file list, the view frame and its drawing view.
class ViewSession : public SessionTest {
protected:
    bool Start()
    {
        m_run.reset(new Session(m_folder));
        HWND frame = m_run->Frame();
        m_browseFrame = frame;
        m_list = frame ? FindChild(frame, "SysListView32", kFileListId) : NULL;
        return m_list != NULL;
    }

    // The row of the file once the list shows it; -1 after the wait.
    int RowOf(const std::string& name) const
    {
        RemoteListView list(m_list);
        int row = -1;
        WaitUntil([&] { return (row = list.Find(name)) >= 0; }, kPatienceMs);
        return row;
    }

    // A double click on the file in the list; true when the view frame
    // shows in place of the browser.
    bool OpenInView(const std::string& name)
    {
        int row = RowOf(name);
        RECT label = {};
        if (row < 0)
            return false;
        // Scrolled to, as the user scrolls the list to the file.
        SendMessageA(m_list, LVM_ENSUREVISIBLE, row, FALSE);
        if (!RemoteListView(m_list).ItemRect(row, label))
            return false;
        PostDoubleClick(m_list, {(label.left + label.right) / 2, (label.top + label.bottom) / 2});
        WaitUntil(
            [&] {
                m_viewFrame = FindTopLevel(Process(), "", m_browseFrame);
                return m_viewFrame != NULL && GetMenu(m_viewFrame) != NULL;
            },
            kPatienceMs);
        m_view = m_viewFrame ? GetDlgItem(m_viewFrame, kDrawingViewId) : NULL;
        return m_view != NULL && WaitUntil([&] { return !IsWindowVisible(m_browseFrame); }, kPatienceMs);
    }

    DWORD Process() const { return m_run->ProcessId(); }
    void Key(UINT key) const { PostKey(m_view, (WORD)key); }
    // The view frame's tool bar button of a command, as the user sees it:
    // enabled (waited for) and checked.
    bool WaitUntilEnabled(int id) const
    {
        HWND bar = FindChild(m_viewFrame, TOOLBARCLASSNAMEA);
        return WaitUntil([&] { return SendMessageA(bar, TB_ISBUTTONENABLED, id, 0) != 0; }, kPatienceMs);
    }
    bool IsChecked(int id) const
    {
        return SendMessageA(FindChild(m_viewFrame, TOOLBARCLASSNAMEA), TB_ISBUTTONCHECKED, id, 0) != 0;
    }
    void Command(int id) const { PostCommand(m_viewFrame, id); }
    // A dialog of the program with the caption (any when null) other than
    // skip, once it shows; null after the wait.
    HWND Dialog(const char* caption, HWND skip = NULL) const
    {
        HWND dialog = NULL;
        WaitUntil([&] { return (dialog = FindTopLevel(Process(), "#32770", skip, caption)) != NULL; }, kPatienceMs);
        return dialog;
    }
    // True once no window of the program but its frames shows.
    bool DialogsGone() const
    {
        return WaitUntil([&] { return FindTopLevel(Process(), "#32770") == NULL; }, kPatienceMs);
    }

    // The print manager of T, set to print the whole view fitted, in
    // colour, to a picture file or to the printer.
    HWND PrintManager(bool toFile) const
    {
        if (!WaitUntilEnabled(kPrintCommand))
            return NULL;
        Key('T');
        HWND manager = Dialog("打印");
        if (manager != NULL) {
            SetCheck(manager, kPrintToFile, toFile);
            SetCheck(manager, kPrintFit, true);
            SetCheck(manager, kPrintColour, true);
        }
        return manager;
    }

    bool BackToBrowse() const
    {
        Key(VK_ESCAPE);
        return WaitUntil([&] { return IsWindowVisible(m_browseFrame) && !IsWindowVisible(m_viewFrame); },
                         kPatienceMs);
    }

    std::unique_ptr<Session> m_run;
    HWND m_browseFrame = NULL;
    HWND m_list = NULL;
    HWND m_viewFrame = NULL;
    HWND m_view = NULL;
    std::string m_scratch = testfiles::MakeScratchFolder("session-view");
};

bool Near(int expected, int actual, int tolerance)
{
    return actual >= expected - tolerance && actual <= expected + tolerance;
}

bool HasSome(const ColourBox& box)
{
    return box.count > 0;
}

bool HasNone(const ColourBox& box)
{
    return box.count == 0;
}

// The colour at a pixel of a picture file, as "red green blue" 0-255.
std::string ColourAt(const std::string& unixPath, int x, int y, const char* options = "")
{
    std::string at = "p{" + std::to_string(x) + "," + std::to_string(y) + "}";
    return OutputOf("/usr/bin/convert " + unixPath + " " + options + " -format '%[fx:int(255*" + at +
                    ".r)] %[fx:int(255*" + at + ".g)] %[fx:int(255*" + at + ".b)]' info:");
}

// A page with the drawing: white paper at its corner and the red rectangle
// somewhere on it.
void ExpectWhitePageWithRed(const std::string& unixPath)
{
    int red = 0, green = 0, blue = 0;
    ASSERT_EQ(3, sscanf(ColourAt(unixPath, 3, 3).c_str(), "%d %d %d", &red, &green, &blue)) << unixPath;
    EXPECT_GT(red + green + blue, 3 * 245) << unixPath;
    std::string reds = OutputOf("/usr/bin/convert " + unixPath +
                                " -fuzz 25% -fill black +opaque red -fill white -opaque red -format '%[fx:int(mean*w*h)]' info:");
    EXPECT_GT(atoi(reds.c_str()), 20) << unixPath << ": " << reds;
}

}  // namespace

// The drawing: a red 100 x 60 rectangle, a blue circle of radius 20 at its
// centre and a green diagonal, every entity on layer "0".
TEST_F(ViewSession, ADrawingIsZoomedPannedTurnedAndShownInModesUntilEscReturnsToTheList)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(OpenInView("平面图_R2000.dxf"));
    HWND view = m_view;
    EXPECT_NE(std::string::npos, WindowTextOf(m_viewFrame).find("平面图_R2000.dxf"));
    Key('E');
    ColourBox all = SettledBox(view, IsBlue, HasSome);
    ColourBox rectangle = SettledBox(view, IsRed);
    ASSERT_GT(all.Width(), 20);
    // Extents: the rectangle keeps its 5 : 3, the circle is 2/5 of its width.
    EXPECT_NEAR(5.0 / 3.0, (double)rectangle.Width() / rectangle.Height(), 0.1);
    EXPECT_NEAR(all.Width() * 2.5, rectangle.Width(), 6);
    KeepScreenshot("04-view-drawing");

    Key('I');
    ColourBox zoomedIn = SettledBox(view, IsBlue, [&](const ColourBox& b) { return b.Width() > all.Width(); });
    EXPECT_GT(zoomedIn.Width(), all.Width() * 6 / 5);
    Key('U');
    ColourBox zoomedOut = SettledBox(view, IsBlue, [&](const ColourBox& b) { return b.Width() < zoomedIn.Width(); });
    EXPECT_LT(zoomedOut.Width(), zoomedIn.Width() * 5 / 6);

    // Window zoom around the circle: it fills most of the view's height.
    auto backToAll = [&] {
        Key('E');
        return SettledBox(view, IsBlue, [&](const ColourBox& b) { return Near(all.Width(), b.Width(), 2); });
    };
    backToAll();
    Key('W');
    PostDrag(view, {all.box.left - 4, all.box.top - 4}, {all.box.right + 4, all.box.bottom + 4});
    ColourBox window = SettledBox(view, IsBlue, [&](const ColourBox& b) { return b.Width() > all.Width() * 3 / 2; });
    RECT client;
    GetClientRect(view, &client);
    EXPECT_GT(window.Height(), client.bottom * 3 / 4);

    // Pan with the hand tool and with the middle button: the circle moves
    // with the pointer.
    backToAll();
    Key('P');
    PostDrag(view, {all.CentreX(), all.CentreY()}, {all.CentreX() + 60, all.CentreY() + 40});
    ColourBox panned = SettledBox(view, IsBlue, [&](const ColourBox& b) { return b.box.left != all.box.left; });
    EXPECT_TRUE(Near(all.box.left + 60, panned.box.left, 3)) << panned.box.left;
    EXPECT_TRUE(Near(all.box.top + 40, panned.box.top, 3)) << panned.box.top;
    PostDrag(view, {panned.CentreX(), panned.CentreY()}, {all.CentreX(), all.CentreY()}, true);
    ColourBox back = SettledBox(view, IsBlue, [&](const ColourBox& b) { return b.box.left != panned.box.left; });
    EXPECT_TRUE(Near(all.box.left, back.box.left, 3)) << back.box.left;

    // The wheel zooms in at the pointer: the circle under it stays there.
    PostWheel(view, {back.CentreX(), back.CentreY()}, 1);
    ColourBox wheeled = SettledBox(view, IsBlue, [&](const ColourBox& b) { return b.Width() > back.Width(); });
    EXPECT_GT(wheeled.Width(), back.Width() * 11 / 10);
    EXPECT_TRUE(Near(back.CentreX(), wheeled.CentreX(), 4));

    // Orbit, out of quick mode: a drag inside the guide's circle turns the
    // drawing out of its plane; Esc ends the orbit and stays in view mode.
    backToAll();
    ASSERT_TRUE(IsChecked(kQuickModeCommand));
    Key('Q');
    ASSERT_TRUE(WaitUntilEnabled(kOrbitCommand));
    EXPECT_FALSE(IsChecked(kQuickModeCommand));
    Command(kOrbitCommand);
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(kOrbitCommand); }, kPatienceMs));
    PostDrag(view, {client.right / 2 - 40, client.bottom / 2}, {client.right / 2 + 40, client.bottom / 2 + 30});
    ColourBox turned = SettledBox(view, IsRed, [&](const ColourBox& b) { return !SameBox(b, rectangle); });
    EXPECT_FALSE(SameBox(rectangle, turned));
    Key(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !IsChecked(kOrbitCommand); }, kPatienceMs));
    EXPECT_TRUE(IsWindowVisible(m_viewFrame));

    // View points: south-west isometric, then the plan again.
    ASSERT_TRUE(WaitUntilEnabled(kOrbitCommand));
    Command(kSouthWestViewCommand);
    ColourBox iso = SettledBox(view, IsRed, [&](const ColourBox& b) { return !SameBox(b, turned); });
    EXPECT_LT(TopRowShare(view, IsRed, iso), 0.2);
    Command(kTopViewCommand);
    Key('E');
    ColourBox plan = SettledBox(view, IsRed, [&](const ColourBox& b) { return SameBox(b, rectangle); });
    EXPECT_TRUE(SameBox(rectangle, plan));
    EXPECT_GT(TopRowShare(view, IsRed, plan), 0.9);

    // The layout tabs fill the status bar's second pane. The next layout
    // is an empty sheet; the previous one the model.
    HWND strip = FindChild(m_viewFrame, "", kPageTabsId);
    RECT stripRect = {}, statusRect = {};
    GetWindowRect(strip, &stripRect);
    GetWindowRect(GetParent(strip), &statusRect);
    EXPECT_TRUE(IsWindowVisible(strip));
    EXPECT_GT(stripRect.right - stripRect.left, (statusRect.right - statusRect.left) / 2);
    EXPECT_GT(stripRect.bottom - stripRect.top, (statusRect.bottom - statusRect.top) / 2);
    Key(VK_OEM_PERIOD);
    EXPECT_EQ(0, SettledBox(view, IsRed, HasNone).count);
    Key(VK_OEM_COMMA);
    EXPECT_GT(SettledBox(view, IsRed, HasSome).count, 0);

    // Layer "0" switched off in the layer manager hides everything.
    Key('L');
    HWND layers = Dialog("图层管理");
    ASSERT_NE(nullptr, layers);
    HWND layerList = GetDlgItem(layers, kLayerList);
    RemoteListView layerRows(layerList);
    int layerRow = layerRows.Find("0");
    RECT layerLabel = {};
    ASSERT_TRUE(layerRows.ItemRect(layerRow, layerLabel));
    PostClick(layerList, {layerLabel.left + 4, (layerLabel.top + layerLabel.bottom) / 2});
    ClickButton(layers, kLayerOnOff);
    ClickButton(layers, IDOK);
    EXPECT_EQ(0, SettledBox(view, IsRed, HasNone).count);
    EXPECT_EQ(0, BoxOf(ClientOnScreen(view), IsBlue).count);
    Key('L');
    layers = Dialog("图层管理");
    ASSERT_NE(nullptr, layers);
    ClickButton(layers, kLayersAllOn);
    ClickButton(layers, IDOK);
    EXPECT_GT(SettledBox(view, IsRed, HasSome).count, 0);

    // Black and white: the drawing stays, its colours go.
    Command(kBlackWhiteCommand);
    EXPECT_EQ(0, SettledBox(view, IsRed, HasNone).count);
    Command(kColourCommand);
    EXPECT_GT(SettledBox(view, IsRed, HasSome).count, 0);

    // Full screen: the drawing covers the screen; again: the frame as it was.
    RECT framed;
    GetWindowRect(m_viewFrame, &framed);
    Key('F');
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT covered = {};
    EXPECT_TRUE(WaitUntil(
        [&] {
            GetClientRect(view, &covered);
            MapWindowPoints(view, NULL, (POINT*)&covered, 2);
            RECT both;
            IntersectRect(&both, &covered, &screen);
            return EqualRect(&both, &screen) != FALSE;
        },
        kPatienceMs))
        << covered.left << "," << covered.top << " " << covered.right << "," << covered.bottom;
    Key('F');
    RECT restored = {};
    EXPECT_TRUE(WaitUntil(
        [&] {
            GetWindowRect(m_viewFrame, &restored);
            return EqualRect(&restored, &framed) != FALSE;
        },
        kPatienceMs));

    EXPECT_TRUE(BackToBrowse());
    EXPECT_TRUE(m_run->CloseWithinLimit());
}

// The three pages of the TIFF are red, lime and blue, and the list's next
// and previous file follow it; the photo is turned by its EXIF
// orientation, which ImageMagick applies for the reference.
TEST_F(ViewSession, TheTiffsPagesAndTheListsNextFileAreStepsAndTheExifPhotoStandsUpright)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(OpenInView("pages.tif"));
    EXPECT_GT(SettledBox(m_view, IsRed, HasSome).count, 0);
    Key(VK_OEM_PERIOD);
    EXPECT_GT(SettledBox(m_view, IsGreen, HasSome).count, 0);
    EXPECT_EQ(0, BoxOf(ClientOnScreen(m_view), IsRed).count);
    Key(VK_OEM_PERIOD);
    EXPECT_GT(SettledBox(m_view, IsBlue, HasSome).count, 0);
    EXPECT_EQ(0, BoxOf(ClientOnScreen(m_view), IsGreen).count);

    // The list's next file and back: the list's selection and the caption
    // follow, and the TIFF shows its first page again.
    RemoteListView rows(m_list);
    std::string next;
    Command(kNextFileCommand);
    EXPECT_TRUE(WaitUntil(
        [&] {
            std::vector<int> selected = rows.Selected();
            next = selected.size() == 1 ? rows.Text(selected[0]) : "";
            return !next.empty() && next != "pages.tif" &&
                   WindowTextOf(m_viewFrame).find(next) != std::string::npos;
        },
        kPatienceMs))
        << next;
    Command(kPreviousFileCommand);
    EXPECT_TRUE(WaitUntil([&] { return WindowTextOf(m_viewFrame).find("pages.tif") != std::string::npos; },
                          kPatienceMs));
    EXPECT_GT(SettledBox(m_view, IsRed, HasSome).count, 0);
    ASSERT_TRUE(BackToBrowse());

    ASSERT_TRUE(OpenInView("photo_exif.jpg"));
    Key('A');
    ColourBox photo = SettledBox(m_view, IsPhoto, HasSome);
    KeepScreenshot("04-view-photo");
    ASSERT_GT(photo.Width(), 10);
    // The upright picture's proportions and the colours of its four corners.
    std::string path = codectest::UnixPath(m_folder + "\\photo_exif.jpg");
    int width = 0, height = 0;
    std::string size = OutputOf("/usr/bin/convert " + path + " -auto-orient -format '%w %h' info:");
    ASSERT_EQ(2, sscanf(size.c_str(), "%d %d", &width, &height)) << size;
    ASSERT_LT(width, height) << "stored across, it stands upright";
    EXPECT_NEAR((double)width / height, (double)photo.Width() / photo.Height(), 0.05);
    testwin::ScreenPicture shown = ClientOnScreen(m_view);
    const POINT corners[] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (const POINT& corner : corners) {
        int red = -1, green = -1, blue = -1;
        std::string colour = ColourAt(path, corner.x ? width - 3 : 2, corner.y ? height - 3 : 2, "-auto-orient");
        ASSERT_EQ(3, sscanf(colour.c_str(), "%d %d %d", &red, &green, &blue)) << colour;
        COLORREF onScreen = shown.Pixel(corner.x ? photo.box.right - 3 : photo.box.left + 2,
                                        corner.y ? photo.box.bottom - 3 : photo.box.top + 2);
        EXPECT_NEAR(red, GetRValue(onScreen), 50) << corner.x << "," << corner.y;
        EXPECT_NEAR(blue, GetBValue(onScreen), 50) << corner.x << "," << corner.y;
    }
    EXPECT_TRUE(BackToBrowse());
    EXPECT_TRUE(m_run->CloseWithinLimit());
}

// Save as DXF R12 and 2004 (ezdxf reads them back with the drawing's
// entities), the page exported as PNG and TIFF (ImageMagick reads them),
// and a print on the prefix's PostScript printer, whose FILE: port Wine
// writes to a file of that name in the program's current folder
// (Ghostscript renders it).
TEST_F(ViewSession, ADrawingIsSavedAsDxfExportedAsPicturesAndPrinted)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(OpenInView("平面图_R2000.dxf"));
    SettledBox(m_view, IsRed, HasSome);
    // In the tests' code page, which the Unix program's command line is
    // turned from.
    std::string source = m_folder.substr(2) + "\\平面图_R2000.dxf";
    std::replace(source.begin(), source.end(), '\\', '/');
    const struct {
        int filter;  // of the writable choices: DWG 2004, 2000 and R14, then DXF 2004 to R12
        const char* name;
        const char* version;
    } saves[] = {{7, "saved_r12.dxf", "AC1009"}, {4, "saved_2004.dxf", "AC1018"}};
    for (const auto& save : saves) {
        ASSERT_TRUE(WaitUntilEnabled(kSaveAsCommand));
        Key('S');
        HWND dialog = Dialog("另存为");
        ASSERT_NE(nullptr, dialog);
        HWND types = GetDlgItem(dialog, kFileTypeList);
        SendMessageA(types, CB_SETCURSEL, save.filter - 1, 0);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeList, CBN_SELCHANGE), (LPARAM)types);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeList, CBN_SELENDOK), (LPARAM)types);
        std::string path = m_scratch + "\\" + save.name;
        WaitUntil([] { return false; }, 200);
        ASSERT_TRUE(EnterFileName(dialog, path));
        ClickButton(dialog, IDOK);
        ASSERT_TRUE(DialogsGone());
        EXPECT_EQ(0, codectest::RunUnixProgram("/usr/bin/python3 " SAVED_DXF_CHECK " " + codectest::UnixPath(path) +
                                               " " + source + " " + save.version))
            << save.name;
    }

    for (const char* name : {"page.png", "page.tif"}) {
        HWND manager = PrintManager(true);
        ASSERT_NE(nullptr, manager);
        ClickButton(manager, IDOK);
        HWND ask = Dialog(NULL, manager);
        ASSERT_NE(nullptr, ask);
        std::string path = m_scratch + "\\" + name;
        ASSERT_TRUE(EnterFileName(ask, path)) << WindowTextOf(ask);
        ClickButton(ask, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }, kPatienceMs))
            << path;
        ASSERT_TRUE(DialogsGone());
        std::string unixPath = codectest::UnixPath(path);
        EXPECT_EQ(std::string(name) == "page.png" ? "PNG" : "TIFF",
                  OutputOf("/usr/bin/identify -format '%m' " + unixPath));
        ExpectWhitePageWithRed(unixPath);
    }

    // The program works in the folder it browses.
    std::string printed = codectest::UnixPath(m_folder) + "/FILE:";
    codectest::RunUnixProgram("/bin/rm -f '" + printed + "'");
    HWND manager = PrintManager(false);
    ASSERT_NE(nullptr, manager);
    WaitUntil([] { return false; }, 200);
    KeepScreenshot("05-print-manager");
    ClickButton(manager, IDOK);
    ASSERT_TRUE(DialogsGone());
    std::string page = codectest::UnixPath(m_scratch + "\\printed.png");
    EXPECT_TRUE(WaitUntil(
        [&] {
            return codectest::RunUnixProgram("/usr/bin/gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r30 "
                                              "-sOutputFile=" + page + " '" + printed + "'") == 0;
        },
        kPatienceMs))
        << printed;
    codectest::RunUnixProgram("/bin/rm -f '" + printed + "'");
    ExpectWhitePageWithRed(page);
    EXPECT_TRUE(BackToBrowse());
    EXPECT_TRUE(m_run->CloseWithinLimit());
}

// The thumbnail width pushed to its end (the height follows at 170 : 130)
// and a cache folder that does not exist yet, created when the program
// asks: the list draws larger cells at once, the registry holds both, and
// the next start draws the larger cells again.
TEST_F(ViewSession, ThumbnailSizeAndCacheFolderSetInTheOptionsLastAcrossARestart)
{
    std::string cacheFolder = m_scratch + "\\缓存";
    // The options open only once the folder's thumbnails are made, and so its
    // own library written: its picture size must not hold the cells.
    ASSERT_TRUE(SetRegistryDword("Option\\Thumbnail", "ForceUseLibSize", 0));
    ASSERT_TRUE(Start());
    ASSERT_GE(RowOf("pages.tif"), 0);
    SIZE before = CellSpacing(m_list);
    // The thumbnail thread may take up work again between the button's
    // update and the command (the folder's library written, the watcher's
    // refresh), and a busy thread refuses the command, as a user would find
    // it: press again until the sheet opens.
    HWND bar = FindChild(m_browseFrame, TOOLBARCLASSNAMEA);
    HWND sheet = NULL;
    ASSERT_TRUE(WaitUntil(
        [&] {
            if (SendMessageA(bar, TB_ISBUTTONENABLED, kOptionsCommand, 0) == 0)
                return false;
            PostCommand(m_browseFrame, kOptionsCommand);
            return WaitUntil([&] { return (sheet = FindTopLevel(Process(), "#32770", NULL, "选项设置")) != NULL; },
                             3000);
        },
        kPatienceMs));
    HWND tabs = FindChild(sheet, "SysTabControl32");
    ASSERT_NE(nullptr, tabs);
    ClickTab(tabs, 3);
    HWND slider = NULL;
    ASSERT_TRUE(WaitUntil([&] { return (slider = FindChild(sheet, "", kThumbWidthSlider)) != NULL; }, kPatienceMs));
    PostKey(slider, VK_END);
    HWND page = GetParent(slider);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(GetDlgItem(page, kThumbWidthNumber)) == "250"; }, kPatienceMs));
    EXPECT_EQ("191", ControlText(GetDlgItem(page, kThumbHeightNumber)));
    KeepScreenshot("06-options-thumbnail");

    ClickTab(tabs, 2);
    HWND folderBox = NULL;
    ASSERT_TRUE(WaitUntil([&] { return (folderBox = FindChild(sheet, "", kCacheFolderBox)) != NULL; }, kPatienceMs));
    // Everything kept in that folder: the list no longer finds the browsed
    // folder's own library, whose pictures have the former size.
    HWND cachePage = GetParent(folderBox);
    ClickButton(cachePage, kCacheAllInFolder);
    SetCheck(cachePage, kCacheReadBrowsedFirst, false);
    SendMessageA(folderBox, WM_SETTEXT, 0, (LPARAM)cacheFolder.c_str());
    ClickButton(sheet, IDOK);
    // The folder does not exist: the program asks, and creates it.
    HWND ask = Dialog(NULL, sheet);
    ASSERT_NE(nullptr, ask);
    ClickButton(ask, IDOK);
    ASSERT_TRUE(DialogsGone());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(cacheFolder.c_str()));
    ASSERT_TRUE(WaitUntil([&] { return CellSpacing(m_list).cx != before.cx; }, kPatienceMs));
    SIZE after = CellSpacing(m_list);
    EXPECT_EQ(before.cx + 80, after.cx);
    EXPECT_EQ(before.cy + 61, after.cy);
    WaitUntil([] { return false; }, 500);
    KeepScreenshot("06-options-applied");
    ASSERT_TRUE(m_run->CloseWithinLimit());

    DWORD width = 0, height = 0;
    std::string stored;
    EXPECT_TRUE(ReadRegistryDword("Option\\Thumbnail", "ThumbWidth", width));
    EXPECT_TRUE(ReadRegistryDword("Option\\Thumbnail", "ThumbHeight", height));
    EXPECT_TRUE(ReadRegistryText("Option\\LibIndex", "Path", stored));
    EXPECT_EQ(250u, width);
    EXPECT_EQ(191u, height);
    if (!stored.empty() && stored.back() == '\\')
        stored.pop_back();
    EXPECT_EQ(0, lstrcmpiA(cacheFolder.c_str(), stored.c_str())) << stored;

    ASSERT_TRUE(Start());
    ASSERT_GE(RowOf("pages.tif"), 0);
    SIZE restarted = CellSpacing(m_list);
    EXPECT_EQ(after.cx, restarted.cx);
    EXPECT_EQ(after.cy, restarted.cy);
    EXPECT_TRUE(m_run->CloseWithinLimit());
}
