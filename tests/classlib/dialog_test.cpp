// Dialogs from templates: a modal dialog runs its own loop with its owner
// disabled until EndDialog, moves data with DDX; a modeless dialog lives
// beside the caller.
#include "tests/support/gtest.h"
#include "platform/classlib/classlib.h"
#include "tests/classlib/window_test_ids.h"
#include "tests/classlib/window_test_support.h"

namespace {

class CTestDialog : public CDialog {
public:
    explicit CTestDialog(CWnd* parent = nullptr) : CDialog(IDD_TEST_DIALOG, parent) {}

    CString name = "初始";
    int number = 12;
    int checked = 1;
    int choice = 2;
    // What the timer does once the dialog runs: type into the controls
    // and press OK, or post IDCANCEL.
    bool typeAndConfirm = true;
    HWND owner = nullptr;
    BOOL ownerEnabledWhileRunning = TRUE;
    CString shownName;
    int shownChoice = -5;
    CWnd* subclassedEdit = nullptr;

protected:
    void DoDataExchange(CDataExchange* exchange) override
    {
        DDX_Text(exchange, IDC_TEST_EDIT, name);
        DDX_Text(exchange, IDC_TEST_NUMBER, number);
        DDX_Check(exchange, IDC_TEST_CHECK, checked);
        DDX_Radio(exchange, IDC_TEST_RADIO_FIRST, choice);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SetTimer(1, 10);
        return TRUE;
    }
    afx_msg void OnTimer(UINT_PTR id)
    {
        KillTimer(id);
        if (owner)
            ownerEnabledWhileRunning = ::IsWindowEnabled(owner);
        GetDlgItemText(IDC_TEST_EDIT, shownName);
        shownChoice = GetCheckedRadioButton(IDC_TEST_RADIO_FIRST, IDC_TEST_RADIO_THIRD);
        if (!typeAndConfirm) {
            PostMessage(WM_COMMAND, IDCANCEL);
            return;
        }
        SetDlgItemText(IDC_TEST_EDIT, "新的名字");
        SetDlgItemText(IDC_TEST_NUMBER, " -345 ");
        CheckDlgButton(IDC_TEST_CHECK, BST_UNCHECKED);
        CheckRadioButton(IDC_TEST_RADIO_FIRST, IDC_TEST_RADIO_THIRD, IDC_TEST_RADIO_FIRST);
        // As the OK button would.
        SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)::GetDlgItem(m_hWnd, IDOK));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDialog, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(Dialog, ModalDialogMovesDataBothWaysAndEndsWithOk)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                               nullptr, nullptr));
    CTestDialog dialog(&owner);
    dialog.owner = owner.m_hWnd;
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    EXPECT_FALSE(dialog.ownerEnabledWhileRunning);
    EXPECT_TRUE(owner.IsWindowEnabled());
    // The controls showed the members...
    EXPECT_STREQ("初始", dialog.shownName);
    EXPECT_EQ(IDC_TEST_RADIO_THIRD, dialog.shownChoice);
    // ...and OK read them back.
    EXPECT_STREQ("新的名字", dialog.name);
    EXPECT_EQ(-345, dialog.number);
    EXPECT_EQ(0, dialog.checked);
    EXPECT_EQ(0, dialog.choice);
}

TEST(Dialog, PostedCancelEndsTheModalLoopWithoutReadingTheControls)
{
    CTestDialog dialog;
    dialog.typeAndConfirm = false;
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_STREQ("初始", dialog.name);
}

TEST(Dialog, MissingTemplateFailsTheDialog)
{
    CDialog dialog(9999);
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_FALSE(dialog.Create(9999));
}

TEST(Dialog, QuitRequestEndsTheModalLoopAndStaysQueued)
{
    CTestDialog dialog;
    dialog.typeAndConfirm = false;
    PostQuitMessage(3);
    dialog.DoModal();
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3u, msg.wParam);
}

class CModelessDialog : public CDialog {
public:
    CWnd edit;
    int initCalls = 0;

protected:
    void DoDataExchange(CDataExchange* exchange) override { DDX_Control(exchange, IDC_TEST_EDIT, edit); }
    BOOL OnInitDialog() override
    {
        ++initCalls;
        return CDialog::OnInitDialog();
    }
};

TEST(Dialog, ModelessDialogRunsBesideTheCaller)
{
    CModelessDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG));
    EXPECT_EQ(1, dialog.initCalls);
    EXPECT_EQ(&dialog, CWnd::FromHandlePermanent(dialog.m_hWnd));
    EXPECT_EQ(&dialog.edit, CWnd::FromHandlePermanent(::GetDlgItem(dialog.m_hWnd, IDC_TEST_EDIT)));
    dialog.ShowWindow(SW_SHOW);
    EXPECT_TRUE(dialog.IsWindowVisible());
    // Escape reaches the dialog through the message loop: a modeless
    // dialog only hides itself.
    dialog.edit.SetFocus();
    PostMessageA(dialog.edit.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(windowtest::PumpUntil([&] { return !dialog.IsWindowVisible(); }));
    dialog.DestroyWindow();
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    EXPECT_EQ(nullptr, dialog.edit.m_hWnd);
}

}  // namespace
