// COptionThumbnail: the options sheet's page "缩略图": the size of the file
// list's thumbnail cells, their frame, whether the aspect ratio is kept,
// and the two colours of the thumbnail view, with a preview tile of one
// cell at its real size that follows the sliders.
#pragma once
#include <windows.h>

#include "platform/classlib/classlib.h"
#include "toolkit/controls/cavus.h"
#include "toolkit/controls/mac_slider_ctrl.h"

class COptionThumbnail : public CPropertyPage {
    DECLARE_DYNCREATE(COptionThumbnail)
public:
    // The preview tile's picture, and the largest cell.
    static const int kPreviewSize = 250;

    COptionThumbnail();

    COLORREF m_backgroundColour;
    COLORREF m_frameColour;
    COLORREF m_lightShade;
    COLORREF m_darkShade;
    // Set by OK when a setting changed.
    BYTE m_changed;
    // Width divided by height, kept while "保持高宽比例" is on.
    double m_ratio;
    CCavus m_frameSwatch;
    CCavus m_backgroundSwatch;
    CMacSliderCtrl m_widthSlider;
    CMacSliderCtrl m_heightSlider;
    CMacSliderCtrl m_borderSlider;
    CCavus m_preview;
    int m_widthNumber;
    int m_heightNumber;
    // The frame thickness, shown as 0 for the shadow look (5 and less).
    int m_borderNumber;
    int m_keepRatio;
    int m_systemColours;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnApply() override;

    afx_msg void OnHScroll(UINT code, UINT position, CScrollBar* scrollBar);
    afx_msg void OnVScroll(UINT code, UINT position, CScrollBar* scrollBar);
    afx_msg void OnKeepRatioClicked();
    afx_msg void OnDefault();
    afx_msg void OnBackgroundSwatchClicked();
    afx_msg void OnFrameSwatchClicked();
    afx_msg void OnSystemColoursClicked();
    DECLARE_MESSAGE_MAP()

private:
    void ComputeShades();
    void LayOutControls();
    void PaintPreview();
    void PaintShadowLook(CDC& dc, CRect cell);
    void PaintFramedLook(CDC& dc, CRect cell);
    void ShowColourLabels();
    bool ChooseColour(COLORREF& colour);
    static void FillSwatch(CCavus& swatch, COLORREF colour);
    static int BorderNumberOf(int border);
};
