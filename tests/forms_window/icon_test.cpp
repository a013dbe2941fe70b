// The form window's platform steps on X11 under Xvfb: the program's icon as
// _NET_WM_ICON, read back by a second client, and the window raised.
// GoogleTest before Xlib, whose macros (None, Bool, ...) would clash.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "forms_window/window_platform.h"
#include "tests/support/temp_tree.h"
#include "toolkit/cpw.h"
#include "toolkit/host/cpw_host.h"

namespace {

using test_support::InFolder;
using test_support::read_lines;
using test_support::TempDir;

class WindowPlatform : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(cpwInitContext(&cpw)) << "no X display, error " << (cpw ? cpwGetLastError(cpw) : -1);
    for (int i = 0; i < 50 && !(other = XOpenDisplay(nullptr)); ++i)  // the server may be busy a moment
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_NE(other, nullptr);
  }
  void TearDown() override {
    cpwFreeContext(&cpw);
    if (other) XCloseDisplay(other);
  }

  std::uintptr_t handle(unsigned id) { return cpw_window_lookup(cpw, id)->plhwc->hwnd; }
  // Lets the server finish the toolkit's requests before the other client looks.
  void settle(unsigned id) { XSync(static_cast<Display*>(cpw_window_lookup(cpw, id)->plhwc->hdc), False); }

  // The top of the root window's stack.
  Window top_window() {
    Window root, parent, *children = nullptr, top = 0;
    unsigned n = 0;
    if (XQueryTree(other, DefaultRootWindow(other), &root, &parent, &children, &n) && children) {
      if (n) top = children[n - 1];
      XFree(children);
    }
    return top;
  }

  // The window's _NET_WM_ICON as the other client reads it (empty if none).
  std::vector<unsigned long> icon_of(std::uintptr_t w) {
    Atom type;
    int format;
    unsigned long n = 0, after;
    unsigned char* data = nullptr;
    std::vector<unsigned long> r;
    Atom icon = XInternAtom(other, "_NET_WM_ICON", False);
    if (XGetWindowProperty(other, Window(w), icon, 0, LONG_MAX / 4, False, XA_CARDINAL, &type, &format, &n, &after,
                           &data) == Success &&
        data) {
      if (format == 32)  // Xlib hands format-32 items over as longs
        for (unsigned long i = 0; i < n; ++i) r.push_back(reinterpret_cast<unsigned long*>(data)[i] & 0xffffffffu);
      XFree(data);
    }
    return r;
  }

  pCpw cpw = nullptr;
  Display* other = nullptr;  // a second client, as a window manager or panel
};

TEST_F(WindowPlatform, WindowGetsTheIconInThreeSizesAndIsRaised) {
  unsigned form = cpwCreateWindowEx(cpw, "Form", 100, 100, 200, 150);
  ASSERT_NE(form, 0u);
  // A later window over it, which the start must bring the form above.
  unsigned cover = cpwCreateWindowEx(cpw, "Cover", 120, 120, 200, 150);
  ASSERT_NE(cover, 0u);

  settle(cover);
  ASSERT_EQ(top_window(), Window(handle(cover)));

  frm_window_platform_start(cpw, form, handle(form), 1);
  settle(form);

  std::vector<unsigned long> icon = icon_of(handle(form));
  ASSERT_EQ(icon.size(), (2u + 16 * 16) + (2 + 32 * 32) + (2 + 48 * 48));
  std::vector<std::vector<unsigned long>> images;
  std::size_t at = 0;
  for (unsigned long size : {16ul, 32ul, 48ul}) {
    ASSERT_EQ(icon[at], size);
    ASSERT_EQ(icon[at + 1], size);
    images.emplace_back(icon.begin() + long(at + 2), icon.begin() + long(at + 2 + size * size));
    at += 2 + size * size;
    int opaque = 0, clear = 0;
    for (unsigned long p : images.back()) {
      opaque += (p >> 24) == 0xff;
      clear += (p >> 24) == 0;
    }
    EXPECT_GT(opaque, 0) << size << " px";
    EXPECT_GT(clear, 0) << size << " px";
  }

  // The 16 px image is the same drawing as the 32 px one halved, rendered at
  // its own size: its coverage follows the 32 px one's 2x2 blocks, though not
  // pixel for pixel.
  const std::vector<unsigned long>& i16 = images[0];
  const std::vector<unsigned long>& i32 = images[1];
  int far = 0, same = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      auto alpha = [&](int xx, int yy) { return int(i32[std::size_t(yy * 32 + xx)] >> 24); };
      int block = (alpha(2 * x, 2 * y) + alpha(2 * x + 1, 2 * y) + alpha(2 * x, 2 * y + 1) + alpha(2 * x + 1, 2 * y + 1)) / 4;
      unsigned long p = i16[std::size_t(y * 16 + x)];
      far += std::abs(int(p >> 24) - block) > 96;
      same += p == i32[std::size_t(2 * y * 32 + 2 * x)];
    }
  EXPECT_LT(far, 16 * 16 / 10);
  EXPECT_LT(same, 16 * 16);

  // Raised: the form is the top of the stack, and it has the focus.
  EXPECT_EQ(top_window(), Window(handle(form)));
  Window focus;
  int revert;
  XGetInputFocus(other, &focus, &revert);
  EXPECT_EQ(focus, Window(handle(form)));
}

TEST_F(WindowPlatform, HandleThatIsNotTheWindowsSetsNothingAndIsLogged) {
  TempDir dir;
  InFolder in(dir.path());
  unsigned form = cpwCreateWindowEx(cpw, "Form", 100, 100, 200, 150);
  ASSERT_NE(form, 0u);
  unsigned cover = cpwCreateWindowEx(cpw, "Cover", 120, 120, 200, 150);
  ASSERT_NE(cover, 0u);

  frm_window_platform_start(cpw, form, 0, 0);
  frm_window_platform_start(cpw, form, handle(cover), 0);
  frm_window_platform_start(cpw, 99, handle(form), 0);
  settle(form);

  EXPECT_TRUE(icon_of(handle(form)).empty());
  EXPECT_TRUE(icon_of(handle(cover)).empty());
  int warnings = 0;
  for (const std::string& line : read_lines(dir.path() / "Logfile.txt"))
    warnings += line.rfind("The form window", 0) == 0;
  EXPECT_EQ(warnings, 3);
}

}  // namespace
