#include "platform/classlib/cmdtarget.h"
#include "platform/classlib/menu.h"
#include "platform/classlib/wnd.h"
#include "platform/classlib/winapp.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

static const MessageMapEntry g_cmdTargetEntries[] = {{0, 0, 0, 0, nullptr, nullptr, nullptr}};
static const MessageMap g_cmdTargetMap = {nullptr, g_cmdTargetEntries};

const MessageMap* CCmdTarget::GetThisMessageMap()
{
    return &g_cmdTargetMap;
}

const MessageMap* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

// Splits OnCmdMsg's nCode into the message and the code of the map entries.
static void SplitCommandCode(int nCode, UINT& message, UINT& code)
{
    if ((UINT)nCode == CN_UPDATE_COMMAND_UI) {
        message = WM_COMMAND;
        code = CN_UPDATE_COMMAND_UI;
        return;
    }
    message = HIWORD(nCode) ? HIWORD(nCode) : WM_COMMAND;
    code = LOWORD(nCode);
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    UINT message, code;
    SplitCommandCode(nCode, message, code);
    const MessageMapEntry* entry = FindMessageEntry(GetMessageMap(), message, code, nID);
    if (!entry)
        return FALSE;
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pmf = entry->handler;
        return TRUE;
    }
    MessageCall call = {message, 0, 0, nID, code, pExtra, 0};
    return entry->invoke(this, entry->handler, call);
}

void CCmdTarget::BeginWaitCursor()
{
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor()
{
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor()
{
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(0);
}

void CCmdUI::Enable(BOOL on)
{
    m_bEnableChanged = TRUE;
    if (m_pMenu) {
        if (!m_pSubMenu)
            m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
        return;
    }
    if (!m_pOther)
        return;
    // A control losing its enabled state hands the focus on first.
    if (!on && ::GetFocus() == m_pOther->m_hWnd) {
        HWND parent = ::GetParent(m_pOther->m_hWnd);
        if (parent)
            ::SendMessageA(parent, WM_NEXTDLGCTL, 0, FALSE);
    }
    m_pOther->EnableWindow(on);
}

void CCmdUI::SetCheck(int check)
{
    if (m_pMenu) {
        if (!m_pSubMenu)
            m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
        return;
    }
    if (m_pOther && (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON))
        m_pOther->SendMessage(BM_SETCHECK, check);
}

void CCmdUI::SetRadio(BOOL on)
{
    if (!m_pMenu) {
        SetCheck(on ? 1 : 0);
        return;
    }
    if (m_pSubMenu)
        return;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    if (!::GetMenuItemInfoA(m_pMenu->m_hMenu, m_nIndex, TRUE, &info))
        return;
    info.fType |= MFT_RADIOCHECK;
    info.fState = on ? (info.fState | MFS_CHECKED) : (info.fState & ~MFS_CHECKED);
    ::SetMenuItemInfoA(m_pMenu->m_hMenu, m_nIndex, TRUE, &info);
}

void CCmdUI::SetText(LPCSTR text)
{
    if (m_pMenu) {
        if (m_pSubMenu)
            return;
        UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
        state &= ~(MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_POPUP | 0xFF00);
        m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, text);
        return;
    }
    if (m_pOther)
        m_pOther->SetWindowText(text);
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler)
{
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return TRUE;
    m_bEnableChanged = FALSE;
    BOOL answered = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (!answered && disableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info = {};
        Enable(target->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return answered;
}
