// Opens each DWG file given and renders it once at 1920 x 1080 (a view
// drawing, as the drawing thread does), printing the seconds of each; then
// draws every file as a 160 x 120 thumbnail through zrapp::draw on a context
// (as the thumbnail thread does), one after the other without a pause, and
// prints thumbnails a second.
#include "platform/zrio/win32.h"

#include <stdio.h>

#include "platform/zrapp/zrapp.h"
#include "platform/zrio/zrio.h"

namespace {

// Time a worker gets to start before a timed open.
const DWORD kSettleMs = 5000;

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return double(counter.QuadPart) / double(frequency.QuadPart);
}

// A DIB section of the given size selected into a memory DC.
struct Canvas {
  Canvas(int width, int height) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    old = SelectObject(dc, bitmap);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: dwg_bench FILE.dwg...\n");
    return 2;
  }
  InitDLL();
  const int width = 1920, height = 1080;
  Canvas view(width, height);
  int failures = 0;
  // The first open starts the worker kept ahead of need; each timed open
  // then finds it ready, as an open by the user does.
  CDrawing* first = CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW);
  first->open(argv[1], nullptr);
  CDrawing::DeleteDrawing(first);
  for (int i = 1; i < argc; ++i) {
    Sleep(kSettleMs);
    double t0 = Now();
    CDrawing* drawing = CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW);
    short status = drawing->open(argv[i], nullptr);
    double t1 = Now();
    if (status == 0) {
      drawing->setViewSize(width, height);
      drawing->zoomExtents(0, 0, 1.0);
      drawing->draw(view.dc);
      GdiFlush();
    }
    double t2 = Now();
    printf("%s open %.3f render %.3f open+render %.3f%s\n", argv[i], t1 - t0, t2 - t1, t2 - t0,
           status == 0 ? "" : " (open failed)");
    failures += status != 0;
    CDrawing::DeleteDrawing(drawing);
  }

  Canvas thumbnail(160, 120);
  int context = zrapp::create();
  double start = Now();
  int drawn = 0;
  for (int i = 1; i < argc; ++i) {
    CDrawing* drawing = CDrawing::CreateDrawing(CDRAWING_SERVER_THUMBNAIL);
    if (drawing->open(argv[i], nullptr) == 0) {
      drawing->setViewSize(160, 120);
      drawing->zoomExtents(0, 0, 0.98);
      zrapp::draw(context, drawing, thumbnail.dc, 160, 120, 0);
      ++drawn;
    }
    CDrawing::DeleteDrawing(drawing);
  }
  double seconds = Now() - start;
  zrapp::release(context);
  printf("thumbnails %d in %.3f s: %.2f a second\n", drawn, seconds, drawn / seconds);
  UninitDLL();
  return failures ? 1 : 0;
}
