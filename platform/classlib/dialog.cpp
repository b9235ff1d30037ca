#include "platform/classlib/dialog.h"
#include "platform/classlib/callguard.h"
#include "platform/classlib/module_state.h"
#include "platform/classlib/winapp.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOkCommand)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancelCommand)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_lpszTemplateName(MAKEINTRESOURCEA(templateId)), m_pParentWnd(parent)
{
}

CDialog::CDialog(LPCSTR templateName, CWnd* parent)
    : m_lpszTemplateName(templateName), m_pParentWnd(parent)
{
}

// The dialog procedure of the template: the window's own messages come
// through AfxWndProc (the window is subclassed when it is created), so
// only WM_INITDIALOG needs an answer here.
INT_PTR CALLBACK AfxDialogProc(HWND window, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog* dialog = static_cast<CDialog*>(CWnd::FromHandlePermanent(window));
    if (!dialog)
        return TRUE;
    BOOL setFocus = TRUE;
    AfxCallGuarded("OnInitDialog", [&] { setFocus = dialog->OnInitDialog(); });
    return setFocus;
}

LPCDLGTEMPLATEA CDialog::LoadTemplate() const
{
    if (!m_lpszTemplateName)
        return nullptr;
    HINSTANCE resources = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(resources, m_lpszTemplateName, (LPCSTR)RT_DIALOG);
    if (!found)
        return nullptr;
    HGLOBAL loaded = ::LoadResource(resources, found);
    return loaded ? (LPCDLGTEMPLATEA)::LockResource(loaded) : nullptr;
}

BOOL CDialog::CreateFromTemplate(LPCDLGTEMPLATEA dialogTemplate, HWND owner)
{
    m_bCreating = TRUE;
    AfxHookWindowCreate(this);
    HWND window = ::CreateDialogIndirectParamA(AfxGetResourceHandle(), dialogTemplate, owner,
                                               AfxDialogProc, 0);
    AfxUnhookWindowCreate();
    m_bCreating = FALSE;
    if (!window && m_hWnd)
        Detach();
    return window != nullptr;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    return Create(MAKEINTRESOURCEA(templateId), parent);
}

BOOL CDialog::Create(LPCSTR templateName, CWnd* parent)
{
    m_lpszTemplateName = templateName;
    m_pParentWnd = parent;
    m_bModal = FALSE;
    LPCDLGTEMPLATEA dialogTemplate = LoadTemplate();
    if (!dialogTemplate)
        return FALSE;
    return CreateFromTemplate(dialogTemplate, parent ? parent->m_hWnd : nullptr);
}

HWND AfxGetModalOwner(CWnd* parent)
{
    CWnd* owner = parent ? parent : AfxGetMainWnd();
    if (!owner || !owner->m_hWnd)
        return nullptr;
    HWND top = owner->m_hWnd;
    while ((::GetWindowLongA(top, GWL_STYLE) & WS_CHILD) && ::GetParent(top))
        top = ::GetParent(top);
    return top;
}

INT_PTR CDialog::DoModal()
{
    LPCDLGTEMPLATEA dialogTemplate = LoadTemplate();
    if (!dialogTemplate)
        return -1;
    HWND owner = AfxGetModalOwner(m_pParentWnd);
    bool disabledOwner = owner && ::IsWindowEnabled(owner);
    if (disabledOwner)
        ::EnableWindow(owner, FALSE);
    m_bModal = TRUE;
    m_nModalResult = -1;
    if (CreateFromTemplate(dialogTemplate, owner)) {
        // The result may already be set by OnInitDialog.
        if (m_nModalResult == -1) {
            ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
            RunModalLoop();
        }
        // Give the activation back before the dialog goes away.
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (disabledOwner)
        ::EnableWindow(owner, TRUE);
    if (owner && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(owner);
    if (m_hWnd)
        DestroyWindow();
    m_bModal = FALSE;
    return m_nModalResult;
}

void CDialog::EndDialog(int result)
{
    if (m_bModal) {
        m_nModalResult = result;
        EndModalLoop(result);
    } else if (m_hWnd) {
        ShowWindow(SW_HIDE);
    }
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return !exchange.m_bFailed;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hWnd &&
        (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd)))
        return ::IsDialogMessageA(m_hWnd, msg);
    return FALSE;
}
