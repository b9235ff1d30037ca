// A property sheet of two pages, run modally and driven through the
// sheet's own messages: only created pages apply, and only after OK; a
// page that refuses to be left keeps the sheet on it.
#include "tests/support/gtest.h"

#include <functional>
#include <string>

#include "platform/classlib/classlib.h"
#include "tests/classlib/window_test_ids.h"

namespace {

class CTestPage : public CPropertyPage {
public:
    explicit CTestPage(UINT templateId) : CPropertyPage(templateId) {}

    std::string trace;
    CString text;
    bool refuseToLeave = false;

protected:
    BOOL OnInitDialog() override
    {
        trace += "init ";
        return CPropertyPage::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* exchange) override { DDX_Text(exchange, IDC_TEST_PAGE_EDIT, text); }
    BOOL OnKillActive() override
    {
        trace += "leave ";
        return !refuseToLeave && CPropertyPage::OnKillActive();
    }
    BOOL OnApply() override
    {
        trace += "apply ";
        return TRUE;
    }
    void OnReset() override { trace += "reset "; }
};

std::function<void(HWND)> g_script;
CPropertySheet* g_sheet = nullptr;

void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (g_sheet && g_sheet->m_hWnd && g_script)
        g_script(g_sheet->m_hWnd);
}

// Runs the sheet; the script acts once the sheet's window exists.
INT_PTR RunSheet(CPropertySheet& sheet, std::function<void(HWND)> script)
{
    g_script = script;
    g_sheet = &sheet;
    SetTimer(nullptr, 0, 30, RunScript);
    INT_PTR result = sheet.DoModal();
    g_sheet = nullptr;
    return result;
}

class PropertySheetTest : public testing::Test {
protected:
    PropertySheetTest() : m_first(IDD_TEST_PAGE_FIRST), m_second(IDD_TEST_PAGE_SECOND), m_sheet("测试属性表")
    {
        m_sheet.m_sheetFlags = PSH_NOAPPLYNOW;
        m_sheet.AddPage(&m_first);
        m_sheet.AddPage(&m_second);
    }
    CTestPage m_first;
    CTestPage m_second;
    CPropertySheet m_sheet;
};

}  // namespace

TEST_F(PropertySheetTest, OkAppliesOnlyThePagesThatWereShown)
{
    INT_PTR result = RunSheet(m_sheet, [](HWND sheet) {
        SetDlgItemTextA(PropSheet_GetCurrentPageHwnd(sheet), IDC_TEST_PAGE_EDIT, "改过");
        SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ("init leave apply ", m_first.trace);
    EXPECT_EQ("", m_second.trace);
    EXPECT_STREQ("改过", m_first.text);
    EXPECT_EQ(nullptr, m_sheet.m_hWnd);
}

TEST_F(PropertySheetTest, OkAfterVisitingBothPagesAppliesBoth)
{
    INT_PTR result = RunSheet(m_sheet, [](HWND sheet) {
        SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
        SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ("init leave apply ", m_first.trace);
    EXPECT_EQ("init leave apply ", m_second.trace);
}

TEST_F(PropertySheetTest, CancelAppliesNothing)
{
    INT_PTR result = RunSheet(m_sheet, [](HWND sheet) { SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0); });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(std::string::npos, m_first.trace.find("apply"));
}

TEST_F(PropertySheetTest, APageThatRefusesToBeLeftKeepsTheSheetOnIt)
{
    m_first.refuseToLeave = true;
    int selectedAfterTry = -1;
    INT_PTR result = RunSheet(m_sheet, [&](HWND sheet) {
        SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
        HWND tabs = PropSheet_GetTabControl(sheet);
        selectedAfterTry = (int)SendMessageA(tabs, TCM_GETCURSEL, 0, 0);
        m_first.refuseToLeave = false;
        SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_EQ(0, selectedAfterTry);
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ("", m_second.trace);
}
