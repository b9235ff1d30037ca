// CWinApp: the one application object of the process: the main thread's
// message loop, the application's names, its profile (settings under
// HKEY_CURRENT_USER\Software\<registry key>\<profile name>) and its
// recent-file list.
#pragma once
#include <windows.h>
#include "platform/classlib/cstring.h"
#include "platform/classlib/winthread.h"

class CRecentFileList;

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    // Becomes the process's application object (AfxGetApp).
    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;

    // Names, allocated with malloc and freed by the destructor; a program
    // that sets one frees the old value with free() first.
    LPCSTR m_pszAppName = nullptr;
    LPCSTR m_pszRegistryKey = nullptr;
    LPCSTR m_pszProfileName = nullptr;
    LPCSTR m_pszExeName = nullptr;

    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CRecentFileList* m_pRecentFileList = nullptr;

    BOOL InitInstance() override;
    int Run() override;
    // Saves the recent-file list; returns the exit code of the loop.
    int ExitInstance() override;

    // The profile lives under HKEY_CURRENT_USER\Software\<key>\<profile
    // name>; the profile name becomes the application name. Backslashes
    // at the ends of either name are not doubled.
    void SetRegistryKey(LPCSTR key);
    void SetRegistryKey(UINT keyStringId);
    // The profile's key, created when missing; the caller closes it. Null
    // without a registry key.
    HKEY GetAppRegistryKey();
    // A section's key under the profile, created when missing.
    HKEY GetSectionKey(LPCSTR section);

    // Profile values: a missing value, a value of another type or a
    // program without a registry key gives the default; the writers
    // return FALSE when nothing was written.
    UINT GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue);
    BOOL WriteProfileInt(LPCSTR section, LPCSTR entry, int value);
    CString GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue = nullptr);
    // A null entry deletes the whole section; a null value deletes the entry.
    BOOL WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value);
    // The bytes are allocated with new[]; the caller deletes them with delete[].
    BOOL GetProfileBinary(LPCSTR section, LPCSTR entry, LPBYTE* data, UINT* byteCount);
    BOOL WriteProfileBinary(LPCSTR section, LPCSTR entry, LPBYTE data, UINT byteCount);

    // Makes a recent-file list of maxRecentFiles entries (none for 0) and
    // reads it from the profile section "Recent File List".
    void LoadStdProfileSettings(UINT maxRecentFiles = 4);
    void SaveStdProfileSettings();
    virtual void AddToRecentFileList(LPCSTR path);

    HICON LoadIcon(LPCSTR resourceName) const;
    HICON LoadIcon(UINT resourceId) const { return LoadIcon(MAKEINTRESOURCEA(resourceId)); }
    HICON LoadStandardIcon(LPCSTR iconName) const { return ::LoadIconA(nullptr, iconName); }
    HCURSOR LoadCursor(LPCSTR resourceName) const;
    HCURSOR LoadCursor(UINT resourceId) const { return LoadCursor(MAKEINTRESOURCEA(resourceId)); }
    HCURSOR LoadStandardCursor(LPCSTR cursorName) const { return ::LoadCursorA(nullptr, cursorName); }

    // The message boxes of AfxMessageBox: owned by the main window, with
    // the application name as caption.
    virtual int DoMessageBox(LPCSTR prompt, UINT type, UINT promptId);
    // 1 shows the wait cursor (nesting), -1 takes one level back, 0 shows
    // it again after something changed the cursor.
    void DoWaitCursor(int code);

protected:
    // ID_APP_EXIT: closes the main window.
    afx_msg void OnAppExit();

    DECLARE_MESSAGE_MAP()

private:
    HKEY OpenSectionKey(LPCSTR section);
    int m_nWaitCursorCount = 0;
    HCURSOR m_hcurWaitCursorRestore = nullptr;
};

// The application object, null before it is constructed.
CWinApp* AfxGetApp();
// The calling thread's main window, else the application's.
CWnd* AfxGetMainWnd();

// The program's WinMain calls this: the application object's InitInstance,
// then Run; when InitInstance returns FALSE, the main window (if any) is
// destroyed and ExitInstance's result returned.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

// OLE for the calling thread (undone by the application's ExitInstance).
BOOL AfxOleInit();
// Hosting of ActiveX controls needs nothing more here.
void AfxEnableControlContainer();
