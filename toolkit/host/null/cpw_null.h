// The null host: no display. It records what the toolkit asks of it, one
// line per operation, and lets a test post native messages that the main
// loop's pump hands to the window procedure. Its clock is virtual: it
// advances only when the idle main loop waits for its next timer (the clock
// jumps to it) or a test moves it on.
#pragma once

#include <string>

#include "toolkit/cpw.h"

enum CpwNullMessageKind {
  CPW_NULL_MOVE,         // a, b: outer left, top
  CPW_NULL_SIZE,         // a: kind (CPW_SIZE_...), b, c: client width, height
  CPW_NULL_SETFOCUS,
  CPW_NULL_KILLFOCUS,
  CPW_NULL_PAINT,
  CPW_NULL_CLOSE,
  CPW_NULL_SHOWWINDOW,   // a: 1 shown, 0 hidden
  CPW_NULL_SETCURSOR,    // a: 1 pointer over the client area, 0 elsewhere
  CPW_NULL_DISPLAYCHANGE,  // a, b: screen width, height
  // a: virtual key, b: 1 down 0 up, c, d: x, y; shift, capslock as the
  // toolkit key event sees them. With a key hook installed the key goes to
  // it first as a US keyboard's low-level record (scan code by virtual key;
  // the generic Shift, Ctrl and Alt keys as their left side), the key state
  // updated for it (capslock is the Caps Lock toggle, as X's modifier
  // state, except on the Caps Lock key's own messages, whose press flips
  // it); the toolkit key event follows unless the hook consumes it.
  CPW_NULL_KEY,
  CPW_NULL_MOUSEMOVE,    // a: key-state flags (CPW_MK_...), c, d: x, y
  CPW_NULL_BUTTON,       // a: button 0..2, b: 1 down 0 up, c, d: x, y
  CPW_NULL_WHEEL,        // a: wheel delta (120 per notch), c, d: x, y
  CPW_NULL_QUIT,         // the quit message: the main loop stops
};

struct CpwNullMessage {
  CpwNullMessageKind kind;
  unsigned int id;  // window
  int a, b, c, d;
  bool shift, capslock;
};

// Queues a native message for the pump.
void cpw_null_post(pCpw cpw, const CpwNullMessage& m);
// Native messages still waiting.
int cpw_null_pending(pCpw cpw);
// What the toolkit asked, one line per operation ("create 1 ...").
std::string cpw_null_log(pCpw cpw);
void cpw_null_clearlog(pCpw cpw);
// Moves the virtual clock on (milliseconds).
void cpw_null_advance(pCpw cpw, double milliseconds);
double cpw_null_clock(pCpw cpw);
// Makes the next call of the named operation fail as a host would ("init",
// "createwindow", "setpixelformat", "createglcontext", "makecurrent",
// "swapbuffers", "setclipboard", "getclipboard"); applies to the next
// context as well for "init".
void cpw_null_failnext(const char* operation);
// Screen size reported by contexts initialised afterwards.
void cpw_null_setscreen(unsigned int width, unsigned int height);
// The clipboard, as another program would set and read it (process-wide,
// like the system's): null leaves it without text.
void cpw_null_setclipboard(const char* text);
// Whether it holds text, and the text.
bool cpw_null_getclipboard(std::string* text);
