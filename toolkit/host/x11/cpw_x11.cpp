// The X11 host: Xlib windows with one GLX context each. Window kinds and
// frames become window-manager hints (Motif decoration and function hints,
// fixed sizes), the close box is WM_DELETE_WINDOW, and every X event is
// handed to the neutral window procedure as the Win32 message it stands for.
#include <GL/glx.h>
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>

#include <ctime>
#include <initializer_list>
#include <cstdlib>

#include "toolkit/host/cpw_host.h"

bool cpw_x11_translatekey(XKeyEvent* ev, unsigned* vk, unsigned* scan, unsigned* flags);

namespace {

struct X11State {
  Display* dpy;
  int screen;
  Atom wm_protocols, wm_delete, motif_hints, frame_extents, wm_state, net_active;
  Cursor cursors[15];  // by CpwCursor, created when first shown
};

struct X11Window {
  Window win;
  Colormap cmap;
  XVisualInfo* visual;
  int width, height;  // client size last reported
  int left, top;      // outer position last reported
};

// Motif window-manager hints.
struct MotifHints {
  unsigned long flags, functions, decorations;
  long input_mode;
  unsigned long status;
};
enum : unsigned long {
  MWM_HINTS_FUNCTIONS = 1, MWM_HINTS_DECORATIONS = 2,
  MWM_FUNC_RESIZE = 2, MWM_FUNC_MOVE = 4, MWM_FUNC_MINIMIZE = 8, MWM_FUNC_MAXIMIZE = 16, MWM_FUNC_CLOSE = 32,
  MWM_DECOR_BORDER = 2, MWM_DECOR_RESIZEH = 4, MWM_DECOR_TITLE = 8, MWM_DECOR_MENU = 16,
  MWM_DECOR_MINIMIZE = 32, MWM_DECOR_MAXIMIZE = 64,
};

// Failing requests (focus on a window not yet viewable, ...) are not fatal.
int ignore_errors(Display*, XErrorEvent*) { return 0; }

X11State* state(pCpw cpw) { return static_cast<X11State*>(cpw->ctx_localhost->host); }
X11Window* host_of(pCpwWin w) { return w && w->plhwc ? static_cast<X11Window*>(w->plhwc->host) : nullptr; }

unsigned id_of(pCpw cpw, Window win) {
  for (pLinkedElement e = cpw->list_win.baseElement; e; e = e->childtomyright) {
    pCpwWin w = static_cast<pCpwWin>(e->e.v);
    if (w->plhwc && w->plhwc->hwnd == win) return w->id;
  }
  return 0;
}

// GLX visual attributes for the display-mode bits.
XVisualInfo* choose_visual(X11State* s, std::uint32_t mode) {
  int attrs[32], n = 0;
  bool rgba = (mode & CPW_DM_RGBA) || !(mode & CPW_DM_INDEX);
  int colour = 16, alpha = 0;
  if (mode & CPW_DM_COLOR8) colour = 8, alpha = 2;
  else if (mode & CPW_DM_COLOR16) colour = 16, alpha = 4;
  else if (mode & CPW_DM_COLOR32) colour = 32, alpha = 8;
  else if (mode & CPW_DM_COLOR64) colour = 64, alpha = 16;
  if (rgba) {
    attrs[n++] = GLX_RGBA;
    int channel = colour >= 24 ? 8 : colour / 3;
    attrs[n++] = GLX_RED_SIZE, attrs[n++] = channel;
    attrs[n++] = GLX_GREEN_SIZE, attrs[n++] = channel;
    attrs[n++] = GLX_BLUE_SIZE, attrs[n++] = channel;
    if (alpha) attrs[n++] = GLX_ALPHA_SIZE, attrs[n++] = alpha > 8 ? 8 : alpha;
  } else {
    attrs[n++] = GLX_BUFFER_SIZE, attrs[n++] = colour;
  }
  if (!(mode & CPW_DM_SINGLE)) attrs[n++] = GLX_DOUBLEBUFFER;
  if (mode & CPW_DM_ACCUM) {
    for (int a : {GLX_ACCUM_RED_SIZE, GLX_ACCUM_GREEN_SIZE, GLX_ACCUM_BLUE_SIZE}) attrs[n++] = a, attrs[n++] = 4;
  }
  if (mode & CPW_DM_DEPTH) {
    int depth = (mode & CPW_DM_DEPTH2) ? 2 : (mode & CPW_DM_DEPTH4) ? 4 : (mode & CPW_DM_DEPTH8) ? 8
              : (mode & CPW_DM_DEPTH16) ? 16 : 8;
    attrs[n++] = GLX_DEPTH_SIZE, attrs[n++] = depth;
  }
  if (mode & CPW_DM_STENCIL) attrs[n++] = GLX_STENCIL_SIZE, attrs[n++] = 8;
  attrs[n] = None;
  return glXChooseVisual(s->dpy, s->screen, attrs);
}

// Decorations and functions the window manager should offer, and whether
// the user may resize the window.
// At creation (`place`) the window manager is also told to keep the
// position the program asked for instead of placing the window itself.
void set_wm_hints(pCpw cpw, X11State* s, Window win, unsigned width, unsigned height, const pCpwWin place) {
  std::uint32_t props = cpw->win_properties;
  unsigned kind = props & 0xFF, frame = props & 0xF00;
  bool resizable = frame == 0 || frame == CPW_WINDOWPROP_THICKFRAME;
  MotifHints h{MWM_HINTS_FUNCTIONS | MWM_HINTS_DECORATIONS, MWM_FUNC_MOVE, 0, 0, 0};
  if (kind == CPW_WINDOWPROP_POPUP) {
    h.decorations = 0;
    h.functions |= MWM_FUNC_CLOSE;
  } else if (kind == CPW_WINDOWPROP_NODRESSING) {
    h.decorations = MWM_DECOR_BORDER | MWM_DECOR_TITLE;  // caption only: no close box
  } else {
    h.decorations = MWM_DECOR_BORDER | MWM_DECOR_TITLE | MWM_DECOR_MENU | MWM_DECOR_MINIMIZE | MWM_DECOR_MAXIMIZE;
    h.functions |= MWM_FUNC_CLOSE | MWM_FUNC_MINIMIZE | MWM_FUNC_MAXIMIZE;
  }
  if (resizable) {
    h.functions |= MWM_FUNC_RESIZE;
    if (kind != CPW_WINDOWPROP_POPUP) h.decorations |= MWM_DECOR_RESIZEH;
  }
  XChangeProperty(s->dpy, win, s->motif_hints, s->motif_hints, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&h), 5);
  XSizeHints* size = XAllocSizeHints();
  size->flags = PWinGravity;
  size->win_gravity = NorthWestGravity;  // x, y name the frame's corner
  if (place) {
    size->flags |= USPosition | PPosition;
    size->x = int(place->x);
    size->y = int(place->y);
  }
  if (!resizable) {
    size->flags |= PMinSize | PMaxSize;
    size->min_width = size->max_width = int(width);
    size->min_height = size->max_height = int(height);
  }
  XSetWMNormalHints(s->dpy, win, size);
  XFree(size);
}

// Outer position of a window: its client origin on the root, less the frame.
void outer_position(X11State* s, Window win, int* left, int* top) {
  Window child;
  XTranslateCoordinates(s->dpy, win, RootWindow(s->dpy, s->screen), 0, 0, left, top, &child);
  Atom type;
  int format;
  unsigned long count = 0, after;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(s->dpy, win, s->frame_extents, 0, 4, False, XA_CARDINAL, &type, &format, &count, &after,
                         &data) == Success && data && count == 4) {
    long* ext = reinterpret_cast<long*>(data);
    *left -= int(ext[0]);
    *top -= int(ext[2]);
  }
  if (data) XFree(data);
}

bool iconic(X11State* s, Window win) {
  Atom type;
  int format;
  unsigned long count = 0, after;
  unsigned char* data = nullptr;
  bool result = false;
  if (XGetWindowProperty(s->dpy, win, s->wm_state, 0, 2, False, s->wm_state, &type, &format, &count, &after,
                         &data) == Success && data && count >= 1)
    result = reinterpret_cast<long*>(data)[0] == IconicState;
  if (data) XFree(data);
  return result;
}

// Win32 key-state flags of an X event state.
unsigned keystate_of(unsigned state) {
  unsigned k = 0;
  if (state & Button1Mask) k |= CPW_MK_LBUTTON;
  if (state & Button2Mask) k |= CPW_MK_MBUTTON;
  if (state & Button3Mask) k |= CPW_MK_RBUTTON;
  if (state & ShiftMask) k |= CPW_MK_SHIFT;
  if (state & ControlMask) k |= CPW_MK_CONTROL;
  return k;
}

void handle_key(pCpw cpw, unsigned id, XKeyEvent* ev) {
  unsigned vk = 0, scan = 0, flags = 0;
  cpw_x11_translatekey(ev, &vk, &scan, &flags);
  bool down = ev->type == KeyPress;
  if (CpwKeyHook hook = cpw->ctx_localhost->keyhook) {
    CpwKeyRecord rec{vk, scan, flags, !down, static_cast<unsigned long>(ev->time)};
    if (vk && hook(cpw, &rec)) return;
  }
  cpw_wndproc_key(cpw, id, vk, cpw_keys_uschar(vk), down, (ev->state & ShiftMask) != 0, (ev->state & LockMask) != 0,
                  ev->x, ev->y);
}

void handle_event(pCpw cpw, X11State* s, XEvent& ev) {
  unsigned id = id_of(cpw, ev.xany.window);
  if (!id) return;
  X11Window* xw = host_of(cpw_window_lookup(cpw, id));
  switch (ev.type) {
    case Expose:
      if (ev.xexpose.count == 0) cpw_wndproc_paint(cpw, id);
      break;
    case ConfigureNotify: {
      int left, top;
      outer_position(s, xw->win, &left, &top);
      if (left != xw->left || top != xw->top) {
        xw->left = left;
        xw->top = top;
        cpw_wndproc_move(cpw, id, left, top);
      }
      if (ev.xconfigure.width != xw->width || ev.xconfigure.height != xw->height) {
        xw->width = ev.xconfigure.width;
        xw->height = ev.xconfigure.height;
        cpw_wndproc_size(cpw, id, CPW_SIZE_RESTORED, xw->width, xw->height);
      }
      break;
    }
    case MapNotify:
      cpw_wndproc_showwindow(cpw, id, true);
      break;
    case UnmapNotify:
      if (iconic(s, xw->win))
        cpw_wndproc_size(cpw, id, CPW_SIZE_MINIMIZED, xw->width, xw->height);
      else
        cpw_wndproc_showwindow(cpw, id, false);
      break;
    case FocusIn:
      if (ev.xfocus.mode != NotifyGrab && ev.xfocus.mode != NotifyUngrab && ev.xfocus.detail != NotifyInferior)
        cpw_wndproc_setfocus(cpw, id);
      break;
    case FocusOut:
      if (ev.xfocus.mode != NotifyGrab && ev.xfocus.mode != NotifyUngrab && ev.xfocus.detail != NotifyInferior)
        cpw_wndproc_killfocus(cpw, id);
      break;
    case EnterNotify:
      cpw_wndproc_setcursor(cpw, id, true);
      break;
    case LeaveNotify:
      if (ev.xcrossing.detail != NotifyInferior) cpw_wndproc_setcursor(cpw, id, false);
      break;
    case MotionNotify:
      cpw_wndproc_mousemove(cpw, id, keystate_of(ev.xmotion.state), ev.xmotion.x, ev.xmotion.y);
      break;
    case ButtonPress:
    case ButtonRelease: {
      bool down = ev.type == ButtonPress;
      unsigned b = ev.xbutton.button;
      if (b >= Button1 && b <= Button3) {
        int button = b == Button1 ? 0 : b == Button2 ? 1 : 2;
        cpw_wndproc_button(cpw, id, button, down, ev.xbutton.x, ev.xbutton.y);
      } else if (down && (b == Button4 || b == Button5)) {
        cpw_wndproc_wheel(cpw, id, b == Button4 ? 120 : -120, ev.xbutton.x, ev.xbutton.y);
      }
      break;
    }
    case KeyPress:
    case KeyRelease:
      handle_key(cpw, id, &ev.xkey);
      break;
    case ClientMessage:
      if (ev.xclient.message_type == s->wm_protocols && Atom(ev.xclient.data.l[0]) == s->wm_delete)
        cpw_wndproc_close(cpw, id);
      break;
    default:
      break;
  }
}

// ---- host operations -----------------------------------------------------------

// A busy X server may turn a connection away for a moment (its socket's
// backlog is full): try again for up to a second before giving up.
Display* open_display() {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (Display* dpy = XOpenDisplay(nullptr)) return dpy;
    timespec pause{0, 20 * 1000 * 1000};
    nanosleep(&pause, nullptr);
  }
  return nullptr;
}

bool x11_init(pCpw cpw) {
  XSetErrorHandler(ignore_errors);
  Display* dpy = open_display();
  if (!dpy) {
    cpw->err_code = cpw_error_initfailed;
    return false;
  }
  X11State* s = new X11State{};
  s->dpy = dpy;
  s->screen = DefaultScreen(dpy);
  s->wm_protocols = XInternAtom(dpy, "WM_PROTOCOLS", False);
  s->wm_delete = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
  s->motif_hints = XInternAtom(dpy, "_MOTIF_WM_HINTS", False);
  s->frame_extents = XInternAtom(dpy, "_NET_FRAME_EXTENTS", False);
  s->wm_state = XInternAtom(dpy, "WM_STATE", False);
  s->net_active = XInternAtom(dpy, "_NET_ACTIVE_WINDOW", False);
  // Held keys repeat as presses only, as on Windows.
  XkbSetDetectableAutoRepeat(dpy, True, nullptr);
  cpw->ctx_localhost->host = s;
  cpw->cpw_screenwidth = unsigned(DisplayWidth(dpy, s->screen));
  cpw->cpw_screenheight = unsigned(DisplayHeight(dpy, s->screen));
  return true;
}

void x11_exit(pCpw cpw) {
  X11State* s = state(cpw);
  if (!s) return;
  for (Cursor c : s->cursors)
    if (c) XFreeCursor(s->dpy, c);
  XCloseDisplay(s->dpy);
  delete s;
  cpw->ctx_localhost->host = nullptr;
}

bool x11_createwindow(pCpw cpw, pCpwWin w, const char* title) {
  X11State* s = state(cpw);
  // GLX fixes the pixel format with the visual the window is created with.
  XVisualInfo* vi = choose_visual(s, cpw->cpw_displaymode);
  if (!vi) {
    cpw->err_code = cpw_error_nopixelformat;
    return false;
  }
  Window root = RootWindow(s->dpy, s->screen);
  XSetWindowAttributes attrs{};
  attrs.colormap = XCreateColormap(s->dpy, root, vi->visual, AllocNone);
  attrs.border_pixel = 0;
  attrs.background_pixmap = None;
  attrs.event_mask = ExposureMask | StructureNotifyMask | FocusChangeMask | EnterWindowMask | LeaveWindowMask |
                     PointerMotionMask | ButtonPressMask | ButtonReleaseMask | KeyPressMask | KeyReleaseMask;
  Window win = XCreateWindow(s->dpy, root, int(w->x), int(w->y), w->width ? w->width : 1, w->height ? w->height : 1,
                             0, vi->depth, InputOutput, vi->visual,
                             CWColormap | CWBorderPixel | CWBackPixmap | CWEventMask, &attrs);
  if (!win) {
    XFreeColormap(s->dpy, attrs.colormap);
    XFree(vi);
    cpw->err_code = cpw_error_createwindowfailed;
    return false;
  }
  XStoreName(s->dpy, win, title);
  XClassHint* cls = XAllocClassHint();
  cls->res_name = const_cast<char*>("vantyr");
  cls->res_class = cpw->ctx_localhost->classname;
  XSetClassHint(s->dpy, win, cls);
  XFree(cls);
  XSetWMProtocols(s->dpy, win, &s->wm_delete, 1);
  set_wm_hints(cpw, s, win, w->width, w->height, w);

  X11Window* xw = new X11Window{win, attrs.colormap, vi, int(w->width), int(w->height), int(w->x), int(w->y)};
  w->plhwc = new _CpwLocalhostWindow{};
  w->plhwc->hwnd = win;
  w->plhwc->hdc = s->dpy;
  w->plhwc->winstyle = cpw->win_properties;
  w->plhwc->updates = 1;
  w->plhwc->host = xw;

  // Shown at once; wait (briefly) until it is mapped so it can take the focus.
  XMapRaised(s->dpy, win);
  XFlush(s->dpy);
  XEvent ev;
  for (int i = 0; i < 400; ++i) {
    if (XCheckTypedWindowEvent(s->dpy, win, MapNotify, &ev)) {
      XPutBackEvent(s->dpy, &ev);
      break;
    }
    timespec pause{0, 5 * 1000 * 1000};
    nanosleep(&pause, nullptr);
  }
  w->plhwc->visible = true;
  return true;
}

bool x11_setpixelformat(pCpw, pCpwWin) { return true; }  // chosen with the window's visual

bool x11_createglcontext(pCpw cpw, pCpwWin w) {
  X11State* s = state(cpw);
  GLXContext ctx = glXCreateContext(s->dpy, host_of(w)->visual, nullptr, True);
  if (!ctx) {
    cpw->err_code = cpw_error_createcontext;
    return false;
  }
  w->plhwc->glContext = ctx;
  return true;
}

bool x11_makecurrent(pCpw cpw, pCpwWin w) {
  X11State* s = state(cpw);
  if (!w->plhwc->glContext ||
      !glXMakeCurrent(s->dpy, Window(w->plhwc->hwnd), static_cast<GLXContext>(w->plhwc->glContext))) {
    cpw->err_code = cpw_error_makecurrent;
    return false;
  }
  return true;
}

bool x11_swapbuffers(pCpw cpw, pCpwWin w) {
  glXSwapBuffers(state(cpw)->dpy, Window(w->plhwc->hwnd));
  return true;
}

void x11_showwindow(pCpw cpw, pCpwWin w) {
  XMapRaised(state(cpw)->dpy, Window(w->plhwc->hwnd));
  XFlush(state(cpw)->dpy);
  w->plhwc->visible = true;
}

void x11_hidewindow(pCpw cpw, pCpwWin w) {
  X11State* s = state(cpw);
  XWithdrawWindow(s->dpy, Window(w->plhwc->hwnd), s->screen);
  XFlush(s->dpy);
  w->plhwc->visible = false;
}

void x11_setforeground(pCpw cpw, pCpwWin w) {
  X11State* s = state(cpw);
  Window win = Window(w->plhwc->hwnd);
  XRaiseWindow(s->dpy, win);
  // Ask a window manager to activate it; without one, take the focus.
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = win;
  ev.xclient.message_type = s->net_active;
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = 1;
  ev.xclient.data.l[1] = CurrentTime;
  XSendEvent(s->dpy, RootWindow(s->dpy, s->screen), False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
  XWindowAttributes wa;
  if (XGetWindowAttributes(s->dpy, win, &wa) && wa.map_state == IsViewable)
    XSetInputFocus(s->dpy, win, RevertToPointerRoot, CurrentTime);
  XFlush(s->dpy);
}

bool x11_reshapewindow(pCpw cpw, pCpwWin w, unsigned width, unsigned height) {
  X11State* s = state(cpw);
  Window win = Window(w->plhwc->hwnd);
  set_wm_hints(cpw, s, win, width, height, nullptr);  // a fixed frame is fixed at the new size
  XResizeWindow(s->dpy, win, width ? width : 1, height ? height : 1);
  XFlush(s->dpy);
  return true;
}

void x11_destroywindow(pCpw cpw, pCpwWin w) {
  if (!w->plhwc) return;
  X11State* s = state(cpw);
  X11Window* xw = host_of(w);
  GLXContext ctx = static_cast<GLXContext>(w->plhwc->glContext);
  if (ctx) {
    if (glXGetCurrentContext() == ctx) glXMakeCurrent(s->dpy, None, nullptr);
    glXDestroyContext(s->dpy, ctx);
  }
  XDestroyWindow(s->dpy, xw->win);
  XFreeColormap(s->dpy, xw->cmap);
  XFree(xw->visual);
  XFlush(s->dpy);
  delete xw;
  delete w->plhwc;
  w->plhwc = nullptr;
}

void x11_setcursor(pCpw cpw, pCpwWin w) {
  X11State* s = state(cpw);
  int kind = int(w->cursor);
  if (kind < CursorArrow || kind >= CursorCustom) return;
  if (!s->cursors[kind]) {
    if (kind == CursorNone) {
      static const char empty[1] = {0};
      Pixmap p = XCreateBitmapFromData(s->dpy, Window(w->plhwc->hwnd), empty, 1, 1);
      XColor black{};
      s->cursors[kind] = XCreatePixmapCursor(s->dpy, p, p, &black, &black, 0, 0);
      XFreePixmap(s->dpy, p);
    } else {
      static const unsigned shapes[] = {0,          XC_left_ptr,          XC_hand2,        XC_X_cursor,
                                        XC_question_arrow, XC_xterm,    XC_watch,        XC_crosshair,
                                        0,          XC_fleur,             XC_sb_v_double_arrow, XC_bottom_left_corner,
                                        XC_sb_h_double_arrow, XC_bottom_right_corner};
      s->cursors[kind] = XCreateFontCursor(s->dpy, shapes[kind]);
    }
  }
  XDefineCursor(s->dpy, Window(w->plhwc->hwnd), s->cursors[kind]);
  XFlush(s->dpy);
}

void x11_restorecursor(pCpw, pCpwWin) {}

// X grabs the pointer by itself while a button is held (implicit grab).
void x11_capturemouse(pCpw, pCpwWin, bool) {}

bool x11_processevents(pCpw cpw, int max) {
  X11State* s = state(cpw);
  for (int i = 0; i < max; ++i) {
    if (!XPending(s->dpy)) return false;
    XEvent ev;
    XNextEvent(s->dpy, &ev);
    handle_event(cpw, s, ev);
    if (!cpw->ctx_localhost) return false;
  }
  return true;
}

double x11_hpfrequency(pCpw) { return 1e9; }

double x11_hpcount(pCpw) {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
}

void x11_sleep(pCpw, unsigned int milliseconds) {
  timespec t{time_t(milliseconds / 1000), long(milliseconds % 1000) * 1000000L};
  nanosleep(&t, nullptr);
}

bool x11_setkeyhook(pCpw cpw, CpwKeyHook hook) {
  cpw->ctx_localhost->keyhook = hook;
  return true;
}

const CpwHostOps x11_ops = {
    "x11",
    x11_init,
    x11_exit,
    x11_createwindow,
    x11_setpixelformat,
    x11_createglcontext,
    x11_makecurrent,
    x11_swapbuffers,
    x11_showwindow,
    x11_hidewindow,
    x11_setforeground,
    x11_reshapewindow,
    x11_destroywindow,
    x11_setcursor,
    x11_restorecursor,
    x11_capturemouse,
    x11_processevents,
    x11_hpfrequency,
    x11_hpcount,
    x11_sleep,
    cpw_platform_fontpath,
    x11_setkeyhook,
};

}  // namespace

const CpwHostOps* cpw_localhost_table() { return &x11_ops; }
