// CInsertCADDlg: asks how the selected drawing files are inserted into the
// drawing AutoCAD is editing: insertion point, scales, rotation, copies per
// file laid out on a grid of columns, the grid spacing and whether AutoCAD
// zooms to the extents afterwards.
#pragma once
#include <stdint.h>

#include "platform/classlib/classlib.h"
#include "toolkit/controls/edit_ex.h"

class CInsertCADDlg : public CDialog {
public:
    explicit CInsertCADDlg(CWnd* parent = nullptr);

    CString m_documentName;
    CStatic m_summary;
    CEditEx m_yEdit;
    CEditEx m_columnsEdit;
    CEditEx m_copiesEdit;
    CEditEx m_yScaleEdit;
    CEditEx m_xScaleEdit;
    CEditEx m_rowSpacingEdit;
    CEditEx m_columnSpacingEdit;
    CEditEx m_angleEdit;
    CEditEx m_zEdit;
    CEditEx m_xEdit;
    CStatic m_description;

    // Filled by OK.
    double m_x = 0.0;
    double m_y = 0.0;
    double m_z = 0.0;
    double m_xScale = 1.0;
    double m_yScale = 1.0;
    double m_angle = 0.0;
    double m_columnSpacing = 100.0;
    double m_rowSpacing = 100.0;
    int32_t m_copies = 1;
    int32_t m_columns = 1;
    BYTE m_zoomExtents = 0;

    // The number of selected files; set before the dialog runs.
    int32_t m_fileCount = 1;

    // The rows a grid of that many blocks takes; at least 1 block and
    // 1 column, counted without overflow.
    static int64_t CountRows(int64_t blocks, int64_t columns);

protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg void OnUniformScale();
    afx_msg void OnGridChanged();
    DECLARE_MESSAGE_MAP()

private:
    // Parses a decimal field; on failure shows the message, focuses the
    // field and returns false.
    bool ReadDecimal(CEditEx& edit, double& value, const CString& message);
    bool Refuse(CWnd& field, const CString& message);
    int64_t CountBlocks(int32_t copies) const;
};
