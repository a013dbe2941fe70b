// The toolkit context: defaults, the init and exit chains of the modules,
// window properties, display mode, user data and the print handler.
#include <cstdio>
#include <cstdlib>

#include "toolkit/cpw.h"
#include "toolkit/cpw_internal.h"

namespace {

void default_print(const char* text) {
  if (text) std::fputs(text, stderr);
}

bool defaults_init(pCpw cpw) {
  cpw->cpw_displaymode = 0x40000029;
  cpw->cpw_screenwidth = 300;
  cpw->cpw_screenheight = 300;
  cpw->win_initx = 100;
  cpw->win_inity = 100;
  cpw->win_initwidth = 200;
  cpw->win_initheight = 300;
  cpw->cpw_print = default_print;
  cpw->win_properties = 0x401;
  cpw->win_expectmenu = false;
  return true;
}

void defaults_exit(pCpw) {}

typedef bool (*InitStep)(pCpw);
typedef void (*ExitStep)(pCpw);

const InitStep init_chain[] = {
    defaults_init,   cpw_localhost_init, cpw_perf_init,          cpw_font_init,
    cpw_event_init,  cpw_window_init,    cpw_menus_init,         cpw_timers_init,
    cpw_videosettings_init, cpw_primitives_init, cpw_extensions_init, cpw_joystick_init,
};

// Closing the windows comes before the event queue's exit, so that the close
// requests it queues reach the create callbacks as the queue drains.
const ExitStep exit_chain[] = {
    cpw_extensions_exit, cpw_primitives_exit, cpw_videosettings_exit, cpw_timers_exit,
    cpw_window_closeall, cpw_event_exit,      cpw_menus_exit,         cpw_window_exit,
    cpw_font_exit,       cpw_perf_exit,       cpw_joystick_exit,      cpw_localhost_exit,
    defaults_exit,
};

}  // namespace

bool cpwInitContext(pCpw* cpw) {
  if (!cpw) return false;
  if (*cpw) return true;
  *cpw = static_cast<pCpw>(std::calloc(1, sizeof(_CpwContext)));
  if (!*cpw) return false;
  for (InitStep step : init_chain)
    if (!step(*cpw)) return false;  // the context stays, unusable by the main loop
  (*cpw)->cpw_initsuccess = true;
  return true;
}

bool cpwFreeContext(pCpw* cpw) {
  if (!cpw) return false;
  if (!*cpw) return true;
  // Every exit step copes with a module whose init never ran, so a context
  // whose init stopped half-way is freed whole as well.
  for (ExitStep step : exit_chain) step(*cpw);
  freeStr(&(*cpw)->cpw_driverinfo);
  std::free(*cpw);
  *cpw = nullptr;
  return true;
}

std::int32_t cpwGetLastError(pCpw cpw) { return cpw ? cpw->err_code : 0; }

bool cpwSetLastError(pCpw cpw, std::int32_t code) {
  if (!cpw) return false;
  cpw->err_code = code;
  return true;
}

bool cpwInitWindowPosition(pCpw cpw, unsigned int x, unsigned int y) {
  if (!cpw) return false;
  cpw->win_initx = x;
  cpw->win_inity = y;
  return true;
}

bool cpwInitWindowSize(pCpw cpw, unsigned int width, unsigned int height) {
  if (!cpw) return false;
  cpw->win_initwidth = width;
  cpw->win_initheight = height;
  return true;
}

bool cpwInitWindowProperty(pCpw cpw, std::uint32_t property, unsigned int value1, unsigned int value2) {
  if (!cpw) return false;
  switch (property) {
    case CPW_WINDOWPROP_STANDARD:
    case CPW_WINDOWPROP_POPUP:
    case CPW_WINDOWPROP_NODRESSING:
      cpw->win_properties = (cpw->win_properties & ~0xFFu) | property;
      return true;
    case CPW_WINDOWPROP_FIXEDFRAME:
    case CPW_WINDOWPROP_THINFRAME:
    case CPW_WINDOWPROP_THICKFRAME:
      cpw->win_properties = (cpw->win_properties & ~0xF00u) | property;
      return true;
    case CPW_WINDOWPROP_EXPECTMENU:
      cpw->win_expectmenu = true;
      return true;
    case CPW_WINDOWPROP_DESKTOP:
      cpw->win_initx = 0;
      cpw->win_inity = 0;
      cpw->win_initwidth = cpw->cpw_screenwidth;
      cpw->win_initheight = cpw->cpw_screenheight;
      return true;
    case CPW_WINDOWPROP_SIZE:
      cpw->win_initwidth = value1;
      cpw->win_initheight = value2;
      return true;
    case CPW_WINDOWPROP_POSITION:
      cpw->win_initx = value1;
      cpw->win_inity = value2;
      return true;
    default:
      cpw->err_code = cpw_error_invalidparameter;
      return false;
  }
}

bool cpwInitDisplayMode(pCpw cpw, std::uint32_t mode) {
  if (!cpw) return false;
  cpw->cpw_displaymode = mode;
  return true;
}

bool cpwInitDisplayModeExact(pCpw, std::uint32_t) { return false; }

bool cpwInitPrintHandler(pCpw cpw, CpwPrintHandler handler) {
  if (!cpw) return false;
  cpw->cpw_print = handler;
  return true;
}

bool cpwSetUserdata(pCpw cpw, std::uintptr_t value) {
  if (!cpw) return false;
  cpw->ctx_user = value;
  return true;
}

std::uintptr_t cpwGetUserdata(pCpw cpw) { return cpw ? cpw->ctx_user : 0; }
