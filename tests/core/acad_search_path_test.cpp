#include "tests/support/gtest.h"

#include <string>

#include "core/acad_search_path.h"
#include "core/preference.h"
#include "platform/zrio/library_globals.h"
#include "tests/support/registry_sandbox.h"

namespace {

const char kAutoCad[] = "SoftWare\\Autodesk\\AutoCAD";

void SetString(HKEY root, const std::string& key, const char* name, const std::string& text)
{
    HKEY handle = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &handle, nullptr));
    RegSetValueExA(handle, name, 0, REG_SZ, (const BYTE*)text.c_str(), (DWORD)text.size() + 1);
    RegCloseKey(handle);
}

void SetDword(HKEY root, const std::string& key, const char* name, DWORD value)
{
    HKEY handle = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &handle, nullptr));
    RegSetValueExA(handle, name, 0, REG_DWORD, (const BYTE*)&value, sizeof value);
    RegCloseKey(handle);
}

// A machine installation R24.0 / ACAD-4101:804 with its search path.
void InstallForMachine(const std::string& path)
{
    std::string release = std::string(kAutoCad) + "\\R24.0";
    SetString(HKEY_LOCAL_MACHINE, kAutoCad, "Curver", "R24.0");
    SetString(HKEY_LOCAL_MACHINE, release, "Curver", "ACAD-4101:804");
    SetString(HKEY_LOCAL_MACHINE, release + "\\ACAD-4101:804", "ACAD", path);
}

// The user's profile "<<Unnamed Profile>>" of the same release.
void InstallForUser(const std::string& path)
{
    std::string product = std::string(kAutoCad) + "\\R24.0\\ACAD-4101:804";
    SetString(HKEY_CURRENT_USER, kAutoCad, "Curver", "R24.0");
    SetString(HKEY_CURRENT_USER, std::string(kAutoCad) + "\\R24.0", "Curver", "ACAD-4101:804");
    SetString(HKEY_CURRENT_USER, product + "\\Profiles", nullptr, "<<Unnamed Profile>>");
    SetString(HKEY_CURRENT_USER, product + "\\Profiles\\<<Unnamed Profile>>\\General", "ACAD", path);
}

class AcadSearchPathTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(sandbox.IsActive()); }
    RegistrySandbox sandbox;
    CString path;
};

TEST_F(AcadSearchPathTest, NoAutoCadNoPath)
{
    EXPECT_FALSE(FindAcadSearchPath(path));
    EXPECT_STREQ("", path);
}

TEST_F(AcadSearchPathTest, TheMachinePathComesFirst)
{
    InstallForMachine("C:\\acad\\support;C:\\acad\\fonts");
    InstallForUser("D:\\mine");
    EXPECT_TRUE(FindAcadSearchPath(path));
    EXPECT_STREQ("C:\\acad\\support;C:\\acad\\fonts", path);
}

TEST_F(AcadSearchPathTest, TheUsersProfileServesWithoutAMachineInstallation)
{
    InstallForUser("D:\\mine");
    EXPECT_FALSE(FindAcadSearchPathMachine(path));
    EXPECT_TRUE(FindAcadSearchPath(path));
    EXPECT_STREQ("D:\\mine", path);
}

TEST_F(AcadSearchPathTest, BrokenStepsAndWrongTypesFindNothing)
{
    InstallForMachine("C:\\acad");
    SetString(HKEY_LOCAL_MACHINE, kAutoCad, "Curver", "");
    EXPECT_FALSE(FindAcadSearchPathMachine(path));
    SetString(HKEY_LOCAL_MACHINE, kAutoCad, "Curver", "R99.0");
    EXPECT_FALSE(FindAcadSearchPathMachine(path));
    SetString(HKEY_LOCAL_MACHINE, kAutoCad, "Curver", "R24.0");
    SetDword(HKEY_LOCAL_MACHINE, std::string(kAutoCad) + "\\R24.0\\ACAD-4101:804", "ACAD", 5);
    EXPECT_FALSE(FindAcadSearchPathMachine(path));
    SetString(HKEY_LOCAL_MACHINE, std::string(kAutoCad) + "\\R24.0\\ACAD-4101:804", "ACAD",
              std::string(1500, 'x'));
    EXPECT_FALSE(FindAcadSearchPathMachine(path));
    EXPECT_STREQ("", path);
}

TEST_F(AcadSearchPathTest, StartUpHandsOnlyTheMachinePathToTheDrawingLibrary)
{
    InstallForMachine("C:\\acad\\support");
    InstallForUser("D:\\mine");
    DWG_SetSearchDirectories("untouched");
    CPreference preference;
    preference.InitAllParameters();
    EXPECT_EQ("C:\\acad\\support", zr::Globals().searchDirectories);

    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kAutoCad);
    RegDeleteTreeA(HKEY_CURRENT_USER, kAutoCad);
    DWG_SetSearchDirectories("untouched");
    preference.InitAllParameters();
    EXPECT_EQ("untouched", zr::Globals().searchDirectories);
    DWG_SetSearchDirectories("");
}

}  // namespace
