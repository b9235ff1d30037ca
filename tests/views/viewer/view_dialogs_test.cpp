// The view frame's layer command: the layer manager over the open drawing,
// and what the view shows after OK or Cancel.
#include "tests/views/viewer/viewer_harness.h"

#include "resources/views_ids.h"
#include "tests/support/dialog_script.h"

using viewtest::CountColour;
using viewtest::SwitchLayerOff;
using viewtest::ViewerTest;

namespace {

const DWORD kRed = 0xFF0000;
const DWORD kBlue = 0x0000FF;

class ViewDialogsTest : public ViewerTest {};

}  // namespace

TEST_F(ViewDialogsTest, LayersCancelKeepsTheDrawingAndOkRedrawsWithoutTheLayerSwitchedOff)
{
    ASSERT_TRUE(Open("square.dxf"));
    Command(ID_VIEW_ZOOM_ALL);
    CGDIDevice picture;
    CaptureView(picture);
    ASSERT_GT(CountColour(picture, kBlue), 50);
    int red = CountColour(picture, kRed);
    ASSERT_GT(red, 100);

    testwin::DialogScript cancelled;
    cancelled.Then("图层管理", [](HWND dialog) { SwitchLayerOff(dialog, "DIAGONAL"); })
        .Then("图层管理", [](HWND dialog) { testwin::Click(dialog, IDCANCEL); });
    cancelled.Start();
    Command(ID_VIEW_LAYERS);
    EXPECT_TRUE(cancelled.Finished());
    CaptureView(picture);
    EXPECT_GT(CountColour(picture, kBlue), 50);

    testwin::DialogScript accepted;
    accepted.Then("图层管理", [](HWND dialog) { SwitchLayerOff(dialog, "DIAGONAL"); })
        .Then("图层管理", [](HWND dialog) { testwin::Click(dialog, IDOK); });
    accepted.Start();
    Command(ID_VIEW_LAYERS);
    EXPECT_TRUE(accepted.Finished());
    CaptureView(picture);
    viewtest::KeepScreenshot(picture, "layer_off");
    EXPECT_EQ(0, CountColour(picture, kBlue));
    EXPECT_NEAR(red, CountColour(picture, kRed), red / 10);
}
