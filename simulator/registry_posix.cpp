// Registry values on Linux: Wine's own registry files of the prefix.
//
// HKEY_CURRENT_USER is $WINEPREFIX/user.reg; HKEY_CLASSES_ROOT is the
// Software\Classes branch of $WINEPREFIX/system.reg. A key section starts with
// a line "[Key\\Path] <time>"; its values follow as "name"=data lines, "@" for
// the default value. Key and value names compare without regard to case (and
// to a trailing backslash of the key); lines starting with "#" or ";" are
// skipped. Texts are Wine's escaped form: "\\", "\"", control escapes, "\x"
// with up to four hexadecimal digits for one UTF-16 unit, octal digits; any
// other byte is UTF-8. String values come back in the program's single-byte
// code page (Windows-1252), as the "A" registry calls give them.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "common/codepage.h"
#include "common/platform_posix.h"
#include "common/trace.h"
#include "simulator/install_dir.h"

namespace registry {

using U16 = std::u16string;

// One UTF-16 unit in the program's single-byte code page; "?" when the code
// page lacks it (a lone surrogate included), as the system's conversion does.
static char to_cp1252(char16_t u) {
  if (u >= 0xD800 && u <= 0xDFFF) return '?';
  return code_point_to_cp1252(u);
}

static char16_t fold(char16_t u) { return (u >= 'a' && u <= 'z') ? static_cast<char16_t>(u - 'a' + 'A') : u; }

static bool same_name(const U16& a, const U16& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (fold(a[i]) != fold(b[i])) return false;
  return true;
}

static int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Appends the UTF-16 units of the UTF-8 sequence at s[i], advancing i; a byte
// that starts no valid sequence stands for itself.
static void put_utf8(std::string_view s, std::size_t& i, U16& out) {
  std::uint32_t cp = next_utf8_code_point(s, i);
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  } else {
    out.push_back(static_cast<char16_t>(cp));
  }
}

// Decodes an escaped text from s[i] up to (not including) the character
// `end`, or to the end of s when `end` is 0. Returns the position after the
// closing character, or npos when it is missing.
static std::size_t unescape(std::string_view s, std::size_t i, char end, U16& out) {
  while (i < s.size()) {
    char c = s[i];
    if (end != 0 && c == end) return i + 1;
    if (c != '\\' || i + 1 >= s.size()) {
      if (static_cast<unsigned char>(c) >= 0x80) put_utf8(s, i, out);
      else {
        out.push_back(static_cast<unsigned char>(c));
        ++i;
      }
      continue;
    }
    char e = s[i + 1];
    i += 2;
    switch (e) {
      case 'a': out.push_back(7); break;
      case 'b': out.push_back(8); break;
      case 'e': out.push_back(27); break;
      case 'f': out.push_back(12); break;
      case 'n': out.push_back(10); break;
      case 'r': out.push_back(13); break;
      case 't': out.push_back(9); break;
      case 'v': out.push_back(11); break;
      case 'x': {
        unsigned v = 0;
        int digits = 0;
        while (digits < 4 && i < s.size() && hex_digit(s[i]) >= 0) {
          v = v * 16 + static_cast<unsigned>(hex_digit(s[i]));
          ++i;
          ++digits;
        }
        out.push_back(digits ? static_cast<char16_t>(v) : u'x');
        break;
      }
      default:
        if (e >= '0' && e <= '7') {
          unsigned v = static_cast<unsigned>(e - '0');
          for (int k = 0; k < 2 && i < s.size() && s[i] >= '0' && s[i] <= '7'; ++k, ++i) v = v * 8 + static_cast<unsigned>(s[i] - '0');
          out.push_back(static_cast<char16_t>(v));
        } else {
          out.push_back(static_cast<unsigned char>(e));  // "\\", "\"" and the like
        }
    }
  }
  return end == 0 ? i : std::string_view::npos;
}

static U16 widen(std::string_view s) {
  U16 out;
  for (char c : s) out.push_back(static_cast<unsigned char>(c));
  return out;
}

// A key path for comparison: without trailing backslashes.
static U16 key_path(U16 k) {
  while (!k.empty() && k.back() == u'\\') k.pop_back();
  return k;
}

// The data of a value line, after the "=": the bytes that the "A" query
// gives. Returns false when the line's form is not understood.
static bool decode_data(std::string_view d, std::vector<char>& bytes) {
  auto string_bytes = [&](const U16& text) {
    for (char16_t u : text) bytes.push_back(to_cp1252(u));
  };
  if (!d.empty() && d[0] == '"') {
    U16 text;
    if (unescape(d, 1, '"', text) == std::string_view::npos) return false;
    string_bytes(text);
    bytes.push_back('\0');
    return true;
  }
  if (d.rfind("str(", 0) == 0) {
    std::size_t colon = d.find("):\"");
    if (colon == std::string_view::npos) return false;
    U16 text;
    if (unescape(d, colon + 3, '"', text) == std::string_view::npos) return false;
    string_bytes(text);  // a multi-string keeps its inner zeros
    bytes.push_back('\0');
    return true;
  }
  if (d.rfind("dword:", 0) == 0) {
    unsigned long v = std::strtoul(std::string(d.substr(6)).c_str(), nullptr, 16);
    for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<char>((v >> (8 * k)) & 0xFF));
    return true;
  }
  if (d.rfind("hex", 0) == 0) {
    int type = 3;  // binary
    std::size_t colon = d.find(':');
    if (colon == std::string_view::npos) return false;
    if (d.size() > 3 && d[3] == '(') type = static_cast<int>(std::strtol(std::string(d.substr(4)).c_str(), nullptr, 16));
    std::vector<unsigned char> raw;
    for (std::size_t i = colon + 1; i < d.size();) {
      if (hex_digit(d[i]) >= 0 && i + 1 < d.size() && hex_digit(d[i + 1]) >= 0) {
        raw.push_back(static_cast<unsigned char>(hex_digit(d[i]) * 16 + hex_digit(d[i + 1])));
        i += 2;
      } else {
        ++i;
      }
    }
    if (type == 1 || type == 2 || type == 7) {  // UTF-16 text held as bytes
      U16 text;
      for (std::size_t i = 0; i + 1 < raw.size(); i += 2) text.push_back(static_cast<char16_t>(raw[i] | (raw[i + 1] << 8)));
      for (char16_t u : text) bytes.push_back(to_cp1252(u));
    } else {
      for (unsigned char b : raw) bytes.push_back(static_cast<char>(b));
    }
    return true;
  }
  return false;
}

// Reads the whole registry file; 0, or the status a registry call gives when
// its store cannot be read (missing: not found; unreadable: access denied).
static int read_file(const std::string& path, std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return errno == ENOENT || errno == ENOTDIR ? reg_not_found : reg_access_denied;
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  bool failed = std::ferror(f) != 0;
  std::fclose(f);
  return failed ? reg_access_denied : reg_ok;
}

// The logical lines of the file: a line ending with "\" (Wine's wrapping of
// long hexadecimal data) continues on the next one.
static std::vector<std::string_view> lines_of(const std::string& text) {
  std::vector<std::string_view> lines;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t j = text.find('\n', i);
    if (j == std::string::npos) j = text.size();
    std::string_view l(text.data() + i, j - i);
    if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
    lines.push_back(l);
    i = j + 1;
  }
  return lines;
}

}  // namespace registry

int RdUsrReg(const char* subkey, const char* name, RegValue& outval, int& len) {
  using namespace registry;
  trace("Subkey,name :", subkey, name);
  bool classes = len < 0;
  std::string file = platform_posix::wine_prefix() + (classes ? "/system.reg" : "/user.reg");
  U16 wanted = key_path(widen(subkey ? subkey : ""));
  if (classes) wanted = u"Software\\Classes\\" + wanted;
  U16 wanted_name = widen(name ? name : "");

  std::string text;
  int status = read_file(file, text);
  // The key opens when the file holds its section.
  std::vector<std::string_view> lines;
  std::size_t at = 0;
  bool key_found = false;
  if (status == reg_ok) {
    lines = lines_of(text);
    for (; at < lines.size(); ++at) {
      std::string_view l = lines[at];
      if (l.empty() || l[0] != '[') continue;
      U16 k;
      if (unescape(l, 1, ']', k) == std::string_view::npos) continue;
      if (same_name(key_path(k), wanted)) {
        key_found = true;
        break;
      }
    }
    if (!key_found) status = reg_not_found;
  }
  trace("USER Open Status :", status);
  if (status != reg_ok) return status;

  // The value among the lines of that section.
  int query = reg_not_found;
  std::vector<char> bytes;
  for (std::size_t i = at + 1; i < lines.size(); ++i) {
    std::string l(lines[i]);
    if (!l.empty() && l[0] == '[') break;
    if (l.empty() || l[0] == '#' || l[0] == ';') continue;
    while (!l.empty() && l.back() == '\\' && i + 1 < lines.size()) {
      l.pop_back();
      l += std::string(lines[++i]);
    }
    U16 vname;
    std::size_t eq;
    if (l[0] == '@') {
      eq = 1;
    } else if (l[0] == '"') {
      eq = unescape(l, 1, '"', vname);
      if (eq == std::string_view::npos) continue;
    } else {
      continue;
    }
    if (eq >= l.size() || l[eq] != '=') continue;
    if (!same_name(vname, wanted_name)) continue;
    bytes.clear();
    if (!decode_data(std::string_view(l).substr(eq + 1), bytes)) continue;
    query = static_cast<int>(bytes.size()) > reg_value_size ? reg_more_data : reg_ok;
    break;
  }
  trace("Query Status, Length :", query, static_cast<int>(bytes.size()));
  if (query == reg_ok) {
    for (std::size_t i = 0; i < bytes.size(); ++i) outval[i] = bytes[i];
    outval[bytes.size()] = '\0';
    trace("value :", outval.data());
    len = static_cast<int>(bytes.size());
  }
  trace("Status :", 0);
  // A key without the value is a failed read, not a success with an empty
  // buffer: the query's status comes first.
  return query;
}
