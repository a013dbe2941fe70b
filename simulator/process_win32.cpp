// Environment variables and the program file's name on Windows.
#include <windows.h>

#include "simulator/install_dir.h"

int MyGetEnv(const char* name, char* value, int len) {
  if (len <= 0) return 0;
  DWORD n = GetEnvironmentVariableA(name, value, static_cast<DWORD>(len));
  return static_cast<int>(n);
}

int GetExePath(char* path, int len) {
  if (len <= 0) return 0;
  DWORD n = GetModuleFileNameA(nullptr, path, static_cast<DWORD>(len));
  // A name cut to the buffer is no name at all: its folder would be wrong.
  if (n == 0 || n >= static_cast<DWORD>(len)) {
    path[0] = '\0';
    return 0;
  }
  return static_cast<int>(n);
}
