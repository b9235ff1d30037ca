#include "browser/dialogs/insert_cad_dlg.h"

#include <stdlib.h>

#include "core/number_text.h"
#include "core/res_string.h"
#include "resources/resource.h"

namespace {

CString FormatString(UINT id, const char* first, const char* second = "")
{
    CString text;
    text.Format(LoadResString(id), first, second);
    return text;
}

// Counts beyond the 32-bit range are shown as its largest value.
int ClampToInt(int64_t count)
{
    return count > INT32_MAX ? INT32_MAX : (int)count;
}

}  // namespace

BEGIN_MESSAGE_MAP(CInsertCADDlg, CDialog)
ON_BN_CLICKED(IDC_INSERT_UNIFORM_SCALE, &CInsertCADDlg::OnUniformScale)
ON_EN_CHANGE(IDC_INSERT_COPIES, &CInsertCADDlg::OnGridChanged)
ON_EN_CHANGE(IDC_INSERT_COLUMNS, &CInsertCADDlg::OnGridChanged)
END_MESSAGE_MAP()

CInsertCADDlg::CInsertCADDlg(CWnd* parent) : CDialog(IDD_INSERT_CAD, parent) {}

void CInsertCADDlg::DoDataExchange(CDataExchange* exchange)
{
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_INSERT_SUMMARY, m_summary);
    DDX_Control(exchange, IDC_INSERT_Y, m_yEdit);
    DDX_Control(exchange, IDC_INSERT_COLUMNS, m_columnsEdit);
    DDX_Control(exchange, IDC_INSERT_COPIES, m_copiesEdit);
    DDX_Control(exchange, IDC_INSERT_Y_SCALE, m_yScaleEdit);
    DDX_Control(exchange, IDC_INSERT_X_SCALE, m_xScaleEdit);
    DDX_Control(exchange, IDC_INSERT_ROW_SPACING, m_rowSpacingEdit);
    DDX_Control(exchange, IDC_INSERT_COLUMN_SPACING, m_columnSpacingEdit);
    DDX_Control(exchange, IDC_INSERT_ANGLE, m_angleEdit);
    DDX_Control(exchange, IDC_INSERT_Z, m_zEdit);
    DDX_Control(exchange, IDC_INSERT_X, m_xEdit);
    DDX_Control(exchange, IDC_INSERT_DESCRIPTION, m_description);
}

BOOL CInsertCADDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_description.SetWindowText(FormatString(IDS_INSERT_DESCRIPTION, m_documentName));
    CString zero = FormatDecimal(0.0, 6);
    CString one = FormatDecimal(1.0, 6);
    CString hundred = FormatDecimal(100.0, 6);
    m_xEdit.SetWindowText(zero);
    m_yEdit.SetWindowText(zero);
    m_zEdit.SetWindowText(zero);
    m_angleEdit.SetWindowText(zero);
    m_xScaleEdit.SetWindowText(one);
    m_yScaleEdit.SetWindowText(one);
    m_rowSpacingEdit.SetWindowText(hundred);
    m_columnSpacingEdit.SetWindowText(hundred);
    CEditEx* signedFields[] = {&m_xEdit,     &m_yEdit,          &m_zEdit,
                               &m_angleEdit, &m_rowSpacingEdit, &m_columnSpacingEdit};
    for (CEditEx* edit : signedFields)
        edit->SetCharFilter(0, NumericCharFilter);
    m_xScaleEdit.SetCharFilter(0, PositiveNumericCharFilter);
    m_yScaleEdit.SetCharFilter(0, PositiveNumericCharFilter);
    // Each text change runs the grid rule, so the summary and the spacing
    // fields are right from the start.
    m_columnsEdit.SetWindowText("1");
    m_copiesEdit.SetWindowText("1");
    return TRUE;
}

void CInsertCADDlg::OnUniformScale()
{
    bool uniform = IsDlgButtonChecked(IDC_INSERT_UNIFORM_SCALE) == BST_CHECKED;
    if (uniform) {
        CString xScale;
        m_xScaleEdit.GetWindowText(xScale);
        m_yScaleEdit.SetWindowText(xScale);
    }
    m_yScaleEdit.EnableWindow(!uniform);
    GetDlgItem(IDC_INSERT_Y_SCALE_LABEL)->EnableWindow(!uniform);
}

int64_t CInsertCADDlg::CountRows(int64_t blocks, int64_t columns)
{
    return (blocks + columns - 1) / columns;
}

int64_t CInsertCADDlg::CountBlocks(int32_t copies) const
{
    return (int64_t)m_fileCount * copies;
}

void CInsertCADDlg::OnGridChanged()
{
    if (m_copiesEdit.m_hWnd == nullptr || m_columnsEdit.m_hWnd == nullptr)
        return;
    CString copiesText;
    CString columnsText;
    m_copiesEdit.GetWindowText(copiesText);
    m_columnsEdit.GetWindowText(columnsText);
    if (copiesText.IsEmpty() || columnsText.IsEmpty())
        return;
    m_copies = atoi(copiesText);
    m_columns = atoi(columnsText);
    if (m_copies < 1 || m_columns < 1)
        return;
    int64_t blocks = CountBlocks(m_copies);
    int64_t rows = CountRows(blocks, m_columns);
    CString summary;
    summary.Format(LoadResString(IDS_INSERT_SUMMARY), ClampToInt(blocks), ClampToInt(rows));
    m_summary.SetWindowText(summary);
    m_rowSpacingEdit.EnableWindow(rows > 1);
    GetDlgItem(IDC_INSERT_ROW_SPACING_LABEL)->EnableWindow(rows > 1);
    m_columnSpacingEdit.EnableWindow(m_columns > 1);
    GetDlgItem(IDC_INSERT_COLUMN_SPACING_LABEL)->EnableWindow(m_columns > 1);
}

bool CInsertCADDlg::Refuse(CWnd& field, const CString& message)
{
    AfxMessageBox(message, MB_OK);
    field.SetFocus();
    return false;
}

bool CInsertCADDlg::ReadDecimal(CEditEx& edit, double& value, const CString& message)
{
    CString text;
    edit.GetWindowText(text);
    if (StringToDouble(text, value))
        return true;
    return Refuse(edit, message);
}

void CInsertCADDlg::OnOK()
{
    if (!ReadDecimal(m_xEdit, m_x, FormatString(IDS_INSERT_BAD_POINT, "X")) ||
        !ReadDecimal(m_yEdit, m_y, FormatString(IDS_INSERT_BAD_POINT, "Y")) ||
        !ReadDecimal(m_zEdit, m_z, FormatString(IDS_INSERT_BAD_POINT, "Z")))
        return;
    CString badXScale = FormatString(IDS_INSERT_BAD_SCALE, "X", "X");
    if (!ReadDecimal(m_xScaleEdit, m_xScale, badXScale))
        return;
    if (m_xScale <= 0.0) {
        Refuse(m_xScaleEdit, badXScale);
        return;
    }
    if (IsDlgButtonChecked(IDC_INSERT_UNIFORM_SCALE) == BST_CHECKED) {
        m_yScale = m_xScale;
    } else {
        CString badYScale = FormatString(IDS_INSERT_BAD_SCALE, "Y", "Y");
        if (!ReadDecimal(m_yScaleEdit, m_yScale, badYScale))
            return;
        if (m_yScale <= 0.0) {
            Refuse(m_yScaleEdit, badYScale);
            return;
        }
    }
    if (!ReadDecimal(m_angleEdit, m_angle, LoadResString(IDS_INSERT_BAD_ANGLE)))
        return;
    CString text;
    m_copiesEdit.GetWindowText(text);
    m_copies = atoi(text);
    if (m_copies < 1) {
        Refuse(m_copiesEdit, LoadResString(IDS_INSERT_BAD_COPIES));
        return;
    }
    m_columnsEdit.GetWindowText(text);
    m_columns = atoi(text);
    if (m_columns < 1) {
        Refuse(m_columnsEdit, LoadResString(IDS_INSERT_BAD_COLUMNS));
        return;
    }
    if (CountRows(CountBlocks(m_copies), m_columns) > 1 &&
        !ReadDecimal(m_rowSpacingEdit, m_rowSpacing, LoadResString(IDS_INSERT_BAD_ROW_SPACING)))
        return;
    if (m_columns > 1 &&
        !ReadDecimal(m_columnSpacingEdit, m_columnSpacing, LoadResString(IDS_INSERT_BAD_COLUMN_SPACING)))
        return;
    m_zoomExtents = IsDlgButtonChecked(IDC_INSERT_ZOOM_EXTENTS) == BST_CHECKED ? 1 : 0;
    EndDialog(IDOK);
}
