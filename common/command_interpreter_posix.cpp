// Command lines on Linux: a small interpreter built into the program for the
// command forms it issues, behaving as cmd.exe does for them.
//
// Supported: DIR with /AD (or /A:D), /B and /S (/S only with /B) and one
// folder, file or pattern; MOVE of one file or folder; MKDIR (MD) of one
// folder, with the folders above it; CD (CHDIR) with /D; chcp; "&" between
// commands; ">" to a file or NUL; double quotes around arguments; "^" outside
// quotes; %NAME% expansion as cmd.exe does it on a command line (also inside
// quotes). Paths are Windows paths, mapped into the Wine prefix by the host
// seam. A command line is parsed completely before any of it runs: a line
// holding a form outside this set runs nothing and fails with a message that
// names the form (exit status 1, command status 1); so does naming one of
// cmd.exe's other internal commands. Any other command name (a program's
// included: none is ever started) gives cmd.exe's message for an unknown
// command and exit status 9009.
//
// Output mirrors cmd.exe (en-US): DIR lists names in the order Windows file
// systems keep them (ordinal order after ASCII upper-casing, "." and ".."
// first), bare names with /B, full names with /B /S, the "<DIR>" column
// otherwise. Lines end with a line feed, which is what a text-mode read of
// cmd.exe's output gives on Windows. CD changes the folder for the rest of
// its own command line only.
#include "common/command_interpreter.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/codepage.h"
#include "common/command_line_posix.h"
#include "common/platform.h"
#include "common/platform_posix.h"

namespace command_interpreter {

// ---------------------------------------------------------------- helpers

// Order of names in a Windows folder listing: ordinal after ASCII
// upper-casing, byte values compared unsigned. Takes the upper-cased names.
static bool listing_less_upper(const std::string& ua, const std::string& ub) {
  return std::lexicographical_compare(ua.begin(), ua.end(), ub.begin(), ub.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

// Wildcard match as the file system does it: "*" any run of characters, "?"
// one character, letters without regard to case; "*.*" matches every name.
static bool wild_match(std::string_view pat, std::string_view name) {
  if (pat == "*" || pat == "*.*") return true;
  std::size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
  while (n < name.size()) {
    if (p < pat.size() && (pat[p] == '?' || upper(pat[p]) == upper(name[n]))) {
      ++p;
      ++n;
    } else if (p < pat.size() && pat[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pat.size() && pat[p] == '*') ++p;
  return p == pat.size();
}

// A line of output, to the redirection target or to standard output.
struct Output {
  std::FILE* f = nullptr;  // nullptr: standard output
  bool discard = false;    // > NUL
  void line(std::string_view s) {
    if (discard) return;
    std::FILE* o = f ? f : stdout;
    std::fwrite(s.data(), 1, s.size(), o);
    std::fputc('\n', o);
  }
};

static void error_line(std::string_view s) {
  std::fflush(stdout);
  std::fwrite(s.data(), 1, s.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

static std::string host(const WinPath& p) { return host_path(p.str()); }

static bool is_dir(const WinPath& p) { return folder_exists(p.str()); }
static bool exists(const WinPath& p) { return path_exists(p.str()); }

// The Windows name of the process's current folder: the drive whose folder in
// the Wine prefix holds it most closely (as Wine names it), else the root's.
static WinPath current_folder() {
  WinPath out;
  char buf[4096];
  if (!getcwd(buf, sizeof buf)) return out;
  std::string cwd = buf;
  std::string best_root = "/";
  // Outside every drive: Z: when it is the root, else Wine's host name.
  char best_drive = platform_posix::z_drive_is_root() ? 'Z' : kHostDrive;
  std::string dosdev = platform_posix::wine_prefix() + "/dosdevices/";
  for (char d = 'a'; d <= 'z'; ++d) {
    std::string link = dosdev + d + ":";
    char real[4096];
    if (!realpath(link.c_str(), real)) {
      if (d == 'c') {
        std::string drive_c = platform_posix::wine_prefix() + "/drive_c";
        if (!realpath(drive_c.c_str(), real)) continue;
      } else {
        continue;
      }
    }
    std::string root = real;
    bool inside = root == "/" || cwd == root || (cwd.size() > root.size() && cwd.compare(0, root.size(), root) == 0 && cwd[root.size()] == '/');
    if (inside && (root.size() > best_root.size() || (root.size() == best_root.size() && best_drive == 'Z' && root != "/"))) {
      best_root = root;
      best_drive = upper(d);
    }
  }
  out.drive = best_drive;
  std::string rest = best_root == "/" ? cwd.substr(1) : cwd.substr(std::min(cwd.size(), best_root.size() + 1));
  std::size_t i = 0;
  while (i < rest.size()) {
    std::size_t j = rest.find('/', i);
    if (j == std::string::npos) j = rest.size();
    if (j > i) out.parts.push_back(utf8_to_cp1252(rest.substr(i, j - i)));
    i = j + 1;
  }
  return out;
}

// ---------------------------------------------------------------- commands

struct State {
  WinPath cur;  // current folder of this command line
  Output out;
};

namespace state {
int code_page = 437;  // what chcp reports; nothing else depends on it here
}

static const char* const not_found_path = "The system cannot find the path specified.";
static const char* const syntax_error = "The syntax of the command is incorrect.";

static std::string group_thousands(unsigned long long v) {
  std::string s = std::to_string(v);
  for (int i = static_cast<int>(s.size()) - 3; i > 0; i -= 3) s.insert(static_cast<std::size_t>(i), ",");
  return s;
}

struct Entry {
  std::string name;       // in the program's code page
  std::string host_name;  // as the file system keeps it
  bool dir = false;
  unsigned long long size = 0;
  std::time_t mtime = 0;
};

// The entries of the host folder `h`, in listing order, "." and ".." first
// (unless `root`, a drive's root). Sizes and times only with `details`:
// otherwise the folder's own record of each entry's type tells folders from
// files, and only links and entries of unknown type are looked at. With
// `seen`, a folder whose device and inode are in it already is not read
// again (false), and it goes in. Returns false when it cannot be read.
static bool read_folder(const std::string& h, bool root, bool details, std::vector<Entry>& entries,
                        std::set<std::pair<dev_t, ino_t>>* seen = nullptr) {
  DIR* d = opendir(h.c_str());
  if (!d) return false;
  struct stat self;
  bool have_self = fstat(dirfd(d), &self) == 0;
  if (seen != nullptr && (!have_self || !seen->insert({self.st_dev, self.st_ino}).second)) {
    closedir(d);
    return false;
  }
  // In a folder that cannot be searched every look at an entry fails: each
  // entry is tried, and skipped as a dangling link is.
  bool searchable = faccessat(dirfd(d), ".", X_OK, AT_EACCESS) == 0;
  // Entries with their listing key: the name upper-cased.
  std::vector<std::pair<std::string, Entry>> list;
  while (dirent* e = readdir(d)) {
    std::string n = e->d_name;
    if (n == "." || n == "..") continue;
    Entry en;
    if (details || !searchable || (e->d_type != DT_DIR && e->d_type != DT_REG)) {
      struct stat st;
      if (stat((h + "/" + n).c_str(), &st) != 0) continue;  // a dangling link
      en.dir = S_ISDIR(st.st_mode);
      en.size = static_cast<unsigned long long>(st.st_size);
      en.mtime = st.st_mtime;
    } else {
      en.dir = e->d_type == DT_DIR;
    }
    en.name = utf8_to_cp1252(n);  // the program's code page, as host_path takes it back
    en.host_name = std::move(n);
    std::string key = upper(en.name);
    list.emplace_back(std::move(key), std::move(en));
  }
  closedir(d);
  std::sort(list.begin(), list.end(), [](const auto& a, const auto& b) { return listing_less_upper(a.first, b.first); });
  entries.clear();
  if (!root) {
    std::time_t t = details && have_self ? self.st_mtime : 0;
    entries.push_back({".", ".", true, 0, t});
    entries.push_back({"..", "..", true, 0, t});
  }
  for (auto& [key, en] : list) entries.push_back(std::move(en));
  return true;
}

static std::string listing_line(const Entry& e) {
  char date[64];
  std::tm tmv{};
  localtime_r(&e.mtime, &tmv);
  std::strftime(date, sizeof date, "%m/%d/%Y  %I:%M %p", &tmv);
  char line[128];
  if (e.dir) std::snprintf(line, sizeof line, "%s    <DIR>          ", date);
  else std::snprintf(line, sizeof line, "%s %17s ", date, group_thousands(e.size).c_str());
  return line + e.name;
}

static int cmd_dir(State& st, const Args& a) {
  bool only_dirs = false, bare = false, sub = false;
  for (const std::string& s : a.switches) {
    if (s == "AD" || s == "A:D") only_dirs = true;
    else if (s == "B") bare = true;
    else if (s == "S") sub = true;
  }

  // The folder listed and the pattern its names must match.
  WinPath folder = st.cur;
  std::string pattern = "*";
  if (!a.operands.empty()) {
    const std::string& arg = a.operands[0];
    WinPath p;
    std::string why;
    resolve(st.cur, arg, p, why);
    bool trailing = !arg.empty() && arg.back() == '\\';
    if (trailing || p.is_root() || (!has_wildcard(p.parts.back()) && is_dir(p))) {
      folder = p;
    } else {
      pattern = p.parts.back();
      folder = p.parent();
    }
  }
  auto matches = [&](const Entry& e) { return (!only_dirs || e.dir) && wild_match(pattern, e.name); };

  if (bare && sub) {
    // Full names, folder by folder: the matches of a folder, then each of its
    // sub-folders in listing order. A folder already visited (through a link)
    // is not entered again.
    int found = 0;
    std::set<std::pair<dev_t, ino_t>> seen;
    // `h` is the host folder of `f`.
    auto walk = [&](auto&& self, const WinPath& f, const std::string& h) -> void {
      std::vector<Entry> entries;
      if (!read_folder(h, f.is_root(), false, entries, &seen)) return;
      std::string prefix = f.str();
      if (prefix.back() != '\\') prefix += '\\';
      for (const Entry& e : entries) {
        if (e.name == "." || e.name == ".." || !matches(e)) continue;
        st.out.line(prefix + e.name);
        ++found;
      }
      for (const Entry& e : entries) {
        if (!e.dir || e.name == "." || e.name == "..") continue;
        WinPath sub = f.child(e.name);
        // A name the program's code page holds maps back to itself; one it
        // does not is mapped from its program name, as for any other path.
        bool same = cp1252_to_utf8(e.name) == e.host_name;
        self(self, sub, same ? (h == "/" ? "/" : h + "/") + e.host_name : host(sub));
      }
    };
    if (is_dir(folder)) walk(walk, folder, host(folder));
    if (found == 0) {
      error_line("File Not Found");
      return 1;
    }
    return 0;
  }

  std::vector<Entry> entries;
  bool readable = is_dir(folder) && read_folder(host(folder), folder.is_root(), !bare, entries);
  if (bare) {
    int found = 0;
    if (readable) {
      for (const Entry& e : entries) {
        if (e.name == "." || e.name == ".." || !matches(e)) continue;  // /B never lists "." and ".."
        st.out.line(e.name);
        ++found;
      }
    }
    if (found == 0) {
      error_line("File Not Found");
      return 1;
    }
    return 0;
  }

  std::string drive(1, folder.drive);
  st.out.line(" Volume in drive " + drive + " has no label.");
  std::string serial = "0000-0000";
  struct statvfs vfs;
  bool have_vfs = readable && statvfs(host(folder).c_str(), &vfs) == 0;
  if (have_vfs) {
    char s[16];
    unsigned long id = static_cast<unsigned long>(vfs.f_fsid) & 0xFFFFFFFFUL;
    std::snprintf(s, sizeof s, "%04lX-%04lX", (id >> 16) & 0xFFFF, id & 0xFFFF);
    serial = s;
  }
  st.out.line(" Volume Serial Number is " + serial);
  st.out.line("");
  st.out.line(" Directory of " + folder.str());
  st.out.line("");
  int files = 0, dirs = 0;
  unsigned long long bytes = 0;
  for (const Entry& e : entries) {
    if (!matches(e)) continue;
    st.out.line(listing_line(e));
    if (e.dir) {
      ++dirs;
    } else {
      ++files;
      bytes += e.size;
    }
  }
  if (files + dirs == 0) {
    error_line("File Not Found");
    return 1;
  }
  char l1[96], l2[96];
  std::snprintf(l1, sizeof l1, "%16d File(s) %14s bytes", files, group_thousands(bytes).c_str());
  unsigned long long avail = have_vfs ? static_cast<unsigned long long>(vfs.f_bavail) * vfs.f_frsize : 0;
  std::snprintf(l2, sizeof l2, "%16d Dir(s) %15s bytes free", dirs, group_thousands(avail).c_str());
  st.out.line(l1);
  st.out.line(l2);
  return 0;
}

static int cmd_mkdir(State& st, const Args& a) {
  if (a.operands.empty()) {
    error_line(syntax_error);
    return 1;
  }
  WinPath p;
  std::string why;
  resolve(st.cur, a.operands[0], p, why);
  if (exists(p)) {
    error_line("A subdirectory or file " + a.operands[0] + " already exists.");
    return 1;
  }
  // Every missing folder down to the last one, as cmd.exe's MKDIR does.
  WinPath step;
  step.drive = p.drive;
  for (const std::string& part : p.parts) {
    step.parts.push_back(part);
    if (is_dir(step)) continue;
    if (exists(step) || ::mkdir(host(step).c_str(), 0777) != 0) {
      error_line(errno == EACCES || errno == EPERM || exists(step) ? "Access is denied." : not_found_path);
      return 1;
    }
    platform_posix::host_files_changed();
  }
  return 0;
}

static int cmd_cd(State& st, const Args& a) {
  bool drive_too = !a.switches.empty();  // only /D passes the checks
  // CD takes the rest of its command as one folder name, blanks included.
  std::string arg;
  const std::string& r = a.rest;
  std::size_t i = 0;
  for (;;) {
    while (i < r.size() && is_delim(r[i])) ++i;
    if (i + 1 < r.size() && r[i] == '/' && upper(r[i + 1]) == 'D') {
      i += 2;
      continue;
    }
    break;
  }
  for (; i < r.size(); ++i)
    if (r[i] != '"') arg += r[i];
  while (!arg.empty() && (arg.back() == ' ' || arg.back() == '\t')) arg.pop_back();
  if (arg.empty()) {
    st.out.line(st.cur.str());
    return 0;
  }
  WinPath p;
  std::string why;
  resolve(st.cur, arg, p, why);
  if (!is_dir(p)) {
    error_line(not_found_path);
    return 1;
  }
  // Without /D, another drive's current folder changes but the current
  // drive stays; this line keeps no other drive's folder.
  if (p.drive == st.cur.drive || drive_too) st.cur = p;
  return 0;
}

static int cmd_chcp(State& st, const Args& a) {
  if (!a.operands.empty()) {
    static const int known[] = {437, 737, 775, 850, 852, 855, 857, 858, 862, 866, 874, 932, 936, 949, 950,
                                1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 65001};
    const std::string& s = a.operands[0];
    bool digits = !s.empty() && s.size() < 6 && s.find_first_not_of("0123456789") == std::string::npos;
    int cp = digits ? std::atoi(s.c_str()) : 0;
    if (std::find(std::begin(known), std::end(known), cp) == std::end(known)) {
      error_line("Invalid code page");
      return 1;
    }
    state::code_page = cp;
  }
  st.out.line("Active code page: " + std::to_string(state::code_page));
  return 0;
}

// The last part of a host path.
static std::string base_name(const std::string& h) {
  std::size_t s = h.find_last_of('/');
  return s == std::string::npos ? h : h.substr(s + 1);
}

// The rename for file systems that cannot refuse to replace (FUSE ones such
// as ntfs-3g, NFS): the target name is first taken by an exclusive create of
// an empty folder (or file) of the source's kind, which fails when anything
// has that name; the rename then replaces only that placeholder of ours, so a
// folder that appears there meanwhile is never replaced. When the rename
// fails, the placeholder goes again.
static int rename_into_placeholder(const std::string& hs, const std::string& ht, bool dir) {
  if (dir) {
    if (::mkdir(ht.c_str(), 0700) != 0) return -1;
  } else {
    int fd = ::open(ht.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    ::close(fd);
  }
  if (std::rename(hs.c_str(), ht.c_str()) == 0) return 0;
  int e = errno;
  if (dir) ::rmdir(ht.c_str());
  else ::unlink(ht.c_str());
  errno = e;
  return -1;
}

static int cmd_move(State& st, const Args& a) {
  if (a.operands.size() < 2) {
    error_line(syntax_error);
    return 1;
  }
  const std::string& dst_arg = a.operands[1];
  WinPath src, dst;
  std::string why;
  resolve(st.cur, a.operands[0], src, why);
  resolve(st.cur, dst_arg, dst, why);
  if (src.is_root() || !exists(src)) {
    error_line("The system cannot find the file specified.");
    return 1;
  }
  bool src_dir = is_dir(src);
  std::string hs = host(src);
  WinPath target = dst;
  if (is_dir(dst)) {
    // Into the folder, under the name the source has on the disk.
    target = dst.child(utf8_to_cp1252(base_name(hs)));
  } else if (exists(dst)) {
    // An existing file: cmd.exe would ask whether to overwrite it; nothing
    // is overwritten here.
    error_line(src_dir ? "Access is denied." : "The file " + dst.str() + " exists and is not overwritten.");
    return 1;
  } else if ((!dst_arg.empty() && dst_arg.back() == '\\') || dst.is_root() || !is_dir(dst.parent())) {
    // A target written as a folder ("...\") must exist: the source is never
    // renamed to that folder's name instead.
    error_line(not_found_path);
    return 1;
  }
  // Into a folder the source keeps its name as the disk holds it (bytes
  // that are not UTF-8 included), not as the code page gives it back.
  std::string ht = is_dir(dst) ? host(dst) + "/" + base_name(hs) : host(target);
  // A folder is never moved below itself.
  if (src_dir && (ht == hs || (ht.size() > hs.size() && ht.compare(0, hs.size(), hs) == 0 && ht[hs.size()] == '/'))) {
    error_line("The process cannot access the file because it is being used by another process.");
    return 1;
  }
  if (exists(target)) {
    error_line("Cannot create a file when that file already exists.");
    return 1;
  }
  // One rename: the folder arrives whole or not at all, and never replaces
  // an existing name (an empty folder there included).
  int r = renameat2(AT_FDCWD, hs.c_str(), AT_FDCWD, ht.c_str(), RENAME_NOREPLACE);
  if (r != 0 && (errno == EINVAL || errno == ENOSYS)) r = rename_into_placeholder(hs, ht, src_dir);
  if (r == 0) platform_posix::host_files_changed();
  if (r != 0) {
    int e = errno;
    if (e == EXDEV) error_line("The system cannot move the file to a different disk drive.");
    else if (e == EEXIST || e == ENOTEMPTY) error_line("Cannot create a file when that file already exists.");
    else if (e == ENOENT || e == ENOTDIR) error_line(not_found_path);
    else error_line("Access is denied.");
    return 1;
  }
  st.out.line(src_dir ? "        1 dir(s) moved." : "        1 file(s) moved.");
  return 0;
}

}  // namespace command_interpreter

void run_command(std::string_view line_in, int& exitstat, int& cmdstat) {
  using namespace command_interpreter;
  ParsedLine parsed = parse_command_line(line_in);
  if (parsed.refused) {
    error_line("run_command: not supported by the built-in command interpreter: " + parsed.why + ": " +
               std::string(line_in));
    exitstat = 1;
    cmdstat = 1;
    return;
  }
  const std::vector<Command>& cmds = parsed.commands;
  const std::vector<Args>& args = parsed.args;

  State st;
  st.cur = current_folder();
  std::fflush(stdout);
  int status = 0;
  for (std::size_t k = 0; k < cmds.size(); ++k) {
    const Command& c = cmds[k];
    const Args& a = args[k];
    if (a.name.empty()) continue;  // a blank line does nothing
    st.out = Output{};
    if (c.redirect) {
      // The target is opened (and emptied) before the command runs, as
      // cmd.exe does; when it cannot be, the command does not run.
      if (c.target.empty()) {
        error_line(syntax_error);
        status = 1;
        continue;
      }
      if (same_name(c.target, "NUL") || same_name(c.target, "NUL:")) {
        st.out.discard = true;
      } else {
        WinPath p;
        std::string why;
        resolve(st.cur, c.target, p, why);
        st.out.f = is_dir(p) ? nullptr : open_file(p.str(), "wb");
        if (!st.out.f) {
          error_line(is_dir(p) ? "Access is denied." : not_found_path);
          status = 1;
          continue;
        }
      }
    }
    if (a.name == "DIR") {
      status = cmd_dir(st, a);
    } else if (a.name == "MKDIR" || a.name == "MD") {
      status = cmd_mkdir(st, a);
    } else if (a.name == "CD" || a.name == "CHDIR") {
      status = cmd_cd(st, a);
    } else if (a.name == "CHCP") {
      status = cmd_chcp(st, a);
    } else if (a.name == "MOVE") {
      status = cmd_move(st, a);
    } else {
      std::string word = c.text.substr(c.text.find_first_not_of(" \t,;=@"));
      word = word.substr(0, word.find_first_of(" \t"));
      error_line("'" + word + "' is not recognized as an internal or external command,");
      error_line("operable program or batch file.");
      status = 9009;
    }
    if (st.out.f) std::fclose(st.out.f);
    std::fflush(stdout);
  }
  exitstat = status;
  cmdstat = 0;
}

std::string command_output_text(std::string_view bytes) { return std::string(bytes); }
