// CDrawing: one drawing of the drawing library. It reads DXF files (ASCII
// and binary, R12 to 2018), keeps the drawing in memory, holds its view
// (size, zoom, pan, 3D direction, layout, display settings) and draws it into
// a device context or through an attached export device. DWG and DWT files
// are read through LibreDWG (dwg_reader.h); DWF files are recognised but
// cannot be opened (status kOpenUnsupported). The drawings its external
// references name are read with it (xref_loader.h).
//
// Device coordinates passed in and out are pixels of the output with y
// growing upwards (0 at the bottom edge).
#pragma once
#include <windows.h>

class CDwgExport;
namespace zr { struct DrawingState; }

// What a drawing is made for; the thumbnail thread's drawings poll the
// second abort query (DWG_SetFileAboutFunc_2), all others the first.
enum CDRAWING_SERVER { CDRAWING_SERVER_VIEW = 0, CDRAWING_SERVER_THUMBNAIL = 1 };

// Called once per summary property: id 1 title, 2 subject, 3 author,
// 4 keywords, 5 comments, 6 last saved by, 0 hyperlink base, 7 revision,
// 8 the total editing time in whole minutes (decimal digits), 17 a custom
// property as "name=value". Texts are in the ANSI code page.
typedef int (*DWG_PROPERTY_FUNC)(int id, const char* text, void* user);

class CDrawing {
 public:
  // Results of open().
  enum OpenStatus : short {
    kOpened = 0,
    kOpenFileError = 1,     // missing or unreadable file
    kOpenBadData = 2,       // not a drawing, or damaged, or LibreDWG cannot read it
    kOpenUnsupported = 3,   // DWF, or a DWG while the DWG reader is missing
    kOpenPassword = 4,      // the file needs a password
    kOpenAborted = 5,       // the abort query asked to stop
  };
  // The id enumProperties gives the total editing time.
  enum { kEditingTimeProperty = 8 };

  static CDrawing* CreateDrawing(CDRAWING_SERVER kind);
  static void DeleteDrawing(CDrawing* drawing);

  // --- File ---------------------------------------------------------------
  short open(const char* path, const char* password);
  void close();
  bool isLoaded() const;
  // What the last open could not load though it opened the drawing (the
  // external references not found or not readable, by name), one a line,
  // in the ANSI code page; empty when nothing was missing.
  const char* getLoadProblems() const;
  void getFileName(char* buffer) const;  // 260 bytes, ANSI
  short getVersion() const;              // format version code; 0 when unknown
  void enumProperties(DWG_PROPERTY_FUNC callback, void* user) const;
  // Prepares a save (nothing to do for DXF); true.
  bool preSave();
  // kind 1 DWG (2000 only), 2 DXF; version 9 2004, 8 2000, 7 R14, 5 R12.
  // Written to a temporary file beside the target, renamed over it at the
  // end; on failure nothing is written and getSaveError says why (a DWG
  // save fails for a drawing holding what the DWG writer cannot encode:
  // 3D solids, regions, proxies, tables, ...).
  bool save(const char* path, signed char kind, short version, int flags);
  // Whether save can write that kind and version at all (DXF, and DWG 2000).
  static bool canSave(signed char kind, short version);
  // Why the last save failed, a sentence in the ANSI code page; empty after
  // a save that succeeded.
  const char* getSaveError() const;

  // --- Output -------------------------------------------------------------
  // Redraws through the attached export device, if any.
  void update();
  void attachExport(CDwgExport* device);
  void setPageValue(int value);
  void setViewSize(int width, int height);
  // Draws the current view into a device context whose coordinates are
  // pixels with y downwards (the whole view fills 0..width, 0..height).
  void draw(HDC dc);
  // Draws the print view into a device context mapped with y upwards
  // (raster export); with usePenWidths lines take the colours and widths of
  // the pen set (CommonPenSets_SetPens), or else lineweights at the pen dpi.
  void drawToDC(HDC dc, bool usePenWidths);
  void saveViewState();
  void restoreViewState();
  // The view that maps the window (two drawing-coordinate corners) onto a
  // page of the given size.
  void setPrintView(const double corner1[3], const double corner2[3], double pageWidth,
                    double pageHeight);
  int getPrintColorMode() const;
  void setPrintColorMode(int mode);
  void setPrintSwitch(int which, bool on);
  // Breaks a running draw (any thread).
  void breakDraw();

  // --- Layouts ------------------------------------------------------------
  int getLayoutCount() const;
  // Copies the name (ANSI) into text; false for a bad index.
  bool getLayoutName(int index, char* text, int textSize) const;
  int getCurrentLayout() const;
  void setLayout(int index);
  // Limits of the current layout.
  void getLayoutLimits(double* xMin, double* xMax, double* yMin, double* yMax) const;

  // --- View ---------------------------------------------------------------
  void zoomExtents(int x, int y, double factor);  // factor < 1 leaves a margin; > 1 too (1/factor)
  void zoomIn(int steps);
  void zoomOut(int steps);
  void zoomInAt(int x, int y, int steps);
  void zoomOutAt(int x, int y, int steps);
  void zoomWindow(int x1, int y1, int x2, int y2);
  void pan(int x1, int y1, int x2, int y2);
  void beginViewChange();
  void previousView();
  bool hasPreviousView() const;
  // 0 front, 1 back, 2 left, 3 right, 4 top, 5 bottom, 6 SW, 7 SE, 8 NE, 9 NW.
  void setViewPoint(int code);
  // The direction (world x, y, z) from which the view looks at the drawing,
  // (0, 0, 1) for the plan view; setting one fits the drawing into the view.
  void getViewDirection(double* xyz) const;
  void setViewDirection(const double* xyz);
  // Two drawing points whose box, as the current view sees it, holds the
  // whole current layout (its extents), and that box's width and height in
  // drawing units; false when nothing is loaded.
  bool getExtentCorners(double* corner1, double* corner2, double* width, double* height) const;
  bool canSetViewPoint() const;
  void prepareView();
  void rotateView(double radians);          // about the view direction
  void turnHorizontal(double radians);      // about the screen's horizontal axis
  void turnVertical(double radians);        // about the screen's vertical axis
  void roll(double radians);
  void clientToDrawing(double x, double y, double* xyz) const;
  void getViewSizeInUnits(double* width, double* height) const;

  // --- Display ------------------------------------------------------------
  int getColorMode() const;  // 0 colour, 1 grey, 2 black and white
  void setColorMode(int mode);
  int getPointMode() const;
  double getPointSize() const;
  void setPointMode(int mode);
  void setPointSize(double size);
  int getUnitMode() const;   // 1 scientific .. 5 fractional
  int getPrecision() const;
  void setQuickMode(bool on);
  bool getQuickMode() const;

  // --- Layers -------------------------------------------------------------
  int getLayerCount() const;
  bool getLayerName(int index, char* text, int textSize) const;
  int getLayerColor(int index) const;  // colour index
  bool isLayerOn(int index) const;
  bool isLayerFrozen(int index) const;
  void setLayerColor(int index, int color);
  void setLayerOn(int index, bool on);
  void setLayerFrozen(int index, bool frozen);

  // --- Highlight ----------------------------------------------------------
  // Highlights the entity under (x, y) in the DC; true when one was found.
  bool highlightAt(HDC dc, int x, int y);
  bool hasHighlight() const;
  // Draws the view again without the highlight.
  void restoreHighlight(HDC dc);

  zr::DrawingState* state() const { return m_state; }

 private:
  explicit CDrawing(CDRAWING_SERVER kind);
  ~CDrawing();
  CDrawing(const CDrawing&) = delete;
  CDrawing& operator=(const CDrawing&) = delete;

  bool saveDwg(const char* path, short version);
  zr::DrawingState* m_state;
};
