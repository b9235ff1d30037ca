// External references: the drawings make_xref_drawings.py writes refer to
// others by absolute and relative paths, by names found in the search
// folders, nested, in cycles and as overlays; what each host loads shows in
// its layer table ("xref|layer") and its extents. The pictures are compared
// with ezdxf's drawing of a bound copy in ink_test.cpp. Images inside
// references are drawn through the program's own decoder.
#include "tests/support/gtest.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "graphics/drawing_image_decoder.h"
#include "platform/zrio/zrio.h"
#include "tests/support/test_files.h"
#include "tests/zrio/fixtures.h"
#include "tests/zrio/render_support.h"

using namespace zriotest;

namespace {

using Names = std::vector<std::string>;

std::string XrefPath(const std::string& name) {
  return testfiles::ToWinePath(std::string(ZRIO_XREF_DRAWINGS) + "/" + name);
}

DrawingPtr OpenXrefDrawing(const std::string& name) {
  DrawingPtr drawing(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  EXPECT_EQ(0, drawing->open(XrefPath(name).c_str(), nullptr)) << name;
  return drawing;
}

Names LayerNames(CDrawing& drawing) {
  Names names;
  for (int i = 0; i < drawing.getLayerCount(); ++i) {
    char name[256] = "";
    drawing.getLayerName(i, name, sizeof name);
    names.push_back(name);
  }
  return names;
}

// The layers of external references (named "xref|layer"), sorted.
Names XrefLayers(CDrawing& drawing) {
  Names found;
  for (const std::string& name : LayerNames(drawing))
    if (name.find('|') != std::string::npos) found.push_back(name);
  std::sort(found.begin(), found.end());
  return found;
}

int LayerIndex(CDrawing& drawing, const std::string& name) {
  Names names = LayerNames(drawing);
  return int(std::find(names.begin(), names.end(), name) - names.begin());
}

struct Extents {
  double lowX, lowY, highX, highY;
};

Extents ExtentsOf(CDrawing& drawing) {
  double low[3] = {}, high[3] = {};
  EXPECT_TRUE(drawing.getExtentCorners(low, high, nullptr, nullptr));
  return {low[0], low[1], high[0], high[1]};
}

void ExpectExtents(CDrawing& drawing, const Extents& expected) {
  Extents e = ExtentsOf(drawing);
  EXPECT_NEAR(expected.lowX, e.lowX, 0.01);
  EXPECT_NEAR(expected.lowY, e.lowY, 0.01);
  EXPECT_NEAR(expected.highX, e.highX, 0.01);
  EXPECT_NEAR(expected.highY, e.highY, 0.01);
}

bool CopyXrefFile(const std::string& from, const std::string& to) {
  return CopyFileA(XrefPath(from).c_str(), XrefPath(to).c_str(), FALSE) != 0;
}

// The files decoded, by upper-case path, and how often.
std::map<std::string, int> g_decoded;

HBITMAP CountingDecoder(const char* path) {
  std::string upper = path;
  CharUpperA(&upper[0]);
  ++g_decoded[upper];
  return DecodeDrawingImage(path);
}

}  // namespace

// The part's layers join the host's named after the xref, with the part's
// colours and states; its layer "0" is the host's own.
TEST(Xrefs, FoundAtTheStoredAbsolutePathWithTheirLayers) {
  DrawingPtr host = OpenXrefDrawing("transform_host.dxf");
  EXPECT_EQ(Names({"PART|DOORS", "PART|HIDDEN", "PART|WALLS"}), XrefLayers(*host));
  Names layers = LayerNames(*host);
  EXPECT_EQ(1, std::count(layers.begin(), layers.end(), "0"));
  int walls = LayerIndex(*host, "PART|WALLS");
  EXPECT_EQ(1, host->getLayerColor(walls));
  EXPECT_TRUE(host->isLayerOn(walls));
  EXPECT_FALSE(host->isLayerOn(LayerIndex(*host, "PART|HIDDEN")));
  EXPECT_STREQ("", host->getLoadProblems());
  // Layers turned off hide their parts of the reference; its layer "0"
  // entities are on the inserts' layer.
  host->setLayerOn(walls, false);
  host->setLayerOn(LayerIndex(*host, "PART|DOORS"), false);
  host->setLayerOn(LayerIndex(*host, "0"), false);
  ExpectExtents(*host, {-20, -20, 150, -20});
}

// Each host, the layers of the references it loads, and the extents of what
// it draws (the host's own line runs from (0, -20) to (10, -20)).
TEST(Xrefs, RelativeNestedCyclicAndOverlaidReferences) {
  struct Case {
    const char* host;
    Names layers;
    Extents extents;
  };
  const Case cases[] = {
      // By the relative path, and by the name beside the host; the part's
      // base point (5, 5) goes to the insertion point.
      {"relative_host.dxf", {"NEAR|BESIDE", "REL|DOORS", "REL|HIDDEN", "REL|WALLS"}, {-5, -20, 35, 40}},
      // The host places A at (100, 0), A places B at (50, 0), and B's
      // circle of radius 10 stands at B's origin.
      {"nested_host.dxf", {"A|LA", "B|LB"}, {0, -20, 160, 10}},
      // A drawing met again in its own chain of references loads once.
      {"cycle_a.dxf", {"CB|CYCLE_B"}, {0, 0, 10, 10}},
      {"self.dxf", {}, {0, 0, 10, 0}},
      // The host's overlay shows, an overlay inside its attachment does not.
      {"overlay_host.dxf", {"OA|LA", "OC|LC"}, {0, -20, 10, 30}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.host);
    DrawingPtr drawing = OpenXrefDrawing(c.host);
    EXPECT_EQ(c.layers, XrefLayers(*drawing));
    ExpectExtents(*drawing, c.extents);
    EXPECT_STREQ("", drawing->getLoadProblems());
  }
}

// The user's folders (the search-path dialog's) and the host CAD program's
// support folders both serve; references found nowhere, or unreadable, draw
// nothing and are named, and the rest of the drawing opens.
TEST(Xrefs, SearchFoldersAndMissingReferences) {
  DrawingPtr host = OpenXrefDrawing("search_host.dxf");
  EXPECT_EQ(Names(), XrefLayers(*host));
  std::string problems = host->getLoadProblems();
  EXPECT_NE(std::string::npos, problems.find("USER")) << problems;
  EXPECT_NE(std::string::npos, problems.find("SUPPORT")) << problems;
  DWG_SetUserSearchDirectories(("C:\\no such folder; " + XrefPath("user_folder")).c_str());
  DWG_SetSearchDirectories(XrefPath("support_folder").c_str());
  host = OpenXrefDrawing("search_host.dxf");
  DWG_SetUserSearchDirectories("");
  DWG_SetSearchDirectories("");
  EXPECT_EQ(Names({"SUPPORT|SUPPORTS", "USER|USERS"}), XrefLayers(*host));
  EXPECT_STREQ("", host->getLoadProblems());

  host = OpenXrefDrawing("missing_host.dxf");
  problems = host->getLoadProblems();
  EXPECT_NE(std::string::npos, problems.find("GONE")) << problems;
  EXPECT_NE(std::string::npos, problems.find("BROKEN")) << problems;
  EXPECT_EQ(std::string::npos, problems.find("REL")) << problems;
  EXPECT_EQ(Names({"REL|DOORS", "REL|HIDDEN", "REL|WALLS"}), XrefLayers(*host));
}

// Each open reads the referenced file as it is then.
TEST(Xrefs, EachOpenReadsTheFileAgain) {
  ASSERT_TRUE(CopyXrefFile("changing_one.dxf", "changing.dxf"));
  DrawingPtr host = OpenXrefDrawing("changing_host.dxf");
  ExpectExtents(*host, {0, -20, 10, 0});
  ASSERT_TRUE(CopyXrefFile("changing_two.dxf", "changing.dxf"));
  EXPECT_EQ(0, host->open(XrefPath("changing_host.dxf").c_str(), nullptr));
  EXPECT_EQ(Names({"CH|TWO"}), XrefLayers(*host));
  ExpectExtents(*host, {0, -20, 10, 10});
  DeleteFileA(XrefPath("changing.dxf").c_str());
  EXPECT_EQ(0, host->open(XrefPath("changing_host.dxf").c_str(), nullptr));
  EXPECT_EQ(Names(), XrefLayers(*host));
}

// A save writes the references as references: the part's layers and
// entities stay in the part, and the copy loads it again.
TEST(Xrefs, SavedDrawingsKeepTheReferences) {
  DrawingPtr host = OpenXrefDrawing("transform_host.dxf");
  Names layers = LayerNames(*host);
  ASSERT_TRUE(host->save(XrefPath("saved_host.dxf").c_str(), 2, 8, 0)) << host->getSaveError();
  ASSERT_TRUE(host->save(XrefPath("saved_host.dwg").c_str(), 1, 8, 0)) << host->getSaveError();
  EXPECT_EQ(layers, LayerNames(*host));
  std::string text;
  ASSERT_TRUE(testfiles::ReadFileBytes(XrefPath("saved_host.dxf"), text));
  EXPECT_EQ(std::string::npos, text.find("PART|"));
  EXPECT_NE(std::string::npos, text.find("parts\\part.dxf"));
  DrawingPtr again = OpenXrefDrawing("saved_host.dxf");
  EXPECT_EQ(Names({"PART|DOORS", "PART|HIDDEN", "PART|WALLS"}), XrefLayers(*again));
  EXPECT_NEAR(ExtentsOf(*host).highY, ExtentsOf(*again).highY, 0.01);
}

// A DWG host finds its references as a DXF one does.
TEST(Xrefs, DwgDrawingsLoadTheirReferences) {
  DrawingPtr host = OpenXrefDrawing("transform_host.dxf");
  ASSERT_TRUE(host->save(XrefPath("saved_host.dwg").c_str(), 1, 8, 0)) << host->getSaveError();
  DrawingPtr again = OpenXrefDrawing("saved_host.dwg");
  EXPECT_EQ(Names({"PART|DOORS", "PART|HIDDEN", "PART|WALLS"}), XrefLayers(*again));
}

// Each image of a reference is looked for beside the drawing it belongs to,
// then beside the host, then in the search folders: the part's logo.png is
// its own (red), not the host's (lime) or the other reference's (blue). The
// part is met through three references and each of its files decoded once.
TEST(Xrefs, ImagesAreFoundBesideTheDrawingsTheyBelongTo) {
  g_decoded.clear();
  DWG_SetImageDecoder(CountingDecoder);
  DWG_SetUserSearchDirectories(XrefPath("img_search").c_str());
  DWG_SetBackgroundColor(RGB(255, 255, 255));
  const int size = 300;
  PixelSurface surface(size, size);
  DrawingPtr host = OpenXrefDrawing("img_host.dxf");
  EXPECT_STREQ("", host->getLoadProblems());
  host->setViewSize(size, size);
  host->zoomExtents(0, 0, 0.95);
  host->draw(surface.dc());
  host->draw(surface.dc());
  DWG_SetUserSearchDirectories("");
  DWG_SetImageDecoder(nullptr);
  DWG_SetBackgroundColor(RGB(0, 0, 0));

  double origin[3], right[3], up[3];
  host->clientToDrawing(0, 0, origin);
  host->clientToDrawing(1, 0, right);
  host->clientToDrawing(0, 1, up);
  const COLORREF kRed = RGB(255, 0, 0), kCyan = RGB(0, 255, 255);
  const struct {
    double x, y;  // an image's centre in the host
    COLORREF color;
  } probes[] = {
      {5, 5, RGB(0, 255, 0)}, {25, 5, kRed},   {45, 5, kRed},   {65, 65, kRed},
      {25, 25, kCyan},        {45, 25, kCyan}, {65, 85, kCyan}, {25, 45, RGB(255, 0, 255)},
      {65, 5, RGB(0, 0, 255)}};
  for (const auto& p : probes) {
    int column = int(std::lround((p.x - origin[0]) / (right[0] - origin[0])));
    int row = size - int(std::lround((p.y - origin[1]) / (up[1] - origin[1])));
    EXPECT_EQ(p.color, surface.at(column, row)) << "image at " << p.x << ", " << p.y;
  }
  std::map<std::string, int> once;
  for (const char* file : {"logo.png", "host_only.png", "img_a\\logo.png", "img_b\\logo.png",
                           "img_search\\searched.png"}) {
    std::string path = XrefPath(file);
    CharUpperA(&path[0]);
    once[path] = 1;
  }
  EXPECT_EQ(once, g_decoded);
}
