// zrapp: a document (a drawing with its view) for the drawing thread and the
// views, and a flat interface that draws thumbnails.
#pragma once
#include <windows.h>

#include "platform/zrio/zrio.h"

namespace ZrApp {

class Document;

// The view of a document. Coordinates are output pixels with y upwards.
class View {
 public:
  explicit View(Document* document) : m_document(document) {}

  void setSize(int width, int height);
  // Draws the current view into the DC (y downwards, filling 0..width, 0..height).
  void draw(HDC dc, int flags);
  void redraw();
  void refresh();
  void zoomExtents(int x, int y, double factor);
  void zoomWindow(int x1, int y1, int x2, int y2);
  void zoomIn(int steps);
  void zoomOut(int steps);
  void zoomInAt(int x, int y, int steps);
  void zoomOutAt(int x, int y, int steps);
  void pan(int x1, int y1, int x2, int y2);
  bool highlightAt(HDC dc, int flags, int x, int y);
  bool hasHighlight();
  void restoreHighlight(HDC dc, int x, int y);
  // Stops a running draw (any thread).
  void interrupt();
  void setQuickMode(bool on);
  // The quick-mode flag.
  bool queryState();
  bool canHighlight();
  void beginViewChange();
  void previousView();
  bool hasPreviousView();
  void turnHorizontal(double radians);
  void turnVertical(double radians);
  void roll(double radians);
  int getColorMode();
  void setColorMode(int mode);
  int getUnitMode();
  int getPrecision();
  void clientToDrawing(double x, double y, double* xyz);

 private:
  CDrawing* drawing();
  Document* m_document;
};

class Document {
 public:
  static Document* create();
  static void release(Document* document);

  // Closes the drawing; the drawing object itself stays for the next open.
  void close();
  CDrawing* getDrawing() { return m_drawing; }
  View* getView() { return &m_view; }

 private:
  Document();
  ~Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  CDrawing* m_drawing;
  View m_view;
};

}  // namespace ZrApp

namespace zrapp {

// Thumbnail drawing: a context per thread of use.
int create();
// Draws the whole drawing (its current view) into the DC at the given size.
int draw(int context, CDrawing* drawing, HDC dc, int width, int height, int flags);
// Makes a running draw of the context return early; callable from any thread.
void callBreak(int context);
void release(int context);

}  // namespace zrapp
