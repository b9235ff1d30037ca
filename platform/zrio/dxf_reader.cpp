// Sections of a DXF file: header, tables, blocks, entities, objects and the
// thumbnail image.
#include "platform/zrio/win32.h"
#include "platform/zrio/dxf_reader.h"

#include "platform/zrio/derived_graphics.h"
#include "platform/zrio/number_limits.h"
#include "platform/zrio/utf8.h"
#include "platform/zrio/viewport_data.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string.h>

namespace zr {

namespace {

// A total editing time beyond a thousand years is no drawing's.
const double kLongestEditingDays = 366.0 * 1000;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Four hex digits at s[at]; false when one is not a hex digit.
bool HexWord(const std::string& s, size_t at, uint32_t* value) {
  if (at + 4 > s.size()) return false;
  *value = 0;
  for (size_t k = 0; k < 4; ++k) {
    int h = HexValue(s[at + k]);
    if (h < 0) return false;
    *value = *value * 16 + uint32_t(h);
  }
  return true;
}

// Code page of the n of a "\M+nXXXX" escape (a double-byte character of an
// Asian code page, written by programs that keep text in 7 bits).
UINT MultiByteEscapePage(char n) {
  switch (n) {
    case '1': return 932;   // Japanese
    case '2': return 950;   // Traditional Chinese
    case '3': return 949;   // Korean (Wansung)
    case '4': return 1361;  // Korean (Johab)
    case '5': return 936;   // Simplified Chinese
    default: return 0;
  }
}

// The character of a "\M+nXXXX" escape at s[i], as UTF-8; false when the
// escape is not well formed or names no character of its code page.
bool MultiByteEscape(const std::string& s, size_t i, std::string& out) {
  uint32_t word = 0;
  if (i + 8 > s.size() || s[i + 2] != '+' || !HexWord(s, i + 4, &word)) return false;
  UINT page = MultiByteEscapePage(s[i + 3]);
  if (page == 0 || word < 0x100) return false;
  char bytes[2] = {char(word >> 8), char(word & 0xFF)};
  WCHAR wide[2];
  int n = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes, 2, wide, 2);
  if (n != 1) return false;
  AppendUtf8(out, wide[0]);
  return true;
}

// The character of a "\U+XXXX" escape at s[i], as UTF-8.
bool UnicodeEscape(const std::string& s, size_t i, std::string& out) {
  uint32_t c = 0;
  if (i + 7 > s.size() || s[i + 2] != '+' || !HexWord(s, i + 3, &c)) return false;
  if (c == 0 || (c >= 0xD800 && c <= 0xDFFF)) return false;  // no lone surrogates or nulls
  AppendUtf8(out, c);
  return true;
}

// Text with its "\U+XXXX" and "\M+nXXXX" escapes turned into the characters.
std::string ResolveCharacterEscapes(const std::string& s) {
  if (s.find('\\') == std::string::npos) return s;
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      char kind = s[i + 1];
      if ((kind == 'U' || kind == 'u') && UnicodeEscape(s, i, out)) {
        i += 6;
        continue;
      }
      if ((kind == 'M' || kind == 'm') && MultiByteEscape(s, i, out)) {
        i += 7;
        continue;
      }
    }
    out += s[i];
  }
  return out;
}

int CodePageOf(const std::string& name) {
  std::string upper = UpperName(name);
  if (upper.compare(0, 5, "ANSI_") == 0) {
    int page = IntOfText(upper.c_str() + 5);
    return page > 0 && page <= 65535 ? page : 1252;
  }
  if (upper == "GB2312" || upper == "DOS936") return 936;
  if (upper == "BIG5" || upper == "DOS950") return 950;
  if (upper == "DOS932") return 932;
  return 1252;
}

Vec3 PointOf(const RawGroups& groups, int code) {
  Vec3 p;
  for (const RawGroup& g : groups) {
    if (g.code == code) p.x = atof(g.value.c_str());
    else if (g.code == code + 10) p.y = atof(g.value.c_str());
    else if (g.code == code + 20) p.z = atof(g.value.c_str());
  }
  return p;
}

class SectionReader {
 public:
  SectionReader(DxfGroupReader& r, DxfPieceStream& pieces, Database& db,
                const LoadControl& control)
      : r_(r), m_pieces(pieces), m_db(db), m_control(control) {}

  LoadResult run() {
    while (r_.next()) {
      if (!r_.is(0, "SECTION")) {
        if (r_.is(0, "EOF")) break;
        continue;  // stray groups between sections
      }
      if (!r_.next() || r_.code() != 2) return LoadResult::Failed;
      std::string name(r_.group().view);
      // The entities of blocks and of the drawing are parsed ahead on the
      // worker threads, the other sections only here.
      if (name == "BLOCKS" || name == "ENTITIES") {
        if (m_pieces.wantsContext())
          m_pieces.parseAhead(r_.piece(), RunContext::Of(m_db, m_pieces.format()));
      } else {
        m_pieces.stopParsingAhead();
      }
      LoadResult result = LoadResult::Ok;
      if (name == "HEADER") result = readHeader();
      else if (name == "TABLES") result = readTables();
      else if (name == "BLOCKS") result = readBlocks();
      else if (name == "ENTITIES") result = readEntities();
      else if (name == "OBJECTS") result = readObjects();
      else if (name == "THUMBNAILIMAGE") result = readThumbnail();
      else result = readOther(name);
      if (result != LoadResult::Ok) return result;
      ++m_sections;
    }
    if (r_.failed() || m_sections == 0) return LoadResult::Failed;
    finish();
    return LoadResult::Ok;
  }

 private:
  // Polled every few hundred groups.
  bool aborted() {
    if (++m_polls % 256 != 0) return false;
    if (m_control.progress && r_.size() > 0) {
      double percent = 100.0 * double(r_.position()) / double(r_.size());
      if (percent >= m_lastPercent + 1) {
        m_lastPercent = percent;
        m_control.progress(percent);
      }
    }
    return m_control.aborted && m_control.aborted();
  }

  // Takes the entity whose "0" group the reader has just returned and
  // gives it to `place`: as parsed ahead on a worker thread in the
  // drawing's context, with the ones parsed right after it (no other record
  // between them: those the reader would take one by one next), or else
  // parsed here. `reserveFor`, when given, is the vector most of the
  // entities up to the end of the file go to.
  template <typename Place>
  LoadResult takeEntities(Place place, std::vector<Entity>* reserveFor) {
    EntityRun* run = nullptr;
    ParsedEntity* parsed = nullptr;
    auto stop = [this]() { return m_control.aborted && m_control.aborted(); };
    if (!m_pieces.parsedEntityAt(r_.piece(), r_.groupStart(), stop, &run, &parsed))
      return LoadResult::Aborted;
    if (!parsed || !run->context().fits(m_db)) {
      Entity e;
      if (!ReadEntity(r_, m_db, e)) return LoadResult::Failed;
      place(std::move(e));
      return LoadResult::Ok;
    }
    if (reserveFor) reserveRoom(*reserveFor, *run, *parsed);
    ParsedEntity* last = parsed;
    for (ParsedEntity* p = parsed; p; p = run->following(*p)) {
      if (aborted()) return LoadResult::Aborted;
      place(std::move(run->adopt(*p, m_db)));
      last = p;
    }
    r_.skipTo(last->end);
    return LoadResult::Ok;
  }

  // Room in `entities` for as many more entities as the rest of the file
  // holds at the rate of the run's from `first` on: one allocation instead
  // of a vector's growth, which would copy it again and again. Room not
  // used costs address space only.
  void reserveRoom(std::vector<Entity>& entities, const EntityRun& run, const ParsedEntity& first) {
    size_t count = run.countFrom(first);
    if (entities.capacity() >= entities.size() + count) return;
    double bytesEach = double(run.end() - first.start) / double(count);
    double rest = double(r_.size() - run.end()) / std::max(bytesEach, 16.0);
    entities.reserve(std::max(entities.size() * 2, entities.size() + count + size_t(rest)));
  }

  // Reads groups up to the next "0" group (not consumed).
  void collect(RawGroups& out) {
    while (r_.next()) {
      if (r_.code() == 0) {
        r_.pushBack();
        return;
      }
      out.push_back({r_.code(), r_.group().text()});
    }
  }

  bool atEndSec() { return r_.is(0, "ENDSEC"); }

  LoadResult readHeader() {
    std::string name;
    RawGroups values;
    auto flush = [&]() {
      if (!name.empty()) {
        applyHeaderVariable(name, values);
        m_db.header.push_back({name, values});
      }
      values.clear();
    };
    while (r_.next()) {
      if (aborted()) return LoadResult::Aborted;
      if (r_.code() == 0) {
        flush();
        return atEndSec() ? LoadResult::Ok : (r_.pushBack(), LoadResult::Ok);
      }
      if (r_.code() == 9) {
        flush();
        name = std::string(r_.group().view);
      } else {
        values.push_back({r_.code(), r_.group().text()});
      }
    }
    return LoadResult::Failed;
  }

  void applyHeaderVariable(const std::string& name, const RawGroups& v) {
    auto first = [&](int code) -> const std::string* {
      for (const RawGroup& g : v)
        if (g.code == code) return &g.value;
      return nullptr;
    };
    const std::string* s = nullptr;
    if (name == "$ACADVER" && (s = first(1))) {
      m_db.acadver = *s;
      m_db.utf8 = AcadVersionNumber(*s) >= 1021;
    } else if (name == "$DWGCODEPAGE" && (s = first(3))) {
      m_db.codePage = CodePageOf(*s);
    } else if (name == "$EXTMIN") {
      m_db.extMin = PointOf(v, 10);
      m_db.hasExtents = true;
    } else if (name == "$EXTMAX") {
      m_db.extMax = PointOf(v, 10);
    } else if (name == "$LIMMIN") {
      m_db.limMin = PointOf(v, 10);
    } else if (name == "$LIMMAX") {
      m_db.limMax = PointOf(v, 10);
    } else if (name == "$PDMODE" && (s = first(70))) {
      m_db.pdmode = IntOfText(s->c_str());
    } else if (name == "$PDSIZE" && (s = first(40))) {
      m_db.pdsize = atof(s->c_str());
    } else if (name == "$LUNITS" && (s = first(70))) {
      m_db.lunits = IntOfText(s->c_str());
    } else if (name == "$LUPREC" && (s = first(70))) {
      m_db.luprec = IntOfText(s->c_str());
    } else if (name == "$LTSCALE" && (s = first(40))) {
      m_db.ltscale = atof(s->c_str());
      if (!(m_db.ltscale > 0) || m_db.ltscale > 1e9) m_db.ltscale = 1;
    } else if (name == "$INSUNITS" && (s = first(70))) {
      m_db.insunits = IntOfText(s->c_str());
    } else if (name == "$TDINDWG" && (s = first(40))) {
      double days = atof(s->c_str());
      if (days >= 0 && days < kLongestEditingDays) m_db.editingDays = days;
    } else if (name == "$CUSTOMPROPERTYTAG" && (s = first(1))) {
      m_pendingCustomTag = DecodeText(*s, m_db);
    } else if (name == "$CUSTOMPROPERTY" && (s = first(1))) {
      m_db.properties.push_back({17, m_pendingCustomTag + "=" + DecodeText(*s, m_db)});
    }
  }

  LoadResult readTables() {
    while (r_.next()) {
      if (aborted()) return LoadResult::Aborted;
      if (atEndSec()) return LoadResult::Ok;
      if (!r_.is(0, "TABLE")) continue;
      if (!r_.next() || r_.code() != 2) return LoadResult::Failed;
      std::string table(r_.group().view);
      LoadResult result = table == "LAYER" ? readLayerTable() : readRawTable(table);
      if (result != LoadResult::Ok) return result;
    }
    return LoadResult::Failed;
  }

  LoadResult readRawTable(const std::string& name) {
    RawTable table;
    table.name = name;
    std::string entryType;
    RawGroups entry;
    while (r_.next()) {
      if (aborted()) return LoadResult::Aborted;
      if (r_.is(0, "ENDTAB")) {
        m_db.otherTables.push_back(std::move(table));
        return LoadResult::Ok;
      }
      if (r_.is(0, "ENDSEC")) return LoadResult::Failed;
      table.groups.push_back({r_.code(), r_.group().text()});
      if (name == "BLOCK_RECORD") noteBlockRecord(table.groups);
      if (name == "LTYPE") noteLinetype(table.groups);
    }
    return LoadResult::Failed;
  }

  // Keeps the handle -> name table of BLOCK_RECORD entries for layouts.
  void noteBlockRecord(const RawGroups& groups) {
    const RawGroup& g = groups.back();
    if (g.code == 0) {
      m_recordHandle = 0;
    } else if (g.code == 5) {
      m_recordHandle = strtoull(g.value.c_str(), nullptr, 16);
    } else if (g.code == 2 && m_recordHandle != 0) {
      m_recordNames[m_recordHandle] = UpperName(DecodeText(g.value, m_db));
    }
  }

  // Dash patterns of LTYPE entries, as they are read.
  void noteLinetype(const RawGroups& groups) {
    const RawGroup& g = groups.back();
    if (g.code == 2) {
      m_currentLinetype = m_db.linetypeOf(DecodeText(g.value, m_db));
    } else if (g.code == 0) {
      m_currentLinetype = -1;
    } else if (m_currentLinetype >= 0 && g.code == 49) {
      LineType& type = m_db.linetypes[size_t(m_currentLinetype)];
      if (type.dashes.size() < 64) type.dashes.push_back(atof(g.value.c_str()));
    }
  }

  LoadResult readLayerTable() {
    Layer* layer = nullptr;
    while (r_.next()) {
      if (aborted()) return LoadResult::Aborted;
      if (r_.is(0, "ENDTAB")) return LoadResult::Ok;
      if (r_.is(0, "ENDSEC")) return LoadResult::Failed;
      const Group& g = r_.group();
      if (g.is(0, "LAYER")) {
        m_db.layers.emplace_back();
        layer = &m_db.layers.back();
        continue;
      }
      if (!layer) {  // the table's own groups are written anew, keeping its handle
        if (g.code == 5) m_db.layerTableHandle = g.asHandle();
        continue;
      }
      switch (g.code) {
        case 2: {
          layer->name = DecodeText(g.view, m_db);
          std::string key = UpperName(layer->name);
          if (m_db.layerIndex.count(key)) {
            m_db.layers.pop_back();  // a duplicate entry: the first one counts
            layer = nullptr;
          } else {
            m_db.layerIndex[key] = int32_t(m_db.layers.size() - 1);
          }
          break;
        }
        case 62:
          layer->on = g.integer >= 0;
          layer->color = int16_t(std::min<uint64_t>(Magnitude(g.integer), INT16_MAX));
          break;
        case 70:
          layer->frozen = (g.integer & 1) != 0;
          layer->locked = (g.integer & 4) != 0;
          break;
        case 6: layer->linetype = DecodeText(g.view, m_db); break;
        case 370: layer->lineweight = int16_t(g.integer); break;
        case 420: layer->trueColor = int32_t(g.integer & 0xFFFFFF); break;
        case 100: case 330: break;
        default: layer->raw.push_back({g.code, g.text()});
      }
    }
    return LoadResult::Failed;
  }

  LoadResult readBlocks() {
    while (r_.next()) {
      if (aborted()) return LoadResult::Aborted;
      if (atEndSec()) return LoadResult::Ok;
      if (!r_.is(0, "BLOCK")) continue;
      Block block;
      std::string lastLayerName;
      while (r_.next() && r_.code() != 0) {
        const Group& g = r_.group();
        switch (g.code) {
          case 2: block.name = DecodeText(g.view, m_db); break;
          case 3: break;  // repeats the name
          case 1: block.xrefPath = DecodeText(g.view, m_db); break;
          case 70: block.flags = int16_t(g.integer); break;
          case 8: block.layer = m_db.addLayer(DecodeText(g.view, m_db)); break;
          case 10: block.base.x = g.number; break;
          case 20: block.base.y = g.number; break;
          case 30: block.base.z = g.number; break;
          case 5: block.beginHandle = g.asHandle(); break;
          case 330:
            if (block.recordHandle == 0) block.recordHandle = g.asHandle();
            break;
          case 100: case 67: break;
          default: block.raw.push_back({g.code, g.text()});
        }
      }
      if (r_.failed()) return LoadResult::Failed;
      r_.pushBack();
      while (r_.next()) {
        if (aborted()) return LoadResult::Aborted;
        if (r_.is(0, "ENDBLK")) {
          RawGroups end;
          collect(end);
          for (const RawGroup& g : end)
            if (g.code == 5) block.endHandle = strtoull(g.value.c_str(), nullptr, 16);
          break;
        }
        if (r_.is(0, "ENDSEC")) return LoadResult::Failed;
        if (r_.code() != 0) continue;
        auto place = [&block](Entity&& e) { block.entities.push_back(std::move(e)); };
        LoadResult read = takeEntities(place, nullptr);
        if (read != LoadResult::Ok) return read;
      }
      if (r_.failed()) return LoadResult::Failed;
      m_db.addBlock(std::move(block));
    }
    return LoadResult::Failed;
  }

  std::vector<Entity>& spaceEntities(bool paper) {
    const char* name = paper ? "*PAPER_SPACE" : "*MODEL_SPACE";
    int32_t index = m_db.findBlock(name);
    if (index < 0) {
      index = m_db.findBlock(paper ? "$PAPER_SPACE" : "$MODEL_SPACE");
      if (index < 0) {
        Block block;
        block.name = paper ? "*Paper_Space" : "*Model_Space";
        index = m_db.addBlock(std::move(block));
      }
    }
    return m_db.blocks[index].entities;
  }

  LoadResult readEntities() {
    std::vector<Entity>* model = &spaceEntities(false);
    std::vector<Entity>* paper = nullptr;
    while (r_.next()) {
      if (aborted()) return LoadResult::Aborted;
      if (atEndSec()) return LoadResult::Ok;
      if (r_.code() != 0) continue;
      auto place = [&](Entity&& e) {
        if (e.paperSpace) {
          if (!paper) {
            paper = &spaceEntities(true);
            model = &spaceEntities(false);  // the block vector may have moved
          }
          paper->push_back(std::move(e));
        } else {
          model->push_back(std::move(e));
        }
      };
      LoadResult read = takeEntities(place, model);
      if (read != LoadResult::Ok) return read;
    }
    return LoadResult::Failed;
  }

  LoadResult readObjects() {
    while (r_.next()) {
      if (aborted()) return LoadResult::Aborted;
      if (atEndSec()) break;
      m_db.objects.push_back({r_.code(), r_.group().text()});
    }
    if (r_.failed()) return LoadResult::Failed;
    interpretObjects();
    return LoadResult::Ok;
  }

  // LAYOUT objects and the DWGPROPS record of the summary properties.
  void interpretObjects() {
    const RawGroups& g = m_db.objects;
    size_t i = 0;
    while (i < g.size()) {
      size_t end = RecordEnd(g, i);
      if (g[i].code == 0 && g[i].value == "LAYOUT") readLayout(g, i + 1, end);
      if (g[i].code == 0 && g[i].value == "XRECORD") readDwgProps(g, i + 1, end);
      i = end;
    }
  }

  void readLayout(const RawGroups& g, size_t from, size_t to) {
    Layout layout;
    bool inLayoutClass = false;
    for (size_t k = from; k < to; ++k) {
      const RawGroup& x = g[k];
      if (x.code == 5 && layout.handle == 0) layout.handle = strtoull(x.value.c_str(), nullptr, 16);
      if (x.code == 100) inLayoutClass = x.value == "AcDbLayout";
      if (!inLayoutClass) continue;
      double v = atof(x.value.c_str());
      switch (x.code) {
        case 1: layout.name = DecodeText(x.value, m_db); break;
        case 71: layout.tabOrder = IntOfText(x.value.c_str()); break;
        case 10: layout.limMin.x = v; break;
        case 20: layout.limMin.y = v; break;
        case 11: layout.limMax.x = v; break;
        case 21: layout.limMax.y = v; break;
        case 330: case 340: layout.blockRecord = strtoull(x.value.c_str(), nullptr, 16); break;
      }
    }
    if (!layout.name.empty()) m_db.layouts.push_back(layout);
  }

  void readDwgProps(const RawGroups& g, size_t from, size_t to) {
    bool cookie = false;
    for (size_t k = from; k < to; ++k)
      if (g[k].code == 1 && g[k].value == "DWGPROPS COOKIE") cookie = true;
    if (!cookie) return;
    static const struct { int code; int id; } kMap[] = {
        {2, 1}, {3, 2}, {4, 3}, {7, 4}, {6, 5}, {8, 6}, {1, 0}, {9, 7}};
    std::vector<Property> found;
    for (const auto& m : kMap) {
      for (size_t k = from; k < to; ++k) {
        if (g[k].code != m.code || (m.code == 1 && g[k].value == "DWGPROPS COOKIE")) continue;
        if (!g[k].value.empty()) found.push_back({m.id, DecodeText(g[k].value, m_db)});
        break;
      }
    }
    for (size_t k = from; k < to; ++k)
      if (g[k].code >= 300 && g[k].code <= 309 && !g[k].value.empty())
        found.push_back({17, DecodeText(g[k].value, m_db)});
    // Header custom properties (R2004 and later) come after the record's.
    m_db.properties.insert(m_db.properties.begin(), found.begin(), found.end());
  }

  LoadResult readThumbnail() {
    std::string hex;
    while (r_.next()) {
      if (aborted()) return LoadResult::Aborted;
      if (atEndSec()) break;
      if (r_.code() == 310) {
        if (r_.binary()) m_db.thumbnail.insert(m_db.thumbnail.end(), r_.group().view.begin(), r_.group().view.end());
        else hex += r_.group().view;
      }
    }
    if (r_.failed()) return LoadResult::Failed;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
      int h = HexValue(hex[i]), l = HexValue(hex[i + 1]);
      if (h < 0 || l < 0) break;
      m_db.thumbnail.push_back(uint8_t(h * 16 + l));
    }
    return LoadResult::Ok;
  }

  LoadResult readOther(const std::string& name) {
    RawGroups groups;
    while (r_.next()) {
      if (aborted()) return LoadResult::Aborted;
      if (atEndSec()) {
        m_db.otherSections.push_back({name, std::move(groups)});
        return LoadResult::Ok;
      }
      groups.push_back({r_.code(), r_.group().text()});
    }
    return LoadResult::Failed;
  }

  void finish() {
    if (m_db.layers.empty() || m_db.findLayer("0") < 0) m_db.addLayer("0");
    m_db.modelBlock = m_db.findBlock("*MODEL_SPACE");
    if (m_db.modelBlock < 0) m_db.modelBlock = m_db.findBlock("$MODEL_SPACE");
    if (m_db.modelBlock < 0) {
      Block block;
      block.name = "*Model_Space";
      m_db.modelBlock = m_db.addBlock(std::move(block));
    }
    m_db.paperBlock = m_db.findBlock("*PAPER_SPACE");
    if (m_db.paperBlock < 0) m_db.paperBlock = m_db.findBlock("$PAPER_SPACE");
    resolveLayouts();
    ResolveViewports(m_db);
    ResolveDerivedGraphics(m_db);
    resolveBlockRecords();
    for (LineType& type : m_db.linetypes) {
      type.length = 0;
      for (double d : type.dashes) type.length += std::fabs(d);
      if (!(type.length > 0) || !std::isfinite(type.length)) type.dashes.clear();
    }
    for (Layer& layer : m_db.layers) {
      int16_t index = m_db.linetypeOf(layer.linetype);
      layer.linetypeIndex = index >= 0 ? index : -1;
    }
  }

  // Blocks whose BLOCK record named no owner take the handle of the
  // BLOCK_RECORD entry of their name.
  void resolveBlockRecords() {
    std::map<std::string, uint64_t> byName;
    for (const auto& record : m_recordNames) byName.insert({record.second, record.first});
    for (Block& block : m_db.blocks) {
      if (block.recordHandle != 0) continue;
      auto it = byName.find(UpperName(block.name));
      if (it != byName.end()) block.recordHandle = it->second;
    }
  }

  // Model layout first, then the paper layouts by tab order; each bound to
  // the block holding its entities.
  void resolveLayouts() {
    std::vector<Layout>& layouts = m_db.layouts;
    for (Layout& l : layouts) {
      auto it = m_recordNames.find(l.blockRecord);
      if (it != m_recordNames.end()) l.block = m_db.findBlock(it->second);
    }
    std::stable_sort(layouts.begin(), layouts.end(),
                     [](const Layout& a, const Layout& b) { return a.tabOrder < b.tabOrder; });
    auto model = std::find_if(layouts.begin(), layouts.end(),
                              [&](const Layout& l) { return UpperName(l.name) == "MODEL"; });
    if (model == layouts.end()) {
      Layout m;
      m.name = "Model";
      layouts.insert(layouts.begin(), m);
    } else if (model != layouts.begin()) {
      std::rotate(layouts.begin(), model, model + 1);
    }
    layouts[0].block = m_db.modelBlock;
    layouts[0].limMin = m_db.limMin;
    layouts[0].limMax = m_db.limMax;
    if (layouts.size() == 1 && m_db.paperBlock >= 0) {
      // Files without layout objects (R12) keep the paper limits in the header.
      Layout p;
      p.name = "Layout1";
      for (const auto& variable : m_db.header) {
        if (variable.first == "$PLIMMIN") p.limMin = PointOf(variable.second, 10);
        if (variable.first == "$PLIMMAX") p.limMax = PointOf(variable.second, 10);
      }
      layouts.push_back(p);
    }
    for (size_t i = 1; i < layouts.size(); ++i)
      if (layouts[i].block < 0 && i == 1) layouts[i].block = m_db.paperBlock;
  }

  DxfGroupReader& r_;
  DxfPieceStream& m_pieces;
  Database& m_db;
  const LoadControl& m_control;
  int m_sections = 0;
  unsigned m_polls = 0;
  double m_lastPercent = 0;
  std::string m_pendingCustomTag;
  uint64_t m_recordHandle = 0;
  int16_t m_currentLinetype = -1;
  std::map<uint64_t, std::string> m_recordNames;
};

}  // namespace

int AcadVersionNumber(const std::string& acadver) {
  if (acadver.size() < 6 || acadver.compare(0, 2, "AC") != 0) return 0;
  int n = 0;
  for (size_t i = 2; i < 6; ++i) {
    if (acadver[i] < '0' || acadver[i] > '9') return 0;
    n = n * 10 + (acadver[i] - '0');
  }
  return n;
}

std::string DecodeText(std::string_view raw, const Database& db) {
  bool ascii = true;
  for (char c : raw)
    if ((unsigned char)c >= 0x80) {
      ascii = false;
      break;
    }
  std::string text;
  if (ascii || db.utf8) {
    text.assign(raw.data(), raw.size());
  } else {
    int n = MultiByteToWideChar(UINT(db.codePage), 0, raw.data(), int(raw.size()), nullptr, 0);
    if (n <= 0) {
      text.assign(raw.data(), raw.size());
    } else {
      std::vector<WCHAR> wide(size_t(n) + 1);
      MultiByteToWideChar(UINT(db.codePage), 0, raw.data(), int(raw.size()), wide.data(), n);
      int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
      text.resize(size_t(m > 0 ? m : 0));
      if (m > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, &text[0], m, nullptr, nullptr);
    }
  }
  return ResolveCharacterEscapes(text);
}

namespace {

LoadResult ReadPieces(DxfPieceStream& pieces, Database& db, const LoadControl& control) {
  const DxfPiece* first = pieces.first();
  if (!first) return LoadResult::Unreadable;
  DxfGroupReader reader(pieces, *first, pieces.format(), pieces.size());
  LoadResult result = SectionReader(reader, pieces, db, control).run();
  return pieces.unreadable() ? LoadResult::Unreadable : result;
}

}  // namespace

LoadResult ReadDxf(const char* data, size_t size, Database& db, const LoadControl& control) {
  DxfPieceStream pieces(data, size, control.pieces);
  return ReadPieces(pieces, db, control);
}

LoadResult ReadDxfFile(HANDLE file, Database& db, const LoadControl& control) {
  LARGE_INTEGER size;
  if (!file || !GetFileSizeEx(file, &size) || size.QuadPart < 0) return LoadResult::Unreadable;
  DxfPieceStream pieces(file, uint64_t(size.QuadPart), control.pieces);
  return ReadPieces(pieces, db, control);
}

}  // namespace zr
