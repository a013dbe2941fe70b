// Registry values on Windows: the system's registry calls.
#include <windows.h>

#include "common/trace.h"
#include "simulator/install_dir.h"

int RdUsrReg(const char* subkey, const char* name, RegValue& outval, int& len) {
  trace("Subkey,name :", subkey, name);
  HKEY root = len < 0 ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER;
  HKEY key = nullptr;
  LONG status = RegOpenKeyExA(root, subkey, 0, KEY_QUERY_VALUE, &key);
  trace("USER Open Status :", static_cast<int>(status));
  if (status != ERROR_SUCCESS) return static_cast<int>(status);

  BYTE buf[reg_value_size + 1];
  DWORD size = reg_value_size;
  LONG query = RegQueryValueExA(key, name, nullptr, nullptr, buf, &size);
  trace("Query Status, Length :", static_cast<int>(query), static_cast<int>(size));
  if (query == ERROR_SUCCESS) {
    // The data may lack its terminating zero; the extra byte holds one.
    for (DWORD i = 0; i < size; ++i) outval[i] = static_cast<char>(buf[i]);
    outval[size] = '\0';
    trace("value :", outval.data());
    len = static_cast<int>(size);
  }
  LONG closed = RegCloseKey(key);
  trace("Status :", static_cast<int>(closed));
  // A key without the value is a failed read, not a success with an empty
  // buffer: the query's status comes first.
  return query != ERROR_SUCCESS ? static_cast<int>(query) : static_cast<int>(closed);
}
