// DWG files opened through LibreDWG: what the library reads of the real
// drawings in the shared fixtures agrees with what LibreDWG reads of them
// (dwg_reference.mjs), each draws (a screenshot per file, beside its stored
// preview), saves as DXF in the four versions (ezdxf reads them back in
// check_dwg_saved.py) and not as DWG; bad files, a missing reader and
// workers that crash, hang or flood end in a failure status, in bounded
// time; a worker still kept when its program ends ends by itself.
#include "tests/support/gtest.h"

#include <chrono>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/base/unix_path.h"
#include "platform/zrio/child_process.h"
#include "platform/zrio/drawing_state.h"
#include "platform/zrio/dwg_reader.h"
#include "platform/zrio/dwg_worker.h"
#include "platform/zrio/library_globals.h"
#include "tests/support/test_files.h"
#include "tests/zrio/fixtures.h"
#include "tests/zrio/render_support.h"

#include "platform/native/native_begin.h"
#include <json/json.h>
#include <signal.h>
#include "platform/native/native_end.h"

using namespace zriotest;

namespace {

const char* const kEntityNames[] = {
    "LINE", "POINT", "CIRCLE", "ARC", "ELLIPSE", "LWPOLYLINE", "POLYLINE", "SPLINE", "TEXT",
    "MTEXT", "ATTRIB", "ATTDEF", "INSERT", "SOLID", "TRACE", "3DFACE", "HATCH", "DIMENSION",
    "LEADER", "RAY", "XLINE", "VIEWPORT", "ACAD_TABLE"};

std::string DwgPath(const std::string& name) {
  return testfiles::ToWinePath(std::string(ZRIO_DWG_FIXTURES) + "/" + name);
}

std::vector<std::string> DwgNames(const Json::Value& reference) { return reference.getMemberNames(); }

bool ReadReference(Json::Value* reference) {
  return ReadJsonFile(testfiles::ToWinePath(ZRIO_DWG_REFERENCE), reference);
}

// Opened as a thumbnail drawing, as the thumbnail thread opens one file
// after another.
DrawingPtr OpenDwg(const std::string& name, short* status = nullptr) {
  DrawingPtr drawing(CDrawing::CreateDrawing(CDRAWING_SERVER_THUMBNAIL));
  short result = drawing->open(DwgPath(name).c_str(), nullptr);
  if (status) *status = result;
  if (result != 0) drawing.reset();
  return drawing;
}

// Counts by DXF type of the entities of each block.
std::map<std::string, std::map<std::string, int>> OurCounts(const zr::Database& db, int* attributes) {
  std::map<std::string, std::map<std::string, int>> counts;
  for (const zr::Block& block : db.blocks) {
    auto& c = counts[block.name];
    for (const zr::Entity& e : block.entities) {
      bool known = int(e.kind) < int(zr::EntityKind::Unknown);
      ++c[known ? std::string(kEntityNames[int(e.kind)]) : e.extra ? e.extra->typeName : std::string()];
      if (e.extra) *attributes += int(e.extra->children.size());
    }
  }
  return counts;
}

// The table that draws a block, from any block.
const zr::Entity* FindTable(const zr::Database& db, const std::string& blockName) {
  for (const zr::Block& block : db.blocks)
    for (const zr::Entity& e : block.entities)
      if (e.kind == zr::EntityKind::Table && e.text == blockName) return &e;
  return nullptr;
}

std::string ShotPath(const std::string& name) {
  std::string folder = testfiles::ToWinePath(ZRIO_DWG_SHOTS);
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\" + name;
}

class DwgReference : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(ReadReference(&m_reference)) << ZRIO_DWG_REFERENCE; }
  Json::Value m_reference;
};

}  // namespace

TEST_F(DwgReference, EntitiesLayersAndLayoutsAgreeWithLibreDwg) {
  ASSERT_GE(DwgNames(m_reference).size(), 11u);
  for (const std::string& name : DwgNames(m_reference)) {
    SCOPED_TRACE(name);
    const Json::Value& ref = m_reference[name];
    short status = -1;
    DrawingPtr d = OpenDwg(name, &status);
    ASSERT_TRUE(d) << "status " << status;
    const zr::Database& db = *d->state()->db;
    EXPECT_EQ(ref["version"].asString(), db.acadver);
    EXPECT_EQ(zr::VersionCodeOf(db.acadver), d->getVersion());

    // Every layer with its colour, on and frozen state, in order.
    const Json::Value& layers = ref["layers"];
    ASSERT_EQ(int(layers.size()), d->getLayerCount());
    for (int i = 0; i < d->getLayerCount(); ++i) {
      char layerName[256];
      ASSERT_TRUE(d->getLayerName(i, layerName, sizeof(layerName)));
      EXPECT_EQ(layers[i]["name"].asString(), zr::AnsiToUtf8(layerName));
      EXPECT_EQ(layers[i]["color"].asInt(), d->getLayerColor(i));
      EXPECT_EQ(layers[i]["on"].asBool(), d->isLayerOn(i));
      EXPECT_EQ(layers[i]["frozen"].asBool(), d->isLayerFrozen(i));
    }

    // The layouts: model first, then the paper layouts by tab order.
    ASSERT_EQ(int(ref["layouts"].size()), d->getLayoutCount());
    for (int i = 0; i < d->getLayoutCount(); ++i) {
      char layout[256];
      ASSERT_TRUE(d->getLayoutName(i, layout, sizeof(layout)));
      EXPECT_EQ(ref["layouts"][i].asString(), layout);
      EXPECT_GE(db.layouts[size_t(i)].block, 0) << layout;
    }

    // Entities of every kind the library draws, block by block; tables
    // with their blocks, placed where the tables stand.
    int attributes = 0;
    auto ours = OurCounts(db, &attributes);
    EXPECT_EQ(ref["attributes"].asInt(), attributes);
    for (const std::string& block : ref["blocks"].getMemberNames()) {
      SCOPED_TRACE(block);
      ASSERT_TRUE(ours.count(block));
      const Json::Value& theirs = ref["blocks"][block];
      for (const char* type : kEntityNames) {
        std::string source = type;
        if (source == "POLYLINE") continue;  // multilines add polylines
        // LibreDWG gives no data of the tables of drawings of 2010 and later.
        if (source == "ACAD_TABLE") source = "ACAD_TABLE with a block";
        EXPECT_EQ(theirs.get(source, 0).asInt(), ours[block][type]) << type;
      }
      // Kinds kept as read, drawn from their groups.
      for (const char* type : {"WIPEOUT", "TOLERANCE"})
        EXPECT_EQ(theirs.get(type, 0).asInt(), ours[block][type]) << type;
      int polylines = theirs.get("POLYLINE2D", 0).asInt() + theirs.get("POLYLINE3D", 0).asInt();
      EXPECT_LE(polylines, ours[block]["POLYLINE"]);
    }
    for (const Json::Value& table : ref["tables"]) {
      SCOPED_TRACE(table["block"].asString());
      const zr::Entity* drawn = FindTable(db, table["block"].asString());
      ASSERT_TRUE(drawn);
      EXPECT_NEAR(table["at"][0].asDouble(), drawn->pts[0].x, 1e-9);
      EXPECT_NEAR(table["at"][1].asDouble(), drawn->pts[0].y, 1e-9);
    }

    // What is drawn lies within the stored extents (when the file has
    // them), give or take 2% of their span: infinite lines are bounded a
    // little differently. Stored extents may be stale, larger than what
    // the drawing holds now.
    const Json::Value& lo = ref["extents"][0];
    const Json::Value& hi = ref["extents"][1];
    zr::Box3 box = d->state()->layoutExtents();
    if (lo["x"].asDouble() <= hi["x"].asDouble()) {
      double span = std::max(hi["x"].asDouble() - lo["x"].asDouble(), hi["y"].asDouble() - lo["y"].asDouble());
      double slack = 0.02 * span;
      EXPECT_GE(box.lo.x, lo["x"].asDouble() - slack);
      EXPECT_GE(box.lo.y, lo["y"].asDouble() - slack);
      EXPECT_LE(box.hi.x, hi["x"].asDouble() + slack);
      EXPECT_LE(box.hi.y, hi["y"].asDouble() + slack);
    }
  }
}

// One screenshot a file at 800 x 600 on white, with the stored preview
// beside it; the drawing covers a fair part of the picture.
TEST_F(DwgReference, EveryFileDrawsAndLeavesAScreenshot) {
  const int width = 800, height = 600;
  DWG_SetBackgroundColor(RGB(255, 255, 255));
  for (const std::string& name : DwgNames(m_reference)) {
    SCOPED_TRACE(name);
    DrawingPtr d = OpenDwg(name);
    ASSERT_TRUE(d);
    PixelSurface surface(width, height);
    d->setViewSize(width, height);
    d->zoomExtents(0, 0, 0.95);
    d->draw(surface.dc());
    EXPECT_GT(surface.ink(), 200) << "too little is drawn";
    EXPECT_TRUE(surface.WritePng(ShotPath(name + ".png")));

    unsigned char* picture = nullptr;
    long length = 0;
    if (lppp(DwgPath(name).c_str(), &picture, &length)) {
      std::string bytes(reinterpret_cast<char*>(picture), size_t(length));
      ppll(&picture);
      EXPECT_TRUE(testfiles::WriteFileBytes(ShotPath(name + ".preview.bmp"), bytes));
    }
  }
  DWG_SetBackgroundColor(RGB(0, 0, 0));
}

namespace {

// What the library writes to the debug output while one is kept: the
// exception OutputDebugStringA raises for a debugger, seen first.
class DebugOutput {
 public:
  DebugOutput() {
    m_active = this;
    m_handler = AddVectoredExceptionHandler(1, &DebugOutput::Catch);
  }
  ~DebugOutput() {
    RemoveVectoredExceptionHandler(m_handler);
    m_active = nullptr;
  }
  std::string text() {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_text;
  }

 private:
  static const DWORD kDebugPrint = 0x40010006;  // DBG_PRINTEXCEPTION_C

  static LONG CALLBACK Catch(EXCEPTION_POINTERS* pointers) {
    const EXCEPTION_RECORD* r = pointers->ExceptionRecord;
    if (r->ExceptionCode == kDebugPrint && r->NumberParameters >= 2 && m_active) {
      std::lock_guard<std::mutex> hold(m_active->m_lock);
      m_active->m_text += reinterpret_cast<const char*>(r->ExceptionInformation[1]);
    }
    return EXCEPTION_CONTINUE_SEARCH;
  }

  static DebugOutput* m_active;
  PVOID m_handler = nullptr;
  std::mutex m_lock;
  std::string m_text;
};

DebugOutput* DebugOutput::m_active = nullptr;

}  // namespace

// What the DWG worker leaves out goes to the debug output kind by kind:
// the tables of drawings of 2010 and later and the ACIS data of solids and
// regions of 2013 and later, of which LibreDWG gives nothing; a drawing it
// writes whole logs nothing.
TEST(Dwg, WhatTheWorkerLeavesOutIsLoggedByKind) {
  const std::string kLeftOut = "zrio: DWG entities left out (LibreDWG gives no data for them): ";
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"example_2000.dwg", {}},
      {"example_2010.dwg", {"1 ACAD_TABLE"}},
      {"example_2018.dwg", {"1 3DSOLID (its ACIS data)", "1 ACAD_TABLE", "2 REGION (its ACIS data)"}},
  };
  for (const auto& c : cases) {
    DebugOutput log;
    ASSERT_TRUE(OpenDwg(c.first)) << c.first;
    std::vector<std::string> logged;
    std::istringstream lines(log.text());
    for (std::string line; std::getline(lines, line);)
      if (line.compare(0, kLeftOut.size(), kLeftOut) == 0) logged.push_back(line.substr(kLeftOut.size()));
    EXPECT_EQ(c.second, logged) << c.first;
  }
}

// A DWG saves as DXF in the four versions (ezdxf reads them back in
// check_dwg_saved.py), and never as DWG R12 (the DWG versions written are
// the DWG writer's tests').
TEST(Dwg, SavesAsDxfButNotAsDwgR12) {
  std::string folder = testfiles::ToWinePath(ZRIO_DWG_SAVED);
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const char* name : {"example_2000.dwg", "example_2018.dwg", "2004_HatchG.dwg"}) {
    DrawingPtr d = OpenDwg(name);
    ASSERT_TRUE(d) << name;
    std::string stem = std::string(name).substr(0, strlen(name) - 4);
    for (const SaveVersion& v : kSaveVersions) {
      std::string target = folder + "\\" + stem + "_" + v.name + ".dxf";
      EXPECT_TRUE(d->save(target.c_str(), 2, v.code, 0)) << target;
      DrawingPtr again(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
      EXPECT_EQ(0, again->open(target.c_str(), nullptr)) << target;
    }
    std::string dwg = folder + "\\" + stem + "_copy.dwg";
    DeleteFileA(dwg.c_str());
    EXPECT_FALSE(d->save(dwg.c_str(), 1, 5, 0));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(dwg.c_str()));
  }
}

namespace {

// A reader folder whose read_dwg.mjs is the given program (and a stand-in
// for the package's marker file), as a Unix path.
std::string FakeReader(const std::string& program) {
  std::string folder = testfiles::MakeScratchFolder("fake_reader");
  std::string unix;
  EXPECT_TRUE(GetUnixPath(folder.c_str(), &unix));
  EXPECT_TRUE(testfiles::WriteFileBytes(folder + "\\read_dwg.mjs", program));
  std::string marker = folder + "\\node_modules";
  for (const char* part : {"", "\\@mlightcad", "\\libredwg-web"}) {
    marker += part;
    CreateDirectoryA(marker.c_str(), nullptr);
  }
  EXPECT_TRUE(testfiles::WriteFileBytes(marker + "\\package.json", "{}"));
  return unix;
}

// Opens a file (a fixture copy) and returns the status and the seconds it took.
short TimedOpen(const std::string& path, double* seconds) {
  auto start = std::chrono::steady_clock::now();
  DrawingPtr d(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  short status = d->open(path.c_str(), nullptr);
  EXPECT_EQ(status == 0, d->isLoaded());
  *seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return status;
}

// The lines of a text file (none when there is no file).
std::vector<std::string> LinesOf(const std::string& path) {
  std::string text;
  std::vector<std::string> lines;
  if (!testfiles::ReadFileBytes(path, text)) return lines;
  for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
    lines.push_back(text.substr(at, end - at));
  }
  return lines;
}

int g_abortCalls = 0;
char AbortOnThirdCall(void*) { return ++g_abortCalls >= 3; }

}  // namespace

// Files LibreDWG cannot read, in name or in content, fail to open.
TEST(Dwg, DamagedFilesFailToOpen) {
  std::string original;
  ASSERT_TRUE(testfiles::ReadFileBytes(DwgPath("example_2000.dwg"), original));
  std::string folder = testfiles::MakeScratchFolder("dwg_bad");
  const std::pair<const char*, std::string> cases[] = {
      {"truncated.dwg", original.substr(0, 3000)},
      {"header_only.dwg", original.substr(0, 6)},
      {"text.dwg", "AC1015 is not the start of every DWG file\n"},
      {"zeros.dwg", "AC1018" + std::string(70000, '\0')},
  };
  for (const auto& c : cases) {
    std::string path = folder + "\\" + c.first;
    ASSERT_TRUE(testfiles::WriteFileBytes(path, c.second));
    double seconds = 0;
    EXPECT_NE(0, TimedOpen(path, &seconds)) << c.first;
    EXPECT_LT(seconds, 30) << c.first;
  }
}

// A drawing opens by every name Win32 takes for it: a name in GBK, the
// same with its extension in capitals, and its short (8.3) name, each
// giving what the original gives; a DXF file opens by a GBK name too.
TEST(Dwg, OpensByEveryNameWin32Takes) {
  DrawingPtr original = OpenDwg("sample_2000.dwg");
  ASSERT_TRUE(original);
  int attributes = 0;
  auto counts = OurCounts(*original->state()->db, &attributes);
  std::string folder = testfiles::MakeScratchFolder("dwg_names");
  const std::string name = folder + "\\\xCD\xBC\xD6\xBD";  // "图纸"
  ASSERT_TRUE(CopyFileA(DwgPath("sample_2000.dwg").c_str(), (name + ".dwg").c_str(), FALSE));
  char shortName[MAX_PATH] = "";
  ASSERT_GT(GetShortPathNameA((name + ".dwg").c_str(), shortName, MAX_PATH), 0u);
  for (const std::string& path : {name + ".dwg", name + ".DWG", std::string(shortName)}) {
    DrawingPtr d(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
    ASSERT_EQ(0, d->open(path.c_str(), nullptr)) << path;
    EXPECT_EQ(counts, OurCounts(*d->state()->db, &attributes)) << path;
  }
  ASSERT_TRUE(CopyFileA(FixturePath("basic_R2000_asc.dxf").c_str(), (name + ".dxf").c_str(), FALSE));
  DrawingPtr dxf(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  EXPECT_EQ(0, dxf->open((name + ".dxf").c_str(), nullptr));
}

// A DWG whose header's security flags say its data (1) or its summary (2)
// is encrypted asks for a password, and no password opens it.
TEST(Dwg, EncryptedFilesAskForAPassword) {
  std::string folder = testfiles::MakeScratchFolder("dwg_password");
  const size_t kSecurityFlags = 0x18;
  for (const char* name : {"example_2004.dwg", "example_2018.dwg"}) {
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(DwgPath(name), bytes));
    ASSERT_EQ(std::string(4, '\0'), bytes.substr(kSecurityFlags, 4)) << name;
    for (char flag : {'\x01', '\x02'}) {
      bytes[kSecurityFlags] = flag;
      std::string path = folder + "\\locked_" + name;
      ASSERT_TRUE(testfiles::WriteFileBytes(path, bytes));
      for (CDRAWING_SERVER kind : {CDRAWING_SERVER_VIEW, CDRAWING_SERVER_THUMBNAIL}) {
        DrawingPtr drawing(CDrawing::CreateDrawing(kind));
        EXPECT_EQ(CDrawing::kOpenPassword, drawing->open(path.c_str(), nullptr)) << name;
        EXPECT_EQ(CDrawing::kOpenPassword, drawing->open(path.c_str(), "secret")) << name;
        EXPECT_FALSE(drawing->isLoaded());
      }
    }
  }
}

// One worker reads file after file; a file LibreDWG cannot read ends its
// worker, and the files after it read as they would alone; a worker killed
// while it waits is replaced.
TEST(Dwg, OneWorkerReadsFileAfterFile) {
  // The real reader, started through a program that notes each start's process id.
  std::string starts = testfiles::MakeScratchFolder("dwg_starts") + "\\starts.txt";
  std::string startsUnix;
  ASSERT_TRUE(GetUnixPath(starts.c_str(), &startsUnix));
  zr::SetDwgReaderLocation("", FakeReader("import fs from 'node:fs';\n"
                                          "fs.appendFileSync('" + startsUnix + "', process.pid + '\\n');\n"
                                          "await import('file://" ZRIO_DWG_READER "/read_dwg.mjs');\n"));
  DrawingPtr first = OpenDwg("example_2000.dwg");
  ASSERT_TRUE(first);
  for (const char* name : {"sample_2000.dwg", "example_2018.dwg", "example_r14.dwg"}) EXPECT_TRUE(OpenDwg(name)) << name;
  EXPECT_EQ(1u, LinesOf(starts).size());

  std::string damaged = testfiles::MakeScratchFolder("dwg_poison") + "\\damaged.dwg";
  ASSERT_TRUE(testfiles::WriteFileBytes(damaged, "AC1018" + std::string(70000, '\0')));
  DrawingPtr bad(CDrawing::CreateDrawing(CDRAWING_SERVER_THUMBNAIL));
  EXPECT_NE(0, bad->open(damaged.c_str(), nullptr));
  DrawingPtr again = OpenDwg("example_2000.dwg");
  ASSERT_TRUE(again);
  EXPECT_EQ(2u, LinesOf(starts).size());
  const zr::Database& a = *first->state()->db;
  const zr::Database& b = *again->state()->db;
  ASSERT_EQ(a.blocks.size(), b.blocks.size());
  for (size_t i = 0; i < a.blocks.size(); ++i) EXPECT_EQ(a.blocks[i].entities.size(), b.blocks[i].entities.size());
  EXPECT_EQ(first->getLayerCount(), again->getLayerCount());

  ASSERT_EQ(0, kill(pid_t(std::stoi(LinesOf(starts).back())), SIGKILL));
  EXPECT_TRUE(OpenDwg("sample_2018.dwg"));
  EXPECT_EQ(3u, LinesOf(starts).size());
  zr::SetDwgReaderLocation("", "");
}

// Asked through its environment (as the benchmark asks), the worker records
// each read: the file's size and five parts in milliseconds that fit within
// the open.
TEST(Dwg, WorkerRecordsWhereAReadsTimeGoes) {
  std::string record = testfiles::MakeScratchFolder("dwg_stages") + "\\stages.txt";
  std::string recordUnix;
  ASSERT_TRUE(GetUnixPath(record.c_str(), &recordUnix));
  zr::SetDwgReaderLocation("", FakeReader("process.env.HARBECK_DWG_STAGES = '" + recordUnix + "';\n"
                                          "await import('file://" ZRIO_DWG_READER "/read_dwg.mjs');\n"));
  const char* const names[] = {"sample_2000.dwg", "example_2018.dwg"};
  double seconds[2] = {};
  for (int i = 0; i < 2; ++i) ASSERT_EQ(0, TimedOpen(DwgPath(names[i]), &seconds[i])) << names[i];

  // The worker records a read once its answer is sent: it is kept until the
  // record is there, as dropping it could end it before it writes.
  std::vector<std::string> lines = LinesOf(record);
  for (DWORD start = GetTickCount(); lines.size() < 2 && GetTickCount() - start < 10000; lines = LinesOf(record))
    Sleep(20);
  zr::SetDwgReaderLocation("", "");
  ASSERT_EQ(2u, lines.size());
  for (int i = 0; i < 2; ++i) {
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(DwgPath(names[i]), bytes));
    std::istringstream fields(lines[i]);
    size_t size = 0;
    fields >> size;
    EXPECT_EQ(bytes.size(), size) << lines[i];
    double part = 0, sum = 0;
    int parts = 0;
    while (fields >> part) {
      EXPECT_GE(part, 0) << lines[i];
      sum += part;
      ++parts;
    }
    EXPECT_EQ(5, parts) << lines[i];
    EXPECT_LT(sum, seconds[i] * 1000) << lines[i];
  }
}

// Without Node.js or the reader an open fails at once and says so; a worker
// that crashes, hangs or floods is stopped at its bound; the abort query
// ends a read.
TEST(Dwg, WorkerFailuresEndInAFailureStatus) {
  std::string path = DwgPath("sample_2000.dwg");
  double seconds = 0;
  zr::SetDwgReaderLocation("", "/nonexistent/dwg-reader");
  EXPECT_EQ(CDrawing::kOpenUnsupported, TimedOpen(path, &seconds));
  EXPECT_LT(seconds, 1);
  zr::SetDwgReaderLocation("/nonexistent/node", "");
  EXPECT_EQ(CDrawing::kOpenUnsupported, TimedOpen(path, &seconds));

  zr::SetDwgReaderBounds(3000, 1 << 20);
  const std::pair<const char*, const char*> workers[] = {
      {"crashes", "process.kill(process.pid, 'SIGSEGV');\n"},
      {"hangs", "setInterval(() => {}, 1000);\n"},
      {"floods", "import fs from 'node:fs';\nconst b = Buffer.alloc(1 << 16, 80);\n"
                 "for (;;) fs.writeSync(3, b);\n"},
      {"lies about its length", "import fs from 'node:fs';\n"
                                "fs.writeSync(3, Buffer.from([68, 255, 255, 255, 127]));\n"},
      {"answers garbage", "import fs from 'node:fs';\nfs.writeSync(3, 'XYZZY garbage');\n"},
  };
  for (const auto& w : workers) {
    zr::SetDwgReaderLocation("", FakeReader(w.second));
    EXPECT_EQ(CDrawing::kOpenBadData, TimedOpen(path, &seconds)) << w.first;
    EXPECT_LT(seconds, 10) << w.first;
  }
  zr::SetDwgReaderBounds(0, 0);
  zr::SetDwgReaderLocation("", "");

  g_abortCalls = 0;
  DWG_SetFileAboutFunc(AbortOnThirdCall, nullptr);
  EXPECT_EQ(CDrawing::kOpenAborted, TimedOpen(DwgPath("example_2000.dwg"), &seconds));
  EXPECT_LT(seconds, 5);
  DWG_SetFileAboutFunc(nullptr, nullptr);
  EXPECT_EQ(0, TimedOpen(path, &seconds));
}

std::string g_heldFile;
bool g_deletedWhileRead = false;

void DeleteHeldFile(double) { g_deletedWhileRead = g_deletedWhileRead || DeleteFileA(g_heldFile.c_str()); }

// The DWG file is not held open while the worker reads it: another program
// may remove or replace it meanwhile.
TEST(Dwg, FileIsFreeWhileItsDrawingIsRead) {
  g_heldFile = testfiles::MakeScratchFolder("dwg_held") + "\\held.dwg";
  ASSERT_TRUE(CopyFileA(DwgPath("sample_2000.dwg").c_str(), g_heldFile.c_str(), FALSE));
  // A worker that takes the request, reports progress, then fails.
  zr::SetDwgReaderLocation("", FakeReader("import fs from 'node:fs';\n"
                                          "for await (const chunk of process.stdin) break;\n"
                                          "fs.writeSync(3, Buffer.from([80, 1, 0, 0, 0, 10]));\n"
                                          "fs.writeSync(3, Buffer.from([69, 4, 0, 0, 0, 0, 0, 0, 0]));\n"));
  DWG_SetProgressCallBackFuns(nullptr, DeleteHeldFile, nullptr);
  double seconds = 0;
  EXPECT_EQ(CDrawing::kOpenBadData, TimedOpen(g_heldFile, &seconds));
  DWG_SetProgressCallBackFuns(nullptr, nullptr, nullptr);
  zr::SetDwgReaderLocation("", "");
  EXPECT_TRUE(g_deletedWhileRead);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(g_heldFile.c_str()));
}

// A request of many pieces, larger than the child's input holds, reaches
// the child whole and in order while its echo, larger than the answer pipe
// holds, comes back; the child serves a second request after it.
TEST(Dwg, ChildTakesARequestOfManyPiecesWhole) {
  std::string script = FakeReader("import fs from 'node:fs';\n"
                                  "for await (const chunk of process.stdin) fs.writeSync(3, chunk);\n");
  zr::ChildProcess child;
  ASSERT_TRUE(child.Start({"node", script + "/read_dwg.mjs"}));
  for (int round = 0; round < 2; ++round) {
    std::vector<std::string> pieces;
    for (int i = 0; i < 40; ++i) pieces.push_back(std::string(i % 7 == 3 ? 0 : (i * 7919 % 5) << 18 | i, char(i * 37 + round)));
    std::string sent;
    std::vector<zr::ChildProcess::Bytes> input;
    for (const std::string& p : pieces) {
      input.push_back({p.data(), p.size()});
      sent += p;
    }
    std::string echo;
    auto take = [&](const char* bytes, size_t n) {
      echo.append(bytes, n);
      return echo.size() < sent.size() ? zr::ChildProcess::Take::More : zr::ChildProcess::Take::Done;
    };
    ASSERT_EQ(zr::ChildProcess::Outcome::Done, child.Exchange(input, 60000, nullptr, take)) << round;
    EXPECT_GT(sent.size(), size_t(8) << 20);
    EXPECT_TRUE(echo == sent) << round << ": " << echo.size() << " of " << sent.size() << " bytes";
  }
}

// Names the reader for the program the next test starts.
const char kEndingProgramReader[] = "HARBECK_TEST_ENDING_PROGRAM_READER";

// The program the next test starts: it opens a drawing, so that its worker
// is kept, and ends without uninitialising the library.
TEST(Dwg, ProgramEndingWithAWorkerKept) {
  char reader[1024];
  DWORD length = GetEnvironmentVariableA(kEndingProgramReader, reader, sizeof reader);
  if (length == 0 || length >= sizeof reader) GTEST_SKIP() << "started by Dwg.KeptWorkerEndsWithItsProgram";
  zr::SetDwgReaderLocation("", reader);
  ExitProcess(OpenDwg("example_2000.dwg") ? 0 : 2);
}

// A program that ends while a worker is kept ends with its own exit code,
// without killing the worker and waiting for it: the worker ends by itself,
// its input closed.
TEST(Dwg, KeptWorkerEndsWithItsProgram) {
  std::string folder = testfiles::MakeScratchFolder("dwg_program_end");
  std::string starts = folder + "\\starts.txt", exits = folder + "\\exits.txt";
  std::string startsUnix, exitsUnix;
  ASSERT_TRUE(GetUnixPath(starts.c_str(), &startsUnix));
  ASSERT_TRUE(GetUnixPath(exits.c_str(), &exitsUnix));
  std::string reader = FakeReader("import fs from 'node:fs';\n"
                                  "fs.appendFileSync('" + startsUnix + "', process.pid + '\\n');\n"
                                  "process.on('exit', () => fs.appendFileSync('" + exitsUnix + "', process.pid + '\\n'));\n"
                                  "await import('file://" ZRIO_DWG_READER "/read_dwg.mjs');\n");
  // The module itself (the .exe beside it is a Unix script Wine would start
  // without a process handle).
  char program[MAX_PATH];
  ASSERT_NE(0u, GetModuleFileNameA(nullptr, program, sizeof program));
  std::string commandLine = std::string("\"") + program + ".so\" --gtest_filter=Dwg.ProgramEndingWithAWorkerKept --gtest_brief=1";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  SetEnvironmentVariableA(kEndingProgramReader, reader.c_str());
  BOOL started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
  SetEnvironmentVariableA(kEndingProgramReader, nullptr);
  ASSERT_TRUE(started);
  bool ended = WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(process.hProcess, 1);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  ASSERT_TRUE(ended);
  EXPECT_EQ(0u, exitCode);

  std::vector<std::string> workers = LinesOf(starts);
  ASSERT_EQ(1u, workers.size());
  for (int waited = 0; waited < 10000 && LinesOf(exits).empty(); waited += 100) Sleep(100);
  EXPECT_EQ(workers, LinesOf(exits));
}
