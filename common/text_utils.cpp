// Small routines on blank-padded fixed-length texts.
#include "common/text_utils.h"

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "common/convert.h"
#include "common/trace.h"

namespace text_utils {

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Removes one enclosing pair of quote characters q. A text made of a single
// q counts as both ends and becomes blank.
void remove_enclosing(FieldRef buff, char q) {
  int l = buff.len_trim();
  if (l < 1 || buff[0] != q || buff[l - 1] != q) return;
  std::string inner = l >= 2 ? std::string(buff.view().substr(1, static_cast<std::size_t>(l - 2))) : std::string();
  buff = inner;
}

// NUL characters shown as "^@", so a trace line stays one line.
std::string visible(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == '\0')
      out += "^@";
    else
      out.push_back(c);
  }
  return out;
}

std::mt19937& generator() {
  static std::mt19937 gen{std::random_device{}()};
  return gen;
}

std::string fmt(long long v, std::string_view format) { return fortran_format(static_cast<double>(v), format); }

}  // namespace text_utils

void majusc(FieldRef strng) {
  int l = strng.len_trim();
  for (int i = 0; i < l; ++i) strng[i] = text_utils::upper(strng[i]);
}

void minusc(FieldRef strng) {
  int l = strng.len_trim();
  for (int i = 0; i < l; ++i) strng[i] = text_utils::lower(strng[i]);
}

bool case_blind_compare(std::string_view s1, std::string_view s2) {
  int l1 = len_trim(s1), l2 = len_trim(s2);
  if (l1 != l2) return false;
  for (int i = 0; i < l1; ++i) {
    if (text_utils::upper(s1[static_cast<std::size_t>(i)]) != text_utils::upper(s2[static_cast<std::size_t>(i)]))
      return false;
  }
  return true;
}

void make_printable(FieldRef str) {
  for (int i = 0; i < str.size(); ++i) {
    if (str[i] == '\n') str[i] = '/';
  }
}

void remove_quotes(FieldRef buff) { text_utils::remove_enclosing(buff, '"'); }

void remove_simple_quotes(FieldRef buff) { text_utils::remove_enclosing(buff, '\''); }

bool is_num(std::string_view str) {
  std::string_view t = trim_right(str);
  if (t.empty()) return false;
  for (char c : t) {
    if (!((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E')) return false;
  }
  return true;
}

bool is_uint(std::string_view str) {
  std::string_view t = trim_right(str);
  if (t.empty()) return false;
  for (char c : t) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

void subs_comma(FieldRef ligne) {
  int l = ligne.len_trim();
  for (int i = 0; i < l; ++i) {
    if (ligne[i] == ',') ligne[i] = ';';
  }
}

void subs_dot_comma(FieldRef ligne) {
  int l = ligne.len_trim();
  for (int i = 0; i < l; ++i) {
    if (ligne[i] == ',')
      ligne[i] = ';';
    else if (ligne[i] == '.')
      ligne[i] = ',';
  }
}

void from_frcsv(FieldRef ligne) {
  int l = ligne.len_trim();
  for (int i = 0; i < l; ++i) {
    if (ligne[i] == ',')
      ligne[i] = '.';
    else if (ligne[i] == ';')
      ligne[i] = ',';
  }
}

void to_frcsv(FieldRef ligne) {
  int l = ligne.len_trim();
  int start = 0;
  for (int i = 0; i <= l; ++i) {
    if (i < l && ligne[i] != ',') continue;
    // A numeric field holds no quotes, so its points are never quoted text.
    if (is_num(std::string_view(ligne.data() + start, static_cast<std::size_t>(i - start)))) {
      for (int j = start; j < i; ++j) {
        if (ligne[j] == '.') ligne[j] = ',';
      }
    }
    if (i < l) ligne[i] = ';';
    start = i + 1;
  }
  trace("to_frcsv:", ligne);
}

void remove_trail_0(FieldRef buff) {
  std::size_t p = buff.view().find('\0');
  if (p == std::string_view::npos) return;
  for (int i = static_cast<int>(p); i < buff.size(); ++i) buff[i] = ' ';
}

void remove_0(FieldRef buff) {
  trace("remove_0:", buff.len_trim(), text_utils::visible(buff.trimmed()));
  int n = buff.size();
  for (;;) {
    std::size_t found = buff.view().find('\0');
    if (found == std::string_view::npos) break;
    int p = static_cast<int>(found);
    if (p < buff.len_trim() - 1) {
      // Before the last character: cut it out, a blank enters at the end.
      std::memmove(buff.data() + p, buff.data() + p + 1, static_cast<std::size_t>(n - p - 1));
      buff[n - 1] = ' ';
    } else {
      for (int i = p; i < n; ++i) buff[i] = ' ';
    }
  }
}

void quote_spaces(FieldRef strng) {
  trace("quote_spaces:", strng);
  std::string t = strng.str();
  if (t.find(' ') != std::string::npos) strng = "\"" + t + "\"";
  trace("quote_spaces:", strng);
}

void numver_to_char(int numver, FieldRef cc1, int& lc1) {
  using text_utils::fmt;
  std::string s = fmt(numver / 1000, "(I2)") + "." + fmt((numver % 1000) / 100, "(I1)") + "." +
                  fmt((numver % 100) / 10, "(I1)") + "." + fmt(numver % 10, "(I1)");
  cc1 = trim_left(s);
  lc1 = cc1.len_trim();
}

void to_hms(double secs, FieldRef ccc) {
  using text_utils::fmt;
  long long s = truncate_toward_zero(secs);
  long long hundredths = truncate_toward_zero((secs - static_cast<double>(s)) * 100.0);
  std::string t = fmt(s / 3600, "(I2)") + ":" + fmt((s % 3600) / 60, "(I2.2)") + ":" + fmt(s % 60, "(I2.2)");
  if (hundredths >= 1 && ccc.size() >= 11) t += "." + fmt(hundredths, "(I2.2)");
  ccc = t;
}

void to_hms_c(double secs, FieldRef ccc) {
  // The short form needs 8 characters; the rest of the field is blank.
  int n = ccc.size() < 8 ? ccc.size() : 8;
  ccc.blank();
  to_hms(secs, FieldRef(ccc.data(), n));
}

int hms2sec(std::string_view cc1) {
  std::string_view c = cc1.substr(0, cc1.size() < 16 ? cc1.size() : 16);
  int hours = 0, minutes = 0, seconds = 0;
  // Only the last read decides: a missing hour or minute counts as 0.
  std::size_t p = c.find(':');
  read_int(p == std::string_view::npos ? std::string_view() : c.substr(0, p), hours);
  if (p != std::string_view::npos) c = c.substr(p + 1);
  p = c.find(':');
  read_int(p == std::string_view::npos ? std::string_view() : c.substr(0, p), minutes);
  if (p != std::string_view::npos) c = c.substr(p + 1);
  if (!read_int(c, seconds)) return -999;
  long long total = 3600LL * hours + 60LL * minutes + seconds;
  if (total > 2147483647LL || total < -2147483647LL) return -999;  // not a time an int holds
  return static_cast<int>(total);
}

void random_char(FieldRef ccc) {
  std::uniform_real_distribution<double> draw(0.0, 1.0);
  double r = draw(text_utils::generator());
  char c;
  if (r < 0.3) {
    long n = std::lround(r * 9.0 / 0.3);
    c = static_cast<char>('0' + (n < 0 ? 0 : n > 9 ? 9 : n));
  } else {
    long n = std::lround((r - 0.3) * 25.0 / 0.7);
    c = static_cast<char>('A' + (n < 0 ? 0 : n > 25 ? 25 : n));
  }
  ccc.blank();
  if (ccc.size() > 0) ccc[0] = c;
}

void my_sort_i(int n, int* list, bool qasc) {
  text_utils_detail::exchange_sort(n, list, qasc, [](int a, int b) { return a < b; }, [](int) {});
}

void my_sort_r(int n, float* list, bool qasc) {
  text_utils_detail::exchange_sort(n, list, qasc, [](float a, float b) { return a < b; }, [](int) {});
}
