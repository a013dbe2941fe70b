// The toolkit's host layer: one table of platform operations, and the
// platform-neutral half of the window procedure that every host feeds.
//
// A host (toolkit/host/win32, toolkit/host/x11, toolkit/host/null)
// provides cpw_localhost_table(); CMake links exactly one host into a build.
// The operations follow the Win32 calls the toolkit was shaped on: a host
// that needs another order internally (X11 chooses its visual before it
// creates the window) keeps that inside its own operations.
//
// The host turns every native message into one call of the cpw_wndproc_*
// entry points below; they hold the rules for focus, cursor entry, mouse
// motion, buttons, the wheel and keys, so every host reports the same events
// with the same arguments (client pixels, origin top-left, y downwards).
#pragma once

#include <cstdint>

#include "toolkit/cpw.h"

struct CpwHostOps {
  const char* name;
  // Registers the window class and reads the screen size (error 5).
  bool (*init)(pCpw cpw);
  // Unregisters the class and frees the host state.
  void (*exit)(pCpw cpw);
  // Creates, styles, shows and focuses the native window for `win`, whose
  // geometry is already in the record, and fills win->plhwc (error 6).
  bool (*createwindow)(pCpw cpw, pCpwWin win, const char* title);
  // Chooses and sets the pixel format from cpw_displaymode (errors 7, 8).
  bool (*setpixelformat)(pCpw cpw, pCpwWin win);
  // Creates the window's OpenGL rendering context (error 9).
  bool (*createglcontext)(pCpw cpw, pCpwWin win);
  // Makes the window's rendering context current (error 10).
  bool (*makecurrent)(pCpw cpw, pCpwWin win);
  bool (*swapbuffers)(pCpw cpw, pCpwWin win);
  void (*showwindow)(pCpw cpw, pCpwWin win);
  void (*hidewindow)(pCpw cpw, pCpwWin win);
  void (*setforeground)(pCpw cpw, pCpwWin win);
  // Gives the client area the size, keeping position and stacking order.
  bool (*reshapewindow)(pCpw cpw, pCpwWin win, unsigned int width, unsigned int height);
  // Releases the rendering context and the native window; frees win->plhwc.
  void (*destroywindow)(pCpw cpw, pCpwWin win);
  // Shows the cursor of win->cursor; restorecursor undoes nothing today.
  void (*setcursor)(pCpw cpw, pCpwWin win);
  void (*restorecursor)(pCpw cpw, pCpwWin win);
  // Keeps mouse messages coming to the window while a button is held.
  void (*capturemouse)(pCpw cpw, pCpwWin win, bool capture);
  // Handles up to `max` waiting native messages; false when the queue ran
  // dry (or a quit message asked the main loop to stop) before `max`.
  bool (*processevents)(pCpw cpw, int max);
  double (*hpfrequency)(pCpw cpw);
  double (*hpcount)(pCpw cpw);
  // The main loop's idle step: returns when a native message (or anything
  // else the host must serve from the loop) may be waiting, or after
  // `milliseconds` (-1: no limit, 0: at once). Returns at once when
  // something is already waiting. It may return early; the loop then just
  // runs another turn.
  void (*waitevents)(pCpw cpw, int milliseconds);
  // Full path of a font file of the system font folder; false if none.
  bool (*fontpath)(pCpw cpw, const char* name, pStr* path);
  // Installs (or, with null, removes) the low-level key hook; false when
  // the host cannot deliver key records yet.
  bool (*setkeyhook)(pCpw cpw, CpwKeyHook hook);
  // Key state, translation and reverse lookup (see cpwGetKeyboardState,
  // cpwToAscii, cpwVkKeyScan in toolkit/cpw.h).
  bool (*keyboardstate)(pCpw cpw, unsigned char state[256]);
  int (*toascii)(pCpw cpw, unsigned int vk, unsigned int scancode, const unsigned char state[256], unsigned char* ch);
  int (*vkkeyscan)(pCpw cpw, unsigned char ch);
  // The clipboard's text in UTF-8 (see cpwSetClipboardText and the others).
  bool (*setclipboard)(pCpw cpw, const char* text);
  bool (*getclipboard)(pCpw cpw, char* text, int size);
  void (*serveclipboard)(pCpw cpw);
};

// The host linked into this build.
const CpwHostOps* cpw_localhost_table();

// Host-layer state, one per context (ctx_localhost).
struct CpwLocalhost {
  const CpwHostOps* ops;
  char classname[32];          // "CPWWindow" + process-wide counter
  unsigned int focusid;        // window with the keyboard focus, as the host saw it last
  unsigned int cursorid;       // window the mouse cursor is in (0: none)
  int mousex, mousey;          // last mouse position
  int accumx, accumy;          // sum of (previous - new) position per move
  int wheel;                   // +1 per forward wheel message, -1 per backward one
  bool buttons[3];             // pressed flag per mouse button
  CpwKeyHook keyhook;
  // Windows-style key state by virtual key, kept by the host from the key
  // events it sees: 0x80 down, 0x01 toggled (Caps, Num and Scroll Lock).
  unsigned char keystate[256];
  void* host;                  // the host's own state
};

// Runs a context's host operation; the context's host state must exist.
inline const CpwHostOps& cpw_host(pCpw cpw) { return *cpw->ctx_localhost->ops; }

// The process-wide counter that names window classes ("CPWWindow1", ...).
unsigned int cpw_localhost_nextclass();

// Key-state flags of mouse messages (as Win32 reports them).
enum : unsigned {
  CPW_MK_LBUTTON = 0x1,
  CPW_MK_RBUTTON = 0x2,
  CPW_MK_SHIFT = 0x4,
  CPW_MK_CONTROL = 0x8,
  CPW_MK_MBUTTON = 0x10,
};
// Kinds of size message.
enum : int { CPW_SIZE_RESTORED = 0, CPW_SIZE_MINIMIZED = 1, CPW_SIZE_MAXIMIZED = 2 };

// ---- the neutral window procedure ------------------------------------------
// Mouse coordinates: client pixels, origin top-left, y downwards; negative
// left of or above the client area.
void cpw_wndproc_move(pCpw cpw, unsigned int id, int left, int top);
void cpw_wndproc_size(pCpw cpw, unsigned int id, int kind, int width, int height);
void cpw_wndproc_setfocus(pCpw cpw, unsigned int id);
void cpw_wndproc_killfocus(pCpw cpw, unsigned int id);
void cpw_wndproc_paint(pCpw cpw, unsigned int id);
void cpw_wndproc_close(pCpw cpw, unsigned int id);
void cpw_wndproc_showwindow(pCpw cpw, unsigned int id, bool shown);
// The pointer is over the window's client area (true) or left it (false).
void cpw_wndproc_setcursor(pCpw cpw, unsigned int id, bool inclient);
void cpw_wndproc_displaychange(pCpw cpw, unsigned int width, unsigned int height);
// A key went down or up. `vk` is the Windows virtual key, `mapped` the
// character the host maps it to (Win32 MapVirtualKeyA type 2; see
// cpw_keys_uschar). The numeric pad's digits are told apart by their vk.
void cpw_wndproc_key(pCpw cpw, unsigned int id, unsigned int vk, unsigned int mapped, bool down, bool shift,
                     bool capslock, int x, int y);
// A key record of a window, with the key state already updated for it:
// adds CPW_KEYREC_ALTDOWN while Alt is down, hands the record to the
// installed hook and, unless the hook consumes it, reports the toolkit key
// event (cpw_wndproc_key, with `shift` and `capslock` as the host saw them).
void cpw_wndproc_keyrecord(pCpw cpw, unsigned int id, CpwKeyRecord record, bool shift, bool capslock, int x, int y);
// The hook half of cpw_wndproc_keyrecord, for hosts whose toolkit key event
// comes from a message of its own (Win32's WM_KEYDOWN after the low-level
// hook's record): sets CPW_KEYREC_ALTDOWN from the key state and hands the
// record to the installed hook; true when the hook consumed it.
bool cpw_wndproc_keyhook(pCpw cpw, unsigned int id, CpwKeyRecord record);
// Sets a key's down bit; the generic Shift, Control and Alt keys (0x10 to
// 0x12) follow their sides (0xA0 to 0xA5).
void cpw_keystate_set(pCpw cpw, unsigned int vk, bool down);
void cpw_keystate_settoggle(pCpw cpw, unsigned int vk, bool on);
// Clears every down bit, keeping the toggles.
void cpw_keystate_releaseall(pCpw cpw);
bool cpw_keystate_down(const unsigned char state[256], unsigned int vk);
// Shift, Control and Alt in a key state: either side or the generic key.
bool cpw_keystate_shift(const unsigned char state[256]);
bool cpw_keystate_control(const unsigned char state[256]);
bool cpw_keystate_alt(const unsigned char state[256]);
void cpw_wndproc_mousemove(pCpw cpw, unsigned int id, unsigned int keystate, int x, int y);
void cpw_wndproc_button(pCpw cpw, unsigned int id, int button, bool down, int x, int y);
void cpw_wndproc_wheel(pCpw cpw, unsigned int id, int delta, int x, int y);

// The character a US keyboard maps a virtual key to, as MapVirtualKeyA
// type 2 does (upper-case letters, unshifted punctuation; 0 for none).
unsigned int cpw_keys_uschar(unsigned int vk);
// The scan code (set 1) and extended flag a US keyboard reports for a
// virtual key in a low-level key record (the generic modifiers as their
// left side); false, and 0, for a key it does not have.
bool cpw_keys_usscan(unsigned int vk, unsigned int* scan, bool* extended);
// The virtual key of a US keyboard's key at a scan code; 0 for none.
unsigned int cpw_keys_usvk(unsigned int scan, bool extended);
// A Unicode code point in Windows-1252, -1 when the code page lacks it
// (controls included).
int cpw_keys_cp1252(unsigned int unicode);
unsigned int cpw_keys_cp1252_unicode(unsigned char c);

// ---- toolkit internals the hosts and modules share ----------------------------
pCpwWin cpw_window_lookup(pCpw cpw, unsigned int id);
bool cpw_window_makecurrent(pCpw cpw, unsigned int id);
bool cpw_event_insert(pCpw cpw, int type, unsigned int id, int p1 = 0, int p2 = 0, int p3 = 0, int p4 = 0,
                      int p5 = 0);
// Whether a mouse click or drag waits in the event queue: a host hands keys
// to the key hook at once, and holds a key back until such events, which
// came before it, are delivered.
bool cpw_event_mousepending(pCpw cpw);
// Delivers an event at once, bypassing the queue and its filters.
void cpw_event_dispatchnow(pCpw cpw, int type, unsigned int id, int p1 = 0, int p2 = 0, int p3 = 0, int p4 = 0,
                           int p5 = 0);
// Whether events of the type are filtered out of the queue.
bool cpw_event_filtered(pCpw cpw, int type);

// ---- system fonts (cpw_fontpath_<platform>.cpp) ----------------------------------
// The file of a font of the system font folder: on Windows the Windows
// folder's "fonts"; on Linux what fontconfig knows (a file of that name in a
// font folder, else the metric twin of a well-known Windows font file).
bool cpw_platform_fontpath(pCpw cpw, const char* name, pStr* path);
// Separator between a folder and a file name.
const char* cpw_localhost_separator();
