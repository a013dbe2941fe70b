// Environment variables and the program file's name on Linux.
//
// Variables that Windows always sets and the simulator's settings use
// (USERPROFILE and the like) take, when the process lacks them, the values
// Wine gives them in its prefix. The program file's name is a Z: path, the
// name Wine gives a Linux file.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "common/codepage.h"
#include "common/platform.h"
#include "simulator/install_dir.h"

extern char** environ;

namespace process {

static bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

// The user name Wine uses for the profile folder.
static std::string login_name() {
  const char* u = std::getenv("USER");
  if (u && *u) return u;
  if (passwd* pw = getpwuid(getuid())) return pw->pw_name;
  return "user";
}

// Wine's value of a variable every Windows process has.
static bool wine_default(const char* name, std::string& value) {
  std::string profile = "C:\\users\\" + login_name();
  const struct {
    const char* name;
    std::string value;
  } table[] = {
      {"USERPROFILE", profile},
      {"HOMEDRIVE", "C:"},
      {"HOMEPATH", "\\users\\" + login_name()},
      {"USERNAME", login_name()},
      {"APPDATA", profile + "\\AppData\\Roaming"},
      {"LOCALAPPDATA", profile + "\\AppData\\Local"},
      {"TEMP", profile + "\\AppData\\Local\\Temp"},
      {"TMP", profile + "\\AppData\\Local\\Temp"},
      {"PUBLIC", "C:\\users\\Public"},
      {"ALLUSERSPROFILE", "C:\\ProgramData"},
      {"ProgramData", "C:\\ProgramData"},
      {"ProgramFiles", "C:\\Program Files"},
      {"SystemDrive", "C:"},
      {"SystemRoot", "C:\\windows"},
      {"windir", "C:\\windows"},
  };
  for (const auto& t : table) {
    if (same_name(name, t.name)) {
      value = t.value;
      return true;
    }
  }
  return false;
}

}  // namespace process

int MyGetEnv(const char* name, char* value, int len) {
  if (!name || !*name || len <= 0) return 0;
  std::string v;
  bool found = false;
  if (const char* e = std::getenv(name)) {
    v = e;
    found = true;
  } else {
    // Windows variable names do not depend on case.
    for (char** e = environ; e && *e; ++e) {
      const char* eq = std::strchr(*e, '=');
      if (eq && process::same_name(std::string_view(*e, static_cast<std::size_t>(eq - *e)), name)) {
        v = eq + 1;
        found = true;
        break;
      }
    }
    if (!found) found = process::wine_default(name, v);
  }
  if (!found) return 0;
  v = utf8_to_cp1252(v);  // the program's single-byte code page, as the "A" call gives it
  int n = static_cast<int>(v.size());
  if (n >= len) return n + 1;  // the size needed, as Windows reports it
  std::memcpy(value, v.c_str(), v.size() + 1);
  return n;
}

int GetExePath(char* path, int len) {
  if (len <= 0) return 0;
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return 0;
  std::string name = program_path_from_host(std::string_view(buf, static_cast<std::size_t>(n)));
  if (static_cast<int>(name.size()) >= len) {
    path[0] = '\0';
    return 0;
  }
  std::memcpy(path, name.c_str(), name.size() + 1);
  return static_cast<int>(name.size());
}
