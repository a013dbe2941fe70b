// The form window's platform steps for a toolkit without a display (the null
// host): there is no native window to give an icon or to raise.
#include "forms_window/window_platform.h"

#include "common/trace.h"

void frm_window_platform_start(pCpw /*cpw*/, unsigned int id, std::uintptr_t /*hwnd*/, int debug) {
  if (debug) trace("frm_window_platform_start : window", id, "has no platform window: no icon, not raised");
}
