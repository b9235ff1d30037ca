// The printer dialog's printer taken by name: its names, the device
// contexts made from its settings, and a name that is no printer.
#include "tests/support/gtest.h"
#include "platform/classlib/classlib.h"

namespace {

const char kTestPrinter[] = "Harbeck PostScript";

struct PageSize {
    int width, height;
};

PageSize ReadPage(HDC dc)
{
    PageSize page = {GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES)};
    DeleteDC(dc);
    return page;
}

}  // namespace

TEST(PrintDialog, ANamedPrinterGivesItsNamesAndContextsThatFollowItsSettings)
{
    CPrintDialog dialog(TRUE);
    EXPECT_FALSE(dialog.HasPrinter());
    EXPECT_EQ(nullptr, dialog.CreatePrinterDC());
    ASSERT_TRUE(dialog.SelectPrinter(kTestPrinter)) << "the test printer is missing";
    EXPECT_STREQ(kTestPrinter, dialog.GetDeviceName());
    EXPECT_STREQ("FILE:", dialog.GetPortName());

    // The same page as the printer's own context for its defaults.
    HDC own = CreateDCA("WINSPOOL", kTestPrinter, nullptr, nullptr);
    ASSERT_NE(nullptr, own);
    PageSize expected = ReadPage(own);
    HDC made = dialog.CreatePrinterDC();
    ASSERT_NE(nullptr, made);
    PageSize upright = ReadPage(made);
    EXPECT_EQ(expected.width, upright.width);
    EXPECT_EQ(expected.height, upright.height);

    // A changed orientation reaches the next contexts.
    DEVMODEA* mode = dialog.LockDevMode();
    ASSERT_NE(nullptr, mode);
    mode->dmOrientation = DMORIENT_LANDSCAPE;
    mode->dmFields |= DM_ORIENTATION;
    dialog.UnlockDevMode();
    HDC information = dialog.CreatePrinterIC();
    ASSERT_NE(nullptr, information);
    PageSize turned = ReadPage(information);
    EXPECT_EQ(upright.height, turned.width);
    EXPECT_EQ(upright.width, turned.height);

    // A name that is no printer keeps the printer held.
    EXPECT_FALSE(dialog.SelectPrinter("No Such Printer"));
    EXPECT_STREQ(kTestPrinter, dialog.GetDeviceName());
}
