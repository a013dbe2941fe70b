// Environment variables and the program file's name on Linux.
//
// Variables that Windows always sets and the simulator's settings use
// (USERPROFILE and the like) take, when the process lacks them, the values
// Wine gives them in its prefix, for the prefix's own Windows user (Proton's
// is "steamuser", not the login). The program file's name is the name Wine
// gives a Linux file: a Z: path, or \\?\unix\ and the host path when the
// prefix's Z: drive is not the root folder.
#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
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

// The login name, which Wine gives the profile folder of a prefix it makes.
static std::string login_name() {
  const char* u = std::getenv("USER");
  if (u && *u) return u;
  if (passwd* pw = getpwuid(getuid())) return pw->pw_name;
  return "user";
}

// Profile folders under drive_c\users that belong to no user.
static bool shared_profile(std::string_view name) {
  for (const char* shared : {"Public", "Default", "Default User", "All Users"})
    if (same_name(name, shared)) return true;
  return false;
}

// The prefix's user profile folder: the USERPROFILE that Wine keeps in the
// prefix's registry; else the one user's folder under drive_c\users; else
// (none, or several) the login's, as Wine would make it.
static std::string profile_folder() {
  RegValue value{};
  int len = 0;
  if (RdUsrReg("Volatile Environment", "USERPROFILE", value, len) == 0 && value[0] != '\0') return value.data();
  std::string users = host_path("C:\\users"), only;
  int count = 0;
  if (DIR* d = opendir(users.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string n = e->d_name;
      struct stat st;
      if (n == "." || n == ".." || shared_profile(n) || stat((users + "/" + n).c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        continue;
      ++count;
      only = n;
    }
    closedir(d);
  }
  return "C:\\users\\" + utf8_to_cp1252(count == 1 ? only : login_name());
}

// Wine's value of a variable every Windows process has, in the program's
// code page.
static bool wine_default(const char* name, std::string& value) {
  static const char* const fixed[][2] = {
      {"HOMEDRIVE", "C:"},
      {"PUBLIC", "C:\\users\\Public"},
      {"ALLUSERSPROFILE", "C:\\ProgramData"},
      {"ProgramData", "C:\\ProgramData"},
      {"ProgramFiles", "C:\\Program Files"},
      {"SystemDrive", "C:"},
      {"SystemRoot", "C:\\windows"},
      {"windir", "C:\\windows"},
  };
  for (const auto& f : fixed) {
    if (same_name(name, f[0])) {
      value = f[1];
      return true;
    }
  }
  // The user's own: under the profile folder.
  static const char* const per_user[][2] = {
      {"USERPROFILE", ""},
      {"APPDATA", "\\AppData\\Roaming"},
      {"LOCALAPPDATA", "\\AppData\\Local"},
      {"TEMP", "\\AppData\\Local\\Temp"},
      {"TMP", "\\AppData\\Local\\Temp"},
  };
  bool user_name = same_name(name, "USERNAME"), home_path = same_name(name, "HOMEPATH");
  for (const auto& u : per_user) {
    if (!user_name && !home_path && !same_name(name, u[0])) continue;
    std::string profile = profile_folder();
    if (user_name) value = profile.substr(profile.rfind('\\') + 1);
    else if (home_path) value = profile.size() > 2 && profile[1] == ':' ? profile.substr(2) : profile;
    else value = profile + u[1];
    return true;
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
  }
  // The program's single-byte code page, as the "A" call gives it.
  if (found) v = utf8_to_cp1252(v);
  else found = process::wine_default(name, v);
  if (!found) return 0;
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
