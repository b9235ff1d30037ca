// Opens DWG files and renders each once at 1920 x 1080 (a view drawing, as
// the drawing thread does), printing the seconds of each part; then draws
// every file as a 160 x 120 thumbnail through zrapp::draw on a context (as
// the thumbnail thread does), one after the other without a pause, and
// prints thumbnails a second.
//
// The process's first open starts the view drawings' worker: its seconds,
// less those of the same file's later opens, are the worker's start-up.
// Then every file is opened in four rounds, each open after a pause: the
// first as a user's session meets it, the later ones once LibreDWG's code
// has been run on every file (the fastest of them stands beside LibreDWG's
// fastest later read).
// Each line splits an open into the worker's part (LibreDWG's read, the DXF
// text and its way through the pipe: up to the 50% progress report) and the
// DXF reader's; thumbnails run three passes over the files.
#include "platform/zrio/win32.h"

#include <stdio.h>

#include "platform/zrapp/zrapp.h"
#include "platform/zrio/zrio.h"

namespace {

const int kRounds = 4;
// The pause before each timed open, as a user looks at one drawing before
// opening the next: the worker prepares for the next file meanwhile.
const DWORD kLookMs = 1000;
const int kThumbnailPasses = 3;

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return double(counter.QuadPart) / double(frequency.QuadPart);
}

// The moment the worker's answer was complete in the open being timed.
double g_answered = 0;

void OnProgress(double percent) {
  if (percent >= 50 && g_answered == 0) g_answered = Now();
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

// Opens and renders one file as a view drawing; false when it failed to open.
bool TimeView(const char* path, const char* label, Canvas& view, int width, int height) {
  Sleep(kLookMs);
  g_answered = 0;
  double t0 = Now();
  CDrawing* drawing = CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW);
  short status = drawing->open(path, nullptr);
  double t1 = Now();
  if (status == 0) {
    drawing->setViewSize(width, height);
    drawing->zoomExtents(0, 0, 1.0);
    drawing->draw(view.dc);
    GdiFlush();
  }
  double t2 = Now();
  double worker = g_answered > 0 ? g_answered - t0 : t1 - t0;
  printf("%s %s worker %.3f dxf %.3f render %.3f open+render %.3f%s\n", path, label, worker, t1 - t0 - worker,
         t2 - t1, t2 - t0, status == 0 ? "" : " (open failed)");
  CDrawing::DeleteDrawing(drawing);
  return status == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: dwg_bench FILE.dwg...\n");
    return 2;
  }
  InitDLL();
  DWG_SetProgressCallBackFuns(nullptr, OnProgress, nullptr);
  const int width = 1920, height = 1080;
  Canvas view(width, height);
  int failures = 0;
  failures += !TimeView(argv[1], "first", view, width, height);
  for (int round = 1; round <= kRounds; ++round) {
    char label[32];
    snprintf(label, sizeof label, "round%d", round);
    for (int i = 1; i < argc; ++i) failures += !TimeView(argv[i], label, view, width, height);
  }

  Canvas thumbnail(160, 120);
  int context = zrapp::create();
  for (int pass = 1; pass <= kThumbnailPasses; ++pass) {
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
    printf("thumbnails pass %d: %d in %.3f s: %.2f a second\n", pass, drawn, seconds, drawn / seconds);
  }
  zrapp::release(context);
  UninitDLL();
  return failures ? 1 : 0;
}
