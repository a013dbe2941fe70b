// Drawing of the form: one pass over the element tables, in immediate-mode
// OpenGL, every frame from scratch. The look is a flat light-grey dialog
// with bevelled boxes and buttons; every size comes from the input font's
// cell (DxI), the margin (Yoffset) and the text size.
//
// The pass also stores what the mouse code hit-tests and only drawing knows:
// the overflow tags, the open list's rectangle and its scroll bar, and the
// error message's place once it is kept inside the window.
#include <GL/glu.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "forms_window/forms_window_state.h"
#include "forms_window/window_session.h"
#include "toolkit/cpw_gl.h"

namespace forms_window {

namespace {

using Rgba = std::array<float, 4>;

// ---- palette ----
constexpr Rgba kBackground = {0.941f, 0.941f, 0.941f, 1};
constexpr Rgba kBlack = {0, 0, 0, 1};
constexpr Rgba kWhite = {1, 1, 1, 1};
constexpr Rgba kCurrentFill = {0.88f, 0.94f, 1, 1};
constexpr Rgba kInactiveFill = {0.666f, 0.666f, 0.666f, 1};
constexpr Rgba kInactiveLabel = {0.7f, 0.7f, 0.7f, 1};
constexpr Rgba kInvalid = {1, 0, 0, 0.5f};
constexpr Rgba kSelection = {0.2f, 0.6f, 1, 1};
constexpr Rgba kPrompt = {0, 0.28f, 0, 1};
constexpr Rgba kRadioDot = {0.2f, 0.2f, 0.2f, 1};
constexpr Rgba kHighlight = {0.66f, 0.83f, 1, 1};  // pressed arrow, row under the pointer, current entry
constexpr Rgba kShadeDark = {0.412f, 0.412f, 0.412f, 1};
constexpr Rgba kShadeMid = {0.627f, 0.627f, 0.627f, 1};
constexpr Rgba kShadeLight = {0.89f, 0.89f, 0.89f, 1};
constexpr Rgba kListOutline = {0.85f, 0.85f, 0.85f, 1};
constexpr Rgba kScrollTrack = {0.813f, 0.813f, 0.813f, 1};
constexpr Rgba kThumb = {0.66f, 0.66f, 0.66f, 1};
constexpr Rgba kThumbDragged = {0.33f, 0.33f, 0.33f, 1};
constexpr Rgba kMessage = {0, 0, 1, 1};

// ---- primitives ----
//
// Every primitive and text of a frame is drawn in one pipeline state. A
// software OpenGL (Mesa's llvmpipe) generates machine code for each
// distinct state it meets, and a window's first frame pays for every one:
// blending on or off, a texture or none, a colour per vertex or one for the
// whole batch are each a state of their own. So blending stays on (an
// opaque colour blends to itself), texturing stays on with a white texel
// under every primitive (the colour times white is the colour), and each
// glBegin gives its colour and texture coordinate first, so that every
// batch has the same vertex layout. The toolkit draws text in that state
// too. Only smooth lines need a state of their own.
GLuint white_texture = 0;
Rgba current = kBlack;

void colour(const Rgba& c) { current = c; }

void begin(GLenum mode) {
  glBegin(mode);
  glColor4fv(current.data());
  glTexCoord2f(0.5f, 0.5f);
}

void fill_rect(float x1, float y1, float x2, float y2) {
  begin(GL_QUAD_STRIP);
  glVertex2f(x1, y1);
  glVertex2f(x1, y2);
  glVertex2f(x2, y1);
  glVertex2f(x2, y2);
  glEnd();
}

void outline_rect(float x1, float y1, float x2, float y2) {
  begin(GL_LINE_LOOP);
  glVertex2f(x1, y1);
  glVertex2f(x2, y1);
  glVertex2f(x2, y2);
  glVertex2f(x1, y2);
  glEnd();
}

void line(float x1, float y1, float x2, float y2) {
  begin(GL_LINES);
  glVertex2f(x1, y1);
  glVertex2f(x2, y2);
  glEnd();
}

// Two lines of one colour: a bevel's corner.
void corner(const Rgba& c, float ax, float ay, float bx, float by, float cx, float cy, float dx, float dy) {
  colour(c);
  line(ax, ay, bx, by);
  line(cx, cy, dx, dy);
}

void triangle(GLenum mode, float ax, float ay, float bx, float by, float cx, float cy) {
  begin(mode);
  glVertex2f(ax, ay);
  glVertex2f(bx, by);
  glVertex2f(cx, cy);
  glEnd();
}

// Anti-aliased lines (blending is always on).
void smooth(bool on) {
  if (on)
    glEnable(GL_LINE_SMOOTH);
  else
    glDisable(GL_LINE_SMOOTH);
}

// A filled polygon through every `step`-th point of the circle table.
void disc(float cx, float cy, float r, int step) {
  begin(GL_POLYGON);
  for (int k = 0; k < NCRad; k += step) glVertex2f(cx + r * pprad[k][0], cy + r * pprad[k][1]);
  glEnd();
}

void set_size(int size) { cpwFontMode(this_cpw, CPW_FONTOPT_SIZE, size); }

// Text with its baseline starting at (x, y), blended over what is there.
void text(CpwFontFace face, int x, int y, std::string_view s) {
  if (!face || s.empty()) return;
  std::string t(s);
  glColor4fv(current.data());  // the glyphs take the current colour
  glRasterPos2d(x, y);
  cpwDrawFont(this_cpw, face, t.c_str(), CPW_DRAWFONT_PIXELS);
}

// At most `count` characters of `s` from `from` on (nothing when none remain).
std::string_view part(std::string_view s, int from, int count) {
  if (from < 0) from = 0;
  if (count <= 0 || from >= static_cast<int>(s.size())) return {};
  return s.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(count));
}

bool has_selection(int i) { return i == CurInpt && CurPos_1 >= 0 && CurPos_1 < CurPos_2; }

// ---- input elements ----

// The value as the box shows it.
void draw_value(int i, int x1, int y1, int y2, float luminance) {
  const int typ = inpt_typ[i];
  const int siz = inpt_siz[i];
  const std::string_view v = inpt_cval[i].view();
  if (i == CurInpt && CurPos_1 >= 0) {
    if (CurPos_1 < CurPos_2) {
      colour(kSelection);
      fill_rect(x1 + Yoffset + DxI * CurPos_1, y1 + 2, x1 + Yoffset + DxI * CurPos_2, y2 - 2);
    } else if (CurPos_2 == -1 || CurPos_2 == CurPos_1) {
      colour(kBlack);
      line(x1 + Yoffset + DxI * CurPos_1, y1 + 2, x1 + Yoffset + DxI * CurPos_1, y2 - 2);
    }
  }
  colour(typ == kCOL && luminance <= 0.16f ? kWhite : kBlack);
  const int tx = x1 + Yoffset, ty = y1 + Yoffset + 1;
  if (has_selection(i)) {
    colour(kBlack);
    text(Inp_Font, tx, ty, part(v, inpt_ofs[i], siz));
  } else if (i == CurInpt && typ == kKEY) {
    colour(kPrompt);
    text(Inp_Font, tx, ty, "Hit a key");
  } else if (typ <= kCOL || static_cast<int>(v.size()) <= siz) {
    text(Inp_Font, tx, ty, part(v, inpt_ofs[i], siz));
  } else {
    // A long path or list entry: its end tells most.
    int keep = std::max(siz - 3, 0);
    text(Inp_Font, tx, ty, "..." + std::string(v.substr(v.size() - static_cast<std::size_t>(keep))));
  }
}

void draw_input(int i) {
  const Rect& box = inpt_pos[i];
  const int x1 = box[0], y1 = box[1], y2 = box[3];
  int x2 = box[2];
  const int mid = (y1 + y2) / 2;
  const int typ = inpt_typ[i];
  const bool radio = rdio_set[i] >= 0;
  const float cx = (x1 + x2) / 2.0f + 2, cy = (y1 + y2) / 2.0f + 2;

  // Fill.
  Rgba fill = kWhite;
  float luminance = 1;
  if (!inpt_act[i]) {
    fill = kInactiveFill;
  } else if (typ == kCOL) {
    int c = inpt_ival[i];
    fill = {((c >> 16) & 255) / 255.0f, ((c >> 8) & 255) / 255.0f, (c & 255) / 255.0f, 1};
    luminance = 0.3f * fill[0] + 0.59f * fill[1] + 0.11f * fill[2];
  } else if (typ != kTCK && i == CurInpt) {
    fill = kCurrentFill;
  }
  colour(fill);
  if (radio)
    disc(cx, cy, inpt_siz[i] / 2.0f, 1);
  else
    fill_rect(x1, y1, x2, y2 + 1);
  if (!inpt_OK[i]) {
    colour(kInvalid);
    fill_rect(x1, y1, x2, y2 + 1);
  }

  // Marks inside the box.
  if (typ == kDDL) {
    colour(kBlack);
    smooth(true);
    begin(GL_LINE_STRIP);
    glVertex2f(x2 - 2 * DxI + 2, y2 - 5);
    glVertex2f(x2 - DxI, y1 + 5);
    glVertex2f(x2 - 2, y2 - 5);
    glEnd();
    smooth(false);
  }
  if (typ == kTCK) {
    if (inpt_ival[i] != 0 && !radio) {
      int d = (y2 - y1) / 4;
      colour(kBlack);
      glLineWidth(2);
      smooth(true);
      begin(GL_LINE_STRIP);
      glVertex2f(x1 + 3, y1 + 2 * d);
      glVertex2f(x1 + 2 * d, y1 + d);
      glVertex2f(x2 - 3, y2 - 3);
      glEnd();
      smooth(false);
      glLineWidth(1);
    } else if (inpt_ival[i] != 0) {
      colour(kRadioDot);
      disc(cx, cy, static_cast<float>(((y2 - y1) * 10) / 30), 2);
    }
  } else {
    draw_value(i, x1, y1, y2, luminance);
  }

  // Spin arrows, pressed while held; the frame then encloses them.
  glLineWidth(1);
  colour(kBlack);
  if (inpt_arr[i] != 0) {
    const float xl = x2 + 2, xr = x2 + 2 * DxI - 2, xm = x2 + DxI;
    colour(kHighlight);
    if (inpt_inc[i] == 1) triangle(GL_TRIANGLES, xl, mid + 1, xm, y2 - 1, xr, mid + 1);
    if (inpt_inc[i] == -1) triangle(GL_TRIANGLES, xl, mid - 1, xm, y1 + 1, xr, mid - 1);
    colour(kBlack);
    smooth(true);
    triangle(GL_LINE_LOOP, xl, mid - 1, xm, y1 + 1, xr, mid - 1);
    triangle(GL_LINE_LOOP, xl, mid + 1, xm, y2 - 1, xr, mid + 1);
    smooth(false);
    x2 += 2 * DxI;
  }

  // Frame: a sunken bevel, or the circle of a radio button.
  if (!radio) {
    corner(kShadeDark, x1, y1, x1, y2 + 1, x1 - 1, y2 + 1, x2, y2 + 1);
    corner(kShadeMid, x1 - 1, y1, x1 - 1, y2 + 2, x1 - 2, y2 + 2, x2 + 2, y2 + 2);
    corner(kShadeLight, x1 - 1, y1, x2 + 1, y1, x2 + 1, y1, x2 + 1, y2 + 1);
    corner(kWhite, x1 - 2, y1 - 1, x2 + 2, y1 - 1, x2 + 2, y1 - 1, x2 + 2, y2 + 2);
  } else {
    const float r = inpt_siz[i] / 2.0f;
    glLineWidth(1.5f);
    smooth(true);
    begin(GL_LINE_LOOP);
    for (int k = 0; k < NCRad; ++k) {
      glColor4fv((k < NCRad / 2 ? kShadeDark : kShadeLight).data());
      glVertex2f(cx + r * pprad[k][0], cy + r * pprad[k][1]);
    }
    glEnd();
    smooth(false);
    glLineWidth(1);
  }

  // The "..." tag of a value longer than its box; held, it shows the value.
  if (typ != kTCK && typ != kKEY && typ != kCOL && inpt_cval[i].length() > inpt_siz[i]) {
    int wd = 0, hd = 0;
    text_size(Inp_Font, "...", wd, hd);
    inpt_ovr[i] = {x2 - wd - 4, y1 - hd - 5, x2, y1 - 1};
    const Rect& t = inpt_ovr[i];
    colour(kWhite);
    fill_rect(t[0], t[1], t[2], t[3]);
    colour(kShadeDark);
    text(Inp_Font, x2 - wd - 2, y1 - hd - 3, "...");
    outline_rect(t[0], t[1], t[2], t[3]);
  } else {
    inpt_ovr[i] = {0, 0, 0, 0};
  }

  colour(inpt_act[i] ? kBlack : kInactiveLabel);
  text(Txt_Font, inpt_ptx[i][0], inpt_ptx[i][1], inpt_txt[i].view());
}

// ---- titles, buttons, separators ----

void draw_titles() {
  colour(kBlack);
  for (int t = 0; t < nb_subt; ++t) {
    set_size(t == 0 ? font_size + 2 : font_size);
    text(Txt_Font, subt_pos[t][0], subt_pos[t][1], subt_txt[t].view());
  }
}

void draw_buttons() {
  for (int b = 0; b < nb_butt; ++b) {
    const Rect& r = butt_pos[b];
    const float x1 = r[0], y1 = r[1], x2 = r[2], y2 = r[3];
    const bool down = b == CurButt;
    corner(down ? kShadeDark : kShadeLight, x1, y1, x1, y2 + 1, x1, y2 + 1, x2, y2 + 1);
    corner(down ? kShadeMid : kWhite, x1 - 1, y1 - 2, x1 - 1, y2 + 2, x1 - 1, y2 + 2, x2 + 2, y2 + 2);
    corner(down ? kShadeLight : kShadeMid, x1 - 1, y1, x2 + 1, y1, x2 + 1, y1, x2 + 1, y2 + 1);
    corner(down ? kWhite : kShadeDark, x1 - 2, y1 - 1, x2 + 2, y1 - 1, x2 + 2, y1 - 1, x2 + 2, y2 + 2);
    set_size(font_size);
    int w = 0, h = 0;
    text_size(Txt_Font, butt_txt[b].c_str(), w, h);
    colour(kBlack);
    text(Txt_Font, r[0] + (butt_siz[b] - w) / 2, r[1] + Yoffset, butt_txt[b].view());
  }
}

void draw_separators() {
  colour(kBlack);
  for (int s = 0; s < nb_sepa; ++s) line(sepa_pos[s][0], sepa_pos[s][1], sepa_pos[s][2], sepa_pos[s][3]);
}

// ---- error message, open list, overflow view ----

void draw_message() {
  if (xmsg < 0 || MsgInpt < 0 || MsgInpt >= nb_inpt) return;
  set_size(font_size);
  int w = 0, h = 0;
  text_size(Txt_Font, inpt_msg[MsgInpt].c_str(), w, h);
  // Kept inside the window: moved left at its right edge.
  if (xmsg + w + 2 > windowInfo.width) xmsg = windowInfo.width < w + 2 ? 0 : windowInfo.width - w - 2;
  colour(kWhite);
  fill_rect(xmsg - 2, ymsg - Yoffset - 2, xmsg + w + 2, ymsg + h + 2);
  colour(kMessage);
  text(Txt_Font, xmsg, ymsg, inpt_msg[MsgInpt].view());
}

void draw_open_list() {
  if (CurDDL < 0 || CurDDL >= kMaxDdl) return;
  const int e = ddl_inpt[CurDDL];
  if (e < 0 || e >= nb_inpt) return;
  const Rect& box = inpt_pos[e];
  const int x1 = box[0], x2 = box[2];
  const int rh = box[3] - box[1];
  const int count = ddl_nbli[CurDDL];
  int n = count;
  Scroll = 0;
  if (n > kListRows) {
    n = kListRows;
    Scroll = 1;
  }
  // The list hangs below its element, pushed up when it would leave the window.
  int top = box[1];
  int bottom = top - n * rh;
  if (bottom < 0) {
    top = top - bottom + 12;
    bottom = 12;
  }
  ddl_pos = {x1, top, x2, bottom};

  colour(kWhite);
  fill_rect(x1, bottom, x2, top);
  colour(kListOutline);
  outline_rect(x1, bottom, x2, top);

  if (CurDDL_N >= 0) {
    int y = top - (CurDDL_N + 1 - ddl_offset) * rh;
    if (y < top && y >= bottom) {
      colour(kHighlight);
      fill_rect(x1 + 2, y + 2, x2 - DxScrl - 2, y + rh - 2);
    }
  }
  for (int r = 0; r < n; ++r) {
    const int y = top - (r + 1) * rh;
    if (ddl_offset + r == inpt_ival[e]) {
      colour(kHighlight);
      glLineWidth(2.5f);
      outline_rect(x1 + 1, y + 1, x2 - 2, y + rh - 1);
      glLineWidth(1);
    }
    colour(kBlack);
    text(Inp_Font, x1 + Yoffset, y + Yoffset + 1, ddl_entry(CurDDL, ddl_offset + r));
  }

  if (!Scroll) {
    DxScrl = 0;
    return;
  }
  DxScrl = 2 * DxI;
  colour(kScrollTrack);
  fill_rect(x2 - DxScrl, bottom, x2, top);
  const int span = top - bottom - 2 * DxScrl;
  YScrl0 = (top - DxScrl) - (ddl_offset + kListRows) * span / count;
  YScrl1 = (top - DxScrl) - ddl_offset * span / count;
  colour(ScrollDrag ? kThumbDragged : kThumb);
  fill_rect(x2 - DxScrl, YScrl0, x2, YScrl1);
  colour(kThumb);
  triangle(GL_TRIANGLES, x2 - DxScrl + 3, top - DxScrl + 3, x2 - 3, top - DxScrl + 3, x2 - DxI, top - 3);
  triangle(GL_TRIANGLES, x2 - DxScrl + 3, bottom + DxScrl - 3, x2 - 3, bottom + DxScrl - 3, x2 - DxI, bottom + 3);
}

void draw_overflow_view() {
  if (CurOvfl < 0 || CurOvfl >= nb_inpt) return;
  const int e = CurOvfl;
  const Rect& box = inpt_pos[e];
  const int siz = inpt_siz[e];
  if (siz <= 0) return;
  const std::string_view v = inpt_cval[e].view();
  const int len = static_cast<int>(v.size());
  const int lines = (len + siz - 1) / siz;
  const int rh = box[3] - box[1];
  int top, bottom;
  // Downwards from the box, or upwards when that would leave the window.
  if (box[3] - lines * rh <= 0) {
    bottom = box[1];
    top = box[1] + lines * rh;
  } else {
    top = box[3];
    bottom = box[3] - lines * rh;
  }
  colour(kWhite);
  fill_rect(box[0], bottom, box[2], top);
  colour(kBlack);
  outline_rect(box[0], bottom, box[2], top);
  set_size(font_size);
  for (int k = 0; k < lines; ++k)
    text(Inp_Font, box[0] + Yoffset, top - rh + Yoffset - k * rh, part(v, k * siz, siz));
}

}  // namespace

void text_size(CpwFontFace face, const char* text, int& width, int& height) {
  width = height = 0;
  CpwFontBBox b{};
  if (face && text && cpwGetFontBBox(this_cpw, face, text, &b)) {
    width = b.width;
    height = b.height;
  }
}

void set2DMatrix() {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluOrtho2D(0, windowInfo.width, 0, windowInfo.height);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void draw_state_init() {
  // The white texel: sampled like the toolkit's glyph textures (nearest,
  // clamped, RGBA), so that text and primitives share one state.
  const unsigned char white[4] = {255, 255, 255, 255};
  glGenTextures(1, &white_texture);
  glBindTexture(GL_TEXTURE_2D, white_texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
}

void drawWindowOne() {
  glEnable(GL_BLEND);
  glBindTexture(GL_TEXTURE_2D, white_texture);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glEnable(GL_TEXTURE_2D);
  glClearColor(kBackground[0], kBackground[1], kBackground[2], kBackground[3]);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  set2DMatrix();
  colour(kBlack);
  // Labels and values are drawn at the form's text size in every frame, not
  // at whatever size the previous frame's last title left behind.
  set_size(font_size);
  for (int i = 0; i < nb_inpt; ++i) draw_input(i);
  draw_titles();
  draw_buttons();
  draw_separators();
  draw_message();
  draw_open_list();
  draw_overflow_view();
}

}  // namespace forms_window
