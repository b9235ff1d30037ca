#include "browser/options/option_associate.h"

#include "browser/shell/file_association.h"
#include "core/file_utils.h"
#include "resources/browser_options_ids.h"

IMPLEMENT_DYNCREATE(COptionAssociate, CPropertyPage)

BEGIN_MESSAGE_MAP(COptionAssociate, CPropertyPage)
    ON_BN_CLICKED(IDC_OPTION_ASSOC_SELECT_ALL, &COptionAssociate::OnSelectAll)
    ON_BN_CLICKED(IDC_OPTION_ASSOC_CLEAR_ALL, &COptionAssociate::OnClearAll)
    ON_BN_CLICKED(IDC_OPTION_ASSOC_INVERT, &COptionAssociate::OnInvert)
END_MESSAGE_MAP()

namespace {

// In the order of m_checks.
const int kCheckIds[COptionAssociate::kCheckCount] = {
    IDC_OPTION_ASSOC_BMP, IDC_OPTION_ASSOC_GIF, IDC_OPTION_ASSOC_ICO, IDC_OPTION_ASSOC_JPG,
    IDC_OPTION_ASSOC_MNG, IDC_OPTION_ASSOC_PCX, IDC_OPTION_ASSOC_PNG, IDC_OPTION_ASSOC_TGA,
    IDC_OPTION_ASSOC_TIF, IDC_OPTION_ASSOC_WBMP, IDC_OPTION_ASSOC_WMF, IDC_OPTION_ASSOC_DWG,
    IDC_OPTION_ASSOC_DXF,
};
// The raster kinds come first; only the drawing kinds can be associated.
const int kFirstDrawingCheck = 11;

struct DrawingAssociation {
    const char* extension;
    const char* progId;
    const char* description;
    // A ProgID of this name is not counted as ours.
    const char* foreignProgId;
};
const DrawingAssociation kDrawingAssociations[] = {
    {".dwg", "Quorvantix.DWG", "Drawing file", "QuorvantixDrawingDWG"},
    {".dxf", "Quorvantix.DXF", "Drawing interchange file", "QuorvantixDrawingDXF"},
};

}  // namespace

COptionAssociate::COptionAssociate() : CPropertyPage(IDD_OPTION_ASSOCIATE)
{
    SetAll(0);
}

void COptionAssociate::SetAll(int value)
{
    for (int& check : m_checks)
        check = value;
}

void COptionAssociate::DoDataExchange(CDataExchange* exchange)
{
    for (int i = 0; i < kCheckCount; ++i)
        DDX_Check(exchange, kCheckIds[i], m_checks[i]);
}

BOOL COptionAssociate::OnInitDialog()
{
    CString program = GetProgramPath();
    for (int i = 0; i < 2; ++i) {
        const DrawingAssociation& association = kDrawingAssociations[i];
        CString extension(association.extension);
        CString progId, description, contentType;
        CString command = QueryFileType(extension, progId, description, contentType);
        m_checks[kFirstDrawingCheck + i] =
            CommandNamesProgram(command, program) && progId.CompareNoCase(association.foreignProgId) != 0;
    }
    for (int i = 0; i < kFirstDrawingCheck; ++i)
        ::EnableWindow(::GetDlgItem(m_hWnd, kCheckIds[i]), FALSE);
    return CPropertyPage::OnInitDialog();
}

void COptionAssociate::OnSelectAll()
{
    SetAll(1);
    UpdateData(FALSE);
}

void COptionAssociate::OnClearAll()
{
    SetAll(0);
    UpdateData(FALSE);
}

void COptionAssociate::OnInvert()
{
    UpdateData(TRUE);
    for (int& check : m_checks)
        check = check ? 0 : 1;
    UpdateData(FALSE);
}

// An association that opens another program is left alone.
BOOL COptionAssociate::OnApply()
{
    UpdateData(TRUE);
    CString program = GetProgramPath();
    for (int i = 0; i < 2; ++i) {
        const DrawingAssociation& association = kDrawingAssociations[i];
        CString extension(association.extension);
        if (m_checks[kFirstDrawingCheck + i])
            RegisterFileType(extension, association.progId, association.description, "", program, 0);
        else
            UnregisterFileType(extension, program);
    }
    return TRUE;
}
