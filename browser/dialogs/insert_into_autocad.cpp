#include "browser/dialogs/insert_into_autocad.h"

#include "browser/dialogs/insert_cad_dlg.h"
#include "browser/dialogs/ole_object.h"
#include "core/file_types.h"
#include "core/file_utils.h"
#include "core/res_string.h"
#include "resources/resource.h"

namespace {

const char kAutoCADProgId[] = "AutoCAD.Application";
const char kSendCommand[] = "SendCommand";

// COM for this thread while the insertion runs (the thread may have it
// already; each successful call is matched).
class CComForThread {
public:
    CComForThread() : m_initialised(SUCCEEDED(CoInitialize(nullptr))) {}
    ~CComForThread()
    {
        if (m_initialised)
            CoUninitialize();
    }
    CComForThread(const CComForThread&) = delete;
    CComForThread& operator=(const CComForThread&) = delete;

private:
    bool m_initialised;
};

class CWaitCursorShown {
public:
    CWaitCursorShown() : m_previous(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~CWaitCursorShown() { SetCursor(m_previous); }
    CWaitCursorShown(const CWaitCursorShown&) = delete;
    CWaitCursorShown& operator=(const CWaitCursorShown&) = delete;

private:
    HCURSOR m_previous;
};

void ShowMessage(UINT id)
{
    AfxMessageBox(LoadResString(id), MB_OK);
}

// The full name of AutoCAD's active document, or its name when it was
// never saved; false when there is none.
bool GetDocumentName(COleObject& document, CString& name)
{
    if (!document.GetStringProperty("FullName", name))
        return false;
    if (name.IsEmpty() && !document.GetStringProperty("Name", name))
        return false;
    return !name.IsEmpty();
}

// The block name the first copy of a file defined: the file name without
// folder, cut before its first '.' unless the name starts with it.
CString BlockNameOf(const CString& path)
{
    CString name = GetFileNameExt(path);
    int dot = name.Find('.');
    if (dot > 0)
        name = name.Left(dot);
    return name;
}

CString InsertCommand(const CString& name, const CInsertCADDlg& choice, double x, double y)
{
    CString command;
    command.Format("-insert\n%s\n%f,%f,%f\n%f\n%f\n%f\n", (const char*)name, x, y, choice.m_z,
                   choice.m_xScale, choice.m_yScale, choice.m_angle);
    return command;
}

// Sends every insert; false when AutoCAD refused one.
bool SendInserts(COleObject& document, const CStringList& paths, const CInsertCADDlg& choice)
{
    double x = choice.m_x;
    double y = choice.m_y;
    int32_t column = 1;
    for (POSITION position = paths.GetHeadPosition(); position != nullptr;) {
        const CString& path = paths.GetNext(position);
        if (GetDrawingFileInfo(path) == nullptr)
            continue;
        CString name = path;
        for (int32_t copy = 0; copy < choice.m_copies; ++copy) {
            if (!document.CallMethod(kSendCommand, InsertCommand(name, choice, x, y)))
                return false;
            if (copy == 0 && choice.m_copies > 1)
                name = BlockNameOf(path);
            if (column < choice.m_columns) {
                ++column;
                x += choice.m_columnSpacing;
            } else {
                x = choice.m_x;
                column = 1;
                y += choice.m_rowSpacing;
            }
        }
    }
    return true;
}

}  // namespace

void InsertIntoAutoCAD(const CStringList& paths)
{
    CComForThread com;
    COleObject application;
    if (!application.GetActive(kAutoCADProgId)) {
        ShowMessage(IDS_INSERT_NO_AUTOCAD);
        return;
    }
    COleObject document;
    CString documentName;
    if (!application.GetObjectProperty("ActiveDocument", document) ||
        !GetDocumentName(document, documentName)) {
        ShowMessage(IDS_INSERT_NO_DOCUMENT);
        return;
    }
    CInsertCADDlg dialog;
    dialog.m_documentName = documentName;
    dialog.m_fileCount = (int32_t)paths.GetCount();
    if (dialog.DoModal() != IDOK)
        return;
    bool sent = false;
    {
        CWaitCursorShown wait;
        sent = document.CallMethod(kSendCommand, "-osnap\noff\n") && SendInserts(document, paths, dialog);
        if (sent && dialog.m_zoomExtents)
            document.CallMethod(kSendCommand, "_zoom\nE\n");
    }
    ShowMessage(sent ? IDS_INSERT_DONE : IDS_INSERT_FAILED);
}
