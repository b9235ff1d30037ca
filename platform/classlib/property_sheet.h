// CPropertySheet and CPropertyPage: a tabbed sheet of dialog pages over
// comctl32's PropertySheet. A page is a dialog from its own template (style
// WS_CHILD | WS_CAPTION; the caption is the tab's text), created by the
// sheet the first time the page is shown. A page that was never shown is
// never created, gets no notices and applies nothing.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "platform/classlib/dialog.h"

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    CPropertyPage() = default;
    explicit CPropertyPage(UINT templateId);

    // The page became the current one; FALSE refuses it. Does nothing else.
    virtual BOOL OnSetActive();
    // The user leaves the page (another tab, or OK); FALSE keeps the user
    // on it. Reads the controls (UpdateData).
    virtual BOOL OnKillActive();
    // OK (or Apply) on a page that was created; FALSE keeps the sheet open
    // on this page. Applies nothing.
    virtual BOOL OnApply();
    // Cancel on a page that was created. Does nothing.
    virtual void OnReset();

    // Enables the sheet's "Apply" button (when it has one) or clears it.
    void SetModified(BOOL changed = TRUE);

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // Enter and Escape belong to the sheet: a page never ends itself.
    void OnOK() override {}
    void OnCancel() override {}

private:
    friend class CPropertySheet;
    friend INT_PTR CALLBACK AfxPropertyPageProc(HWND, UINT, WPARAM, LPARAM);
    CPropertySheet* m_sheet = nullptr;
};

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    explicit CPropertySheet(LPCSTR caption, CWnd* parent = nullptr, UINT selectPage = 0);
    ~CPropertySheet() override;

    // The pages in tab order; the sheet does not own them.
    void AddPage(CPropertyPage* page);
    int GetPageCount() const { return (int)m_pages.size(); }
    CPropertyPage* GetPage(int index) const;

    // Runs the sheet modally, its owner disabled. IDOK when the user
    // confirmed (every created page has applied), IDCANCEL when not, -1
    // when the sheet could not be shown.
    INT_PTR DoModal();

    // Extra PSH_ flags for the sheet (such as PSH_NOAPPLYNOW); the flags
    // the sheet needs itself are added by DoModal.
    DWORD m_sheetFlags = 0;

private:
    friend class CPropertyPage;
    static int CALLBACK SheetCallback(HWND window, UINT message, LPARAM lParam);

    CString m_caption;
    CWnd* m_parent;
    UINT m_startPage;
    std::vector<CPropertyPage*> m_pages;
    bool m_confirmed = false;
};
