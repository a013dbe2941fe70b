// Bridges between fixed-length fields and zero-terminated texts.
#include "common/cstring_bridge.h"

#include <algorithm>
#include <cstring>

void strcpy_c2f(const char* in_str, FieldRef out_str, int& ls) {
  if (ls == 0) ls = out_str.size();
  // Never more than the field holds, whatever the caller asked for.
  int limit = std::clamp(ls, 0, out_str.size());
  int n = 0;
  if (in_str != nullptr) {
    while (n < limit && in_str[n] != '\0') ++n;
  }
  out_str.assign(std::string_view(in_str != nullptr ? in_str : "", static_cast<std::size_t>(n)));
  ls = n;
}

void strcpy_f2c(std::string_view in_str, char* out_str, int capacity, int& ls) {
  ls = 0;
  if (out_str == nullptr || capacity <= 0) return;
  // The text is cut so that it and its zero byte fit the caller's buffer.
  ls = std::min(len_trim(in_str), capacity - 1);
  std::memcpy(out_str, in_str.data(), static_cast<std::size_t>(ls));
  out_str[ls] = '\0';
}
