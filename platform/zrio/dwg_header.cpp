// The header variables section of a DWG save: every variable of the
// version, in its order, from the drawing's DXF header where it has the
// variable and AutoCAD's defaults where not.
#include "platform/zrio/win32.h"

#include "platform/zrio/dwg_encoders.h"
#include "platform/zrio/dwg_sections.h"
#include "platform/zrio/dxf_model.h"

namespace zr {

namespace {

class HeaderSource {
 public:
  HeaderSource(const DwgSave& save, const HeaderVariables& variables)
      : m_save(save), v_(variables) {}

  const FormGroup* group(const char* name, int code) const {
    auto it = v_.find(name);
    if (it == v_.end()) return nullptr;
    for (const FormGroup& g : it->second)
      if (g.code == code) return &g;
    return nullptr;
  }
  double real(const char* name, double fallback, int code = 40) const {
    const FormGroup* g = group(name, code);
    return g ? g->real() : fallback;
  }
  long long integer(const char* name, long long fallback, int code = 70) const {
    const FormGroup* g = group(name, code);
    return g ? g->integer() : fallback;
  }
  std::string text(const char* name, const char* fallback, int code) const {
    const FormGroup* g = group(name, code);
    return g ? g->text : std::string(fallback);
  }
  Vec3 point(const char* name, const Vec3& fallback) const {
    if (!group(name, 10)) return fallback;
    return Vec3(real(name, 0, 10), real(name, 0, 20), real(name, 0, 30));
  }

  const DwgSave& m_save;
  const HeaderVariables& v_;
};

class HeaderWriter {
 public:
  HeaderWriter(const DwgSave& save, const HeaderVariables& variables)
      : s_(save, variables), m_save(save), m_r2000(save.since2000()), m_r2004(save.since2004()) {}

  std::vector<uint8_t> run() {
    opening();
    switches();
    numbers();
    tablesAndDates();
    spaces();
    dimensions();
    closing();
    w_.align();
    return FramedSection(kHeaderSentinel, w_.bytes());
  }

 private:
  void b(const char* name, bool fallback) { w_.bit(s_.integer(name, fallback) != 0); }
  void bs(const char* name, int fallback, int code = 70) { w_.bs(uint16_t(s_.integer(name, fallback, code))); }
  void rc(const char* name, int fallback) { w_.rc(uint8_t(s_.integer(name, fallback))); }
  void bd(const char* name, double fallback, int code = 40) { w_.bd(s_.real(name, fallback, code)); }
  void point3(const char* name, const Vec3& fallback = Vec3()) {
    Vec3 p = s_.point(name, fallback);
    w_.bd3(p.x, p.y, p.z);
  }
  void point2(const char* name, const Vec3& fallback = Vec3()) {
    Vec3 p = s_.point(name, fallback);
    w_.rd2(p.x, p.y);
  }
  void tv(const char* name, int code) { w_.tv(m_save.encode(s_.text(name, "", code))); }
  void named(DwgTable table, const char* name, const char* fallback, int code) {
    w_.handle(kHardPointer, m_save.named(table, s_.text(name, fallback, code)));
  }
  void date() {
    w_.bl(2451545);
    w_.bl(0);
  }
  // A colour: an index, and from 2004 its value and name too.
  void cmc(const char* name, int fallback, int code = 70) {
    int16_t index = int16_t(s_.integer(name, fallback, code));
    w_.bs(uint16_t(index));
    if (!m_r2004) return;
    uint32_t method = index == 256 ? 0xC0000000u : index == 0 ? 0xC1000000u : 0xC3000000u | uint8_t(index);
    w_.bl(method);
    w_.rc(0);
  }
  // Values 2004 keeps whose meaning is not known: three longs, zero.
  void unknownLongs() {
    if (!m_r2004) return;
    for (int i = 0; i < 3; ++i) w_.bl(0);
  }

  void opening() {
    w_.bd(412148564080.0);
    w_.bd(1);
    w_.bd(1);
    w_.bd(1);
    for (int i = 0; i < 4; ++i) w_.tv("");
    w_.bl(24);
    w_.bl(0);
    if (!m_r2000) w_.bs(0);
    if (!m_r2004) w_.handle(kHardPointer, 0);  // current viewport entity header
  }

  void switches() {
    b("$DIMASO", true);
    b("$DIMSHO", true);
    if (!m_r2000) b("$DIMSAV", false);
    b("$PLINEGEN", false);
    b("$ORTHOMODE", false);
    b("$REGENMODE", true);
    b("$FILLMODE", true);
    b("$QTEXTMODE", false);
    b("$PSLTSCALE", true);
    b("$LIMCHECK", false);
    if (!m_r2000) b("$BLIPMODE", false);
    if (m_r2004) w_.bit(false);  // a switch 2004 adds, not known
    b("$USRTIMER", true);
    b("$SKPOLY", false);
    b("$ANGDIR", false);
    b("$SPLFRAME", false);
    if (!m_r2000) {
      b("$ATTREQ", true);
      b("$ATTDIA", false);
    }
    b("$MIRRTEXT", false);
    b("$WORLDVIEW", true);
    if (!m_r2000) b("$WIREFRAME", false);
    b("$TILEMODE", true);
    b("$PLIMCHECK", false);
    b("$VISRETAIN", true);
    if (!m_r2000) b("$DELOBJ", true);
    b("$DISPSILH", false);
    w_.bit(false);  // PELLIPSE
  }

  void numbers() {
    bs("$PROXYGRAPHICS", 1);
    if (!m_r2000) bs("$DRAGMODE", 2);
    bs("$TREEDEPTH", 3020);
    bs("$LUNITS", 2);
    bs("$LUPREC", 4);
    bs("$AUNITS", 0);
    bs("$AUPREC", 0);
    if (!m_r2000) bs("$OSMODE", 0);
    bs("$ATTMODE", 1);
    if (!m_r2000) bs("$COORDS", 1);
    bs("$PDMODE", 0);
    if (!m_r2000) bs("$PICKSTYLE", 1);
    unknownLongs();
    for (const char* name : {"$USERI1", "$USERI2", "$USERI3", "$USERI4", "$USERI5"}) bs(name, 0);
    bs("$SPLINESEGS", 8);
    bs("$SURFU", 6);
    bs("$SURFV", 6);
    bs("$SURFTYPE", 6);
    bs("$SURFTAB1", 6);
    bs("$SURFTAB2", 6);
    bs("$SPLINETYPE", 6);
    bs("$SHADEDGE", 3);
    bs("$SHADEDIF", 70);
    bs("$UNITMODE", 0);
    bs("$MAXACTVP", 64);
    bs("$ISOLINES", 4);
    bs("$CMLJUST", 0);
    bs("$TEXTQLTY", 50);
    bd("$LTSCALE", 1);
    bd("$TEXTSIZE", 0.2);
    bd("$TRACEWID", 0.05);
    bd("$SKETCHINC", 0.1);
    bd("$FILLETRAD", 0);
    bd("$THICKNESS", 0);
    bd("$ANGBASE", 0, 50);
    bd("$PDSIZE", 0);
    bd("$PLINEWID", 0);
    for (const char* name : {"$USERR1", "$USERR2", "$USERR3", "$USERR4", "$USERR5"}) bd(name, 0);
    bd("$CHAMFERA", 0);
    bd("$CHAMFERB", 0);
    bd("$CHAMFERC", 0);
    bd("$CHAMFERD", 0);
    bd("$FACETRES", 0.5);
    bd("$CMLSCALE", 1);
    bd("$CELTSCALE", 1);
    tv("$MENU", 1);
  }

  void tablesAndDates() {
    date();  // TDCREATE
    date();  // TDUPDATE
    unknownLongs();
    date();  // TDINDWG
    date();  // TDUSRTIMER
    cmc("$CECOLOR", 256, 62);
    w_.handle(0, m_save.handSeed);
    named(kTableLayer, "$CLAYER", "0", 8);
    named(kTableStyle, "$TEXTSTYLE", "Standard", 7);
    std::string linetype = UpperName(s_.text("$CELTYPE", "ByLayer", 6));
    w_.handle(kHardPointer, linetype == "BYLAYER" ? m_save.byLayer : linetype == "BYBLOCK" ? m_save.byBlock
                                                                  : m_save.named(kTableLtype, linetype));
    named(kTableDimStyle, "$DIMSTYLE", "Standard", 2);
    w_.handle(kHardPointer, 0);  // current multiline style
    if (m_r2000) bd("$PSVPSCALE", 0);
  }

  void ucs(const char* prefix) {
    std::string p(prefix);
    point3((p + "UCSORG").c_str());
    point3((p + "UCSXDIR").c_str(), Vec3(1, 0, 0));
    point3((p + "UCSYDIR").c_str(), Vec3(0, 1, 0));
    w_.handle(kHardPointer, 0);  // UCSNAME
    if (!m_r2000) return;
    w_.handle(kHardPointer, 0);  // UCSORTHOREF
    w_.bs(0);                    // UCSORTHOVIEW
    w_.handle(kHardPointer, 0);  // UCSBASE
    for (int i = 0; i < 6; ++i) w_.bd3(0, 0, 0);  // origins of the orthographic UCSs
  }

  void spaces() {
    point3("$PINSBASE");
    point3("$PEXTMIN", Vec3(1e20, 1e20, 1e20));
    point3("$PEXTMAX", Vec3(-1e20, -1e20, -1e20));
    point2("$PLIMMIN");
    point2("$PLIMMAX", Vec3(12, 9));
    bd("$PELEVATION", 0);
    ucs("$P");
    point3("$INSBASE");
    point3("$EXTMIN");
    point3("$EXTMAX");
    point2("$LIMMIN");
    point2("$LIMMAX", Vec3(12, 9));
    bd("$ELEVATION", 0);
    ucs("$");
  }

  void dimensions() {
    if (m_r2000) {
      tv("$DIMPOST", 1);
      tv("$DIMAPOST", 1);
      dimensions2000();
    } else {
      dimensionsR14();
    }
  }

  // DIMSCALE to DIMTM, in the same order in both versions.
  void dimensionSizes() {
    const std::pair<const char*, double> sizes[] = {
        {"$DIMSCALE", 1},   {"$DIMASZ", 0.18}, {"$DIMEXO", 0.0625}, {"$DIMDLI", 0.38}, {"$DIMEXE", 0.18},
        {"$DIMRND", 0},     {"$DIMDLE", 0},    {"$DIMTP", 0},       {"$DIMTM", 0}};
    for (const auto& size : sizes) bd(size.first, size.second);
  }

  // DIMTXT to DIMGAP, in the same order in both versions.
  void dimensionTextSizes() {
    const std::pair<const char*, double> sizes[] = {
        {"$DIMTXT", 0.18}, {"$DIMCEN", 0.09}, {"$DIMTSZ", 0}, {"$DIMALTF", 25.4},
        {"$DIMLFAC", 1},   {"$DIMTVP", 0},    {"$DIMTFAC", 1}, {"$DIMGAP", 0.09}};
    for (const auto& size : sizes) bd(size.first, size.second);
  }

  void dimensions2000() {
    dimensionSizes();
    b("$DIMTOL", false);
    b("$DIMLIM", false);
    b("$DIMTIH", true);
    b("$DIMTOH", true);
    b("$DIMSE1", false);
    b("$DIMSE2", false);
    bs("$DIMTAD", 0);
    bs("$DIMZIN", 0);
    bs("$DIMAZIN", 0);
    dimensionTextSizes();
    bd("$DIMALTRND", 0);
    b("$DIMALT", false);
    bs("$DIMALTD", 2);
    b("$DIMTOFL", false);
    b("$DIMSAH", false);
    b("$DIMTIX", false);
    b("$DIMSOXD", false);
    cmc("$DIMCLRD", 0);
    cmc("$DIMCLRE", 0);
    cmc("$DIMCLRT", 0);
    bs("$DIMADEC", 0);
    bs("$DIMDEC", 4);
    bs("$DIMTDEC", 4);
    bs("$DIMALTU", 2);
    bs("$DIMALTTD", 2);
    bs("$DIMAUNIT", 0);
    bs("$DIMFRAC", 0);
    bs("$DIMLUNIT", 2);
    bs("$DIMDSEP", '.');
    bs("$DIMTMOVE", 0);
    bs("$DIMJUST", 0);
    b("$DIMSD1", false);
    b("$DIMSD2", false);
    bs("$DIMTOLJ", 1);
    bs("$DIMTZIN", 0);
    bs("$DIMALTZ", 0);
    bs("$DIMALTTZ", 0);
    b("$DIMUPT", false);
    bs("$DIMATFIT", 3);
    named(kTableStyle, "$DIMTXSTY", "Standard", 7);
    for (int i = 0; i < 4; ++i) w_.handle(kHardPointer, 0);  // DIMLDRBLK, DIMBLK, DIMBLK1, DIMBLK2
    bs("$DIMLWD", -2);
    bs("$DIMLWE", -2);
  }

  void dimensionsR14() {
    for (const char* name : {"$DIMTOL", "$DIMLIM"}) b(name, false);
    b("$DIMTIH", true);
    b("$DIMTOH", true);
    for (const char* name : {"$DIMSE1", "$DIMSE2", "$DIMALT", "$DIMTOFL", "$DIMSAH", "$DIMTIX",
                             "$DIMSOXD"})
      b(name, false);
    rc("$DIMALTD", 2);
    rc("$DIMZIN", 0);
    b("$DIMSD1", false);
    b("$DIMSD2", false);
    rc("$DIMTOLJ", 1);
    rc("$DIMJUST", 0);
    rc("$DIMFIT", 3);
    b("$DIMUPT", false);
    rc("$DIMTZIN", 0);
    rc("$DIMALTZ", 0);
    rc("$DIMALTTZ", 0);
    rc("$DIMTAD", 0);
    bs("$DIMUNIT", 2);
    bs("$DIMAUNIT", 0);
    bs("$DIMDEC", 4);
    bs("$DIMTDEC", 4);
    bs("$DIMALTU", 2);
    bs("$DIMALTTD", 2);
    named(kTableStyle, "$DIMTXSTY", "Standard", 7);
    dimensionSizes();
    dimensionTextSizes();
    tv("$DIMPOST", 1);
    tv("$DIMAPOST", 1);
    tv("$DIMBLK", 1);
    tv("$DIMBLK1", 1);
    tv("$DIMBLK2", 1);
    bs("$DIMCLRD", 0);
    bs("$DIMCLRE", 0);
    bs("$DIMCLRT", 0);
  }

  void closing() {
    // 2004 has no viewport entity header table.
    int tables = m_r2004 ? kTableVpEntHdr : kTableCount;
    for (int t = 0; t < tables; ++t) w_.handle(kHardOwner, m_save.controls[t]);
    w_.handle(kHardPointer, m_save.groupDictionary);
    w_.handle(kHardPointer, m_save.mlineStyleDictionary);
    w_.handle(kHardPointer, m_save.namedObjects);
    if (m_r2000) {
      bs("$TSTACKALIGN", 1);
      bs("$TSTACKSIZE", 70);
      tv("$HYPERLINKBASE", 1);
      tv("$STYLESHEET", 1);
      w_.handle(kHardPointer, m_save.layoutDictionary);
      w_.handle(kHardPointer, m_save.plotSettingsDictionary);
      w_.handle(kHardPointer, m_save.plotStyleDictionary);
      if (m_r2004) {
        w_.handle(kHardPointer, m_save.materialDictionary);
        w_.handle(kHardPointer, m_save.colorDictionary);
      }
      uint32_t flags = LineweightIndex(s_.integer("$CELWEIGHT", -1, 370)) & 0x1F;
      if (!s_.integer("$LWDISPLAY", 0, 290)) flags |= 0x200;
      if (!s_.integer("$XEDIT", 1, 290)) flags |= 0x400;
      if (s_.integer("$EXTNAMES", 1, 290)) flags |= 0x800;
      if (s_.integer("$PSTYLEMODE", 1, 290)) flags |= 0x2000;
      w_.bl(flags);
      bs("$INSUNITS", 0);
      w_.bs(0);  // plot style by layer
      tv("$FINGERPRINTGUID", 2);
      tv("$VERSIONGUID", 2);
    }
    if (m_r2004) {
      const std::pair<const char*, int> bytes[] = {{"$SORTENTS", 127}, {"$INDEXCTL", 0}, {"$HIDETEXT", 1},
                                                   {"$XCLIPFRAME", 0}, {"$DIMASSOC", 2}, {"$HALOGAP", 0}};
      for (const auto& v : bytes) w_.rc(uint8_t(s_.integer(v.first, v.second, 280)));
      bs("$OBSCOLOR", 257);
      bs("$INTERSECTIONCOLOR", 257);
      w_.rc(uint8_t(s_.integer("$OBSLTYPE", 0, 280)));
      w_.rc(uint8_t(s_.integer("$INTERSECTIONDISPLAY", 0, 280)));
      tv("$PROJECTNAME", 1);
    }
    w_.handle(kSoftPointer, m_save.paperSpace);
    w_.handle(kSoftPointer, m_save.modelSpace);
    w_.handle(kSoftPointer, m_save.byLayer);
    w_.handle(kSoftPointer, m_save.byBlock);
    w_.handle(kSoftPointer, m_save.continuous);
  }

  HeaderSource s_;
  const DwgSave& m_save;
  bool m_r2000, m_r2004;
  DwgBitWriter w_;
};

}  // namespace

std::vector<uint8_t> HeaderSection(const DwgSave& save, const HeaderVariables& variables) {
  return HeaderWriter(save, variables).run();
}

}  // namespace zr
