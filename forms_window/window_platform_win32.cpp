// The form window's platform steps on Windows: the program's icon (resource
// 999) becomes the window class's icon, then the window comes to the front.
// The class value is pointer-sized: on 64-bit Windows a 32-bit one would cut
// the icon's handle.
#include "forms_window/window_platform.h"

#include <windows.h>

#include <cstdio>

#include "common/logging.h"

namespace {

void log_line(const char* format, long value) {
  char line[128];
  std::snprintf(line, sizeof line, format, value);
  log_message(line);
}

}  // namespace

void frm_window_platform_start(pCpw /*cpw*/, unsigned int /*id*/, std::uintptr_t native, int debug) {
  HINSTANCE hInstance = GetModuleHandleA(nullptr);
  HWND hwnd = reinterpret_cast<HWND>(native);
  if (!hwnd) return;  // the session has logged the missing handle

  HICON icon = LoadIconA(hInstance, MAKEINTRESOURCEA(999));
  if (debug) log_line("LoadIcon : %ld", icon ? 1L : 0L);
  if (!icon) {
    log_line("LoadIcon Error: %ld", static_cast<long>(GetLastError()));
  } else {
    SetLastError(0);
    ULONG_PTR previous = SetClassLongPtrA(hwnd, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
    // 0 is also the result when the class had no icon before: only an
    // error code tells a failure.
    DWORD error = GetLastError();
    if (debug) log_line("SetClassLong : %ld", static_cast<long>(previous != 0));
    if (previous == 0 && error != 0) log_line("SetClassLong Error: %ld", static_cast<long>(error));
  }
  BOOL front = SetForegroundWindow(hwnd);
  if (debug) log_line("SetForegroundWindow %ld", static_cast<long>(front));
}
