#include "tests/support/gtest.h"

#include <string>
#include <vector>

#include "browser/shell/pidl.h"
#include "browser/shell/shell_context_menu.h"
#include "browser/shell/shell_pidl.h"
#include "tests/support/test_files.h"
#include "toolkit/dragdrop/dropped_files.h"
#include "toolkit/menus/cool_menu_manager.h"

namespace {

// A scratch folder's items as the file list hands them over: the folder,
// its absolute id and the relative ids of the chosen files.
class ShellContextMenuTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        m_path = testfiles::MakeScratchFolder("context");
        ASSERT_TRUE(testfiles::WriteFileBytes(m_path + "\\a plan.dxf", "0"));
        ASSERT_TRUE(testfiles::WriteFileBytes(m_path + "\\b.dwg", "0"));
        ASSERT_TRUE(SUCCEEDED(m_pidl.ParsePath(m_path.c_str(), &m_absolute, nullptr)));
        ASSERT_TRUE(SUCCEEDED(m_desktop()->BindToObject(m_absolute, nullptr, IID_IShellFolder, (void**)&m_folder)));
        for (const char* name : {"a plan.dxf", "b.dwg"}) {
            WCHAR wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, name, -1, wide, MAX_PATH);
            LPITEMIDLIST item = nullptr;
            ULONG eaten = 0;
            ASSERT_TRUE(SUCCEEDED(m_folder->ParseDisplayName(nullptr, nullptr, wide, &eaten, &item, nullptr)));
            m_items.push_back(item);
        }
    }
    void TearDown() override
    {
        for (LPITEMIDLIST item : m_items)
            m_pidl.Free(item);
        m_pidl.Free(m_absolute);
        if (m_folder)
            m_folder->Release();
        OleUninitialize();
    }
    IShellFolder* m_desktop()
    {
        static IShellFolder* desktop = nullptr;
        if (!desktop)
            SHGetDesktopFolder(&desktop);
        return desktop;
    }
    CShellContextMenu* NewMenu()
    {
        return new CShellContextMenu(nullptr, nullptr, (m_path + "\\a plan.dxf").c_str(),
                                     (LPCITEMIDLIST*)m_items.data(), (UINT)m_items.size(), m_folder);
    }

    CShellPidl m_pidl;
    std::string m_path;
    LPITEMIDLIST m_absolute = nullptr;
    IShellFolder* m_folder = nullptr;
    std::vector<LPITEMIDLIST> m_items;
};

std::vector<std::string> MenuTexts(HMENU menu)
{
    std::vector<std::string> texts;
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        char text[MAX_PATH] = {};
        GetMenuStringA(menu, position, text, sizeof(text), MF_BYPOSITION);
        texts.push_back(text);
    }
    return texts;
}

}  // namespace

TEST_F(ShellContextMenuTest, ShellCommandsReplaceThePlaceholderWithTheirOwnIds)
{
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 1, "placeholder");
    CShellContextMenu* menu = NewMenu();
    ASSERT_EQ(S_OK, menu->Build(popup));
    int count = GetMenuItemCount(popup);
    ASSERT_GT(count, 0);
    for (int position = 0; position < count; ++position) {
        UINT id = GetMenuItemID(popup, position);
        if (id != 0 && id != (UINT)-1) {
            EXPECT_GE(id, CShellContextMenu::kFirstShellId);
            EXPECT_LE(id, CShellContextMenu::kLastShellId);
        }
    }
    EXPECT_EQ((UINT)-1, GetMenuState(popup, 1, MF_BYCOMMAND));
    delete menu;
    DestroyMenu(popup);

    CShellContextMenu noPath(nullptr, nullptr, "", (LPCITEMIDLIST*)m_items.data(), 1, m_folder);
    EXPECT_EQ(S_FALSE, noPath.Build(popup));
}

TEST_F(ShellContextMenuTest, CutFilesPasteAsAMove)
{
    CShellContextMenu* menu = NewMenu();
    menu->Invoke(CShellContextMenu::kCutId);
    std::vector<CString> names;
    ASSERT_TRUE(ReadClipboardFiles(nullptr, names));
    ASSERT_EQ(2u, names.size());
    EXPECT_EQ(m_path + "\\a plan.dxf", std::string(names[0]));
    EXPECT_EQ((DWORD)DROPEFFECT_MOVE, GetPreferredDropEffect());
    menu->Invoke(CShellContextMenu::kCopyId);
    EXPECT_EQ((DWORD)DROPEFFECT_COPY, GetPreferredDropEffect());
    delete menu;
}

TEST_F(ShellContextMenuTest, SendToLevelsAreSortedSubmenusWithEmptyOnesMarked)
{
    std::string sendTo = testfiles::MakeScratchFolder("sendto");
    for (const char* name : {"zeta.txt", "alpha.txt", "mid.txt"})
        ASSERT_TRUE(testfiles::WriteFileBytes(sendTo + "\\" + name, ""));
    ASSERT_TRUE(CreateDirectoryA((sendTo + "\\nothing here").c_str(), nullptr));
    CPIDL sendToList;
    ASSERT_TRUE(SUCCEEDED(sendToList.Set(sendTo.c_str())));
    IShellFolder* folder = nullptr;
    ASSERT_TRUE(SUCCEEDED(m_desktop()->BindToObject(sendToList.Get(), nullptr, IID_IShellFolder, (void**)&folder)));

    CShellContextMenu* menu = NewMenu();
    HMENU popup = CreatePopupMenu();
    UINT nextId = CShellContextMenu::kFirstSendToId;
    menu->FillSendTo(popup, folder, sendToList.Get(), nextId);
    EXPECT_EQ(std::vector<std::string>({"nothing here", "alpha.txt", "mid.txt", "zeta.txt"}), MenuTexts(popup));
    HMENU empty = GetSubMenu(popup, 0);
    ASSERT_NE(nullptr, empty);
    ASSERT_EQ(1, GetMenuItemCount(empty));
    EXPECT_TRUE(GetMenuState(empty, 0, MF_BYPOSITION) & MF_GRAYED);
    // Files are numbered in the order they were found; each keeps its item.
    UINT alphaId = GetMenuItemID(popup, 1);
    char target[MAX_PATH] = {};
    ASSERT_TRUE(SHGetPathFromIDListA(menu->GetSendToTarget(alphaId), target));
    EXPECT_EQ(sendTo + "\\alpha.txt", std::string(target));
    EXPECT_EQ(nullptr, menu->GetSendToTarget(29999));
    DestroyMenu(popup);

    // Ids stop below 32000.
    HMENU limited = CreatePopupMenu();
    UINT lateId = CShellContextMenu::kSendToIdLimit - 2;
    menu->FillSendTo(limited, folder, sendToList.Get(), lateId);
    EXPECT_EQ(CShellContextMenu::kSendToIdLimit, lateId);
    for (int position = 0; position < GetMenuItemCount(limited); ++position)
        EXPECT_LT(GetMenuItemID(limited, position), CShellContextMenu::kSendToIdLimit);
    DestroyMenu(limited);
    delete menu;
    folder->Release();
}

TEST_F(ShellContextMenuTest, WithTheImageMenuManagerSendToEntriesShowTheirIcons)
{
    std::string sendTo = testfiles::MakeScratchFolder("sendto-icons");
    ASSERT_TRUE(testfiles::WriteFileBytes(sendTo + "\\target.txt", ""));
    CPIDL sendToList;
    ASSERT_TRUE(SUCCEEDED(sendToList.Set(sendTo.c_str())));
    IShellFolder* folder = nullptr;
    ASSERT_TRUE(SUCCEEDED(m_desktop()->BindToObject(sendToList.Get(), nullptr, IID_IShellFolder, (void**)&folder)));
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "menus", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                               nullptr));
    CCoolMenuManager manager;
    manager.Install(&frame);

    HMENU popup = CreatePopupMenu();
    CShellContextMenu* menu = new CShellContextMenu(&manager, frame.m_hWnd, (m_path + "\\a plan.dxf").c_str(),
                                                    (LPCITEMIDLIST*)m_items.data(), 1, m_folder);
    UINT nextId = CShellContextMenu::kFirstSendToId;
    menu->FillSendTo(popup, folder, sendToList.Get(), nextId);
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoA(popup, 0, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    CMenuItemRecord* record = CMenuItemRecord::FromData(info.dwItemData);
    ASSERT_NE(nullptr, record);
    EXPECT_NE(nullptr, record->m_icon);
    delete menu;
    DestroyMenu(popup);
    folder->Release();
    manager.Destroy();
    frame.DestroyWindow();
}
