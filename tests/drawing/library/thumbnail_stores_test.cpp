#include "tests/support/gtest.h"

#include <string>

#include "core/preference.h"
#include "drawing/library/thumbnail_stores.h"
#include "tests/support/test_files.h"

namespace {

TEST(ThumbnailStoresTest, TheSettingsReachTheHeldValues)
{
    CDrawingThumbnailStores stores;
    CPreference preference;
    preference.SetThumbnailStores(&stores);
    EXPECT_FALSE(preference.IsImageCacheEnabled());

    stores.CreateDwgCache(true);
    EXPECT_TRUE(preference.IsImageCacheEnabled());
    preference.SetImageCacheEnabled(false);
    EXPECT_FALSE(stores.IsDwgCacheEnabled());

    std::string folder = testfiles::MakeScratchFolder("stores");
    stores.CreateLibIndexTree(folder.c_str(), true, false);
    EXPECT_STREQ((folder + "\\").c_str(), preference.GetLibIndexPath());
    EXPECT_TRUE(preference.GetSaveInBrowserFolderFirst());
    EXPECT_FALSE(preference.GetReadFromBrowserFolderFirst());
    preference.SetReadFromBrowserFolderFirst(true);
    EXPECT_TRUE(stores.GetReadFromBrowserFolderFirst());
    preference.SetThumbnailStores(nullptr);
}

TEST(ThumbnailStoresTest, TheCacheFolderChangesOnlyToAUsableFolder)
{
    CDrawingThumbnailStores stores;
    std::string folder = testfiles::MakeScratchFolder("stores");
    stores.CreateLibIndexTree(folder.c_str(), false, true);
    stores.SetLibIndexPath((folder + "\\made").c_str());
    EXPECT_STREQ((folder + "\\made\\").c_str(), stores.GetLibIndexPath());

    ASSERT_TRUE(testfiles::WriteFileBytes(folder + "\\file", "x"));
    stores.SetLibIndexPath((folder + "\\file\\sub\\").c_str());
    EXPECT_STREQ((folder + "\\made\\").c_str(), stores.GetLibIndexPath());

    stores.DeleteLibIndexTree();
    EXPECT_FALSE(stores.HasLibIndexTree());
    EXPECT_STREQ("", stores.GetLibIndexPath());
}

TEST(ThumbnailStoresTest, TheProcessStoresOutliveTheSettings)
{
    CThumbnailStores* stores = GetThumbnailStores();
    ASSERT_NE(nullptr, stores);
    EXPECT_EQ(stores, GetThumbnailStores());
    {
        CPreference preference;
        preference.SetThumbnailStores(stores);
        stores->CreateDwgCache(true);
    }
    EXPECT_FALSE(stores->HasDwgCache());
}

}  // namespace
