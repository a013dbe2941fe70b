// Module state of the forms window: the element tables, their computed
// rectangles and the session settings. One instance per process.
#pragma once

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <span>
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
  // The whole buffer, for callers that write a NUL-terminated text into it.
  std::span<char> buffer() { return {b_.data(), static_cast<std::size_t>(N)}; }
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

// Element types of the input boxes.
inline constexpr int kINT = 1, kFLT = 2, kCHR = 3, kTCK = 4, kKEY = 5, kCOL = 6, kIFP = 7, kOFP = 8, kFLD = 9,
                     kDDL = 10;

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

// ---- interaction (mouse, keys, open list, messages) ----
inline int CurInpt = -1;     // current element: caret, editing, "Hit a key"
inline int CurInptOld = -1;  // the current element before the last left press
inline int CurPos_1 = -1;    // caret, or start of the selection, in cells from the first visible one
inline int CurPos_2 = -1;    // end of the selection
inline int CurButt = -1;     // button drawn pressed while the left button is held on it
inline int CurOvfl = -1;     // element whose whole value is shown while its "..." tag is held
inline int CurDDL = -1;      // open drop-down list
inline int CurDDL_N = -1;    // list entry under the pointer
inline int DyScrl0 = -1;     // pointer height above the scroll thumb's bottom while it is dragged
inline int MsgInpt = -1;     // element whose error message is shown
inline int xmsg = -1;        // where the message is shown (-1: no message)
inline int ymsg = -1;
inline int ddl_offset = 0;   // first visible entry of the open list
inline int ScrollDrag = 0;   // 1 while the scroll thumb is held
// Geometry of the open list, stored by the drawing for hit-testing: its
// rectangle (x1, top, x2, bottom), whether it has a scroll bar, the bar's
// width and the thumb's bottom and top.
inline Rect ddl_pos = {-1, -1, -1, -1};
inline int Scroll = 0;
inline int DxScrl = 0;
inline int YScrl0 = 0;
inline int YScrl1 = 0;
// Entries of a list shown at once; a longer list scrolls.
inline constexpr int kListRows = 10;

// The text of entry `entry` of list `list` (the long list included); empty
// when there is no such entry.
std::string_view ddl_entry(int list, int entry);

// Asks the window for a redraw (nothing while there is no window).
void request_redraw();

}  // namespace forms_window
