// Opens a DXF file and renders it once at 1920 x 1080; prints the time of
// each step, the working set of the process before the open and its peak.
#include "platform/zrio/win32.h"

#include <psapi.h>
#include <stdio.h>

#include "platform/zrio/zrio.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

PROCESS_MEMORY_COUNTERS Memory() {
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
  return memory;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: zrio_bench FILE.dxf\n");
    return 2;
  }
  const int width = 1920, height = 1080;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  SelectObject(dc, bitmap);

  PROCESS_MEMORY_COUNTERS before = Memory();
  LARGE_INTEGER t0, t1, t2;
  QueryPerformanceCounter(&t0);
  CDrawing* drawing = CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW);
  short status = drawing->open(argv[1], nullptr);
  QueryPerformanceCounter(&t1);
  if (status != 0) {
    fprintf(stderr, "open failed: %d\n", status);
    return 1;
  }
  drawing->setViewSize(width, height);
  drawing->zoomExtents(0, 0, 1.0);
  drawing->draw(dc);
  GdiFlush();
  QueryPerformanceCounter(&t2);

  PROCESS_MEMORY_COUNTERS after = Memory();
  printf("open %.3f s\nrender %.3f s\nopen+render %.3f s\n", Seconds(t0, t1), Seconds(t1, t2),
         Seconds(t0, t2));
  printf("working set before the open %.1f MB\npeak working set %.1f MB\n",
         double(before.WorkingSetSize) / (1024.0 * 1024.0),
         double(after.PeakWorkingSetSize) / (1024.0 * 1024.0));
  CDrawing::DeleteDrawing(drawing);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return 0;
}
