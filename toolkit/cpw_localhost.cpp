// The host layer's neutral half: its state in the context, and the window
// procedure rules that turn native messages into toolkit events.
#include <cstdio>
#include <cstdlib>

#include "toolkit/cpw.h"
#include "toolkit/cpw_internal.h"
#include "toolkit/host/cpw_host.h"

bool cpw_keys_translate(unsigned int vk, unsigned int mapped, bool shift, bool capslock, unsigned int* code,
                        bool* shiftflag, bool* special);

namespace {

unsigned int class_counter = 0;  // names the window class of each context

void cursor_enter(pCpw cpw, unsigned int id) {
  pCpwWin w = cpw_window_lookup(cpw, id);
  if (!w || w->cursorpresent) return;
  w->cursorpresent = true;
  cpw_host(cpw).setcursor(cpw, w);
  cpw_event_insert(cpw, CPW_MOUSEENTRY_EVENT, id, CPW_MOUSE_ENTER);
}

void cursor_leave(pCpw cpw, unsigned int id) {
  pCpwWin w = cpw_window_lookup(cpw, id);
  if (!w || !w->cursorpresent) return;
  w->cursorpresent = false;
  cpw_host(cpw).restorecursor(cpw, w);
  cpw_event_insert(cpw, CPW_MOUSEENTRY_EVENT, id, CPW_MOUSE_LEAVE);
}

// Messages for windows the toolkit does not (or no longer) know go nowhere.
CpwLocalhost* state_for(pCpw cpw, unsigned int id) {
  if (!cpw || !cpw->ctx_localhost || id == 0 || !cpw_window_lookup(cpw, id)) return nullptr;
  return cpw->ctx_localhost;
}

}  // namespace

unsigned int cpw_localhost_nextclass() { return ++class_counter; }

bool cpw_localhost_init(pCpw cpw) {
  CpwLocalhost* lh = static_cast<CpwLocalhost*>(std::calloc(1, sizeof(CpwLocalhost)));
  if (!lh) {
    cpw->err_code = cpw_error_outofmemory;
    return false;
  }
  lh->ops = cpw_localhost_table();
  std::snprintf(lh->classname, sizeof lh->classname, "CPWWindow%u", cpw_localhost_nextclass());
  cpw->ctx_localhost = lh;
  if (lh->ops->init(cpw)) return true;
  if (cpw->err_code == 0) cpw->err_code = cpw_error_initfailed;
  return false;
}

void cpw_localhost_exit(pCpw cpw) {
  if (!cpw->ctx_localhost) return;
  cpw->ctx_localhost->ops->exit(cpw);
  std::free(cpw->ctx_localhost);
  cpw->ctx_localhost = nullptr;
}

void cpw_wndproc_move(pCpw cpw, unsigned int id, int left, int top) {
  if (state_for(cpw, id)) cpw_event_insert(cpw, CPW_POSITION_EVENT, id, left, top);
}

void cpw_wndproc_size(pCpw cpw, unsigned int id, int kind, int width, int height) {
  if (!state_for(cpw, id)) return;
  if (kind == CPW_SIZE_MINIMIZED) {
    cpw_event_insert(cpw, CPW_VISIBILITY_EVENT, id, CPW_ICONIC);
    return;
  }
  cpw_event_dispatchnow(cpw, CPW_RESHAPE_EVENT, id, width, height);
  cpw_event_dispatchnow(cpw, CPW_DISPLAY_EVENT, id);
}

void cpw_wndproc_setfocus(pCpw cpw, unsigned int id) {
  CpwLocalhost* lh = state_for(cpw, id);
  if (!lh) return;
  lh->focusid = id;
  cpw->win_foregroundid = id;
  cpw->win_currentid = 0;
  cpw_window_makecurrent(cpw, id);
  cpw_event_insert(cpw, CPW_VISIBILITY_EVENT, id, CPW_GAINEDFOCUS);
  if (lh->cursorid != id) {
    lh->cursorid = id;
    cursor_enter(cpw, id);
  }
}

void cpw_wndproc_killfocus(pCpw cpw, unsigned int id) {
  CpwLocalhost* lh = state_for(cpw, id);
  if (!lh) return;
  if (lh->cursorid == id) {
    lh->cursorid = 0;
    cursor_leave(cpw, id);
  }
  lh->focusid = 0;
  if (cpw->win_foregroundid == id) cpw->win_foregroundid = 0;
  cpw_event_insert(cpw, CPW_VISIBILITY_EVENT, id, CPW_LOSTFOCUS);
}

void cpw_wndproc_paint(pCpw cpw, unsigned int id) {
  if (state_for(cpw, id)) cpw_event_dispatchnow(cpw, CPW_DISPLAY_EVENT, id);
}

void cpw_wndproc_close(pCpw cpw, unsigned int id) {
  if (state_for(cpw, id)) cpw_event_insert(cpw, CPW_DESTROY_EVENT, id);
}

void cpw_wndproc_showwindow(pCpw cpw, unsigned int id, bool shown) {
  if (state_for(cpw, id)) cpw_event_insert(cpw, CPW_VISIBILITY_EVENT, id, shown ? CPW_SHOW : CPW_HIDE);
}

void cpw_wndproc_setcursor(pCpw cpw, unsigned int id, bool inclient) {
  CpwLocalhost* lh = state_for(cpw, id);
  if (!lh) return;
  if (inclient) {
    if (lh->cursorid != id && lh->focusid == id) {
      lh->cursorid = id;
      cursor_enter(cpw, id);
    }
  } else if (lh->cursorid == id) {
    lh->cursorid = 0;
    cursor_leave(cpw, id);
  }
}

void cpw_wndproc_displaychange(pCpw cpw, unsigned int width, unsigned int height) {
  if (!cpw) return;
  cpw->cpw_screenwidth = width;
  cpw->cpw_screenheight = height;
}

void cpw_wndproc_key(pCpw cpw, unsigned int id, unsigned int vk, unsigned int mapped, bool down, bool shift,
                     bool capslock, int x, int y) {
  if (!state_for(cpw, id)) return;
  unsigned code = 0;
  bool shiftflag = false, special = false;
  if (!cpw_keys_translate(vk, mapped, shift, capslock, &code, &shiftflag, &special)) {
    std::printf("error in key processing (%i)\n", int(mapped));
    std::fflush(stdout);
    return;
  }
  cpw->keyboard_state[code] = down;
  // The sides of the modifier keys are kept in the state table only.
  switch (vk) {
    case 0xA2: cpw->keyboard_state[CPW_KEY_LCONTROL] = down; break;
    case 0xA3: cpw->keyboard_state[CPW_KEY_RCONTROL] = down; break;
    case 0xA0: cpw->keyboard_state[CPW_KEY_LSHIFT] = down; break;
    case 0xA1: cpw->keyboard_state[CPW_KEY_RSHIFT] = down; break;
    case 0xA4: cpw->keyboard_state[CPW_KEY_LALT] = down; break;
    case 0xA5: cpw->keyboard_state[CPW_KEY_RALT] = down; break;
    default: break;
  }
  int state = down ? CPW_KEYMOD_DOWN : CPW_KEYMOD_UP;
  if (special)
    cpw_event_insert(cpw, CPW_SYSKEYBOARD_EVENT, id, int(code), state, x, y);
  else
    cpw_event_insert(cpw, CPW_KEYBOARD_EVENT, id, int(code), shiftflag ? 1 : 0, state, x, y);
}

void cpw_wndproc_mousemove(pCpw cpw, unsigned int id, unsigned int keystate, int x, int y) {
  CpwLocalhost* lh = state_for(cpw, id);
  if (!lh) return;
  if (cpw_event_filtered(cpw, CPW_MOUSEMOTION_EVENT) && cpw_event_filtered(cpw, CPW_MOUSEDRAG_EVENT)) return;
  lh->accumx += lh->mousex - x;
  lh->accumy += lh->mousey - y;
  lh->mousex = x;
  lh->mousey = y;
  if (keystate & (CPW_MK_LBUTTON | CPW_MK_RBUTTON | CPW_MK_MBUTTON)) {
    // A drag names its button only when that button alone is in the key state.
    int button = keystate == CPW_MK_LBUTTON   ? 0
                 : keystate == CPW_MK_MBUTTON ? 1
                 : keystate == CPW_MK_RBUTTON ? 2
                                              : -1;
    if (lh->focusid == id) cpw_event_insert(cpw, CPW_MOUSEDRAG_EVENT, id, button, x, y);
  } else if (lh->focusid == id) {
    cpw_event_insert(cpw, CPW_MOUSEMOTION_EVENT, id, x, y);
  }
}

void cpw_wndproc_button(pCpw cpw, unsigned int id, int button, bool down, int x, int y) {
  CpwLocalhost* lh = state_for(cpw, id);
  if (!lh || button < 0 || button > 2) return;
  lh->buttons[button] = down;
  cpw_host(cpw).capturemouse(cpw, cpw_window_lookup(cpw, id), down);
  cpw_event_insert(cpw, CPW_MOUSECLICK_EVENT, id, down ? CPW_BUTTON_DOWN : CPW_BUTTON_UP, button, x, y);
}

void cpw_wndproc_wheel(pCpw cpw, unsigned int id, int delta, int, int) {
  CpwLocalhost* lh = state_for(cpw, id);
  if (!lh) return;
  int notches = delta / 120;  // truncated toward zero
  if (notches > 0) ++lh->wheel;
  if (notches < 0) --lh->wheel;
  cpw_event_insert(cpw, CPW_MOUSECLICK_EVENT, id, CPW_BUTTON_WHEEL, CPW_BUTTON_MIDDLE, notches, 0);
}

// ---- key state and key records ------------------------------------------------

bool cpw_keystate_down(const unsigned char state[256], unsigned int vk) { return vk < 256 && (state[vk] & 0x80); }

bool cpw_keystate_shift(const unsigned char state[256]) {
  return cpw_keystate_down(state, 0x10) || cpw_keystate_down(state, 0xA0) || cpw_keystate_down(state, 0xA1);
}
bool cpw_keystate_control(const unsigned char state[256]) {
  return cpw_keystate_down(state, 0x11) || cpw_keystate_down(state, 0xA2) || cpw_keystate_down(state, 0xA3);
}
bool cpw_keystate_alt(const unsigned char state[256]) {
  return cpw_keystate_down(state, 0x12) || cpw_keystate_down(state, 0xA4) || cpw_keystate_down(state, 0xA5);
}

void cpw_keystate_set(pCpw cpw, unsigned int vk, bool down) {
  if (!cpw || !cpw->ctx_localhost || vk >= 256) return;
  unsigned char* k = cpw->ctx_localhost->keystate;
  // A generic modifier stands for its left side, as the low-level hook never
  // reports the generic key.
  if (vk >= 0x10 && vk <= 0x12) vk = vk == 0x10 ? 0xA0 : vk == 0x11 ? 0xA2 : 0xA4;
  k[vk] = static_cast<unsigned char>(down ? (k[vk] | 0x80) : (k[vk] & ~0x80));
  for (unsigned side = 0xA0; side <= 0xA4; side += 2) {
    unsigned generic = 0x10 + (side - 0xA0) / 2;
    bool either = (k[side] & 0x80) || (k[side + 1] & 0x80);
    k[generic] = static_cast<unsigned char>(either ? (k[generic] | 0x80) : (k[generic] & ~0x80));
  }
}

void cpw_keystate_settoggle(pCpw cpw, unsigned int vk, bool on) {
  if (!cpw || !cpw->ctx_localhost || vk >= 256) return;
  unsigned char& k = cpw->ctx_localhost->keystate[vk];
  k = static_cast<unsigned char>(on ? (k | 0x01) : (k & ~0x01));
}

void cpw_keystate_releaseall(pCpw cpw) {
  if (!cpw || !cpw->ctx_localhost) return;
  for (unsigned char& k : cpw->ctx_localhost->keystate) k &= 0x01;
}

bool cpw_wndproc_keyhook(pCpw cpw, unsigned int id, CpwKeyRecord record) {
  CpwLocalhost* lh = state_for(cpw, id);
  if (!lh) return false;
  // Windows' low-level hook flags every key while Alt is held, and the Alt
  // key's own press (its release comes with Alt already up).
  if (cpw_keystate_alt(lh->keystate))
    record.flags |= CPW_KEYREC_ALTDOWN;
  else
    record.flags &= ~CPW_KEYREC_ALTDOWN;
  CpwKeyHook hook = lh->keyhook;
  return hook && hook(cpw, &record);
}

void cpw_wndproc_keyrecord(pCpw cpw, unsigned int id, CpwKeyRecord record, bool shift, bool capslock, int x, int y) {
  if (!state_for(cpw, id)) return;
  if (record.vk == 0) {
    cpw_wndproc_key(cpw, id, 0, 0, !record.up, shift, capslock, x, y);
    return;
  }
  if (cpw_wndproc_keyhook(cpw, id, record)) return;
  cpw_wndproc_key(cpw, id, record.vk, cpw_keys_uschar(record.vk), !record.up, shift, capslock, x, y);
}
