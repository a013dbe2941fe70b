// The installation generator on Linux: a Wine prefix of its own (user.reg
// written here), or an existing Wine prefix whose registry is changed with
// `wine reg`.
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "tools/condor_fixture/condor_fixture.h"
#include "tools/condor_fixture/condor_fixture_host.h"

namespace fs = std::filesystem;

namespace condor_fixture {

// Marks a user.reg written here, so that a real prefix is never overwritten.
static const char* const marker = ";; Simulator installation made by make_condor_install";

static std::string login_name() {
  const char* u = std::getenv("USER");
  if (u && *u) return u;
  if (passwd* pw = getpwuid(getuid())) return pw->pw_name;
  return "user";
}

static std::string user_of(const SimInstall& setup) { return setup.user.empty() ? login_name() : setup.user; }

static char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool env_value(const SimInstall& setup, const std::string& name, std::string& value) {
  if (const char* e = std::getenv(name.c_str())) {
    value = e;
    return true;
  }
  std::string u;
  for (char c : name) u += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  if (u == "USERPROFILE") {
    value = "C:\\users\\" + user_of(setup);
    return true;
  }
  return false;
}

bool set_mtime(const std::string& host, std::int64_t t) {
  utimbuf times{static_cast<time_t>(t), static_cast<time_t>(t)};
  return utime(host.c_str(), &times) == 0;
}

// Runs a program with the prefix in its environment; its exit status, or -1.
static int run(const SimInstall& setup, const std::vector<std::string>& args) {
  pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    setenv("WINEPREFIX", setup.prefix.c_str(), 1);
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) < 0) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Escapes a text as Wine writes it in its registry files: "\\", "\"", and
// "\x" with the UTF-16 unit for every character outside printable ASCII.
static std::string reg_escape(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    std::uint32_t cp = c;
    int n = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (n > 0 && i + static_cast<std::size_t>(n) < utf8.size()) {
      cp = c & (0x3Fu >> n);
      for (int k = 1; k <= n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3Fu);
    } else {
      n = 0;
    }
    i += static_cast<std::size_t>(n) + 1;
    char buf[16];
    if (cp == '\\' || cp == '"') {
      out += '\\';
      out += static_cast<char>(cp);
    } else if (cp >= 0x20 && cp < 0x7F) {
      out += static_cast<char>(cp);
    } else if (cp < 0x10000) {
      std::snprintf(buf, sizeof buf, "\\x%04x", static_cast<unsigned>(cp));
      out += buf;
    } else {
      cp -= 0x10000;
      std::snprintf(buf, sizeof buf, "\\x%04x\\x%04x", static_cast<unsigned>(0xD800 + (cp >> 10)), static_cast<unsigned>(0xDC00 + (cp & 0x3FF)));
      out += buf;
    }
  }
  return out;
}

std::string prepare_target(const SimInstall& setup) {
  if (setup.prefix.empty()) return "no prefix folder given";
  std::error_code ec;
  if (setup.real_wine) {
    if (!fs::exists(fs::path(setup.prefix) / "system.reg", ec)) return setup.prefix + " is not a Wine prefix (no system.reg)";
    return "";
  }
  fs::path user_reg = fs::path(setup.prefix) / "user.reg";
  if (fs::exists(user_reg, ec)) {
    std::ifstream f(user_reg);
    std::string first, second;
    std::getline(f, first);
    std::getline(f, second);
    if (second.rfind(marker, 0) != 0)
      return setup.prefix + " holds a registry not made here; use a new folder, or the Wine mode for a real prefix";
  }
  fs::create_directories(fs::path(setup.prefix) / "dosdevices", ec);
  fs::create_directories(fs::path(setup.prefix) / "drive_c" / "users" / user_of(setup), ec);
  if (ec) return "cannot make the prefix " + setup.prefix + ": " + ec.message();
  auto link = [&](const char* name, const char* target) {
    fs::path l = fs::path(setup.prefix) / "dosdevices" / name;
    std::error_code e;
    if (!fs::is_symlink(l, e)) fs::create_directory_symlink(target, l, e);
  };
  link("c:", "../drive_c");
  link("z:", "/");
  return "";
}

static std::string reg_key(int version) { return version == 2 ? "Software\\Condor2" : "Software\\Condor3"; }

static const char* const shell_folders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// `wine reg add`, tried up to three times: on a busy machine Wine now and
// then fails to start reg.exe at all ("ShellExecuteEx failed"), which says
// nothing of the registry.
static int reg_add(const SimInstall& setup, const std::string& key, const char* name, const char* type,
                   const std::string& data) {
  int r = -1;
  for (int attempt = 0; attempt < 3 && r != 0; ++attempt) {
    if (attempt > 0) usleep(200 * 1000);
    r = run(setup, {"wine", "reg", "add", key, "/v", name, "/t", type, "/d", data, "/f"});
  }
  return r;
}

std::string write_registry(const SimInstall& setup) {
  if (setup.real_wine) {
    // Through the Wine server, which keeps the registry and writes its files.
    for (int v : {2, 3}) run(setup, {"wine", "reg", "delete", "HKCU\\" + reg_key(v), "/f"});
    for (const SimVersion& v : setup.versions) {
      std::string key = "HKCU\\" + reg_key(v.version);
      if (v.registered && reg_add(setup, key, "InstallDir", "REG_SZ", install_dir_of(v)) != 0)
        return "wine reg add " + key + " InstallDir failed";
      if (!v.pilot.empty() && reg_add(setup, key, "LastPlayer", "REG_SZ", v.pilot) != 0)
        return "wine reg add " + key + " LastPlayer failed";
    }
    std::string sf = std::string("HKCU\\") + shell_folders;
    int r = setup.documents_registered
                ? reg_add(setup, sf, "Personal", "REG_EXPAND_SZ", setup.documents)
                : run(setup, {"wine", "reg", "delete", sf, "/v", "Personal", "/f"});
    if (r != 0) return "wine reg for the documents folder failed";
    return "";
  }

  std::ostringstream reg;
  reg << "WINE REGISTRY Version 2\n" << marker << "\n\n#arch=win64\n";
  for (const SimVersion& v : setup.versions) {
    if (!v.registered && v.pilot.empty()) continue;
    reg << "\n[" << reg_escape(reg_key(v.version)) << "] 1700000000\n#time=1d9f0e0c0a0b0c0\n";
    if (v.registered) reg << "\"InstallDir\"=\"" << reg_escape(install_dir_of(v)) << "\"\n";
    if (!v.pilot.empty()) reg << "\"LastPlayer\"=\"" << reg_escape(v.pilot) << "\"\n";
  }
  if (setup.user_environment)
    reg << "\n[Volatile Environment] 1700000000\n#time=1d9f0e0c0a0b0c0\n\"USERNAME\"=\"" << reg_escape(user_of(setup))
        << "\"\n\"USERPROFILE\"=\"" << reg_escape("C:\\users\\" + user_of(setup)) << "\"\n";
  reg << "\n[" << reg_escape(shell_folders) << "] 1700000000\n#time=1d9f0e0c0a0b0c0\n";
  reg << "\"Desktop\"=str(2):\"%USERPROFILE%\\\\Desktop\"\n";
  if (setup.documents_registered) reg << "\"Personal\"=str(2):\"" << reg_escape(setup.documents) << "\"\n";
  std::ofstream f(fs::path(setup.prefix) / "user.reg", std::ios::binary | std::ios::trunc);
  f << reg.str();
  f.close();
  if (!f) return "cannot write " + setup.prefix + "/user.reg";
  return "";
}

}  // namespace condor_fixture

std::string fixture_host_path(const SimInstall& setup, const std::string& win) {
  std::string rest = win;
  std::string root;
  if (win.size() >= 2 && win[1] == ':') {
    char d = condor_fixture::lower(win[0]);
    fs::path link = fs::path(setup.prefix) / "dosdevices" / (std::string(1, d) + ":");
    std::error_code ec;
    fs::path target = fs::read_symlink(link, ec);
    if (ec) {
      // A drive the prefix lacks gets a folder of its own in the prefix.
      std::string drive = "drive_" + std::string(1, d);
      fs::create_directories(fs::path(setup.prefix) / drive, ec);
      fs::create_directory_symlink("../" + drive, link, ec);
      target = "../" + drive;
    }
    root = target.is_absolute() ? target.string() : (fs::path(setup.prefix) / "dosdevices" / target).lexically_normal().string();
    rest = win.substr(2);
  }
  for (char& c : rest)
    if (c == '\\') c = '/';
  while (!root.empty() && root.back() == '/') root.pop_back();
  if (!rest.empty() && rest[0] != '/') rest = "/" + rest;
  return root + rest;
}

std::string remove_condor_registry(const SimInstall& setup) {
  if (setup.real_wine) {
    for (int v : {2, 3}) condor_fixture::run(setup, {"wine", "reg", "delete", "HKCU\\" + condor_fixture::reg_key(v), "/f"});
    return "";
  }
  SimInstall none = setup;
  none.versions.clear();
  return condor_fixture::write_registry(none);
}

