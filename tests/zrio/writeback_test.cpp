// Saving writes back what the file held beyond the drawing: every handle is
// defined once, every reference names a record that is written, a save of
// a save gives the same groups, and layer changes are saved from the
// drawing. check_kept.py reads the saved files with ezdxf.
#include "tests/support/gtest.h"

#include <stdio.h>
#include <stdlib.h>

#include <set>
#include <string>
#include <vector>

#include "platform/zrio/drawing_state.h"
#include "tests/support/test_files.h"
#include "tests/zrio/fixtures.h"

using namespace zriotest;

namespace {

struct Group {
  int code;
  std::string value;
};

std::vector<Group> ReadGroups(const std::string& path) {
  std::string text;
  std::vector<Group> groups;
  if (!testfiles::ReadFileBytes(path, text)) return groups;
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    at = end + 1;
  }
  for (size_t i = 0; i + 1 < lines.size(); i += 2) groups.push_back({atoi(lines[i].c_str()), lines[i + 1]});
  return groups;
}

bool IsReference(int code) {
  return (code >= 320 && code <= 369) || (code >= 390 && code <= 399) || code == 480 || code == 481;
}

struct HandleReport {
  std::vector<std::string> twice, dangling;
  uint64_t largest = 0, seed = 0;
  size_t defined = 0;
};

// Each record defines the handle of its first 5 group (105 in a DIMSTYLE)
// before its first subclass marker.
HandleReport CheckHandles(const std::vector<Group>& groups) {
  HandleReport report;
  std::set<std::string> defined;
  std::vector<std::string> references;
  std::string section, type, variable;
  bool own = false;
  for (size_t i = 0; i < groups.size(); ++i) {
    const Group& g = groups[i];
    if (g.code == 0) {
      type = g.value;
      own = true;
      if (type == "SECTION" && i + 1 < groups.size()) section = groups[i + 1].value;
      continue;
    }
    if (g.code == 9) variable = g.value;
    if (section == "HEADER") {
      if (variable == "$HANDSEED" && g.code == 5) report.seed = strtoull(g.value.c_str(), nullptr, 16);
      else if (IsReference(g.code) && g.value != "0") references.push_back(g.value);
      continue;
    }
    if (g.code == 100) own = false;
    if (own && (g.code == 5 || (g.code == 105 && type == "DIMSTYLE"))) {
      own = false;
      if (!defined.insert(g.value).second) report.twice.push_back(type + " " + g.value);
      report.largest = std::max<uint64_t>(report.largest, strtoull(g.value.c_str(), nullptr, 16));
    } else if (IsReference(g.code) && g.value != "0") {
      references.push_back(g.value);
    }
  }
  for (const std::string& r : references)
    if (!defined.count(r)) report.dangling.push_back(r);
  report.defined = defined.size();
  return report;
}

// Opens a drawing written from text into the saved folder.
DrawingPtr OpenText(const std::string& name, const std::string& text) {
  std::string path = SavedPath(name);
  DrawingPtr drawing(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  if (!testfiles::WriteFileBytes(path, text) || drawing->open(path.c_str(), nullptr) != 0) drawing.reset();
  return drawing;
}

void ExpectSoundHandles(const std::string& path) {
  HandleReport report = CheckHandles(ReadGroups(path));
  EXPECT_GT(report.defined, 10u);
  EXPECT_TRUE(report.twice.empty()) << "defined twice: " << report.twice[0];
  EXPECT_TRUE(report.dangling.empty()) << "dangling: " << report.dangling[0];
  EXPECT_GT(report.seed, report.largest);
}

// The groups of two saves match but for the handle seed.
void ExpectSameGroups(const std::string& first, const std::string& second) {
  std::vector<Group> a = ReadGroups(first), b = ReadGroups(second);
  ASSERT_EQ(a.size(), b.size());
  std::string type, variable;
  int differences = 0;
  for (size_t i = 0; i < a.size() && differences < 3; ++i) {
    if (a[i].code == 0) type = a[i].value;
    if (a[i].code == 9) variable = a[i].value;
    bool renumbered = a[i].code == 5 && variable == "$HANDSEED";
    if (a[i].code == b[i].code && (a[i].value == b[i].value || renumbered)) continue;
    ADD_FAILURE() << "group " << i << " in " << type << ": " << a[i].code << " " << a[i].value
                  << " then " << b[i].code << " " << b[i].value;
    ++differences;
  }
}

}  // namespace

TEST(DxfWriteBack, HandlesAreKeptUniqueAndResolvedAndASaveOfASaveIsStable) {
  for (const char* source : {"kept_R2018", "kept_R2000", "kept_R12", "basic_R2018_bin", "viewport"}) {
    DrawingPtr original = OpenFixture(std::string(source) + ".dxf");
    ASSERT_TRUE(original) << source;
    for (const auto& v : kSaveVersions) {
      SCOPED_TRACE(std::string(source) + " as " + v.name);
      std::string name = std::string("keptsave_") + source + "_" + v.name;
      std::string path = SavedPath(name + ".dxf");
      ASSERT_TRUE(original->save(path.c_str(), 2, v.code, 0));
      if (v.code != 5) ExpectSoundHandles(path);
      DrawingPtr again(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
      ASSERT_EQ(0, again->open(path.c_str(), nullptr));
      std::string second = SavedPath(name + "_again.dxf");
      ASSERT_TRUE(again->save(second.c_str(), 2, v.code, 0));
      ExpectSameGroups(path, second);
    }
  }
}

TEST(DxfWriteBack, EntityAndObjectHandlesOfTheFileAreKept) {
  DrawingPtr original = OpenFixture("kept_R2000.dxf");
  ASSERT_TRUE(original);
  std::string path = SavedPath("keptsave_handles_2000.dxf");
  ASSERT_TRUE(original->save(path.c_str(), 2, 8, 0));
  std::vector<Group> source = ReadGroups(FixturePath("kept_R2000.dxf"));
  std::vector<Group> saved = ReadGroups(path);
  // Every record of these kinds keeps its handle.
  std::set<std::string> kinds = {"LINE", "CIRCLE", "GROUP", "XRECORD", "STYLE", "DIMSTYLE",
                                 "LAYOUT", "BLOCK_RECORD", "BLOCK", "ENDBLK", "VIEW", "UCS"};
  auto handles = [&](const std::vector<Group>& groups) {
    std::set<std::string> found;
    for (size_t i = 0; i + 1 < groups.size(); ++i)
      if (groups[i].code == 0 && kinds.count(groups[i].value) &&
          (groups[i + 1].code == 5 || groups[i + 1].code == 105))
        found.insert(groups[i].value + " " + groups[i + 1].value);
    return found;
  };
  std::set<std::string> before = handles(source), after = handles(saved);
  EXPECT_GT(before.size(), 15u);
  for (const std::string& h : before) EXPECT_TRUE(after.count(h)) << h;
}

// A file whose handles collide and whose references lead nowhere still
// saves with every handle defined once and no dangling reference.
TEST(DxfWriteBack, DamagedHandlesAreMendedOnSave) {
  const char* text =
      "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$HANDSEED\n5\n10\n0\nENDSEC\n"
      "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n5\n2\n330\n0\n100\nAcDbSymbolTable\n70\n1\n"
      "0\nLAYER\n5\n20\n330\n2\n100\nAcDbSymbolTableRecord\n100\nAcDbLayerTableRecord\n2\n0\n"
      "70\n0\n62\n7\n6\nCONTINUOUS\n390\n77\n0\nENDTAB\n0\nENDSEC\n"
      "0\nSECTION\n2\nENTITIES\n"
      "0\nLINE\n5\n20\n102\n{ACAD_XDICTIONARY\n360\n99\n102\n}\n330\n1F\n100\nAcDbEntity\n8\n0\n"
      "100\nAcDbLine\n10\n0\n20\n0\n30\n0\n11\n5\n21\n5\n31\n0\n"
      "0\nCIRCLE\n5\n21\n330\n1F\n100\nAcDbEntity\n8\n0\n100\nAcDbCircle\n10\n0\n20\n0\n30\n0\n40\n2\n"
      "0\nCIRCLE\n5\n21\n102\n{ACAD_REACTORS\n330\n20\n102\n}\n330\n1F\n100\nAcDbEntity\n8\n0\n"
      "100\nAcDbCircle\n10\n0\n20\n0\n30\n0\n40\n3\n0\nENDSEC\n"
      "0\nSECTION\n2\nOBJECTS\n0\nDICTIONARY\n5\nC\n330\n0\n100\nAcDbDictionary\n3\nGONE\n350\n55\n"
      "3\nMINE\n350\n21\n0\nXRECORD\n5\n21\n330\nC\n100\nAcDbXrecord\n340\n66\n1\nkept\n"
      "0\nENDSEC\n0\nEOF\n";
  DrawingPtr drawing = OpenText("damaged_handles.dxf", text);
  ASSERT_TRUE(drawing);
  for (const auto& v : kSaveVersions) {
    if (v.code == 5) continue;
    SCOPED_TRACE(v.name);
    std::string path = SavedPath(std::string("keptsave_damaged_") + v.name + ".dxf");
    ASSERT_TRUE(drawing->save(path.c_str(), 2, v.code, 0));
    ExpectSoundHandles(path);
    std::vector<Group> groups = ReadGroups(path);
    bool keptRecord = false, reactor = false;
    for (size_t i = 0; i + 1 < groups.size(); ++i) {
      keptRecord = keptRecord || (groups[i].code == 1 && groups[i].value == "kept");
      reactor = reactor || (groups[i].code == 102 && groups[i].value == "{ACAD_REACTORS");
    }
    EXPECT_TRUE(keptRecord);
    EXPECT_TRUE(reactor);
  }
}

TEST(DxfWriteBack, LayerChangesAreSavedFromTheDrawing) {
  DrawingPtr original = OpenFixture("basic_R2018_asc.dxf");
  ASSERT_TRUE(original);
  int walls = -1, doors = -1, hidden = -1;
  for (int i = 0; i < original->getLayerCount(); ++i) {
    char name[64] = "";
    ASSERT_TRUE(original->getLayerName(i, name, sizeof(name)));
    std::string n(name);
    if (n == "WALLS") walls = i;
    if (n == "DOORS") doors = i;
    if (n == "HIDDEN") hidden = i;
  }
  ASSERT_GE(walls, 0);
  ASSERT_GE(doors, 0);
  ASSERT_GE(hidden, 0);
  original->setLayerOn(walls, false);
  original->setLayerFrozen(doors, true);
  original->setLayerOn(hidden, true);
  for (const auto& v : kSaveVersions) {
    SCOPED_TRACE(v.name);
    DrawingPtr again = SaveAndReopen(*original, v, std::string("keptsave_layers_") + v.name + ".dxf");
    ASSERT_TRUE(again);
    EXPECT_FALSE(again->isLayerOn(walls));
    EXPECT_TRUE(again->isLayerFrozen(doors));
    EXPECT_TRUE(again->isLayerOn(hidden));
    EXPECT_FALSE(again->isLayerFrozen(walls));
  }
}

// Kept text in the file's code page comes back as the same characters.
TEST(DxfWriteBack, KeptTextKeepsItsCharacters) {
  const char* text =
      "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$DWGCODEPAGE\n3\nANSI_936\n"
      "9\n$PROJECTNAME\n1\n\xB9\xA4\xB3\xCC\n0\nENDSEC\n"
      "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nVIEW\n5\n7\n330\n0\n100\nAcDbSymbolTable\n70\n1\n"
      "0\nVIEW\n5\n31\n330\n7\n100\nAcDbSymbolTableRecord\n100\nAcDbViewTableRecord\n"
      "2\n\xCA\xD3\xCD\xBC\n70\n0\n40\n40.0\n0\nENDTAB\n0\nENDSEC\n"
      "0\nSECTION\n2\nENTITIES\n0\nLINE\n5\n40\n330\n1F\n100\nAcDbEntity\n8\n0\n100\nAcDbLine\n"
      "10\n0\n20\n0\n30\n0\n11\n5\n21\n5\n31\n0\n0\nENDSEC\n0\nEOF\n";
  DrawingPtr drawing = OpenText("code_page.dxf", text);
  ASSERT_TRUE(drawing);
  for (const auto& v : kSaveVersions) {
    SCOPED_TRACE(v.name);
    std::string path = SavedPath(std::string("keptsave_codepage_") + v.name + ".dxf");
    ASSERT_TRUE(drawing->save(path.c_str(), 2, v.code, 0));
    std::string saved;
    ASSERT_TRUE(testfiles::ReadFileBytes(path, saved));
    if (v.code != 5) {
      EXPECT_NE(std::string::npos, saved.find("VIEW\n  5\n31\n"));
    }
    EXPECT_NE(std::string::npos, saved.find("\\U+89C6\\U+56FE"));  // the view's name
    EXPECT_NE(std::string::npos, saved.find("\\U+5DE5\\U+7A0B"));  // the project name
  }
}

namespace {

// A drawing of `version` with an entity kind this library does not know,
// which owns an extension dictionary, and a draw order table naming it
// and a line.
std::string UnknownKindDrawing(const char* version) {
  return std::string("0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\n") + version +
         "\n9\n$HANDSEED\n5\n100\n0\nENDSEC\n"
         "0\nSECTION\n2\nENTITIES\n"
         "0\nLINE\n5\n40\n330\n1F\n100\nAcDbEntity\n8\n0\n100\nAcDbLine\n"
         "10\n0\n20\n0\n30\n0\n11\n5\n21\n5\n31\n0\n"
         "0\nFOOBAR\n5\n41\n102\n{ACAD_XDICTIONARY\n360\n50\n102\n}\n330\n1F\n100\nAcDbEntity\n8\n0\n"
         "100\nAcDbFoobar\n10\n1\n20\n2\n30\n0\n0\nENDSEC\n"
         "0\nSECTION\n2\nOBJECTS\n0\nDICTIONARY\n5\nC\n330\n0\n100\nAcDbDictionary\n"
         "0\nDICTIONARY\n5\n50\n330\n41\n100\nAcDbDictionary\n3\nNOTE\n350\n51\n"
         "0\nXRECORD\n5\n51\n330\n50\n100\nAcDbXrecord\n280\n1\n1\nfoobar's\n"
         "0\nSORTENTSTABLE\n5\n52\n330\nC\n100\nAcDbSortentsTable\n330\n1F\n331\n41\n5\n90\n331\n40\n5\n91\n"
         "0\nENDSEC\n0\nEOF\n";
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

}  // namespace

// An earlier version than the file's gets no entity of a kind it cannot
// hold, nor the objects that entity owns; a later one keeps them.
TEST(DxfWriteBack, UnknownKindsGoOnlyWhenTheVersionIsEarlier) {
  for (const char* version : {"AC1027", "AC1015"}) {
    DrawingPtr drawing =
        OpenText(std::string("unknown_kind_") + version + ".dxf", UnknownKindDrawing(version));
    ASSERT_TRUE(drawing);
    std::string path = SavedPath(std::string("keptsave_unknown_") + version + ".dxf");
    ASSERT_TRUE(drawing->save(path.c_str(), 2, 9, 0));
    SCOPED_TRACE(version);
    ExpectSoundHandles(path);
    std::string saved;
    ASSERT_TRUE(testfiles::ReadFileBytes(path, saved));
    bool kept = std::string(version) == "AC1015";
    EXPECT_EQ(kept ? 1u : 0u, Count(saved, "FOOBAR\n"));
    EXPECT_EQ(kept ? 1u : 0u, Count(saved, "foobar's\n"));
    EXPECT_EQ(1u, Count(saved, "LINE\n"));
    // The draw order keeps the line's entry only.
    EXPECT_EQ(kept ? 2u : 1u, Count(saved, "331\n"));
    EXPECT_EQ(kept ? 1u : 0u, Count(saved, "  5\n90\n"));
    EXPECT_EQ(1u, Count(saved, "  5\n91\n"));
  }
}

// The preview picture goes with the drawing into the versions that hold one.
TEST(DxfWriteBack, ThePreviewPictureIsKept) {
  std::string picture(300, '\0');
  std::string hex;
  for (size_t i = 0; i < picture.size(); ++i) {
    picture[i] = char(i * 7);
    char digits[4];
    snprintf(digits, sizeof(digits), "%02X", unsigned(uint8_t(picture[i])));
    hex += digits;
  }
  std::string text = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n"
                     "0\nSECTION\n2\nENTITIES\n0\nPOINT\n5\n40\n8\n0\n10\n1\n20\n2\n30\n0\n0\nENDSEC\n"
                     "0\nSECTION\n2\nTHUMBNAILIMAGE\n90\n300\n310\n" + hex + "\n0\nENDSEC\n0\nEOF\n";
  DrawingPtr drawing = OpenText("thumbnail.dxf", text);
  ASSERT_TRUE(drawing);
  for (const auto& v : kSaveVersions) {
    SCOPED_TRACE(v.name);
    DrawingPtr again = SaveAndReopen(*drawing, v, std::string("keptsave_thumbnail_") + v.name + ".dxf");
    ASSERT_TRUE(again);
    const std::vector<uint8_t>& kept = again->state()->db->thumbnail;
    if (v.code == 8 || v.code == 9) EXPECT_EQ(picture, std::string(kept.begin(), kept.end()));
    else EXPECT_TRUE(kept.empty());
  }
}

// R14 has one paper space and no layout objects: a 2000 drawing saved as
// R14 keeps its paper-space entities, and reading it back lists the paper
// layout again.
TEST(DxfWriteBack, R14SavesHoldNoLayoutObjects) {
  DrawingPtr original = OpenFixture("viewport.dxf");
  ASSERT_TRUE(original);
  ASSERT_GE(original->getLayoutCount(), 2);
  std::string path = SavedPath("keptsave_layouts_R14.dxf");
  ASSERT_TRUE(original->save(path.c_str(), 2, 7, 0));
  ExpectSoundHandles(path);
  std::vector<Group> groups = ReadGroups(path);
  for (size_t i = 0; i < groups.size(); ++i) {
    EXPECT_FALSE(groups[i].code == 0 && groups[i].value == "LAYOUT") << "group " << i;
    EXPECT_FALSE(groups[i].code == 3 && groups[i].value == "ACAD_LAYOUT") << "group " << i;
    EXPECT_NE(340, groups[i].code) << "group " << i;
  }
  DrawingPtr again(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  ASSERT_EQ(0, again->open(path.c_str(), nullptr));
  EXPECT_EQ(2, again->getLayoutCount());
}

namespace {

// Each VERTEX and SEQEND record: its handle, its owner and the handle of the
// POLYLINE or INSERT it follows. Records compare by handle.
struct PartRecord {
  std::string handle, owner, parent;
  bool operator==(const PartRecord& o) const { return handle == o.handle; }
};

std::vector<PartRecord> PartRecords(const std::vector<Group>& groups) {
  std::vector<PartRecord> found;
  std::string parent;
  for (size_t i = 0; i + 1 < groups.size(); ++i) {
    if (groups[i].code != 0) continue;
    const std::string& kind = groups[i].value;
    std::string handle, owner;
    for (size_t k = i + 1; k < groups.size() && groups[k].code != 0 && groups[k].code != 100; ++k) {
      if (groups[k].code == 5 && handle.empty()) handle = groups[k].value;
      if (groups[k].code == 330 && owner.empty()) owner = groups[k].value;
    }
    if (kind == "POLYLINE" || kind == "INSERT") parent = handle;
    else if (kind == "VERTEX" || kind == "SEQEND") found.push_back({handle, owner, parent});
  }
  return found;
}

}  // namespace

// Vertices and sequence ends keep the file's handles and are owned by the
// polyline they belong to.
TEST(DxfWriteBack, VerticesKeepTheirHandlesAndBelongToTheirPolyline) {
  DrawingPtr original = OpenFixture("basic_R2000_asc.dxf");
  ASSERT_TRUE(original);
  std::string path = SavedPath("keptsave_vertices_2000.dxf");
  ASSERT_TRUE(original->save(path.c_str(), 2, 8, 0));
  std::vector<PartRecord> before = PartRecords(ReadGroups(FixturePath("basic_R2000_asc.dxf")));
  std::vector<PartRecord> after = PartRecords(ReadGroups(path));
  EXPECT_GT(before.size(), 10u);
  EXPECT_TRUE(before == after);
  for (const PartRecord& r : after) EXPECT_EQ(r.parent, r.owner) << r.handle;
  ExpectSoundHandles(path);
}

// The view the file was saved with stays: its active viewport (two tiles
// here) comes back as read; a file without one gets one.
TEST(DxfWriteBack, TheActiveViewportIsKept) {
  std::string text =
      "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$HANDSEED\n5\n100\n0\nENDSEC\n"
      "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nVPORT\n5\n8\n330\n0\n100\nAcDbSymbolTable\n70\n2\n"
      "0\nVPORT\n5\n30\n330\n8\n100\nAcDbSymbolTableRecord\n100\nAcDbViewportTableRecord\n"
      "2\n*Active\n70\n0\n10\n0\n20\n0\n11\n0.5\n21\n1\n12\n123.5\n22\n45.25\n40\n77\n41\n1.25\n"
      "0\nVPORT\n5\n31\n330\n8\n100\nAcDbSymbolTableRecord\n100\nAcDbViewportTableRecord\n"
      "2\n*Active\n70\n0\n10\n0.5\n20\n0\n11\n1\n21\n1\n12\n-8\n22\n9\n40\n33\n41\n1.25\n"
      "0\nENDTAB\n0\nENDSEC\n"
      "0\nSECTION\n2\nENTITIES\n0\nLINE\n5\n40\n100\nAcDbEntity\n8\n0\n100\nAcDbLine\n"
      "10\n0\n20\n0\n30\n0\n11\n5\n21\n5\n31\n0\n0\nENDSEC\n0\nEOF\n";
  DrawingPtr drawing = OpenText("active_viewport.dxf", text);
  ASSERT_TRUE(drawing);
  for (const auto& v : kSaveVersions) {
    SCOPED_TRACE(v.name);
    std::string path = SavedPath(std::string("keptsave_active_viewport_") + v.name + ".dxf");
    ASSERT_TRUE(drawing->save(path.c_str(), 2, v.code, 0));
    std::string saved;
    ASSERT_TRUE(testfiles::ReadFileBytes(path, saved));
    EXPECT_EQ(2u, Count(saved, "  0\nVPORT\n"));
    EXPECT_EQ(1u, Count(saved, " 12\n123.5\n 22\n45.25\n"));
    EXPECT_EQ(1u, Count(saved, " 12\n-8\n 22\n9\n"));
    if (v.code != 5) ExpectSoundHandles(path);
  }
  DrawingPtr bare = OpenText("no_viewport.dxf", UnknownKindDrawing("AC1015"));
  ASSERT_TRUE(bare);
  std::string path = SavedPath("keptsave_no_viewport.dxf");
  ASSERT_TRUE(bare->save(path.c_str(), 2, 8, 0));
  std::string saved;
  ASSERT_TRUE(testfiles::ReadFileBytes(path, saved));
  EXPECT_EQ(1u, Count(saved, "*Active\n"));
}
