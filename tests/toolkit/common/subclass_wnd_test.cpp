#include "tests/support/gtest.h"

#include <vector>

#include "toolkit/common/subclass_wnd.h"

namespace {

const UINT kProbe = WM_APP + 1;

// A hook that notes each probe it sees (with its name), answers the ones
// it swallows and passes the rest on.
class NotingHook : public CSubclassWnd {
public:
    NotingHook(std::vector<char>& seen, char name, bool swallow = false)
        : m_seen(seen), m_name(name), m_swallow(swallow)
    {
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kProbe) {
            m_seen.push_back(m_name);
            if (m_swallow)
                return 99;
            if (wParam == 7)
                return Default() + 1000 * (LRESULT)lParam;
        }
        return CSubclassWnd::WindowProc(message, wParam, lParam);
    }

private:
    std::vector<char>& m_seen;
    char m_name;
    bool m_swallow;
};

// Whether a hook was still on the window when its own procedure saw
// WM_NCDESTROY.
bool g_hookedAtEnd = false;

// The window's own procedure answers a probe with wParam + lParam.
LRESULT CALLBACK OwnProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbe)
        return (LRESULT)(wParam + lParam);
    if (message == WM_NCDESTROY)
        g_hookedAtEnd = CSubclassWndMap::Instance().Lookup(window) != NULL;
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = OwnProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "SubclassTestWindow";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, "SubclassTestWindow", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
}

}  // namespace

TEST(SubclassWnd, NewestHookSeesFirstAndRemovingHooksInAnyOrderRestoresTheProcedure)
{
    HWND window = MakeWindow();
    std::vector<char> seen;
    NotingHook older(seen, 'o');
    NotingHook newer(seen, 'n');
    ASSERT_TRUE(older.HookWindow(window));
    ASSERT_TRUE(newer.HookWindow(window));
    EXPECT_EQ((WNDPROC)HookedWindowProc, (WNDPROC)GetWindowLongPtrA(window, GWLP_WNDPROC));
    EXPECT_EQ(5, SendMessageA(window, kProbe, 2, 3));
    EXPECT_EQ((std::vector<char>{'n', 'o'}), seen);

    // The older (not the head) goes: the newer keeps working.
    older.HookWindow((HWND)NULL);
    seen.clear();
    EXPECT_EQ(5, SendMessageA(window, kProbe, 2, 3));
    EXPECT_EQ((std::vector<char>{'n'}), seen);
    EXPECT_EQ((WNDPROC)HookedWindowProc, (WNDPROC)GetWindowLongPtrA(window, GWLP_WNDPROC));

    newer.HookWindow((HWND)NULL);
    EXPECT_EQ((WNDPROC)OwnProc, (WNDPROC)GetWindowLongPtrA(window, GWLP_WNDPROC));
    EXPECT_FALSE(newer.IsHooked());
    DestroyWindow(window);
}

TEST(SubclassWnd, AHookCanStopAMessageAndDefaultPassesTheCurrentOneOn)
{
    HWND window = MakeWindow();
    std::vector<char> seen;
    NotingHook bottom(seen, 'b');
    NotingHook top(seen, 't', true);
    bottom.HookWindow(window);
    top.HookWindow(window);
    EXPECT_EQ(99, SendMessageA(window, kProbe, 1, 1));
    EXPECT_EQ((std::vector<char>{'t'}), seen);
    top.HookWindow((HWND)NULL);

    // Default hands on the message being handled with its own wParam and
    // lParam: the window answers 7 + 3, the hook adds 3000.
    EXPECT_EQ(3010, SendMessageA(window, kProbe, 7, 3));
    DestroyWindow(window);
}

TEST(SubclassWnd, DestroyingTheWindowUnhooksEveryHookBeforeItsOwnProcedureSeesTheEnd)
{
    HWND window = MakeWindow();
    std::vector<char> seen;
    NotingHook first(seen, 'a');
    NotingHook second(seen, 'b');
    first.HookWindow(window);
    second.HookWindow(window);
    g_hookedAtEnd = true;
    DestroyWindow(window);
    EXPECT_FALSE(g_hookedAtEnd);
    EXPECT_FALSE(first.IsHooked());
    EXPECT_FALSE(second.IsHooked());
    EXPECT_EQ(NULL, CSubclassWndMap::Instance().Lookup(window));

    // Unhooking an unhooked object only clears it.
    EXPECT_TRUE(first.HookWindow((HWND)NULL));
    EXPECT_FALSE(first.IsHooked());
}

TEST(SubclassWnd, AHookThatGoesOutOfScopeUnhooksItself)
{
    HWND window = MakeWindow();
    {
        std::vector<char> seen;
        NotingHook hook(seen, 'h');
        hook.HookWindow(window);
    }
    EXPECT_EQ((WNDPROC)OwnProc, (WNDPROC)GetWindowLongPtrA(window, GWLP_WNDPROC));
    EXPECT_EQ(4, SendMessageA(window, kProbe, 2, 2));
    DestroyWindow(window);
}
