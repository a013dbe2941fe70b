// Module state of the forms window: the element tables, their computed
// rectangles and the session settings. One instance per process.
#pragma once

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string_view>

namespace forms_window {

inline constexpr int kMaxInpt = 100;
inline constexpr int kMaxButt = 10;
inline constexpr int kMaxSubt = 20;
inline constexpr int kMaxSepa = 20;
inline constexpr int kMaxRdio = 10;
inline constexpr int kMaxRdioMembers = 10;
inline constexpr int kMaxDdl = 30;
inline constexpr int kMaxDdlEntries = 50;
inline constexpr int kMaxLnd = 333;
inline constexpr int kMaxCircle = 100;

// A NUL-terminated text in a fixed buffer of N bytes (N - 1 characters);
// assigning a longer text cuts it.
template <int N>
class CText {
 public:
  static constexpr int capacity = N;
  CText() { b_.fill('\0'); }
  void set(std::string_view s) {
    std::size_t n = std::min<std::size_t>(s.size(), N - 1);
    if (n > 0) std::memmove(b_.data(), s.data(), n);
    b_[n] = '\0';
  }
  CText& operator=(std::string_view s) {
    set(s);
    return *this;
  }
  const char* c_str() const { return b_.data(); }
  char* data() { return b_.data(); }
  std::string_view view() const { return {b_.data(), strnlen(b_.data(), N)}; }
  int length() const { return static_cast<int>(view().size()); }
  bool empty() const { return b_[0] == '\0'; }

 private:
  std::array<char, N> b_;
};

// A NUL-terminated argument as a view, never reading more than `max` bytes;
// a null pointer is an empty text.
inline std::string_view arg_text(const char* s, std::size_t max) {
  return s ? std::string_view(s, strnlen(s, max)) : std::string_view();
}

using Rect = std::array<int, 4>;  // x1, y1, x2, y2

// ---- session (window, fonts, metrics) ----
struct WindowInfo {
  int id = 0;
  int x = 100;
  int y = 100;
  int width = 250;
  int height = 300;
};
inline WindowInfo windowInfo;
inline CText<128> font_name = [] {
  CText<128> t;
  t = "arial.ttf";
  return t;
}();
inline CText<128> Title = [] {
  CText<128> t;
  t = "Form";
  return t;
}();
inline int ActWin = 0;
inline int font_size = 0;
inline int DEBUG = 0;
inline int DxI = 0;
inline int DyI = 0;
inline int Yoffset = 0;
inline int ExitStat = 0;

// ---- input elements ----
inline int nb_inpt = 0;
inline std::array<CText<127>, kMaxInpt> inpt_txt;
inline std::array<CText<256>, kMaxInpt> inpt_cval;
inline std::array<CText<256>, kMaxInpt> inpt_msg;
inline std::array<CText<32>, kMaxInpt> inpt_ext;
// Positions as handed over (x, y, tx, ty: a negative tx is a placement
// code); the layout always starts again from these.
inline std::array<std::array<int, 4>, kMaxInpt> inpt_def{};
inline std::array<Rect, kMaxInpt> inpt_pos{};                 // computed box
inline std::array<std::array<int, 2>, kMaxInpt> inpt_ptx{};   // computed label position
inline std::array<Rect, kMaxInpt> inpt_ovr{};                 // overflow tag (drawing)
inline std::array<int, kMaxInpt> inpt_siz{};
inline std::array<int, kMaxInpt> inpt_typ{};
inline std::array<int, kMaxInpt> inpt_arr{};
inline std::array<int, kMaxInpt> inpt_act{};
inline std::array<int, kMaxInpt> inpt_dep{};
inline std::array<int, kMaxInpt> inpt_ddl{};
inline std::array<int, kMaxInpt> inpt_ival{};
inline std::array<float, kMaxInpt> inpt_rval{};
inline std::array<int, kMaxInpt> inpt_OK{};
inline std::array<int, kMaxInpt> inpt_inc{};
inline std::array<int, kMaxInpt> inpt_ofs{};
inline std::array<int, kMaxInpt> rdio_set = [] {
  std::array<int, kMaxInpt> a;
  a.fill(-1);
  return a;
}();

// ---- radio groups and the circle table of round shapes ----
inline int nb_rdio = 0;
inline std::array<std::array<int, kMaxRdioMembers>, kMaxRdio> tick_rdio{};
inline std::array<int, kMaxRdio> tick_rdio_count{};
inline std::array<std::array<float, 2>, kMaxCircle> pprad{};
inline int NCRad = 0;

// ---- titles ----
inline int nb_subt = 0;
inline std::array<CText<127>, kMaxSubt> subt_txt;
inline std::array<std::array<int, 2>, kMaxSubt> subt_def{};  // as handed over
inline std::array<std::array<int, 2>, kMaxSubt> subt_pos{};  // computed

// ---- separators ----
inline int nb_sepa = 0;
inline std::array<Rect, kMaxSepa> sepa_def{};  // as handed over
inline std::array<Rect, kMaxSepa> sepa_pos{};  // computed

// ---- buttons ----
inline int nb_butt = 0;
inline std::array<CText<256>, kMaxButt> butt_txt;
inline std::array<std::array<int, 2>, kMaxButt> butt_def{};  // as handed over
inline std::array<Rect, kMaxButt> butt_pos{};                // computed
inline std::array<int, kMaxButt> butt_siz{};
inline std::array<int, kMaxButt> butt_typ{};
inline std::array<int, kMaxButt> butt_down{};

// ---- drop-down lists ----
inline std::array<std::array<CText<32>, kMaxDdlEntries>, kMaxDdl> ddl_txt;
inline std::array<int, kMaxDdl> ddl_nbli{};
inline std::array<int, kMaxDdl> ddl_inpt = [] {
  std::array<int, kMaxDdl> a;
  a.fill(-1);
  return a;
}();
// The long list (the simulator's landscapes) keeps its entries on the heap.
inline int LndDDL = -1;
inline std::array<std::unique_ptr<char[]>, kMaxLnd> lnd_nam;

// The text of entry `entry` of list `list` (the long list included); empty
// when there is no such entry.
std::string_view ddl_entry(int list, int entry);

// Asks the window for a redraw (nothing while there is no window).
void request_redraw();

}  // namespace forms_window
