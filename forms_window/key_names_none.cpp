// Scan-code names before a window host exists: no key has a platform name,
// so KEY elements show "??????" for keys given by scan code. The host layer
// of the forms window replaces this file with the platform's key-name query.
#include "forms_window/key_names.h"

int host_scan_code_name(int /*scan_code*/, char* name, int capacity) {
  if (name && capacity > 0) name[0] = '\0';
  return 0;
}
