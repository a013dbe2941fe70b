// The Win32 host: one window class per context, windows with their own
// device context and a WGL rendering context each, and a window procedure
// that hands every message to the neutral window procedure.
//
// Keys come in two halves. A low-level keyboard hook sees each key before
// the system has updated its key state and before the key message is
// posted; it only notes the record when the foreground window is one of the
// context's. The record reaches the toolkit's hook later, from the window
// procedure, when the key's own WM_KEYDOWN or WM_KEYUP arrives: the hook may
// then do anything (redraw, open a message box) without holding up the
// system's input, which drops a low-level hook that does not return in time.
// The key message then gives the toolkit key event, unless the hook consumed
// the key. A key message without a record (the system hook could not be
// installed, or was dropped) makes its record from the message itself.
//
// The system hook is installed while a context has a key hook and one of its
// windows is the foreground window: every key of the whole system passes
// through it, and the toolkit's thread must answer each one in time, also
// while the program waits for something with its window in the background.
#include <windows.h>
#include <windowsx.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "toolkit/cpw_gl.h"
#include "toolkit/host/cpw_host.h"

namespace {

// A key record from the low-level hook, waiting for its key message.
struct PendingKey {
  CpwKeyRecord rec;
  unsigned id;         // the foreground window it was typed into
  ULONGLONG arrived;   // GetTickCount64 when the hook saw it
};

constexpr int kPending = 64;
// A record whose message has not come after this long (a key the system
// kept for itself, such as Alt+Tab's Tab, or one typed into a child window)
// reaches the hook alone.
constexpr ULONGLONG kStaleMs = 100;

struct Win32State {
  HINSTANCE instance;
  ATOM atom;
  bool hooked;  // takes part in the process-wide low-level hook
  PendingKey pending[kPending];
  int first, count;
  HWND tracked;  // the window asked to report the pointer's leaving
};

// The low-level hook has no parameter of its own: the contexts that have a
// key hook are listed here, and one system hook serves them all. Hooks run
// on the thread that installed them, the toolkit's thread.
LRESULT CALLBACK low_level_keys(int code, WPARAM wp, LPARAM lp);
constexpr int kMaxHooked = 16;
HHOOK ll_hook = nullptr;
pCpw hooked[kMaxHooked];
int nhooked = 0;

Win32State* state(pCpw cpw) {
  return cpw && cpw->ctx_localhost ? static_cast<Win32State*>(cpw->ctx_localhost->host) : nullptr;
}

HWND hwnd_of(pCpwWin w) { return reinterpret_cast<HWND>(w->plhwc->hwnd); }
HDC hdc_of(pCpwWin w) { return static_cast<HDC>(w->plhwc->hdc); }

// The context's window behind a native window; 0 for none.
unsigned window_of(pCpw cpw, HWND hwnd) {
  if (!hwnd) return 0;
  for (pLinkedElement e = cpw->list_win.baseElement; e; e = e->childtomyright) {
    pCpwWin w = static_cast<pCpwWin>(e->e.v);
    if (w->plhwc && hwnd_of(w) == hwnd) return w->id;
  }
  return 0;
}

// Installs the system hook while a window of a context with a key hook is
// the foreground window (`foreground`), and removes it otherwise.
void update_system_hook(HWND foreground) {
  bool wanted = false;
  for (int i = 0; i < nhooked && !wanted; ++i) wanted = window_of(hooked[i], foreground) != 0;
  if (wanted && !ll_hook) {
    ll_hook = SetWindowsHookExA(WH_KEYBOARD_LL, low_level_keys, GetModuleHandleA(nullptr), 0);
  } else if (!wanted && ll_hook) {
    UnhookWindowsHookEx(ll_hook);
    ll_hook = nullptr;
  }
}

// ---- window styles and pixel formats -------------------------------------------

DWORD window_style(std::uint32_t props) {
  const DWORD standard = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  DWORD style;
  switch (props & 0xFF) {
    case CPW_WINDOWPROP_POPUP: style = WS_POPUP; break;
    case CPW_WINDOWPROP_NODRESSING: style = WS_CAPTION; break;
    default: style = standard; break;
  }
  switch (props & 0xF00) {
    case CPW_WINDOWPROP_FIXEDFRAME: break;
    case CPW_WINDOWPROP_THINFRAME: style |= WS_BORDER; break;
    default: style |= WS_THICKFRAME; break;  // resizable, also without a frame bit
  }
  return style;
}

// Outer size of a window whose client area is width x height.
SIZE outer_size(DWORD style, bool menu, unsigned width, unsigned height) {
  RECT r{0, 0, LONG(width), LONG(height)};
  AdjustWindowRect(&r, style, menu ? TRUE : FALSE);
  return SIZE{r.right + std::labs(r.left), r.bottom + std::labs(r.top)};
}

PIXELFORMATDESCRIPTOR pixel_format(std::uint32_t mode) {
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof pfd;
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
  if (!(mode & CPW_DM_SINGLE)) pfd.dwFlags |= PFD_DOUBLEBUFFER;
  pfd.iPixelType = (mode & CPW_DM_INDEX) && !(mode & CPW_DM_RGBA) ? PFD_TYPE_COLORINDEX : PFD_TYPE_RGBA;
  pfd.cColorBits = 16;
  if (mode & CPW_DM_COLOR8) pfd.cColorBits = 8, pfd.cAlphaBits = 2;
  else if (mode & CPW_DM_COLOR16) pfd.cColorBits = 16, pfd.cAlphaBits = 4;
  else if (mode & CPW_DM_COLOR32) pfd.cColorBits = 32, pfd.cAlphaBits = 8;
  else if (mode & CPW_DM_COLOR64) pfd.cColorBits = 64, pfd.cAlphaBits = 16;
  if (mode & CPW_DM_ACCUM) pfd.cAccumBits = 16;
  if (mode & CPW_DM_DEPTH) {
    pfd.cDepthBits = (mode & CPW_DM_DEPTH2) ? 2 : (mode & CPW_DM_DEPTH4) ? 4 : (mode & CPW_DM_DEPTH8) ? 8
                   : (mode & CPW_DM_DEPTH16) ? 16 : 8;
  }
  if (mode & CPW_DM_STENCIL) pfd.cStencilBits = 8;
  pfd.iLayerType = PFD_MAIN_PLANE;
  return pfd;
}

// System cursors by CpwCursor (0: none shown, kind 8 hides, 14 is left alone).
const WORD cursor_ids[] = {0,     32512 /*IDC_ARROW*/, 32649 /*IDC_HAND*/,   32648 /*IDC_NO*/,
                           32651 /*IDC_HELP*/,  32513 /*IDC_IBEAM*/,  32514 /*IDC_WAIT*/,
                           32515 /*IDC_CROSS*/, 0,                    32646 /*IDC_SIZEALL*/,
                           32645 /*IDC_SIZENS*/, 32643 /*IDC_SIZENESW*/, 32644 /*IDC_SIZEWE*/,
                           32642 /*IDC_SIZENWSE*/};

void show_cursor(pCpwWin w) {
  int kind = int(w->cursor);
  if (kind == CursorNone) {
    SetCursor(nullptr);
  } else if (kind >= CursorArrow && kind < CursorCustom) {
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(cursor_ids[kind])));
  }
}

// ---- keys -----------------------------------------------------------------------

unsigned generic_vk(unsigned vk) { return vk >= 0xA0 && vk <= 0xA5 ? 0x10 + (vk - 0xA0) / 2 : vk; }

// The side of a modifier key message, as the low-level hook names it.
unsigned sided_vk(unsigned vk, unsigned scan, bool extended) {
  switch (vk) {
    case VK_SHIFT: return scan == 0x36 ? VK_RSHIFT : VK_LSHIFT;
    case VK_CONTROL: return extended ? VK_RCONTROL : VK_LCONTROL;
    case VK_MENU: return extended ? VK_RMENU : VK_LMENU;
    default: return vk;
  }
}

bool is_lock(unsigned vk) { return vk == VK_CAPITAL || vk == VK_NUMLOCK || vk == VK_SCROLL; }

// The lock toggles as the thread's key state has them: while a key message
// is handled, that message included.
void sync_toggles(pCpw cpw) {
  for (unsigned vk : {unsigned(VK_CAPITAL), unsigned(VK_NUMLOCK), unsigned(VK_SCROLL)})
    cpw_keystate_settoggle(cpw, vk, (GetKeyState(int(vk)) & 1) != 0);
}

// The keys held when a window gets the focus or the pointer: a release may
// have gone to another program meanwhile.
void resync_keys(pCpw cpw) {
  cpw_keystate_releaseall(cpw);
  for (unsigned vk = 0x08; vk < 256; ++vk) {
    if (vk >= VK_SHIFT && vk <= VK_MENU) continue;  // they follow their sides
    if (GetAsyncKeyState(int(vk)) & 0x8000) cpw_keystate_set(cpw, vk, true);
  }
  sync_toggles(cpw);
}

// Hands one key record to the toolkit: the key state first, then the hook.
// `with_message`: the key's own message is being handled. True when the
// hook consumed the key.
bool deliver_record(pCpw cpw, unsigned id, const CpwKeyRecord& rec, bool with_message) {
  const unsigned char* keys = cpw->ctx_localhost->keystate;
  bool repeat = !rec.up && cpw_keystate_down(keys, rec.vk);
  cpw_keystate_set(cpw, rec.vk, !rec.up);
  if (with_message)
    sync_toggles(cpw);
  else if (is_lock(rec.vk) && !rec.up && !repeat)
    cpw_keystate_settoggle(cpw, rec.vk, !(keys[rec.vk] & 0x01));  // the press flips it
  return cpw_wndproc_keyhook(cpw, id, rec);
}

void push_pending(Win32State* s, const PendingKey& p) {
  if (s->count == kPending) {  // the oldest gives way
    s->first = (s->first + 1) % kPending;
    --s->count;
  }
  s->pending[(s->first + s->count) % kPending] = p;
  ++s->count;
}

PendingKey pop_pending(Win32State* s) {
  PendingKey p = s->pending[s->first];
  s->first = (s->first + 1) % kPending;
  --s->count;
  return p;
}

// Records whose message has not come in time reach the hook alone. While
// a key message waits in the queue (the pump may have spent the time on a
// slow redraw), it may be a record's own: nothing is stale then.
void deliver_stale(pCpw cpw) {
  Win32State* first = state(cpw);
  if (!first || first->count == 0) return;
  MSG waiting;
  if (PeekMessageA(&waiting, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE)) return;
  ULONGLONG now = GetTickCount64();
  for (Win32State* s = state(cpw); s && s->count > 0 && now - s->pending[s->first].arrived >= kStaleMs;
       s = state(cpw)) {
    PendingKey p = pop_pending(s);
    deliver_record(cpw, p.id, p.rec, false);
  }
}

// The system-wide low-level hook: a key typed while one of a context's
// windows is the foreground window is noted for it; every key goes on.
LRESULT CALLBACK low_level_keys(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && lp) {
    const KBDLLHOOKSTRUCT* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    HWND foreground = GetForegroundWindow();
    for (int i = 0; i < nhooked; ++i) {
      unsigned id = window_of(hooked[i], foreground);
      if (!id) continue;
      unsigned vk = unsigned(k->vkCode) & 0xFF;
      unsigned flags = (k->flags & LLKHF_ALTDOWN) ? unsigned(CPW_KEYREC_ALTDOWN) : 0u;
      // The right Shift key counts as extended, as Windows reports it.
      if ((k->flags & LLKHF_EXTENDED) || vk == VK_RSHIFT) flags |= CPW_KEYREC_EXTENDED;
      // AltGr's left Ctrl carries 0x200 in its scan code: the key's code is the low byte.
      CpwKeyRecord rec{vk, unsigned(k->scanCode) & 0xFF, flags, (k->flags & LLKHF_UP) != 0,
                       static_cast<unsigned long>(k->time)};
      push_pending(state(hooked[i]), PendingKey{rec, id, GetTickCount64()});
      break;
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

// A key message of a window: the low-level records before it reach the hook
// (its own with it), a message without one makes its record from the
// message's scan code and flags, and the toolkit key event follows unless
// the hook consumed the key.
void key_message(pCpw cpw, unsigned id, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const bool up = msg == WM_KEYUP || msg == WM_SYSKEYUP;
  const unsigned scan = unsigned(lp >> 16) & 0xFF;
  const bool extended = (lp & (LPARAM(1) << 24)) != 0;
  const unsigned vk = sided_vk(unsigned(wp) & 0xFF, scan, extended);
  bool matched = false, consumed = false;
  for (Win32State* s = state(cpw); s && s->count > 0 && !matched; s = state(cpw)) {
    PendingKey p = pop_pending(s);
    matched = p.id == id && p.rec.up == up && generic_vk(p.rec.vk) == generic_vk(vk);
    consumed = deliver_record(cpw, p.id, p.rec, matched);
    if (!cpw_window_lookup(cpw, id)) return;  // the hook closed the window
  }
  if (!matched) {
    unsigned flags = extended || vk == VK_RSHIFT ? unsigned(CPW_KEYREC_EXTENDED) : 0u;
    CpwKeyRecord rec{vk, scan, flags, up, static_cast<unsigned long>(GetMessageTime())};
    consumed = deliver_record(cpw, id, rec, true);
    if (!cpw_window_lookup(cpw, id)) return;
  }
  if (consumed) return;
  POINT at{0, 0};
  GetCursorPos(&at);
  ScreenToClient(hwnd, &at);
  // Dead keys carry the top bit.
  unsigned mapped = MapVirtualKeyA(generic_vk(vk), MAPVK_VK_TO_CHAR) & 0x7FFFFFFFu;
  const unsigned char* keys = cpw->ctx_localhost->keystate;
  cpw_wndproc_key(cpw, id, vk, mapped, !up, cpw_keystate_shift(keys), (keys[VK_CAPITAL] & 1) != 0, at.x, at.y);
}

// ---- the window procedure ---------------------------------------------------------

// A window can be drawn into once its rendering context exists: paint and
// size messages during creation would run the display callback with no
// context, or another window's, current.
bool drawable(pCpw cpw, unsigned id) {
  pCpwWin w = cpw_window_lookup(cpw, id);
  return w && w->plhwc && w->plhwc->glContext;
}

LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  pCpw cpw = reinterpret_cast<pCpw>(GetClassLongPtrA(hwnd, 0));
  unsigned id = unsigned(GetWindowLongPtrA(hwnd, 0));
  // Until the context and the id are attached (messages sent during
  // creation), and for a window the toolkit has let go, default processing.
  pCpwWin w = cpw && id ? cpw_window_lookup(cpw, id) : nullptr;
  if (!w || !w->plhwc || hwnd_of(w) != hwnd || !state(cpw)) return DefWindowProcA(hwnd, msg, wp, lp);
  CpwLocalhost* lh = cpw->ctx_localhost;

  switch (msg) {
    case WM_MOVE: {
      RECT r;
      if (GetWindowRect(hwnd, &r)) cpw_wndproc_move(cpw, id, r.left, r.top);
      return 0;
    }
    case WM_SIZE:
      GdiFlush();
      // Other windows' maximising (SIZE_MAXSHOW, SIZE_MAXHIDE) changes nothing here.
      if (wp == SIZE_MINIMIZED || ((wp == SIZE_RESTORED || wp == SIZE_MAXIMIZED) && drawable(cpw, id)))
        cpw_wndproc_size(cpw, id, int(wp), LOWORD(lp), HIWORD(lp));
      return 0;
    case WM_SETFOCUS:
      cpw_wndproc_setfocus(cpw, id);
      resync_keys(cpw);
      return 0;
    case WM_KILLFOCUS:
      cpw_wndproc_killfocus(cpw, id);
      return 0;
    case WM_ACTIVATE:
      // Deactivated: lp is the window that takes over, if it is this thread's.
      update_system_hook(LOWORD(wp) == WA_INACTIVE ? reinterpret_cast<HWND>(lp) : hwnd);
      return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      if (drawable(cpw, id)) cpw_wndproc_paint(cpw, id);
      return 0;
    }
    case WM_CLOSE:
      cpw_wndproc_close(cpw, id);  // the window stays until a callback destroys it
      return 0;
    case WM_SHOWWINDOW:
      cpw_wndproc_showwindow(cpw, id, wp != 0);
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT) {
        unsigned before = lh->cursorid;
        cpw_wndproc_setcursor(cpw, id, true);
        if (before != id && lh->cursorid == id) resync_keys(cpw);
        // A pointer that leaves without crossing the frame sends no
        // WM_SETCURSOR outside the client area: WM_MOUSELEAVE tells.
        if (Win32State* s = state(cpw); s && s->tracked != hwnd) {
          TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hwnd, 0};
          if (TrackMouseEvent(&track)) s->tracked = hwnd;
        }
        // The window's cursor also where the enter step did not show it
        // (the window has no focus), so no border's cursor stays on.
        if (pCpwWin now = cpw_window_lookup(cpw, id)) show_cursor(now);
        return TRUE;
      }
      cpw_wndproc_setcursor(cpw, id, false);
      return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_MOUSELEAVE:
      if (state(cpw)->tracked == hwnd) state(cpw)->tracked = nullptr;
      cpw_wndproc_setcursor(cpw, id, false);
      return 0;
    case WM_SYSCOLORCHANGE:
      InvalidateRect(hwnd, nullptr, TRUE);
      return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_DISPLAYCHANGE:
      cpw_wndproc_displaychange(cpw, unsigned(GetSystemMetrics(SM_CXSCREEN)), unsigned(GetSystemMetrics(SM_CYSCREEN)));
      return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
      key_message(cpw, id, hwnd, msg, wp, lp);
      return 0;
    case WM_COMMAND:
      if (HIWORD(wp) == 0 && lp == 0) cpw_event_insert(cpw, CPW_MENUSELECT_EVENT, id, int(w->menuid), LOWORD(wp));
      return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_MOUSEMOVE:
      cpw_wndproc_mousemove(cpw, id, unsigned(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP: {
      int button = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP ? 0 : msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP ? 1 : 2;
      bool down = msg == WM_LBUTTONDOWN || msg == WM_MBUTTONDOWN || msg == WM_RBUTTONDOWN;
      cpw_wndproc_button(cpw, id, button, down, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    }
    case WM_MOUSEWHEEL: {
      // The wheel's position is on the screen.
      POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ScreenToClient(hwnd, &at);
      cpw_wndproc_wheel(cpw, id, GET_WHEEL_DELTA_WPARAM(wp), at.x, at.y);
      return DefWindowProcA(hwnd, msg, wp, lp);
    }
    case WM_SIZING:
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED:
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

// ---- host operations -----------------------------------------------------------

bool win32_init(pCpw cpw) {
  Win32State* s = new (std::nothrow) Win32State{};
  if (!s) {
    cpw->err_code = cpw_error_outofmemory;
    return false;
  }
  s->instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_OWNDC;
  wc.lpfnWndProc = window_proc;
  wc.cbClsExtra = 32;
  wc.cbWndExtra = 32;
  wc.hInstance = s->instance;
  wc.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  wc.lpszClassName = cpw->ctx_localhost->classname;
  s->atom = RegisterClassExA(&wc);
  if (!s->atom) {
    delete s;
    cpw->err_code = cpw_error_initfailed;
    return false;
  }
  cpw->ctx_localhost->host = s;
  cpw->cpw_screenwidth = unsigned(GetSystemMetrics(SM_CXSCREEN));
  cpw->cpw_screenheight = unsigned(GetSystemMetrics(SM_CYSCREEN));
  return true;
}

bool win32_setkeyhook(pCpw cpw, CpwKeyHook hook);

void win32_exit(pCpw cpw) {
  Win32State* s = state(cpw);
  if (!s) return;
  win32_setkeyhook(cpw, nullptr);
  UnregisterClassA(cpw->ctx_localhost->classname, s->instance);
  delete s;
  cpw->ctx_localhost->host = nullptr;
}

bool win32_createwindow(pCpw cpw, pCpwWin w, const char* title) {
  Win32State* s = state(cpw);
  DWORD style = window_style(cpw->win_properties);
  bool menu = cpw->win_expectmenu;
  SIZE outer = outer_size(style, menu, w->width, w->height);
  HMENU bar = nullptr;
  if (menu && (bar = CreateMenu()) != nullptr) AppendMenuA(bar, MF_STRING, 1, " ");
  HWND hwnd = CreateWindowExA(0, cpw->ctx_localhost->classname, title, style, int(w->x), int(w->y), outer.cx,
                              outer.cy, nullptr, bar, s->instance, nullptr);
  if (!hwnd) {
    if (bar) DestroyMenu(bar);
    cpw->err_code = cpw_error_createwindowfailed;
    return false;
  }
  pCpwLhwc host = new (std::nothrow) _CpwLocalhostWindow{};
  if (!host) {
    DestroyWindow(hwnd);
    cpw->err_code = cpw_error_outofmemory;
    return false;
  }
  // Pointer-sized values: a 64-bit context pointer must not be cut.
  SetClassLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(cpw));
  SetWindowLongPtrA(hwnd, 0, LONG_PTR(w->id));
  host->hwnd = reinterpret_cast<std::uintptr_t>(hwnd);
  host->hdc = GetDC(hwnd);  // the class's own device context, kept for the window's life
  host->hmenu = bar;
  host->winstyle = style;
  host->updates = 1;
  w->plhwc = host;
  ShowWindow(hwnd, SW_SHOW);
  host->visible = true;
  SetForegroundWindow(hwnd);
  return true;
}

bool win32_setpixelformat(pCpw cpw, pCpwWin w) {
  PIXELFORMATDESCRIPTOR pfd = pixel_format(cpw->cpw_displaymode);
  int format = ChoosePixelFormat(hdc_of(w), &pfd);
  if (format == 0) {
    cpw->err_code = cpw_error_nopixelformat;
    return false;
  }
  if (!SetPixelFormat(hdc_of(w), format, &pfd)) {
    cpw->err_code = cpw_error_setpixelformat;
    return false;
  }
  return true;
}

bool win32_createglcontext(pCpw cpw, pCpwWin w) {
  HGLRC rc = wglCreateContext(hdc_of(w));
  if (!rc) {
    cpw->err_code = cpw_error_createcontext;
    return false;
  }
  w->plhwc->glContext = rc;
  return true;
}

bool win32_makecurrent(pCpw cpw, pCpwWin w) {
  // The focus arrives while the window is being created, before its
  // context exists: nothing to make current yet, and nothing failed.
  if (!w->plhwc || !w->plhwc->glContext) return false;
  if (!wglMakeCurrent(hdc_of(w), static_cast<HGLRC>(w->plhwc->glContext))) {
    cpw->err_code = cpw_error_makecurrent;
    return false;
  }
  return true;
}

bool win32_swapbuffers(pCpw, pCpwWin w) { return SwapBuffers(hdc_of(w)) != FALSE; }

void win32_showwindow(pCpw, pCpwWin w) {
  ShowWindow(hwnd_of(w), SW_SHOW);
  w->plhwc->visible = true;
}

void win32_hidewindow(pCpw, pCpwWin w) {
  ShowWindow(hwnd_of(w), SW_HIDE);
  w->plhwc->visible = false;
}

void win32_setforeground(pCpw, pCpwWin w) { SetForegroundWindow(hwnd_of(w)); }

bool win32_reshapewindow(pCpw, pCpwWin w, unsigned int width, unsigned int height) {
  SIZE outer = outer_size(DWORD(w->plhwc->winstyle), w->plhwc->hmenu != nullptr, width, height);
  return SetWindowPos(hwnd_of(w), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER) != FALSE;
}

void win32_destroywindow(pCpw cpw, pCpwWin w) {
  pCpwLhwc host = w->plhwc;
  if (!host) return;
  HWND hwnd = hwnd_of(w);
  if (state(cpw)->tracked == hwnd) state(cpw)->tracked = nullptr;
  if (HGLRC rc = static_cast<HGLRC>(host->glContext)) {
    if (wglGetCurrentContext() == rc) wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(rc);
  }
  ReleaseDC(hwnd, hdc_of(w));
  w->plhwc = nullptr;  // messages of the destruction go to default processing
  DestroyWindow(hwnd);  // takes its menu bar with it
  delete host;
  update_system_hook(GetForegroundWindow());
}

void win32_setcursor(pCpw, pCpwWin w) { show_cursor(w); }
void win32_restorecursor(pCpw, pCpwWin) {}

void win32_capturemouse(pCpw, pCpwWin w, bool capture) {
  if (capture)
    SetCapture(hwnd_of(w));
  else
    ReleaseCapture();
}

bool win32_processevents(pCpw cpw, int max) {
  bool all = true;
  for (int i = 0; i < max; ++i) {
    MSG m;
    if (!PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) {
      all = false;
      break;
    }
    // A key reaches the hook with its message, a click only when the main
    // loop delivers the queue: the key waits for the clicks before it, or a
    // selection made and typed over would take the typing first.
    if (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST && cpw_event_mousepending(cpw)) return true;
    BOOL got = GetMessageA(&m, nullptr, 0, 0);
    if (got == 0) {  // WM_QUIT
      cpwBreakMainLoop(cpw);
      return false;
    }
    if (got < 0) {
      all = false;
      break;
    }
    TranslateMessage(&m);
    DispatchMessageA(&m);
    if (!state(cpw)) return false;
  }
  deliver_stale(cpw);
  return all;
}

double win32_hpfrequency(pCpw) {
  LARGE_INTEGER f;
  return QueryPerformanceFrequency(&f) ? double(f.QuadPart) : 1.0;
}

double win32_hpcount(pCpw) {
  LARGE_INTEGER c;
  return QueryPerformanceCounter(&c) ? double(c.QuadPart) : 0.0;
}

// Wakes for every kind of message, sent ones included: the system calls
// the low-level key hook through a sent message, and a thread that does not
// answer it delays every key of the desktop until the system gives up (and
// in the end removes the hook). Input that a peek has seen but left in the
// queue counts too. A key record that waits for its key message wakes the
// loop when it is due to reach the hook alone.
void win32_waitevents(pCpw cpw, int milliseconds) {
  DWORD timeout = milliseconds < 0 ? INFINITE : DWORD(milliseconds);
  if (Win32State* s = state(cpw); s && s->count > 0) {
    ULONGLONG waited = GetTickCount64() - s->pending[s->first].arrived;
    DWORD stale = waited >= kStaleMs ? 0 : DWORD(kStaleMs - waited);
    if (stale < timeout) timeout = stale;
  }
  if (timeout == 0) return;
  MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

// Key records reach the hook also without the system hook, from the key
// messages: the host can always deliver them.
bool win32_setkeyhook(pCpw cpw, CpwKeyHook hook) {
  Win32State* s = state(cpw);
  if (hook && !s->hooked && nhooked < kMaxHooked) {
    hooked[nhooked++] = cpw;
    s->hooked = true;
  } else if (!hook && s->hooked) {
    for (int i = 0; i < nhooked; ++i) {
      if (hooked[i] != cpw) continue;
      hooked[i] = hooked[--nhooked];
      break;
    }
    s->hooked = false;
    s->first = s->count = 0;
  }
  update_system_hook(GetForegroundWindow());
  cpw->ctx_localhost->keyhook = hook;
  return true;
}

bool win32_keyboardstate(pCpw cpw, unsigned char keys[256]) {
  std::memcpy(keys, cpw->ctx_localhost->keystate, 256);
  return true;
}

int win32_toascii(pCpw, unsigned int vk, unsigned int scancode, const unsigned char keys[256], unsigned char* ch) {
  WORD buffer[2] = {0, 0};
  int n = ToAscii(vk, scancode & 0xFF, keys, buffer, 0);
  if (n <= 0) return 0;  // none, or a dead key
  // Two characters: a dead key that does not combine, then the key's own.
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(buffer);
  *ch = n == 2 ? bytes[1] : bytes[0];
  return 1;
}

int win32_vkkeyscan(pCpw, unsigned char ch) {
  SHORT r = VkKeyScanA(static_cast<CHAR>(ch));
  return r == -1 ? -1 : int(static_cast<unsigned short>(r));
}

// ---- clipboard: Unicode text -----------------------------------------------------
// The text goes on as CF_UNICODETEXT, which holds every character of the
// UTF-8 text; the system makes CF_TEXT (and CF_OEMTEXT) of it for programs
// that read those. Reading takes CF_UNICODETEXT, which the system also makes
// from another program's CF_TEXT, and CF_TEXT only where it does not.

std::string utf16_to_utf8(const wchar_t* text, int length) {
  if (length <= 0) return std::string();
  int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(std::size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
  return out;
}

// Opens the clipboard for one of the context's windows; another program
// may hold it open for a moment.
bool open_clipboard(pCpw cpw) {
  HWND owner = nullptr;
  if (pLinkedElement e = cpw->list_win.baseElement) {
    pCpwWin w = static_cast<pCpwWin>(e->e.v);
    if (w->plhwc) owner = hwnd_of(w);
  }
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(10);
  }
  return false;
}

bool win32_setclipboard(pCpw cpw, const char* text) {
  int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (n <= 0) return false;
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, SIZE_T(n) * sizeof(wchar_t));
  if (!mem) return false;
  wchar_t* data = static_cast<wchar_t*>(GlobalLock(mem));
  if (!data) {
    GlobalFree(mem);
    return false;
  }
  MultiByteToWideChar(CP_UTF8, 0, text, -1, data, n);
  GlobalUnlock(mem);
  if (!open_clipboard(cpw)) {
    GlobalFree(mem);
    return false;
  }
  bool set = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
  if (!set) GlobalFree(mem);  // the system owns the block only once it took it
  bool closed = CloseClipboard() != FALSE;
  return set && closed;
}

// Copies at most size - 1 bytes, not cutting a UTF-8 character in two.
void copy_utf8(const std::string& from, char* text, int size) {
  std::size_t n = from.size() < std::size_t(size - 1) ? from.size() : std::size_t(size - 1);
  if (n < from.size())
    while (n > 0 && (static_cast<unsigned char>(from[n]) & 0xC0) == 0x80) --n;
  std::memcpy(text, from.data(), n);
  text[n] = '\0';
}

bool win32_getclipboard(pCpw cpw, char* text, int size) {
  if (!open_clipboard(cpw)) return false;
  bool found = false;
  std::string got;
  // The data need not be terminated within its block: read no further than the block.
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (const wchar_t* p = static_cast<const wchar_t*>(GlobalLock(h))) {
      std::size_t max = GlobalSize(h) / sizeof(wchar_t), n = 0;
      while (n < max && p[n]) ++n;
      got = utf16_to_utf8(p, int(n));
      found = true;
      GlobalUnlock(h);
    }
  } else if (HANDLE h8 = GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(GlobalLock(h8))) {
      std::size_t max = GlobalSize(h8), n = 0;
      while (n < max && p[n]) ++n;
      int wide = n ? MultiByteToWideChar(CP_ACP, 0, p, int(n), nullptr, 0) : 0;
      std::wstring w(std::size_t(wide > 0 ? wide : 0), L'\0');
      if (wide > 0) MultiByteToWideChar(CP_ACP, 0, p, int(n), w.data(), wide);
      got = utf16_to_utf8(w.data(), int(w.size()));
      found = true;
      GlobalUnlock(h8);
    }
  }
  CloseClipboard();
  if (!found) return false;
  copy_utf8(got, text, size);
  return true;
}

// The system keeps what was put on the clipboard: nothing to serve.
void win32_serveclipboard(pCpw) {}

const CpwHostOps win32_ops = {
    "win32",
    win32_init,
    win32_exit,
    win32_createwindow,
    win32_setpixelformat,
    win32_createglcontext,
    win32_makecurrent,
    win32_swapbuffers,
    win32_showwindow,
    win32_hidewindow,
    win32_setforeground,
    win32_reshapewindow,
    win32_destroywindow,
    win32_setcursor,
    win32_restorecursor,
    win32_capturemouse,
    win32_processevents,
    win32_hpfrequency,
    win32_hpcount,
    win32_waitevents,
    cpw_platform_fontpath,
    win32_setkeyhook,
    win32_keyboardstate,
    win32_toascii,
    win32_vkkeyscan,
    win32_setclipboard,
    win32_getclipboard,
    win32_serveclipboard,
};

}  // namespace

const CpwHostOps* cpw_localhost_table() { return &win32_ops; }
