// The bar layout kept in the profile: saved, the frame made again, loaded:
// the same bars in the same places. Layouts that do not fit the frame or
// are damaged leave the default layout in force.
#include "tests/toolkit/bars/bars_test_frame.h"

#include <functional>
#include <string>
#include <vector>

using namespace barstest;

namespace {

const char kProfile[] = "Bar State";
const char kRoot[] = "Software\\Pellmoor\\Harbeck\\";

void WriteDword(const char* key, const char* value, DWORD data)
{
    HKEY handle;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, (std::string(kRoot) + key).c_str(), &handle));
    RegSetValueExA(handle, value, 0, REG_DWORD, (const BYTE*)&data, sizeof(data));
    RegCloseKey(handle);
}

DWORD ReadDword(const char* key, const char* value, DWORD missing)
{
    DWORD data = missing, size = sizeof(data);
    RegGetValueA(HKEY_CURRENT_USER, (std::string(kRoot) + key).c_str(), value, RRF_RT_REG_DWORD, nullptr, &data,
                 &size);
    return data;
}

struct Places {
    CRect tree, preview, third, tool, pane;
    bool treeFloating;
    CRect treeFrame;
};

}  // namespace

class LayoutState : public BarsTest {
protected:
    Places Capture()
    {
        Places places = {InFrame(&m_frame->m_treeBar), InFrame(&m_frame->m_previewBar),
                         InFrame(&m_frame->m_thirdBar), InFrame(&m_frame->m_toolBar), InFrame(&m_frame->m_pane),
                         m_frame->m_treeBar.IsFloating() != FALSE, CRect()};
        if (places.treeFloating)
            m_frame->m_treeBar.GetDockingFrame()->GetWindowRect(&places.treeFrame);
        return places;
    }
    // A fresh frame with the stored layout loaded.
    void Restart()
    {
        CloseFrame();
        ASSERT_TRUE(MakeFrame());
        m_frame->LoadBarState(kProfile);
        Idle();
    }
};

TEST_F(LayoutState, SavedLayoutComesBackAfterARestart)
{
    ASSERT_TRUE(MakeFrame());
    // Floated tree bar, third bar widened, preview bar moved to the top.
    CPoint floatAt(500, 300);
    m_frame->FloatControlBar(&m_frame->m_treeBar, floatAt);
    m_frame->m_thirdBar.m_vertSize.cx = 240;
    m_frame->DockControlBar(&m_frame->m_previewBar, AFX_IDW_DOCKBAR_BOTTOM);
    Idle();
    Places before = Capture();
    ASSERT_TRUE(before.treeFloating);
    m_frame->SaveBarState(kProfile);

    // What the records say, field by field.
    EXPECT_LE(4u, ReadDword("Bar State-Summary", "Bars", 0));
    EXPECT_EQ(240u, ReadDword("Bar State-SCBar-107", "sizeVertCX", 0));
    EXPECT_EQ(0u, ReadDword("Bar State-SCBar-105", "Expanded", 9));
    EXPECT_EQ((DWORD)AFX_IDW_TOOLBAR, ReadDword("Bar State-Bar0", "BarID", 0));
    EXPECT_EQ(9u, ReadDword("Bar State-Bar0", "Visible", 9)) << "a visible bar writes no Visible value";

    Restart();
    Places after = Capture();
    EXPECT_TRUE(after.treeFloating);
    EXPECT_EQ(before.treeFrame, after.treeFrame);
    EXPECT_EQ(before.preview, after.preview);
    EXPECT_EQ(before.third, after.third);
    EXPECT_EQ(before.tool, after.tool);
    EXPECT_EQ(before.pane, after.pane);
    EXPECT_EQ(AFX_IDW_DOCKBAR_BOTTOM, m_frame->m_previewBar.m_pDockBar->GetDlgCtrlID());
}

TEST_F(LayoutState, AHiddenBarStaysHiddenAndSaysSo)
{
    ASSERT_TRUE(MakeFrame());
    m_frame->ShowControlBar(&m_frame->m_thirdBar, FALSE, FALSE);
    m_frame->SaveBarState(kProfile);
    bool found = false;
    for (int i = 0; i < 10; ++i) {
        std::string section = "Bar State-Bar" + std::to_string(i);
        if (ReadDword(section.c_str(), "BarID", 0) == kThirdBarId) {
            EXPECT_EQ(0u, ReadDword(section.c_str(), "Visible", 1));
            found = true;
        }
    }
    EXPECT_TRUE(found);
    Restart();
    EXPECT_FALSE(m_frame->m_thirdBar.IsWindowVisible());
    EXPECT_TRUE(m_frame->m_treeBar.IsWindowVisible());
}

TEST_F(LayoutState, LayoutsThatDoNotFitTheFrameAreIgnored)
{
    ASSERT_TRUE(MakeFrame());
    Places defaults = Capture();
    m_frame->FloatControlBar(&m_frame->m_treeBar, CPoint(400, 300));
    m_frame->m_previewBar.m_vertSize.cx = 300;
    m_frame->SaveBarState(kProfile);

    // An older run's bar 108 in the left dock bar's list: nothing is loaded,
    // the sizing bars' sizes included.
    for (int i = 0; i < 10; ++i) {
        std::string section = "Bar State-Bar" + std::to_string(i);
        if (ReadDword(section.c_str(), "BarID", 0) == AFX_IDW_DOCKBAR_LEFT)
            WriteDword(section.c_str(), "Bar#1", 108);
    }
    Restart();
    Places after = Capture();
    EXPECT_FALSE(after.treeFloating);
    EXPECT_EQ(defaults.tree, after.tree);
    EXPECT_EQ(defaults.preview.Width(), after.preview.Width());

    // A hidden bar's entry (id with bit 16) counts as that bar.
    m_frame->SaveBarState(kProfile);
    for (int i = 0; i < 10; ++i) {
        std::string section = "Bar State-Bar" + std::to_string(i);
        if (ReadDword(section.c_str(), "BarID", 0) == AFX_IDW_DOCKBAR_LEFT)
            WriteDword(section.c_str(), "Bar#1", 0x10000 | kTreeBarId);
    }
    EXPECT_TRUE(m_frame->VerifyBarState(kProfile));
}

TEST_F(LayoutState, DamagedValuesNeverHideTheBarsOrCrash)
{
    ASSERT_TRUE(MakeFrame());
    Places defaults = Capture();
    m_frame->FloatControlBar(&m_frame->m_treeBar, CPoint(400, 300));
    m_frame->SaveBarState(kProfile);
    int floatingRecord = -1;
    for (int i = 0; i < 10; ++i) {
        std::string section = "Bar State-Bar" + std::to_string(i);
        if (ReadDword(section.c_str(), "BarID", 0) == AFX_IDW_DOCKBAR_FLOAT)
            floatingRecord = i;
    }
    ASSERT_GE(floatingRecord, 0);
    std::string floating = "Bar State-Bar" + std::to_string(floatingRecord);

    // A floating frame far off the screen comes back onto it.
    WriteDword(floating.c_str(), "XPos", 40000);
    WriteDword(floating.c_str(), "YPos", (DWORD)-40000);
    Restart();
    ASSERT_TRUE(m_frame->m_treeBar.IsFloating());
    CRect window, work;
    m_frame->m_treeBar.GetDockingFrame()->GetWindowRect(&window);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(CRect().IntersectRect(&window, &work));
    EXPECT_TRUE(m_frame->m_treeBar.GetDockingFrame()->IsWindowVisible());

    // Counts out of range, a value of the wrong type, a truncated value: the
    // layout is ignored and the default layout stays.
    const std::vector<std::function<void()>> damages = {
        [] { WriteDword("Bar State-Summary", "Bars", 100000); },
        [&] { WriteDword(floating.c_str(), "Bars", 0x7FFFFFFF); },
        [&] {
            HKEY key;
            RegCreateKeyA(HKEY_CURRENT_USER, (std::string(kRoot) + "Bar State-Summary").c_str(), &key);
            RegSetValueExA(key, "Bars", 0, REG_SZ, (const BYTE*)"x", 2);
            WORD shortValue = 3;
            RegSetValueExA(key, "ScreenCX", 0, REG_DWORD, (const BYTE*)&shortValue, sizeof(shortValue));
            RegCloseKey(key);
        },
        [] { WriteDword("Bar State-SCBar-106", "sizeVertCX", 10); },
    };
    for (const auto& damage : damages) {
        CloseFrame();
        ASSERT_TRUE(MakeFrame());
        m_frame->SaveBarState(kProfile);
        damage();
        Restart();
        EXPECT_TRUE(m_frame->m_treeBar.IsWindowVisible());
        EXPECT_TRUE(m_frame->m_previewBar.IsWindowVisible());
        EXPECT_EQ(defaults.tool, InFrame(&m_frame->m_toolBar));
        EXPECT_GE(InFrame(&m_frame->m_treeBar).Width(), 33);
    }
}
