// Display names of key codes: the modifier prefixes, then the key itself.
#include <cstring>

#include "common/convert.h"
#include "forms_window/forms_window.h"
#include "forms_window/key_names.h"

int get_key_name(int key_code, std::string& name) {
  name.clear();
  int flags = 0, base = 0;
  split_key_code(key_code, flags, base);
  // Only the four modifier flags exist; anything else is not a key code.
  if (flags < 0 || flags > 15) return 0;
  std::string key;
  if (base < 0) {
    char buf[33];
    int n = host_scan_code_name(-base, buf, static_cast<int>(sizeof buf));
    if (n <= 0) return 0;
    key.assign(buf, strnlen(buf, sizeof buf - 1));
  } else if (base >= 1 && base <= 255) {
    key.assign(1, static_cast<char>(base));
  } else {
    return 0;  // no key, or not a character
  }
  if (flags & 8) name += "LONG+";
  if (flags & 1) name += "CTRL+";
  if (flags & 2) name += "SHFT+";
  if (flags & 4) name += "ALT+";
  name += key;
  return static_cast<int>(name.size());
}
