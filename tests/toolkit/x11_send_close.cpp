// Asks a top-level X11 window to close, as a window manager's close box
// does: waits until a window with the given title exists, then sends it
// WM_DELETE_WINDOW. Plain Xvfb has no window manager to do this.
//
//   x11_send_close TITLE [SECONDS]   exit 0 when sent, 1 when no such window appeared
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

Window find_titled(Display* dpy, Window w, const char* title) {
  char* name = nullptr;
  if (XFetchName(dpy, w, &name) && name) {
    bool same = std::strcmp(name, title) == 0;
    XFree(name);
    if (same) return w;
  }
  Window root, parent, *children = nullptr;
  unsigned n = 0;
  Window found = 0;
  if (XQueryTree(dpy, w, &root, &parent, &children, &n)) {
    for (unsigned i = 0; i < n && !found; ++i) found = find_titled(dpy, children[i], title);
    if (children) XFree(children);
  }
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: x11_send_close TITLE [SECONDS]\n");
    return 2;
  }
  double seconds = argc > 2 ? std::atof(argv[2]) : 10.0;
  Display* dpy = nullptr;
  for (int i = 0; i < 50 && !(dpy = XOpenDisplay(nullptr)); ++i) {  // the server may be busy a moment
    timespec pause{0, 20 * 1000 * 1000};
    nanosleep(&pause, nullptr);
  }
  if (!dpy) {
    std::fprintf(stderr, "x11_send_close: no display\n");
    return 1;
  }
  Window target = 0;
  for (double waited = 0; !(target = find_titled(dpy, DefaultRootWindow(dpy), argv[1])) && waited < seconds;
       waited += 0.05) {
    timespec pause{0, 50 * 1000 * 1000};
    nanosleep(&pause, nullptr);
  }
  if (!target) {
    std::fprintf(stderr, "x11_send_close: no window titled \"%s\"\n", argv[1]);
    XCloseDisplay(dpy);
    return 1;
  }
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = target;
  ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = long(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
  ev.xclient.data.l[1] = CurrentTime;
  XSendEvent(dpy, target, False, NoEventMask, &ev);
  XSync(dpy, False);
  XCloseDisplay(dpy);
  return 0;
}
