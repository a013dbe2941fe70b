// The application's call-back of the null-host form tests: it records.
#include "tests/forms_window/null_form.h"

std::vector<std::array<int, 3>> callbacks;
void frm_callback(int kind, int number, int& value) { callbacks.push_back({kind, number, value}); }
