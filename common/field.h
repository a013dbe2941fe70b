// Blank-padded fixed-length text fields.
//
// The program keeps its texts in fields of a fixed width, padded with blanks
// on the right. The meaning of a field is its trimmed content; assigning a
// longer text cuts it, a shorter one is padded. `Field<N>` owns such a field,
// `FieldRef` is a mutable view of one of any width, so that a routine can work
// on fields of the caller's width, as the text routines of the program do.
// Positions are 0-based here; the widths are the widths the data models give.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

// Length of `s` without its trailing blanks.
inline int len_trim(std::string_view s) {
  std::size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  return static_cast<int>(n);
}

// `s` without its trailing blanks.
inline std::string_view trim_right(std::string_view s) {
  return s.substr(0, static_cast<std::size_t>(len_trim(s)));
}

// `s` without leading blanks (the field's left adjustment).
inline std::string_view trim_left(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  return s.substr(i);
}

// Mutable view of a fixed-length field owned elsewhere.
class FieldRef {
 public:
  FieldRef(char* data, int size) : p_(data), n_(size < 0 ? 0 : size) {}

  int size() const { return n_; }
  char* data() { return p_; }
  const char* data() const { return p_; }
  char& operator[](int i) { return p_[i]; }
  char operator[](int i) const { return p_[i]; }

  // The whole field, padding included.
  std::string_view view() const { return {p_, static_cast<std::size_t>(n_)}; }
  operator std::string_view() const { return view(); }  // NOLINT: read like any text
  int len_trim() const { return ::len_trim(view()); }
  std::string_view trimmed() const { return ::trim_right(view()); }
  std::string str() const { return std::string(trimmed()); }
  bool is_blank() const { return len_trim() == 0; }

  // Copies `s` into the field: cut to the width, padded with blanks.
  // `s` may overlap the field itself (a shifted part of it, for example).
  FieldRef& assign(std::string_view s) {
    std::size_t n = std::min(s.size(), static_cast<std::size_t>(n_));
    if (n > 0) std::memmove(p_, s.data(), n);
    std::fill(p_ + n, p_ + n_, ' ');
    return *this;
  }
  FieldRef& operator=(std::string_view s) { return assign(s); }
  void blank() { std::fill(p_, p_ + n_, ' '); }

  // Appends `s` after the trimmed content, cut to the field. `s` may be a
  // part of the field itself, its padding included: the text appended is `s`
  // as it was before the call.
  FieldRef& append(std::string_view s) {
    int at = len_trim();
    int n = std::min<int>(static_cast<int>(s.size()), n_ - at);
    if (n > 0) std::memmove(p_ + at, s.data(), static_cast<std::size_t>(n));
    return *this;
  }

  // The trimmed content left-adjusted (leading blanks removed).
  void left_adjust() { assign(std::string(trim_left(view()))); }

 private:
  char* p_;
  int n_;
};

// A field of N characters, initially blank.
template <int N>
class Field {
  static_assert(N > 0, "a field has at least one character");

 public:
  Field() { buf_.fill(' '); }
  Field(std::string_view s) { ref().assign(s); }  // NOLINT: implicit by design, like an assignment
  Field& operator=(std::string_view s) {
    ref().assign(s);
    return *this;
  }
  template <int M>
  Field& operator=(const Field<M>& other) {
    ref().assign(other.view());
    return *this;
  }

  static constexpr int capacity = N;
  int size() const { return N; }
  char* data() { return buf_.data(); }
  const char* data() const { return buf_.data(); }
  char& operator[](int i) { return buf_[static_cast<std::size_t>(i)]; }
  char operator[](int i) const { return buf_[static_cast<std::size_t>(i)]; }

  FieldRef ref() { return FieldRef(buf_.data(), N); }
  operator FieldRef() { return ref(); }  // NOLINT: fields pass to routines taking any width
  std::string_view view() const { return {buf_.data(), static_cast<std::size_t>(N)}; }
  operator std::string_view() const { return view(); }  // NOLINT

  int len_trim() const { return ::len_trim(view()); }
  std::string_view trimmed() const { return ::trim_right(view()); }
  std::string str() const { return std::string(trimmed()); }
  bool is_blank() const { return len_trim() == 0; }
  void blank() { buf_.fill(' '); }
  Field& append(std::string_view s) {
    ref().append(s);
    return *this;
  }
  void left_adjust() { ref().left_adjust(); }

  // Two fields are equal when their texts are equal as blank-padded fields.
  friend bool operator==(const Field& a, const Field& b) { return a.buf_ == b.buf_; }

 private:
  std::array<char, N> buf_;
};

// Compares two texts as blank-padded fields: trailing blanks do not count.
inline bool same_text(std::string_view a, std::string_view b) { return trim_right(a) == trim_right(b); }
