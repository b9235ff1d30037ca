#include "platform/classlib/property_sheet.h"
#include "platform/classlib/callguard.h"
#include "platform/classlib/module_state.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

namespace {

// The sheet whose window PropertySheet is creating on this thread; its
// callback carries no data of its own.
thread_local CPropertySheet* t_sheetBeingCreated = nullptr;

}  // namespace

// The page's dialog procedure: the page's messages go through AfxWndProc
// once WM_INITDIALOG has subclassed the window, so only that message needs
// an answer here. Its lParam is the sheet's copy of the page record.
INT_PTR CALLBACK AfxPropertyPageProc(HWND window, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    const PROPSHEETPAGEA* record = (const PROPSHEETPAGEA*)lParam;
    CPropertyPage* page = record ? (CPropertyPage*)record->lParam : nullptr;
    if (!page || !page->SubclassWindow(window))
        return TRUE;
    BOOL setFocus = TRUE;
    AfxCallGuarded("OnInitDialog", [&] { setFocus = page->OnInitDialog(); });
    return setFocus;
}

CPropertyPage::CPropertyPage(UINT templateId) : CDialog(templateId)
{
}

BOOL CPropertyPage::OnSetActive()
{
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply()
{
    return TRUE;
}

void CPropertyPage::OnReset()
{
}

void CPropertyPage::SetModified(BOOL changed)
{
    HWND sheet = ::GetParent(m_hWnd);
    if (sheet)
        ::SendMessageA(sheet, changed ? PSM_CHANGED : PSM_UNCHANGED, (WPARAM)m_hWnd, 0);
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const NMHDR* header = (const NMHDR*)lParam;
    if (header->hwndFrom != ::GetParent(m_hWnd))
        return CDialog::OnNotify(wParam, lParam, result);
    switch (header->code) {
    case PSN_SETACTIVE:
        *result = OnSetActive() ? 0 : -1;
        break;
    case PSN_KILLACTIVE:
        *result = OnKillActive() ? FALSE : TRUE;
        break;
    case PSN_APPLY:
        if (!OnApply()) {
            *result = PSNRET_INVALID_NOCHANGEPAGE;
            break;
        }
        *result = PSNRET_NOERROR;
        if (m_sheet && ((const PSHNOTIFY*)lParam)->lParam)
            m_sheet->m_confirmed = true;
        break;
    case PSN_RESET:
        OnReset();
        *result = 0;
        break;
    default:
        return CDialog::OnNotify(wParam, lParam, result);
    }
    // The sheet may read the answer from the dialog's result slot.
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, *result);
    return TRUE;
}

CPropertySheet::CPropertySheet(LPCSTR caption, CWnd* parent, UINT selectPage)
    : m_caption(caption), m_parent(parent), m_startPage(selectPage)
{
}

CPropertySheet::~CPropertySheet()
{
    // The sheet's window is comctl32's; it is gone when DoModal returns.
    if (m_hWnd)
        Detach();
}

void CPropertySheet::AddPage(CPropertyPage* page)
{
    page->m_sheet = this;
    m_pages.push_back(page);
}

CPropertyPage* CPropertySheet::GetPage(int index) const
{
    if (index < 0 || index >= (int)m_pages.size())
        return nullptr;
    return m_pages[index];
}

int CALLBACK CPropertySheet::SheetCallback(HWND window, UINT message, LPARAM)
{
    if (message == PSCB_INITIALIZED && t_sheetBeingCreated && !t_sheetBeingCreated->m_hWnd)
        t_sheetBeingCreated->Attach(window);
    return 0;
}

INT_PTR CPropertySheet::DoModal()
{
    if (m_pages.empty())
        return -1;
    std::vector<PROPSHEETPAGEA> records(m_pages.size());
    for (size_t i = 0; i < m_pages.size(); ++i) {
        PROPSHEETPAGEA& record = records[i];
        ZeroMemory(&record, sizeof(record));
        record.dwSize = sizeof(record);
        record.dwFlags = PSP_DEFAULT;
        record.hInstance = AfxGetResourceHandle();
        record.pszTemplate = m_pages[i]->m_lpszTemplateName;
        record.pfnDlgProc = AfxPropertyPageProc;
        record.lParam = (LPARAM)m_pages[i];
    }
    PROPSHEETHEADERA header;
    ZeroMemory(&header, sizeof(header));
    header.dwSize = sizeof(header);
    header.dwFlags = m_sheetFlags | PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    header.hwndParent = AfxGetModalOwner(m_parent);
    header.hInstance = AfxGetResourceHandle();
    header.pszCaption = m_caption;
    header.nPages = (UINT)records.size();
    header.nStartPage = m_startPage < header.nPages ? m_startPage : 0;
    header.ppsp = records.data();
    header.pfnCallback = SheetCallback;

    m_confirmed = false;
    CPropertySheet* outer = t_sheetBeingCreated;
    t_sheetBeingCreated = this;
    INT_PTR shown = ::PropertySheetA(&header);
    t_sheetBeingCreated = outer;
    if (m_hWnd)
        Detach();
    if (shown < 0)
        return -1;
    return m_confirmed ? IDOK : IDCANCEL;
}
