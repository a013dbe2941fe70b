// Scan-code names from the toolkit: the names the platform gives its keys.
#include "forms_window/key_names.h"
#include "toolkit/cpw.h"

int host_scan_code_name(int scan_code, char* name, int capacity) {
  if (!name || capacity <= 0) return 0;
  name[0] = '\0';
  if (scan_code <= 0) return 0;
  return cpwGetKeyName(static_cast<unsigned>(scan_code), name, capacity);
}
