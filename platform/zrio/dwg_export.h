// CDwgExport: the base class of export devices. A drawing with an attached
// device (CDrawing::attachExport) draws itself through the device's virtual
// primitives on CDrawing::update, in the device's page coordinates with y
// growing upwards (0..page width, 0..page height as given to BeginDraw).
#pragma once
#include <windows.h>

// One point of a point array handed to a device: x and y are used.
struct DwgExportPoint {
  double x, y, z, bulge, width;
};

enum ShellType { SHELL_NONE = 0, SHELL_BEGIN = 1, SHELL_END = 2 };

class CDwgExport {
 public:
  CDwgExport();
  virtual ~CDwgExport();                                          // slot 0
  virtual void SetExtendMode(bool on);                            // 1
  virtual bool GetExtendMode();                                   // 2
  virtual bool BeginDraw(int left, int top, int flags, double pageWidth, double pageHeight);  // 3
  virtual bool EndDraw();                                         // 4
  virtual bool BeginEntityDraw();                                 // 5
  virtual void EndEntityDraw();                                   // 6
  virtual void TextParam(double height, double angle, double widthFactor);  // 7
  virtual void SetClip(int count, const DwgExportPoint* points);  // 8
  virtual void ResetClip();                                       // 9
  virtual bool Raster(double x, double y, int width, int height, HBITMAP image);  // 10
  virtual bool SupportsSolidText();                               // 11: false
  virtual void SetLineType(int index);                            // 12: ignored
  virtual void Pixel(double x, double y, double z);               // 13
  virtual void MoveTo(double x, double y, double z);              // 14
  virtual void LineTo(double x, double y, double z);              // 15
  virtual void Arc(double cx, double cy, double cz, double radius, double startAngle,
                   double endAngle);                              // 16
  virtual bool SupportsArcs();                                    // 17: true
  virtual void Polygon(int first, int last, const DwgExportPoint* points);  // 18
  virtual void PolyPolygon(const DwgExportPoint* points, const int* counts, int polygonCount);  // 19
  virtual bool SupportsPolygons();                                // 20: true
  virtual bool SupportTTF();                                      // 21
  virtual void SetLayer(const char* name);                        // 22: ignored
  virtual void SetPenColor(COLORREF color, int penIndex);         // 23
  virtual void SetPenWidth(double width);                         // 24
  virtual bool WantsHatchLines();                                 // 25: false
  virtual void SetFillMode(int mode);                             // 26: ignored
  virtual COLORREF PaperColor();                                  // 27: white
  virtual bool IsVectorOnly();                                    // 28: false
  virtual bool DrawsPaperSpace();                                 // 29: true
  virtual bool ExportOriginalScaleRaster();                       // 30
  virtual void ShellCallback(ShellType type);                     // 31
  virtual void BeginGroup(int kind, int index, int count);        // 32: ignored
  virtual void EndGroup(int kind, int index);                     // 33: ignored
  virtual void SetTextColor(COLORREF color);                      // 34: ignored
  virtual bool Text(double x, double y, double height, double angle, double widthFactor,
                        const char* text, int length, int flags); // 35: true
  virtual void DrawRaster(double x, double y, int imageWidth, int imageHeight, double scaleX,
                          double scaleY, HBITMAP image, int flags);  // 36

 protected:
  unsigned char m_fillOff;  // set: filled primitives draw nothing
  short m_colorMode;        // 1 grey, 2 black, anything else colour

 private:
  bool m_extendMode;
};
