#include "platform/zrio/win32.h"
#include "platform/zrapp/zrapp.h"

namespace ZrApp {

Document::Document() : m_drawing(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW)), m_view(this) {}

Document::~Document() { CDrawing::DeleteDrawing(m_drawing); }

Document* Document::create() { return new Document; }

void Document::release(Document* document) { delete document; }

void Document::close() { m_drawing->close(); }

CDrawing* View::drawing() { return m_document->getDrawing(); }

void View::setSize(int width, int height) { drawing()->setViewSize(width, height); }
void View::draw(HDC dc, int) { drawing()->draw(dc); }
void View::redraw() { drawing()->prepareView(); }
void View::refresh() { drawing()->prepareView(); }
void View::zoomExtents(int x, int y, double factor) { drawing()->zoomExtents(x, y, factor); }
void View::zoomWindow(int x1, int y1, int x2, int y2) { drawing()->zoomWindow(x1, y1, x2, y2); }
void View::zoomIn(int steps) { drawing()->zoomIn(steps); }
void View::zoomOut(int steps) { drawing()->zoomOut(steps); }
void View::zoomInAt(int x, int y, int steps) { drawing()->zoomInAt(x, y, steps); }
void View::zoomOutAt(int x, int y, int steps) { drawing()->zoomOutAt(x, y, steps); }
void View::pan(int x1, int y1, int x2, int y2) { drawing()->pan(x1, y1, x2, y2); }
bool View::highlightAt(HDC dc, int, int x, int y) { return drawing()->highlightAt(dc, x, y); }
bool View::hasHighlight() { return drawing()->hasHighlight(); }
void View::restoreHighlight(HDC dc, int, int) { drawing()->restoreHighlight(dc); }
void View::interrupt() { drawing()->breakDraw(); }
void View::setQuickMode(bool on) { drawing()->setQuickMode(on); }
bool View::queryState() { return drawing()->getQuickMode(); }
bool View::canHighlight() { return drawing()->isLoaded(); }
void View::beginViewChange() { drawing()->beginViewChange(); }
void View::previousView() { drawing()->previousView(); }
bool View::hasPreviousView() { return drawing()->hasPreviousView(); }
void View::turnHorizontal(double radians) { drawing()->turnHorizontal(radians); }
void View::turnVertical(double radians) { drawing()->turnVertical(radians); }
void View::roll(double radians) { drawing()->roll(radians); }
int View::getColorMode() { return drawing()->getColorMode(); }
void View::setColorMode(int mode) { drawing()->setColorMode(mode); }
int View::getUnitMode() { return drawing()->getUnitMode(); }
int View::getPrecision() { return drawing()->getPrecision(); }
void View::clientToDrawing(double x, double y, double* xyz) { drawing()->clientToDrawing(x, y, xyz); }

}  // namespace ZrApp
