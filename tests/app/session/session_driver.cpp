#include "tests/app/session/session_driver.h"

#include <commctrl.h>

#include "core/registry_root.h"
#include "tests/support/test_files.h"
#include "tests/toolkit/common/window_capture.h"

namespace session {

namespace {

const SIZE_T kRemoteBufferBytes = 8192;
const DWORD kStepPauseMs = 15;

std::vector<WCHAR> Widen(const std::string& text)
{
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, NULL, 0);
    std::vector<WCHAR> wide(length > 0 ? length : 1, 0);
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    return wide;
}

std::string Narrow(const WCHAR* text)
{
    int length = WideCharToMultiByte(CP_ACP, 0, text, -1, NULL, 0, NULL, NULL);
    if (length <= 1)
        return std::string();
    std::string narrow(length - 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], length, NULL, NULL);
    return narrow;
}

bool CopyFolder(const std::string& from, const std::string& to)
{
    if (!CreateDirectoryA(to.c_str(), NULL) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool copied = true;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        std::string source = from + "\\" + name;
        std::string target = to + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            copied = CopyFolder(source, target) && copied;
        else
            copied = CopyFileA(source.c_str(), target.c_str(), TRUE) && copied;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return copied;
}

std::string RegistryPath(const std::string& subkey)
{
    return std::string(HARBECK_REGISTRY_ROOT) + subkey;
}

void SendInputs(INPUT* inputs, UINT count)
{
    SendInput(count, inputs, sizeof(INPUT));
    Sleep(kStepPauseMs);
}

void MouseButton(DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInputs(&input, 1);
}

void Key(WORD virtualKey, bool down)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInputs(&input, 1);
}

struct ChildSearch {
    const char* className;
    int id;
    bool visibleOnly;
    std::vector<HWND> found;
};

bool HasClass(HWND window, const char* className)
{
    if (className == NULL || className[0] == '\0')
        return true;
    char name[128] = "";
    GetClassNameA(window, name, sizeof(name));
    return lstrcmpiA(name, className) == 0;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM parameter)
{
    ChildSearch* search = (ChildSearch*)parameter;
    if (search->visibleOnly && !IsWindowVisible(window))
        return TRUE;
    if (HasClass(window, search->className) &&
        (search->id == -1 || GetDlgCtrlID(window) == search->id))
        search->found.push_back(window);
    return TRUE;
}

struct TopLevelSearch {
    DWORD processId;
    const char* className;
    HWND skip;
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindTopLevelWindow(HWND window, LPARAM parameter)
{
    TopLevelSearch* search = (TopLevelSearch*)parameter;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || window == search->skip || !IsWindowVisible(window) ||
        !HasClass(window, search->className) ||
        (search->caption != NULL && WindowTextOf(window) != search->caption))
        return TRUE;
    search->found = window;
    return FALSE;
}

// Memory in the process that owns a window, for messages whose parameters
// point at structures.
bool OpenRemoteBuffer(HWND window, HANDLE& process, void*& buffer)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process == NULL)
        return false;
    buffer = VirtualAllocEx(process, NULL, kRemoteBufferBytes, MEM_COMMIT, PAGE_READWRITE);
    return buffer != NULL;
}

void CloseRemoteBuffer(HANDLE process, void* buffer)
{
    if (buffer != NULL)
        VirtualFreeEx(process, buffer, 0, MEM_RELEASE);
    if (process != NULL)
        CloseHandle(process);
}

bool WriteRemote(HANDLE process, void* at, const void* bytes, SIZE_T size)
{
    SIZE_T written = 0;
    return WriteProcessMemory(process, at, bytes, size, &written) && written == size;
}

bool ReadRemote(HANDLE process, const void* at, void* bytes, SIZE_T size)
{
    SIZE_T read = 0;
    return ReadProcessMemory(process, at, bytes, size, &read) && read == size;
}

// The UTF-16 text the other process wrote at its buffer's offset.
std::string ReadRemoteText(HANDLE process, const char* at, int characters)
{
    std::vector<WCHAR> text(characters + 1, 0);
    if (!ReadRemote(process, at, text.data(), characters * sizeof(WCHAR)))
        return std::string();
    return Narrow(text.data());
}

const int kRemoteTextCharacters = 1024;
const SIZE_T kRemoteTextOffset = 4096;

}  // namespace

std::string MadeFolder()
{
    return testfiles::ToWinePath(SESSION_FOLDER);
}

std::string ScratchCopyOfMadeFolder()
{
    std::string folder = testfiles::MakeScratchFolder("session");
    if (folder.empty() || !CopyFolder(MadeFolder(), folder))
        return std::string();
    return folder;
}

void KeepScreenshot(const std::string& step)
{
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    std::string folder = testfiles::ToWinePath(testfiles::BinaryDir() + "/tests/app/session/screenshots");
    testwin::ScreenPicture::OfScreen(screen).SaveIn(folder, step);
}

bool RegistryValueExists(const std::string& subkey, const char* name)
{
    return RegGetValueA(HKEY_CURRENT_USER, RegistryPath(subkey).c_str(), name, RRF_RT_ANY, NULL, NULL,
                        NULL) == ERROR_SUCCESS;
}

bool SetRegistryText(const std::string& subkey, const char* name, const std::string& text)
{
    return RegSetKeyValueA(HKEY_CURRENT_USER, RegistryPath(subkey).c_str(), name, REG_SZ, text.c_str(),
                           (DWORD)text.size() + 1) == ERROR_SUCCESS;
}

bool SetRegistryDword(const std::string& subkey, const char* name, DWORD value)
{
    return RegSetKeyValueA(HKEY_CURRENT_USER, RegistryPath(subkey).c_str(), name, REG_DWORD, &value,
                           sizeof(value)) == ERROR_SUCCESS;
}

bool ReadRegistryText(const std::string& subkey, const char* name, std::string& text)
{
    char value[4096] = "";
    DWORD size = sizeof(value);
    if (RegGetValueA(HKEY_CURRENT_USER, RegistryPath(subkey).c_str(), name, RRF_RT_REG_SZ, NULL, value,
                     &size) != ERROR_SUCCESS)
        return false;
    text = value;
    return true;
}

bool ReadRegistryDword(const std::string& subkey, const char* name, DWORD& value)
{
    DWORD size = sizeof(value);
    return RegGetValueA(HKEY_CURRENT_USER, RegistryPath(subkey).c_str(), name, RRF_RT_REG_DWORD, NULL,
                        &value, &size) == ERROR_SUCCESS;
}

std::vector<std::string> RegistryValueNames(const std::string& subkey)
{
    std::vector<std::string> names;
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RegistryPath(subkey).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD length = sizeof(name);
        if (RegEnumValueA(key, index, name, &length, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    RegCloseKey(key);
    return names;
}

HWND FindChild(HWND parent, const char* className, int id)
{
    ChildSearch search = {className, id, false, {}};
    EnumChildWindows(parent, CollectChild, (LPARAM)&search);
    return search.found.empty() ? NULL : search.found.front();
}

std::vector<HWND> FindChildren(HWND parent, const char* className)
{
    ChildSearch search = {className, -1, true, {}};
    EnumChildWindows(parent, CollectChild, (LPARAM)&search);
    return search.found;
}

HWND FindTopLevel(DWORD processId, const char* className, HWND skip, const char* caption)
{
    TopLevelSearch search = {processId, className, skip, caption, NULL};
    EnumWindows(FindTopLevelWindow, (LPARAM)&search);
    return search.found;
}

std::string WindowTextOf(HWND window)
{
    WCHAR text[512] = {0};
    GetWindowTextW(window, text, 512);
    return Narrow(text);
}

POINT ScreenPointOf(HWND window, POINT client)
{
    ClientToScreen(window, &client);
    return client;
}

void MoveMouseTo(POINT screen)
{
    POINT now;
    GetCursorPos(&now);
    const int steps = 6;
    for (int step = 1; step <= steps; ++step) {
        SetCursorPos(now.x + (screen.x - now.x) * step / steps, now.y + (screen.y - now.y) * step / steps);
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = MOUSEEVENTF_MOVE;
        SendInputs(&input, 1);
    }
}

void ClickAt(POINT screen)
{
    MoveMouseTo(screen);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
}

void DoubleClickAt(POINT screen)
{
    ClickAt(screen);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
}

void RightClickAt(POINT screen)
{
    MoveMouseTo(screen);
    MouseButton(MOUSEEVENTF_RIGHTDOWN);
    MouseButton(MOUSEEVENTF_RIGHTUP);
}

void DragFromTo(POINT from, POINT to, WORD heldKey)
{
    MoveMouseTo(from);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    // Past the drag threshold first, then slowly over the target.
    POINT start = {from.x + 12, from.y + 6};
    MoveMouseTo(start);
    Sleep(100);
    if (heldKey != 0)
        Key(heldKey, true);
    MoveMouseTo(to);
    Sleep(200);
    POINT settle = {to.x + 1, to.y};
    MoveMouseTo(settle);
    Sleep(200);
    MouseButton(MOUSEEVENTF_LEFTUP);
    if (heldKey != 0)
        Key(heldKey, false);
}

void PressKey(WORD virtualKey)
{
    Key(virtualKey, true);
    Key(virtualKey, false);
}

void PressKeyWith(WORD modifier, WORD virtualKey)
{
    Key(modifier, true);
    PressKey(virtualKey);
    Key(modifier, false);
}

void TypeText(const std::string& text)
{
    std::vector<WCHAR> wide = Widen(text);
    for (size_t index = 0; wide[index] != 0; ++index) {
        WCHAR character = wide[index];
        INPUT inputs[2] = {};
        for (INPUT& input : inputs) {
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = character;
            input.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        SendInputs(inputs, 2);
    }
}

bool BringToFront(HWND window)
{
    HWND top = GetAncestor(window, GA_ROOT);
    SetForegroundWindow(top);
    return WaitUntil([top] { return GetForegroundWindow() == top; }, 2000);
}

void PostClick(HWND window, POINT client)
{
    LPARAM at = MAKELPARAM(client.x, client.y);
    PostMessageA(window, WM_MOUSEMOVE, 0, at);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
}

void PostDoubleClick(HWND window, POINT client)
{
    PostClick(window, client);
    LPARAM at = MAKELPARAM(client.x, client.y);
    PostMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
}

void PostDrag(HWND window, POINT from, POINT to, bool middleButton)
{
    UINT down = middleButton ? WM_MBUTTONDOWN : WM_LBUTTONDOWN;
    UINT up = middleButton ? WM_MBUTTONUP : WM_LBUTTONUP;
    WPARAM held = middleButton ? MK_MBUTTON : MK_LBUTTON;
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(from.x, from.y));
    PostMessageA(window, down, held, MAKELPARAM(from.x, from.y));
    const int steps = 8;
    for (int step = 1; step <= steps; ++step) {
        int x = from.x + (to.x - from.x) * step / steps;
        int y = from.y + (to.y - from.y) * step / steps;
        PostMessageA(window, WM_MOUSEMOVE, held, MAKELPARAM(x, y));
    }
    PostMessageA(window, up, 0, MAKELPARAM(to.x, to.y));
}

void PostWheel(HWND window, POINT client, int notches)
{
    POINT screen = ScreenPointOf(window, client);
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    PostMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, notches * WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
}

void PostKey(HWND window, WORD virtualKey)
{
    UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageA(window, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    PostMessageA(window, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
}

void PostChars(HWND window, const std::string& text)
{
    std::vector<WCHAR> wide = Widen(text);
    for (size_t index = 0; wide[index] != 0; ++index)
        PostMessageW(window, WM_CHAR, wide[index], 1);
}

void PostCommand(HWND frame, UINT commandId)
{
    PostMessageA(frame, WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
}

RemoteListView::RemoteListView(HWND list) : m_list(list)
{
    if (!OpenRemoteBuffer(list, m_process, m_buffer))
        m_buffer = NULL;
}

RemoteListView::~RemoteListView()
{
    CloseRemoteBuffer(m_process, m_buffer);
}

int RemoteListView::Count() const
{
    return (int)SendMessageW(m_list, LVM_GETITEMCOUNT, 0, 0);
}

std::string RemoteListView::Text(int item, int column) const
{
    if (m_buffer == NULL)
        return std::string();
    char* remote = (char*)m_buffer;
    LVITEMW request = {};
    request.mask = LVIF_TEXT;
    request.iSubItem = column;
    request.pszText = (LPWSTR)(remote + kRemoteTextOffset);
    request.cchTextMax = kRemoteTextCharacters;
    if (!WriteRemote(m_process, remote, &request, sizeof(request)))
        return std::string();
    int length = (int)SendMessageW(m_list, LVM_GETITEMTEXTW, item, (LPARAM)remote);
    if (length <= 0)
        return std::string();
    return ReadRemoteText(m_process, remote + kRemoteTextOffset, length);
}

std::vector<std::string> RemoteListView::Texts(int column) const
{
    std::vector<std::string> texts;
    int count = Count();
    for (int item = 0; item < count; ++item)
        texts.push_back(Text(item, column));
    return texts;
}

int RemoteListView::Find(const std::string& text) const
{
    int count = Count();
    for (int item = 0; item < count; ++item)
        if (Text(item, 0) == text)
            return item;
    return -1;
}

bool RemoteListView::ItemRect(int item, RECT& rect, int part) const
{
    if (m_buffer == NULL)
        return false;
    RECT request = {part, 0, 0, 0};
    if (!WriteRemote(m_process, m_buffer, &request, sizeof(request)) ||
        !SendMessageW(m_list, LVM_GETITEMRECT, item, (LPARAM)m_buffer))
        return false;
    return ReadRemote(m_process, m_buffer, &rect, sizeof(rect));
}

HWND RemoteListView::Heading() const
{
    return (HWND)SendMessageW(m_list, LVM_GETHEADER, 0, 0);
}

bool RemoteListView::ColumnHeadingRect(int column, RECT& rect) const
{
    HWND heading = Heading();
    if (m_buffer == NULL || heading == NULL || !SendMessageW(heading, HDM_GETITEMRECT, column, (LPARAM)m_buffer))
        return false;
    return ReadRemote(m_process, m_buffer, &rect, sizeof(rect));
}

std::vector<int> RemoteListView::Selected() const
{
    std::vector<int> items;
    int item = -1;
    while ((item = (int)SendMessageW(m_list, LVM_GETNEXTITEM, item, LVNI_SELECTED)) != -1)
        items.push_back(item);
    return items;
}

DWORD RemoteListView::View() const
{
    return (DWORD)SendMessageW(m_list, LVM_GETVIEW, 0, 0);
}

bool TabItemRect(HWND tabs, int item, RECT& rect)
{
    HANDLE process = NULL;
    void* buffer = NULL;
    bool read = OpenRemoteBuffer(tabs, process, buffer) &&
                SendMessageW(tabs, TCM_GETITEMRECT, item, (LPARAM)buffer) &&
                ReadRemote(process, buffer, &rect, sizeof(rect));
    CloseRemoteBuffer(process, buffer);
    return read;
}

std::string StatusPaneText(HWND statusBar, int pane)
{
    HANDLE process = NULL;
    void* buffer = NULL;
    std::string text;
    if (OpenRemoteBuffer(statusBar, process, buffer)) {
        DWORD length = LOWORD(SendMessageW(statusBar, SB_GETTEXTLENGTHW, pane, 0));
        if (length > 0 && length < kRemoteTextCharacters) {
            SendMessageW(statusBar, SB_GETTEXTW, pane, (LPARAM)buffer);
            text = ReadRemoteText(process, (const char*)buffer, (int)length);
        }
    }
    CloseRemoteBuffer(process, buffer);
    return text;
}

int StatusPaneCount(HWND statusBar)
{
    return (int)SendMessageW(statusBar, SB_GETPARTS, 0, 0);
}

RemoteTreeView::RemoteTreeView(HWND tree) : m_tree(tree)
{
    if (!OpenRemoteBuffer(tree, m_process, m_buffer))
        m_buffer = NULL;
}

RemoteTreeView::~RemoteTreeView()
{
    CloseRemoteBuffer(m_process, m_buffer);
}

std::string RemoteTreeView::Label(HTREEITEM item) const
{
    if (m_buffer == NULL || item == NULL)
        return std::string();
    char* remote = (char*)m_buffer;
    TVITEMW request = {};
    request.mask = TVIF_TEXT | TVIF_HANDLE;
    request.hItem = item;
    request.pszText = (LPWSTR)(remote + kRemoteTextOffset);
    request.cchTextMax = kRemoteTextCharacters;
    if (!WriteRemote(m_process, remote, &request, sizeof(request)) ||
        !SendMessageW(m_tree, TVM_GETITEMW, 0, (LPARAM)remote))
        return std::string();
    return ReadRemoteText(m_process, remote + kRemoteTextOffset, kRemoteTextCharacters - 1);
}

HTREEITEM RemoteTreeView::Selection() const
{
    return (HTREEITEM)SendMessageW(m_tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
}

HTREEITEM RemoteTreeView::FirstChild(HTREEITEM parent) const
{
    if (parent == NULL)
        return (HTREEITEM)SendMessageW(m_tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    return (HTREEITEM)SendMessageW(m_tree, TVM_GETNEXTITEM, TVGN_CHILD, (LPARAM)parent);
}

HTREEITEM RemoteTreeView::NextSibling(HTREEITEM item) const
{
    return (HTREEITEM)SendMessageW(m_tree, TVM_GETNEXTITEM, TVGN_NEXT, (LPARAM)item);
}

HTREEITEM RemoteTreeView::ChildLabelled(HTREEITEM parent, const std::string& text) const
{
    for (HTREEITEM item = FirstChild(parent); item != NULL; item = NextSibling(item))
        if (Label(item) == text)
            return item;
    return NULL;
}

bool RemoteTreeView::ItemRect(HTREEITEM item, RECT& rect) const
{
    if (m_buffer == NULL)
        return false;
    // The item goes in, its text's rectangle comes out.
    if (!WriteRemote(m_process, m_buffer, &item, sizeof(item)) ||
        !SendMessageW(m_tree, TVM_GETITEMRECT, TRUE, (LPARAM)m_buffer))
        return false;
    return ReadRemote(m_process, m_buffer, &rect, sizeof(rect));
}

Session::Session(const std::string& folder)
    : testprog::ProgramRun("app/harbeck.exe.so", folder.empty() ? std::string() : "/b \"" + folder + "\"")
{
}

HWND Session::Frame(DWORD timeoutMs)
{
    if (m_frame == NULL || !IsWindow(m_frame))
        m_frame = WaitForFrame(timeoutMs);
    return m_frame;
}

DWORD Session::ProcessId() const
{
    DWORD processId = 0;
    if (m_frame != NULL)
        GetWindowThreadProcessId(m_frame, &processId);
    return processId;
}

bool Session::CloseWithinLimit()
{
    if (m_frame == NULL)
        return false;
    PostMessageA(m_frame, WM_SYSCOMMAND, SC_CLOSE, 0);
    return Ended(kExitLimitMs) && ExitCode() == 0;
}

void SessionTest::SetUp()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, HARBECK_REGISTRY_KEY);
    m_folder = ScratchCopyOfMadeFolder();
    ASSERT_FALSE(m_folder.empty());
}

}  // namespace session
