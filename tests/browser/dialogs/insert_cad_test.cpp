// The insertion into AutoCAD against an automation server of this test:
// the dialog's rules, the exact commands typed, and every way it stops.
#include "tests/support/gtest.h"

#include <string>
#include <vector>

#include <windows.h>

#include "browser/dialogs/insert_cad_dlg.h"
#include "browser/dialogs/insert_into_autocad.h"
#include "core/file_types.h"
#include "core/res_string.h"
#include "resources/resource.h"
#include "tests/browser/dialogs/fake_autocad.h"
#include "tests/support/dialog_script.h"

using dialogtest::FakeAutoCAD;
using testwin::DialogScript;
using testwin::GetText;
using testwin::MessageBoxText;
using testwin::Press;
using testwin::SetText;

namespace {

class InsertIntoAutoCADTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        OleInitialize(nullptr);
        DrawingFileType.Build(false);
    }

    static std::string Text(UINT id) { return (const char*)LoadResString(id); }

    // Closes a message box after noting its text.
    DialogScript::Action NoteMessage()
    {
        return [this](HWND box) {
            m_messages.push_back(MessageBoxText(box));
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        };
    }

    std::vector<std::string> m_messages;
};

std::string Insert(const char* path, double x, double y, double scale = 1.0)
{
    char command[2048];
    snprintf(command, sizeof(command), "-insert\n%s\n%f,%f,%f\n%f\n%f\n%f\n", path, x, y, 0.0, scale, scale,
             0.0);
    return command;
}

TEST_F(InsertIntoAutoCADTest, TypesOneInsertPerCopyOnTheGridThenZooms)
{
    FakeAutoCAD autocad;
    ASSERT_TRUE(autocad.Start());
    std::string description;
    std::string summaryAtStart;
    std::string summaryAfter;
    bool columnSpacingAtStart = true;
    DialogScript answers({[&](HWND dialog) {
                              description = GetText(dialog, IDC_INSERT_DESCRIPTION);
                              summaryAtStart = GetText(dialog, IDC_INSERT_SUMMARY);
                              columnSpacingAtStart =
                                  IsWindowEnabled(GetDlgItem(dialog, IDC_INSERT_COLUMN_SPACING));
                              SetText(dialog, IDC_INSERT_COLUMNS, "4");
                              SetText(dialog, IDC_INSERT_COPIES, "3");
                              summaryAfter = GetText(dialog, IDC_INSERT_SUMMARY);
                              Press(dialog, IDC_INSERT_ZOOM_EXTENTS);
                              testwin::SavePictureIfAsked(dialog, "insert_cad.bmp");
                              Press(dialog, IDOK);
                          },
                          NoteMessage()});
    CStringList paths;
    paths.AddTail("C:\\drawings\\a.part.dwg");
    paths.AddTail("C:\\drawings\\notes.txt");  // not a drawing: skipped
    paths.AddTail("C:\\drawings\\b.dxf");
    InsertIntoAutoCAD(paths);

    char expected[256];
    snprintf(expected, sizeof(expected), Text(IDS_INSERT_DESCRIPTION).c_str(), "D:\\plans\\site.dwg");
    EXPECT_EQ(expected, description);
    // Three selected paths count as three files in the dialog.
    snprintf(expected, sizeof(expected), Text(IDS_INSERT_SUMMARY).c_str(), 3, 3);
    EXPECT_EQ(expected, summaryAtStart);
    EXPECT_FALSE(columnSpacingAtStart);
    snprintf(expected, sizeof(expected), Text(IDS_INSERT_SUMMARY).c_str(), 9, 3);
    EXPECT_EQ(expected, summaryAfter);

    std::vector<std::string> sent = {"-osnap\noff\n",
                                     Insert("C:\\drawings\\a.part.dwg", 0, 0),
                                     Insert("a", 100, 0),
                                     Insert("a", 200, 0),
                                     Insert("C:\\drawings\\b.dxf", 300, 0),
                                     Insert("b", 0, 100),
                                     Insert("b", 100, 100),
                                     "_zoom\nE\n"};
    EXPECT_EQ(sent, autocad.commands);
    EXPECT_EQ(std::vector<std::string>{Text(IDS_INSERT_DONE)}, m_messages);
}

TEST_F(InsertIntoAutoCADTest, OneCopyInOneColumnSendsThePathOnceAndStartsRows)
{
    FakeAutoCAD autocad;
    autocad.fullName = "";  // never saved: its name is used
    ASSERT_TRUE(autocad.Start());
    std::string description;
    DialogScript answers({[&](HWND dialog) {
                              description = GetText(dialog, IDC_INSERT_DESCRIPTION);
                              EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_INSERT_ROW_SPACING)));
                              EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_INSERT_COLUMN_SPACING)));
                              SetText(dialog, IDC_INSERT_X_SCALE, "2.5");
                              Press(dialog, IDC_INSERT_UNIFORM_SCALE);
                              EXPECT_EQ("2.5", GetText(dialog, IDC_INSERT_Y_SCALE));
                              EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_INSERT_Y_SCALE)));
                              EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_INSERT_Y_SCALE_LABEL)));
                              // Not checked on OK: the column spacing is unused with one column.
                              SetText(dialog, IDC_INSERT_COLUMN_SPACING, "x");
                              Press(dialog, IDOK);
                          },
                          NoteMessage()});
    // A path longer than a command line buffer still goes whole.
    std::string longPath = "C:\\d\\" + std::string(1100, 'n') + ".dwg";
    CStringList paths;
    paths.AddTail(longPath.c_str());
    paths.AddTail("C:\\d\\two.dwg");
    InsertIntoAutoCAD(paths);

    char expected[256];
    snprintf(expected, sizeof(expected), Text(IDS_INSERT_DESCRIPTION).c_str(), "site.dwg");
    EXPECT_EQ(expected, description);
    std::vector<std::string> sent = {"-osnap\noff\n", Insert(longPath.c_str(), 0, 0, 2.5),
                                     Insert("C:\\d\\two.dwg", 0, 100, 2.5)};
    EXPECT_EQ(sent, autocad.commands);
}

TEST_F(InsertIntoAutoCADTest, BadFieldsAreRefusedOneByOne)
{
    CInsertCADDlg dialog;
    dialog.m_documentName = "x.dwg";
    DialogScript::Action note = NoteMessage();
    DialogScript answers({[&](HWND window) {
                              SetText(window, IDC_INSERT_Y, "-");
                              Press(window, IDOK);
                              SetText(window, IDC_INSERT_Y, "-7");
                              SetText(window, IDC_INSERT_X_SCALE, "0");
                              Press(window, IDOK);
                              SetText(window, IDC_INSERT_X_SCALE, "1");
                              SetText(window, IDC_INSERT_COPIES, "0");
                              Press(window, IDOK);
                              SetText(window, IDC_INSERT_COPIES, "2");
                              SetText(window, IDC_INSERT_ROW_SPACING, "");
                              Press(window, IDOK);
                              SetText(window, IDC_INSERT_ROW_SPACING, "5");
                              Press(window, IDOK);
                          },
                          note, note, note, note});
    ASSERT_EQ(IDOK, dialog.DoModal());

    char scale[256];
    snprintf(scale, sizeof(scale), Text(IDS_INSERT_BAD_SCALE).c_str(), "X", "X");
    char point[256];
    snprintf(point, sizeof(point), Text(IDS_INSERT_BAD_POINT).c_str(), "Y");
    std::vector<std::string> expected = {point, scale, Text(IDS_INSERT_BAD_COPIES),
                                         Text(IDS_INSERT_BAD_ROW_SPACING)};
    EXPECT_EQ(expected, m_messages);
    EXPECT_EQ(-7.0, dialog.m_y);
    EXPECT_EQ(2, dialog.m_copies);
    EXPECT_EQ(5.0, dialog.m_rowSpacing);
}

TEST_F(InsertIntoAutoCADTest, NoAutoCADRunningGivesItsMessageWithoutADialog)
{
    for (bool registered : {false, true}) {
        FakeAutoCAD autocad;
        if (registered) {
            ASSERT_TRUE(autocad.RegisterProgId());
        }
        m_messages.clear();
        DialogScript answers({NoteMessage()});
        CStringList paths;
        paths.AddTail("C:\\d\\one.dwg");
        DWORD start = GetTickCount();
        InsertIntoAutoCAD(paths);
        EXPECT_LT(GetTickCount() - start, 5000u);
        EXPECT_EQ(std::vector<std::string>{Text(IDS_INSERT_NO_AUTOCAD)}, m_messages);
    }
}

TEST_F(InsertIntoAutoCADTest, RefusedCommandsStopTheRunWithTheirMessage)
{
    {
        FakeAutoCAD autocad;
        autocad.hasDocument = false;
        ASSERT_TRUE(autocad.Start());
        DialogScript answers({NoteMessage()});
        CStringList paths;
        paths.AddTail("C:\\d\\one.dwg");
        InsertIntoAutoCAD(paths);
        EXPECT_TRUE(autocad.commands.empty());
    }
    FakeAutoCAD autocad;
    autocad.failFromCommand = 2;
    ASSERT_TRUE(autocad.Start());
    DialogScript answers({[&](HWND dialog) {
                              SetText(dialog, IDC_INSERT_COPIES, "3");
                              Press(dialog, IDC_INSERT_ZOOM_EXTENTS);
                              Press(dialog, IDOK);
                          },
                          NoteMessage()});
    CStringList paths;
    paths.AddTail("C:\\d\\one.dwg");
    InsertIntoAutoCAD(paths);
    // The osnap and the first insert went through; no zoom after the refusal.
    EXPECT_EQ(2u, autocad.commands.size());
    std::vector<std::string> expected = {Text(IDS_INSERT_NO_DOCUMENT), Text(IDS_INSERT_FAILED)};
    EXPECT_EQ(expected, m_messages);
}

}  // namespace
