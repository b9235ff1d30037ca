// The view frame's Save As, raster export and printing over the square
// drawing: saved DXF files read back by ezdxf, exported pictures by
// ImageMagick, printed pages (the prefix's PostScript printer) rendered by
// Ghostscript; the print window picked with the mouse.
#include "tests/views/viewer/viewer_harness.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>

#include "core/registry_root.h"
#include "platform/classlib/regkey.h"
#include "platform/zrio/zrio.h"
#include "platform/zrui/zrui.h"
#include "resources/views_ids.h"
#include "resources/zrui_ids.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_files.h"
#include "tests/support/unix_tools.h"
#include "views/common/idle_use.h"
#include "views/common/view_state.h"

using testwin::DialogScript;
using testwin::GetText;
using testwin::SetText;
using viewtest::ViewerTest;

namespace {

const int kFileNameBox = 0x47c;
const int kFileTypeList = 0x470;
const int kMessageBoxText = 0xffff;

// What a shell command prints, without the last line break.
std::string OutputOf(const std::string& command)
{
    std::string out = testfiles::MakeScratchFolder("output") + "\\out.txt";
    if (codectest::RunUnixProgram(command + " > " + codectest::UnixPath(out)) != 0)
        return "failed: " + command;
    std::string text;
    testfiles::ReadFileBytes(out, text);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

// The average red, green and blue (0-255) of a box of a picture file.
void AverageOfBox(const std::string& file, int x, int y, int size, int rgb[3])
{
    std::string text =
        OutputOf("/usr/bin/convert " + codectest::UnixPath(file) + " -crop " + std::to_string(size) + "x" +
                 std::to_string(size) + "+" + std::to_string(x) + "+" + std::to_string(y) +
                 " +repage -scale 1x1! -format '%[fx:int(255*r)] %[fx:int(255*g)] "
                 "%[fx:int(255*b)]' info:");
    rgb[0] = rgb[1] = rgb[2] = -1;
    sscanf(text.c_str(), "%d %d %d", &rgb[0], &rgb[1], &rgb[2]);
}

// The box (left, top, width, height) of the pixels near the colour
// (ImageMagick's colour name).
RECT BoxOfColour(const std::string& file, const char* colour)
{
    std::string text =
        OutputOf("/usr/bin/convert " + codectest::UnixPath(file) + " -fuzz 30% -fill white +opaque " +
                 colour + " -trim -format '%X %Y %w %h' info:");
    int x = 0, y = 0, w = 0, h = 0;
    sscanf(text.c_str(), "%d %d %d %d", &x, &y, &w, &h);
    return {x, y, x + w, y + h};
}

DWORD StoredVectorFormat()
{
    CRegKey key;
    DWORD value = 0;
    if (key.Open(HKEY_CURRENT_USER, HARBECK_REGISTRY_ROOT "ViewWindow", KEY_READ) == ERROR_SUCCESS)
        key.QueryDWORDValue("VectorFormat", value);
    return value;
}

// Chooses a filter of the save dialog as the user's choice in its list does.
void ChooseFileType(HWND dialog, int filterIndex)
{
    HWND types = GetDlgItem(dialog, kFileTypeList);
    SendMessageA(types, CB_SETCURSEL, filterIndex - 1, 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeList, CBN_SELCHANGE), (LPARAM)types);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeList, CBN_SELENDOK), (LPARAM)types);
}

void Check(HWND dialog, int id, bool on)
{
    if ((IsDlgButtonChecked(dialog, id) == BST_CHECKED) != on)
        testwin::Click(dialog, id);
}

class PrintSaveTest : public ViewerTest {
protected:
    // The prefix's printers are in its own hives, which the private ones
    // would hide; the remembered formats start afresh.
    void SetUp() override
    {
        ViewerTest::SetUp();
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, NULL);
        RegOverridePredefKey(HKEY_CURRENT_USER, NULL);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, HARBECK_REGISTRY_ROOT "ViewWindow", "VectorFormat");
    }

    // Save As with the filter chosen and the name typed.
    bool SaveAs(int filterIndex, const std::string& typedName)
    {
        DialogScript script;
        script.Then("另存为", [=](HWND dialog) { ChooseFileType(dialog, filterIndex); })
            .Then("另存为", [=](HWND dialog) {
                SetText(dialog, kFileNameBox, typedName.c_str());
                testwin::Click(dialog, IDOK);
            });
        script.Start();
        Command(ID_VIEW_SAVE_AS);
        return script.Finished();
    }

    // The print manager set to print the whole view fitted and centred, in
    // the colour mode and orientation given.
    static void SetUpPrint(HWND dialog, int colourButton, bool landscape, bool toFile)
    {
        Check(dialog, landscape ? IDC_ZRUI_LANDSCAPE : IDC_ZRUI_PORTRAIT, true);
        Check(dialog, IDC_ZRUI_FIT, true);
        Check(dialog, IDC_ZRUI_CENTER, true);
        Check(dialog, colourButton, true);
        Check(dialog, IDC_ZRUI_PRINT_TO_FILE, toFile);
    }

    std::string m_folder = testfiles::MakeScratchFolder("print_save");
};

}  // namespace

TEST_F(PrintSaveTest, SaveAsWritesEachDxfVersionUnderTheChosenFiltersExtension)
{
    ASSERT_TRUE(Open("square.dxf"));
    std::string checker = std::string(VIEWER_TEST_SOURCES) + "/check_saved_dxf.py";
    std::string source = codectest::UnixPath(drawtest::Fixture("square.dxf"));
    const struct {
        int filterIndex;
        const char* version;
    } versions[] = {{5, "AC1018"}, {6, "AC1015"}, {7, "AC1014"}, {8, "AC1009"}};
    for (const auto& version : versions) {
        std::string stem = m_folder + "\\copy" + std::to_string(version.filterIndex);
        // A name typed with the wrong extension gets the filter's.
        ASSERT_TRUE(SaveAs(version.filterIndex, stem + ".dwg"));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((stem + ".dwg").c_str()));
        EXPECT_EQ(0, codectest::RunUnixProgram("/usr/bin/python3 " + checker + " " +
                                               codectest::UnixPath(stem + ".dxf") + " " + source + " " +
                                               version.version))
            << version.version;
    }
    EXPECT_EQ(8u, StoredVectorFormat());
    // The R12 choice comes back as DXF 2000.
    int shown = -1;
    DialogScript reopened;
    reopened.Then("另存为", [&](HWND dialog) {
        shown = (int)SendDlgItemMessageA(dialog, kFileTypeList, CB_GETCURSEL, 0, 0);
        testwin::Click(dialog, IDCANCEL);
    });
    reopened.Start();
    Command(ID_VIEW_SAVE_AS);
    EXPECT_TRUE(reopened.Finished());
    EXPECT_EQ(5, shown);
}

TEST_F(PrintSaveTest, AFailedSaveIsShownToTheUserAndWritesNothing)
{
    ASSERT_TRUE(Open("square.dxf"));
    std::string target = m_folder + "\\copy.dwg";
    std::string message;
    DialogScript script;
    script.Then("另存为", [](HWND dialog) { ChooseFileType(dialog, 2); })
        .Then("另存为",
              [&](HWND dialog) {
                  SetText(dialog, kFileNameBox, target.c_str());
                  testwin::Click(dialog, IDOK);
              })
        .Then(nullptr, [&](HWND box) {
            message = GetText(box, kMessageBoxText);
            testwin::Click(box, IDOK);
        });
    script.Start();
    Command(ID_VIEW_SAVE_AS);
    EXPECT_TRUE(script.Finished());
    EXPECT_NE(std::string::npos, message.find("文件没有保存成功")) << message;
    EXPECT_NE(std::string::npos, message.find(target)) << message;
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(target.c_str()));
    EXPECT_EQ(2u, StoredVectorFormat());
}

// The square (0, 0)-(100, 100) in a window of 400 x 300 drawing units from
// (-150, -100), on an 800 x 600 page: two pixels a unit, its left side at
// x = 300, its top at row 200.
TEST_F(PrintSaveTest, RasterExportsAreWhitePagesOfTheTypeTheirNamesSay)
{
    ASSERT_TRUE(Open("square.dxf"));
    ASSERT_NE(RGB(255, 255, 255), DrawingBackgroundColour());
    const ZrUI::PrintWindow window = {{-150, -100, 0}, {250, 200, 0}, 400, 300};
    const struct {
        const char* name;
        short colourMode;
        const char* type;
    } exports[] = {{"page.jpg", 0, "JPEG"},  {"page.bmp", 0, "BMP3"}, {"page.tif", 0, "TIFF"},
                   {"page.TIFF", 0, "TIFF"}, {"page.png", 0, "PNG"},  {"page.gif", 0, "GIF"},
                   {"mono.bmp", 2, "BMP3"}};
    CIdleUse use(m_thread);
    for (const auto& test : exports) {
        std::string path = m_folder + "\\" + test.name;
        EXPECT_TRUE(m_frame->PrintToFile(&window, 1.0, test.colourMode, 0, 0, 0, 800, 600, path.c_str()));
        EXPECT_EQ(DrawingBackgroundColour(), DWG_GetBackgroundColor());
        EXPECT_EQ(std::string(test.type) + " 800 600",
                  OutputOf("/usr/bin/identify -format '%m %w %h' " + codectest::UnixPath(path)))
            << test.name;
        int margin[3], inside[3], leftSide[3];
        AverageOfBox(path, 20, 20, 5, margin);
        AverageOfBox(path, 380, 280, 9, inside);
        AverageOfBox(path, 296, 296, 9, leftSide);
        EXPECT_GT(margin[1], 245) << test.name;
        EXPECT_GT(inside[1], 245) << test.name;
        EXPECT_LT(leftSide[1], 240) << test.name;
        if (test.colourMode == 0) {
            EXPECT_GT(leftSide[0], 230) << test.name;
        }
    }
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(m_folder + "\\mono.bmp", bytes));
    ASSERT_GT(bytes.size(), 30u);
    EXPECT_EQ(1, (unsigned char)bytes[28] | (unsigned char)bytes[29] << 8);
    // A failed write gives the screen its background back too.
    std::string missing = m_folder + "\\missing\\page.png";
    EXPECT_FALSE(m_frame->PrintToFile(&window, 1.0, 0, 0, 0, 0, 800, 600, missing.c_str()));
    EXPECT_EQ(DrawingBackgroundColour(), DWG_GetBackgroundColor());
}

// The square's box on the screen, the pick a little larger around it; the
// export maps the picked window onto the printer's paper.
TEST_F(PrintSaveTest, APrintWindowPickedWithTheMouseIsWhatTheExportShows)
{
    ASSERT_TRUE(Open("square.dxf"));
    Command(ID_VIEW_ZOOM_ALL);
    RECT square;
    ASSERT_GT(Foreground(&square), 100);
    DialogScript pick;
    pick.Then("打印", [](HWND dialog) { testwin::Click(dialog, IDC_ZRUI_PICK_WINDOW); });
    pick.Start();
    Command(ID_VIEW_PRINT);
    ASSERT_TRUE(pick.Finished());
    ASSERT_TRUE(View()->m_printPick);
    const int margin = 20;
    POINT from = {square.left - margin, square.top - margin};
    POINT to = {square.right + margin, square.bottom + margin};
    Drag(WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, from, to);
    ASSERT_TRUE(View()->m_printRectComplete);

    std::string path = m_folder + "\\picked.png";
    bool windowChosen = false;
    DialogScript print;
    print
        .Then("打印",
              [&](HWND dialog) {
                  windowChosen = IsDlgButtonChecked(dialog, IDC_ZRUI_AREA_WINDOW) == BST_CHECKED;
                  SetUpPrint(dialog, IDC_ZRUI_COLOR_MODE_COLOR, false, true);
                  testwin::Click(dialog, IDOK);
              })
        .Then(nullptr, [&](HWND dialog) {
            SetText(dialog, kFileNameBox, path.c_str());
            testwin::Click(dialog, IDOK);
        });
    print.Start();
    // A double click inside the rectangle ends the pick.
    Click(WM_LBUTTONDBLCLK, WM_LBUTTONUP, MK_LBUTTON, {(from.x + to.x) / 2, (from.y + to.y) / 2});
    EXPECT_TRUE(print.Finished());
    EXPECT_TRUE(windowChosen);
    EXPECT_FALSE(View()->m_printPick);

    int pageWidth = 0, pageHeight = 0;
    std::string size = OutputOf("/usr/bin/identify -format '%w %h' " + codectest::UnixPath(path));
    ASSERT_EQ(2, sscanf(size.c_str(), "%d %d", &pageWidth, &pageHeight)) << size;
    double squarePixels = square.right - square.left;
    double pickWidth = to.x - from.x, pickHeight = to.y - from.y;
    double expected = std::min(pageWidth * squarePixels / pickWidth, pageHeight * squarePixels / pickHeight);
    RECT red = BoxOfColour(path, "red");
    EXPECT_NEAR(expected, red.right - red.left, expected * 0.03);
    EXPECT_NEAR(expected, red.bottom - red.top, expected * 0.03);
    EXPECT_NEAR(pageWidth / 2, (red.left + red.right) / 2, pageWidth * 0.02);
}

// Printed on the prefix's PostScript printer, whose FILE: port Wine writes
// into a file of that name in the current folder; Ghostscript renders it.
TEST_F(PrintSaveTest, PrintsTheViewOnThePrinterInTheColourModeAndTurnChosen)
{
    ASSERT_TRUE(Open("square.dxf"));
    Command(ID_VIEW_ZOOM_ALL);
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, folder);
    std::string printed = codectest::UnixPath(folder) + "/FILE:";
    const struct {
        int colourButton;
        bool landscape;
    } prints[] = {{IDC_ZRUI_COLOR_MODE_COLOR, false},
                  {IDC_ZRUI_COLOR_MODE_MONO, false},
                  {IDC_ZRUI_COLOR_MODE_COLOR, true}};
    std::string pages[3];
    for (int i = 0; i < 3; ++i) {
        codectest::RunUnixProgram("/bin/rm -f '" + printed + "'");
        DialogScript script;
        script.Then("打印", [&](HWND dialog) {
            SetUpPrint(dialog, prints[i].colourButton, prints[i].landscape, false);
            testwin::Click(dialog, IDOK);
        });
        script.Start();
        Command(ID_VIEW_PRINT);
        EXPECT_TRUE(script.Finished());
        pages[i] = m_folder + "\\print" + std::to_string(i) + ".png";
        ASSERT_EQ(0,
                  codectest::RunUnixProgram("/usr/bin/gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r50 "
                                            "-sOutputFile=" +
                                            codectest::UnixPath(pages[i]) + " '" + printed + "'"));
    }
    codectest::RunUnixProgram("/bin/rm -f '" + printed + "'");
    int pageWidth = 0, pageHeight = 0;
    std::string size = OutputOf("/usr/bin/identify -format '%w %h' " + codectest::UnixPath(pages[0]));
    ASSERT_EQ(2, sscanf(size.c_str(), "%d %d", &pageWidth, &pageHeight)) << size;
    // Upright in colour: the square centred across the page, its diagonal
    // from the lower left to the upper right.
    RECT upright = BoxOfColour(pages[0], "red");
    int side = upright.right - upright.left;
    ASSERT_GT(side, 20);
    EXPECT_NEAR(side, upright.bottom - upright.top, 2);
    EXPECT_NEAR(pageWidth / 2, (upright.left + upright.right) / 2, 3);
    int onDiagonal[3], offDiagonal[3];
    AverageOfBox(pages[0], upright.left + side / 4 - 3, upright.bottom - side / 4 - 3, 7, onDiagonal);
    AverageOfBox(pages[0], upright.left + side / 4 - 3, upright.top + side / 4 - 3, 7, offDiagonal);
    EXPECT_LT(onDiagonal[0], 245);
    EXPECT_GT(offDiagonal[0], 250);
    // In black: nothing red, black lines where the square was.
    RECT black = BoxOfColour(pages[1], "black");
    EXPECT_LE(BoxOfColour(pages[1], "red").right - BoxOfColour(pages[1], "red").left, 1);
    EXPECT_NEAR(side, black.right - black.left, 2);
    // Turned: the view's width runs down the paper's length, so the square
    // is larger, and its diagonal runs from the upper left to the lower right.
    RECT turned = BoxOfColour(pages[2], "red");
    int turnedSide = turned.right - turned.left;
    EXPECT_GT(turnedSide, side * 11 / 10);
    AverageOfBox(pages[2], turned.left + turnedSide / 4 - 3, turned.top + turnedSide / 4 - 3, 7, onDiagonal);
    AverageOfBox(pages[2], turned.left + turnedSide / 4 - 3, turned.bottom - turnedSide / 4 - 3, 7,
                 offDiagonal);
    EXPECT_LT(onDiagonal[0], 245);
    EXPECT_GT(offDiagonal[0], 250);
}
