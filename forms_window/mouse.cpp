// Mouse interaction with the form: the element or button under the pointer,
// tick boxes and radio groups, drop-down lists (rows, wheel, scroll cells,
// thumb), spin arrows, caret and selection, the choosers of path and colour
// elements, error messages, and the buttons that check the values, call the
// application and end the form.
//
// Positions arrive with y downwards and are turned at once into the form's
// coordinates (y upwards). Element numbers are 0-based here and 1-based for
// the application.
#include <algorithm>
#include <cstdio>
#include <span>
#include <string>

#include "common/dialogs.h"
#include "common/messages.h"
#include "forms/my_forms.h"
#include "forms_window/forms_window.h"
#include "forms_window/forms_window_state.h"
#include "forms_window/window_session.h"

using namespace forms_window;

namespace {

int form_y(unsigned int y) { return windowInfo.height - static_cast<int>(y); }

bool list_open() { return CurDDL >= 0 && CurDDL < kMaxDdl; }
int list_count() { return list_open() ? ddl_nbli[CurDDL] : 0; }
bool list_scrolls() { return list_count() > kListRows; }
int list_max_offset() { return std::max(list_count() - kListRows, 0); }

void close_list() {
  CurDDL_N = CurDDL = CurInpt = -1;
  ddl_offset = 0;
  ddl_pos = {-1, -1, -1, -1};
}

// The active element whose box holds the point, or -1.
int element_at(int x, int y) {
  int k = get_box_num(x, y, nb_inpt, inpt_pos);
  return k >= 0 && inpt_act[k] ? k : -1;
}

// Entry `entry` of the open list becomes the value of the element showing it.
void select_entry(int e, int entry) {
  inpt_ival[e] = entry;
  inpt_cval[e] = ddl_entry(CurDDL, entry);
  int chosen = entry + 1;  // the application counts entries from 1
  frm_callback(1, e + 1, chosen);
}

// Cell under the pointer of a text box, held within the value's end.
int cell_at(int e, int x) {
  int c = DxI > 0 ? (x - inpt_pos[e][0] - Yoffset) / DxI : 0;
  c = std::max(c, 0);
  int len = inpt_cval[e].length();
  if (c + inpt_ofs[e] > len) c = std::max(len - inpt_ofs[e], 0);
  return c;
}

// Releases on an open list: a scroll cell moves it by one entry, a row is
// chosen, anywhere else closes it (unless the thumb is being let go).
void list_release(int x, int y) {
  const int e = ddl_inpt[CurDDL];
  if (e < 0 || e >= nb_inpt) {
    close_list();
    return;
  }
  const int rh = inpt_pos[e][3] - inpt_pos[e][1];
  const int x1 = ddl_pos[0], top = ddl_pos[1], x2 = ddl_pos[2], bottom = ddl_pos[3];
  if (list_scrolls() && x2 - DxScrl < x && x < x2) {
    if (bottom < y && y < bottom + DxScrl && ddl_offset < list_max_offset()) ++ddl_offset;
    if (top - DxScrl < y && y < top && ddl_offset > 0) --ddl_offset;
    return;
  }
  // Letting the thumb go over the rows ends the drag; it chooses nothing.
  if (ScrollDrag) return;
  if (x1 < x && x < x2 - DxScrl && bottom < y && y < top && rh > 0) {
    int entry = ddl_offset + (top - y) / rh;
    if (entry < list_count()) select_entry(e, entry);
  }
  frm_StartKbdHook(0);
  close_list();
}

// A path element clicked again: its chooser.
void run_path_chooser(int e) {
  frm_StartKbdHook(0);
  const int typ = inpt_typ[e];
  std::string chosen;
  bool got = typ == kIFP   ? choose_input_file(Title.c_str(), inpt_cval[e].c_str(), inpt_ext[e].c_str(), chosen)
             : typ == kOFP ? choose_output_file(Title.c_str(), inpt_cval[e].c_str(), inpt_ext[e].c_str(), chosen)
                           : choose_folder(Title.c_str(), inpt_cval[e].c_str(), chosen);
  if (got) {
    inpt_cval[e] = chosen;
  } else {
    bool fr = IsLanguageFrench() != 0;
    const char* text = typ == kFLD ? (fr ? "Aucun dossier s\xE9lectionn\xE9" : "No folder selected")
                                   : (fr ? "Aucun fichier sp\xE9" "cifi\xE9" : "No file specification returned");
    tinyfd_messageBox("Error", text, "ok", "error", 1);
  }
  CurInptOld = -1;
  if (typ != kFLD) cpwSetCursor(this_cpw, CursorArrow, windowInfo.id);
}

void run_colour_chooser(int e) {
  int c = inpt_ival[e];
  std::array<unsigned char, 3> rgb = {static_cast<unsigned char>((c >> 16) & 255),
                                      static_cast<unsigned char>((c >> 8) & 255), static_cast<unsigned char>(c & 255)};
  std::string chosen;
  if (!choose_colour(inpt_cval[e].c_str(), rgb, chosen)) return;
  inpt_cval[e] = chosen;
  inpt_ival[e] = rgb[0] * 65536 + rgb[1] * 256 + rgb[2];
}

// A release on a tick box: a plain one toggles, a radio member sets itself
// and clears the rest of its group.
void toggle(int e) {
  const int g = rdio_set[e];
  if (g < 0 || g >= nb_rdio) {
    inpt_ival[e] = inpt_ival[e] != 0 ? 0 : 1;
  } else if (inpt_ival[e] == 0) {
    for (int m = 0; m < tick_rdio_count[g]; ++m) inpt_ival[tick_rdio[g][m]] = 0;
    inpt_ival[e] = 1;
  }
  check_depend();
}

// A left press or release on the current element, by its type.
void operate(int e, bool press, int x) {
  switch (inpt_typ[e]) {
    case kDDL:
      if (!press && inpt_ddl[e] >= 0 && inpt_ddl[e] < kMaxDdl) {
        CurDDL = inpt_ddl[e];
        frm_StartKbdHook(1);  // Up and Down scroll the open list
      }
      break;
    case kTCK:
      if (!press) toggle(e);
      break;
    case kKEY:
      frm_StartKbdHook(1);  // the next key is captured
      CurPos_1 = CurPos_2 = -1;
      break;
    case kCOL:
      if (!press) run_colour_chooser(e);
      break;
    case kIFP:
    case kOFP:
    case kFLD:
      if (CurInptOld != CurInpt) {
        frm_StartKbdHook(1);  // selected: Delete empties it
        CurPos_1 = CurPos_2 = -1;
      } else if (!press) {
        run_path_chooser(e);
      }
      break;
    case kINT:
    case kFLT:
    case kCHR:
      // A click places the caret; a press and release apart select between.
      (press ? CurPos_1 : CurPos_2) = cell_at(e, x);
      if (CurPos_1 >= 0 && CurPos_2 >= 0 && CurPos_2 < CurPos_1) std::swap(CurPos_1, CurPos_2);
      frm_StartKbdHook(CurPos_1 >= 0 && CurPos_2 >= 0 ? 1 : 0);
      break;
    default:
      break;
  }
  if (!press) frm_callback(1, e + 1, inpt_ival[e]);
}

// Checks every element's value through the forms library; each rejected
// one is marked and keeps its message. True when all passed.
bool check_all() {
  bool all = true;
  for (int i = 0; i < nb_inpt; ++i) {
    std::span<char> text = inpt_cval[i].buffer();
    std::span<char> message = inpt_msg[i].buffer();
    if (!check_values(i, inpt_act[i], inpt_ival[i], inpt_rval[i], text, message))
      inpt_OK[i] = 0;
    else
      inpt_OK[i] = check_minmax(i, inpt_ival[i], inpt_rval[i], text, message);
    all = all && inpt_OK[i] == 1;
  }
  return all;
}

// A press on a spin arrow makes its element current and steps its value
// once; the arrow is drawn pressed until the release.
void get_arrow(int x, int y) {
  for (int i = 0; i < nb_inpt; ++i) {
    if (!inpt_act[i]) {
      inpt_inc[i] = 0;
      continue;
    }
    if (inpt_arr[i] == 0) continue;
    const Rect& b = inpt_pos[i];
    const int xl = b[2] + 2, xr = b[2] + 2 * DxI - 2, mid = (b[1] + b[3]) / 2;
    if (x < xl || x > xr) continue;
    if (mid + 1 <= y && y <= b[3] - 1) {
      CurInpt = i;
      inpt_inc[i] = 1;
      break;
    }
    if (b[1] + 1 <= y && y <= mid + 1) {
      CurInpt = i;
      inpt_inc[i] = -1;
      break;
    }
  }
  if (CurInpt < 0 || inpt_inc[CurInpt] == 0) return;
  const int e = CurInpt;
  std::span<char> text = inpt_cval[e].buffer();
  char message[257] = {};
  if (check_values(e, inpt_act[e], inpt_ival[e], inpt_rval[e], text, message))
    incrm_val(e, inpt_ival[e], inpt_rval[e], text, inpt_inc[e]);
}

void left_button(bool press, int x, int y) {
  if (press) {
    CurPos_1 = CurPos_2 = -1;
    CurOvfl = get_box_num(x, y, nb_inpt, inpt_ovr);
    const int x2 = ddl_pos[2];
    if (list_open() && list_scrolls() && x2 - DxScrl < x && x < x2 && YScrl0 < y && y < YScrl1) {
      ScrollDrag = 1;
      DyScrl0 = y - YScrl0;
    } else {
      DyScrl0 = -1;
      ScrollDrag = 0;
    }
  } else {
    CurOvfl = -1;
  }

  // With a list open, the click belongs to the list.
  if (list_open()) {
    if (!press) list_release(x, y);
    return;
  }

  CurButt = get_box_num(x, y, nb_butt, butt_pos);
  const int k = element_at(x, y);
  if (press && k >= 0) CurInptOld = CurInpt;
  CurInpt = k;

  if (CurInpt < 0) {
    if (!press && CurButt >= 0) {
      int b = CurButt;
      CurButt = -1;
      run_button(b);
    } else if (press) {
      get_arrow(x, y);
    } else {
      std::fill(inpt_inc.begin(), inpt_inc.end(), 0);
    }
    return;
  }
  operate(CurInpt, press, x);
}

void right_button(bool press, int x, int y) {
  MsgInpt = get_box_num(x, y, nb_inpt, inpt_pos);
  if (MsgInpt < 0 || !press) {
    xmsg = ymsg = -1;
  } else if (inpt_OK[MsgInpt] == 0) {
    xmsg = x;
    ymsg = y;
  }
}

}  // namespace

namespace forms_window {

void run_button(int b) {
  const int typ = butt_typ[b];
  ExitStat = typ;
  if (typ < 0) {
    cpwBreakMainLoop(this_cpw);
    return;
  }
  bool checks = typ == 1 || typ > 100;
  if (checks && !check_all()) return;
  frm_callback(6, b + 1, ExitStat);
  if (typ == 1 || typ > 1000) cpwBreakMainLoop(this_cpw);
}

}  // namespace forms_window

void frm_mouseclick(pCpw, unsigned int, unsigned int state, unsigned int button, unsigned int x, unsigned int y) {
  if (!list_open()) frm_StartKbdHook(0);
  const int fy = form_y(y);
  if (state == CPW_BUTTON_WHEEL) {
    if (!list_open()) return;
    const int notches = static_cast<int>(x);
    if (!list_scrolls())
      CurDDL_N -= notches;
    else
      ddl_offset = std::clamp(ddl_offset - notches, 0, list_max_offset());
    request_redraw();
    return;
  }
  const bool press = state == CPW_BUTTON_DOWN;
  if (button == CPW_BUTTON_LEFT) {
    left_button(press, static_cast<int>(x), fy);
  } else if (button == CPW_BUTTON_RIGHT) {
    right_button(press, static_cast<int>(x), fy);
  } else {
    return;
  }
  request_redraw();
}

void frm_mousemove(pCpw, unsigned int, unsigned int x, unsigned int y) {
  if (!list_open()) return;
  const int fx = static_cast<int>(x), fy = form_y(y);
  const int x1 = ddl_pos[0], top = ddl_pos[1], x2 = ddl_pos[2], bottom = ddl_pos[3];
  const int e = ddl_inpt[CurDDL];
  if (e < 0 || e >= nb_inpt) return;
  const int rh = inpt_pos[e][3] - inpt_pos[e][1];
  if (rh <= 0 || !(x1 < fx && fx < x2 && bottom < fy && fy < top)) return;
  const int row = ddl_offset + (top - fy) / rh;
  if (row == CurDDL_N) return;  // the same row: nothing to draw anew
  CurDDL_N = row;
  request_redraw();
}

void frm_mousedrag(pCpw, unsigned int, unsigned int button, int x, int y) {
  if (!list_open() || !list_scrolls() || button != CPW_BUTTON_LEFT || DyScrl0 < 0) return;
  const int fy = windowInfo.height - y;
  const int top = ddl_pos[1], x2 = ddl_pos[2], bottom = ddl_pos[3];
  if (!(x2 - DxScrl < x && x < x2)) return;
  const double track = (top - bottom - 2.0 * DxScrl) - (YScrl1 - YScrl0);
  if (track <= 0) return;
  double f = 1.0 - (fy - DyScrl0 - bottom - DxScrl) / track;
  f = std::clamp(f, 0.0, 1.0);
  ddl_offset = static_cast<int>(list_max_offset() * f);
  ScrollDrag = 1;
  request_redraw();
}

void frm_mouseentry(pCpw, unsigned int, unsigned int state) {
  if (state != CPW_MOUSE_LEAVE) return;
  // Leaving the window ends editing and closes an open list.
  frm_StartKbdHook(0);
  CurPos_1 = CurPos_2 = -1;
  if (list_open()) close_list();
  CurInpt = CurDDL = CurDDL_N = -1;
  request_redraw();
}
