// Dialogs on Linux: zenity on the user's display, a console dialog without a
// display or without zenity, and the automated console dialog when
// VANTYR_DIALOGS=console. zenity takes and gives host paths in UTF-8: a
// default path goes through the path seam to the host, a chosen one comes
// back onto the Wine drive that holds it. While zenity runs, the wait
// callback lets the caller serve its clipboard.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/codepage.h"
#include "common/dialogs.h"
#include "common/dialogs_console.h"
#include "common/platform.h"
#include "common/platform_posix.h"

extern char** environ;

int tinyfd_winUtf8 = 0;
int tinyfd_forceConsole = 0;

namespace dialogs_posix {

using dialogs_console::Buttons;
using dialogs_console::PathKind;
using dialogs_console::Rgb;

DialogWaitCallback g_wait_callback = nullptr;

bool have_display() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* v = std::getenv(name);
    if (v != nullptr && *v != '\0') return true;
  }
  return false;
}

// The zenity program on PATH, empty when there is none.
std::string find_zenity() {
  const char* path = std::getenv("PATH");
  std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
  std::size_t i = 0;
  while (i <= dirs.size()) {
    std::size_t j = dirs.find(':', i);
    if (j == std::string::npos) j = dirs.size();
    std::string dir = dirs.substr(i, j - i);
    i = j + 1;
    std::string file = (dir.empty() ? std::string(".") : dir) + "/zenity";
    struct stat st;
    if (::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(file.c_str(), X_OK) == 0) return file;
  }
  return {};
}

// Runs zenity with `args`, waits for it and collects what it writes on its
// standard output; the wait callback runs about every 50 ms meanwhile.
// Returns its exit status, or -1 when it could not run.
int run_zenity(const std::string& program, const std::vector<std::string>& args, std::string& output) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid;
  int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (rc != 0) {
    ::close(out[0]);
    return -1;
  }
  using Clock = std::chrono::steady_clock;
  constexpr auto kTick = std::chrono::milliseconds(50);
  auto next_call = Clock::now() + kTick;
  auto serve = [&] {
    if (g_wait_callback != nullptr && Clock::now() >= next_call) {
      g_wait_callback();
      next_call = Clock::now() + kTick;
    }
  };
  char buf[256];
  for (;;) {
    struct pollfd p{out[0], POLLIN, 0};
    int ready = ::poll(&p, 1, static_cast<int>(kTick.count()));
    if (ready > 0) {
      ssize_t n = ::read(out[0], buf, sizeof buf);
      if (n > 0) {
        output.append(buf, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        break;  // zenity closed its output: it is ending
      }
    } else if (ready < 0 && errno != EINTR) {
      break;
    }
    serve();
  }
  ::close(out[0]);
  int status;
  for (;;) {
    pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid) break;
    if (r < 0 && errno != EINTR) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    serve();
  }
  if (!WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// zenity's texts are UTF-8; the program's are Windows-1252 unless it says otherwise.
std::string to_utf8(const char* text) {
  std::string s = text != nullptr ? text : "";
  return tinyfd_winUtf8 ? s : cp1252_to_utf8(s);
}

const char* kind_option(const char* icon, Buttons buttons) {
  if (buttons != Buttons::ok) return "--question";
  if (icon != nullptr && std::strcmp(icon, "error") == 0) return "--error";
  if (icon != nullptr && std::strcmp(icon, "warning") == 0) return "--warning";
  return "--info";
}

// The zenity to run, empty when a console dialog is to be shown instead.
std::string graphical_zenity() { return tinyfd_forceConsole || !have_display() ? std::string() : find_zenity(); }

// A pattern that matches names of any case, as Windows' patterns do
// ("*.fpl" also finds FLIGHT.FPL).
std::string any_case(const std::string& pattern) {
  std::string out;
  for (char c : pattern) {
    unsigned char u = static_cast<unsigned char>(c);
    if (std::isalpha(u) && u < 0x80) {
      out += '[';
      out += static_cast<char>(std::tolower(u));
      out += static_cast<char>(std::toupper(u));
      out += ']';
    } else {
      out += c;
    }
  }
  return out;
}

// The host path zenity starts from; a folder ends in "/" so that zenity
// opens it rather than selecting it in its parent.
std::string start_path(const char* program_path) {
  std::string p = program_path != nullptr ? program_path : "";
  if (tinyfd_winUtf8) p = utf8_to_cp1252(p);  // the path seam takes program texts
  std::string host = host_path(p);
  if (host.empty()) return host;
  if (host[0] != '/') {
    char* cwd = ::getcwd(nullptr, 0);
    host = std::string(cwd != nullptr ? cwd : "") + "/" + host;
    std::free(cwd);
  }
  struct stat st;
  if (host.back() != '/' && ::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) host += '/';
  return host;
}

// zenity's arguments for a path chooser.
std::vector<std::string> path_args(const char* title, PathKind kind, const char* default_path,
                                   const std::vector<std::string>& patterns, const char* description) {
  std::vector<std::string> args = {"--file-selection", "--title=" + to_utf8(title)};
  if (kind == PathKind::save) args.insert(args.end(), {"--save", "--confirm-overwrite"});
  if (kind == PathKind::folder) args.push_back("--directory");
  if (kind == PathKind::open_several) args.insert(args.end(), {"--multiple", "--separator=|"});
  std::string start = start_path(default_path);
  if (!start.empty()) args.push_back("--filename=" + start);
  if (kind != PathKind::folder && !patterns.empty()) {
    std::string name, globs;
    for (const std::string& p : patterns) {
      name += (name.empty() ? "" : " ") + to_utf8(p.c_str());
      globs += " " + any_case(to_utf8(p.c_str()));
    }
    if (description != nullptr && *description != '\0') name = to_utf8(description);
    args.push_back("--file-filter=" + name + " |" + globs);
  }
  return args;
}

// A host path from zenity as the program names it; nothing when a name in
// it has no form in the program's code page (the program could not open it).
std::optional<std::string> program_path_of(const std::string& host) {
  std::string p = platform_posix::drive_path_from_host_utf8(host);
  if (tinyfd_winUtf8) return p;
  for (std::size_t i = 0; i < p.size();) {
    unsigned cp = next_utf8_code_point(p, i);
    if (cp != '?' && code_point_to_cp1252(cp) == '?') {
      std::fprintf(stderr, "The chosen path cannot be written in the program's code page: %s\n", host.c_str());
      return std::nullopt;
    }
  }
  return utf8_to_cp1252(p);
}

// zenity's answer without its line end; nothing for a cancel.
std::optional<std::string> zenity_answer(const std::string& zenity, const std::vector<std::string>& args,
                                         bool& could_run) {
  std::string output;
  int status = run_zenity(zenity, args, output);
  could_run = status >= 0;
  if (status != 0) return std::nullopt;
  while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
  return output;
}

// The chosen path or paths ("|" between several); nothing for a cancel.
std::optional<std::string> choose_path(const char* title, PathKind kind, const char* default_path,
                                       const std::vector<std::string>& patterns, const char* description) {
  std::string zenity = dialogs_console::automated() ? std::string() : graphical_zenity();
  if (!zenity.empty()) {
    bool could_run = false;
    std::optional<std::string> out =
        zenity_answer(zenity, path_args(title, kind, default_path, patterns, description), could_run);
    if (could_run) {
      if (!out || out->empty()) return std::nullopt;
      std::string paths;
      std::size_t i = 0;
      while (i <= out->size()) {
        std::size_t j = out->find('|', i);
        if (j == std::string::npos) j = out->size();
        std::optional<std::string> one = program_path_of(out->substr(i, j - i));
        if (!one) return std::nullopt;
        paths += (paths.empty() ? "" : "|") + *one;
        i = j + 1;
      }
      return paths;
    }
  }
  std::string answer;
  if (!dialogs_console::ask_path(title, kind, default_path, patterns, !dialogs_console::automated(), answer)) {
    return std::nullopt;
  }
  return answer;
}

// The three bytes of a colour as zenity writes it: "rgb(r,g,b)",
// "rgba(r,g,b,a)", "#RRGGBB" or "#RRRRGGGGBBBB".
bool parse_zenity_colour(const std::string& text, Rgb& rgb) {
  if (dialogs_console::parse_hex_colour(text, rgb)) return true;
  if (text.size() == 13 && text[0] == '#') {
    Rgb out;
    for (int k = 0; k < 3; ++k) {
      std::string_view part(text.data() + 1 + 4 * k, 4);
      unsigned v = 0;
      for (char c : part) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        v = v * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c))
                                               ? c - '0'
                                               : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
      }
      out[k] = static_cast<unsigned char>(v >> 8);
    }
    rgb = out;
    return true;
  }
  std::size_t open = text.find('(');
  std::string fn = text.substr(0, open);
  if (open == std::string::npos || text.back() != ')' || (fn != "rgb" && fn != "rgba")) return false;
  std::string inside = text.substr(open + 1, text.size() - open - 2);
  if (fn == "rgba") {
    std::size_t last = inside.rfind(',');
    if (last == std::string::npos) return false;
    inside.resize(last);
  }
  return dialogs_console::parse_colour_answer(inside, rgb);
}

}  // namespace dialogs_posix

using namespace dialogs_posix;

DialogWaitCallback dialogs_set_wait_callback(DialogWaitCallback callback) {
  DialogWaitCallback old = g_wait_callback;
  g_wait_callback = callback;
  return old;
}

int tinyfd_messageBox(const char* aTitle, const char* aMessage, const char* aDialogType, const char* aIconType,
                      int aDefaultButton) {
  Buttons buttons = dialogs_console::buttons_of(aDialogType);
  if (dialogs_console::automated()) {
    return dialogs_console::message_box(aTitle, aMessage, buttons, aDefaultButton, false);
  }
  std::string zenity = tinyfd_forceConsole || !have_display() ? std::string() : find_zenity();
  if (zenity.empty()) return dialogs_console::message_box(aTitle, aMessage, buttons, aDefaultButton, true);

  int fallback = dialogs_console::default_answer(buttons, aDefaultButton);
  std::vector<std::string> args = {kind_option(aIconType, buttons), "--no-markup", "--title=" + to_utf8(aTitle),
                                   "--text=" + to_utf8(aMessage)};
  switch (buttons) {
    case Buttons::ok:
      break;
    case Buttons::okcancel:
      args.insert(args.end(), {"--ok-label=OK", "--cancel-label=Cancel"});
      break;
    case Buttons::yesno:
      args.insert(args.end(), {"--ok-label=Yes", "--cancel-label=No"});
      break;
    case Buttons::yesnocancel:
      // No is the extra button: closing the box counts as Cancel, not as No.
      args.insert(args.end(), {"--ok-label=Yes", "--cancel-label=Cancel", "--extra-button=No"});
      break;
  }
  if (buttons != Buttons::ok && fallback != 1) args.push_back("--default-cancel");

  std::string output;
  int status = run_zenity(zenity, args, output);
  if (status < 0) return dialogs_console::message_box(aTitle, aMessage, buttons, aDefaultButton, true);
  if (buttons == Buttons::ok) return 1;
  if (status == 0) return 1;
  if (buttons == Buttons::yesnocancel && output.rfind("No", 0) == 0) return 2;
  return 0;
}

const char* tinyfd_openFileDialog(const char* aTitle, const char* aDefaultPathAndOrFile, int aNumOfFilterPatterns,
                                  const char* const* aFilterPatterns, const char* aSingleFilterDescription,
                                  int aAllowMultipleSelects) {
  static std::string result;
  std::optional<std::string> chosen =
      choose_path(aTitle, aAllowMultipleSelects ? PathKind::open_several : PathKind::open, aDefaultPathAndOrFile,
                  dialogs_console::patterns_of(aNumOfFilterPatterns, aFilterPatterns), aSingleFilterDescription);
  if (!chosen) return nullptr;
  result = *chosen;
  return result.c_str();
}

const char* tinyfd_saveFileDialog(const char* aTitle, const char* aDefaultPathAndOrFile, int aNumOfFilterPatterns,
                                  const char* const* aFilterPatterns, const char* aSingleFilterDescription) {
  static std::string result;
  std::optional<std::string> chosen =
      choose_path(aTitle, PathKind::save, aDefaultPathAndOrFile,
                  dialogs_console::patterns_of(aNumOfFilterPatterns, aFilterPatterns), aSingleFilterDescription);
  if (!chosen) return nullptr;
  result = *chosen;
  return result.c_str();
}

const char* tinyfd_selectFolderDialog(const char* aTitle, const char* aDefaultPath) {
  static std::string result;
  std::optional<std::string> chosen = choose_path(aTitle, PathKind::folder, aDefaultPath, {}, nullptr);
  if (!chosen) return nullptr;
  result = *chosen;
  return result.c_str();
}

const char* tinyfd_colorChooser(const char* aTitle, const char* aDefaultHexRGB, const unsigned char aDefaultRGB[3],
                                unsigned char aoResultRGB[3]) {
  static std::string result;
  Rgb initial = {0, 0, 0};
  if (aDefaultHexRGB == nullptr || !dialogs_console::parse_hex_colour(aDefaultHexRGB, initial)) {
    if (aDefaultRGB != nullptr) initial = {aDefaultRGB[0], aDefaultRGB[1], aDefaultRGB[2]};
  }
  Rgb chosen;
  bool got = false;
  std::string zenity = dialogs_console::automated() ? std::string() : graphical_zenity();
  bool could_run = false;
  if (!zenity.empty()) {
    std::vector<std::string> args = {"--color-selection", "--title=" + to_utf8(aTitle),
                                     "--color=" + dialogs_console::hex_colour(initial)};
    std::optional<std::string> out = zenity_answer(zenity, args, could_run);
    if (out) {
      got = parse_zenity_colour(*out, chosen);
      if (!got) std::fprintf(stderr, "The colour chooser gave no colour: \"%s\"\n", out->c_str());
    }
  }
  if (!could_run) got = dialogs_console::ask_colour(aTitle, initial, !dialogs_console::automated(), chosen);
  if (!got) return nullptr;
  if (aoResultRGB != nullptr) std::copy(chosen.begin(), chosen.end(), aoResultRGB);
  result = dialogs_console::hex_colour(chosen);
  return result.c_str();
}

const char* tinyfd_inputBox(const char* aTitle, const char* aMessage, const char* aDefaultInput) {
  static std::string result;
  std::string zenity = dialogs_console::automated() ? std::string() : graphical_zenity();
  bool could_run = false;
  if (!zenity.empty()) {
    std::vector<std::string> args = {"--entry", "--title=" + to_utf8(aTitle), "--text=" + to_utf8(aMessage)};
    if (aDefaultInput == nullptr) {
      args.push_back("--hide-text");
    } else {
      args.push_back("--entry-text=" + to_utf8(aDefaultInput));
    }
    std::optional<std::string> out = zenity_answer(zenity, args, could_run);
    if (could_run) {
      if (!out) return nullptr;
      result = tinyfd_winUtf8 ? *out : utf8_to_cp1252(*out);
      return result.c_str();
    }
  }
  std::string answer;
  if (!dialogs_console::ask_text(aTitle, aMessage, aDefaultInput, !dialogs_console::automated(), answer)) {
    return nullptr;
  }
  result = answer;
  return result.c_str();
}
