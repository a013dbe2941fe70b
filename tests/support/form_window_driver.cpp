// Child processes, window lookup, pointer and pixels for the display tests.
#include "tests/support/form_window_driver.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

extern char** environ;

namespace display_test {

namespace {

// A window that went away between two requests is no reason to end the test
// process: X errors are left to the results (a failed XGetImage is null).
int ignore_x_errors(Display*, XErrorEvent*) { return 0; }

Display* open_display() {
  XSetErrorHandler(ignore_x_errors);
  for (int i = 0; i < 50; ++i) {  // a busy server may turn a connection away for a moment
    if (Display* d = XOpenDisplay(nullptr)) return d;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return nullptr;
}

Window find_titled(Display* dpy, Window w, const std::string& title) {
  char* name = nullptr;
  if (XFetchName(dpy, w, &name) && name) {
    bool same = title == name;
    XFree(name);
    XWindowAttributes wa;
    if (same && XGetWindowAttributes(dpy, w, &wa) && wa.map_state == IsViewable) return w;
  }
  Window root, parent, *children = nullptr;
  unsigned n = 0;
  Window found = 0;
  if (XQueryTree(dpy, w, &root, &parent, &children, &n)) {
    // The top of the stack first: the newest window of that title.
    for (unsigned i = n; i-- > 0 && !found;) found = find_titled(dpy, children[i], title);
    if (children) XFree(children);
  }
  return found;
}

// A component of an XImage pixel, by its mask, scaled to 0..255.
int component(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  unsigned long max = mask >> shift;
  return static_cast<int>(((pixel & mask) >> shift) * 255 / max);
}

std::string quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace

bool near(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

Rgb rgb(double r, double g, double b) {
  auto c = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
  return {c(r), c(g), c(b)};
}

Rgb grey(double level) { return rgb(level, level, level); }

std::string describe(Rgb c) {
  return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

Rgb Pixels::at(int x, int y) const {
  int row = h_ - 1 - y;
  if (x < 0 || x >= w_ || row < 0 || row >= h_) return {};
  return px_[static_cast<std::size_t>(row) * static_cast<std::size_t>(w_) + static_cast<std::size_t>(x)];
}

int Pixels::differences(const Pixels& other) const {
  if (w_ != other.w_ || h_ != other.h_) return static_cast<int>(std::max(px_.size(), other.px_.size()));
  int n = 0;
  for (std::size_t i = 0; i < px_.size(); ++i)
    if (!(px_[i] == other.px_[i])) ++n;
  return n;
}

int Pixels::count(int x1, int y1, int x2, int y2, const std::function<bool(Rgb)>& pred) const {
  int n = 0;
  for (int y = y1; y < y2; ++y)
    for (int x = x1; x < x2; ++x)
      if (pred(at(x, y))) ++n;
  return n;
}

// ---- child processes ----

Child::~Child() { kill(); }

bool Child::start(const ChildOptions& o, std::string* why) {
  auto fail = [&](const std::string& reason) {
    if (why) *why = reason;
    return false;
  };
  if (pid_ > 0) return fail("a child is already running");
  if (o.args.empty()) return fail("no program named");

  // Everything the child needs is made before the fork.
  std::map<std::string, std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string s(*e);
    std::size_t eq = s.find('=');
    if (eq != std::string::npos) env[s.substr(0, eq)] = s.substr(eq + 1);
  }
  for (const std::string& change : o.env) {
    std::size_t eq = change.find('=');
    if (eq == std::string::npos) env.erase(change);
    else env[change.substr(0, eq)] = change.substr(eq + 1);
  }
  std::vector<std::string> env_text;
  for (const auto& [k, v] : env) env_text.push_back(k + "=" + v);
  std::vector<char*> envp, argv;
  for (std::string& s : env_text) envp.push_back(s.data());
  envp.push_back(nullptr);
  std::vector<std::string> args = o.args;
  for (std::string& s : args) argv.push_back(s.data());
  argv.push_back(nullptr);
  std::string dir = o.dir.string(), out = o.out.string(), err = o.err.string();

  // The child reports a failed exec through this pipe; a successful one closes it.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return fail(std::string("pipe: ") + std::strerror(errno));
  std::fflush(nullptr);
  pid_t pid = fork();
  if (pid < 0) {
    close(report[0]);
    close(report[1]);
    return fail(std::string("fork: ") + std::strerror(errno));
  }
  if (pid == 0) {
    setpgid(0, 0);
    int in = open("/dev/null", O_RDONLY);
    int fo = out.empty() ? open("/dev/null", O_WRONLY) : open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int fe = err.empty() ? open("/dev/null", O_WRONLY) : open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int step = 1;
    if (in >= 0 && fo >= 0 && fe >= 0 && dup2(in, 0) >= 0 && dup2(fo, 1) >= 0 && dup2(fe, 2) >= 0 &&
        (step = 2, dir.empty() || chdir(dir.c_str()) == 0)) {
      step = 3;
      execve(argv[0], argv.data(), envp.data());
    }
    int code[2] = {step, errno};
    ssize_t ignored = write(report[1], code, sizeof code);
    (void)ignored;
    _exit(127);
  }
  setpgid(pid, pid);  // also here, so that the group exists before a kill
  close(report[1]);
  int code[2] = {0, 0};
  ssize_t n;
  while ((n = read(report[0], code, sizeof code)) < 0 && errno == EINTR) {
  }
  close(report[0]);
  pid_ = pid;
  status_ = -1;
  if (n > 0) {
    wait(5);
    const char* what = code[0] == 1 ? "redirection" : code[0] == 2 ? "working folder" : "exec";
    return fail(std::string(what) + " of " + o.args[0] + ": " + std::strerror(code[1]));
  }
  return true;
}

bool Child::running() {
  if (pid_ <= 0) return false;
  int st = 0;
  pid_t r = waitpid(pid_, &st, WNOHANG);
  if (r == 0) return true;
  if (r == pid_) status_ = WIFEXITED(st) ? WEXITSTATUS(st) : WIFSIGNALED(st) ? 128 + WTERMSIG(st) : -1;
  pid_ = -1;
  return false;
}

bool Child::wait(double seconds, int* status) {
  bool ended = poll_until([&] { return !running(); }, seconds);
  if (!ended) kill();
  if (status) *status = ended ? status_ : -1;
  return ended;
}

void Child::kill() {
  if (pid_ <= 0) return;
  ::kill(-pid_, SIGKILL);  // its process group: the child and what it started
  ::kill(pid_, SIGKILL);
  int st = 0;
  while (waitpid(pid_, &st, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
}

// ---- the window ----

FormWindow::FormWindow() {
  dpy_ = open_display();
  if (dpy_) {
    screen_w_ = DisplayWidth(dpy_, DefaultScreen(dpy_));
    screen_h_ = DisplayHeight(dpy_, DefaultScreen(dpy_));
  }
}

FormWindow::~FormWindow() {
  if (dpy_) XCloseDisplay(dpy_);
}

bool FormWindow::find(const std::string& title, double seconds, const std::function<bool()>& alive) {
  win_ = 0;
  if (!dpy_) return false;
  bool found = poll_until(
      [&] {
        win_ = find_titled(dpy_, DefaultRootWindow(dpy_), title);
        return win_ != 0 || (alive && !alive());
      },
      seconds);
  return found && win_ != 0 && update();
}

bool FormWindow::update() {
  if (!dpy_ || !win_) return false;
  XWindowAttributes wa;
  if (!XGetWindowAttributes(dpy_, win_, &wa)) return false;
  Window child;
  if (!XTranslateCoordinates(dpy_, win_, DefaultRootWindow(dpy_), 0, 0, &ox_, &oy_, &child)) return false;
  w_ = wa.width;
  h_ = wa.height;
  return true;
}

bool FormWindow::viewable() const {
  if (!dpy_ || !win_) return false;
  XWindowAttributes wa;
  return XGetWindowAttributes(dpy_, win_, &wa) && wa.map_state == IsViewable;
}

bool FormWindow::xdotool(const std::string& args) const { return run_bounded("xdotool " + args, 5); }

bool FormWindow::move(int x, int y) const {
  return xdotool("mousemove " + std::to_string(screen_x(x)) + " " + std::to_string(screen_y(y)));
}

bool FormWindow::press(int button, int x, int y) const {
  return xdotool("mousemove " + std::to_string(screen_x(x)) + " " + std::to_string(screen_y(y)) + " mousedown " +
                 std::to_string(button));
}

bool FormWindow::release(int button, int x, int y) const {
  return xdotool("mousemove " + std::to_string(screen_x(x)) + " " + std::to_string(screen_y(y)) + " mouseup " +
                 std::to_string(button));
}

bool FormWindow::click(int x, int y, int button) const {
  return xdotool("mousemove " + std::to_string(screen_x(x)) + " " + std::to_string(screen_y(y)) + " click " +
                 std::to_string(button));
}

bool FormWindow::drag(int button, int x0, int y0, int x1, int y1) const {
  std::string b = std::to_string(button);
  // A step between the ends, so that the program sees the pointer move while held.
  int mx = (x0 + x1) / 2, my = (y0 + y1) / 2;
  return xdotool("mousemove " + std::to_string(screen_x(x0)) + " " + std::to_string(screen_y(y0)) + " mousedown " + b +
                 " mousemove " + std::to_string(screen_x(mx)) + " " + std::to_string(screen_y(my)) + " mousemove " +
                 std::to_string(screen_x(x1)) + " " + std::to_string(screen_y(y1)) + " mouseup " + b);
}

bool FormWindow::wheel(int notches, int x, int y) const {
  if (notches == 0) return move(x, y);
  std::string button = notches > 0 ? "4" : "5";
  return xdotool("mousemove " + std::to_string(screen_x(x)) + " " + std::to_string(screen_y(y)) +
                 " click --repeat " + std::to_string(std::abs(notches)) + " --delay 5 " + button);
}

bool FormWindow::key(const std::string& keys) const { return xdotool("key --delay 20 " + keys); }
bool FormWindow::key_down(const std::string& key) const { return xdotool("keydown " + key); }
bool FormWindow::key_up(const std::string& key) const { return xdotool("keyup " + key); }
bool FormWindow::type(const std::string& text) const {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return xdotool("type --delay 20 " + quoted + "'");
}

bool FormWindow::move_out() const {
  return xdotool("mousemove " + std::to_string(std::max(screen_w_ - 1, 0)) + " " +
                 std::to_string(std::max(screen_h_ - 1, 0)));
}

Pixels FormWindow::grab() const {
  if (!dpy_ || !win_ || w_ <= 0 || h_ <= 0) return {};
  XImage* img = XGetImage(dpy_, win_, 0, 0, static_cast<unsigned>(w_), static_cast<unsigned>(h_), AllPlanes, ZPixmap);
  if (!img) return {};
  std::vector<Rgb> px(static_cast<std::size_t>(w_) * static_cast<std::size_t>(h_));
  for (int row = 0; row < h_; ++row)
    for (int x = 0; x < w_; ++x) {
      unsigned long p = XGetPixel(img, x, row);
      px[static_cast<std::size_t>(row) * static_cast<std::size_t>(w_) + static_cast<std::size_t>(x)] = {
          component(p, img->red_mask), component(p, img->green_mask), component(p, img->blue_mask)};
    }
  XDestroyImage(img);
  return Pixels(w_, h_, std::move(px));
}

bool FormWindow::wait_for(const std::function<bool(const Pixels&)>& cond, double seconds, Pixels* last) const {
  Pixels p;
  bool gone = false;  // a window that went away shows nothing more
  bool ok = poll_until(
      [&] {
        p = grab();
        if (p.empty()) return gone = !viewable();
        return cond(p);
      },
      seconds);
  if (last) *last = std::move(p);
  return ok && !gone;
}

bool FormWindow::wait_settled(double seconds, int quiet_ms, Pixels* last) const {
  Pixels before = grab();
  auto since = std::chrono::steady_clock::now();
  bool ok = poll_until(
      [&] {
        Pixels now = grab();
        auto t = std::chrono::steady_clock::now();
        if (now.empty() || now.differences(before) != 0) {
          before = std::move(now);
          since = t;
          return false;
        }
        return t - since >= std::chrono::milliseconds(quiet_ms);
      },
      seconds);
  if (last) *last = std::move(before);
  return ok;
}

bool FormWindow::save_png(const fs::path& file) const {
  if (!viewable()) return false;  // import would wait for a window that is not there
  char id[32];
  std::snprintf(id, sizeof id, "0x%lx", win_);
  return run_bounded(std::string("import -window ") + id + " " + quote(file.string()), 10);
}

bool FormWindow::send_close() const {
  if (!dpy_ || !win_) return false;
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = win_;
  ev.xclient.message_type = XInternAtom(dpy_, "WM_PROTOCOLS", False);
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy_, "WM_DELETE_WINDOW", False));
  ev.xclient.data.l[1] = CurrentTime;
  Status sent = XSendEvent(dpy_, win_, False, NoEventMask, &ev);
  XSync(dpy_, False);
  return sent != 0;
}

std::vector<unsigned long> FormWindow::motif_hints() const {
  std::vector<unsigned long> r;
  if (!dpy_ || !win_) return r;
  Atom hints = XInternAtom(dpy_, "_MOTIF_WM_HINTS", False);
  Atom type;
  int format;
  unsigned long n = 0, after;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(dpy_, win_, hints, 0, 5, False, hints, &type, &format, &n, &after, &data) == Success && data) {
    for (unsigned long i = 0; i < n; ++i) r.push_back(reinterpret_cast<unsigned long*>(data)[i]);
    XFree(data);
  }
  return r;
}

// ---- helpers ----

bool run_bounded(const std::string& command, double seconds) {
  char limit[32];
  std::snprintf(limit, sizeof limit, "%.1f", seconds);
  std::string line = std::string("timeout -k 2 ") + limit + " " + command + " >/dev/null 2>&1";
  return std::system(line.c_str()) == 0;
}

std::string read_file(const fs::path& file) {
  std::ifstream f(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

}  // namespace display_test
