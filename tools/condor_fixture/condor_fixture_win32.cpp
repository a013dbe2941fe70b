// The installation generator on Windows (and for the Windows build under
// Wine): files at their Windows paths, entries in the current user's
// registry (under Wine, the registry its server keeps, as `wine reg` changes
// it).
#include <windows.h>

#include <sys/utime.h>

#include <string>

#include "tools/condor_fixture/condor_fixture.h"
#include "tools/condor_fixture/condor_fixture_host.h"

namespace condor_fixture {

static const char* const shell_folders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
static const char* const usual_documents = "%USERPROFILE%\\Documents";

static const char* reg_key(int version) { return version == 2 ? "Software\\Condor2" : "Software\\Condor3"; }

std::string prepare_target(const SimInstall&) { return ""; }

bool env_value(const SimInstall&, const std::string& name, std::string& value) {
  char buf[1024];
  DWORD n = GetEnvironmentVariableA(name.c_str(), buf, sizeof buf);
  if (n == 0 || n >= sizeof buf) return false;
  value.assign(buf, n);
  return true;
}

bool set_mtime(const std::string& host, std::int64_t t) {
  _utimbuf times{static_cast<time_t>(t), static_cast<time_t>(t)};
  return _utime(host.c_str(), &times) == 0;
}

static bool set_string(const char* key, const char* name, const std::string& value, DWORD type) {
  HKEY k;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) != ERROR_SUCCESS)
    return false;
  LONG r = RegSetValueExA(k, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
  RegCloseKey(k);
  return r == ERROR_SUCCESS;
}

static void delete_value(const char* key, const char* name) {
  HKEY k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS) return;
  RegDeleteValueA(k, name);
  RegCloseKey(k);
}

std::string write_registry(const SimInstall& spec) {
  for (int v : {2, 3}) RegDeleteKeyA(HKEY_CURRENT_USER, reg_key(v));
  for (const SimVersion& v : spec.versions) {
    if (v.registered && !set_string(reg_key(v.version), "InstallDir", install_dir_of(v), REG_SZ))
      return std::string("cannot write InstallDir of ") + reg_key(v.version);
    if (!v.pilot.empty() && !set_string(reg_key(v.version), "LastPlayer", v.pilot, REG_SZ))
      return std::string("cannot write LastPlayer of ") + reg_key(v.version);
  }
  if (!spec.documents_registered) delete_value(shell_folders, "Personal");
  else if (!set_string(shell_folders, "Personal", spec.documents, REG_EXPAND_SZ)) return "cannot write the documents folder entry";
  return "";
}

}  // namespace condor_fixture

std::string fixture_host_path(const SimInstall&, const std::string& windows_path) { return windows_path; }

std::string remove_condor_registry(const SimInstall& spec) {
  using namespace condor_fixture;
  for (int v : {2, 3}) RegDeleteKeyA(HKEY_CURRENT_USER, reg_key(v));
  if (!spec.documents_registered || spec.documents != usual_documents)
    if (!set_string(shell_folders, "Personal", usual_documents, REG_EXPAND_SZ)) return "cannot restore the documents folder entry";
  return "";
}
