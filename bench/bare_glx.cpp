// The OpenGL floor of the start-up and redraw benchmarks: a bare GLX window
// with the toolkit's default pixel format (double-buffered RGBA with a depth
// buffer) that clears, draws a frame of lines and swaps when exposed.
//
//   bench_bare_glx TITLE WIDTH HEIGHT     runs until killed or closed
#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>

int main(int argc, char** argv) {
  const char* title = argc > 1 ? argv[1] : "Bare GLX";
  int width = argc > 2 ? std::atoi(argv[2]) : 420, height = argc > 3 ? std::atoi(argv[3]) : 60;
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) return 1;
  int screen = DefaultScreen(dpy);
  int attrs[] = {GLX_RGBA, GLX_RED_SIZE, 5, GLX_GREEN_SIZE, 5, GLX_BLUE_SIZE, 5, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 8, None};
  XVisualInfo* vi = glXChooseVisual(dpy, screen, attrs);
  if (!vi) return 1;
  Window root = RootWindow(dpy, screen);
  XSetWindowAttributes wa{};
  wa.colormap = XCreateColormap(dpy, root, vi->visual, AllocNone);
  wa.background_pixmap = None;
  wa.event_mask = ExposureMask | StructureNotifyMask;
  Window win = XCreateWindow(dpy, root, 100, 100, unsigned(width), unsigned(height), 0, vi->depth, InputOutput,
                             vi->visual, CWColormap | CWBackPixmap | CWEventMask, &wa);
  XStoreName(dpy, win, title);
  Atom wm_delete = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(dpy, win, &wm_delete, 1);
  GLXContext ctx = glXCreateContext(dpy, vi, nullptr, True);
  XMapWindow(dpy, win);
  glXMakeCurrent(dpy, win, ctx);
  for (;;) {
    XEvent ev;
    XNextEvent(dpy, &ev);
    if (ev.type == Expose && ev.xexpose.count == 0) {
      glViewport(0, 0, width, height);
      glMatrixMode(GL_PROJECTION);
      glLoadIdentity();
      glOrtho(0, width, 0, height, -1, 1);
      glClearColor(1, 1, 1, 1);
      glClear(GL_COLOR_BUFFER_BIT);
      glColor3f(0, 0, 0.6f);
      glBegin(GL_LINE_LOOP);
      glVertex2i(4, 4);
      glVertex2i(width - 5, 4);
      glVertex2i(width - 5, height - 5);
      glVertex2i(4, height - 5);
      glEnd();
      glBegin(GL_QUADS);
      glVertex2i(12, 12);
      glVertex2i(width / 2, 12);
      glVertex2i(width / 2, 24);
      glVertex2i(12, 24);
      glEnd();
      glXSwapBuffers(dpy, win);
    } else if (ev.type == ClientMessage && Atom(ev.xclient.data.l[0]) == wm_delete) {
      break;
    }
  }
  glXMakeCurrent(dpy, None, nullptr);
  glXDestroyContext(dpy, ctx);
  XCloseDisplay(dpy);
  return 0;
}
