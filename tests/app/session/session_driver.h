// The real program driven as a user drives it: harbeck.exe in its own
// process on the virtual display, started on a scratch copy of the folder
// of drawings and photos made for the session, input a user's keyboard and
// mouse make, and what the user would see read back from the windows (in
// the other process), the screen, the registry and the disk.
#pragma once
#include "tests/support/gtest.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/support/program_run.h"

namespace session {

const DWORD kExitLimitMs = 6000;

// The folder the build made (Win32 path); tests never change it.
std::string MadeFolder();
// A new scratch copy of the made folder (sub-folders included); empty when
// the copy failed.
std::string ScratchCopyOfMadeFolder();

// One screenshot per step, kept as "<build>/tests/app/session/screenshots/<step>.bmp".
void KeepScreenshot(const std::string& step);

// Values under the program's registry root ("<root><subkey>").
bool RegistryValueExists(const std::string& subkey, const char* name);
bool SetRegistryText(const std::string& subkey, const char* name, const std::string& text);
bool SetRegistryDword(const std::string& subkey, const char* name, DWORD value);
bool ReadRegistryText(const std::string& subkey, const char* name, std::string& text);
bool ReadRegistryDword(const std::string& subkey, const char* name, DWORD& value);
// The names of the values of a key; empty when the key is missing.
std::vector<std::string> RegistryValueNames(const std::string& subkey);

// Waits until the condition holds, pumping this thread's messages; false
// after timeoutMs.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(30);
    }
}

// Windows of the other process.
// The first descendant of parent with the window class (any when empty)
// and the control id (any when -1), searched depth first; null when none.
HWND FindChild(HWND parent, const char* className, int id = -1);
// Every visible descendant with the class.
std::vector<HWND> FindChildren(HWND parent, const char* className);
// A visible top-level window of the process other than skip, with the class
// (any when empty); null when none.
// With a caption, only a window of that caption.
HWND FindTopLevel(DWORD processId, const char* className, HWND skip = NULL, const char* caption = NULL);
// Texts are in the ANSI code page, as the tests' own literals.
std::string WindowTextOf(HWND window);
// The centre of a window's client rectangle, or a client point, in screen
// coordinates.
POINT ScreenPointOf(HWND window, POINT client);

// Input through the system's input queue (SendInput): it reaches the
// foreground window as a user's does. The pointer moves in small steps.
void MoveMouseTo(POINT screen);
void ClickAt(POINT screen);
void DoubleClickAt(POINT screen);
void RightClickAt(POINT screen);
// Presses at from, moves to to in steps, releases; with heldKey (VK_CONTROL,
// VK_SHIFT) held down once the drag has begun until after the release.
void DragFromTo(POINT from, POINT to, WORD heldKey = 0);
void PressKey(WORD virtualKey);
void PressKeyWith(WORD modifier, WORD virtualKey);
// Types the text as Unicode key strokes.
void TypeText(const std::string& text);
// Brings a window of the other process to the front; true when it is there.
bool BringToFront(HWND window);

// Input posted to one window of the other process, as its message queue
// would receive it from the keyboard and mouse.
void PostClick(HWND window, POINT client);
void PostDoubleClick(HWND window, POINT client);
// Presses the left (or middle) button at from, moves to to in steps with
// it held, releases.
void PostDrag(HWND window, POINT from, POINT to, bool middleButton = false);
// Turns the wheel by notches (positive away from the user) over a client point.
void PostWheel(HWND window, POINT client, int notches);
void PostKey(HWND window, WORD virtualKey);
void PostChars(HWND window, const std::string& text);
// The command a menu item, toolbar button or accelerator sends its frame.
void PostCommand(HWND frame, UINT commandId);

// A list view of the other process read through memory shared with it.
class RemoteListView {
public:
    explicit RemoteListView(HWND list);
    ~RemoteListView();
    RemoteListView(const RemoteListView&) = delete;
    RemoteListView& operator=(const RemoteListView&) = delete;

    bool Usable() const { return m_buffer != NULL; }
    int Count() const;
    std::string Text(int item, int column = 0) const;
    // Every item's text of the column, in the list's order.
    std::vector<std::string> Texts(int column = 0) const;
    // The item with the text in column 0; -1 when none.
    int Find(const std::string& text) const;
    // A part of the item's rectangle (LVIR_LABEL, LVIR_ICON, ...) in the
    // list's client coordinates.
    bool ItemRect(int item, RECT& rect, int part = LVIR_LABEL) const;
    // The rectangle of a column's heading in the report view, in the
    // heading's client coordinates, and the heading window.
    bool ColumnHeadingRect(int column, RECT& rect) const;
    HWND Heading() const;
    std::vector<int> Selected() const;
    DWORD View() const;

private:
    HWND m_list;
    HANDLE m_process = NULL;
    void* m_buffer = NULL;
};

// A tab control's tab rectangle in its client coordinates, read through
// memory shared with its process.
bool TabItemRect(HWND tabs, int item, RECT& rect);

// A status bar pane's text, read through memory shared with its process.
std::string StatusPaneText(HWND statusBar, int pane);
int StatusPaneCount(HWND statusBar);

// A tree view item of the other process found by its path of labels from
// the roots; null when not there.
class RemoteTreeView {
public:
    explicit RemoteTreeView(HWND tree);
    ~RemoteTreeView();
    RemoteTreeView(const RemoteTreeView&) = delete;
    RemoteTreeView& operator=(const RemoteTreeView&) = delete;

    bool Usable() const { return m_buffer != NULL; }
    std::string Label(HTREEITEM item) const;
    HTREEITEM Selection() const;
    HTREEITEM FirstChild(HTREEITEM parent) const;
    HTREEITEM NextSibling(HTREEITEM item) const;
    // The child of parent (a root when null) whose label is text; null when none.
    HTREEITEM ChildLabelled(HTREEITEM parent, const std::string& text) const;
    bool ItemRect(HTREEITEM item, RECT& rect) const;

private:
    HWND m_tree;
    HANDLE m_process = NULL;
    void* m_buffer = NULL;
};

// The program started on a folder, as the README's run command starts it
// on a folder.
class Session : public testprog::ProgramRun {
public:
    // An empty folder starts it without one, as a start from the desktop.
    explicit Session(const std::string& folder);

    // The browse frame once shown (cached); null when it did not show.
    HWND Frame(DWORD timeoutMs = 30000);
    DWORD ProcessId() const;
    // The user closes the browser with the frame's close box; true when the
    // program has ended within the limit and reported success.
    bool CloseWithinLimit();

private:
    HWND m_frame = NULL;
};

// A test over a scratch copy of the made folder, with the program's
// registry root cleared before it.
class SessionTest : public ::testing::Test {
protected:
    void SetUp() override;
    // The scratch copy (Win32 path).
    std::string m_folder;
};

}  // namespace session
