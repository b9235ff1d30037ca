// Loading: the abort queries (view and thumbnail drawings apart), progress
// callbacks, both called on the opening thread while worker threads parse,
// and two drawings loading on two threads at once.
#include "tests/support/gtest.h"

#include <tlhelp32.h>

#include <atomic>
#include <vector>

#include "tests/support/test_files.h"
#include "tests/zrio/fixtures.h"
#include "tests/zrio/render_support.h"

using namespace zriotest;

namespace {

// A DXF of `count` lines, big enough for many progress steps.
std::string ManyLines(int count) {
  std::string text = "  0\nSECTION\n  2\nENTITIES\n";
  char buffer[160];
  for (int i = 0; i < count; ++i) {
    snprintf(buffer, sizeof(buffer), "  0\nLINE\n  8\n0\n 10\n%d.0\n 20\n0.0\n 11\n%d.5\n 21\n10.0\n", i, i);
    text += buffer;
  }
  return text + "  0\nENDSEC\n  0\nEOF\n";
}

std::atomic<int> g_abortCalls(0);
char AbortAlways(void*) {
  ++g_abortCalls;
  return 1;
}

std::vector<double> g_progress;
int g_begins = 0, g_ends = 0;
void OnBegin(int) { ++g_begins; }
void OnProgress(double percent) { g_progress.push_back(percent); }
void OnEnd() { ++g_ends; }

// The threads of this process.
int ThreadCount() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  int count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    count += entry.th32OwnerProcessID == GetCurrentProcessId();
  CloseHandle(snapshot);
  return count;
}

// Records the threads it is called on; stops the load at the 30th call.
std::vector<DWORD> g_callingThreads;
char AbortLater(void*) {
  g_callingThreads.push_back(GetCurrentThreadId());
  return g_callingThreads.size() >= 30;
}
void RecordProgress(double) { g_callingThreads.push_back(GetCurrentThreadId()); }

}  // namespace

TEST(Load, AbortQueryAbandonsTheLoad) {
  std::string path = SavedPath("many_lines.dxf");
  ASSERT_TRUE(testfiles::WriteFileBytes(path, ManyLines(20000)));
  DWG_SetFileAboutFunc(AbortAlways, nullptr);
  DrawingPtr view(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  EXPECT_EQ(CDrawing::kOpenAborted, view->open(path.c_str(), nullptr));
  EXPECT_FALSE(view->isLoaded());
  EXPECT_GT(g_abortCalls.load(), 0);
  // The thumbnail thread's drawings ask the second query only.
  DrawingPtr thumb(CDrawing::CreateDrawing(CDRAWING_SERVER_THUMBNAIL));
  EXPECT_EQ(CDrawing::kOpened, thumb->open(path.c_str(), nullptr));
  DWG_SetFileAboutFunc(nullptr, nullptr);
  DWG_SetFileAboutFunc_2(AbortAlways, nullptr);
  EXPECT_EQ(CDrawing::kOpenAborted, thumb->open(path.c_str(), nullptr));
  EXPECT_EQ(CDrawing::kOpened, view->open(path.c_str(), nullptr));
  DWG_SetFileAboutFunc_2(nullptr, nullptr);
}

TEST(Load, ProgressRunsFromBeginToEnd) {
  std::string path = SavedPath("many_lines.dxf");
  ASSERT_TRUE(testfiles::WriteFileBytes(path, ManyLines(20000)));
  DWG_SetProgressCallBackFuns(OnBegin, OnProgress, OnEnd);
  DrawingPtr view(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  EXPECT_EQ(0, view->open(path.c_str(), nullptr));
  DWG_SetProgressCallBackFuns(nullptr, nullptr, nullptr);
  EXPECT_EQ(1, g_begins);
  EXPECT_EQ(1, g_ends);
  ASSERT_GT(g_progress.size(), 10u);
  for (size_t i = 1; i < g_progress.size(); ++i) EXPECT_GT(g_progress[i], g_progress[i - 1]);
  EXPECT_LE(g_progress.back(), 100.0);
  // Removed callbacks are not called.
  EXPECT_EQ(0, view->open(path.c_str(), nullptr));
  EXPECT_EQ(1, g_begins);
}

TEST(Load, CallbacksRunOnTheOpeningThreadAndAStopEndsTheWorkers) {
  std::string path = SavedPath("many_lines_3.dxf");
  ASSERT_TRUE(testfiles::WriteFileBytes(path, ManyLines(60000)));
  int threads = ThreadCount();
  ASSERT_GE(threads, 1);
  DWG_SetProgressCallBackFuns(OnBegin, RecordProgress, OnEnd);
  DrawingPtr view(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  EXPECT_EQ(0, view->open(path.c_str(), nullptr));
  DWG_SetFileAboutFunc(AbortLater, nullptr);
  EXPECT_EQ(CDrawing::kOpenAborted, view->open(path.c_str(), nullptr));
  DWG_SetFileAboutFunc(nullptr, nullptr);
  DWG_SetProgressCallBackFuns(nullptr, nullptr, nullptr);
  EXPECT_GE(g_callingThreads.size(), 30u);
  for (DWORD thread : g_callingThreads) EXPECT_EQ(GetCurrentThreadId(), thread);
  EXPECT_EQ(threads, ThreadCount());
}

TEST(Load, TwoDrawingsOnTwoThreads) {
  std::string path = SavedPath("many_lines_2.dxf");
  ASSERT_TRUE(testfiles::WriteFileBytes(path, ManyLines(20000)));
  short first = -1, second = -1;
  Win32Thread a([&]() {
    DrawingPtr d(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
    for (int i = 0; i < 3 && first <= 0; ++i) first = d->open(path.c_str(), nullptr);
  });
  Win32Thread b([&]() {
    DrawingPtr d(CDrawing::CreateDrawing(CDRAWING_SERVER_THUMBNAIL));
    for (int i = 0; i < 3 && second <= 0; ++i) second = d->open(FixturePath("basic_R2013_bin.dxf").c_str(), nullptr);
  });
  ASSERT_TRUE(a.join());
  ASSERT_TRUE(b.join());
  EXPECT_EQ(0, first);
  EXPECT_EQ(0, second);
}
