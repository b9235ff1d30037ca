// The open and save dialogs of drawings and pictures: the system's file
// dialogs with the caller's filters; the save dialog lets its caller rewrite
// the typed name whenever the user chooses another filter.
#include "platform/zrui/zrui.h"

#include "platform/classlib/classlib.h"

namespace ZrUI {

namespace {

class CDwgSaveDialog : public CFileDialog {
public:
    CDwgSaveDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName, DWORD flags,
                   const char* filter, CWnd* parent, void* context, DwgSaveFilterCallback callback)
        : CFileDialog(openFileDialog, defaultExtension, fileName, flags, filter, parent),
          m_context(context),
          m_callback(callback)
    {
    }

protected:
    void OnTypeChange() override
    {
        if (!m_callback)
            return;
        char name[MAX_PATH];
        lstrcpynA(name, GetTypedName(), sizeof(name));
        m_callback(m_context, (int)m_ofn.nFilterIndex, name);
        name[MAX_PATH - 1] = '\0';
        SetTypedName(name);
    }

private:
    void* m_context;
    DwgSaveFilterCallback m_callback;
};

}  // namespace

int showDwgOpenDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName, DWORD flags,
                      const char* filter, CWnd* parent, CString& path)
{
    CFileDialog dialog(openFileDialog, defaultExtension, fileName, flags, filter, parent);
    if (dialog.DoModal() != IDOK)
        return 0;
    path = dialog.GetPathName();
    return 1;
}

int showDwgSaveDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName, DWORD flags,
                      const char* filter, CWnd* parent, void* context, DwgSaveFilterCallback callback,
                      int initialFilterIndex, int& chosenFilterIndex, CString& path)
{
    CDwgSaveDialog dialog(openFileDialog, defaultExtension, fileName, flags, filter, parent, context,
                          callback);
    dialog.m_ofn.nFilterIndex = initialFilterIndex > 0 ? (DWORD)initialFilterIndex : 1;
    if (dialog.DoModal() != IDOK)
        return 0;
    chosenFilterIndex = (int)dialog.m_ofn.nFilterIndex;
    path = dialog.GetPathName();
    return 1;
}

}  // namespace ZrUI
