// Console dialogs. The automated message box writes the title on one line
// and the text as it is, then reads one answer line for a question (1, 0 or
// 2 as the caller receives it; an empty line or the end of input is the
// default button). The interactive form also takes the first letter of a
// button. Choosers and the input box: see dialogs_console.h.
#include "common/dialogs_console.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/platform.h"

namespace dialogs_console {

bool automated() {
  const char* v = std::getenv("VANTYR_DIALOGS");
  return v != nullptr && std::strcmp(v, "console") == 0;
}

Buttons buttons_of(const char* dialog_type) {
  if (dialog_type == nullptr) return Buttons::ok;
  if (std::strcmp(dialog_type, "okcancel") == 0) return Buttons::okcancel;
  if (std::strcmp(dialog_type, "yesno") == 0) return Buttons::yesno;
  if (std::strcmp(dialog_type, "yesnocancel") == 0) return Buttons::yesnocancel;
  return Buttons::ok;
}

namespace {

bool valid_answer(Buttons buttons, int answer) {
  switch (buttons) {
    case Buttons::ok:
      return answer == 1;
    case Buttons::okcancel:
    case Buttons::yesno:
      return answer == 0 || answer == 1;
    case Buttons::yesnocancel:
      return answer >= 0 && answer <= 2;
  }
  return false;
}

const char* prompt_of(Buttons buttons) {
  switch (buttons) {
    case Buttons::ok:
      return "[Enter] ";
    case Buttons::okcancel:
      return "[1/o = OK, 0/c = Cancel] ";
    case Buttons::yesno:
      return "[1/y = Yes, 0/n = No] ";
    case Buttons::yesnocancel:
      return "[1/y = Yes, 2/n = No, 0/c = Cancel] ";
  }
  return "";
}

// The answer a line stands for, -1 when it names none.
int parse_answer(Buttons buttons, const std::string& line, bool letters) {
  if (line == "0" || line == "1" || line == "2") return line[0] - '0';
  if (!letters || line.size() != 1) return -1;
  char c = line[0];
  if (c == 'y' || c == 'Y' || c == 'o' || c == 'O') return 1;
  if (c == 'c' || c == 'C') return 0;
  if (c == 'n' || c == 'N') return buttons == Buttons::yesnocancel ? 2 : 0;
  return -1;
}

// One line of standard input without its line end and, unless `keep_blanks`,
// without the blanks around it; false at the end of input.
bool read_line(std::string& line, bool keep_blanks = false) {
  line.clear();
  int c;
  bool any = false;
  while ((c = std::fgetc(stdin)) != EOF) {
    any = true;
    if (c == '\n') break;
    line.push_back(static_cast<char>(c));
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (keep_blanks) return any;
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
  std::size_t start = line.find_first_not_of(" \t");
  line.erase(0, start == std::string::npos ? line.size() : start);
  return any;
}

}  // namespace

int default_answer(Buttons buttons, int default_button) {
  return valid_answer(buttons, default_button) ? default_button : 1;
}

int message_box(const char* title, const char* message, Buttons buttons, int default_button, bool interactive) {
  std::printf("%s\n%s\n", title != nullptr ? title : "", message != nullptr ? message : "");
  int fallback = default_answer(buttons, default_button);
  if (buttons == Buttons::ok && !interactive) {
    std::fflush(stdout);
    return 1;
  }
  for (;;) {
    if (interactive) std::fputs(prompt_of(buttons), stdout);
    std::fflush(stdout);
    std::string line;
    if (!read_line(line) || line.empty()) return fallback;
    if (buttons == Buttons::ok) return 1;
    int answer = parse_answer(buttons, line, interactive);
    if (valid_answer(buttons, answer)) return answer;
    // A wrong answer is asked again rather than guessed.
    std::fprintf(stderr, "unexpected answer \"%s\"\n", line.c_str());
  }
}

// ---- choosers and the input box ---------------------------------------------

namespace {

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string_view trimmed(std::string_view s) {
  std::size_t a = s.find_first_not_of(" \t");
  if (a == std::string_view::npos) return {};
  std::size_t b = s.find_last_not_of(" \t");
  return s.substr(a, b - a + 1);
}

// Writes the title and prompt lines; the interactive form then asks with "> ".
void show_prompt(const char* title, const std::string& prompt, bool interactive) {
  std::printf("%s\n%s\n", title != nullptr ? title : "", prompt.c_str());
  if (interactive) std::fputs("> ", stdout);
  std::fflush(stdout);
}

void ask_again(const std::string& why, bool interactive) {
  std::fprintf(stderr, "%s\n", why.c_str());
  if (interactive) std::fputs("> ", stdout);
  std::fflush(stdout);
}

std::string chooser_prompt(const char* what, const char* default_text, const std::vector<std::string>& patterns = {}) {
  std::string p = what;
  if (default_text != nullptr && *default_text != '\0') p += std::string(" [") + default_text + "]";
  if (!patterns.empty()) {
    p += " (";
    for (std::size_t i = 0; i < patterns.size(); ++i) p += (i > 0 ? " " : "") + patterns[i];
    p += ")";
  }
  return p;
}

// The folder part of a path ("" for the current folder) and its name.
void split_path(const std::string& path, std::string& folder, std::string& name) {
  std::size_t sep = path.find_last_of("\\/");
  if (sep == std::string::npos) {
    std::size_t drive = path.size() >= 2 && path[1] == ':' ? 2 : 0;
    folder = path.substr(0, drive);
    name = path.substr(drive);
  } else {
    folder = path.substr(0, sep + 1);
    name = path.substr(sep + 1);
  }
}

// Why a path answer is refused; empty when it is taken.
std::string refusal(PathKind kind, const std::string& answer) {
  switch (kind) {
    case PathKind::open:
      return file_exists(answer) ? std::string() : "no such file: " + answer;
    case PathKind::open_several: {
      std::size_t i = 0;
      while (i <= answer.size()) {
        std::size_t j = answer.find('|', i);
        if (j == std::string::npos) j = answer.size();
        std::string one = answer.substr(i, j - i);
        if (!file_exists(one)) return "no such file: " + one;
        i = j + 1;
      }
      return {};
    }
    case PathKind::folder:
      return folder_exists(answer) ? std::string() : "no such folder: " + answer;
    case PathKind::save: {
      std::string folder, name;
      split_path(answer, folder, name);
      if (name.empty() || folder_exists(answer)) return "not a file name: " + answer;
      if (!folder.empty() && !folder_exists(folder)) return "no such folder: " + folder;
      return {};
    }
  }
  return {};
}

// Keeps what is typed off the terminal for the scope (a hidden text).
class EchoOff {
 public:
  explicit EchoOff(bool on) {
    if (!on) return;
#ifdef _WIN32
    handle_ = GetStdHandle(STD_INPUT_HANDLE);
    if (GetConsoleMode(handle_, &mode_) && SetConsoleMode(handle_, mode_ & ~ENABLE_ECHO_INPUT)) active_ = true;
#else
    if (::isatty(STDIN_FILENO) && ::tcgetattr(STDIN_FILENO, &saved_) == 0) {
      struct termios t = saved_;
      t.c_lflag &= ~static_cast<tcflag_t>(ECHO);
      active_ = ::tcsetattr(STDIN_FILENO, TCSANOW, &t) == 0;
    }
#endif
  }
  ~EchoOff() {
    if (!active_) return;
#ifdef _WIN32
    SetConsoleMode(handle_, mode_);
#else
    ::tcsetattr(STDIN_FILENO, TCSANOW, &saved_);
#endif
    std::fputs("\n", stdout);  // the line end the terminal did not show
  }
  EchoOff(const EchoOff&) = delete;
  EchoOff& operator=(const EchoOff&) = delete;

 private:
  bool active_ = false;
#ifdef _WIN32
  HANDLE handle_ = nullptr;
  DWORD mode_ = 0;
#else
  struct termios saved_;
#endif
};

}  // namespace

bool parse_hex_colour(std::string_view text, Rgb& rgb) {
  if (text.size() != 7 || text[0] != '#') return false;
  Rgb out;
  for (int k = 0; k < 3; ++k) {
    int hi = hex_digit(text[1 + 2 * k]), lo = hex_digit(text[2 + 2 * k]);
    if (hi < 0 || lo < 0) return false;
    out[k] = static_cast<unsigned char>(hi * 16 + lo);
  }
  rgb = out;
  return true;
}

bool parse_colour_answer(std::string_view text, Rgb& rgb) {
  text = trimmed(text);
  if (parse_hex_colour(text, rgb)) return true;
  Rgb out;
  for (int k = 0; k < 3; ++k) {
    std::size_t end = k < 2 ? text.find(',') : text.size();
    if (end == std::string_view::npos) return false;
    std::string_view part = trimmed(text.substr(0, end));
    if (part.empty() || part.size() > 3) return false;
    int v = 0;
    for (char c : part) {
      if (c < '0' || c > '9') return false;
      v = v * 10 + (c - '0');
    }
    if (v > 255) return false;
    out[k] = static_cast<unsigned char>(v);
    text = k < 2 ? text.substr(end + 1) : std::string_view();
  }
  rgb = out;
  return true;
}

std::string hex_colour(const Rgb& rgb) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", rgb[0], rgb[1], rgb[2]);
  return buf;
}

std::vector<std::string> patterns_of(int count, const char* const* patterns) {
  std::vector<std::string> out;
  for (int i = 0; patterns != nullptr && i < count; ++i) {
    if (patterns[i] != nullptr && *patterns[i] != '\0') out.emplace_back(patterns[i]);
  }
  return out;
}

bool ask_path(const char* title, PathKind kind, const char* default_path, const std::vector<std::string>& patterns,
              bool interactive, std::string& answer) {
  const char* what = kind == PathKind::open           ? "File to open"
                     : kind == PathKind::open_several ? "Files to open, separated by |"
                     : kind == PathKind::save         ? "File to save"
                                                      : "Folder";
  const std::vector<std::string> offered = kind == PathKind::folder ? std::vector<std::string>() : patterns;
  show_prompt(title, chooser_prompt(what, default_path, offered), interactive);
  std::string line;
  for (;;) {
    if (!read_line(line) || line.empty()) return false;
    std::string why = refusal(kind, line);
    if (why.empty()) break;
    ask_again(why, interactive);
  }
  answer = line;
  return true;
}

bool ask_colour(const char* title, const Rgb& initial, bool interactive, Rgb& answer) {
  show_prompt(title, chooser_prompt("Colour as #RRGGBB or r,g,b", hex_colour(initial).c_str()), interactive);
  std::string line;
  for (;;) {
    if (!read_line(line) || line.empty()) return false;
    if (parse_colour_answer(line, answer)) return true;
    ask_again("not a colour: " + line, interactive);
  }
}

bool ask_text(const char* title, const char* message, const char* default_text, bool interactive,
              std::string& answer) {
  std::string prompt = message != nullptr ? message : "";
  if (default_text == nullptr) {
    prompt += " (hidden)";
  } else if (*default_text != '\0') {
    prompt += std::string(" [") + default_text + "]";
  }
  show_prompt(title, prompt, interactive);
  std::string line;
  bool got;
  {
    EchoOff hidden(default_text == nullptr);
    got = read_line(line, true);
  }
  if (!got || line.empty()) return false;
  answer = line;
  return true;
}

}  // namespace dialogs_console
