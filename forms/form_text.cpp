#include "forms/form_text.h"

#include "common/convert.h"

std::string int_text(int i) {
  Field<16> t;
  int len = 0;
  i2b(i, t, len);
  return t.str();
}

std::string real_text(double x, std::string_view format) {
  Field<32> t;
  int len = 0;
  f2b(x, t, format, len);
  return t.str();
}

std::string real_text_default(double x) {
  double a = std::fabs(x);
  return real_text(x, (a >= 0.001 && a <= 1e6) ? "(F16.6)" : "(1PE16.9)");
}

bool read_hex(std::string_view digits, int& value) {
  if (digits.size() > 7) return false;
  int v = 0;
  for (char c : digits) {
    int d = (c >= '0' && c <= '9')   ? c - '0'
            : (c >= 'A' && c <= 'F') ? c - 'A' + 10
            : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                     : -1;
    if (d < 0) return false;
    v = v * 16 + d;
  }
  value = v;
  return true;
}
