// The search for the Wine prefix that holds the simulator, on Linux.
//
// Without WINEPREFIX, the folders where players keep Wine prefixes are looked
// at in this order: ~/.wine; the Proton prefixes (steamapps/compatdata/*/pfx)
// of every Steam library, the libraries being each Steam folder's own and
// those its libraryfolders.vdf lists; Lutris's prefixes (the "prefix:" of its
// game files, and the folders under ~/Games, its default); Bottles' bottles.
// Folders are compared by their real path, so a prefix reached through two
// links counts once. A prefix holds the simulator when its user.reg has the
// key Software\Condor2 or Software\Condor3 with an install folder; the text
// of the key is looked for before the file is read as a registry.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "common/codepage.h"
#include "common/logging.h"
#include "common/messages.h"
#include "common/platform_posix.h"
#include "common/trace.h"
#include "simulator/install_dir.h"
#include "simulator/installed_versions.h"
#include "simulator/prefix_search.h"

namespace prefix_search {

using Folders = std::vector<std::string>;

std::string g_note;

// The real path of an existing folder; empty when there is none.
std::string real_folder(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {};
  char* real = ::realpath(path.c_str(), nullptr);
  std::string out = real != nullptr ? real : "";
  std::free(real);
  return out;
}

bool is_file(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The entries of a folder that are folders (`folders`) or files ending with
// `suffix`, in byte order.
Folders entries_of(const std::string& dir, bool folders, std::string_view suffix = {}) {
  Folders out;
  DIR* d = ::opendir(dir.c_str());
  if (d == nullptr) return out;
  while (struct dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    struct stat st;
    if (::stat((dir + "/" + name).c_str(), &st) != 0) continue;
    if (folders ? !S_ISDIR(st.st_mode)
                : !S_ISREG(st.st_mode) || name.size() < suffix.size() ||
                      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
      continue;
    out.push_back(name);
  }
  ::closedir(d);
  std::sort(out.begin(), out.end());
  return out;
}

bool read_text(const std::string& path, std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  std::fclose(f);
  return true;
}

bool same_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// The library folders a Steam libraryfolders.vdf lists: the "path" of each
// numbered entry, or, in the older form, the numbered entries' own texts.
Folders steam_libraries(const std::string& vdf) {
  Folders out;
  std::string text;
  if (!read_text(vdf, text)) return out;
  int depth = 0;
  std::string key;
  bool have_key = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '{' || c == '}') {
      depth += c == '{' ? 1 : -1;
      have_key = false;
    } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
      while (i < text.size() && text[i] != '\n') ++i;
    } else if (c == '"') {
      std::string s;
      for (++i; i < text.size() && text[i] != '"'; ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) ++i;  // Steam doubles the backslash
        s += text[i];
      }
      if (!have_key) {
        key = s;
        have_key = true;
        continue;
      }
      have_key = false;
      bool numbered = !key.empty() && key.find_first_not_of("0123456789") == std::string::npos;
      if (same_ignoring_case(key, "path") || (depth == 1 && numbered)) out.push_back(s);
    }
  }
  return out;
}

// The prefixes a Lutris game file names: its "prefix:" lines.
Folders lutris_prefixes(const std::string& yml, const std::string& home) {
  Folders out;
  std::string text;
  if (!read_text(yml, text)) return out;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t j = text.find('\n', i);
    if (j == std::string::npos) j = text.size();
    std::string_view line(text.data() + i, j - i);
    i = j + 1;
    std::size_t k = line.find_first_not_of(" \t");
    if (k == std::string_view::npos || line.compare(k, 7, "prefix:") != 0) continue;
    std::string v(line.substr(k + 7));
    v.erase(0, v.find_first_not_of(" \t"));
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t' || v.back() == '\r')) v.pop_back();
    if (v.size() >= 2 && (v[0] == '\'' || v[0] == '"') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
    if (v == "~" || v.rfind("~/", 0) == 0) v = home + v.substr(1);
    if (v.rfind("$HOME", 0) == 0) v = home + v.substr(5);
    if (!v.empty() && v[0] == '/') out.push_back(v);
  }
  return out;
}

// Whether a registry file has a key line of the simulator, [Software\\Condor2]
// or [Software\\Condor3] (or one of their subkeys), in any case. The file (a
// few megabytes in a Proton prefix) is read in pieces, and of each line only
// its start is looked at.
bool mentions_simulator(const std::string& user_reg) {
  std::FILE* f = std::fopen(user_reg.c_str(), "rb");
  if (f == nullptr) return false;
  const std::string_view key = "[software\\\\condor";
  auto is_key = [&](std::string_view head) {
    return head.size() == key.size() + 2 && same_ignoring_case(head.substr(0, key.size()), key) &&
           (head[key.size()] == '2' || head[key.size()] == '3') && (head.back() == ']' || head.back() == '\\');
  };
  char head[32];
  std::size_t have = 0;   // bytes of the current line's start in `head`
  bool skipping = false;  // the rest of the current line does not matter
  bool found = false;
  char buf[65536];
  std::size_t n;
  while (!found && (n = std::fread(buf, 1, sizeof buf, f)) > 0) {
    for (std::size_t i = 0; i < n && !found;) {
      if (skipping) {
        const void* nl = std::memchr(buf + i, '\n', n - i);
        if (nl == nullptr) break;
        i = static_cast<std::size_t>(static_cast<const char*>(nl) - buf) + 1;
        skipping = false;
        have = 0;
        continue;
      }
      char c = buf[i++];
      if (c == '\n') {
        have = 0;
        continue;
      }
      head[have++] = c;
      if (head[0] != '[' || have == key.size() + 2) {
        found = is_key(std::string_view(head, have));
        skipping = true;
      }
    }
  }
  std::fclose(f);
  return found;
}

// Whether the chosen prefix's registry names an install folder of either
// version.
bool has_install_dir() {
  for (const char* key : {"SOFTWARE\\Condor2\\", "SOFTWARE\\Condor3\\"}) {
    RegValue value{};
    int len = 0;
    if (RdUsrReg(key, "InstallDir", value, len) == 0) return true;
  }
  return false;
}

// The prefixes found, by real path, in the order of the search.
struct Search {
  Folders prefixes;
  Folders libraries;  // Steam libraries

  void add(const std::string& folder) {
    if (!is_file(folder + "/user.reg")) return;
    std::string real = real_folder(folder);
    if (real.empty() || std::find(prefixes.begin(), prefixes.end(), real) != prefixes.end()) return;
    prefixes.push_back(real);
  }

  void add_steam(const std::string& home) {
    Folders roots;
    for (const char* root : {"/.local/share/Steam", "/.steam/steam", "/.steam/root", "/.steam/debian-installation",
                             "/.var/app/com.valvesoftware.Steam/.local/share/Steam",
                             "/.var/app/com.valvesoftware.Steam/data/Steam", "/snap/steam/common/.local/share/Steam"}) {
      std::string real = real_folder(home + root);
      if (real.empty() || std::find(roots.begin(), roots.end(), real) != roots.end()) continue;
      roots.push_back(real);
      // The Steam folder is a library itself (its main one, where the
      // prefixes of non-Steam games are), and lists the others.
      Folders listed{real};
      for (const char* vdf : {"/steamapps/libraryfolders.vdf", "/config/libraryfolders.vdf"})
        for (std::string& l : steam_libraries(real + vdf)) listed.push_back(l);
      for (const std::string& l : listed) {
        std::string lib = real_folder(l);
        if (lib.empty() || std::find(libraries.begin(), libraries.end(), lib) != libraries.end()) continue;
        libraries.push_back(lib);
        std::string compat = lib + "/steamapps/compatdata";
        for (const std::string& app : entries_of(compat, true)) add(compat + "/" + app + "/pfx");
      }
    }
  }

  void add_lutris(const std::string& home) {
    for (const char* dir : {"/.config/lutris/games", "/.local/share/lutris/games"})
      for (const std::string& yml : entries_of(home + dir, false, ".yml"))
        for (const std::string& p : lutris_prefixes(home + dir + "/" + yml, home)) add(p);
    for (const std::string& game : entries_of(home + "/Games", true)) add(home + "/Games/" + game);
  }

  void add_bottles(const std::string& home) {
    for (const char* dir : {"/.local/share/bottles/bottles", "/.var/app/com.usebottles.bottles/data/bottles/bottles"})
      for (const std::string& bottle : entries_of(home + dir, true)) add(home + dir + "/" + bottle);
  }
};

// The index of the prefix used last among `matches`: their flight plans'
// dates first, then their logs', by the rule that picks between the two
// versions.
std::size_t used_last_of(const Folders& matches) {
  std::vector<UseDate> plans, logs;
  for (std::size_t k = 0; k < matches.size(); ++k) {
    platform_posix::set_chosen_prefix(matches[k]);
    inst00 = CondorInstall{};
    find_condor_install(" ", false);
    UseDate dates[4];
    use_dates(dates);
    for (int d = 0; d < 4; ++d) (d < 2 ? plans : logs).push_back({dates[d].time, static_cast<int>(k)});
    trace("Wine prefix holding the simulator:", matches[k], "flight plans", dates[0].time, dates[1].time, "logs",
          dates[2].time, dates[3].time);
  }
  inst00 = CondorInstall{};
  plans.insert(plans.end(), logs.begin(), logs.end());
  int last = used_last(plans.data(), static_cast<int>(plans.size()));
  return last < 0 ? 0 : static_cast<std::size_t>(plans[static_cast<std::size_t>(last)].owner);
}

std::string count_of(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace prefix_search

void choose_wine_prefix() {
  using namespace prefix_search;
  g_note.clear();
  platform_posix::set_chosen_prefix("");
  if (const char* env = std::getenv("WINEPREFIX"); env != nullptr && *env != '\0') {
    trace("Wine prefix (WINEPREFIX):", env);
    return;
  }

  const std::string home = platform_posix::home_folder();
  Search search;
  search.add(home + "/.wine");
  search.add_steam(home);
  search.add_lutris(home);
  search.add_bottles(home);

  Folders matches;
  for (const std::string& p : search.prefixes) {
    if (!mentions_simulator(p + "/user.reg")) continue;
    platform_posix::set_chosen_prefix(p);
    if (has_install_dir()) matches.push_back(p);
  }
  platform_posix::set_chosen_prefix("");

  if (matches.empty()) {
    std::size_t libs = search.libraries.size(), seen = search.prefixes.size();
    g_note = qfr ? "Cherch\xE9 dans ~/.wine, Steam (" + count_of(libs, "biblioth\xE8que", "biblioth\xE8ques") +
                       "), Lutris et Bottles : " + count_of(seen, "pr\xE9" "fixe Wine", "pr\xE9" "fixes Wine") +
                       ", aucun avec le simulateur"
                 : "Looked in ~/.wine, Steam (" + count_of(libs, "library", "libraries") + "), Lutris and Bottles: " +
                       count_of(seen, "Wine prefix", "Wine prefixes") + ", none with the simulator";
    trace("No Wine prefix holds the simulator.", g_note);
    return;
  }

  std::size_t chosen = matches.size() == 1 ? 0 : used_last_of(matches);
  platform_posix::set_chosen_prefix(matches[chosen]);
  std::string others;
  for (std::size_t k = 0; k < matches.size(); ++k) {
    if (k == chosen) continue;
    trace("Wine prefix also holding the simulator:", matches[k]);
    others += (others.empty() ? "" : ", ") + matches[k];
  }
  trace("Wine prefix chosen:", matches[chosen]);
  std::string line = "Wine prefix: " + matches[chosen];
  if (!others.empty()) line += " (used last; also holding the simulator: " + others + ")";
  // In double quotes: one log line, its slashes kept.
  log_message_f("\"" + utf8_to_cp1252(line) + "\"");
}

std::string prefix_search_note() { return prefix_search::g_note; }
