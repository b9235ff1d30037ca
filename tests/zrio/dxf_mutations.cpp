#include "tests/zrio/dxf_mutations.h"

namespace zriotest {

namespace {

const char* const kValues[] = {"1e308",       "-1e308",  "nan",      "inf",    "",       "-1",
                               "99999999999", "SECTION", "ENDSEC",   "EOF",    "0",      "  0",
                               "BLOCK",       "INSERT",  "ENTITIES", "VERTEX", "SEQEND", "100000"};

}  // namespace

std::string Mutate(const std::string& base, Random& r) {
  std::string s = base;
  switch (r.below(7)) {
    case 0:  // truncated
      s.resize(r.below(s.size()));
      break;
    case 1:  // random bytes changed
      for (size_t n = 1 + r.below(16); n > 0 && !s.empty(); --n)
        s[r.below(s.size())] = char(r.next());
      break;
    case 2: {  // a line replaced with a troublesome value
      for (size_t n = 1 + r.below(6); n > 0; --n) {
        size_t at = s.find('\n', r.below(s.size()));
        if (at == std::string::npos) break;
        size_t end = s.find('\n', at + 1);
        if (end == std::string::npos) break;
        s.replace(at + 1, end - at - 1, kValues[r.below(sizeof(kValues) / sizeof(kValues[0]))]);
      }
      break;
    }
    case 3: {  // a chunk repeated elsewhere
      size_t from = r.below(s.size()), length = r.below(4000);
      std::string chunk = s.substr(from, length);
      s.insert(r.below(s.size()), chunk);
      break;
    }
    case 4: {  // a chunk removed
      size_t from = r.below(s.size());
      s.erase(from, r.below(2000));
      break;
    }
    case 5:  // zero bytes set and cleared: binary strings end early or run on
      for (size_t n = 1 + r.below(8); n > 0 && !s.empty(); --n) {
        char& c = s[r.below(s.size())];
        c = c == 0 ? char('A' + r.below(26)) : 0;
      }
      break;
    default:  // bytes of a binary header overwritten with large numbers
      for (size_t n = 1 + r.below(8); n > 0 && s.size() > 4; --n) {
        size_t at = r.below(s.size() - 4);
        s[at] = char(0xFF);
        s[at + 1] = char(0xFF);
        s[at + 2] = char(r.next());
        s[at + 3] = char(0x7F);
      }
  }
  return s;
}

}  // namespace zriotest
