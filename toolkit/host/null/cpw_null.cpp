// The null host: records the operations asked of it and pumps messages that
// tests post, through the same window procedure rules as the real hosts.
#include "toolkit/host/null/cpw_null.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
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
// The clipboard is the system's: it outlives contexts.
std::string clipboard;
bool clipboard_has_text = false;

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

// A key message as the low-level hook reports it on a US keyboard: the
// generic modifiers as their left side, scan codes by virtual key. The key
// state follows the messages as on X11: the message's capslock flag is the
// Caps Lock toggle (X's modifier state), except on the Caps Lock key's own
// messages, whose press flips it; Num Lock and Scroll Lock flip on presses.
void deliver_key(pCpw cpw, const CpwNullMessage& m) {
  unsigned vk = unsigned(m.a) & 0xFF;
  if (vk >= 0x10 && vk <= 0x12) vk = vk == 0x10 ? 0xA0 : vk == 0x11 ? 0xA2 : 0xA4;
  bool down = m.b != 0;
  unsigned char* k = cpw->ctx_localhost->keystate;
  bool press = down && !(k[vk] & 0x80);
  if (vk == 0x14 || vk == 0x90 || vk == 0x91) {
    if (press) cpw_keystate_settoggle(cpw, vk, !(k[vk] & 0x01));
  }
  if (vk != 0x14) cpw_keystate_settoggle(cpw, 0x14, m.capslock);
  cpw_keystate_set(cpw, vk, down);
  unsigned scan = 0;
  bool extended = false;
  cpw_keys_usscan(vk, &scan, &extended);
  NullState* s = state(cpw);
  CpwKeyRecord rec{vk, scan, extended ? unsigned(CPW_KEYREC_EXTENDED) : 0u, !down,
                   static_cast<unsigned long>(s ? s->clock : 0)};
  cpw_wndproc_keyrecord(cpw, m.id, rec, m.shift, m.capslock, m.c, m.d);
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
    case CPW_NULL_KEY: deliver_key(cpw, m); break;
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

// Nothing can arrive while the loop waits: the clock moves on to the next
// timer at once, and without timers the wait ends at once.
void null_waitevents(pCpw cpw, int milliseconds) {
  if (cpw_null_pending(cpw) == 0 && milliseconds > 0) cpw_null_advance(cpw, milliseconds);
}

bool null_setkeyhook(pCpw cpw, CpwKeyHook hook) {
  cpw->ctx_localhost->keyhook = hook;
  record(cpw, "keyhook %s", hook ? "on" : "off");
  return true;
}

bool null_keyboardstate(pCpw cpw, unsigned char state[256]) {
  std::memcpy(state, cpw->ctx_localhost->keystate, 256);
  return true;
}

// ---- a US layout ---------------------------------------------------------------

const char us_digits_shifted[] = ")!@#$%^&*(";  // by digit 0 .. 9

struct OemChars {
  unsigned vk;
  char plain, shifted;
};
const OemChars us_oem[] = {
    {0xBA, ';', ':'}, {0xBB, '=', '+'}, {0xBC, ',', '<'}, {0xBD, '-', '_'}, {0xBE, '.', '>'}, {0xBF, '/', '?'},
    {0xC0, '`', '~'}, {0xDB, '[', '{'}, {0xDC, '\\', '|'}, {0xDD, ']', '}'}, {0xDE, '\'', '"'}, {0xE2, '\\', '|'},
};

// The character of a key on a US keyboard, or -1.
int us_char(unsigned vk, bool shift, bool caps, bool ctrl) {
  switch (vk) {
    case 0x08: return ctrl ? 0x7F : 0x08;
    case 0x09: return ctrl ? -1 : 0x09;
    case 0x0D: return ctrl ? 0x0A : 0x0D;
    case 0x1B: return 0x1B;
    case 0x20: return ' ';
    case 0x03: return 0x03;  // Ctrl+Break
    default: break;
  }
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return int(vk - 0x40);
    return int(shift != caps ? vk : vk + 0x20);
  }
  if (vk >= 0x60 && vk <= 0x69) return ctrl ? -1 : int('0' + vk - 0x60);
  if (ctrl) {
    if (vk == 0xDB) return 0x1B;
    if (vk == 0xDD) return 0x1D;
    if (vk == 0xDC || vk == 0xE2) return 0x1C;
    return -1;
  }
  if (vk >= '0' && vk <= '9') return shift ? us_digits_shifted[vk - '0'] : int(vk);
  switch (vk) {
    case 0x6A: return '*';
    case 0x6B: return '+';
    case 0x6D: return '-';
    case 0x6E: return '.';
    case 0x6F: return '/';
    default: break;
  }
  for (const OemChars& o : us_oem)
    if (o.vk == vk) return static_cast<unsigned char>(shift ? o.shifted : o.plain);
  return -1;
}

int null_toascii(pCpw, unsigned int vk, unsigned int, const unsigned char state[256], unsigned char* ch) {
  bool ctrl = cpw_keystate_control(state), alt = cpw_keystate_alt(state);
  if (ctrl && alt) return 0;  // Ctrl+Alt is AltGr, which a US keyboard has not
  int c = us_char(vk, cpw_keystate_shift(state), state[0x14] & 0x01, ctrl);
  if (c < 0) return 0;
  *ch = static_cast<unsigned char>(c);
  return 1;
}

int null_vkkeyscan(pCpw, unsigned char ch) {
  if (ch >= 1 && ch <= 26 && ch != 8 && ch != 9 && ch != 13) return 0x200 | (0x40 + ch);
  static const unsigned keys[] = {0x08, 0x09, 0x0D, 0x1B, 0x20, '0', '1', '2', '3', '4', '5', '6', '7', '8', '9',
                                  0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE};
  for (int shift = 0; shift < 2; ++shift) {
    for (unsigned vk = 'A'; vk <= 'Z'; ++vk)
      if (us_char(vk, shift, false, false) == ch) return int(vk) | (shift ? 0x100 : 0);
    for (unsigned vk : keys)
      if (us_char(vk, shift, false, false) == ch) return int(vk) | (shift ? 0x100 : 0);
  }
  return -1;
}

bool null_setclipboard(pCpw cpw, const char* text) {
  if (fails("setclipboard")) return false;
  clipboard = text;
  clipboard_has_text = true;
  record(cpw, "setclipboard");
  return true;
}

bool null_getclipboard(pCpw, char* text, int size) {
  if (fails("getclipboard") || !clipboard_has_text) return false;
  std::size_t n = clipboard.size() < std::size_t(size - 1) ? clipboard.size() : std::size_t(size - 1);
  std::memcpy(text, clipboard.data(), n);
  text[n] = '\0';
  return true;
}

void null_serveclipboard(pCpw cpw) { record(cpw, "serveclipboard"); }

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
    null_waitevents,
    cpw_platform_fontpath,
    null_setkeyhook,
    null_keyboardstate,
    null_toascii,
    null_vkkeyscan,
    null_setclipboard,
    null_getclipboard,
    null_serveclipboard,
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

void cpw_null_setclipboard(const char* text) {
  clipboard = text ? text : "";
  clipboard_has_text = text != nullptr;
}

bool cpw_null_getclipboard(std::string* text) {
  if (text) *text = clipboard;
  return clipboard_has_text;
}
