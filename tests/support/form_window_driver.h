// Driving a program's form window on a real X display (Linux), as a user
// would: the program runs as a child process, its window is found by its
// title, the pointer is moved and its buttons pressed with xdotool, and the
// window's pixels are read back. Every wait has a time limit; a child that
// outlives its test is killed.
//
// Positions are form coordinates: origin at the bottom-left of the client
// area, y upwards, as the form's definition and layout give them.
//
// The header names no X11 type, so it can be included anywhere (Xlib's
// macros clash with GoogleTest).
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

struct _XDisplay;

namespace display_test {

namespace fs = std::filesystem;

struct Rgb {
  int r = 0, g = 0, b = 0;
};

inline bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// Each component within `tolerance` of the other's.
bool near(Rgb a, Rgb b, int tolerance = 6);
// A grey level 0..1 as the window draws it (components rounded to 0..255).
Rgb grey(double level);
Rgb rgb(double r, double g, double b);
std::string describe(Rgb c);

// A snapshot of a window's pixels.
class Pixels {
 public:
  Pixels() = default;
  Pixels(int width, int height, std::vector<Rgb> rows) : w_(width), h_(height), px_(std::move(rows)) {}
  bool empty() const { return px_.empty(); }
  int width() const { return w_; }
  int height() const { return h_; }
  // The pixel that covers the unit square from form point (x, y); black
  // outside the window.
  Rgb at(int x, int y) const;
  // How many pixels differ from those of `other` (all of them when the sizes differ).
  int differences(const Pixels& other) const;
  // How many pixels with x1 <= x < x2 and y1 <= y < y2 satisfy `pred`.
  int count(int x1, int y1, int x2, int y2, const std::function<bool(Rgb)>& pred) const;

 private:
  int w_ = 0, h_ = 0;
  std::vector<Rgb> px_;  // top row first, as the window holds them
};

struct ChildOptions {
  std::vector<std::string> args;  // args[0]: the program's path
  // Changes to the inherited environment: "NAME=value" sets, "NAME" unsets.
  std::vector<std::string> env;
  fs::path dir;       // working folder; empty: this process's
  fs::path out, err;  // standard output and error go to these files
};

// A program started as a child process, in a process group of its own.
class Child {
 public:
  Child() = default;
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child();  // kills it when it still runs

  // Starts it; false, with the reason in `why`, when it cannot be started.
  bool start(const ChildOptions& options, std::string* why = nullptr);
  bool running();
  // Waits up to `seconds` for its end and gives its exit status (128 +
  // signal when killed by one). When it does not end in time it is killed
  // and the result is false.
  bool wait(double seconds, int* status = nullptr);
  void kill();
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  int status_ = -1;
};

// A program's top-level window on the display named by DISPLAY.
class FormWindow {
 public:
  FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;
  ~FormWindow();

  bool connected() const { return dpy_ != nullptr; }
  // Waits up to `seconds` for a viewable window titled `title`; gives up
  // early when `alive` says the program has ended. Reads its place and size.
  bool find(const std::string& title, double seconds, const std::function<bool()>& alive = {});
  unsigned long id() const { return win_; }
  int width() const { return w_; }
  int height() const { return h_; }
  // Place and size read again (after the window was reshaped).
  bool update();
  // Whether the window still exists and is viewable.
  bool viewable() const;

  // Screen position of a form point.
  int screen_x(int x) const { return ox_ + x; }
  int screen_y(int y) const { return oy_ + h_ - y; }

  // The pointer, through xdotool. Each is false when xdotool failed.
  // Buttons: 1 left, 2 middle, 3 right.
  bool move(int x, int y) const;
  bool press(int button, int x, int y) const;    // moves there first
  bool release(int button, int x, int y) const;  // moves there first
  bool click(int x, int y, int button = 1) const;
  bool drag(int button, int x0, int y0, int x1, int y1) const;
  // Wheel notches over a point: positive turned away from the user.
  bool wheel(int notches, int x, int y) const;
  // To the screen's bottom-right corner, away from any form window.
  bool move_out() const;

  // Keys through xdotool, to the window with the keyboard focus, named as
  // xdotool names them ("a", "shift+a", "F5", "ctrl+c"), separated by blanks.
  bool key(const std::string& keys) const;
  bool key_down(const std::string& key) const;
  bool key_up(const std::string& key) const;
  // Types a text key by key, slowly enough for each key to be seen apart.
  bool type(const std::string& text) const;

  // The window's pixels now (empty when they cannot be read).
  Pixels grab() const;
  // Grabs until `cond` holds or `seconds` pass; the last grab in `last`.
  // False at once when the window is gone.
  bool wait_for(const std::function<bool(const Pixels&)>& cond, double seconds, Pixels* last = nullptr) const;
  // Grabs until the pixels stay the same for `quiet_ms` (the window has
  // drawn what it was asked to) or `seconds` pass; the last grab in `last`.
  bool wait_settled(double seconds, int quiet_ms = 60, Pixels* last = nullptr) const;
  // The window as a PNG file, through ImageMagick's import.
  bool save_png(const fs::path& file) const;
  // Asks it to close, as a window manager's close box does.
  bool send_close() const;
  // Its _MOTIF_WM_HINTS (flags, functions, decorations, input mode,
  // status); empty when it has none.
  std::vector<unsigned long> motif_hints() const;

 private:
  bool xdotool(const std::string& args) const;

  _XDisplay* dpy_ = nullptr;
  unsigned long win_ = 0;
  int ox_ = 0, oy_ = 0, w_ = 0, h_ = 0;
  int screen_w_ = 0, screen_h_ = 0;
};

// Runs a shell command under `timeout`; true when it ended with status 0.
bool run_bounded(const std::string& command, double seconds);

// A whole file as text (empty when it cannot be read).
std::string read_file(const fs::path& file);

// Polls `cond` every few milliseconds until it holds or `seconds` pass.
template <class Cond>
bool poll_until(Cond cond, double seconds) {
  auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    if (cond()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace display_test
