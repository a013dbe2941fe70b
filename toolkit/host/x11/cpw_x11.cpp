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

#include <malloc.h>
#include <poll.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <initializer_list>
#include <string>

#include "toolkit/host/cpw_host.h"
#include "toolkit/host/x11/cpw_x11_keys.h"

namespace {

struct X11State {
  Display* dpy;
  int screen;
  Atom wm_protocols, wm_delete, motif_hints, frame_extents, wm_state, net_active;
  Cursor cursors[15];  // by CpwCursor, created when first shown
  // Keyboard.
  X11Keyboard* keyboard;
  int xkb_event;          // first event code of the XKB extension, -1 without it
  bool lctrl_down;        // the left Ctrl key itself is held
  bool altgr_down;        // AltGr is held (it also holds left Ctrl, as on Windows)
  bool scroll_lock;
  // Clipboard: the CLIPBOARD selection, owned through a hidden window.
  Window clipwin;
  Atom clipboard, targets, utf8, text, timestamp, multiple, incr, clip_property, time_property;
  bool clip_owner;
  Time clip_time;
  std::string clip_text;  // UTF-8
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

// The scroll lock light, which no modifier carries.
bool scroll_indicator(X11State* s) {
  int on = 0;
  Atom name = XInternAtom(s->dpy, "Scroll Lock", False);
  if (!XkbGetNamedIndicator(s->dpy, name, nullptr, &on, nullptr, nullptr)) return s->scroll_lock;
  return on != 0;
}

// Left Ctrl is down while the key itself or AltGr is held.
void set_lctrl(pCpw cpw, X11State* s) { cpw_keystate_set(cpw, 0xA2, s->lctrl_down || s->altgr_down); }

// Every press and release becomes the key record Windows' low-level hook
// would see, the key state updated first. AltGr comes as Windows sends it:
// a left Ctrl record just before the right Alt one, in both directions.
void handle_key(pCpw cpw, unsigned id, XKeyEvent* ev) {
  X11State* s = state(cpw);
  X11Keyboard& kb = *s->keyboard;
  kb.setgroup(XkbGroupForCoreState(ev->state));
  X11Key k = kb.key(ev->keycode, ev->state);
  bool down = ev->type == KeyPress;
  bool shift = (ev->state & ShiftMask) != 0;
  // The toggles come from the event's modifier state, except on the lock
  // keys' own events: that state is the one before the key (and X unlocks
  // on the release), while Windows flips the toggle on the press.
  unsigned char* keys = cpw->ctx_localhost->keystate;
  bool repeat = down && k.vk < 256 && (keys[k.vk] & 0x80);
  if (k.vk == 0x14) {
    if (down && !repeat) cpw_keystate_settoggle(cpw, 0x14, !(keys[0x14] & 0x01));
  } else {
    cpw_keystate_settoggle(cpw, 0x14, ev->state & LockMask);
  }
  if (k.vk == 0x90) {
    if (down && !repeat) cpw_keystate_settoggle(cpw, 0x90, !(keys[0x90] & 0x01));
  } else {
    cpw_keystate_settoggle(cpw, 0x90, ev->state & kb.numlockmask());
  }
  if (k.vk == 0x91 && down && !repeat) s->scroll_lock = !s->scroll_lock;
  cpw_keystate_settoggle(cpw, 0x91, s->scroll_lock);
  bool caps = keys[0x14] & 0x01;
  unsigned long time = static_cast<unsigned long>(ev->time);
  int x = ev->x, y = ev->y;
  if (k.altgr) {
    s->altgr_down = down;
    set_lctrl(cpw, s);
    cpw_wndproc_keyrecord(cpw, id, CpwKeyRecord{0xA2, 0x1D, 0, !down, time}, shift, caps, x, y);
    if (!cpw_window_lookup(cpw, id)) return;
    cpw_keystate_set(cpw, 0xA5, down);
    cpw_wndproc_keyrecord(cpw, id, CpwKeyRecord{0xA5, 0x38, CPW_KEYREC_EXTENDED, !down, time}, shift, caps, x, y);
    return;
  }
  if (k.vk == 0xA2) {
    s->lctrl_down = down;
    set_lctrl(cpw, s);
  } else if (k.vk) {
    cpw_keystate_set(cpw, k.vk, down);
  }
  // The low-level hook reports the right Shift key as extended.
  unsigned flags = k.extended || k.vk == 0xA1 ? unsigned(CPW_KEYREC_EXTENDED) : 0u;
  cpw_wndproc_keyrecord(cpw, id, CpwKeyRecord{k.vk, k.scan, flags, !down, time}, shift, caps, x, y);
}

// The keys held when a window gets the focus or the pointer (a release
// may have gone to another window meanwhile).
void resync_keys(pCpw cpw, X11State* s, const char vector[32]) {
  cpw_keystate_releaseall(cpw);
  s->lctrl_down = s->altgr_down = false;
  XkbStateRec st;
  unsigned locked = 0;
  if (XkbGetState(s->dpy, XkbUseCoreKbd, &st) == Success) {
    locked = st.locked_mods;
    s->keyboard->setgroup(st.group);
  }
  for (unsigned kc = 8; kc < 256; ++kc) {
    if (!(vector[kc / 8] & (1 << (kc % 8)))) continue;
    X11Key k = s->keyboard->key(kc, locked & s->keyboard->numlockmask());
    if (k.altgr) {
      s->altgr_down = true;
      cpw_keystate_set(cpw, 0xA5, true);
    } else if (k.vk == 0xA2) {
      s->lctrl_down = true;
    } else if (k.vk) {
      cpw_keystate_set(cpw, k.vk, true);
    }
  }
  set_lctrl(cpw, s);
  cpw_keystate_settoggle(cpw, 0x14, locked & LockMask);
  cpw_keystate_settoggle(cpw, 0x90, locked & s->keyboard->numlockmask());
  s->scroll_lock = scroll_indicator(s);
  cpw_keystate_settoggle(cpw, 0x91, s->scroll_lock);
}

// ---- clipboard --------------------------------------------------------------

// Text in Latin-1 for STRING requests ('?' for what it lacks).
std::string utf8_to_latin1(const std::string& in) {
  std::string out;
  for (std::size_t i = 0; i < in.size();) {
    unsigned char c = static_cast<unsigned char>(in[i]);
    unsigned u = c, n = 1;
    if (c >= 0xC0 && c < 0xE0) u = c & 0x1F, n = 2;
    else if (c >= 0xE0 && c < 0xF0) u = c & 0x0F, n = 3;
    else if (c >= 0xF0) u = c & 0x07, n = 4;
    else if (c >= 0x80) u = '?';  // a stray continuation byte
    for (unsigned j = 1; j < n; ++j)
      u = i + j < in.size() ? (u << 6) | (static_cast<unsigned char>(in[i + j]) & 0x3F) : '?';
    i += n;
    out += u < 0x100 ? char(u) : '?';
  }
  return out;
}

std::string latin1_to_utf8(const unsigned char* in, std::size_t n) {
  std::string out;
  for (std::size_t i = 0; i < n; ++i) {
    if (in[i] < 0x80) {
      out += char(in[i]);
    } else {
      out += char(0xC0 | (in[i] >> 6));
      out += char(0x80 | (in[i] & 0x3F));
    }
  }
  return out;
}

Bool is_clip_event(Display*, XEvent* ev, XPointer arg) {
  X11State* s = reinterpret_cast<X11State*>(arg);
  return (ev->type == SelectionRequest && ev->xselectionrequest.owner == s->clipwin) ||
         (ev->type == SelectionClear && ev->xselectionclear.window == s->clipwin);
}

// The hidden window that owns the selection and receives what others send.
Window clip_window(X11State* s) {
  if (s->clipwin) return s->clipwin;
  XSetWindowAttributes attrs{};
  attrs.event_mask = PropertyChangeMask;
  s->clipwin = XCreateWindow(s->dpy, RootWindow(s->dpy, s->screen), -10, -10, 1, 1, 0, 0, InputOnly,
                             CopyFromParent, CWEventMask, &attrs);
  return s->clipwin;
}

// Waits up to `ms` for an event the predicate picks, taking only that one
// off the queue.
bool wait_event(X11State* s, XEvent* ev, Bool (*pick)(Display*, XEvent*, XPointer), XPointer arg, int ms) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    if (XCheckIfEvent(s->dpy, ev, pick, arg)) return true;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count();
    if (left <= 0) return false;
    pollfd pfd{ConnectionNumber(s->dpy), POLLIN, 0};
    poll(&pfd, 1, int(left < 10 ? left : 10));
  }
}

Bool is_time_notify(Display*, XEvent* ev, XPointer arg) {
  X11State* s = reinterpret_cast<X11State*>(arg);
  return ev->type == PropertyNotify && ev->xproperty.window == s->clipwin && ev->xproperty.atom == s->time_property;
}

// A server time stamp: the time of an empty change to a property of ours.
Time server_time(X11State* s) {
  XChangeProperty(s->dpy, clip_window(s), s->time_property, XA_STRING, 8, PropModeAppend, nullptr, 0);
  XEvent ev;
  if (wait_event(s, &ev, is_time_notify, reinterpret_cast<XPointer>(s), 1000)) return ev.xproperty.time;
  return CurrentTime;
}

// Answers another client's request for the selection we own.
void answer_request(X11State* s, const XSelectionRequestEvent& req) {
  XSelectionEvent reply{};
  reply.type = SelectionNotify;
  reply.display = s->dpy;
  reply.requestor = req.requestor;
  reply.selection = req.selection;
  reply.target = req.target;
  reply.time = req.time;
  reply.property = None;
  // Obsolete clients name no property: the target is the property then.
  Atom property = req.property != None ? req.property : req.target;
  bool ours = s->clip_owner && req.selection == s->clipboard &&
              (req.time == CurrentTime || s->clip_time == CurrentTime || req.time >= s->clip_time);
  long limit = (XExtendedMaxRequestSize(s->dpy) ? XExtendedMaxRequestSize(s->dpy) : XMaxRequestSize(s->dpy)) * 4 - 256;
  if (ours) {
    if (req.target == s->targets) {
      Atom list[] = {s->targets, s->timestamp, s->utf8, XA_STRING, s->text};
      XChangeProperty(s->dpy, req.requestor, property, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<unsigned char*>(list), 5);
      reply.property = property;
    } else if (req.target == s->timestamp) {
      long t = long(s->clip_time);
      XChangeProperty(s->dpy, req.requestor, property, XA_INTEGER, 32, PropModeReplace,
                      reinterpret_cast<unsigned char*>(&t), 1);
      reply.property = property;
    } else if (req.target == s->utf8 || req.target == s->text || req.target == XA_STRING) {
      // TEXT leaves the encoding to the owner: UTF-8.
      std::string data = req.target == XA_STRING ? utf8_to_latin1(s->clip_text) : s->clip_text;
      Atom type = req.target == XA_STRING ? XA_STRING : s->utf8;
      if (long(data.size()) < limit) {  // larger texts would need INCR transfers
        XChangeProperty(s->dpy, req.requestor, property, type, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(data.data()), int(data.size()));
        reply.property = property;
      }
    }
  }
  XSendEvent(s->dpy, req.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
  XFlush(s->dpy);
}

void handle_clip_event(X11State* s, XEvent& ev) {
  if (ev.type == SelectionRequest) {
    answer_request(s, ev.xselectionrequest);
  } else if (ev.type == SelectionClear && ev.xselectionclear.selection == s->clipboard) {
    s->clip_owner = false;
    s->clip_text.clear();
  }
}

struct ConvertWait {
  X11State* s;
  Atom target;
};

Bool is_selection_notify(Display*, XEvent* ev, XPointer arg) {
  ConvertWait* w = reinterpret_cast<ConvertWait*>(arg);
  return ev->type == SelectionNotify && ev->xselection.requestor == w->s->clipwin &&
         ev->xselection.selection == w->s->clipboard && ev->xselection.target == w->target;
}

Bool is_any_selection_notify(Display*, XEvent* ev, XPointer arg) {
  X11State* s = reinterpret_cast<X11State*>(arg);
  return ev->type == SelectionNotify && ev->xselection.requestor == s->clipwin;
}

// Asks the owner for the selection as `target`; 1 with the text, 0 when
// the owner refuses that target, -1 when it does not answer in time or the
// answer cannot be read.
int convert_selection(X11State* s, Atom target, int ms, std::string* text) {
  XEvent ev;
  // An answer that came too late for an earlier request is no answer to this one.
  while (XCheckIfEvent(s->dpy, &ev, is_any_selection_notify, reinterpret_cast<XPointer>(s))) {}
  XDeleteProperty(s->dpy, s->clipwin, s->clip_property);
  XConvertSelection(s->dpy, s->clipboard, target, s->clip_property, s->clipwin, CurrentTime);
  XFlush(s->dpy);
  ConvertWait w{s, target};
  if (!wait_event(s, &ev, is_selection_notify, reinterpret_cast<XPointer>(&w), ms)) return -1;
  if (ev.xselection.property == None) return 0;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  int result = -1;
  if (XGetWindowProperty(s->dpy, s->clipwin, ev.xselection.property, 0, 0x1000000, True, AnyPropertyType, &type,
                         &format, &count, &after, &data) == Success) {
    if (type == s->incr) {
      result = -1;  // incremental transfers of large texts are not taken
    } else if (format == 8 && (type == s->utf8 || type == XA_STRING || type == s->text)) {
      *text = type == XA_STRING ? latin1_to_utf8(data, count) : std::string(reinterpret_cast<char*>(data), count);
      result = 1;
    } else {
      result = 0;
    }
  }
  if (data) XFree(data);
  XDeleteProperty(s->dpy, s->clipwin, s->clip_property);
  return result;
}

// Copies at most size - 1 bytes, not cutting a UTF-8 character in two.
void copy_utf8(const std::string& from, char* text, int size) {
  std::size_t n = from.size() < std::size_t(size - 1) ? from.size() : std::size_t(size - 1);
  if (n < from.size())
    while (n > 0 && (static_cast<unsigned char>(from[n]) & 0xC0) == 0x80) --n;
  std::memcpy(text, from.data(), n);
  text[n] = '\0';
}

void handle_event(pCpw cpw, X11State* s, XEvent& ev) {
  // Events of no window of the toolkit's: the keyboard's and the clipboard's.
  if (s->xkb_event >= 0 && ev.type == s->xkb_event) {
    XkbEvent& xe = reinterpret_cast<XkbEvent&>(ev);
    if (xe.any.xkb_type == XkbNewKeyboardNotify || xe.any.xkb_type == XkbMapNotify) s->keyboard->reload();
    if (xe.any.xkb_type == XkbStateNotify) s->keyboard->setgroup(xe.state.group);
    if (xe.any.xkb_type == XkbIndicatorStateNotify) s->scroll_lock = scroll_indicator(s);
    return;
  }
  if (ev.type == MappingNotify) {
    XRefreshKeyboardMapping(&ev.xmapping);
    if (ev.xmapping.request != MappingPointer) s->keyboard->reload();
    return;
  }
  if (ev.type == KeymapNotify) {
    resync_keys(cpw, s, ev.xkeymap.key_vector);
    return;
  }
  if (s->clipwin && (ev.type == SelectionRequest || ev.type == SelectionClear) && ev.xany.window == s->clipwin) {
    handle_clip_event(s, ev);
    return;
  }
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
// backlog is full): try again for up to a second before giving up. With no
// display named at all there is nothing to wait for.
Display* open_display() {
  const char* name = std::getenv("DISPLAY");
  const int attempts = name && *name ? 50 : 1;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    if (Display* dpy = XOpenDisplay(nullptr)) return dpy;
    timespec pause{0, 20 * 1000 * 1000};
    nanosleep(&pause, nullptr);
  }
  return nullptr;
}

bool x11_init(pCpw cpw) {
  XSetErrorHandler(ignore_errors);
  // Mesa's software rasteriser allocates and frees megabytes of working
  // memory for every batch of drawing; with glibc's default, the freed top
  // of the heap goes back to the system each time and comes back as fresh
  // pages to be faulted in and zeroed: a redraw of a form took hundreds of
  // milliseconds instead of a few. Freed memory up to this much stays with
  // the process (the peak it reaches is the same).
  mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
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
  int opcode = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
  s->xkb_event = -1;
  if (XkbQueryExtension(dpy, &opcode, &s->xkb_event, &error, &major, &minor)) {
    // Layout and group changes rebuild the key map; the scroll lock light is the Scroll Lock toggle.
    unsigned events = XkbNewKeyboardNotifyMask | XkbMapNotifyMask | XkbIndicatorStateNotifyMask;
    XkbSelectEvents(dpy, XkbUseCoreKbd, events, events);
    XkbSelectEventDetails(dpy, XkbUseCoreKbd, XkbStateNotify, XkbGroupStateMask, XkbGroupStateMask);
  } else {
    s->xkb_event = -1;
  }
  s->keyboard = new X11Keyboard(dpy);
  s->scroll_lock = scroll_indicator(s);
  s->clipboard = XInternAtom(dpy, "CLIPBOARD", False);
  s->targets = XInternAtom(dpy, "TARGETS", False);
  s->utf8 = XInternAtom(dpy, "UTF8_STRING", False);
  s->text = XInternAtom(dpy, "TEXT", False);
  s->timestamp = XInternAtom(dpy, "TIMESTAMP", False);
  s->multiple = XInternAtom(dpy, "MULTIPLE", False);
  s->incr = XInternAtom(dpy, "INCR", False);
  s->clip_property = XInternAtom(dpy, "VANTYR_CLIPBOARD", False);
  s->time_property = XInternAtom(dpy, "VANTYR_TIMESTAMP", False);
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
  if (s->clipwin) XDestroyWindow(s->dpy, s->clipwin);
  delete s->keyboard;
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
                     PointerMotionMask | ButtonPressMask | ButtonReleaseMask | KeyPressMask | KeyReleaseMask |
                     KeymapStateMask;
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

  // Shown at once; wait (two seconds at most) until it is mapped so it can
  // take the focus.
  XMapRaised(s->dpy, win);
  XFlush(s->dpy);
  XEvent ev;
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  for (;;) {
    if (XCheckTypedWindowEvent(s->dpy, win, MapNotify, &ev)) {
      XPutBackEvent(s->dpy, &ev);
      break;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count();
    if (left <= 0) break;
    pollfd pfd{ConnectionNumber(s->dpy), POLLIN, 0};
    poll(&pfd, 1, int(left));
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
    // A key reaches the hook at once, a click only when the main loop
    // delivers the queue: the key waits for the clicks before it, or a
    // selection made and typed over would take the typing first.
    if ((ev.type == KeyPress || ev.type == KeyRelease) && cpw_event_mousepending(cpw)) {
      XPutBackEvent(s->dpy, &ev);
      return true;
    }
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

// Everything the loop serves comes over the connection: the windows'
// events, the keyboard's, and other clients' requests for the clipboard.
// What is queued already (read along with a reply) is not on the socket.
void x11_waitevents(pCpw cpw, int milliseconds) {
  X11State* s = state(cpw);
  XFlush(s->dpy);
  if (milliseconds == 0 || XPending(s->dpy)) return;
  pollfd pfd{ConnectionNumber(s->dpy), POLLIN, 0};
  poll(&pfd, 1, milliseconds < 0 ? -1 : milliseconds);
}

bool x11_setkeyhook(pCpw cpw, CpwKeyHook hook) {
  cpw->ctx_localhost->keyhook = hook;
  return true;
}

bool x11_keyboardstate(pCpw cpw, unsigned char state[256]) {
  std::memcpy(state, cpw->ctx_localhost->keystate, 256);
  return true;
}

int x11_toascii(pCpw cpw, unsigned int vk, unsigned int scancode, const unsigned char keys[256], unsigned char* ch) {
  int c = state(cpw)->keyboard->toascii(vk, scancode, keys);
  if (c < 0) return 0;
  *ch = static_cast<unsigned char>(c);
  return 1;
}

int x11_vkkeyscan(pCpw cpw, unsigned char ch) { return state(cpw)->keyboard->vkkeyscan(ch); }

bool x11_setclipboard(pCpw cpw, const char* text) {
  X11State* s = state(cpw);
  Window win = clip_window(s);
  Time t = server_time(s);
  XSetSelectionOwner(s->dpy, s->clipboard, win, t);
  s->clip_owner = XGetSelectionOwner(s->dpy, s->clipboard) == win;
  s->clip_time = t;
  s->clip_text = s->clip_owner ? text : "";
  return s->clip_owner;
}

bool x11_getclipboard(pCpw cpw, char* text, int size) {
  X11State* s = state(cpw);
  // Another program may have taken the selection before its SelectionClear
  // came through the main loop.
  if (s->clip_owner && XGetSelectionOwner(s->dpy, s->clipboard) != s->clipwin) {
    s->clip_owner = false;
    s->clip_text.clear();
  }
  if (s->clip_owner) {
    copy_utf8(s->clip_text, text, size);
    return true;
  }
  if (XGetSelectionOwner(s->dpy, s->clipboard) == None) return false;
  clip_window(s);
  // One second in all for the owner to answer; STRING when it has no UTF-8.
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(1000);
  std::string got;
  int r = convert_selection(s, s->utf8, 1000, &got);
  if (r == 0) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count();
    if (left > 0) r = convert_selection(s, XA_STRING, int(left), &got);
  }
  if (r != 1) return false;
  copy_utf8(got, text, size);
  return true;
}

void x11_serveclipboard(pCpw cpw) {
  X11State* s = state(cpw);
  if (!s->clipwin) return;
  XEvent ev;
  while (XCheckIfEvent(s->dpy, &ev, is_clip_event, reinterpret_cast<XPointer>(s))) handle_clip_event(s, ev);
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
    x11_waitevents,
    cpw_platform_fontpath,
    x11_setkeyhook,
    x11_keyboardstate,
    x11_toascii,
    x11_vkkeyscan,
    x11_setclipboard,
    x11_getclipboard,
    x11_serveclipboard,
};

}  // namespace

const CpwHostOps* cpw_localhost_table() { return &x11_ops; }
