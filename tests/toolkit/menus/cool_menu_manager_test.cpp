#include "tests/support/gtest.h"

#include <string>
#include <vector>

#include "tests/toolkit/common/window_capture.h"
#include "tests/toolkit/menus/menu_test_ids.h"
#include "toolkit/menus/cool_menu_manager.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

class ImageMenus : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "frame", WS_POPUP | WS_VISIBLE, 40, 40, 300, 200,
                                   NULL, NULL));
        manager.Install(&frame);
        ASSERT_EQ(1, manager.LoadToolbar(IDR_TOOLBAR_MAIN));
        ASSERT_EQ(1, manager.LoadToolbar(IDR_TOOLBAR_MORE));
        ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
        popup = GetSubMenu(menu.m_hMenu, 0);
    }
    void TearDown() override { frame.DestroyWindow(); }

    void PopUp() { frame.SendMessage(WM_INITMENUPOPUP, (WPARAM)popup, 0); }

    void Highlight(UINT position, bool on)
    {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE;
        GetMenuItemInfoA(popup, position, TRUE, &info);
        info.fState = on ? (info.fState | MFS_HILITE) : (info.fState & ~MFS_HILITE);
        SetMenuItemInfoA(popup, position, TRUE, &info);
    }

    ULONG_PTR ItemData(UINT position) { return GetMenuItemData(popup, position, TRUE); }

    // Draws the item at the position into a white picture of the size the
    // item measures, as the menu would.
    testwin::ScreenPicture Draw(UINT position, UINT state, CSize& size)
    {
        MEASUREITEMSTRUCT measure = {};
        measure.CtlType = ODT_MENU;
        measure.itemID = GetMenuItemID(popup, position);
        measure.itemData = ItemData(position);
        EXPECT_TRUE(frame.SendMessage(WM_MEASUREITEM, 0, (LPARAM)&measure));
        size = CSize(measure.itemWidth + 30, measure.itemHeight);
        HDC screen = GetDC(NULL);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT all = {0, 0, size.cx, size.cy};
        FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = ODT_MENU;
        draw.itemID = measure.itemID;
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = state;
        draw.hwndItem = (HWND)popup;
        draw.hDC = dc;
        draw.rcItem = all;
        draw.itemData = measure.itemData;
        EXPECT_TRUE(frame.SendMessage(WM_DRAWITEM, 0, (LPARAM)&draw));
        testwin::ScreenPicture picture = testwin::ScreenPicture::OfDC(dc, all);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(NULL, screen);
        return picture;
    }

    CWnd frame;
    CCoolMenuManager manager;
    CMenu menu;
    HMENU popup = NULL;
};

}  // namespace

TEST_F(ImageMenus, ToolbarsGiveImagesAndTheFirstToolbarNamingACommandWins)
{
    EXPECT_EQ(CSize(16, 15), manager.GetImageSize());
    EXPECT_EQ(0, manager.GetImageIndex(ID_TEST_OPEN));
    EXPECT_EQ(1, manager.GetImageIndex(ID_TEST_SAVE));  // not the second toolbar's 4
    EXPECT_EQ(2, manager.GetImageIndex(ID_TEST_PRINT));
    EXPECT_EQ(5, manager.GetImageIndex(ID_TEST_COLOUR));
    EXPECT_EQ(-1, manager.GetImageIndex(ID_TEST_GRID));
    // Another button size, or a toolbar that is not there, adds nothing.
    EXPECT_EQ(0, manager.LoadToolbar(IDR_TOOLBAR_LARGE));
    EXPECT_EQ(0, manager.LoadToolbar(4242));
    EXPECT_EQ(-1, manager.GetImageIndex(ID_TEST_LARGE));
}

TEST_F(ImageMenus, APopupIsConvertedWithRecordsAndMadePlainAgain)
{
    PopUp();
    ULONG_PTR data = ItemData(0);
    ASSERT_NE(0u, data);
    EXPECT_EQ(0, memcmp((const void*)data, "mid0", 4));
    EXPECT_TRUE(GetMenuState(popup, 0, MF_BYPOSITION) & MF_OWNERDRAW);
    EXPECT_FALSE(GetMenuState(popup, 3, MF_BYPOSITION) & MF_OWNERDRAW);  // the separator
    HMENU more = GetSubMenu(popup, 7);
    EXPECT_TRUE(GetMenuState(more, 0, MF_BYPOSITION) & MF_OWNERDRAW);

    manager.m_convert = false;
    PopUp();
    char text[64] = "";
    GetMenuStringA(popup, 0, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("打开(&O)\tCtrl+O", text);
    EXPECT_FALSE(GetMenuState(popup, 0, MF_BYPOSITION) & MF_OWNERDRAW);
    EXPECT_EQ(0u, ItemData(0));
}

TEST_F(ImageMenus, ItemsOfAnotherOwnerDrawClientAreLeftToIt)
{
    // Item data that is no pointer at all, and one that points at text
    // starting like a record.
    static const char lookalike[] = "mid0 but not ours";
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    info.fType = MFT_OWNERDRAW;
    info.dwItemData = 5;
    SetMenuItemInfoA(popup, 0, TRUE, &info);
    info.dwItemData = (ULONG_PTR)lookalike;
    SetMenuItemInfoA(popup, 1, TRUE, &info);
    PopUp();
    EXPECT_EQ(5u, ItemData(0));
    EXPECT_EQ((ULONG_PTR)lookalike, ItemData(1));

    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_MENU;
    measure.itemData = (ULONG_PTR)lookalike;
    EXPECT_FALSE(manager.OnMeasureItem(&measure));
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_MENU;
    draw.itemData = 5;
    EXPECT_FALSE(manager.OnDrawItem(&draw));
}

TEST_F(ImageMenus, ItemsMeasureToTheirTextAndTwoBoxes)
{
    PopUp();
    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_MENU;
    measure.itemData = ItemData(0);
    ASSERT_TRUE(frame.SendMessage(WM_MEASUREITEM, 0, (LPARAM)&measure));
    EXPECT_GE((int)measure.itemHeight, GetSystemMetrics(SM_CYMENU));
    // Wider than the text alone by two 20-pixel boxes, less the check width.
    int textWidth = (int)measure.itemWidth - 2 * 20 - 6 + GetSystemMetrics(SM_CXMENUCHECK);
    EXPECT_GT(textWidth, 40);
}

TEST_F(ImageMenus, ImagesCheckMarksAndDisabledItemsDrawAsTheyShould)
{
    PopUp();
    CSize size;
    // An image: the red square of the first button in the box, the text
    // after it and the accelerator at the right.
    testwin::ScreenPicture open = Draw(0, 0, size);
    open.Save("menu_item_image");
    EXPECT_EQ(10 * 11, open.CountColour(CRect(0, 0, 20, size.cy), kRed));
    COLORREF ink = GetSysColor(COLOR_MENUTEXT);
    EXPECT_GT(open.CountColour(CRect(23, 0, 60, size.cy), ink), 10);
    EXPECT_GT(open.CountColour(CRect(size.cx - 20 - 40, 0, size.cx - 20, size.cy), ink), 10);

    // Selected: highlight right of the box, a raised edge around the image.
    testwin::ScreenPicture selected = Draw(0, ODS_SELECTED, size);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), selected.Pixel(size.cx - 3, 2));
    EXPECT_EQ(10 * 11, selected.CountColour(CRect(0, 0, 20, size.cy), kRed));

    // Disabled with an image: no colour of the image, its embossed shape.
    testwin::ScreenPicture disabled = Draw(1, ODS_GRAYED, size);
    disabled.Save("menu_item_disabled");
    EXPECT_EQ(0, disabled.CountColour(CRect(0, 0, 20, size.cy), kRed));
    EXPECT_EQ(0, disabled.CountColour(CRect(0, 0, 20, size.cy), kBlue));
    EXPECT_GT(disabled.CountColour(CRect(0, 0, 20, size.cy), GetSysColor(COLOR_3DSHADOW)), 60);
    EXPECT_GT(disabled.CountColour(CRect(23, 0, size.cx, size.cy), GetSysColor(COLOR_GRAYTEXT)), 10);

    // Checked without an image: the check mark on the light face.
    testwin::ScreenPicture checked = Draw(2, ODS_CHECKED, size);
    checked.Save("menu_item_checked");
    EXPECT_GT(checked.CountColour(CRect(0, 0, 20, size.cy), ink), 5);
    EXPECT_GT(checked.CountColour(CRect(0, 0, 20, size.cy), GetSysColor(COLOR_3DLIGHT)), 20);
    testwin::ScreenPicture unchecked = Draw(2, 0, size);
    EXPECT_EQ(0, unchecked.CountColour(CRect(0, 0, 20, size.cy), ink));
}

TEST_F(ImageMenus, AnItemsOwnIconDrawsInItsBoxAndAColourChangeLoadsTheImagesAgain)
{
    PopUp();
    // A blue icon for an item that no tool bar gives an image.
    std::vector<DWORD> bluePixels(16 * 16, 0x0000FF);
    std::vector<BYTE> opaque(16 * 16 / 8, 0);
    ICONINFO parts = {};
    parts.fIcon = TRUE;
    parts.hbmColor = CreateBitmap(16, 16, 1, 32, bluePixels.data());
    parts.hbmMask = CreateBitmap(16, 16, 1, 1, opaque.data());
    HICON blue = CreateIconIndirect(&parts);
    DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    ASSERT_TRUE(blue);
    const UINT about = 4;
    EXPECT_EQ(NULL, manager.SetItemIcon(popup, about, TRUE, blue));
    CSize size;
    testwin::ScreenPicture icon = Draw(about, 0, size);
    icon.Save("menu_item_icon");
    EXPECT_EQ(16 * 15, icon.CountColour(CRect(0, 0, 20, size.cy), kBlue));
    EXPECT_EQ(blue, manager.SetItemIcon(popup, about, TRUE, NULL));
    DestroyIcon(blue);
    EXPECT_EQ(0, Draw(about, 0, size).CountColour(CRect(0, 0, 20, size.cy), kBlue));

    // The system colours change: the tool bars load again in their order.
    frame.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(1, manager.GetImageIndex(ID_TEST_SAVE));
    EXPECT_EQ(5, manager.GetImageIndex(ID_TEST_COLOUR));
    EXPECT_EQ(10 * 11, Draw(0, 0, size).CountColour(CRect(0, 0, 20, size.cy), kRed));
}

TEST_F(ImageMenus, AMnemonicSharedByThreeItemsSelectsTheNextOneAndWraps)
{
    PopUp();
    LRESULT none = frame.SendMessage(WM_MENUCHAR, MAKEWPARAM('x', MF_POPUP), (LPARAM)popup);
    EXPECT_EQ(0, none);
    LRESULT open = frame.SendMessage(WM_MENUCHAR, MAKEWPARAM('o', MF_POPUP), (LPARAM)popup);
    EXPECT_EQ(MAKELRESULT(0, MNC_EXECUTE), open);
    LRESULT first = frame.SendMessage(WM_MENUCHAR, MAKEWPARAM('A', MF_POPUP), (LPARAM)popup);
    EXPECT_EQ(MAKELRESULT(4, MNC_SELECT), first);
    Highlight(5, true);
    EXPECT_EQ(MAKELRESULT(6, MNC_SELECT), frame.SendMessage(WM_MENUCHAR, MAKEWPARAM('a', MF_POPUP), (LPARAM)popup));
    Highlight(5, false);
    Highlight(6, true);
    EXPECT_EQ(MAKELRESULT(4, MNC_SELECT), frame.SendMessage(WM_MENUCHAR, MAKEWPARAM('a', MF_POPUP), (LPARAM)popup));
}

namespace {

// Takes a picture of the open menu once the menu loop waits, then closes it.
class MenuPhotographer : public CSubclassWnd {
public:
    testwin::ScreenPicture m_picture;
    bool m_taken = false;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_ENTERIDLE && wParam == MSGF_MENU && !m_taken) {
            m_taken = true;
            HWND menuWindow = (HWND)lParam;
            m_picture = testwin::ScreenPicture::OfWindow(menuWindow);
            PostMessageA(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessageA(m_window, WM_CANCELMODE, 0, 0);
        }
        return CSubclassWnd::WindowProc(message, wParam, lParam);
    }
};

}  // namespace

TEST_F(ImageMenus, ATrackedMenuShowsImagesChecksAndAccelerators)
{
    MenuPhotographer photographer;
    photographer.HookWindow(&frame);
    frame.SetForegroundWindow();
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN, 60, 60, 0, frame.m_hWnd, NULL);
    ASSERT_TRUE(photographer.m_taken);
    photographer.m_picture.Save("menu_tracked");
    RECT all = {0, 0, photographer.m_picture.Width(), photographer.m_picture.Height()};
    EXPECT_EQ(10 * 11, photographer.m_picture.CountColour(all, kRed));
    photographer.HookWindow((HWND)NULL);
}

namespace {

// A shell menu object that notes what reaches it.
class FakeShellMenu : public IContextMenu2 {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IContextMenu) ||
            IsEqualIID(iid, IID_IContextMenu2)) {
            *object = static_cast<IContextMenu2*>(this);
            AddRef();
            return S_OK;
        }
        *object = NULL;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_references; }
    STDMETHODIMP_(ULONG) Release() override { return --m_references; }
    STDMETHODIMP QueryContextMenu(HMENU, UINT, UINT, UINT, UINT) override { return S_OK; }
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO*) override { return S_OK; }
    STDMETHODIMP GetCommandString(UINT_PTR id, UINT type, UINT*, LPSTR text, UINT size) override
    {
        if (type != GCS_HELPTEXTA || id != 3)
            return E_FAIL;
        lstrcpynA(text, "用此程序打开", size);
        return S_OK;
    }
    STDMETHODIMP HandleMenuMsg(UINT message, WPARAM, LPARAM lParam) override
    {
        m_messages.push_back(message);
        if (message == WM_MEASUREITEM)
            m_dataSeen = ((MEASUREITEMSTRUCT*)lParam)->itemData;
        if (message == WM_DRAWITEM)
            m_dataSeen = ((DRAWITEMSTRUCT*)lParam)->itemData;
        return S_OK;
    }

    ULONG m_references = 1;
    std::vector<UINT> m_messages;
    ULONG_PTR m_dataSeen = 0;
};

// Keeps the status texts the manager sends to the frame.
class PromptCatcher : public CSubclassWnd {
public:
    std::vector<std::string> m_prompts;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SETMESSAGESTRING)
            m_prompts.push_back((const char*)lParam);
        return CSubclassWnd::WindowProc(message, wParam, lParam);
    }
};

}  // namespace

TEST_F(ImageMenus, ShellItemsAreMeasuredDrawnAndPromptedByTheShellMenu)
{
    FakeShellMenu shell;
    HMENU context = CreatePopupMenu();
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
    info.fType = MFT_OWNERDRAW;
    info.wID = 20003;
    info.dwItemData = 0x5150;
    InsertMenuItemA(context, 0, TRUE, &info);
    CCoolMenuManager::ConvertMenuItem(context, &shell, 0);
    EXPECT_EQ(2u, shell.m_references);
    EXPECT_EQ(0x5150u, CCoolMenuManager::GetItemOriginalData(context, 0, TRUE));

    // Measuring and drawing go to the shell with its own data in place.
    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_MENU;
    measure.itemData = GetMenuItemData(context, 0, TRUE);
    EXPECT_TRUE(frame.SendMessage(WM_MEASUREITEM, 0, (LPARAM)&measure));
    EXPECT_EQ(0x5150u, shell.m_dataSeen);
    EXPECT_EQ(GetMenuItemData(context, 0, TRUE), measure.itemData);
    frame.SendMessage(WM_INITMENUPOPUP, (WPARAM)context, 0);
    EXPECT_EQ((std::vector<UINT>{WM_MEASUREITEM, WM_INITMENUPOPUP}), shell.m_messages);

    // Its help texts become the frame's prompts while it is tracked.
    PromptCatcher catcher;
    catcher.HookWindow(&frame);
    manager.SetShellContextMenu(&shell, 20000, 29999);
    frame.SendMessage(WM_MENUSELECT, MAKEWPARAM(20003, 0), (LPARAM)context);
    frame.SendMessage(WM_MENUSELECT, MAKEWPARAM(40001, 0), (LPARAM)context);
    frame.SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    frame.SendMessage(WM_MENUSELECT, MAKEWPARAM(20003, 0), (LPARAM)context);  // forgotten: nothing
    EXPECT_EQ((std::vector<std::string>{"用此程序打开", ""}), catcher.m_prompts);
    catcher.HookWindow((HWND)NULL);

    // Giving the item its data back, then its record again.
    CMenuItemRecord* record = CCoolMenuManager::ExchangeItemData(context, 0, NULL, TRUE);
    ASSERT_TRUE(record);
    EXPECT_EQ(0x5150u, GetMenuItemData(context, 0, TRUE));
    EXPECT_EQ(NULL, CCoolMenuManager::ExchangeItemData(context, 0, record, TRUE));
    EXPECT_EQ((ULONG_PTR)record, GetMenuItemData(context, 0, TRUE));
    DestroyMenu(context);
    frame.SendMessage(WM_INITMENUPOPUP, (WPARAM)popup, 0);  // the record of the destroyed menu goes
    EXPECT_EQ(1u, shell.m_references);
}
