// Layout of a form: every element's box and label position and the window
// size, in window pixels (origin bottom-left, y upwards), computed from the
// positions last handed over and the font metrics.
//
// Arithmetic is done in 64 bits and stored back clamped, so that absurd
// positions or sizes in a definition give absurd rectangles, never overflow.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

#include "common/trace.h"
#include "forms_window/forms_window.h"
#include "forms_window/forms_window_state.h"

namespace {

using namespace forms_window;
using i64 = std::int64_t;

// Label placement codes of the definition.
constexpr int kRight = -1;
constexpr int kLeft = -2;
constexpr int kLeftAligned = -3;
constexpr int kTopCentred = -4;
constexpr int kTopLeft = -5;

int narrow(i64 v) { return static_cast<int>(std::clamp<i64>(v, INT_MIN, INT_MAX)); }

// Running extents of what has been laid out.
struct Extents {
  i64 xmin = 32767, ymin = 32767, xmax = 0, ymax = 0;
  bool any_x = false, any_y = false;
  void x(i64 v) {
    xmin = std::min(xmin, v);
    xmax = std::max(xmax, v);
    any_x = true;
  }
  void y(i64 v) {
    ymin = std::min(ymin, v);
    ymax = std::max(ymax, v);
    any_y = true;
  }
  void rect(i64 x1, i64 y1, i64 x2, i64 y2) {
    x(x1);
    y(y1);
    x(x2);
    y(y2);
  }
};

struct TextSize {
  i64 w = 0, h = 0;
};

TextSize measure(const FormMetrics& m, std::string_view text, int size) {
  TextSize s;
  if (m.measure && !text.empty()) {
    int w = 0, h = 0;
    std::string copy(text);
    m.measure(copy.c_str(), size, w, h);
    s.w = w;
    s.h = h;
  }
  return s;
}

// x of an element placed relative to the window: the code is
// alignment * 10000 + x, negative for per mille of the window width;
// alignment 0 puts the left edge, 1 the centre, 2 the right edge at x.
i64 encoded_x(i64 code, i64 width, i64 element_width) {
  i64 c = code < 0 ? -code : code;
  i64 a = c / 10000;
  i64 p = c % 10000;
  if (code < 0) p = p * width / 1000;
  return p - element_width * a / 2;
}

void lay_out_input(int i, const FormMetrics& m, Extents& e) {
  const auto& def = inpt_def[i];
  i64 x1 = def[0], y1 = def[1], tx = def[2], ty = def[3];
  i64 dxi = m.DxI, yoff = m.Yoffset;
  inpt_ofs[i] = 0;
  i64 w_box, h_box;
  if (inpt_typ[i] == kTCK) {
    w_box = h_box = inpt_siz[i];
  } else {
    w_box = dxi * inpt_siz[i] + 2 * yoff;
    h_box = yoff + m.font_size;
  }
  std::string_view label = inpt_txt[i].view();
  TextSize t = measure(m, label, m.font_size);
  i64 arrows = 2 * dxi * inpt_arr[i];

  if (x1 < 0 || tx == kLeft) {
    // Label first at -x, then the box after it.
    i64 lx = -x1;
    x1 = label.empty() ? lx : lx + dxi / 2 + t.w;
    tx = lx;
    ty = y1 + yoff;
    i64 x2 = x1 + w_box, y2 = y1 + h_box;
    e.rect(tx, y1, x2 + arrows, y2);
  } else if (tx == kRight) {
    i64 x2 = x1 + w_box, y2 = y1 + h_box, xa = x2 + arrows;
    tx = xa + dxi / 2;
    ty = y1 + yoff;
    e.rect(x1, y1, xa + dxi / 2, y2);
    e.rect(tx, ty, tx + t.w, ty + t.h);
  } else if (tx == kTopLeft || tx == kTopCentred) {
    i64 x2 = x1 + w_box, y2 = y1 + h_box, xa = x2 + arrows;
    tx = (tx == kTopLeft) ? x1 + yoff : (x1 + x2 - t.w) / 2;
    ty = y2 + yoff;
    e.x(x1);
    e.y(y1);
    e.x(xa);
    e.x(tx + t.w);
    e.y(ty + t.h);
  } else if (tx == kLeftAligned) {
    i64 x2 = x1 + w_box, y2 = y1 + h_box, xa = x2 + arrows;
    tx = x1 - dxi - t.w;
    ty = y1 + yoff;
    e.rect(tx, y1, xa, y2);
  } else if (tx >= 0) {
    // Label where the definition puts it. The whole box counts for the
    // window size, its top included.
    i64 x2 = x1 + w_box, y2 = y1 + h_box, xa = x2 + arrows;
    e.rect(x1, y1, xa + dxi / 2, y2);
    e.rect(tx, ty, tx + t.w, ty + t.h);
  } else {
    // A label position left of the window (tx below the codes): the box is
    // laid out, the label stays where the definition put it.
    i64 x2 = x1 + w_box, y2 = y1 + h_box, xa = x2 + arrows;
    e.rect(x1, y1, xa, y2);
  }
  inpt_pos[i] = {narrow(x1), narrow(y1), narrow(x1 + w_box), narrow(y1 + h_box)};
  inpt_ptx[i] = {narrow(tx), narrow(ty)};
}

}  // namespace

void form_setup(const FormMetrics& metrics) {
  DxI = metrics.DxI;
  Yoffset = metrics.Yoffset;
  font_size = metrics.font_size;
  const FormMetrics& m = metrics;
  Extents e;

  ddl_inpt.fill(-1);
  for (int i = 0; i < nb_inpt; ++i) {
    lay_out_input(i, m, e);
    if (inpt_ddl[i] >= 0 && inpt_ddl[i] < kMaxDdl) ddl_inpt[inpt_ddl[i]] = i;
  }
  check_depend();

  // Buttons: an x between 0 and 9999 (both exclusive) is absolute; other
  // values are placed relative to the window once its width is known.
  for (int b = 0; b < nb_butt; ++b) {
    i64 x1 = butt_def[b][0], y1 = butt_def[b][1];
    i64 x2 = x1;
    if (x1 > 0 && x1 < 9999) {
      x2 = x1 + butt_siz[b];
      e.x(x1);
      e.x(x2);
    }
    i64 y2 = y1 + m.Yoffset + m.font_size;
    e.y(y1);
    e.y(y2);
    butt_pos[b] = {narrow(x1), narrow(y1), narrow(x2), narrow(y2)};
  }

  // Titles: a negative y counts from above everything laid out so far.
  i64 base = e.ymax + 10;
  std::array<TextSize, kMaxSubt> title_size{};
  for (int t = 0; t < nb_subt; ++t) {
    int size = t == 0 ? m.font_size + 2 : m.font_size;
    TextSize s = measure(m, subt_txt[t].view(), size);
    title_size[t] = s;
    i64 x = subt_def[t][0], y = subt_def[t][1];
    if (x > 0 && x < 9999) {
      e.x(x);
      e.x(x + s.w);
    }
    if (y < 0) {
      y = base - y;
      e.y(y + s.h);
    } else {
      e.y(y);
      e.y(y + s.h);
    }
    subt_pos[t] = {narrow(x), narrow(y)};
  }

  if (!e.any_x) e.xmin = e.xmax = 0;
  if (!e.any_y) e.ymin = e.ymax = 0;
  if (e.xmin < 0) e.xmin = 0;

  for (int s = 0; s < nb_sepa; ++s) {
    Rect r = sepa_def[s];
    if (r[1] == r[3] && r[1] < 0) r[1] = r[3] = narrow(base - r[1]);
    sepa_pos[s] = r;
  }

  // The margin right of and above the contents equals the one left of and
  // below them.
  i64 width = std::max<i64>(e.xmin + e.xmax, 1);
  i64 height = std::max<i64>(e.ymin + e.ymax, 1);
  windowInfo.width = narrow(width);
  windowInfo.height = narrow(height);

  for (int b = 0; b < nb_butt; ++b) {
    i64 x1 = butt_def[b][0];
    if (x1 < 0 || x1 > 9999) {
      i64 nx = encoded_x(x1, width, butt_siz[b]);
      butt_pos[b][0] = narrow(nx);
      butt_pos[b][2] = narrow(nx + butt_siz[b]);
    }
  }
  for (int t = 0; t < nb_subt; ++t) {
    i64 x = subt_def[t][0];
    if (x < 0 || x > 9999) subt_pos[t][0] = narrow(encoded_x(x, width, title_size[t].w));
  }
  if (DEBUG) trace("form_setup : window", windowInfo.width, windowInfo.height);
}
