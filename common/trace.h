// Diagnostic trace lines on standard output.
//
// The program writes trace lines throughout its run; their wording carries no
// contract. `trace(a, b, c)` writes the items separated by one blank and ends
// the line. Texts are written trimmed, flags as T or F.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>

#include "common/field.h"

namespace trace_detail {
inline void put(std::string& out, std::string_view s) { out.append(trim_right(s)); }
inline void put(std::string& out, const char* s) { out.append(s ? trim_right(s) : std::string_view("(null)")); }
inline void put(std::string& out, const std::string& s) { out.append(trim_right(s)); }
inline void put(std::string& out, FieldRef f) { out.append(f.trimmed()); }
template <int N>
void put(std::string& out, const Field<N>& f) {
  out.append(f.trimmed());
}
inline void put(std::string& out, bool b) { out.push_back(b ? 'T' : 'F'); }
inline void put(std::string& out, char c) { out.push_back(c); }
template <class T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char>, int> = 0>
void put(std::string& out, T v) {
  out.append(std::to_string(v));
}
template <class T, std::enable_if_t<std::is_floating_point_v<T>, int> = 0>
void put(std::string& out, T v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(v));
  out.append(buf);
}
}  // namespace trace_detail

// Writes one trace line made of the items, separated by blanks.
template <class... A>
void trace(const A&... items) {
  std::string line;
  bool first = true;
  ((first ? void(first = false) : line.push_back(' '), trace_detail::put(line, items)), ...);
  line.push_back('\n');
  std::fputs(line.c_str(), stdout);
}
