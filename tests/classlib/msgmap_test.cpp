// Message maps: each message reaches its handler with wParam and lParam
// cracked into typed arguments, derived maps chain to their base maps, and
// what no map handles goes on to the default window procedure.
#include "tests/support/gtest.h"
#include "platform/classlib/classlib.h"

namespace {

UINT g_registeredMessage = RegisterWindowMessageA("HarbeckClasslibTestMessage");

class CBaseProbe : public CWnd {
public:
    BOOL CreateProbe(LPCSTR title = "probe")
    {
        return CreateEx(0, nullptr, title, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr);
    }
    CString createdName;
    int failCreate = 0;
    int throwOnCreate = 0;
    UINT sizeType = 0;
    int sizeCx = 0, sizeCy = 0, baseSizeCalls = 0;
    UINT mouseFlags = 0;
    CPoint mousePoint;
    UINT wheelFlags = 0;
    short wheelDelta = 0;
    CPoint wheelPoint;
    UINT key = 0, keyRepeat = 0, keyFlags = 0;
    UINT ctlColor = 0xFFFF;
    HWND ctlColorWindow = nullptr;
    HWND focusFrom = nullptr;
    int postNcDestroyCalls = 0;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        createdName = cs->lpszName;
        if (throwOnCreate == 1)
            AfxThrowFileException(CFileException::fileNotFound);
        if (throwOnCreate == 2)
            throw 5;
        if (failCreate)
            return -1;
        return CWnd::OnCreate(cs);
    }
    afx_msg void OnSize(UINT type, int cx, int cy)
    {
        ++baseSizeCalls;
        sizeType = type;
        sizeCx = cx;
        sizeCy = cy;
        CWnd::OnSize(type, cx, cy);
    }
    afx_msg void OnMouseMove(UINT flags, CPoint point)
    {
        mouseFlags = flags;
        mousePoint = point;
    }
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point)
    {
        wheelFlags = flags;
        wheelDelta = delta;
        wheelPoint = point;
        return TRUE;
    }
    afx_msg void OnKeyDown(UINT pressed, UINT repeat, UINT flags)
    {
        key = pressed;
        keyRepeat = repeat;
        keyFlags = flags;
    }
    afx_msg void OnSetFocus(CWnd* old)
    {
        focusFrom = old ? old->m_hWnd : nullptr;
        CWnd::OnSetFocus(old);
    }
    afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* window, UINT kind)
    {
        ctlColor = kind;
        ctlColorWindow = window ? window->m_hWnd : nullptr;
        return (HBRUSH)GetStockObject(GRAY_BRUSH);
    }
    afx_msg LRESULT OnSum(WPARAM wParam, LPARAM lParam) { return (LRESULT)wParam + lParam; }
    afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM) { return (LRESULT)wParam * 2; }
    void PostNcDestroy() override { ++postNcDestroyCalls; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseProbe, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSEWHEEL()
    ON_WM_KEYDOWN()
    ON_WM_SETFOCUS()
    ON_WM_CTLCOLOR()
    ON_MESSAGE(WM_APP + 1, &CBaseProbe::OnSum)
    ON_REGISTERED_MESSAGE(g_registeredMessage, &CBaseProbe::OnRegistered)
END_MESSAGE_MAP()

class CDerivedProbe : public CBaseProbe {
public:
    int derivedSizeCalls = 0;

protected:
    afx_msg void OnSize(UINT type, int cx, int cy)
    {
        ++derivedSizeCalls;
        CBaseProbe::OnSize(type, cx, cy);
    }
    afx_msg LRESULT OnOwn(WPARAM, LPARAM) { return 77; }
    // Replaces the base's handler of the same message.
    afx_msg LRESULT OnSumReplaced(WPARAM, LPARAM) { return -1; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedProbe, CBaseProbe)
    ON_WM_SIZE()
    ON_MESSAGE(WM_APP + 2, &CDerivedProbe::OnOwn)
    ON_MESSAGE(WM_APP + 1, &CDerivedProbe::OnSumReplaced)
END_MESSAGE_MAP()

TEST(MessageMap, CracksArgumentsOfWindowMessages)
{
    CBaseProbe probe;
    ASSERT_TRUE(probe.CreateProbe("名字"));
    EXPECT_STREQ("名字", probe.createdName);

    probe.SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(300, 200));
    EXPECT_EQ((UINT)SIZE_MAXIMIZED, probe.sizeType);
    EXPECT_EQ(300, probe.sizeCx);
    EXPECT_EQ(200, probe.sizeCy);

    probe.SendMessage(WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-5, 7));
    EXPECT_EQ((UINT)(MK_LBUTTON | MK_SHIFT), probe.mouseFlags);
    EXPECT_EQ(-5, probe.mousePoint.x);
    EXPECT_EQ(7, probe.mousePoint.y);

    EXPECT_EQ(1, probe.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, -120), MAKELPARAM(640, -2)));
    EXPECT_EQ((UINT)MK_CONTROL, probe.wheelFlags);
    EXPECT_EQ(-120, probe.wheelDelta);
    EXPECT_EQ(640, probe.wheelPoint.x);
    EXPECT_EQ(-2, probe.wheelPoint.y);

    probe.SendMessage(WM_KEYDOWN, VK_F5, MAKELPARAM(3, 0x4041));
    EXPECT_EQ((UINT)VK_F5, probe.key);
    EXPECT_EQ(3u, probe.keyRepeat);
    EXPECT_EQ(0x4041u, probe.keyFlags);

    EXPECT_EQ(12, probe.SendMessage(WM_APP + 1, 5, 7));
    EXPECT_EQ(42, probe.SendMessage(g_registeredMessage, 21, 0));
    probe.DestroyWindow();
}

TEST(MessageMap, FocusWindowArrivesAsObject)
{
    CBaseProbe probe, other;
    ASSERT_TRUE(probe.CreateProbe());
    ASSERT_TRUE(other.CreateProbe());
    probe.SendMessage(WM_SETFOCUS, (WPARAM)other.m_hWnd, 0);
    EXPECT_EQ(other.m_hWnd, probe.focusFrom);
    probe.SendMessage(WM_SETFOCUS, 0, 0);
    EXPECT_EQ(nullptr, probe.focusFrom);
}

TEST(MessageMap, EveryControlColourMessageReachesOnCtlColor)
{
    CBaseProbe probe;
    ASSERT_TRUE(probe.CreateProbe());
    HWND edit = CreateWindowA("EDIT", "", WS_CHILD, 0, 0, 50, 20, probe.m_hWnd, (HMENU)5, nullptr, nullptr);
    HDC dc = ::GetDC(edit);
    LRESULT brush = probe.SendMessage(WM_CTLCOLOREDIT, (WPARAM)dc, (LPARAM)edit);
    EXPECT_EQ((LRESULT)GetStockObject(GRAY_BRUSH), brush);
    EXPECT_EQ((UINT)CTLCOLOR_EDIT, probe.ctlColor);
    EXPECT_EQ(edit, probe.ctlColorWindow);
    probe.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)edit);
    EXPECT_EQ((UINT)CTLCOLOR_STATIC, probe.ctlColor);
    ::ReleaseDC(edit, dc);
}

TEST(MessageMap, UnhandledMessagesGoToTheDefaultProcedure)
{
    CBaseProbe probe;
    ASSERT_TRUE(probe.CreateProbe("默认"));
    char text[32] = {};
    EXPECT_EQ(4, probe.SendMessage(WM_GETTEXT, sizeof(text), (LPARAM)text));
    EXPECT_STREQ("默认", text);
    EXPECT_EQ(0, probe.SendMessage(WM_APP + 2, 0, 0));
}

TEST(MessageMap, DerivedMapsChainToTheBase)
{
    CDerivedProbe probe;
    ASSERT_TRUE(probe.CreateProbe());
    int derivedBefore = probe.derivedSizeCalls;
    int baseBefore = probe.baseSizeCalls;
    probe.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(10, 20));
    EXPECT_EQ(derivedBefore + 1, probe.derivedSizeCalls);
    EXPECT_EQ(baseBefore + 1, probe.baseSizeCalls);
    EXPECT_EQ(10, probe.sizeCx);
    // Only in the base map.
    probe.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(1, 2));
    EXPECT_EQ(CPoint(1, 2), probe.mousePoint);
    // Only in the derived map, and replacing the base's entry.
    EXPECT_EQ(77, probe.SendMessage(WM_APP + 2, 0, 0));
    EXPECT_EQ(-1, probe.SendMessage(WM_APP + 1, 5, 7));
}

TEST(MessageMap, FailedCreationLeavesTheObjectToItsCreator)
{
    CBaseProbe probe;
    probe.failCreate = 1;
    EXPECT_FALSE(probe.CreateProbe());
    EXPECT_EQ(nullptr, probe.m_hWnd);
    EXPECT_EQ(0, probe.postNcDestroyCalls);
    probe.failCreate = 0;
    ASSERT_TRUE(probe.CreateProbe());
    probe.DestroyWindow();
    EXPECT_EQ(nullptr, probe.m_hWnd);
    EXPECT_EQ(1, probe.postNcDestroyCalls);
}

TEST(MessageMap, ExceptionLeavingAHandlerFailsOnlyThatMessage)
{
    CBaseProbe probe;
    probe.throwOnCreate = 1;
    EXPECT_FALSE(probe.CreateProbe());
    probe.throwOnCreate = 2;
    EXPECT_FALSE(probe.CreateProbe());
    probe.throwOnCreate = 0;
    ASSERT_TRUE(probe.CreateProbe());
}

}  // namespace
