// Default application call-back, used by a program that links none of its
// own. Kept in a file of its own so that an application's frm_callback
// replaces it while the default check_values_app stays available.
#include "common/trace.h"
#include "forms/my_forms.h"

void frm_callback(int kind, int number, int& value) {
  if (kind == 6) {
    trace("DEFAULT CALLBACK : BUTTON", number, value);
  } else if (kind == 1) {
    trace("DEFAULT CALLBACK : INPUT BOX", number, value);
  }
}
