// The view frame's Save As, raster export and printing over the square
// drawing: saved DXF files read back by ezdxf, exported pictures by
// ImageMagick, printed pages (the prefix's PostScript printer) rendered by
// Ghostscript; the print window picked with the mouse.
#include "tests/views/viewer/viewer_harness.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include <winspool.h>

#include "core/registry_root.h"
#include "graphics/drawing_image_decoder.h"
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

using codectest::OutputOf;
using testwin::DialogScript;
using testwin::GetText;
using testwin::SetText;
using viewtest::ViewerTest;

namespace {

const int kFileNameBox = 0x47c;
const int kFileTypeList = 0x470;
const int kMessageBoxText = 0xffff;

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

// The picture's box on a page: what is not white.
RECT BoxOfPicture(const std::string& file)
{
    std::string text = OutputOf("/usr/bin/convert " + codectest::UnixPath(file) +
                                " -fuzz 8% -trim -format '%X %Y %w %h' info:");
    int x = 0, y = 0, w = 0, h = 0;
    sscanf(text.c_str(), "%d %d %d %d", &x, &y, &w, &h);
    return {x, y, x + w, y + h};
}

// The red, green and blue averages (0-255) of the nine cells of a 3 x 3 grid
// over a picture file, or over the box of it.
std::vector<int> GridColours(const std::string& file, const RECT* box = nullptr)
{
    std::string crop;
    if (box != nullptr)
        crop = " -crop " + std::to_string(box->right - box->left) + "x" +
               std::to_string(box->bottom - box->top) + "+" + std::to_string(box->left) + "+" +
               std::to_string(box->top) + " +repage";
    std::string text = OutputOf("/usr/bin/convert " + codectest::UnixPath(file) + crop +
                                " -resize 3x3! -depth 8 rgb:- | /usr/bin/od -An -tu1 -v");
    std::istringstream numbers(text);
    std::vector<int> colours;
    int value = 0;
    while (numbers >> value)
        colours.push_back(value);
    return colours;
}

// How far two pictures of one size are apart, from 0 (the same) to 1.
double Difference(const std::string& first, const std::string& second)
{
    // ImageMagick leaves a bottom-up TGA file's rows as stored unless asked.
    std::string text =
        OutputOf("/usr/bin/convert " + codectest::UnixPath(first) + " " + codectest::UnixPath(second) +
                 " -auto-orient miff:- | /usr/bin/compare -metric RMSE - " + "null: 2>&1 | /bin/cat");
    size_t open = text.find('(');
    return open == std::string::npos ? 1.0 : atof(text.c_str() + open + 1);
}

// A photograph-like picture of 240 x 160 (ImageMagick's plasma, the same on
// every run).
std::string MakePhoto(const std::string& folder, const char* name)
{
    std::string path = folder + "\\" + name;
    if (codectest::RunUnixProgram(
            "/usr/bin/convert -size 240x160 -seed 7 plasma:orange-navy -blur 0x2 -depth 8 " +
            codectest::UnixPath(path)) != 0)
        return "";
    return path;
}

// The file the prefix's PostScript printer writes: its FILE: port makes a
// file of that name in the current folder.
std::string PrinterOutput()
{
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, folder);
    return codectest::UnixPath(folder) + "/FILE:";
}

// Renders the printed PostScript into a PNG file at the resolution given.
bool RenderPrintedPage(const std::string& page, int dotsPerInch)
{
    return codectest::RunUnixProgram(
               "/usr/bin/gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r" + std::to_string(dotsPerInch) +
               " -sOutputFile=" + codectest::UnixPath(page) + " '" + PrinterOutput() + "'") == 0;
}

void RemovePrinterOutput()
{
    codectest::RunUnixProgram("/bin/rm -f '" + PrinterOutput() + "'");
}

const char kTestPrinter[] = "Harbeck PostScript";

// While it lives, a PostScript printer whose port is a file in a folder
// that does not exist is the default printer and the print manager's: it
// takes a job and fails at its end.
class BrokenPrinterChosen {
public:
    explicit BrokenPrinterChosen(const std::string& folder)
    {
        std::string port = folder + "\\missing\\page.ps";
        PRINTER_INFO_2A info = {};
        info.pPrinterName = (LPSTR)kName;
        info.pPortName = (LPSTR)port.c_str();
        info.pDriverName = (LPSTR) "Wine PostScript Driver";
        info.pPrintProcessor = (LPSTR) "WinPrint";
        info.pDatatype = (LPSTR) "RAW";
        info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
        HANDLE printer = AddPrinterA(NULL, 2, (LPBYTE)&info);
        if (printer != NULL)
            ClosePrinter(printer);
        m_chosen = printer != NULL && SetDefaultPrinterA(kName) &&
                   g_printPenSet.getPrintSetDlg()->SelectPrinter(kName);
    }
    ~BrokenPrinterChosen()
    {
        SetDefaultPrinterA(kTestPrinter);
        g_printPenSet.getPrintSetDlg()->SelectPrinter(kTestPrinter);
        HANDLE printer = NULL;
        PRINTER_DEFAULTSA access = {NULL, NULL, PRINTER_ALL_ACCESS};
        if (OpenPrinterA((LPSTR)kName, &printer, &access)) {
            DeletePrinter(printer);
            ClosePrinter(printer);
        }
    }
    bool IsChosen() const { return m_chosen; }

private:
    static constexpr const char* kName = "Harbeck Broken Port";
    bool m_chosen = false;
};

void SetDword(const char* keyPath, const char* name, DWORD value)
{
    CRegKey key;
    if (key.Create(HKEY_CURRENT_USER, keyPath) == ERROR_SUCCESS)
        key.SetDWORDValue(name, value);
}

DWORD StoredFormat(const char* name)
{
    CRegKey key;
    DWORD value = 0;
    if (key.Open(HKEY_CURRENT_USER, HARBECK_REGISTRY_ROOT "ViewWindow", KEY_READ) == ERROR_SUCCESS)
        key.QueryDWORDValue(name, value);
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

// While it lives, the drawings' images are decoded as the program decodes
// them.
class CImageDecoderRegistered {
public:
    CImageDecoderRegistered() { DWG_SetImageDecoder(DecodeDrawingImage); }
    ~CImageDecoderRegistered() { DWG_SetImageDecoder(NULL); }
    CImageDecoderRegistered(const CImageDecoderRegistered&) = delete;
    CImageDecoderRegistered& operator=(const CImageDecoderRegistered&) = delete;
};

class PrintSaveTest : public ViewerTest {
protected:
    // The prefix's printers are in its own hives, which the private ones
    // would hide; the remembered formats start afresh.
    void SetUp() override
    {
        ViewerTest::SetUp();
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, NULL);
        RegOverridePredefKey(HKEY_CURRENT_USER, NULL);
        // A new prefix has its printer but no default printer.
        SetDefaultPrinterA(kTestPrinter);
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

    // The print command with its first dialog answered by the action, then
    // the message box it shows: the box's text, empty when the dialogs were
    // not as expected.
    std::string PrintAndNoteMessage(const char* caption, DialogScript::Action action)
    {
        std::string message;
        DialogScript script;
        script.Then(caption, action).Then(nullptr, [&](HWND box) {
            message = testwin::MessageBoxText(box);
            testwin::SavePictureIfAsked(box, "print_failed.bmp");
            testwin::Click(box, IDOK);
        });
        script.Start();
        Command(ID_VIEW_PRINT);
        return script.Finished() ? message : "";
    }

    std::string m_folder = testfiles::MakeScratchFolder("print_save");
};

}  // namespace

// The dialog offers only what the drawing library can write: DWG 2004, 2000
// and R14 and the four DXF versions.
TEST_F(PrintSaveTest, SaveAsWritesEachDxfVersionUnderTheChosenFiltersExtension)
{
    ASSERT_TRUE(Open("square.dxf"));
    std::string checker = std::string(VIEWER_TEST_SOURCES) + "/check_saved_dxf.py";
    std::string source = codectest::UnixPath(drawtest::Fixture("square.dxf"));
    const struct {
        int choice;
        DWORD stored;
        const char* version;
    } versions[] = {{4, 5, "AC1018"}, {5, 6, "AC1015"}, {6, 7, "AC1014"}, {7, 8, "AC1009"}};
    for (const auto& version : versions) {
        std::string stem = m_folder + "\\copy" + std::to_string(version.stored);
        // A name typed with the wrong extension gets the filter's.
        ASSERT_TRUE(SaveAs(version.choice, stem + ".dwg"));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((stem + ".dwg").c_str()));
        EXPECT_EQ(0, codectest::RunUnixProgram("/usr/bin/python3 " + checker + " " +
                                               codectest::UnixPath(stem + ".dxf") + " " + source + " " +
                                               version.version))
            << version.version;
        EXPECT_EQ(version.stored, StoredFormat("VectorFormat"));
    }
    // The DWG choices write DWG files of their versions.
    const struct {
        int choice;
        DWORD stored;
        const char* version;
    } drawings[] = {{1, 1, "AC1018"}, {3, 3, "AC1014"}};
    for (const auto& drawing : drawings) {
        std::string stem = m_folder + "\\copy" + std::to_string(drawing.stored);
        ASSERT_TRUE(SaveAs(drawing.choice, stem + ".dxf"));
        std::string bytes;
        ASSERT_TRUE(testfiles::ReadFileBytes(stem + ".dwg", bytes));
        EXPECT_EQ(drawing.version, bytes.substr(0, 6));
        EXPECT_EQ(drawing.stored, StoredFormat("VectorFormat"));
    }
    // Each stored choice opens the dialog on the choice shown: R12 comes back
    // as DXF 2000, the DWG versions written as themselves, one that cannot be
    // written as the DXF of the same version, nothing stored as DWG 2004.
    const struct {
        DWORD stored;
        int shown;
        const char* name;
    } reopenings[] = {{8, 4, "square.dxf"}, {1, 0, "square.dwg"}, {2, 1, "square.dwg"},
                      {3, 2, "square.dwg"}, {4, 6, "square.dxf"}, {0, 0, "square.dwg"}};
    for (const auto& reopening : reopenings) {
        SetDword(HARBECK_REGISTRY_ROOT "ViewWindow", "VectorFormat", reopening.stored);
        int shown = -1, choices = 0;
        std::string name;
        DialogScript reopened;
        reopened.Then("另存为", [&](HWND dialog) {
            shown = (int)SendDlgItemMessageA(dialog, kFileTypeList, CB_GETCURSEL, 0, 0);
            choices = (int)SendDlgItemMessageA(dialog, kFileTypeList, CB_GETCOUNT, 0, 0);
            name = GetText(dialog, kFileNameBox);
            testwin::Click(dialog, IDCANCEL);
        });
        reopened.Start();
        Command(ID_VIEW_SAVE_AS);
        EXPECT_TRUE(reopened.Finished());
        EXPECT_EQ(reopening.shown, shown) << reopening.stored;
        EXPECT_EQ(7, choices);
        EXPECT_EQ(reopening.name, name.substr(name.find_last_of('\\') + 1)) << reopening.stored;
    }
}

// A save that fails says so, with the path and the drawing library's reason.
TEST_F(PrintSaveTest, AFailedSaveIsShownToTheUserWithItsReasonAndWritesNothing)
{
    ASSERT_TRUE(Open("square.dxf"));
    // A folder of the target's name cannot be replaced by the saved file.
    std::string target = m_folder + "\\blocked.dxf";
    ASSERT_TRUE(CreateDirectoryA(target.c_str(), NULL));
    std::string message;
    DialogScript script;
    script.Then("另存为", [](HWND dialog) { ChooseFileType(dialog, 5); })
        .Then("另存为",
              [&](HWND dialog) {
                  SetText(dialog, kFileNameBox, (m_folder + "\\blocked.dwg").c_str());
                  testwin::Click(dialog, IDOK);
              })
        .Then(nullptr, [&](HWND box) {
            message = GetText(box, kMessageBoxText);
            testwin::Click(box, IDOK);
        });
    script.Start();
    Command(ID_VIEW_SAVE_AS);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ("文件没有保存成功:\n" + target + "\n不能替换目标文件", message);
    EXPECT_EQ(std::vector<std::string>(), testfiles::FileNamesIn(m_folder));
    EXPECT_NE(0u, GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(6u, StoredFormat("VectorFormat"));
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

// A wipeout over the square's diagonal, from (25, 25) to (75, 75): in the
// raster export (the window above) it shows the white page, not the
// screen's background, and hides the diagonal, in colour and in black.
TEST_F(PrintSaveTest, RasterExportsShowWipeoutsAsThePage)
{
    ASSERT_TRUE(Open("wipeout_square.dxf"));
    const ZrUI::PrintWindow window = {{-150, -100, 0}, {250, 200, 0}, 400, 300};
    CIdleUse use(m_thread);
    for (short colourMode : {0, 2}) {
        std::string path = m_folder + "\\wipeout" + std::to_string(colourMode) + ".png";
        ASSERT_TRUE(m_frame->PrintToFile(&window, 1.0, colourMode, 0, 0, 0, 800, 600, path.c_str()));
        int wipedOut[3], diagonal[3];
        AverageOfBox(path, 352, 252, 96, wipedOut);
        AverageOfBox(path, 324, 374, 3, diagonal);
        for (int channel = 0; channel < 3; ++channel)
            EXPECT_GT(wipedOut[channel], 250) << "mode " << colourMode << ", channel " << channel;
        EXPECT_LT(diagonal[0], 230) << "mode " << colourMode;
    }
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

// Printed on the prefix's PostScript printer; Ghostscript renders the page.
TEST_F(PrintSaveTest, PrintsTheViewOnThePrinterInTheColourModeAndTurnChosen)
{
    ASSERT_TRUE(Open("square.dxf"));
    Command(ID_VIEW_ZOOM_ALL);
    const struct {
        int colourButton;
        bool landscape;
    } prints[] = {{IDC_ZRUI_COLOR_MODE_COLOR, false},
                  {IDC_ZRUI_COLOR_MODE_MONO, false},
                  {IDC_ZRUI_COLOR_MODE_COLOR, true}};
    std::string pages[3];
    for (int i = 0; i < 3; ++i) {
        RemovePrinterOutput();
        DialogScript script;
        script.Then("打印", [&](HWND dialog) {
            SetUpPrint(dialog, prints[i].colourButton, prints[i].landscape, false);
            testwin::Click(dialog, IDOK);
        });
        script.Start();
        Command(ID_VIEW_PRINT);
        EXPECT_TRUE(script.Finished());
        pages[i] = m_folder + "\\print" + std::to_string(i) + ".png";
        ASSERT_TRUE(RenderPrintedPage(pages[i], 50));
    }
    RemovePrinterOutput();
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

// The square holding an image whose left half is red and right half blue,
// from (0, 0) to (100, 75). In the raster export (the window above: two
// pixels a unit) the image lies where the drawing puts it; printed on a
// turned page it turns with the square around it.
TEST_F(PrintSaveTest, ImagesShowInTheRasterExportAndOnThePrintedPage)
{
    CImageDecoderRegistered decoder;
    ASSERT_TRUE(Open("image_square.dxf"));
    const ZrUI::PrintWindow window = {{-150, -100, 0}, {250, 200, 0}, 400, 300};
    std::string exported = m_folder + "\\image.png";
    {
        CIdleUse use(m_thread);
        ASSERT_TRUE(m_frame->PrintToFile(&window, 1.0, 0, 0, 0, 0, 800, 600, exported.c_str()));
    }
    // The blue half from (50, 0) to (100, 75): columns 400 to 500, rows 250 to 400.
    RECT blue = BoxOfColour(exported, "blue");
    EXPECT_NEAR(400, blue.left, 2);
    EXPECT_NEAR(500, blue.right, 2);
    EXPECT_NEAR(250, blue.top, 2);
    EXPECT_NEAR(400, blue.bottom, 2);
    int red[3], aboveImage[3];
    AverageOfBox(exported, 340, 320, 9, red);
    AverageOfBox(exported, 390, 215, 9, aboveImage);
    EXPECT_GT(red[0], 230);
    EXPECT_LT(red[2], 30);
    EXPECT_GT(aboveImage[2], 245);

    Command(ID_VIEW_ZOOM_ALL);
    RemovePrinterOutput();
    DialogScript script;
    script.Then("打印", [](HWND dialog) {
        SetUpPrint(dialog, IDC_ZRUI_COLOR_MODE_COLOR, true, false);
        testwin::Click(dialog, IDOK);
    });
    script.Start();
    Command(ID_VIEW_PRINT);
    EXPECT_TRUE(script.Finished());
    std::string printed = m_folder + "\\image_print.png";
    ASSERT_TRUE(RenderPrintedPage(printed, 50));
    RemovePrinterOutput();
    // The square's lines and the image's red half; the blue half 75 units
    // by 50 of the square's 100 across the paper, in a corner of the square.
    RECT square = BoxOfColour(printed, "red");
    RECT turned = BoxOfColour(printed, "blue");
    int side = square.right - square.left;
    ASSERT_GT(side, 40);
    EXPECT_NEAR(side * 0.75, turned.right - turned.left, 3);
    EXPECT_NEAR(side * 0.5, turned.bottom - turned.top, 3);
    EXPECT_TRUE(abs(turned.left - square.left) <= 2 || abs(turned.right - square.right) <= 2);
    EXPECT_TRUE(abs(turned.top - square.top) <= 2 || abs(turned.bottom - square.bottom) <= 2);
}

// Save As of a picture in another raster format: each copy reads back in
// ImageMagick as the type its name says, of the same size and pixels (GIF
// and PCX within what 256 colours allow).
TEST_F(PrintSaveTest, SaveAsWritesAPictureInEachRasterFormatItsFilterNames)
{
    std::string photo = MakePhoto(m_folder, "photo.png");
    ASSERT_FALSE(photo.empty());
    ASSERT_TRUE(OpenPath(photo));
    const struct {
        int filterIndex;
        const char* name;
        const char* type;
        double largestDifference;
    } copies[] = {{1, "copy.bmp", "BMP3", 0.001}, {2, "copy.jpg", "JPEG", 0.03},
                  {3, "copy.gif", "GIF", 0.12},   {4, "copy.pcx", "PCX", 0.12},
                  {5, "copy.tif", "TIFF", 0.003}, {6, "copy.png", "PNG", 0.001},
                  {7, "copy.tga", "TGA", 0.001}};
    for (const auto& copy : copies) {
        std::string path = m_folder + "\\" + copy.name;
        ASSERT_TRUE(SaveAs(copy.filterIndex, path)) << copy.name;
        EXPECT_EQ(std::string(copy.type) + " 240 160",
                  OutputOf("/usr/bin/identify -format '%m %w %h' " + codectest::UnixPath(path)))
            << copy.name;
        EXPECT_LT(Difference(photo, path), copy.largestDifference) << copy.name;
        EXPECT_EQ((DWORD)copy.filterIndex, StoredFormat("RasterFormat"));
    }
}

// A photo printed through the printer dialog on the prefix's PostScript
// printer: the page shows it fitted across the printable width, each part
// in its own colours.
TEST_F(PrintSaveTest, PrintsAPhotoFittedOnThePageInItsOwnColours)
{
    std::string photo = MakePhoto(m_folder, "photo.jpg");
    ASSERT_FALSE(photo.empty());
    ASSERT_TRUE(OpenPath(photo));
    RemovePrinterOutput();
    DialogScript printer({[](HWND dialog) { testwin::Click(dialog, IDOK); }});
    Command(ID_VIEW_PRINT);
    ASSERT_TRUE(printer.Finished());
    std::string page = m_folder + "\\photo_page.png";
    const int dotsPerInch = 40;
    ASSERT_TRUE(RenderPrintedPage(page, dotsPerInch));
    RemovePrinterOutput();

    // A4 with a quarter inch unprinted on every side.
    double printableWidth = (595 - 2 * 18) / 72.0 * dotsPerInch;
    RECT box = BoxOfPicture(page);
    int width = box.right - box.left;
    EXPECT_NEAR(printableWidth, width, 3);
    EXPECT_NEAR(width * 160 / 240, box.bottom - box.top, 3);
    EXPECT_NEAR(18 / 72.0 * dotsPerInch, box.left, 2);
    std::vector<int> printed = GridColours(page, &box);
    std::vector<int> source = GridColours(photo);
    ASSERT_EQ(27u, printed.size());
    ASSERT_EQ(27u, source.size());
    for (size_t i = 0; i < source.size(); ++i)
        EXPECT_NEAR(source[i], printed[i], 16) << "cell " << i / 3 << ", channel " << i % 3;
}

// A printer that takes the job and fails at its end: the user is told, the
// drawing keeps its view and colour mode, and nothing counts as printed.
TEST_F(PrintSaveTest, AFailedPrintIsShownAndLeavesTheViewAsItWas)
{
    ASSERT_TRUE(Open("square.dxf"));
    Command(ID_VIEW_ZOOM_ALL);
    RECT before;
    int foreground = Foreground(&before);
    ASSERT_GT(foreground, 100);
    int colourMode = 0;
    double viewWidth = 0, viewHeight = 0;
    {
        CIdleUse use(m_thread);
        colourMode = use.Drawing()->getPrintColorMode();
        use.Drawing()->getViewSizeInUnits(&viewWidth, &viewHeight);
    }
    BrokenPrinterChosen broken(m_folder);
    ASSERT_TRUE(broken.IsChosen());
    std::string message = PrintAndNoteMessage("打印", [](HWND dialog) {
        SetUpPrint(dialog, IDC_ZRUI_COLOR_MODE_MONO, true, false);
        testwin::Click(dialog, IDOK);
    });
    EXPECT_NE(std::string::npos, message.find("文件没有打印成功")) << message;
    EXPECT_NE(std::string::npos, message.find("square.dxf")) << message;
    EXPECT_FALSE(View()->m_printPick);
    RECT after;
    EXPECT_EQ(foreground, Foreground(&after));
    EXPECT_TRUE(EqualRect(&before, &after));
    {
        CIdleUse use(m_thread);
        const ZrUI::PrintWindow window = {{-150, -100, 0}, {250, 200, 0}, 400, 300};
        EXPECT_FALSE(m_frame->PrintToDevice(&window, 1.0, 2, 0, 0, 1, 0, 0));
        EXPECT_EQ(colourMode, use.Drawing()->getPrintColorMode());
        double width = 0, height = 0;
        use.Drawing()->getViewSizeInUnits(&width, &height);
        EXPECT_DOUBLE_EQ(viewWidth, width);
        EXPECT_DOUBLE_EQ(viewHeight, height);
    }

    // A picture printed on it: told too, and shown as before.
    std::string photo = MakePhoto(m_folder, "photo.png");
    ASSERT_TRUE(OpenPath(photo));
    foreground = Foreground(&before);
    message = PrintAndNoteMessage(nullptr, [](HWND dialog) { testwin::Click(dialog, IDOK); });
    EXPECT_NE(std::string::npos, message.find("文件没有打印成功")) << message;
    EXPECT_NE(std::string::npos, message.find("photo.png")) << message;
    EXPECT_EQ(foreground, Foreground(&after));
    EXPECT_TRUE(EqualRect(&before, &after));
}
