// Windows: the handle map (permanent objects and temporary wrappers),
// attaching and subclassing existing windows, and notifications that a
// parent reflects to the control that sent them.
#include "tests/support/gtest.h"
#include "platform/classlib/classlib.h"

namespace {

HWND MakeForeignWindow(LPCSTR className, HWND parent = nullptr, UINT id = 0, DWORD style = 0)
{
    return CreateWindowA(className, "外来", style | (parent ? WS_CHILD : WS_OVERLAPPED), 0, 0, 80, 20,
                         parent, (HMENU)(UINT_PTR)id, GetModuleHandleA(nullptr), nullptr);
}

TEST(HandleMap, OwnersArePermanentForeignWindowsGetTemporaryWrappers)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr));
    EXPECT_EQ(&owner, CWnd::FromHandle(owner.m_hWnd));
    EXPECT_EQ(&owner, CWnd::FromHandlePermanent(owner.m_hWnd));

    HWND foreign = MakeForeignWindow("STATIC");
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(foreign));
    CWnd* wrapper = CWnd::FromHandle(foreign);
    ASSERT_NE(nullptr, wrapper);
    EXPECT_EQ(foreign, wrapper->m_hWnd);
    EXPECT_EQ(wrapper, CWnd::FromHandle(foreign));
    EXPECT_EQ(nullptr, CWnd::FromHandle(nullptr));

    // Deleting the wrappers leaves the window alone.
    AfxDeleteTempMaps();
    EXPECT_TRUE(IsWindow(foreign));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(foreign));
    DestroyWindow(foreign);
}

TEST(HandleMap, AttachAndDetachLeaveTheWindowAlive)
{
    HWND foreign = MakeForeignWindow("STATIC");
    {
        CWnd attached;
        ASSERT_TRUE(attached.Attach(foreign));
        EXPECT_FALSE(attached.Attach(foreign));
        EXPECT_EQ(&attached, CWnd::FromHandlePermanent(foreign));
        EXPECT_EQ(foreign, attached.Detach());
        EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(foreign));
    }
    EXPECT_TRUE(IsWindow(foreign));
    {
        CWnd owner;
        owner.Attach(foreign);
    }
    // An owner's end destroys its window.
    EXPECT_FALSE(IsWindow(foreign));
}

struct OtherThreadProbe {
    HWND window;
    CWnd* permanent;
};

DWORD WINAPI LookUpOnOtherThread(LPVOID param)
{
    OtherThreadProbe* probe = static_cast<OtherThreadProbe*>(param);
    probe->permanent = CWnd::FromHandlePermanent(probe->window);
    return 0;
}

TEST(HandleMap, ThreadsHaveMapsOfTheirOwn)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr));
    OtherThreadProbe probe = {owner.m_hWnd, &owner};
    HANDLE thread = CreateThread(nullptr, 0, LookUpOnOtherThread, &probe, 0, nullptr);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 5000));
    CloseHandle(thread);
    EXPECT_EQ(nullptr, probe.permanent);
}

class CCheckBoxProbe : public CWnd {
public:
    int appMessages = 0;
    int postNcDestroyCalls = 0;

protected:
    afx_msg LRESULT OnAppMessage(WPARAM, LPARAM)
    {
        ++appMessages;
        return 5;
    }
    void PostNcDestroy() override { ++postNcDestroyCalls; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCheckBoxProbe, CWnd)
    ON_MESSAGE(WM_APP, &CCheckBoxProbe::OnAppMessage)
END_MESSAGE_MAP()

TEST(Subclassing, MessagesPassTheMapThenTheControlsOwnProcedure)
{
    HWND box = MakeForeignWindow("BUTTON", nullptr, 0, BS_AUTOCHECKBOX);
    WNDPROC original = (WNDPROC)GetWindowLongPtrA(box, GWLP_WNDPROC);
    CCheckBoxProbe probe;
    ASSERT_TRUE(probe.SubclassWindow(box));
    EXPECT_EQ(5, SendMessageA(box, WM_APP, 0, 0));
    EXPECT_EQ(1, probe.appMessages);
    // The button's own procedure still runs for what the map leaves.
    SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(BST_CHECKED, SendMessageA(box, BM_GETCHECK, 0, 0));

    EXPECT_EQ(box, probe.UnsubclassWindow());
    EXPECT_EQ(original, (WNDPROC)GetWindowLongPtrA(box, GWLP_WNDPROC));
    SendMessageA(box, WM_APP, 0, 0);
    EXPECT_EQ(1, probe.appMessages);
    DestroyWindow(box);
}

TEST(Subclassing, DestroyingTheWindowEndsTheObjectsHold)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr));
    MakeForeignWindow("BUTTON", parent.m_hWnd, 17, BS_PUSHBUTTON);
    CCheckBoxProbe probe;
    ASSERT_TRUE(probe.SubclassDlgItem(17, &parent));
    HWND box = probe.m_hWnd;
    parent.DestroyWindow();
    EXPECT_FALSE(IsWindow(box));
    EXPECT_EQ(nullptr, probe.m_hWnd);
    EXPECT_EQ(1, probe.postNcDestroyCalls);
}

// A control that handles some of its own notifications.
class CReflectingControl : public CWnd {
public:
    int clicks = 0, notifyClicks = 0, returns = 0;

protected:
    afx_msg void OnClicked() { ++clicks; }
    afx_msg void OnNotifyClick(NMHDR*, LRESULT* result)
    {
        ++notifyClicks;
        *result = 11;
    }
    // Handles the notice and lets the parent see it too.
    afx_msg BOOL OnReturn(NMHDR*, LRESULT*)
    {
        ++returns;
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingControl, CWnd)
    ON_CONTROL_REFLECT(BN_CLICKED, &CReflectingControl::OnClicked)
    ON_NOTIFY_REFLECT(NM_CLICK, &CReflectingControl::OnNotifyClick)
    ON_NOTIFY_REFLECT_EX(NM_RETURN, &CReflectingControl::OnReturn)
END_MESSAGE_MAP()

class CNotifiedParent : public CWnd {
public:
    int buttonClicks = 0, notifyClicks = 0, doubleClicks = 0, returns = 0, rangeNotices = 0;
    UINT rangeId = 0;

protected:
    afx_msg void OnButtonClicked() { ++buttonClicks; }
    afx_msg void OnNotifyClick(NMHDR*, LRESULT*) { ++notifyClicks; }
    afx_msg void OnDoubleClick(NMHDR* header, LRESULT* result)
    {
        ++doubleClicks;
        *result = (LRESULT)header->idFrom + 100;
    }
    afx_msg void OnReturn(NMHDR*, LRESULT*) { ++returns; }
    afx_msg void OnRangeNotice(UINT id, NMHDR*, LRESULT*)
    {
        ++rangeNotices;
        rangeId = id;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNotifiedParent, CWnd)
    ON_BN_CLICKED(21, &CNotifiedParent::OnButtonClicked)
    ON_BN_CLICKED(22, &CNotifiedParent::OnButtonClicked)
    ON_NOTIFY(NM_CLICK, 21, &CNotifiedParent::OnNotifyClick)
    ON_NOTIFY(NM_DBLCLK, 21, &CNotifiedParent::OnDoubleClick)
    ON_NOTIFY(NM_RETURN, 21, &CNotifiedParent::OnReturn)
    ON_NOTIFY_RANGE(NM_RCLICK, 30, 39, &CNotifiedParent::OnRangeNotice)
END_MESSAGE_MAP()

class Reflection : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr));
        ASSERT_TRUE(control.SubclassWindow(MakeForeignWindow("BUTTON", parent.m_hWnd, 21, BS_PUSHBUTTON)));
        plain = MakeForeignWindow("BUTTON", parent.m_hWnd, 22, BS_PUSHBUTTON);
    }
    LRESULT Notify(HWND from, UINT id, UINT code)
    {
        NMHDR header = {from, id, code};
        return parent.SendMessage(WM_NOTIFY, id, (LPARAM)&header);
    }
    CNotifiedParent parent;
    CReflectingControl control;
    HWND plain = nullptr;
};

TEST_F(Reflection, ControlNotificationGoesToTheControlFirst)
{
    SendMessageA(control.m_hWnd, BM_CLICK, 0, 0);
    EXPECT_EQ(1, control.clicks);
    EXPECT_EQ(0, parent.buttonClicks);
    SendMessageA(plain, BM_CLICK, 0, 0);
    EXPECT_EQ(1, parent.buttonClicks);
}

TEST_F(Reflection, NotifyGoesToTheControlFirstWithItsResult)
{
    EXPECT_EQ(11, Notify(control.m_hWnd, 21, NM_CLICK));
    EXPECT_EQ(1, control.notifyClicks);
    EXPECT_EQ(0, parent.notifyClicks);
    // Not handled by the control: the parent's map, with its result.
    EXPECT_EQ(121, Notify(control.m_hWnd, 21, NM_DBLCLK));
    EXPECT_EQ(1, parent.doubleClicks);
    // Handled by the control, which lets the parent have it too.
    Notify(control.m_hWnd, 21, NM_RETURN);
    EXPECT_EQ(1, control.returns);
    EXPECT_EQ(1, parent.returns);
}

TEST_F(Reflection, NotifyRangeHandlerGetsTheId)
{
    HWND other = MakeForeignWindow("STATIC", parent.m_hWnd, 35);
    Notify(other, 35, NM_RCLICK);
    EXPECT_EQ(1, parent.rangeNotices);
    EXPECT_EQ(35u, parent.rangeId);
    Notify(other, 40, NM_RCLICK);
    EXPECT_EQ(1, parent.rangeNotices);
}

TEST(WindowCalls, TextStyleAndDescendants)
{
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, "图纸", WS_OVERLAPPED, 0, 0, 100, 60, nullptr, nullptr));
    CString text;
    window.GetWindowText(text);
    EXPECT_STREQ("图纸", text);
    window.SetWindowText("另一个很长的标题文字");
    window.GetWindowText(text);
    EXPECT_STREQ("另一个很长的标题文字", text);

    EXPECT_TRUE(window.ModifyStyle(0, WS_CLIPCHILDREN));
    EXPECT_TRUE(window.GetStyle() & WS_CLIPCHILDREN);
    EXPECT_FALSE(window.ModifyStyle(0, WS_CLIPCHILDREN));
    EXPECT_TRUE(window.ModifyStyleEx(0, WS_EX_TOOLWINDOW));
    EXPECT_TRUE(window.GetExStyle() & WS_EX_TOOLWINDOW);

    HWND child = MakeForeignWindow("EDIT", window.m_hWnd, 9);
    window.SetDlgItemText(9, "编辑");
    EXPECT_EQ(2 * 2, window.GetDlgItemText(9, text));
    EXPECT_STREQ("编辑", text);
    EXPECT_EQ(child, window.GetDlgItem(9)->m_hWnd);
    EXPECT_EQ(window.m_hWnd, window.GetDlgItem(9)->GetParent()->m_hWnd);
    EXPECT_EQ(window.m_hWnd, window.GetDlgItem(9)->GetTopLevelParent()->m_hWnd);
}

}  // namespace
