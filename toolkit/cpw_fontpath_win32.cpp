// System fonts on Windows: the "fonts" folder of the Windows folder.
#include <windows.h>

#include "toolkit/host/cpw_host.h"

bool cpw_platform_fontpath(pCpw, const char* name, pStr* path) {
  if (!name || !path || !*name) return false;
  char folder[MAX_PATH + 1];
  UINT n = GetWindowsDirectoryA(folder, sizeof folder);
  if (n == 0 || n >= sizeof folder) return false;
  const char* parts[] = {folder, "\\fonts\\", name, nullptr};
  freeStr(path);
  return concatStrings(path, parts) != 0;
}

const char* cpw_localhost_separator() { return "\\"; }
