// Modules this system does not use (performance marks, menus, video
// settings, primitives, GL extension list, joysticks): they own their slice
// of the context, an empty record or an empty list, so that the init and
// exit chains run as for the full toolkit. None offers operations.
#include <cstdlib>

#include "toolkit/cpw.h"
#include "toolkit/cpw_internal.h"

struct CpwModuleRecord {
  int unused;
};

namespace {

bool alloc_record(pCpw cpw, CpwModuleRecord** slot) {
  *slot = static_cast<CpwModuleRecord*>(std::calloc(1, sizeof(CpwModuleRecord)));
  if (!*slot) cpw->err_code = cpw_error_outofmemory;
  return *slot != nullptr;
}

void free_record(CpwModuleRecord** slot) {
  std::free(*slot);
  *slot = nullptr;
}

}  // namespace

bool cpw_perf_init(pCpw cpw) {
  ll_initList(&cpw->list_perf);
  return true;
}
void cpw_perf_exit(pCpw cpw) { ll_deleteList(&cpw->list_perf); }

bool cpw_menus_init(pCpw cpw) {
  ll_initList(&cpw->list_menus);
  return true;
}
void cpw_menus_exit(pCpw cpw) { ll_deleteList(&cpw->list_menus); }

bool cpw_videosettings_init(pCpw) { return true; }
void cpw_videosettings_exit(pCpw) {}

bool cpw_primitives_init(pCpw cpw) { return alloc_record(cpw, &cpw->ctx_primitives); }
void cpw_primitives_exit(pCpw cpw) { free_record(&cpw->ctx_primitives); }

bool cpw_extensions_init(pCpw cpw) { return alloc_record(cpw, &cpw->extensions); }
void cpw_extensions_exit(pCpw cpw) { free_record(&cpw->extensions); }

bool cpw_joystick_init(pCpw cpw) { return alloc_record(cpw, &cpw->ctx_joystick); }
void cpw_joystick_exit(pCpw cpw) { free_record(&cpw->ctx_joystick); }
