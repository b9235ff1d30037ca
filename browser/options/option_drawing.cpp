#include "browser/options/option_drawing.h"

#include "core/preference.h"
#include "platform/zrui/zrui.h"
#include "resources/browser_options_ids.h"

IMPLEMENT_DYNCREATE(COptionDrawing, CPropertyPage)

BEGIN_MESSAGE_MAP(COptionDrawing, CPropertyPage)
    ON_BN_CLICKED(IDC_OPTION_BACKGROUND_PICK, &COptionDrawing::OnPickColour)
    ON_BN_CLICKED(IDC_OPTION_BACKGROUND_SWATCH, &COptionDrawing::OnPickColour)
END_MESSAGE_MAP()

namespace {

// GetColorIndex writes names of up to 32 bytes.
const int kColourNameBytes = 32;
const int kSwatchBitsPerPixel = 24;

}  // namespace

COptionDrawing::COptionDrawing()
    : CPropertyPage(IDD_OPTION_DRAWING), m_regenerate(0), m_zoomForThumbnails(0), m_fillOff(0), m_updateNow(0),
      m_zoomOnOpen(0), m_colourIndex((short)Preference.BackGroundColor)
{
}

void COptionDrawing::DoDataExchange(CDataExchange* exchange)
{
    DDX_Control(exchange, IDC_OPTION_BACKGROUND_SWATCH, m_swatch);
    DDX_Check(exchange, IDC_OPTION_ZOOM_FOR_THUMBNAILS, m_zoomForThumbnails);
    DDX_Check(exchange, IDC_OPTION_FILL_OFF, m_fillOff);
    DDX_Check(exchange, IDC_OPTION_UPDATE_NOW, m_updateNow);
    DDX_Text(exchange, IDC_OPTION_BACKGROUND_NAME, m_colourName);
    DDX_Check(exchange, IDC_OPTION_ZOOM_ON_OPEN, m_zoomOnOpen);
}

void COptionDrawing::TakeColourName()
{
    char name[kColourNameBytes] = {};
    ZrUI::GetColorIndex(m_colourIndex, name);
    m_colourName = name;
}

BOOL COptionDrawing::OnInitDialog()
{
    m_fillOff = Preference.FillOn ? 0 : 1;
    m_zoomForThumbnails = Preference.ZoomExtend ? 1 : 0;
    m_zoomOnOpen = Preference.PreviewZoomExtend ? 1 : 0;
    m_colourIndex = (short)Preference.BackGroundColor;
    TakeColourName();
    BOOL result = CPropertyPage::OnInitDialog();
    CRect client;
    m_swatch.GetClientRect(&client);
    m_swatch.CreateDib(client.Width(), client.Height(), kSwatchBitsPerPixel);
    PaintSwatch();
    return result;
}

void COptionDrawing::PaintSwatch()
{
    CDC* dc = m_swatch.GetDibDC();
    if (!dc)
        return;
    COLORREF colour = ZrUI::GetColorIndex(m_colourIndex, nullptr);
    CPen pen(PS_SOLID, 1, colour);
    CBrush brush(colour);
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&brush);
    dc->Rectangle(m_swatch.GetDibRect());
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
    m_swatch.Refresh();
}

void COptionDrawing::OnPickColour()
{
    short chosen = ZrUI::SelectColor(m_colourIndex);
    if (chosen == m_colourIndex)
        return;
    m_colourIndex = chosen;
    TakeColourName();
    SetDlgItemText(IDC_OPTION_BACKGROUND_NAME, m_colourName);
    PaintSwatch();
}

BOOL COptionDrawing::OnApply()
{
    UpdateData(TRUE);
    if ((Preference.FillOn != 0) == (m_fillOff != 0))
        Preference.FillOn = m_fillOff ? 0 : 1;
    BYTE zoomForThumbnails = m_zoomForThumbnails ? 1 : 0;
    if (Preference.ZoomExtend != zoomForThumbnails)
        Preference.ZoomExtend = zoomForThumbnails;
    BYTE zoomOnOpen = m_zoomOnOpen ? 1 : 0;
    if (Preference.PreviewZoomExtend != zoomOnOpen)
        Preference.PreviewZoomExtend = zoomOnOpen;
    if (m_colourIndex != Preference.BackGroundColor)
        Preference.SetBackGroundColor(m_colourIndex);
    m_regenerate = m_updateNow ? 1 : 0;
    return TRUE;
}
