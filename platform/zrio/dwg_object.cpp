#include "platform/zrio/win32.h"
#include "platform/zrio/dwg_object.h"

#include <stdlib.h>
#include <string.h>

#include "platform/zrio/dxf_writer.h"

namespace zr {

namespace {

// Extended data value kinds, by their DXF code less 1000.
enum : uint8_t {
  kEedString = 0, kEedControl = 2, kEedLayer = 3, kEedBinary = 4, kEedHandle = 5,
  kEedReal = 40, kEedShort = 70, kEedLong = 71
};

void PutLe(std::string& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += char(value >> (8 * i));
}

void PutDouble(std::string& out, double value) {
  uint64_t bits;
  memcpy(&bits, &value, sizeof bits);
  PutLe(out, bits, 8);
}

// One extended data group in its DWG form; false for a code DWG lacks.
bool EedItem(const DwgSave& save, const FormGroup& g, std::string& out) {
  int kind = g.code - 1000;
  if (kind == kEedString) {
    std::string text = save.encode(g.text);
    if (text.size() > 255) text.resize(255);
    out += char(kind);
    out += char(text.size());
    out += char(save.codePage >> 8);  // the code page is stored high byte first
    out += char(save.codePage);
    out += text;
  } else if (kind == kEedControl) {
    out += char(kind);
    out += char(g.is("}") ? 1 : 0);
  } else if (kind == kEedLayer || kind == kEedHandle) {
    uint64_t h = kind == kEedLayer ? save.named(kTableLayer, g.text) : g.handle();
    out += char(kind);
    for (int i = 7; i >= 0; --i) out += char(h >> (8 * i));
  } else if (kind == kEedBinary) {
    std::string bytes = HexBytes(g.text);
    if (bytes.size() > 255) bytes.resize(255);
    out += char(kind);
    out += char(bytes.size());
    out += bytes;
  } else if ((kind >= 20 && kind <= 23) || (kind >= 30 && kind <= 33)) {
    return true;  // a point's y or z without its x: nothing to place it in
  } else if (kind >= 40 && kind <= 42) {
    out += char(kind);
    PutDouble(out, g.real());
  } else if (kind == kEedShort) {
    out += char(kind);
    PutLe(out, uint64_t(g.integer()), 2);
  } else if (kind == kEedLong) {
    out += char(kind);
    PutLe(out, uint64_t(g.integer()), 4);
  } else {
    return false;
  }
  return true;
}

}  // namespace

uint8_t LineweightIndex(long long lw) {
  static const int kWeights[] = {0,  5,  9,  13, 15, 18,  20,  25,  30,  35,  40,  50,
                                 53, 60, 70, 80, 90, 100, 106, 120, 140, 158, 200, 211};
  if (lw == -1) return 29;
  if (lw == -2) return 30;
  if (lw < 0) return 31;
  for (uint8_t i = 0; i < 24; ++i)
    if (kWeights[i] >= lw) return i;
  return 23;
}

DwgObject::DwgObject(DwgSave& save, uint16_t type, uint64_t handle, const RecordView& source)
    : m_save(save), r_(source), m_handle(handle) {
  if (type >= 500 && size_t(type - 500) < m_save.classes.size()) ++m_save.classes[type - 500].count;
  data.bs(type);
  if (m_save.since2000()) sizePlaceholder();
  data.handle(0, handle);
  extendedData();
}

void DwgObject::sizePlaceholder() {
  m_sizeAt = data.bitSize();
  data.rl(0);
}

void DwgObject::extendedData() {
  const FormGroups& groups = r_.groups();
  size_t i = 0;
  while (i < groups.size() && groups[i].code != 1001) ++i;
  while (i < groups.size()) {
    uint64_t app = m_save.named(kTableAppId, groups[i].text);
    std::string bytes;
    for (++i; i < groups.size() && groups[i].code != 1001; ++i) {
      int kind = groups[i].code - 1000;
      if (kind < 0) continue;  // the record's own groups
      if (kind >= 10 && kind <= 13) {
        // A point: its x, y and z groups follow each other.
        Vec3 p = GroupPoint(groups, &i);
        bytes += char(kind);
        PutDouble(bytes, p.x);
        PutDouble(bytes, p.y);
        PutDouble(bytes, p.z);
      } else if (!EedItem(m_save, groups[i], bytes)) {
        m_save.fail("不能保存的扩展数据组码", std::to_string(groups[i].code));
      }
    }
    if (app == 0 || bytes.empty() || bytes.size() > 0x7FFF) continue;
    data.bs(uint16_t(bytes.size()));
    data.handle(kHardPointer, app);
    data.raw(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  data.bs(0);
}

// From 2004 an object without an extension dictionary says so instead of
// naming a null one.
void DwgObject::reactorsAndDictionary(uint64_t owner, bool ownerPresent) {
  std::vector<uint64_t> reactors = r_.braceHandles("{ACAD_REACTORS");
  std::vector<uint64_t> dictionary = r_.braceHandles("{ACAD_XDICTIONARY");
  data.bl(uint32_t(reactors.size()));
  if (m_save.since2004()) data.bit(dictionary.empty());
  if (ownerPresent) refs.handle(kSoftPointer, owner);
  for (uint64_t h : reactors) refs.handle(kSoftPointer, h);
  if (!dictionary.empty() || !m_save.since2004())
    refs.handle(kHardOwner, dictionary.empty() ? 0 : dictionary[0]);
}

void DwgObject::color(int16_t index, int32_t trueColor) {
  data.bs(uint16_t(index));
  if (!m_save.since2004()) return;
  uint32_t method = index == 256 ? 0xC0000000u : index == 0 ? 0xC1000000u : 0xC3000000u | uint8_t(index);
  data.bl(trueColor >= 0 ? 0xC2000000u | uint32_t(trueColor & 0xFFFFFF) : method);
  data.rc(0);  // no colour name
}

// Before 2004 a colour index; from 2004 the index with a flag for the true
// colour that follows it.
void DwgObject::entityColor() {
  int16_t index = int16_t(r_.integer(62, 256));
  const FormGroup* rgb = m_save.since2004() ? r_.find(420) : nullptr;
  if (!rgb) {
    data.bs(uint16_t(index));
    return;
  }
  data.bs(uint16_t(0x8000 | (index & 0x1FF)));
  data.bl(0xC2000000u | uint32_t(rgb->integer() & 0xFFFFFF));
}

void DwgObject::entityCommon(const EntityLinks& links, const std::string& graphics) {
  bool r2000 = m_save.since2000(), r2004 = m_save.since2004();
  data.bit(!graphics.empty());
  if (!graphics.empty()) {
    data.rl(uint32_t(graphics.size()));
    data.raw(reinterpret_cast<const uint8_t*>(graphics.data()), graphics.size());
  }
  if (!r2000) sizePlaceholder();
  uint8_t mode = links.owner == m_save.modelSpace ? 2 : links.owner == m_save.paperSpace ? 1 : 0;
  data.bb(mode);
  std::string linetype = UpperName(r_.text(6, "BYLAYER"));
  uint8_t linetypeFlags = linetype == "BYLAYER" ? 0 : linetype == "BYBLOCK" ? 1
                        : linetype == "CONTINUOUS" ? 2 : 3;
  std::vector<uint64_t> reactors = r_.braceHandles("{ACAD_REACTORS");
  std::vector<uint64_t> dictionary = r_.braceHandles("{ACAD_XDICTIONARY");
  data.bl(uint32_t(reactors.size()));
  if (r2004) data.bit(dictionary.empty());
  if (!r2000) data.bit(linetypeFlags == 0);
  if (!r2004) data.bit(false);  // links written
  entityColor();
  data.bd(r_.real(48, 1));
  if (r2000) {
    data.bb(linetypeFlags);
    data.bb(0);  // plot style by layer
  }
  data.bs(uint16_t(r_.integer(60, 0)));
  if (r2000) data.rc(LineweightIndex(r_.integer(370, -1)));

  if (mode == 0) refs.handle(kSoftPointer, links.owner);
  for (uint64_t h : reactors) refs.handle(kSoftPointer, h);
  if (!dictionary.empty() || !r2004) refs.handle(kHardOwner, dictionary.empty() ? 0 : dictionary[0]);
  uint64_t layer = m_save.named(kTableLayer, r_.text(8, "0"));
  uint64_t linetypeHandle = 0;
  if (linetypeFlags == 3 || (!r2000 && linetypeFlags != 0)) {
    linetypeHandle = m_save.named(kTableLtype, linetype);
    if (linetypeHandle == 0) m_save.fail("找不到线型", r_.text(6));
  }
  if (!r2000) {
    refs.handle(kHardPointer, layer);
    if (linetypeFlags != 0) refs.handle(kHardPointer, linetypeHandle);
  }
  if (!r2004) {
    refs.handle(kSoftPointer, links.previous);
    refs.handle(kSoftPointer, links.next);
  }
  if (r2000) {
    refs.handle(kHardPointer, layer);
    if (linetypeFlags == 3) refs.handle(kHardPointer, linetypeHandle);
  }
}

void DwgObject::objectCommon(uint64_t owner) {
  if (!m_save.since2000()) sizePlaceholder();
  reactorsAndDictionary(owner, true);
}

void DwgObject::entryCommon(uint64_t control, const std::string& name) {
  objectCommon(control);
  long long flags = r_.integer(70, 0);
  data.tv(name);
  data.bit((flags & 64) != 0);
  data.bs(0);  // xref index + 1
  data.bit((flags & 16) != 0);
}

void DwgObject::finish() {
  // The bit size counts the data up to the handle stream.
  data.patchRl(m_sizeAt, uint32_t(data.bitSize()));
  data.append(refs);
  data.align();
  DwgBitWriter framed;
  framed.ms(uint32_t(data.bytes().size()));
  framed.raw(data.bytes().data(), data.bytes().size());
  uint16_t crc = DwgCrc16(framed.bytes().data(), framed.bytes().size(), 0xC0C1);
  framed.rs(crc);
  m_save.addObject(m_handle, framed.bytes());
}

}  // namespace zr
