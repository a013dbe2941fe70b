// The steps of the form window's start that belong to the platform rather
// than to the toolkit: the program's icon on the window, and bringing the
// window to the front. One file per platform implements it; the session
// calls it once, right after the window was created.
#pragma once

#include <cstdint>

#include "toolkit/cpw.h"

// `id` is the form's toolkit window, `hwnd` its native handle (0 when the
// toolkit knows none). Failures are logged and the start goes on; `debug`
// adds diagnostic lines.
void frm_window_platform_start(pCpw cpw, unsigned int id, std::uintptr_t hwnd, int debug);
