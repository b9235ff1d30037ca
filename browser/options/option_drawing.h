// COptionDrawing: the options sheet's page "图形": the drawing background
// colour, zooming and filling, and whether OK redraws the open drawings.
#pragma once
#include <windows.h>

#include "platform/classlib/classlib.h"
#include "toolkit/controls/cavus.h"

class COptionDrawing : public CPropertyPage {
    DECLARE_DYNCREATE(COptionDrawing)
public:
    COptionDrawing();

    // Set by OK exactly when "立即更新选项" is checked.
    BYTE m_regenerate;
    CCavus m_swatch;
    int m_zoomForThumbnails;
    int m_fillOff;
    int m_updateNow;
    CString m_colourName;
    int m_zoomOnOpen;
    // The drawing library's colour index of the background.
    short m_colourIndex;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnApply() override;

    // The drawing library's colour chooser, from the button or the swatch.
    afx_msg void OnPickColour();
    DECLARE_MESSAGE_MAP()

private:
    void PaintSwatch();
    void TakeColourName();
};
