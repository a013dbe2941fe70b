// Value and text conversion: free-format number reads, Fortran-style number
// formatting, items of a line, key and value, flags, and the canonical texts
// of numbers, times, flags and key codes.
#include "common/convert.h"

#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <string>
#include <system_error>

#include "common/trace.h"

namespace convert {

// ---- free-format reads ----

// Tabs and line-end characters separate like blanks (a line of a file
// written on Windows may still end in a carriage return).
bool is_blank_char(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool ends_item(char c) { return is_blank_char(c) || c == ',' || c == '/'; }

// The first item of a free-format text: leading blanks skipped, up to the
// next blank, comma or slash. Empty for a blank text and for a text whose
// first item is empty (it starts with a comma or a slash).
std::string_view first_item(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && is_blank_char(text[i])) ++i;
  std::size_t j = i;
  while (j < text.size() && !ends_item(text[j])) ++j;
  return text.substr(i, j - i);
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Reads a real item: sign, digits with at most one decimal point (at least
// one digit), optionally an exponent letter E or D (either case), a sign and
// digits. Non-finite results (overflow) are refused; values too small for the
// type read as zero.
template <class T>
bool read_real_item(std::string_view text, T& value) {
  std::string_view item = first_item(text);
  std::size_t p = 0;
  bool negative = false;
  if (p < item.size() && (item[p] == '+' || item[p] == '-')) negative = item[p++] == '-';
  std::string digits;  // mantissa digits without the point
  int int_digits = 0;  // how many of them stand before the point
  bool point = false;
  for (; p < item.size(); ++p) {
    char c = item[p];
    if (is_digit(c)) {
      digits.push_back(c);
      if (!point) ++int_digits;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits.empty()) return false;
  long long exponent = 0;
  if (p < item.size()) {
    char c = item[p];
    if (c != 'E' && c != 'e' && c != 'D' && c != 'd') return false;
    ++p;
    bool exp_negative = false;
    if (p < item.size() && (item[p] == '+' || item[p] == '-')) exp_negative = item[p++] == '-';
    if (p == item.size()) return false;
    for (; p < item.size(); ++p) {
      if (!is_digit(item[p])) return false;
      // Beyond any representable magnitude already: keep the value bounded.
      if (exponent < 100000) exponent = exponent * 10 + (item[p] - '0');
    }
    if (exp_negative) exponent = -exponent;
  }
  std::size_t first_nonzero = digits.find_first_not_of('0');
  if (first_nonzero == std::string::npos) {
    value = negative ? -T(0) : T(0);
    return true;
  }
  // Decimal magnitude of the value: it lies in [10^magnitude, 10^(magnitude+1)).
  long long magnitude = int_digits - 1 - static_cast<long long>(first_nonzero) + exponent;
  if (magnitude > 400) return false;
  if (magnitude < -400) {
    value = negative ? -T(0) : T(0);
    return true;
  }
  std::string normal = "0." + digits.substr(first_nonzero) + "e" +
                       std::to_string(magnitude + 1);
  T v{};
  auto res = std::from_chars(normal.data(), normal.data() + normal.size(), v);
  if (res.ec == std::errc::result_out_of_range) {
    if (magnitude >= 0) return false;  // overflow
    v = T(0);                          // underflow: reads as zero
  } else if (res.ec != std::errc() || res.ptr != normal.data() + normal.size() || !std::isfinite(v)) {
    return false;
  }
  value = negative ? -v : v;
  return true;
}

// ---- Fortran edit descriptors ----

struct Descriptor {
  char kind = 0;      // 'I', 'F', 'E' (E and D) or 'S' (ES)
  char letter = 'E';  // exponent letter
  int w = 0;          // width; 0 = as narrow as the value allows
  int d = -1;         // decimals (F, E, ES) or minimum digits (I); -1 when absent
  int e = 0;          // exponent digits; 0 = the default form
  int scale = 0;      // scale factor kP
};

// Parses one edit descriptor, with an optional scale factor and optional
// parentheses, blanks ignored, letters in either case: "(F16.6)",
// "(1PE16.9)", "(I2.2)", "(ES12.4E3)", "(D20.12)".
bool parse_format(std::string_view format, Descriptor& ds) {
  std::string f;
  for (char c : format) {
    if (c == ' ') continue;
    f.push_back((c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c);
  }
  if (f.size() >= 2 && f.front() == '(' && f.back() == ')') f = f.substr(1, f.size() - 2);
  std::size_t p = 0;
  auto number = [&](int& out) {
    std::size_t start = p;
    long long v = 0;
    while (p < f.size() && is_digit(f[p]) && v < 100000) v = v * 10 + (f[p++] - '0');
    if (p == start || v > 999) return false;  // widths and counts stay below 1000
    out = static_cast<int>(v);
    return true;
  };
  // Scale factor: [sign] digits P, optionally followed by a comma.
  std::size_t q = 0;
  if (q < f.size() && (f[q] == '+' || f[q] == '-')) ++q;
  std::size_t digits_start = q;
  while (q < f.size() && is_digit(f[q])) ++q;
  if (q > digits_start && q < f.size() && f[q] == 'P') {
    bool negative = f[0] == '-';
    p = digits_start;
    int k = 0;
    if (!number(k)) return false;
    ds.scale = negative ? -k : k;
    p = q + 1;
    if (p < f.size() && f[p] == ',') ++p;
  }
  if (p >= f.size()) return false;
  char c = f[p++];
  if (c == 'E' && p < f.size() && f[p] == 'S') {
    ds.kind = 'S';
    ++p;
  } else if (c == 'E' || c == 'D') {
    ds.kind = 'E';
    ds.letter = c;
  } else if (c == 'F' || c == 'I') {
    ds.kind = c;
  } else {
    return false;
  }
  if (!number(ds.w)) return false;
  if (p < f.size() && f[p] == '.') {
    ++p;
    if (!number(ds.d)) return false;
  } else if (ds.kind != 'I') {
    return false;
  }
  if ((ds.kind == 'E' || ds.kind == 'S') && p < f.size() && f[p] == 'E') {
    ++p;
    if (!number(ds.e) || ds.e == 0) return false;
  }
  return p == f.size();
}

std::string stars(int w) { return std::string(static_cast<std::size_t>(w > 0 ? w : 1), '*'); }

// Right-aligns `s` in w characters; asterisks when it does not fit.
std::string fit(const std::string& s, int w) {
  if (w == 0) return s;
  if (static_cast<int>(s.size()) > w) return stars(w);
  return std::string(static_cast<std::size_t>(w) - s.size(), ' ') + s;
}

// Infinity and NaN as the Fortran run time writes them for F and E.
std::string non_finite(double x, int w) {
  if (std::isnan(x)) return fit("NaN", w);
  std::string sign = x < 0 ? "-" : "";
  if (w >= 8 + static_cast<int>(sign.size())) return fit(sign + "Infinity", w);
  return fit(sign + "Inf", w);
}

// A value as its exact decimal expansion: 0.digits x 10^point; `digits` has
// no leading or trailing zeros and is empty for zero.
struct Decimal {
  std::string digits;
  int point = 0;
  bool negative = false;
};

Decimal exact_decimal(double x) {
  Decimal v;
  v.negative = std::signbit(x);
  double a = std::fabs(x);
  if (a == 0) return v;
  // Every double has an exact decimal expansion of at most 767 significant
  // digits: ask for all of them, so that rounding below sees the true value.
  char buf[800];
  auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 770);
  std::string_view s(buf, static_cast<std::size_t>(res.ptr - buf));
  std::size_t epos = s.find('e');
  v.digits.push_back(s[0]);
  v.digits.append(s.substr(2, epos - 2));
  std::size_t ep = epos + 1;
  bool exp_negative = s[ep] == '-';
  if (s[ep] == '+' || s[ep] == '-') ++ep;
  int exponent = 0;
  std::from_chars(s.data() + ep, s.data() + s.size(), exponent);
  v.point = (exp_negative ? -exponent : exponent) + 1;
  while (!v.digits.empty() && v.digits.back() == '0') v.digits.pop_back();
  return v;
}

// Keeps the first `keep` digits, rounding to nearest; an exact tie goes to
// the even digit, as the Fortran run time does. A carry moves the point.
void round_digits(Decimal& v, int keep) {
  int n = static_cast<int>(v.digits.size());
  if (keep >= n) return;
  if (keep < 0) {
    v.digits.clear();
    return;
  }
  char dropped = v.digits[static_cast<std::size_t>(keep)];
  bool up;
  if (dropped != '5') {
    up = dropped > '5';
  } else if (keep + 1 < n) {
    up = true;  // more non-zero digits follow: above the half
  } else {
    up = keep > 0 && (v.digits[static_cast<std::size_t>(keep - 1)] - '0') % 2 == 1;
  }
  v.digits.resize(static_cast<std::size_t>(keep));
  if (up) {
    int i = keep - 1;
    while (i >= 0 && v.digits[static_cast<std::size_t>(i)] == '9') v.digits[static_cast<std::size_t>(i--)] = '0';
    if (i < 0) {
      v.digits.insert(v.digits.begin(), '1');
      ++v.point;
    } else {
      ++v.digits[static_cast<std::size_t>(i)];
    }
  }
  while (!v.digits.empty() && v.digits.back() == '0') v.digits.pop_back();
}

// Digit at position i of the expansion ('0' beyond either end).
char digit_at(const Decimal& v, int i) {
  return (i >= 0 && i < static_cast<int>(v.digits.size())) ? v.digits[static_cast<std::size_t>(i)] : '0';
}

std::string format_i(double x, const Descriptor& ds) {
  if (!std::isfinite(x) || std::fabs(x) > 9.0e18) return stars(ds.w);
  long long v = std::llround(x);
  std::string digits = std::to_string(v < 0 ? -v : v);
  if (ds.d >= 0) {
    if (v == 0 && ds.d == 0) digits.clear();
    if (static_cast<int>(digits.size()) < ds.d) digits.insert(0, static_cast<std::size_t>(ds.d) - digits.size(), '0');
  }
  return fit((v < 0 ? "-" : "") + digits, ds.w);
}

std::string format_f(double x, const Descriptor& ds) {
  if (!std::isfinite(x)) return non_finite(x, ds.w);
  Decimal v = exact_decimal(x);
  if (!v.digits.empty()) v.point += ds.scale;  // kP shifts the digits
  round_digits(v, v.point + ds.d);
  int before = v.digits.empty() ? 0 : v.point;  // digits before the point
  std::string int_part, frac_part;
  for (int i = 0; i < before; ++i) int_part.push_back(digit_at(v, i));
  for (int j = 0; j < ds.d; ++j) frac_part.push_back(digit_at(v, before + j));
  std::string sign = v.negative ? "-" : "";
  if (!int_part.empty()) return fit(sign + int_part + "." + frac_part, ds.w);
  // A zero integer part is written as "0" when there is room; it is left
  // out (".25") when there is not, unless it would be the only digit.
  std::string with_zero = sign + "0." + frac_part;
  bool zero_optional = ds.d > 0;
  if (zero_optional && (ds.w == 0 || static_cast<int>(with_zero.size()) > ds.w)) return fit(sign + "." + frac_part, ds.w);
  return fit(with_zero, ds.w);
}

std::string format_e(double x, const Descriptor& ds) {
  if (!std::isfinite(x)) return non_finite(x, ds.w);
  int d = ds.d;
  int k = ds.kind == 'S' ? 1 : ds.scale;
  if (ds.kind == 'E' && (k <= -d || k > d + 1)) return "";  // the run time refuses this scale factor
  int significant = k <= 0 ? d + k : d + 1;
  Decimal v = exact_decimal(x);
  round_digits(v, significant);
  int exponent = v.digits.empty() ? 0 : v.point - k;
  std::string mant;
  bool zero_optional = false;
  if (k <= 0) {
    mant = "0." + std::string(static_cast<std::size_t>(-k), '0');
    for (int i = 0; i < significant; ++i) mant.push_back(digit_at(v, i));
    zero_optional = true;
  } else {
    for (int i = 0; i < k; ++i) mant.push_back(digit_at(v, i));
    mant.push_back('.');
    for (int i = k; i < significant; ++i) mant.push_back(digit_at(v, i));
  }
  int ae = exponent < 0 ? -exponent : exponent;
  char esign = exponent < 0 ? '-' : '+';
  std::string edigits = std::to_string(ae);
  std::string exp_text;
  if (ds.e == 0) {
    if (ae <= 99) {
      exp_text = std::string(1, ds.letter) + esign + (ae < 10 ? "0" : "") + edigits;
    } else if (ae <= 999) {
      exp_text = std::string(1, esign) + edigits;  // the letter gives way to the third digit
    } else {
      return stars(ds.w);
    }
  } else {
    if (static_cast<int>(edigits.size()) > ds.e) return stars(ds.w);
    exp_text = std::string(1, ds.letter) + esign +
               std::string(static_cast<std::size_t>(ds.e) - edigits.size(), '0') + edigits;
  }
  std::string sign = v.negative ? "-" : "";
  std::string full = sign + mant + exp_text;
  if (zero_optional && (ds.w == 0 || static_cast<int>(full.size()) > ds.w)) full = sign + mant.substr(1) + exp_text;
  return fit(full, ds.w);
}

// ---- key codes ----

bool starts_with(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// Relation operators of extract_key_val_rel, in the order they are tried.
constexpr std::array<std::string_view, 7> relation_ops = {"=", "!=", "<", "<=", ">", ">=", "[]"};

}  // namespace convert

long long truncate_toward_zero(double x) {
  if (std::isnan(x)) return 0;
  if (x > 1e15) return 1000000000000000LL;
  if (x < -1e15) return -1000000000000000LL;
  return static_cast<long long>(x);
}

bool read_int(std::string_view text, int& value) {
  std::string_view item = convert::first_item(text);
  std::size_t p = 0;
  bool negative = false;
  if (p < item.size() && (item[p] == '+' || item[p] == '-')) negative = item[p++] == '-';
  if (p == item.size()) return false;
  long long v = 0;
  for (; p < item.size(); ++p) {
    if (!convert::is_digit(item[p])) return false;
    v = v * 10 + (item[p] - '0');
    if (v > 2147483648LL) return false;  // does not fit an integer
  }
  if (negative) v = -v;
  if (v > INT_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

bool read_real(std::string_view text, float& value) { return convert::read_real_item(text, value); }
bool read_real(std::string_view text, double& value) { return convert::read_real_item(text, value); }

std::string fortran_format(double x, std::string_view format) {
  convert::Descriptor ds;
  if (!convert::parse_format(format, ds)) return "";
  switch (ds.kind) {
    case 'I':
      return convert::format_i(x, ds);
    case 'F':
      return convert::format_f(x, ds);
    default:
      return convert::format_e(x, ds);
  }
}

void extract_list(FieldRef line, FieldRef item, std::string_view separator) {
  if (line.is_blank()) {
    item.blank();
    line.blank();
    return;
  }
  std::string l(line.view());  // the line is rewritten from its own text
  std::size_t p = separator.empty() ? std::string::npos : l.find(separator[0]);
  if (p == std::string::npos) {
    item = l;
    line.blank();
    return;
  }
  // A separator between the first pair of double quotes does not split.
  std::size_t q1 = l.find('"');
  if (q1 < p) {
    std::size_t q2 = l.find('"', q1 + 1);
    if (q2 != std::string::npos) {
      p = l.find(separator[0], q2 + 1);
      if (p == std::string::npos) {
        // No separator after the quotes: the item ends with the closing
        // quote and whatever follows it stays in the line.
        item = trim_left(std::string_view(l).substr(0, q2 + 1));
        line = std::string_view(l).substr(q2 + 1);
        return;
      }
    }
  }
  item = trim_left(std::string_view(l).substr(0, p));
  line = std::string_view(l).substr(p + 1);
}

void extract_comma(FieldRef line, FieldRef item) { extract_list(line, item, ","); }

void read_list(std::string_view line, int& count, Field<256>* items, int capacity, std::string_view separator) {
  count = 0;
  std::string buf(line);
  FieldRef rest(buf.data(), static_cast<int>(buf.size()));
  Field<256> item;
  for (;;) {
    extract_list(rest, item, separator);
    if (item.is_blank()) break;
    if (count >= capacity) {
      trace("read_list: more than", capacity, "items; the rest of the line is ignored:", item, rest);
      break;
    }
    items[count++] = item;
  }
}

void extract_key_val(std::string_view line, FieldRef key, FieldRef value) {
  std::string l(line);  // the caller may pass a view of the key or value field
  std::size_t p = l.find('=');
  if (p == std::string::npos) p = l.find(':');
  if (p == std::string::npos) {
    key = l;
    value.blank();
    return;
  }
  key = trim_left(std::string_view(l).substr(0, p));
  value = trim_left(std::string_view(l).substr(p + 1));
}

void extract_key_val_rel(std::string_view line, FieldRef key, FieldRef value, FieldRef relation) {
  std::string l(line);
  std::size_t pos = std::string::npos;
  std::string_view op;
  for (std::string_view o : convert::relation_ops) {
    std::size_t p = l.find(o);
    if (p != std::string::npos) {
      pos = p;
      op = o;
    }
  }
  if (pos == std::string::npos) {
    key = l;
    value.blank();
    relation.blank();
    return;
  }
  key = trim_left(std::string_view(l).substr(0, pos));
  relation = op;
  value = trim_left(std::string_view(l).substr(pos + op.size()));
}

bool is_true(std::string_view text) {
  return !text.empty() && (text[0] == '1' || text[0] == 'Y' || text[0] == 'y');
}

int log2int(bool flag) { return flag ? 1 : 0; }

void i2b(int i, FieldRef text, int& length) {
  int w = text.size() < 16 ? text.size() : 16;
  if (w == 0) {
    length = 0;
    return;
  }
  text = trim_left(fortran_format(i, "(I" + std::to_string(w) + ")"));
  length = text.len_trim();
}

void f2b(double x, FieldRef text, std::string_view format, int& length) {
  std::string s = fortran_format(x, format);
  if (format.find_first_of("Ee") == std::string_view::npos) {
    // Fixed point: no more decimals than a 32-bit real carries for this
    // magnitude, then no trailing zeros.
    if (std::isfinite(x) && std::fabs(x) > 1) {
      int e = static_cast<int>(std::log10(std::fabs(x)));
      int d = e < 9 ? 8 - e : 0;
      std::size_t dot = format.find('.');
      std::size_t close = dot == std::string_view::npos ? dot : format.find(')', dot);
      if (close != std::string_view::npos) {
        std::string_view count_text = format.substr(dot + 1, close - dot - 1);
        int count = 0;
        auto res = std::from_chars(count_text.data(), count_text.data() + count_text.size(), count);
        if (res.ec == std::errc() && res.ptr == count_text.data() + count_text.size() && !count_text.empty() &&
            d < count) {
          std::string changed = std::string(format.substr(0, dot + 1)) + std::to_string(d) + std::string(format.substr(close));
          s = fortran_format(x, changed);
        }
      }
    }
    std::string_view t = trim_right(s);
    if (t.find('.') != std::string_view::npos) {
      while (!t.empty() && t.back() == '0') t.remove_suffix(1);
      if (!t.empty() && t.back() == '.') t.remove_suffix(1);
    }
    s = std::string(t);
  }
  text = trim_left(s);
  length = text.len_trim();
}

void t2b(double h, FieldRef text, int& length) {
  long long hours = truncate_toward_zero(h);
  double t = (h - static_cast<double>(hours)) * 3600.0;
  long long minutes = truncate_toward_zero(t / 60.0);
  long long seconds = truncate_toward_zero(std::fmod(t, 60.0));
  std::string s = fortran_format(static_cast<double>(hours), "(I2.2)") + ":" +
                  fortran_format(static_cast<double>(minutes), "(I2.2)") + ":" +
                  fortran_format(static_cast<double>(seconds), "(I2.2)");
  text = trim_left(s);
  length = text.len_trim();
}

void l2b(bool flag, FieldRef text, int& length) {
  text = flag ? "1" : "0";
  length = text.len_trim();
}

void split_key_code(int k, int& flags, int& base) {
  flags = k / 10000;
  base = k - 10000 * flags;
  if (base > 5000) {
    flags += 1;
    base -= 10000;
  }
}

void k2b(int k, FieldRef text, int& length) {
  int flags = 0, base = 0;
  split_key_code(k, flags, base);
  trace("k2b: flags", flags, "base", base);
  std::string s;
  if (flags > 0) {
    if (flags & 8) s += "LONG+";
    if (flags & 1) s += "CTRL+";
    if (flags & 2) s += "SHFT+";
    if (flags & 4) s += "ALT+";
  }
  if (base < 0) {
    s += "SCN" + std::to_string(-static_cast<long long>(base));
  } else if (base == 0) {
    s.clear();  // no key: the modifiers alone mean nothing
  } else if (base >= 34 && base <= 126) {
    s += '"';
    s += static_cast<char>(base);
    s += '"';
  } else {
    s += "ASC" + std::to_string(base);
  }
  text = s;
  length = text.len_trim();
}

int b2k(std::string_view text) {
  std::string_view taken = text.substr(0, text.size() < 128 ? text.size() : 128);
  std::string_view t = taken;
  int flags = 0;
  if (convert::starts_with(t, "LONG+")) {
    flags += 8;
    t.remove_prefix(5);
  }
  if (convert::starts_with(t, "CTRL+")) {
    flags += 1;
    t.remove_prefix(5);
  }
  if (convert::starts_with(t, "SHFT+")) {
    flags += 2;
    t.remove_prefix(5);
  }
  if (convert::starts_with(t, "ALT+")) {
    flags += 4;
    t.remove_prefix(4);
  }
  std::string_view r = trim_right(t);
  bool known = false;
  int base = 0, n = 0;
  if (r.size() == 3 && r[0] == '"' && r[2] == '"') {
    base = static_cast<unsigned char>(r[1]);
    known = true;
  } else if (convert::starts_with(r, "ASC") && read_int(r.substr(3), n) && n >= 0 && n <= 5000) {
    base = n;
    known = true;
  } else if (convert::starts_with(r, "SCN") && read_int(r.substr(3), n) && n >= 0 && n <= 4999) {
    base = -n;
    known = true;
  }
  // A text in none of the three forms, or with a number that is unreadable
  // or outside the base code range, is no key at all.
  int k = known ? base + flags * 10000 : 0;
  trace("b2k:", taken, k);
  return k;
}
