// A toolkit context on the X display (Xvfb) with a second client that
// inspects the server and drives the pointer and keyboard through XTEST.
// GoogleTest before Xlib, whose macros (None, Bool, ...) would clash.
#pragma once

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "recorder.h"
#include "toolkit/cpw.h"
#include "toolkit/host/cpw_host.h"

class X11 : public ::testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    ASSERT_TRUE(cpwInitContext(&cpw)) << "no X display, error " << (cpw ? cpwGetLastError(cpw) : -1);
    for (int i = 0; i < 50 && !(other = XOpenDisplay(nullptr)); ++i)  // the server may be busy a moment
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_NE(other, nullptr);
  }
  void TearDown() override {
    cpwFreeContext(&cpw);
    if (other) XCloseDisplay(other);
  }

  void record_all() { record_all_callbacks(cpw); }

  // Runs loop turns until `done` holds or two seconds have passed.
  template <class Done>
  bool pump_until(Done done) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < end) {
      XSync(other, False);
      cpwMainLoopUpdate(cpw, 3);
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
  }

  // Runs loop turns for a while, for events that may or may not come.
  void pump_for(int ms) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
      XSync(other, False);
      cpwMainLoopUpdate(cpw, 3);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }

  bool seen(const std::string& call) {
    for (const std::string& c : calls)
      if (c == call) return true;
    return false;
  }

  Window xwindow(unsigned id) { return Window(cpw_window_lookup(cpw, id)->plhwc->hwnd); }

  // Client origin of a window on the root.
  void origin(unsigned id, int* x, int* y) {
    Window child;
    XTranslateCoordinates(other, xwindow(id), DefaultRootWindow(other), 0, 0, x, y, &child);
  }

  std::vector<unsigned long> motif_hints(Window w) {
    Atom type;
    int format;
    unsigned long n = 0, after;
    unsigned char* data = nullptr;
    std::vector<unsigned long> r;
    Atom hints = XInternAtom(other, "_MOTIF_WM_HINTS", False);
    if (XGetWindowProperty(other, w, hints, 0, 5, False, hints, &type, &format, &n, &after, &data) == Success && data) {
      for (unsigned long i = 0; i < n; ++i) r.push_back(reinterpret_cast<unsigned long*>(data)[i]);
      XFree(data);
    }
    return r;
  }

  pCpw cpw = nullptr;
  Display* other = nullptr;  // a second client: inspects, sends, drives XTEST
};

class X11Input : public X11 {
 protected:
  void SetUp() override {
    X11::SetUp();
    if (HasFatalFailure()) return;
    record_all();
    id = cpwCreateWindowEx(cpw, "Input", 100, 100, 200, 150);
    ASSERT_TRUE(pump_until([&] { return seen("visibility 1 2"); })) << "the new window did not get the focus";
    origin(id, &ox, &oy);
    // Taking the focus counts as the pointer entering; start with it outside.
    motion(50, 50);
    pump_for(30);
    motion(300, 300);
    ASSERT_TRUE(pump_until([&] { return seen("entry 1 1"); }));
    calls.clear();
  }
  void motion(int x, int y) { XTestFakeMotionEvent(other, -1, ox + x, oy + y, CurrentTime); }
  void button(unsigned b, bool down) { XTestFakeButtonEvent(other, b, down, CurrentTime); }
  void key(KeySym sym, bool down) { XTestFakeKeyEvent(other, XKeysymToKeycode(other, sym), down, CurrentTime); }

  unsigned id = 0;
  int ox = 0, oy = 0;
};

