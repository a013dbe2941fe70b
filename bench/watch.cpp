// Starts a program and watches its window from outside, on the X server:
// when the window is mapped, when its image first shows what it settles on
// (its content, not a blank fill or a half-drawn frame), the program's peak
// resident size then, its processor time while it waits with nothing to do,
// and how long a full redraw takes when the window is asked for one.
//
//   bench_watch [options] -- PROGRAM [ARGS...]
//     --title TITLE     the window to watch (its WM_NAME), required
//     --settle MS       the image counts as settled after MS without a
//                       change (default 600)
//     --timeout S       give up after S seconds (default 20)
//     --idle S          processor time over S seconds once settled (default 0: not measured)
//     --redraws N       N redraws, one at a time, each asked by an Expose
//                       event and ended by the window's next damage (default 0)
//
// Prints one line of name=value pairs on standard output:
//   map_ms frame_ms map_cpu_ms frame_cpu_ms width height content hwm_kb rss_kb
//   idle_pct idle_ticks idle_cpu_ns idle_switches   (with --idle)
//   redraw_ms                                       (median, with --redraws)
// Times are from just before the program is started; the *_cpu_ms are the
// processor time the program (all its threads) had used by then, which a
// busy machine disturbs less than the times. The window's image
// is read whenever the server reports damage to it (XDAMAGE), so the
// watching costs nothing while the window does not change. Exit status 1
// when the window did not show up in time.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

int ignore_errors(Display*, XErrorEvent*) { return 0; }

struct Grab {
  double ms;
  std::vector<unsigned long> pixels;
  bool content;
  double cpu_ms;  // the program's processor time by then
};

std::vector<unsigned long> grab(Display* dpy, Window w, int width, int height) {
  std::vector<unsigned long> px;
  XImage* img = XGetImage(dpy, w, 0, 0, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
  if (!img) return px;
  px.reserve(std::size_t(width) * std::size_t(height));
  if (img->bits_per_pixel == 32) {  // the usual depth-24 visual: read the rows as they are
    for (int y = 0; y < height; ++y) {
      const std::uint32_t* row = reinterpret_cast<const std::uint32_t*>(img->data + std::size_t(y) * img->bytes_per_line);
      for (int x = 0; x < width; ++x) px.push_back(row[x] & 0xFFFFFF);
    }
  } else {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) px.push_back(XGetPixel(img, x, y) & 0xFFFFFF);
  }
  XDestroyImage(img);
  return px;
}

// Share of pixels that are the same in both (0 when the sizes differ).
double same_share(const std::vector<unsigned long>& a, const std::vector<unsigned long>& b) {
  if (a.size() != b.size() || a.empty()) return 0;
  std::size_t same = 0;
  for (std::size_t i = 0; i < a.size(); ++i) same += a[i] == b[i];
  return double(same) / double(a.size());
}

// Content: more than a fill, i.e. at least 0.5 % of the pixels differ from
// the most common colour.
bool has_content(const std::vector<unsigned long>& px) {
  if (px.empty()) return false;
  std::unordered_map<unsigned long, std::size_t> count;
  for (unsigned long p : px) ++count[p];
  std::size_t most = 0;
  for (const auto& [colour, n] : count) most = std::max(most, n);
  return double(px.size() - most) >= 0.005 * double(px.size());
}

std::string title_of(Display* dpy, Window w) {
  char* name = nullptr;
  std::string t;
  if (XFetchName(dpy, w, &name) && name) {
    t = name;
    XFree(name);
  }
  return t;
}

// The process's threads, read from /proc.
std::vector<std::string> tasks(pid_t pid) {
  std::vector<std::string> out;
  std::string dir = "/proc/" + std::to_string(pid) + "/task";
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d))
      if (e->d_name[0] != '.') out.push_back(dir + "/" + e->d_name);
    closedir(d);
  }
  return out;
}

long status_kb(pid_t pid, const char* field) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  std::size_t n = std::strlen(field);
  while (std::getline(in, line))
    if (line.compare(0, n, field) == 0 && line.size() > n && line[n] == ':') return std::atol(line.c_str() + n + 1);
  return -1;
}

struct CpuUse {
  long ticks = 0;                 // user + system, clock ticks (/proc/PID/stat)
  unsigned long long ns = 0;      // on-CPU time of every thread (schedstat)
  long switches = 0;              // context switches of every thread
  std::map<std::string, std::pair<unsigned long long, long>> threads;  // each thread's ns and switches
};

CpuUse cpu_use(pid_t pid) {
  CpuUse u;
  {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t close = all.rfind(')');
    if (close != std::string::npos) {
      std::istringstream rest(all.substr(close + 2));
      std::string field;
      std::vector<std::string> f;
      while (rest >> field) f.push_back(field);
      // Fields from the state on (field 3): utime is field 14, stime 15.
      if (f.size() > 12) u.ticks = std::atol(f[11].c_str()) + std::atol(f[12].c_str());
    }
  }
  for (const std::string& t : tasks(pid)) {
    std::ifstream sched(t + "/schedstat");
    unsigned long long ns = 0;
    if (!(sched >> ns)) continue;  // the thread has ended meanwhile
    long switches = 0;
    std::ifstream st(t + "/status");
    std::string line;
    while (std::getline(st, line))
      if (line.rfind("voluntary_ctxt_switches:", 0) == 0 || line.rfind("nonvoluntary_ctxt_switches:", 0) == 0)
        switches += std::atol(line.c_str() + line.find(':') + 1);
    u.ns += ns;
    u.switches += switches;
    u.threads[t] = {ns, switches};
  }
  return u;
}

// What the threads alive at both readings used in between (a thread that
// ends or starts meanwhile is left out).
std::pair<unsigned long long, long> used_between(const CpuUse& a, const CpuUse& b) {
  unsigned long long ns = 0;
  long switches = 0;
  for (const auto& [t, after] : b.threads) {
    auto before = a.threads.find(t);
    if (before == a.threads.end()) continue;
    ns += after.first - before->second.first;
    switches += after.second - before->second.second;
  }
  return {ns, switches};
}

}  // namespace

int main(int argc, char** argv) {
  std::string title;
  int settle_ms = 600, timeout_s = 20, idle_s = 0, redraws = 0;
  int i = 1;
  for (; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--") {
      ++i;
      break;
    }
    if (i + 1 >= argc) break;
    if (a == "--title") title = argv[++i];
    else if (a == "--settle") settle_ms = std::atoi(argv[++i]);
    else if (a == "--timeout") timeout_s = std::atoi(argv[++i]);
    else if (a == "--idle") idle_s = std::atoi(argv[++i]);
    else if (a == "--redraws") redraws = std::atoi(argv[++i]);
    else break;
  }
  if (title.empty() || i >= argc) {
    std::fprintf(stderr, "usage: bench_watch --title TITLE [--settle MS] [--timeout S] [--idle S] [--redraws N] -- PROGRAM [ARGS...]\n");
    return 2;
  }
  XSetErrorHandler(ignore_errors);
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    std::fprintf(stderr, "bench_watch: no display\n");
    return 2;
  }
  int damage_event = 0, damage_error = 0;
  if (!XDamageQueryExtension(dpy, &damage_event, &damage_error)) {
    std::fprintf(stderr, "bench_watch: the X server has no DAMAGE extension\n");
    return 2;
  }
  Window root = DefaultRootWindow(dpy);
  XSelectInput(dpy, root, SubstructureNotifyMask);
  XSync(dpy, False);

  std::map<Window, Damage> damages;  // every new top-level window's, from its creation
  Clock::time_point t0 = Clock::now();
  pid_t pid = -1;
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attr, 0);
  // The program's own output would mix with the result line.
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  if (posix_spawnp(&pid, argv[i], &quiet, &attr, &argv[i], environ) != 0) {
    std::fprintf(stderr, "bench_watch: cannot start %s\n", argv[i]);
    return 2;
  }
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&quiet);

  Window target = 0;
  int width = 0, height = 0;
  double map_ms = -1, map_cpu_ms = -1;
  std::vector<Grab> grabs;
  Clock::time_point last_change = Clock::now();
  auto deadline = t0 + std::chrono::seconds(timeout_s);
  bool settled = false;
  while (!settled && Clock::now() < deadline) {
    while (XPending(dpy)) {
      XEvent ev;
      XNextEvent(dpy, &ev);
      if (ev.type == CreateNotify && ev.xcreatewindow.parent == root) {
        damages[ev.xcreatewindow.window] = XDamageCreate(dpy, ev.xcreatewindow.window, XDamageReportNonEmpty);
      } else if (ev.type == MapNotify && ev.xmap.event == root && !target && title_of(dpy, ev.xmap.window) == title) {
        map_ms = ms_since(t0);
        map_cpu_ms = double(cpu_use(pid).ns) / 1e6;
        target = ev.xmap.window;
        XWindowAttributes wa;
        XGetWindowAttributes(dpy, target, &wa);
        width = wa.width;
        height = wa.height;
        last_change = Clock::now();
      } else if (ev.type == damage_event + XDamageNotify) {
        const XDamageNotifyEvent& d = reinterpret_cast<const XDamageNotifyEvent&>(ev);
        XDamageSubtract(dpy, d.damage, None, None);
        if (target && d.drawable == target) {
          double at = ms_since(t0);
          std::vector<unsigned long> px = grab(dpy, target, width, height);
          if (grabs.empty() || px != grabs.back().pixels) {
            bool content = has_content(px);
            grabs.push_back(Grab{at, std::move(px), content, double(cpu_use(pid).ns) / 1e6});
            last_change = Clock::now();
          }
        }
      }
    }
    // A window settles on drawn content; a blank fill is only a step on the way.
    if (target && !grabs.empty() && grabs.back().content && ms_since(last_change) >= settle_ms) {
      settled = true;
      break;
    }
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) {
      pid = -1;
      break;
    }
    pollfd pfd{ConnectionNumber(dpy), POLLIN, 0};
    poll(&pfd, 1, 20);
  }

  double frame_ms = -1, frame_cpu_ms = -1;
  bool content = false;
  if (!grabs.empty()) {
    const std::vector<unsigned long>& final_image = grabs.back().pixels;
    content = grabs.back().content;
    for (const Grab& g : grabs)
      if (same_share(g.pixels, final_image) >= 0.995) {
        frame_ms = g.ms;
        frame_cpu_ms = g.cpu_ms;
        break;
      }
  }
  if (std::getenv("BENCH_WATCH_GRABS"))  // every image on the way, for a closer look
    for (const Grab& g : grabs)
      std::fprintf(stderr, "grab at %.1f ms (cpu %.1f): content %d, %.4f the same as the last\n", g.ms, g.cpu_ms,
                   g.content ? 1 : 0, same_share(g.pixels, grabs.back().pixels));
  std::printf("map_ms=%.1f frame_ms=%.1f map_cpu_ms=%.1f frame_cpu_ms=%.1f width=%d height=%d content=%d", map_ms,
              frame_ms, map_cpu_ms, frame_cpu_ms, width, height, content ? 1 : 0);
  if (pid > 0) std::printf(" hwm_kb=%ld rss_kb=%ld", status_kb(pid, "VmHWM"), status_kb(pid, "VmRSS"));

  if (pid > 0 && settled && idle_s > 0) {
    CpuUse a = cpu_use(pid);
    std::this_thread::sleep_for(std::chrono::seconds(idle_s));
    CpuUse b = cpu_use(pid);
    auto [ns, switches] = used_between(a, b);
    std::printf(" idle_pct=%.3f idle_ticks=%ld idle_cpu_ns=%llu idle_switches=%ld",
                double(ns) / (idle_s * 1e9) * 100.0, b.ticks - a.ticks, ns, switches);
  }

  if (pid > 0 && settled && redraws > 0) {
    std::vector<double> times;
    Damage dmg = damages.count(target) ? damages[target] : 0;
    for (int r = 0; r < redraws && dmg; ++r) {
      XSync(dpy, False);
      while (XPending(dpy)) {  // nothing left over from before
        XEvent ev;
        XNextEvent(dpy, &ev);
      }
      XDamageSubtract(dpy, dmg, None, None);
      XEvent ex{};
      ex.xexpose.type = Expose;
      ex.xexpose.window = target;
      ex.xexpose.width = width;
      ex.xexpose.height = height;
      ex.xexpose.count = 0;
      Clock::time_point start = Clock::now();
      XSendEvent(dpy, target, False, ExposureMask, &ex);
      XFlush(dpy);
      bool seen = false;
      while (!seen && ms_since(start) < 3000) {
        while (!seen && XPending(dpy)) {
          XEvent ev;
          XNextEvent(dpy, &ev);
          if (ev.type == damage_event + XDamageNotify &&
              reinterpret_cast<const XDamageNotifyEvent&>(ev).drawable == target)
            seen = true;
        }
        if (!seen) {
          pollfd pfd{ConnectionNumber(dpy), POLLIN, 0};
          poll(&pfd, 1, 5);
        }
      }
      if (seen) times.push_back(ms_since(start));
    }
    if (!times.empty()) {
      std::sort(times.begin(), times.end());
      std::printf(" redraw_ms=%.2f redraws=%zu", times[times.size() / 2], times.size());
    }
  }
  std::printf("\n");
  std::fflush(stdout);

  if (pid > 0) {
    kill(-pid, SIGTERM);
    for (int w = 0; w < 200; ++w) {
      if (waitpid(pid, nullptr, WNOHANG) == pid) {
        pid = -1;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (pid > 0) {
      kill(-pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
  XCloseDisplay(dpy);
  return map_ms < 0 ? 1 : 0;
}
