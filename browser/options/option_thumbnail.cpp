#include "browser/options/option_thumbnail.h"

#include <commdlg.h>

#include "core/preference.h"
#include "resources/browser_options_ids.h"

IMPLEMENT_DYNCREATE(COptionThumbnail, CPropertyPage)

BEGIN_MESSAGE_MAP(COptionThumbnail, CPropertyPage)
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_BN_CLICKED(IDC_OPTION_THUMB_KEEP_RATIO, &COptionThumbnail::OnKeepRatioClicked)
    ON_BN_CLICKED(IDC_OPTION_THUMB_DEFAULT, &COptionThumbnail::OnDefault)
    ON_BN_CLICKED(IDC_OPTION_THUMB_BACK_SWATCH, &COptionThumbnail::OnBackgroundSwatchClicked)
    ON_BN_CLICKED(IDC_OPTION_THUMB_FRAME_SWATCH, &COptionThumbnail::OnFrameSwatchClicked)
    ON_BN_CLICKED(IDC_OPTION_THUMB_SYSTEM_COLOURS, &COptionThumbnail::OnSystemColoursClicked)
END_MESSAGE_MAP()

namespace {

const int kMinCellSize = 80;
const int kMaxCellSize = 250;
const int kCellTick = 10;
const int kMinBorder = 5;
const int kMaxBorder = 10;
// Frames thinner than this draw the shadow look.
const int kFramedLookBorder = 6;
const int kDefaultWidth = 170;
const int kDefaultHeight = 130;
const int kDefaultBorder = 5;
const int kShadeStep = 70;
const int kPreviewWindowSize = 254;
const int kSliderLength = 270;
const int kPictureBitsPerPixel = 16;
// The shadow look: the cell's inset, and the drop shadow's pens, each
// darker than the background by its amount, drawn along three or four
// points offset from the cell's corners.
const int kShadowInset = 5;
struct ShadowPen {
    int width;
    int darkenBy;
    int pointCount;
    // Offsets: x from left (L) or right (R), y from bottom (B) or top (T).
    struct Point {
        bool fromLeft;
        int dx;
        bool fromBottom;
        int dy;
    } points[4];
};
const ShadowPen kShadowPens[] = {
    {2, 46, 3, {{true, 3, true, 1}, {false, 1, true, 1}, {false, 1, false, 3}}},
    {1, 35, 3, {{true, 4, true, 2}, {false, 2, true, 2}, {false, 2, false, 4}}},
    {1, 17, 4, {{true, 5, true, 3}, {false, 2, true, 3}, {false, 3, true, 2}, {false, 3, false, 5}}},
    {1, 8, 4, {{true, 6, true, 4}, {false, 3, true, 4}, {false, 4, true, 3}, {false, 4, false, 6}}},
};

COLORREF g_customColours[16];

}  // namespace

COptionThumbnail::COptionThumbnail()
    : CPropertyPage(IDD_OPTION_THUMBNAIL), m_backgroundColour(0), m_frameColour(0), m_lightShade(0),
      m_darkShade(0), m_changed(0), m_ratio(1.0), m_widthNumber(0), m_heightNumber(0), m_borderNumber(0),
      m_keepRatio(0), m_systemColours(0)
{
}

void COptionThumbnail::DoDataExchange(CDataExchange* exchange)
{
    DDX_Control(exchange, IDC_OPTION_THUMB_FRAME_SWATCH, m_frameSwatch);
    DDX_Control(exchange, IDC_OPTION_THUMB_BACK_SWATCH, m_backgroundSwatch);
    DDX_Control(exchange, IDC_OPTION_THUMB_WIDTH, m_widthSlider);
    DDX_Control(exchange, IDC_OPTION_THUMB_HEIGHT, m_heightSlider);
    DDX_Control(exchange, IDC_OPTION_THUMB_BORDER, m_borderSlider);
    DDX_Control(exchange, IDC_OPTION_THUMB_PREVIEW, m_preview);
    DDX_Text(exchange, IDC_OPTION_THUMB_WIDTH_VALUE, m_widthNumber);
    DDX_Text(exchange, IDC_OPTION_THUMB_HEIGHT_VALUE, m_heightNumber);
    DDX_Text(exchange, IDC_OPTION_THUMB_BORDER_VALUE, m_borderNumber);
    DDX_Check(exchange, IDC_OPTION_THUMB_KEEP_RATIO, m_keepRatio);
    DDX_Check(exchange, IDC_OPTION_THUMB_SYSTEM_COLOURS, m_systemColours);
}

int COptionThumbnail::BorderNumberOf(int border)
{
    return border >= kFramedLookBorder ? border : 0;
}

void COptionThumbnail::ComputeShades()
{
    m_lightShade = ShiftColour(m_frameColour, kShadeStep);
    m_darkShade = ShiftColour(m_frameColour, -kShadeStep);
}

BOOL COptionThumbnail::OnInitDialog()
{
    m_changed = 0;
    // The controls are subclassed before their ranges are set.
    BOOL result = CPropertyPage::OnInitDialog();
    m_widthSlider.SetRange(kMinCellSize, kMaxCellSize, FALSE);
    m_heightSlider.SetRange(kMinCellSize, kMaxCellSize, FALSE);
    m_borderSlider.SetRange(kMinBorder, kMaxBorder, FALSE);
    m_widthSlider.SetPos(Preference.ThumbWidth);
    m_heightSlider.SetPos(Preference.ThumbHeight);
    m_borderSlider.SetPos(Preference.ThumbBorder);
    m_widthSlider.SetTicFreq(kCellTick);
    m_heightSlider.SetTicFreq(kCellTick);
    m_borderSlider.SetTicFreq(1);

    m_widthNumber = Preference.ThumbWidth;
    m_heightNumber = Preference.ThumbHeight;
    m_borderNumber = BorderNumberOf(Preference.ThumbBorder);
    m_keepRatio = Preference.ConstrainProportion ? 1 : 0;
    m_systemColours = Preference.SystemColor ? 1 : 0;
    m_backgroundColour = Preference.ListCtrlColor;
    m_frameColour = Preference.ThumbnailColor;
    m_ratio = (double)Preference.ThumbWidth / (double)Preference.ThumbHeight;
    ComputeShades();

    LayOutControls();
    PaintPreview();
    ShowColourLabels();
    UpdateData(FALSE);
    return result;
}

void COptionThumbnail::LayOutControls()
{
    m_preview.CreateDib(kPreviewSize, kPreviewSize, kPictureBitsPerPixel);
    m_preview.SetWindowPos((HWND) nullptr, 0, 0, kPreviewWindowSize, kPreviewWindowSize,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect slider;
    m_widthSlider.GetWindowRect(&slider);
    m_widthSlider.SetWindowPos((HWND) nullptr, 0, 0, kSliderLength, slider.Height(),
                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_heightSlider.GetWindowRect(&slider);
    m_heightSlider.SetWindowPos((HWND) nullptr, 0, 0, slider.Width(), kSliderLength,
                                SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_frameSwatch.CreateDibFitWindow(kPictureBitsPerPixel);
    m_backgroundSwatch.CreateDibFitWindow(kPictureBitsPerPixel);
    FillSwatch(m_backgroundSwatch, m_backgroundColour);
    FillSwatch(m_frameSwatch, m_frameColour);
}

void COptionThumbnail::FillSwatch(CCavus& swatch, COLORREF colour)
{
    CDC* dc = swatch.GetDibDC();
    if (!dc)
        return;
    dc->FillSolidRect(swatch.GetDibRect(), colour);
    swatch.Refresh();
}

void COptionThumbnail::ShowColourLabels()
{
    BOOL enabled = !m_systemColours;
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_OPTION_THUMB_FRAME_LABEL), enabled);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_OPTION_THUMB_BACK_LABEL), enabled);
}

void COptionThumbnail::PaintPreview()
{
    CDC* dc = m_preview.GetDibDC();
    if (!dc)
        return;
    dc->FillSolidRect(0, 0, kPreviewSize, kPreviewSize, m_backgroundColour);
    int width = m_widthSlider.GetPos();
    int height = m_heightSlider.GetPos();
    CRect cell((kPreviewSize - width) / 2, (kPreviewSize - height) / 2, kPreviewSize - (kPreviewSize - width) / 2,
               kPreviewSize - (kPreviewSize - height) / 2);
    if (m_borderSlider.GetPos() < kFramedLookBorder)
        PaintShadowLook(*dc, cell);
    else
        PaintFramedLook(*dc, cell);
    m_preview.Refresh();
}

void COptionThumbnail::PaintShadowLook(CDC& dc, CRect cell)
{
    cell.DeflateRect(kShadowInset, kShadowInset);
    dc.FillSolidRect(cell, m_frameColour);
    for (const ShadowPen& shadow : kShadowPens) {
        CPen pen(PS_SOLID, shadow.width, ShiftColour(m_backgroundColour, -shadow.darkenBy));
        CPen* old = dc.SelectObject(&pen);
        for (int i = 0; i < shadow.pointCount; ++i) {
            const ShadowPen::Point& offset = shadow.points[i];
            int x = offset.fromLeft ? cell.left + offset.dx : cell.right + offset.dx;
            int y = offset.fromBottom ? cell.bottom + offset.dy : cell.top + offset.dy;
            if (i == 0)
                dc.MoveTo(x, y);
            else
                dc.LineTo(x, y);
        }
        dc.SelectObject(old);
    }
    CPen outline(PS_SOLID, 1, ShiftColour(m_backgroundColour, kShadeStep));
    CPen* old = dc.SelectObject(&outline);
    dc.MoveTo(cell.left, cell.top);
    dc.LineTo(cell.right, cell.top);
    dc.LineTo(cell.right, cell.bottom);
    dc.LineTo(cell.left, cell.bottom);
    dc.LineTo(cell.left, cell.top);
    dc.SelectObject(old);
}

void COptionThumbnail::PaintFramedLook(CDC& dc, CRect cell)
{
    dc.FillSolidRect(cell, m_frameColour);
    dc.Draw3dRect(cell, m_lightShade, m_darkShade);
    cell.DeflateRect(1, 1);
    dc.Draw3dRect(cell, m_lightShade, m_darkShade);
    cell.InflateRect(1, 1);
    int border = m_borderSlider.GetPos();
    cell.DeflateRect(border, border);
    dc.FillSolidRect(cell, ::GetSysColor(COLOR_BTNSHADOW));
    dc.Draw3dRect(cell, m_darkShade, m_lightShade);
}

void COptionThumbnail::OnHScroll(UINT code, UINT position, CScrollBar* scrollBar)
{
    HWND from = scrollBar ? scrollBar->GetSafeHwnd() : nullptr;
    if (from == m_widthSlider.GetSafeHwnd()) {
        UpdateData(TRUE);
        if (m_keepRatio) {
            m_heightSlider.SetPos((int)(m_widthSlider.GetPos() / m_ratio));
            m_heightNumber = m_heightSlider.GetPos();
        }
        m_preview.Invalidate();
        m_widthNumber = m_widthSlider.GetPos();
        UpdateData(FALSE);
        PaintPreview();
    } else if (from == m_borderSlider.GetSafeHwnd()) {
        UpdateData(TRUE);
        m_preview.Invalidate();
        m_borderNumber = BorderNumberOf(m_borderSlider.GetPos());
        UpdateData(FALSE);
        PaintPreview();
    } else {
        CPropertyPage::OnHScroll(code, position, scrollBar);
    }
}

void COptionThumbnail::OnVScroll(UINT code, UINT position, CScrollBar* scrollBar)
{
    HWND from = scrollBar ? scrollBar->GetSafeHwnd() : nullptr;
    if (from != m_heightSlider.GetSafeHwnd()) {
        CPropertyPage::OnVScroll(code, position, scrollBar);
        return;
    }
    UpdateData(TRUE);
    if (m_keepRatio) {
        m_widthSlider.SetPos((int)(m_heightSlider.GetPos() * m_ratio));
        m_widthNumber = m_widthSlider.GetPos();
    }
    m_preview.Invalidate();
    m_heightNumber = m_heightSlider.GetPos();
    m_borderNumber = BorderNumberOf(m_borderSlider.GetPos());
    UpdateData(FALSE);
    PaintPreview();
}

void COptionThumbnail::OnKeepRatioClicked()
{
    m_ratio = (double)m_widthSlider.GetPos() / (double)m_heightSlider.GetPos();
}

void COptionThumbnail::OnDefault()
{
    m_widthSlider.SetPos(kDefaultWidth);
    m_heightSlider.SetPos(kDefaultHeight);
    m_borderSlider.SetPos(kDefaultBorder);
    m_ratio = (double)kDefaultWidth / (double)kDefaultHeight;
    m_widthNumber = kDefaultWidth;
    m_heightNumber = kDefaultHeight;
    m_borderNumber = BorderNumberOf(kDefaultBorder);
    m_keepRatio = 1;
    CheckDlgButton(IDC_OPTION_THUMB_KEEP_RATIO, BST_CHECKED);
    UpdateData(FALSE);
    PaintPreview();
}

bool COptionThumbnail::ChooseColour(COLORREF& colour)
{
    CHOOSECOLORA choice;
    ZeroMemory(&choice, sizeof(choice));
    choice.lStructSize = sizeof(choice);
    choice.hwndOwner = m_hWnd;
    choice.rgbResult = colour;
    choice.lpCustColors = g_customColours;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!::ChooseColorA(&choice) || choice.rgbResult == colour)
        return false;
    colour = choice.rgbResult;
    return true;
}

void COptionThumbnail::OnBackgroundSwatchClicked()
{
    UpdateData(TRUE);
    if (m_systemColours || !ChooseColour(m_backgroundColour))
        return;
    FillSwatch(m_backgroundSwatch, m_backgroundColour);
    PaintPreview();
}

void COptionThumbnail::OnFrameSwatchClicked()
{
    UpdateData(TRUE);
    if (m_systemColours || !ChooseColour(m_frameColour))
        return;
    FillSwatch(m_frameSwatch, m_frameColour);
    ComputeShades();
    PaintPreview();
}

void COptionThumbnail::OnSystemColoursClicked()
{
    UpdateData(TRUE);
    if (m_systemColours) {
        m_backgroundColour = ::GetSysColor(COLOR_APPWORKSPACE);
        m_frameColour = ::GetSysColor(COLOR_BTNFACE);
        ComputeShades();
        FillSwatch(m_backgroundSwatch, m_backgroundColour);
        FillSwatch(m_frameSwatch, m_frameColour);
        PaintPreview();
    }
    ShowColourLabels();
}

BOOL COptionThumbnail::OnApply()
{
    UpdateData(TRUE);
    m_changed = 0;
    auto store = [this](int32_t& stored, int value) {
        if (stored != value) {
            stored = value;
            m_changed = 1;
        }
    };
    auto storeFlag = [this](BYTE& stored, int value) {
        BYTE wanted = value ? 1 : 0;
        if (stored != wanted) {
            stored = wanted;
            m_changed = 1;
        }
    };
    store(Preference.ThumbWidth, m_widthSlider.GetPos());
    store(Preference.ThumbHeight, m_heightSlider.GetPos());
    store(Preference.ThumbBorder, m_borderSlider.GetPos());
    storeFlag(Preference.ConstrainProportion, m_keepRatio);
    storeFlag(Preference.SystemColor, m_systemColours);
    if (!m_systemColours) {
        if (Preference.ListCtrlColor != m_backgroundColour) {
            Preference.ListCtrlColor = m_backgroundColour;
            m_changed = 1;
        }
        if (Preference.ThumbnailColor != m_frameColour) {
            Preference.ThumbnailColor = m_frameColour;
            m_changed = 1;
        }
    }
    if (m_changed)
        Preference.UpdateColors();
    return TRUE;
}
