// Host seam on Linux: program paths are Windows paths of the simulator's Wine
// prefix; the console is the terminal the program was started from.
#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/codepage.h"
#include "common/field.h"
#include "common/platform.h"
#include "common/platform_posix.h"

namespace platform_posix {

std::string g_program_name;

// Case folding as Wine matches names: ASCII and the Latin-1 letters.
unsigned fold(unsigned cp) {
  if (cp >= 'A' && cp <= 'Z') return cp + 32;
  if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 32;
  return cp;
}

// A name folded as Wine matches names: two names match without regard to
// case exactly when their folded forms are equal.
std::u32string folded(std::string_view name) {
  std::u32string out;
  for (std::size_t i = 0; i < name.size();) out.push_back(static_cast<char32_t>(fold(next_utf8_code_point(name, i))));
  return out;
}

bool host_stat(const std::string& p, struct stat& st) { return ::stat(p.c_str(), &st) == 0; }

bool host_lexists(const std::string& p) {
  struct stat st;
  return ::lstat(p.c_str(), &st) == 0;
}

// What the path mapping keeps during a folder scan (begin_folder_scan): the
// host folders of the drives, and the names of each folder it searched for a
// name in another case. Nothing is kept outside a scan, so that changes made
// by others between two calls are always seen; during one, the program's own
// creations, moves and deletions drop it all.
namespace scan {
// The entries of a folder by folded name: the first in byte order of those
// that fold alike.
using FolderNames = std::unordered_map<std::u32string, std::string>;

int depth = 0;
std::string prefix;  // the Wine prefix the drives' folders belong to
std::array<std::optional<std::string>, 26> drive_roots;
std::unordered_map<std::string, FolderNames> folders;

void forget() {
  drive_roots = {};
  folders.clear();
}
}  // namespace scan

std::string g_chosen_prefix;

std::string home_folder() {
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') {
    struct passwd* pw = ::getpwuid(::getuid());
    home = pw != nullptr ? pw->pw_dir : "";
  }
  return home;
}

std::string wine_prefix() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix != nullptr && *prefix != '\0') return prefix;
  if (!g_chosen_prefix.empty()) return g_chosen_prefix;
  return home_folder() + "/.wine";
}

void set_chosen_prefix(std::string prefix) { g_chosen_prefix = std::move(prefix); }

bool z_drive_is_root() {
  std::string link = wine_prefix() + "/dosdevices/z:";
  if (!host_lexists(link)) return true;
  char* real = ::realpath(link.c_str(), nullptr);
  bool root = real != nullptr && std::strcmp(real, "/") == 0;
  std::free(real);
  return root;
}

// Wine's name of the host's root folder, for host folders outside every drive.
const char* const kHostRoot = "\\\\?\\unix";

// The host folder of a drive, without a trailing slash ("" for the root).
std::string resolve_drive_root(std::string prefix, char letter) {
  while (prefix.size() > 1 && prefix.back() == '/') prefix.pop_back();
  std::string link = prefix + "/dosdevices/" + letter + ":";
  std::string root;
  if (host_lexists(link)) {
    char* real = ::realpath(link.c_str(), nullptr);
    root = real != nullptr ? std::string(real) : link;
    std::free(real);
  } else if (letter == 'c') {
    root = prefix + "/drive_c";
  } else if (letter == 'z') {
    root = "";
  } else {
    root = link;  // no such drive: every access fails, as on Windows
  }
  while (!root.empty() && root.back() == '/') root.pop_back();
  return root;
}

// The host folder of drive `letter` (lower case), kept during a scan.
std::string drive_root(char letter) {
  std::string prefix = wine_prefix();
  if (scan::depth == 0 || letter < 'a' || letter > 'z') return resolve_drive_root(prefix, letter);
  if (prefix != scan::prefix) {
    scan::forget();
    scan::prefix = prefix;
  }
  std::optional<std::string>& root = scan::drive_roots[static_cast<std::size_t>(letter - 'a')];
  if (!root) root = resolve_drive_root(prefix, letter);
  return *root;
}

// The entries of the folder `dir` by folded name.
scan::FolderNames folder_names(const std::string& dir) {
  scan::FolderNames names;
  DIR* d = ::opendir(dir.empty() ? "/" : dir.c_str());
  if (d == nullptr) return names;
  while (struct dirent* e = ::readdir(d)) {
    std::string entry(e->d_name);
    auto [it, added] = names.try_emplace(folded(entry), entry);
    if (!added && entry < it->second) it->second = entry;
  }
  ::closedir(d);
  return names;
}

// The entry of `dir` whose name matches `name` without regard to case; the
// first in byte order when several do. Empty when none does. A scan reads
// each folder once.
std::string find_ignoring_case(const std::string& dir, const std::string& name) {
  if (scan::depth == 0) {
    scan::FolderNames names = folder_names(dir);
    auto it = names.find(folded(name));
    return it == names.end() ? std::string() : it->second;
  }
  auto kept = scan::folders.find(dir);
  if (kept == scan::folders.end()) kept = scan::folders.emplace(dir, folder_names(dir)).first;
  auto it = kept->second.find(folded(name));
  return it == kept->second.end() ? std::string() : it->second;
}

// The host path of a program path (see host_path). With `st`, `exists`
// tells whether it exists, links followed, and `st` receives its status.
// A path that exists as written costs one look at the file system; a name
// missing from an existing folder two, and a read of that folder.
std::string map_path(std::string_view path, struct stat* st, bool* exists) {
  if (exists != nullptr) *exists = false;
  // Windows drops the trailing blanks of a name, so a blank-padded field names
  // the same file on both builds.
  std::string p = cp1252_to_utf8(trim_right(path));
  std::replace(p.begin(), p.end(), '\\', '/');
  if (p.empty()) return p;

  // Where the walk starts: a drive's folder, the root, or the current folder.
  std::string out;   // the host path of the start
  std::string look;  // the folder the first name is looked up in
  std::size_t i = 0;
  if (std::size_t n = host_root_length(p); n > 0) {
    // A host folder, named as Wine names one outside every drive.
    out = "/";
    look = "/";
    i = n;
  } else if (p.size() >= 2 && p[1] == ':' && std::isalpha(static_cast<unsigned char>(p[0]))) {
    out = drive_root(static_cast<char>(std::tolower(static_cast<unsigned char>(p[0]))));
    look = out.empty() ? "/" : out;
    i = 2;
    if (i == p.size()) {
      std::string root = out.empty() ? "/" : out;
      if (st != nullptr) *exists = host_stat(root, *st);
      return root;
    }
    out.push_back('/');
  } else if (p[0] == '/') {
    out = "/";
    look = "/";
  } else {
    look = ".";
  }
  bool trailing = p.back() == '/';
  std::vector<std::string> names;  // doubled or leading separators give none
  for (std::size_t j; i < p.size(); i = j + 1) {
    j = p.find('/', i);
    if (j == std::string::npos) j = p.size();
    if (j > i) names.push_back(p.substr(i, j - i));
  }
  // The start and the first `count` names; a trailing separator is kept.
  auto joined = [&](std::size_t count, bool slash) {
    std::string s = out;
    for (std::size_t k = 0; k < count; ++k) {
      if (!s.empty() && s.back() != '/') s.push_back('/');
      s += names[k];
    }
    if (slash && !s.empty() && s.back() != '/') s.push_back('/');
    return s;
  };
  auto child = [](const std::string& dir, const std::string& name) { return (dir == "/" ? "/" : dir + "/") + name; };

  // Most paths exist as they are written.
  std::string direct = joined(names.size(), trailing);
  struct stat lst;
  if (::lstat(direct.c_str(), &lst) == 0) {
    if (st != nullptr) {
      *st = lst;
      *exists = !S_ISLNK(lst.st_mode) || host_stat(direct, *st);
    }
    return direct;
  }

  // Otherwise the names are matched one by one, from the last folder that
  // exists as written when that is the one the last name belongs in.
  std::size_t first = 0;
  if (names.size() > 1) {
    std::string parent = joined(names.size() - 1, false);
    if (host_lexists(parent)) {
      first = names.size() - 1;
      look = parent;
    }
  }
  bool matching = true;  // false once a folder on the way does not exist
  for (std::size_t k = first; k < names.size(); ++k) {
    std::string& name = names[k];
    // The last name, right after the start, was looked at as written already.
    bool known_missing = k == first && k + 1 == names.size() && !trailing;
    if (matching && name != "." && name != ".." && (known_missing || !host_lexists(child(look, name)))) {
      std::string found = find_ignoring_case(look, name);
      if (found.empty()) {
        matching = false;
      } else {
        name = found;
      }
    }
    look = child(look, name);
  }
  std::string mapped = joined(names.size(), trailing);
  // What was looked at as written and not found does not exist.
  if (st != nullptr && mapped != direct) *exists = host_stat(mapped, *st);
  return mapped;
}

}  // namespace platform_posix

using namespace platform_posix;

std::string host_path(std::string_view path) { return map_path(path, nullptr, nullptr); }

std::string program_path_from_host(std::string_view host) {
  std::string abs;
  if (!host.empty() && host[0] == '/') {
    abs = std::string(host);
  } else {
    char* cwd = ::getcwd(nullptr, 0);
    abs = std::string(cwd != nullptr ? cwd : "/") + "/" + std::string(host);
    std::free(cwd);
  }
  // Lexical clean-up: "." and empty names dropped, ".." goes up.
  std::vector<std::string> names;
  std::size_t i = 0;
  while (i <= abs.size()) {
    std::size_t j = abs.find('/', i);
    if (j == std::string::npos) j = abs.size();
    std::string name = abs.substr(i, j - i);
    i = j + 1;
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      if (!names.empty()) names.pop_back();
      continue;
    }
    names.push_back(name);
  }
  // Z: when the prefix maps it to the root, as Wine's default prefix does;
  // otherwise Wine's name for a host folder, which needs no drive at all.
  std::string out = z_drive_is_root() ? "Z:" : kHostRoot;
  for (const std::string& n : names) out += "\\" + n;
  if (names.empty() || (!host.empty() && host.back() == '/')) out += "\\";
  return utf8_to_cp1252(out);
}

namespace platform_posix {

using Names = std::vector<std::string>;

Names split_names(std::string_view path) {
  Names names;
  std::size_t i = 0;
  while (i <= path.size()) {
    std::size_t j = path.find('/', i);
    if (j == std::string_view::npos) j = path.size();
    if (j > i) names.emplace_back(path.substr(i, j - i));
    i = j + 1;
  }
  return names;
}

std::string join_names(const Names& names, std::size_t count) {
  std::string out;
  for (std::size_t k = 0; k < count; ++k) out += "/" + names[k];
  return out.empty() ? "/" : out;
}

// The names of the absolute, lexically cleaned form of `host`, with the
// links of its longest existing part resolved (what is left of it may not
// exist yet: a file about to be saved).
Names resolved_names(std::string_view host) {
  std::string abs;
  if (!host.empty() && host[0] == '/') {
    abs = std::string(host);
  } else {
    char* cwd = ::getcwd(nullptr, 0);
    abs = std::string(cwd != nullptr ? cwd : "/") + "/" + std::string(host);
    std::free(cwd);
  }
  Names names;
  for (std::string& n : split_names(abs)) {
    if (n == ".") continue;
    if (n == "..") {
      if (!names.empty()) names.pop_back();
      continue;
    }
    names.push_back(std::move(n));
  }
  for (std::size_t k = names.size();; --k) {
    char* real = ::realpath(join_names(names, k).c_str(), nullptr);
    if (real != nullptr) {
      Names out = split_names(real);
      std::free(real);
      out.insert(out.end(), names.begin() + static_cast<std::ptrdiff_t>(k), names.end());
      return out;
    }
    if (k == 0) return names;
  }
}

// The resolved names of an existing folder; false when it does not exist.
bool resolved_folder(const std::string& path, Names& names) {
  struct stat st;
  if (!host_stat(path, st) || !S_ISDIR(st.st_mode)) return false;
  names = resolved_names(path);
  return true;
}

bool starts_with(const Names& path, const Names& root) {
  return root.size() <= path.size() && std::equal(root.begin(), root.end(), path.begin());
}

}  // namespace platform_posix

std::string platform_posix::drive_path_from_host_utf8(std::string_view host) {
  const Names path = resolved_names(host);
  std::string prefix = wine_prefix();
  const std::string devices = prefix + "/dosdevices/";

  char letter = 0;
  std::size_t depth = 0;  // names of the chosen drive's root
  Names root;
  // C: first: the prefix's drive_c, or where its c: link leads.
  for (const std::string& c : {prefix + "/drive_c", devices + "c:"}) {
    if (resolved_folder(c, root) && starts_with(path, root) && (letter == 0 || root.size() > depth)) {
      letter = 'c';
      depth = root.size();
    }
  }
  // Otherwise the drive leading to the deepest folder that holds the path;
  // a link to the root ("anything") leaves it to Z:.
  if (letter == 0) {
    std::vector<std::string> drives;
    if (DIR* d = ::opendir(devices.c_str())) {
      while (struct dirent* e = ::readdir(d)) {
        const char* n = e->d_name;
        if (std::isalpha(static_cast<unsigned char>(n[0])) && n[1] == ':' && n[2] == '\0') drives.emplace_back(n);
      }
      ::closedir(d);
    }
    std::sort(drives.begin(), drives.end());
    for (const std::string& drive : drives) {
      if (resolved_folder(devices + drive, root) && !root.empty() && starts_with(path, root) &&
          root.size() > depth) {
        letter = static_cast<char>(std::tolower(static_cast<unsigned char>(drive[0])));
        depth = root.size();
      }
    }
  }
  std::string out;
  if (letter == 0 && !z_drive_is_root()) {
    out = kHostRoot;  // no drive leads there: Wine's name for a host folder
  } else {
    if (letter == 0) letter = 'z';
    out = {static_cast<char>(std::toupper(static_cast<unsigned char>(letter))), ':'};
  }
  for (std::size_t k = depth; k < path.size(); ++k) out += "\\" + path[k];
  if (path.size() == depth || (!host.empty() && host.back() == '/')) out += "\\";
  return out;
}

std::string drive_path_from_host(std::string_view host) {
  return utf8_to_cp1252(platform_posix::drive_path_from_host_utf8(host));
}

namespace platform_posix {
// The status of what a program path names, links followed; false when it
// does not exist.
bool stat_path(std::string_view path, struct stat& st) {
  bool exists = false;
  map_path(path, &st, &exists);
  return exists;
}

void host_files_changed() {
  int saved = errno;  // callers report the failure of what they did
  if (scan::depth > 0) scan::forget();
  errno = saved;
}
}  // namespace platform_posix

bool file_exists(std::string_view path) {
  struct stat st;
  return stat_path(path, st) && !S_ISDIR(st.st_mode);
}

bool folder_exists(std::string_view path) {
  struct stat st;
  return stat_path(path, st) && S_ISDIR(st.st_mode);
}

bool path_exists(std::string_view path) {
  struct stat st;
  return stat_path(path, st);
}

std::int64_t file_mtime(std::string_view path) {
  struct stat st;
  if (!stat_path(path, st)) return -1;
  return static_cast<std::int64_t>(st.st_mtime);
}

std::FILE* open_file(std::string_view path, const char* mode) {
  std::string h = host_path(path);
  // Writing to a file that is not there yet creates it.
  bool creates = scan::depth > 0 && std::strpbrk(mode, "wa") != nullptr && !host_lexists(h);
  std::FILE* f = std::fopen(h.c_str(), mode);
  if (creates && f != nullptr) host_files_changed();
  return f;
}

int remove_path(std::string_view path) {
  if (::unlink(host_path(path).c_str()) != 0) return errno;
  host_files_changed();
  return 0;
}

void begin_folder_scan() { ++scan::depth; }

void end_folder_scan() {
  if (scan::depth > 0 && --scan::depth == 0) scan::forget();
}

void set_program_name(const char* argv0) { g_program_name = argv0 != nullptr ? argv0 : ""; }

const std::string& program_name() { return g_program_name; }

namespace platform_posix {
// The controlling terminal of a process (field 7 of /proc/<pid>/stat), 0 for none.
long terminal_of(const std::string& stat_file) {
  std::FILE* f = std::fopen(stat_file.c_str(), "r");
  if (f == nullptr) return -1;
  char buf[1024];
  std::size_t n = std::fread(buf, 1, sizeof buf - 1, f);
  std::fclose(f);
  buf[n] = '\0';
  // The command name is in parentheses and may hold anything: skip past the last ')'.
  char* p = std::strrchr(buf, ')');
  if (p == nullptr) return -1;
  char state;
  long ppid, pgrp, session, tty;
  if (std::sscanf(p + 1, " %c %ld %ld %ld %ld", &state, &ppid, &pgrp, &session, &tty) != 5) return -1;
  return tty;
}
}  // namespace platform_posix

// The processes attached to the program's terminal (its shell among them when
// it was started from a prompt); 1 without a terminal: nothing else shares it.
int console_process_count() {
  long mine = terminal_of("/proc/self/stat");
  if (mine <= 0) return 1;
  int count = 0;
  DIR* d = ::opendir("/proc");
  if (d == nullptr) return 1;
  while (struct dirent* e = ::readdir(d)) {
    if (!std::isdigit(static_cast<unsigned char>(e->d_name[0]))) continue;
    if (terminal_of(std::string("/proc/") + e->d_name + "/stat") == mine) ++count;
  }
  ::closedir(d);
  return count > 0 ? count : 1;
}

// A terminal's window belongs to the terminal program, not to us: nothing to hide.
void hide_console_window() {}

bool ui_language_is_french() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* v = std::getenv(name);
    if (v != nullptr && *v != '\0') return std::strncmp(v, "fr", 2) == 0;
  }
  return false;
}

void sleep_milliseconds(int ms) {
  if (ms <= 0) return;
  struct timespec t{ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
  while (::nanosleep(&t, &t) != 0 && errno == EINTR) {
  }
}

LocalTime local_time() {
  struct timespec now;
  ::clock_gettime(CLOCK_REALTIME, &now);
  struct tm tm;
  ::localtime_r(&now.tv_sec, &tm);
  return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                   tm.tm_min,         tm.tm_sec,     static_cast<int>(now.tv_nsec / 1000000)};
}

std::FILE* take_standard_output() {
  std::fflush(stdout);
  int results = dup(STDOUT_FILENO);
  if (results < 0) return nullptr;
  std::FILE* f = fdopen(results, "w");
  if (!f || dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
    if (f) std::fclose(f);
    else close(results);
    return nullptr;
  }
  return f;
}
