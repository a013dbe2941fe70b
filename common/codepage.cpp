// Conversions between Windows-1252 and UTF-8.
#include "common/codepage.h"

namespace codepage {

// Windows-1252 bytes 0x80 to 0x9F as Unicode code points (0: unassigned).
constexpr unsigned short kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void put_utf8(std::string& out, unsigned cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace codepage

using namespace codepage;

std::string cp1252_to_utf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char ch : s) {
    unsigned c = static_cast<unsigned char>(ch);
    if (c >= 0x80 && c < 0xA0) {
      unsigned cp = kCp1252High[c - 0x80];
      put_utf8(out, cp != 0 ? cp : c);  // unassigned bytes keep their value, as Windows does
    } else {
      put_utf8(out, c);
    }
  }
  return out;
}

unsigned next_utf8_code_point(std::string_view s, std::size_t& i) {
  unsigned c = static_cast<unsigned char>(s[i]);
  std::size_t extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
  if (extra > 0 && i + extra < s.size()) {
    unsigned cp = c & (0x3Fu >> extra);
    bool ok = true;
    for (std::size_t k = 1; k <= extra; ++k) {
      unsigned b = static_cast<unsigned char>(s[i + k]);
      if ((b & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (b & 0x3F);
    }
    if (ok) {
      i += extra + 1;
      return cp;
    }
  }
  ++i;
  return c;
}

char code_point_to_cp1252(unsigned cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (unsigned k = 0; k < 32; ++k) {
    if (kCp1252High[k] == cp || (kCp1252High[k] == 0 && cp == 0x80 + k)) return static_cast<char>(0x80 + k);
  }
  return '?';  // no single-byte form
}

std::string utf8_to_cp1252(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size();) out.push_back(code_point_to_cp1252(next_utf8_code_point(s, i)));
  return out;
}
