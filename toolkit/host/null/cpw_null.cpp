// The null host: records the operations asked of it and pumps messages that
// tests post, through the same window procedure rules as the real hosts.
#include "toolkit/host/null/cpw_null.h"

#include <cstdarg>
#include <cstdio>
#include <deque>
#include <string>

#include "toolkit/host/cpw_host.h"

namespace {

struct NullState {
  std::string log;
  std::deque<CpwNullMessage> messages;
  double clock = 0;  // milliseconds
};

std::string failing;  // operation that fails next
unsigned int screen_width = 1024, screen_height = 768;

NullState* state(pCpw cpw) {
  return cpw && cpw->ctx_localhost ? static_cast<NullState*>(cpw->ctx_localhost->host) : nullptr;
}

void record(pCpw cpw, const char* format, ...) __attribute__((format(printf, 2, 3)));
void record(pCpw cpw, const char* format, ...) {
  NullState* s = state(cpw);
  if (!s) return;
  char line[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  s->log += line;
  s->log += '\n';
}

bool fails(const char* operation) {
  if (failing != operation) return false;
  failing.clear();
  return true;
}

bool null_init(pCpw cpw) {
  if (fails("init")) return false;
  cpw->ctx_localhost->host = new NullState;
  cpw->cpw_screenwidth = screen_width;
  cpw->cpw_screenheight = screen_height;
  record(cpw, "init %s", cpw->ctx_localhost->classname);
  return true;
}

void null_exit(pCpw cpw) {
  delete state(cpw);
  cpw->ctx_localhost->host = nullptr;
}

bool null_createwindow(pCpw cpw, pCpwWin w, const char* title) {
  if (fails("createwindow")) {
    cpw->err_code = cpw_error_createwindowfailed;
    return false;
  }
  w->plhwc = new _CpwLocalhostWindow{};
  w->plhwc->hwnd = 0x1000 + w->id;
  w->plhwc->winstyle = cpw->win_properties;
  w->plhwc->updates = 1;
  w->plhwc->visible = true;
  record(cpw, "create %u \"%s\" %u %u %u %u props=0x%X menu=%d", w->id, title, w->x, w->y, w->width, w->height,
         unsigned(cpw->win_properties), cpw->win_expectmenu ? 1 : 0);
  return true;
}

bool null_setpixelformat(pCpw cpw, pCpwWin w) {
  if (fails("setpixelformat")) {
    cpw->err_code = cpw_error_setpixelformat;
    return false;
  }
  record(cpw, "pixelformat %u 0x%X", w->id, unsigned(cpw->cpw_displaymode));
  return true;
}

bool null_createglcontext(pCpw cpw, pCpwWin w) {
  if (fails("createglcontext")) {
    cpw->err_code = cpw_error_createcontext;
    return false;
  }
  w->plhwc->glContext = w->plhwc;  // stands for a context of its own
  record(cpw, "glcontext %u", w->id);
  return true;
}

bool null_makecurrent(pCpw cpw, pCpwWin w) {
  if (fails("makecurrent")) {
    cpw->err_code = cpw_error_makecurrent;
    return false;
  }
  record(cpw, "current %u", w->id);
  return true;
}

bool null_swapbuffers(pCpw cpw, pCpwWin w) {
  if (fails("swapbuffers")) return false;
  record(cpw, "swap %u", w->id);
  return true;
}

void null_showwindow(pCpw cpw, pCpwWin w) {
  w->plhwc->visible = true;
  record(cpw, "show %u", w->id);
}

void null_hidewindow(pCpw cpw, pCpwWin w) {
  w->plhwc->visible = false;
  record(cpw, "hide %u", w->id);
}

void null_setforeground(pCpw cpw, pCpwWin w) { record(cpw, "foreground %u", w->id); }

bool null_reshapewindow(pCpw cpw, pCpwWin w, unsigned int width, unsigned int height) {
  record(cpw, "reshape %u %u %u", w->id, width, height);
  return true;
}

void null_destroywindow(pCpw cpw, pCpwWin w) {
  record(cpw, "destroy %u", w->id);
  delete w->plhwc;
  w->plhwc = nullptr;
}

void null_setcursor(pCpw cpw, pCpwWin w) { record(cpw, "cursor %u %d", w->id, int(w->cursor)); }
void null_restorecursor(pCpw, pCpwWin) {}

void null_capturemouse(pCpw cpw, pCpwWin w, bool capture) {
  record(cpw, "capture %u %s", w->id, capture ? "on" : "off");
}

void deliver(pCpw cpw, const CpwNullMessage& m) {
  switch (m.kind) {
    case CPW_NULL_MOVE: cpw_wndproc_move(cpw, m.id, m.a, m.b); break;
    case CPW_NULL_SIZE: cpw_wndproc_size(cpw, m.id, m.a, m.b, m.c); break;
    case CPW_NULL_SETFOCUS: cpw_wndproc_setfocus(cpw, m.id); break;
    case CPW_NULL_KILLFOCUS: cpw_wndproc_killfocus(cpw, m.id); break;
    case CPW_NULL_PAINT: cpw_wndproc_paint(cpw, m.id); break;
    case CPW_NULL_CLOSE: cpw_wndproc_close(cpw, m.id); break;
    case CPW_NULL_SHOWWINDOW: cpw_wndproc_showwindow(cpw, m.id, m.a != 0); break;
    case CPW_NULL_SETCURSOR: cpw_wndproc_setcursor(cpw, m.id, m.a != 0); break;
    case CPW_NULL_DISPLAYCHANGE: cpw_wndproc_displaychange(cpw, unsigned(m.a), unsigned(m.b)); break;
    case CPW_NULL_KEY:
      cpw_wndproc_key(cpw, m.id, unsigned(m.a), cpw_keys_uschar(unsigned(m.a)), m.b != 0, m.shift, m.capslock, m.c,
                      m.d);
      break;
    case CPW_NULL_MOUSEMOVE: cpw_wndproc_mousemove(cpw, m.id, unsigned(m.a), m.c, m.d); break;
    case CPW_NULL_BUTTON: cpw_wndproc_button(cpw, m.id, m.a, m.b != 0, m.c, m.d); break;
    case CPW_NULL_WHEEL: cpw_wndproc_wheel(cpw, m.id, m.a, m.c, m.d); break;
    case CPW_NULL_QUIT: break;
  }
}

bool null_processevents(pCpw cpw, int max) {
  NullState* s = state(cpw);
  for (int i = 0; i < max; ++i) {
    if (!s || s->messages.empty()) return false;
    CpwNullMessage m = s->messages.front();
    s->messages.pop_front();
    if (m.kind == CPW_NULL_QUIT) {
      cpwBreakMainLoop(cpw);
      return false;
    }
    deliver(cpw, m);
  }
  return true;
}

double null_hpfrequency(pCpw) { return 1000.0; }

double null_hpcount(pCpw cpw) {
  NullState* s = state(cpw);
  return s ? s->clock : 0.0;
}

void null_sleep(pCpw cpw, unsigned int milliseconds) { cpw_null_advance(cpw, milliseconds); }

bool null_setkeyhook(pCpw, CpwKeyHook) { return false; }

const CpwHostOps null_ops = {
    "null",
    null_init,
    null_exit,
    null_createwindow,
    null_setpixelformat,
    null_createglcontext,
    null_makecurrent,
    null_swapbuffers,
    null_showwindow,
    null_hidewindow,
    null_setforeground,
    null_reshapewindow,
    null_destroywindow,
    null_setcursor,
    null_restorecursor,
    null_capturemouse,
    null_processevents,
    null_hpfrequency,
    null_hpcount,
    null_sleep,
    cpw_platform_fontpath,
    null_setkeyhook,
};

}  // namespace

const CpwHostOps* cpw_localhost_table() { return &null_ops; }

void cpw_null_post(pCpw cpw, const CpwNullMessage& m) {
  if (NullState* s = state(cpw)) s->messages.push_back(m);
}

int cpw_null_pending(pCpw cpw) {
  NullState* s = state(cpw);
  return s ? int(s->messages.size()) : 0;
}

std::string cpw_null_log(pCpw cpw) {
  NullState* s = state(cpw);
  return s ? s->log : std::string();
}

void cpw_null_clearlog(pCpw cpw) {
  if (NullState* s = state(cpw)) s->log.clear();
}

void cpw_null_advance(pCpw cpw, double milliseconds) {
  if (NullState* s = state(cpw)) s->clock += milliseconds;
}

double cpw_null_clock(pCpw cpw) { return null_hpcount(cpw); }

void cpw_null_failnext(const char* operation) { failing = operation ? operation : ""; }

void cpw_null_setscreen(unsigned int width, unsigned int height) {
  screen_width = width;
  screen_height = height;
}
