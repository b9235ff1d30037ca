// Saves a drawing as DWG 2004, 2000 and R14 and as DXF 2000, three times
// each, and prints the best time of each beside the others with the files'
// sizes.
#include "platform/zrio/win32.h"

#include <stdio.h>

#include <string>

#include "platform/zrio/zrio.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

// Best of three saves; negative when a save fails.
double BestSave(CDrawing* drawing, const std::string& path, signed char kind, short version) {
  double best = 1e30;
  for (int run = 0; run < 3; ++run) {
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    bool saved = drawing->save(path.c_str(), kind, version, 0);
    QueryPerformanceCounter(&t1);
    if (!saved) return -1;
    if (Seconds(t0, t1) < best) best = Seconds(t0, t1);
  }
  return best;
}

double Megabytes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (double(data.nFileSizeHigh) * 4294967296.0 + data.nFileSizeLow) / 1048576.0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: zrio_save_bench FILE.dxf\n");
    return 2;
  }
  CDrawing* drawing = CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW);
  if (drawing->open(argv[1], nullptr) != 0) {
    fprintf(stderr, "open failed\n");
    return 1;
  }
  std::string stem(argv[1]);
  stem = stem.substr(0, stem.size() - 4);
  const struct {
    const char* name;
    signed char kind;
    short version;
    const char* extension;
  } saves[] = {{"DWG 2004", 1, 9, "_2004.dwg"}, {"DWG 2000", 1, 8, "_2000.dwg"}, {"DWG R14", 1, 7, "_r14.dwg"},
               {"DXF 2000", 2, 8, "_2000.dxf"}};
  bool failed = false;
  for (const auto& save : saves) {
    std::string path = stem + "_saved" + save.extension;
    double seconds = BestSave(drawing, path, save.kind, save.version);
    failed = failed || seconds < 0;
    printf("save as %s %.3f s (%.1f MB)\n", save.name, seconds, Megabytes(path));
  }
  CDrawing::DeleteDrawing(drawing);
  return failed ? 1 : 0;
}
