// Console message boxes. The automated form writes the title on one line and
// the text as it is, then reads one answer line for a question (1, 0 or 2 as
// the caller receives it; an empty line or the end of input is the default
// button). The interactive form also takes the first letter of a button.
#include "common/dialogs_console.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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

// One line of standard input without its line end; false at the end of input.
bool read_line(std::string& line) {
  line.clear();
  int c;
  bool any = false;
  while ((c = std::fgetc(stdin)) != EOF) {
    any = true;
    if (c == '\n') break;
    line.push_back(static_cast<char>(c));
  }
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
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

}  // namespace dialogs_console
