// The open and save dialogs are the system's file dialogs: the chosen path
// comes back, and the save dialog lets its caller rewrite the typed name
// when the user chooses another filter.
#include "tests/support/gtest.h"

#include <string>
#include <vector>

#include "platform/zrui/zrui.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_files.h"

using testwin::Click;
using testwin::DialogScript;
using testwin::GetText;
using testwin::SetText;

namespace {

const char kOpenFilter[] = "所有图形文件(*.dwg,*.dxf)|*.dwg;*.dxf|DXF type(*.dxf)|*.dxf||";
const char kSaveFilter[] =
    "AutoCAD 2004 drawing(*.dwg)|*.dwg|AutoCAD 2000 drawing(*.dwg)|*.dwg|AutoCAD R14 drawing(*.dwg)|*.dwg|"
    "AutoCAD R12 drawing(*.dwg)|*.dwg|AutoCAD 2004 dxf(*.dxf)|*.dxf|AutoCAD 2000 dxf(*.dxf)|*.dxf|"
    "AutoCAD R14 dxf(*.dxf)|*.dxf|AutoCAD R12 dxf(*.dxf)|*.dxf||";
// The system dialogs' file-name box and list of file types.
const int kFileNameBox = 0x47c;
const int kFileTypeList = 0x470;

struct Rewrites {
    std::vector<int> indexes;
    std::vector<std::string> names;
};

// As the save command does: the typed name gets the chosen format's extension.
int RewriteExtension(void* context, int filterIndex, char* name)
{
    Rewrites* rewrites = (Rewrites*)context;
    rewrites->indexes.push_back(filterIndex);
    rewrites->names.push_back(name);
    std::string renamed(name);
    size_t dot = renamed.rfind('.');
    if (dot != std::string::npos)
        renamed.erase(dot);
    renamed += filterIndex <= 4 ? ".dwg" : ".dxf";
    lstrcpynA(name, renamed.c_str(), MAX_PATH);
    return 0;
}

}  // namespace

TEST(ZrUIFileDialogs, TheOpenDialogGivesTheChosenPathAndCancelGivesNothing)
{
    std::string file = testfiles::MakeScratchFolder("zrui_open") + "\\平面图.dxf";
    ASSERT_TRUE(testfiles::WriteFileBytes(file, "0\nEOF\n"));
    DialogScript script;
    script
        .Then("打开",
              [&](HWND dialog) {
                  testwin::SavePictureIfAsked(dialog, "open_dialog.bmp");
                  SetText(dialog, kFileNameBox, file.c_str());
                  Click(dialog, IDOK);
              })
        .Then("打开", [](HWND dialog) { Click(dialog, IDCANCEL); });
    script.Start();
    CString path = "unchanged";
    EXPECT_EQ(1, ZrUI::showDwgOpenDialog(1, nullptr, nullptr, 0x1004, kOpenFilter, nullptr, path));
    EXPECT_STREQ(file.c_str(), path);
    path = "unchanged";
    EXPECT_EQ(0, ZrUI::showDwgOpenDialog(1, nullptr, nullptr, 0x1004, kOpenFilter, nullptr, path));
    EXPECT_STREQ("unchanged", path);
    EXPECT_TRUE(script.Finished());
}

TEST(ZrUIFileDialogs, TheSaveDialogCallsBackOnAFilterChangeAndShowsTheRewrittenName)
{
    std::string folder = testfiles::MakeScratchFolder("zrui_save");
    std::string shown;
    DialogScript script;
    script
        .Then("另存为",
              [&](HWND dialog) {
                  testwin::SavePictureIfAsked(dialog, "save_dialog.bmp");
                  shown = GetText(dialog, kFileNameBox);
                  HWND types = GetDlgItem(dialog, kFileTypeList);
                  shown += "," + std::to_string(SendMessageA(types, CB_GETCURSEL, 0, 0));
                  SendMessageA(types, CB_SETCURSEL, 5, 0);
                  // What a choice in the list tells the dialog.
                  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeList, CBN_SELCHANGE), (LPARAM)types);
                  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeList, CBN_SELENDOK), (LPARAM)types);
              })
        .Then("另存为", [&](HWND dialog) {
            std::string renamed = GetText(dialog, kFileNameBox);
            shown += "," + renamed;
            SetText(dialog, kFileNameBox, (folder + "\\" + renamed).c_str());
            Click(dialog, IDOK);
        });
    script.Start();
    Rewrites rewrites;
    int chosen = 0;
    CString path;
    EXPECT_EQ(1, ZrUI::showDwgSaveDialog(0, nullptr, "drawing.dwg", 2, kSaveFilter, nullptr, &rewrites,
                                         RewriteExtension, 3, chosen, path));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ("drawing.dwg,2,drawing.dxf", shown);
    EXPECT_EQ(std::vector<int>{6}, rewrites.indexes);
    EXPECT_EQ(std::vector<std::string>{"drawing.dwg"}, rewrites.names);
    EXPECT_EQ(6, chosen);
    EXPECT_STREQ((folder + "\\drawing.dxf").c_str(), path);
}
