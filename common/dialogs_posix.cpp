// Dialogs on Linux: zenity on the user's display, a console dialog without a
// display or without zenity, and the automated console dialog when
// VANTYR_DIALOGS=console.
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "common/dialogs.h"
#include "common/dialogs_console.h"

extern char** environ;

int tinyfd_winUtf8 = 0;
int tinyfd_forceConsole = 0;

namespace dialogs_posix {

using dialogs_console::Buttons;

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
// standard output. Returns its exit status, or -1 when it could not run.
int run_zenity(const std::string& program, const std::vector<std::string>& args, std::string& output) {
  int out[2];
  if (::pipe(out) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, out[1]);
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
  char buf[256];
  ssize_t n;
  while ((n = ::read(out[0], buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR)) {
    if (n > 0) output.append(buf, static_cast<std::size_t>(n));
  }
  ::close(out[0]);
  int status;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
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

}  // namespace dialogs_posix

using namespace dialogs_posix;

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
