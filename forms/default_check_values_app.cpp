// Default application check of entered values: accepts every value. Kept in
// a file of its own so that an application's check_values_app replaces it.
#include "common/trace.h"
#include "forms/my_forms.h"

int check_values_app(int n, std::string_view label, int& ival, float& rval, FieldRef cval, FieldRef message) {
  trace("check_values_app DEFAULT : ", n, label, ival, rval, cval, message);
  return 1;
}
