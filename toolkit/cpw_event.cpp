// The event queue: a ring of 256 slots with per-type filters, the dispatcher
// that hands events to the window's callback, the context-wide callback or
// the default, and the queue-inspection operations.
#include <cstdlib>
#include <cstring>

#include "toolkit/cpw.h"
#include "toolkit/cpw_internal.h"
#include "toolkit/host/cpw_host.h"

unsigned int cpw_keys_tochar(unsigned int code, bool shift);

struct CpwEventSlot {
  bool inuse;
  bool cancelled;
  unsigned int id;
  int type;
  int p[5];
};

struct CpwEventStack {
  std::uint8_t read;   // wraps from 255 to 0
  std::uint8_t write;
  CpwEventSlot slots[CPW_EVENT_SLOTS];
  bool filter[CPW_EVENT_TYPES];
};

namespace {

void free_slot(CpwEventSlot& s) {
  s.inuse = false;
  s.cancelled = false;
  s.type = CPW_NO_EVENT;
}

bool is_pending(const CpwEventSlot& s, int type) { return s.inuse && !s.cancelled && s.type == type; }

void dispatch(pCpw cpw, const CpwEventSlot& ev) {
  pCpwWin w = cpw_window_lookup(cpw, ev.id);
  if (!w) return;  // the window is gone: the event is dropped
  unsigned id = ev.id;
  const int* p = ev.p;
  auto u = [](int v) { return static_cast<unsigned>(v); };
  switch (ev.type) {
    case CPW_MOUSECLICK_EVENT: {
      int button = p[1];
      if (button >= 0 && button < 3 && w->buttonmenuid[button]) return;  // menus are not part of this build
      CpwMouseClickCallback cb = w->mouseclickCallback ? w->mouseclickCallback : cpw->mouseclickCallback;
      if (cb) cb(cpw, id, u(p[0]), u(p[1]), u(p[2]), u(p[3]));
      return;
    }
    case CPW_MOUSEMOTION_EVENT: {
      CpwMouseMoveCallback cb = w->mousemoveCallback ? w->mousemoveCallback : cpw->mousemoveCallback;
      if (cb) cb(cpw, id, u(p[0]), u(p[1]));
      return;
    }
    case CPW_MOUSEDRAG_EVENT: {
      CpwMouseDragCallback cb = w->mousedragCallback ? w->mousedragCallback : cpw->mousedragCallback;
      if (cb) cb(cpw, id, u(p[0]), p[1], p[2]);
      return;
    }
    case CPW_MOUSEENTRY_EVENT: {
      CpwMouseEntryCallback cb = w->mouseentryCallback ? w->mouseentryCallback : cpw->mouseentryCallback;
      if (cb) cb(cpw, id, u(p[0]));
      return;
    }
    case CPW_KEYBOARD_EVENT: {
      CpwKeyboardCallback cb = w->keyCallback ? w->keyCallback : cpw->keyCallback;
      if (cb) cb(cpw, id, cpw_keys_tochar(u(p[0]), p[1] != 0), u(p[2]), u(p[3]), u(p[4]));
      return;
    }
    case CPW_SYSKEYBOARD_EVENT: {
      CpwSystemKeyboardCallback cb = w->skeyCallback ? w->skeyCallback : cpw->skeyCallback;
      if (cb) cb(cpw, id, u(p[0]), u(p[1]), u(p[2]), u(p[3]));
      return;
    }
    case CPW_CREATE_EVENT:
    case CPW_DESTROY_EVENT: {
      unsigned flag = ev.type == CPW_CREATE_EVENT ? 1 : 0;
      CpwCreateCallback cb = w->createCallback ? w->createCallback : cpw->createCallback;
      if (cb) {
        cpw_window_makecurrent(cpw, id);
        cb(cpw, id, flag);
      } else if (flag == 0) {
        cpwDestroyWindow(cpw, id);  // default: a close request closes the window
      }
      return;
    }
    case CPW_POSITION_EVENT: {
      w->x = u(p[0]);
      w->y = u(p[1]);
      CpwPositionCallback cb = w->positionCallback ? w->positionCallback : cpw->positionCallback;
      if (cb) cb(cpw, id, u(p[0]), u(p[1]));
      return;
    }
    case CPW_DISPLAY_EVENT: {
      CpwDisplayCallback cb = w->displayCallback ? w->displayCallback : cpw->displayCallback;
      if (cb) {
        cpw_window_makecurrent(cpw, id);
        cb(cpw, id);
      }
      return;
    }
    case CPW_VISIBILITY_EVENT: {
      CpwVisibilityCallback cb = w->visibilityCallback ? w->visibilityCallback : cpw->visibilityCallback;
      if (cb) cb(cpw, id, u(p[0]));
      return;
    }
    case CPW_RESHAPE_EVENT: {
      w->width = u(p[0]);
      w->height = u(p[1]);
      CpwReshapeCallback cb = w->reshapeCallback ? w->reshapeCallback : cpw->reshapeCallback;
      if (cb) {
        cpw_window_makecurrent(cpw, id);
        cb(cpw, id, u(p[0]), u(p[1]));
      }
      return;
    }
    default:
      return;  // menu selections: menus are not part of this build
  }
}

// Applies `mark` to every pending event that `match` selects.
template <class Match>
bool cancel_pending(pCpw cpw, Match match) {
  if (!cpw || !cpw->stack) return false;
  CpwEventStack* st = cpw->stack;
  std::uint8_t at = st->read;
  for (int n = 0; n < CPW_EVENT_SLOTS && st->slots[at].inuse; ++n, ++at)
    if (!st->slots[at].cancelled && match(st->slots[at])) st->slots[at].cancelled = true;
  return true;
}

}  // namespace

bool cpw_event_init(pCpw cpw) {
  cpw->stack = static_cast<CpwEventStack*>(std::calloc(1, sizeof(CpwEventStack)));
  if (!cpw->stack) cpw->err_code = cpw_error_outofmemory;
  return cpw->stack != nullptr;
}

void cpw_event_exit(pCpw cpw) {
  if (!cpw->stack) return;
  // Deliver what is left (the close requests among it) without drawing.
  cpw->stack->filter[CPW_DISPLAY_EVENT] = true;
  cpw->stack->filter[CPW_RESHAPE_EVENT] = true;
  // Bounded, so that a callback that queues an event per event received
  // cannot keep the shutdown going for ever.
  bool delivered = false;
  for (int n = 0; n < 16 * CPW_EVENT_SLOTS && cpw_event_deliverone(cpw, &delivered); ++n) {
  }
  std::free(cpw->stack);
  cpw->stack = nullptr;
}

bool cpw_event_insert(pCpw cpw, int type, unsigned int id, int p1, int p2, int p3, int p4, int p5) {
  if (!cpw || !cpw->stack || type < 0 || type >= CPW_EVENT_TYPES) return false;
  CpwEventStack* st = cpw->stack;
  if (st->filter[type]) return false;
  CpwEventSlot& s = st->slots[st->write];
  if (s.inuse) return true;  // the ring is full: the event is dropped
  s = CpwEventSlot{true, false, id, type, {p1, p2, p3, p4, p5}};
  ++st->write;
  return true;
}

void cpw_event_dispatchnow(pCpw cpw, int type, unsigned int id, int p1, int p2, int p3, int p4, int p5) {
  if (!cpw) return;
  dispatch(cpw, CpwEventSlot{true, false, id, type, {p1, p2, p3, p4, p5}});
}

bool cpw_event_mousepending(pCpw cpw) {
  if (!cpw || !cpw->stack) return false;
  const CpwEventStack* st = cpw->stack;
  std::uint8_t at = st->read;
  for (int n = 0; n < CPW_EVENT_SLOTS && st->slots[at].inuse; ++n, ++at)
    if (is_pending(st->slots[at], CPW_MOUSECLICK_EVENT) || is_pending(st->slots[at], CPW_MOUSEDRAG_EVENT)) return true;
  return false;
}

bool cpw_event_deliverone(pCpw cpw, bool* delivered) {
  if (delivered) *delivered = false;
  if (!cpw || !cpw->stack) return false;
  CpwEventStack* st = cpw->stack;
  for (;;) {
    CpwEventSlot& s = st->slots[st->read];
    if (!s.inuse) return false;
    if (s.cancelled) {
      free_slot(s);
      ++st->read;
      continue;
    }
    // Of a run of position (or reshape) events only the last is delivered.
    const CpwEventSlot& next = st->slots[std::uint8_t(st->read + 1)];
    bool merged = (s.type == CPW_POSITION_EVENT || s.type == CPW_RESHAPE_EVENT) && is_pending(next, s.type);
    CpwEventSlot ev = s;
    // The slot is freed before the callback runs: the callback may queue,
    // clear or deliver events itself.
    free_slot(s);
    ++st->read;
    if (!merged) {
      dispatch(cpw, ev);
      if (delivered) *delivered = true;
    }
    return cpw_event_pending(cpw);
  }
}

bool cpw_event_pending(pCpw cpw) { return cpw && cpw->stack && cpw->stack->slots[cpw->stack->read].inuse; }

// ---- callbacks ---------------------------------------------------------------

#define CPW_CONTEXT_CALLBACK(op, type, field) \
  bool op(pCpw cpw, type cb) {                \
    if (!cpw) return false;                   \
    cpw->field = cb;                          \
    return true;                              \
  }
CPW_CONTEXT_CALLBACK(cpwCreateCallback, CpwCreateCallback, createCallback)
CPW_CONTEXT_CALLBACK(cpwDisplayCallback, CpwDisplayCallback, displayCallback)
CPW_CONTEXT_CALLBACK(cpwReshapeCallback, CpwReshapeCallback, reshapeCallback)
CPW_CONTEXT_CALLBACK(cpwPositionCallback, CpwPositionCallback, positionCallback)
CPW_CONTEXT_CALLBACK(cpwKeyboardCallback, CpwKeyboardCallback, keyCallback)
CPW_CONTEXT_CALLBACK(cpwSystemKeyboardCallback, CpwSystemKeyboardCallback, skeyCallback)
CPW_CONTEXT_CALLBACK(cpwVisibilityCallback, CpwVisibilityCallback, visibilityCallback)
CPW_CONTEXT_CALLBACK(cpwMouseClickCallback, CpwMouseClickCallback, mouseclickCallback)
CPW_CONTEXT_CALLBACK(cpwMouseDragCallback, CpwMouseDragCallback, mousedragCallback)
CPW_CONTEXT_CALLBACK(cpwMouseMoveCallback, CpwMouseMoveCallback, mousemoveCallback)
CPW_CONTEXT_CALLBACK(cpwMouseEntryCallback, CpwMouseEntryCallback, mouseentryCallback)
#undef CPW_CONTEXT_CALLBACK

#define CPW_WINDOW_CALLBACK(op, type, field)          \
  bool op(pCpw cpw, type cb, unsigned int id) {       \
    pCpwWin w = cpw_window_lookup(cpw, id);           \
    if (!w) {                                         \
      if (cpw) cpw->err_code = cpw_error_invalidwindowid; \
      return false;                                   \
    }                                                 \
    w->field = cb;                                    \
    return true;                                      \
  }
CPW_WINDOW_CALLBACK(cpwWindowCreateCallback, CpwCreateCallback, createCallback)
CPW_WINDOW_CALLBACK(cpwWindowDisplayCallback, CpwDisplayCallback, displayCallback)
CPW_WINDOW_CALLBACK(cpwWindowReshapeCallback, CpwReshapeCallback, reshapeCallback)
CPW_WINDOW_CALLBACK(cpwWindowPositionCallback, CpwPositionCallback, positionCallback)
CPW_WINDOW_CALLBACK(cpwWindowKeyboardCallback, CpwKeyboardCallback, keyCallback)
CPW_WINDOW_CALLBACK(cpwWindowSystemKeyboardCallback, CpwSystemKeyboardCallback, skeyCallback)
CPW_WINDOW_CALLBACK(cpwWindowVisibilityCallback, CpwVisibilityCallback, visibilityCallback)
CPW_WINDOW_CALLBACK(cpwWindowMouseClickCallback, CpwMouseClickCallback, mouseclickCallback)
CPW_WINDOW_CALLBACK(cpwWindowMouseDragCallback, CpwMouseDragCallback, mousedragCallback)
CPW_WINDOW_CALLBACK(cpwWindowMouseMoveCallback, CpwMouseMoveCallback, mousemoveCallback)
CPW_WINDOW_CALLBACK(cpwWindowMouseEntryCallback, CpwMouseEntryCallback, mouseentryCallback)
#undef CPW_WINDOW_CALLBACK

// ---- queueing ----------------------------------------------------------------

bool cpwPostRedisplay(pCpw cpw) {
  if (!cpw) return false;
  if (!cpw->list_win.baseElement) {
    cpw->err_code = cpw_error_invalidwindowid;
    return false;
  }
  for (pLinkedElement e = cpw->list_win.baseElement; e; e = e->childtomyright)
    cpw_event_insert(cpw, CPW_DISPLAY_EVENT, e->id);
  return true;
}

bool cpwPostWindowRedisplay(pCpw cpw, unsigned int id) {
  pCpwWin w = cpw_window_lookup(cpw, id);
  if (!w) {
    if (cpw) cpw->err_code = cpw_error_invalidwindowid;
    return false;
  }
  return cpw_event_insert(cpw, CPW_DISPLAY_EVENT, w->id);
}

bool cpwFilterEvent(pCpw cpw, unsigned int type, bool flag) {
  if (!cpw || !cpw->stack || type >= unsigned(CPW_EVENT_TYPES)) return false;
  bool previous = cpw->stack->filter[type];
  cpw->stack->filter[type] = flag;
  return previous;
}

// ---- queue inspection ----------------------------------------------------------

unsigned int cpwNextEvent(pCpw cpw) { return cpwNextWindowEvent(cpw, 0); }

// With id 0, the next pending event of any window.
unsigned int cpwNextWindowEvent(pCpw cpw, unsigned int id) {
  if (!cpw || !cpw->stack) return 0;
  CpwEventStack* st = cpw->stack;
  std::uint8_t at = st->read;
  for (int n = 0; n < CPW_EVENT_SLOTS && st->slots[at].inuse; ++n, ++at) {
    const CpwEventSlot& s = st->slots[at];
    if (!s.cancelled && (id == 0 || s.id == id)) return unsigned(s.type);
  }
  return 0;
}

bool cpwClearEvents(pCpw cpw) {
  if (!cpw || !cpw->stack) return false;
  std::memset(cpw->stack->slots, 0, sizeof cpw->stack->slots);
  cpw->stack->read = cpw->stack->write = 0;
  return true;
}

bool cpwClearEvent(pCpw cpw, unsigned int type) {
  return cancel_pending(cpw, [type](const CpwEventSlot& s) { return unsigned(s.type) == type; });
}

bool cpwClearWindowEvents(pCpw cpw, unsigned int id) {
  return cancel_pending(cpw, [id](const CpwEventSlot& s) { return s.id == id; });
}

bool cpwClearWindowEvent(pCpw cpw, unsigned int type, unsigned int id) {
  return cancel_pending(cpw, [type, id](const CpwEventSlot& s) { return s.id == id && unsigned(s.type) == type; });
}

bool cpwPopEvent(pCpw cpw) {
  bool done = false;
  cancel_pending(cpw, [&done](const CpwEventSlot&) { return done ? false : (done = true); });
  return done;
}

unsigned int cpwStackDepth(pCpw cpw) {
  if (!cpw || !cpw->stack) return 0;
  int d = int(cpw->stack->read) - int(cpw->stack->write);
  return unsigned(d < 0 ? -d : d);
}

bool cpw_event_filtered(pCpw cpw, int type) {
  return cpw && cpw->stack && type >= 0 && type < CPW_EVENT_TYPES && cpw->stack->filter[type];
}
