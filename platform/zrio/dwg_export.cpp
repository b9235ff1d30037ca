#include "platform/zrio/win32.h"
#include "platform/zrio/dwg_export.h"

CDwgExport::CDwgExport() : m_fillOff(0), m_colorMode(0), m_extendMode(false) {}
CDwgExport::~CDwgExport() {}
void CDwgExport::SetExtendMode(bool on) { m_extendMode = on; }
bool CDwgExport::GetExtendMode() { return m_extendMode; }
bool CDwgExport::BeginDraw(int, int, int, double, double) { return true; }
bool CDwgExport::EndDraw() { return true; }
bool CDwgExport::BeginEntityDraw() { return true; }
void CDwgExport::EndEntityDraw() {}
void CDwgExport::TextParam(double, double, double) {}
void CDwgExport::SetClip(int, const DwgExportPoint*) {}
void CDwgExport::ResetClip() {}
bool CDwgExport::Raster(double, double, int, int, HBITMAP) { return false; }
bool CDwgExport::SupportsSolidText() { return false; }
void CDwgExport::SetLineType(int) {}
void CDwgExport::Pixel(double, double, double) {}
void CDwgExport::MoveTo(double, double, double) {}
void CDwgExport::LineTo(double, double, double) {}
void CDwgExport::Arc(double, double, double, double, double, double) {}
bool CDwgExport::SupportsArcs() { return true; }
void CDwgExport::Polygon(int, int, const DwgExportPoint*) {}
void CDwgExport::PolyPolygon(const DwgExportPoint*, const int*, int) {}
bool CDwgExport::SupportsPolygons() { return true; }
bool CDwgExport::SupportTTF() { return false; }
void CDwgExport::SetLayer(const char*) {}
void CDwgExport::SetPenColor(COLORREF, int) {}
void CDwgExport::SetPenWidth(double) {}
bool CDwgExport::WantsHatchLines() { return false; }
void CDwgExport::SetFillMode(int) {}
COLORREF CDwgExport::PaperColor() { return RGB(255, 255, 255); }
bool CDwgExport::IsVectorOnly() { return false; }
bool CDwgExport::DrawsPaperSpace() { return true; }
bool CDwgExport::ExportOriginalScaleRaster() { return false; }
void CDwgExport::ShellCallback(ShellType) {}
void CDwgExport::BeginGroup(int, int, int) {}
void CDwgExport::EndGroup(int, int) {}
void CDwgExport::SetTextColor(COLORREF) {}
bool CDwgExport::Text(double, double, double, double, double, const char*, int, int) { return true; }
void CDwgExport::DrawRaster(double, double, int, int, double, double, HBITMAP, int) {}
