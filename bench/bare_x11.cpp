// The floor of the start-up benchmark: a bare Xlib window that draws a
// frame and a line of text with the server's own font when exposed.
//
//   bench_bare_x11 TITLE WIDTH HEIGHT     runs until killed or closed
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  const char* title = argc > 1 ? argv[1] : "Bare X11";
  unsigned width = argc > 2 ? unsigned(std::atoi(argv[2])) : 420, height = argc > 3 ? unsigned(std::atoi(argv[3])) : 60;
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) return 1;
  int screen = DefaultScreen(dpy);
  Window win = XCreateSimpleWindow(dpy, RootWindow(dpy, screen), 100, 100, width, height, 0, BlackPixel(dpy, screen),
                                   WhitePixel(dpy, screen));
  XStoreName(dpy, win, title);
  Atom wm_delete = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(dpy, win, &wm_delete, 1);
  XSelectInput(dpy, win, ExposureMask);
  GC gc = XCreateGC(dpy, win, 0, nullptr);
  XMapWindow(dpy, win);
  const char* text = "Vantyr: towplanes of Condor 2 and 3";
  for (;;) {
    XEvent ev;
    XNextEvent(dpy, &ev);
    if (ev.type == Expose && ev.xexpose.count == 0) {
      XSetForeground(dpy, gc, BlackPixel(dpy, screen));
      XDrawRectangle(dpy, win, gc, 4, 4, width - 9, height - 9);
      XDrawString(dpy, win, gc, 12, 30, text, int(std::strlen(text)));
      XFlush(dpy);
    } else if (ev.type == ClientMessage && Atom(ev.xclient.data.l[0]) == wm_delete) {
      break;
    }
  }
  XCloseDisplay(dpy);
  return 0;
}
