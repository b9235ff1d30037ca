// COptionAssociate: the options sheet's page "文件关联": whether drawings
// (.dwg, .dxf) open with this program. The raster boxes are shown but
// disabled.
#pragma once
#include <windows.h>

#include "platform/classlib/classlib.h"

class COptionAssociate : public CPropertyPage {
    DECLARE_DYNCREATE(COptionAssociate)
public:
    // BMP, GIF, ICO, JPG, MNG, PCX, PNG, TGA, TIF, WBMP, WMF, DWG, DXF.
    static const int kCheckCount = 13;

    COptionAssociate();

    int m_checks[kCheckCount];

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnApply() override;

    afx_msg void OnSelectAll();
    afx_msg void OnClearAll();
    afx_msg void OnInvert();
    DECLARE_MESSAGE_MAP()

private:
    void SetAll(int value);
};
