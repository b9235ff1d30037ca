// Browse mode of the real program, driven as a user drives it: the
// thumbnails of a folder and their cache library, the preview, interface
// styles, list views and sorting, renaming, copying by drag and deleting
// through the list, the folder watcher, and what a second start restores.
#include "tests/app/session/session_driver.h"

#include <stdint.h>
#include <stdio.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "platform/base/byte_reader.h"
#include "tests/support/test_files.h"
#include "tests/toolkit/common/window_capture.h"

using namespace session;

namespace {

// Small cells, so that the whole folder is in view of a maximized frame.
const int kCellWidth = 100;
const int kCellHeight = 80;
const int kCellBorder = 5;
const DWORD kThumbnailsLimitMs = 90000;

const char kStatusBarClass[] = "msctls_statusbar32";
const char kListClass[] = "SysListView32";
const char kTreeClass[] = "SysTreeView32";
const int kTreeId = 108;

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool StartsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

// What a thumbnail must show, from what the session folder's maker put
// into each file.
enum class Look {
    Failure,      // the damaged files
    ThreeColours, // the drawings: a red outline, a blue circle, a green line
    RedAndBlue,   // the photos: a red to blue gradient
    Red,          // the first page of "pages.tif"
    NotBlank,     // DWG fixtures and the black and white WBMP
};

Look ExpectedLook(const std::string& name)
{
    if (StartsWith(name, "broken."))
        return Look::Failure;
    if (EndsWith(name, ".dxf"))
        return Look::ThreeColours;
    if (name == "pages.tif")
        return Look::Red;
    if (StartsWith(name, "photo") && name != "photo.wbmp")
        return Look::RedAndBlue;
    return Look::NotBlank;
}

bool IsRed(COLORREF c) { return GetRValue(c) >= 150 && GetGValue(c) <= 90 && GetBValue(c) <= 90; }
bool IsGreen(COLORREF c) { return GetGValue(c) >= 110 && GetRValue(c) <= 90 && GetBValue(c) <= 90; }
bool IsBlue(COLORREF c) { return GetBValue(c) >= 150 && GetRValue(c) <= 90 && GetGValue(c) <= 90; }

// The picture area of one thumbnail cell, inside its border.
struct CellPicture {
    std::vector<COLORREF> pixels;

    bool Has(bool (*test)(COLORREF)) const { return std::any_of(pixels.begin(), pixels.end(), test); }
    size_t Colours() const { return std::set<COLORREF>(pixels.begin(), pixels.end()).size(); }
    bool Shows(Look look) const
    {
        switch (look) {
        case Look::ThreeColours:
            return Has(IsRed) && Has(IsGreen) && Has(IsBlue);
        case Look::RedAndBlue:
            return Has(IsRed) && Has(IsBlue);
        case Look::Red:
            return Has(IsRed);
        default:
            return Colours() >= 2;
        }
    }
};

// The file list of a running session, its items by name and the pictures
// of their cells as the screen shows them.
class ListOnScreen {
public:
    explicit ListOnScreen(HWND list) : m_list(list), m_remote(list) {}

    RemoteListView& Remote() { return m_remote; }

    std::map<std::string, CellPicture> Cells()
    {
        RECT client;
        GetClientRect(m_list, &client);
        POINT origin = ScreenPointOf(m_list, POINT{0, 0});
        RECT screen = {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
        testwin::ScreenPicture picture = testwin::ScreenPicture::OfScreen(screen);
        std::map<std::string, CellPicture> cells;
        int count = m_remote.Count();
        for (int item = 0; item < count; ++item) {
            RECT icon;
            if (!m_remote.ItemRect(item, icon, LVIR_ICON))
                continue;
            CellPicture& cell = cells[m_remote.Text(item)];
            for (int y = icon.top + kCellBorder + 1; y < icon.top + kCellHeight - kCellBorder - 1; ++y)
                for (int x = icon.left + kCellBorder + 1; x < icon.left + kCellWidth - kCellBorder - 1; ++x)
                    if (x >= 0 && y >= 0 && x < picture.Width() && y < picture.Height())
                        cell.pixels.push_back(picture.Pixel(x, y));
        }
        return cells;
    }

    // The names of the files (not folders) whose cells do not yet show what
    // they must; the failure cells must all show one picture that no good
    // file shows.
    std::vector<std::string> CellsNotShowing(const std::vector<std::string>& files)
    {
        std::map<std::string, CellPicture> cells = Cells();
        std::vector<std::string> wrong;
        const CellPicture& failure = cells["broken.dxf"];
        for (const std::string& name : files) {
            const CellPicture& cell = cells[name];
            Look look = ExpectedLook(name);
            bool shows = look == Look::Failure
                             ? cell.pixels == failure.pixels && cell.Colours() >= 2
                             : cell.Shows(look) && cell.pixels != failure.pixels;
            if (!shows)
                wrong.push_back(name);
        }
        return wrong;
    }

private:
    HWND m_list;
    RemoteListView m_remote;
};

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += name + " ";
    return text;
}

int SubFolderCount(const std::string& folder)
{
    int count = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..")
            ++count;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

// A thumbnail library file as written: the folder it belongs to, the
// thumbnail size and the names of its records.
struct LibraryFile {
    std::string folder;
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<std::string> names;
};

bool ReadText(const std::string& bytes, size_t& at, std::string& text)
{
    size_t end = bytes.find('\0', at);
    if (end == std::string::npos)
        return false;
    text = bytes.substr(at, end - at);
    at = end + 1;
    return true;
}

uint64_t U64At(const std::string& bytes, size_t at)
{
    return GetU64LE((const uint8_t*)bytes.data() + at);
}

uint32_t U32At(const std::string& bytes, size_t at)
{
    return GetU32LE((const uint8_t*)bytes.data() + at);
}

bool ReadLibraryFile(const std::string& path, LibraryFile& library)
{
    std::string bytes;
    if (!testfiles::ReadFileBytes(path, bytes) || bytes.size() < 44 ||
        bytes.compare(0, 23, "QuorvantixImageCacheLib") != 0 || U32At(bytes, 23) != 11)
        return false;
    size_t at = 35;
    if (!ReadText(bytes, at, library.folder) || at + 8 > bytes.size())
        return false;
    library.width = U32At(bytes, at);
    library.height = U32At(bytes, at + 4);
    uint64_t record = U64At(bytes, 27);
    while (record + 17 < bytes.size()) {
        size_t nameAt = (size_t)record + 16;
        std::string name;
        if (!ReadText(bytes, nameAt, name))
            return false;
        library.names.push_back(name);
        uint64_t next = U64At(bytes, (size_t)record + 8);
        if (next <= record)
            return false;
        record = next;
    }
    return true;
}

// The library the program wrote for the folder: the folder's own file or a
// numbered file in the cache folder.
bool FindLibraryOf(const std::string& folder, LibraryFile& library)
{
    std::vector<std::string> candidates = {folder + "\\QuorvantixImageCache.qrvlib"};
    std::string cache;
    if (ReadRegistryText("Option\\LibIndex", "Path", cache)) {
        if (!EndsWith(cache, "\\"))
            cache += "\\";
        for (const std::string& name : testfiles::FileNamesIn(cache))
            if (StartsWith(name, "QuorvantixLib") && EndsWith(name, ".qrvlib"))
                candidates.push_back(cache + name);
    }
    for (const std::string& path : candidates) {
        LibraryFile read;
        if (ReadLibraryFile(path, read) && lstrcmpiA(read.folder.c_str(), (folder + "\\").c_str()) == 0) {
            library = read;
            return true;
        }
    }
    return false;
}

// Overwrites a file with as many zero bytes and gives it back its
// last-write time: it looks unchanged to a directory listing, but nothing
// can be decoded from it.
bool ZeroKeepingTime(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME written;
    DWORD size = GetFileSize(file, NULL);
    std::string zeros(size, '\0');
    DWORD done = 0;
    bool ok = GetFileTime(file, NULL, NULL, &written) && WriteFile(file, zeros.data(), size, &done, NULL) &&
              done == size && SetFileTime(file, NULL, NULL, &written);
    CloseHandle(file);
    return ok;
}

bool ClickItem(RemoteListView& list, HWND listWindow, const std::string& name);

class BrowseSession : public SessionTest {
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        ASSERT_TRUE(SetRegistryDword("Option\\Thumbnail", "ThumbWidth", kCellWidth));
        ASSERT_TRUE(SetRegistryDword("Option\\Thumbnail", "ThumbHeight", kCellHeight));
        m_files = testfiles::FileNamesIn(m_folder);
    }

    // The frame of the session, maximized and in front.
    HWND ShowFrame(Session& run)
    {
        HWND frame = run.Frame();
        if (frame == NULL)
            return NULL;
        PostMessageA(frame, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        WaitUntil([frame] { return IsZoomed(frame) != FALSE; }, 3000);
        BringToFront(frame);
        return frame;
    }

    // The maximized frame of a session once its list shows the folder and
    // every thumbnail is in; null when it does not show.
    HWND ShowFolderWithThumbnails(Session& run)
    {
        HWND frame = ShowFrame(run);
        if (frame == NULL)
            return NULL;
        ListOnScreen list(FindChild(frame, kListClass));
        if (!WaitUntil([&] { return list.Remote().Find("plan_R12.dxf") >= 0; }, 20000))
            return NULL;
        WaitForThumbnails(list);
        return frame;
    }

    // Starts the program on the folder and, once every thumbnail is in,
    // clicks plan_R12.dxf in the list; false when any of it fails.
    bool StartWithDrawingPicked()
    {
        m_run.reset(new Session(m_folder));
        m_frame = ShowFolderWithThumbnails(*m_run);
        m_listWindow = m_frame != NULL ? FindChild(m_frame, kListClass) : NULL;
        if (m_listWindow == NULL)
            return false;
        RemoteListView list(m_listWindow);
        return ClickItem(list, m_listWindow, "plan_R12.dxf");
    }

    // Waits until every file's cell shows what it must; the names that
    // still do not.
    std::vector<std::string> WaitForThumbnails(ListOnScreen& list)
    {
        std::vector<std::string> wrong;
        WaitUntil([&] {
            wrong = list.CellsNotShowing(m_files);
            return wrong.empty();
        }, kThumbnailsLimitMs);
        return wrong;
    }

    std::vector<std::string> m_files;
    std::unique_ptr<Session> m_run;
    HWND m_frame = NULL;
    HWND m_listWindow = NULL;
};

}  // namespace

TEST_F(BrowseSession, ThumbnailsShowEveryFileAndTheSecondStartTakesThemFromTheLibrary)
{
    {
        Session first(m_folder);
        HWND frame = ShowFrame(first);
        ASSERT_NE(nullptr, frame);
        HWND listWindow = FindChild(frame, kListClass);
        ASSERT_NE(nullptr, listWindow);
        ListOnScreen list(listWindow);
        int items = (int)m_files.size() + SubFolderCount(m_folder);
        ASSERT_TRUE(WaitUntil([&] { return list.Remote().Count() == items; }, 20000)) << list.Remote().Count();
        std::vector<std::string> wrong = WaitForThumbnails(list);
        KeepScreenshot("02-thumbnails");
        EXPECT_TRUE(wrong.empty()) << Joined(wrong);

        HWND status = FindChild(frame, kStatusBarClass);
        ASSERT_NE(nullptr, status);
        std::string counts = std::to_string(items) + "个文件 " + std::to_string(m_files.size()) + "个图形文件";
        std::string shown;
        EXPECT_TRUE(WaitUntil([&] { return StartsWith(shown = StatusPaneText(status, 0), counts); }, 5000))
            << shown;
        ASSERT_TRUE(first.CloseWithinLimit());
    }

    // The library holds every picture the program made itself (drawings
    // with a stored preview show that preview instead).
    LibraryFile library;
    ASSERT_TRUE(FindLibraryOf(m_folder, library));
    EXPECT_EQ((uint32_t)(kCellWidth - 2 * kCellBorder), library.width);
    EXPECT_EQ((uint32_t)(kCellHeight - 2 * kCellBorder), library.height);
    std::vector<std::string> zeroed;
    for (const std::string& name : m_files) {
        if (EndsWith(name, ".dwg") || ExpectedLook(name) == Look::Failure)
            continue;
        EXPECT_TRUE(std::find(library.names.begin(), library.names.end(), name) != library.names.end()) << name;
        ASSERT_TRUE(ZeroKeepingTime(m_folder + "\\" + name));
        zeroed.push_back(name);
    }

    // Nothing can be decoded from those files any more: their pictures can
    // only come from the library.
    Session second(m_folder);
    HWND frame = ShowFrame(second);
    ASSERT_NE(nullptr, frame);
    ListOnScreen list(FindChild(frame, kListClass));
    std::vector<std::string> wrong = WaitForThumbnails(list);
    KeepScreenshot("02-thumbnails-from-library");
    EXPECT_TRUE(wrong.empty()) << Joined(wrong);
    EXPECT_TRUE(second.CloseWithinLimit());
}

namespace {

const UINT kInterfaceStyleCommand = 32824;
const int kFirstStyleTileId = 1116;
const int kTreeBarId = 106;
const int kPreviewBarId = 105;
const int kPreviewPaneId = 110;
const int kAddBookmarkId = 103;

// The docking bar of the id that holds the window (ids are only unique
// among siblings).
HWND BarHolding(HWND frame, int id, HWND inner)
{
    for (HWND window : FindChildren(frame, ""))
        if (GetDlgCtrlID(window) == id && IsChild(window, inner))
            return window;
    return NULL;
}

RECT ScreenRectOf(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

CellPicture PictureOf(HWND window)
{
    testwin::ScreenPicture picture = testwin::ScreenPicture::OfScreen(ScreenRectOf(window));
    CellPicture cell;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            cell.pixels.push_back(picture.Pixel(x, y));
    return cell;
}

// Clicks the label of the item with the name until it is the one selected
// item (the list may be laying itself out again after a change on disk);
// false when that does not happen.
bool ClickItem(RemoteListView& list, HWND listWindow, const std::string& name)
{
    return WaitUntil([&] {
        RECT label;
        int item = list.Find(name);
        if (item < 0 || !list.ItemRect(item, label))
            return false;
        ClickAt(ScreenPointOf(listWindow, POINT{(label.left + label.right) / 2, (label.top + label.bottom) / 2}));
        Sleep(100);
        return list.Selected() == std::vector<int>{list.Find(name)};
    }, 5000);
}

// Picks an interface style in the style dialog (command 32824): its tile,
// then OK; false when the dialog did not come or did not go.
bool ChooseInterfaceStyle(Session& run, int style)
{
    HWND frame = run.Frame();
    PostCommand(frame, kInterfaceStyleCommand);
    HWND dialog = NULL;
    HWND tile = NULL;
    WaitUntil([&] {
        dialog = FindTopLevel(run.ProcessId(), "#32770");
        tile = dialog ? FindChild(dialog, NULL, kFirstStyleTileId + style - 1) : NULL;
        return tile != NULL;
    }, 5000);
    if (tile == NULL)
        return false;
    RECT client;
    GetClientRect(tile, &client);
    PostClick(tile, POINT{client.right / 2, client.bottom / 2});
    HWND ok = FindChild(dialog, "Button", IDOK);
    if (ok == NULL)
        return false;
    GetClientRect(ok, &client);
    PostClick(ok, POINT{client.right / 2, client.bottom / 2});
    return WaitUntil([&] { return !IsWindow(dialog); }, 5000);
}

int64_t FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return ((int64_t)data.nFileSizeHigh << 32) | data.nFileSizeLow;
}

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

TEST_F(BrowseSession, APickedDrawingShowsInThePreviewStylesAndViewsSwitchAndTheListSortsBySize)
{
    ASSERT_TRUE(StartWithDrawingPicked());
    ListOnScreen list(m_listWindow);

    HWND preview = FindChild(m_frame, "Static", kPreviewPaneId);
    ASSERT_NE(nullptr, preview);
    EXPECT_TRUE(WaitUntil([&] { return PictureOf(preview).Shows(Look::ThreeColours); }, 15000));
    KeepScreenshot("03-preview");
    // The drawing's summary in the status bar, its creation date readable.
    HWND status = FindChild(m_frame, kStatusBarClass);
    std::string summary;
    ASSERT_TRUE(WaitUntil([&] {
        summary = StatusPaneText(status, StatusPaneCount(status) - 1);
        return summary.find("创建: ") != std::string::npos;
    }, 5000)) << summary;
    std::string created = summary.substr(summary.find("创建: ") + std::string("创建: ").size());
    EXPECT_TRUE(std::all_of(created.begin(), created.end(), [](char c) { return c > 0 && c < 127; })) << summary;

    // Style 2: the preview bar lies across the bottom, under the list.
    ASSERT_TRUE(ChooseInterfaceStyle(*m_run, 2));
    HWND previewBar = NULL;
    RECT bar = {}, listRect = {}, frameRect = ScreenRectOf(m_frame);
    EXPECT_TRUE(WaitUntil([&] {
        previewBar = BarHolding(m_frame, kPreviewBarId, preview);
        bar = ScreenRectOf(previewBar);
        listRect = ScreenRectOf(m_listWindow);
        return previewBar != NULL && bar.top >= listRect.bottom &&
               bar.right - bar.left > (frameRect.right - frameRect.left) * 3 / 4;
    }, 5000)) << bar.left << "," << bar.top << "," << bar.right << "," << bar.bottom;
    DWORD bars = 0;
    EXPECT_TRUE(ReadRegistryDword("Bar State-Summary", "Bars", bars));
    EXPECT_EQ(7u, bars);
    KeepScreenshot("03-style-2");

    // The list views, by their keys.
    const struct {
        WORD key;
        DWORD view;
    } views[] = {{VK_F9, LV_VIEW_ICON}, {VK_F10, LV_VIEW_SMALLICON}, {VK_F11, LV_VIEW_LIST}, {VK_F12, LV_VIEW_DETAILS}};
    for (const auto& view : views) {
        BringToFront(m_listWindow);
        PressKey(view.key);
        EXPECT_TRUE(WaitUntil([&] { return list.Remote().View() == view.view; }, 5000)) << view.key;
    }

    // Sorting by size: a click on the size heading.
    RECT heading;
    ASSERT_TRUE(list.Remote().ColumnHeadingRect(1, heading));
    PostClick(list.Remote().Heading(), POINT{(heading.left + heading.right) / 2, (heading.top + heading.bottom) / 2});
    std::vector<int64_t> sizes;
    EXPECT_TRUE(WaitUntil([&] {
        sizes.clear();
        for (const std::string& name : list.Remote().Texts())
            if (FileExists(m_folder + "\\" + name))
                sizes.push_back(FileSize(m_folder + "\\" + name));
        return sizes.size() == m_files.size() && std::is_sorted(sizes.begin(), sizes.end());
    }, 5000)) << Joined(list.Remote().Texts());
    KeepScreenshot("03-details-by-size");
    EXPECT_TRUE(m_run->CloseWithinLimit());
}

TEST_F(BrowseSession, RenameCopyByDragAndDeleteThroughTheListAndTheWatcherSeesANewFile)
{
    ASSERT_TRUE(StartWithDrawingPicked());
    ListOnScreen list(m_listWindow);

    // Rename: F2, the new name, Enter.
    PressKey(VK_F2);
    ASSERT_TRUE(WaitUntil([&] { return FindChild(m_listWindow, "Edit") != NULL; }, 5000));
    TypeText("site_R12.dxf");
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(m_folder + "\\site_R12.dxf"); }, 5000));
    EXPECT_FALSE(FileExists(m_folder + "\\plan_R12.dxf"));
    EXPECT_TRUE(WaitUntil([&] { return list.Remote().Find("site_R12.dxf") >= 0; }, 5000));

    // A drag (Ctrl held for a copy) of a file onto the sub-folder in the
    // tree: the file is there, and the list shows the source while it is
    // still on disk.
    HWND treeWindow = FindChild(m_frame, kTreeClass, kTreeId);
    ASSERT_NE(nullptr, treeWindow);
    RemoteTreeView tree(treeWindow);
    HTREEITEM sub = NULL;
    ASSERT_TRUE(WaitUntil([&] { return (sub = tree.ChildLabelled(tree.Selection(), "子目录")) != NULL; }, 5000))
        << tree.Label(tree.Selection());
    RECT target, source;
    ASSERT_TRUE(tree.ItemRect(sub, target));
    int dragged = list.Remote().Find("plan_R2004.dxf");
    ASSERT_TRUE(list.Remote().ItemRect(dragged, source, LVIR_ICON));
    POINT from = {(source.left + source.right) / 2, (source.top + source.bottom) / 2};
    POINT to = {(target.left + target.right) / 2, (target.top + target.bottom) / 2};
    DragFromTo(ScreenPointOf(m_listWindow, from), ScreenPointOf(treeWindow, to), VK_CONTROL);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(m_folder + "\\子目录\\plan_R2004.dxf"); }, 5000));
    EXPECT_TRUE(WaitUntil([&] {
        return FileExists(m_folder + "\\plan_R2004.dxf") == (list.Remote().Find("plan_R2004.dxf") >= 0);
    }, 5000));
    KeepScreenshot("07-dragged");

    // Delete: Del, then yes in the confirmation.
    ASSERT_TRUE(ClickItem(list.Remote(), m_listWindow, "photo.bmp"));
    PressKey(VK_DELETE);
    HWND confirmation = NULL;
    DWORD process = m_run->ProcessId();
    ASSERT_TRUE(WaitUntil([&] { return (confirmation = FindTopLevel(process, "#32770")) != NULL; }, 5000));
    KeepScreenshot("07-delete-confirmation");
    BringToFront(confirmation);
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(m_folder + "\\photo.bmp"); }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return list.Remote().Find("photo.bmp") < 0; }, 5000));

    // A file another process makes appears in the list.
    ASSERT_TRUE(CopyFileA((m_folder + "\\photo.png").c_str(), (m_folder + "\\新照片.png").c_str(), TRUE));
    EXPECT_TRUE(WaitUntil([&] { return list.Remote().Find("新照片.png") >= 0; }, 5000));
    KeepScreenshot("07-watcher");
    EXPECT_TRUE(m_run->CloseWithinLimit());
}

TEST_F(BrowseSession, ExitKeepsTheFolderLayoutAndBookmarksAndTheNextStartRestoresThem)
{
    std::string sub = m_folder + "\\子目录";
    {
        Session first(m_folder);
        HWND frame = ShowFrame(first);
        ASSERT_NE(nullptr, frame);
        HWND listWindow = FindChild(frame, kListClass);
        RemoteListView list(listWindow);
        ASSERT_TRUE(WaitUntil([&] { return list.Find("plan_R12.dxf") >= 0; }, 20000));

        // The sub-folder opened from the list, then bookmarked with the
        // path box's add button.
        ASSERT_TRUE(ClickItem(list, listWindow, "子目录"));
        RECT icon;
        ASSERT_TRUE(list.ItemRect(list.Find("子目录"), icon, LVIR_ICON));
        POINT folderPoint = ScreenPointOf(listWindow, POINT{(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2});
        // A double click whose clicks the loaded machine delivered too far
        // apart for one is made again while the folder is still listed.
        bool opened = false;
        for (int attempt = 0; attempt < 3 && !opened; ++attempt) {
            if (list.Find("子目录") >= 0)
                DoubleClickAt(folderPoint);
            opened = WaitUntil([&] { return list.Find("详图.dxf") >= 0 && list.Count() == 1; }, 5000);
        }
        ASSERT_TRUE(opened);
        HWND addButton = FindChild(frame, "Button", kAddBookmarkId);
        ASSERT_NE(nullptr, addButton);
        RECT client;
        GetClientRect(addButton, &client);
        PostClick(addButton, POINT{client.right / 2, client.bottom / 2});
        HWND pathBox = FindChild(frame, "ComboBox");
        ASSERT_TRUE(WaitUntil([&] { return SendMessageA(pathBox, CB_GETCOUNT, 0, 0) == 1; }, 5000));

        ASSERT_TRUE(ChooseInterfaceStyle(first, 3));
        KeepScreenshot("08-before-exit");
        ASSERT_TRUE(first.CloseWithinLimit());
    }
    std::string text;
    EXPECT_TRUE(ReadRegistryText("main", "LastViewPath", text));
    EXPECT_EQ(0, lstrcmpiA(sub.c_str(), text.c_str())) << text;
    EXPECT_TRUE(ReadRegistryText("TypedDirs", "TypedDir0", text));
    EXPECT_EQ(0, lstrcmpiA(sub.c_str(), text.c_str())) << text;
    EXPECT_TRUE(RegistryValueExists("Bar State-Summary", "Bars"));

    // Started from the desktop, without a folder.
    Session second("");
    HWND frame = second.Frame();
    ASSERT_NE(nullptr, frame);
    RemoteListView list(FindChild(frame, kListClass));
    EXPECT_TRUE(WaitUntil([&] { return list.Find("详图.dxf") >= 0 && list.Count() == 1; }, 20000));
    HWND pathBox = FindChild(frame, "ComboBox");
    EXPECT_EQ(1, (int)SendMessageA(pathBox, CB_GETCOUNT, 0, 0));
    // Style 3: both bars in one row above the list.
    RECT tree = ScreenRectOf(BarHolding(frame, kTreeBarId, FindChild(frame, kTreeClass, kTreeId)));
    RECT preview = ScreenRectOf(BarHolding(frame, kPreviewBarId, FindChild(frame, "Static", kPreviewPaneId)));
    RECT listRect = ScreenRectOf(FindChild(frame, kListClass));
    EXPECT_EQ(tree.top, preview.top);
    EXPECT_LT(tree.right, preview.left + 4);
    EXPECT_LE(tree.bottom, listRect.top);
    KeepScreenshot("08-restored");
    EXPECT_TRUE(second.CloseWithinLimit());
}
