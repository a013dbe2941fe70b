// Fixed-capacity tables numbered from 1, as the form model numbers its
// elements: `inpt_txt(n)`, `inpt_pos(k, n)`. An index outside the table is a
// programming error and stops the program before anything is written.
#pragma once

#include <array>
#include <cstddef>

[[noreturn]] void table_index_fault(int index, int capacity);

template <class T, int N>
class Table {
 public:
  static constexpr int capacity = N;
  T& operator()(int n) { return v_[at(n)]; }
  const T& operator()(int n) const { return v_[at(n)]; }
  void fill(const T& x) { v_.fill(x); }
  // The whole table, 0-based, for hand-overs that take it at once.
  std::array<T, N>& all() { return v_; }
  const std::array<T, N>& all() const { return v_; }

 private:
  static std::size_t at(int n) {
    if (n < 1 || n > N) table_index_fault(n, N);
    return static_cast<std::size_t>(n - 1);
  }
  std::array<T, N> v_{};
};

// R entries per element (`inpt_pos(k, n)`: entry k of element n).
template <class T, int R, int N>
class Table2 {
 public:
  static constexpr int rows = R;
  static constexpr int capacity = N;
  T& operator()(int k, int n) { return v_[at(n, N)][at(k, R)]; }
  const T& operator()(int k, int n) const { return v_[at(n, N)][at(k, R)]; }
  std::array<T, R>& row(int n) { return v_[at(n, N)]; }
  void fill(const T& x) {
    for (auto& r : v_) r.fill(x);
  }
  std::array<std::array<T, R>, N>& all() { return v_; }
  const std::array<std::array<T, R>, N>& all() const { return v_; }

 private:
  static std::size_t at(int i, int cap) {
    if (i < 1 || i > cap) table_index_fault(i, cap);
    return static_cast<std::size_t>(i - 1);
  }
  std::array<std::array<T, R>, N> v_{};
};
