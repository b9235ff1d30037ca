// The print manager with the prefix's PostScript printer: what a print
// writes into the record, what closing leaves, the pick of a print window,
// the printer dialog and the pen widths down to the drawing library.
#include "tests/support/gtest.h"

#include <math.h>
#include <string.h>

#include <memory>
#include <string>

#include "platform/classlib/classlib.h"
#include "platform/zrio/zrio.h"
#include "platform/zrui/zrui.h"
#include "resources/zrui_ids.h"
#include "tests/support/dialog_script.h"
#include "tests/support/message_log.h"
#include "tests/support/test_files.h"

using testwin::Click;
using testwin::DialogScript;
using testwin::GetText;
using testwin::SetText;

namespace {

const char kTestPrinter[] = "Harbeck PostScript";

struct PrinterFacts {
    int dpi, horizontal, vertical, paperWidth, paperHeight;
};

// The printer's page as the printer driver reports it for its defaults.
PrinterFacts ReadTestPrinter()
{
    PrinterFacts facts = {};
    HDC dc = CreateDCA("WINSPOOL", kTestPrinter, nullptr, nullptr);
    if (!dc)
        return facts;
    facts.dpi = GetDeviceCaps(dc, LOGPIXELSX);
    facts.horizontal = GetDeviceCaps(dc, HORZRES);
    facts.vertical = GetDeviceCaps(dc, VERTRES);
    facts.paperWidth = GetDeviceCaps(dc, PHYSICALWIDTH);
    facts.paperHeight = GetDeviceCaps(dc, PHYSICALHEIGHT);
    DeleteDC(dc);
    return facts;
}

class PrintManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            m_owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
        m_log.Attach(m_owner.m_hWnd);
        m_printer = ReadTestPrinter();
        ASSERT_GT(m_printer.dpi, 0) << "the test printer is missing";
        // A view of 200 by 100 drawing units, no picked window.
        memset(&m_record, 0, sizeof(m_record));
        m_record.noPickedWindow = 1;
        const double topLeft[3] = {0.0, 100.0, 0.0};
        const double bottomRight[3] = {200.0, 0.0, 0.0};
        memcpy(m_record.viewTopLeft, topLeft, sizeof(topLeft));
        memcpy(m_record.viewBottomRight, bottomRight, sizeof(bottomRight));
        memcpy(m_record.windowCorner1, topLeft, sizeof(topLeft));
        memcpy(m_record.windowCorner2, bottomRight, sizeof(bottomRight));
        m_record.viewWidth = m_record.windowWidth = 200.0;
        m_record.viewHeight = m_record.windowHeight = 100.0;
        m_record.owner = &m_owner;
    }
    void TearDown() override { m_owner.DestroyWindow(); }

    int Show()
    {
        ZrUI::initPrintManager(&m_record);
        int answer = ZrUI::showPrintManager();
        ZrUI::releasePrintManager();
        return answer;
    }

    // Puts a check box or radio button into the state wanted.
    static void Check(HWND dialog, int id, bool on)
    {
        if ((IsDlgButtonChecked(dialog, id) == BST_CHECKED) != on)
            Click(dialog, id);
    }

    CWnd m_owner;
    testwin::MessageLog m_log{{WM_PRINT_PICK_MODE}};
    PrinterFacts m_printer;
    ZrUI::PrintRecord m_record;
};

}  // namespace

TEST_F(PrintManagerTest, PrintFitsTheViewOnThePrintersPageAndFillsTheRecord)
{
    std::string printerName;
    DialogScript script;
    script.Then("打印", [&](HWND dialog) {
        testwin::SavePictureIfAsked(dialog, "print_manager.bmp");
        printerName = GetText(dialog, IDC_ZRUI_PRINTER_NAME);
        Check(dialog, IDC_ZRUI_PORTRAIT, true);
        Check(dialog, IDC_ZRUI_AREA_DISPLAY, true);
        Check(dialog, IDC_ZRUI_FIT, true);
        Check(dialog, IDC_ZRUI_CENTER, true);
        Check(dialog, IDC_ZRUI_COLOR_MODE_COLOR, true);
        Check(dialog, IDC_ZRUI_PRINT_TO_FILE, false);
        Click(dialog, IDOK);
    });
    script.Start();
    ASSERT_EQ(ZrUI::kPrintManagerPrint, Show());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(kTestPrinter, printerName);
    EXPECT_TRUE(testwin::MessagesAre(m_log, {WM_PRINT_PICK_MODE}));
    EXPECT_EQ(0u, m_log.Entries()[0].wParam);
    ASSERT_NE(nullptr, m_record.printWindow);
    EXPECT_EQ(0.0, m_record.printWindow->corner1[0]);
    EXPECT_EQ(100.0, m_record.printWindow->corner1[1]);
    EXPECT_EQ(200.0, m_record.printWindow->corner2[0]);
    EXPECT_EQ(200.0, m_record.printWindow->width);
    EXPECT_EQ(100.0, m_record.printWindow->height);
    double scale = std::min(m_printer.horizontal / 200.0, m_printer.vertical / 100.0);
    EXPECT_DOUBLE_EQ(scale, m_record.scale);
    EXPECT_EQ((int)lround((m_printer.horizontal - 200.0 * scale) / 2), m_record.xOffset);
    EXPECT_EQ(-(int)lround((m_printer.vertical - 100.0 * scale) / 2), m_record.yOffset);
    EXPECT_EQ(m_printer.paperWidth, m_record.pageWidth);
    EXPECT_EQ(m_printer.paperHeight, m_record.pageHeight);
    EXPECT_EQ(0, m_record.rotation);
    EXPECT_EQ(0, m_record.colorMode);
    EXPECT_EQ(0, m_record.printToFile);
    // The printer the prints go to.
    HDC printer = g_printPenSet.getPrintSetDlg()->CreatePrinterDC();
    ASSERT_NE(nullptr, printer);
    EXPECT_EQ(m_printer.horizontal, GetDeviceCaps(printer, HORZRES));
    DeleteDC(printer);
}

TEST_F(PrintManagerTest, TheChosenOrientationScaleColoursAndFileExportReachTheRecord)
{
    DialogScript script;
    script
        .Then("打印",
              [](HWND dialog) {
                  Check(dialog, IDC_ZRUI_LANDSCAPE, true);
                  Check(dialog, IDC_ZRUI_FIT, false);
              })
        .Then("打印", [&](HWND dialog) {
            SetText(dialog, IDC_ZRUI_SCALE_MM, "1");
            SetText(dialog, IDC_ZRUI_SCALE_UNITS, "2");
            Check(dialog, IDC_ZRUI_CENTER, false);
            Check(dialog, IDC_ZRUI_COLOR_MODE_GREY, true);
            Check(dialog, IDC_ZRUI_PRINT_TO_FILE, true);
            Click(dialog, IDOK);
        });
    script.Start();
    ASSERT_EQ(ZrUI::kPrintManagerPrint, Show());
    EXPECT_TRUE(script.Finished());
    EXPECT_DOUBLE_EQ(0.5 * m_printer.dpi / 25.4, m_record.scale);
    EXPECT_EQ(0, m_record.xOffset);
    EXPECT_EQ(0, m_record.yOffset);
    EXPECT_EQ(1, m_record.rotation);
    EXPECT_EQ(1, m_record.colorMode);
    EXPECT_EQ(1, m_record.printToFile);
    EXPECT_EQ(m_printer.paperHeight, m_record.pageWidth);
    EXPECT_EQ(m_printer.paperWidth, m_record.pageHeight);
}

TEST_F(PrintManagerTest, ClosingLeavesTheRecordAsItWas)
{
    m_record.scale = 123.0;
    m_record.colorMode = 2;
    ZrUI::PrintRecord before = m_record;
    DialogScript script;
    script.Then("打印", [](HWND dialog) {
        Check(dialog, IDC_ZRUI_COLOR_MODE_MONO, false);
        Click(dialog, IDC_ZRUI_COLOR_MODE_COLOR);
        Click(dialog, IDCANCEL);
    });
    script.Start();
    EXPECT_EQ(ZrUI::kPrintManagerClose, Show());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(0, memcmp(&before, &m_record, sizeof(before)));
    ZrUI::initPrintManager(nullptr);
    EXPECT_EQ(ZrUI::kPrintManagerClose, ZrUI::showPrintManager());
}

TEST_F(PrintManagerTest, APickTurnsThePickOnAndTheNextShowPrintsThePickedWindow)
{
    bool windowChosen = false;
    DialogScript script;
    script.Then("打印", [](HWND dialog) { Click(dialog, IDC_ZRUI_PICK_WINDOW); })
        .Then("打印", [&](HWND dialog) {
            windowChosen = IsDlgButtonChecked(dialog, IDC_ZRUI_AREA_WINDOW) == BST_CHECKED &&
                           IsWindowEnabled(GetDlgItem(dialog, IDC_ZRUI_AREA_WINDOW));
            Check(dialog, IDC_ZRUI_FIT, true);
            Click(dialog, IDOK);
        });
    script.Start();
    EXPECT_EQ(ZrUI::kPrintManagerPick, Show());
    ASSERT_EQ(2u, m_log.Entries().size());
    EXPECT_EQ(0u, m_log.Entries()[0].wParam);
    EXPECT_EQ(1u, m_log.Entries()[1].wParam);
    // The caller's pick ends with a window.
    m_record.noPickedWindow = 0;
    const double corner1[3] = {10.0, 40.0, 0.0};
    const double corner2[3] = {60.0, 10.0, 0.0};
    memcpy(m_record.windowCorner1, corner1, sizeof(corner1));
    memcpy(m_record.windowCorner2, corner2, sizeof(corner2));
    m_record.windowWidth = 50.0;
    m_record.windowHeight = 30.0;
    EXPECT_EQ(ZrUI::kPrintManagerPrint, Show());
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(windowChosen);
    ASSERT_NE(nullptr, m_record.printWindow);
    EXPECT_EQ(10.0, m_record.printWindow->corner1[0]);
    EXPECT_EQ(10.0, m_record.printWindow->corner2[1]);
    EXPECT_EQ(50.0, m_record.printWindow->width);
    EXPECT_EQ(30.0, m_record.printWindow->height);
}

TEST_F(PrintManagerTest, ThePrinterIsChosenInThePrinterDialog)
{
    std::string printerName;
    DialogScript script;
    script.Then("打印", [](HWND dialog) { Click(dialog, IDC_ZRUI_PRINTER_CHOOSE); })
        .Then("打印设置",
              [](HWND dialog) {
                  testwin::SavePictureIfAsked(dialog, "printer_setup.bmp");
                  Click(dialog, IDOK);
              })
        .Then("打印", [&](HWND dialog) {
            printerName = GetText(dialog, IDC_ZRUI_PRINTER_NAME);
            Click(dialog, IDCANCEL);
        });
    script.Start();
    EXPECT_EQ(ZrUI::kPrintManagerClose, Show());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(kTestPrinter, printerName);
    EXPECT_STREQ(kTestPrinter, g_printPenSet.getPrintSetDlg()->GetDeviceName());
}

TEST_F(PrintManagerTest, PenWidthsSetInTheirDialogReachTheDrawingLibrary)
{
    std::string shownWidth;
    DialogScript script;
    script.Then("打印", [](HWND dialog) { Click(dialog, IDC_ZRUI_PEN_WIDTHS); })
        .Then("笔宽",
              [](HWND dialog) {
                  testwin::SavePictureIfAsked(dialog, "pen_widths.bmp");
                  // The first row, colour 1, is selected.
                  SetText(dialog, IDC_ZRUI_PEN_WIDTH, "0.5");
                  Click(dialog, IDC_ZRUI_PEN_SET_WIDTH);
              })
        .Then("笔宽",
              [&](HWND dialog) {
                  char text[32] = "";
                  LVITEMA item = {};
                  item.iSubItem = 2;
                  item.pszText = text;
                  item.cchTextMax = sizeof(text);
                  SendDlgItemMessageA(dialog, IDC_ZRUI_PEN_LIST, LVM_GETITEMTEXTA, 0, (LPARAM)&item);
                  shownWidth = text;
                  Click(dialog, IDOK);
              })
        .Then("打印", [](HWND dialog) {
            Check(dialog, IDC_ZRUI_USE_PEN_WIDTHS, true);
            Click(dialog, IDOK);
        });
    script.Start();
    EXPECT_EQ(ZrUI::kPrintManagerPrint, Show());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ("0.5", shownWidth);
    EXPECT_TRUE(g_printPenSet.getUsePenWidth());
    EXPECT_EQ(0.5, g_printPenSet.getPenMillimetres(1));

    // A horizontal red line, drawn with the pen set at 600 dots per inch:
    // 0.5 mm is 11 pixels, in the pen's print colour (green).
    std::string path = testfiles::MakeScratchFolder("zrui_pens") + "\\line.dxf";
    ASSERT_TRUE(testfiles::WriteFileBytes(
        path,
        "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n62\n1\n10\n0\n20\n0\n30\n0\n11\n100\n21\n0\n31\n0\n"
        "0\nENDSEC\n0\nEOF\n"));
    CDrawing* drawing = CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW);
    ASSERT_EQ(CDrawing::kOpened, drawing->open(path.c_str(), nullptr));
    g_printPenSet.setPenMillimetres(1, 3, 0.5);
    g_printPenSet.InitPenWidth(600);
    g_printPenSet.UpdatePenSetsToZrIO();
    DWG_SetBackgroundColor(RGB(255, 255, 255));
    const double corner1[3] = {0.0, -10.0, 0.0};
    const double corner2[3] = {100.0, 10.0, 0.0};
    drawing->setPrintView(corner1, corner2, 200.0, 40.0);
    auto lineRows = [&](bool usePens, COLORREF* colour) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = 200;
        info.bmiHeader.biHeight = -40;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        DWORD* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP picture = CreateDIBSection(dc, &info, DIB_RGB_COLORS, (void**)&bits, nullptr, 0);
        HGDIOBJ previous = SelectObject(dc, picture);
        PatBlt(dc, 0, 0, 200, 40, WHITENESS);
        drawing->drawToDC(dc, usePens);
        GdiFlush();
        int rows = 0;
        for (int y = 0; y < 40; ++y) {
            DWORD pixel = bits[y * 200 + 100] & 0xFFFFFF;
            if (pixel != 0xFFFFFF) {
                ++rows;
                *colour = RGB((pixel >> 16) & 255, (pixel >> 8) & 255, pixel & 255);
            }
        }
        SelectObject(dc, previous);
        DeleteObject(picture);
        DeleteDC(dc);
        return rows;
    };
    COLORREF colour = 0;
    EXPECT_EQ(11, lineRows(true, &colour));
    EXPECT_EQ(RGB(0, 255, 0), colour);
    EXPECT_EQ(1, lineRows(false, &colour));
    EXPECT_EQ(RGB(255, 0, 0), colour);
    CDrawing::DeleteDrawing(drawing);
    CommonPenSets_SetPens(nullptr, nullptr, 0);
    g_printPenSet.setUsePenWidth(false);
}
