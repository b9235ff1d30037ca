// The colour chooser, the layer manager and the view dialogs, driven
// through their controls while they run.
#include "tests/support/gtest.h"

#include <commctrl.h>
#include <math.h>

#include <algorithm>
#include <memory>
#include <string>

#include "platform/zrio/zrio.h"
#include "platform/zrui/zrui.h"
#include "resources/zrui_ids.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_files.h"

using testwin::Click;
using testwin::DialogScript;
using testwin::GetText;
using testwin::SetText;

namespace {

// Three layers: "0", "WALLS" (red) and a Chinese-named one that is off,
// frozen and blue; an R12 file in code page 936.
const char kLayerDrawing[] =
    "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n9\n$DWGCODEPAGE\n3\nANSI_936\n0\nENDSEC\n"
    "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n3\n"
    "0\nLAYER\n2\n0\n70\n0\n62\n7\n6\nCONTINUOUS\n"
    "0\nLAYER\n2\nWALLS\n70\n0\n62\n1\n6\nCONTINUOUS\n"
    "0\nLAYER\n2\n隐藏线\n70\n1\n62\n-5\n6\nCONTINUOUS\n"
    "0\nENDTAB\n0\nENDSEC\n"
    "0\nSECTION\n2\nENTITIES\n"
    "0\nLINE\n8\nWALLS\n10\n0\n20\n0\n30\n0\n11\n100\n21\n50\n31\n0\n"
    "0\nLINE\n8\n隐藏线\n10\n0\n20\n50\n30\n0\n11\n100\n21\n0\n31\n0\n"
    "0\nENDSEC\n0\nEOF\n";

struct DrawingDeleter {
    void operator()(CDrawing* drawing) const { CDrawing::DeleteDrawing(drawing); }
};
using DrawingPtr = std::unique_ptr<CDrawing, DrawingDeleter>;

DrawingPtr OpenLayerDrawing()
{
    std::string path = testfiles::MakeScratchFolder("zrui_layers") + "\\layers.dxf";
    if (!testfiles::WriteFileBytes(path, kLayerDrawing))
        return nullptr;
    DrawingPtr drawing(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
    if (drawing->open(path.c_str(), nullptr) != CDrawing::kOpened)
        return nullptr;
    drawing->setViewSize(400, 300);
    drawing->zoomExtents(0, 0, 1.0);
    return drawing;
}

// The centre of a list view's cell.
POINT CellCentre(HWND list, int row, int column)
{
    RECT cell = {};
    cell.top = column;
    cell.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETSUBITEMRECT, row, (LPARAM)&cell);
    POINT centre = {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    return centre;
}

void SelectOnly(HWND list, int row)
{
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&state);
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, (LPARAM)&state);
}

std::string CellText(HWND list, int row, int column)
{
    char text[64] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)&item);
    return text;
}

}  // namespace

TEST(ZrUIColorChooser, AClickedCellOrATypedIndexIsChosenAndCancelKeepsTheIndex)
{
    DialogScript script;
    std::string shownName;
    script
        .Then("选择颜色",
              [](HWND dialog) {
                  testwin::SavePictureIfAsked(dialog, "color_chooser.bmp");
                  HWND grid = GetDlgItem(dialog, IDC_ZRUI_COLOR_GRID);
                  RECT client;
                  GetClientRect(grid, &client);
                  int cell = std::min(client.right / 16, client.bottom / 16);
                  // Index 30: row 1, column 14.
                  POINT at = {14 * cell + cell / 2, 1 * cell + cell / 2};
                  testwin::ClickAt(grid, at);
              })
        .Then("选择颜色",
              [&](HWND dialog) {
                  shownName =
                      GetText(dialog, IDC_ZRUI_COLOR_NAME) + "/" + GetText(dialog, IDC_ZRUI_COLOR_INDEX);
                  Click(dialog, IDOK);
              })
        .Then("选择颜色",
              [](HWND dialog) {
                  SetText(dialog, IDC_ZRUI_COLOR_INDEX, "5");
                  Click(dialog, IDOK);
              })
        .Then("选择颜色", [](HWND dialog) { Click(dialog, IDCANCEL); });
    script.Start();
    EXPECT_EQ(30, ZrUI::SelectColor(7));
    EXPECT_EQ("Color 30/30", shownName);
    EXPECT_EQ(5, ZrUI::SelectColor(30));
    EXPECT_EQ(9, ZrUI::SelectColor(9));
    EXPECT_TRUE(script.Finished());
}

TEST(ZrUILayerManager, CellClicksButtonsAndTheColourChooserChangeTheDrawingsLayersOnOk)
{
    DrawingPtr drawing = OpenLayerDrawing();
    ASSERT_TRUE(drawing);
    ASSERT_EQ(3, drawing->getLayerCount());
    ASSERT_FALSE(drawing->isLayerOn(2));
    ASSERT_TRUE(drawing->isLayerFrozen(2));
    std::string shown;
    DialogScript script;
    script
        .Then("图层管理",
              [&](HWND dialog) {
                  testwin::SavePictureIfAsked(dialog, "layer_manager.bmp");
                  HWND list = GetDlgItem(dialog, IDC_ZRUI_LAYER_LIST);
                  shown = CellText(list, 2, 0) + "," + CellText(list, 2, 1) + "," + CellText(list, 2, 2) +
                          "," + CellText(list, 1, 3);
                  // WALLS goes off by a click on its on/off cell.
                  testwin::ClickAt(list, CellCentre(list, 1, 1));
              })
        .Then("图层管理",
              [&](HWND dialog) {
                  SelectOnly(GetDlgItem(dialog, IDC_ZRUI_LAYER_LIST), 2);
                  Click(dialog, IDC_ZRUI_LAYER_FREEZE);
                  Click(dialog, IDC_ZRUI_LAYER_COLOR);
              })
        .Then("选择颜色",
              [](HWND dialog) {
                  SetText(dialog, IDC_ZRUI_COLOR_INDEX, "3");
                  Click(dialog, IDOK);
              })
        .Then("图层管理", [&](HWND dialog) {
            HWND list = GetDlgItem(dialog, IDC_ZRUI_LAYER_LIST);
            shown += "|" + CellText(list, 1, 1) + "," + CellText(list, 2, 2) + "," + CellText(list, 2, 3);
            Click(dialog, IDOK);
        });
    script.Start();
    EXPECT_EQ(1, ZrUI::showLayerManager(drawing.get()));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ("隐藏线,关,冻结,Red|关,解冻,Green", shown);
    EXPECT_TRUE(drawing->isLayerOn(0));
    EXPECT_FALSE(drawing->isLayerOn(1));
    EXPECT_FALSE(drawing->isLayerFrozen(1));
    EXPECT_EQ(1, drawing->getLayerColor(1));
    EXPECT_FALSE(drawing->isLayerOn(2));
    EXPECT_FALSE(drawing->isLayerFrozen(2));
    EXPECT_EQ(3, drawing->getLayerColor(2));
}

TEST(ZrUILayerManager, CancelOrNoChangeLeavesTheDrawingAlone)
{
    DrawingPtr drawing = OpenLayerDrawing();
    ASSERT_TRUE(drawing);
    DialogScript script;
    script
        .Then("图层管理",
              [](HWND dialog) {
                  Click(dialog, IDC_ZRUI_LAYER_ALL_ON);
                  Click(dialog, IDC_ZRUI_LAYER_ALL_THAW);
                  Click(dialog, IDCANCEL);
              })
        .Then("图层管理", [](HWND dialog) { Click(dialog, IDOK); });
    script.Start();
    EXPECT_EQ(0, ZrUI::showLayerManager(drawing.get()));
    EXPECT_EQ(0, ZrUI::showLayerManager(drawing.get()));
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(drawing->isLayerOn(2));
    EXPECT_TRUE(drawing->isLayerFrozen(2));
    EXPECT_EQ(0, ZrUI::showLayerManager(nullptr));
}

TEST(ZrUIViewpoint, TwoAnglesSetTheViewDirectionAndPlanViewComesBack)
{
    DrawingPtr drawing = OpenLayerDrawing();
    ASSERT_TRUE(drawing);
    std::string shown;
    DialogScript script;
    script
        .Then("视点预置",
              [&](HWND dialog) {
                  testwin::SavePictureIfAsked(dialog, "viewpoint.bmp");
                  shown =
                      GetText(dialog, IDC_ZRUI_VIEW_FROM_X) + "/" + GetText(dialog, IDC_ZRUI_VIEW_FROM_XY);
                  SetText(dialog, IDC_ZRUI_VIEW_FROM_X, "315");
                  SetText(dialog, IDC_ZRUI_VIEW_FROM_XY, "35.2643896828");
                  Click(dialog, IDOK);
              })
        .Then("视点预置", [&](HWND dialog) {
            shown += " " + GetText(dialog, IDC_ZRUI_VIEW_FROM_X);
            Click(dialog, IDC_ZRUI_VIEW_PLAN);
            Click(dialog, IDOK);
        });
    script.Start();
    EXPECT_EQ(1, ZrUI::showSetViewportDialog(drawing.get()));
    double direction[3];
    drawing->getViewDirection(direction);
    double third = 1.0 / sqrt(3.0);
    EXPECT_NEAR(third, direction[0], 1e-9);
    EXPECT_NEAR(-third, direction[1], 1e-9);
    EXPECT_NEAR(third, direction[2], 1e-9);
    EXPECT_EQ(1, ZrUI::showSetViewportDialog(drawing.get()));
    drawing->getViewDirection(direction);
    EXPECT_NEAR(1.0, direction[2], 1e-12);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ("0/90 315", shown);
}

TEST(ZrUIPointStyle, AStyleButtonAndTheSizeSetModeAndSize)
{
    DialogScript script;
    script
        .Then("点样式",
              [](HWND dialog) {
                  testwin::SavePictureIfAsked(dialog, "point_style.bmp");
                  // The eighth style: a cross in a circle (34).
                  Click(dialog, IDC_ZRUI_POINT_MODE_FIRST + 7);
                  SetText(dialog, IDC_ZRUI_POINT_SIZE, "2.5");
                  Click(dialog, IDC_ZRUI_POINT_ABSOLUTE);
                  Click(dialog, IDOK);
              })
        .Then("点样式",
              [](HWND dialog) {
                  SetText(dialog, IDC_ZRUI_POINT_SIZE, "10");
                  Click(dialog, IDC_ZRUI_POINT_RELATIVE);
                  Click(dialog, IDOK);
              })
        .Then("点样式", [](HWND dialog) { Click(dialog, IDCANCEL); });
    script.Start();
    int mode = 0;
    double size = 0.0;
    EXPECT_EQ(1, ZrUI::showSetPointDialog(mode, size));
    EXPECT_EQ(34, mode);
    EXPECT_DOUBLE_EQ(2.5, size);
    EXPECT_EQ(1, ZrUI::showSetPointDialog(mode, size));
    EXPECT_EQ(34, mode);
    EXPECT_DOUBLE_EQ(-10.0, size);
    EXPECT_EQ(0, ZrUI::showSetPointDialog(mode, size));
    EXPECT_DOUBLE_EQ(-10.0, size);
    EXPECT_TRUE(script.Finished());
}

TEST(ZrUIRotateView, TheTypedAngleComesBackOnOkOnly)
{
    DialogScript script;
    script
        .Then("旋转视口",
              [](HWND dialog) {
                  testwin::SavePictureIfAsked(dialog, "rotate_view.bmp");
                  SetText(dialog, IDC_ZRUI_ROTATE_ANGLE, "-90");
                  Click(dialog, IDOK);
              })
        .Then("旋转视口", [](HWND dialog) {
            SetText(dialog, IDC_ZRUI_ROTATE_ANGLE, "45");
            Click(dialog, IDCANCEL);
        });
    script.Start();
    double angle = 0.0;
    EXPECT_EQ(1, ZrUI::showSetRotateViewDialog(angle));
    EXPECT_DOUBLE_EQ(-90.0, angle);
    EXPECT_EQ(0, ZrUI::showSetRotateViewDialog(angle));
    EXPECT_DOUBLE_EQ(-90.0, angle);
    EXPECT_TRUE(script.Finished());
}
