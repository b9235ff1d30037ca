#include "tests/toolkit/dragdrop/test_file_controls.h"

#include "tests/support/message_log.h"

namespace {

bool IsFolder(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void SendMouse(DWORD flags, POINT at)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

void SendKeys(const std::vector<WORD>& keys, DWORD flags)
{
    for (WORD key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flags;
        SendInput(1, &input, sizeof(input));
    }
}

}  // namespace

POINT ScreenPointOf(HWND window, POINT client)
{
    ClientToScreen(window, &client);
    return client;
}

bool CTestHostWindow::CreateAt(int x, int y, int width, int height)
{
    return CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0, LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1)),
                    "drag test", WS_POPUP | WS_VISIBLE | WS_BORDER, x, y, width, height, nullptr, nullptr);
}

bool CTestFileList::CreateIn(CWnd* parent, const std::string& folder)
{
    m_folder = folder;
    CRect client;
    parent->GetClientRect(&client);
    if (!Create(WS_CHILD | WS_VISIBLE | LVS_LIST | LVS_SHOWSELALWAYS, client, parent, 100))
        return false;
    Fill();
    return true;
}

void CTestFileList::Fill()
{
    DeleteAllItems();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((m_folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    int index = 0;
    do {
        if (strcmp(found.cFileName, ".") && strcmp(found.cFileName, ".."))
            InsertItem(index++, found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

int CTestFileList::FindItem(const char* name) const
{
    LVFINDINFOA find = {};
    find.flags = LVFI_STRING;
    find.psz = name;
    return (int)SendMessage(LVM_FINDITEMA, (WPARAM)-1, (LPARAM)&find);
}

CString CTestFileList::GetItemPath(int index)
{
    return CString((m_folder + "\\").c_str()) + GetItemText(index, 0);
}

BOOL CTestFileList::CanDropAt(CWnd*, int x, int y)
{
    int item = HitTest(CPoint(x, y));
    return item < 0 || IsFolder(std::string(GetItemPath(item)));
}

bool CTestFolderTree::CreateIn(CWnd* parent)
{
    CRect client;
    parent->GetClientRect(&client);
    return Create(WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_SHOWSELALWAYS, client, parent, 101);
}

HTREEITEM CTestFolderTree::AddFolder(const std::string& path)
{
    m_paths.push_back(path);
    HTREEITEM item = InsertItem(path.substr(path.rfind('\\') + 1).c_str(), 0, 0);
    SetItemData(item, m_paths.size() - 1);
    return item;
}

bool CTestFolderTree::GetItemFolderPath(HTREEITEM item, CString& path, bool& isFolder)
{
    isFolder = false;
    if (!item)
        return false;
    std::string folder = m_paths[GetItemData(item)];
    isFolder = IsFolder(folder) && !(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_READONLY);
    path = folder.c_str();
    return isFolder;
}

bool CTestFolderTree::GetSelectedFolderPath(CString& path)
{
    bool isFolder = false;
    return GetItemFolderPath(GetSelectedItem(), path, isFolder);
}

bool CTestFolderTree::GetDropTargetFolderPath(CString& path)
{
    bool isFolder = false;
    return GetItemFolderPath(GetDropHilightItem(), path, isFolder);
}

BOOL CTestFolderTree::CanDropAt(CWnd*, int x, int y)
{
    CString path;
    bool isFolder = false;
    return GetItemFolderPath(HitTest(CPoint(x, y)), path, isFolder);
}

CMouseDrag::CMouseDrag(POINT from, POINT to, std::vector<WORD> keys, bool rightButton)
    : m_from(from), m_to(to), m_keys(keys), m_rightButton(rightButton)
{
}

CMouseDrag::~CMouseDrag()
{
    if (m_thread) {
        WaitForSingleObject(m_thread, 5000);
        CloseHandle(m_thread);
    }
}

DWORD WINAPI CMouseDrag::Run(void* self)
{
    CMouseDrag* drag = (CMouseDrag*)self;
    SendMouse(0, drag->m_from);
    Sleep(100);
    SendMouse(drag->m_rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, drag->m_from);
    Sleep(100);
    const int steps = 12;
    for (int step = 1; step <= steps; ++step) {
        POINT at = {drag->m_from.x + (drag->m_to.x - drag->m_from.x) * step / steps,
                    drag->m_from.y + (drag->m_to.y - drag->m_from.y) * step / steps};
        SendMouse(0, at);
        Sleep(60);
    }
    Sleep(300);
    // The keys go down over the target: they would change the selection
    // at the press.
    SendKeys(drag->m_keys, 0);
    drag->m_keysHeld = true;
    Sleep(300);
    SendMouse(0, drag->m_to);
    Sleep(200);
    SendMouse(drag->m_rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, drag->m_to);
    Sleep(100);
    drag->m_keysHeld = false;
    SendKeys(drag->m_keys, KEYEVENTF_KEYUP);
    return 0;
}

namespace {
// The drag being played on this thread, for its timer.
CMouseDrag* g_playing = nullptr;
}  // namespace

VOID CALLBACK CMouseDrag::KeepKeysDown(HWND, UINT, UINT_PTR, DWORD)
{
    if (!g_playing || !g_playing->m_keysHeld)
        return;
    BYTE state[256];
    if (!GetKeyboardState(state))
        return;
    for (WORD key : g_playing->m_keys)
        state[key] |= 0x80;
    SetKeyboardState(state);
}

bool CMouseDrag::Play(DWORD timeoutMs)
{
    g_playing = this;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, &CMouseDrag::KeepKeysDown);
    m_thread = CreateThread(nullptr, 0, &CMouseDrag::Run, this, 0, nullptr);
    DWORD start = GetTickCount();
    bool played = true;
    while (WaitForSingleObject(m_thread, 0) == WAIT_TIMEOUT) {
        if (GetTickCount() - start > timeoutMs) {
            played = false;
            break;
        }
        testwin::PumpMessages(20);
    }
    KillTimer(nullptr, timer);
    g_playing = nullptr;
    if (played)
        testwin::PumpMessages(300);
    return played;
}
