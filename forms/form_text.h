// Small conversions of the forms library between its blank-padded fields,
// NUL-terminated hand-over texts and numbers.
#pragma once

#include <climits>
#include <cmath>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "common/field.h"

// The trimmed text, cut to `max` characters, as a NUL-terminated string.
inline std::string c_text(std::string_view s, std::size_t max) {
  s = trim_right(s);
  return std::string(s.substr(0, std::min(s.size(), max)));
}

// A NUL-terminated buffer as a text, never reading past the buffer.
inline std::string_view buffer_text(std::span<const char> b) {
  return std::string_view(b.data(), strnlen(b.data(), b.size()));
}

// Copies the trimmed text into the buffer, cut to fit with its NUL.
inline void to_buffer(std::string_view s, std::span<char> b) {
  if (b.empty()) return;
  s = trim_right(s);
  std::size_t n = std::min(s.size(), b.size() - 1);
  if (n > 0) std::memmove(b.data(), s.data(), n);
  b[n] = '\0';
}

// Nearest integer, limited to the range of int (a real beyond it, or not a
// number, cannot become an integer value).
inline int nint_sat(double x) {
  if (std::isnan(x)) return 0;
  if (x >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (x <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(std::lround(x));
}

// Reads up to seven hexadecimal digits of either case; false (the value
// unchanged) when a character is none.
bool read_hex(std::string_view digits, int& value);

// The canonical text of an integer or a real (f2b with the format given).
std::string int_text(int i);
std::string real_text(double x, std::string_view format);
// Texts of reals as the library writes them: "(F16.6)" for absolute values
// from 0.001 to 1e6, "(1PE16.9)" beyond.
std::string real_text_default(double x);
