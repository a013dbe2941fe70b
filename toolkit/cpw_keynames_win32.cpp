// Key names by scan code from the active keyboard layout (GetKeyNameTextA:
// the scan code in bits 16 to 23, bit 24 for an extended key).
#include <windows.h>

#include "toolkit/cpw.h"

int cpwGetKeyName(unsigned int scancode, char* name, int size) {
  if (!name || size <= 0) return 0;
  name[0] = '\0';
  if (scancode > 0x1FF) return 0;
  LONG param = LONG((scancode & 0xFF) << 16) | ((scancode & 0x100) ? LONG(1) << 24 : 0);
  int n = GetKeyNameTextA(param, name, size);
  if (n <= 0) {
    name[0] = '\0';
    return 0;
  }
  return n;
}
