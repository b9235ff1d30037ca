#include "tests/support/gtest.h"

#include <string>
#include <vector>

#include "core/file_utils.h"
#include "core/folder_dialog.h"
#include "core/res_string.h"
#include "resources/resource.h"
#include "tests/support/test_files.h"
#include "tests/support/thread_windows.h"

namespace {

struct DialogPress {
    WORD button;
    DWORD dialogThread;
    HANDLE returned;  // set once the dialog call has returned
    bool found;
};

// Presses button on the dialog thread's folder dialog whenever it is shown,
// until the dialog call has returned: a press that arrives while the dialog
// is still starting up may be lost. A dialog still there after two minutes
// has its modal loop ended, so the test fails instead of hanging.
DWORD WINAPI PressWhenShown(void* data)
{
    DialogPress* press = (DialogPress*)data;
    for (int tries = 0; tries < 400; ++tries) {
        HWND dialog = testwin::FindVisibleThreadWindow(press->dialogThread, "#32770");
        if (dialog) {
            press->found = true;
            PostMessageA(dialog, WM_COMMAND, press->button, 0);
        }
        if (WaitForSingleObject(press->returned, 300) == WAIT_OBJECT_0)
            return 0;
    }
    PostThreadMessageA(press->dialogThread, WM_QUIT, 0, 0);
    return 0;
}

// A new folder on drive C: (the dialog enumerates drive Z:, the whole
// Unix tree, slowly).
std::string MakeTempFolder()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string folder = testfiles::MakeScratchFolder("browse");
    folder = std::string(temp) + folder.substr(folder.rfind('\\') + 1);
    CreateDirectoryA(folder.c_str(), NULL);
    return folder;
}

bool RunDialog(WORD button, CString& path)
{
    DialogPress press = {button, GetCurrentThreadId(), CreateEventA(NULL, TRUE, FALSE, NULL), false};
    HANDLE thread = CreateThread(NULL, 0, PressWhenShown, &press, 0, NULL);
    bool chosen = BrowseForFolder(NULL, "Choose", path);
    SetEvent(press.returned);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(press.returned);
    EXPECT_TRUE(press.found);
    return chosen;
}

// Wine's dialog does not move its selection to the start folder, so OK
// gives whichever folder it shows; what the callback asks for is tested
// on its own below.
TEST(FolderDialogTest, OkReturnsAFolder)
{
    std::string folder = MakeTempFolder();
    CString path(folder.c_str());
    EXPECT_TRUE(RunDialog(IDOK, path));
    EXPECT_FALSE(path.IsEmpty());
    EXPECT_TRUE(DirectoryExists(path));
    RemoveDirectoryA(folder.c_str());
}

TEST(FolderDialogTest, CancelKeepsACheckedPath)
{
    std::string folder = MakeTempFolder();
    CString path(folder.c_str());
    EXPECT_FALSE(RunDialog(IDCANCEL, path));
    EXPECT_STREQ(folder.c_str(), path);

    path = (folder + "\\missing").c_str();
    EXPECT_FALSE(RunDialog(IDCANCEL, path));
    EXPECT_STREQ("", path);
    RemoveDirectoryA(folder.c_str());
}

// Records the dialog messages the callback sends.
struct Recorded {
    UINT message;
    WPARAM wParam;
    std::string text;
};
std::vector<Recorded> g_recorded;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == BFFM_SETSELECTIONA || message == BFFM_SETSTATUSTEXTA) {
        g_recorded.push_back({message, wParam, (const char*)lParam});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(FolderDialogTest, TheCallbackSelectsTheStartFolderAndShowsPaths)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "HarbeckBrowseRecorder";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("HarbeckBrowseRecorder", "", 0, 0, 0, 10, 10, NULL, NULL,
                                windowClass.hInstance, NULL);
    ASSERT_NE((HWND)NULL, window);
    g_recorded.clear();

    EXPECT_EQ(0, BrowseFolderCallback(window, BFFM_INITIALIZED, 0, (LPARAM) "C:\\windows"));
    ASSERT_EQ(2u, g_recorded.size());
    EXPECT_EQ((UINT)BFFM_SETSELECTIONA, g_recorded[0].message);
    EXPECT_EQ((WPARAM)TRUE, g_recorded[0].wParam);
    EXPECT_EQ("C:\\windows", g_recorded[0].text);
    EXPECT_EQ((UINT)BFFM_SETSTATUSTEXTA, g_recorded[1].message);

    g_recorded.clear();
    BrowseFolderCallback(window, BFFM_INITIALIZED, 0, (LPARAM) "");
    EXPECT_TRUE(g_recorded.empty());

    LPITEMIDLIST item = NULL;
    ASSERT_TRUE(SUCCEEDED(SHParseDisplayName(L"C:\\windows", NULL, &item, 0, NULL)));
    BrowseFolderCallback(window, BFFM_SELCHANGED, (LPARAM)item, 0);
    CoTaskMemFree(item);
    ASSERT_EQ(1u, g_recorded.size());
    EXPECT_EQ((UINT)BFFM_SETSTATUSTEXTA, g_recorded[0].message);
    EXPECT_STRCASEEQ("C:\\windows", g_recorded[0].text.c_str());
    DestroyWindow(window);
}

TEST(ResStringTest, StringTableEntries)
{
    EXPECT_STREQ("Harbeck 图纸浏览器", LoadResString(IDS_APP_TITLE));
    EXPECT_STREQ("", LoadResString(65000));
}

}  // namespace
