// Messages to the user outside the form, the console window and the
// language test.
#include "common/messages.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "common/dialogs.h"
#include "common/platform.h"
#include "common/stop.h"
#include "common/trace.h"

bool qfr = false;
bool qline = false;

namespace messages {

constexpr int kMaxText = 511;   // characters of a box's text
constexpr int kMaxTitle = 63;   // characters of a box's title
constexpr std::string_view kDefaultTitle = "Brisko";

// "/" starts a new line; "\/" keeps the slash (the backslash is dropped and
// the rest of the text moves one place left).
void split_lines(FieldRef msg) {
  int n = msg.size();
  int i = 0;
  while (i < n) {
    if (msg[i] != '/') {
      ++i;
    } else if (i > 0 && msg[i - 1] == '\\') {
      std::memmove(msg.data() + i - 1, msg.data() + i, static_cast<std::size_t>(n - i));
      msg[n - 1] = ' ';
      // The slash is now at i - 1; the search goes on right after it.
    } else {
      msg[i] = '\n';
      ++i;
    }
  }
}

}  // namespace messages

using namespace messages;

void error_message_tit(int& msg_status, std::string_view tit, FieldRef msg, bool qline) {
  split_lines(msg);
  int lm = msg.len_trim();
  if (qline) {
    std::fwrite(msg.data(), 1, static_cast<std::size_t>(lm), stdout);
    std::fputc('\n', stdout);
    return;
  }
  std::string text(msg.data(), static_cast<std::size_t>(std::min(lm, kMaxText)));
  std::string_view t = trim_right(tit);
  std::string title(t.substr(0, std::min<std::size_t>(t.size(), kMaxTitle)));
  DisplayMessage(title.c_str(), text.c_str(), msg_status);
}

void error_message(int& msg_status, FieldRef msg, bool qline) {
  error_message_tit(msg_status, kDefaultTitle, msg, qline);
}

int DisplayMessage(const char* title, const char* message, int& status) {
  tinyfd_winUtf8 = 0;
  tinyfd_forceConsole = 0;
  static const char* const kIcons[] = {"info", "error", "warning"};
  static const char* const kQuestions[] = {"yesno", "okcancel", "yesnocancel"};
  if (status >= 0 && status <= 2) return tinyfd_messageBox(title, message, "ok", kIcons[status], 1);
  if (status >= 3 && status <= 5) {
    status = tinyfd_messageBox(title, message, kQuestions[status - 3], "question", 1);
    return status;
  }
  return status;
}

void HideConsole() {
  int n = console_process_count();
  trace("nb proc", n);
  if (n > 1) {
    trace("I'm not the last one!");
  } else {
    trace("I'm the last one!");
    hide_console_window();
  }
}

int IsLanguageFrench() { return ui_language_is_french() ? 1 : 0; }

void stop_with_message(std::string_view tit, std::string_view msg) {
  Field<512> text(msg);
  int status = 1;
  error_message_tit(status, tit, text, qline);
  stop_program();
}
