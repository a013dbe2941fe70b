// The null host: no display. It records what the toolkit asks of it, one
// line per operation, and lets a test post native messages that the main
// loop's pump hands to the window procedure. Its clock is virtual: it
// advances only when the toolkit sleeps or a test moves it on.
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
  CPW_NULL_KEY,          // a: virtual key, b: 1 down 0 up, c, d: x, y; shift, capslock
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
// "swapbuffers"); applies to the next context as well for "init".
void cpw_null_failnext(const char* operation);
// Screen size reported by contexts initialised afterwards.
void cpw_null_setscreen(unsigned int width, unsigned int height);
