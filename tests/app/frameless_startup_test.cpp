#include "tests/support/gtest.h"

#include "core/appsw.h"
#include "tests/app/app_test_support.h"

using namespace apptest;

// This program has no resources, so the browse frame cannot be loaded.
TEST(StartUpFailure, AFrameThatCannotLoadFailsStartUpAndClearsTheGuard)
{
    ClearProductKey();
    CQuorvantixApp app;
    EXPECT_FALSE(app.InitInstance());
    EXPECT_TRUE(KeyExists("InitFlag"));
    EXPECT_FALSE(ValueExists("InitFlag", "InitFlag"));
    EXPECT_EQ(nullptr, AppSW.browseFrame);
    StopApplication(app);
    EXPECT_EQ(nullptr, AppSW.drawThread);
    EXPECT_EQ(nullptr, AppSW.taskThread);
}
