// CBrowseViewType: the interface-style chooser, showing the six styles of
// the browse frame as picture tiles.
#pragma once
#include "platform/classlib/classlib.h"
#include "toolkit/controls/cavus.h"

class CBrowseViewType : public CDialog {
public:
    explicit CBrowseViewType(CWnd* parent = NULL);

    // After OK: the chosen style, 1 to 6 (0 when no tile was selected).
    int m_style;

    static const int kStyleCount = 6;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg LRESULT OnTileDoubleClick(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Style n is shown by m_tiles[n - 1].
    CCavus m_tiles[kStyleCount];
};
