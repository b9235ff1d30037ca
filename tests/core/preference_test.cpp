#include "tests/support/gtest.h"

#include <string>

#include "core/file_utils.h"
#include "core/preference.h"
#include "core/registry_root.h"
#include "core/thumbnail_stores.h"
#include "platform/zrui/zrui.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_files.h"

namespace {

const char kOptionKey[] = HARBECK_REGISTRY_ROOT "Option";

// Records what the settings hand the thumbnail stores.
class FakeStores : public CThumbnailStores
{
public:
    void CreateDwgCache(bool on) override { hasCache = true, enabled = on; }
    void DeleteDwgCache() override { hasCache = false; }
    bool HasDwgCache() const override { return hasCache; }
    bool IsDwgCacheEnabled() const override { return enabled; }
    void EnableDwgCache(bool on) override { enabled = on; }
    void CreateLibIndexTree(const char* folder, bool save, bool read) override
    {
        hasIndex = true, path = folder, saveFirst = save, readFirst = read;
    }
    void DeleteLibIndexTree() override { hasIndex = false; }
    bool HasLibIndexTree() const override { return hasIndex; }
    bool GetSaveInBrowserFolderFirst() const override { return saveFirst; }
    void SetSaveInBrowserFolderFirst(bool on) override { saveFirst = on; }
    bool GetReadFromBrowserFolderFirst() const override { return readFirst; }
    void SetReadFromBrowserFolderFirst(bool on) override { readFirst = on; }
    CString GetLibIndexPath() const override { return path; }
    void SetLibIndexPath(const char* folder) override { path = folder; }

    bool hasCache = false, enabled = false, hasIndex = false;
    bool saveFirst = false, readFirst = false;
    CString path;
};

HKEY CreateKey(HKEY root, const std::string& name)
{
    HKEY key = nullptr;
    RegCreateKeyExA(root, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
}

void SetDword(const std::string& key, const char* name, DWORD value)
{
    HKEY handle = CreateKey(HKEY_CURRENT_USER, key);
    ASSERT_NE(nullptr, handle);
    RegSetValueExA(handle, name, 0, REG_DWORD, (const BYTE*)&value, sizeof value);
    RegCloseKey(handle);
}

void SetString(HKEY root, const std::string& key, const char* name, const std::string& text)
{
    HKEY handle = CreateKey(root, key);
    ASSERT_NE(nullptr, handle);
    RegSetValueExA(handle, name, 0, REG_SZ, (const BYTE*)text.c_str(), (DWORD)text.size() + 1);
    RegCloseKey(handle);
}

// The value's type and contents, or type REG_NONE when missing.
DWORD QueryValue(const std::string& key, const char* name, std::string& data)
{
    HKEY handle = nullptr;
    data.clear();
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return REG_NONE;
    char buffer[4096];
    DWORD type = REG_NONE, size = sizeof buffer;
    if (RegQueryValueExA(handle, name, nullptr, &type, (BYTE*)buffer, &size) != ERROR_SUCCESS)
        type = REG_NONE;
    else
        data.assign(buffer, size);
    RegCloseKey(handle);
    return type;
}

DWORD QueryDword(const std::string& key, const char* name)
{
    std::string data;
    EXPECT_EQ((DWORD)REG_DWORD, QueryValue(key, name, data)) << name;
    DWORD value = 0;
    if (data.size() == 4)
        memcpy(&value, data.data(), 4);
    return value;
}

class PreferenceTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(sandbox.IsActive()); }

    std::string Key(const char* group) { return std::string(kOptionKey) + group; }

    RegistrySandbox sandbox;
    CPreference preference;
};

TEST_F(PreferenceTest, DefaultsBeforeLoading)
{
    EXPECT_EQ(170, preference.ThumbWidth);
    EXPECT_EQ(130, preference.ThumbHeight);
    EXPECT_EQ(5, preference.ThumbBorder);
    EXPECT_EQ(0, preference.SortType);
    EXPECT_EQ(1, preference.SortDir);
    EXPECT_EQ(0, preference.OnlyShowDrawing);
    EXPECT_EQ(1, preference.FillOn);
    EXPECT_EQ(0, preference.DrawTextQickly);
    EXPECT_EQ(GetSysColor(COLOR_APPWORKSPACE), preference.ListCtrlColor);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), preference.ThumbnailColor);
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), preference.ThumbnailLightColor);
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), preference.ThumbnailDarkColor);
    EXPECT_TRUE(preference.GetHighLight());
}

TEST_F(PreferenceTest, AnEmptyRegistryKeepsEveryDefault)
{
    preference.ThumbWidth = 123;
    preference.LoadFromRegistry();
    EXPECT_EQ(123, preference.ThumbWidth);   // no key: not even clamped
    EXPECT_EQ(0, preference.PreviewHalfTone);
    std::string data;
    HKEY raster = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, Key("\\Raster").c_str(), 0, KEY_READ, &raster));
    RegCloseKey(raster);
}

TEST_F(PreferenceTest, SizesAndSortTypeAreClamped)
{
    SetDword(Key("\\Thumbnail"), "ThumbWidth", 300);
    SetDword(Key("\\Thumbnail"), "ThumbHeight", 10);
    SetDword(Key("\\Thumbnail"), "ThumbBorder", 0);
    SetDword(Key("\\Browser"), "SortType", 7);
    SetDword(Key("\\DwgDraw"), "BackGroundColor", 0x10005);
    preference.LoadFromRegistry();
    EXPECT_EQ(250, preference.ThumbWidth);
    EXPECT_EQ(80, preference.ThumbHeight);
    EXPECT_EQ(5, preference.ThumbBorder);
    EXPECT_EQ(3, preference.SortType);
    EXPECT_EQ(5, preference.BackGroundColor);

    SetDword(Key("\\Browser"), "SortType", (DWORD)-1);
    SetDword(Key("\\DwgDraw"), "BackGroundColor", 0xFFFF);
    SetDword(Key("\\Thumbnail"), "ThumbBorder", 11);
    preference.LoadFromRegistry();
    EXPECT_EQ(0, preference.SortType);
    EXPECT_EQ(-1, preference.BackGroundColor);
    EXPECT_EQ(10, preference.ThumbBorder);
}

TEST_F(PreferenceTest, FlagsAreTrueWhenNotZeroAndWrongTypesAreIgnored)
{
    SetDword(Key("\\Browser"), "OnlyShowDrawing", 7);
    SetDword(Key("\\Browser"), "ShowStatus", 0);
    SetDword(Key("\\DwgDraw"), "FillOn", 0x10000);
    SetString(HKEY_CURRENT_USER, Key("\\Thumbnail"), "ThumbWidth", "200");
    SetString(HKEY_CURRENT_USER, Key("\\Browser"), "SortDir", "0");
    preference.LoadFromRegistry();
    EXPECT_EQ(1, preference.OnlyShowDrawing);
    EXPECT_EQ(0, preference.ShowStatus);
    EXPECT_EQ(1, preference.FillOn);
    EXPECT_EQ(170, preference.ThumbWidth);
    EXPECT_EQ(1, preference.SortDir);
}

TEST_F(PreferenceTest, StoredColoursCountOnlyWithoutSystemColours)
{
    SetDword(Key("\\Thumbnail"), "SystemColor", 0);
    SetDword(Key("\\Thumbnail"), "ThumbnailColor", RGB(200, 50, 100));
    SetDword(Key("\\Thumbnail"), "ListCtrlColor", RGB(40, 100, 255));
    preference.LoadFromRegistry();
    EXPECT_EQ(RGB(200, 50, 100), preference.ThumbnailColor);
    EXPECT_EQ(RGB(255, 120, 170), preference.ThumbnailLightColor);
    EXPECT_EQ(RGB(130, 0, 30), preference.ThumbnailDarkColor);
    EXPECT_EQ(RGB(0, 54, 209), preference.ListShadeColors[0]);
    EXPECT_EQ(RGB(5, 65, 220), preference.ListShadeColors[1]);
    EXPECT_EQ(RGB(23, 83, 238), preference.ListShadeColors[2]);
    EXPECT_EQ(RGB(32, 92, 247), preference.ListShadeColors[3]);

    CPreference system;
    SetDword(Key("\\Thumbnail"), "SystemColor", 1);
    system.LoadFromRegistry();
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), system.ThumbnailColor);
    EXPECT_EQ(GetSysColor(COLOR_APPWORKSPACE), system.ListCtrlColor);
}

TEST_F(PreferenceTest, ResetColorsWithoutSystemColours)
{
    preference.SystemColor = 0;
    preference.ResetColors();
    EXPECT_EQ(RGB(128, 128, 192), preference.ThumbnailColor);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), preference.ListCtrlColor);
    EXPECT_EQ(RGB(198, 198, 255), preference.ThumbnailLightColor);
    EXPECT_EQ(RGB(58, 58, 122), preference.ThumbnailDarkColor);
}

TEST_F(PreferenceTest, SavedSettingsLoadBackAsDwords)
{
    preference.ThumbWidth = 200;
    preference.BackGroundColor = -1;
    preference.OnlyShowDrawing = 5;
    preference.ShowToolBar = 0;
    preference.SortDir = 0;
    preference.PreviewHalfTone = 1;
    preference.ConstrainProportion = 0;
    preference.SetSortType(2);
    preference.SaveToRegistry();
    EXPECT_EQ(200u, QueryDword(Key("\\Thumbnail"), "ThumbWidth"));
    EXPECT_EQ(0xFFFFFFFFu, QueryDword(Key("\\DwgDraw"), "BackGroundColor"));
    EXPECT_EQ(1u, QueryDword(Key("\\Browser"), "OnlyShowDrawing"));
    EXPECT_EQ(1u, QueryDword(Key("\\Raster"), "PreviewHalfTone"));
    EXPECT_EQ(0u, QueryDword(Key(""), "ConstrainProportion"));

    CPreference loaded;
    loaded.LoadFromRegistry();
    EXPECT_EQ(200, loaded.ThumbWidth);
    EXPECT_EQ(-1, loaded.BackGroundColor);
    EXPECT_EQ(1, loaded.OnlyShowDrawing);
    EXPECT_EQ(0, loaded.ShowToolBar);
    EXPECT_EQ(0, loaded.SortDir);
    EXPECT_EQ(2, loaded.SortType);
    EXPECT_EQ(1, loaded.PreviewHalfTone);
    EXPECT_EQ(0, loaded.ConstrainProportion);
}

TEST_F(PreferenceTest, ForwardersWithoutStores)
{
    preference.SetImageCacheEnabled(true);
    preference.SetSaveInBrowserFolderFirst(true);
    preference.SetReadFromBrowserFolderFirst(false);
    preference.SetLibIndexPath("C:\\x");
    EXPECT_FALSE(preference.IsImageCacheEnabled());
    EXPECT_FALSE(preference.GetSaveInBrowserFolderFirst());
    EXPECT_TRUE(preference.GetReadFromBrowserFolderFirst());
    EXPECT_STREQ("", preference.GetLibIndexPath());
}

TEST_F(PreferenceTest, AnEmptyRegistryGivesTheDefaultCacheFolder)
{
    FakeStores stores;
    preference.SetThumbnailStores(&stores);
    preference.InitAllParameters();
    std::string expected = std::string(ZrUI::getAppDataPath()) + "\\Harbeck\\ImageCache";
    EXPECT_TRUE(stores.hasCache);
    EXPECT_TRUE(stores.enabled);
    EXPECT_TRUE(stores.hasIndex);
    EXPECT_FALSE(stores.saveFirst);
    EXPECT_TRUE(stores.readFirst);
    EXPECT_STREQ(expected.c_str(), stores.path);
    EXPECT_TRUE(DirectoryExists(expected.c_str()));
    std::string data;
    ASSERT_EQ((DWORD)REG_SZ, QueryValue(Key("\\LibIndex"), "Path", data));
    EXPECT_STREQ(expected.c_str(), data.c_str());
    preference.SetThumbnailStores(nullptr);
}

TEST_F(PreferenceTest, AStoredFolderIsUsedAndNotWrittenBack)
{
    std::string folder = testfiles::MakeScratchFolder("libpath") + "\\new\\cache";
    SetString(HKEY_CURRENT_USER, Key("\\LibIndex"), "Path", folder);
    SetDword(Key("\\LibIndex"), "SaveInBrowserFolderFirst", 1);
    SetDword(Key("\\LibIndex"), "ReadFromBrowserFolderFirst", 0);
    SetDword(Key("\\ImageCache"), "Enabled", 0);
    FakeStores stores;
    preference.SetThumbnailStores(&stores);
    preference.InitAllParameters();
    EXPECT_STREQ(folder.c_str(), stores.path);
    EXPECT_TRUE(DirectoryExists(folder.c_str()));
    EXPECT_TRUE(stores.saveFirst);
    EXPECT_FALSE(stores.readFirst);
    EXPECT_FALSE(stores.enabled);
    preference.SetThumbnailStores(nullptr);
}

TEST_F(PreferenceTest, AnUnusableOrWronglyTypedFolderFallsBack)
{
    std::string file = testfiles::MakeScratchFolder("libpath") + "\\file";
    ASSERT_TRUE(testfiles::WriteFileBytes(file, "x"));
    std::string expected = std::string(ZrUI::getAppDataPath()) + "\\Harbeck\\ImageCache";
    FakeStores stores;
    preference.SetThumbnailStores(&stores);

    SetString(HKEY_CURRENT_USER, Key("\\LibIndex"), "Path", file + "\\cache");
    preference.InitAllParameters();
    EXPECT_STREQ(expected.c_str(), stores.path);

    SetDword(Key("\\LibIndex"), "Path", 7);
    preference.InitAllParameters();
    EXPECT_STREQ(expected.c_str(), stores.path);
    std::string data;
    EXPECT_EQ((DWORD)REG_SZ, QueryValue(Key("\\LibIndex"), "Path", data));

    SetString(HKEY_CURRENT_USER, Key("\\LibIndex"), "Path", "C:\\" + std::string(1100, 'p'));
    preference.InitAllParameters();
    EXPECT_STREQ(expected.c_str(), stores.path);
    preference.SetThumbnailStores(nullptr);
}

TEST_F(PreferenceTest, FinalSavesTheStoresSwitches)
{
    FakeStores stores;
    preference.SetThumbnailStores(&stores);
    stores.CreateDwgCache(false);
    stores.CreateLibIndexTree("C:\\cache\\", true, false);
    preference.FinalAllParameters();
    EXPECT_EQ(0u, QueryDword(Key("\\ImageCache"), "Enabled"));
    EXPECT_EQ(1u, QueryDword(Key("\\LibIndex"), "SaveInBrowserFolderFirst"));
    EXPECT_EQ(0u, QueryDword(Key("\\LibIndex"), "ReadFromBrowserFolderFirst"));
    std::string data;
    EXPECT_EQ((DWORD)REG_SZ, QueryValue(Key("\\LibIndex"), "Path", data));
    EXPECT_STREQ("C:\\cache\\", data.c_str());
    EXPECT_EQ(170u, QueryDword(Key("\\Thumbnail"), "ThumbWidth"));

    // Without stores the stored switches stay.
    preference.SetThumbnailStores(nullptr);
    preference.FinalAllParameters();
    EXPECT_EQ((DWORD)REG_SZ, QueryValue(Key("\\LibIndex"), "Path", data));
    EXPECT_STREQ("C:\\cache\\", data.c_str());
}

TEST_F(PreferenceTest, DestructionDeletesTheStores)
{
    FakeStores stores;
    {
        CPreference local;
        local.SetThumbnailStores(&stores);
        stores.CreateDwgCache(true);
        stores.CreateLibIndexTree("C:\\", false, true);
    }
    EXPECT_FALSE(stores.hasCache);
    EXPECT_FALSE(stores.hasIndex);
}

}  // namespace
