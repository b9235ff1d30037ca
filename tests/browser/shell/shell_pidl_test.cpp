#include "tests/support/gtest.h"

#include <string>

#include "browser/shell/pidl.h"
#include "browser/shell/shell_details.h"
#include "browser/shell/shell_pidl.h"
#include "browser/shell/shell_settings.h"
#include "browser/shell/shell_statics.h"
#include "tests/support/test_files.h"

namespace {

class ShellPidlTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_folder = testfiles::MakeScratchFolder("pidl");
        m_nested = m_folder + "\\outer\\inner";
        ASSERT_TRUE(CreateDirectoryA((m_folder + "\\outer").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(m_nested.c_str(), nullptr));
        ASSERT_TRUE(testfiles::WriteFileBytes(m_nested + "\\plan.dxf", "0\nEOF\n"));
    }

    std::string ParsingName(LPCITEMIDLIST absolute)
    {
        LPSTR name = nullptr;
        if (FAILED(m_pidl.GetName(absolute, &name, nullptr, SHGDN_FORPARSING)))
            return "";
        std::string text = name;
        m_pidl.FreeText(name);
        return text;
    }

    CShellPidl m_pidl;
    std::string m_folder;
    std::string m_nested;
};

}  // namespace

TEST_F(ShellPidlTest, ItemListsSplitJoinAndCompareLikeTheShellsOwn)
{
    LPITEMIDLIST full = nullptr;
    ASSERT_TRUE(SUCCEEDED(m_pidl.ParsePath(m_nested.c_str(), &full, nullptr)));
    LPITEMIDLIST parent = nullptr;
    ASSERT_TRUE(SUCCEEDED(m_pidl.ParsePath((m_folder + "\\outer").c_str(), &parent, nullptr)));
    EXPECT_EQ(ParsingName(full), m_nested);

    int count = m_pidl.GetItemCount(full);
    EXPECT_EQ(count, m_pidl.GetItemCount(parent) + 1);
    EXPECT_EQ(0, m_pidl.GetItemCount(nullptr));

    // The n-th item, and the last one for any n beyond the end.
    LPITEMIDLIST last = m_pidl.GetItemAt(full, count);
    LPITEMIDLIST beyond = m_pidl.GetItemAt(full, count + 5);
    ASSERT_EQ(CShellPidl::GetSize(last), CShellPidl::GetSize(beyond));
    EXPECT_EQ(0, memcmp(last, beyond, CShellPidl::GetSize(last)));
    LPITEMIDLIST first = m_pidl.GetItemAt(full, 0);
    EXPECT_EQ(1, m_pidl.GetItemCount(first));
    EXPECT_EQ(0, memcmp(first, full, first->mkid.cb));

    LPITEMIDLIST joined = m_pidl.Concat(parent, last);
    EXPECT_EQ(CShellPidl::GetSize(full), CShellPidl::GetSize(joined));
    EXPECT_TRUE(m_pidl.IsEqual(joined, full));
    EXPECT_FALSE(m_pidl.IsEqual(parent, full));
    EXPECT_FALSE(m_pidl.IsEqual(nullptr, full));
    EXPECT_FALSE(m_pidl.IsEqual(full, nullptr));

    LPITEMIDLIST copy = m_pidl.Copy(full);
    EXPECT_EQ(ParsingName(copy), m_nested);
    for (LPITEMIDLIST list : {full, parent, last, beyond, first, joined, copy})
        m_pidl.Free(list);
}

TEST_F(ShellPidlTest, OwnedListSplitsIntoParentAndItemAndGivesTheItemsMenu)
{
    CPIDL pidl;
    ASSERT_TRUE(SUCCEEDED(pidl.Set((m_nested + "\\plan.dxf").c_str())));
    LPITEMIDLIST parent = nullptr;
    LPITEMIDLIST item = nullptr;
    ASSERT_TRUE(pidl.Split(&parent, &item));
    EXPECT_EQ(ParsingName(parent), m_nested);
    EXPECT_EQ(1, m_pidl.GetItemCount(item));

    // The item again, built from its folder and relative id.
    IShellFolder* folder = nullptr;
    ASSERT_TRUE(SUCCEEDED(
        ShellStatics().desktop->BindToObject(parent, nullptr, IID_IShellFolder, (void**)&folder)));
    char name[MAX_PATH];
    EXPECT_TRUE(m_pidl.GetFriendlyName(folder, item, SHGDN_NORMAL | SHGDN_INFOLDER, name));
    EXPECT_STREQ("plan.dxf", name);
    CPIDL again;
    ASSERT_TRUE(SUCCEEDED(again.Set(folder, item)));
    EXPECT_TRUE(m_pidl.IsEqual(again.Get(), pidl.Get()));

    // The details' first column is the name.
    CShellDetails details(folder);
    SHELLDETAILS column = {};
    ASSERT_TRUE(SUCCEEDED(details.GetDetailsOf(item, 0, &column)));
    STRRET text = column.str;
    LPSTR columnText = nullptr;
    ASSERT_TRUE(SUCCEEDED(m_pidl.StrRetToText(text, item, &columnText)));
    EXPECT_EQ(0, strncmp("plan", columnText, 4));
    m_pidl.FreeText(columnText);
    CShellDetails noFolder(nullptr);
    EXPECT_EQ(E_FAIL, noFolder.GetDetailsOf(item, 0, &column));

    IContextMenu* menu = nullptr;
    ASSERT_TRUE(SUCCEEDED(pidl.GetUIObjectOf(IID_IContextMenu, (void**)&menu, nullptr)));
    menu->Release();
    folder->Release();
    m_pidl.Free(parent);
    m_pidl.Free(item);
}

TEST(ShellStaticsTest, DesktopSendToAndSmallIconsAreThere)
{
    const CShellStatics& statics = ShellStatics();
    EXPECT_NE(nullptr, statics.desktop);
    EXPECT_NE(nullptr, statics.allocator);
    EXPECT_NE(nullptr, statics.smallImages);
    EXPECT_EQ(&statics, &ShellStatics());
}

TEST(ShellSettingsTest, FlagsComeFromTheShellOrStayAtTheirStart)
{
    CShellSettings shell;
    EXPECT_TRUE(shell.Refresh());
    CShellSettings withoutExport("kernel32.dll");
    EXPECT_TRUE(withoutExport.Refresh());
    EXPECT_EQ(0x80u, withoutExport.GetFlags());
    CShellSettings missing("no-such-library-here.dll");
    EXPECT_FALSE(missing.Refresh());
}
