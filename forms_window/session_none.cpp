// The window session while the forms window has no window host: the form is
// handed over and laid out tables-wise, but no window opens. Callers see
// what a form without a window gives: window id 0 and exit status 0.
// This file is the one place the real session replaces.
#include "common/trace.h"
#include "forms_window/forms_window.h"
#include "forms_window/forms_window_state.h"

namespace forms_window {
void request_redraw() {}
}  // namespace forms_window

using namespace forms_window;

void set_opt(const std::array<int, 3>& opt) {
  ActWin = opt[0];
  font_size = opt[1];
  DEBUG = opt[2];
}

int frm_start_graphics(const char* font, const char* title) {
  font_name = arg_text(font, 1024);
  Title = arg_text(title, 1024);
  if (DEBUG) trace("ActWin,font_size,DEBUG", ActWin, font_size, DEBUG);
  trace("frm_start_graphics : no window available, the form", Title.c_str(), "is not shown");
  windowInfo.id = 0;
  return 0;
}

int frm_do_graphics() {
  if (windowInfo.id == 0) return 0;
  return ExitStat;
}

int frm_new_form_gr() { return windowInfo.id; }
