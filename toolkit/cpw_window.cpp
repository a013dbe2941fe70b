// Toolkit windows: records in the context's window list, each owning one
// host window with its OpenGL rendering context.
#include <cstdlib>

#include "toolkit/cpw.h"
#include "toolkit/cpw_internal.h"
#include "toolkit/host/cpw_host.h"

namespace {

pCpwWin lookup_or_fail(pCpw cpw, unsigned int id) {
  pCpwWin w = cpw_window_lookup(cpw, id);
  if (!w && cpw) cpw->err_code = cpw_error_invalidwindowid;
  return w;
}

// Takes a window out of the list and forgets every reference to its id.
void unlist(pCpw cpw, pCpwWin w) {
  ll_deleteElement(&cpw->list_win, w->id);
  if (cpw->win_currentid == w->id) cpw->win_currentid = 0;
  if (cpw->win_foregroundid == w->id) cpw->win_foregroundid = 0;
  if (CpwLocalhost* lh = cpw->ctx_localhost) {
    if (lh->focusid == w->id) lh->focusid = 0;
    if (lh->cursorid == w->id) lh->cursorid = 0;
  }
}

}  // namespace

pCpwWin cpw_window_lookup(pCpw cpw, unsigned int id) {
  if (!cpw) return nullptr;
  if (id == 0) id = cpw->win_foregroundid;
  void* w = nullptr;
  ll_getVoid(&cpw->list_win, &w, id);
  return static_cast<pCpwWin>(w);
}

bool cpw_window_makecurrent(pCpw cpw, unsigned int id) {
  if (!cpw) return false;
  if (id == cpw->win_currentid) return true;
  pCpwWin w = cpw_window_lookup(cpw, id);
  if (!w) return false;
  if (!cpw_host(cpw).makecurrent(cpw, w)) {
    cpw->win_currentid = 0;  // nothing is current now; the next call tries again
    return false;
  }
  cpw->win_currentid = w->id;
  return true;
}

bool cpw_window_init(pCpw cpw) {
  ll_initList(&cpw->list_win);
  return true;
}

void cpw_window_closeall(pCpw cpw) {
  for (pLinkedElement e = cpw->list_win.baseElement; e; e = e->childtomyright)
    cpw_event_insert(cpw, CPW_DESTROY_EVENT, e->id);
}

void cpw_window_exit(pCpw cpw) {
  while (pLinkedElement e = cpw->list_win.baseElement) {
    unsigned id = e->id;
    if (!cpwDestroyWindow(cpw, id)) ll_deleteElement(&cpw->list_win, id);
  }
  ll_deleteList(&cpw->list_win);
}

unsigned int cpwCreateWindow(pCpw cpw, const char* title) {
  if (!cpw) return 0;
  return cpwCreateWindowEx(cpw, title, cpw->win_initx, cpw->win_inity, cpw->win_initwidth, cpw->win_initheight);
}

unsigned int cpwCreateWindowEx(pCpw cpw, const char* title, unsigned int x, unsigned int y, unsigned int width,
                               unsigned int height) {
  // A context whose init stopped has no usable host layer.
  if (!cpw || !cpw->cpw_initsuccess) return 0;
  if (!title) title = "";
  pCpwWin w = static_cast<pCpwWin>(std::calloc(1, sizeof(_CpwWindowStruct)));
  if (!w) {
    cpw->err_code = cpw_error_outofmemory;
    return 0;
  }
  w->x = w->bx = x;
  w->y = w->by = y;
  w->width = w->bwidth = width;
  w->height = w->bheight = height;
  w->cursor = CursorArrow;
  w->id = ll_addVoid(&cpw->list_win, w);
  if (w->id == 0) {
    cpw->err_code = cpw_error_outofmemory;
    std::free(w);
    return 0;
  }
  const CpwHostOps& host = cpw_host(cpw);
  bool made = host.createwindow(cpw, w, title);
  if (made && !(host.setpixelformat(cpw, w) && host.createglcontext(cpw, w))) {
    host.destroywindow(cpw, w);
    made = false;
  }
  if (!made) {
    // The record never got a usable host part: it leaves the list again.
    unlist(cpw, w);
    std::free(w);
    return 0;
  }
  host.setforeground(cpw, w);
  cpw->win_foregroundid = w->id;
  cpw->win_currentid = 0;
  cpw_window_makecurrent(cpw, w->id);
  setString(&w->title, title);
  cpw_event_insert(cpw, CPW_CREATE_EVENT, w->id);
  cpw_event_insert(cpw, CPW_POSITION_EVENT, w->id, int(x), int(y));
  cpw_event_insert(cpw, CPW_RESHAPE_EVENT, w->id, int(width), int(height));
  cpw_event_insert(cpw, CPW_DISPLAY_EVENT, w->id);
  return w->id;
}

bool cpwDestroyWindow(pCpw cpw, unsigned int id) {
  pCpwWin w = lookup_or_fail(cpw, id);
  if (!w) return false;
  unsigned wid = w->id;
  unlist(cpw, w);
  freeStr(&w->title);
  cpw_host(cpw).destroywindow(cpw, w);
  std::free(w);
  if (wid == 1) cpwBreakMainLoop(cpw);
  return true;
}

bool cpwShowWindow(pCpw cpw, unsigned int id) {
  pCpwWin w = lookup_or_fail(cpw, id);
  if (!w) return false;
  bool was = w->plhwc->visible;
  cpw_host(cpw).showwindow(cpw, w);
  return was;
}

bool cpwHideWindow(pCpw cpw, unsigned int id) {
  pCpwWin w = lookup_or_fail(cpw, id);
  if (!w) return false;
  bool was = w->plhwc->visible;
  cpw_host(cpw).hidewindow(cpw, w);
  return was;
}

bool cpwReshapeWindow(pCpw cpw, unsigned int width, unsigned int height, unsigned int id) {
  pCpwWin w = lookup_or_fail(cpw, id);
  if (!w) return false;
  w->width = width;
  w->height = height;
  cpw_event_insert(cpw, CPW_RESHAPE_EVENT, w->id, int(width), int(height));
  cpw_event_insert(cpw, CPW_DISPLAY_EVENT, w->id);
  cpw_host(cpw).reshapewindow(cpw, w, width, height);
  return true;
}

bool cpwSwapWindowBuffers(pCpw cpw, unsigned int id) {
  pCpwWin w = lookup_or_fail(cpw, id);
  if (!w) return false;
  return cpw_host(cpw).swapbuffers(cpw, w);
}

bool cpwSwapBuffers(pCpw cpw) {
  if (!cpw) return false;
  if (!cpw->list_win.baseElement) {
    cpw->err_code = cpw_error_invalidwindowid;
    return false;
  }
  bool all = true;
  for (pLinkedElement e = cpw->list_win.baseElement; e; e = e->childtomyright)
    if (!cpw_host(cpw).swapbuffers(cpw, static_cast<pCpwWin>(e->e.v))) all = false;
  return all;
}

bool cpwSetCursor(pCpw cpw, CpwCursor cursor, unsigned int id) {
  pCpwWin w = lookup_or_fail(cpw, id);
  if (!w) return false;
  // Only the focused window with the pointer inside shows a new cursor; the
  // kind is shown again whenever the pointer re-enters.
  if (cpw->win_foregroundid == w->id && w->cursorpresent) {
    w->cursor = cursor;
    cpw_host(cpw).setcursor(cpw, w);
  }
  return false;
}

unsigned int cpwGetWindow(pCpw cpw) {
  if (!cpw) return 0;
  if (!cpw_window_lookup(cpw, cpw->win_foregroundid)) {
    cpw->err_code = cpw_error_invalidwindowid;
    return 0;
  }
  return cpw->win_foregroundid;
}

bool cpwSetWindow(pCpw cpw, unsigned int id) {
  pCpwWin w = cpw_window_lookup(cpw, id);
  return w && cpw_window_makecurrent(cpw, w->id);
}

bool cpwSetWindowUserdata(pCpw cpw, std::uintptr_t value, unsigned int id) {
  pCpwWin w = lookup_or_fail(cpw, id);
  if (!w) return false;
  w->userdata = value;
  return true;
}

std::uintptr_t cpwGetWindowUserdata(pCpw cpw, unsigned int id) {
  pCpwWin w = lookup_or_fail(cpw, id);
  return w ? w->userdata : 0;
}

bool cpwGetNativeWindow(pCpw cpw, unsigned int id, std::uintptr_t* window, void** display) {
  if (window) *window = 0;
  if (display) *display = nullptr;
  pCpwWin w = lookup_or_fail(cpw, id);
  if (!w || !w->plhwc) return false;
  if (window) *window = w->plhwc->hwnd;
  if (display) *display = w->plhwc->hdc;
  return true;
}

bool cpwRaiseWindow(pCpw cpw, unsigned int id) {
  pCpwWin w = lookup_or_fail(cpw, id);
  if (!w || !w->plhwc) return false;
  cpw_host(cpw).setforeground(cpw, w);
  return true;
}
