// Opens DWG files and renders each once at 1920 x 1080 (a view drawing, as
// the drawing thread does), beside LibreDWG's own read of the same file in a
// Node process kept alongside (package_read.mjs): the two are asked in turn,
// file after file, each after the same pause, so that the machine's load
// falls on both alike. Then draws every file as a 160 x 120 thumbnail
// through zrapp::draw on a context (as the thumbnail thread does for a file
// without a stored preview), one after the other without a pause, and
// prints thumbnails a second.
//
// The library starts the view drawings' worker when it is initialised; the
// first open comes a while later, as a user's first open comes after the
// program has started: its time, less the same file's median later open, is
// what is left of the worker's start-up. Then every
// file is read in a first round (LibreDWG's code runs for the first time in
// both processes) and in later rounds, whose fastest and median times stand
// side by side: our open (LibreDWG's read and conversion, ours, and our
// model made), and the open with its first render. Our time is split into the worker's stages (LibreDWG's read
// with the wait for its instance, LibreDWG's conversion, our completion of
// it from LibreDWG's own objects, the writing of the DXF and its sending,
// as the worker records them when HARBECK_DWG_STAGES names a file; "pipe"
// is the rest of the worker's part: the file's way to the worker and the
// answer's way back), the DXF reader's part ("parse", with external
// references), the rest of the open ("after": shape files, the view) and
// the render.
// "pktrip" is the package reader's round trip beyond its read (its reading
// of the file and the two wake-ups of a message each way): what the
// machine charges any kept process for a request, set beside our "pipe".
//
// Usage: dwg_bench PACKAGE_READ.mjs READER_FOLDER FILE.dwg...
// (the script and the reader folder as Unix paths).
#include "platform/zrio/win32.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/base/unix_path.h"
#include "platform/zrapp/zrapp.h"
#include "platform/zrio/child_process.h"
#include "platform/zrio/zrio.h"

namespace {

const int kLaterRounds = 15;
// The pause before each timed read, as a user looks at one drawing before
// opening the next: each process prepares for the next file meanwhile.
const DWORD kLookMs = 400;
const int kThumbnailPasses = 3;
const int kPeerTimeoutMs = 120 * 1000;
// Between the library's initialisation and the first open.
const DWORD kStartUpMs = 1500;
// The worker's stages as it records them, and the parts of our open.
const char* const kStages[] = {"read", "convrt", "complt", "write", "send"};
const int kStageCount = 5;
enum Part {
  kPackage, kPeerTrip, kOpen, kOurs, kPipe, kParse, kAfter, kRender, kFirstStage,
  kPartCount = kFirstStage + kStageCount
};

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return double(counter.QuadPart) / double(frequency.QuadPart);
}

// The moments the worker's answer was complete and the load ended (after
// the DXF reader) in the open being timed.
double g_answered = 0;
double g_loaded = 0;

void OnProgress(double percent) {
  if (percent >= 50 && g_answered == 0) g_answered = Now();
}

void OnLoadEnd() { g_loaded = Now(); }

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

// One line from the package's reader; NaN when it failed.
double AskPeer(zr::ChildProcess& peer, const std::string& request) {
  std::string line = request + "\n", answer;
  auto take = [&](const char* bytes, size_t n) {
    answer.append(bytes, n);
    return answer.find('\n') == std::string::npos ? zr::ChildProcess::Take::More : zr::ChildProcess::Take::Done;
  };
  if (peer.Exchange({{line.data(), line.size()}}, kPeerTimeoutMs, nullptr, take) != zr::ChildProcess::Outcome::Done)
    return NAN;
  return atof(answer.c_str());
}

// The lines of the worker's stage record so far (a Unix path in the
// environment, under Wine's drive Z:).
std::vector<std::string> StageLines() {
  std::vector<std::string> lines;
  char record[MAX_PATH] = "Z:";
  DWORD length = GetEnvironmentVariableA("HARBECK_DWG_STAGES", record + 2, MAX_PATH - 2);
  if (length == 0 || length >= MAX_PATH - 2) return lines;
  HANDLE file = CreateFileA(record, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return lines;
  std::string text;
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) text.append(buffer, n);
  CloseHandle(file);
  for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
    lines.push_back(text.substr(at, end - at));
  return lines;
}

// Opens and renders one file as a view drawing into `parts` (ms); false
// when it failed to open. The worker's record of the read is taken after
// the look that follows.
bool TimeView(const char* path, Canvas& view, int width, int height, double* parts) {
  size_t recorded = StageLines().size();
  g_answered = g_loaded = 0;
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
  CDrawing::DeleteDrawing(drawing);
  double answered = g_answered > 0 ? g_answered : t1, loaded = g_loaded > 0 ? g_loaded : t1;
  double worker = answered - t0;
  parts[kOpen] = (t1 - t0) * 1000;
  parts[kOurs] = (t2 - t0) * 1000;
  parts[kParse] = (loaded - answered) * 1000;
  parts[kAfter] = (t1 - loaded) * 1000;
  parts[kRender] = (t2 - t1) * 1000;
  Sleep(kLookMs);
  std::vector<std::string> lines = StageLines();
  double busy = 0;
  int found = 0;
  if (status == 0 && lines.size() == recorded + 1) {
    const char* at = lines.back().c_str();
    char* end = nullptr;
    strtod(at, &end);  // the file's size
    for (; found < kStageCount; ++found) {
      at = end;
      double ms = strtod(at, &end);
      if (end == at) break;
      parts[kFirstStage + found] = ms;
      busy += ms;
    }
  }
  parts[kPipe] = found == kStageCount ? worker * 1000 - busy : NAN;
  for (int i = found; i < kStageCount; ++i) parts[kFirstStage + i] = NAN;
  return status == 0;
}

double Median(std::vector<double> values) {
  values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return v != v; }), values.end());
  if (values.empty()) return NAN;
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Least(const std::vector<double>& values) {
  double least = NAN;
  for (double v : values)
    if (v == v && !(least <= v)) least = v;
  return least;
}

const char* BaseName(const char* path) {
  const char* name = path;
  for (const char* p = path; *p; ++p)
    if (*p == '\\' || *p == '/') name = p + 1;
  return name;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    fprintf(stderr, "usage: dwg_bench PACKAGE_READ.mjs READER_FOLDER FILE.dwg...\n");
    return 2;
  }
  const int fileCount = argc - 3;
  char** files = argv + 3;
  std::vector<std::string> unixPaths(fileCount);
  for (int i = 0; i < fileCount; ++i) {
    if (!GetUnixPath(files[i], &unixPaths[i])) {
      fprintf(stderr, "no Unix path for %s\n", files[i]);
      return 2;
    }
  }
  double peerStart = Now();
  zr::ChildProcess peer;
  if (!peer.Start({"node", "--expose-gc", argv[1], argv[2]})) {
    fprintf(stderr, "node could not be started\n");
    return 2;
  }
  double peerStartup = AskPeer(peer, "");
  double peerReady = (Now() - peerStart) * 1000;

  InitDLL();
  DWG_SetProgressCallBackFuns(nullptr, OnProgress, OnLoadEnd);
  Sleep(kStartUpMs);
  const int width = 1920, height = 1080;
  Canvas view(width, height);
  int failures = 0;
  double first[kPartCount];
  failures += !TimeView(files[0], view, width, height, first);

  // parts[file][part][round]
  std::vector<std::vector<std::vector<double>>> parts(
      fileCount, std::vector<std::vector<double>>(kPartCount, std::vector<double>(1 + kLaterRounds)));
  for (int round = 0; round <= kLaterRounds; ++round) {
    for (int i = 0; i < fileCount; ++i) {
      double p[kPartCount];
      double asked = Now();
      p[kPackage] = AskPeer(peer, unixPaths[i]);
      p[kPeerTrip] = (Now() - asked) * 1000 - p[kPackage];
      Sleep(kLookMs);
      failures += !TimeView(files[i], view, width, height, p);
      for (int k = 0; k < kPartCount; ++k) parts[i][k][round] = p[k];
    }
  }
  peer.Kill();

  printf("package: LibreDWG's read and convert on an instance made ready as ours; ours: the open (read, convert, our model) and"
         " the open + first render at %dx%d (ms)\n",
         width, height);
  printf("first round, then the fastest and the median of %d later rounds; our stages: medians of the later rounds\n",
         kLaterRounds);
  printf("%-18s %6s | %6s %6s %6s | %6s %6s %6s | %5s %5s | %6s %5s |", "file", "KB", "pk1st", "pkmin", "pkmed",
         "opn1st", "opnmin", "opnmed", "x min", "x med", "+rendr", "x med");
  for (const char* stage : kStages) printf(" %6s", stage);
  printf(" %6s %6s %6s %6s | %6s\n", "pipe", "parse", "after", "render", "pktrip");
  double worstOpenRatio = 0, worstMedianRatio = 0;
  for (int i = 0; i < fileCount; ++i) {
    auto later = [&](int k) { return std::vector<double>(parts[i][k].begin() + 1, parts[i][k].end()); };
    double pkMin = Least(later(kPackage)), pkMed = Median(later(kPackage));
    double openMin = Least(later(kOpen)), openMed = Median(later(kOpen)), ourMed = Median(later(kOurs));
    WIN32_FILE_ATTRIBUTE_DATA attributes = {};
    GetFileAttributesExA(files[i], GetFileExInfoStandard, &attributes);
    printf("%-18s %6.0f | %6.1f %6.1f %6.1f | %6.1f %6.1f %6.1f | %5.2f %5.2f | %6.1f %5.2f |", BaseName(files[i]),
           attributes.nFileSizeLow / 1024.0, parts[i][kPackage][0], pkMin, pkMed, parts[i][kOpen][0], openMin,
           openMed, openMin / pkMin, openMed / pkMed, ourMed, ourMed / pkMed);
    for (int s = 0; s < kStageCount; ++s) printf(" %6.1f", Median(later(kFirstStage + s)));
    printf(" %6.1f %6.1f %6.1f %6.1f | %6.1f\n", Median(later(kPipe)), Median(later(kParse)), Median(later(kAfter)),
           Median(later(kRender)), Median(later(kPeerTrip)));
    worstOpenRatio = std::max(worstOpenRatio, openMed / pkMed);
    worstMedianRatio = std::max(worstMedianRatio, ourMed / pkMed);
  }
  printf("worst median ours/package: the open %.2f, the open + first render %.2f\n", worstOpenRatio,
         worstMedianRatio);
  printf("start-up: package reader (Node, LibreDWG compiled, first instance) %.0f ms (%.0f ms until it answered);"
         " our worker, started with the library %lu ms before: first open of %s %.0f ms, %.0f ms more than its"
         " median later open\n",
         peerStartup, peerReady, (unsigned long)kStartUpMs, BaseName(files[0]), first[kOurs],
         first[kOurs] - Median(std::vector<double>(parts[0][kOurs].begin() + 1, parts[0][kOurs].end())));

  Canvas thumbnail(160, 120);
  int context = zrapp::create();
  for (int pass = 1; pass <= kThumbnailPasses; ++pass) {
    double start = Now();
    int drawn = 0;
    for (int i = 0; i < fileCount; ++i) {
      CDrawing* drawing = CDrawing::CreateDrawing(CDRAWING_SERVER_THUMBNAIL);
      if (drawing->open(files[i], nullptr) == 0) {
        drawing->setViewSize(160, 120);
        drawing->zoomExtents(0, 0, 0.98);
        zrapp::draw(context, drawing, thumbnail.dc, 160, 120, 0);
        ++drawn;
      }
      CDrawing::DeleteDrawing(drawing);
    }
    double seconds = Now() - start;
    printf("thumbnails pass %d%s: %d in %.3f s: %.2f a second\n", pass,
           pass == 1 ? " (starts the thumbnail worker)" : "", drawn, seconds, drawn / seconds);
  }
  zrapp::release(context);
  UninitDLL();
  return failures ? 1 : 0;
}
