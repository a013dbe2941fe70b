// The X11 host on a real display (Xvfb): windows and their hints, close
// requests, pointer, buttons, wheel and keys through the XTEST extension,
// and text drawn into a GLX window, read back pixel by pixel.
// GoogleTest before Xlib, whose macros (None, Bool, ...) would clash.
#include <gtest/gtest.h>

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "recorder.h"
#include "x11_fixture.h"
#include "toolkit/cpw.h"
#include "toolkit/cpw_gl.h"
#include "toolkit/host/cpw_host.h"

namespace {

// One unit one pixel, origin at the bottom-left of a W x H window.
void pixel_projection(int W, int H) {
  glViewport(0, 0, W, H);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, W, 0, H, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

TEST_F(X11, WindowsCarryTheirTitleSizeAndFrameAsWindowManagerHints) {
  record_all();
  cpwInitWindowProperty(cpw, CPW_WINDOWPROP_NODRESSING, 0, 0);
  cpwInitWindowProperty(cpw, CPW_WINDOWPROP_FIXEDFRAME, 0, 0);
  unsigned fixed = cpwCreateWindowEx(cpw, "Fixed form", 100, 100, 250, 180);
  ASSERT_EQ(fixed, 1u);
  cpwInitWindowProperty(cpw, CPW_WINDOWPROP_STANDARD, 0, 0);
  cpwInitWindowProperty(cpw, CPW_WINDOWPROP_THICKFRAME, 0, 0);
  unsigned standard = cpwCreateWindowEx(cpw, "Standard", 400, 100, 200, 100);
  ASSERT_EQ(standard, 2u);
  ASSERT_TRUE(pump_until([&] { return seen("display 2"); }));
  EXPECT_TRUE(seen("create 1 1"));
  EXPECT_TRUE(seen("reshape 1 250 180"));

  Window root;
  int x, y;
  unsigned w, h, border, depth;
  XGetGeometry(other, xwindow(fixed), &root, &x, &y, &w, &h, &border, &depth);
  EXPECT_EQ(w, 250u);
  EXPECT_EQ(h, 180u);
  char* name = nullptr;
  ASSERT_TRUE(XFetchName(other, xwindow(fixed), &name));
  EXPECT_STREQ(name, "Fixed form");
  XFree(name);
  Atom* protocols = nullptr;
  int count = 0;
  ASSERT_TRUE(XGetWMProtocols(other, xwindow(fixed), &protocols, &count));
  ASSERT_EQ(count, 1);
  EXPECT_EQ(protocols[0], XInternAtom(other, "WM_DELETE_WINDOW", False));
  XFree(protocols);

  // Caption only and fixed: no close function, no resizing, min = max size.
  std::vector<unsigned long> fh = motif_hints(xwindow(fixed)), sh = motif_hints(xwindow(standard));
  ASSERT_EQ(fh.size(), 5u);
  ASSERT_EQ(sh.size(), 5u);
  const unsigned long close = 32, resize = 2, title = 8;
  EXPECT_EQ(fh[1] & close, 0u);
  EXPECT_EQ(fh[1] & resize, 0u);
  EXPECT_NE(fh[2] & title, 0u);
  EXPECT_NE(sh[1] & close, 0u);
  EXPECT_NE(sh[1] & resize, 0u);
  XSizeHints size;
  long supplied;
  ASSERT_TRUE(XGetWMNormalHints(other, xwindow(fixed), &size, &supplied));
  EXPECT_TRUE(size.flags & PMinSize);
  EXPECT_TRUE(size.flags & USPosition);  // a window manager keeps the asked position
  EXPECT_EQ(size.x, 100);
  EXPECT_EQ(size.min_width, 250);
  EXPECT_EQ(size.max_height, 180);
  ASSERT_TRUE(XGetWMNormalHints(other, xwindow(standard), &size, &supplied));
  EXPECT_FALSE(size.flags & PMaxSize);

  // The default display mode: double-buffered RGBA with a depth buffer.
  cpwSetWindow(cpw, fixed);
  GLint doublebuffer = 0, depthbits = 0;
  glGetIntegerv(GL_DOUBLEBUFFER, &doublebuffer);
  glGetIntegerv(GL_DEPTH_BITS, &depthbits);
  EXPECT_TRUE(doublebuffer);
  EXPECT_GE(depthbits, 8);
  EXPECT_NE(glXGetCurrentContext(), nullptr);
  cpwSetWindow(cpw, standard);
  EXPECT_NE(glXGetCurrentContext(), cpw_window_lookup(cpw, fixed)->plhwc->glContext);  // one context per window
}

TEST_F(X11, ACloseRequestReachesTheCreateCallbackOrClosesTheWindow) {
  record_all();
  unsigned id = cpwCreateWindowEx(cpw, "Close me", 100, 100, 120, 80);
  ASSERT_TRUE(pump_until([&] { return seen("display 1"); }));
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = xwindow(id);
  ev.xclient.message_type = XInternAtom(other, "WM_PROTOCOLS", False);
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = long(XInternAtom(other, "WM_DELETE_WINDOW", False));
  XSendEvent(other, xwindow(id), False, NoEventMask, &ev);
  ASSERT_TRUE(pump_until([&] { return seen("create 1 0"); }));
  EXPECT_NE(cpw_window_lookup(cpw, id), nullptr);  // the callback decides

  // Without a create callback the window is destroyed, which ends the loop.
  cpwCreateCallback(cpw, nullptr);
  Window win = xwindow(id);
  XSendEvent(other, win, False, NoEventMask, &ev);
  XSync(other, False);
  cpwTimerCallback(cpw, 3000, 1, false, [](pCpw cpw, unsigned) {
    calls.push_back("timeout");
    cpwBreakMainLoop(cpw);
  });
  EXPECT_TRUE(cpwMainLoop(cpw));
  EXPECT_FALSE(seen("timeout"));
  EXPECT_EQ(cpw_window_lookup(cpw, id), nullptr);
  // Gone from the server, once it has read the request from the other connection.
  XWindowAttributes wa;
  EXPECT_TRUE(pump_until([&] { return !XGetWindowAttributes(other, win, &wa); }));
}

// Asks the window to close from a connection of its own after `ms`,
// unless `cancel` is set first.
std::thread close_later(Window win, int ms, const std::atomic<bool>& cancel) {
  return std::thread([win, ms, &cancel] {
    for (int waited = 0; waited < ms; waited += 10) {
      if (cancel) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d) return;
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = win;
    ev.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = long(XInternAtom(d, "WM_DELETE_WINDOW", False));
    XSendEvent(d, win, False, NoEventMask, &ev);
    XCloseDisplay(d);
  });
}

int loop_turns = 0;
std::chrono::steady_clock::time_point loop_start;
long timer_ms = -1;  // when the timer fired, from loop_start

// An idle loop waits on the connection: another client's event wakes it
// although its only timer is far off, and a timer ends the wait when due.
// Either way it runs a few turns, not one per millisecond.
TEST_F(X11, TheIdleLoopWakesForAnotherClientsEventAndForItsTimer) {
  record_all();
  unsigned id = cpwCreateWindowEx(cpw, "Idle", 100, 100, 120, 80);
  ASSERT_TRUE(pump_until([&] { return seen("display 1"); }));
  pump_for(100);
  cpwCreateCallback(cpw, [](pCpw cpw, unsigned id, unsigned flag) {
    on_create(cpw, id, flag);
    cpwBreakMainLoop(cpw);
  });
  cpwMainLoopCallback(cpw, [](pCpw, bool) { ++loop_turns; }, 1);
  auto timeout = [](pCpw cpw, unsigned) {
    calls.push_back("timeout");
    cpwBreakMainLoop(cpw);
  };

  std::atomic<bool> cancel{false};
  std::thread sender = close_later(xwindow(id), 300, cancel);
  cpwTimerCallback(cpw, 5000, 1, false, timeout);
  calls.clear();
  loop_turns = 0;
  EXPECT_TRUE(cpwMainLoop(cpw));
  sender.join();
  EXPECT_EQ(joined(), "create 1 0;");
  EXPECT_LT(loop_turns, 30);
  cpwKillTimer(cpw, 1);

  // Nothing else happens before the timer; the close comes too late.
  std::thread watchdog = close_later(xwindow(id), 3000, cancel);
  cpwTimerCallback(cpw, 200, 2, false, [](pCpw cpw, unsigned) {
    timer_ms = long(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                          loop_start).count());
    calls.push_back("timer");
    cpwBreakMainLoop(cpw);
  });
  calls.clear();
  loop_turns = 0;
  loop_start = std::chrono::steady_clock::now();
  EXPECT_TRUE(cpwMainLoop(cpw));
  cancel = true;
  watchdog.join();
  EXPECT_EQ(joined(), "timer;");
  EXPECT_GE(timer_ms, 200);
  EXPECT_LT(loop_turns, 30);
}

TEST_F(X11, ReshapeShowAndHideReachTheServer) {
  record_all();
  unsigned id = cpwCreateWindowEx(cpw, "Reshaped", 100, 100, 120, 80);
  ASSERT_TRUE(pump_until([&] { return seen("display 1"); }));
  calls.clear();
  cpwReshapeWindow(cpw, 150, 90, id);
  ASSERT_TRUE(pump_until([&] { return seen("reshape 1 150 90"); }));
  // The toolkit reports the new size at once; the server, read through
  // another connection, has it a moment later.
  Window root;
  int x, y;
  unsigned w = 0, h = 0, border, depth;
  EXPECT_TRUE(pump_until([&] {
    XGetGeometry(other, xwindow(id), &root, &x, &y, &w, &h, &border, &depth);
    return w == 150u && h == 90u;
  })) << w << "x" << h;
  EXPECT_TRUE(cpwHideWindow(cpw, id));
  ASSERT_TRUE(pump_until([&] { return seen("visibility 1 0"); }));
  XWindowAttributes wa;
  XGetWindowAttributes(other, xwindow(id), &wa);
  EXPECT_EQ(wa.map_state, IsUnmapped);
  EXPECT_FALSE(cpwShowWindow(cpw, id));
  ASSERT_TRUE(pump_until([&] { return seen("visibility 1 1"); }));
  XGetWindowAttributes(other, xwindow(id), &wa);
  EXPECT_EQ(wa.map_state, IsViewable);
}

std::vector<std::string> hooked;

bool record_hook(pCpw, const CpwKeyRecord* k) {
  char line[64];
  std::snprintf(line, sizeof line, "vk %02X scan %02X ext %u %s", k->vk, k->scancode, k->flags & CPW_KEYREC_EXTENDED,
                k->up ? "up" : "down");
  hooked.push_back(line);
  return k->vk == 'Q';  // consumes Q
}

TEST_F(X11Input, PointerButtonsAndTheWheelArriveInClientCoordinates) {
  motion(10, 20);
  ASSERT_TRUE(pump_until([&] { return seen("move 1 10 20"); }));
  EXPECT_TRUE(seen("entry 1 0"));
  button(1, true);
  motion(30, 40);
  motion(-5, -7);  // outside: the pointer stays with the window while held
  button(1, false);
  ASSERT_TRUE(pump_until([&] { return seen("click 1 1 0 -5 -7"); }));
  EXPECT_TRUE(seen("click 1 0 0 10 20"));
  EXPECT_TRUE(seen("drag 1 0 30 40"));
  EXPECT_TRUE(seen("drag 1 0 -5 -7"));
  motion(50, 60);
  button(4, true);
  button(4, false);
  button(5, true);
  button(5, false);
  button(3, true);
  button(3, false);
  ASSERT_TRUE(pump_until([&] { return seen("click 1 1 2 50 60"); }));
  EXPECT_TRUE(seen("click 1 2 1 1 0"));
  EXPECT_TRUE(seen("click 1 2 1 -1 0"));
  EXPECT_EQ(cpw->ctx_localhost->wheel, 0);
  motion(300, 300);
  ASSERT_TRUE(pump_until([&] { return seen("entry 1 1"); }));
}

TEST_F(X11Input, KeysBecomeToolkitKeysAndPassTheHookAsWindowsKeys) {
  motion(10, 10);
  pump_for(30);
  calls.clear();
  key(XK_a, true);
  key(XK_a, false);
  key(XK_Shift_L, true);
  key(XK_a, true);
  key(XK_a, false);
  key(XK_1, true);
  key(XK_1, false);
  key(XK_Shift_L, false);
  key(XK_F5, true);
  key(XK_F5, false);
  ASSERT_TRUE(pump_until([&] { return seen("skey 1 5 2"); }));
  EXPECT_TRUE(seen("key 1 a 1 10 10"));
  EXPECT_TRUE(seen("key 1 a 2 10 10"));
  EXPECT_TRUE(seen("key 1 A 1 10 10"));
  EXPECT_TRUE(seen("key 1 ! 1 10 10"));
  EXPECT_TRUE(seen("skey 1 24 1"));
  EXPECT_TRUE(seen("skey 1 5 1"));
  EXPECT_TRUE(cpw->keyboard_state[CPW_KEY_LSHIFT] == false);

  hooked.clear();
  calls.clear();
  ASSERT_TRUE(cpw_host(cpw).setkeyhook(cpw, record_hook));
  key(XK_q, true);
  key(XK_q, false);
  key(XK_Left, true);
  key(XK_Left, false);
  ASSERT_TRUE(pump_until([&] { return seen("skey 1 13 2"); }));
  EXPECT_EQ(hooked, (std::vector<std::string>{"vk 51 scan 10 ext 0 down", "vk 51 scan 10 ext 0 up",
                                              "vk 25 scan 4B ext 1 down", "vk 25 scan 4B ext 1 up"}));
  EXPECT_FALSE(seen("key 1 q 1 10 10"));  // consumed by the hook
  EXPECT_TRUE(seen("skey 1 13 1"));
  cpw_host(cpw).setkeyhook(cpw, nullptr);
}

// A click and the key typed right after it, all waiting on the connection
// at once: the hook sees the key only after the click was delivered (a
// selection made and typed over takes the typing in that order).
TEST_F(X11Input, AKeyAfterAClickReachesTheHookAfterTheClick) {
  motion(10, 10);
  pump_for(30);
  ASSERT_TRUE(cpw_host(cpw).setkeyhook(cpw, hook_in_calls));
  calls.clear();
  button(1, true);
  button(1, false);
  key(XK_x, true);
  key(XK_x, false);
  XSync(other, False);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // all four wait on the connection
  cpw_host(cpw).processevents(cpw, 20);  // one long pump, as when the queue lags behind
  ASSERT_TRUE(pump_until([&] { return seen("hook up"); }));
  cpw_host(cpw).setkeyhook(cpw, nullptr);
  auto first = [&](const std::string& prefix) {
    for (std::size_t i = 0; i < calls.size(); ++i)
      if (calls[i].rfind(prefix, 0) == 0) return i;
    return calls.size();
  };
  EXPECT_LT(first("click 1 1 0"), first("hook down")) << joined();
}

// Text drawn in red on white lands where the raster position says: every
// pixel of every glyph's box is the glyph blended over white, and nothing
// outside the boxes changes. The glyph's pixels carry the colour times the
// coverage, and the coverage as alpha.
// Two texts: a short one, and one whose glyphs fill more than one row of
// the texture they are drawn from. The caller's state is left as it was.
TEST_F(X11, TextIsDrawnAtTheRasterPositionWithBlendedEdges) {
  const int W = 1200, H = 90, size = 32;
  struct Line {
    std::string text;
    int x, y;
  };
  std::string wide;
  for (int i = 0; i < 24; ++i) wide += i < 12 ? "Wg" : "Mq";
  const Line lines[] = {{"Hg", 20, 55}, {wide, 10, 15}};
  unsigned id = cpwCreateWindowEx(cpw, "Text", 0, 100, W, H);
  ASSERT_NE(id, 0u);
  pump_for(100);
  CpwFontFace face = cpwLoadFont(cpw, "arial.ttf", CPW_FONTLOC_HOST, nullptr);
  ASSERT_NE(face, nullptr);
  ASSERT_TRUE(cpwSetWindow(cpw, id));
  pixel_projection(W, H);
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_BLEND);
  glEnable(GL_POLYGON_SMOOTH);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor3f(1, 0, 0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  cpwFontMode(cpw, CPW_FONTOPT_SIZE, size);
  cpwFontMode(cpw, CPW_FONTOPT_PIXELMAP_GLFORMAT, GL_RGBA);
  GLfloat projection[16], after[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  std::vector<int> coverage(std::size_t(W) * H, 0);
  FT_Set_Char_Size(face, 0, size * 64, 72, 72);
  for (const Line& line : lines) {
    glRasterPos2i(line.x, line.y);
    ASSERT_TRUE(cpwDrawFont(cpw, face, line.text.c_str(), CPW_DRAWFONT_PIXELS));
    GLfloat raster[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    // Expected coverage per pixel, from FreeType's own rendering of the glyphs.
    int pen = line.x;
    for (char c : line.text) {
      ASSERT_EQ(FT_Load_Char(face, FT_ULong(c), FT_LOAD_RENDER), 0);
      FT_GlyphSlot g = face->glyph;
      for (unsigned r = 0; r < g->bitmap.rows; ++r)
        for (unsigned col = 0; col < g->bitmap.width; ++col) {
          int x = pen + g->bitmap_left + int(col), y = line.y + g->bitmap_top - 1 - int(r);
          ASSERT_TRUE(x >= 0 && x < W && y >= 0 && y < H);
          coverage[std::size_t(y) * W + std::size_t(x)] = g->bitmap.buffer[r * unsigned(g->bitmap.pitch) + col];
        }
      pen += int(g->advance.x / 64);
    }
    // The pen stands behind the text.
    EXPECT_EQ(int(raster[0]), pen);
    EXPECT_EQ(int(raster[1]), line.y);
  }

  // The caller's pixel settings, enables, texture and matrices are back.
  GLint align = 0, texture = 0, mode = 0;
  GLfloat zoom = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &align);
  glGetFloatv(GL_ZOOM_Y, &zoom);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  glGetFloatv(GL_PROJECTION_MATRIX, after);
  EXPECT_EQ(align, 4);
  EXPECT_EQ(zoom, 1.0f);
  EXPECT_EQ(texture, 0);
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_TRUE(glIsEnabled(GL_POLYGON_SMOOTH));
  EXPECT_EQ(mode, GL_MODELVIEW);
  EXPECT_EQ(std::vector<GLfloat>(after, after + 16), std::vector<GLfloat>(projection, projection + 16));
  glDisable(GL_POLYGON_SMOOTH);

  std::vector<unsigned char> pixels(std::size_t(W) * H * 3);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, W, H, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  auto at = [&](int x, int y) { return &pixels[(std::size_t(y) * W + std::size_t(x)) * 3]; };

  int full = 0, edge = 0, wrong = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      int cov = coverage[std::size_t(y) * W + std::size_t(x)];
      const unsigned char* p = at(x, y);
      double a = cov / 255.0;
      int red = int(255 * (a * a + (1 - a)) + 0.5), rest = int(255 * (1 - a) + 0.5);
      bool ok = std::abs(int(p[0]) - red) <= 2 && std::abs(int(p[1]) - rest) <= 2 && std::abs(int(p[2]) - rest) <= 2;
      if (!ok && ++wrong <= 5)
        ADD_FAILURE() << "pixel " << x << "," << y << " is " << int(p[0]) << "," << int(p[1]) << "," << int(p[2])
                      << " for coverage " << cov;
      if (cov == 255) ++full;
      if (cov > 30 && cov < 225) ++edge;
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(full, 50);  // solid strokes
  EXPECT_GT(edge, 20);  // and blended edges
}

// A bitmap font gives 1-bit glyphs (so do the small-size strikes of some
// TrueType faces): every bit is drawn as full or no coverage, reading each
// row within its own bytes.
TEST_F(X11, OneBitGlyphsAreDrawnBitForBit) {
  const int W = 40, H = 30, px = 10, py = 12;
  const unsigned rows[12] = {0xFFC0, 0x8040, 0xA040, 0x9040, 0x8840, 0x8440,
                             0x8240, 0x8140, 0x80C0, 0xFFC0, 0x0000, 0x5540};
  std::string folder = std::getenv("VANTYR_BINARY_DIR") ? std::getenv("VANTYR_BINARY_DIR") : ".";
  {
    std::ofstream bdf(folder + "/vantyr_test_1bit.bdf");
    bdf << "STARTFONT 2.1\nFONT -vantyr-test-medium-r-normal--12-120-72-72-c-100-iso10646-1\nSIZE 12 72 72\n"
           "FONTBOUNDINGBOX 10 12 0 -2\nSTARTPROPERTIES 5\nPIXEL_SIZE 12\nFONT_ASCENT 10\nFONT_DESCENT 2\n"
           "CHARSET_REGISTRY \"ISO10646\"\nCHARSET_ENCODING \"1\"\nENDPROPERTIES\nCHARS 1\nSTARTCHAR A\n"
           "ENCODING 65\nSWIDTH 833 0\nDWIDTH 10 0\nBBX 10 12 0 -2\nBITMAP\n";
    char hex[8];
    for (unsigned r : rows) {
      std::snprintf(hex, sizeof hex, "%04X\n", r);
      bdf << hex;
    }
    bdf << "ENDCHAR\nENDFONT\n";
  }
  unsigned id = cpwCreateWindowEx(cpw, "Bitmap font", 100, 100, W, H);
  ASSERT_NE(id, 0u);
  pump_for(100);
  CpwFontFace face = cpwLoadFont(cpw, "vantyr_test_1bit.bdf", CPW_FONTLOC_RELATIVE, folder.c_str());
  ASSERT_NE(face, nullptr);
  ASSERT_TRUE(cpwSetWindow(cpw, id));
  pixel_projection(W, H);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  cpwFontMode(cpw, CPW_FONTOPT_SIZE, 12);  // the font's one size; coverage written as luminance
  glRasterPos2i(px, py);
  ASSERT_TRUE(cpwDrawFont(cpw, face, "A", CPW_DRAWFONT_PIXELS));

  std::vector<unsigned char> pixels(std::size_t(W) * H * 3);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, W, H, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  int wrong = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      int col = x - px, row = py + 10 - 1 - y;  // the glyph's top is 10 above the baseline
      bool set = col >= 0 && col < 10 && row >= 0 && row < 12 && (rows[row] >> (15 - col)) & 1;
      int value = pixels[(std::size_t(y) * W + std::size_t(x)) * 3];
      if (value != (set ? 255 : 0) && ++wrong <= 5)
        ADD_FAILURE() << "pixel " << x << "," << y << " is " << value << ", bit " << set;
    }
  EXPECT_EQ(wrong, 0);
  std::remove((folder + "/vantyr_test_1bit.bdf").c_str());
}

}  // namespace
