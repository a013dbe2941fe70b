// The form window's platform steps on X11: the program's icon goes on the
// window as _NET_WM_ICON, then the window is raised and activated.
#include "forms_window/window_platform.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <iterator>
#include <vector>

#include "common/logging.h"
#include "common/trace.h"
#include "vantyr_icon_argb.h"

// The generated icon holds 16, 32 and 48 pixels, each as width, height and
// its pixels: a different drawing size shows here, not as a truncated icon.
static_assert(std::size(vantyr_icon_argb) == (2 + 16 * 16) + (2 + 32 * 32) + (2 + 48 * 48));

namespace {

// Sets _NET_WM_ICON and reads its length back: the toolkit ignores X errors,
// so the read-back is what tells a refused property from a set one.
bool set_icon(Display* dpy, Window win) {
  Atom net_wm_icon = XInternAtom(dpy, "_NET_WM_ICON", False);
  if (net_wm_icon == None) return false;
  // Xlib takes format-32 data as longs, whatever their width.
  std::vector<long> data(std::begin(vantyr_icon_argb), std::end(vantyr_icon_argb));
  XChangeProperty(dpy, win, net_wm_icon, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(data.data()), int(data.size()));
  Atom type = None;
  int format = 0;
  unsigned long items = 0, bytes_after = 0;
  unsigned char* prop = nullptr;
  // A length of 0 reads nothing and tells the whole size in bytes_after.
  int rc = XGetWindowProperty(dpy, win, net_wm_icon, 0, 0, False, XA_CARDINAL, &type, &format, &items,
                              &bytes_after, &prop);
  if (prop) XFree(prop);
  return rc == Success && type == XA_CARDINAL && format == 32 && bytes_after == data.size() * 4;
}

}  // namespace

void frm_window_platform_start(pCpw cpw, unsigned int id, std::uintptr_t hwnd, int debug) {
  std::uintptr_t native = 0;
  void* display = nullptr;
  if (hwnd == 0 || !cpwGetNativeWindow(cpw, id, &native, &display) || !display) {
    log_message("{W}The form window has no X11 window: no icon set, not raised");
    return;
  }
  if (native != hwnd) {
    // Another window than the toolkit's: leave both alone.
    log_message("{W}The form window's handle is not its toolkit window's: no icon set, not raised");
    return;
  }
  Display* dpy = static_cast<Display*>(display);
  bool icon = set_icon(dpy, Window(hwnd));
  if (!icon) log_message("{W}The program's icon could not be set on the form window");
  cpwRaiseWindow(cpw, id);
  if (debug)
    trace("frm_window_platform_start : window", id, "X11", hwnd, icon ? "_NET_WM_ICON 16 32 48 set," : "no icon,",
          "raised and activated");
}
