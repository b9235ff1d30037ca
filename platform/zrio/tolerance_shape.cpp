#include "platform/zrio/win32.h"
#include "platform/zrio/tolerance_shape.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cmath>
#include <cstring>

#include "platform/zrio/dxf_reader.h"
#include "platform/zrio/text_measure.h"

namespace zr {

namespace {

const int kChordsPerCircle = 48;
const size_t kMaxRows = 64, kMaxFields = 64;

// A field's text in pieces: runs of plain text and symbols of the GDT font.
struct Piece {
  bool symbol = false;
  char c = 0;
  std::string text;
};

// Whether `text` has `word` (lower case) at `at`, in any case.
bool HasAt(const std::string& text, size_t at, const char* word) {
  for (size_t k = 0; word[k]; ++k)
    if (at + k >= text.size() || tolower(static_cast<unsigned char>(text[at + k])) != word[k]) return false;
  return true;
}

// Splits at a separator of lower-case letters and signs, in any case.
std::vector<std::string> Split(const std::string& text, const char* separator) {
  std::vector<std::string> parts;
  size_t start = 0, length = strlen(separator);
  for (;;) {
    size_t at = start;
    while (at + length <= text.size() && !HasAt(text, at, separator)) ++at;
    if (at + length > text.size()) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, at - start));
    start = at + length;
  }
}

// Reads the font switches of a field: "\Fgdt;" (or \f, any case) turns the
// characters after it into symbols until the group it stands in closes or
// another font is chosen.
std::vector<Piece> Pieces(const std::string& field) {
  std::vector<Piece> pieces;
  std::vector<bool> groups;
  bool gdt = false;
  for (size_t i = 0; i < field.size(); ++i) {
    char c = field[i];
    if (c == '{') {
      if (groups.size() < 16) groups.push_back(gdt);
      continue;
    }
    if (c == '}') {
      if (!groups.empty()) {
        gdt = groups.back();
        groups.pop_back();
      }
      continue;
    }
    if (c == '\\' && i + 1 < field.size() && (field[i + 1] == 'F' || field[i + 1] == 'f')) {
      size_t end = field.find(';', i);
      if (end == std::string::npos) end = field.size();
      gdt = HasAt(field.substr(i + 2, end - i - 2), 0, "gdt");
      i = end;
      continue;
    }
    if (gdt && c != ' ') {
      Piece p;
      p.symbol = true;
      p.c = char(tolower(static_cast<unsigned char>(c)));
      pieces.push_back(p);
    } else if (pieces.empty() || pieces.back().symbol) {
      Piece p;
      p.text = std::string(1, c);
      pieces.push_back(p);
    } else {
      pieces.back().text += c;
    }
  }
  return pieces;
}

void Box(double left, double right, double bottom, double top, std::vector<std::vector<Vec3>>* lines) {
  lines->push_back({Vec3(left, bottom, 0), Vec3(right, bottom, 0), Vec3(right, top, 0),
                    Vec3(left, top, 0), Vec3(left, bottom, 0)});
}

void Segment(const Vec3& c, double x0, double y0, double x1, double y1,
             std::vector<std::vector<Vec3>>* lines) {
  lines->push_back({c + Vec3(x0, y0, 0), c + Vec3(x1, y1, 0)});
}

// An arc about c + (cx, cy) from angle a0 to a1 (degrees).
void Arc(const Vec3& c, double cx, double cy, double r, double a0, double a1,
         std::vector<std::vector<Vec3>>* lines) {
  int chords = std::max(2, int(std::ceil(std::fabs(a1 - a0) / 360 * kChordsPerCircle)));
  std::vector<Vec3> arc;
  for (int k = 0; k <= chords; ++k) {
    double a = (a0 + (a1 - a0) * k / chords) * kPi / 180;
    arc.push_back(c + Vec3(cx + r * std::cos(a), cy + r * std::sin(a), 0));
  }
  lines->push_back(std::move(arc));
}

// An arrow from (x0, y0) to (x1, y1) with an open head a quarter of h long.
void Arrow(const Vec3& c, double x0, double y0, double x1, double y1, double h,
           std::vector<std::vector<Vec3>>* lines) {
  Segment(c, x0, y0, x1, y1, lines);
  double dx = x1 - x0, dy = y1 - y0, length = std::hypot(dx, dy);
  if (!(length > 0)) return;
  dx *= h / 4 / length;
  dy *= h / 4 / length;
  lines->push_back({c + Vec3(x1 - dx - dy / 2, y1 - dy + dx / 2, 0), c + Vec3(x1, y1, 0),
                    c + Vec3(x1 - dx + dy / 2, y1 - dy - dx / 2, 0)});
}

}  // namespace

bool ToleranceSymbol(char symbol, const Vec3& c, double h, std::vector<std::vector<Vec3>>* lines,
                     char* letter) {
  double r = h / 2;
  *letter = 0;
  switch (symbol) {
    case 'a':  // angularity
      lines->push_back({c + Vec3(r, -r, 0), c + Vec3(-r, -r, 0), c + Vec3(r, r * 0.6, 0)});
      return true;
    case 'b':  // perpendicularity
      Segment(c, -r, -r, r, -r, lines);
      Segment(c, 0, -r, 0, r, lines);
      return true;
    case 'c':  // flatness
      lines->push_back({c + Vec3(-r, -r / 2, 0), c + Vec3(r / 2, -r / 2, 0), c + Vec3(r, r / 2, 0),
                        c + Vec3(-r / 2, r / 2, 0), c + Vec3(-r, -r / 2, 0)});
      return true;
    case 'd':  // profile of a surface
      Arc(c, 0, -r / 2, r, 0, 180, lines);
      Segment(c, -r, -r / 2, r, -r / 2, lines);
      return true;
    case 'e':  // circularity
      Arc(c, 0, 0, r, 0, 360, lines);
      return true;
    case 'f':  // parallelism
      Segment(c, -r, -r, 0, r, lines);
      Segment(c, 0, -r, r, r, lines);
      return true;
    case 'g':  // cylindricity
      Arc(c, 0, 0, r * 0.6, 0, 360, lines);
      Segment(c, -r, -r, r / 3, r, lines);
      Segment(c, -r / 3, -r, r, r, lines);
      return true;
    case 'h':  // circular runout
      Arrow(c, -r, -r, r, r, h, lines);
      return true;
    case 'i':  // symmetry
      Segment(c, -r * 0.6, r * 0.6, r * 0.6, r * 0.6, lines);
      Segment(c, -r, 0, r, 0, lines);
      Segment(c, -r * 0.6, -r * 0.6, r * 0.6, -r * 0.6, lines);
      return true;
    case 'j':  // position
      Arc(c, 0, 0, r * 0.6, 0, 360, lines);
      Segment(c, -r, 0, r, 0, lines);
      Segment(c, 0, -r, 0, r, lines);
      return true;
    case 'k':  // profile of a line
      Arc(c, 0, -r / 2, r, 0, 180, lines);
      return true;
    case 'l': case 'm': case 'p': case 's':  // least and maximum material, projected zone, regardless of size
      Arc(c, 0, 0, r, 0, 360, lines);
      *letter = char(toupper(static_cast<unsigned char>(symbol)));
      return true;
    case 'n':  // diameter
      Arc(c, 0, 0, r * 0.7, 0, 360, lines);
      Segment(c, -r, -r, r, r, lines);
      return true;
    case 'r':  // concentricity
      Arc(c, 0, 0, r, 0, 360, lines);
      Arc(c, 0, 0, r / 2, 0, 360, lines);
      return true;
    case 't':  // total runout
      Arrow(c, -r, -r, 0, r, h, lines);
      Arrow(c, 0, -r, r, r, h, lines);
      Segment(c, -r, -r, 0, -r, lines);
      return true;
    case 'u':  // straightness
      Segment(c, -r, 0, r, 0, lines);
      return true;
  }
  return false;
}

bool LayoutTolerance(const std::string& text, double h, double gap, ToleranceShape* shape) {
  if (text.empty() || !(h > 0) || !std::isfinite(h)) return false;
  if (!(gap >= 0) || !std::isfinite(gap)) gap = h / 4;
  double row = h + 2 * gap;
  std::vector<std::string> rows = Split(text, "^j");
  for (size_t r = 0; r < rows.size() && r < kMaxRows; ++r) {
    double middle = -double(r) * row, bottom = middle - row / 2, top = middle + row / 2;
    double x = 0;
    std::vector<std::string> fields = Split(rows[r], "%%v");
    for (size_t f = 0; f < fields.size() && f < kMaxFields; ++f) {
      std::vector<Piece> pieces = Pieces(fields[f]);
      if (pieces.empty()) continue;
      bool square = pieces.size() == 1 && pieces[0].symbol;
      double width = 2 * gap;
      for (const Piece& p : pieces) width += p.symbol ? h : TextAdvance(p.text) * h;
      if (square) width = row;
      double at = square ? x + (row - h) / 2 : x + gap;
      for (const Piece& p : pieces) {
        if (!p.symbol) {
          shape->texts.push_back({p.text, Vec3(at, middle - h / 2, 0), h});
          at += TextAdvance(p.text) * h;
          continue;
        }
        char letter = 0;
        Vec3 centre(at + h / 2, middle, 0);
        if (ToleranceSymbol(p.c, centre, h, &shape->lines, &letter) && letter) {
          double size = h * 0.6;
          std::string name(1, letter);
          shape->texts.push_back({name, centre - Vec3(TextAdvance(name) * size / 2, size / 2, 0), size});
        }
        at += h;
      }
      Box(x, x + width, bottom, top, &shape->lines);
      x += width;
    }
  }
  return !shape->lines.empty() || !shape->texts.empty();
}

namespace {

// A dimension variable: of the named style when it sets it above 0, else
// the drawing's header value, else the fallback.
double DimensionValue(const Database& db, const std::string& style, int code, const char* variable,
                      double fallback) {
  for (const RawTable& table : db.otherTables) {
    if (table.name != "DIMSTYLE") continue;
    bool inStyle = false;
    for (const RawGroup& g : table.groups) {
      if (g.code == 0) inStyle = false;
      else if (g.code == 2) inStyle = UpperName(DecodeText(g.value, db)) == UpperName(style);
      else if (inStyle && g.code == code && atof(g.value.c_str()) > 0) return atof(g.value.c_str());
    }
  }
  for (const auto& entry : db.header)
    if (entry.first == variable && !entry.second.empty() && atof(entry.second[0].value.c_str()) > 0)
      return atof(entry.second[0].value.c_str());
  return fallback;
}

}  // namespace

bool ToleranceEntity(const Database& db, const RawGroups& raw, ToleranceShape* shape, Vec3* insertion,
                     Vec3* direction) {
  std::string text, style = "STANDARD";
  *direction = Vec3(1, 0, 0);
  for (const RawGroup& g : raw) {
    double v = atof(g.value.c_str());
    if (!std::isfinite(v)) v = 0;
    switch (g.code) {
      case 1: text = DecodeText(g.value, db); break;
      case 3: style = DecodeText(g.value, db); break;
      case 10: insertion->x = v; break;
      case 20: insertion->y = v; break;
      case 30: insertion->z = v; break;
      case 11: direction->x = v; break;
      case 21: direction->y = v; break;
      case 31: direction->z = v; break;
    }
  }
  *direction = direction->length() > 1e-12 ? direction->normalized() : Vec3(1, 0, 0);
  double scale = DimensionValue(db, style, 40, "$DIMSCALE", 1);
  if (!(scale > 0) || !std::isfinite(scale)) scale = 1;
  double height = DimensionValue(db, style, 140, "$DIMTXT", 2.5) * scale;
  double gap = std::fabs(DimensionValue(db, style, 147, "$DIMGAP", 0.625)) * scale;
  return LayoutTolerance(text, height, gap, shape);
}

}  // namespace zr
