#include "views/password/password_prompt.h"

#include "views/password/password_dlg.h"

namespace {

CStringArray& TypedPasswords()
{
    static CStringArray passwords;
    return passwords;
}

}  // namespace

const CStringArray& GetTypedPasswords()
{
    return TypedPasswords();
}

bool QueryDrawingPassword(const char* fileName, CString& password, int& index)
{
    CStringArray& typed = TypedPasswords();
    if (index < (int)typed.GetSize() - 1) {
        index += 1;
        password = typed[index];
        return true;
    }
    CPassWordDlg dialog(AfxGetMainWnd());
    dialog.m_fileName = fileName != NULL ? fileName : "";
    if (dialog.DoModal() != IDOK)
        return false;
    password = dialog.m_password;
    typed.Add(password);
    index = -1;
    return true;
}
