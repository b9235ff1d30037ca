// The search-path dialog edits the drawing library's search paths: added,
// moved and removed folders reach the library on OK and are kept in the
// library's registry key for the next start. The host CAD program's support
// folders, which the library also searches, are not the dialog's.
#include "tests/support/gtest.h"

#include <string>

#include "platform/zrio/zrio.h"
#include "platform/zrui/zrui.h"
#include "resources/zrui_ids.h"
#include "tests/support/dialog_script.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_files.h"

using testwin::Click;
using testwin::DialogScript;
using testwin::SetText;

namespace {

std::string SearchPaths()
{
    char paths[1024] = "";
    DWG_GetUserSearchDirectories(paths, sizeof(paths));
    return paths;
}

}  // namespace

TEST(ZrUISearchPaths, FoldersAreAddedMovedAndRemovedAndKeptForTheNextStart)
{
    RegistrySandbox sandbox;
    ASSERT_TRUE(sandbox.IsActive());
    ZrUI::initZrUI("Software\\Pellmoor\\Harbeck\\", "Harbeck", 0, 7);
    std::string fonts = testfiles::MakeScratchFolder("zrui_fonts");
    DWG_SetUserSearchDirectories("C:\\windows; C:\\windows\\system32");
    DWG_SetSearchDirectories("C:\\acad\\support");
    int listed = 0;
    DialogScript script;
    script
        .Then("资源文件搜索路径",
              [&](HWND dialog) {
                  testwin::SavePictureIfAsked(dialog, "search_paths.bmp");
                  listed = (int)SendDlgItemMessageA(dialog, IDC_ZRUI_SEARCH_LIST, LB_GETCOUNT, 0, 0);
                  SetText(dialog, IDC_ZRUI_SEARCH_FOLDER, fonts.c_str());
                  Click(dialog, IDC_ZRUI_SEARCH_ADD);
              })
        .Then("资源文件搜索路径",
              [&](HWND dialog) {
                  // The new folder (third) moves up one ...
                  Click(dialog, IDC_ZRUI_SEARCH_UP);
              })
        .Then("资源文件搜索路径",
              [&](HWND dialog) {
                  // ... and the first goes.
                  SendDlgItemMessageA(dialog, IDC_ZRUI_SEARCH_LIST, LB_SETCURSEL, 0, 0);
                  Click(dialog, IDC_ZRUI_SEARCH_REMOVE);
                  SetText(dialog, IDC_ZRUI_SEARCH_FOLDER, "C:\\no such folder");
                  Click(dialog, IDC_ZRUI_SEARCH_ADD);
              })
        .Then("资源文件搜索路径",
              [](HWND box) {
                  // The message that the folder is missing.
                  if (!GetDlgItem(box, IDC_ZRUI_SEARCH_LIST))
                      Click(box, IDOK);
              })
        .Then("资源文件搜索路径", [](HWND dialog) { Click(dialog, IDOK); });
    script.Start();
    EXPECT_EQ(1, ZrUI::showSearchManager(nullptr));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(2, listed);
    std::string expected = fonts + ";C:\\windows\\system32";
    EXPECT_EQ(expected, SearchPaths());
    char support[64] = "";
    DWG_GetSearchDirectories(support, sizeof(support));
    EXPECT_STREQ("C:\\acad\\support", support);

    DWG_SetUserSearchDirectories("");
    ZrUI::releaseZrUI();
    ZrUI::initZrUI("Software\\Pellmoor\\Harbeck\\", "Harbeck", 0, 7);
    EXPECT_EQ(expected, SearchPaths());
    ZrUI::releaseZrUI();
    DWG_SetUserSearchDirectories("");
    DWG_SetSearchDirectories("");
}

TEST(ZrUISearchPaths, CancelChangesNothing)
{
    DWG_SetUserSearchDirectories("C:\\windows");
    DialogScript script;
    script.Then("资源文件搜索路径", [](HWND dialog) {
        Click(dialog, IDC_ZRUI_SEARCH_REMOVE);
        Click(dialog, IDCANCEL);
    });
    script.Start();
    EXPECT_EQ(0, ZrUI::showSearchManager(nullptr));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ("C:\\windows", SearchPaths());
    DWG_SetUserSearchDirectories("");
}
